// The scan readers and the range parser on any text: every point read is finite and in order,
// every skipped line is counted and named, and the check, the suggestion's avoidance and the
// picture accept whatever was read.
//
// Input: a scan file; its first line is also read as an exclusion list.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "core/plot.h"
#include "fuzz_support.h"
#include "settings/frequency_plan.h"

using namespace lx::settings;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ScanRead read = ParseScan(text);
  const Scan& scan = read.scan;
  lx::fuzz::Check(read.error.empty() != scan.points.empty());
  const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  lx::fuzz::Check(scan.malformed >= static_cast<int>(scan.malformedLines.size()));
  for (const int n : scan.malformedLines) lx::fuzz::Check(n >= 1 && n <= lines);
  lx::fuzz::Check((scan.malformed == 0) == ScanNotice(scan).empty());
  for (std::size_t i = 0; i < scan.points.size(); ++i) {
    lx::fuzz::Check(std::isfinite(scan.points[i].khz) && std::isfinite(scan.points[i].db));
    if (i > 0) lx::fuzz::Check(scan.points[i - 1].khz < scan.points[i].khz);  // one reading per frequency
  }

  const std::vector<KhzRange> occupied = OccupiedRanges(scan, -60.0);
  for (std::size_t i = 0; i < occupied.size(); ++i) {
    lx::fuzz::Check(occupied[i].low <= occupied[i].high);
    if (i > 0) lx::fuzz::Check(occupied[i - 1].high < occupied[i].low);
  }

  const RangesRead ranges = ParseRanges(text.substr(0, text.find('\n')));
  for (const KhzRange& r : ranges.ranges) lx::fuzz::Check(r.low > 0 && r.low <= r.high);
  lx::fuzz::Check(ranges.error.empty() || ranges.ranges.empty());
  if (ranges.error.empty()) lx::fuzz::Check(ParseRanges(FormatRanges(ranges.ranges)).ranges == ranges.ranges);

  PlanInputs inputs;
  inputs.scan = scan;
  inputs.thresholdDb = -60.0;
  inputs.exclusions = ranges.ranges;
  const std::vector<int64_t> bank = {606000, 606400, 607000, 608100};
  const PlanCheck check = CheckPlan(bank, inputs);
  for (const ChannelIssue& i : check.issues) lx::fuzz::Check(i.where.contains(i.channel));
  const lx::plot::Plot picture = PlanPlot(check, inputs);
  lx::fuzz::Check(!lx::plot::Listing(picture).empty());
  return 0;
}
