// What the host draws itself with GDI. Our own pictures, the same drawings as the Qt host's: a
// framed face with a small illustration and its caption for the picture buttons, a plain colour
// for backgrounds, a microphone icon. The owner-drawn controls: picture buttons and plots; and a
// window's background picture.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "ui/win32/win32_host.h"

namespace lx::ui::win32 {

namespace {

struct Colour {
  int r, g, b;
  COLORREF ref() const { return RGB(r, g, b); }
  // As a colour seen darker or lighter by a factor in percent.
  Colour darker(int percent) const { return {r * 100 / percent, g * 100 / percent, b * 100 / percent}; }
  Colour lighter(int percent) const {
    const double keep = 100.0 / percent;
    auto up = [keep](int v) { return static_cast<int>(255 - (255 - v) * keep); };
    return {up(r), up(g), up(b)};
  }
};

Colour FromRgb(uint32_t rgb) {
  return {static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
          static_cast<int>(rgb & 0xFF)};
}

struct Box {
  double left, top, width, height;
  double right() const { return left + width; }
  double bottom() const { return top + height; }
  double cx() const { return left + width / 2; }
  double cy() const { return top + height / 2; }
};

int R(double v) { return static_cast<int>(std::lround(v)); }

// Pens and brushes selected for one drawing step and given back afterwards.
class Tools {
 public:
  Tools(HDC dc, HPEN pen, HBRUSH brush) : dc_(dc), pen_(pen), brush_(brush) {
    oldPen_ = SelectObject(dc, pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(NULL_PEN));
    oldBrush_ = SelectObject(dc, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
  }
  ~Tools() {
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
    if (pen_) DeleteObject(pen_);
    if (brush_) DeleteObject(brush_);
  }

 private:
  HDC dc_;
  HPEN pen_;
  HBRUSH brush_;
  HGDIOBJ oldPen_, oldBrush_;
};

HPEN Pen(Colour c, double width, bool round = true) {
  LOGBRUSH lb{BS_SOLID, c.ref(), 0};
  return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | (round ? PS_ENDCAP_ROUND | PS_JOIN_ROUND : PS_ENDCAP_FLAT),
                      static_cast<DWORD>(std::max(1L, std::lround(width))), &lb, 0, nullptr);
}

// An arc of the circle around (x, y), counter-clockwise from `start` degrees over `span`.
void ArcDegrees(HDC dc, double x, double y, double radius, double start, double span) {
  const double a0 = start * std::numbers::pi / 180, a1 = (start + span) * std::numbers::pi / 180;
  SetArcDirection(dc, AD_COUNTERCLOCKWISE);
  Arc(dc, R(x - radius), R(y - radius), R(x + radius), R(y + radius), R(x + radius * std::cos(a0)),
      R(y - radius * std::sin(a0)), R(x + radius * std::cos(a1)), R(y - radius * std::sin(a1)));
}

void Line(HDC dc, double x0, double y0, double x1, double y1) {
  MoveToEx(dc, R(x0), R(y0), nullptr);
  LineTo(dc, R(x1), R(y1));
}

void DrawRadio(HDC dc, const Box& r, Colour c) {
  // An antenna mast sending waves to both sides.
  const double x = r.cx(), top = r.top + r.height * 0.25;
  {
    Tools t(dc, Pen(c, 3), nullptr);
    Line(dc, x, top, x, r.bottom() - 4);
    Line(dc, x - r.width * 0.12, r.bottom() - 4, x + r.width * 0.12, r.bottom() - 4);
  }
  {
    Tools t(dc, Pen(c, 1), CreateSolidBrush(c.ref()));
    Ellipse(dc, R(x - 4), R(top - 4), R(x + 4), R(top + 4));
  }
  for (int i = 1; i <= 3; ++i) {
    Tools t(dc, Pen(c, 2.5 - 0.5 * i), nullptr);
    ArcDegrees(dc, x, top, 8.0 * i, -45, 90);
    ArcDegrees(dc, x, top, 8.0 * i, 135, 90);
  }
}

void DrawAudio(HDC dc, const Box& r, Colour c) {
  // A loudspeaker with sound waves.
  const double cx = r.left + r.width * 0.38, cy = r.cy();
  const POINT speaker[] = {{R(cx - 18), R(cy - 8)}, {R(cx - 8), R(cy - 8)}, {R(cx + 6), R(cy - 20)},
                           {R(cx + 6), R(cy + 20)}, {R(cx - 8), R(cy + 8)}, {R(cx - 18), R(cy + 8)}};
  {
    Tools t(dc, Pen(c.darker(130), 1.5), CreateSolidBrush(c.ref()));
    Polygon(dc, speaker, 6);
  }
  for (int i = 1; i <= 3; ++i) {
    Tools t(dc, Pen(c, 3 - 0.6 * i), nullptr);
    ArcDegrees(dc, cx + 6, cy, 8.0 + 8.0 * i, -40, 80);
  }
}

void DrawOther(HDC dc, const Box& r, Colour c) {
  // A gear wheel with a hole.
  const double mx = r.cx(), my = r.cy();
  const double outer = std::min(r.width, r.height) * 0.42, inner = outer * 0.72;
  const int teeth = 8;
  std::vector<POINT> gear;
  for (int i = 0; i < teeth * 4; ++i) {
    const double a = (i / double(teeth * 4)) * 2 * std::numbers::pi;
    const double rad = (i % 4 == 0 || i % 4 == 1) ? outer : inner;
    gear.push_back({R(mx + rad * std::cos(a)), R(my + rad * std::sin(a))});
  }
  Tools t(dc, Pen(c.darker(130), 1.2), CreateSolidBrush(c.ref()));
  Polygon(dc, gear.data(), static_cast<int>(gear.size()));
  const double hole = inner * 0.4;
  HBRUSH white = CreateSolidBrush(RGB(0xEC, 0xF1, 0xF7));
  HGDIOBJ old = SelectObject(dc, white);
  Ellipse(dc, R(mx - hole), R(my - hole), R(mx + hole), R(my + hole));
  SelectObject(dc, old);
  DeleteObject(white);
}

void DrawChannel(HDC dc, const Box& r, Colour c) {
  // A frequency scale with channel markers and a tuned peak.
  const double base = r.bottom() - 6;
  {
    Tools t(dc, Pen(c.darker(120), 2), nullptr);
    Line(dc, r.left + 8, base, r.right() - 8, base);
  }
  const int n = 8;
  const double step = (r.width - 24) / (n - 1);
  for (int i = 0; i < n; ++i) {
    const double x = r.left + 12 + i * step;
    const double h = (i == 3) ? r.height * 0.75 : r.height * (0.18 + 0.06 * ((i * 5) % 4));
    Tools t(dc, nullptr, CreateSolidBrush((i == 3 ? c : c.lighter(160)).ref()));
    RoundRect(dc, R(x - 4), R(base - h), R(x + 4), R(base), 4, 4);
  }
}

void DrawSoundEffect(HDC dc, const Box& r, Colour c) {
  // Three equaliser faders.
  const double levels[] = {0.35, 0.7, 0.5};
  for (int i = 0; i < 3; ++i) {
    const double x = r.left + r.width * (0.28 + 0.22 * i);
    {
      Tools t(dc, Pen(c.lighter(150), 4), nullptr);
      Line(dc, x, r.top + 6, x, r.bottom() - 6);
    }
    const double y = r.bottom() - 6 - (r.height - 12) * levels[i];
    Tools t(dc, Pen(c.darker(130), 1), CreateSolidBrush(c.ref()));
    RoundRect(dc, R(x - 9), R(y - 5), R(x + 9), R(y + 5), 6, 6);
  }
}

void DrawMicrophone(HDC dc, const Box& r, Colour c) {
  const double w = r.width, h = r.height;
  const Box capsule{r.left + w * 0.33, r.top + h * 0.06, w * 0.34, h * 0.5};
  {
    Tools t(dc, Pen(c.darker(140), std::max(1.0, w / 32)), CreateSolidBrush(c.ref()));
    RoundRect(dc, R(capsule.left), R(capsule.top), R(capsule.right()), R(capsule.bottom()), R(capsule.width),
              R(capsule.width));
  }
  Tools t(dc, Pen(c.darker(120), std::max(1.5, w / 16)), nullptr);
  const Box cradle{r.left + w * 0.22, r.top + h * 0.2, w * 0.56, h * 0.5};
  SetArcDirection(dc, AD_COUNTERCLOCKWISE);
  Arc(dc, R(cradle.left), R(cradle.top), R(cradle.right()), R(cradle.bottom()), R(cradle.left),
      R(cradle.cy()), R(cradle.right()), R(cradle.cy()));
  Line(dc, r.cx(), r.top + h * 0.7, r.cx(), r.top + h * 0.86);
  Line(dc, r.left + w * 0.3, r.top + h * 0.88, r.left + w * 0.7, r.top + h * 0.88);
}

// The illustration of each picture button's motif.
using Drawing = void (*)(HDC, const Box&, Colour);
constexpr std::pair<Motif, Drawing> kMotifs[] = {{Motif::Radio, DrawRadio},
                                                 {Motif::Audio, DrawAudio},
                                                 {Motif::Other, DrawOther},
                                                 {Motif::Channel, DrawChannel},
                                                 {Motif::SoundEffect, DrawSoundEffect}};

// A vertical gradient inside the rounded frame of a button face.
void FillFace(HDC dc, int width, int height, Colour top, Colour bottom) {
  HRGN frame = CreateRoundRectRgn(2, 2, width - 1, height - 1, 20, 20);
  SelectClipRgn(dc, frame);
  for (int y = 0; y < height; ++y) {
    const double f = height > 1 ? y / double(height - 1) : 0;
    const Colour c{R(top.r + (bottom.r - top.r) * f), R(top.g + (bottom.g - top.g) * f),
                   R(top.b + (bottom.b - top.b) * f)};
    Tools t(dc, CreatePen(PS_SOLID, 1, c.ref()), nullptr);
    Line(dc, 0, y, width, y);
  }
  SelectClipRgn(dc, nullptr);
  DeleteObject(frame);
}

}  // namespace

HBITMAP RenderPicture(const PictureTemplate& pic, COLORREF ground) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = pic.width;
  info.bmiHeader.biHeight = -pic.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!bitmap) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  const Colour colour = FromRgb(pic.rgb);
  RECT all{0, 0, pic.width, pic.height};
  // Icons are drawn on the dialog's ground, everything else on its own colour or white.
  const COLORREF fill = pic.motif == Motif::Plain        ? colour.ref()
                        : pic.motif == Motif::Microphone ? ground
                                                         : RGB(255, 255, 255);
  HBRUSH brush = CreateSolidBrush(fill);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  if (pic.motif == Motif::Microphone) {
    DrawMicrophone(dc, {0, 0, double(pic.width), double(pic.height)}, colour);
  } else if (pic.motif != Motif::Plain) {
    // A picture button face: raised when normal, sunk and shifted by a pixel when pressed.
    FillFace(dc, pic.width, pic.height, pic.pressed ? Colour{226, 232, 238} : Colour{252, 253, 255},
             pic.pressed ? Colour{240, 243, 247} : Colour{226, 234, 242});
    {
      Tools t(dc, Pen(pic.pressed ? colour.darker(140) : colour, 2), nullptr);
      RoundRect(dc, 1, 1, pic.width - 1, pic.height - 1, 20, 20);
    }
    const double shift = pic.pressed ? 1.5 : 0;
    const Box art{14 + shift, 10 + shift, pic.width - 28.0, pic.height * 0.58};
    for (const auto& [motif, draw] : kMotifs)
      if (motif == pic.motif) draw(dc, art, colour);
    if (pic.caption && *pic.caption) {
      HFONT font =
          CreateFontW(-17, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体");
      HGDIOBJ oldFont = SelectObject(dc, font);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, colour.darker(125).ref());
      RECT text{R(shift), R(pic.height * 0.7 + shift), R(pic.width + shift), R(pic.height * 0.96 + shift)};
      const std::wstring caption = Wide(pic.caption);
      DrawTextW(dc, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      SelectObject(dc, oldFont);
      DeleteObject(font);
    }
  }
  GdiFlush();
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  return bitmap;
}

void PaintPictureButton(const DRAWITEMSTRUCT& item, HBITMAP face, const std::string& caption) {
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  if (!face) {
    // No picture attached: the caption on a plain face.
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, const_cast<RECT*>(&r), (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const std::wstring text = Wide(caption);
    SetBkMode(dc, TRANSPARENT);
    RECT t = r;
    DrawTextW(dc, text.c_str(), -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  // Without a disabled face a disabled picture button looks like an enabled one.
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, face);
  BITMAP bm{};
  GetObjectW(face, sizeof bm, &bm);
  BitBlt(dc, r.left, r.top, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  if (item.itemState & ODS_FOCUS) {
    RECT f{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3};
    DrawFocusRect(dc, &f);
  }
}

void PaintPlot(const DRAWITEMSTRUCT& item, const plot::Plot* plot) {
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  HBRUSH ground = CreateSolidBrush(FromRgb(plot::kBackgroundRgb).ref());
  FillRect(dc, &r, ground);
  DeleteObject(ground);
  if (!plot) return;
  const plot::Plot& p = *plot;
  const plot::Frame f{r.right - r.left, r.bottom - r.top};
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, r.left, r.top, nullptr);
  SetBkMode(dc, TRANSPARENT);
  if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)))
    SelectObject(dc, font);
  const auto line = [&](int x0, int y0, int x1, int y1, uint32_t colour, int width, int style) {
    Tools t(dc, CreatePen(style, width, FromRgb(colour).ref()), nullptr);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
  };
  const auto text = [&](int x, int baseline, const std::string& label, uint32_t colour) {
    const std::wstring wide = Wide(label);
    SetTextColor(dc, FromRgb(colour).ref());
    SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    TextOutW(dc, x, baseline, wide.c_str(), static_cast<int>(wide.size()));
  };
  std::vector<POINT> trace;
  for (const plot::Item& i : p.items) {
    switch (i.kind) {
      case plot::ItemKind::Range: {
        RECT band{std::max(f.left(), f.x(p, i.x)), f.top(), std::min(f.right(), f.x(p, i.x2)), f.axisY()};
        if (band.right <= band.left) band.right = band.left + 1;
        HBRUSH shade = CreateSolidBrush(FromRgb(plot::kRangeRgb).ref());
        FillRect(dc, &band, shade);
        DeleteObject(shade);
        break;
      }
      case plot::ItemKind::Trace:
        trace.push_back({f.x(p, i.x), f.y(p, i.y)});
        break;
      case plot::ItemKind::Threshold:
        line(f.left(), f.y(p, i.y), f.right(), f.y(p, i.y), plot::kThresholdRgb, 1, PS_DASH);
        break;
      case plot::ItemKind::Tick:
        line(f.x(p, i.x), f.axisY(), f.x(p, i.x), f.axisY() + 4, plot::kAxisRgb, 1, PS_SOLID);
        text(f.x(p, i.x), f.height - 4, i.label, plot::kAxisRgb);
        break;
      case plot::ItemKind::Product:
        line(f.x(p, i.x), f.axisY(), f.x(p, i.x), f.productTop(i),
             i.conflict ? plot::kConflictRgb : plot::kProductRgb, 1, PS_SOLID);
        break;
      case plot::ItemKind::Channel: {
        const uint32_t colour = i.conflict ? plot::kConflictRgb : plot::kChannelRgb;
        line(f.x(p, i.x), f.axisY(), f.x(p, i.x), f.top(), colour, 2, PS_SOLID);
        text(f.x(p, i.x), f.labelBaseline(i), i.label, colour);
        break;
      }
    }
  }
  if (trace.size() > 1) {
    Tools t(dc, CreatePen(PS_SOLID, 1, FromRgb(plot::kTraceRgb).ref()), nullptr);
    Polyline(dc, trace.data(), static_cast<int>(trace.size()));
  }
  line(f.left(), f.axisY(), f.right(), f.axisY(), plot::kAxisRgb, 1, PS_SOLID);
  RestoreDC(dc, saved);
}

HBRUSH CreateBackgroundBrush(HWND window, HBITMAP picture, int width, int height) {
  // The client area: the ground, and the picture stretched on it.
  RECT client;
  GetClientRect(window, &client);
  HDC screen = GetDC(window);
  HDC dc = CreateCompatibleDC(screen);
  RECT all{0, 0, std::max<LONG>(client.right, width), std::max<LONG>(client.bottom, height)};
  HBITMAP canvas = CreateCompatibleBitmap(screen, all.right, all.bottom);
  HGDIOBJ oldCanvas = SelectObject(dc, canvas);
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, picture);
  BITMAP bm{};
  GetObjectW(picture, sizeof bm, &bm);
  StretchBlt(dc, 0, 0, width, height, mem, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  SelectObject(dc, oldCanvas);
  DeleteDC(dc);
  ReleaseDC(window, screen);
  HBRUSH brush = CreatePatternBrush(canvas);
  DeleteObject(canvas);  // the brush keeps its own copy
  return brush;
}

}  // namespace lx::ui::win32
