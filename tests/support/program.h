#pragma once
// The real lxcfg program, run as users and scripts run it: with arguments, through sh, on a
// terminal, under limits. POSIX only; on Windows the test script runs lxcfg.exe itself.
#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/lxcfg.h"

namespace lx::test {

struct ProgramRun {
  std::vector<std::string> args;  // lxcfg's arguments
  std::string stdoutTo;           // a file or device for standard output; empty: captured
  std::filesystem::path folder;   // working folder; empty: the test's own
  rlim_t fileSizeLimit = 0;       // the largest file it may write, bytes; 0: no limit
  bool terminal = false;          // standard output and error on a pseudo-terminal, captured as out
};

namespace detail {
inline void ExecLxcfg(const ProgramRun& run) {
  if (!run.folder.empty() && ::chdir(run.folder.c_str()) != 0) ::_exit(97);
  if (run.fileSizeLimit) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{run.fileSizeLimit, run.fileSizeLimit};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  std::vector<char*> argv{const_cast<char*>("lxcfg")};
  for (const std::string& a : run.args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ::execv(LXCFG_PROGRAM, argv.data());
  ::_exit(98);
}

inline int ExitStatus(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace detail

// Runs the program and waits for it: its exit status (-1 when killed), standard output (unless
// sent elsewhere) and standard error.
inline Outcome RunProgram(const ProgramRun& run) {
  Outcome r{-1, {}, {}};
  if (run.terminal) {
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (pid < 0) return r;
    if (pid == 0) detail::ExecLxcfg(run);
    char buf[512];
    for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0;)
      r.out.append(buf, static_cast<std::size_t>(n));
    r.status = detail::ExitStatus(pid);
    ::close(master);
    return r;
  }
  TempDir scratch;
  const std::string outFile = run.stdoutTo.empty() ? (scratch / "out").string() : run.stdoutTo;
  const std::string errFile = (scratch / "err").string();
  const pid_t pid = ::fork();
  if (pid < 0) return r;
  if (pid == 0) {
    const int o = ::open(outFile.c_str(), O_WRONLY | (run.stdoutTo.empty() ? O_CREAT | O_TRUNC : 0), 0600);
    const int e = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0) ::_exit(99);
    detail::ExecLxcfg(run);
  }
  r.status = detail::ExitStatus(pid);
  if (run.stdoutTo.empty()) r.out = ReadFile(outFile);
  r.err = ReadFile(errFile);
  return r;
}

// Starts the program with its output and messages discarded, for a test that kills it.
inline pid_t StartProgram(const std::vector<std::string>& args) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    detail::ExecLxcfg({args});
  }
  return pid;
}

// One command line through sh, in `folder` when given, with lxcfg found on the PATH as an
// installed one is: its status, standard output and standard error.
inline Outcome Shell(const std::string& line, const std::filesystem::path& folder = {}) {
  TempDir scratch;
  const std::string errFile = (scratch / "err").string();
  const std::string program = std::filesystem::path(LXCFG_PROGRAM).parent_path().string();
  const std::string command = (folder.empty() ? "" : "cd '" + folder.string() + "' && ") + "PATH='" +
                              program + "':\"$PATH\" && { " + line + "\n} 2>'" + errFile + "'";
  Outcome r{-1, {}, {}};
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return r;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
  const int status = ::pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.err = ReadFile(errFile);
  return r;
}

}  // namespace lx::test
