#include "core/plot.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace lx::plot {
namespace {

std::string Mhz3(double khz) { return fmt::format("{:.3f}", khz / 1000.0); }

std::string Rgb(uint32_t rgb) { return fmt::format("#{:06X}", rgb); }

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

int Frame::x(const Plot& plot, double khz) const {
  const double span = plot.high > plot.low ? plot.high - plot.low : 1.0;
  const double at = left() + (khz - plot.low) / span * (right() - left());
  return static_cast<int>(std::lround(std::clamp(at, -1.0e6, 1.0e6)));
}

int Frame::y(const Plot& plot, double db) const {
  const double span = plot.dbHigh > plot.dbLow ? plot.dbHigh - plot.dbLow : 1.0;
  const double v = std::clamp((db - plot.dbLow) / span, 0.0, 1.0);
  return static_cast<int>(std::lround(axisY() - v * (axisY() - top())));
}

int Frame::productTop(const Item& product) const {
  const int tall = (axisY() - top()) / 4;
  if (product.label == "im3") return axisY() - tall;
  if (product.label == "im3x") return axisY() - tall * 2 / 3;
  return axisY() - tall / 3;
}

std::string MhzLabel(double khz) {
  std::string s = fmt::format("{:.3f}", std::round(khz) / 1000.0);
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

std::vector<Item> AxisTicks(double low, double high, int target) {
  std::vector<Item> ticks;
  if (!(high > low) || target < 1) return ticks;
  const double raw = (high - low) / target;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  double step = power;
  for (const double m : {1.0, 2.0, 5.0, 10.0})
    if (power * m >= raw) {
      step = power * m;
      break;
    }
  step = std::max(step, 1.0);  // never below one kHz
  for (double t = std::ceil(low / step) * step; t <= high + 1e-9; t += step)
    ticks.push_back(Item{ItemKind::Tick, t, t, 0, MhzLabel(t), false});
  return ticks;
}

std::vector<std::string> Listing(const Plot& plot) {
  std::vector<std::string> out;
  std::string ticks;
  for (const Item& i : plot.items)
    if (i.kind == ItemKind::Tick) ticks += " " + i.label;
  out.push_back("axis " + Mhz3(plot.low) + ".." + Mhz3(plot.high) + " MHz, ticks" + ticks);
  struct Summary {
    int count = 0, red = 0;
    double low = 0, high = 0;
    const Item* loudest = nullptr;
  };
  std::map<std::string, Summary> products;
  Summary trace;
  const auto add = [](Summary& s, const Item& i) {
    if (s.count == 0 || i.x < s.low) s.low = i.x;
    if (s.count == 0 || i.x > s.high) s.high = i.x;
    if (!s.loudest || i.y > s.loudest->y) s.loudest = &i;
    ++s.count;
    s.red += i.conflict ? 1 : 0;
  };
  for (const Item& i : plot.items) {
    if (i.kind == ItemKind::Product) add(products[i.label], i);
    if (i.kind == ItemKind::Trace) add(trace, i);
  }
  for (const Item& i : plot.items) {
    if (i.kind == ItemKind::Range) out.push_back("range " + Mhz3(i.x) + ".." + Mhz3(i.x2) + " MHz");
    if (i.kind == ItemKind::Threshold) out.push_back(fmt::format("threshold {:g} dB", i.y));
  }
  if (trace.count > 0)
    out.push_back(fmt::format("trace {} points {}..{} MHz, loudest {:.1f} dB at {} MHz", trace.count,
                              Mhz3(trace.low), Mhz3(trace.high), trace.loudest->y, Mhz3(trace.loudest->x)));
  for (const auto& [label, s] : products)
    out.push_back(fmt::format("products {} {} marks {}..{} MHz, {} red", label, s.count, Mhz3(s.low),
                              Mhz3(s.high), s.red));
  for (const Item& i : plot.items)
    if (i.kind == ItemKind::Channel)
      out.push_back("channel " + i.label + " " + Mhz3(i.x) + " MHz" + (i.conflict ? " red" : ""));
  return out;
}

std::string Svg(const Plot& plot, int width, int height) {
  const Frame f{width, height};
  std::string svg = fmt::format(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"{0}\" height=\"{1}\" viewBox=\"0 0 {0} {1}\" "
      "font-family=\"sans-serif\" font-size=\"10\">\n"
      "<rect x=\"0\" y=\"0\" width=\"{0}\" height=\"{1}\" fill=\"{2}\"/>\n",
      width, height, Rgb(kBackgroundRgb));
  std::string trace;
  for (const Item& i : plot.items) {
    switch (i.kind) {
      case ItemKind::Range: {
        const int x0 = std::max(f.left(), f.x(plot, i.x)), x1 = std::min(f.right(), f.x(plot, i.x2));
        if (x1 >= x0)
          svg += fmt::format(
              "<rect class=\"range\" x=\"{}\" y=\"{}\" width=\"{}\" height=\"{}\" fill=\"{}\"/>\n", x0,
              f.top(), std::max(1, x1 - x0), f.axisY() - f.top(), Rgb(kRangeRgb));
        break;
      }
      case ItemKind::Trace:
        trace += fmt::format("{}{},{}", trace.empty() ? "" : " ", f.x(plot, i.x), f.y(plot, i.y));
        break;
      case ItemKind::Threshold:
        svg += fmt::format(
            "<line class=\"threshold\" x1=\"{0}\" y1=\"{1}\" x2=\"{2}\" y2=\"{1}\" stroke=\"{3}\" "
            "stroke-dasharray=\"4 3\"/>\n",
            f.left(), f.y(plot, i.y), f.right(), Rgb(kThresholdRgb));
        break;
      case ItemKind::Tick: {
        const int x = f.x(plot, i.x);
        svg += fmt::format(
            "<line class=\"tick\" x1=\"{0}\" y1=\"{1}\" x2=\"{0}\" y2=\"{2}\" stroke=\"{3}\"/>\n"
            "<text x=\"{0}\" y=\"{4}\" text-anchor=\"middle\" fill=\"{3}\">{5}</text>\n",
            x, f.axisY(), f.axisY() + 4, Rgb(kAxisRgb), height - 4, Escaped(i.label));
        break;
      }
      case ItemKind::Product:
        svg += fmt::format(
            "<line class=\"product\" x1=\"{0}\" y1=\"{1}\" x2=\"{0}\" y2=\"{2}\" stroke=\"{3}\"/>\n",
            f.x(plot, i.x), f.axisY(), f.productTop(i), Rgb(i.conflict ? kConflictRgb : kProductRgb));
        break;
      case ItemKind::Channel: {
        const int x = f.x(plot, i.x);
        const std::string rgb = Rgb(i.conflict ? kConflictRgb : kChannelRgb);
        svg += fmt::format(
            "<line class=\"channel\" x1=\"{0}\" y1=\"{1}\" x2=\"{0}\" y2=\"{2}\" stroke=\"{3}\" "
            "stroke-width=\"2\"/>\n"
            "<text x=\"{0}\" y=\"{4}\" text-anchor=\"middle\" fill=\"{3}\">{5}</text>\n",
            x, f.axisY(), f.top(), rgb, f.labelBaseline(i), Escaped(i.label));
        break;
      }
    }
  }
  if (!trace.empty())
    svg += fmt::format("<polyline class=\"trace\" fill=\"none\" stroke=\"{}\" points=\"{}\"/>\n",
                       Rgb(kTraceRgb), trace);
  svg += fmt::format(
      "<line class=\"axis\" x1=\"{0}\" y1=\"{1}\" x2=\"{2}\" y2=\"{1}\" stroke=\"{3}\"/>\n</svg>\n", f.left(),
      f.axisY(), f.right(), Rgb(kAxisRgb));
  return svg;
}

}  // namespace lx::plot
