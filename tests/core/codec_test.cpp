#include <gtest/gtest.h>

#include <chrono>

#include "channel/codec.h"

namespace lx {
namespace {

const ToolProfile& Tx() { return AmbrelProfile(); }
const ToolProfile& Rx() { return OstrelProfile(); }

struct Example {
  const ToolProfile* profile;
  int model;
  uint32_t f;
  uint16_t control, fraction;
  uint32_t decoded;
};

TEST(ChannelCodec, FrequenciesEncodeToKnownWordsAndDecodeBack) {
  const Example rows[] = {
      {&Tx(), 0, 200000, 0x437C, 0x5555, 200000}, {&Tx(), 0, 162000, 0x6DDB, 0xFFFF, 162000},
      {&Tx(), 0, 162003, 0x6DDB, 0xFFFF, 162000}, {&Tx(), 1, 606000, 0x64D8, 0x7FFF, 606000},
      {&Tx(), 1, 863500, 0x90A7, 0xF555, 863500}, {&Rx(), 0, 200000, 0x437C, 0x5AAA, 200000},
      {&Rx(), 2, 250000, 0x555B, 0xB000, 250000}, {&Tx(), 0, 160000, 0x6BD8, 0x5555, 160000},
      {&Tx(), 0, 163501, 0x6DC4, 0x7FFF, 163500}, {&Tx(), 0, 163500, 0x6DD8, 0x7FFF, 163500},
      {&Tx(), 1, 910000, 0x98A3, 0xD555, 910000},  // above 900 MHz: band subcode 0
      {&Tx(), 0, 162006, 0, 0, 162006},            // outside the snap window: only the round trip is checked
  };
  for (const Example& e : rows) {
    SCOPED_TRACE(std::string(e.profile->models[e.model].name) + " " + std::to_string(e.f));
    const auto words = EncodeChannel(*e.profile, e.model, 24000, e.f);
    ASSERT_TRUE(words);
    if (e.control != 0) {
      EXPECT_EQ(words->control, e.control);
      EXPECT_EQ(words->fraction, e.fraction);
    }
    EXPECT_EQ(DecodeChannel(*e.profile, e.model, 24000, *words), e.decoded);
  }
}

TEST(ChannelCodec, DecodeRoundsThroughSinglePrecisionThenHalfDown) {
  EXPECT_EQ(DecodeChannel(Tx(), 1, 24000, {0x64D8, 0x0029}), 600007u);
}

TEST(ChannelCodec, SnapAboveTheRangeReadsBackAsLowEnd) {
  const auto words = EncodeChannel(Tx(), 0, 24270, 270000);
  ASSERT_TRUE(words);
  EXPECT_EQ(*words, (ChannelWords{0x5944, 0x7FFF}));
  EXPECT_EQ(DecodeChannel(Tx(), 0, 24270, *words), 160000u);
}

TEST(ChannelCodec, DecodingClampsToTheLowEnd) {
  // All-zero words, divider code 0 and out-of-range values all land on the low end.
  const struct {
    const ToolProfile* p;
    int model;
    uint32_t low;
  } rows[] = {{&Tx(), 0, 160000}, {&Tx(), 2, 160000}, {&Rx(), 0, 160000}, {&Rx(), 2, 160000},
              {&Tx(), 1, 470000}, {&Tx(), 3, 470000}, {&Rx(), 1, 470000}};
  for (const auto& r : rows) {
    EXPECT_EQ(DecodeChannel(*r.p, r.model, 24000, {0, 0}), r.low);
    EXPECT_EQ(DecodeChannel(*r.p, r.model, 24000, {0xFE00, 0xFFFF}), r.low);  // divider code 0
  }
}

TEST(ChannelCodec, RoundUpModeOneOrTwoReadsLikeZero) {
  const ChannelWords base{0x64D8, 0x7FFF};
  const uint32_t plain = DecodeChannel(Tx(), 1, 24000, base);
  EXPECT_EQ(DecodeChannel(Tx(), 1, 24000, {0x64D9, 0x7FFF}), plain);
  EXPECT_EQ(DecodeChannel(Tx(), 1, 24000, {0x64DA, 0x7FFF}), plain);
}

TEST(ChannelCodec, BandEdgesAndBandCodes) {
  EXPECT_EQ((EncodeChannel(Tx(), 0, 24000, 199999)->control >> 7) & 3, 3);  // multiplier 8
  EXPECT_EQ((EncodeChannel(Tx(), 0, 24000, 200000)->control >> 7) & 3, 2);  // multiplier 4
  EXPECT_TRUE(EncodeChannel(Tx(), 0, 24000, 270000));
  EXPECT_TRUE(EncodeChannel(Tx(), 1, 24000, 960000));
  for (const ToolProfile* p : {&Tx(), &Rx()}) {
    EXPECT_EQ(SelectBandCodes(*p, 205000, 0), (BandCodes{7, 3}));
    EXPECT_EQ(SelectBandCodes(*p, 480000, 1), (BandCodes{7, 3}));
    EXPECT_EQ(SelectBandCodes(*p, 558000, 1), (BandCodes{5, 2}));
    EXPECT_EQ(SelectBandCodes(*p, 558001, 1), (BandCodes{4, 1}));
    EXPECT_EQ(SelectBandCodes(*p, 300000, 0), (BandCodes{1, 1}));
  }
  EXPECT_EQ(SelectBandCodes(Rx(), 199501, 2), (BandCodes{7, 3}));
  EXPECT_EQ(SelectBandCodes(Rx(), 199501, 0), (BandCodes{2, 1}));
  EXPECT_EQ(SelectBandCodes(Rx(), 300000, 2), (BandCodes{0, 0}));
}

TEST(ChannelCodec, CrystalOfZeroOrBelowNeverEncodes) {
  EXPECT_FALSE(EncodeChannel(Tx(), 0, 0, 200000));
  EXPECT_FALSE(EncodeChannel(Tx(), 0, -24000, 200000));
  EXPECT_FALSE(EncodeChannel(Tx(), 0, 24000, 300000));  // in no band
  EXPECT_EQ(DecodeChannel(Tx(), 1, 0, {0x64D8, 0x7FFF}), 470000u);
  EXPECT_EQ(DecodeChannel(Tx(), 1, -5, {0x64D8, 0x7FFF}), 470000u);
}

TEST(ChannelCodec, LargeCrystalsComputeWithoutOverflow) {
  // r * 65536 passes 2^31 from 32769 kHz on; the result must still be the exact fraction.
  const int32_t x = 40000;
  const auto words = EncodeChannel(Tx(), 1, x, 606123);
  ASSERT_TRUE(words);
  const int64_t n = 606123LL * 2;
  const int64_t r = n % x;
  EXPECT_EQ(words->fraction, static_cast<uint16_t>((r * 65536) / x));
  EXPECT_TRUE(EncodeChannel(Tx(), 1, INT32_MAX, 960000));
  (void)DecodeChannel(Tx(), 1, INT32_MAX, {0xFFFF, 0xFFFF});
}

TEST(InductanceAdvice, TableBoundaries) {
  const struct {
    uint32_t f;
    const char* text;
  } standard[] = {{175500, "1.5nH"}, {175501, "1.0nH"}, {199999, "1.0nH"}, {200000, "8.2nH"}, {216501, "6.8nH"},
                  {238501, "5.6nH"}, {254501, "4.7nH"}, {470000, "5.6nH"}, {528001, "5.1nH"}, {582001, "3.0nH"},
                  {606000, "3.0nH"}, {694001, "2.0nH"}, {765001, "1.0nH"}, {960000, "1.0nH"}, {300000, ""}},
    lxm[] = {{160000, "3.3nH"}, {179999, "3.3nH"}, {180000, "2.2nH"}, {230000, "10nH"}, {230001, "6.8nH"},
             {470000, ""}};
  for (const auto& r : standard) {
    EXPECT_STREQ(InductanceAdvice(Tx(), 0, r.f), r.text) << r.f;
    EXPECT_STREQ(InductanceAdvice(Rx(), 1, r.f), r.text) << r.f;
  }
  for (const auto& r : lxm) EXPECT_STREQ(InductanceAdvice(Rx(), 2, r.f), r.text) << r.f;
}

// The frequency a snapped channel reads back as: the half multiple S/2 of X / multiplier,
// rounded half down, less the offset, clamped to the low end.
uint32_t ExpectedReadBack(const ToolProfile& p, int model, int32_t x, uint32_t f) {
  const int64_t mult = f >= 200000 && f <= 270000 ? 4 : (f < 200000 ? 8 : 2);
  const int64_t off = p.receiverOffsetKHz;
  const int64_t n = (f + off) * mult;
  const int64_t q = n / x, r = n % x, h = x / 2;
  int64_t halves;
  if (r <= 40)
    halves = 2 * q;
  else if (r >= x - 40)
    halves = 2 * (q + 1);
  else if (r >= h - 40 && r <= h + 40)
    halves = 2 * q + 1;
  else
    return f;
  const int64_t num = halves * x, den = 2 * mult;
  int64_t k = num / den;
  if (2 * (num % den) > den) ++k;
  const FrequencyRange range = ChannelRange(p, model);
  if (k < range.low + off || k > range.high + off) k = range.low + off;
  return static_cast<uint32_t>(k - off);
}

TEST(ChannelCodec, ExhaustiveRoundTripOfEveryModelAndCrystal) {
  const auto start = std::chrono::steady_clock::now();
  long checked = 0, failures = 0;
  for (const ToolProfile* p : AllProfiles()) {
    for (int model = 0; model < p->modelCount(); ++model) {
      const FrequencyRange range = ChannelRange(*p, model);
      for (int32_t x : {23000, 24000, 24270, 25000}) {
        for (uint32_t f = range.low; f <= range.high; ++f) {
          const auto words = EncodeChannel(*p, model, x, f);
          const uint32_t back = words ? DecodeChannel(*p, model, x, *words) : 0;
          const uint32_t want = ExpectedReadBack(*p, model, x, f);
          ++checked;
          if (back != want && ++failures <= 10)
            ADD_FAILURE() << p->models[model].name << " X=" << x << " f=" << f << " read back " << back
                          << " expected " << want;
        }
      }
    }
  }
  EXPECT_EQ(failures, 0);
  EXPECT_GT(checked, 7'000'000);
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  RecordProperty("seconds", std::to_string(seconds));
}

}  // namespace
}  // namespace lx
