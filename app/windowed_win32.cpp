// The entry point of a windowed tool on Windows: the Win32 host runs the tool.
#include <system_error>

#include "app/config_app.h"
#include "app/windowed.h"
#include "core/process.h"
#include "ui/win32/win32_host.h"

namespace lx::app {

int RunWindowedTool(int /*argc*/, char** argv, const ToolDefinition& tool) {
  ui::win32::Win32Host host(tool.resources, tool.profile.appName);
  std::error_code ec;
  ConfigApp config(tool, host, ProgramDirectory(argv[0]), std::filesystem::current_path(ec));
  return config.InitInstance();
}

}  // namespace lx::app
