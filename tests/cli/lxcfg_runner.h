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

inline Outcome RunLxcfg(const std::vector<std::string>& args, const std::filesystem::path& programDir) {
  std::ostringstream out, err;
  const int status = cli::run(args, out, err, programDir);
  return {status, out.str(), err.str()};
}

}  // namespace lx::test
