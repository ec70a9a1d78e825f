// The audio dialog: de-emphasis and gain on reg1d, expander and its time constant on reg1f,
// the volume on reg1a through a vertical slider whose top is 31.
#include "rx_support.h"

namespace lx::rx::testing {
namespace {

using namespace res::rx_audio;

// The time constant is chosen before the expander is turned off, which greys its list.
TEST(RxAudioDialog, OkWritesEveryChoiceIntoItsWord) {
  AudioFixture f(app::OstrelTool(), kLx7140, Words({}));
  f.Run("click 1003\npick 1008 -2.5dB\npick 1009 796mS\nclick 1005\ndrag 1002 0");
  const RegisterImage w = f.Ok();
  EXPECT_EQ(w[0x1d], 0xE000);
  EXPECT_EQ(w[0x1f], 0xF000);
  EXPECT_EQ(w[0x1a], 0x001F);
}

struct Opening {
  uint16_t reg1d, reg1f, reg1a;
  int deEmphasisChecked, expanderChecked;  // the checked button of each pair
  const char *gain, *timeConstant;
  bool timeConstantEnabled;
  int sliderPos;
  const char* box;
};

TEST(RxAudioDialog, OpeningShowsTheFields) {
  for (const Opening& o : {
           Opening{0x0000, 0x0000, 0x0000, 1001, 1004, "0dB", "6mS", true, 31, "0"},
           Opening{0xE000, 0xF000, 0x001F, 1003, 1005, "-2.5dB", "796mS", false, 0, "31"},
           Opening{0x4FFF, 0x3FFF, 0xFFEA, 1001, 1004, "12dB", "48mS", true, 21, "10"},
           // Expander off: the list is greyed but shows the stored time constant.
           Opening{0x8000, 0xD000, 0x0001, 1003, 1005, "0dB", "199mS", false, 30, "1"},
       }) {
    SCOPED_TRACE(o.reg1d);
    AudioFixture f(app::OstrelTool(), kLx7140, Words({{0x1d, o.reg1d}, {0x1f, o.reg1f}, {0x1a, o.reg1a}}));
    EXPECT_TRUE(f.control(o.deEmphasisChecked).checked);
    EXPECT_FALSE(f.control(o.deEmphasisChecked == 1001 ? 1003 : 1001).checked);
    EXPECT_TRUE(f.control(o.expanderChecked).checked);
    EXPECT_FALSE(f.control(o.expanderChecked == 1004 ? 1005 : 1004).checked);
    EXPECT_EQ(f.control(kGainList).text, o.gain);
    EXPECT_EQ(f.control(kTimeConstantList).text, o.timeConstant);
    EXPECT_EQ(f.control(kTimeConstantList).enabled, o.timeConstantEnabled);
    EXPECT_EQ(f.control(kVolumeSlider).pos, o.sliderPos);
    EXPECT_EQ(f.control(kVolumeSlider).rangeMin, 0);
    EXPECT_EQ(f.control(kVolumeSlider).rangeMax, 31);
    EXPECT_EQ(f.control(kVolumeBox).text, o.box);
  }
}

TEST(RxAudioDialog, ExpanderButtonsGreyAndFreeTheTimeConstantList) {
  AudioFixture f(app::OstrelTool(), kLx7140, Words({{0x1f, 0xC000}}));
  EXPECT_FALSE(f.control(kTimeConstantList).enabled);
  f.Run("click 1004");
  EXPECT_TRUE(f.control(kTimeConstantList).enabled);
  f.Run("pick 1009 12mS\nclick 1005");
  EXPECT_FALSE(f.control(kTimeConstantList).enabled);
  f.Run("pick 1009 796mS");  // a greyed list takes no choice
  // Written although greyed.
  EXPECT_EQ(f.Ok()[0x1f], 0x9000);
}

// The slider's top (position 0) is volume 31, its bottom (position 31) volume 0, whether the
// thumb is dragged with the mouse or moved with the keys; the box shows the volume.
TEST(RxAudioDialog, VolumeSliderRunsFromThirtyOneAtTheTopToZeroAtTheBottom) {
  for (const char* verb : {"drag", "key"}) {
    for (int pos : {0, 1, 15, 16, 30, 31}) {
      SCOPED_TRACE(std::string(verb) + " " + std::to_string(pos));
      AudioFixture f(app::OstrelTool(), kLx7140, Words({{0x1a, 0xA08C}}));  // volume 12
      EXPECT_EQ(f.control(kVolumeSlider).pos, 19);
      f.Run(std::string(verb) + " 1002 " + std::to_string(pos));
      EXPECT_EQ(f.control(kVolumeSlider).pos, pos);
      EXPECT_EQ(f.control(kVolumeBox).text, std::to_string(31 - pos));
      EXPECT_EQ(f.Ok()[0x1a], 0xA080 | (31 - pos));
    }
  }
}

TEST(RxAudioDialog, KeysFromTopToBottomCountTheBoxDown) {
  AudioFixture f(app::OstrelTool(), kLx7140, Words({{0x1a, 0xFFFF}}));
  std::vector<std::string> shown;
  for (int pos = 0; pos <= 31; ++pos) {
    f.Run("key 1002 " + std::to_string(pos));
    shown.push_back(f.control(kVolumeBox).text);
  }
  std::vector<std::string> expected;
  for (int v = 31; v >= 0; --v) expected.push_back(std::to_string(v));
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(f.Ok()[0x1a], 0xFFE0);
}

TEST(RxAudioDialog, MovingTheSliderKeepsTheRadioChoices) {
  AudioFixture f(app::OstrelTool(), kLx7140, Words({}));
  f.Run("click 1003\nclick 1005\ndrag 1002 10\nkey 1002 4");
  EXPECT_TRUE(f.control(kDisableDeEmphasis).checked);
  EXPECT_TRUE(f.control(kDisableExpander).checked);
  EXPECT_FALSE(f.control(kEnableDeEmphasis).checked);
  const RegisterImage w = f.Ok();
  EXPECT_EQ(w[0x1d], 0x8000);
  EXPECT_EQ(w[0x1f], 0x8000);
  EXPECT_EQ(w[0x1a], 27);
}

// Gain field value 7 has no item: the list shows nothing and OK keeps 7 until an item is picked.
TEST(RxAudioDialog, GainSevenIsKeptUntilAnItemIsPicked) {
  const RegisterImage image = Words({{0x1d, 0xF0B5}, {0x1f, 0x1234}, {0x1a, 0x5555}});
  {
    AudioFixture f(app::OstrelTool(), kLx7140, image);
    EXPECT_EQ(f.control(kGainList).curSel, -1);
    EXPECT_EQ(f.control(kGainList).text, "");
    f.Run("type 1008 3dB\nclick 1001\nclick 1003\ndrag 1002 3\nselect 1009 2");
    EXPECT_EQ(f.control(kGainList).curSel, -1);
    EXPECT_EQ(f.Ok()[0x1d], 0xF0B5);
  }
  {
    AudioFixture f(app::OstrelTool(), kLx7140, image);
    f.Run("pick 1008 -4dB");
    EXPECT_EQ(f.Ok()[0x1d], 0xD0B5);
  }
}

}  // namespace
}  // namespace lx::rx::testing
