#include "cli/validators.h"

#include "channel/channel_rules.h"
#include "core/profile.h"
#include "core/text.h"

namespace lx::cli {

std::string UnknownModel(const std::string& name) {
  std::vector<std::string> names;
  for (const ToolProfile* p : AllProfiles())
    for (const ChipModel& m : p->models) names.emplace_back(m.name);
  const std::string guess = Nearest(name, names);
  return "unknown chip model '" + name + "' (one of " + ModelNames() +
         (guess.empty() ? "" : "; did you mean " + guess + "?") + ")";
}

std::string ModelNames() {
  std::string names;
  for (const ToolProfile* p : AllProfiles())
    for (const ChipModel& m : p->models) names += (names.empty() ? "" : ", ") + std::string(m.name);
  return names;
}

const CLI::Validator kFileName(
    [](std::string& name) {
      return name.empty() ? std::string("a file name cannot be empty") : std::string();
    },
    "FILE");

const CLI::Validator kNumber(
    [](std::string& text) {
      const auto v = ParseInteger(text, SignRule::Any);
      if (!v) return "'" + text + "' is not a number (decimal or 0x hexadecimal)";
      text = std::to_string(*v);
      return std::string();
    },
    "");

const CLI::Validator kModelName(
    [](std::string& name) { return FindModel(name) ? std::string() : UnknownModel(name); }, "M");

const CLI::Validator kCrystal(
    [](std::string& text) {
      const auto v = ParseInteger(text, SignRule::Any);
      if (!v) return "'" + text + "' is not a number (decimal or 0x hexadecimal)";
      if (const auto refusal = CrystalRefusal(*v)) return *refusal;
      text = std::to_string(*v);
      return std::string();
    },
    "K");

}  // namespace lx::cli
