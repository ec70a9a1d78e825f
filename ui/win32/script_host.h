#pragma once
// Scenario scripts on the real native windows of the Win32 host: every action becomes the input
// a user would give (mouse clicks and key strokes posted to the controls, menu and system-menu
// commands, answers typed into the common file dialogs), message boxes are read and dismissed
// with OK, and the transcript is read back from the native windows. It writes the lines of the
// headless host, so that one script gives one transcript.
//
// The script plays from a timer of the thread: a timer message comes only once everything
// posted before it has been handled and painted, so each tick finds the effects of the last
// action complete, in whichever modal loop (a dialog's, a message box's, a file dialog's) the
// thread is waiting.
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ui/script_host.h"
#include "ui/win32/win32_host.h"

namespace lx::ui::win32 {

class Win32ScriptHost : public ScriptHost {
 public:
  Win32ScriptHost(const ResourceSet& resources, std::string appName);
  ~Win32ScriptHost() override;
  Win32ScriptHost(const Win32ScriptHost&) = delete;
  Win32ScriptHost& operator=(const Win32ScriptHost&) = delete;

  Host& host() override { return host_; }

  // Called before each action with the window it applies to, as that window shows now.
  std::function<void(Dialog&, HWND)> beforeAction;

  // What the native controls of a dialog's window show now.
  std::vector<Snapshot> SnapshotOf(const Dialog& dialog) const override;
  std::string MenuStateOf(const Dialog& dialog) const override;

 protected:
  // The native input a user gives: mouse clicks and key strokes posted to the controls, menu and
  // system-menu commands.
  bool HasControl(const Dialog& dialog, int id) const override;
  bool HasMenuCommand(const Dialog& dialog, int command) const override;
  void MenuCommand(Dialog& dialog, int command) override;
  bool HasSystemMenuEntry(const Dialog& dialog, int command) const override;
  void SystemCommand(Dialog& dialog, int command) override;
  void Click(Dialog& dialog, int id) override;
  int FindListItem(const Dialog& dialog, int id, const std::string& text) const override;
  void Select(Dialog& dialog, int id, int index) override;
  void Type(Dialog& dialog, int id, const std::string& text) override;
  void Focus(Dialog& dialog, int id) override;
  void Press(Dialog& dialog, Key key, const std::string& character) override;
  void CloseBox(Dialog& dialog) override;
  void Drag(Dialog& dialog, int id, int pos) override;
  void KeySlider(Dialog& dialog, int id, int pos) override;
  void DropFile(Dialog& dialog, const std::string& path) override;
  std::string CaptionOf(const Dialog& dialog) const override;

 private:
  struct Pending {
    Action action;
    int depth;  // open windows when it was applied: the window it went to
  };

  static LRESULT CALLBACK TimerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Tick();
  bool AnswerForeignWindows();
  void AnswerMessage(HWND box);
  void AnswerFile(HWND dialog);
  void Step(Dialog& top);
  // Actions applied to windows at `depth` or above have run to their end.
  void Complete(int depth);

  Win32Host host_;
  std::vector<Pending> pending_;
  HWND timerWindow_ = nullptr;
  HWND answeredFileDialog_ = nullptr;  // the file dialog given an answer, until it closes
  FileAnswer answered_{};
  const Dialog* closing_ = nullptr;  // the window closed for want of actions
  bool busy_ = false;
  ULONGLONG lastProgress_ = 0;  // when the session last moved
};

// The window as it shows on the screen, as a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::filesystem::path& file);

}  // namespace lx::ui::win32
