#include "ui/headless.h"

#include "core/path_text.h"

#include <algorithm>

namespace lx::ui {

std::vector<Snapshot> TakeSnapshot(const Dialog& dialog) {
  std::vector<Snapshot> out;
  for (const ControlState& c : dialog.controls()) {
    bool focused = dialog.focusId() == c.id() && c.id() != kStaticId;
    const std::string& text = c.kind() == Kind::Plot ? PlotText(c) : c.text;
    out.push_back(
        {c.id(), c.kind(), text, c.enabled, c.visible, c.checked, focused, c.curSel, c.pos, c.dropped});
  }
  return out;
}

const Snapshot* MessageRecord::control(int id) const {
  for (const Snapshot& s : controls)
    if (s.id == id) return &s;
  return nullptr;
}

HeadlessHost::HeadlessHost(const ResourceSet& resources, std::string appName)
    : Host(resources, std::move(appName)) {}

HeadlessHost::~HeadlessHost() {
  // Windows opened with Open() and never closed.
  while (!frames_.empty()) {
    Dialog* d = frames_.back().dialog;
    frames_.pop_back();
    d->EndWindow();
  }
}

void HeadlessHost::Forget(Dialog& dialog) {
  std::erase_if(frames_, [&](const Frame& f) { return f.dialog == &dialog; });
  std::erase_if(dirty_, [&](const auto& d) { return d.first == &dialog; });
  systemMenus_.erase(&dialog);
}

std::vector<std::string> HeadlessHost::messageTexts() const {
  std::vector<std::string> out;
  for (const MessageRecord& m : messages_) out.push_back(m.text);
  return out;
}

const std::vector<std::pair<int, std::string>>& HeadlessHost::systemMenu(const Dialog& d) const {
  static const std::vector<std::pair<int, std::string>> kNone;
  auto it = systemMenus_.find(&d);
  return it == systemMenus_.end() ? kNone : it->second;
}

void HeadlessHost::Show(Dialog& dialog) {
  opened_.push_back(dialog.templateId());
  Record(OpenLine(dialog.templateId(), dialog.tpl().caption));
  dialog.BeginWindow();
  dialog.InitWindow();
  // First display: every visible slider paints.
  if (dialog.isOpen()) {
    const auto& controls = dialog.controls();
    for (size_t i = 0; i < controls.size(); ++i)
      if (controls[i].kind() == Kind::Slider) ControlChanged(dialog, static_cast<int>(i), Change::Redraw);
  }
  FlushPaints();
}

void HeadlessHost::CloseWindow(Dialog& dialog) {
  Record(CloseLine(dialog.templateId(), dialog.tpl().caption, dialog.result()));
  std::erase_if(dirty_, [&](const auto& d) { return d.first == &dialog; });
  systemMenus_.erase(&dialog);
  dialog.EndWindow();
}

void HeadlessHost::Open(Dialog& dialog) {
  frames_.push_back({&dialog, false});
  Show(dialog);
  ReapEnded();
}

void HeadlessHost::ReapEnded() {
  while (!frames_.empty() && !frames_.back().modal && frames_.back().dialog->ended()) {
    Dialog* d = frames_.back().dialog;
    frames_.pop_back();
    CloseWindow(*d);
  }
}

int HeadlessHost::RunModal(Dialog& dialog) {
  frames_.push_back({&dialog, true});
  Show(dialog);
  RunActions(dialog, [this](const Action& a) { Apply(a); }, [this] { FlushPaints(); });
  frames_.pop_back();
  CloseWindow(dialog);
  return dialog.result();
}

bool HeadlessHost::HasMenuCommand(const Dialog& d, int command) const {
  const MenuTemplate* menu = d.menuId() ? resources().menu(d.menuId()) : nullptr;
  if (!menu) return false;
  return std::any_of(menu->items.begin(), menu->items.end(),
                     [&](const MenuItemTemplate& i) { return i.command == command; });
}

bool HeadlessHost::HasSystemMenuEntry(const Dialog& d, int command) const {
  return std::any_of(systemMenu(d).begin(), systemMenu(d).end(),
                     [&](const auto& e) { return e.first == command; });
}

int HeadlessHost::FindListItem(const Dialog& d, int id, const std::string& text) const {
  const auto& items = d.find(id)->items;
  auto it = std::find(items.begin(), items.end(), text);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void HeadlessHost::Press(Dialog& d, lx::ui::Key key, const std::string& character) {
  d.UserKey(key, character);
}

void HeadlessHost::Drag(Dialog& d, int id, int pos) {
  d.UserSlide(id, pos);
  FlushPaints();
  d.UserReleaseSlider(id);
}

void HeadlessHost::Apply(const Action& a) {
  Play(a, top());
  FlushPaints();
  ReapEnded();
  if (afterAction) afterAction(a);
}

void HeadlessHost::ControlChanged(Dialog& dialog, int index, Change what) {
  if (what != Change::Redraw) return;
  const ControlState& c = dialog.controls()[index];
  if (c.kind() != Kind::Slider || !c.visible) return;
  std::pair<Dialog*, int> key{&dialog, index};
  if (std::find(dirty_.begin(), dirty_.end(), key) == dirty_.end()) dirty_.push_back(key);
}

void HeadlessHost::FlushPaints() {
  // Paints come last, after everything else the window had to do; a handler that keeps
  // invalidating its slider is cut off rather than looping forever.
  for (int guard = 0; !dirty_.empty() && guard < 1000; ++guard) {
    auto [dialog, index] = dirty_.front();
    dirty_.erase(dirty_.begin());
    if (dialog->isOpen() && index < static_cast<int>(dialog->controls().size()))
      dialog->Paint(dialog->controls()[index].id());
  }
  dirty_.clear();
}

bool HeadlessHost::AppendSystemMenu(Dialog& dialog, int command, const std::string& text) {
  systemMenus_[&dialog].emplace_back(command, text);
  return true;
}

void HeadlessHost::ShowMessage(Dialog& owner, const std::string& text) {
  MessageRecord m{appName(), text, owner.templateId(), owner.tpl().caption, TakeSnapshot(owner)};
  RecordMessage(appName(), text, &owner, owner.tpl().caption);
  messages_.push_back(std::move(m));
}

std::optional<std::string> HeadlessHost::AskFile(Dialog&, const FileRequest& request) {
  return AnswerOwnFileDialog(request);
}

}  // namespace lx::ui
