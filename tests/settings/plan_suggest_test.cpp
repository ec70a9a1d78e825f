// Shared frequencies, the incremental conflict check against the full one, suggested plans
// re-checked by brute force, and channel words the model's codec could not have written.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "channel/codec.h"
#include "core/profile.h"
#include "settings/channel_plan.h"

namespace lx::settings {
namespace {

// Written apart from channel_plan.cpp on purpose: every product of every pair and triple,
// compared with every channel.
bool BruteForceCompatible(const std::vector<int64_t>& plan, const PlanGuards& g) {
  const auto near = [](int64_t p, int64_t v, int64_t guard) { return guard > 0 && std::llabs(p - v) < guard; };
  const std::size_t n = plan.size();
  for (std::size_t a = 0; a < n; ++a)
    for (std::size_t b = 0; b < n; ++b) {
      if (a == b) continue;
      if (plan[a] == plan[b] || near(plan[a], plan[b], g.spacing)) return false;
      for (std::size_t v = 0; v < n; ++v) {
        if (near(2 * plan[a] - plan[b], plan[v], g.im3)) return false;
        if (near(3 * plan[a] - 2 * plan[b], plan[v], g.im5)) return false;
        for (std::size_t c = 0; c < n; ++c) {
          if (c == a || c == b || v == a || v == b || v == c) continue;
          if (near(plan[a] + plan[b] - plan[c], plan[v], g.im3x)) return false;
        }
      }
    }
  return true;
}

TEST(PlanCheck, SharedFrequenciesNameEveryChannelOnThem) {
  const std::vector<int64_t> channels = {606000, 610000, 606000, 620000, 610000, 606000};
  const auto shared = FindSharedFrequencies(channels);
  ASSERT_EQ(shared.size(), 2u);
  EXPECT_EQ(shared[0].khz, 606000);
  EXPECT_EQ(shared[0].channels, (std::vector<int>{0, 2, 5}));
  EXPECT_EQ(shared[1].channels, (std::vector<int>{1, 4}));
  EXPECT_TRUE(FindSharedFrequencies(std::vector<int64_t>{1, 2, 3}).empty());
}

TEST(PlanCheck, IncrementalCheckAgreesWithTheFullOne) {
  std::mt19937 rng(7);
  const PlanGuards guardSets[] = {{}, {300, 100, 50, 100}, {0, 200, 0, 0}, {0, 0, 150, 0}, {0, 0, 0, 120}};
  for (const PlanGuards& g : guardSets)
    for (int trial = 0; trial < 400; ++trial) {
      std::uniform_int_distribution<int64_t> f(600000, 606000);
      std::vector<int64_t> plan;
      const int size = std::uniform_int_distribution<int>(0, 6)(rng);
      for (int i = 0; i < size; ++i) {
        const int64_t x = f(rng);
        if (!ConflictsWithPlan(plan, x, g)) plan.insert(std::upper_bound(plan.begin(), plan.end(), x), x);
      }
      ASSERT_TRUE(FindConflicts(plan, g).empty());
      const int64_t x = f(rng);
      std::vector<int64_t> with = plan;
      with.push_back(x);
      const bool full = !FindConflicts(with, g).empty() || std::count(plan.begin(), plan.end(), x) > 0;
      ASSERT_EQ(ConflictsWithPlan(plan, x, g), full) << "candidate " << x << " with " << plan.size() << " channels";
    }
}

TEST(PlanSuggest, EveryModelOverItsWholeRangeAndNarrowBands) {
  const PlanGuards g{};
  for (const ToolProfile* profile : AllProfiles())
    for (int m = 0; m < profile->modelCount(); ++m) {
      const FrequencyRange range = ChannelRange(*profile, m);
      const auto usable = [&](int64_t f) {
        return ChannelKeptExactly(*profile, m, 24000, static_cast<uint32_t>(f));
      };
      const struct {
        int64_t from, to;
        int count;
      } bands[] = {{range.low, range.high, 16}, {range.low + 10000, range.low + 16000, 16}, {range.high - 3000, range.high, 16}};
      for (const auto& b : bands) {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<int64_t> plan = SuggestPlan(b.from, b.to, b.count, 25, g, usable);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, 1.0) << profile->models[m].name;
        EXPECT_FALSE(plan.empty());
        EXPECT_TRUE(FindConflicts(plan, g).empty()) << profile->models[m].name << " " << b.from;
        EXPECT_TRUE(BruteForceCompatible(plan, g)) << profile->models[m].name << " " << b.from;
        for (int64_t f : plan) {
          EXPECT_TRUE(f >= b.from && f <= b.to && f % 25 == 0);
          EXPECT_TRUE(usable(f)) << f;
        }
        if (b.to - b.from > 100000) {
          EXPECT_EQ(plan.size(), 16u) << profile->models[m].name;
        }
        EXPECT_EQ(plan, SuggestPlan(b.from, b.to, b.count, 25, g, usable));  // deterministic
      }
    }
}

TEST(PlanSuggest, ABandTooNarrowGivesFewerChannels) {
  const auto any = [](int64_t) { return true; };
  // 1 MHz with 300 kHz spacing holds four channels at most; the intermodulation guards allow fewer.
  const auto plan = SuggestPlan(600000, 601000, 16, 25, PlanGuards{}, any);
  EXPECT_GE(plan.size(), 2u);
  EXPECT_LE(plan.size(), 4u);
  EXPECT_TRUE(BruteForceCompatible(plan, PlanGuards{}));
  EXPECT_TRUE(SuggestPlan(600000, 600000, 1, 25, PlanGuards{}, [](int64_t) { return false; }).empty());
}

TEST(CodecWords, WordsOfAnotherModelOrCrystalAreStrangers) {
  const ToolProfile& tx = AmbrelProfile();
  for (uint32_t f : {160000u, 162003u, 199999u, 200000u, 270000u}) {
    const auto w = EncodeChannel(tx, 0, 24000, f);
    ASSERT_TRUE(w);
    EXPECT_TRUE(CodecProduces(tx, 0, 24000, *w)) << f;
    EXPECT_FALSE(CodecProduces(tx, 1, 24000, *w)) << f << " read as a UHF channel";
  }
  for (uint32_t f : {470000u, 606000u, 606013u, 960000u}) {
    const auto w = EncodeChannel(tx, 1, 24000, f);
    EXPECT_TRUE(CodecProduces(tx, 1, 24000, *w)) << f;
    EXPECT_FALSE(CodecProduces(tx, 0, 24000, *w)) << f;
  }
  EXPECT_FALSE(CodecProduces(tx, 1, 24000, ChannelWords{0, 0}));
  EXPECT_FALSE(CodecProduces(tx, 1, 0, *EncodeChannel(tx, 1, 24000, 606000)));
  // Another crystal: the words read as another frequency, with the first crystal's bits.
  const auto w = EncodeChannel(tx, 1, 24000, 606013);
  EXPECT_FALSE(CodecProduces(tx, 1, 25000, *w));
}

}  // namespace
}  // namespace lx::settings
