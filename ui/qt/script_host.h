#pragma once
// Scenario scripts on the Qt host: every action becomes real input on the real widgets (mouse
// clicks at the control's place, key presses, the close box as a close event, menu commands
// through the menu bar, slider drags on the thumb, list choices in the open list), message boxes
// and file dialogs are answered on the real dialogs, and the transcript is read back from the
// widgets. It writes the lines of the headless host, so that one script gives one transcript.
#include <QObject>
#include <string>
#include <vector>

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

  // What the widgets of a dialog's window show now.
  std::vector<Snapshot> SnapshotOf(const Dialog& dialog) const override;
  std::string MenuStateOf(const Dialog& dialog) const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

  // Real input on the topmost window.
  bool HasMenuCommand(const Dialog& dialog, int command) const override;
  void MenuCommand(Dialog& dialog, int command) override;
  // Linux frames carry no system menu: only its close entry exists, as the close box.
  bool HasSystemMenuEntry(const Dialog&, int) const override { return false; }
  void SystemCommand(Dialog&, int) override {}
  void Click(Dialog& dialog, int id) override;
  int FindListItem(const Dialog& dialog, int id, const std::string& text) const override;
  void Select(Dialog& dialog, int id, int index) override;
  void Type(Dialog& dialog, int id, const std::string& text) override;
  void Focus(Dialog& dialog, int id) override;
  void Press(Dialog& dialog, Key key, const std::string& character) override;
  void CloseBox(Dialog& dialog) override;
  void Drag(Dialog& dialog, int id, int pos) override;
  void KeySlider(Dialog& dialog, int id, int pos) override;
  void DropFile(Dialog& dialog, const std::string& path) override;
  std::string CaptionOf(const Dialog& dialog) const override;

 private:
  void Drive(Dialog& dialog, QDialog& window);  // the modal loop of one window
  void Apply(const Action& action);
  void AnswerMessage(QMessageBox* box);
  void AnswerFile(QFileDialog* dialog);

  QtHost host_;
  std::vector<Dialog*> stack_;  // open windows, the topmost last
};

}  // namespace lx::ui::qt
