#include <unistd.h>

#include <iostream>

#include "cli/lxcfg.h"
#include "core/state.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return lx::cli::run(args, std::cout, std::cerr, lx::ProgramDirectory(argv[0]),
                      ::isatty(STDOUT_FILENO) != 0);
}
