#include "ui/qt/widgets.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>

#include "ui/qt/dialog_style.h"

namespace lx::ui::qt {

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

}  // namespace lx::ui::qt
