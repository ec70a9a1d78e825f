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
#include <vector>

#include "ui/dialog.h"
#include "ui/host.h"
#include "ui/win32/dialog_template.h"
#include "ui/win32/text.h"

namespace lx::ui::win32 {

// The double-NUL-terminated filter list of the common file dialogs from "head files(*.h)|*.h||".
std::wstring CommonDialogFilter(const std::string& filter);

// Our pictures, drawn with GDI into 24-bit bitmaps (the caller owns the handle). `ground` is
// the colour behind an icon's drawing.
HBITMAP RenderPicture(const PictureTemplate& picture, COLORREF ground);
// An owner-drawn picture button showing `face`, or with none its caption on a plain face.
void PaintPictureButton(const DRAWITEMSTRUCT& item, HBITMAP face, const std::string& caption);
// An owner-drawn plot control with the items of `plot` (none: an empty canvas).
void PaintPlot(const DRAWITEMSTRUCT& item, const plot::Plot* plot);
// A brush of a window's client area: the ground, and `picture` stretched onto `width` x
// `height` pixels from the top-left corner (the caller owns the brush).
HBRUSH CreateBackgroundBrush(HWND window, HBITMAP picture, int width, int height);

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

  // A native window per dialog, which mirrors it.
  int RunModal(Dialog& dialog) override;
  void ModalEnded(Dialog& dialog) override;
  void Forget(Dialog& dialog) override;
  void ControlChanged(Dialog& dialog, int index, Change what) override;
  void MenuChanged(Dialog& dialog) override;
  bool AppendSystemMenu(Dialog& dialog, int command, const std::string& text) override;
  // The system's own boxes, and the clipboard.
  void ShowMessage(Dialog& owner, const std::string& text) override;
  std::optional<std::string> AskFile(Dialog& owner, const FileRequest& request) override;
  void CopyText(Dialog& owner, const std::string& text) override;

  struct Window;  // one open dialog

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR index,
                                      DWORD_PTR window);
  INT_PTR Handle(Window& w, UINT message, WPARAM wParam, LPARAM lParam);
  void InitWindow(Window& w, HWND hwnd);
  void Sync(Window& w, int index, Change what);
  void OnCommand(Window& w, int nativeId, int code, HWND control);
  bool DrawItem(Window& w, const DRAWITEMSTRUCT& item);  // the owner-drawn controls
  bool PaintBackground(Window& w);
  HBRUSH BackgroundBrush(Window& w);
  Window* find(const Dialog& dialog) const;

  std::vector<std::unique_ptr<Window>> windows_;  // open dialogs, the topmost last
  std::map<int, HBITMAP> pictures_;
  const FileRequest* fileRequest_ = nullptr;
};

}  // namespace lx::ui::win32
