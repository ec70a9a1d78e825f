// Our own pictures, drawn from their descriptions: a framed face with a small illustration and
// its caption for the picture buttons, a plain colour for backgrounds, a microphone icon.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "ui/qt/qt_host.h"

namespace lx::ui::qt {

namespace {

QColor Rgb(uint32_t rgb) {
  return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>(rgb & 0xFF));
}

void DrawRadio(QPainter& p, const QRectF& r, const QColor& c) {
  // An antenna mast sending waves to both sides.
  QPointF top(r.center().x(), r.top() + r.height() * 0.25);
  p.setPen(QPen(c, 3, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(top, QPointF(top.x(), r.bottom() - 4));
  p.drawLine(QPointF(top.x() - r.width() * 0.12, r.bottom() - 4), QPointF(top.x() + r.width() * 0.12, r.bottom() - 4));
  p.setBrush(c);
  p.drawEllipse(top, 4, 4);
  p.setBrush(Qt::NoBrush);
  for (int i = 1; i <= 3; ++i) {
    double rad = 8.0 * i;
    QRectF arc(top.x() - rad, top.y() - rad, 2 * rad, 2 * rad);
    p.setPen(QPen(c, 2.5 - 0.5 * i, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(arc, -45 * 16, 90 * 16);
    p.drawArc(arc, 135 * 16, 90 * 16);
  }
}

void DrawAudio(QPainter& p, const QRectF& r, const QColor& c) {
  // A loudspeaker with sound waves.
  double cx = r.left() + r.width() * 0.38, cy = r.center().y();
  QPainterPath speaker;
  speaker.moveTo(cx - 18, cy - 8);
  speaker.lineTo(cx - 8, cy - 8);
  speaker.lineTo(cx + 6, cy - 20);
  speaker.lineTo(cx + 6, cy + 20);
  speaker.lineTo(cx - 8, cy + 8);
  speaker.lineTo(cx - 18, cy + 8);
  speaker.closeSubpath();
  p.setPen(QPen(c.darker(130), 1.5));
  p.setBrush(c);
  p.drawPath(speaker);
  p.setBrush(Qt::NoBrush);
  for (int i = 1; i <= 3; ++i) {
    double rad = 8.0 + 8.0 * i;
    p.setPen(QPen(c, 3 - 0.6 * i, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(cx + 6 - rad, cy - rad, 2 * rad, 2 * rad), -40 * 16, 80 * 16);
  }
}

void DrawOther(QPainter& p, const QRectF& r, const QColor& c) {
  // A gear wheel.
  QPointF m = r.center();
  double outer = std::min(r.width(), r.height()) * 0.42, inner = outer * 0.72;
  QPainterPath gear;
  const int teeth = 8;
  for (int i = 0; i < teeth * 4; ++i) {
    double a = (i / double(teeth * 4)) * 2 * M_PI;
    double rad = (i % 4 == 0 || i % 4 == 1) ? outer : inner;
    QPointF pt(m.x() + rad * std::cos(a), m.y() + rad * std::sin(a));
    if (i == 0)
      gear.moveTo(pt);
    else
      gear.lineTo(pt);
  }
  gear.closeSubpath();
  gear.addEllipse(m, inner * 0.4, inner * 0.4);
  gear.setFillRule(Qt::OddEvenFill);
  p.setPen(QPen(c.darker(130), 1.2));
  p.setBrush(c);
  p.drawPath(gear);
}

void DrawChannel(QPainter& p, const QRectF& r, const QColor& c) {
  // A frequency scale with channel markers and a tuned peak.
  double base = r.bottom() - 6;
  p.setPen(QPen(c.darker(120), 2));
  p.drawLine(QPointF(r.left() + 8, base), QPointF(r.right() - 8, base));
  int n = 8;
  double step = (r.width() - 24) / (n - 1);
  for (int i = 0; i < n; ++i) {
    double x = r.left() + 12 + i * step;
    double h = (i == 3) ? r.height() * 0.75 : r.height() * (0.18 + 0.06 * ((i * 5) % 4));
    p.setPen(Qt::NoPen);
    p.setBrush(i == 3 ? c : c.lighter(160));
    p.drawRoundedRect(QRectF(x - 4, base - h, 8, h), 2, 2);
  }
}

void DrawSoundEffect(QPainter& p, const QRectF& r, const QColor& c) {
  // Three equaliser faders.
  const double levels[] = {0.35, 0.7, 0.5};
  for (int i = 0; i < 3; ++i) {
    double x = r.left() + r.width() * (0.28 + 0.22 * i);
    p.setPen(QPen(c.lighter(150), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(x, r.top() + 6), QPointF(x, r.bottom() - 6));
    double y = r.bottom() - 6 - (r.height() - 12) * levels[i];
    p.setPen(QPen(c.darker(130), 1));
    p.setBrush(c);
    p.drawRoundedRect(QRectF(x - 9, y - 5, 18, 10), 3, 3);
  }
}

void DrawMicrophone(QPainter& p, const QRectF& r, const QColor& c) {
  double w = r.width(), h = r.height();
  QRectF capsule(r.left() + w * 0.33, r.top() + h * 0.06, w * 0.34, h * 0.5);
  p.setPen(QPen(c.darker(140), std::max(1.0, w / 32)));
  p.setBrush(c);
  p.drawRoundedRect(capsule, capsule.width() / 2, capsule.width() / 2);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(c.darker(120), std::max(1.5, w / 16), Qt::SolidLine, Qt::RoundCap));
  QRectF cradle(r.left() + w * 0.22, r.top() + h * 0.2, w * 0.56, h * 0.5);
  p.drawArc(cradle, 180 * 16, 180 * 16);
  p.drawLine(QPointF(r.center().x(), r.top() + h * 0.7), QPointF(r.center().x(), r.top() + h * 0.86));
  p.drawLine(QPointF(r.left() + w * 0.3, r.top() + h * 0.88), QPointF(r.left() + w * 0.7, r.top() + h * 0.88));
}

}  // namespace

QImage RenderPicture(const PictureTemplate& pic) {
  QColor colour = Rgb(pic.rgb);
  if (pic.motif == Motif::Plain) {
    QImage image(pic.width, pic.height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
  }
  // Icons are drawn on a transparent ground, button faces on white.
  QImage image(pic.width, pic.height,
               pic.motif == Motif::Microphone ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  image.fill(pic.motif == Motif::Microphone ? QColor(Qt::transparent) : QColor(Qt::white));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  if (pic.motif == Motif::Microphone) {
    DrawMicrophone(p, QRectF(0, 0, pic.width, pic.height), colour);
    return image;
  }
  // A picture button face: raised when normal, sunk and shifted by a pixel when pressed.
  QRectF frame(1.5, 1.5, pic.width - 3, pic.height - 3);
  QLinearGradient fill(0, 0, 0, pic.height);
  fill.setColorAt(0, pic.pressed ? QColor(226, 232, 238) : QColor(252, 253, 255));
  fill.setColorAt(1, pic.pressed ? QColor(240, 243, 247) : QColor(226, 234, 242));
  p.setPen(QPen(pic.pressed ? colour.darker(140) : colour, 2));
  p.setBrush(fill);
  p.drawRoundedRect(frame, 10, 10);
  double shift = pic.pressed ? 1.5 : 0;
  QRectF art(14 + shift, 10 + shift, pic.width - 28, pic.height * 0.58);
  switch (pic.motif) {
    case Motif::Radio: DrawRadio(p, art, colour); break;
    case Motif::Audio: DrawAudio(p, art, colour); break;
    case Motif::Other: DrawOther(p, art, colour); break;
    case Motif::Channel: DrawChannel(p, art, colour); break;
    case Motif::SoundEffect: DrawSoundEffect(p, art, colour); break;
    default: break;
  }
  if (pic.caption && *pic.caption) {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Droid Sans Fallback")});
    font.setPixelSize(17);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour.darker(125));
    QRectF text(shift, pic.height * 0.7 + shift, pic.width, pic.height * 0.26);
    p.drawText(text, Qt::AlignHCenter | Qt::AlignVCenter, QString::fromUtf8(pic.caption));
  }
  return image;
}

}  // namespace lx::ui::qt
