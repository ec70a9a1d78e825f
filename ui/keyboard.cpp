// The keyboard model: what each key does to the focused control and to the dialog, as the
// platform's controls and dialog navigation take it. Every host mirrors this.
#include <algorithm>
#include <string>

#include "core/text.h"
#include "ui/dialog.h"

namespace lx::ui {

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
    if (stop && c.usable()) {
      MoveFocus(i);
      return;
    }
  }
}

void Dialog::UserEnter() {
  if (!open_ || ended_) return;
  if (CloseDroppedList()) return;  // Enter closes only an open list, keeping what it shows
  if (focus_ >= 0 && controls_[focus_].isButton() && controls_[focus_].usable()) {
    Dispatch(controls_[focus_].id(), Notify::Clicked);
    return;
  }
  for (const ControlState& c : controls_) {
    if (c.isButton() && (c.tpl->style & kDefault)) {
      if (c.usable()) Dispatch(c.id(), Notify::Clicked);
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

void Dialog::UserKey(Key key, const std::string& character) {
  if (!open_ || ended_) return;
  if (MenuKey(key)) return;
  if (focus_ >= 0 && controls_[focus_].dropped && key != Key::Tab && key != Key::BackTab &&
      key != Key::Enter && key != Key::Escape)
    return OpenListKey(focus_, key, character);
  switch (key) {
    case Key::Tab:
      return UserTab(false);
    case Key::BackTab:
      return UserTab(true);
    case Key::Enter:
      return UserEnter();
    case Key::Escape:
      return UserEscape();
    default:
      break;
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
    case Key::Left:
      caret = caret > 0 ? CharBefore(c.text, caret) : 0;
      break;
    case Key::Right:
      caret = caret < length ? CharAfter(c.text, caret) : length;
      break;
    case Key::Home:
      caret = 0;
      break;
    case Key::End:
      caret = length;
      break;
    case Key::Space:
    case Key::Char: {
      if (c.tpl->style & kReadOnly) return;
      // The typed character replaces the selection.
      const std::string typed = key == Key::Space ? std::string(" ") : character;
      const int from = std::min(c.selStart, c.selEnd), to = std::max(c.selStart, c.selEnd);
      std::string text = c.text;
      text.replace(from, to - from, typed);
      return TakeTyped(index, std::move(text), from + static_cast<int>(typed.size()), true);
    }
    default:
      return;
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
  if (to >= 0 && to != controls_[index].curSel) ChooseItem(index, to);
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
  const auto [first, last] = groupOf(index);
  const int size = last - first + 1;
  for (int step = 1; step < size; ++step) {
    int i = first + ((index - first + (backwards ? -step : step)) % size + size) % size;
    const ControlState& c = controls_[i];
    if (c.usable() && c.kind() != Kind::GroupBox && c.kind() != Kind::Label && c.kind() != Kind::Icon)
      return i;
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

}  // namespace lx::ui
