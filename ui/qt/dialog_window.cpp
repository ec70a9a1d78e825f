// A dialog's window: its widgets made from the template, placed and kept in step with the model.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVBoxLayout>
#include <map>

#include "ui/qt/widgets.h"

namespace lx::ui::qt {

// ---- DialogWindow ---------------------------------------------------------------------------

Qt::WindowFlags FrameFlags(const DialogTemplate& tpl) {
  // A window with a minimise box is an application's main window: a dialog frame would lose
  // the box under window managers that give dialogs none.
  Qt::WindowFlags flags = (tpl.minimizeBox ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint;
  if (tpl.minimizeBox) flags |= Qt::WindowMinimizeButtonHint;
  return flags;
}

DialogWindow::DialogWindow(Dialog& dialog, QtHost& host)
    : QDialog(nullptr), dialog_(dialog), host_(host), units_(UnitsOf(DialogFont(dialog.tpl()))) {
  const DialogTemplate& tpl = dialog.tpl();
  setWindowFlags(FrameFlags(tpl));
  setWindowTitle(QString::fromUtf8(tpl.caption));
  setAcceptDrops(tpl.acceptFiles);
  setFont(DialogFont(tpl));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a modal frame: no resizing
  client_ = new ClientArea(dialog, host, this);
  client_->setFixedSize(ClientSize(tpl));
  layout->addWidget(client_);

  for (size_t i = 0; i < dialog.controls().size(); ++i) widgets_.push_back(make(static_cast<int>(i)));
  // Group boxes frame the controls placed on them: keep them underneath.
  for (size_t i = 0; i < widgets_.size(); ++i)
    if (dialog.controls()[i].kind() == Kind::GroupBox) widgets_[i]->lower();
  // The focus and the dialog keys go through the dialog (see the class comment).
  for (QWidget* w : widgets_) {
    w->setStyle(host_.style());
    w->setFocusPolicy(Qt::NoFocus);
    w->installEventFilter(this);
    for (QWidget* part : w->findChildren<QWidget*>()) {
      part->setStyle(host_.style());
      part->setFocusPolicy(Qt::NoFocus);
      part->installEventFilter(this);
    }
  }
  for (size_t i = 0; i < widgets_.size(); ++i) fitText(static_cast<int>(i));
  fixSize();
}

void DialogWindow::fixSize() {
  if (layout()) layout()->activate();
  setFixedSize(sizeHint());
}

QRect DialogWindow::templateRect(int index) const {
  const ControlTemplate& t = *dialog_.controls()[index].tpl;
  QRect r = units_.rect(t.x, t.y, t.cx, t.cy);
  if (t.kind == Kind::ComboBox || t.kind == Kind::Icon || t.kind == Kind::PictureButton)
    r = widgets_[index]->geometry();  // shown closed / at its picture's size
  return r;
}

namespace {
// The width a one-line label, radio button or check box needs to show its text whole; -1 for
// other controls.
int TextWidth(const QWidget* w) {
  if (auto* l = qobject_cast<const QLabel*>(w)) {
    if (l->wordWrap() || !l->pixmap().isNull()) return -1;  // a wrapping label or a picture keeps its box
    QMargins m = l->contentsMargins();
    return m.left() + l->fontMetrics().horizontalAdvance(l->text()) + m.right() + 2 * l->margin();
  }
  const auto* b = qobject_cast<const QAbstractButton*>(w);
  if (!b) return -1;
  QStyle::SubElement contents;
  if (qobject_cast<const QRadioButton*>(b))
    contents = QStyle::SE_RadioButtonContents;
  else if (qobject_cast<const QCheckBox*>(b))
    contents = QStyle::SE_CheckBoxContents;
  else
    return -1;
  QStyleOptionButton opt;
  opt.initFrom(b);
  opt.text = b->text();
  QRect text = b->style()->subElementRect(contents, &opt, b);
  return b->width() - text.width() + b->fontMetrics().horizontalAdvance(b->text());
}
}  // namespace

void DialogWindow::fitText(int index) {
  // A one-line text wider than its box may run on to the right over free space, as far as the
  // next control, the frame of the group it sits in or the window's edge; it is never cut
  // where there is room to show it.
  QWidget* w = widget(index);
  if (!w) return;
  Kind kind = dialog_.controls()[index].kind();
  if (kind != Kind::Label && kind != Kind::RadioButton && kind != Kind::CheckBox) return;
  QRect r = templateRect(index);
  w->setGeometry(r);
  int need = TextWidth(w);
  if (need <= r.width()) return;
  constexpr int kGap = 2;                  // pixels kept free before a neighbour, a frame line or the edge
  int last = client_->width() - 1 - kGap;  // the last column the text may take
  for (size_t j = 0; j < widgets_.size(); ++j) {
    if (static_cast<int>(j) == index) continue;
    QRect o = templateRect(static_cast<int>(j));
    if (o.bottom() < r.top() || o.top() > r.bottom()) continue;  // not on the same lines
    bool group = dialog_.controls()[j].kind() == Kind::GroupBox;
    if (group && o.contains(r))
      last = std::min(last, o.right() - 1 - kGap);  // its frame line is one pixel wide
    else if (o.left() > r.left())
      last = std::min(last, o.left() - 1 - kGap);
  }
  w->setGeometry(r.x(), r.y(), std::max(r.width(), std::min(need, last - r.x() + 1)), r.height());
}

int DialogWindow::indexOfWidget(const QWidget* w) const {
  for (; w; w = w->parentWidget()) {
    if (w == this || w == client_) return -1;
    for (size_t i = 0; i < widgets_.size(); ++i)
      if (widgets_[i] == w) return static_cast<int>(i);
  }
  return -1;
}

QWidget* DialogWindow::make(int index) {
  ControlState& c = dialog_.controls()[index];
  const ControlTemplate& t = *c.tpl;
  const int id = t.id;
  Dialog* d = &dialog_;
  QRect r = units_.rect(t.x, t.y, t.cx, t.cy);
  QWidget* w = nullptr;
  switch (t.kind) {
    case Kind::PushButton: {
      auto* b = new QPushButton(Q(c.text), client_);
      b->setAutoDefault(false);
      b->setDefault(t.style & kDefault);
      QObject::connect(b, &QPushButton::clicked, b, [d, id] { d->UserClick(id); });
      w = b;
      break;
    }
    case Kind::PictureButton: {
      auto* b = new PictureButtonWidget(client_);
      b->setText(Q(c.text));
      QObject::connect(b, &QAbstractButton::clicked, b, [d, id] { d->UserClick(id); });
      w = b;
      break;
    }
    case Kind::RadioButton:
    case Kind::CheckBox: {
      QAbstractButton* b = t.kind == Kind::RadioButton
                               ? static_cast<QAbstractButton*>(new QRadioButton(Q(c.text), client_))
                               : new QCheckBox(Q(c.text), client_);
      b->setAutoExclusive(false);  // groups follow the template, not the parent widget
      QObject::connect(b, &QAbstractButton::clicked, b, [this, d, id, index] {
        d->UserClick(id);
        if (d->isOpen()) sync(index, Change::Check);
      });
      w = b;
      break;
    }
    case Kind::Edit: {
      if (t.style & kMultiLine) {
        // A read-only page of text (the register view): lines kept, scrolled, in a fixed pitch.
        auto* page = new QPlainTextEdit(Q(c.text), client_);
        page->setReadOnly(true);
        page->setLineWrapMode(QPlainTextEdit::NoWrap);
        page->setVerticalScrollBarPolicy((t.style & kVScroll) ? Qt::ScrollBarAlwaysOn
                                                              : Qt::ScrollBarAsNeeded);
        if (t.style & kFixedPitch) {
          QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
          fixed.setPixelSize(font().pixelSize());
          page->setFont(fixed);
        }
        w = page;
        break;
      }
      auto* e = new QLineEdit(Q(c.text), client_);
      e->setReadOnly(t.style & kReadOnly);
      if (t.style & kReadOnly) {
        // A read-only box shows the dialog's face, not the white of a box that takes typing.
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Window));
        e->setPalette(pal);
      }
      e->setFrame(t.style & kBorder);
      QObject::connect(e, &QLineEdit::textEdited, e,
                       [d, id](const QString& s) { d->UserEdited(id, s.toStdString()); });
      w = e;
      break;
    }
    case Kind::ComboBox: {
      auto* cb = new ComboWidget(dialog_, id, client_);
      cb->setEditable(true);
      (void)cb->view();  // the open list exists from the start, so that its keys come to the dialog
      cb->setInsertPolicy(QComboBox::NoInsert);
      cb->setMaxVisibleItems(std::max(1, (units_.y(t.cy) - 24) / std::max(1, units_.baseY + 2)));
      // Typed text stays text, as in a native drop-down list: no inline completion, and no item
      // made current when editing ends (Qt's combo box would select the item matching the text
      // and report it as chosen, so a value nobody picked would reach the dialog).
      cb->setCompleter(nullptr);
      QObject::disconnect(cb->lineEdit(), &QLineEdit::editingFinished, cb, nullptr);
      QObject::connect(cb, &QComboBox::activated, cb, [d, id](int i) { d->UserSelect(id, i); });
      QObject::connect(cb->lineEdit(), &QLineEdit::textEdited, cb, [d, id, cb](const QString& s) {
        d->UserEdited(id, s.toStdString());
        if (cb->currentIndex() < 0) return;
        // The list then has no selection until an item is chosen; the text and caret stay.
        QSignalBlocker block(cb);
        QSignalBlocker blockEdit(cb->lineEdit());
        int caret = cb->lineEdit()->cursorPosition();
        cb->setCurrentIndex(-1);
        cb->lineEdit()->setText(s);
        cb->lineEdit()->setCursorPosition(caret);
      });
      r.setHeight(std::min(r.height(), units_.y(12)));  // the template's height is the open list's
      w = cb;
      break;
    }
    case Kind::Slider: {
      auto* s = new SliderWidget(dialog_, id, (t.style & kVertical) ? Qt::Vertical : Qt::Horizontal, client_);
      if (t.style & kVertical) {
        s->setInvertedAppearance(true);  // minimum at the top
        s->setInvertedControls(true);
      }
      if (t.style & kNoTicks)
        s->setTickPosition(QSlider::NoTicks);
      else if (t.style & kTicksBoth)
        s->setTickPosition(QSlider::TicksBothSides);
      else if (t.style & kTicksTop)
        s->setTickPosition(QSlider::TicksAbove);
      else
        s->setTickPosition(QSlider::TicksBelow);
      s->setTickInterval(1);
      s->setSingleStep(1);
      QObject::connect(s, &QSlider::valueChanged, s, [d, id](int v) { d->UserSlide(id, v); });
      w = s;
      break;
    }
    case Kind::GroupBox: {
      w = new QGroupBox(Q(c.text), client_);
      break;
    }
    case Kind::Label: {
      auto* l = new QLabel(Q(c.text), client_);
      l->setTextFormat(Qt::PlainText);
      // Only a box of two lines or more wraps its text; a one-line label keeps its line.
      l->setWordWrap(r.height() >= 2 * l->fontMetrics().lineSpacing());
      l->setAlignment(Qt::AlignLeft | ((t.style & kCentreV) ? Qt::AlignVCenter : Qt::AlignTop));
      w = l;
      break;
    }
    case Kind::Plot: {
      w = new PlotWidget(dialog_, index, client_);
      break;
    }
    case Kind::Icon: {
      auto* l = new QLabel(client_);
      QPixmap pic = host_.picture(t.picture);
      l->setPixmap(pic);
      if (!pic.isNull()) r.setSize(pic.size());  // an icon shows at its own size
      w = l;
      break;
    }
  }
  w->setGeometry(r);
  w->setEnabled(c.enabled);
  w->setVisible(c.visible);
  if (std::optional<Dialog::TextColour> colour = dialog_.OnCtlColor(id)) {
    QPalette pal = w->palette();
    QColor text(colour->r, colour->g, colour->b);
    pal.setColor(QPalette::WindowText, text);
    pal.setColor(QPalette::ButtonText, text);
    pal.setColor(QPalette::Text, text);
    w->setPalette(pal);
    if (colour->transparent) w->setAutoFillBackground(false);
  }
  return w;
}

void DialogWindow::sync(int index, Change what) {
  QWidget* w = widget(index);
  if (!w) return;
  const ControlState& c = dialog_.controls()[index];
  QSignalBlocker block(w);
  switch (what) {
    case Change::Text:
      if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != Q(c.text)) {
          e->setText(Q(c.text));
          e->setCursorPosition(0);  // a new text puts the caret before it
        }
      } else if (auto* page = qobject_cast<QPlainTextEdit*>(w)) {
        page->setPlainText(Q(c.text));
      } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
        QSignalBlocker blockEdit(cb->lineEdit());
        cb->setEditText(Q(c.text));
      } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(Q(c.text));
      } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(Q(c.text));
      } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(Q(c.text));
      }
      fitText(index);
      break;
    case Change::Check:
      if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setChecked(c.checked);
      break;
    case Change::Enabled:
      w->setEnabled(c.enabled);
      break;
    case Change::Visible:
      w->setVisible(c.visible);
      break;
    case Change::Items:
    case Change::Selection:
      if (auto* cb = qobject_cast<QComboBox*>(w)) {
        QSignalBlocker blockEdit(cb->lineEdit());
        if (what == Change::Items) {
          cb->clear();
          for (const std::string& item : c.items) cb->addItem(Q(item));
        }
        cb->setCurrentIndex(c.curSel);
        cb->setEditText(Q(c.text));
        if (c.curSel >= 0) cb->view()->setCurrentIndex(cb->model()->index(c.curSel, cb->modelColumn()));
        if (cb->lineEdit() && dialog_.focusId() == c.id()) {
          if (c.allSelected())
            cb->lineEdit()->selectAll();
          else
            cb->lineEdit()->setCursorPosition(c.selEnd);
        }
      }
      break;
    case Change::Range:
    case Change::Position:
      if (auto* s = qobject_cast<QSlider*>(w)) {
        s->setRange(c.rangeMin, c.rangeMax);
        s->setPageStep(c.page());
        s->setValue(c.pos);
      }
      break;
    case Change::Focus: {
      w->setFocus(Qt::OtherFocusReason);
      // The keyboard's moves select a box's whole text; a click places the caret itself.
      QLineEdit* edit = qobject_cast<QLineEdit*>(w);
      if (auto* cb = qobject_cast<QComboBox*>(w)) edit = cb->lineEdit();
      if (edit && c.selStart == 0 && c.selEnd > 0 && c.allSelected()) edit->selectAll();
      break;
    }
    case Change::Dropped:
      if (auto* cb = dynamic_cast<ComboWidget*>(w)) {
        if (c.dropped && !cb->dropped())
          cb->showPopup();
        else if (!c.dropped && cb->dropped())
          cb->hidePopup();
      }
      break;
    case Change::Picture:
      if (auto* pb = dynamic_cast<PictureButtonWidget*>(w))
        pb->setFaces(host_.picture(c.pictureNormal), host_.picture(c.picturePressed));
      break;
    case Change::Redraw:
      if (auto* slider = dynamic_cast<SliderWidget*>(w))
        slider->invalidate();
      else
        w->update();
      break;
  }
}

void DialogWindow::buildMenu() {
  const MenuTemplate* menu = dialog_.menuId() ? host_.resources().menu(dialog_.menuId()) : nullptr;
  if (!menu) return;
  if (!menuBar_) {
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    menuBar_->setStyle(host_.style());
    layout()->setMenuBar(menuBar_);
  }
  menuBar_->clear();
  std::map<std::string, QMenu*> popups;
  Dialog* d = &dialog_;
  for (const MenuItemTemplate& item : menu->items) {
    QMenu*& popup = popups[item.popup];
    if (!popup) popup = menuBar_->addMenu(QString::fromUtf8(item.popup));
    int command = item.command;
    QAction* action =
        popup->addAction(QString::fromUtf8(item.text), this, [d, command] { d->UserMenuCommand(command); });
    action->setData(command);
  }
  fixSize();
}

}  // namespace lx::ui::qt
