#include "ui/headless.h"

#include "core/path_text.h"

#include <algorithm>

namespace lx::ui {

namespace {

const char* KindName(Kind k) {
  switch (k) {
    case Kind::PushButton: return "button";
    case Kind::PictureButton: return "picture";
    case Kind::RadioButton: return "radio";
    case Kind::CheckBox: return "check";
    case Kind::Edit: return "edit";
    case Kind::ComboBox: return "combo";
    case Kind::Slider: return "slider";
    case Kind::GroupBox: return "group";
    case Kind::Label: return "label";
    case Kind::Icon: return "icon";
  }
  return "?";
}

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

std::string Folder(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return path;
  return std::filesystem::path(path).parent_path().string();
}

}  // namespace

std::vector<Snapshot> TakeSnapshot(const Dialog& dialog) {
  std::vector<Snapshot> out;
  for (const ControlState& c : dialog.controls()) {
    bool focused = dialog.focusId() == c.id() && c.id() != kStaticId;
    out.push_back({c.id(), c.kind(), c.text, c.enabled, c.visible, c.checked, focused, c.curSel, c.pos});
  }
  return out;
}

std::string Describe(const Snapshot& s) {
  std::string line = (s.id == kStaticId ? std::string("static") : std::to_string(s.id)) + " " + KindName(s.kind);
  switch (s.kind) {
    case Kind::RadioButton:
    case Kind::CheckBox:
      line += " " + Quote(s.text) + (s.checked ? " checked" : " unchecked");
      break;
    case Kind::ComboBox:
      line += " " + Quote(s.text) + " item " + std::to_string(s.curSel);
      break;
    case Kind::Slider:
      line += " " + std::to_string(s.pos);
      break;
    default:
      line += " " + Quote(s.text);
  }
  if (!s.enabled) line += " disabled";
  if (!s.visible) line += " hidden";
  if (s.focused) line += " focused";
  return line;
}

const Snapshot* MessageRecord::control(int id) const {
  for (const Snapshot& s : controls)
    if (s.id == id) return &s;
  return nullptr;
}

HeadlessHost::HeadlessHost(const ResourceSet& resources, std::string appName)
    : resources_(resources), appName_(std::move(appName)), fileBase_(std::filesystem::current_path()) {}

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

void HeadlessHost::record(std::string line) {
  if (trace) trace(line);
  log_.push_back(std::move(line));
}

void HeadlessHost::error(const Action& action, const std::string& what) {
  ++errors_;
  record(ErrorLine(action.line, what));
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

void HeadlessHost::show(Dialog& dialog) {
  opened_.push_back(dialog.templateId());
  record(OpenLine(dialog.templateId(), dialog.tpl().caption));
  dialog.BeginWindow();
  dialog.InitWindow();
  // First display: every visible slider paints.
  if (dialog.isOpen()) {
    const auto& controls = dialog.controls();
    for (size_t i = 0; i < controls.size(); ++i)
      if (controls[i].kind() == Kind::Slider) ControlChanged(dialog, static_cast<int>(i), Change::Redraw);
  }
  flushPaints();
}

void HeadlessHost::closeWindow(Dialog& dialog) {
  record(CloseLine(dialog.templateId(), dialog.tpl().caption, dialog.result()));
  std::erase_if(dirty_, [&](const auto& d) { return d.first == &dialog; });
  systemMenus_.erase(&dialog);
  dialog.EndWindow();
}

void HeadlessHost::Open(Dialog& dialog) {
  frames_.push_back({&dialog, false});
  show(dialog);
  reapEnded();
}

void HeadlessHost::reapEnded() {
  while (!frames_.empty() && !frames_.back().modal && frames_.back().dialog->ended()) {
    Dialog* d = frames_.back().dialog;
    frames_.pop_back();
    closeWindow(*d);
  }
}

int HeadlessHost::RunModal(Dialog& dialog) {
  frames_.push_back({&dialog, true});
  show(dialog);
  while (!dialog.ended()) {
    if (queue_.empty()) {
      record(NoMoreActionsLine(dialog.tpl().caption));
      dialog.UserClose();
      flushPaints();
      if (!dialog.ended()) dialog.EndDialog(kIdCancel);
      break;
    }
    Action next = std::move(queue_.front());
    queue_.pop_front();
    Apply(next);
  }
  frames_.pop_back();
  closeWindow(dialog);
  return dialog.result();
}

void HeadlessHost::Queue(Action action) { queue_.push_back(std::move(action)); }

void HeadlessHost::QueueScript(std::string_view script) {
  std::vector<std::string> errors;
  for (Action& a : ParseScript(script, &errors)) Queue(std::move(a));
  for (const std::string& e : errors) {
    ++errors_;
    record("error: " + e);
  }
}

bool HeadlessHost::menuHas(const Dialog& d, int command) const {
  const MenuTemplate* menu = d.menuId() ? resources_.menu(d.menuId()) : nullptr;
  if (!menu) return false;
  return std::ranges::any_of(menu->items, [&](const MenuItemTemplate& i) { return i.command == command; });
}

void HeadlessHost::Apply(const Action& a) {
  Dialog* d = top();
  if (a.verb == Verb::Call) {
    if (a.call) a.call(*this);
  } else if (a.verb == Verb::File || a.verb == Verb::CancelFile) {
    error(a, script_error::kNoFileDialog);
  } else if (!d) {
    error(a, script_error::kNoWindow);
  } else {
    bool needsControl = a.verb == Verb::Click || a.verb == Verb::Select || a.verb == Verb::Pick ||
                        a.verb == Verb::Type || a.verb == Verb::Focus || a.verb == Verb::Drag ||
                        a.verb == Verb::Key;
    if (needsControl && !d->find(a.id)) {
      error(a, script_error::NoControl(a.id, d->tpl().caption));
    } else {
      switch (a.verb) {
        case Verb::Click: d->UserClick(a.id); break;
        case Verb::Command:
          if (menuHas(*d, a.id))
            d->UserMenuCommand(a.id);
          else
            error(a, script_error::NoMenuCommand(a.id, d->tpl().caption));
          break;
        case Verb::SysCommand: {
          const auto& entries = systemMenu(*d);
          bool known = a.value == 0xF060 || std::ranges::any_of(entries, [&](const auto& e) { return e.first == a.value; });
          if (!known)
            error(a, script_error::NoSystemMenuEntry(a.value));
          else if (a.value == 0xF060)
            d->UserClose();
          else
            d->UserSysCommand(a.value);
          break;
        }
        case Verb::Select: d->UserSelect(a.id, a.value); break;
        case Verb::Pick: {
          const auto& items = d->at(a.id).items;
          auto it = std::find(items.begin(), items.end(), a.text);
          if (it == items.end())
            error(a, script_error::NoListItem(a.text, a.id));
          else
            d->UserSelect(a.id, static_cast<int>(it - items.begin()));
          break;
        }
        case Verb::Type: d->UserType(a.id, a.text); break;
        case Verb::Focus: d->UserFocus(a.id); break;
        case Verb::Tab: d->UserTab(false); break;
        case Verb::BackTab: d->UserTab(true); break;
        case Verb::Enter: d->UserEnter(); break;
        case Verb::Escape: d->UserEscape(); break;
        case Verb::Close: d->UserClose(); break;
        case Verb::Drag:
          d->UserSlide(a.id, a.value);
          flushPaints();
          d->UserReleaseSlider(a.id);
          break;
        case Verb::Key: d->UserSlide(a.id, a.value); break;
        case Verb::Show:
          record(WindowLine(d->templateId(), d->tpl().caption));
          for (const Snapshot& s : TakeSnapshot(*d)) record(ControlLine(s));
          break;
        default: break;
      }
    }
  }
  flushPaints();
  reapEnded();
  if (afterAction) afterAction(a);
}

void HeadlessHost::ControlChanged(Dialog& dialog, int index, Change what) {
  if (what != Change::Redraw) return;
  const ControlState& c = dialog.controls()[index];
  if (c.kind() != Kind::Slider || !c.visible) return;
  std::pair<Dialog*, int> key{&dialog, index};
  if (std::find(dirty_.begin(), dirty_.end(), key) == dirty_.end()) dirty_.push_back(key);
}

void HeadlessHost::flushPaints() {
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
  MessageRecord m{appName_, text, owner.templateId(), owner.tpl().caption, TakeSnapshot(owner)};
  record(MessageLine(appName_, text, owner.tpl().caption));
  for (const Snapshot& s : m.controls) record(ControlLine(s));
  messages_.push_back(std::move(m));
}

std::optional<std::string> HeadlessHost::AskFile(Dialog&, const FileRequest& request) {
  std::string head = FileDialogLine(request.save, request.proposedName, request.filter, Folder(request.initialFolder));
  FileDialogRecord rec{request, std::nullopt};
  if (queue_.empty() || (queue_.front().verb != Verb::File && queue_.front().verb != Verb::CancelFile)) {
    Action none(Verb::File);
    if (!queue_.empty()) none.line = queue_.front().line;
    error(none, NotAnAnswerError(head));
    fileDialogs_.push_back(rec);
    return std::nullopt;
  }
  Action answer = std::move(queue_.front());
  queue_.pop_front();
  if (answer.verb == Verb::File) {
    std::filesystem::path p = PathFromUtf8(answer.text);
    if (p.is_relative()) p = fileBase_ / p;
    rec.answer = Utf8FromPath(p.lexically_normal());
  }
  record(FileAnswerLine(head, rec.answer ? &*rec.answer : nullptr));
  std::error_code ec;
  if (rec.answer && std::filesystem::is_directory(PathFromUtf8(*rec.answer), ec)) {
    error(answer, FolderAnswerError(head));
    rec.answer.reset();
  }
  fileDialogs_.push_back(rec);
  return rec.answer;
}

}  // namespace lx::ui
