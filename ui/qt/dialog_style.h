#pragma once
// The style the Qt host draws dialog controls in: the application's style with the proportions
// the templates were laid out for (13-pixel check and radio boxes close to their text, a narrow
// drop-down button, a trackbar channel without a filled part).
#include <QProxyStyle>

namespace lx::ui::qt {

class DialogStyle : public QProxyStyle {
 public:
  DialogStyle();
  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                       const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;
};

}  // namespace lx::ui::qt
