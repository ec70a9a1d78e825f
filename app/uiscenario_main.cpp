// uiscenario [--host headless|qt|win32] <ambrel|ostrel> <working-folder> [<script>|-]
// uiscenario --list-ids
// Runs a script of user actions against a tool's windows, on the headless host (no display), on
// the real Qt windows (Linux; offscreen unless a display is set) or on the real native windows
// (Windows); see docs/uiscenario.md.
#ifndef _WIN32
#include <QApplication>
#endif
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "app/scenario.h"
#include "app/script_ids.h"
#include "core/path_text.h"
#include "core/process.h"
#ifdef _WIN32
#include "ui/win32/script_host.h"
#else
#include "ui/qt/script_host.h"
#endif

namespace {

#ifdef _WIN32
constexpr const char* kWindowHost = "win32";
#else
constexpr const char* kWindowHost = "qt";
#endif

// The usage text: on standard output with status 0 when asked for (--help), else on standard
// error with status 2.
int Usage(bool asked = false) {
  std::ostream& out = asked ? std::cout : std::cerr;
#ifdef _WIN32
  out << "usage: uiscenario [--host headless|win32] [--pictures <folder>] <ambrel|ostrel> <working-folder>"
         " [<script>|-]\n";
#else
  out << "usage: uiscenario [--host headless|qt] <ambrel|ostrel> <working-folder> [<script>|-]\n";
#endif
  out << "       uiscenario --list-ids   (the menu commands and control ids of every window, as Markdown)\n"
         "Reads the script from standard input when it is '-' or missing.\n"
#ifdef _WIN32
         "--host win32 drives the real native windows; --pictures keeps, for each window, what it\n"
         "showed before its last action as <folder>/<window number>.bmp.\n";
#else
         "--host qt drives the real Qt windows, offscreen unless DISPLAY, WAYLAND_DISPLAY or\n"
         "QT_QPA_PLATFORM says otherwise.\n";
#endif
  return asked ? (out.flush() ? 0 : 1) : 2;
}

#ifndef _WIN32
bool Set(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
    return Usage(true);
  // The ids scripts use, for the documentation (docs/uiscenario.md carries this output).
  if (argc == 2 && std::strcmp(argv[1], "--list-ids") == 0) {
    lx::app::WriteScriptIds(lx::app::AmbrelTool(), std::cout);
    lx::app::WriteScriptIds(lx::app::OstrelTool(), std::cout);
    return std::cout.flush() ? 0 : 1;
  }
  // The arguments as typed, in UTF-8; the transcript goes out as UTF-8 bytes, with its line
  // ends as written.
  const std::vector<std::string> given = lx::CommandLineArguments(argc, argv);
  lx::UseBinaryStandardStreams();
  std::string hostName = "headless";
  const char* pictures = nullptr;
  std::vector<const char*> args;
  for (std::size_t i = 0; i < given.size(); ++i) {
    const char* arg = given[i].c_str();
    if (std::strcmp(arg, "--host") == 0 && i + 1 < given.size())
      hostName = given[++i];
    else if (std::strncmp(arg, "--host=", 7) == 0)
      hostName = arg + 7;
#ifdef _WIN32
    else if (std::strcmp(arg, "--pictures") == 0 && i + 1 < given.size())
      pictures = given[++i].c_str();
#endif
    else
      args.push_back(arg);
  }
  if ((hostName != "headless" && hostName != kWindowHost) || (pictures && hostName == "headless") ||
      args.size() < 2 || args.size() > 3 ||
      (std::strcmp(args[0], "ambrel") != 0 && std::strcmp(args[0], "ostrel") != 0))
    return Usage();
  const lx::app::ToolDefinition& tool =
      std::strcmp(args[0], "ambrel") == 0 ? lx::app::AmbrelTool() : lx::app::OstrelTool();
  std::filesystem::path workDir = lx::PathFromUtf8(args[1]);
  std::error_code ec;
  std::filesystem::create_directories(workDir, ec);
  if (!std::filesystem::is_directory(workDir)) {
    std::cerr << "uiscenario: cannot use working folder " << workDir << "\n";
    return 2;
  }
  std::string script;
  if (args.size() == 3 && std::strcmp(args[2], "-") != 0) {
    std::ifstream in(lx::PathFromUtf8(args[2]), std::ios::binary);
    if (!in) {
      std::cerr << "uiscenario: cannot read " << args[2] << "\n";
      return 2;
    }
    script.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } else {
    script.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  std::filesystem::path programDir = lx::ProgramDirectory(argv[0]);
  workDir = std::filesystem::absolute(workDir);
  if (hostName == "headless") return lx::app::RunScenario(tool, programDir, workDir, script, std::cout);
#ifdef _WIN32
  lx::ui::win32::Win32ScriptHost host(tool.resources, tool.profile.appName);
  if (pictures) {
    const std::filesystem::path folder = std::filesystem::absolute(lx::PathFromUtf8(pictures));
    std::filesystem::create_directories(folder, ec);
    host.beforeAction = [folder](lx::ui::Dialog& dialog, HWND window) {
      lx::ui::win32::SaveWindowBitmap(window, folder / (std::to_string(dialog.templateId()) + ".bmp"));
    };
  }
  return lx::app::RunScenario(tool, host, programDir, workDir, script, std::cout);
#else

  if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  QApplication::setApplicationName(QString::fromUtf8(tool.profile.appName));
  lx::ui::qt::QtScriptHost host(tool.resources, tool.profile.appName);
  return lx::app::RunScenario(tool, host, programDir, workDir, script, std::cout);
#endif
}
