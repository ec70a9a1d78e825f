// The audio dialog: de-emphasis and gain on reg1d, expander and its time constant on reg1f,
// the volume on reg1a through a vertical slider whose top is 31.
#include "rx_support.h"

namespace lx::rx::testing {
namespace {

using namespace res::rx_audio;

// The time constant is chosen before the expander is turned off, which greys its list.
TEST(RxAudioDialog, OkWritesEveryChoiceIntoItsWord) {
  AudioFixture f(app::OstrelTool(), kLx7140, Words({}));
  f.Run(fmt::format("click {}\npick {} -2.5dB\npick {} 796mS\nclick {}\ndrag {} 0", kDisableDeEmphasis,
                    kGainList, kTimeConstantList, kDisableExpander, kVolumeSlider));
  const RegisterImage w = f.Ok();
  EXPECT_EQ(w[0x1d], 0xE000);
  EXPECT_EQ(w[0x1f], 0xF000);
  EXPECT_EQ(w[0x1a], 0x001F);
}

struct Opening {
  uint16_t reg1d, reg1f, reg1a;
  bool deEmphasisOn, expanderOn;  // which button of each pair is checked
  const char *gain, *timeConstant;
  bool timeConstantEnabled;
  int sliderPos;
  const char* box;
};

TEST(RxAudioDialog, OpeningShowsTheFields) {
  for (const Opening& o : {
           Opening{0x0000, 0x0000, 0x0000, true, true, "0dB", "6mS", true, 31, "0"},
           Opening{0xE000, 0xF000, 0x001F, false, false, "-2.5dB", "796mS", false, 0, "31"},
           Opening{0x4FFF, 0x3FFF, 0xFFEA, true, true, "12dB", "48mS", true, 21, "10"},
           // Expander off: the list is greyed but shows the stored time constant.
           Opening{0x8000, 0xD000, 0x0001, false, false, "0dB", "199mS", false, 30, "1"},
       }) {
    SCOPED_TRACE(o.reg1d);
    AudioFixture f(app::OstrelTool(), kLx7140, Words({{0x1d, o.reg1d}, {0x1f, o.reg1f}, {0x1a, o.reg1a}}));
    EXPECT_EQ(f.control(kEnableDeEmphasis).checked, o.deEmphasisOn);
    EXPECT_EQ(f.control(kDisableDeEmphasis).checked, !o.deEmphasisOn);
    EXPECT_EQ(f.control(kEnableExpander).checked, o.expanderOn);
    EXPECT_EQ(f.control(kDisableExpander).checked, !o.expanderOn);
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
  f.Run(fmt::format("click {}", kEnableExpander));
  EXPECT_TRUE(f.control(kTimeConstantList).enabled);
  f.Run(fmt::format("pick {} 12mS\nclick {}", kTimeConstantList, kDisableExpander));
  EXPECT_FALSE(f.control(kTimeConstantList).enabled);
  f.Run(fmt::format("pick {} 796mS", kTimeConstantList));  // a greyed list takes no choice
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
      f.Run(fmt::format("{} {} {}", verb, kVolumeSlider, pos));
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
    f.Run(fmt::format("key {} {}", kVolumeSlider, pos));
    shown.push_back(f.control(kVolumeBox).text);
  }
  std::vector<std::string> expected;
  for (int v = 31; v >= 0; --v) expected.push_back(std::to_string(v));
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(f.Ok()[0x1a], 0xFFE0);
}

TEST(RxAudioDialog, MovingTheSliderKeepsTheRadioChoices) {
  AudioFixture f(app::OstrelTool(), kLx7140, Words({}));
  f.Run(fmt::format("click {}\nclick {}\ndrag {} 10\nkey {} 4", kDisableDeEmphasis, kDisableExpander,
                    kVolumeSlider, kVolumeSlider));
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
    f.Run(fmt::format("type {} 3dB\nclick {}\nclick {}\ndrag {} 3\nselect {} 2", kGainList, kEnableDeEmphasis,
                      kDisableDeEmphasis, kVolumeSlider, kTimeConstantList));
    EXPECT_EQ(f.control(kGainList).curSel, -1);
    EXPECT_EQ(f.Ok()[0x1d], 0xF0B5);
  }
  {
    AudioFixture f(app::OstrelTool(), kLx7140, image);
    f.Run(fmt::format("pick {} -4dB", kGainList));
    EXPECT_EQ(f.Ok()[0x1d], 0xD0B5);
  }
}

}  // namespace
}  // namespace lx::rx::testing
