// lx_icons <folder>: draws the application icons of both tools at the hicolor sizes, as
// <folder>/<size>x<size>/apps/<tool>.png.
// lx_icons --ico <folder>: the same icons as <folder>/<tool>.ico for the Windows programs.
// Run at build time; the pictures are ours.
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdint>
#include <cstdio>
#include <vector>

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

void Put16(QByteArray& out, uint16_t v) {
  out.append(static_cast<char>(v & 0xFF)).append(static_cast<char>(v >> 8));
}
void Put32(QByteArray& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

// One image of an icon file: a 32-bit bottom-up DIB with its AND mask (what every Windows
// version reads), or a PNG for the 256-pixel one (which would otherwise be 256 KiB).
QByteArray IcoImage(const QImage& drawn) {
  const QImage image = drawn.convertToFormat(QImage::Format_ARGB32);  // straight alpha, BGRA in memory
  QByteArray out;
  if (image.width() >= 256) {
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return out;
  }
  const int w = image.width(), h = image.height();
  const int maskStride = (w + 31) / 32 * 4;
  Put32(out, 40);  // BITMAPINFOHEADER
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(2 * h));  // the colour rows and the mask rows
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);  // BI_RGB
  Put32(out, static_cast<uint32_t>(w * h * 4 + maskStride * h));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = h - 1; y >= 0; --y) out.append(reinterpret_cast<const char*>(image.constScanLine(y)), w * 4);
  for (int y = h - 1; y >= 0; --y) {
    QByteArray row(maskStride, '\0');
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < w; ++x)
      if (qAlpha(pixels[x]) == 0) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    out.append(row);
  }
  return out;
}

// An icon file with the sizes Windows picks from: title bar, taskbar, Alt+Tab, Explorer views.
bool WriteIco(const QString& file, QColor tile, bool transmitter) {
  constexpr int kIcoSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};
  constexpr int kCount = sizeof kIcoSizes / sizeof kIcoSizes[0];
  std::vector<QByteArray> images;
  for (int size : kIcoSizes) images.push_back(IcoImage(DrawIcon(size, tile, transmitter)));
  QByteArray out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, kCount);
  uint32_t offset = 6 + 16 * kCount;
  for (int i = 0; i < kCount; ++i) {
    const int size = kIcoSizes[i];
    out.append(static_cast<char>(size >= 256 ? 0 : size)).append(static_cast<char>(size >= 256 ? 0 : size));
    out.append('\0').append('\0');  // no palette, reserved
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const QByteArray& image : images) out.append(image);
  QFile f(file);
  return f.open(QIODevice::WriteOnly) && f.write(out) == out.size() && f.flush();
}

}  // namespace

int main(int argc, char** argv) {
  const bool ico = argc == 3 && QByteArray(argv[1]) == "--ico";
  if (!ico && (argc != 2 || QByteArray(argv[1]).startsWith("--"))) {
    std::fprintf(stderr, "usage: lx_icons <folder>\n       lx_icons --ico <folder>\n");
    return 2;
  }
  // Paths only, no text: painting into images needs no application object or platform.
  const QString root = QString::fromLocal8Bit(argv[argc - 1]);
  struct Tool {
    const char* name;
    QColor tile;
    bool transmitter;
  };
  const Tool tools[] = {{"ambrel", QColor(0xC0, 0x39, 0x2B), true},
                        {"ostrel", QColor(0x00, 0x66, 0x99), false}};
  for (const Tool& tool : tools) {
    if (ico) {
      const QString file = QStringLiteral("%1/%2.ico").arg(root, QString::fromUtf8(tool.name));
      if (!QDir().mkpath(root) || !WriteIco(file, tool.tile, tool.transmitter)) {
        std::fprintf(stderr, "lx_icons: cannot write %s\n", qPrintable(file));
        return 1;
      }
      continue;
    }
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
