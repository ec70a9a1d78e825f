#pragma once
// Scenario scripts on the Qt host: every action becomes real input on the real widgets (mouse
// clicks at the control's place, key presses, the close box as a close event, menu commands
// through the menu bar, slider drags on the thumb, list choices in the open list), message boxes
// and file dialogs are answered on the real dialogs, and the transcript is read back from the
// widgets. It writes the lines of the headless host, so that one script gives one transcript.
#include <QObject>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/headless.h"
#include "ui/qt/qt_host.h"
#include "ui/script_host.h"

class QFileDialog;
class QMessageBox;

namespace lx::ui::qt {

class QtScriptHost : public QObject, public ScriptHost {
 public:
  QtScriptHost(const ResourceSet& resources, std::string appName);
  ~QtScriptHost() override;

  Host& host() override { return host_; }
  QtHost& qtHost() { return host_; }
  void SetFileBase(std::filesystem::path base) override { fileBase_ = std::move(base); }
  void QueueScript(std::string_view script) override;
  int errors() const override { return errors_; }
  const std::vector<FileDialogRecord>& fileDialogs() const override { return fileDialogs_; }

  // What the widgets of a dialog's window show now.
  std::vector<Snapshot> TakeSnapshot(const Dialog& dialog) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void record(std::string line);
  void error(int line, const std::string& what);
  void drive(Dialog& dialog, QDialog& window);  // the modal loop of one window
  void apply(const Action& action);
  void settle();  // lets posted paints and notifications run
  void answerMessage(QMessageBox* box);
  void answerFile(QFileDialog* dialog);

  // Real input on the topmost window.
  void click(Dialog& d, int id);
  void focus(Dialog& d, int id);
  void command(Dialog& d, const Action& a);
  void select(Dialog& d, int id, int index);
  void type(Dialog& d, int id, const std::string& text);
  void pressKey(Dialog& d, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void closeBox(Dialog& d);
  void drag(Dialog& d, int id, int pos);
  void keySlider(Dialog& d, int id, int pos);

  QtHost host_;
  std::filesystem::path fileBase_;
  std::deque<Action> queue_;
  std::vector<Dialog*> stack_;  // open windows, the topmost last
  std::vector<FileDialogRecord> fileDialogs_;
  int errors_ = 0;
};

}  // namespace lx::ui::qt
