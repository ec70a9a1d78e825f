#pragma once
// What a windowed tool is made of: its profile, its resources and the settings dialogs that
// its picture buttons open.
#include <array>

#include "channel/ui/channel_dialog.h"
#include "core/profile.h"
#include "core/state.h"
#include "ui/host.h"

namespace lx::app {

// Runs one settings dialog modally on the tool's state; its result is not used.
using SettingsOpener = void (*)(ui::Host& host, ToolState& state);

// The opener of every settings dialog: the dialog lives only while its modal loop runs.
template <class D>
void RunSettingsDialog(ui::Host& host, ToolState& state) {
  D dialog(host, state);
  dialog.DoModal();
}

struct ToolDefinition {
  const char* program;  // "ambrel"
  const ToolProfile& profile;
  const ui::ResourceSet& resources;
  // Picture buttons 1000, 1004, 1005 and 1006.
  std::array<SettingsOpener, 4> settings;
};

// A tool's definition: its picture buttons open the dialogs D..., then the channel dialog.
template <class... D>
ToolDefinition DefineTool(const char* program, const ToolProfile& profile, const ui::ResourceSet& resources) {
  ToolDefinition tool{program, profile, resources, {}};
  tool.settings = {&RunSettingsDialog<D>..., &RunSettingsDialog<channel::ChannelDialog>};
  return tool;
}

const ToolDefinition& AmbrelTool();
const ToolDefinition& OstrelTool();

}  // namespace lx::app
