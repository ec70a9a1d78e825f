// The scenario script parser on any text: no crash, one error per refused line at most, each
// naming its line, and every action it accepts is parsed the same way on its own.
#include "fuzz_support.h"
#include "ui/headless.h"

using namespace lx::ui;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> errors;
  const std::vector<Action> actions = ParseScript(text, &errors);
  const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  lx::fuzz::Check(actions.size() + errors.size() <= lines);
  for (const std::string& e : errors) lx::fuzz::Check(e.starts_with("line "));
  for (const std::string& line : lx::fuzz::Lines(text, 10000)) {
    std::string error;
    const std::optional<Action> one = ParseAction(line, &error);
    if (one) lx::fuzz::Check(error.empty());
  }
  return 0;
}
