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

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ui/headless.h"
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
  Win32Host& win32Host() { return host_; }
  void SetFileBase(std::filesystem::path base) override { fileBase_ = std::move(base); }
  void QueueScript(std::string_view script) override;
  int errors() const override { return errors_; }
  const std::vector<FileDialogRecord>& fileDialogs() const override { return fileDialogs_; }

  // Called before each action with the window it applies to, as that window shows now.
  std::function<void(Dialog&, HWND)> beforeAction;

  // What the native controls of a dialog's window show now.
  std::vector<Snapshot> TakeSnapshot(const Dialog& dialog) const;

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
  void Apply(const Action& action, Dialog& dialog);
  // Actions applied to windows at `depth` or above have run to their end.
  void Complete(int depth);
  void Record(const std::string& line);
  void Error(int line, const std::string& what);

  void Click(HWND control);
  void Drag(HWND slider, int pos);

  Win32Host host_;
  std::filesystem::path fileBase_;
  std::deque<Action> queue_;
  std::vector<Pending> pending_;
  std::vector<FileDialogRecord> fileDialogs_;
  HWND timerWindow_ = nullptr;
  HWND answeredFileDialog_ = nullptr;  // the file dialog given an answer, until it closes
  std::string answeredHead_;
  int answeredLine_ = 0;
  const Dialog* closing_ = nullptr;  // the window closed for want of actions
  bool busy_ = false;
  ULONGLONG lastProgress_ = 0;  // when the session last moved
  int errors_ = 0;
};

// The window as it shows on the screen, as a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::filesystem::path& file);

}  // namespace lx::ui::win32
