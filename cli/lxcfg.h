#pragma once
// lxcfg as a library function, so that tests run it in-process against captured streams.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace lx::cli {

// args without the program name. programDir: where Data/ (the default images) lies.
// Exit status: 0 done, 1 failed (one line on err), 2 usage error. outputIsTerminal: `out` is a
// terminal (no binary there; commands with an optional OUT then need a file named).
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const std::filesystem::path& programDir, bool outputIsTerminal = false);

}  // namespace lx::cli
