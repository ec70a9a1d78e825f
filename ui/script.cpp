// The scenario language: one action per line, "#" starts a comment line.
#include "ui/script.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "core/text.h"

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
  std::optional<int64_t> v = ParseInteger(word, SignRule::Any);
  if (!v || *v < INT32_MIN || *v > INT32_MAX) return std::nullopt;
  return static_cast<int>(*v);
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
  // OwnKey: the word is a key's name, short for "press" and that name.
  enum Args { None, Id, Value, IdValue, IdText, Text, KeyName, OwnKey } args;
};

constexpr VerbSpec kVerbs[] = {
    {"click", Verb::Click, VerbSpec::Id},
    {"command", Verb::Command, VerbSpec::Id},
    {"syscommand", Verb::SysCommand, VerbSpec::Value},
    {"select", Verb::Select, VerbSpec::IdValue},
    {"pick", Verb::Pick, VerbSpec::IdText},
    {"type", Verb::Type, VerbSpec::IdText},
    {"focus", Verb::Focus, VerbSpec::Id},
    {"tab", Verb::Press, VerbSpec::OwnKey},
    {"backtab", Verb::Press, VerbSpec::OwnKey},
    {"enter", Verb::Press, VerbSpec::OwnKey},
    {"escape", Verb::Press, VerbSpec::OwnKey},
    {"close", Verb::Close, VerbSpec::None},
    {"drag", Verb::Drag, VerbSpec::IdValue},
    {"key", Verb::Key, VerbSpec::IdValue},
    {"file", Verb::File, VerbSpec::Text},
    {"cancel-file", Verb::CancelFile, VerbSpec::None},
    {"show", Verb::Show, VerbSpec::None},
    {"press", Verb::Press, VerbSpec::KeyName},
    {"drop", Verb::Drop, VerbSpec::Text},
};

constexpr std::pair<const char*, Key> kKeys[] = {
    {"tab", Key::Tab},     {"backtab", Key::BackTab}, {"enter", Key::Enter},       {"escape", Key::Escape},
    {"space", Key::Space}, {"left", Key::Left},       {"right", Key::Right},       {"up", Key::Up},
    {"down", Key::Down},   {"pageup", Key::PageUp},   {"pagedown", Key::PageDown}, {"home", Key::Home},
    {"end", Key::End},     {"f4", Key::F4},           {"alt+down", Key::AltDown},  {"alt+up", Key::AltUp},
    {"alt", Key::Alt},     {"f10", Key::F10},
};

// The length of the UTF-8 sequence that starts with `lead`; 0 for a byte that starts none.
size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// A key name, or one printable character (a blank is "space").
std::optional<Action> KeyAction(std::string_view word) {
  for (const auto& [name, key] : kKeys)
    if (word == name) return Action::Press(key);
  if (word.empty() || Utf8Length(static_cast<unsigned char>(word.front())) != word.size()) return std::nullopt;
  if (word.size() == 1 && !std::isprint(static_cast<unsigned char>(word.front()))) return std::nullopt;
  return Action::Press(Key::Char, std::string(word));
}

}  // namespace

std::optional<Action> ParseAction(std::string_view line, std::string* error) {
  std::string_view rest = Trim(line);
  if (rest.empty() || rest.front() == '#') return std::nullopt;
  std::string_view word = NextWord(rest);
  for (const VerbSpec& v : kVerbs) {
    if (word != v.word) continue;
    Action a = v.args == VerbSpec::OwnKey ? *KeyAction(v.word) : Action(v.verb);
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
    if (v.args == VerbSpec::KeyName) {
      std::optional<Action> press = KeyAction(NextWord(rest));
      if (!press) return fail("expects a key name or one character");
      a = std::move(*press);
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

bool NeedsControl(Verb v) {
  return v == Verb::Click || v == Verb::Select || v == Verb::Pick || v == Verb::Type || v == Verb::Focus ||
         v == Verb::Drag || v == Verb::Key;
}

const char* KindName(Kind k) {
  switch (k) {
    case Kind::PushButton: return "button";
    case Kind::PictureButton: return "picture";
    case Kind::RadioButton: return "radio";
    case Kind::CheckBox: return "check";
    case Kind::Edit: return "edit";
    case Kind::ComboBox: return "combo";
    case Kind::Slider: return "slider";
    case Kind::GroupBox: return "group";
    case Kind::Label: return "label";
    case Kind::Icon: return "icon";
    case Kind::Plot: return "plot";
  }
  return "?";
}

std::string Describe(const Snapshot& s) {
  std::string line = (s.id == kStaticId ? std::string("static") : std::to_string(s.id)) + " " + KindName(s.kind);
  switch (s.kind) {
    case Kind::RadioButton:
    case Kind::CheckBox:
      line += " " + QuoteText(s.text) + (s.checked ? " checked" : " unchecked");
      break;
    case Kind::ComboBox:
      line += " " + QuoteText(s.text) + " item " + std::to_string(s.curSel);
      if (s.dropped) line += " dropped";
      break;
    case Kind::Slider:
      line += " " + std::to_string(s.pos);
      break;
    default:
      line += " " + QuoteText(s.text);
  }
  if (!s.enabled) line += " disabled";
  if (!s.visible) line += " hidden";
  if (s.focused) line += " focused";
  return line;
}

std::string QuoteText(const std::string& text) { return "\"" + text + "\""; }

std::string OpenLine(int templateId, const std::string& caption) {
  return "open " + std::to_string(templateId) + " " + QuoteText(caption);
}

std::string CloseLine(int templateId, const std::string& caption, int result) {
  return "close " + std::to_string(templateId) + " " + QuoteText(caption) + " result " +
         std::to_string(result);
}

std::string MessageLine(const std::string& title, const std::string& text, const std::string& ownerCaption) {
  return "message [" + title + "] " + QuoteText(text) + " over " + QuoteText(ownerCaption);
}

std::string WindowLine(int templateId, const std::string& caption) {
  return "window " + std::to_string(templateId) + " " + QuoteText(caption);
}

std::string ControlLine(const Snapshot& control) {
  // A text of several lines: the control on its line, then each line of its text indented.
  if (control.text.find('\n') == std::string::npos) return "  | " + Describe(control);
  Snapshot head = control;
  head.text.clear();
  std::string out = "  | " + Describe(head);
  std::string_view rest = control.text;
  if (!rest.empty() && rest.back() == '\n') rest.remove_suffix(1);
  while (true) {
    const size_t end = rest.find('\n');
    out += "\n  |     " + std::string(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return out;
}

std::string MenuLine(const std::string& title, const std::string& item) {
  return "  menu " + QuoteText(title) +
         (item.empty() ? " highlighted" : " open, " + QuoteText(item) + " highlighted");
}

std::string ClipboardLine(const std::string& text) {
  const size_t lines = text.empty() ? 0 : std::count(text.begin(), text.end(), '\n') + (text.back() != '\n');
  return "clipboard " + std::to_string(lines) + " lines " + QuoteText(text.substr(0, text.find('\n')));
}

std::string FileDialogLine(bool save, const std::string& proposedName, const std::string& filter,
                           const std::string& folder) {
  return std::string("file dialog ") + (save ? "save" : "open") + " " + QuoteText(proposedName) + " filter " +
         QuoteText(filter) + " in " + QuoteText(folder);
}

std::string FileAnswerLine(const std::string& head, const std::string* answer) {
  return head + (answer ? " -> " + QuoteText(*answer) : std::string(" -> cancelled"));
}

std::string NoMoreActionsLine(const std::string& caption) {
  return "no more actions: closing " + QuoteText(caption);
}

std::string NotAnAnswerError(const std::string& head) {
  return head + ": the next action is not an answer; cancelled";
}

std::string FolderAnswerError(const std::string& head) {
  return head + ": a folder, not a file; the file dialog did not take the answer; cancelled";
}

std::string ErrorLine(int scriptLine, const std::string& what) {
  return "error" + (scriptLine ? " at line " + std::to_string(scriptLine) : std::string()) + ": " + what;
}

namespace script_error {
std::string NoControl(int id, const std::string& caption) {
  return "no control " + std::to_string(id) + " in " + QuoteText(caption);
}
std::string NoMenuCommand(int command, const std::string& caption) {
  return "no menu command " + std::to_string(command) + " in " + QuoteText(caption);
}
std::string NoSystemMenuEntry(int value) { return "no system-menu entry " + std::to_string(value); }
std::string NoListItem(const std::string& text, int id) {
  return "no item " + QuoteText(text) + " in list " + std::to_string(id);
}
}  // namespace script_error

std::string KeyWord(Key key, const std::string& character) {
  for (const auto& [name, k] : kKeys)
    if (k == key) return name;
  return character;
}

}  // namespace lx::ui
