// The transmitter settings dialogs on the headless host: hand-computed sessions, enabled states,
// the threshold order, values without a control position, untouched bits, the TX_ID check
// before writing, and which dialog binds which field.
#include <fmt/format.h>

#include <algorithm>

#include "resources/ambrel_tx_ids.h"
#include "tests/tx/tx_support.h"

namespace lx::tx::testing {
namespace {

using lx::test::Words;
namespace rf = res::tx_rf;
namespace audio = res::tx_audio;
namespace other = res::tx_other;

TEST(TxDialogs, OkWritesHandComputedWordsAndSlidersShowTheirVoltages) {
  {
    Rf f(Words({{0x03, 0x0035}}));
    EXPECT_EQ(f.pos(rf::kPaGainSlider), 10);
    f.Run(fmt::format("drag {} 3", rf::kPaGainSlider));
    EXPECT_EQ(f.Ok()[0x03], 0x0027);
  }
  {
    Audio f(Words({}));
    // The time constant first: once the compressor is off its list is greyed.
    f.Run(fmt::format("pick {} 796mS\nclick {}\npick {} 46dB\nclick {}\nclick {}", audio::kTimeConstantList,
                      audio::kDisablePreEmphasis, audio::kMicSensitivityList, audio::kDisableCompressor,
                      audio::kPreEmphasisFirst));
    const RegisterImage& w = f.Ok();
    EXPECT_EQ(w[0x1c], 0x03FE);
    EXPECT_EQ(w[0x2b], 0x0001);
  }
  {
    Audio f(Words({{0x1c, 0xFFFF}}));
    EXPECT_FALSE(f.enabled(audio::kTimeConstantList));
    EXPECT_EQ(f.text(audio::kTimeConstantList), "796mS");
    f.Run(fmt::format("click {}\npick {} 0dB\nclick {}\npick {} 6mS", audio::kEnablePreEmphasis,
                      audio::kMicSensitivityList, audio::kEnableCompressor, audio::kTimeConstantList));
    EXPECT_EQ(f.Ok()[0x1c], 0xFC01);
  }
  {
    Other f(Words({}));
    f.Run(fmt::format("click {}\npick {} 10KHz", other::kEnablePilot, other::kDeviationList));
    EXPECT_EQ(f.Ok()[0x1f], 0x8180);
  }
  {
    Other f(Words({{0x16, 0x3214}}));
    EXPECT_EQ(f.pos(other::kBlinkSlider), 50);
    EXPECT_EQ(f.pos(other::kLightSlider), 20);
    EXPECT_EQ(f.text(other::kBlinkVoltageBox), "468.75");
    EXPECT_EQ(f.text(other::kLightVoltageBox), "187.5");
  }
  {
    // Six significant digits of single precision: 127 × 9.375 = 1190.625 shows as "1190.62".
    Other f(Words({{0x16, (1 << 8) | 126}, {0x19, 127}}));
    EXPECT_EQ(f.text(other::kBlinkVoltageBox), "9.375");
    EXPECT_EQ(f.text(other::kLightVoltageBox), "1181.25");
    EXPECT_EQ(f.text(other::kPapdVoltageBox), "1190.62");
  }
}

TEST(TxAudio, SwitchesShowTheirStoredSideAndListsTheirItems) {
  Audio f(Words({{0x1c, 0x0200 | (9 << 5) | (3 << 1)}, {0x2b, 0x0001}}));
  EXPECT_TRUE(f.control(audio::kDisablePreEmphasis).checked);
  EXPECT_TRUE(f.control(audio::kEnableCompressor).checked);
  EXPECT_TRUE(f.control(audio::kPreEmphasisFirst).checked);
  EXPECT_EQ(f.text(audio::kMicSensitivityList), "28dB");
  EXPECT_EQ(f.text(audio::kTimeConstantList), "48mS");
  EXPECT_TRUE(f.enabled(audio::kTimeConstantList));
  f.Run(fmt::format("click {}", audio::kDisableCompressor));
  EXPECT_FALSE(f.enabled(audio::kTimeConstantList));
  EXPECT_TRUE(f.control(audio::kDisableCompressor).checked);
  f.Run(fmt::format("click {}", audio::kEnableCompressor));
  EXPECT_TRUE(f.enabled(audio::kTimeConstantList));
}

// A selection change that leaves no item selected keeps the pending value; text typed into
// a list's edit field is never read.
TEST(TxLists, NoSelectionKeepsThePendingValue) {
  {
    Audio f(Words({{0x1c, (5 << 5) | (6 << 1)}}));
    f.Run(fmt::format("type {} 46dB\ntype {} 6mS", audio::kMicSensitivityList, audio::kTimeConstantList));
    for (int id : {audio::kMicSensitivityList, audio::kTimeConstantList}) {
      ui::ComboBox list(&*f, id);
      list.SetCurSel(-1);
      f->Dispatch(id, ui::Notify::SelChange);
    }
    EXPECT_EQ(f.Ok()[0x1c], (5 << 5) | (6 << 1));
  }
  {
    Other f(Words({{0x1f, 0x8000 | (2 << 7)}}));
    f.Run(fmt::format("type {} 10KHz", other::kDeviationList));
    ui::ComboBox(&*f, other::kDeviationList).SetCurSel(-1);
    f->Dispatch(other::kDeviationList, ui::Notify::SelChange);
    EXPECT_EQ(f.Ok()[0x1f], 0x8000 | (2 << 7));
  }
}

// Opening with reg1f, reg24 and reg19 as given, then the clicks: which of the dependent
// controls are enabled.
TEST(TxOther, EnabledStatesFollowTheirSwitches) {
  const std::vector<int> kDependents = {
      other::kMutePilot,        other::kKeepPilot,       other::kDeviationList, other::kIndicatorEnable,
      other::kIndicatorDisable, other::kPapdEnable,      other::kPapdDisable,   other::kBlinkVoltageBox,
      other::kPapdVoltageBox,   other::kLightVoltageBox, other::kBlinkSlider,   other::kPapdSlider,
      other::kLightSlider};
  const std::vector<int> kPilotSet = {other::kMutePilot, other::kKeepPilot, other::kDeviationList};
  const std::vector<int> kSwitches = {other::kIndicatorEnable, other::kIndicatorDisable, other::kPapdEnable,
                                      other::kPapdDisable};
  const std::vector<int> kIndicatorSet = {other::kBlinkVoltageBox, other::kLightVoltageBox,
                                          other::kBlinkSlider, other::kLightSlider};
  const std::vector<int> kPapdSet = {other::kPapdVoltageBox, other::kPapdSlider};
  auto join = [](std::initializer_list<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
  };
  const std::vector<int> kTen = join({kSwitches, kIndicatorSet, kPapdSet});
  struct Row {
    uint16_t reg1f, reg24, reg19;
    std::string clicks;
    std::vector<int> enabled;
  };
  const Row rows[] = {
      {0x0000, 0x0000, 0x0000, "", {}},
      {0x8000, 0x0000, 0x8100, "", kPilotSet},
      {0x0000, 0x1000, 0x0000, "", kSwitches},
      {0x0000, 0x1000, 0x8000, "", join({kSwitches, kIndicatorSet})},
      {0x0000, 0x1000, 0x0100, "", join({kSwitches, kPapdSet})},
      {0x8000, 0x1000, 0x8100, "", join({kPilotSet, kTen})},
      {0x0000, 0x0000, 0x0000, fmt::format("click {}", other::kEnablePilot), kPilotSet},
      {0x8000, 0x0000, 0x0000, fmt::format("click {}", other::kDisablePilot), {}},
      // The meter switch enables all ten, even the thresholds whose switch is off.
      {0x0000, 0x0000, 0x0000, fmt::format("click {}", other::kMeterEnable), kTen},
      {0x0000, 0x1000, 0x8100, fmt::format("click {}", other::kMeterDisable), {}},
      {0x0000, 0x1000, 0x8100,
       fmt::format("click {}\nclick {}", other::kIndicatorDisable, other::kPapdDisable), kSwitches},
      {0x0000, 0x1000, 0x0000, fmt::format("click {}\nclick {}", other::kIndicatorEnable, other::kPapdEnable),
       kTen},
      {0x0000, 0x1000, 0x0000,
       fmt::format("click {}\nclick {}\nclick {}\nclick {}", other::kPapdEnable, other::kMeterDisable,
                   other::kMeterEnable, other::kPapdDisable),
       join({kSwitches, kIndicatorSet})},
  };
  for (const Row& r : rows) {
    Other f(Words({{0x1f, r.reg1f}, {0x24, r.reg24}, {0x19, r.reg19}}));
    f.Run(r.clicks);
    std::vector<int> enabled;
    for (int id : kDependents)
      if (f.enabled(id)) enabled.push_back(id);
    std::vector<int> expected = r.enabled;
    std::ranges::sort(enabled);
    std::ranges::sort(expected);
    EXPECT_EQ(enabled, expected) << std::hex << r.reg1f << " " << r.reg24 << " " << r.reg19 << " "
                                 << r.clicks;
  }
}

TEST(TxOther, TxIdControlsAreEnabledOnlyForTheDModelsAndStayHidden) {
  const RegisterImage words = Words({{0x17, 0xBEEF}, {0x1f, 0x4000}});
  for (int model : {kLx7240, kLx7250, kLx7240D, kLx7250D}) {
    Other f(words, model);
    const bool d = model >= kLx7240D;
    for (int id : {other::kTxIdCheck, other::kTxIdBox}) {
      EXPECT_EQ(f.enabled(id), d) << model;
      EXPECT_FALSE(f.control(id).visible);
    }
    EXPECT_EQ(f.control(other::kTxIdCheck).checked, d);
    EXPECT_EQ(f.text(other::kTxIdBox), d ? "48879" : "0");
    EXPECT_EQ(f.text(other::kPilotFrequencyBox), "30000");  // 24000 kHz × 30 / 24
    // reg17 is rewritten whole; the flag bit is never written.
    const RegisterImage& w = f.Ok();
    EXPECT_EQ(w[0x17], d ? 0xBEEF : 0x0000) << model;
    EXPECT_EQ(w[0x1f], 0x4000);
  }
}

struct OrderCase {
  uint16_t reg24, reg19;
  std::string action;
  int slider, expected;
  friend std::ostream& operator<<(std::ostream& os, const OrderCase& c) {
    return os << std::hex << "reg24 " << c.reg24 << " reg19 " << c.reg19 << std::dec << ": " << c.action;
  }
};

class ThresholdOrder : public ::testing::TestWithParam<OrderCase> {};

// Light 40, blink 60, PAPD 30 to start with.
TEST_P(ThresholdOrder, AppliesOnReleaseWithMeterAndIndicatorOn) {
  const OrderCase& c = GetParam();
  Other f(Words({{0x16, (60 << 8) | 40}, {0x24, c.reg24}, {0x19, static_cast<uint16_t>(c.reg19 | 30)}}));
  f.Run(c.action);
  EXPECT_EQ(f.pos(c.slider), c.expected);
  const int box = c.slider == other::kBlinkSlider   ? other::kBlinkVoltageBox
                  : c.slider == other::kLightSlider ? other::kLightVoltageBox
                                                    : other::kPapdVoltageBox;
  EXPECT_EQ(f.text(box), ui::FormatFloat(static_cast<float>(c.expected) * 9.375f));
  const RegisterImage& w = f.Ok();
  const uint32_t written = c.slider == other::kBlinkSlider   ? Get(TxField::BlinkThreshold, w)
                           : c.slider == other::kLightSlider ? Get(TxField::LightThreshold, w)
                                                             : Get(TxField::PapdThreshold, w);
  EXPECT_EQ(written, static_cast<uint32_t>(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ThresholdOrder,
    ::testing::Values(
        OrderCase{0x1000, 0x8100, fmt::format("drag {} 30", other::kBlinkSlider), other::kBlinkSlider, 40},
        OrderCase{0x1000, 0x8100, fmt::format("drag {} 70", other::kLightSlider), other::kLightSlider, 60},
        OrderCase{0x1000, 0x8100, fmt::format("drag {} 50", other::kPapdSlider), other::kPapdSlider, 40},
        OrderCase{0x1000, 0x8100, fmt::format("drag {} 80", other::kBlinkSlider), other::kBlinkSlider, 80},
        OrderCase{0x1000, 0x8100, fmt::format("drag {} 20", other::kPapdSlider), other::kPapdSlider, 20},
        // Keyboard moves are not checked.
        OrderCase{0x1000, 0x8100, fmt::format("key {} 30", other::kBlinkSlider), other::kBlinkSlider, 30},
        OrderCase{0x1000, 0x8100, fmt::format("key {} 70", other::kLightSlider), other::kLightSlider, 70},
        OrderCase{0x1000, 0x8100, fmt::format("key {} 50", other::kPapdSlider), other::kPapdSlider, 50},
        // Nor with the indicator off (its sliders are greyed; PAPD's is not).
        OrderCase{0x1000, 0x0100, fmt::format("drag {} 50", other::kPapdSlider), other::kPapdSlider, 50},
        OrderCase{0x1000, 0x0100, fmt::format("drag {} 30", other::kBlinkSlider), other::kBlinkSlider, 60},
        // The indicator switched off while open counts as well.
        OrderCase{0x1000, 0x8100,
                  fmt::format("click {}\ndrag {} 50", other::kIndicatorDisable, other::kPapdSlider),
                  other::kPapdSlider, 50},
        // Nor with the meter off: every slider is greyed.
        OrderCase{0x0000, 0x8100, fmt::format("drag {} 30", other::kBlinkSlider), other::kBlinkSlider, 60},
        // PAPD off: the meter switched on frees its slider, which then goes
        // above the light threshold freely.
        OrderCase{0x0000, 0x8000,
                  fmt::format("click {}\ndrag {} 50", other::kMeterEnable, other::kPapdSlider),
                  other::kPapdSlider, 50}));

TEST(TxOutOfRange, ValuesWithoutAPositionAreWrittenAsTheLastOne) {
  for (uint16_t gain : {13, 14, 15}) {
    Rf f(Words({{0x03, static_cast<uint16_t>(0xFFE1 | (gain << 1))}}));
    EXPECT_EQ(f.pos(rf::kPaGainSlider), 12);
    EXPECT_EQ(f.Ok()[0x03], 0xFFE1 | (12 << 1));
  }
  for (uint16_t step : {128, 200, 255}) {
    Other f(Words({{0x16, static_cast<uint16_t>((step << 8) | step)}, {0x19, step}, {0x24, 0x1000}}));
    for (int slider : {other::kBlinkSlider, other::kLightSlider, other::kPapdSlider})
      EXPECT_EQ(f.pos(slider), 127);
    // The first paint replaces the decoded voltage; six significant digits.
    for (int box : {other::kBlinkVoltageBox, other::kLightVoltageBox, other::kPapdVoltageBox})
      EXPECT_EQ(f.text(box), "1190.62");
    const RegisterImage& w = f.Ok();
    EXPECT_EQ(w[0x16], 0x7F7F);
    EXPECT_EQ(w[0x19] & 0xFF, 0x7F);
  }
}

// What OK without changes must give: the image, with values lacking a control position moved
// to the last one and, on models without a TX_ID, reg17 cleared.
RegisterImage AfterPlainOk(RegisterImage w, int dialog, int model) {
  if (dialog == 0) Put(TxField::PaGain, std::min<uint32_t>(Get(TxField::PaGain, w), 12), w);
  if (dialog == 2) {
    for (TxField f : {TxField::BlinkThreshold, TxField::LightThreshold, TxField::PapdThreshold})
      Put(f, std::min<uint32_t>(Get(f, w), 127), w);
    if (model < kLx7240D) w[0x17] = 0;
  }
  return w;
}

TEST(TxUntouchedBits, OkWithoutChangesKeepsEveryOtherBit) {
  std::mt19937 rng(90);
  for (int round = 0; round < 300; ++round) {
    const RegisterImage before = RandomImage(rng);
    const int model = round % 4;
    const RegisterImage rf = Rf(before, model).Ok();
    const RegisterImage audio = Audio(before, model).Ok();
    const RegisterImage other = Other(before, model).Ok();
    ASSERT_EQ(rf, AfterPlainOk(before, 0, model)) << round;
    ASSERT_EQ(audio, AfterPlainOk(before, 1, model)) << round;
    ASSERT_EQ(other, AfterPlainOk(before, 2, model)) << round;
  }
}

TEST(TxUntouchedBits, CancelWritesNothingButTheMutePilotField) {
  std::mt19937 rng(91);
  std::vector<std::string> otherActions = {
      fmt::format("select {} 2", other::kDeviationList), fmt::format("drag {} 5", other::kBlinkSlider),
      fmt::format("drag {} 100", other::kLightSlider), fmt::format("key {} 64", other::kPapdSlider)};
  for (int id : {other::kEnablePilot, other::kDisablePilot, other::kMutePilot, other::kKeepPilot,
                 other::kMeterEnable, other::kMeterDisable, other::kIndicatorEnable, other::kIndicatorDisable,
                 other::kPapdEnable, other::kPapdDisable})
    otherActions.push_back(fmt::format("click {}", id));
  const std::string muteClick = fmt::format("click {}", other::kMutePilot);
  for (int round = 0; round < 200; ++round) {
    const RegisterImage before = RandomImage(rng);
    const int model = round % 4;
    {
      Rf f(before, model);
      f.Run(fmt::format("drag {} {}", rf::kPaGainSlider, rng() % 13));
      ASSERT_EQ(f.Cancel(), before);
    }
    {
      Audio f(before, model);
      f.Run(fmt::format("click {}\nclick {}\nselect {} 5\nselect {} 11\nclick {}\nclick {}\nclick {}",
                        audio::kDisablePreEmphasis, audio::kEnableCompressor, audio::kTimeConstantList,
                        audio::kMicSensitivityList, audio::kPreEmphasisFirst, audio::kEnablePreEmphasis,
                        audio::kDisableCompressor));
      ASSERT_EQ(f.Cancel(), before);
    }
    Other f(before, model);
    bool muteClicked = false;
    for (int i = 0; i < 6; ++i) {
      const std::string& a = otherActions[rng() % otherActions.size()];
      if (a == muteClick && f.enabled(other::kMutePilot)) muteClicked = true;
      f.Run(a);
    }
    RegisterImage expected = before;
    if (muteClicked) Put(TxField::MuteLevel, kMuteLevelForMutePilot, expected);
    ASSERT_EQ(f.Cancel(), expected) << round;
  }
}

// reg18 10:8 go to 4 on every click of "Disable Pilot when mute is enabled", at once; bit 11
// only on OK.
TEST(TxOther, MutePilotWritesItsCompanionAtOnce) {
  struct Row {
    uint16_t reg18;
    std::string clicks;
    uint16_t beforeOk, afterCancel, afterOk;
  };
  const Row rows[] = {
      {0x0300, fmt::format("click {}", other::kMutePilot), 0x0400, 0x0400, 0x0C00},
      {0xFBFF, fmt::format("click {}\nclick {}", other::kMutePilot, other::kKeepPilot), 0xFCFF, 0xFCFF,
       0xF4FF},
      {0x0B00, fmt::format("click {}\nclick {}", other::kKeepPilot, other::kMutePilot), 0x0C00, 0x0C00,
       0x0C00},
      {0x0B00, fmt::format("click {}", other::kKeepPilot), 0x0B00, 0x0B00, 0x0300},
  };
  for (const Row& r : rows) {
    for (bool ok : {false, true}) {
      Other f(Words({{0x1f, 0x8000}, {0x18, r.reg18}}));
      f.Run(r.clicks);
      EXPECT_EQ(f.state.words[0x18], r.beforeOk) << r.clicks;
      EXPECT_EQ((ok ? f.Ok() : f.Cancel())[0x18], ok ? r.afterOk : r.afterCancel) << r.clicks;
    }
  }
}

// A TX_ID the box refuses leaves the image as it was and the dialog open; a valid one is
// written with everything else. The box is hidden, so the test fills it as the program would.
TEST(TxOther, OkChecksTheTxIdBeforeWritingAnyWord) {
  std::mt19937 rng(92);
  const RegisterImage before = RandomInRangeImage(rng);
  Other f(before, kLx7250D);
  f.Run(fmt::format("click {}\nclick {}\nclick {}\nselect {} 3", other::kEnablePilot, other::kMutePilot,
                    other::kMeterEnable, other::kDeviationList));
  const RegisterImage afterClicks = f.state.words;  // the mute-pilot field only
  for (const char* bad : {"65536", "70000", "-1", "x"}) {
    f->SetDlgItemText(other::kTxIdBox, bad);
    EXPECT_EQ(f.Ok(), afterClicks) << bad;
    EXPECT_TRUE(f.open());
    EXPECT_EQ(f->focusId(), other::kTxIdBox);
  }
  EXPECT_EQ(f.messages(),
            (std::vector<std::string>{ui::msg::OutOfRange(0, 65535), ui::msg::OutOfRange(0, 65535),
                                      ui::msg::kNotUnsigned, ui::msg::kNotUnsigned}));
  f->SetDlgItemText(other::kTxIdBox, "65535");
  const RegisterImage& w = f.Ok();
  EXPECT_FALSE(f.open());
  EXPECT_EQ(w[0x17], 0xFFFF);
  EXPECT_EQ(Get(TxField::Pilot, w), 1u);
  EXPECT_EQ(Get(TxField::PilotDeviation, w), 3u);
  EXPECT_EQ(Get(TxField::BatteryMeter, w), 1u);
}

// Not written on OK: reg18 10:8 go in on the mute-pilot click, reg1f 14 only ticks the TX_ID
// check box.
TEST(TxFieldTable, TheThreeDialogsBindEveryTransmitterFieldOnceAndNoBitTwice) {
  const RegisterImage words{};
  Rf rf(words);
  Audio audio(words);
  Other other(words, kLx7250D);
  test::CheckBoundOnce({&*rf, &*audio, &*other}, AllRegisterFields(Family::Transmitter),
                       {&Field(TxField::MuteLevel), &Field(TxField::TxIdFlag)});
}

}  // namespace
}  // namespace lx::tx::testing
