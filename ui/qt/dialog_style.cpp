#include "ui/qt/dialog_style.h"

#include <qdrawutil.h>

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionComplex>
#include <QStyleOptionFocusRect>
#include <QStyleOptionGroupBox>

namespace lx::ui::qt {

namespace {
constexpr int kIndicator = 13;    // check and radio boxes, as the platform draws them at 96 dpi
constexpr int kIndicatorGap = 4;  // between the box and its text
constexpr int kDropButton = 16;   // a drop-down list's button
constexpr int kComboFrame = 2;
constexpr int kTrackbarChannel = 4;   // thickness of a trackbar's channel
constexpr int kButtonFocusInset = 3;  // a push button's focus rectangle, inside its raised edge
constexpr int kGroupTitleIndent = 6;  // a group box's title, from the frame's left edge
constexpr int kGroupTitleGap = 2;     // the frame line stops this far from the title
}  // namespace

void DrawFocusMark(QPainter& painter, const QRect& r, const QColor& colour) {
  if (r.width() < 1 || r.height() < 1) return;
  painter.save();
  painter.setBrushOrigin(r.topLeft());
  const QBrush dots(colour, Qt::Dense4Pattern);
  painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), dots);
  painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), dots);
  painter.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), dots);
  painter.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), dots);
  painter.restore();
}

DialogStyle::DialogStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int DialogStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
      return kIndicator;
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing:
      return kIndicatorGap;
    default:
      return QProxyStyle::pixelMetric(metric, option, widget);
  }
}

QRect DialogStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                                  const QWidget* widget) const {
  if (control == CC_ComboBox) {
    // The edit field takes all but the frame and a narrow button, so that the templates' short
    // lists show their longest item whole.
    const QRect& r = option->rect;
    QRect rect;
    if (sub == SC_ComboBoxArrow)
      rect = QRect(r.right() - kComboFrame - kDropButton + 2, r.top() + 1, kDropButton, r.height() - 2);
    else if (sub == SC_ComboBoxEditField)
      rect = QRect(r.left() + kComboFrame, r.top() + kComboFrame,
                   r.width() - 2 * kComboFrame - kDropButton + 1, r.height() - 2 * kComboFrame);
    if (rect.isValid()) return visualRect(option->direction, r, rect);
  }
  return QProxyStyle::subControlRect(control, option, sub, widget);
}

QRect DialogStyle::subElementRect(SubElement element, const QStyleOption* option,
                                  const QWidget* widget) const {
  if (element == SE_PushButtonFocusRect) {
    // The default button's extra frame line puts its rectangle one pixel further in.
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    int inset =
        kButtonFocusInset + (button && (button->features & QStyleOptionButton::DefaultButton) ? 1 : 0);
    return option->rect.adjusted(inset, inset, -inset, -inset);
  }
  if (element == SE_SliderFocusRect) return option->rect;  // the mark frames the whole trackbar
  return QProxyStyle::subElementRect(element, option, widget);
}

void DialogStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
  if (element != PE_FrameFocusRect) {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    return;
  }
  // Shown whenever the control has the focus, not only after a key press as in this style:
  // a dialog's controls show where the keys go from the moment it opens.
  DrawFocusMark(*painter, option->rect, option->palette.color(QPalette::WindowText));
}

void DialogStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                              const QWidget* widget) const {
  QProxyStyle::drawControl(element, option, painter, widget);
  // This style marks a focused push button only after a key press, and by its frame's colour.
  if (element == CE_PushButton && (option->state & State_HasFocus)) {
    QStyleOptionFocusRect mark;
    mark.QStyleOption::operator=(*option);
    mark.rect = subElementRect(SE_PushButtonFocusRect, option, widget);
    drawPrimitive(PE_FrameFocusRect, &mark, painter, widget);
  }
}

void DialogStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
  if (const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
      box && control == CC_GroupBox) {
    // An etched frame whose top line runs through the middle of the title, the title on the
    // dialog's face over it: the platform's group box.
    const QFontMetrics& fm = option->fontMetrics;
    const QRect frame = option->rect.adjusted(0, fm.height() / 2, -1, -1);
    painter->save();
    painter->setPen(option->palette.color(QPalette::Mid));
    painter->drawRect(frame.adjusted(0, 0, -1, -1));
    painter->setPen(option->palette.color(QPalette::Light));
    painter->drawRect(frame.adjusted(1, 1, 0, 0));
    if (!box->text.isEmpty()) {
      const QRect title(option->rect.left() + kGroupTitleIndent, option->rect.top(),
                        fm.horizontalAdvance(box->text) + 2 * kGroupTitleGap, fm.height());
      painter->fillRect(title, option->palette.window());
      painter->setPen(option->palette.color(
          (option->state & State_Enabled) ? QPalette::Normal : QPalette::Disabled, QPalette::WindowText));
      painter->drawText(title, Qt::AlignCenter, box->text);
    }
    painter->restore();
    return;
  }
  const auto* slider = qstyleoption_cast<const QStyleOptionSlider*>(option);
  if (control != CC_Slider || !slider || !(slider->subControls & SC_SliderGroove)) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  // A trackbar's channel is sunken and never filled: a fill from one end to the thumb would
  // read as a level, and which end is "full" depends on the setting, not on the control.
  QRect groove = subControlRect(CC_Slider, option, SC_SliderGroove, widget);
  QRect channel = groove;
  if (slider->orientation == Qt::Horizontal) {
    channel.setHeight(kTrackbarChannel);
    channel.moveTop(groove.center().y() - kTrackbarChannel / 2 + 1);
  } else {
    channel.setWidth(kTrackbarChannel);
    channel.moveLeft(groove.center().x() - kTrackbarChannel / 2 + 1);
  }
  QBrush fill = option->palette.base();
  qDrawShadePanel(painter, channel, option->palette, true, 1, &fill);
  QStyleOptionSlider rest(*slider);
  rest.subControls &= ~SC_SliderGroove;
  QProxyStyle::drawComplexControl(control, &rest, painter, widget);
  // The focus frames the whole trackbar (this style draws none without a key press).
  if (slider->state & State_HasFocus) {
    QStyleOptionFocusRect mark;
    mark.QStyleOption::operator=(*slider);
    mark.rect = subElementRect(SE_SliderFocusRect, slider, widget);
    drawPrimitive(PE_FrameFocusRect, &mark, painter, widget);
  }
}

int DialogStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                           QStyleHintReturn* returnData) const {
  // Alt pressed and released alone puts the menu bar into its keyboard mode, as on the platform.
  if (hint == SH_MenuBar_AltKeyNavigation) return 1;
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace lx::ui::qt
