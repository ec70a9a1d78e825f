#pragma once
// The scenario language: one user action a line, and the transcript lines that every script
// host writes alike, so that one script gives one transcript on every host.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/host.h"
#include "ui/template.h"

namespace lx::ui {

class Dialog;

enum class Verb {
  Click,       // click a button, radio button or check box (or put the focus into a box)
  Command,     // choose a menu command
  SysCommand,  // choose a system-menu entry
  Select,      // choose a list item by index
  Pick,        // choose a list item by its text
  Type,        // put the focus into a box and replace its text
  Focus,       // move the focus to a control
  Press,       // one key to the focused control ("tab", "enter"... are short for "press tab"...)
  Close,       // the window's close box
  Drag,        // drag a slider's thumb with the mouse to a position and release it
  Key,         // move a slider's thumb with the keyboard to a position
  File,        // answer the next file dialog with a path
  CancelFile,  // cancel the next file dialog
  Drop,        // drop a file on the window
  Show,        // log the controls of the topmost window
  Call,        // run a function (tests, headless host only)
};

// The system-menu entry every window has: its close box.
inline constexpr int kSysClose = 0xF060;

struct Action {
  explicit Action(Verb verb, int id = 0, int value = 0, std::string text = {})
      : verb(verb), id(id), value(value), text(std::move(text)) {}
  static Action Call(std::function<void()> call) {
    Action a(Verb::Call);
    a.call = std::move(call);
    return a;
  }
  static Action Press(Key key, std::string character = {}) {
    return Action(Verb::Press, 0, static_cast<int>(key), std::move(character));
  }
  Key key() const { return static_cast<Key>(value); }

  Verb verb;
  int id = 0;
  int value = 0;
  std::string text;
  std::function<void()> call;
  int line = 0;  // script line, for error messages
};

// Whether an action names a control of the window.
bool NeedsControl(Verb verb);

// One line of the scenario language; nullopt for blank and comment lines or on error
// (then *error is set).
std::optional<Action> ParseAction(std::string_view line, std::string* error);
// A whole script; errors are "line N: ..." texts.
std::vector<Action> ParseScript(std::string_view text, std::vector<std::string>* errors);
// A key as scripts write it ("tab", "alt+down"); a typed character is itself.
std::string KeyWord(Key key, const std::string& character);

// What a control showed at one moment.
struct Snapshot {
  int id;
  Kind kind;
  std::string text;
  bool enabled, visible, checked, focused;
  int curSel, pos;
  bool dropped = false;  // a list shown open
};
const char* KindName(Kind kind);
std::string Describe(const Snapshot& s);  // one line: id, kind, what it shows, its state

struct FileDialogRecord {
  FileRequest request;
  std::optional<std::string> answer;
};

// Transcript lines.
std::string QuoteText(const std::string& text);
std::string OpenLine(int templateId, const std::string& caption);
std::string CloseLine(int templateId, const std::string& caption, int result);
std::string MessageLine(const std::string& title, const std::string& text, const std::string& ownerCaption);
std::string WindowLine(int templateId, const std::string& caption);
std::string ControlLine(const Snapshot& control);
// The menu bar in its keyboard mode: the highlighted title, and the highlighted item of its open
// menu (empty: the menu closed).
std::string MenuLine(const std::string& title,
                     const std::string& item);  // several lines for a text of several
// What Copy put on the clipboard: its size and first line.
std::string ClipboardLine(const std::string& text);
// "file dialog save "EEPROM.h" filter "..." in "<folder>""; the answer is appended by the caller.
std::string FileDialogLine(bool save, const std::string& proposedName, const std::string& filter,
                           const std::string& folder);
std::string FileAnswerLine(const std::string& head, const std::string* answer);  // nullptr: cancelled
std::string NoMoreActionsLine(const std::string& caption);
std::string NotAnAnswerError(const std::string& head);
// A folder's name as the answer: file dialogs open the folder and keep waiting for a file.
std::string FolderAnswerError(const std::string& head);
std::string ErrorLine(int scriptLine, const std::string& what);
// What an action that does not fit the window is told.
namespace script_error {
inline constexpr const char* kNoWindow = "no window is open";
inline constexpr const char* kNoFileDialog = "no file dialog is open to answer";
inline constexpr const char* kHeadlessOnly = "function calls run on the headless host only";
std::string NoControl(int id, const std::string& caption);
std::string NoMenuCommand(int command, const std::string& caption);
std::string NoSystemMenuEntry(int value);
std::string NoListItem(const std::string& text, int id);
}  // namespace script_error

}  // namespace lx::ui
