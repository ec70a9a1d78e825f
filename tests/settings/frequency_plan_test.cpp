// The planning model of the window and lxcfg plan: products against hand-computed values, the
// range and scan readers, the check with exclusions and a scan, the suggestion that avoids
// them, and the plot as data.
#include "settings/frequency_plan.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "channel/codec.h"
#include "core/plot.h"
#include "core/profile.h"

namespace lx::settings {
namespace {

std::string ReadSample(const char* name) {
  std::ifstream in(std::string(LX_SOURCE_TESTS_DIR) + "/data/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(FrequencyPlan, ProductsOfASmallBankAreTheHandComputedOnes) {
  const std::vector<int64_t> bank = {600000, 600500, 601200};
  struct Row {
    PlanGuards guards;
    std::vector<int64_t> want;  // ascending
  } rows[] = {
      // 2fa-fb: 2*600000-600500, 2*600000-601200, 2*600500-600000, 2*600500-601200, 2*601200-600000, ...
      {{0, 1, 0, 0}, {598800, 599500, 599800, 601000, 601900, 602400}},
      // fa+fb-fc: 600000+600500-601200, 600000+601200-600500, 600500+601200-600000
      {{0, 0, 1, 0}, {599300, 600700, 601700}},
      // 3fa-2fb: 3*600000-2*601200, 3*600000-2*600500, 3*600500-2*601200, ...
      {{0, 0, 0, 1}, {597600, 599000, 599100, 601500, 602600, 603600}},
      {{300, 0, 0, 0}, {}},  // spacing alone makes no products
  };
  for (const Row& r : rows) {
    std::vector<int64_t> got;
    for (const Product& p : Products(bank, r.guards)) got.push_back(p.khz);
    EXPECT_EQ(got, r.want);
  }
}

TEST(FrequencyPlan, RangesReadAsTyped) {
  struct Row {
    const char* text;
    std::vector<KhzRange> want;
    bool error;
  } rows[] = {
      {"606000-614000, 622000-630000", {{606000, 614000}, {622000, 630000}}, false},
      {" 606000 - 612000 ;610000", {{606000, 612000}, {610000, 610000}}, false},
      {"", {}, false},
      {",,", {}, false},
      {"612000-606000", {}, true},
      {"606000-abc", {}, true},
      {"-5-10", {}, true},
      {"606 MHz", {}, true},
      {"99999999999999999999-1", {}, true},
  };
  for (const Row& r : rows) {
    const RangesRead read = ParseRanges(r.text);
    EXPECT_EQ(read.ranges, r.want) << r.text;
    EXPECT_EQ(!read.error.empty(), r.error) << r.text;
  }
  EXPECT_EQ(FormatRanges(ParseRanges("606000-614000,610000").ranges), "606000-614000, 610000");
}

TEST(FrequencyPlan, ScanReadersTakeEveryUnitAndFormatAndNameBadLines) {
  struct Row {
    std::string text;
    ScanFormat format;
    std::size_t points;
    double firstKhz;
    int malformed;
    std::string notice;
  } rows[] = {
      {"Frequency [MHz],Level\n606.5,-40\n607.0,-90\n", ScanFormat::LevelCsv, 2, 606500, 0, ""},
      {"606500,-40\r\n607000,-90\r\n", ScanFormat::LevelCsv, 2, 606500, 0, ""},
      {"606500000,-40\n607000000,-90\n", ScanFormat::LevelCsv, 2, 606500, 0, ""},
      // a stray huge value does not switch the unit of the rest
      {"606.5,-40\n607.0,-90\n1e300,-3\n", ScanFormat::LevelCsv, 2, 606500, 1,
       "1 malformed line skipped (line 3)"},
      {"606.5,-40\nx,1\n607,-90,7\n608\n\n# note\n-3,1\n606.7,nan\n", ScanFormat::LevelCsv, 1, 606500, 5,
       "5 malformed lines skipped (lines 2, 3, 4, 7, 8)"},
      {"2026-12-07, 21:00:00, 600000000, 600300000, 100000.00, 4, -40, -20, -35, -41\n", ScanFormat::RtlPower,
       4, 600000, 0, ""},
      // a truncated line and one with more bins than its span are skipped, the rest kept
      {"2026-12-07, 21:00:00, 600000000, 600100000, 100000, 4, -40, -20\n"
       "2026-12-07, 21:00:00, 600200000, 600300000, 100000, 4, -40, -20, -1, -2, -3\n"
       "2026-12-07, 21:00:00, 600400000\n",
       ScanFormat::RtlPower, 2, 600000, 2, "2 malformed lines skipped (lines 2, 3)"},
      {"", ScanFormat::LevelCsv, 0, 0, 0, ""},
      {"garbage\n\x01\x02\n", ScanFormat::LevelCsv, 0, 0, 1, "1 malformed line skipped (line 2)"},
  };
  for (const Row& r : rows) {
    const ScanRead read = ParseScan(r.text);
    EXPECT_EQ(read.scan.format, r.format) << r.text;
    ASSERT_EQ(read.scan.points.size(), r.points) << r.text;
    EXPECT_EQ(read.error.empty(), r.points > 0) << r.text;
    if (r.points > 0) {
      EXPECT_DOUBLE_EQ(read.scan.points[0].khz, r.firstKhz) << r.text;
    }
    EXPECT_EQ(read.scan.malformed, r.malformed) << r.text;
    EXPECT_EQ(ScanNotice(read.scan), r.notice) << r.text;
  }
  // Our samples of both formats, and a large scan, read whole.
  const ScanRead levels = ParseScan(ReadSample("scan-levels.csv"));
  EXPECT_EQ(levels.scan.points.size(), 1281u);
  EXPECT_EQ(levels.scan.malformed, 0);
  const ScanRead rtl = ParseScan(ReadSample("scan-rtl_power.csv"));
  EXPECT_EQ(rtl.scan.format, ScanFormat::RtlPower);
  EXPECT_EQ(rtl.scan.points.size(), 320u);  // two sweeps held as one
  std::string huge;
  for (int i = 0; i < 200000; ++i)
    huge += std::to_string(470000 + i) + ",-" + std::to_string(60 + i % 50) + "\n";
  EXPECT_EQ(ParseScan(huge).scan.points.size(), 200000u);
}

TEST(FrequencyPlan, ExclusionsAndLoudScanPointsAreIssuesOfTheCheck) {
  PlanInputs in;
  in.exclusions = {{606000, 612000}};
  in.scan = ParseScan("620.0,-100\n620.1,-50\n620.2,-100\n").scan;
  in.thresholdDb = -80;
  const std::vector<int64_t> bank = {605000, 606000, 620100, 630000};
  const PlanCheck check = CheckPlan(bank, in);
  ASSERT_EQ(check.issues.size(), 2u);
  EXPECT_EQ(check.issues[0].kind, ChannelIssue::Kind::Excluded);
  EXPECT_EQ(check.issues[0].channel, 606000);
  EXPECT_EQ(check.issues[1].kind, ChannelIssue::Kind::Occupied);
  EXPECT_EQ(check.issues[1].where, (KhzRange{620050, 620150}));
  const std::string list = ConflictListing(check, in);
  EXPECT_NE(list.find("  excluded 606000 kHz lies in 606000-612000 (ch 01)\n"), std::string::npos) << list;
  EXPECT_NE(list.find("  occupied 620100 kHz: the scan reads -50.0 dB in 620050-620150 kHz (ch 02)\n"),
            std::string::npos)
      << list;
  // Channels beyond the ones in use are not checked.
  in.inUse = 1;
  EXPECT_TRUE(CheckPlan(bank, in).compatible());
}

TEST(FrequencyPlan, SuggestionLeavesExcludedAndLoudRangesAndPassesTheCheck) {
  ToolState s(OstrelProfile(), {});
  s.chipModel = 1;  // LX7150
  s.crystalKHz = 24000;
  PlanInputs in;
  in.exclusions = ParseRanges("606000-612000, 615000-616000").ranges;
  in.scan = ParseScan(ReadSample("scan-levels.csv")).scan;  // carriers near 606.5, 621 and 627.1 MHz
  const std::vector<int64_t> plain = SuggestChannels(s, 600000, 640000, 16, 25, PlanInputs{});
  const std::vector<int64_t> plan = SuggestChannels(s, 600000, 640000, 16, 25, in);
  ASSERT_EQ(plan.size(), 16u);
  EXPECT_NE(plan, plain);
  const std::vector<KhzRange> loud = OccupiedRanges(in.scan, in.thresholdDb);
  ASSERT_EQ(loud.size(), 3u);
  for (const int64_t f : plan) {
    for (const KhzRange& r : in.exclusions) EXPECT_FALSE(r.contains(f)) << f;
    for (const KhzRange& r : loud) EXPECT_FALSE(r.contains(f)) << f;
    EXPECT_TRUE(ChannelKeptExactly(s.profile(), 1, 24000, static_cast<uint32_t>(f))) << f;
  }
  EXPECT_TRUE(CheckPlan(plan, in).compatible()) << ConflictListing(CheckPlan(plan, in), in);
}

TEST(FrequencyPlan, TheWorkingBandHoldsTheBankAndWidensUntilTheSuggestionFits) {
  ToolState s(OstrelProfile(), {});
  s.chipModel = 1;  // LX7150, 470000..960000 kHz
  s.crystalKHz = 24000;
  const std::vector<int64_t> bank{620000, 614000, 615000, 631000, 300000, 999999};
  PlanInputs in;
  struct Case {
    int inUse;
    KhzRange band;
  } cases[] = {
      {2, {614000, 620000}},  // wide enough already: the bank's own band
      {3, {614000, 620000}}, {4, {614000, 631000}},
      {5, {614000, 631000}},  // an out-of-range channel is no part of the band
      {6, {614000, 631000}},
  };
  for (const Case& c : cases) {
    in.inUse = c.inUse;
    EXPECT_EQ(WorkingBand(s, bank, 25, in), c.band) << c.inUse;
  }
  // A bank in a narrow band: the top rises to the suggestion's last channel, which then fits.
  const std::vector<int64_t> narrow(16, 614000);
  in.inUse = 16;
  const KhzRange band = WorkingBand(s, narrow, 25, in);
  const std::vector<int64_t> fit = SuggestChannels(s, band.low, band.high, 16, 25, in);
  ASSERT_EQ(fit.size(), 16u);
  EXPECT_EQ(band, (KhzRange{614000, fit.back()}));
  // Near the range's top it stops there; with no channel in range it is the whole range.
  EXPECT_EQ(WorkingBand(s, std::vector<int64_t>(16, 959000), 25, in), (KhzRange{959000, 960000}));
  EXPECT_EQ(WorkingBand(s, std::vector<int64_t>(16, 0), 25, in), (KhzRange{470000, 960000}));
}

TEST(FrequencyPlan, ThePlotDrawsEveryChannelAndShowsAConflictInRed) {
  PlanInputs in;
  in.inUse = 3;
  in.exclusions = {{603000, 604000}};
  // 2*600000-600500 = 599500 lies 50 kHz from 599450, 2*600500-599450 = 600550 50 kHz from 600500.
  const std::vector<int64_t> bank = {600000, 600500, 599450, 610000};
  const PlanCheck check = CheckPlan(bank, in);
  const plot::Plot p = PlanPlot(check, in);
  const std::vector<std::string> listing = plot::Listing(p);
  const std::vector<std::string> want = {
      "axis 598.450..604.000 MHz, ticks 599 600 601 602 603 604",
      "range 603.000..604.000 MHz",
      "products im3 5 marks 598.900..601.550 MHz, 2 red",  // 598.400 lies left of the view
      "products im3x 3 marks 598.950..601.050 MHz, 0 red",
      "channel CH00 600.000 MHz red",
      "channel CH01 600.500 MHz red",
      "channel CH02 599.450 MHz red",
  };
  EXPECT_EQ(listing, want);
  // Ticks on a nice step, whatever the span.
  std::vector<std::string> ticks;
  for (const plot::Item& t : plot::AxisTicks(470000, 960000)) ticks.push_back(t.label);
  EXPECT_EQ(ticks, (std::vector<std::string>{"500", "600", "700", "800", "900"}));
}

}  // namespace
}  // namespace lx::settings
