#include "ui/win32/script_host.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>

#include "ui/win32/native_keys.h"

namespace lx::ui::win32 {

namespace {

constexpr UINT kTickMs = 10;
constexpr ULONGLONG kStuckMs = 60000;   // a session that stops moving for a minute has hung
constexpr int kFileNameBox = 0x47C;     // cmb13 of the common file dialogs
constexpr int kOldFileNameBox = 0x480;  // edt1
constexpr int kMessageText = 0xFFFF;    // a message box's text

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

bool Reachable(HWND control) { return IsWindowVisible(control) && IsWindowEnabled(control); }

struct Foreign {
  HWND messageBox = nullptr;
  HWND fileDialog = nullptr;
};

// Dialog windows of this thread that are not the tool's own: message boxes and file dialogs.
Foreign FindForeign(const Win32Host& host) {
  struct Search {
    const Win32Host* host;
    Foreign found;
  } search{&host, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(lp);
        if (ClassOf(hwnd) != L"#32770" || s.host->dialogOf(hwnd)) return TRUE;
        if (GetDlgItem(hwnd, kFileNameBox) || GetDlgItem(hwnd, kOldFileNameBox))
          s.found.fileDialog = hwnd;
        else if (GetDlgItem(hwnd, kMessageText) && GetDlgItem(hwnd, IDOK) && IsWindowVisible(hwnd))
          s.found.messageBox = hwnd;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A key as the keyboard gives it; Enter with its character unless `withCharacter` is false.
void PostKey(HWND target, UINT key, bool withCharacter = true) {
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
  if (key == VK_RETURN && withCharacter) PostMessageW(target, WM_CHAR, L'\r', 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
}

// A key with Alt held, as the keyboard gives it: a system key.
void PostSysKey(HWND target, UINT key, bool altHeld = true) {
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  const LPARAM alt = altHeld ? 1 << 29 : 0;  // F10 comes as a system key without Alt
  PostMessageW(target, WM_SYSKEYDOWN, key, 1 | (scan << 16) | alt);
  PostMessageW(target, WM_SYSKEYUP, key, 1 | (scan << 16) | alt | (3u << 30));
}

// Where keys go: the focused control of the dialog, else the dialog itself.
HWND KeyTarget(HWND dialog) {
  HWND focus = GetFocus();
  return focus && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog;
}

// The window of a control that takes clicks and keys (a combo box's edit field).
HWND InputWindow(HWND control) {
  if (ClassOf(control) == L"ComboBox")
    if (HWND edit = GetWindow(control, GW_CHILD)) return edit;
  return control;
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool MenuHas(HMENU menu, int command) {
  return menu && GetMenuState(menu, static_cast<UINT>(command), MF_BYCOMMAND) != static_cast<UINT>(-1);
}

// The index of the list item that reads exactly `text` (the list's own search ignores case).
int FindItem(HWND combo, const std::string& text) {
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) continue;
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length));
    if (Utf8(item) == text) return i;
  }
  return -1;
}

}  // namespace

Win32ScriptHost::Win32ScriptHost(const ResourceSet& resources, std::string appName)
    : host_(resources, std::move(appName)) {
  host_.onCreated = [this](Dialog& d, HWND hwnd) {
    lastProgress_ = GetTickCount64();
    Record(OpenLine(d.templateId(), TextOf(hwnd)));
  };
  host_.onCopied = [this] { Record(ClipboardLine(ClipboardText())); };
  host_.onClosed = [this](Dialog& d, const std::string& caption) {
    lastProgress_ = GetTickCount64();
    // Whatever was done to the window has run its course: its actions end before its close.
    Complete(host_.openWindows() + 1);
    if (closing_ == &d) closing_ = nullptr;
    Record(CloseLine(d.templateId(), caption, d.result()));
  };
  // A message-only window whose timer fires in every modal loop of the thread.
  WNDCLASSW wc{};
  wc.lpfnWndProc = &Win32ScriptHost::TimerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"LxScriptHost";
  RegisterClassW(&wc);
  timerWindow_ =
      CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(timerWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetTimer(timerWindow_, 1, kTickMs, nullptr);
  lastProgress_ = GetTickCount64();
}

Win32ScriptHost::~Win32ScriptHost() {
  if (timerWindow_) DestroyWindow(timerWindow_);
}

LRESULT CALLBACK Win32ScriptHost::TimerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER)
    if (auto* self = reinterpret_cast<Win32ScriptHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) self->Tick();
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::string Win32ScriptHost::CaptionOf(const Dialog& dialog) const { return TextOf(host_.windowOf(dialog)); }

std::vector<Snapshot> Win32ScriptHost::SnapshotOf(const Dialog& dialog) const {
  std::vector<Snapshot> out;
  const int focus = host_.focusIndex(dialog);
  const auto& controls = dialog.controls();
  for (int i = 0; i < static_cast<int>(controls.size()); ++i) {
    const ControlState& c = controls[i];
    HWND w = host_.controlAt(dialog, i);
    Snapshot s{c.id(),
               c.kind(),
               "",
               w && IsWindowEnabled(w),
               w && (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE),
               false,
               focus == i && c.id() != kStaticId,
               -1,
               0};
    if (w) {
      switch (c.kind()) {
        case Kind::Slider:
          s.pos = static_cast<int>(SendMessageW(w, TBM_GETPOS, 0, 0));
          break;
        case Kind::Icon:
          break;  // a picture, no text
        case Kind::Plot:
          s.text = PlotText(c);  // the items it paints
          break;
        case Kind::ComboBox:
          s.curSel = static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0));
          s.dropped = SendMessageW(w, CB_GETDROPPEDSTATE, 0, 0) != 0;
          s.text = TextOf(w);
          break;
        case Kind::RadioButton:
        case Kind::CheckBox:
          s.checked = SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
          s.text = TextOf(w);
          break;
        default:
          s.text = WithoutCr(TextOf(w));  // a page of text keeps its lines
          break;
      }
    }
    out.push_back(std::move(s));
  }
  return out;
}

std::string Win32ScriptHost::MenuStateOf(const Dialog& dialog) const {
  HMENU bar = GetMenu(host_.windowOf(dialog));
  const int titles = bar ? GetMenuItemCount(bar) : 0;
  auto label = [](HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 127, MF_BYPOSITION);
    return Utf8(text);
  };
  for (int i = 0; i < titles; ++i) {
    if (!(GetMenuState(bar, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)) continue;
    std::string item;
    HMENU popup = GetSubMenu(bar, i);
    for (int j = 0; popup && j < GetMenuItemCount(popup); ++j)
      if (GetMenuState(popup, static_cast<UINT>(j), MF_BYPOSITION) & MF_HILITE) item = label(popup, j);
    return MenuLine(label(bar, i), item);
  }
  return {};
}

// ---- The ticks --------------------------------------------------------------------------------

void Win32ScriptHost::Tick() {
  if (busy_) return;
  busy_ = true;
  if (GetTickCount64() - lastProgress_ > kStuckMs) {
    Error(0, "the session stopped moving; ended");
    ExitProcess(3);
  }
  if (!AnswerForeignWindows()) {
    Dialog* top = host_.top();
    // A window not shown yet offers the user nothing to act on.
    if (top && IsWindowVisible(host_.windowOf(*top))) Step(*top);
  }
  busy_ = false;
}

void Win32ScriptHost::Complete(int depth) {
  while (!pending_.empty() && pending_.back().depth >= depth) {
    const Action done = std::move(pending_.back().action);
    pending_.pop_back();
    if (afterAction) afterAction(done);
  }
}

void Win32ScriptHost::Step(Dialog& top) {
  HWND window = host_.windowOf(top);
  const int depth = host_.openWindows();
  answeredFileDialog_ = nullptr;
  Complete(depth);
  if (closing_ == &top) {
    // The close box did not close it: the session ends it all the same.
    closing_ = nullptr;
    if (!top.ended()) top.EndDialog(kIdCancel);
    return;
  }
  if (!HasNext()) {
    // The script has ended: the windows still open are closed as with their close box.
    RecordScriptEnd(top);
    closing_ = &top;
    CloseBox(top);
    return;
  }
  Action next = TakeNext();
  if (beforeAction) beforeAction(top, window);
  Play(next, &top);
  lastProgress_ = GetTickCount64();
  pending_.push_back({std::move(next), depth});
}

bool Win32ScriptHost::AnswerForeignWindows() {
  const Foreign f = FindForeign(host_);
  if (f.messageBox) {
    AnswerMessage(f.messageBox);
    return true;
  }
  if (f.fileDialog) {
    AnswerFile(f.fileDialog);
    return true;
  }
  return false;
}

void Win32ScriptHost::AnswerMessage(HWND box) {
  HWND owner = GetWindow(box, GW_OWNER);
  Dialog* d = owner ? host_.dialogOf(owner) : nullptr;
  lastProgress_ = GetTickCount64();
  RecordMessage(TextOf(box), TextOf(GetDlgItem(box, kMessageText)), d, owner ? TextOf(owner) : std::string());
  PressButton(box, IDOK);
}

void Win32ScriptHost::AnswerFile(HWND dialog) {
  lastProgress_ = GetTickCount64();
  if (dialog == answeredFileDialog_) {
    // Still open after its answer: the name was a folder, which the dialog opened instead.
    answeredFileDialog_ = nullptr;
    FolderAnswered(answered_);
    PressButton(dialog, IDCANCEL);
    return;
  }
  HWND nameBox = GetDlgItem(dialog, kFileNameBox);
  if (!nameBox) nameBox = GetDlgItem(dialog, kOldFileNameBox);
  const FileRequest* request = host_.openFileRequest();
  FileRequest shown = request ? *request : FileRequest{};
  shown.proposedName = TextOf(nameBox);
  std::wstring folder(32768, L'\0');
  const LRESULT length = SendMessageW(dialog, CDM_GETFOLDERPATH, static_cast<WPARAM>(folder.size()),
                                      reinterpret_cast<LPARAM>(folder.data()));
  folder.resize(length > 0 ? wcsnlen(folder.c_str(), folder.size()) : 0);
  const FileAnswer answer = AnswerFileDialog(shown, Utf8(folder));
  if (answer.outcome != FileAnswer::Chosen) {
    PressButton(dialog, IDCANCEL);
    return;
  }
  // Typed into the name box, then OK.
  SetWindowTextW(nameBox, Wide(answer.path).c_str());
  PressButton(dialog, IDOK);
  answeredFileDialog_ = dialog;
  answered_ = answer;
}

// ---- Real input -------------------------------------------------------------------------------

namespace {

void ClickControl(HWND control) {
  // The mouse reaches only what can be seen and is enabled.
  if (!Reachable(control)) return;
  HWND target = InputWindow(control);
  RECT r;
  GetClientRect(target, &r);
  const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(target, WM_LBUTTONUP, 0, at);
}

void DragSlider(HWND slider, int pos) {
  if (!Reachable(slider)) return;
  RECT thumb{}, channel{};
  SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  const int now = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
  const int low = static_cast<int>(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
  const int high = static_cast<int>(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
  pos = SliderStop(pos, low, high);
  const bool vertical = GetWindowLongW(slider, GWL_STYLE) & TBS_VERT;
  const POINT grab{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  // The place of `pos` on the channel: the trackbar scales the place between the thumb's
  // centre at either end of the channel and rounds, so the nearest whole pixel to the exact
  // place maps back to `pos`. Some trackbars report a vertical channel turned on its side.
  const bool turned = vertical && (channel.right - channel.left) > (channel.bottom - channel.top);
  const int lo = vertical && !turned ? channel.top : channel.left;
  const int hi = vertical && !turned ? channel.bottom : channel.right;
  const int half = vertical ? (thumb.bottom - thumb.top) / 2 : (thumb.right - thumb.left) / 2;
  const double width = (hi - lo) - 2.0 * half - 1;
  const int range = std::max(1, high - low);
  const int place = lo + half + static_cast<int>(std::lround((pos - low) * width / range));
  const POINT to = vertical ? POINT{grab.x, place} : POINT{place, grab.y};
  PostMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
  if (pos != now) PostMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  PostMessageW(slider, WM_LBUTTONUP, 0, MAKELPARAM(pos != now ? to.x : grab.x, pos != now ? to.y : grab.y));
}

// The dialog's own focus move, as Tab makes it (a box's text selected whole).
void MoveFocus(HWND window, HWND control) {
  if (Reachable(control)) PostMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

}  // namespace

bool Win32ScriptHost::HasControl(const Dialog& dialog, int id) const {
  return dialog.find(id) && host_.controlOf(dialog, id);
}

bool Win32ScriptHost::HasMenuCommand(const Dialog& dialog, int command) const {
  return MenuHas(GetMenu(host_.windowOf(dialog)), command);
}

void Win32ScriptHost::MenuCommand(Dialog& dialog, int command) {
  PostMessageW(host_.windowOf(dialog), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

bool Win32ScriptHost::HasSystemMenuEntry(const Dialog& dialog, int command) const {
  return MenuHas(GetSystemMenu(host_.windowOf(dialog), FALSE), command);
}

void Win32ScriptHost::SystemCommand(Dialog& dialog, int command) {
  PostMessageW(host_.windowOf(dialog), WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
}

void Win32ScriptHost::CloseBox(Dialog& dialog) {
  PostMessageW(host_.windowOf(dialog), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void Win32ScriptHost::Click(Dialog& dialog, int id) {
  HWND control = host_.controlOf(dialog, id);
  if (dialog.at(id).kind() == Kind::Slider)
    MoveFocus(host_.windowOf(dialog), control);  // a press on a slider moves or releases its thumb
  else
    ClickControl(control);
}

int Win32ScriptHost::FindListItem(const Dialog& dialog, int id, const std::string& text) const {
  return FindItem(host_.controlOf(dialog, id), text);
}

void Win32ScriptHost::Select(Dialog& dialog, int id, int index) {
  HWND control = host_.controlOf(dialog, id);
  const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
  if (!Reachable(control) || index < 0 || index >= count) return;
  // Into the box, then the item taken from the list, which reports CBN_SELCHANGE.
  ClickControl(control);
  PostMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageW(host_.windowOf(dialog), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(control));
}

void Win32ScriptHost::Type(Dialog& dialog, int id, const std::string& text) {
  HWND control = host_.controlOf(dialog, id);
  if (!Reachable(control)) return;
  HWND box = InputWindow(control);
  ClickControl(control);
  PostMessageW(box, EM_SETSEL, 0, -1);
  PostMessageW(box, WM_CHAR, VK_BACK, 1);  // clears the selection: an empty text stays empty
  for (wchar_t c : Wide(text)) PostMessageW(box, WM_CHAR, c, 1);
}

void Win32ScriptHost::Focus(Dialog& dialog, int id) { MoveFocus(host_.windowOf(dialog), host_.controlOf(dialog, id)); }

void Win32ScriptHost::Press(Dialog& dialog, Key key, const std::string& character) {
  HWND window = host_.windowOf(dialog);
  HWND target = KeyTarget(window);
  switch (key) {
    // A posted key carries no Shift state: the dialog's move back, as Shift+Tab makes it.
    case Key::BackTab:
      PostMessageW(window, WM_NEXTDLGCTL, 1, FALSE);
      return;
    case Key::Char:
      for (wchar_t c : Wide(character)) PostMessageW(target, WM_CHAR, c, 1);
      return;
    // The menu bar's keyboard mode translates Enter into its character itself: a second one
    // would run the item that the first opened.
    case Key::Enter:
      return PostKey(target, VK_RETURN, MenuStateOf(dialog).empty());
    case Key::AltDown:
      return PostSysKey(target, NativeKey(Key::Down));
    case Key::AltUp:
      return PostSysKey(target, NativeKey(Key::Up));
    // Alt alone and F10 come as system keys, and their release enters the menu bar.
    case Key::Alt:
    case Key::F10:
      return PostSysKey(target, NativeKey(key), key == Key::Alt);
    default:
      return PostKey(target, NativeKey(key));
  }
}

void Win32ScriptHost::DropFile(Dialog& dialog, const std::string& path) {
  // What the shell posts when a file is dragged from Explorer and released over the window:
  // a DROPFILES block naming it, which the receiver frees.
  const std::wstring file = Wide(path);
  const std::size_t bytes = sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GHND, bytes);
  if (!memory) return;
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), file.c_str(), file.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  if (!PostMessageW(host_.windowOf(dialog), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0)) GlobalFree(memory);
}

void Win32ScriptHost::Drag(Dialog& dialog, int id, int pos) { DragSlider(host_.controlOf(dialog, id), pos); }

void Win32ScriptHost::KeySlider(Dialog& dialog, int id, int pos) {
  HWND control = host_.controlOf(dialog, id);
  if (!Reachable(control)) return;
  MoveFocus(host_.windowOf(dialog), control);
  const int low = static_cast<int>(SendMessageW(control, TBM_GETRANGEMIN, 0, 0));
  const int high = static_cast<int>(SendMessageW(control, TBM_GETRANGEMAX, 0, 0));
  const int target = SliderStop(pos, low, high);
  // Right and Down raise a trackbar's position, Left and Up lower it, in either orientation.
  for (int p = static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0)); p != target; p += target > p ? 1 : -1)
    PostKey(control, NativeKey(target > p ? Key::Right : Key::Left));
}

bool SaveWindowBitmap(HWND window, const std::filesystem::path& file) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bitmap);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = w;
  info.biHeight = h;  // bottom-up, as BMP files keep their rows
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (w * 3 + 3) & ~3;
  std::string pixels(static_cast<std::size_t>(stride) * h, '\0');
  GetDIBits(mem, bitmap, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
            DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER head{};
  head.bfType = 0x4D42;  // "BM"
  head.bfOffBits = sizeof head + sizeof info;
  head.bfSize = head.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&head), sizeof head);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

}  // namespace lx::ui::win32
