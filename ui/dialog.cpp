#include "ui/dialog.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/text.h"
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
  s.itemData.push_back(0);
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

void ComboBox::SetItemData(int index, intptr_t data) {
  ControlState& s = state();
  if (index >= 0 && index < static_cast<int>(s.itemData.size())) s.itemData[index] = data;
}

intptr_t ComboBox::GetItemData(int index) const {
  const ControlState& s = state();
  return index >= 0 && index < static_cast<int>(s.itemData.size()) ? s.itemData[index] : -1;
}

void SliderCtrl::SetRange(int min, int max, bool redraw) {
  ControlState& s = state();
  s.rangeMin = min;
  s.rangeMax = max;
  s.pos = SliderStop(s.pos, min, max);
  ReportChange(Change::Range);
  if (redraw) ReportChange(Change::Redraw);
}

int SliderCtrl::GetRangeMin() const { return state().rangeMin; }
int SliderCtrl::GetRangeMax() const { return state().rangeMax; }

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
bool Usable(const ControlState* c) { return c && c->enabled && c->visible; }
}  // namespace

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
    int first = index, last = index;
    while (first > 0 && !(controls_[first].tpl->style & kGroup)) --first;
    while (last + 1 < static_cast<int>(controls_.size()) && !(controls_[last + 1].tpl->style & kGroup)) ++last;
    for (int i = first; i <= last; ++i)
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
  ControlState& s = controls_[i];
  s.curSel = index;
  s.text = s.items[index];
  s.selStart = 0;
  s.selEnd = static_cast<int>(s.text.size());
  ReportChange(i, Change::Selection);
  Dispatch(id, Notify::SelChange);
}

void Dialog::UserType(int id, const std::string& text) {
  if (!open_ || ended_) return;
  ControlState* c = find(id);
  if (!Usable(c) || (c->kind() != Kind::Edit && c->kind() != Kind::ComboBox)) return;
  int i = indexOf(id);
  MoveFocus(i, FocusBy::Mouse);
  if (ended_ || !open_) return;
  ControlState& s = controls_[i];
  if (s.tpl->style & kReadOnly) return;
  s.text = text;
  s.selStart = s.selEnd = static_cast<int>(text.size());
  if (s.kind() == Kind::ComboBox) {
    // A list's typed text selects nothing: the list reports no selection, and no notification.
    s.curSel = -1;
    ReportChange(i, Change::Selection);
  } else {
    ReportChange(i, Change::Text);
  }
}

void Dialog::UserEdited(int id, const std::string& text) {
  ControlState* c = find(id);
  if (!c) return;
  c->text = text;
  c->selStart = c->selEnd = static_cast<int>(text.size());
  if (c->kind() == Kind::ComboBox) c->curSel = -1;
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

void Dialog::UserTab(bool backwards) {
  if (!open_ || ended_ || controls_.empty()) return;
  // An open list closes with its selection kept, and the focus moves on.
  CloseDroppedList();
  int n = static_cast<int>(controls_.size());
  int start = focus_ < 0 ? (backwards ? 0 : n - 1) : focus_;
  for (int step = 1; step <= n; ++step) {
    int i = ((start + (backwards ? -step : step)) % n + n) % n;
    const ControlState& c = controls_[i];
    // A radio button is a tab stop while it is checked, as checking one gives it the style.
    const bool stop = c.kind() == Kind::RadioButton ? c.checked : (c.tpl->style & kTabStop) != 0;
    if (stop && Usable(&c)) {
      MoveFocus(i);
      return;
    }
  }
}

void Dialog::UserEnter() {
  if (!open_ || ended_) return;
  if (CloseDroppedList()) return;  // Enter closes only an open list, keeping what it shows
  if (focus_ >= 0 && controls_[focus_].isButton() && Usable(&controls_[focus_])) {
    Dispatch(controls_[focus_].id(), Notify::Clicked);
    return;
  }
  for (const ControlState& c : controls_) {
    if (c.isButton() && (c.tpl->style & kDefault)) {
      if (Usable(&c)) Dispatch(c.id(), Notify::Clicked);
      return;
    }
  }
  Dispatch(kIdOk, Notify::Clicked);
}

void Dialog::UserEscape() {
  if (!open_ || ended_) return;
  // Escape closes only an open list; the item moved to stays chosen, as under the native list.
  if (CloseDroppedList()) return;
  Cancel();
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

void Dialog::UserKey(Key key, const std::string& character) {
  if (!open_ || ended_) return;
  if (MenuKey(key)) return;
  if (focus_ >= 0 && controls_[focus_].dropped && key != Key::Tab && key != Key::BackTab &&
      key != Key::Enter && key != Key::Escape)
    return OpenListKey(focus_, key, character);
  switch (key) {
    case Key::Tab: return UserTab(false);
    case Key::BackTab: return UserTab(true);
    case Key::Enter: return UserEnter();
    case Key::Escape: return UserEscape();
    default: break;
  }
  if (focus_ < 0) return;
  const int i = focus_;
  ControlState& c = controls_[i];
  const bool arrow = key == Key::Left || key == Key::Right || key == Key::Up || key == Key::Down;
  switch (c.kind()) {
    case Kind::Edit:
      return EditKey(i, key, character);
    case Kind::ComboBox:
      if (key == Key::F4 || key == Key::AltDown || key == Key::AltUp) return UserDropList(c.id(), true);
      return ListKey(i, key, character);
    case Kind::Slider: {
      // A trackbar: Left, Up and PageUp toward the minimum, whatever its orientation.
      int to = c.pos;
      if (key == Key::Left || key == Key::Up) to -= 1;
      if (key == Key::Right || key == Key::Down) to += 1;
      if (key == Key::PageUp) to -= c.page();
      if (key == Key::PageDown) to += c.page();
      if (key == Key::Home) to = c.rangeMin;
      if (key == Key::End) to = c.rangeMax;
      if (to != c.pos) UserSlide(c.id(), to);
      return;
    }
    case Kind::PushButton:
    case Kind::PictureButton:
    case Kind::RadioButton:
    case Kind::CheckBox:
      if (key == Key::Space) return UserClick(c.id());
      if (arrow) return GroupKey(i, key == Key::Left || key == Key::Up);
      return;
    default:
      return;
  }
}

namespace {
// The bytes of the UTF-8 character before / after a place in a text.
int CharBefore(const std::string& text, int at) {
  int i = at - 1;
  while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
  return std::max(0, i);
}
int CharAfter(const std::string& text, int at) {
  int i = at + 1;
  while (i < static_cast<int>(text.size()) && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  return std::min(static_cast<int>(text.size()), i);
}
}  // namespace

void Dialog::EditKey(int index, Key key, const std::string& character) {
  ControlState& c = controls_[index];
  const int length = static_cast<int>(c.text.size());
  int caret = c.selEnd;
  switch (key) {
    case Key::Left: caret = caret > 0 ? CharBefore(c.text, caret) : 0; break;
    case Key::Right: caret = caret < length ? CharAfter(c.text, caret) : length; break;
    case Key::Home: caret = 0; break;
    case Key::End: caret = length; break;
    case Key::Space:
    case Key::Char: {
      if (c.tpl->style & kReadOnly) return;
      // The typed character replaces the selection.
      const std::string typed = key == Key::Space ? std::string(" ") : character;
      const int from = std::min(c.selStart, c.selEnd), to = std::max(c.selStart, c.selEnd);
      c.text.replace(from, to - from, typed);
      c.selStart = c.selEnd = from + static_cast<int>(typed.size());
      if (c.kind() == Kind::ComboBox) {
        c.curSel = -1;  // typed text selects nothing, and nothing is notified
        ReportChange(index, Change::Selection);
      } else {
        ReportChange(index, Change::Text);
      }
      return;
    }
    default: return;
  }
  c.selStart = c.selEnd = caret;
}

void Dialog::ListKey(int index, Key key, const std::string& character) {
  ControlState& c = controls_[index];
  const bool line = key == Key::Up || key == Key::Down;
  if (!line && key != Key::PageUp && key != Key::PageDown) return EditKey(index, key, character);
  // The closed list moves its selection from its caret: the chosen item, else the first item
  // that the typed text begins, else the first item; with nothing chosen, Up and Down choose
  // the caret's item itself. A page is what the open list shows less one: the list's height
  // less the edit field, an item a character high.
  const int count = static_cast<int>(c.items.size());
  if (count == 0) return;
  int caret = c.curSel;
  if (caret < 0) {
    caret = 0;
    for (int i = 0; i < count && !c.text.empty(); ++i)
      if (ToLower(c.items[i]).starts_with(ToLower(c.text))) {
        caret = i;
        break;
      }
  }
  constexpr int kEditHeight = 14, kItemHeight = 8;  // dialog units
  const int page = std::max(1, (c.tpl->cy - kEditHeight) / kItemHeight);
  int to = caret;
  if (c.curSel >= 0 || !line) {
    if (key == Key::Down) to = caret + 1;
    if (key == Key::Up) to = caret - 1;
    if (key == Key::PageDown) to = caret + std::max(1, page - 1);
    if (key == Key::PageUp) to = std::max(0, caret - std::max(1, page - 1));
  }
  MoveListSelection(index, std::min(to, count - 1));
}

void Dialog::MoveListSelection(int index, int to) {
  ControlState& c = controls_[index];
  if (to < 0 || to == c.curSel) return;
  c.curSel = to;
  c.text = c.items[to];
  c.selStart = 0;
  c.selEnd = static_cast<int>(c.text.size());
  ReportChange(index, Change::Selection);
  Dispatch(c.id(), Notify::SelChange);
}

void Dialog::OpenListKey(int index, Key key, const std::string& character) {
  ControlState& c = controls_[index];
  const int count = static_cast<int>(c.items.size());
  constexpr int kEditHeight = 14, kItemHeight = 8;  // dialog units, as the closed list's page
  const int page = std::max(1, std::max(1, (c.tpl->cy - kEditHeight) / kItemHeight) - 1);
  // The open list moves its highlight with the line and page keys, and the field follows at
  // once, told to the dialog.
  const int from = c.curSel;
  int to = from;
  switch (key) {
    case Key::F4:
    case Key::AltDown:
    case Key::AltUp:
      return UserDropList(c.id(), false);
    case Key::Down:
      to = from < 0 ? 0 : from + 1;
      break;
    case Key::Up:
      to = from < 0 ? 0 : from - 1;
      break;
    case Key::PageDown:
      to = from < 0 ? 0 : from + page;
      break;
    case Key::PageUp:
      to = std::max(0, from - page);
      break;
    // Home and End, as the arrows across, stay with the field's caret (so the native list does).
    case Key::Home:
    case Key::End:
    case Key::Left:
    case Key::Right:
    case Key::Space:
    case Key::Char:
      return EditKey(index, key, character);
    default:
      return;
  }
  if (count > 0) MoveListSelection(index, std::clamp(to, 0, count - 1));
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

bool Dialog::MenuKey(Key key) {
  const int titles = static_cast<int>(menuTitles().size());
  if (titles == 0) return false;
  if (menuTitle_ < 0) {
    // Alt (pressed and released) or F10 highlights the first title without opening it.
    if (key != Key::Alt && key != Key::F10) return false;
    CloseDroppedList();
    menuTitle_ = 0;
    menuItem_ = -1;
    return true;
  }
  const auto entries = menuEntries(menuTitle_);
  const int count = static_cast<int>(entries.size());
  switch (key) {
    case Key::Left:
    case Key::Right:
      menuTitle_ = (menuTitle_ + (key == Key::Left ? titles - 1 : 1)) % titles;
      if (menuItem_ >= 0) menuItem_ = 0;  // an open menu opens its neighbour instead
      break;
    case Key::Down:
      menuItem_ = menuItem_ < 0 ? 0 : (menuItem_ + 1) % std::max(1, count);
      break;
    case Key::Up:
      menuItem_ = menuItem_ < 0 ? 0 : (menuItem_ + count - 1) % std::max(1, count);
      break;
    case Key::Enter:
      if (menuItem_ < 0) {
        menuItem_ = 0;
      } else {
        const int command = entries[menuItem_]->command;
        LeaveMenu();
        Dispatch(command, kCommand);
      }
      break;
    case Key::Escape:
      // An open menu closes back to its title; a highlighted title leaves the menu bar.
      if (menuItem_ >= 0)
        menuItem_ = -1;
      else
        LeaveMenu();
      break;
    case Key::Alt:
    case Key::F10:
      LeaveMenu();
      break;
    default:
      break;  // the menu bar holds the keyboard: other keys reach no control
  }
  return true;
}

int Dialog::nextInGroup(int index, bool backwards) const {
  // The group runs from a control with kGroup to the next one; the move wraps within it and
  // passes over what cannot take the focus.
  const int n = static_cast<int>(controls_.size());
  int first = index, last = index;
  while (first > 0 && !(controls_[first].tpl->style & kGroup)) --first;
  while (last + 1 < n && !(controls_[last + 1].tpl->style & kGroup)) ++last;
  const int size = last - first + 1;
  for (int step = 1; step < size; ++step) {
    int i = first + ((index - first + (backwards ? -step : step)) % size + size) % size;
    const ControlState& c = controls_[i];
    if (Usable(&c) && c.kind() != Kind::GroupBox && c.kind() != Kind::Label && c.kind() != Kind::Icon) return i;
  }
  return index;
}

void Dialog::GroupKey(int index, bool backwards) {
  const int to = nextInGroup(index, backwards);
  if (to == index) return;
  MoveFocus(to);
  if (ended_ || !open_) return;
  // An automatic radio button reached with the arrows is chosen.
  ControlState& c = controls_[to];
  if (c.kind() == Kind::RadioButton && !c.checked) UserClick(c.id());
}

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
