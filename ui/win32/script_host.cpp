#include "ui/win32/script_host.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "core/path_text.h"

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

std::string TextOf(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

bool NeedsControl(Verb v) {
  return v == Verb::Click || v == Verb::Select || v == Verb::Pick || v == Verb::Type || v == Verb::Focus ||
         v == Verb::Drag || v == Verb::Key;
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

void PostKey(HWND target, UINT key) {
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
  if (key == VK_RETURN) PostMessageW(target, WM_CHAR, L'\r', 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
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
    : host_(resources, std::move(appName)), fileBase_(std::filesystem::current_path()) {
  host_.onCreated = [this](Dialog& d, HWND hwnd) { Record(OpenLine(d.templateId(), TextOf(hwnd))); };
  host_.onClosed = [this](Dialog& d, const std::string& caption) {
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

void Win32ScriptHost::QueueScript(std::string_view script) {
  std::vector<std::string> errors;
  for (Action& a : ParseScript(script, &errors)) queue_.push_back(std::move(a));
  for (const std::string& e : errors) {
    ++errors_;
    Record("error: " + e);
  }
}

void Win32ScriptHost::Record(const std::string& line) {
  lastProgress_ = GetTickCount64();
  if (trace) trace(line);
}

void Win32ScriptHost::Error(int line, const std::string& what) {
  ++errors_;
  Record(ErrorLine(line, what));
}

std::vector<Snapshot> Win32ScriptHost::TakeSnapshot(const Dialog& dialog) const {
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
        case Kind::ComboBox:
          s.curSel = static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0));
          s.text = TextOf(w);
          break;
        case Kind::RadioButton:
        case Kind::CheckBox:
          s.checked = SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
          s.text = TextOf(w);
          break;
        default:
          s.text = TextOf(w);
          break;
      }
    }
    out.push_back(std::move(s));
  }
  return out;
}

// ---- The ticks --------------------------------------------------------------------------------

void Win32ScriptHost::Tick() {
  if (busy_) return;
  busy_ = true;
  if (GetTickCount64() - lastProgress_ > kStuckMs) {
    ++errors_;
    Record("error: the session stopped moving; ended");
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
  if (queue_.empty()) {
    // The script has ended: the windows still open are closed as with their close box.
    Record(NoMoreActionsLine(TextOf(window)));
    closing_ = &top;
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  Action next = std::move(queue_.front());
  queue_.pop_front();
  if (beforeAction) beforeAction(top, window);
  Apply(next, top);
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
  Record(MessageLine(TextOf(box), TextOf(GetDlgItem(box, kMessageText)), owner ? TextOf(owner) : std::string()));
  if (d)
    for (const Snapshot& s : TakeSnapshot(*d)) Record(ControlLine(s));
  PressButton(box, IDOK);
}

void Win32ScriptHost::AnswerFile(HWND dialog) {
  if (dialog == answeredFileDialog_) {
    // Still open after its answer: the name was a folder, which the dialog opened instead.
    answeredFileDialog_ = nullptr;
    Error(answeredLine_, FolderAnswerError(answeredHead_));
    if (!fileDialogs_.empty()) fileDialogs_.back().answer.reset();
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
  const std::string head = FileDialogLine(shown.save, shown.proposedName, shown.filter, Utf8(folder));
  FileDialogRecord rec{shown, std::nullopt};
  if (queue_.empty() || (queue_.front().verb != Verb::File && queue_.front().verb != Verb::CancelFile)) {
    Error(queue_.empty() ? 0 : queue_.front().line, NotAnAnswerError(head));
    fileDialogs_.push_back(rec);
    PressButton(dialog, IDCANCEL);
    return;
  }
  const Action answer = std::move(queue_.front());
  queue_.pop_front();
  if (answer.verb == Verb::CancelFile) {
    Record(FileAnswerLine(head, nullptr));
    fileDialogs_.push_back(rec);
    PressButton(dialog, IDCANCEL);
    return;
  }
  // A relative name is taken from the working folder, as the user's folder of the session.
  std::filesystem::path path = PathFromUtf8(answer.text);
  if (path.is_relative()) path = fileBase_ / path;
  rec.answer = Utf8FromPath(path.lexically_normal());
  Record(FileAnswerLine(head, &*rec.answer));
  fileDialogs_.push_back(rec);
  // Typed into the name box, then OK.
  SetWindowTextW(nameBox, Wide(*rec.answer).c_str());
  PressButton(dialog, IDOK);
  answeredFileDialog_ = dialog;
  answeredHead_ = head;
  answeredLine_ = answer.line;
}

// ---- Real input -------------------------------------------------------------------------------

void Win32ScriptHost::Click(HWND control) {
  // The mouse reaches only what can be seen and is enabled.
  if (!Reachable(control)) return;
  HWND target = InputWindow(control);
  RECT r;
  GetClientRect(target, &r);
  const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(target, WM_LBUTTONUP, 0, at);
}

void Win32ScriptHost::Drag(HWND slider, int pos) {
  if (!Reachable(slider)) return;
  RECT thumb{}, channel{};
  SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  const int now = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
  const int low = static_cast<int>(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0));
  const int high = static_cast<int>(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0));
  pos = std::clamp(pos, low, std::max(low, high));
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

void Win32ScriptHost::Apply(const Action& a, Dialog& dialog) {
  HWND window = host_.windowOf(dialog);
  if (a.verb == Verb::Call) {
    Error(a.line, "function calls run on the headless host only");
    return;
  }
  if (a.verb == Verb::File || a.verb == Verb::CancelFile) {
    Error(a.line, script_error::kNoFileDialog);
    return;
  }
  HWND control = NeedsControl(a.verb) ? host_.controlOf(dialog, a.id) : nullptr;
  if (NeedsControl(a.verb) && (!control || !dialog.find(a.id))) {
    Error(a.line, script_error::NoControl(a.id, dialog.tpl().caption));
    return;
  }
  switch (a.verb) {
    case Verb::Click:
      if (dialog.at(a.id).kind() == Kind::Slider) {
        // A press on a slider moves or releases its thumb: a plain click only takes the focus.
        if (Reachable(control)) PostMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
      } else {
        Click(control);
      }
      break;
    case Verb::Command:
      if (MenuHas(GetMenu(window), a.id))
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(a.id, 0), 0);
      else
        Error(a.line, script_error::NoMenuCommand(a.id, dialog.tpl().caption));
      break;
    case Verb::SysCommand:
      if (a.value == SC_CLOSE || MenuHas(GetSystemMenu(window, FALSE), a.value))
        PostMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(a.value), 0);
      else
        Error(a.line, script_error::NoSystemMenuEntry(a.value));
      break;
    case Verb::Select:
    case Verb::Pick: {
      const int index = a.verb == Verb::Pick ? FindItem(control, a.text) : a.value;
      if (a.verb == Verb::Pick && index < 0) {
        Error(a.line, script_error::NoListItem(a.text, a.id));
        break;
      }
      const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
      if (!Reachable(control) || index < 0 || index >= count) break;
      // Into the box, then the item taken from the list, which reports CBN_SELCHANGE.
      Click(control);
      PostMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(control));
      break;
    }
    case Verb::Type: {
      if (!Reachable(control)) break;
      HWND box = InputWindow(control);
      Click(control);
      PostMessageW(box, EM_SETSEL, 0, -1);
      PostMessageW(box, WM_CHAR, VK_BACK, 1);  // clears the selection: an empty text stays empty
      for (wchar_t c : Wide(a.text)) PostMessageW(box, WM_CHAR, c, 1);
      break;
    }
    case Verb::Focus:
      if (Reachable(control)) PostMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
      break;
    case Verb::Tab:
      PostKey(KeyTarget(window), VK_TAB);
      break;
    case Verb::BackTab:
      PostMessageW(window, WM_NEXTDLGCTL, 1, FALSE);  // what Shift+Tab does in a dialog
      break;
    case Verb::Enter:
      PostKey(KeyTarget(window), VK_RETURN);
      break;
    case Verb::Escape:
      PostKey(KeyTarget(window), VK_ESCAPE);
      break;
    case Verb::Close:
      PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case Verb::Drag:
      Drag(control, a.value);
      break;
    case Verb::Key: {
      if (!Reachable(control)) break;
      PostMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
      const int low = static_cast<int>(SendMessageW(control, TBM_GETRANGEMIN, 0, 0));
      const int high = static_cast<int>(SendMessageW(control, TBM_GETRANGEMAX, 0, 0));
      const int target = std::clamp(a.value, low, std::max(low, high));
      // Right and Down raise a trackbar's position, Left and Up lower it, in either orientation.
      for (int p = static_cast<int>(SendMessageW(control, TBM_GETPOS, 0, 0)); p != target;
           p += target > p ? 1 : -1)
        PostKey(control, target > p ? VK_RIGHT : VK_LEFT);
      break;
    }
    case Verb::Show:
      Record(WindowLine(dialog.templateId(), TextOf(window)));
      for (const Snapshot& s : TakeSnapshot(dialog)) Record(ControlLine(s));
      break;
    default:
      break;
  }
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
