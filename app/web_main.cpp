// The browser programs: both tools in one module; the page starts the one it shows. The default
// images lie in /app/Data (built in); the visitor's files come and go through the working
// folder /home/web_user, which lives only in the page.
#include <emscripten.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "app/config_app.h"
#include "app/scenario.h"
#include "app/script_ids.h"
#include "ui/web/script_host.h"
#include "ui/web/web_host.h"

namespace {

constexpr const char* kProgramDir = "/app";
constexpr const char* kWorkDir = "/home/web_user";

const lx::app::ToolDefinition* ToolNamed(std::string_view name) {
  if (name == "ambrel") return &lx::app::AmbrelTool();
  if (name == "ostrel") return &lx::app::OstrelTool();
  return nullptr;
}

}  // namespace

// clang-format off
EM_JS(void, lxw_scenario_done, (int status, const char* transcript), {
  LxPage.scenarioDone(status, UTF8ToString(transcript));
});
// clang-format on

extern "C" {

// Runs the tool's main window until it closes; 2 for an unknown tool.
EMSCRIPTEN_KEEPALIVE int lx_run(const char* tool) {
  const lx::app::ToolDefinition* definition = ToolNamed(tool ? tool : "");
  if (!definition) return 2;
  std::error_code ec;
  std::filesystem::create_directories(kWorkDir, ec);
  lx::ui::web::WebHost host(definition->resources, definition->profile.appName, definition->program);
  lx::app::ConfigApp app(*definition, host, kProgramDir, kWorkDir);
  return app.InitInstance();
}

// Plays a scenario script on the tool's windows in the page, in `workDir` (made in the page's
// file system by the caller); the transcript and the status (uiscenario's) go to the page.
EMSCRIPTEN_KEEPALIVE int lx_scenario(const char* tool, const char* workDir, const char* script) {
  const lx::app::ToolDefinition* definition = ToolNamed(tool ? tool : "");
  if (!definition || !workDir || !script) return 2;
  std::error_code ec;
  std::filesystem::create_directories(workDir, ec);
  if (!std::filesystem::is_directory(workDir, ec)) return 2;
  lx::ui::web::WebScriptHost host(definition->resources, definition->profile.appName, definition->program);
  std::ostringstream out;
  const int status =
      lx::app::RunScenario(*definition, host, kProgramDir, std::filesystem::absolute(workDir), script, out);
  lxw_scenario_done(status, out.str().c_str());
  return status;
}

// The ids scripts use in both tools' windows, as uiscenario --list-ids prints them.
EMSCRIPTEN_KEEPALIVE int lx_list_ids() {
  std::ostringstream out;
  lx::app::WriteScriptIds(lx::app::AmbrelTool(), out);
  lx::app::WriteScriptIds(lx::app::OstrelTool(), out);
  lxw_scenario_done(0, out.str().c_str());
  return 0;
}

}  // extern "C"
