#include "ui/qt/script_host.h"

#include <QtTest/qtestspontaneevent.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
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
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "ui/qt/widgets.h"

namespace lx::ui::qt {

namespace {

namespace fs = std::filesystem;

std::string S(const QString& s) { return s.toStdString(); }

bool NeedsControl(Verb v) {
  return v == Verb::Click || v == Verb::Select || v == Verb::Pick || v == Verb::Type || v == Verb::Focus ||
         v == Verb::Drag || v == Verb::Key;
}

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

QtScriptHost::QtScriptHost(const ResourceSet& resources, std::string appName)
    : host_(resources, std::move(appName)), fileBase_(fs::current_path()) {
  qApp->installEventFilter(this);
  host_.onCreated = [this](Dialog& d, QDialog& w) { record(OpenLine(d.templateId(), S(w.windowTitle()))); };
  host_.onShown = [this](Dialog& d, QDialog& w) { drive(d, w); };
  host_.onClosed = [this](Dialog& d, QDialog& w) {
    std::erase(stack_, &d);
    record(CloseLine(d.templateId(), S(w.windowTitle()), d.result()));
  };
}

QtScriptHost::~QtScriptHost() { qApp->removeEventFilter(this); }

void QtScriptHost::record(std::string line) {
  if (trace) trace(line);
}

void QtScriptHost::error(int line, const std::string& what) {
  ++errors_;
  record(ErrorLine(line, what));
}

void QtScriptHost::QueueScript(std::string_view script) {
  std::vector<std::string> errors;
  for (Action& a : ParseScript(script, &errors)) queue_.push_back(std::move(a));
  for (const std::string& e : errors) {
    ++errors_;
    record("error: " + e);
  }
}

void QtScriptHost::settle() { Drain(); }

std::vector<Snapshot> QtScriptHost::TakeSnapshot(const Dialog& dialog) const {
  std::vector<Snapshot> out;
  auto* window = dynamic_cast<DialogWindow*>(host_.windowOf(dialog));
  if (!window) return out;
  QWidget* focus = window->focusWidget();
  int focusIndex = focus ? window->indexOfWidget(focus) : -1;
  const auto& controls = dialog.controls();
  for (int i = 0; i < static_cast<int>(controls.size()); ++i) {
    const ControlState& c = controls[i];
    QWidget* w = window->widget(i);
    Snapshot s{
        c.id(), c.kind(), "", w->isEnabled(), !w->isHidden(), false, focusIndex == i && c.id() != kStaticId,
        -1,     0};
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
      s.text = S(e->text());
    } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
      s.text = S(cb->lineEdit() ? cb->lineEdit()->text() : cb->currentText());
      s.curSel = cb->currentIndex();
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      s.text = S(b->text());
      s.checked = b->isCheckable() && b->isChecked();
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
      s.text = S(g->title());
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
      s.text = S(l->text());
    } else if (auto* sl = qobject_cast<QSlider*>(w)) {
      s.pos = sl->value();
    }
    out.push_back(std::move(s));
  }
  return out;
}

// ---- The modal loops ------------------------------------------------------------------------

void QtScriptHost::drive(Dialog& dialog, QDialog& window) {
  stack_.push_back(&dialog);
  // Focus arrives only once the window is active.
  window.activateWindow();
  (void)QTest::qWaitForWindowActive(&window, 2000);
  settle();  // first display: the sliders paint
  while (!dialog.ended() && dialog.isOpen()) {
    if (queue_.empty()) {
      record(NoMoreActionsLine(S(window.windowTitle())));
      closeBox(dialog);
      settle();
      if (!dialog.ended()) dialog.EndDialog(kIdCancel);
      break;
    }
    Action next = std::move(queue_.front());
    queue_.pop_front();
    apply(next);
  }
}

void QtScriptHost::apply(const Action& a) {
  Dialog* d = stack_.empty() ? nullptr : stack_.back();
  if (a.verb == Verb::Call) {
    error(a.line, "function calls run on the headless host only");
  } else if (a.verb == Verb::File || a.verb == Verb::CancelFile) {
    error(a.line, script_error::kNoFileDialog);
  } else if (!d) {
    error(a.line, script_error::kNoWindow);
  } else if (NeedsControl(a.verb) && !d->find(a.id)) {
    error(a.line, script_error::NoControl(a.id, d->tpl().caption));
  } else {
    switch (a.verb) {
      case Verb::Click:
        click(*d, a.id);
        break;
      case Verb::Command:
        command(*d, a);
        break;
      case Verb::SysCommand:
        // Linux frames carry no system menu: only its close entry exists, as the close box.
        if (a.value == 0xF060)
          closeBox(*d);
        else
          error(a.line, script_error::NoSystemMenuEntry(a.value));
        break;
      case Verb::Select:
        select(*d, a.id, a.value);
        break;
      case Verb::Pick: {
        auto* cb = qobject_cast<QComboBox*>(host_.widgetOf(*d, a.id));
        int index = cb ? cb->findText(QString::fromStdString(a.text), Qt::MatchExactly) : -1;
        if (index < 0)
          error(a.line, script_error::NoListItem(a.text, a.id));
        else
          select(*d, a.id, index);
        break;
      }
      case Verb::Type:
        type(*d, a.id, a.text);
        break;
      case Verb::Focus:
        focus(*d, a.id);
        break;
      case Verb::Tab:
        pressKey(*d, Qt::Key_Tab);
        break;
      case Verb::BackTab:
        pressKey(*d, Qt::Key_Backtab, Qt::ShiftModifier);
        break;
      case Verb::Enter:
        pressKey(*d, Qt::Key_Return);
        break;
      case Verb::Escape:
        pressKey(*d, Qt::Key_Escape);
        break;
      case Verb::Close:
        closeBox(*d);
        break;
      case Verb::Drag:
        drag(*d, a.id, a.value);
        break;
      case Verb::Key:
        keySlider(*d, a.id, a.value);
        break;
      case Verb::Show:
        record(WindowLine(d->templateId(), S(host_.windowOf(*d)->windowTitle())));
        for (const Snapshot& s : TakeSnapshot(*d)) record(ControlLine(s));
        break;
      default:
        break;
    }
  }
  settle();
  if (afterAction) afterAction(a);
}

// ---- Real input -----------------------------------------------------------------------------

void QtScriptHost::click(Dialog& d, int id) {
  QWidget* w = host_.widgetOf(d, id);
  if (!w || w->isHidden()) return;  // nothing there to click
  if (d.at(id).kind() == Kind::Slider) {
    // A click on a slider's thumb releases it; `drag` to its own position says so. A plain
    // click takes the focus only.
    focus(d, id);
    return;
  }
  QWidget* target = w;
  if (auto* cb = qobject_cast<QComboBox*>(w); cb && cb->lineEdit()) target = cb->lineEdit();
  QTest::mouseClick(target, Qt::LeftButton, {}, ClickPoint(target));
}

void QtScriptHost::focus(Dialog& d, int id) {
  QWidget* w = host_.widgetOf(d, id);
  if (!w || w->isHidden()) return;
  const ControlState& c = d.at(id);
  switch (c.kind()) {
    case Kind::Edit:
    case Kind::ComboBox:
      click(d, id);  // a click into a box only puts the focus there
      break;
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

void QtScriptHost::command(Dialog& d, const Action& a) {
  QDialog* window = host_.windowOf(d);
  QMenuBar* bar = window ? window->findChild<QMenuBar*>() : nullptr;
  QMenu* popup = nullptr;
  QAction* item = nullptr;
  if (bar) {
    for (QAction* top : bar->actions()) {
      if (!top->menu()) continue;
      for (QAction* entry : top->menu()->actions())
        if (entry->data().isValid() && entry->data().toInt() == a.id) {
          popup = top->menu();
          item = entry;
        }
      if (item) break;
    }
  }
  if (!item) {
    error(a.line, script_error::NoMenuCommand(a.id, d.tpl().caption));
    return;
  }
  // Open the menu-bar entry, then click the item in the menu that drops down.
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(popup->menuAction()).center());
  for (int i = 0; i < 100 && !popup->isVisible(); ++i) QTest::qWait(5);
  if (!popup->isVisible())
    popup->popup(bar->mapToGlobal(bar->actionGeometry(popup->menuAction()).bottomLeft()));
  (void)QTest::qWaitForWindowExposed(popup, 1000);
  QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(item).center());
}

void QtScriptHost::select(Dialog& d, int id, int index) {
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

void QtScriptHost::type(Dialog& d, int id, const std::string& text) {
  QWidget* w = host_.widgetOf(d, id);
  QLineEdit* edit = qobject_cast<QLineEdit*>(w);
  if (auto* cb = qobject_cast<QComboBox*>(w)) edit = cb->lineEdit();
  if (!edit || w->isHidden() || !w->isEnabled()) return;
  click(d, id);
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
    char latin = chars.at(i).unicode() < 0x80 ? static_cast<char>(chars.at(i).unicode()) : 0;
    Qt::Key key = latin ? QTest::asciiToKey(latin) : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Click, edit, key, one, Qt::NoModifier);
  }
}

void QtScriptHost::pressKey(Dialog& d, int key, Qt::KeyboardModifiers modifiers) {
  QDialog* window = host_.windowOf(d);
  if (!window) return;
  // Through the window system, to whichever control has the focus (or the window itself).
  QTest::keyClick(window->windowHandle(), static_cast<Qt::Key>(key), modifiers);
}

void QtScriptHost::closeBox(Dialog& d) {
  QDialog* window = host_.windowOf(d);
  if (!window) return;
  // What the window manager sends when the close box is clicked.
  QCloseEvent event;
  QSpontaneKeyEvent::setSpontaneous(&event);
  QCoreApplication::sendEvent(window->windowHandle(), &event);
}

void QtScriptHost::drag(Dialog& d, int id, int pos) {
  auto* slider = dynamic_cast<SliderWidget*>(host_.widgetOf(d, id));
  if (!slider || slider->isHidden() || !slider->isEnabled()) return;
  int target = std::clamp(pos, slider->minimum(), std::max(slider->minimum(), slider->maximum()));
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
    settle();  // the move is painted while the button is still down
  }
  QTest::mouseRelease(slider, Qt::LeftButton, {}, along);
}

void QtScriptHost::keySlider(Dialog& d, int id, int pos) {
  auto* slider = dynamic_cast<SliderWidget*>(host_.widgetOf(d, id));
  if (!slider || slider->isHidden() || !slider->isEnabled()) return;
  int target = std::clamp(pos, slider->minimum(), std::max(slider->minimum(), slider->maximum()));
  if (slider->value() == target) {
    d.UserFocus(id);  // nothing to move: the focus comes as by Tab
    return;
  }
  // Page keys for whole pages, arrow keys for the rest; each moves the thumb and the focus.
  // Which key raises the position depends on the orientation and the inverted controls: a key
  // that moved the wrong way (or not at all) is swapped for its opposite once.
  bool swapped = false;
  for (int guard = 0; guard < 10000 && slider->value() != target && d.isOpen() && !d.ended(); ++guard) {
    int before = slider->value();
    bool up = target > before;
    bool page = std::abs(target - before) >= slider->pageStep();
    bool raiseKey = up != swapped;
    Qt::Key key =
        page ? (raiseKey ? Qt::Key_PageUp : Qt::Key_PageDown) : (raiseKey ? Qt::Key_Right : Qt::Key_Left);
    if (slider->orientation() == Qt::Vertical && !page) key = raiseKey ? Qt::Key_Up : Qt::Key_Down;
    QTest::keyClick(slider, key);
    int after = slider->value();
    if ((after > before) != up || after == before) {
      if (swapped) break;  // the keys reach no further
      swapped = true;
    }
  }
}

// ---- Message boxes and file dialogs ---------------------------------------------------------

bool QtScriptHost::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    if (auto* box = qobject_cast<QMessageBox*>(watched)) {
      QPointer<QMessageBox> p(box);
      QTimer::singleShot(0, box, [this, p] {
        if (p) answerMessage(p);
      });
    } else if (auto* files = qobject_cast<QFileDialog*>(watched)) {
      QPointer<QFileDialog> p(files);
      QTimer::singleShot(0, files, [this, p] {
        if (p) answerFile(p);
      });
    }
  }
  return false;
}

void QtScriptHost::answerMessage(QMessageBox* box) {
  QWidget* owner = box->parentWidget();
  Dialog* d = owner ? host_.dialogOf(owner) : nullptr;
  record(MessageLine(S(box->windowTitle()), S(box->text()), owner ? S(owner->windowTitle()) : std::string()));
  if (d)
    for (const Snapshot& s : TakeSnapshot(*d)) record(ControlLine(s));
  QAbstractButton* ok = box->button(QMessageBox::Ok);
  (void)QTest::qWaitForWindowExposed(box, 1000);
  QPointer<QMessageBox> open(box);
  if (ok) QTest::mouseClick(ok, Qt::LeftButton);
  if (open && open->isVisible()) open->accept();  // the click did not arrive: the run must go on
}

void QtScriptHost::answerFile(QFileDialog* dialog) {
  const FileRequest* request = host_.openFileRequest();
  FileRequest shown = request ? *request : FileRequest{};
  auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  shown.save = dialog->acceptMode() == QFileDialog::AcceptSave;
  if (name) shown.proposedName = S(name->text());
  std::string folder = S(QDir::toNativeSeparators(dialog->directory().absolutePath()));
  std::string head = FileDialogLine(shown.save, shown.proposedName, shown.filter, folder);
  auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  auto cancel = [&] {
    QAbstractButton* b = buttons ? buttons->button(QDialogButtonBox::Cancel) : nullptr;
    if (b)
      QTest::mouseClick(b, Qt::LeftButton);
    else
      dialog->reject();
  };
  FileDialogRecord rec{shown, std::nullopt};
  if (queue_.empty() || (queue_.front().verb != Verb::File && queue_.front().verb != Verb::CancelFile)) {
    error(queue_.empty() ? 0 : queue_.front().line, NotAnAnswerError(head));
    fileDialogs_.push_back(rec);
    cancel();
    return;
  }
  Action answer = std::move(queue_.front());
  queue_.pop_front();
  if (answer.verb == Verb::CancelFile) {
    record(FileAnswerLine(head, nullptr));
    fileDialogs_.push_back(rec);
    cancel();
    return;
  }
  fs::path p(answer.text);
  if (p.is_relative()) p = fileBase_ / p;
  rec.answer = p.lexically_normal().string();
  record(FileAnswerLine(head, &*rec.answer));
  fileDialogs_.push_back(rec);
  if (!name) {
    dialog->selectFile(QString::fromStdString(*rec.answer));
    static_cast<QDialog*>(dialog)->accept();
    return;
  }
  // Typed into the name box (set on it should typing not arrive whole), then Enter.
  (void)QTest::qWaitForWindowExposed(dialog, 1000);
  QString typed = QString::fromStdString(*rec.answer);
  name->selectAll();
  for (QChar c : typed) {
    char latin = c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : 0;
    QTest::sendKeyEvent(QTest::Click, name, latin ? QTest::asciiToKey(latin) : Qt::Key_unknown, QString(c),
                        Qt::NoModifier);
  }
  if (name->text() != typed) name->setText(typed);
  if (name->completer() && name->completer()->popup()) name->completer()->popup()->hide();
  QPointer<QFileDialog> open(dialog);
  QTest::keyClick(name, Qt::Key_Return);
  if (open && open->isVisible()) {
    // A folder's name opens the folder instead: the dialog keeps waiting for a file.
    error(answer.line, FolderAnswerError(head));
    fileDialogs_.back().answer.reset();
    cancel();
  }
}

}  // namespace lx::ui::qt
