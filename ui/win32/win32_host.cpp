#include "ui/win32/win32_host.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

#include "ui/file_filter.h"
#include "ui/win32/native_keys.h"

namespace lx::ui::win32 {

constexpr UINT kShownMessage = WM_APP + 1;  // posted once the modal loop runs

std::wstring CommonDialogFilter(const std::string& filter) {
  std::wstring out;
  for (const FileFilter& f : ParseFileFilter(filter)) {
    out += Wide(f.description);
    out += L'\0';
    out += Wide(f.patterns);
    out += L'\0';
  }
  if (out.empty()) out += L'\0';
  out += L'\0';
  return out;
}

// ---- Win32Host --------------------------------------------------------------------------------

struct Win32Host::Window {
  Dialog* dialog = nullptr;
  HWND hwnd = nullptr;
  std::vector<HWND> controls;    // by control index
  std::vector<int> sysCommands;  // entries we appended to the system menu
  HMENU menu = nullptr;
  int syncing = 0;              // >0 while the host itself changes native controls
  bool nativeDrop = false;      // a list opening or closing by itself, not by the host
  int painting = -1;            // the slider whose custom draw is being reported
  int focusArriving = -1;       // the control taking the focus right now
  int focused = -1;             // the control that took the focus last
  std::string caption;          // the caption as the window showed it when it closed
  HBRUSH background = nullptr;  // the window's background picture as it shows, as a brush
  HFONT fixedFont = nullptr;    // the fixed-pitch font of its text pages
};

Win32Host::Win32Host(const ResourceSet& resources, std::string appName)
    : Host(resources, std::move(appName)) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
}

Win32Host::~Win32Host() {
  for (auto& [id, bitmap] : pictures_)
    if (bitmap) DeleteObject(bitmap);
}

Win32Host::Window* Win32Host::find(const Dialog& dialog) const {
  for (const auto& w : windows_)
    if (w->dialog == &dialog) return w.get();
  return nullptr;
}

Dialog* Win32Host::top() const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
    if ((*it)->dialog && (*it)->hwnd) return (*it)->dialog;
  return nullptr;
}

HWND Win32Host::windowOf(const Dialog& dialog) const {
  Window* w = find(dialog);
  return w ? w->hwnd : nullptr;
}

HWND Win32Host::controlOf(const Dialog& dialog, int id) const { return controlAt(dialog, dialog.indexOf(id)); }

HWND Win32Host::controlAt(const Dialog& dialog, int index) const {
  Window* w = find(dialog);
  return w && index >= 0 && index < static_cast<int>(w->controls.size()) ? w->controls[index] : nullptr;
}

Dialog* Win32Host::dialogOf(HWND window) const {
  for (const auto& w : windows_)
    if (w->hwnd == window && window) return w->dialog;
  return nullptr;
}

int Win32Host::focusIndex(const Dialog& dialog) const {
  Window* w = find(dialog);
  if (!w || !w->hwnd) return -1;
  // While the window holds the focus, the focus is where Windows has it.
  if (HWND focus = GetFocus(); focus && (focus == w->hwnd || IsChild(w->hwnd, focus))) {
    for (std::size_t i = 0; i < w->controls.size(); ++i)
      if (w->controls[i] && (w->controls[i] == focus || IsChild(w->controls[i], focus)))
        return static_cast<int>(i);
    return -1;
  }
  return w->focused;
}

HBITMAP Win32Host::picture(int id) {
  auto it = pictures_.find(id);
  if (it != pictures_.end()) return it->second;
  const PictureTemplate* p = resources().picture(id);
  HBITMAP bitmap = p ? RenderPicture(*p, GetSysColor(COLOR_BTNFACE)) : nullptr;  // missing: left out
  pictures_[id] = bitmap;
  return bitmap;
}

int Win32Host::RunModal(Dialog& dialog) {
  dialog.BeginWindow();
  // A dialog constructed without a parent is still modal for the whole tool: it is owned by
  // the window below it.
  HWND owner = windows_.empty() ? nullptr : windows_.back()->hwnd;
  windows_.push_back(std::make_unique<Window>());
  Window* w = windows_.back().get();
  w->dialog = &dialog;
  const std::vector<WORD> tpl = BuildDialogTemplate(dialog.tpl());
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(tpl.data()), owner,
                          &Win32Host::DialogProc, reinterpret_cast<LPARAM>(w));
  if (w->menu) DestroyMenu(w->menu);
  if (w->background) DeleteObject(w->background);
  if (w->fixedFont) DeleteObject(w->fixedFont);
  const std::string caption = std::move(w->caption);
  std::erase_if(windows_, [w](const auto& p) { return p.get() == w; });
  if (onClosed) onClosed(dialog, caption);
  if (dialog.isOpen()) dialog.EndWindow();
  return dialog.result();
}

void Win32Host::ModalEnded(Dialog& dialog) {
  if (Window* w = find(dialog); w && w->hwnd) EndDialog(w->hwnd, dialog.result());
}

void Win32Host::Forget(Dialog& dialog) {
  if (Window* w = find(dialog)) {
    if (w->hwnd) EndDialog(w->hwnd, kIdCancel);
    w->dialog = nullptr;
  }
}

INT_PTR CALLBACK Win32Host::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (message == WM_INITDIALOG) {
    w = reinterpret_cast<Window*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    w->hwnd = hwnd;
  }
  if (!w || !w->dialog) return FALSE;
  Win32Host& host = static_cast<Win32Host&>(w->dialog->host());
  return host.Handle(*w, message, wParam, lParam);
}

LRESULT CALLBACK Win32Host::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR index,
                                        DWORD_PTR window) {
  Window* w = reinterpret_cast<Window*>(window);
  const ControlState* control =
      w->dialog && w->dialog->isOpen() && index < w->dialog->controls().size() ? &w->dialog->controls()[index] : nullptr;
  const bool button = control && (control->isButton() || control->kind() == Kind::RadioButton ||
                                  control->kind() == Kind::CheckBox);
  // The arrows on a button move within its group, choosing an automatic radio button they
  // reach: the dialog's rule, as its radio buttons are checked by the dialog, not by Windows.
  if (button && message == WM_GETDLGCODE)
    return DefSubclassProc(hwnd, message, wParam, lParam) | DLGC_WANTARROWS;
  // A page of text opens at its top with nothing selected: the dialog manager would select it
  // whole (and scroll to its end) as the focus arrives.
  if (control && control->kind() == Kind::Edit && (control->tpl->style & kMultiLine) &&
      message == WM_GETDLGCODE)
    return DefSubclassProc(hwnd, message, wParam, lParam) & ~DLGC_HASSETSEL;
  if (button && message == WM_KEYDOWN) {
    const std::optional<Key> key = KeyOfNative(static_cast<UINT>(wParam));
    if (key == Key::Left || key == Key::Right || key == Key::Up || key == Key::Down) {
      w->dialog->UserKey(*key);
      return 0;
    }
  }
  // A radio button that takes the focus reports a click of its own; the dialog decides what
  // a focus change does, so that click is not passed on.
  const int before = w->focusArriving;
  if (message == WM_SETFOCUS) w->focusArriving = w->focused = static_cast<int>(index);
  const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
  if (message == WM_SETFOCUS) w->focusArriving = before;
  if (message == WM_SETFOCUS && w->dialog && !w->syncing && w->dialog->isOpen()) {
    // The focus arrived in a control: the dialog moves its focus there, and the box that lost
    // it reports EN_KILLFOCUS.
    const auto& controls = w->dialog->controls();
    if (index < controls.size()) w->dialog->UserFocus(controls[index].id());
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &Win32Host::ControlProc, index);
  }
  return result;
}

void Win32Host::InitWindow(Window& w, HWND hwnd) {
  w.hwnd = hwnd;
  Dialog& dialog = *w.dialog;
  const int n = static_cast<int>(dialog.controls().size());
  w.controls.assign(static_cast<std::size_t>(n), nullptr);
  for (int i = 0; i < n; ++i) {
    HWND c = GetDlgItem(hwnd, NativeId(*dialog.controls()[i].tpl, i));
    w.controls[i] = c;
    if (!c) continue;
    SetWindowSubclass(c, &Win32Host::ControlProc, static_cast<UINT_PTR>(i), reinterpret_cast<DWORD_PTR>(&w));
    // A combo box's focus lives in its edit field.
    if (HWND edit = GetWindow(c, GW_CHILD))
      SetWindowSubclass(edit, &Win32Host::ControlProc, static_cast<UINT_PTR>(i),
                        reinterpret_cast<DWORD_PTR>(&w));
  }
  for (int i = 0; i < n; ++i) {
    const ControlState& c = dialog.controls()[i];
    if (c.kind() == Kind::Icon) {
      if (HBITMAP bitmap = picture(c.tpl->picture))
        SendMessageW(w.controls[i], STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    } else if (c.kind() == Kind::Slider) {
      Sync(w, i, Change::Range);
    } else if (c.tpl->style & kFixedPitch) {
      // Columns of text line up in a fixed-pitch font of the dialog font's height.
      LOGFONTW dialogFont{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof dialogFont, &dialogFont);
      LOGFONTW fixed{};
      fixed.lfHeight = dialogFont.lfHeight;
      fixed.lfCharSet = DEFAULT_CHARSET;
      fixed.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
      wcscpy(fixed.lfFaceName, L"Courier New");
      if (!w.fixedFont) w.fixedFont = CreateFontIndirectW(&fixed);
      SendMessageW(w.controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(w.fixedFont), FALSE);
    }
  }
  dialog.InitWindow();
  if (!dialog.ended()) PostMessageW(hwnd, kShownMessage, 0, 0);
}

INT_PTR Win32Host::Handle(Window& w, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog& dialog = *w.dialog;
  switch (message) {
    case WM_INITDIALOG:
      w.caption = TextOf(w.hwnd);
      // The tool's icon (the program's resource named after it) on its own window, for the
      // title bar, the taskbar and Alt+Tab; the dialogs it owns show none, as usual.
      if (!GetWindow(w.hwnd, GW_OWNER)) {
        for (auto [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
          const int size = GetSystemMetrics(metric);
          if (HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), Wide(appName()).c_str(), IMAGE_ICON, size,
                                       size, LR_SHARED))
            SendMessageW(w.hwnd, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
        }
      }
      if (onCreated) onCreated(dialog, w.hwnd);
      InitWindow(w, w.hwnd);
      return FALSE;  // the dialog has placed the focus itself
    case WM_DESTROY:
      w.caption = TextOf(w.hwnd);
      return FALSE;
    case WM_ACTIVATE:
    case WM_SETFOCUS:
      // Windows gives an active dialog's focus to a control, the first one when none had it;
      // where the dialog has put its focus on none (no control takes it), the window keeps it.
      if (dialog.hasFocusControl() || (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE)) return FALSE;
      if (message == WM_ACTIVATE) SetFocus(w.hwnd);
      return TRUE;
    case kShownMessage:
      if (!dialog.isOpen() || dialog.ended()) return TRUE;
      // The modal loop shows the window once it is idle; show it now for whoever looks.
      if (!IsWindowVisible(w.hwnd)) ShowWindow(w.hwnd, SW_SHOWNORMAL);
      UpdateWindow(w.hwnd);
      if (onShown) onShown(dialog, w.hwnd);
      return TRUE;
    case WM_COMMAND:
      if (!w.syncing) OnCommand(w, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_DROPFILES: {
      // The first file of what was dropped, as a full name.
      auto* drop = reinterpret_cast<HDROP>(wParam);
      const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
      std::wstring file(length + 1, L'\0');
      const bool named = length && DragQueryFileW(drop, 0, file.data(), length + 1);
      file.resize(length);
      DragFinish(drop);
      if (named) dialog.UserDrop(Utf8(file));
      return TRUE;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
      const int index = IndexOfNative(dialog, GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
      if (index >= 0 && !w.syncing && dialog.controls()[index].kind() == Kind::Slider) {
        const int pos = static_cast<int>(SendMessageW(reinterpret_cast<HWND>(lParam), TBM_GETPOS, 0, 0));
        dialog.UserSlide(dialog.controls()[index].id(), pos);
      }
      return TRUE;
    }
    case WM_NOTIFY: {
      const NMHDR& hdr = *reinterpret_cast<const NMHDR*>(lParam);
      const int index = IndexOfNative(dialog, static_cast<int>(hdr.idFrom));
      if (index < 0 || dialog.controls()[index].kind() != Kind::Slider) return FALSE;
      const int id = dialog.controls()[index].id();
      if (hdr.code == NM_CUSTOMDRAW) {
        // The slider repaints: its custom draw reports the position the handlers read.
        const auto& draw = *reinterpret_cast<const NMCUSTOMDRAW*>(lParam);
        if (draw.dwDrawStage == CDDS_PREPAINT) {
          w.painting = index;
          dialog.Paint(id);
          w.painting = -1;
        }
        SetWindowLongPtrW(w.hwnd, DWLP_MSGRESULT, CDRF_DODEFAULT);
        return TRUE;
      }
      if (hdr.code == NM_RELEASEDCAPTURE) {
        dialog.UserReleaseSlider(id);
        return TRUE;
      }
      return FALSE;
    }
    case WM_DRAWITEM:
      return DrawItem(w, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const int index = IndexOfNative(dialog, GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
      if (index < 0) return FALSE;
      const std::optional<Dialog::TextColour> colour = dialog.OnCtlColor(dialog.controls()[index].id());
      if (!colour) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, RGB(colour->r, colour->g, colour->b));
      if (!colour->transparent) return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      // The window's background shows through: the control erases with the piece of the
      // background picture under it, so repaints never draw text over old text.
      SetBkMode(dc, TRANSPARENT);
      HBRUSH brush = BackgroundBrush(w);
      if (!brush) return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
      RECT r;
      GetWindowRect(reinterpret_cast<HWND>(lParam), &r);
      MapWindowPoints(nullptr, w.hwnd, reinterpret_cast<POINT*>(&r), 2);
      SetBrushOrgEx(dc, -r.left, -r.top, nullptr);
      return reinterpret_cast<INT_PTR>(brush);
    }
    case WM_ERASEBKGND:
      return dialog.OnPaintBackground().picture != 0;  // painted whole in WM_PAINT
    case WM_PAINT:
      return PaintBackground(w);
    case WM_SYSCOMMAND: {
      const int command = static_cast<int>(wParam) & kSysCommandMask;
      if (std::find(w.sysCommands.begin(), w.sysCommands.end(), command) == w.sysCommands.end()) return FALSE;
      dialog.UserSysCommand(static_cast<int>(wParam));
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void Win32Host::OnCommand(Window& w, int nativeId, int code, HWND control) {
  Dialog& dialog = *w.dialog;
  if (!control) {
    // Menu commands, and Enter or Escape where the dialog has no such button.
    if (code == 0 && w.menu &&
        GetMenuState(w.menu, static_cast<UINT>(nativeId), MF_BYCOMMAND) != static_cast<UINT>(-1))
      dialog.UserMenuCommand(nativeId);
    else if (nativeId == IDOK)
      dialog.UserEnter();
    else if (nativeId == IDCANCEL)
      dialog.UserEscape();
    return;
  }
  const int index = IndexOfNative(dialog, nativeId);
  if (index < 0) return;
  const ControlState& c = dialog.controls()[index];
  const int id = c.id();
  switch (code) {
    case BN_CLICKED:
      if (c.kind() == Kind::GroupBox || c.kind() == Kind::Label || c.kind() == Kind::Icon) return;
      if (c.kind() == Kind::RadioButton && w.focusArriving == index) return;
      if (GetFocus() == control) {
        dialog.UserClick(id);
      } else if (nativeId == IDCANCEL) {
        dialog.UserEscape();  // Escape, or the close box
      } else {
        dialog.UserEnter();  // Enter: the default button, or OK
      }
      break;
    case EN_CHANGE:
      if (c.kind() == Kind::Edit) dialog.UserEdited(id, WithoutCr(TextOf(control)));
      break;
    case CBN_EDITCHANGE:
      dialog.UserEdited(id, TextOf(control));
      break;
    case CBN_DROPDOWN:
    case CBN_CLOSEUP:
      w.nativeDrop = true;
      dialog.UserDropList(id, code == CBN_DROPDOWN);
      w.nativeDrop = false;
      if (code == CBN_CLOSEUP && c.curSel >= 0 && SendMessageW(control, CB_GETCURSEL, 0, 0) != c.curSel) {
        // Dropping, the list may pick the item its field's text begins without telling the
        // dialog: closed, it holds again the item it shows and the dialog holds.
        ++w.syncing;
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(c.curSel), 0);
        --w.syncing;
      }
      break;
    case CBN_SELCHANGE: {
      const int sel = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
      if (sel >= 0) dialog.UserSelect(id, sel);
      break;
    }
    default:
      break;
  }
}

void Win32Host::ControlChanged(Dialog& dialog, int index, Change what) {
  Window* w = find(dialog);
  if (!w || !w->hwnd || index < 0 || index >= static_cast<int>(w->controls.size())) return;
  Sync(*w, index, what);
}

void Win32Host::Sync(Window& w, int index, Change what) {
  HWND c = w.controls[index];
  if (!c) return;
  const ControlState& s = w.dialog->controls()[index];
  ++w.syncing;
  switch (what) {
    case Change::Text: {
      const std::string text = (s.tpl->style & kMultiLine) ? WithCrLf(s.text) : s.text;
      if (s.kind() != Kind::Icon && TextOf(c) != text) SetWindowTextW(c, Wide(text).c_str());
      break;
    }
    case Change::Check:
      SendMessageW(c, BM_SETCHECK, s.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Change::Enabled:
      EnableWindow(c, s.enabled);
      break;
    case Change::Visible:
      ShowWindow(c, s.visible ? SW_SHOWNA : SW_HIDE);
      break;
    case Change::Items:
      SendMessageW(c, CB_RESETCONTENT, 0, 0);
      for (const std::string& item : s.items)
        SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
      [[fallthrough]];
    case Change::Selection:
      SendMessageW(c, CB_SETCURSEL, static_cast<WPARAM>(s.curSel), 0);
      if (TextOf(c) != s.text) SetWindowTextW(c, Wide(s.text).c_str());
      break;
    case Change::Range:
      SendMessageW(c, TBM_SETRANGEMIN, FALSE, s.rangeMin);
      SendMessageW(c, TBM_SETRANGEMAX, FALSE, s.rangeMax);
      if (s.pageSize > 0) SendMessageW(c, TBM_SETPAGESIZE, 0, s.pageSize);  // else the trackbar's own
      SendMessageW(c, TBM_SETPOS, TRUE, s.pos);
      break;
    case Change::Position:
      if (SendMessageW(c, TBM_GETPOS, 0, 0) != s.pos) SendMessageW(c, TBM_SETPOS, TRUE, s.pos);
      break;
    case Change::Focus:
      if (GetFocus() != c && !(GetParent(GetFocus()) == c))
        SendMessageW(w.hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c), TRUE);
      break;
    case Change::Picture:
      if (HBITMAP normal = picture(s.pictureNormal)) {
        BITMAP bm{};
        GetObjectW(normal, sizeof bm, &bm);
        SetWindowPos(c, nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      InvalidateRect(c, nullptr, TRUE);
      break;
    case Change::Dropped:
      if (!w.nativeDrop && (SendMessageW(c, CB_GETDROPPEDSTATE, 0, 0) != 0) != s.dropped)
        SendMessageW(c, CB_SHOWDROPDOWN, s.dropped, 0);
      break;
    case Change::Redraw:
      // A handler of the slider's own custom draw needs no second one.
      if (w.painting != index) InvalidateRect(c, nullptr, TRUE);
      break;
  }
  --w.syncing;
}

bool Win32Host::DrawItem(Window& w, const DRAWITEMSTRUCT& item) {
  const int index = IndexOfNative(*w.dialog, static_cast<int>(item.CtlID));
  if (index < 0) return false;
  const ControlState& c = w.dialog->controls()[index];
  if (item.CtlType == ODT_BUTTON) {
    const bool pressed = item.itemState & ODS_SELECTED;
    PaintPictureButton(item, picture(pressed && c.picturePressed ? c.picturePressed : c.pictureNormal),
                       c.text);
    return true;
  }
  if (item.CtlType != ODT_STATIC || c.kind() != Kind::Plot) return false;
  PaintPlot(item, c.plot.get());
  return true;
}

HBRUSH Win32Host::BackgroundBrush(Window& w) {
  if (w.background) return w.background;
  const Dialog::Background bg = w.dialog->OnPaintBackground();
  HBITMAP bitmap = bg.picture ? picture(bg.picture) : nullptr;
  if (!bitmap) return nullptr;
  w.background = CreateBackgroundBrush(w.hwnd, bitmap, bg.width, bg.height);
  return w.background;
}

bool Win32Host::PaintBackground(Window& w) {
  // The brush holds the client area as it shows: the ground, and the whole picture stretched
  // onto a fixed rectangle, whatever the window's size.
  HBRUSH brush = BackgroundBrush(w);
  if (!brush) return false;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w.hwnd, &ps);
  FillRect(dc, &ps.rcPaint, brush);
  EndPaint(w.hwnd, &ps);
  return true;
}

void Win32Host::MenuChanged(Dialog& dialog) {
  Window* w = find(dialog);
  const MenuTemplate* tpl = dialog.menuId() ? resources().menu(dialog.menuId()) : nullptr;
  if (!w || !w->hwnd || !tpl) return;
  HMENU bar = CreateMenu();
  std::vector<std::pair<std::string, HMENU>> popups;
  for (const MenuItemTemplate& item : tpl->items) {
    auto it =
        std::find_if(popups.begin(), popups.end(), [&](const auto& p) { return p.first == item.popup; });
    if (it == popups.end()) {
      popups.emplace_back(item.popup, CreatePopupMenu());
      it = popups.end() - 1;
      AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(it->second),
                  Wide(item.popup).c_str());
    }
    AppendMenuW(it->second, MF_STRING, static_cast<UINT_PTR>(item.command), Wide(item.text).c_str());
  }
  SetMenu(w->hwnd, bar);
  if (w->menu) DestroyMenu(w->menu);
  w->menu = bar;
}

bool Win32Host::AppendSystemMenu(Dialog& dialog, int command, const std::string& text) {
  Window* w = find(dialog);
  HMENU system = w && w->hwnd ? GetSystemMenu(w->hwnd, FALSE) : nullptr;
  if (!system) return false;
  AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(system, MF_STRING, static_cast<UINT_PTR>(command), Wide(text).c_str());
  w->sysCommands.push_back(command & kSysCommandMask);
  return true;
}

void Win32Host::ShowMessage(Dialog& owner, const std::string& text) {
  Window* w = find(owner);
  // The focus leaves for the message box and comes back: no focus change of the dialog.
  if (w) ++w->syncing;
  MessageBoxW(w ? w->hwnd : nullptr, Wide(text).c_str(), Wide(appName()).c_str(), MB_OK);
  if (w) --w->syncing;
}

void Win32Host::CopyText(Dialog& owner, const std::string& text) {
  Window* w = find(owner);
  if (PutClipboardText(w ? w->hwnd : nullptr, text) && onCopied) onCopied();
}

std::optional<std::string> Win32Host::AskFile(Dialog& owner, const FileRequest& request) {
  Window* w = find(owner);
  const std::wstring filter = CommonDialogFilter(request.filter);
  std::wstring initial = Wide(request.initialFolder);
  const DWORD attributes = GetFileAttributesW(initial.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    // A full file name: its folder.
    const std::size_t cut = initial.find_last_of(L"\\/");
    initial = cut == std::wstring::npos ? std::wstring() : initial.substr(0, cut);
  }
  std::wstring file = Wide(request.proposedName);
  file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');
  const std::wstring ext = Wide(request.defaultExt);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = w ? w->hwnd : nullptr;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = initial.empty() ? nullptr : initial.c_str();
  ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
  // No question before replacing, and an open dialog may name a file that does not exist: the
  // tools report what they cannot read themselves.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  if (w) ++w->syncing;
  const FileRequest* outer = fileRequest_;
  fileRequest_ = &request;
  const BOOL ok = request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  fileRequest_ = outer;
  if (w) --w->syncing;
  if (!ok) return std::nullopt;
  return Utf8(file.c_str());
}

}  // namespace lx::ui::win32
