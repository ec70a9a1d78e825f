#pragma once
// The dialog base class: a window built from a template, a message map binding (control id,
// notification) to handlers, a data exchange binding controls to members, and the input entry
// points through which a host reports what the user did. The dialog keeps the state of its
// controls itself; hosts only mirror it, so the same dialog runs on every host.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/plot.h"
#include "ui/host.h"
#include "ui/template.h"

namespace lx::ui {

// Where a slider stops when asked for `pos`: inside its range, and at `low` when the range is empty
// or reversed, as a native trackbar does. Every host and the model clamp through this one rule.
inline int SliderStop(int pos, int low, int high) { return std::clamp(pos, low, std::max(low, high)); }

enum class Notify : uint8_t {
  Clicked,          // BN_CLICKED, and menu commands
  SelChange,        // CBN_SELCHANGE
  KillFocus,        // EN_KILLFOCUS
  CustomDraw,       // NM_CUSTOMDRAW: a slider repainted
  ReleasedCapture,  // NM_RELEASEDCAPTURE: a slider's thumb released after a mouse drag or click
};
inline constexpr Notify kCommand = Notify::Clicked;

// A system command's low four bits are the system's own: compare commands through this mask.
inline constexpr int kSysCommandMask = 0xFFF0;

// The state of one control while its window exists.
struct ControlState {
  const ControlTemplate* tpl = nullptr;
  std::string text;
  bool enabled = true;
  bool visible = true;
  bool checked = false;
  std::vector<std::string> items;  // combo box
  int curSel = -1;
  bool dropped = false;          // combo box: its list is open
  int selStart = 0, selEnd = 0;  // edit box and list text: the selection, the caret at selEnd
  int rangeMin = 0, rangeMax = 100, pageSize = 0, pos = 0;  // slider; page size 0: not set
  int pictureNormal = 0, picturePressed = 0;  // picture button faces; sized to the normal face
  std::shared_ptr<const plot::Plot> plot;     // a plot control's items; none: an empty canvas

  int id() const { return tpl->id; }
  Kind kind() const { return tpl->kind; }
  bool isButton() const { return kind() == Kind::PushButton || kind() == Kind::PictureButton; }
  bool usable() const { return enabled && visible; }  // takes the user's input
  bool takesFocusOnClick() const;
  bool hasText() const { return kind() == Kind::Edit || kind() == Kind::ComboBox; }
  bool allSelected() const { return selStart == 0 && selEnd == static_cast<int>(text.size()); }
  // A slider's page: the one set, else a fifth of the range and at least one position.
  int page() const { return pageSize > 0 ? pageSize : std::max(1, (rangeMax - rangeMin) / 5); }
};

class Dialog;

// A handle on one control of an open dialog (the members that the data exchange binds).
class Control {
 public:
  Control() = default;
  Control(Dialog* dialog, int id) : dialog_(dialog), id_(id) {}
  int id() const { return id_; }

  void EnableWindow(bool enable = true);
  bool IsWindowEnabled() const;

 protected:
  ControlState& state() const;
  void ReportChange(Change what) const;
  Dialog* dialog_ = nullptr;
  int id_ = 0;
};

class ComboBox : public Control {
 public:
  using Control::Control;
  int AddString(const std::string& text);  // returns the new item's index
  int GetCurSel() const;  // -1: no selection
  int SetCurSel(int index);  // -1 clears; returns -1 when out of range
};

class SliderCtrl : public Control {
 public:
  using Control::Control;
  void SetRange(int min, int max, bool redraw = false);
  void SetPos(int pos);  // clamped into the range; repaints
  int GetPos() const;
  void SetPageSize(int size);
};

class DataExchange;

class Dialog {
 public:
  Dialog(Host& host, int templateId);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog modally; returns the value given to EndDialog (kIdOk, kIdCancel, ...).
  int DoModal();
  void EndDialog(int result);

  // The data exchange: false when a box was refused (its message shown, the focus put on it).
  bool UpdateData(bool saveAndValidate = true);

  Host& host() const { return host_; }
  const DialogTemplate& tpl() const { return *tpl_; }
  int templateId() const { return tpl_->id; }

  // Controls of the open window.
  bool isOpen() const { return open_; }
  bool ended() const { return ended_; }
  int result() const { return result_; }
  std::vector<ControlState>& controls() { return controls_; }
  const std::vector<ControlState>& controls() const { return controls_; }
  ControlState* find(int id);
  const ControlState* find(int id) const;
  ControlState& at(int id);  // throws std::out_of_range for an unknown id
  int indexOf(int id) const;
  int focusId() const { return focus_ >= 0 ? controls_[focus_].id() : 0; }
  // The group of the control at `index`, the indexes of its first and last control: from the
  // control with kGroup at or before it to the one before the next. Radio buttons check one
  // another and the arrows move the focus within it.
  struct Span {
    int first, last;
  };
  Span groupOf(int index) const;
  bool hasFocusControl() const { return focus_ >= 0; }

  Control GetDlgItem(int id) { return Control(this, id); }
  void SetDlgItemText(int id, const std::string& text);
  std::string GetDlgItemText(int id) const;
  void CheckDlgButton(int id, bool checked);
  bool IsDlgButtonChecked(int id) const;
  void EnableDlgItems(std::span<const int> ids, bool enable);  // the controls a switch gates
  void GotoDlgCtrl(int id);
  void MessageBox(const std::string& text);
  void CopyToClipboard(const std::string& text) { host_.CopyText(*this, text); }
  std::optional<std::string> AskFile(const FileRequest& request);
  void SetMenu(int menuId);
  int menuId() const { return menuId_; }
  // The menu bar's keyboard mode: the highlighted title (-1: not in the mode) and, in its open
  // menu, the highlighted item (-1: the menu closed).
  int menuTitle() const { return menuTitle_; }
  int menuItem() const { return menuItem_; }
  std::vector<std::string> menuTitles() const;
  std::vector<const MenuItemTemplate*> menuEntries(int title) const;
  void AttachPictureButton(int id, int normalPicture, int pressedPicture);
  void SetPlot(int id, plot::Plot plot);  // what a plot control draws; it repaints
  bool AppendSystemMenu(int command, const std::string& text) {
    return host_.AppendSystemMenu(*this, command, text);
  }
  void ReportChange(int index, Change what);

  // Overridables.
  virtual bool OnInitDialog();  // base: data exchange to the controls; true: focus the first tab stop
  virtual void OnOK();          // base: data exchange from the controls, then EndDialog(kIdOk)
  virtual void OnCancel();      // base: EndDialog(kIdCancel)
  virtual void DoDataExchange(DataExchange&) {}
  virtual void OnSysCommand(int) {}
  virtual void OnDropFile(const std::string& /*path*/) {}  // windows whose template accepts files
  struct TextColour {
    uint8_t r, g, b;
    bool transparent;
  };
  virtual std::optional<TextColour> OnCtlColor(int /*id*/) const { return std::nullopt; }
  struct Background {
    int picture = 0;     // stretched from the top-left corner
    int width = 0, height = 0;  // pixels
  };
  virtual Background OnPaintBackground() const { return {}; }

  // Sends a notification through the message map; ids 1 and 2 fall back to OnOK / OnCancel.
  bool Dispatch(int id, Notify code);

  // Input from the host: what the user did. Each applies the platform's rules (focus moves
  // first, disabled controls ignore the mouse, automatic radios and check boxes flip).
  void BeginWindow();  // builds the control states from the template
  void InitWindow();   // OnInitDialog and the initial focus
  void EndWindow();
  void UserClick(int id);
  void UserMenuCommand(int command);
  void UserSysCommand(int command);
  void UserSelect(int id, int index);
  void UserType(int id, const std::string& text);  // replaces the box's text; the focus stays
  void UserEdited(int id, const std::string& text);  // text already changed in a host's widget
  // The keyboard's moves (Tab, arrows, the program's) select a box's whole text; a click
  // leaves the caret after the text.
  enum class FocusBy : uint8_t { Keyboard, Mouse };
  void UserFocus(int id, FocusBy by = FocusBy::Mouse);  // moves the focus (0: none)
  void UserTab(bool backwards = false);
  void UserEnter();
  void UserEscape();
  void UserClose();
  void UserDrop(const std::string& path);  // a file dropped on the window
  // A key on the focused control, as the platform's controls and dialog navigation take it.
  void UserKey(Key key, const std::string& character = {});
  // A list's arrow clicked (drop: open or close it), or the host's list opened or closed.
  void UserDropList(int id, bool drop);
  void UserSlide(int id, int pos);  // keyboard or mouse move of the thumb
  void UserReleaseSlider(int id);   // end of a mouse drag or click
  void Paint(int id);               // the host repainted a slider

 protected:
  // Message map entries, registered in the constructor of a derived dialog.
  void On(int id, Notify code, std::function<void()> handler);
  template <class D>
  void On(int id, Notify code, void (D::*handler)()) {
    D* self = static_cast<D*>(this);
    On(id, code, [self, handler] { (self->*handler)(); });
  }

 private:
  friend class Control;
  friend class DataExchange;
  struct Entry {
    int id;
    Notify code;
    std::function<void()> handler;
  };
  void MoveFocus(int index, FocusBy by = FocusBy::Keyboard);
  // Typed text: the box's new text and caret; a list's typed text selects nothing and no
  // notification tells of it. `mirror`: the host's widget is to show it (it did not make it).
  void TakeTyped(int index, std::string text, int caret, bool mirror);
  // A list item chosen by the user: shown whole and selected, and notified.
  void ChooseItem(int index, int item);
  bool CloseDroppedList();       // true when a list was open
  bool ClickClosesList(int id);  // a click beside an open list closes it, and goes no further
  void LeaveMenu();
  void Cancel();
  // The keyboard model (keyboard.cpp).
  void EditKey(int index, Key key, const std::string& character);
  void ListKey(int index, Key key, const std::string& character);
  void OpenListKey(int index, Key key, const std::string& character);
  void MoveListSelection(int index, int to);  // chooses `to` unless it is none or chosen already
  bool MenuKey(Key key);  // the menu bar's keyboard mode; true when the key was the mode's
  void GroupKey(int index, bool backwards);
  int nextInGroup(int index, bool backwards) const;

  Host& host_;
  const DialogTemplate* tpl_;
  std::vector<Entry> map_;
  std::vector<ControlState> controls_;
  int focus_ = -1;
  int menuId_ = 0;
  int menuTitle_ = -1, menuItem_ = -1;
  int messageCount_ = 0;  // message boxes shown so far; a click during which one appears is lost
  bool open_ = false;
  bool ended_ = false;
  int result_ = 0;
};

// The data exchange of one UpdateData call. A refusal shows the standard message, puts the
// focus on the refused box and stops the exchange.
class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool saveAndValidate) : dialog(dialog), saving(saveAndValidate) {}
  Dialog& dialog;
  const bool saving;
  int lastId = 0;  // the box the last exchange handled; range checks refer to it
  [[noreturn]] void Fail(const std::string& message);
};

// Raised by DataExchange::Fail; UpdateData catches it.
struct ExchangeRefused {
  int id;
};

// Exchange helpers, one per kind of binding.
void DdxRadio(DataExchange& dx, int firstId, int& index);  // -1: none checked
void DdxCheck(DataExchange& dx, int id, int& checked);
void DdxText(DataExchange& dx, int id, int32_t& value);
void DdxText(DataExchange& dx, int id, uint32_t& value);
void DdxText(DataExchange& dx, int id, float& value);
void DdxText(DataExchange& dx, int id, std::string& value);
void DdvMinMax(DataExchange& dx, int32_t value, int32_t min, int32_t max);
void DdvMinMax(DataExchange& dx, uint32_t value, uint32_t min, uint32_t max);

// Texts the exchange uses; pure so that they are tested without a window.
std::optional<int32_t> ParseInt(const std::string& text);
std::optional<uint32_t> ParseUInt(const std::string& text);
std::optional<float> ParseFloat(const std::string& text);
std::string FormatFloat(float value);  // six significant digits
// What a plot control draws, a line per item (core/plot.h), as transcripts show it.
std::string PlotText(const ControlState& control);

namespace msg {
inline constexpr const char* kNotInteger = "请输入一个整数。";
inline constexpr const char* kNotUnsigned = "请输入一个正整数。";
inline constexpr const char* kNotNumber = "请输入一个数字。";
inline constexpr const char* kOutOfRange = "请输入一个介于 {} 和 {} 之间的整数。";  // min, max
std::string OutOfRange(long long min, long long max);                               // kOutOfRange completed
}  // namespace msg

}  // namespace lx::ui
