#include "core/process.h"

namespace lx {

std::filesystem::path ProgramDirectory(const char* argv0) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && !self.empty()) return self.parent_path();
  if (argv0 && *argv0) return std::filesystem::absolute(argv0, ec).parent_path();
  return std::filesystem::current_path(ec);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void UseBinaryStandardStreams() {}

}  // namespace lx
