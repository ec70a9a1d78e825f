#include "app/config_app.h"

#include "app/main_dialog.h"

namespace lx::app {

ConfigApp::ConfigApp(const ToolDefinition& tool, ui::Host& host, std::filesystem::path programDir,
                     std::filesystem::path currentDir)
    : tool_(tool), host_(host), state_(tool.profile, std::move(programDir)), currentDir_(std::move(currentDir)) {}

int ConfigApp::InitInstance() {
  MainDialog dialog(host_, state_, tool_, currentDir_);
  dialog.DoModal();
  return 0;  // whatever the window's result: the program ends with it
}

}  // namespace lx::app
