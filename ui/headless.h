#pragma once
// The headless host: windows without pixels, driven by user actions, for tests and the
// scenario runner. Actions apply to the topmost window. A modal dialog opened from a handler
// takes its actions from the queue (and so does each file dialog: the next queued action must
// be its answer). Every message box is recorded with what the controls of its window showed.
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/dialog.h"
#include "ui/host.h"
#include "ui/script.h"
#include "ui/script_host.h"

namespace lx::ui {

// What the dialog model of a window shows now.
std::vector<Snapshot> TakeSnapshot(const Dialog& dialog);

struct MessageRecord {
  std::string title;
  std::string text;
  int dialogId;
  std::string caption;
  std::vector<Snapshot> controls;
  const Snapshot* control(int id) const;
};

class HeadlessHost : public Host, public ScriptHost {
 public:
  HeadlessHost(const ResourceSet& resources, std::string appName);
  ~HeadlessHost() override;

  Host& host() override { return *this; }

  // Opens a dialog without a modal loop, for tests that drive the top window step by step.
  void Open(Dialog& dialog);
  void AnswerFile(const std::string& path) { Queue(Action(Verb::File, 0, 0, path)); }
  void CancelFile() { Queue(Action(Verb::CancelFile)); }

  // Immediate actions on the topmost window.
  void Apply(const Action& action);
  void Click(int id) { Apply(Action(Verb::Click, id)); }
  void Command(int id) { Apply(Action(Verb::Command, id)); }
  void SysCommand(int value) { Apply(Action(Verb::SysCommand, 0, value)); }
  void Select(int id, int index) { Apply(Action(Verb::Select, id, index)); }
  void Pick(int id, const std::string& text) { Apply(Action(Verb::Pick, id, 0, text)); }
  void Type(int id, const std::string& text) { Apply(Action(Verb::Type, id, 0, text)); }
  void Focus(int id) { Apply(Action(Verb::Focus, id)); }
  void Tab() { Press(lx::ui::Key::Tab); }
  void Enter() { Press(lx::ui::Key::Enter); }
  void Escape() { Press(lx::ui::Key::Escape); }
  void Press(lx::ui::Key key, const std::string& character = {}) { Apply(Action::Press(key, character)); }
  void Close() { Apply(Action(Verb::Close)); }
  void Drag(int id, int pos) { Apply(Action(Verb::Drag, id, pos)); }
  void Key(int id, int pos) { Apply(Action(Verb::Key, id, pos)); }

  Dialog* top() const { return frames_.empty() ? nullptr : frames_.back().dialog; }
  int openWindows() const { return static_cast<int>(frames_.size()); }
  const std::vector<MessageRecord>& messages() const { return messages_; }
  std::vector<std::string> messageTexts() const;
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
  void CopyText(Dialog&, const std::string& text) override {
    clipboard_ = text;
    Record(ClipboardLine(text));
  }
  const std::string& clipboard() const { return clipboard_; }

 protected:
  // The script's actions as the dialog model takes them.
  bool HasMenuCommand(const Dialog& dialog, int command) const override;
  void MenuCommand(Dialog& dialog, int command) override { dialog.UserMenuCommand(command); }
  bool HasSystemMenuEntry(const Dialog& dialog, int command) const override;
  void SystemCommand(Dialog& dialog, int command) override { dialog.UserSysCommand(command); }
  void Click(Dialog& dialog, int id) override { dialog.UserClick(id); }
  int FindListItem(const Dialog& dialog, int id, const std::string& text) const override;
  void Select(Dialog& dialog, int id, int index) override { dialog.UserSelect(id, index); }
  void Type(Dialog& dialog, int id, const std::string& text) override { dialog.UserType(id, text); }
  // The dialog's own focus move, as Tab makes it.
  void Focus(Dialog& dialog, int id) override { dialog.UserFocus(id, Dialog::FocusBy::Keyboard); }
  void Press(Dialog& dialog, lx::ui::Key key, const std::string& character) override;
  void CloseBox(Dialog& dialog) override { dialog.UserClose(); }
  void Drag(Dialog& dialog, int id, int pos) override;
  void KeySlider(Dialog& dialog, int id, int pos) override { dialog.UserSlide(id, pos); }
  void DropFile(Dialog& dialog, const std::string& path) override { dialog.UserDrop(path); }
  bool RunsCalls() const override { return true; }
  std::string CaptionOf(const Dialog& dialog) const override { return dialog.tpl().caption; }
  std::vector<Snapshot> SnapshotOf(const Dialog& dialog) const override { return TakeSnapshot(dialog); }

 private:
  struct Frame {
    Dialog* dialog;
    bool modal;
  };
  void Show(Dialog& dialog);
  void CloseWindow(Dialog& dialog);
  void ReapEnded();
  void FlushPaints();

  std::vector<Frame> frames_;
  std::vector<std::pair<Dialog*, int>> dirty_;  // sliders waiting for their repaint
  std::map<const Dialog*, std::vector<std::pair<int, std::string>>> systemMenus_;
  std::vector<MessageRecord> messages_;
  std::vector<int> opened_;
  std::string clipboard_;
};

}  // namespace lx::ui
