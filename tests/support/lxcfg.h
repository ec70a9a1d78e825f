#pragma once
// Runs lxcfg in-process and keeps what it printed.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/lxcfg.h"

namespace lx::test {

struct Outcome {
  int status;
  std::string out, err;
};

// outputIsTerminal: run as if standard output were a terminal.
inline Outcome RunLxcfg(const std::vector<std::string>& args, const std::filesystem::path& programDir,
                        bool outputIsTerminal = false) {
  std::ostringstream out, err;
  const int status = cli::run(args, out, err, programDir, outputIsTerminal);
  return {status, out.str(), err.str()};
}

#ifdef LX_SOURCE_DATA_DIR
// lxcfg as if installed beside the source tree's Data/ folder of default images.
inline Outcome Lxcfg(const std::vector<std::string>& args, bool outputIsTerminal = false) {
  return RunLxcfg(args, std::filesystem::path(LX_SOURCE_DATA_DIR).parent_path(), outputIsTerminal);
}
// The default image of `model` in that folder.
inline std::string DefaultImage(const char* model) {
  return (std::filesystem::path(LX_SOURCE_DATA_DIR) / model / "EEPROM.h").string();
}
#endif

}  // namespace lx::test
