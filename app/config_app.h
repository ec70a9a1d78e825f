#pragma once
#include <filesystem>

#include "app/tool.h"
#include "core/state.h"
#include "ui/host.h"

namespace lx::app {

// The application: the tool's one state object and its main window, run modally; the program
// ends when the main window closes.
class ConfigApp {
 public:
  // programDir: where Data/ lies; currentDir: where the "data" working folders are made.
  ConfigApp(const ToolDefinition& tool, ui::Host& host, std::filesystem::path programDir,
            std::filesystem::path currentDir);
  int InitInstance();
  ToolState& state() { return state_; }

 private:
  const ToolDefinition& tool_;
  ui::Host& host_;
  ToolState state_;
  std::filesystem::path currentDir_;
};

}  // namespace lx::app
