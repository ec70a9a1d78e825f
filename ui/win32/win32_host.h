#pragma once
// The Win32 host: turns any dialog template into a native dialog through an in-memory extended
// dialog template, so that Windows does the dialog-unit layout, tab order, default button,
// Enter and Escape. The dialog keeps the state of its controls; the host mirrors it into the
// native controls and feeds the native notifications into the dialog's input entry points.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog.h"
#include "ui/host.h"

namespace lx::ui::win32 {

// UTF-8 inside, UTF-16 at the Windows API boundary.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The native control identifier of control `index`: its own id, or a private one for the
// labels and frames that share kStaticId.
int NativeId(const ControlTemplate& control, int index);

// The DLGTEMPLATEEX with its items, as the words DialogBoxIndirectParamW reads.
std::vector<WORD> BuildDialogTemplate(const DialogTemplate& tpl);

// The double-NUL-terminated filter list of the common file dialogs from "head files(*.h)|*.h||".
std::wstring CommonDialogFilter(const std::string& filter);

// Our pictures, drawn with GDI into 24-bit bitmaps (the caller owns the handle). `ground` is
// the colour behind an icon's drawing.
HBITMAP RenderPicture(const PictureTemplate& picture, COLORREF ground);
// A multi-line text as Windows keeps it (CR LF line ends), and back.
std::string WithCrLf(std::string_view text);
std::string WithoutCr(std::string_view text);
// The text on the clipboard, with LF line ends.
std::string ClipboardText();

class Win32Host : public Host {
 public:
  Win32Host(const ResourceSet& resources, std::string appName);
  ~Win32Host() override;

  // Called when a dialog's window exists, before the dialog initialises it.
  std::function<void(Dialog&, HWND)> onCreated;
  // Called once a dialog's window is shown and its modal loop runs (screenshots, tests).
  std::function<void(Dialog&, HWND)> onShown;
  // Called when a dialog's window has closed, with the caption it showed last.
  std::function<void(Dialog&, const std::string&)> onClosed;
  // Called once a text was put on the clipboard.
  std::function<void()> onCopied;

  Dialog* top() const;  // the topmost open dialog
  int openWindows() const { return static_cast<int>(windows_.size()); }
  HWND windowOf(const Dialog& dialog) const;
  HWND controlOf(const Dialog& dialog, int id) const;
  HWND controlAt(const Dialog& dialog, int index) const;
  Dialog* dialogOf(HWND window) const;
  // The control of a dialog that has the focus, or had it last while another window (a
  // message box) holds it; -1 for none.
  int focusIndex(const Dialog& dialog) const;
  // What the common file dialog on the screen was asked for; nullptr when none is open.
  const FileRequest* openFileRequest() const { return fileRequest_; }
  HBITMAP picture(int id);

  int RunModal(Dialog& dialog) override;
  void ModalEnded(Dialog& dialog) override;
  void ControlChanged(Dialog& dialog, int index, Change what) override;
  void MenuChanged(Dialog& dialog) override;
  bool AppendSystemMenu(Dialog& dialog, int command, const std::string& text) override;
  void ShowMessage(Dialog& owner, const std::string& text) override;
  std::optional<std::string> AskFile(Dialog& owner, const FileRequest& request) override;
  void CopyText(Dialog& owner, const std::string& text) override;
  void Forget(Dialog& dialog) override;
  const ResourceSet& resources() const override { return resources_; }
  const std::string& appName() const override { return appName_; }

  struct Window;  // one open dialog

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR index,
                                      DWORD_PTR window);
  INT_PTR Handle(Window& w, UINT message, WPARAM wParam, LPARAM lParam);
  void InitWindow(Window& w, HWND hwnd);
  void Sync(Window& w, int index, Change what);
  void OnCommand(Window& w, int nativeId, int code, HWND control);
  bool DrawPictureButton(Window& w, const DRAWITEMSTRUCT& item);
  bool DrawPlot(Window& w, const DRAWITEMSTRUCT& item);
  bool PaintBackground(Window& w);
  HBRUSH BackgroundBrush(Window& w);
  Window* find(const Dialog& dialog) const;

  const ResourceSet& resources_;
  std::string appName_;
  std::vector<std::unique_ptr<Window>> windows_;  // open dialogs, the topmost last
  std::map<int, HBITMAP> pictures_;
  const FileRequest* fileRequest_ = nullptr;
};

}  // namespace lx::ui::win32
