// Every scenario script in tests/scenarios/ runs through `uiscenario` on the headless host and
// on the real Qt windows, in the same working folder; the transcripts and exit statuses must be
// identical. The folder is read when the test runs, so scripts added later are picked up. The
// tool is named by the script's name: ambrel-*.txt or ostrel-*.txt.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ui/headless.h"

namespace lx {
namespace {

namespace fs = std::filesystem;

// Where the platforms differ and no host code can hide it: a script that uses such an action is
// not compared, and the reason is printed. Nothing else may differ between the hosts.
struct PlatformDifference {
  bool (*applies)(const ui::Action&);
  const char* reason;
};
const PlatformDifference kPlatformDifferences[] = {
    {[](const ui::Action& a) { return a.verb == ui::Verb::SysCommand && a.value != 0xF060; },
     "system-menu entries: Linux window frames carry no system menu, so the Qt host offers none but "
     "the close entry (Help > About opens the about box on both)"},
};

struct HostRun {
  std::string transcript;
  int status = -1;
};

HostRun RunUiscenario(const std::string& host, const std::string& tool, const fs::path& work,
                      const fs::path& script) {
  fs::remove_all(work);
  std::string command = "timeout 300 '" + (fs::path(LX_PROGRAM_DIR) / "uiscenario").string() + "' --host " +
                        host + " " + tool + " '" + work.string() + "' '" + script.string() + "' 2>/dev/null";
  HostRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.transcript.append(buffer, n);
  int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The first lines where two transcripts part, with a little context.
std::string FirstDifference(const std::string& headless, const std::string& qt) {
  std::vector<std::string> a = Lines(headless), b = Lines(qt);
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  std::ostringstream out;
  out << "transcripts part at line " << i + 1 << "\n";
  for (size_t k = i >= 2 ? i - 2 : 0; k < i; ++k) out << "    " << a[k] << "\n";
  for (size_t k = i; k < std::min(a.size(), i + 4); ++k) out << "  headless: " << a[k] << "\n";
  for (size_t k = i; k < std::min(b.size(), i + 4); ++k) out << "  qt:       " << b[k] << "\n";
  return out.str();
}

TEST(Scenarios, EveryScriptGivesTheSameTranscriptOnBothHosts) {
  std::vector<fs::path> scripts;
  for (const fs::directory_entry& e : fs::directory_iterator(LX_SCENARIO_DIR))
    if (e.is_regular_file() && e.path().extension() == ".txt") scripts.push_back(e.path());
  std::sort(scripts.begin(), scripts.end());
  int tools[2] = {0, 0};
  for (const fs::path& script : scripts) {
    std::string name = script.stem().string();
    SCOPED_TRACE(script.filename().string());
    std::string tool = name.substr(0, name.find('-'));
    if (tool != "ambrel" && tool != "ostrel") {
      ADD_FAILURE() << "name the script ambrel-*.txt or ostrel-*.txt so that its tool is known";
      continue;
    }
    ++tools[tool == "ostrel"];
    std::ifstream in(script, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const char* skipped = nullptr;
    for (const ui::Action& a : ui::ParseScript(text, nullptr))
      for (const PlatformDifference& d : kPlatformDifferences)
        if (d.applies(a)) skipped = d.reason;
    if (skipped) {
      std::printf("not compared: %s: %s\n", script.filename().c_str(), skipped);
      continue;
    }
    // The same folder for both runs: the transcripts name it.
    fs::path work = fs::temp_directory_path() / ("lx-scenario-" + name);
    HostRun headless = RunUiscenario("headless", tool, work, script);
    HostRun qt = RunUiscenario("qt", tool, work, script);
    fs::remove_all(work);
    EXPECT_NE(headless.transcript, "") << "uiscenario printed nothing";
    EXPECT_EQ(qt.status, headless.status);
    EXPECT_TRUE(qt.transcript == headless.transcript) << FirstDifference(headless.transcript, qt.transcript);
  }
  EXPECT_GT(tools[0], 0) << "no ambrel script in " << LX_SCENARIO_DIR;
  EXPECT_GT(tools[1], 0) << "no ostrel script in " << LX_SCENARIO_DIR;
}

}  // namespace
}  // namespace lx
