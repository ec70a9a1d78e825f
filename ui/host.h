#pragma once
// What a dialog needs from the window system. Four hosts implement it: the headless host that
// tests and the scenario runner drive, the Qt host of the Linux programs, the Win32 host of the
// Windows programs and the browser host. Dialogs know only this.
#include <optional>
#include <string>
#include <utility>

#include "ui/template.h"

namespace lx::ui {

class Dialog;

// What changed in a control's state, so that a host can bring its widget up to date.
enum class Change : uint8_t {
  Text, Check, Enabled, Visible, Items, Selection, Range, Position, Focus, Picture,
  Redraw,  // a slider must repaint (the headless host then sends its NM_CUSTOMDRAW)
  Dropped,  // a list opened or closed
};

// A key the user presses; Char is one printable character, given beside it. Alt is the key
// pressed and released alone; AltDown and AltUp are the arrows with Alt held.
enum class Key : uint8_t {
  Tab, BackTab, Enter, Escape, Space, Left, Right, Up, Down, PageUp, PageDown, Home, End, Char,
  F4, AltDown, AltUp, Alt, F10,
};

struct FileRequest {
  bool save = false;          // save dialog (no confirmation before replacing) or open dialog
  std::string proposedName;   // "EEPROM.h"
  std::string defaultExt;     // without dot; appended to a name typed without extension
  std::string filter;         // "head files(*.h)|*.h||"
  std::string initialFolder;  // a folder or a full file name (its folder is taken)
};

class Host {
 public:
  virtual ~Host() = default;

  // Creates the dialog's window, runs its initialisation and its modal loop; returns the
  // value passed to EndDialog.
  virtual int RunModal(Dialog& dialog) = 0;
  // The dialog ended its modal loop (EndDialog); the loop returns once the handler is done.
  virtual void ModalEnded(Dialog& dialog) = 0;
  // The dialog's model of a control changed (by program); hosts mirror it into the widget.
  virtual void ControlChanged(Dialog& dialog, int index, Change what) = 0;
  // Menu bar set, or an entry appended to the system menu (false: the platform has none).
  virtual void MenuChanged(Dialog& dialog) = 0;
  virtual bool AppendSystemMenu(Dialog& dialog, int command, const std::string& text) = 0;
  // A message box with only OK and no icon, titled with the application name.
  virtual void ShowMessage(Dialog& owner, const std::string& text) = 0;
  // The chosen file's full name, or nothing when the user cancelled.
  virtual std::optional<std::string> AskFile(Dialog& owner, const FileRequest& request) = 0;
  // Puts a text on the clipboard, as the platform's text.
  virtual void CopyText(Dialog& owner, const std::string& text) = 0;

  // A dialog object is going away while its window is still open (a test dropped it).
  virtual void Forget(Dialog&) {}

  const ResourceSet& resources() const { return resources_; }
  const std::string& appName() const { return appName_; }  // the message boxes' title

 protected:
  Host(const ResourceSet& resources, std::string appName)
      : resources_(resources), appName_(std::move(appName)) {}

 private:
  const ResourceSet& resources_;
  std::string appName_;
};

}  // namespace lx::ui
