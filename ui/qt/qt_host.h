#pragma once
// The Qt 6 Widgets host: renders any dialog template as a real window (one widget per control,
// at its template position converted from dialog units with the dialog font), maps Qt's
// signals and events to the dialogs' notifications and runs the modal loops.
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "ui/dialog.h"
#include "ui/host.h"
#include "ui/qt/prerendered.h"

class QDialog;
class QStyle;
class QWidget;

namespace lx::ui::qt {

class DialogStyle;
class DialogWindow;

// Maps the template fonts ("宋体", "System") to an installed font that has Chinese glyphs.
void InstallFontSubstitutes();
// The font of a dialog template, sized in pixels as the platform sizes points at 96 dpi.
QFont DialogFont(const DialogTemplate& tpl);
// Dialog units to pixels: x × average character width / 4, y × character height / 8.
struct DialogUnits {
  int baseX, baseY;
  int x(int du) const { return (du * baseX + 2) / 4; }
  int y(int du) const { return (du * baseY + 4) / 8; }
  QRect rect(int x0, int y0, int cx, int cy) const { return QRect(x(x0), y(y0), x(cx), y(cy)); }
};
DialogUnits UnitsOf(const QFont& font);
// The client area (without menu bar) that a template gets.
QSize ClientSize(const DialogTemplate& tpl);

// Our pictures, drawn at start-up from their descriptions.
QImage RenderPicture(const PictureTemplate& picture);

class QtHost : public Host {
 public:
  QtHost(const ResourceSet& resources, std::string appName);
  ~QtHost() override;

  // Called once a dialog's window is made, before its initialisation runs.
  std::function<void(Dialog&, QDialog&)> onCreated;
  // Called once a dialog's window is shown, has the keyboard and its modal loop runs
  // (screenshots, tests).
  std::function<void(Dialog&, QDialog&)> onShown;
  // Called when a dialog's modal loop has ended, while its window still shows its controls.
  std::function<void(Dialog&, QDialog&)> onClosed;
  // Called once a text was put on the clipboard.
  std::function<void()> onCopied;

  QDialog* windowOf(const Dialog& dialog) const;
  Dialog* dialogOf(const QWidget* window) const;  // the dialog a window belongs to
  // Message boxes shown so far: a press during which one appears is lost.
  int messagesShown() const { return messagesShown_; }
  QWidget* widgetOf(const Dialog& dialog, int id) const;
  QWidget* widgetAt(const Dialog& dialog, int index) const;  // by the control's place in the template
  // The request of the file dialog now open (its filter as given), or nothing.
  const FileRequest* openFileRequest() const { return fileRequest_; }
  QWidget* clientOf(const Dialog& dialog) const;  // the area the controls are placed in
  QPixmap picture(int id);
  // Pictures drawn at build time, used instead of drawing the same ones at run time.
  void UsePrerendered(std::span<const PrerenderedPicture> pictures) { prerendered_ = pictures; }
  QStyle* style();  // the style every dialog control is drawn in

  int RunModal(Dialog& dialog) override;
  void ModalEnded(Dialog& dialog) override;
  void ControlChanged(Dialog& dialog, int index, Change what) override;
  void MenuChanged(Dialog& dialog) override;
  bool AppendSystemMenu(Dialog&, int, const std::string&) override { return false; }  // none here
  void ShowMessage(Dialog& owner, const std::string& text) override;
  std::optional<std::string> AskFile(Dialog& owner, const FileRequest& request) override;
  void CopyText(Dialog& owner, const std::string& text) override;

 private:
  DialogWindow* find(const Dialog& dialog) const;
  std::map<const Dialog*, DialogWindow*> windows_;
  std::vector<DialogWindow*> modalStack_;  // the open windows, the one on top last
  std::map<int, QPixmap> pictures_;
  std::unique_ptr<DialogStyle> style_;
  int messagesShown_ = 0;
  const FileRequest* fileRequest_ = nullptr;
  std::span<const PrerenderedPicture> prerendered_;
};

}  // namespace lx::ui::qt
