#pragma once
// The planning model that the frequency-planning window and lxcfg plan share: a bank of channel
// frequencies checked against the guards, excluded ranges and a spectrum scan; the suggestion
// that avoids them; the conflict list as text; and the plot of it all.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/plot.h"
#include "core/state.h"
#include "settings/channel_plan.h"

namespace lx::settings {

// ---- excluded ranges ----

struct KhzRange {
  int64_t low = 0, high = 0;  // inclusive
  bool contains(int64_t f) const { return f >= low && f <= high; }
  bool operator==(const KhzRange&) const = default;
};

struct RangesRead {
  std::vector<KhzRange> ranges;
  std::string error;  // empty when every piece was a range
};
// "606000-614000, 622000-630000" (kHz; commas, semicolons or blanks between ranges; a single
// frequency is a range of one). Empty text is no range.
RangesRead ParseRanges(std::string_view text);
std::string FormatRanges(std::span<const KhzRange> ranges);

// ---- spectrum scans ----

inline constexpr double kDefaultThresholdDb = -80.0;

struct ScanPoint {
  double khz = 0;
  double db = 0;
};

enum class ScanFormat : uint8_t { LevelCsv, RtlPower };

struct Scan {
  ScanFormat format = ScanFormat::LevelCsv;
  std::vector<ScanPoint> points;    // ascending by frequency
  int malformed = 0;                // lines skipped
  std::vector<int> malformedLines;  // their numbers (1-based), the first few
  bool empty() const { return points.empty(); }
};

struct ScanRead {
  Scan scan;
  std::string error;  // no usable point at all: the scan is not used
};

// A "frequency,level" CSV (Hz, kHz or MHz, told apart by the values; a header line allowed) or
// the CSV rtl_power writes (date, time, Hz low, Hz high, Hz step, samples, dB values).
ScanRead ParseScan(std::string_view text);
// "3 malformed lines skipped (lines 4, 9, 12)"; empty when there were none.
std::string ScanNotice(const Scan& scan);
const char* ScanFormatName(ScanFormat format);

// ---- the check ----

struct PlanInputs {
  PlanGuards guards;
  int inUse = 16;  // channels 0..inUse-1 are checked and suggested
  std::vector<KhzRange> exclusions;
  Scan scan;
  double thresholdDb = kDefaultThresholdDb;
};

// A channel that lies in an excluded range or on a frequency the scan finds occupied.
struct ChannelIssue {
  enum class Kind : uint8_t { Excluded, Occupied } kind;
  int64_t channel = 0;  // its frequency
  KhzRange where;       // the excluded range, or the occupied stretch of the scan
  double db = 0;        // Occupied: the loudest level there
};

// A product of the enabled orders, for the plot.
struct Product {
  ConflictKind kind;
  int64_t khz = 0;
  bool conflict = false;  // inside its guard of a channel
};

struct PlanCheck {
  std::vector<int64_t> channels;  // the channels in use, by channel number
  std::vector<SharedFrequency> shared;
  std::vector<PlanConflict> conflicts;
  std::vector<ChannelIssue> issues;
  std::vector<KhzRange> occupied;  // stretches of the scan above the threshold
  std::size_t problems() const { return shared.size() + conflicts.size() + issues.size(); }
  bool compatible() const { return problems() == 0; }
  // Whether channel frequency f takes part in any problem.
  bool involves(int64_t f) const;
};

// The stretches where the scan is above the threshold, each point covering half the way to its
// neighbours.
std::vector<KhzRange> OccupiedRanges(const Scan& scan, double thresholdDb);

PlanCheck CheckPlan(std::span<const int64_t> channels, const PlanInputs& inputs);

// A row of an image's channel table, as plan lists it.
struct PlanRow {
  int64_t f, programmed;  // the channel's frequency, and the one programmed (a receiver's offset added)
  double exact, error;    // the frequency the words make exactly, and its distance from `programmed`
  int band, subband;
  std::string inductance;
  bool foreign;   // words this model's codec does not write: another model's or crystal's image
  int conflicts;  // conflicts and shared frequencies this channel takes part in
};

// The rows of the image's channels `freqs` (one per channel, as decoded), checked as `check` says.
std::vector<PlanRow> PlanRows(const ToolState& s, std::span<const int64_t> freqs, const PlanCheck& check);

// Every product 2fa-fb, fa+fb-fc and 3fa-2fb of the enabled orders (guard above 0) among the
// distinct channels, once per kind and frequency, ascending.
std::vector<Product> Products(std::span<const int64_t> channels, const PlanGuards& guards);

// What makes a plan fail, counted: "1 shared frequency", "2 conflicts", "1 channel in excluded
// ranges", "1 channel on occupied frequencies"; empty when it passes.
std::vector<std::string> ProblemCounts(const PlanCheck& check);

// What lxcfg plan --verbose prints after the table, and the window's list: the guards, then a
// line per shared frequency, conflict and channel issue.
std::string ConflictListing(const PlanCheck& check, const PlanInputs& inputs);

// ---- the suggestion ----

// The lowest channels in from..to on the step grid that every guard accepts, that the model's
// codec keeps exactly at the crystal, outside the exclusions and off occupied scan points.
std::vector<int64_t> SuggestChannels(const ToolState& state, int64_t from, int64_t to, int count,
                                     int64_t step, const PlanInputs& inputs);

// The band the user works in, where a suggestion starts: from the lowest channel in use to the
// highest, the top raised to where the suggestion from that lowest channel places its last
// channel, so that it fits; within the model's range. The whole range when it holds no channel.
KhzRange WorkingBand(const ToolState& state, std::span<const int64_t> bank, int64_t step,
                     const PlanInputs& inputs);

// ---- the picture ----

plot::Plot PlanPlot(const PlanCheck& check, const PlanInputs& inputs);

}  // namespace lx::settings
