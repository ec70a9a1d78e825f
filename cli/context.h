#pragma once
// What every lxcfg command runs with: its streams, the limits of its inputs and the options that
// every command shares, and the exit statuses.
#include <filesystem>
#include <ostream>
#include <string>

#include "core/input_file.h"

namespace lx::cli {

// Done; a refusal or a failure; a mistake on the command line.
inline constexpr int kOk = 0, kFailed = 1, kUsage = 2;

struct Context {
  std::ostream& out;
  std::ostream& err;
  std::filesystem::path programDir;
  // Inputs: at most 64 MiB; a pipe may stay silent for a minute (a build step still working).
  InputLimits input{kMaxInputBytes, false, 60000};
  // Standard output is a terminal: binary is never written there, and a command whose output
  // file defaults to standard output asks for -o instead.
  bool outputIsTerminal = false;
  // --strict: every warning refuses the command instead (status 1, nothing written).
  bool strict = false;
  // --force: an existing output holding the other kind of file (a header where a binary image
  // goes, or the reverse) is replaced all the same.
  bool force = false;
  // The running command and its synopsis, shown with every usage error.
  std::string command{}, synopsis{};
};

}  // namespace lx::cli
