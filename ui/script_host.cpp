#include "ui/script_host.h"

#include "ui/headless.h"

namespace lx::ui {

std::string QuoteText(const std::string& text) { return "\"" + text + "\""; }

std::string OpenLine(int templateId, const std::string& caption) {
  return "open " + std::to_string(templateId) + " " + QuoteText(caption);
}

std::string CloseLine(int templateId, const std::string& caption, int result) {
  return "close " + std::to_string(templateId) + " " + QuoteText(caption) + " result " +
         std::to_string(result);
}

std::string MessageLine(const std::string& title, const std::string& text, const std::string& ownerCaption) {
  return "message [" + title + "] " + QuoteText(text) + " over " + QuoteText(ownerCaption);
}

std::string WindowLine(int templateId, const std::string& caption) {
  return "window " + std::to_string(templateId) + " " + QuoteText(caption);
}

std::string ControlLine(const Snapshot& control) { return "  | " + Describe(control); }

std::string FileDialogLine(bool save, const std::string& proposedName, const std::string& filter,
                           const std::string& folder) {
  return std::string("file dialog ") + (save ? "save" : "open") + " " + QuoteText(proposedName) + " filter " +
         QuoteText(filter) + " in " + QuoteText(folder);
}

std::string FileAnswerLine(const std::string& head, const std::string* answer) {
  return head + (answer ? " -> " + QuoteText(*answer) : std::string(" -> cancelled"));
}

std::string NoMoreActionsLine(const std::string& caption) {
  return "no more actions: closing " + QuoteText(caption);
}

std::string NotAnAnswerError(const std::string& head) {
  return head + ": the next action is not an answer; cancelled";
}

std::string FolderAnswerError(const std::string& head) {
  return head + ": a folder, not a file; the file dialog did not take the answer; cancelled";
}

std::string ErrorLine(int scriptLine, const std::string& what) {
  return "error" + (scriptLine ? " at line " + std::to_string(scriptLine) : std::string()) + ": " + what;
}

namespace script_error {
std::string NoControl(int id, const std::string& caption) {
  return "no control " + std::to_string(id) + " in " + QuoteText(caption);
}
std::string NoMenuCommand(int command, const std::string& caption) {
  return "no menu command " + std::to_string(command) + " in " + QuoteText(caption);
}
std::string NoSystemMenuEntry(int value) { return "no system-menu entry " + std::to_string(value); }
std::string NoListItem(const std::string& text, int id) {
  return "no item " + QuoteText(text) + " in list " + std::to_string(id);
}
}  // namespace script_error

}  // namespace lx::ui
