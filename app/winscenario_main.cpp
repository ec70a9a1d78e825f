// winscenario: plays a scenario script on the real native windows of ambrel.exe or ostrel.exe
// (the Win32 host), with the tool started in a working folder of your choice and Data/ beside
// the program. Prints the session and at the end the crystal frequency, the chip model and the
// 96 register words; with a picture folder it keeps what each window showed before its last
// action as <template>.bmp.
//   winscenario ambrel|ostrel <workdir> <script> [<picture folder>]
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/config_app.h"
#include "app/tool.h"
#include "core/path_text.h"
#include "ui/win32/script_player.h"

#include <windows.h>
// after windows.h
#include <shellapi.h>

namespace {

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) args.push_back(lx::ui::win32::Utf8(wide[i]));
    LocalFree(wide);
  }
  return args;
}

}  // namespace

int main(int, char** argv) {
  namespace fs = std::filesystem;
  const std::vector<std::string> args = Arguments();
  if (args.size() < 3 || (args[0] != "ambrel" && args[0] != "ostrel")) {
    std::cerr << "usage: winscenario ambrel|ostrel <workdir> <script> [<picture folder>]\n";
    return 2;
  }
  const lx::app::ToolDefinition& tool = args[0] == "ambrel" ? lx::app::AmbrelTool() : lx::app::OstrelTool();
  const fs::path work = fs::absolute(lx::PathFromUtf8(args[1]));
  std::error_code ec;
  fs::create_directories(work, ec);
  std::ifstream in(lx::PathFromUtf8(args[2]), std::ios::binary);
  if (!in) {
    std::cerr << "winscenario: cannot read " << args[2] << "\n";
    return 2;
  }
  std::stringstream text;
  text << in.rdbuf();
  std::vector<std::string> errors;
  std::vector<lx::ui::Action> actions = lx::ui::ParseScript(text.str(), &errors);
  for (const std::string& e : errors) std::cerr << e << "\n";
  if (!errors.empty()) return 1;

  SetConsoleOutputCP(CP_UTF8);
  lx::ui::win32::Win32Host host(tool.resources, tool.profile.appName);
  lx::ui::win32::ScriptPlayer player(host, std::move(actions), work);
  player.trace = [](const std::string& line) { std::cout << line << "\n" << std::flush; };
  if (args.size() > 3) {
    const fs::path pictures = fs::absolute(lx::PathFromUtf8(args[3]));
    fs::create_directories(pictures, ec);
    player.beforeAction = [pictures](lx::ui::Dialog& dialog, HWND window) {
      lx::ui::win32::SaveWindowBitmap(window, pictures / (std::to_string(dialog.templateId()) + ".bmp"));
    };
  }
  lx::app::ConfigApp app(tool, host, lx::ProgramDirectory(argv[0]), work);
  player.Start();
  app.InitInstance();

  const lx::ToolState& state = app.state();
  std::cout << "crystal " << state.crystalKHz << "\nmodel " << state.chipModel;
  if (const lx::ChipModel* m = state.selectedModel()) std::cout << " " << m->name;
  std::cout << "\n";
  for (int row = 0; row < lx::kEepromSize; row += 8) {
    char line[96];
    int n = std::snprintf(line, sizeof line, "reg%02x:", row);
    for (int i = row; i < row + 8; ++i)
      n += std::snprintf(line + n, sizeof line - n, " %04x", state.words[i]);
    std::cout << line << "\n";
  }
  if (player.errors()) std::cout << player.errors() << " error(s)\n";
  return player.errors() ? 1 : 0;
}
