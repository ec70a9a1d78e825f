// lx_icons <folder>: draws the application icons of both tools at the hicolor sizes, as
// <folder>/<size>x<size>/apps/<tool>.png. Run at build time; the pictures are ours.
#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

#include "ui/qt/qt_host.h"

namespace {

constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// A rounded tile in the tool's colour with our microphone on it; Ambrel's sends waves to the
// right (transmitter), Ostrel's receives them from the right into an antenna (receiver).
QImage DrawIcon(int size, QColor tile, bool transmitter) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  const double margin = s * 0.04;
  QRectF frame(margin, margin, s - 2 * margin, s - 2 * margin);
  QLinearGradient fill(0, 0, 0, s);
  fill.setColorAt(0, tile.lighter(125));
  fill.setColorAt(1, tile.darker(115));
  p.setPen(QPen(tile.darker(150), std::max(1.0, s / 48)));
  p.setBrush(fill);
  p.drawRoundedRect(frame, s * 0.18, s * 0.18);

  // The microphone, drawn by the same code as the about box's icon.
  const int mic = static_cast<int>(s * 0.62);
  lx::ui::PictureTemplate picture{0, mic, mic, lx::ui::Motif::Microphone, "", false, 0xFFFFFF};
  p.drawImage(QPointF(s * 0.08, s * 0.18), lx::ui::qt::RenderPicture(picture));

  // Three waves beside the capsule: opening away from it for the transmitter, towards a mast for
  // the receiver.
  const QPointF centre(s * 0.52, s * 0.40);
  p.setBrush(Qt::NoBrush);
  for (int i = 1; i <= 3; ++i) {
    const double r = s * (0.10 + 0.09 * i);
    const QColor wave = QColor(255, 255, 255, 255 - 45 * i);
    p.setPen(QPen(wave, std::max(1.0, s / 22.0), Qt::SolidLine, Qt::RoundCap));
    QRectF arc(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    if (transmitter) {
      p.drawArc(arc, -40 * 16, 80 * 16);
    } else {
      // Arcs centred on the antenna tip at the right, curving back towards the microphone.
      const QPointF tip(s * 0.86, s * 0.30);
      const double rr = s * (0.06 + 0.07 * i);
      p.drawArc(QRectF(tip.x() - rr, tip.y() - rr, 2 * rr, 2 * rr), 140 * 16, 80 * 16);
    }
  }
  if (!transmitter) {
    p.setPen(QPen(Qt::white, std::max(1.0, s / 20.0), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.86, s * 0.30), QPointF(s * 0.86, s * 0.84));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(s * 0.86, s * 0.30), s / 24.0, s / 24.0);
  }
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: lx_icons <folder>\n");
    return 2;
  }
  // Paths only, no text: painting into images needs no application object or platform.
  const QString root = QString::fromLocal8Bit(argv[1]);
  struct Tool {
    const char* name;
    QColor tile;
    bool transmitter;
  };
  const Tool tools[] = {{"ambrel", QColor(0xC0, 0x39, 0x2B), true},
                        {"ostrel", QColor(0x00, 0x66, 0x99), false}};
  for (const Tool& tool : tools) {
    for (int size : kSizes) {
      const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
      const QString file = QStringLiteral("%1/%2.png").arg(folder, QString::fromUtf8(tool.name));
      if (!QDir().mkpath(folder) || !DrawIcon(size, tool.tile, tool.transmitter).save(file)) {
        std::fprintf(stderr, "lx_icons: cannot write %s\n", qPrintable(file));
        return 1;
      }
    }
  }
  return 0;
}
