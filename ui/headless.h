#pragma once
// The headless host: windows without pixels, driven by user actions, for tests and the
// scenario runner. Actions apply to the topmost window. A modal dialog opened from a handler
// takes its actions from the queue (and so does each file dialog: the next queued action must
// be its answer). Every message box is recorded with what the controls of its window showed.
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog.h"
#include "ui/host.h"
#include "ui/script_host.h"

namespace lx::ui {

class HeadlessHost;

enum class Verb {
  Click,       // click a button, radio button or check box (or put the focus into a box)
  Command,     // choose a menu command
  SysCommand,  // choose a system-menu entry
  Select,      // choose a list item by index
  Pick,        // choose a list item by its text
  Type,        // put the focus into a box and replace its text
  Focus,       // move the focus to a control
  Tab,
  BackTab,
  Enter,
  Escape,
  Close,       // the window's close box
  Drag,        // drag a slider's thumb with the mouse to a position and release it
  Key,         // move a slider's thumb with the keyboard to a position
  File,        // answer the next file dialog with a path
  CancelFile,  // cancel the next file dialog
  Show,        // log the controls of the topmost window
  Call,        // run a function (tests)
};

struct Action {
  explicit Action(Verb verb, int id = 0, int value = 0, std::string text = {})
      : verb(verb), id(id), value(value), text(std::move(text)) {}
  static Action Run(std::function<void(HeadlessHost&)> call) {
    Action a(Verb::Call);
    a.call = std::move(call);
    return a;
  }
  Verb verb;
  int id = 0;
  int value = 0;
  std::string text;
  std::function<void(HeadlessHost&)> call;
  int line = 0;  // script line, for error messages
};

// One line of the scenario language; nullopt for blank and comment lines or on error
// (then *error is set).
std::optional<Action> ParseAction(std::string_view line, std::string* error);
// A whole script; errors are "line N: ..." texts.
std::vector<Action> ParseScript(std::string_view text, std::vector<std::string>* errors);

// What a control showed at one moment.
struct Snapshot {
  int id;
  Kind kind;
  std::string text;
  bool enabled, visible, checked, focused;
  int curSel, pos;
};
std::vector<Snapshot> TakeSnapshot(const Dialog& dialog);
std::string Describe(const Snapshot& s);  // one line: id, kind, what it shows, its state

struct MessageRecord {
  std::string title;
  std::string text;
  int dialogId;
  std::string caption;
  std::vector<Snapshot> controls;
  const Snapshot* control(int id) const;
};

struct FileDialogRecord {
  FileRequest request;
  std::optional<std::string> answer;
};

class HeadlessHost : public Host, public ScriptHost {
 public:
  HeadlessHost(const ResourceSet& resources, std::string appName);
  ~HeadlessHost() override;

  // Relative paths in file answers are taken from this folder (default: the current one).
  void SetFileBase(std::filesystem::path base) override { fileBase_ = std::move(base); }
  Host& host() override { return *this; }

  // Opens a dialog without a modal loop, for tests that drive the top window step by step.
  void Open(Dialog& dialog);
  // Queues actions for the modal windows and file dialogs still to come.
  void Queue(Action action);
  void QueueScript(std::string_view script) override;
  void AnswerFile(const std::string& path) { Queue(Action(Verb::File, 0, 0, path)); }
  void CancelFile() { Queue(Action(Verb::CancelFile)); }
  bool queueEmpty() const { return queue_.empty(); }

  // Immediate actions on the topmost window.
  void Apply(const Action& action);
  void Click(int id) { Apply(Action(Verb::Click, id)); }
  void Command(int id) { Apply(Action(Verb::Command, id)); }
  void SysCommand(int value) { Apply(Action(Verb::SysCommand, 0, value)); }
  void Select(int id, int index) { Apply(Action(Verb::Select, id, index)); }
  void Pick(int id, const std::string& text) { Apply(Action(Verb::Pick, id, 0, text)); }
  void Type(int id, const std::string& text) { Apply(Action(Verb::Type, id, 0, text)); }
  void Focus(int id) { Apply(Action(Verb::Focus, id)); }
  void Tab() { Apply(Action(Verb::Tab)); }
  void Enter() { Apply(Action(Verb::Enter)); }
  void Escape() { Apply(Action(Verb::Escape)); }
  void Close() { Apply(Action(Verb::Close)); }
  void Drag(int id, int pos) { Apply(Action(Verb::Drag, id, pos)); }
  void Key(int id, int pos) { Apply(Action(Verb::Key, id, pos)); }

  Dialog* top() const { return frames_.empty() ? nullptr : frames_.back().dialog; }
  int openWindows() const { return static_cast<int>(frames_.size()); }
  const std::vector<MessageRecord>& messages() const { return messages_; }
  std::vector<std::string> messageTexts() const;
  const std::vector<FileDialogRecord>& fileDialogs() const override { return fileDialogs_; }
  const std::vector<std::string>& log() const { return log_; }
  int errors() const override { return errors_; }
  // Windows opened so far, by template number, in order.
  const std::vector<int>& opened() const { return opened_; }
  const std::vector<std::pair<int, std::string>>& systemMenu(const Dialog& d) const;

  // Host
  int RunModal(Dialog& dialog) override;
  void ModalEnded(Dialog&) override {}
  void ControlChanged(Dialog& dialog, int index, Change what) override;
  void MenuChanged(Dialog&) override {}
  void Forget(Dialog& dialog) override;
  bool AppendSystemMenu(Dialog& dialog, int command, const std::string& text) override;
  void ShowMessage(Dialog& owner, const std::string& text) override;
  std::optional<std::string> AskFile(Dialog& owner, const FileRequest& request) override;
  const ResourceSet& resources() const override { return resources_; }
  const std::string& appName() const override { return appName_; }

 private:
  struct Frame {
    Dialog* dialog;
    bool modal;
  };
  void record(std::string line);
  void error(const Action& action, const std::string& what);
  void show(Dialog& dialog);
  void closeWindow(Dialog& dialog);
  void reapEnded();
  void flushPaints();
  bool menuHas(const Dialog& d, int command) const;

  const ResourceSet& resources_;
  std::string appName_;
  std::filesystem::path fileBase_;
  std::deque<Action> queue_;
  std::vector<Frame> frames_;
  std::vector<std::pair<Dialog*, int>> dirty_;  // sliders waiting for their repaint
  std::map<const Dialog*, std::vector<std::pair<int, std::string>>> systemMenus_;
  std::vector<MessageRecord> messages_;
  std::vector<FileDialogRecord> fileDialogs_;
  std::vector<std::string> log_;
  std::vector<int> opened_;
  int errors_ = 0;
};

}  // namespace lx::ui
