#include "app/scenario.h"

#include <fmt/format.h>

#include <optional>

#include "app/config_app.h"
#include "app/file_watch.h"
#include "core/path_text.h"
#include "core/text.h"
#include "ui/headless.h"

namespace lx::app {

namespace {

namespace fs = std::filesystem;

void PrintState(const ToolState& state, std::ostream& out) {
  out << "crystal " << state.crystalKHz << "\n";
  out << "model " << state.chipModel;
  if (const ChipModel* m = state.selectedModel()) out << " " << m->name;
  out << "\n";
  for (int row = 0; row < kEepromSize; row += 8) {
    out << RegisterName(row) << ':';
    for (int i = row; i < row + 8; ++i)
      out << fmt::format(" {:04x}", state.words[static_cast<std::size_t>(i)]);
    out << "\n";
  }
}

}  // namespace

int RunScenario(const ToolDefinition& tool, ui::ScriptHost& host, const fs::path& programDir,
                const fs::path& workDir, std::string_view script, std::ostream& out) {
  host.SetFileBase(workDir);
  FileWatch watch(workDir);  // takes what was there before
  host.trace = [&out](const std::string& line) { out << line << "\n" << std::flush; };
  std::size_t answered = 0;
  host.afterAction = [&](const ui::Action&) {
    for (; answered < host.fileDialogs().size(); ++answered)
      if (const std::optional<std::string>& a = host.fileDialogs()[answered].answer) {
        const fs::path answer = PathFromUtf8(*a);
        const fs::path file = answer.is_absolute() ? answer : workDir / answer;
        watch.Track(file);
      }
    watch.Report(out);
  };
  host.QueueScript(script);

  ConfigApp app(tool, host.host(), programDir, workDir);
  app.InitInstance();
  watch.Report(out);
  PrintState(app.state(), out);
  if (host.errors()) out << host.errors() << " error(s)\n";
  return host.errors() ? 1 : 0;
}

int RunScenario(const ToolDefinition& tool, const fs::path& programDir, const fs::path& workDir,
                std::string_view script, std::ostream& out) {
  ui::HeadlessHost host(tool.resources, tool.profile.appName);
  return RunScenario(tool, host, programDir, workDir, script, out);
}

}  // namespace lx::app
