#pragma once
// The parser's messages in lxcfg's words.
#include <CLI/CLI.hpp>
#include <string>
#include <vector>

namespace lx::cli {

// CLI11's own words for a usage error, in plain ones where they are not plain already.
std::string PlainUsage(const CLI::ParseError& e, const std::string& command,
                       const std::vector<std::string>& options, const std::string& commandNames);

}  // namespace lx::cli
