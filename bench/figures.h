#pragma once
// The table bench/run prints: each figure beside its floor, from interleaved runs, as medians
// and their ratio, with the target it is held to.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace lx::bench {

// A site scan as a "frequency,level" CSV in kHz: `points` readings across low..high kHz, a noise
// floor with a carrier every 7 MHz, as the planning budgets use it.
inline std::string SiteScan(int points = 10000, long low = 470000, long high = 960000) {
  std::string csv = "frequency,level\n";
  for (int i = 0; i < points; ++i) {
    const long khz = low + static_cast<long>(i) * (high - low) / points;
    const bool carrier = khz % 7000 < 200;
    csv += std::to_string(khz) + "," + (carrier ? "-45" : std::to_string(-100 - i % 7)) + "\n";
  }
  return csv;
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Columns on a terminal: CJK characters take two.
inline int DisplayWidth(const std::string& text) {
  int width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c & 0xC0) == 0x80) continue;  // continuation byte
    width += c >= 0xE3 && c <= 0xE9 ? 2 : 1;
  }
  return width;
}

inline void PrintHeader() {
  std::printf("%-44s %12s %12s %7s  %s\n", "figure (median)", "ours", "floor", "ratio", "target");
}

// One row. `maxRatio` > 0: the target is a ratio; `maxValue` > 0: an absolute bound in `unit`;
// neither: a figure for information. Returns whether the figure meets its target.
inline bool PrintRow(const std::string& what, double ours, double floor, const char* unit, double maxRatio,
                     double maxValue = 0) {
  const double ratio = floor > 0 ? ours / floor : 0;
  char target[48];
  bool met = true;
  if (maxRatio > 0) {
    std::snprintf(target, sizeof target, "ratio <= %.2f", maxRatio);
    met = ratio <= maxRatio;
  } else if (maxValue > 0) {
    std::snprintf(target, sizeof target, "< %g %s", maxValue, unit);
    met = ours < maxValue;
  } else {
    std::snprintf(target, sizeof target, "(information)");
  }
  char a[32], b[32];
  std::snprintf(a, sizeof a, "%.*f %s", ours < 10 ? 2 : 1, ours, unit);
  std::snprintf(b, sizeof b, "%.*f %s", floor < 10 ? 2 : 1, floor, unit);
  const std::string padded = what + std::string(std::max(0, 44 - DisplayWidth(what)), ' ');
  std::printf("%s %12s %12s %7.2f  %-16s %s\n", padded.c_str(), a, b, ratio, target,
              maxRatio > 0 || maxValue > 0 ? (met ? "met" : "MISSED") : "");
  std::fflush(stdout);
  return met;
}

}  // namespace lx::bench
