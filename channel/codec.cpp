#include "channel/codec.h"

#include <cmath>
#include <span>

namespace lx {
namespace {

struct Band {
  uint32_t from, to;
  int multiplier;
  int dividerCode;
};

// Tested in this order.
constexpr Band kBands[] = {
    {200000, 270000, 4, 2},
    {160000, 199999, 8, 3},
    {470000, 960000, 2, 1},
};

struct BandCodeRow {
  uint32_t from, to;
  BandCodes codes;
};

constexpr BandCodeRow kStandardBandCodes[] = {
    {160000, 163500, {5, 2}}, {163501, 173500, {4, 1}}, {173501, 175500, {3, 1}}, {175501, 180500, {4, 1}},
    {180501, 190500, {3, 1}}, {190501, 199999, {2, 1}}, {200000, 209500, {7, 3}}, {209501, 216500, {6, 2}},
    {216501, 217500, {7, 3}}, {217501, 229500, {6, 2}}, {229501, 238500, {5, 2}}, {238501, 248500, {6, 2}},
    {248501, 266500, {5, 2}}, {266501, 270000, {4, 1}}, {470000, 490000, {7, 3}}, {490001, 519000, {6, 2}},
    {519001, 558000, {5, 2}}, {558001, 582000, {4, 1}}, {582001, 613000, {5, 2}}, {613001, 655000, {4, 1}},
    {655001, 694000, {3, 1}}, {694001, 726000, {4, 1}}, {726001, 765000, {3, 1}}, {765001, 789000, {4, 1}},
    {789001, 837000, {3, 1}}, {837001, 900000, {2, 1}}, {900001, 960000, {2, 0}},
};
constexpr BandCodes kStandardOther{1, 1};

constexpr BandCodeRow kLxm7140BandCodes[] = {
    {160000, 169500, {4, 1}}, {169501, 178500, {3, 1}}, {178501, 179500, {2, 1}}, {179501, 180500, {4, 1}},
    {180501, 190500, {3, 1}}, {190501, 199500, {2, 1}}, {199501, 204500, {7, 3}}, {204501, 217500, {6, 2}},
    {217501, 228500, {5, 2}}, {228501, 230500, {4, 1}}, {230501, 246500, {6, 2}}, {246501, 260500, {5, 2}},
    {260501, 270000, {4, 1}},
};
constexpr BandCodes kLxm7140Other{0, 0};

struct InductanceRow {
  uint32_t from, to;
  const char* text;
};

constexpr InductanceRow kStandardInductance[] = {
    {160000, 175500, "1.5nH"}, {175501, 199999, "1.0nH"}, {200000, 216500, "8.2nH"}, {216501, 238500, "6.8nH"},
    {238501, 254500, "5.6nH"}, {254501, 270000, "4.7nH"}, {470000, 528000, "5.6nH"}, {528001, 582000, "5.1nH"},
    {582001, 694000, "3.0nH"}, {694001, 765000, "2.0nH"}, {765001, 960000, "1.0nH"},
};

constexpr InductanceRow kLxm7140Inductance[] = {
    {160000, 179999, "3.3nH"},
    {180000, 199999, "2.2nH"},
    {200000, 230000, "10nH"},
    {230001, 270000, "6.8nH"},
};

// Snap windows, in units of the multiplied frequency.
constexpr int64_t kSnapTolerance = 40;

BandTables TablesOf(const ToolProfile& profile, int model) {
  return profile.validModel(model) ? profile.models[static_cast<std::size_t>(model)].tables : BandTables::Standard;
}

}  // namespace

ChannelWords ReadChannelWords(const RegisterImage& words, int channel) {
  return {words[static_cast<std::size_t>(ControlWordIndex(channel))],
          words[static_cast<std::size_t>(FractionWordIndex(channel))]};
}

void StoreChannelWords(RegisterImage& words, int channel, ChannelWords channelWords) {
  words[static_cast<std::size_t>(ControlWordIndex(channel))] = channelWords.control;
  words[static_cast<std::size_t>(FractionWordIndex(channel))] = channelWords.fraction;
}

ControlWord SplitControlWord(uint16_t control) {
  ControlWord parts;
  parts.integer = control >> 9;
  parts.dividerCode = (control >> 7) & 0x3;
  parts.codes = {(control >> 4) & 0x7, (control >> 2) & 0x3};
  parts.mode = control & 0x3;
  return parts;
}

uint16_t JoinControlWord(const ControlWord& parts) {
  const uint32_t control = (parts.integer << 9) | (static_cast<uint32_t>(parts.dividerCode & 0x3) << 7) |
                           (static_cast<uint32_t>(parts.codes.code & 0x7) << 4) |
                           (static_cast<uint32_t>(parts.codes.subcode & 0x3) << 2) |
                           static_cast<uint32_t>(parts.mode & 0x3);
  return static_cast<uint16_t>(control & 0xFFFF);
}

FrequencyRange ChannelRange(const ToolProfile& profile, int model) {
  if (!profile.validModel(model)) return {};
  const ChipModel& m = profile.models[static_cast<std::size_t>(model)];
  return {m.lowKHz, m.highKHz};
}

BandCodes SelectBandCodes(const ToolProfile& profile, uint32_t f, int model) {
  const bool lxm = TablesOf(profile, model) == BandTables::Lxm7140;
  const std::span<const BandCodeRow> rows = lxm ? std::span<const BandCodeRow>(kLxm7140BandCodes)
                                                : std::span<const BandCodeRow>(kStandardBandCodes);
  for (const BandCodeRow& row : rows)
    if (f >= row.from && f <= row.to) return row.codes;
  return lxm ? kLxm7140Other : kStandardOther;
}

std::optional<ChannelWords> EncodeChannel(const ToolProfile& profile, int model, int32_t crystalKHz,
                                          uint32_t f) {
  if (crystalKHz <= 0) return std::nullopt;
  const Band* band = nullptr;
  for (const Band& b : kBands)
    if (f >= b.from && f <= b.to) {
      band = &b;
      break;
    }
  if (!band) return std::nullopt;

  // 64-bit arithmetic: identical results for every crystal the chips use, no overflow above.
  const int64_t x = crystalKHz;
  const int64_t n = (static_cast<int64_t>(f) + profile.receiverOffsetKHz) * band->multiplier;
  const int64_t q = n / x;
  const int64_t r = n % x;
  const int64_t frac = (r * 65536) / x;
  const int64_t h = x / 2;

  int64_t integer = q;
  int64_t fraction = frac;
  int mode = 0;
  if (r <= kSnapTolerance) {
    fraction = 0xFFFF;
    mode = 3;
  } else if (r >= x - kSnapTolerance) {
    integer = q + 1;
    fraction = 0xFFFF;
    mode = 3;
  } else if (r >= h - kSnapTolerance && r <= h + kSnapTolerance) {
    fraction = 0x7FFF;
  } else if (r > h) {
    integer = q + 1;
    mode = 3;
  }

  // The integer's bits above the word are dropped, as the 16-bit register drops them.
  const ControlWord parts{static_cast<uint32_t>(integer & 0x7F), band->dividerCode, SelectBandCodes(profile, f, model),
                          mode};
  return ChannelWords{JoinControlWord(parts), static_cast<uint16_t>(fraction & 0xFFFF)};
}

double ExactChannelFrequency(const ToolProfile& profile, int32_t crystalKHz, ChannelWords words) {
  const ControlWord parts = SplitControlWord(words.control);
  const int divider = 1 << parts.dividerCode;
  int64_t integer = parts.integer;
  if (parts.roundedUp()) integer -= 1;
  const int64_t numerator = (integer * 65536 + words.fraction) * static_cast<int64_t>(crystalKHz);
  return static_cast<double>(static_cast<long double>(numerator) / (static_cast<long double>(divider) * 65536.0L)) -
         static_cast<double>(profile.receiverOffsetKHz);
}

uint32_t DecodeChannel(const ToolProfile& profile, int model, int32_t crystalKHz, ChannelWords words) {
  const FrequencyRange range = ChannelRange(profile, model);
  const int64_t offset = profile.receiverOffsetKHz;
  const int64_t low = static_cast<int64_t>(range.low) + offset;
  const int64_t high = static_cast<int64_t>(range.high) + offset;

  const ControlWord parts = SplitControlWord(words.control);
  const int dividerCode = parts.dividerCode;
  int64_t integer = parts.integer;
  if (parts.roundedUp()) integer -= 1;
  // The numerator needs up to 54 bits: the 64-bit long double holds it and the power-of-two
  // division exactly, so the single-precision rounding below is the only rounding.
  const int64_t numerator = (integer * 65536 + words.fraction) * static_cast<int64_t>(crystalKHz);
  const long double exact = static_cast<long double>(numerator) / std::ldexp(1.0L, 16 + dividerCode);
  const float v = static_cast<float>(exact);

  int64_t k = static_cast<int64_t>(v);  // toward zero
  if (static_cast<double>(v) - static_cast<double>(k) > 0.5) k += 1;
  if (k < low || k > high) k = low;
  return static_cast<uint32_t>(k - offset);
}

bool ChannelKeptExactly(const ToolProfile& profile, int model, int32_t crystalKHz, uint32_t f) {
  const auto words = EncodeChannel(profile, model, crystalKHz, f);
  return words && ChannelRange(profile, model).contains(f) && DecodeChannel(profile, model, crystalKHz, *words) == f;
}

bool CodecProduces(const ToolProfile& profile, int model, int32_t crystalKHz, ChannelWords words) {
  if (crystalKHz <= 0) return false;
  const FrequencyRange range = ChannelRange(profile, model);
  // The frequency the words stand for, unclamped: DecodeChannel would move strangers into range.
  const double exact = ExactChannelFrequency(profile, crystalKHz, words);
  if (!(exact >= static_cast<double>(range.low) - 1.0 && exact <= static_cast<double>(range.high) + 1.0)) return false;
  const auto f = static_cast<int64_t>(std::llround(exact));
  // Snapping moves a frequency by less than the snap window over the band multiplier.
  for (int64_t d = -kSnapTolerance; d <= kSnapTolerance; ++d) {
    const int64_t g = f + d;
    if (g < range.low || g > range.high) continue;
    const auto w = EncodeChannel(profile, model, crystalKHz, static_cast<uint32_t>(g));
    if (w && *w == words) return true;
  }
  return false;
}

const char* InductanceAdvice(const ToolProfile& profile, int model, uint32_t f) {
  const bool lxm = TablesOf(profile, model) == BandTables::Lxm7140;
  const std::span<const InductanceRow> rows = lxm ? std::span<const InductanceRow>(kLxm7140Inductance)
                                                  : std::span<const InductanceRow>(kStandardInductance);
  for (const InductanceRow& row : rows)
    if (f >= row.from && f <= row.to) return row.text;
  return "";
}

}  // namespace lx
