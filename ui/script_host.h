#pragma once
// A window system that scenario scripts drive: the headless host, the Qt host through real
// input, and later the Windows host. The scenario runner knows only this interface; each
// implementation turns the script's actions into the user input of its platform and writes
// the same transcript lines, so that one script gives one transcript on every host.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/host.h"

namespace lx::ui {

struct Action;
struct FileDialogRecord;
struct Snapshot;

class ScriptHost {
 public:
  virtual ~ScriptHost() = default;

  // What the dialogs run on.
  virtual Host& host() = 0;
  // Relative paths in file answers are taken from this folder.
  virtual void SetFileBase(std::filesystem::path base) = 0;
  // Queues a script's actions for the windows still to come (the first one takes them when
  // it opens); mistakes in the script count as errors.
  virtual void QueueScript(std::string_view script) = 0;
  virtual int errors() const = 0;
  virtual const std::vector<FileDialogRecord>& fileDialogs() const = 0;

  // Called with every transcript line as it happens.
  std::function<void(const std::string&)> trace;
  // Called after every action has run to its end.
  std::function<void(const Action&)> afterAction;
};

// Transcript lines that every host writes alike.
std::string QuoteText(const std::string& text);
std::string OpenLine(int templateId, const std::string& caption);
std::string CloseLine(int templateId, const std::string& caption, int result);
std::string MessageLine(const std::string& title, const std::string& text, const std::string& ownerCaption);
std::string WindowLine(int templateId, const std::string& caption);
std::string ControlLine(const Snapshot& control);
// "file dialog save "EEPROM.h" filter "..." in "<folder>""; the answer is appended by the caller.
std::string FileDialogLine(bool save, const std::string& proposedName, const std::string& filter,
                           const std::string& folder);
std::string FileAnswerLine(const std::string& head, const std::string* answer);  // nullptr: cancelled
std::string NoMoreActionsLine(const std::string& caption);
std::string NotAnAnswerError(const std::string& head);
// A folder's name as the answer: file dialogs open the folder and keep waiting for a file.
std::string FolderAnswerError(const std::string& head);
std::string ErrorLine(int scriptLine, const std::string& what);
// What an action that does not fit the window is told.
namespace script_error {
inline constexpr const char* kNoWindow = "no window is open";
inline constexpr const char* kNoFileDialog = "no file dialog is open to answer";
std::string NoControl(int id, const std::string& caption);
std::string NoMenuCommand(int command, const std::string& caption);
std::string NoSystemMenuEntry(int value);
std::string NoListItem(const std::string& text, int id);
}  // namespace script_error

}  // namespace lx::ui
