// The other-settings dialog: automute, pilot and SNR automute on reg1a, the SNR thresholds
// filling reg1c, AFC and its range on reg1d; and which controls each switch greys.
#include "rx_support.h"

namespace lx::rx::testing {
namespace {

using namespace res::rx_other;

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
    f.Run(std::string(verb) + " 1002 10\n" + verb + " 1004 200");
    EXPECT_EQ(f.control(kHighThresholdBox).text, "10");
    EXPECT_EQ(f.control(kLowThresholdBox).text, "200");
    EXPECT_EQ(f.Ok()[0x1c], 0x0AC8);
  }
  // Nothing checks that the high threshold is at least the low one.
  OtherFixture f(app::OstrelTool(), kLx7140, Words({{0x1a, 0x2000}}));
  f.Run("drag 1002 0\ndrag 1004 255");
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
           Clicks{0x0080, 0x0080, "click 1005", "EEEEEEEEE"},
           Clicks{0x2000, 0x0080, "click 1011", "........E"},
           Clicks{0x2000, 0x0080, "click 1011\nclick 1005", "EEEEEEEEE"},
           Clicks{0x0000, 0x0080, "click 1011\nclick 1005", "EEEEEEEEE"},
           // The SNR switch acts on the four threshold controls only.
           Clicks{0x0000, 0x0080, "click 1001", "EEEEEEEEE"},
           Clicks{0x2000, 0x0080, "click 1003", "EEEE....E"},
           Clicks{0x2000, 0x0080, "click 1003\nclick 1011\nclick 1005", "EEEEEEEEE"},
           // Greyed radios ignore clicks.
           Clicks{0x0080, 0x0080, "click 1001", "........E"},
           // The pilot switch greys nothing.
           Clicks{0x0000, 0x0080, "click 1044\nclick 1045", "EEEE....E"},
           // AFC greys and frees the range list.
           Clicks{0x2000, 0x0080, "click 1007", "EEEEEEEE."},
           Clicks{0x2000, 0x0000, "click 1006", "EEEEEEEEE"},
       }) {
    SCOPED_TRACE(c.script);
    OtherFixture f(app::OstrelTool(), kLx7140, Words({{0x1a, c.reg1a}, {0x1d, c.reg1d}}));
    f.Run(c.script);
    EXPECT_EQ(EnabledPattern(*f, kGated), c.enabled);
  }
}

TEST(RxOtherDialog, ClickSequenceSetsTheSwitchBitsAndRange) {
  OtherFixture f(app::OstrelTool(), kLx7140, Words({}));
  f.Run("click 1001\nclick 1044\nclick 1011\nclick 1006\npick 1008 ±90KHz");
  const RegisterImage w = f.Ok();
  EXPECT_EQ(w[0x1a], 0xA080);
  EXPECT_EQ(w[0x1d], 0x00B0);
}

TEST(RxOtherDialog, AfcOffGreysTheListAndStillWritesItsRange) {
  OtherFixture f(app::OstrelTool(), kLx7140, Words({{0x1d, 0xF0A0}}));
  EXPECT_EQ(f.control(kAfcRangeList).text, "±60KHz");
  f.Run("pick 1008 ±40KHz\nclick 1007");
  EXPECT_FALSE(f.control(kAfcRangeList).enabled);
  EXPECT_EQ(f.Ok()[0x1d], 0xF010);
}

TEST(RxOtherDialog, MovingASliderKeepsTheRadioChoices) {
  OtherFixture f(app::OstrelTool(), kLx7140, Words({{0x1a, 0x2000}}));
  f.Run("click 1006\nclick 1045\ndrag 1002 77\nkey 1004 3");
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
