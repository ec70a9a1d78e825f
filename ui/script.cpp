// The scenario language: one action per line, "#" starts a comment line.
#include <cctype>
#include <charconv>

#include "ui/headless.h"

namespace lx::ui {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::string_view NextWord(std::string_view& rest) {
  rest = Trim(rest);
  size_t end = 0;
  while (end < rest.size() && !std::isspace(static_cast<unsigned char>(rest[end]))) ++end;
  std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  return word;
}

std::optional<int> Number(std::string_view word) {
  int value = 0;
  int base = 10;
  bool negative = false;
  if (!word.empty() && word.front() == '-') {
    negative = true;
    word.remove_prefix(1);
  }
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
    base = 16;
    word.remove_prefix(2);
  }
  if (word.empty()) return std::nullopt;
  auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value, base);
  if (ec != std::errc() || ptr != word.data() + word.size()) return std::nullopt;
  return negative ? -value : value;
}

// The rest of a line as text: surrounding blanks dropped; double quotes keep blanks and allow
// the empty text.
std::string TextArgument(std::string_view rest) {
  rest = Trim(rest);
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
  return std::string(rest);
}

struct VerbSpec {
  const char* word;
  Verb verb;
  enum Args { None, Id, Value, IdValue, IdText, Text } args;
};

constexpr VerbSpec kVerbs[] = {
    {"click", Verb::Click, VerbSpec::Id},         {"command", Verb::Command, VerbSpec::Id},
    {"syscommand", Verb::SysCommand, VerbSpec::Value}, {"select", Verb::Select, VerbSpec::IdValue},
    {"pick", Verb::Pick, VerbSpec::IdText},       {"type", Verb::Type, VerbSpec::IdText},
    {"focus", Verb::Focus, VerbSpec::Id},         {"tab", Verb::Tab, VerbSpec::None},
    {"backtab", Verb::BackTab, VerbSpec::None},   {"enter", Verb::Enter, VerbSpec::None},
    {"escape", Verb::Escape, VerbSpec::None},     {"close", Verb::Close, VerbSpec::None},
    {"drag", Verb::Drag, VerbSpec::IdValue},      {"key", Verb::Key, VerbSpec::IdValue},
    {"file", Verb::File, VerbSpec::Text},         {"cancel-file", Verb::CancelFile, VerbSpec::None},
    {"show", Verb::Show, VerbSpec::None},
};

}  // namespace

std::optional<Action> ParseAction(std::string_view line, std::string* error) {
  std::string_view rest = Trim(line);
  if (rest.empty() || rest.front() == '#') return std::nullopt;
  std::string_view word = NextWord(rest);
  for (const VerbSpec& v : kVerbs) {
    if (word != v.word) continue;
    Action a(v.verb);
    auto fail = [&](const std::string& what) -> std::optional<Action> {
      if (error) *error = std::string(v.word) + ": " + what;
      return std::nullopt;
    };
    if (v.args == VerbSpec::Id || v.args == VerbSpec::IdValue || v.args == VerbSpec::IdText) {
      std::optional<int> id = Number(NextWord(rest));
      if (!id) return fail("expects a control or command id");
      a.id = *id;
    }
    if (v.args == VerbSpec::Value || v.args == VerbSpec::IdValue) {
      std::optional<int> value = Number(NextWord(rest));
      if (!value) return fail("expects a number");
      a.value = *value;
    }
    if (v.args == VerbSpec::IdText || v.args == VerbSpec::Text) {
      a.text = TextArgument(rest);
      if (v.args == VerbSpec::Text && a.text.empty()) return fail("expects a path");
      rest = {};
    }
    if (!Trim(rest).empty()) return fail("unexpected \"" + std::string(Trim(rest)) + "\"");
    return a;
  }
  if (error) *error = "unknown action \"" + std::string(word) + "\"";
  return std::nullopt;
}

std::vector<Action> ParseScript(std::string_view text, std::vector<std::string>* errors) {
  std::vector<Action> out;
  int number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    std::string error;
    std::optional<Action> a = ParseAction(line, &error);
    if (a) {
      a->line = number;
      out.push_back(std::move(*a));
    } else if (!error.empty() && errors) {
      errors->push_back("line " + std::to_string(number) + ": " + error);
    }
  }
  return out;
}

}  // namespace lx::ui
