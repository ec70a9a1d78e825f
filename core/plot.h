#pragma once
// A frequency plot as data: what is drawn, in kHz and dB, before any pixel. The windows paint
// these items, the command line writes them as SVG and the tests and scripts read them, so all
// of them show the same picture.
#include <cstdint>
#include <string>
#include <vector>

namespace lx::plot {

enum class ItemKind : uint8_t {
  Tick,       // an axis tick at x, label "606" or "606.5" (MHz)
  Range,      // an excluded range x..x2, shaded
  Trace,      // one scan point at x with level y (dB); consecutive points form the trace
  Threshold,  // the level y above which the scan counts as occupied
  Product,    // an intermodulation product at x; label its order ("im3", "im3x", "im5")
  Channel,    // a channel at x, label "CH00"..; red when `conflict`
};

struct Item {
  ItemKind kind;
  double x = 0, x2 = 0;  // kHz
  double y = 0;          // dB (Trace, Threshold)
  std::string label;
  bool conflict = false;  // drawn in red: a channel or product inside a guard
  int row = 0;            // Channel: the label's row above the plot (0..kLabelRows-1), so neighbours do not overlap
};

struct Plot {
  double low = 0, high = 0;         // kHz at the left and right edge
  double dbLow = -120, dbHigh = 0;  // the trace's level scale, bottom to top
  std::vector<Item> items;          // drawn in this order
};

// Colours, 0xRRGGBB, the same on every host and in the SVG.
inline constexpr uint32_t kBackgroundRgb = 0xFFFFFF;
inline constexpr uint32_t kAxisRgb = 0x404040;
inline constexpr uint32_t kRangeRgb = 0xD9D9D9;
inline constexpr uint32_t kTraceRgb = 0x2E86C1;
inline constexpr uint32_t kThresholdRgb = 0xE67E22;
inline constexpr uint32_t kProductRgb = 0x7F8C8D;
inline constexpr uint32_t kChannelRgb = 0x1E7B34;
inline constexpr uint32_t kConflictRgb = 0xD01010;

// Where the items go on a canvas of `width` by `height` pixels: the axis runs along the bottom
// margin, channel lines rise from it, products are short marks above it.
struct Frame {
  int width = 0, height = 0;
  static constexpr int kLabelRows = 3, kLabelRowHeight = 12;
  static constexpr int kMarginLeft = 6, kMarginRight = 6, kMarginTop = 4 + kLabelRows * kLabelRowHeight,
                       kMarginBottom = 18;
  int left() const { return kMarginLeft; }
  int right() const { return width - kMarginRight; }
  int top() const { return kMarginTop; }
  int axisY() const { return height - kMarginBottom; }
  int x(const Plot& plot, double khz) const;
  int y(const Plot& plot, double db) const;   // of the level scale, inside top()..axisY()
  int productTop(const Item& product) const;  // products of higher order are shorter
  int labelBaseline(const Item& channel) const { return top() - 3 - channel.row * kLabelRowHeight; }
};

// Axis ticks for kHz low..high on a "nice" MHz step (1, 2 or 5 times a power of ten), about
// `target` of them.
std::vector<Item> AxisTicks(double low, double high, int target = 8);

// "606.5" for 606500 kHz: MHz without trailing zeros.
std::string MhzLabel(double khz);

// What is drawn, one line per item, for transcripts and tests. Products and trace points are
// summarised (count and extent per kind), the rest listed one by one.
std::vector<std::string> Listing(const Plot& plot);

// The picture as an SVG document.
std::string Svg(const Plot& plot, int width, int height);

}  // namespace lx::plot
