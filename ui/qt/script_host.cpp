#include "ui/qt/script_host.h"

#include <QtTest/qtestspontaneevent.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <algorithm>

#include "ui/qt/keys.h"
#include "ui/qt/widgets.h"

namespace lx::ui::qt {

namespace {

namespace fs = std::filesystem;

std::string S(const QString& s) { return s.toStdString(); }

// Where a user clicks a control: inside the part that takes the click (a radio button's
// indicator and text, not the blank to their right).
QPoint ClickPoint(const QWidget* w) {
  if (qobject_cast<const QRadioButton*>(w) || qobject_cast<const QCheckBox*>(w))
    return QPoint(std::min(8, w->width() / 2), w->height() / 2);
  return w->rect().center();
}

// Lets everything already posted run: paints, the notifications they post, deferred releases.
void Drain() {
  for (int round = 0; round < 4; ++round) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

}  // namespace

QtScriptHost::QtScriptHost(const ResourceSet& resources, std::string appName) : host_(resources, std::move(appName)) {
  qApp->installEventFilter(this);
  host_.onCreated = [this](Dialog& d, QDialog& w) { Record(OpenLine(d.templateId(), S(w.windowTitle()))); };
  host_.onShown = [this](Dialog& d, QDialog& w) { Drive(d, w); };
  host_.onCopied = [this] { Record(ClipboardLine(S(QGuiApplication::clipboard()->text()))); };
  host_.onClosed = [this](Dialog& d, QDialog& w) {
    std::erase(stack_, &d);
    Record(CloseLine(d.templateId(), S(w.windowTitle()), d.result()));
  };
}

QtScriptHost::~QtScriptHost() { qApp->removeEventFilter(this); }

std::string QtScriptHost::CaptionOf(const Dialog& dialog) const {
  QDialog* window = host_.windowOf(dialog);
  return window ? S(window->windowTitle()) : std::string();
}

std::vector<Snapshot> QtScriptHost::SnapshotOf(const Dialog& dialog) const {
  std::vector<Snapshot> out;
  auto* window = dynamic_cast<DialogWindow*>(host_.windowOf(dialog));
  if (!window) return out;
  QWidget* focus = window->focusWidget();
  int focusIndex = focus ? window->indexOfWidget(focus) : -1;
  // The menu bar holds the keys in its keyboard mode; the control keeps the focus it had.
  if (qobject_cast<QMenuBar*>(focus)) focusIndex = dialog.indexOf(dialog.focusId());
  const auto& controls = dialog.controls();
  for (int i = 0; i < static_cast<int>(controls.size()); ++i) {
    const ControlState& c = controls[i];
    QWidget* w = window->widget(i);
    Snapshot s{
        c.id(), c.kind(), "", w->isEnabled(), !w->isHidden(), false, focusIndex == i && c.id() != kStaticId,
        -1,     0};
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
      s.text = S(e->text());
    } else if (auto* page = qobject_cast<QPlainTextEdit*>(w)) {
      s.text = S(page->toPlainText());
    } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
      s.text = S(cb->lineEdit() ? cb->lineEdit()->text() : cb->currentText());
      s.curSel = cb->currentIndex();
      if (auto* combo = dynamic_cast<ComboWidget*>(cb)) s.dropped = combo->dropped();
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      s.text = S(b->text());
      s.checked = b->isCheckable() && b->isChecked();
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
      s.text = S(g->title());
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
      s.text = S(l->text());
    } else if (auto* sl = qobject_cast<QSlider*>(w)) {
      s.pos = sl->value();
    } else if (dynamic_cast<PlotWidget*>(w)) {
      s.text = PlotText(c);  // the items it paints
    }
    out.push_back(std::move(s));
  }
  return out;
}

std::string QtScriptHost::MenuStateOf(const Dialog& dialog) const {
  QDialog* window = host_.windowOf(dialog);
  QMenuBar* bar = window ? window->findChild<QMenuBar*>() : nullptr;
  QAction* title = bar ? bar->activeAction() : nullptr;
  if (!title) return {};
  QMenu* menu = title->menu();
  QAction* item = menu && menu->isVisible() ? menu->activeAction() : nullptr;
  if (menu && menu->isVisible() && !item) item = menu->actions().value(0);
  return MenuLine(S(title->text()), item ? S(item->text()) : std::string());
}

// ---- The modal loops ------------------------------------------------------------------------

void QtScriptHost::Drive(Dialog& dialog, QDialog& window) {
  stack_.push_back(&dialog);
  // Focus arrives only once the window is active.
  window.activateWindow();
  (void)QTest::qWaitForWindowActive(&window, 2000);
  Drain();  // first display: the sliders paint
  RunActions(dialog, [this](const Action& a) { Apply(a); }, Drain);
}

void QtScriptHost::Apply(const Action& a) {
  Play(a, stack_.empty() ? nullptr : stack_.back());
  Drain();
  if (afterAction) afterAction(a);
}

bool QtScriptHost::HasMenuCommand(const Dialog& d, int command) const {
  QDialog* window = host_.windowOf(d);
  QMenuBar* bar = window ? window->findChild<QMenuBar*>() : nullptr;
  if (!bar) return false;
  for (QAction* top : bar->actions())
    if (top->menu())
      for (QAction* entry : top->menu()->actions())
        if (entry->data().isValid() && entry->data().toInt() == command) return true;
  return false;
}

int QtScriptHost::FindListItem(const Dialog& d, int id, const std::string& text) const {
  auto* cb = qobject_cast<QComboBox*>(host_.widgetOf(d, id));
  return cb ? cb->findText(QString::fromStdString(text), Qt::MatchExactly) : -1;
}

// ---- Real input -----------------------------------------------------------------------------

void QtScriptHost::Click(Dialog& d, int id) {
  QWidget* w = host_.widgetOf(d, id);
  if (!w || w->isHidden()) return;  // nothing there to click
  if (d.at(id).kind() == Kind::Slider) {
    // A click on a slider's thumb releases it; `drag` to its own position says so. A plain
    // click takes the focus only.
    Focus(d, id);
    return;
  }
  QWidget* target = w;
  if (auto* cb = qobject_cast<QComboBox*>(w); cb && cb->lineEdit()) target = cb->lineEdit();
  QTest::mouseClick(target, Qt::LeftButton, {}, ClickPoint(target));
}

void QtScriptHost::Focus(Dialog& d, int id) {
  QWidget* w = host_.widgetOf(d, id);
  if (!w || w->isHidden()) return;
  const ControlState& c = d.at(id);
  switch (c.kind()) {
    case Kind::Edit:
    case Kind::ComboBox: {
      Click(d, id);  // a click into a box only puts the focus there
      // The dialog's own focus move, as Tab makes it: the whole text selected.
      QLineEdit* edit = qobject_cast<QLineEdit*>(w);
      if (auto* cb = qobject_cast<QComboBox*>(w)) edit = cb->lineEdit();
      if (edit && edit->hasFocus()) edit->selectAll();
      break;
    }
    case Kind::Slider:
      // Any press on a slider moves or releases its thumb; the focus comes as by Tab.
      d.UserFocus(id);
      break;
    default: {
      // Pressed, then the mouse leaves before the release: the focus moves, nothing is clicked.
      QPoint inside = ClickPoint(w);
      QPoint outside(-w->width(), -w->height());
      QTest::mousePress(w, Qt::LeftButton, {}, inside);
      QTest::mouseMove(w, outside);
      QTest::mouseRelease(w, Qt::LeftButton, {}, outside);
      break;
    }
  }
}

void QtScriptHost::MenuCommand(Dialog& d, int command) {
  QDialog* window = host_.windowOf(d);
  QMenuBar* bar = window ? window->findChild<QMenuBar*>() : nullptr;
  QMenu* popup = nullptr;
  QAction* item = nullptr;
  for (QAction* top : bar ? bar->actions() : QList<QAction*>()) {
    if (!top->menu()) continue;
    for (QAction* entry : top->menu()->actions())
      if (entry->data().isValid() && entry->data().toInt() == command) {
        popup = top->menu();
        item = entry;
      }
    if (item) break;
  }
  if (!item) return;
  // Open the menu-bar entry, then click the item in the menu that drops down.
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(popup->menuAction()).center());
  for (int i = 0; i < 100 && !popup->isVisible(); ++i) QTest::qWait(5);
  if (!popup->isVisible())
    popup->popup(bar->mapToGlobal(bar->actionGeometry(popup->menuAction()).bottomLeft()));
  (void)QTest::qWaitForWindowExposed(popup, 1000);
  QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(item).center());
}

void QtScriptHost::Select(Dialog& d, int id, int index) {
  auto* cb = qobject_cast<QComboBox*>(host_.widgetOf(d, id));
  if (!cb || cb->isHidden() || !cb->isEnabled() || index < 0 || index >= cb->count()) return;
  // The list drops down from its arrow; the item is clicked in it.
  QRect arrow(cb->width() - cb->height(), 0, cb->height(), cb->height());
  QTest::mouseClick(cb, Qt::LeftButton, {}, arrow.center());
  QAbstractItemView* view = cb->view();
  for (int i = 0; i < 100 && !view->isVisible(); ++i) QTest::qWait(5);
  if (!view->isVisible()) cb->showPopup();
  (void)QTest::qWaitForWindowExposed(view->window(), 1000);
  QModelIndex item = view->model()->index(index, cb->modelColumn(), view->rootIndex());
  view->scrollTo(item);
  // An open list ignores a release that follows its opening within a double-click time (under
  // a window manager the first opening can take longer): click again while it stays open.
  for (int attempt = 0; attempt < 4 && view->isVisible(); ++attempt) {
    QTest::qWait(QApplication::doubleClickInterval() + 20);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
  }
}

void QtScriptHost::Type(Dialog& d, int id, const std::string& text) {
  QWidget* w = host_.widgetOf(d, id);
  QLineEdit* edit = qobject_cast<QLineEdit*>(w);
  if (auto* cb = qobject_cast<QComboBox*>(w)) edit = cb->lineEdit();
  if (!edit || w->isHidden() || !w->isEnabled()) return;
  Click(d, id);
  if (d.ended() || !d.isOpen()) return;
  // Select all, then type; an empty text deletes the selection.
  QPointer<QLineEdit> target(edit);
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  if (text.empty()) {
    if (target) QTest::keyClick(edit, Qt::Key_Delete);
    return;
  }
  const QString chars = QString::fromStdString(text);
  for (int i = 0; i < chars.size() && target; ++i) {
    QString one(chars.at(i));
    if (chars.at(i).isHighSurrogate() && i + 1 < chars.size()) one += chars.at(++i);
    char latin = chars.at(i).unicode() < 0x80 ? static_cast<char>(chars.at(i).unicode()) : '\0';
    Qt::Key key = latin ? QTest::asciiToKey(latin) : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Click, edit, key, one, Qt::NoModifier);
  }
}

void QtScriptHost::Press(Dialog& d, Key key, const std::string& character) {
  QDialog* window = host_.windowOf(d);
  if (!window) return;
  // Through the window system, to whichever control has the focus (or the window itself).
  QWindow* to = window->windowHandle();
  if (key == Key::Alt) {
    // Pressed and released alone, as the window system reports it: Alt held while it goes down.
    QTest::sendKeyEvent(QTest::Press, to, Qt::Key_Alt, QString(), Qt::AltModifier);
    QTest::sendKeyEvent(QTest::Release, to, Qt::Key_Alt, QString(), Qt::AltModifier);
    return;
  }
  if (const std::optional<NativeKey> native = NativeKeyOf(key))
    return QTest::keyClick(to, native->key, native->modifiers);
  const QString text = QString::fromStdString(character);
  const char latin = text.size() == 1 && text.at(0).unicode() < 0x80 ? static_cast<char>(text.at(0).unicode()) : '\0';
  QTest::sendKeyEvent(QTest::Click, to, latin ? QTest::asciiToKey(latin) : Qt::Key_unknown, text,
                      Qt::NoModifier);
}

void QtScriptHost::DropFile(Dialog& d, const std::string& path) {
  QDialog* window = host_.windowOf(d);
  if (!window) return;
  // What the window system delivers when a file manager's file is dragged in and released.
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  const QPoint at = window->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window, &enter);
  if (!enter.isAccepted()) return;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window, &drop);
}

void QtScriptHost::CloseBox(Dialog& d) {
  QDialog* window = host_.windowOf(d);
  if (!window) return;
  // What the window manager sends when the close box is clicked.
  QCloseEvent event;
  QSpontaneKeyEvent::setSpontaneous(&event);
  QCoreApplication::sendEvent(window->windowHandle(), &event);
}

namespace {
// A slider the mouse and keys can reach, else nullptr.
SliderWidget* Reachable(QWidget* w) {
  auto* slider = dynamic_cast<SliderWidget*>(w);
  return slider && !slider->isHidden() && slider->isEnabled() ? slider : nullptr;
}
}  // namespace

void QtScriptHost::Drag(Dialog& d, int id, int pos) {
  SliderWidget* slider = Reachable(host_.widgetOf(d, id));
  if (!slider) return;
  const int target = SliderStop(pos, slider->minimum(), slider->maximum());
  QPoint press = slider->thumbRect().center();
  QTest::mousePress(slider, Qt::LeftButton, {}, press);
  if (d.ended() || !d.isOpen()) return;
  QPoint along = press + (slider->pointFor(target) - slider->pointFor(slider->value()));
  if (target != slider->value()) {
    QTest::mouseMove(slider, along);
    // The thumb follows whole pixels: step on until it sits on the position.
    bool horizontal = slider->orientation() == Qt::Horizontal;
    QPoint low = slider->pointFor(slider->minimum()), high = slider->pointFor(slider->maximum());
    int raise = (horizontal ? high.x() - low.x() : high.y() - low.y()) >= 0 ? 1 : -1;
    for (int nudge = 0; nudge < 8 && slider->value() != target; ++nudge) {
      int step = slider->value() < target ? raise : -raise;
      along += horizontal ? QPoint(step, 0) : QPoint(0, step);
      QTest::mouseMove(slider, along);
    }
    Drain();  // the move is painted while the button is still down
  }
  QTest::mouseRelease(slider, Qt::LeftButton, {}, along);
}

void QtScriptHost::KeySlider(Dialog& d, int id, int pos) {
  SliderWidget* slider = Reachable(host_.widgetOf(d, id));
  if (!slider) return;
  const int target = SliderStop(pos, slider->minimum(), slider->maximum());
  if (slider->value() == target) {
    d.UserFocus(id);  // nothing to move: the focus comes as by Tab
    return;
  }
  // Page keys for whole pages, arrow keys for the rest; each moves the thumb and the focus.
  // PageUp and Left lower a trackbar's position, PageDown and Right raise it.
  for (int guard = 0; guard < 10000 && slider->value() != target && d.isOpen() && !d.ended(); ++guard) {
    const int before = slider->value();
    const bool up = target > before;
    const bool page = std::abs(target - before) >= slider->pageStep();
    QTest::keyClick(slider, page ? (up ? Qt::Key_PageDown : Qt::Key_PageUp) : (up ? Qt::Key_Right : Qt::Key_Left));
    if (slider->value() == before) break;  // the keys reach no further
  }
}

// ---- Message boxes and file dialogs ---------------------------------------------------------

bool QtScriptHost::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    if (auto* box = qobject_cast<QMessageBox*>(watched)) {
      QPointer<QMessageBox> p(box);
      QTimer::singleShot(0, box, [this, p] {
        if (p) AnswerMessage(p);
      });
    } else if (auto* files = qobject_cast<QFileDialog*>(watched)) {
      QPointer<QFileDialog> p(files);
      QTimer::singleShot(0, files, [this, p] {
        if (p) AnswerFile(p);
      });
    }
  }
  return false;
}

void QtScriptHost::AnswerMessage(QMessageBox* box) {
  QWidget* owner = box->parentWidget();
  Dialog* d = owner ? host_.dialogOf(owner) : nullptr;
  RecordMessage(S(box->windowTitle()), S(box->text()), d, owner ? S(owner->windowTitle()) : std::string());
  QAbstractButton* ok = box->button(QMessageBox::Ok);
  (void)QTest::qWaitForWindowExposed(box, 1000);
  QPointer<QMessageBox> open(box);
  if (ok) QTest::mouseClick(ok, Qt::LeftButton);
  if (open && open->isVisible()) open->accept();  // the click did not arrive: the run must go on
}

void QtScriptHost::AnswerFile(QFileDialog* dialog) {
  const FileRequest* request = host_.openFileRequest();
  FileRequest shown = request ? *request : FileRequest{};
  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  shown.save = dialog->acceptMode() == QFileDialog::AcceptSave;
  if (name) shown.proposedName = S(name->text());
  auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  auto cancel = [&] {
    QAbstractButton* b = buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr;
    if (b)
      QTest::mouseClick(b, Qt::LeftButton);
    else
      dialog->reject();
  };
  const FileAnswer answer =
      AnswerFileDialog(shown, S(QDir::toNativeSeparators(dialog->directory().absolutePath())));
  if (answer.outcome != FileAnswer::Chosen) return cancel();
  const QString typed = QString::fromStdString(answer.path);
  if (!name) {
    dialog->selectFile(typed);
    static_cast<QDialog*>(dialog)->accept();
    return;
  }
  // Typed into the name box (set on it should typing not arrive whole), then Enter.
  (void)QTest::qWaitForWindowExposed(dialog, 1000);
  name->selectAll();
  for (QChar c : typed) {
    char latin = c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '\0';
    QTest::sendKeyEvent(QTest::Click, name, latin ? QTest::asciiToKey(latin) : Qt::Key_unknown, QString(c),
                        Qt::NoModifier);
  }
  if (name->text() != typed) name->setText(typed);
  if (name->completer() && name->completer()->popup()) name->completer()->popup()->hide();
  QPointer<QFileDialog> open(dialog);
  QTest::keyClick(name, Qt::Key_Return);
  if (open && open->isVisible()) {
    // A folder's name opens the folder instead: the dialog keeps waiting for a file.
    FolderAnswered(answer);
    cancel();
  }
}

}  // namespace lx::ui::qt
