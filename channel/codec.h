#pragma once
// Channel frequencies to register words and back. A channel is a control word (integer part,
// divider code, band codes, round-up mode) and a fraction word: the programmed frequency times
// the band multiplier as a fractional multiple of the crystal frequency.
#include <cstdint>
#include <optional>

#include "core/profile.h"
#include "core/state.h"

namespace lx {

inline constexpr int kChannelCount = 16;
inline constexpr int kFirstChannelWord = 0x40;

struct ChannelWords {
  uint16_t control = 0;
  uint16_t fraction = 0;
  bool operator==(const ChannelWords&) const = default;
};

struct FrequencyRange {
  uint32_t low = 0;
  uint32_t high = 0;
  bool contains(uint32_t f) const { return f >= low && f <= high; }
};

struct BandCodes {
  int code = 1;
  int subcode = 1;
  bool operator==(const BandCodes&) const = default;
};

// Every bit of both words belongs to the channel.
inline constexpr ChannelWords kWholeChannel{0xFFFF, 0xFFFF};

inline int ControlWordIndex(int channel) { return kFirstChannelWord + 2 * channel; }
inline int FractionWordIndex(int channel) { return kFirstChannelWord + 2 * channel + 1; }

// Channel k's two words of an image, and storing them back.
ChannelWords ReadChannelWords(const RegisterImage& words, int channel);
void StoreChannelWords(RegisterImage& words, int channel, ChannelWords channelWords);

// The parts of a control word: integer 15:9, divider code 8:7, band code 6:4, band subcode
// 3:2, rounding mode 1:0 (3: the integer was rounded up).
struct ControlWord {
  uint32_t integer = 0;
  int dividerCode = 0;
  BandCodes codes;
  int mode = 0;
  bool roundedUp() const { return mode == 3; }
};
ControlWord SplitControlWord(uint16_t control);
uint16_t JoinControlWord(const ControlWord& parts);

FrequencyRange ChannelRange(const ToolProfile& profile, int model);
BandCodes SelectBandCodes(const ToolProfile& profile, uint32_t channelKHz, int model);

// nullopt when the words cannot be computed: a crystal frequency of 0 or below, or a
// frequency in none of the three bands. Callers then leave the words as they were.
std::optional<ChannelWords> EncodeChannel(const ToolProfile& profile, int model, int32_t crystalKHz,
                                          uint32_t channelKHz);

// Always a frequency inside the model's range: words that stand for anything else, and any
// crystal frequency of 0 or below, read as the range's low end.
uint32_t DecodeChannel(const ToolProfile& profile, int model, int32_t crystalKHz, ChannelWords words);

// The recommended inductance beside a channel ("3.0nH"); empty outside the tables.
const char* InductanceAdvice(const ToolProfile& profile, int model, uint32_t channelKHz);

// Whether the codec stores `channelKHz` so that it reads back as itself.
bool ChannelKeptExactly(const ToolProfile& profile, int model, int32_t crystalKHz, uint32_t channelKHz);

// Whether these words are ones EncodeChannel gives for this model and crystal, for the
// frequency they read as or one within the codec's snapping of it. Words from another model
// (a 160 MHz image relabelled as UHF) or another crystal fail this.
bool CodecProduces(const ToolProfile& profile, int model, int32_t crystalKHz, ChannelWords words);

// The exact frequency in kHz that the words produce with this crystal (no rounding, no clamp).
double ExactChannelFrequency(const ToolProfile& profile, int32_t crystalKHz, ChannelWords words);

}  // namespace lx
