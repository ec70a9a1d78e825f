// Every scenario script in tests/scenarios/ runs through `uiscenario` on the headless host and on
// the platform's window host (the Qt windows on Linux, the native windows on Windows), and on
// Linux also through scripts/web-uiscenario on the browser host in headless Chromium, in the
// same working folder; the transcripts, the exit statuses and the files each run leaves must be
// identical. The folder is read when the test runs, so scripts added later are picked up. The
// tool is named by the script's name: ambrel-*.txt or ostrel-*.txt.
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/path_text.h"
#include "tests/support/files.h"
#include "ui/headless.h"

namespace lx {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* kWindowHost = "win32";
#else
constexpr const char* kWindowHost = "qt";
#endif

// Where the platforms differ and no host code can hide it: a script that uses such an action is
// not compared on that host, and the reason is printed. Nothing else may differ between hosts.
struct PlatformDifference {
  const char* host;
  bool (*applies)(const ui::Action&);
  const char* reason;
};
const PlatformDifference kPlatformDifferences[] = {
    {"web", [](const ui::Action& a) { return a.verb == ui::Verb::SysCommand && a.value != ui::kSysClose; },
     "system-menu entries: a window in the page has a close box and no system menu, as on Linux"},
    {"qt", [](const ui::Action& a) { return a.verb == ui::Verb::SysCommand && a.value != ui::kSysClose; },
     "system-menu entries: Linux window frames carry no system menu, so the Qt host offers none but "
     "the close entry (Help > About opens the about box on both)"},
    {"win32",
     [](const ui::Action& a) {
       return a.verb == ui::Verb::SysCommand && (a.value & 0xF000) == 0xF000 && a.value != ui::kSysClose;
     },
     "the frame's own system-menu entries (move, size, minimise): Windows frames carry them, the "
     "headless host has no frame"},
};

struct HostRun {
  std::string transcript;
  int status = -1;
  std::map<std::string, std::string> files;  // what the run left in its folder, by relative name
};

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::map<std::string, std::string> Files(const fs::path& root) {
  std::map<std::string, std::string> out;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    if (it->is_regular_file()) out[Utf8FromPath(it->path().lexically_relative(root))] = ReadAll(it->path());
  return out;
}

#ifdef _WIN32
// The program's standard output goes to a file, its errors nowhere; a session that has not
// ended after five minutes is stopped.
HostRun Run(const std::string& host, const std::string& tool, const fs::path& work, const fs::path& script) {
  HostRun run;
  const fs::path program = fs::absolute(fs::path(LX_PROGRAM_DIR) / "uiscenario.exe");
  const fs::path output = work.parent_path() / (work.filename().wstring() + L".out");
  std::wstring command = L"\"" + program.wstring() + L"\" --host " + PathFromUtf8(host).wstring() + L" " +
                         PathFromUtf8(tool).wstring() + L" \"" + work.wstring() + L"\" \"" +
                         fs::absolute(script).wstring() + L"\"";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE none = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = none;
  startup.hStdOutput = out;
  startup.hStdError = none;
  PROCESS_INFORMATION process{};
  if (out != INVALID_HANDLE_VALUE &&
      CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                     &process)) {
    if (WaitForSingleObject(process.hProcess, 300000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 124);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.status = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (none != INVALID_HANDLE_VALUE) CloseHandle(none);
  run.transcript = ReadAll(output);
  std::error_code ec;
  fs::remove(output, ec);
  return run;
}
#else
// The browser's site, when this run compares the browser host too (the web stage sets it).
const char* WebSite() {
  const char* site = std::getenv("LX_WEB_SITE");
  return site && *site ? site : nullptr;
}

HostRun Run(const std::string& host, const std::string& tool, const fs::path& work, const fs::path& script) {
  std::string command = "timeout 300 '" + (fs::path(LX_PROGRAM_DIR) / "uiscenario").string() + "' --host " +
                        host + " " + tool + " '" + work.string() + "' '" + script.string() + "' 2>/dev/null";
  if (host == "web")
    command = "timeout 300 '" + (fs::path(LX_SOURCE_DIR) / "scripts" / "web-uiscenario").string() +
              "' --site '" + WebSite() + "' " + tool + " '" + work.string() + "' '" + script.string() +
              "' 2>/dev/null";
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
#endif

// One run in a fresh copy of the folder: the transcripts name it, so both hosts get the same
// (a folder of this test run's own, which no other run on the machine shares).
HostRun RunUiscenario(const std::string& host, const std::string& tool, const fs::path& work,
                      const fs::path& script) {
  std::error_code ec;
  fs::remove_all(work, ec);
  HostRun run = Run(host, tool, work, script);
  run.files = Files(work);
  fs::remove_all(work, ec);
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// The first lines where two transcripts part, with a little context.
std::string FirstDifference(const std::string& headless, const std::string& native, const std::string& host) {
  std::vector<std::string> a = Lines(headless), b = Lines(native);
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  std::ostringstream out;
  out << "transcripts part at line " << i + 1 << "\n";
  for (size_t k = i >= 2 ? i - 2 : 0; k < i; ++k) out << "    " << a[k] << "\n";
  const std::string window = host + ":";
  for (size_t k = i; k < std::min(a.size(), i + 4); ++k) out << "  headless: " << a[k] << "\n";
  for (size_t k = i; k < std::min(b.size(), i + 4); ++k)
    out << "  " << window << std::string(10 - window.size(), ' ') << b[k] << "\n";
  return out.str();
}

void CompareWithHeadless(const std::string& other) {
  std::vector<fs::path> scripts;
  for (const fs::directory_entry& e : fs::directory_iterator(LX_SCENARIO_DIR))
    if (e.is_regular_file() && e.path().extension() == ".txt") scripts.push_back(e.path());
  std::sort(scripts.begin(), scripts.end());
  const test::TempDir scratch;
  int tools[2] = {0, 0};
  for (const fs::path& script : scripts) {
    std::string name = Utf8FromPath(script.stem());
    SCOPED_TRACE(name);
    std::string tool = name.substr(0, name.find('-'));
    if (tool != "ambrel" && tool != "ostrel") {
      ADD_FAILURE() << "name the script ambrel-*.txt or ostrel-*.txt so that its tool is known";
      continue;
    }
    ++tools[tool == "ostrel"];
    const std::string text = ReadAll(script);
    const char* skipped = nullptr;
    for (const ui::Action& a : ui::ParseScript(text, nullptr))
      for (const PlatformDifference& d : kPlatformDifferences)
        if (d.host == other && d.applies(a)) skipped = d.reason;
    if (skipped) {
      std::printf("not compared: %s: %s\n", name.c_str(), skipped);
      continue;
    }
    const fs::path work = scratch / name;
    HostRun headless = RunUiscenario("headless", tool, work, script);
    HostRun window = RunUiscenario(other, tool, work, script);
    EXPECT_NE(headless.transcript, "") << "uiscenario printed nothing";
    EXPECT_EQ(window.status, headless.status);
    EXPECT_TRUE(window.transcript == headless.transcript)
        << FirstDifference(headless.transcript, window.transcript, other);
    EXPECT_TRUE(window.files == headless.files) << "the runs left different files";
  }
  EXPECT_GT(tools[0], 0) << "no ambrel script in " << LX_SCENARIO_DIR;
  EXPECT_GT(tools[1], 0) << "no ostrel script in " << LX_SCENARIO_DIR;
}

TEST(Scenarios, EveryScriptGivesTheSameTranscriptOnTheHeadlessAndTheWindowHost) {
  CompareWithHeadless(kWindowHost);
}

#ifndef _WIN32
TEST(Scenarios, EveryScriptGivesTheSameTranscriptOnTheHeadlessAndTheBrowserHost) {
  if (!WebSite() || !fs::exists(fs::path(WebSite()) / "lxtools.wasm"))
    GTEST_SKIP()
        << "LX_WEB_SITE names no built site (scripts/build-web.sh builds it; the web stage runs this)";
  CompareWithHeadless("web");
}
#endif

}  // namespace
}  // namespace lx
