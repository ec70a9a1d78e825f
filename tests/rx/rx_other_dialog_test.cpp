// The other-settings dialog: automute, pilot and SNR automute on reg1a, the SNR thresholds
// filling reg1c, AFC and its range on reg1d; and which controls each switch greys.
#include "rx_support.h"

namespace lx::rx::testing {
namespace {

using namespace res::rx_other;

// A script with the controls named: {automute}, {snr}, {pilot} and {afc} for a switch's first
// button, with "Off" for its second; {high}, {low} for the sliders and {range} for the list.
std::string Script(const std::string& s) {
  return fmt::format(fmt::runtime(s), fmt::arg("automute", kEnableAutomute),
                     fmt::arg("automuteOff", kDisableAutomute), fmt::arg("snr", kEnableSnrAutomute),
                     fmt::arg("snrOff", kDisableSnrAutomute), fmt::arg("pilot", kEnablePilotAutomute),
                     fmt::arg("pilotOff", kDisablePilotAutomute), fmt::arg("afc", kEnableAfc),
                     fmt::arg("afcOff", kDisableAfc), fmt::arg("high", kHighThresholdSlider),
                     fmt::arg("low", kLowThresholdSlider), fmt::arg("range", kAfcRangeList));
}

// The eight controls under the automute switch, then the AFC range list.
const std::vector<int> kGated = {kEnablePilotAutomute, kDisablePilotAutomute, kEnableSnrAutomute,
                                 kDisableSnrAutomute,  kHighThresholdSlider,  kLowThresholdSlider,
                                 kHighThresholdBox,    kLowThresholdBox,      kAfcRangeList};

TEST(RxOtherDialog, ThresholdsAreTheTwoBytesOfReg1c) {
  OtherFixture f(app::OstrelTool(), kLx7140, Words({{0x1c, 0x1234}, {0x1a, 0x2000}}));
  EXPECT_EQ(f.control(kHighThresholdSlider).pos, 18);
  EXPECT_EQ(f.control(kLowThresholdSlider).pos, 52);
  EXPECT_EQ(f.control(kHighThresholdBox).text, "18");
  EXPECT_EQ(f.control(kLowThresholdBox).text, "52");
  EXPECT_EQ(f.control(kHighThresholdSlider).rangeMax, 255);
  EXPECT_EQ(f.Ok()[0x1c], 0x1234);
}

TEST(RxOtherDialog, SlidersRewriteReg1cWhole) {
  for (const char* verb : {"drag", "key"}) {
    SCOPED_TRACE(verb);
    OtherFixture f(app::OstrelTool(), kLx7140, Words({{0x1c, 0xFFFF}, {0x1a, 0x2000}}));
    f.Run(Script(std::string(verb) + " {high} 10\n" + verb + " {low} 200"));
    EXPECT_EQ(f.control(kHighThresholdBox).text, "10");
    EXPECT_EQ(f.control(kLowThresholdBox).text, "200");
    EXPECT_EQ(f.Ok()[0x1c], 0x0AC8);
  }
  // Nothing checks that the high threshold is at least the low one.
  OtherFixture f(app::OstrelTool(), kLx7140, Words({{0x1a, 0x2000}}));
  f.Run(Script("drag {high} 0\ndrag {low} 255"));
  EXPECT_EQ(f.Ok()[0x1c], 0x00FF);
}

struct Opening {
  uint16_t reg1a, reg1d;
  const char* enabled;  // kGated, in order
  int automuteChecked, pilotChecked, snrChecked, afcChecked;
};

TEST(RxOtherDialog, OpeningGreysByTheSwitchesInOrder) {
  for (const Opening& o : {
           // automute on, SNR on
           Opening{0x2000, 0x0080, "EEEEEEEEE", kEnableAutomute, kDisablePilotAutomute, kEnableSnrAutomute,
                   kEnableAfc},
           // automute on, SNR off: the thresholds greyed
           Opening{0x8000, 0x0000, "EEEE.....", kEnableAutomute, kEnablePilotAutomute, kDisableSnrAutomute,
                   kDisableAfc},
           // automute off, SNR on: the radios greyed, the thresholds usable
           Opening{0x2080, 0x0080, "....EEEEE", kDisableAutomute, kDisablePilotAutomute, kEnableSnrAutomute,
                   kEnableAfc},
           // automute off, SNR off: all eight greyed
           Opening{0x8080, 0x0030, ".........", kDisableAutomute, kEnablePilotAutomute, kDisableSnrAutomute,
                   kDisableAfc},
       }) {
    SCOPED_TRACE(o.reg1a);
    OtherFixture f(app::OstrelTool(), kLx7140, Words({{0x1a, o.reg1a}, {0x1d, o.reg1d}}));
    EXPECT_EQ(EnabledPattern(*f, kGated), o.enabled);
    for (auto [on, off] :
         {std::pair{kEnableAutomute, kDisableAutomute},
          std::pair{kEnablePilotAutomute, kDisablePilotAutomute},
          std::pair{kEnableSnrAutomute, kDisableSnrAutomute}, std::pair{kEnableAfc, kDisableAfc}}) {
      const int checked = on == kEnableAutomute        ? o.automuteChecked
                          : on == kEnablePilotAutomute ? o.pilotChecked
                          : on == kEnableSnrAutomute   ? o.snrChecked
                                                       : o.afcChecked;
      EXPECT_EQ(f.control(on).checked, checked == on) << on;
      EXPECT_EQ(f.control(off).checked, checked == off) << off;
    }
  }
}

struct Clicks {
  uint16_t reg1a, reg1d;
  const char* script;
  const char* enabled;  // kGated, after the clicks
};

TEST(RxOtherDialog, ClicksGreyWhatTheirSwitchGoverns) {
  for (const Clicks& c : {
           // The master switch acts on all eight, sliders included, whatever SNR automute says.
           Clicks{0x0080, 0x0080, "click {automute}", "EEEEEEEEE"},
           Clicks{0x2000, 0x0080, "click {automuteOff}", "........E"},
           Clicks{0x2000, 0x0080, "click {automuteOff}\nclick {automute}", "EEEEEEEEE"},
           Clicks{0x0000, 0x0080, "click {automuteOff}\nclick {automute}", "EEEEEEEEE"},
           // The SNR switch acts on the four threshold controls only.
           Clicks{0x0000, 0x0080, "click {snr}", "EEEEEEEEE"},
           Clicks{0x2000, 0x0080, "click {snrOff}", "EEEE....E"},
           Clicks{0x2000, 0x0080, "click {snrOff}\nclick {automuteOff}\nclick {automute}", "EEEEEEEEE"},
           // Greyed radios ignore clicks.
           Clicks{0x0080, 0x0080, "click {snr}", "........E"},
           // The pilot switch greys nothing.
           Clicks{0x0000, 0x0080, "click {pilot}\nclick {pilotOff}", "EEEE....E"},
           // AFC greys and frees the range list.
           Clicks{0x2000, 0x0080, "click {afcOff}", "EEEEEEEE."},
           Clicks{0x2000, 0x0000, "click {afc}", "EEEEEEEEE"},
       }) {
    SCOPED_TRACE(c.script);
    OtherFixture f(app::OstrelTool(), kLx7140, Words({{0x1a, c.reg1a}, {0x1d, c.reg1d}}));
    f.Run(Script(c.script));
    EXPECT_EQ(EnabledPattern(*f, kGated), c.enabled);
  }
}

TEST(RxOtherDialog, ClickSequenceSetsTheSwitchBitsAndRange) {
  OtherFixture f(app::OstrelTool(), kLx7140, Words({}));
  f.Run(Script("click {snr}\nclick {pilot}\nclick {automuteOff}\nclick {afc}\npick {range} ±90KHz"));
  const RegisterImage w = f.Ok();
  EXPECT_EQ(w[0x1a], 0xA080);
  EXPECT_EQ(w[0x1d], 0x00B0);
}

TEST(RxOtherDialog, AfcOffGreysTheListAndStillWritesItsRange) {
  OtherFixture f(app::OstrelTool(), kLx7140, Words({{0x1d, 0xF0A0}}));
  EXPECT_EQ(f.control(kAfcRangeList).text, "±60KHz");
  f.Run(Script("pick {range} ±40KHz\nclick {afcOff}"));
  EXPECT_FALSE(f.control(kAfcRangeList).enabled);
  EXPECT_EQ(f.Ok()[0x1d], 0xF010);
}

TEST(RxOtherDialog, MovingASliderKeepsTheRadioChoices) {
  OtherFixture f(app::OstrelTool(), kLx7140, Words({{0x1a, 0x2000}}));
  f.Run(Script("click {afc}\nclick {pilotOff}\ndrag {high} 77\nkey {low} 3"));
  EXPECT_TRUE(f.control(kEnableAfc).checked);
  EXPECT_FALSE(f.control(kDisableAfc).checked);
  EXPECT_TRUE(f.control(kDisablePilotAutomute).checked);
  EXPECT_TRUE(f.control(kEnableAutomute).checked);
  const RegisterImage w = f.Ok();
  EXPECT_EQ(w[0x1d], 0x0080);
  EXPECT_EQ(w[0x1c], 77 * 256 + 3);
}

}  // namespace
}  // namespace lx::rx::testing
