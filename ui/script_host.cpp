#include "ui/script_host.h"

#include "core/path_text.h"
#include "ui/dialog.h"

namespace lx::ui {

ScriptHost::ScriptHost() : fileBase_(std::filesystem::current_path()) {}

void ScriptHost::QueueScript(std::string_view script) {
  std::vector<std::string> errors;
  for (Action& a : ParseScript(script, &errors)) Queue(std::move(a));
  for (const std::string& e : errors) {
    ++errors_;
    Record("error: " + e);
  }
}

Action ScriptHost::TakeNext() {
  Action next = std::move(queue_.front());
  queue_.pop_front();
  return next;
}

void ScriptHost::Record(const std::string& line) {
  if (trace) trace(line);
}

void ScriptHost::Error(int scriptLine, const std::string& what) {
  ++errors_;
  Record(ErrorLine(scriptLine, what));
}

std::string ScriptHost::MenuStateOf(const Dialog& d) const {
  if (d.menuTitle() < 0) return {};
  const auto entries = d.menuEntries(d.menuTitle());
  const int item = d.menuItem();
  return MenuLine(d.menuTitles()[d.menuTitle()],
                  item >= 0 && item < static_cast<int>(entries.size()) ? entries[item]->text : "");
}

bool ScriptHost::HasControl(const Dialog& dialog, int id) const { return dialog.find(id) != nullptr; }

void ScriptHost::RunActions(Dialog& dialog, const std::function<void(const Action&)>& apply,
                            const std::function<void()>& settle) {
  while (!dialog.ended() && dialog.isOpen()) {
    if (!HasNext()) {
      RecordScriptEnd(dialog);
      CloseBox(dialog);
      settle();
      if (!dialog.ended()) dialog.EndDialog(kIdCancel);
      return;
    }
    apply(TakeNext());
  }
}

void ScriptHost::RecordMessage(const std::string& title, const std::string& text, const Dialog* owner,
                               const std::string& ownerCaption) {
  Record(MessageLine(title, text, ownerCaption));
  if (owner)
    for (const Snapshot& s : SnapshotOf(*owner)) Record(ControlLine(s));
}

void ScriptHost::Play(const Action& a, Dialog* top) {
  if (a.verb == Verb::Call) {
    if (!RunsCalls())
      Error(a.line, script_error::kHeadlessOnly);
    else if (a.call)
      a.call();
    return;
  }
  if (a.verb == Verb::File || a.verb == Verb::CancelFile) return Error(a.line, script_error::kNoFileDialog);
  if (!top) return Error(a.line, script_error::kNoWindow);
  Dialog& d = *top;
  if (NeedsControl(a.verb) && !HasControl(d, a.id)) return Error(a.line, script_error::NoControl(a.id, d.tpl().caption));
  switch (a.verb) {
    case Verb::Click:
      Click(d, a.id);
      break;
    case Verb::Command:
      if (HasMenuCommand(d, a.id))
        MenuCommand(d, a.id);
      else
        Error(a.line, script_error::NoMenuCommand(a.id, d.tpl().caption));
      break;
    case Verb::SysCommand:
      if (a.value == kSysClose)
        CloseBox(d);
      else if (HasSystemMenuEntry(d, a.value))
        SystemCommand(d, a.value);
      else
        Error(a.line, script_error::NoSystemMenuEntry(a.value));
      break;
    case Verb::Select:
      Select(d, a.id, a.value);
      break;
    case Verb::Pick: {
      const int index = FindListItem(d, a.id, a.text);
      if (index < 0)
        Error(a.line, script_error::NoListItem(a.text, a.id));
      else
        Select(d, a.id, index);
      break;
    }
    case Verb::Type:
      Type(d, a.id, a.text);
      break;
    case Verb::Focus:
      Focus(d, a.id);
      break;
    case Verb::Press:
      Press(d, a.key(), a.text);
      break;
    case Verb::Close:
      CloseBox(d);
      break;
    case Verb::Drag:
      Drag(d, a.id, a.value);
      break;
    case Verb::Key:
      KeySlider(d, a.id, a.value);
      break;
    case Verb::Drop:
      DropFile(d, FullPath(a.text));
      break;
    case Verb::Show:
      Record(WindowLine(d.templateId(), CaptionOf(d)));
      if (const std::string menu = MenuStateOf(d); !menu.empty()) Record(menu);
      for (const Snapshot& s : SnapshotOf(d)) Record(ControlLine(s));
      break;
    case Verb::File:
    case Verb::CancelFile:
    case Verb::Call:
      break;
  }
}

std::optional<std::string> ScriptHost::AnswerOwnFileDialog(const FileRequest& request) {
  std::error_code ec;
  const std::string& initial = request.initialFolder;
  const std::string folder = std::filesystem::is_directory(initial, ec)
                                 ? initial
                                 : std::filesystem::path(initial).parent_path().string();
  const FileAnswer answer = AnswerFileDialog(request, folder);
  if (answer.outcome != FileAnswer::Chosen) return std::nullopt;
  if (std::filesystem::is_directory(PathFromUtf8(answer.path), ec)) {
    FolderAnswered(answer);
    return std::nullopt;
  }
  return answer.path;
}

ScriptHost::FileAnswer ScriptHost::AnswerFileDialog(const FileRequest& shown, const std::string& folder) {
  FileAnswer out{FileAnswer::NotAnAnswer, {}, FileDialogLine(shown.save, shown.proposedName, shown.filter, folder), 0};
  fileDialogs_.push_back({shown, std::nullopt});
  if (queue_.empty() || (queue_.front().verb != Verb::File && queue_.front().verb != Verb::CancelFile)) {
    Error(queue_.empty() ? 0 : queue_.front().line, NotAnAnswerError(out.head));
    return out;
  }
  const Action answer = TakeNext();
  out.line = answer.line;
  if (answer.verb == Verb::CancelFile) {
    out.outcome = FileAnswer::Cancelled;
    Record(FileAnswerLine(out.head, nullptr));
    return out;
  }
  out.outcome = FileAnswer::Chosen;
  out.path = FullPath(answer.text);
  fileDialogs_.back().answer = out.path;
  Record(FileAnswerLine(out.head, &out.path));
  return out;
}

std::string ScriptHost::FullPath(const std::string& path) const {
  std::filesystem::path p = PathFromUtf8(path);
  if (p.is_relative()) p = fileBase_ / p;
  return Utf8FromPath(p.lexically_normal());
}

void ScriptHost::FolderAnswered(const FileAnswer& answer) {
  Error(answer.line, FolderAnswerError(answer.head));
  if (!fileDialogs_.empty()) fileDialogs_.back().answer.reset();
}

}  // namespace lx::ui
