#pragma once
// The session engine that plays scenario scripts on a window system: the headless host, the Qt
// host through real input, the Win32 host on the native windows and the browser host on the
// page. The engine owns the script's queue, the checks before each action, the errors, the
// answers to file dialogs and the transcript lines; a host supplies only how an action becomes
// its platform's input and how a window's state is read back. The scenario runner knows only
// this class.
#include <deque>
#include <filesystem>
#include <optional>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/host.h"
#include "ui/script.h"

namespace lx::ui {

class ScriptHost {
 public:
  virtual ~ScriptHost() = default;

  // What the dialogs run on.
  virtual Host& host() = 0;
  // Relative paths in file answers are taken from this folder (default: the current one).
  void SetFileBase(std::filesystem::path base) { fileBase_ = std::move(base); }
  // Queues actions for the windows still to come (the first one takes them when it opens);
  // mistakes in a script count as errors.
  void Queue(Action action) { queue_.push_back(std::move(action)); }
  void QueueScript(std::string_view script);
  int errors() const { return errors_; }
  const std::vector<FileDialogRecord>& fileDialogs() const { return fileDialogs_; }

  // Called with every transcript line as it happens.
  std::function<void(const std::string&)> trace;
  // Called after every action has run to its end.
  std::function<void(const Action&)> afterAction;

 protected:
  ScriptHost();

  // ---- What a host supplies: how an action becomes input on a window of its platform.
  virtual bool HasControl(const Dialog& dialog, int id) const;
  virtual bool HasMenuCommand(const Dialog& dialog, int command) const = 0;
  virtual void MenuCommand(Dialog& dialog, int command) = 0;
  // The close entry (kSysClose) exists everywhere; others only where the platform has a menu.
  virtual bool HasSystemMenuEntry(const Dialog& dialog, int command) const = 0;
  virtual void SystemCommand(Dialog& dialog, int command) = 0;
  virtual void Click(Dialog& dialog, int id) = 0;
  virtual int FindListItem(const Dialog& dialog, int id, const std::string& text) const = 0;  // -1: none
  virtual void Select(Dialog& dialog, int id, int index) = 0;
  virtual void Type(Dialog& dialog, int id, const std::string& text) = 0;
  virtual void Focus(Dialog& dialog, int id) = 0;
  // One key to the focused control, as the keyboard gives it (`character` for Key::Char).
  virtual void Press(Dialog& dialog, Key key, const std::string& character) = 0;
  virtual void CloseBox(Dialog& dialog) = 0;
  virtual void Drag(Dialog& dialog, int id, int pos) = 0;
  virtual void KeySlider(Dialog& dialog, int id, int pos) = 0;
  // A file (its full name) dragged from the file manager and dropped on the window.
  virtual void DropFile(Dialog& dialog, const std::string& path) = 0;
  virtual bool RunsCalls() const { return false; }

  // ---- What a host supplies: how a window's state is read.
  virtual std::string CaptionOf(const Dialog& dialog) const = 0;
  virtual std::vector<Snapshot> SnapshotOf(const Dialog& dialog) const = 0;
  // The menu bar in its keyboard mode as MenuLine writes it; empty when not in the mode.
  virtual std::string MenuStateOf(const Dialog& dialog) const;

  // ---- The engine, for the host's modal loops.
  bool HasNext() const { return !queue_.empty(); }
  Action TakeNext();
  // Checks an action against the topmost window (nullptr: none), then gives it to the host.
  void Play(const Action& action, Dialog* top);
  void Record(const std::string& line);
  void Error(int scriptLine, const std::string& what);
  // The script has run out while `dialog` is open: it is closed as with its close box.
  void RecordScriptEnd(const Dialog& dialog) { Record(NoMoreActionsLine(CaptionOf(dialog))); }
  // The modal loop of a host that plays in step with its windows: the queued actions in turn
  // (`apply`) until the window ends, else its close box; `settle` lets the window catch up.
  void RunActions(Dialog& dialog, const std::function<void(const Action&)>& apply,
                  const std::function<void()>& settle);
  // A message box over `owner` (nullptr: none), then what the owner's controls show.
  void RecordMessage(const std::string& title, const std::string& text, const Dialog* owner,
                     const std::string& ownerCaption);

  // A file dialog is open, showing `shown` in `folder`: the next action is its answer.
  struct FileAnswer {
    enum Outcome { NotAnAnswer, Cancelled, Chosen } outcome;
    std::string path;  // Chosen: the full name, a relative answer taken from the file base
    std::string head;  // the transcript line's beginning
    int line;          // the answering action's script line
  };
  FileAnswer AnswerFileDialog(const FileRequest& shown, const std::string& folder);
  // A path of the script: a relative one is taken from the file base.
  std::string FullPath(const std::string& path) const;
  // The answer was a folder, which the dialog opened instead of taking it.
  void FolderAnswered(const FileAnswer& answer);
  // A file dialog that the host draws no native window for (headless, the page): the script's
  // answer in the request's folder, none when cancelled or when the answer names a folder.
  std::optional<std::string> AnswerOwnFileDialog(const FileRequest& request);

 private:
  std::filesystem::path fileBase_;
  std::deque<Action> queue_;
  std::vector<FileDialogRecord> fileDialogs_;
  int errors_ = 0;
};

}  // namespace lx::ui
