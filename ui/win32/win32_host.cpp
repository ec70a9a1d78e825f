#include "ui/win32/win32_host.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "ui/file_filter.h"

namespace lx::ui::win32 {

namespace {

constexpr UINT kShownMessage = WM_APP + 1;  // posted once the modal loop runs
constexpr int kFirstPrivateId = 0xE000;     // native ids of the controls that share kStaticId

std::wstring TextOf(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The words of an extended dialog template, with the alignment its parts require.
class TemplateWriter {
 public:
  void Word(WORD w) { words_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const std::wstring& s) {
    for (wchar_t c : s) Word(static_cast<WORD>(c));
    Word(0);
  }
  void Ordinal(WORD atom) {
    Word(0xFFFF);
    Word(atom);
  }
  void AlignDword() {
    if (words_.size() % 2) Word(0);
  }
  std::vector<WORD> take() { return std::move(words_); }

 private:
  std::vector<WORD> words_;
};

enum : WORD { kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082, kComboAtom = 0x0085 };

DWORD ControlStyle(const ControlTemplate& t) {
  DWORD s = WS_CHILD;
  if (!(t.style & kHidden)) s |= WS_VISIBLE;
  if (t.style & kDisabled) s |= WS_DISABLED;
  if (t.style & kGroup) s |= WS_GROUP;
  if (t.style & kTabStop) s |= WS_TABSTOP;
  if (t.style & kBorder) s |= WS_BORDER;
  if (t.style & kVScroll) s |= WS_VSCROLL;
  switch (t.kind) {
    case Kind::PushButton:
      return s | ((t.style & kDefault) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    case Kind::PictureButton:
      return s | BS_OWNERDRAW;
    // Radio buttons and check boxes are not automatic here: the dialog flips them and the
    // host mirrors its state, as for every other control.
    case Kind::RadioButton:
      return s | BS_RADIOBUTTON | ((t.style & kMultiLine) ? BS_MULTILINE : 0);
    case Kind::CheckBox:
      return s | BS_CHECKBOX | ((t.style & kMultiLine) ? BS_MULTILINE : 0);
    case Kind::Edit:
      return s | ES_LEFT | ((t.style & kAutoHScroll) ? ES_AUTOHSCROLL : 0) |
             ((t.style & kReadOnly) ? ES_READONLY : 0) |
             ((t.style & kMultiLine) ? ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL : 0);
    case Kind::ComboBox:
      return s | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
    case Kind::Slider: {
      DWORD ticks = TBS_AUTOTICKS | TBS_BOTTOM;  // TBS_BOTTOM is TBS_RIGHT for a vertical one
      if (t.style & kNoTicks)
        ticks = TBS_NOTICKS;
      else if (t.style & kTicksBoth)
        ticks = TBS_AUTOTICKS | TBS_BOTH;
      else if (t.style & kTicksTop)
        ticks = TBS_AUTOTICKS | TBS_TOP;
      return s | ((t.style & kVertical) ? TBS_VERT : TBS_HORZ) | ticks;
    }
    case Kind::GroupBox:
      return s | BS_GROUPBOX;
    case Kind::Label:
      return s | SS_LEFT | ((t.style & kCentreV) ? SS_CENTERIMAGE : 0) |
             ((t.style & kNoPrefix) ? SS_NOPREFIX : 0);
    case Kind::Icon:
      return s | SS_BITMAP;
    case Kind::Plot:
      return s | SS_OWNERDRAW;
  }
  return s;
}

int IndexOfNative(const Dialog& dialog, int nativeId) {
  const auto& controls = dialog.controls();
  for (std::size_t i = 0; i < controls.size(); ++i)
    if (NativeId(*controls[i].tpl, static_cast<int>(i)) == nativeId) return static_cast<int>(i);
  return -1;
}

}  // namespace

std::string WithCrLf(std::string_view text) {
  std::string out;
  for (char ch : text) {
    if (ch == '\n') out += '\r';
    out += ch;
  }
  return out;
}

std::string WithoutCr(std::string_view text) {
  std::string out;
  for (char ch : text)
    if (ch != '\r') out += ch;
  return out;
}

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

int NativeId(const ControlTemplate& control, int index) {
  return control.id == kStaticId ? kFirstPrivateId + index : control.id;
}

std::vector<WORD> BuildDialogTemplate(const DialogTemplate& tpl) {
  TemplateWriter w;
  const std::wstring face = Wide(tpl.fontFace);
  w.Word(1);       // dlgVer
  w.Word(0xFFFF);  // signature: extended template
  w.Dword(0);      // helpID
  // A main window with a minimise box shows in the task bar.
  w.Dword((tpl.minimizeBox ? WS_EX_APPWINDOW : 0) | (tpl.acceptFiles ? WS_EX_ACCEPTFILES : 0));
  w.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK | DS_CENTER |
          (tpl.minimizeBox ? WS_MINIMIZEBOX : 0));
  w.Word(static_cast<WORD>(tpl.controls.size()));
  w.Word(0);
  w.Word(0);
  w.Word(static_cast<WORD>(tpl.cx));
  w.Word(static_cast<WORD>(tpl.cy));
  w.Word(0);  // no menu: the dialog sets its own
  w.Word(0);  // the standard dialog class
  w.Text(Wide(tpl.caption));
  w.Word(static_cast<WORD>(tpl.fontPoints));
  w.Word(FW_NORMAL);
  // The Chinese faces name the GB2312 character set, so that the font mapper keeps to fonts
  // with Chinese glyphs.
  const bool chinese = face.size() && face[0] > 0x7F;
  w.Word(MAKEWORD(FALSE, chinese ? GB2312_CHARSET : DEFAULT_CHARSET));
  w.Text(face);
  int index = 0;
  for (const ControlTemplate& c : tpl.controls) {
    w.AlignDword();
    w.Dword(0);  // helpID
    w.Dword(c.kind == Kind::Edit && (c.style & kBorder) ? WS_EX_CLIENTEDGE : 0);
    DWORD style = ControlStyle(c);
    if (c.kind == Kind::Edit) style &= ~WS_BORDER;  // the client edge draws the frame
    w.Dword(style);
    w.Word(static_cast<WORD>(c.x));
    w.Word(static_cast<WORD>(c.y));
    w.Word(static_cast<WORD>(c.cx));
    w.Word(static_cast<WORD>(c.cy));
    w.Dword(static_cast<DWORD>(NativeId(c, index++)));
    switch (c.kind) {
      case Kind::PushButton:
      case Kind::PictureButton:
      case Kind::RadioButton:
      case Kind::CheckBox:
      case Kind::GroupBox:
        w.Ordinal(kButtonAtom);
        break;
      case Kind::Edit:
        w.Ordinal(kEditAtom);
        break;
      case Kind::ComboBox:
        w.Ordinal(kComboAtom);
        break;
      case Kind::Slider:
        w.Text(TRACKBAR_CLASSW);
        break;
      case Kind::Label:
      case Kind::Icon:
      case Kind::Plot:
        w.Ordinal(kStaticAtom);
        break;
    }
    w.Text(c.kind == Kind::Icon ? std::wstring() : Wide(c.text ? c.text : ""));
    w.Word(0);  // no creation data
  }
  return w.take();
}

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
    : resources_(resources), appName_(std::move(appName)) {
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
  const PictureTemplate* p = resources_.picture(id);
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
  if (button && message == WM_KEYDOWN && (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN)) {
    w->dialog->UserKey(wParam == VK_LEFT ? Key::Left : wParam == VK_RIGHT ? Key::Right : wParam == VK_UP ? Key::Up : Key::Down);
    return 0;
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
      w.caption = Utf8(TextOf(w.hwnd));
      // The tool's icon (the program's resource named after it) on its own window, for the
      // title bar, the taskbar and Alt+Tab; the dialogs it owns show none, as usual.
      if (!GetWindow(w.hwnd, GW_OWNER)) {
        for (auto [which, metric] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
          const int size = GetSystemMetrics(metric);
          if (HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), Wide(appName_).c_str(), IMAGE_ICON, size,
                                       size, LR_SHARED))
            SendMessageW(w.hwnd, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
        }
      }
      if (onCreated) onCreated(dialog, w.hwnd);
      InitWindow(w, w.hwnd);
      return FALSE;  // the dialog has placed the focus itself
    case WM_DESTROY:
      w.caption = Utf8(TextOf(w.hwnd));
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
      if (length && DragQueryFileW(drop, 0, file.data(), length + 1)) {
        file.resize(length);
        DragFinish(drop);
        dialog.UserDrop(Utf8(file));
      } else {
        DragFinish(drop);
      }
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
      return DrawPictureButton(w, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ||
             DrawPlot(w, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
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
      if (c.kind() == Kind::Edit) dialog.UserEdited(id, WithoutCr(Utf8(TextOf(control))));
      break;
    case CBN_EDITCHANGE:
      dialog.UserEdited(id, Utf8(TextOf(control)));
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
      const std::wstring text = (s.tpl->style & kMultiLine) ? Wide(WithCrLf(s.text)) : Wide(s.text);
      if (s.kind() != Kind::Icon && TextOf(c) != text) SetWindowTextW(c, text.c_str());
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
      if (TextOf(c) != Wide(s.text)) SetWindowTextW(c, Wide(s.text).c_str());
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

bool Win32Host::DrawPictureButton(Window& w, const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return false;
  const int index = IndexOfNative(*w.dialog, static_cast<int>(item.CtlID));
  if (index < 0) return false;
  const ControlState& c = w.dialog->controls()[index];
  const bool pressed = item.itemState & ODS_SELECTED;
  HBITMAP face = picture(pressed && c.picturePressed ? c.picturePressed : c.pictureNormal);
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  if (!face) {
    // No picture attached: the caption on a plain face.
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, const_cast<RECT*>(&r), pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const std::wstring text = Wide(c.text);
    SetBkMode(dc, TRANSPARENT);
    RECT t = r;
    DrawTextW(dc, text.c_str(), -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return true;
  }
  // Without a disabled face a disabled picture button looks like an enabled one.
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, face);
  BITMAP bm{};
  GetObjectW(face, sizeof bm, &bm);
  BitBlt(dc, r.left, r.top, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  if (item.itemState & ODS_FOCUS) {
    RECT f{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
    DrawFocusRect(dc, &f);
  }
  return true;
}

bool Win32Host::DrawPlot(Window& w, const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_STATIC) return false;
  const int index = IndexOfNative(*w.dialog, static_cast<int>(item.CtlID));
  if (index < 0 || w.dialog->controls()[index].kind() != Kind::Plot) return false;
  const ControlState& c = w.dialog->controls()[index];
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  const auto rgb = [](uint32_t v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); };
  HBRUSH ground = CreateSolidBrush(rgb(plot::kBackgroundRgb));
  FillRect(dc, &r, ground);
  DeleteObject(ground);
  if (!c.plot) return true;
  const plot::Plot& p = *c.plot;
  const plot::Frame f{r.right - r.left, r.bottom - r.top};
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, r.left, r.top, nullptr);
  SetBkMode(dc, TRANSPARENT);
  if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)))
    SelectObject(dc, font);
  const auto line = [&](int x0, int y0, int x1, int y1, uint32_t colour, int width, int style) {
    HPEN pen = CreatePen(style, width, rgb(colour));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
  };
  const auto text = [&](int x, int baseline, const std::string& label, uint32_t colour) {
    const std::wstring wide = Wide(label);
    SetTextColor(dc, rgb(colour));
    SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    TextOutW(dc, x, baseline, wide.c_str(), static_cast<int>(wide.size()));
  };
  std::vector<POINT> trace;
  for (const plot::Item& i : p.items) {
    switch (i.kind) {
      case plot::ItemKind::Range: {
        RECT band{std::max(f.left(), f.x(p, i.x)), f.top(), std::min(f.right(), f.x(p, i.x2)), f.axisY()};
        if (band.right <= band.left) band.right = band.left + 1;
        HBRUSH shade = CreateSolidBrush(rgb(plot::kRangeRgb));
        FillRect(dc, &band, shade);
        DeleteObject(shade);
        break;
      }
      case plot::ItemKind::Trace:
        trace.push_back({f.x(p, i.x), f.y(p, i.y)});
        break;
      case plot::ItemKind::Threshold:
        line(f.left(), f.y(p, i.y), f.right(), f.y(p, i.y), plot::kThresholdRgb, 1, PS_DASH);
        break;
      case plot::ItemKind::Tick:
        line(f.x(p, i.x), f.axisY(), f.x(p, i.x), f.axisY() + 4, plot::kAxisRgb, 1, PS_SOLID);
        text(f.x(p, i.x), f.height - 4, i.label, plot::kAxisRgb);
        break;
      case plot::ItemKind::Product:
        line(f.x(p, i.x), f.axisY(), f.x(p, i.x), f.productTop(i),
             i.conflict ? plot::kConflictRgb : plot::kProductRgb, 1, PS_SOLID);
        break;
      case plot::ItemKind::Channel: {
        const uint32_t colour = i.conflict ? plot::kConflictRgb : plot::kChannelRgb;
        line(f.x(p, i.x), f.axisY(), f.x(p, i.x), f.top(), colour, 2, PS_SOLID);
        text(f.x(p, i.x), f.labelBaseline(i), i.label, colour);
        break;
      }
    }
  }
  if (trace.size() > 1) {
    HPEN pen = CreatePen(PS_SOLID, 1, rgb(plot::kTraceRgb));
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, trace.data(), static_cast<int>(trace.size()));
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  line(f.left(), f.axisY(), f.right(), f.axisY(), plot::kAxisRgb, 1, PS_SOLID);
  RestoreDC(dc, saved);
  return true;
}

HBRUSH Win32Host::BackgroundBrush(Window& w) {
  if (w.background) return w.background;
  const Dialog::Background bg = w.dialog->OnPaintBackground();
  HBITMAP bitmap = bg.picture ? picture(bg.picture) : nullptr;
  if (!bitmap) return nullptr;
  // The client area: the ground, and the picture stretched on it.
  RECT client;
  GetClientRect(w.hwnd, &client);
  HDC screen = GetDC(w.hwnd);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP canvas = CreateCompatibleBitmap(screen, std::max<LONG>(client.right, bg.width),
                                          std::max<LONG>(client.bottom, bg.height));
  HGDIOBJ oldCanvas = SelectObject(dc, canvas);
  RECT all{0, 0, std::max<LONG>(client.right, bg.width), std::max<LONG>(client.bottom, bg.height)};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BITMAP bm{};
  GetObjectW(bitmap, sizeof bm, &bm);
  StretchBlt(dc, 0, 0, bg.width, bg.height, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  SelectObject(dc, oldCanvas);
  DeleteDC(dc);
  ReleaseDC(w.hwnd, screen);
  w.background = CreatePatternBrush(canvas);
  DeleteObject(canvas);  // the brush keeps its own copy
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
  const MenuTemplate* tpl = dialog.menuId() ? resources_.menu(dialog.menuId()) : nullptr;
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
  MessageBoxW(w ? w->hwnd : nullptr, Wide(text).c_str(), Wide(appName_).c_str(), MB_OK);
  if (w) --w->syncing;
}

void Win32Host::CopyText(Dialog& owner, const std::string& text) {
  // Text on the clipboard has Windows line ends.
  const std::wstring wide = Wide(WithCrLf(text));
  Window* w = find(owner);
  if (!OpenClipboard(w ? w->hwnd : nullptr)) return;
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t))) {
    if (void* p = GlobalLock(memory)) {
      std::memcpy(p, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
      GlobalUnlock(memory);
      if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    } else {
      GlobalFree(memory);
    }
  }
  CloseClipboard();
  if (onCopied) onCopied();
}

std::string ClipboardText() {
  std::string out;
  if (!OpenClipboard(nullptr)) return out;
  if (HANDLE memory = GetClipboardData(CF_UNICODETEXT))
    if (const auto* p = static_cast<const wchar_t*>(GlobalLock(memory))) {
      out = WithoutCr(Utf8(p));
      GlobalUnlock(memory);
    }
  CloseClipboard();
  return out;
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
