#include "ui/win32/dialog_template.h"

#include <commctrl.h>

#include <string>

#include "ui/win32/text.h"

namespace lx::ui::win32 {

namespace {

constexpr int kFirstPrivateId = 0xE000;  // native ids of the controls that share kStaticId

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

// The predefined window class of a control, by its atom (a slider's class has none).
WORD ClassAtom(Kind kind) {
  if (kind == Kind::Edit) return kEditAtom;
  if (kind == Kind::ComboBox) return kComboAtom;
  if (kind == Kind::Label || kind == Kind::Icon || kind == Kind::Plot) return kStaticAtom;
  return kButtonAtom;
}

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

}  // namespace

int NativeId(const ControlTemplate& control, int index) {
  return control.id == kStaticId ? kFirstPrivateId + index : control.id;
}

int IndexOfNative(const Dialog& dialog, int nativeId) {
  const auto& controls = dialog.controls();
  for (std::size_t i = 0; i < controls.size(); ++i)
    if (NativeId(*controls[i].tpl, static_cast<int>(i)) == nativeId) return static_cast<int>(i);
  return -1;
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
    if (c.kind == Kind::Slider)
      w.Text(TRACKBAR_CLASSW);
    else
      w.Ordinal(ClassAtom(c.kind));
    w.Text(c.kind == Kind::Icon ? std::wstring() : Wide(c.text ? c.text : ""));
    w.Word(0);  // no creation data
  }
  return w.take();
}

}  // namespace lx::ui::win32
