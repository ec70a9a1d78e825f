#include "ui/dialog.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "ui/file_filter.h"

namespace lx::ui {

bool ControlState::takesFocusOnClick() const {
  switch (kind()) {
    case Kind::GroupBox:
    case Kind::Label:
    case Kind::Icon:
    case Kind::Plot:
      return false;
    default:
      return true;
  }
}

// ---- Control handles ------------------------------------------------------------------------

ControlState& Control::state() const {
  if (!dialog_) throw std::logic_error("control handle not attached");
  return dialog_->at(id_);
}

void Control::ReportChange(Change what) const { dialog_->ReportChange(dialog_->indexOf(id_), what); }

void Control::EnableWindow(bool enable) {
  ControlState& s = state();
  if (s.enabled == enable) return;
  s.enabled = enable;
  ReportChange(Change::Enabled);
  if (s.kind() == Kind::Slider) ReportChange(Change::Redraw);
}

bool Control::IsWindowEnabled() const { return state().enabled; }

int ComboBox::AddString(const std::string& text) {
  ControlState& s = state();
  s.items.push_back(text);
  ReportChange(Change::Items);
  return static_cast<int>(s.items.size()) - 1;
}

int ComboBox::GetCurSel() const { return state().curSel; }

int ComboBox::SetCurSel(int index) {
  ControlState& s = state();
  bool valid = index >= 0 && index < static_cast<int>(s.items.size());
  s.curSel = valid ? index : -1;
  s.text = valid ? s.items[index] : std::string();
  // A list's field shows the chosen item whole, selected while the list has the focus.
  bool focused = dialog_->focusId() == id_;
  s.selStart = 0;
  s.selEnd = focused ? static_cast<int>(s.text.size()) : 0;
  ReportChange(Change::Selection);
  return s.curSel;
}

void SliderCtrl::SetRange(int min, int max, bool redraw) {
  ControlState& s = state();
  s.rangeMin = min;
  s.rangeMax = max;
  s.pos = SliderStop(s.pos, min, max);
  ReportChange(Change::Range);
  if (redraw) ReportChange(Change::Redraw);
}

void SliderCtrl::SetPos(int pos) {
  ControlState& s = state();
  s.pos = SliderStop(pos, s.rangeMin, s.rangeMax);
  ReportChange(Change::Position);
  ReportChange(Change::Redraw);
}

int SliderCtrl::GetPos() const { return state().pos; }

void SliderCtrl::SetPageSize(int size) {
  state().pageSize = size;
  ReportChange(Change::Range);
}

// ---- Dialog ---------------------------------------------------------------------------------

Dialog::Dialog(Host& host, int templateId) : host_(host), tpl_(host.resources().dialog(templateId)) {
  if (!tpl_) throw std::invalid_argument("no dialog template " + std::to_string(templateId));
}

Dialog::~Dialog() {
  if (open_) host_.Forget(*this);
}

int Dialog::DoModal() { return host_.RunModal(*this); }

void Dialog::EndDialog(int result) {
  if (ended_) return;
  ended_ = true;
  result_ = result;
  host_.ModalEnded(*this);
}

bool Dialog::UpdateData(bool saveAndValidate) {
  DataExchange dx(*this, saveAndValidate);
  try {
    DoDataExchange(dx);
  } catch (const ExchangeRefused&) {
    return false;
  }
  return true;
}

ControlState* Dialog::find(int id) {
  int i = indexOf(id);
  return i >= 0 ? &controls_[i] : nullptr;
}

const ControlState* Dialog::find(int id) const {
  int i = indexOf(id);
  return i >= 0 ? &controls_[i] : nullptr;
}

ControlState& Dialog::at(int id) {
  ControlState* c = find(id);
  if (!c) throw std::out_of_range("no control " + std::to_string(id) + " in dialog " + std::to_string(templateId()));
  return *c;
}

int Dialog::indexOf(int id) const {
  if (id == kStaticId) return -1;
  for (size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i].id() == id) return static_cast<int>(i);
  return -1;
}

void Dialog::ReportChange(int index, Change what) {
  if (open_ && index >= 0) host_.ControlChanged(*this, index, what);
}

void Dialog::SetDlgItemText(int id, const std::string& text) {
  ControlState& c = at(id);
  if (c.text != text) c.selStart = c.selEnd = 0;  // a new text puts the caret before it
  c.text = text;
  ReportChange(indexOf(id), Change::Text);
}

std::string Dialog::GetDlgItemText(int id) const {
  const ControlState* c = find(id);
  return c ? c->text : std::string();
}

void Dialog::CheckDlgButton(int id, bool checked) {
  ControlState& c = at(id);
  if (c.checked == checked) return;
  c.checked = checked;
  ReportChange(indexOf(id), Change::Check);
}

bool Dialog::IsDlgButtonChecked(int id) const {
  const ControlState* c = find(id);
  return c && c->checked;
}

void Dialog::EnableDlgItems(std::span<const int> ids, bool enable) {
  for (int id : ids) GetDlgItem(id).EnableWindow(enable);
}

void Dialog::GotoDlgCtrl(int id) { MoveFocus(indexOf(id)); }

void Dialog::MessageBox(const std::string& text) {
  ++messageCount_;
  host_.ShowMessage(*this, text);
}

std::optional<std::string> Dialog::AskFile(const FileRequest& request) {
  std::optional<std::string> path = host_.AskFile(*this, request);
  if (path) *path = WithDefaultExtension(*path, request.defaultExt, request.save);
  return path;
}

void Dialog::SetMenu(int menuId) {
  menuId_ = menuId;
  if (open_) host_.MenuChanged(*this);
}

void Dialog::SetPlot(int id, plot::Plot plot) {
  at(id).plot = std::make_shared<const plot::Plot>(std::move(plot));
  ReportChange(indexOf(id), Change::Redraw);
}

std::string PlotText(const ControlState& control) {
  if (!control.plot) return {};
  std::string text;
  for (const std::string& line : plot::Listing(*control.plot)) text += line + '\n';
  return text;
}

void Dialog::AttachPictureButton(int id, int normalPicture, int pressedPicture) {
  ControlState& c = at(id);
  c.pictureNormal = normalPicture;
  c.picturePressed = pressedPicture;
  ReportChange(indexOf(id), Change::Picture);
}

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(kIdOk);
}

void Dialog::OnCancel() { EndDialog(kIdCancel); }

void Dialog::On(int id, Notify code, std::function<void()> handler) {
  map_.push_back({id, code, std::move(handler)});
}

bool Dialog::Dispatch(int id, Notify code) {
  for (const Entry& e : map_) {
    if (e.id == id && e.code == code) {
      e.handler();
      return true;
    }
  }
  if (code == Notify::Clicked && id == kIdOk) {
    OnOK();
    return true;
  }
  if (code == Notify::Clicked && id == kIdCancel) {
    OnCancel();
    return true;
  }
  return false;
}

// ---- Input from the host --------------------------------------------------------------------

void Dialog::BeginWindow() {
  controls_.clear();
  for (const ControlTemplate& t : tpl_->controls) {
    ControlState c;
    c.tpl = &t;
    c.text = t.text ? t.text : "";
    c.enabled = !(t.style & kDisabled);
    c.visible = !(t.style & kHidden);
    controls_.push_back(std::move(c));
  }
  focus_ = -1;
  open_ = true;
  ended_ = false;
  result_ = 0;
}

void Dialog::InitWindow() {
  bool focusFirst = OnInitDialog();
  if (!focusFirst || ended_ || focus_ >= 0) return;
  for (size_t i = 0; i < controls_.size(); ++i) {
    const ControlState& c = controls_[i];
    if ((c.tpl->style & kTabStop) && c.enabled && c.visible) {
      MoveFocus(static_cast<int>(i));
      return;
    }
  }
}

void Dialog::EndWindow() {
  open_ = false;
  menuTitle_ = menuItem_ = -1;
  controls_.clear();
  focus_ = -1;
}

void Dialog::MoveFocus(int index, FocusBy by) {
  if (index == focus_) return;
  int old = focus_;
  if (old >= 0 && controls_[old].dropped) {
    controls_[old].dropped = false;  // an open list closes as the focus leaves it
    ReportChange(old, Change::Dropped);
  }
  focus_ = index;
  // A page of text keeps its caret at the top; a one-line box is selected as the focus comes.
  if (index >= 0 && controls_[index].hasText() && !(controls_[index].tpl->style & kMultiLine)) {
    ControlState& c = controls_[index];
    int end = static_cast<int>(c.text.size());
    c.selStart = by == FocusBy::Keyboard ? 0 : end;
    c.selEnd = end;
  }
  if (index >= 0) ReportChange(index, Change::Focus);
  // The box that lost the focus reports it; its handler may move the focus again.
  if (old >= 0 && old < static_cast<int>(controls_.size()) && controls_[old].kind() == Kind::Edit)
    Dispatch(controls_[old].id(), Notify::KillFocus);
}

namespace {
bool Usable(const ControlState* c) { return c && c->usable(); }
}  // namespace

Dialog::Span Dialog::groupOf(int index) const {
  const int n = static_cast<int>(controls_.size());
  Span span{index, index};
  while (span.first > 0 && !(controls_[span.first].tpl->style & kGroup)) --span.first;
  while (span.last + 1 < n && !(controls_[span.last + 1].tpl->style & kGroup)) ++span.last;
  return span;
}

bool Dialog::CloseDroppedList() {
  for (size_t i = 0; i < controls_.size(); ++i) {
    if (!controls_[i].dropped) continue;
    controls_[i].dropped = false;
    ReportChange(static_cast<int>(i), Change::Dropped);
    return true;
  }
  return false;
}

bool Dialog::ClickClosesList(int id) {
  const ControlState* c = find(id);
  if (c && c->dropped) return false;
  return CloseDroppedList();
}

void Dialog::UserClick(int id) {
  if (!open_ || ended_) return;
  LeaveMenu();
  if (ClickClosesList(id)) return;
  ControlState* c = find(id);
  if (!Usable(c) || !c->takesFocusOnClick()) return;
  int index = indexOf(id);
  if (focus_ != index) {
    // A message box shown while the focus moves (a refused box) swallows the click.
    int before = messageCount_;
    MoveFocus(index, FocusBy::Mouse);
    if (messageCount_ != before || ended_ || !open_) return;
  }
  c = &controls_[index];
  if (c->kind() == Kind::RadioButton) {
    const Span group = groupOf(index);
    for (int i = group.first; i <= group.last; ++i)
      if (controls_[i].kind() == Kind::RadioButton) CheckDlgButton(controls_[i].id(), i == index);
  } else if (c->kind() == Kind::CheckBox) {
    CheckDlgButton(id, !c->checked);
  }
  if (c->kind() == Kind::Edit || c->kind() == Kind::ComboBox || c->kind() == Kind::Slider) return;
  Dispatch(id, Notify::Clicked);
}

void Dialog::UserMenuCommand(int command) {
  if (!open_ || ended_) return;
  LeaveMenu();
  CloseDroppedList();
  Dispatch(command, kCommand);
}

void Dialog::UserSysCommand(int command) {
  if (!open_ || ended_) return;
  OnSysCommand(command);
}

void Dialog::UserSelect(int id, int index) {
  if (!open_ || ended_) return;
  ControlState* c = find(id);
  if (!Usable(c) || c->kind() != Kind::ComboBox) return;
  if (index < 0 || index >= static_cast<int>(c->items.size())) return;
  LeaveMenu();
  if (ClickClosesList(id)) return;
  int i = indexOf(id);
  MoveFocus(i, FocusBy::Mouse);
  if (ended_ || !open_) return;
  ChooseItem(i, index);
}

void Dialog::ChooseItem(int index, int item) {
  ControlState& c = controls_[index];
  c.curSel = item;
  c.text = c.items[item];
  c.selStart = 0;
  c.selEnd = static_cast<int>(c.text.size());
  ReportChange(index, Change::Selection);
  Dispatch(c.id(), Notify::SelChange);
}

void Dialog::UserType(int id, const std::string& text) {
  if (!open_ || ended_) return;
  ControlState* c = find(id);
  if (!Usable(c) || (c->kind() != Kind::Edit && c->kind() != Kind::ComboBox)) return;
  int i = indexOf(id);
  MoveFocus(i, FocusBy::Mouse);
  if (ended_ || !open_) return;
  if (controls_[i].tpl->style & kReadOnly) return;
  TakeTyped(i, text, static_cast<int>(text.size()), true);
}

void Dialog::UserEdited(int id, const std::string& text) {
  const int i = indexOf(id);
  if (i >= 0) TakeTyped(i, text, static_cast<int>(text.size()), false);
}

void Dialog::TakeTyped(int index, std::string text, int caret, bool mirror) {
  ControlState& c = controls_[index];
  c.text = std::move(text);
  c.selStart = c.selEnd = caret;
  if (c.kind() == Kind::ComboBox) c.curSel = -1;
  if (mirror) ReportChange(index, c.kind() == Kind::ComboBox ? Change::Selection : Change::Text);
}

void Dialog::UserFocus(int id, FocusBy by) {
  if (!open_ || ended_) return;
  if (id == 0) {
    MoveFocus(-1);
    return;
  }
  ControlState* c = find(id);
  if (!Usable(c) || !c->takesFocusOnClick()) return;
  MoveFocus(indexOf(id), by);
}

void Dialog::Cancel() {
  const ControlState* cancel = find(kIdCancel);
  if (cancel && !cancel->enabled) return;
  Dispatch(kIdCancel, Notify::Clicked);
}

void Dialog::UserClose() {
  if (!open_ || ended_) return;
  LeaveMenu();
  CloseDroppedList();
  Cancel();
}

void Dialog::UserDrop(const std::string& path) {
  if (open_ && !ended_ && tpl_->acceptFiles) OnDropFile(path);
}

void Dialog::UserDropList(int id, bool drop) {
  if (!open_ || ended_) return;
  ControlState* c = find(id);
  if (!Usable(c) || c->kind() != Kind::ComboBox || c->dropped == drop) return;
  LeaveMenu();
  if (drop) {
    CloseDroppedList();
    const int i = indexOf(id);
    if (focus_ != i) MoveFocus(i, FocusBy::Mouse);
    if (ended_ || !open_ || focus_ != i) return;
    c = &controls_[i];
  }
  c->dropped = drop;
  ReportChange(indexOf(id), Change::Dropped);
}

std::vector<std::string> Dialog::menuTitles() const {
  std::vector<std::string> titles;
  const MenuTemplate* menu = menuId_ ? host_.resources().menu(menuId_) : nullptr;
  if (!menu) return titles;
  for (const MenuItemTemplate& item : menu->items)
    if (std::find(titles.begin(), titles.end(), item.popup) == titles.end()) titles.emplace_back(item.popup);
  return titles;
}

std::vector<const MenuItemTemplate*> Dialog::menuEntries(int title) const {
  std::vector<const MenuItemTemplate*> entries;
  const std::vector<std::string> titles = menuTitles();
  if (title < 0 || title >= static_cast<int>(titles.size())) return entries;
  for (const MenuItemTemplate& item : host_.resources().menu(menuId_)->items)
    if (titles[title] == item.popup) entries.push_back(&item);
  return entries;
}

void Dialog::LeaveMenu() { menuTitle_ = menuItem_ = -1; }

void Dialog::UserSlide(int id, int pos) {
  if (!open_ || ended_) return;
  ControlState* c = find(id);
  if (!Usable(c) || c->kind() != Kind::Slider) return;
  int i = indexOf(id);
  MoveFocus(i);
  if (ended_ || !open_) return;
  ControlState& s = controls_[i];
  int clamped = SliderStop(pos, s.rangeMin, s.rangeMax);
  if (clamped == s.pos) return;
  s.pos = clamped;
  ReportChange(i, Change::Position);
  ReportChange(i, Change::Redraw);
}

void Dialog::UserReleaseSlider(int id) {
  if (!open_ || ended_) return;
  const ControlState* c = find(id);
  if (!Usable(c) || c->kind() != Kind::Slider) return;
  Dispatch(id, Notify::ReleasedCapture);
}

void Dialog::Paint(int id) {
  if (!open_ || ended_) return;
  const ControlState* c = find(id);
  if (c && c->visible && c->kind() == Kind::Slider) Dispatch(id, Notify::CustomDraw);
}

}  // namespace lx::ui
