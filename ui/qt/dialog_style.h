#pragma once
// The style the Qt host draws dialog controls in: the application's style with the proportions
// the templates were laid out for (13-pixel check and radio boxes close to their text, a narrow
// drop-down button, a trackbar channel without a filled part), and the platform's focus mark: a
// dotted rectangle on the control that has the focus, whether the focus came by key or by click.
#include <QProxyStyle>

namespace lx::ui::qt {

// The platform's focus rectangle: every other pixel of a one-pixel frame just inside `r`.
void DrawFocusMark(QPainter& painter, const QRect& r, const QColor& colour);

class DialogStyle : public QProxyStyle {
 public:
  DialogStyle();
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                       const QWidget* widget) const override;
  QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override;
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;
};

}  // namespace lx::ui::qt
