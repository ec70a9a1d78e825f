#include "cli/parser_messages.h"

#include <algorithm>
#include <regex>
#include <sstream>

#include "cli/validators.h"
#include "core/text.h"

namespace lx::cli {

std::string PlainUsage(const CLI::ParseError& e, const std::string& command,
                       const std::vector<std::string>& options, const std::string& commandNames) {
  std::string what = e.what();
  if (what.starts_with("A subcommand is required")) return "a command is needed: one of " + commandNames;
  static const std::regex count(R"(^(\w+): At (least|Most) (\d+) required but received (\d+)$)");
  static const std::regex missingValue(R"(^(-[-\w]+): \d+ required \S+ missing$)");
  static const std::regex unexpected(R"(^The following arguments? (was|were) not expected: (.*)$)");
  static const std::regex range(R"(^(-[-\w]+): Value (\S+) not in range (\S+) to (\S+)$)");
  static const std::regex excludes(R"(^(-[-\w]+) excludes (-[-\w]+)$)");
  std::smatch m;
  if (std::regex_match(what, m, count)) {
    const std::string wanted = m[3], given = m[4];
    return command + " takes " + wanted + " " + (m[1] == "FILES" ? "files" : m[1].str()) + ", not " + given;
  }
  if (std::regex_match(what, m, missingValue)) {
    const std::string option = m[1].str();
    if (option.starts_with("--model")) return option + " needs a chip model: one of " + ModelNames();
    if (option == "--xtal") return option + " needs a crystal frequency in kHz";
    if (option == "-o" || option == "--output") return option + " needs a file name";
    return option + " needs a value";
  }
  if (std::regex_match(what, m, range))
    return m[1].str() + ": " + m[2].str() + " is outside " + m[3].str() + ".." + m[4].str();
  if (std::regex_match(what, m, excludes))
    return m[1].str() + " and " + m[2].str() + " cannot be given together";
  if (std::regex_match(what, m, unexpected)) {
    std::istringstream in(m[2].str());
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    // An unknown option's value shows up as an extra argument too: the option is the mistake.
    if (std::any_of(words.begin(), words.end(), [](const std::string& w) { return w.starts_with("-"); }))
      std::erase_if(words, [](const std::string& w) { return !w.starts_with("-"); });
    std::string text;
    for (const std::string& word : words) {
      if (!text.empty()) text += "; ";
      if (word.starts_with("-")) {
        const std::string name = word.substr(0, word.find('='));
        const std::string guess = Nearest(name, options);
        text += "unknown option " + name + (guess.empty() ? "" : " (did you mean " + guess + "?)");
      } else {
        text += "one argument too many: '" + word + "'";
      }
    }
    return (command.empty() ? std::string() : command + ": ") + text;
  }
  return what;
}

}  // namespace lx::cli
