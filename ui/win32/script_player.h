#pragma once
// Plays a scenario script (the language of the headless host) on the real native windows of
// the Win32 host: every action becomes the input a user would give (mouse clicks and key
// strokes posted to the controls, menu and system-menu commands, answers typed into the
// common file dialogs), and every message box is read and dismissed with OK.
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ui/headless.h"
#include "ui/win32/win32_host.h"

namespace lx::ui::win32 {

class ScriptPlayer {
 public:
  ScriptPlayer(Win32Host& host, std::vector<Action> actions, std::filesystem::path fileBase);
  ~ScriptPlayer();
  ScriptPlayer(const ScriptPlayer&) = delete;
  ScriptPlayer& operator=(const ScriptPlayer&) = delete;

  // Every transcript line as it happens.
  std::function<void(const std::string&)> trace;
  // Called before each action with the window it applies to, once that window has painted.
  std::function<void(Dialog&, HWND)> beforeAction;

  // Starts playing from the modal loops that the tool runs next.
  void Start();
  int errors() const { return errors_; }

 private:
  static LRESULT CALLBACK TimerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Tick();
  bool AnswerForeignWindows();
  void Apply(const Action& action, Dialog& dialog);
  void Click(HWND control);
  void Drag(HWND slider, int pos, const ControlState& state);
  void Fail(const Action& action, const std::string& what);
  void Log(const std::string& line);

  Win32Host& host_;
  std::vector<Action> actions_;
  std::filesystem::path fileBase_;
  std::size_t next_ = 0;
  HWND timerWindow_ = nullptr;
  bool busy_ = false;
  int waited_ = 0;  // ticks spent waiting for a file dialog
  int ticks_ = 0;
  const Dialog* top_ = nullptr;
  int errors_ = 0;
};

// The window as it shows on the screen, as a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::filesystem::path& file);

}  // namespace lx::ui::win32
