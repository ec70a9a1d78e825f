// A dialog's window taking the user's input: the dialog keys, the control keys the model takes,
// presses that move the focus first, dropped files and the close box.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>

#include "ui/qt/keys.h"
#include "ui/qt/widgets.h"

namespace lx::ui::qt {

void DialogWindow::enterMenuBar() {
  if (!menuBar_ || !menuBar_->isVisible()) return;
  // F10 does what Alt pressed and released alone does: the menu bar highlights its first
  // title, without opening it, and takes the keys.
  for (QEvent::Type type : {QEvent::ShortcutOverride, QEvent::KeyPress, QEvent::KeyRelease}) {
    QKeyEvent alt(type, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(this, &alt);
  }
}

bool DialogWindow::dialogKey(QKeyEvent* event) {
  if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) return false;
  switch (event->key()) {
    case Qt::Key_F10:
      if (event->modifiers() != Qt::NoModifier || !menuBar_) return false;
      enterMenuBar();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      dialog_.UserEnter();
      return true;
    case Qt::Key_Escape:
      dialog_.UserEscape();
      return true;
    case Qt::Key_Tab:
      dialog_.UserTab(event->modifiers() & Qt::ShiftModifier);
      return true;
    case Qt::Key_Backtab:
      dialog_.UserTab(true);
      return true;
    default:
      return false;
  }
}

bool DialogWindow::controlKey(QWidget* target, QKeyEvent* event) {
  // The keys the platform's controls take their own way go to the dialog's model of them: a
  // trackbar's keys and page, a closed list's arrows, Space and the arrows on buttons (group
  // moves). Text editing stays with the line edits, which follow the platform but for one key.
  const std::optional<Key> key = ModelKeyOf(event->key(), event->modifiers());
  const int index = indexOfWidget(target);
  // Tab, Enter, Escape and the menu bar's keys are the dialog's (dialogKey), never a control's.
  if (!key || index < 0 || *key == Key::Tab || *key == Key::BackTab || *key == Key::Enter ||
      *key == Key::Escape || *key == Key::Alt || *key == Key::F10)
    return false;
  const ControlState& c = dialog_.controls()[index];
  switch (c.kind()) {
    case Kind::Edit:
    case Kind::ComboBox: {
      // A list's line and page keys, its opening keys, and every key while it is open.
      if (c.kind() == Kind::ComboBox &&
          (c.dropped || *key == Key::Up || *key == Key::Down || *key == Key::PageUp ||
           *key == Key::PageDown || *key == Key::F4 || *key == Key::AltDown || *key == Key::AltUp))
        break;
      // Left from a selection goes one character back from the caret, not to the selection's start.
      auto* edit = qobject_cast<QLineEdit*>(target);
      if (!edit || *key != Key::Left || !edit->hasSelectedText()) return false;
      edit->setCursorPosition(std::max(0, edit->cursorPosition() - 1));
      return true;
    }
    case Kind::Slider:
      if (*key == Key::Space) return false;
      break;
    case Kind::PushButton:
    case Kind::PictureButton:
    case Kind::RadioButton:
    case Kind::CheckBox:
      break;
    default:
      return false;
  }
  // The key goes to the control that has Qt's focus, which the dialog then holds too.
  if (dialog_.focusId() != c.id()) dialog_.UserFocus(c.id(), Dialog::FocusBy::Keyboard);
  if (dialog_.focusId() == c.id()) dialog_.UserKey(*key);
  return true;
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
  // Reached when no control has the focus (the main window right after start-up).
  // Not QDialog's: it would close the window itself.
  if (!dialogKey(event)) QWidget::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call)
}

bool DialogWindow::focusNextPrevChild(bool next) {
  dialog_.UserTab(!next);
  return true;
}

bool DialogWindow::mousePress(QWidget* target, int index) {
  const ControlState& c = dialog_.controls()[index];
  if (!c.enabled || !c.visible || !c.takesFocusOnClick() || dialog_.focusId() == c.id()) return false;
  // The focus moves first; a message box shown meanwhile (a refused box) takes the click.
  int before = host_.messagesShown();
  dialog_.UserFocus(c.id());
  if (host_.messagesShown() == before && !dialog_.ended() && dialog_.isOpen()) return false;
  swallowing_ = target;
  return true;
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType() || !dialog_.isOpen()) return false;
  auto* target = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
      int index = indexOfWidget(target);
      return index >= 0 && mousePress(target, index);
    }
    case QEvent::MouseMove:
      return swallowing_ == target;
    case QEvent::MouseButtonRelease:
      if (swallowing_ != target) return false;
      swallowing_ = nullptr;
      return true;
    case QEvent::ShortcutOverride: {
      // An open list's own popup would act on Enter, Escape, F4 and Alt+arrows as they come in
      // as shortcuts: they come as key presses instead, and so to the dialog's model.
      const int index = indexOfWidget(target);
      if (index < 0 || !dialog_.controls()[index].dropped) return false;
      event->accept();
      return true;
    }
    case QEvent::KeyPress:
      return dialogKey(static_cast<QKeyEvent*>(event)) || controlKey(target, static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
      // Space clicked the button as it went down (the model's click); its release does nothing more.
      return static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && !qobject_cast<QLineEdit*>(target);
    default:
      return false;
  }
}

namespace {
// The first local file a drag carries, or an empty text.
QString DraggedFile(const QMimeData* data) {
  if (!data) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}
}  // namespace

void DialogWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (dialog_.tpl().acceptFiles && !DraggedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void DialogWindow::dropEvent(QDropEvent* event) {
  const QString file = DraggedFile(event->mimeData());
  if (file.isEmpty()) return;
  event->acceptProposedAction();
  dialog_.UserDrop(file.toStdString());
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  if (dialog_.ended() || !dialog_.isOpen()) {
    event->accept();
    return;
  }
  event->ignore();
  dialog_.UserClose();
}

void DialogWindow::reject() {
  if (dialog_.ended() || !dialog_.isOpen())
    QDialog::reject();
  else
    dialog_.UserEscape();
}

}  // namespace lx::ui::qt