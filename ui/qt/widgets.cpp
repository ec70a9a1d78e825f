#include "ui/qt/widgets.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <map>

#include "ui/qt/dialog_style.h"

namespace lx::ui::qt {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

// ---- ClientArea -----------------------------------------------------------------------------

ClientArea::ClientArea(Dialog& dialog, QtHost& host, QWidget* parent)
    : QWidget(parent), dialog_(dialog), host_(host) {}

void ClientArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  Dialog::Background bg = dialog_.OnPaintBackground();
  QPixmap pic = bg.picture ? host_.picture(bg.picture) : QPixmap();
  if (pic.isNull()) {
    p.fillRect(rect(), palette().window());
    return;
  }
  // The picture is stretched onto a fixed rectangle, whatever the window's size.
  p.fillRect(rect(), palette().window());
  p.drawPixmap(QRect(0, 0, bg.width, bg.height), pic);
}

// ---- SliderWidget ---------------------------------------------------------------------------

SliderWidget::SliderWidget(Dialog& dialog, int id, Qt::Orientation orientation, QWidget* parent)
    : QSlider(orientation, parent), dialog_(dialog), id_(id) {}

QRect SliderWidget::thumbRect() const {
  QStyleOptionSlider opt;
  initStyleOption(&opt);
  return style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
}

QPoint SliderWidget::pointFor(int target) const {
  QStyleOptionSlider opt;
  initStyleOption(&opt);
  QRect groove = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
  QRect thumb = thumbRect();
  bool horizontal = orientation() == Qt::Horizontal;
  int length = horizontal ? thumb.width() : thumb.height();
  int span = (horizontal ? groove.width() : groove.height()) - length;
  int offset = QStyle::sliderPositionFromValue(minimum(), maximum(), target, span, opt.upsideDown);
  int start = (horizontal ? groove.x() : groove.y()) + offset + length / 2;
  return horizontal ? QPoint(start, thumb.center().y()) : QPoint(thumb.center().x(), start);
}

void SliderWidget::sliderChange(SliderChange change) {
  QSlider::sliderChange(change);
  if (change == SliderValueChange || change == SliderRangeChange) unpainted_ = true;
}

void SliderWidget::showEvent(QShowEvent* event) {
  QSlider::showEvent(event);
  unpainted_ = true;  // first display
}

void SliderWidget::invalidate() {
  unpainted_ = true;
  update();
}

void SliderWidget::paintEvent(QPaintEvent* event) {
  QSlider::paintEvent(event);
  if (!unpainted_) return;
  unpainted_ = false;
  // Reported after the paint, once per batch of repaints; a handler that changes the slider
  // causes one more repaint and so one more report.
  if (!reportQueued_) {
    reportQueued_ = true;
    QTimer::singleShot(0, this, [this] { reportPaint(); });
  }
}

void SliderWidget::reportPaint() {
  if (!reportQueued_) return;
  reportQueued_ = false;
  dialog_.Paint(id_);
}

void SliderWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) mouseDown_ = true;
  QSlider::mousePressEvent(event);
}

void SliderWidget::mouseReleaseEvent(QMouseEvent* event) {
  QSlider::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && mouseDown_) {
    mouseDown_ = false;
    // The thumb's last move is painted, and reported, before the release.
    if (unpainted_ && isVisible()) repaint();
    reportPaint();
    dialog_.UserReleaseSlider(id_);
  }
}

// ---- PictureButtonWidget --------------------------------------------------------------------

void PictureButtonWidget::setFaces(const QPixmap& normal, const QPixmap& pressed) {
  normal_ = normal;
  pressed_ = pressed.isNull() ? normal : pressed;
  if (!normal_.isNull()) resize(normal_.size());
  update();
}

void PictureButtonWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPixmap& face = isDown() ? pressed_ : normal_;
  if (face.isNull()) {
    p.drawText(rect(), Qt::AlignCenter, text());
    return;
  }
  p.drawPixmap(0, 0, face);
  if (hasFocus()) DrawFocusMark(p, rect().adjusted(3, 3, -3, -3), QColor(0, 0, 0));
}

// ---- ComboWidget ----------------------------------------------------------------------------

void ComboWidget::showPopup() {
  if (dropped()) return;
  QComboBox::showPopup();
  // The open list highlights the item the field shows.
  if (currentIndex() >= 0) view()->setCurrentIndex(model()->index(currentIndex(), modelColumn()));
  dialog_.UserDropList(id_, true);
  // The model refused (the focus could not come here): the list does not stay open.
  const ControlState* c = dialog_.isOpen() ? dialog_.find(id_) : nullptr;
  if (!c || !c->dropped) QComboBox::hidePopup();
}

void ComboWidget::hidePopup() {
  QComboBox::hidePopup();
  if (dialog_.isOpen()) dialog_.UserDropList(id_, false);
}

bool ComboWidget::dropped() const {
  return view() && view()->window() != window() && view()->window()->isVisible();
}

// ---- PlotWidget -----------------------------------------------------------------------------

void PlotWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const auto colour = [](uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); };
  p.fillRect(rect(), colour(plot::kBackgroundRgb));
  const ControlState& c = dialog_.controls()[static_cast<std::size_t>(index_)];
  if (c.plot) {
    const plot::Plot& plot = *c.plot;
    const plot::Frame f{width(), height()};
    QPolygon trace;
    QFont small = font();
    small.setPixelSize(10);
    p.setFont(small);
    const QFontMetrics metrics(small);
    for (const plot::Item& i : plot.items) {
      switch (i.kind) {
        case plot::ItemKind::Range: {
          const int x0 = std::max(f.left(), f.x(plot, i.x)), x1 = std::min(f.right(), f.x(plot, i.x2));
          if (x1 >= x0)
            p.fillRect(x0, f.top(), std::max(1, x1 - x0), f.axisY() - f.top(), colour(plot::kRangeRgb));
          break;
        }
        case plot::ItemKind::Trace:
          trace << QPoint(f.x(plot, i.x), f.y(plot, i.y));
          break;
        case plot::ItemKind::Threshold:
          p.setPen(QPen(colour(plot::kThresholdRgb), 1, Qt::DashLine));
          p.drawLine(f.left(), f.y(plot, i.y), f.right(), f.y(plot, i.y));
          break;
        case plot::ItemKind::Tick: {
          const int x = f.x(plot, i.x);
          const QString label = QString::fromStdString(i.label);
          p.setPen(colour(plot::kAxisRgb));
          p.drawLine(x, f.axisY(), x, f.axisY() + 4);
          p.drawText(x - metrics.horizontalAdvance(label) / 2, height() - 4, label);
          break;
        }
        case plot::ItemKind::Product:
          p.setPen(colour(i.conflict ? plot::kConflictRgb : plot::kProductRgb));
          p.drawLine(f.x(plot, i.x), f.axisY(), f.x(plot, i.x), f.productTop(i));
          break;
        case plot::ItemKind::Channel: {
          const int x = f.x(plot, i.x);
          const QString label = QString::fromStdString(i.label);
          const QColor rgb = colour(i.conflict ? plot::kConflictRgb : plot::kChannelRgb);
          p.setPen(QPen(rgb, 2));
          p.drawLine(x, f.axisY(), x, f.top());
          p.setPen(rgb);
          p.drawText(x - metrics.horizontalAdvance(label) / 2, f.labelBaseline(i), label);
          break;
        }
      }
    }
    if (!trace.isEmpty()) {
      p.setPen(colour(plot::kTraceRgb));
      p.drawPolyline(trace);
    }
    p.setPen(colour(plot::kAxisRgb));
    p.drawLine(f.left(), f.axisY(), f.right(), f.axisY());
  }
  if (c.tpl->style & kBorder) {
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

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
        page->setVerticalScrollBarPolicy((t.style & kVScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
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

namespace {
std::optional<Key> KeyOf(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Space: return Key::Space;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_PageUp: return Key::PageUp;
    case Qt::Key_PageDown: return Key::PageDown;
    case Qt::Key_Home: return Key::Home;
    case Qt::Key_End: return Key::End;
    case Qt::Key_F4:
      return Key::F4;
    default: return std::nullopt;
  }
}
}  // namespace

bool DialogWindow::controlKey(QWidget* target, QKeyEvent* event) {
  // The keys the platform's controls take their own way go to the dialog's model of them: a
  // trackbar's keys and page, a closed list's arrows, Space and the arrows on buttons (group
  // moves). Text editing stays with the line edits, which follow the platform but for one key.
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  std::optional<Key> key;
  if (modifiers == Qt::NoModifier)
    key = KeyOf(event);
  else if (modifiers == Qt::AltModifier && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up))
    key = event->key() == Qt::Key_Down ? Key::AltDown : Key::AltUp;
  const int index = indexOfWidget(target);
  if (!key || index < 0) return false;
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
