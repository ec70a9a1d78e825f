#include "ui/win32/script_player.h"

#include <commctrl.h>

#include <cmath>
#include <fstream>

namespace lx::ui::win32 {

namespace {

constexpr UINT kTickMs = 30;
constexpr int kFileDialogTicks = 200;   // a file dialog must open within about 6 s
constexpr int kMaxTicks = 4000;         // a stuck session ends after about 2 minutes
constexpr int kFileNameBox = 0x47C;     // cmb13 of the common file dialogs
constexpr int kOldFileNameBox = 0x480;  // edt1
constexpr int kMessageText = 0xFFFF;    // a message box's text

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

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
        if (!IsWindowVisible(hwnd) || ClassOf(hwnd) != L"#32770") return TRUE;
        if (GetDlgItem(hwnd, kFileNameBox) || GetDlgItem(hwnd, kOldFileNameBox))
          s.found.fileDialog = hwnd;
        else if (GetDlgItem(hwnd, kMessageText) && GetDlgItem(hwnd, IDOK))
          s.found.messageBox = hwnd;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  // The tool's own dialogs are never taken for either.
  if (Dialog* d = host.top(); d && host.windowOf(*d) == search.found.messageBox)
    search.found.messageBox = nullptr;
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

}  // namespace

ScriptPlayer::ScriptPlayer(Win32Host& host, std::vector<Action> actions, std::filesystem::path fileBase)
    : host_(host), actions_(std::move(actions)), fileBase_(std::move(fileBase)) {}

ScriptPlayer::~ScriptPlayer() {
  if (timerWindow_) DestroyWindow(timerWindow_);
}

void ScriptPlayer::Start() {
  // A message-only window whose timer fires in every modal loop of the thread; timer
  // messages come only once everything posted before has been handled and painted.
  WNDCLASSW wc{};
  wc.lpfnWndProc = &ScriptPlayer::TimerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"LxScriptPlayer";
  RegisterClassW(&wc);
  timerWindow_ =
      CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(timerWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetTimer(timerWindow_, 1, kTickMs, nullptr);
}

LRESULT CALLBACK ScriptPlayer::TimerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER)
    if (auto* player = reinterpret_cast<ScriptPlayer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
      player->Tick();
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void ScriptPlayer::Log(const std::string& line) {
  if (trace) trace(line);
}

void ScriptPlayer::Fail(const Action& action, const std::string& what) {
  ++errors_;
  Log("error: line " + std::to_string(action.line) + ": " + what);
}

void ScriptPlayer::Tick() {
  if (busy_) return;
  busy_ = true;
  if (++ticks_ > kMaxTicks) {
    Log("error: the session did not end");
    ++errors_;
    ExitProcess(3);
  }
  if (!AnswerForeignWindows()) {
    Dialog* top = host_.top();
    if (top && top != top_) {
      top_ = top;
      Log("open " + std::to_string(top->templateId()) + " \"" + top->tpl().caption + "\"");
    }
    if (!top) {
      top_ = nullptr;
    } else if (!IsWindowVisible(host_.windowOf(*top))) {
      // Not shown yet: the user sees nothing to act on.
    } else if (next_ < actions_.size()) {
      const Action& a = actions_[next_];
      if (a.verb == Verb::File || a.verb == Verb::CancelFile) {
        if (++waited_ > kFileDialogTicks) {
          Fail(a, "a file answer that no file dialog asked for");
          ++next_;
          waited_ = 0;
        }
      } else {
        ++next_;
        if (beforeAction) beforeAction(*top, host_.windowOf(*top));
        Apply(a, *top);
      }
    } else {
      // The script has ended: the windows still open are closed as with their close box.
      PostMessageW(host_.windowOf(*top), WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  }
  busy_ = false;
}

bool ScriptPlayer::AnswerForeignWindows() {
  const Foreign f = FindForeign(host_);
  if (f.messageBox) {
    Log("message [" + Utf8(TextOf(f.messageBox)) + "] \"" +
        Utf8(TextOf(GetDlgItem(f.messageBox, kMessageText))) + "\"");
    PostMessageW(f.messageBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(f.messageBox, IDOK)));
    return true;
  }
  if (!f.fileDialog) return false;
  waited_ = 0;
  const bool answer = next_ < actions_.size() &&
                      (actions_[next_].verb == Verb::File || actions_[next_].verb == Verb::CancelFile);
  if (!answer) {
    ++errors_;
    Log("error: a file dialog without an answer");
    PostMessageW(f.fileDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return true;
  }
  const Action& a = actions_[next_++];
  if (a.verb == Verb::CancelFile) {
    Log("file dialog \"" + Utf8(TextOf(f.fileDialog)) + "\" -> cancel");
    PostMessageW(f.fileDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(f.fileDialog, IDCANCEL)));
    return true;
  }
  // A relative name is taken from the working folder, as the user's folder of the session.
  std::filesystem::path path = std::filesystem::path(Wide(a.text));
  if (path.is_relative()) path = fileBase_ / path;
  path.make_preferred();
  Log("file dialog \"" + Utf8(TextOf(f.fileDialog)) + "\" -> \"" + a.text + "\"");
  HWND box = GetDlgItem(f.fileDialog, kFileNameBox);
  if (!box) box = GetDlgItem(f.fileDialog, kOldFileNameBox);
  SetWindowTextW(box, path.wstring().c_str());
  PostMessageW(f.fileDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(f.fileDialog, IDOK)));
  return true;
}

void ScriptPlayer::Click(HWND control) {
  // The mouse reaches only what can be seen and is enabled.
  if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return;
  HWND target = InputWindow(control);
  RECT r;
  GetClientRect(target, &r);
  const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
  PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(target, WM_LBUTTONUP, 0, at);
}

void ScriptPlayer::Drag(HWND slider, int pos, const ControlState& state) {
  if (!IsWindowVisible(slider) || !IsWindowEnabled(slider)) return;
  RECT thumb{}, channel{};
  SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
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
  const int range = std::max(1, state.rangeMax - state.rangeMin);
  const int place = lo + half + static_cast<int>(std::lround((pos - state.rangeMin) * width / range));
  const POINT to = vertical ? POINT{grab.x, place} : POINT{place, grab.y};
  PostMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
  if (pos != state.pos) PostMessageW(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  PostMessageW(slider, WM_LBUTTONUP, 0,
               MAKELPARAM(pos != state.pos ? to.x : grab.x, pos != state.pos ? to.y : grab.y));
}

void ScriptPlayer::Apply(const Action& a, Dialog& dialog) {
  HWND window = host_.windowOf(dialog);
  const bool needsControl = a.verb == Verb::Click || a.verb == Verb::Select || a.verb == Verb::Pick ||
                            a.verb == Verb::Type || a.verb == Verb::Focus || a.verb == Verb::Drag ||
                            a.verb == Verb::Key;
  HWND control = needsControl ? host_.controlOf(dialog, a.id) : nullptr;
  const ControlState* state = needsControl ? dialog.find(a.id) : nullptr;
  if (needsControl && (!control || !state)) {
    Fail(a, "no control " + std::to_string(a.id) + " in window " + std::to_string(dialog.templateId()));
    return;
  }
  switch (a.verb) {
    case Verb::Click:
      Click(control);
      break;
    case Verb::Command:
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(a.id, 0), 0);
      break;
    case Verb::SysCommand:
      PostMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(a.value), 0);
      break;
    case Verb::Select:
    case Verb::Pick: {
      int index = a.value;
      if (a.verb == Verb::Pick) {
        index = static_cast<int>(SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(Wide(a.text).c_str())));
        if (index < 0) {
          Fail(a, "no item \"" + a.text + "\"");
          return;
        }
      }
      if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return;
      // Into the box, then the item taken from the list, which reports CBN_SELCHANGE.
      Click(control);
      PostMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(control));
      break;
    }
    case Verb::Type: {
      if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return;
      HWND box = InputWindow(control);
      Click(control);
      PostMessageW(box, EM_SETSEL, 0, -1);
      PostMessageW(box, WM_CHAR, VK_BACK, 1);  // clear the selection: an empty text stays empty
      for (wchar_t c : Wide(a.text)) PostMessageW(box, WM_CHAR, c, 1);
      break;
    }
    case Verb::Focus:
      PostMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
      break;
    case Verb::Tab:
      PostKey(KeyTarget(window), VK_TAB);
      break;
    case Verb::BackTab:
      PostMessageW(window, WM_NEXTDLGCTL, 1, FALSE);
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
      Drag(control, a.value, *state);
      break;
    case Verb::Key: {
      if (!IsWindowVisible(control) || !IsWindowEnabled(control)) return;
      PostMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
      const int target = std::clamp(a.value, state->rangeMin, std::max(state->rangeMin, state->rangeMax));
      for (int p = state->pos; p != target; p += target > p ? 1 : -1)
        PostKey(control, target > p ? VK_RIGHT : VK_LEFT);
      break;
    }
    case Verb::Show:
      Log("show " + std::to_string(dialog.templateId()));
      for (const Snapshot& s : TakeSnapshot(dialog)) Log("  | " + Describe(s));
      break;
    case Verb::File:
    case Verb::CancelFile:
      break;  // answered when the file dialog shows
    case Verb::Call:
      Fail(a, "calls run only on the headless host");
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
