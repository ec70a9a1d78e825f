#include "settings/frequency_plan.h"

#include <fmt/format.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "channel/codec.h"

namespace lx::settings {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::optional<int64_t> WholeNumber(std::string_view s) {
  s = Trim(s);
  int64_t v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

std::optional<double> RealNumber(std::string_view s) {
  s = Trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  double v = 0;
#if __cpp_lib_to_chars >= 201611L
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
#else
  // The browser build's library has no floating-point from_chars. Its strtod always runs in
  // the C locale; what from_chars refuses (a second sign, hex, out of range) is refused here too.
  if (s.empty() || s.front() == '+' || s.find_first_of("xX") != std::string_view::npos) return std::nullopt;
  const std::string text(s);
  char* end = nullptr;
  errno = 0;
  v = std::strtod(text.c_str(), &end);
  if (errno == ERANGE || end != text.c_str() + text.size() || !std::isfinite(v)) return std::nullopt;
#endif
  return v;
}

std::vector<std::string_view> Fields(std::string_view line, std::string_view separators) {
  std::vector<std::string_view> out;
  for (std::size_t from = 0;;) {
    const std::size_t at = line.find_first_of(separators, from);
    out.push_back(Trim(line.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from)));
    if (at == std::string_view::npos) return out;
    from = at + 1;
  }
}

// The lines of a text (LF or CR LF), numbered from 1, blank and '#' lines left out.
template <class F>
void ForEachLine(std::string_view text, F&& onLine) {
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    ++number;
    if (!line.empty() && line.front() != '#') onLine(number, line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

bool LooksLikeDate(std::string_view s) {
  // rtl_power's first column: 2026-12-07
  return s.size() == 10 && s[4] == '-' && s[7] == '-' &&
         std::all_of(s.begin(), s.end(), [](char c) { return (c >= '0' && c <= '9') || c == '-'; });
}

constexpr std::size_t kMalformedNamed = 10;
// Above any radio microphone by far; larger values are a damaged line, not a frequency.
constexpr double kMaxScanKHz = 1.0e8;  // line numbers a notice names at most

std::string Channels(const std::vector<int64_t>& channels, int64_t f) {
  std::string list;
  for (std::size_t k = 0; k < channels.size(); ++k)
    if (channels[k] == f) list += (list.empty() ? "" : ",") + fmt::format("{:02d}", k);
  return list;
}

std::string Pad(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

bool InAny(std::span<const KhzRange> sorted, int64_t f) {
  // sorted by low and not overlapping
  auto it = std::upper_bound(sorted.begin(), sorted.end(), f,
                             [](int64_t v, const KhzRange& r) { return v < r.low; });
  return it != sorted.begin() && std::prev(it)->contains(f);
}

}  // namespace

// ---- excluded ranges ----

RangesRead ParseRanges(std::string_view text) {
  RangesRead out;
  for (const std::string_view piece : Fields(text, ",;")) {
    if (piece.empty()) continue;
    const std::size_t dash = piece.find('-', 1);
    const auto low = WholeNumber(piece.substr(0, dash));
    const auto high = dash == std::string_view::npos ? low : WholeNumber(piece.substr(dash + 1));
    constexpr int64_t kMaxKHz = static_cast<int64_t>(kMaxScanKHz);
    if (!low || !high || *low <= 0 || *high <= 0 || *low > kMaxKHz || *high > kMaxKHz) {
      out.error = "'" + std::string(piece) + "' is not a range in kHz (like 606000-614000)";
      out.ranges.clear();
      return out;
    }
    if (*low > *high) {
      out.error = "'" + std::string(piece) + "': the range's low end is above its high end";
      out.ranges.clear();
      return out;
    }
    out.ranges.push_back({*low, *high});
  }
  return out;
}

std::string FormatRanges(std::span<const KhzRange> ranges) {
  std::string out;
  for (const KhzRange& r : ranges)
    out += (out.empty() ? "" : ", ") +
           (r.low == r.high ? std::to_string(r.low) : fmt::format("{}-{}", r.low, r.high));
  return out;
}

// ---- spectrum scans ----

const char* ScanFormatName(ScanFormat format) {
  return format == ScanFormat::RtlPower ? "rtl_power CSV" : "frequency,level CSV";
}

ScanRead ParseScan(std::string_view text) {
  ScanRead out;
  Scan& scan = out.scan;
  const auto malformed = [&](int line) {
    ++scan.malformed;
    if (scan.malformedLines.size() < kMalformedNamed) scan.malformedLines.push_back(line);
  };
  bool first = true, decided = false;
  struct Row {
    double freq, db;  // the frequency as written
    int line;
  };
  std::vector<Row> raw;
  ForEachLine(text, [&](int number, std::string_view line) {
    const std::vector<std::string_view> f = Fields(line, ",;\t");
    if (!decided) {
      decided = true;
      if (f.size() >= 7 && LooksLikeDate(f[0])) scan.format = ScanFormat::RtlPower;
    }
    if (scan.format == ScanFormat::RtlPower) {
      const auto low = f.size() >= 7 && LooksLikeDate(f[0]) ? RealNumber(f[2]) : std::nullopt;
      const auto high = low ? RealNumber(f[3]) : std::nullopt;
      const auto step = high ? RealNumber(f[4]) : std::nullopt;
      if (!step || *step <= 0 || *low <= 0 || *high < *low || *high > kMaxScanKHz * 1000)
        return malformed(number);
      std::vector<double> levels;
      for (std::size_t i = 6; i < f.size(); ++i) {
        const auto db = RealNumber(f[i]);
        if (!db) return malformed(number);
        levels.push_back(*db);
      }
      // More bins than the line's span holds means a damaged line.
      if (*low + static_cast<double>(levels.size() - 1) * *step > *high + *step / 2) return malformed(number);
      for (std::size_t i = 0; i < levels.size(); ++i)
        scan.points.push_back({(*low + static_cast<double>(i) * *step) / 1000.0, levels[i]});
      return;
    }
    const bool header = first;
    first = false;
    const auto freq = f.size() == 2 ? RealNumber(f[0]) : std::nullopt;
    const auto db = freq ? RealNumber(f[1]) : std::nullopt;
    if (!db || *freq <= 0) {
      // A first line that starts with a word names the columns.
      if (header && !f[0].empty() && !RealNumber(f[0]) && std::isalpha(static_cast<unsigned char>(f[0][0])))
        return;
      return malformed(number);
    }
    raw.push_back({*freq, *db, number});
  });
  if (scan.format == ScanFormat::LevelCsv && !raw.empty()) {
    // One unit for the whole file, told by its middle frequency (a stray value cannot change
    // it): wireless microphones work between 100 MHz and 2 GHz, which no two units confuse.
    std::vector<double> freqs;
    freqs.reserve(raw.size());
    for (const Row& r : raw) freqs.push_back(r.freq);
    std::nth_element(freqs.begin(), freqs.begin() + static_cast<std::ptrdiff_t>(freqs.size() / 2),
                     freqs.end());
    const double middle = freqs[freqs.size() / 2];
    const double toKhz = middle < 1.0e4 ? 1000.0 : middle < 1.0e7 ? 1.0 : 0.001;
    scan.points.reserve(raw.size());
    for (const Row& r : raw) {
      const double khz = r.freq * toKhz;
      if (khz > kMaxScanKHz) {
        malformed(r.line);
        continue;
      }
      scan.points.push_back({khz, r.db});
    }
    std::sort(scan.malformedLines.begin(), scan.malformedLines.end());
  }
  std::stable_sort(scan.points.begin(), scan.points.end(),
                   [](const ScanPoint& a, const ScanPoint& b) { return a.khz < b.khz; });
  // Sweeps repeated over one band keep the loudest reading of each frequency (a max hold).
  std::vector<ScanPoint> held;
  held.reserve(scan.points.size());
  for (const ScanPoint& p : scan.points)
    if (!held.empty() && held.back().khz == p.khz)
      held.back().db = std::max(held.back().db, p.db);
    else
      held.push_back(p);
  scan.points = std::move(held);
  if (scan.points.empty()) out.error = scan.malformed ? "no readable scan line" : "no scan points";
  return out;
}

std::string ScanNotice(const Scan& scan) {
  if (scan.malformed == 0) return {};
  std::string lines;
  for (const int n : scan.malformedLines) lines += (lines.empty() ? "" : ", ") + std::to_string(n);
  if (static_cast<std::size_t>(scan.malformed) > scan.malformedLines.size()) lines += ", ...";
  return fmt::format("{} malformed {} skipped ({} {})", scan.malformed,
                     scan.malformed == 1 ? "line" : "lines", scan.malformed == 1 ? "line" : "lines", lines);
}

// ---- the check ----

std::vector<KhzRange> OccupiedRanges(const Scan& scan, double thresholdDb) {
  std::vector<KhzRange> out;
  const auto& p = scan.points;
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (!(p[i].db > thresholdDb)) continue;
    const double left = i > 0 ? (p[i].khz - p[i - 1].khz) / 2 : 0.0;
    const double right = i + 1 < p.size() ? (p[i + 1].khz - p[i].khz) / 2 : 0.0;
    const KhzRange r{static_cast<int64_t>(std::floor(p[i].khz - left)),
                     static_cast<int64_t>(std::ceil(p[i].khz + right))};
    if (!out.empty() && r.low <= out.back().high)
      out.back().high = std::max(out.back().high, r.high);
    else
      out.push_back(r);
  }
  return out;
}

bool PlanCheck::involves(int64_t f) const {
  for (const SharedFrequency& s : shared)
    if (s.khz == f) return true;
  for (const PlanConflict& c : conflicts)
    if (c.victim == f || std::find(c.sources.begin(), c.sources.end(), f) != c.sources.end()) return true;
  return std::any_of(issues.begin(), issues.end(), [&](const ChannelIssue& i) { return i.channel == f; });
}

PlanCheck CheckPlan(std::span<const int64_t> channels, const PlanInputs& inputs) {
  PlanCheck check;
  const auto n = static_cast<std::size_t>(std::clamp(inputs.inUse, 1, static_cast<int>(channels.size())));
  check.channels.assign(channels.begin(),
                        channels.begin() + static_cast<std::ptrdiff_t>(std::min(n, channels.size())));
  check.shared = FindSharedFrequencies(check.channels);
  check.conflicts = FindConflicts(check.channels, inputs.guards);
  check.occupied = OccupiedRanges(inputs.scan, inputs.thresholdDb);
  for (const int64_t f : DistinctFrequencies(check.channels)) {
    for (const KhzRange& r : inputs.exclusions)
      if (r.contains(f)) check.issues.push_back({ChannelIssue::Kind::Excluded, f, r, 0});
    for (const KhzRange& r : check.occupied) {
      if (!r.contains(f)) continue;
      double loudest = inputs.thresholdDb;
      for (const ScanPoint& p : inputs.scan.points)
        if (p.khz >= static_cast<double>(r.low) && p.khz <= static_cast<double>(r.high))
          loudest = std::max(loudest, p.db);
      check.issues.push_back({ChannelIssue::Kind::Occupied, f, r, loudest});
    }
  }
  return check;
}

std::vector<Product> Products(std::span<const int64_t> channels, const PlanGuards& g) {
  const std::vector<int64_t> f = DistinctFrequencies(channels);
  std::vector<Product> out;
  const std::size_t n = f.size();
  for (std::size_t a = 0; a < n; ++a)
    for (std::size_t b = 0; b < n; ++b) {
      if (a == b) continue;
      if (g.im3 > 0) out.push_back({ConflictKind::Im3, 2 * f[a] - f[b], false});
      if (g.im5 > 0) out.push_back({ConflictKind::Im5, 3 * f[a] - 2 * f[b], false});
      if (g.im3x > 0 && a < b)
        for (std::size_t c = 0; c < n; ++c)
          if (c != a && c != b) out.push_back({ConflictKind::Im3x, f[a] + f[b] - f[c], false});
    }
  std::sort(out.begin(), out.end(), [](const Product& x, const Product& y) {
    return x.khz != y.khz ? x.khz < y.khz : x.kind < y.kind;
  });
  out.erase(
      std::unique(out.begin(), out.end(),
                  [](const Product& x, const Product& y) { return x.khz == y.khz && x.kind == y.kind; }),
      out.end());
  return out;
}

std::vector<std::string> ProblemCounts(const PlanCheck& check) {
  const auto plural = [](std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
  };
  std::vector<std::string> parts;
  if (!check.shared.empty())
    parts.push_back(plural(check.shared.size(), "shared frequency", "shared frequencies"));
  if (!check.conflicts.empty()) parts.push_back(plural(check.conflicts.size(), "conflict", "conflicts"));
  const auto excluded = static_cast<std::size_t>(
      std::count_if(check.issues.begin(), check.issues.end(),
                    [](const ChannelIssue& i) { return i.kind == ChannelIssue::Kind::Excluded; }));
  if (excluded != 0) parts.push_back(plural(excluded, "channel", "channels") + " in excluded ranges");
  if (check.issues.size() > excluded)
    parts.push_back(plural(check.issues.size() - excluded, "channel", "channels") +
                    " on occupied frequencies");
  return parts;
}

std::string ConflictListing(const PlanCheck& check, const PlanInputs& inputs) {
  const auto guard = [](int64_t g) { return g > 0 ? std::to_string(g) : std::string("off"); };
  const PlanGuards& g = inputs.guards;
  std::string out = "guards (kHz): spacing " + guard(g.spacing) + ", im3 " + guard(g.im3) + ", im3x " +
                    guard(g.im3x) + ", im5 " + guard(g.im5) + '\n';
  if (!inputs.exclusions.empty()) out += "excluded (kHz): " + FormatRanges(inputs.exclusions) + '\n';
  if (!inputs.scan.empty())
    out += fmt::format(
        "scan: {} points, occupied above {:g} dB: {}\n", inputs.scan.points.size(), inputs.thresholdDb,
        check.occupied.empty() ? std::string("nothing") : FormatRanges(check.occupied) + " kHz");
  for (const SharedFrequency& sf : check.shared)
    out += "  " + Pad("shared", 8) + std::to_string(sf.khz) + " kHz on channels " +
           Channels(check.channels, sf.khz) + '\n';
  for (const PlanConflict& c : check.conflicts)
    out += "  " + Pad(ConflictKindName(c.kind), 8) + DescribeConflict(c) + " (ch " +
           Channels(check.channels, c.victim) + ")\n";
  for (const ChannelIssue& i : check.issues) {
    if (i.kind == ChannelIssue::Kind::Excluded)
      out += fmt::format("  excluded {} kHz lies in {} ({})\n", i.channel, FormatRanges({&i.where, 1}),
                         "ch " + Channels(check.channels, i.channel));
    else
      out += fmt::format("  occupied {} kHz: the scan reads {:.1f} dB in {} kHz (ch {})\n", i.channel, i.db,
                         FormatRanges({&i.where, 1}), Channels(check.channels, i.channel));
  }
  return out;
}

// ---- the suggestion ----

std::vector<int64_t> SuggestChannels(const ToolState& s, int64_t from, int64_t to, int count, int64_t step,
                                     const PlanInputs& inputs) {
  std::vector<KhzRange> avoid = OccupiedRanges(inputs.scan, inputs.thresholdDb);
  avoid.insert(avoid.end(), inputs.exclusions.begin(), inputs.exclusions.end());
  std::sort(avoid.begin(), avoid.end(), [](const KhzRange& a, const KhzRange& b) { return a.low < b.low; });
  std::vector<KhzRange> merged;  // so that one search finds the range holding f
  for (const KhzRange& r : avoid)
    if (!merged.empty() && r.low <= merged.back().high + 1)
      merged.back().high = std::max(merged.back().high, r.high);
    else
      merged.push_back(r);
  const auto usable = [&](int64_t f) {
    return f > 0 && f <= UINT32_MAX && !InAny(merged, f) &&
           ChannelKeptExactly(s.profile(), s.chipModel, s.crystalKHz, static_cast<uint32_t>(f));
  };
  return SuggestPlan(from, to, count, step, inputs.guards, usable);
}

KhzRange WorkingBand(const ToolState& s, std::span<const int64_t> bank, int64_t step,
                     const PlanInputs& inputs) {
  const FrequencyRange range = ChannelRange(s.profile(), s.chipModel);
  const KhzRange whole{range.low, range.high};
  const auto n = static_cast<std::size_t>(std::clamp(inputs.inUse, 0, static_cast<int>(bank.size())));
  int64_t low = INT64_MAX, high = INT64_MIN;
  for (const int64_t f : bank.first(n))
    if (whole.contains(f))  // a channel out of range is not where the user works
      low = std::min(low, f), high = std::max(high, f);
  if (low > high) return whole;
  // The suggestion is greedy from the bottom, so its last channel is the least top it fits under.
  const std::vector<int64_t> fit = SuggestChannels(s, low, whole.high, inputs.inUse, step, inputs);
  if (static_cast<int>(fit.size()) < inputs.inUse) return {low, whole.high};
  return {low, std::max(high, fit.back())};
}

// ---- the picture ----

plot::Plot PlanPlot(const PlanCheck& check, const PlanInputs& inputs) {
  plot::Plot p;
  int64_t low = INT64_MAX, high = INT64_MIN;
  for (const int64_t f : check.channels) low = std::min(low, f), high = std::max(high, f);
  if (check.channels.empty()) low = high = 0;
  const int64_t margin = std::max<int64_t>({1000, (high - low) / 12, inputs.guards.spacing});
  low -= margin;
  high += margin;
  // Exclusions near the bank widen the view to show them whole; far ones are left out of it.
  const int64_t reach = high - low;
  for (const KhzRange& r : inputs.exclusions)
    if (r.high >= low - reach && r.low <= high + reach)
      low = std::min(low, r.low), high = std::max(high, r.high);
  p.low = static_cast<double>(low);
  p.high = static_cast<double>(high);

  const auto inView = [&](double khz) { return khz >= p.low && khz <= p.high; };
  for (const KhzRange& r : inputs.exclusions)
    if (static_cast<double>(r.high) >= p.low && static_cast<double>(r.low) <= p.high)
      p.items.push_back(
          {plot::ItemKind::Range, static_cast<double>(r.low), static_cast<double>(r.high), 0, {}});
  if (!inputs.scan.empty()) {
    double lo = inputs.thresholdDb, hi = inputs.thresholdDb;
    for (const ScanPoint& pt : inputs.scan.points)
      if (inView(pt.khz)) lo = std::min(lo, pt.db), hi = std::max(hi, pt.db);
    p.dbLow = std::floor(lo / 10) * 10 - 10;
    p.dbHigh = std::ceil(hi / 10) * 10 + 10;
    p.items.push_back({plot::ItemKind::Threshold, p.low, p.high, inputs.thresholdDb, {}});
    for (const ScanPoint& pt : inputs.scan.points)
      if (inView(pt.khz)) p.items.push_back({plot::ItemKind::Trace, pt.khz, pt.khz, pt.db, {}});
  }
  for (plot::Item& t : plot::AxisTicks(p.low, p.high)) p.items.push_back(std::move(t));

  std::set<std::pair<int, int64_t>> red;  // (kind, product) of every product conflict
  for (const PlanConflict& c : check.conflicts)
    if (c.kind != ConflictKind::Spacing) red.insert({static_cast<int>(c.kind), c.product});
  for (const Product& pr : Products(check.channels, inputs.guards)) {
    const auto khz = static_cast<double>(pr.khz);
    if (inView(khz))
      p.items.push_back({plot::ItemKind::Product, khz, khz, 0, ConflictKindName(pr.kind),
                         red.contains({static_cast<int>(pr.kind), pr.khz})});
  }
  // Labels go, in the order of frequency, to the lowest row where the last label is a label's
  // width (a twentieth of the view) away, else to the row whose last label is farthest.
  std::vector<std::size_t> order(check.channels.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return check.channels[a] < check.channels[b]; });
  std::vector<int> row(order.size());
  const double labelWidth = (p.high - p.low) / 20;
  std::vector<double> lastInRow(plot::Frame::kLabelRows, -1e18);
  for (const std::size_t k : order) {
    const auto f = static_cast<double>(check.channels[k]);
    int pick = 0;
    for (int r = 0; r < plot::Frame::kLabelRows; ++r) {
      if (f - lastInRow[static_cast<std::size_t>(r)] >= labelWidth) {
        pick = r;
        break;
      }
      if (lastInRow[static_cast<std::size_t>(r)] < lastInRow[static_cast<std::size_t>(pick)]) pick = r;
    }
    row[k] = pick;
    lastInRow[static_cast<std::size_t>(pick)] = f;
  }
  for (std::size_t k = 0; k < check.channels.size(); ++k) {
    const auto f = static_cast<double>(check.channels[k]);
    p.items.push_back({plot::ItemKind::Channel, f, f, 0, fmt::format("CH{:02d}", k),
                       check.involves(check.channels[k]), row[k]});
  }
  return p;
}

std::vector<PlanRow> PlanRows(const ToolState& s, std::span<const int64_t> freqs, const PlanCheck& check) {
  const ToolProfile& profile = s.profile();
  const int64_t offset = profile.receiverOffsetKHz;
  std::vector<PlanRow> rows;
  for (int k = 0; k < static_cast<int>(freqs.size()); ++k) {
    const ChannelWords w = ReadChannelWords(s.words, k);
    const int64_t f = freqs[static_cast<std::size_t>(k)];
    const double exact = ExactChannelFrequency(profile, s.crystalKHz, w) + static_cast<double>(offset);
    const BandCodes codes = SplitControlWord(w.control).codes;
    int involved = 0;
    for (const PlanConflict& c : check.conflicts)
      if (c.victim == f || std::find(c.sources.begin(), c.sources.end(), f) != c.sources.end()) ++involved;
    for (const SharedFrequency& sf : check.shared)
      if (sf.khz == f) involved += static_cast<int>(sf.channels.size()) - 1;
    for (const ChannelIssue& issue : check.issues)
      if (issue.channel == f) ++involved;
    rows.push_back({f, f + offset, exact, exact - static_cast<double>(f + offset), codes.code, codes.subcode,
                    InductanceAdvice(profile, s.chipModel, static_cast<uint32_t>(f)),
                    !CodecProduces(profile, s.chipModel, s.crystalKHz, w), involved});
  }
  return rows;
}

}  // namespace lx::settings
