// The register map against words computed by hand for a few dialog sessions; every value of every field is
// written through `set` in tests/cli.
#include <gtest/gtest.h>

#include "core/register_map.h"

namespace {

using lx::Family;

struct Choice {
  const char* name;
  const char* value;
};

struct DialogCase {
  Family family;
  int word;
  uint16_t before;
  std::vector<Choice> choices;
  uint16_t after;
};

// Sessions computed by hand: choosing these items and pressing OK gives these words.
TEST(RegisterMap, MatchesHandComputedDialogSessions) {
  const std::vector<DialogCase> cases = {
      {Family::Transmitter, 0x03, 0x0035, {{"pa_gain", "3"}}, 0x0027},
      {Family::Transmitter, 0x1c, 0x0000,
       {{"pre_emphasis", "off"}, {"mic_sensitivity", "46dB"}, {"compressor", "off"}, {"compandor_time_constant", "796mS"}},
       0x03FE},
      {Family::Transmitter, 0x1c, 0xFFFF,
       {{"pre_emphasis", "on"}, {"mic_sensitivity", "0dB"}, {"compressor", "on"}, {"compandor_time_constant", "6mS"}},
       0xFC01},
      {Family::Transmitter, 0x2b, 0x0000, {{"priority", "pre-emphasis-first"}}, 0x0001},
      {Family::Transmitter, 0x1f, 0x0000, {{"pilot", "on"}, {"pilot_deviation", "10KHz"}}, 0x8180},
      {Family::Transmitter, 0x16, 0x0000, {{"blink_threshold", "50"}, {"light_threshold", "20"}}, 0x3214},
      {Family::Transmitter, 0x18, 0x0300, {{"mute_pilot", "on"}}, 0x0C00},
      {Family::Transmitter, 0x18, 0x0F00, {{"mute_pilot", "off"}}, 0x0700},
      {Family::Receiver, 0x1f, 0xFFFF, {{"bass", "0dB"}, {"treble", "0DB"}, {"thd", "bypass"}}, 0xF3F0},
      {Family::Receiver, 0x1d, 0x0000, {{"de_emphasis", "off"}, {"audio_gain", "-2.5dB"}}, 0xE000},
      {Family::Receiver, 0x1f, 0x0000, {{"expander", "off"}, {"expander_time_constant", "796mS"}}, 0xF000},
      {Family::Receiver, 0x1a, 0x0000, {{"volume", "31"}}, 0x001F},
      {Family::Receiver, 0x1c, 0x0000, {{"snr_high_threshold", "10"}, {"snr_low_threshold", "200"}}, 0x0AC8},
      {Family::Receiver, 0x1a, 0x0000,
       {{"snr_automute", "on"}, {"pilot_automute", "on"}, {"automute", "off"}}, 0xA080},
      {Family::Receiver, 0x1d, 0x0000, {{"afc", "on"}, {"afc_range", "+-90khz"}}, 0x00B0},
      {Family::Receiver, 0x1d, 0x0000, {{"audio_gain", "7"}}, 0x7000},
  };
  for (const DialogCase& c : cases) {
    lx::RegisterImage words{};
    words[static_cast<std::size_t>(c.word)] = c.before;
    for (const Choice& choice : c.choices) {
      const lx::RegisterField* f = lx::FindRegisterField(c.family, choice.name);
      ASSERT_NE(f, nullptr) << choice.name;
      ASSERT_EQ(f->word, c.word) << choice.name;
      const lx::FieldParse parsed = lx::ParseFieldValue(*f, choice.value);
      ASSERT_TRUE(parsed.value) << parsed.error;
      lx::WriteField(*f, *parsed.value, words);
    }
    EXPECT_EQ(words[static_cast<std::size_t>(c.word)], c.after) << c.choices.front().name;
  }
}

TEST(RegisterMap, RefusesValuesOutsideTheFieldAndNamesTheValidOnes) {
  const struct {
    Family family;
    const char* name;
    const char* text;
    const char* mentions;
  } cases[] = {
      {Family::Transmitter, "pa_gain", "13", "0..12"},
      {Family::Transmitter, "pa_gain", "-1", "0..12"},
      {Family::Transmitter, "blink_threshold", "128", "0..127"},
      {Family::Transmitter, "pilot", "yes", "on, off"},
      {Family::Transmitter, "mic_sensitivity", "5dB", "0dB, 4dB, 7dB"},
      {Family::Transmitter, "tx_id", "65536", "0..65535"},
      {Family::Receiver, "afc_range", "20KHz", "±20KHz"},
      {Family::Receiver, "volume", "", "0..31"},
      {Family::Receiver, "audio_gain", "8", "-2.5dB, 7"},
      {Family::Receiver, "bass", "4", "0dB, 6dB"},
  };
  for (const auto& c : cases) {
    const lx::RegisterField* f = lx::FindRegisterField(c.family, c.name);
    ASSERT_NE(f, nullptr);
    const lx::FieldParse parsed = lx::ParseFieldValue(*f, c.text);
    EXPECT_FALSE(parsed.value) << c.name << "=" << c.text;
    EXPECT_NE(parsed.error.find(c.mentions), std::string::npos) << parsed.error;
  }
}

TEST(RegisterMap, ShowsThresholdsWithTheirVoltageAndUnnamedValuesAsNumbers) {
  const lx::RegisterField* blink = lx::FindRegisterField(Family::Transmitter, "blink_threshold");
  EXPECT_EQ(lx::DescribeField(*blink, 1), "1 (9.375 mV)");
  EXPECT_EQ(lx::DescribeField(*blink, 50), "50 (468.75 mV)");
  EXPECT_EQ(lx::ThresholdMillivolts(126), "1181.25");
  const lx::RegisterField* gain = lx::FindRegisterField(Family::Receiver, "audio_gain");
  EXPECT_EQ(lx::FormatField(*gain, 7), "7");
  EXPECT_EQ(lx::FormatField(*gain, 6), "-2.5dB");
  const lx::RegisterField* txId = lx::FindRegisterField(Family::Transmitter, "TX_ID");
  ASSERT_NE(txId, nullptr);
  EXPECT_FALSE(lx::FieldAppliesTo(*txId, lx::AmbrelProfile().models[0]));
  EXPECT_TRUE(lx::FieldAppliesTo(*txId, lx::AmbrelProfile().models[3]));
  EXPECT_EQ(lx::FindRegisterField(Family::Receiver, "pa_gain"), nullptr);
}

}  // namespace
