#pragma once
// The scenario runner: starts a tool's main window on a scripted host (headless by default) in
// a working folder, applies a script of user actions to the topmost window and prints what
// happened.
#include <filesystem>
#include <ostream>
#include <string_view>

#include "app/tool.h"
#include "ui/script_host.h"

namespace lx::app {

// Returns 0 when every action applied, 1 when the script had errors.
int RunScenario(const ToolDefinition& tool, ui::ScriptHost& host, const std::filesystem::path& programDir,
                const std::filesystem::path& workDir, std::string_view script, std::ostream& out);
// The same on the headless host.
int RunScenario(const ToolDefinition& tool, const std::filesystem::path& programDir,
                const std::filesystem::path& workDir, std::string_view script, std::ostream& out);

}  // namespace lx::app
