#pragma once
// A tool's main window on the headless host, in a fresh working folder, with the built Data/.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "app/main_dialog.h"
#include "app/tool.h"
#include "core/state.h"
#include "resources/ids.h"
#include "tests/support/files.h"
#include "ui/headless.h"

namespace lx::app::testing {

namespace fs = std::filesystem;

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct ToolWindow {
  explicit ToolWindow(const ToolDefinition& tool, fs::path programDir = LX_PROGRAM_DIR)
      : work(scratch.path()),
        host(tool.resources, tool.profile.appName),
        state(tool.profile, std::move(programDir)),
        main(host, state, tool, work) {
    host.SetFileBase(work);
    host.Open(main);
  }
  bool ButtonsEnabled(bool expected) const {
    for (int id : res::main_window::kPictureButtons)
      if (main.find(id)->enabled != expected) return false;
    return true;
  }
  // Ids of the radio buttons that show checked and can be seen.
  std::vector<int> VisibleChecked() const {
    std::vector<int> out;
    for (const ui::ControlState& c : main.controls())
      if (c.kind() == ui::Kind::RadioButton && c.checked && c.visible) out.push_back(c.id());
    return out;
  }

  TempDir scratch;
  fs::path work;
  ui::HeadlessHost host;
  ToolState state;
  MainDialog main;
};

}  // namespace lx::app::testing
