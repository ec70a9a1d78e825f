// The sound-effect dialog: reg1f bits 1:0, 3:2 and 11:10 shown in three lists.
#include "rx_support.h"

namespace lx::rx::testing {
namespace {

using namespace res::rx_sound;

// A script with the lists named {bass}, {treble} and {thd}.
std::string Script(const char* s) {
  return fmt::format(fmt::runtime(s), fmt::arg("bass", kBassList), fmt::arg("treble", kTrebleList),
                     fmt::arg("thd", kThdList));
}

TEST(SoundEffectDialog, ListsHoldTheirItemsInFieldValueOrder) {
  SoundFixture f(app::OstrelTool(), kLx7140, Words({}));
  EXPECT_EQ(f.control(kBassList).items, (std::vector<std::string>{"0dB", "6dB", "10dB", "14dB"}));
  EXPECT_EQ(f.control(kTrebleList).items, (std::vector<std::string>{"0dB", "4dB", "5dB", "7dB"}));
  EXPECT_EQ(f.control(kThdList).items, (std::vector<std::string>{"BYPASS", "-40dB", "-45dB", "-51dB"}));
  EXPECT_EQ(f->tpl().caption, std::string("音效配置"));
}

struct Opening {
  uint16_t reg1f;
  const char *bass, *treble, *thd;
};

TEST(SoundEffectDialog, OpeningShowsTheFieldsOfReg1f) {
  for (const Opening& o : {Opening{0x0000, "0dB", "0dB", "BYPASS"}, Opening{0xFFFF, "14dB", "7dB", "-51dB"},
                           Opening{0x0409, "6dB", "5dB", "-40dB"}, Opening{0x0806, "10dB", "4dB", "-45dB"},
                           Opening{0xF3F0, "0dB", "0dB", "BYPASS"}}) {
    SCOPED_TRACE(o.reg1f);
    SoundFixture f(app::OstrelTool(), kLx7140, Words({{0x1f, o.reg1f}}));
    EXPECT_EQ(f.control(kBassList).text, o.bass);
    EXPECT_EQ(f.control(kTrebleList).text, o.treble);
    EXPECT_EQ(f.control(kThdList).text, o.thd);
  }
}

TEST(SoundEffectDialog, ChoosingTheFirstItemsOverAllOnesKeepsTheOtherBits) {
  SoundFixture f(app::OstrelTool(), kLx7140, Words({{0x1f, 0xFFFF}}));
  f.Run(Script("pick {bass} 0dB\npick {treble} 0dB\npick {thd} BYPASS"));
  EXPECT_EQ(f.Ok()[0x1f], 0xF3F0);
  EXPECT_FALSE(f.open());
}

struct Choice {
  const char* script;
  uint16_t from, to;
};

TEST(SoundEffectDialog, OkWritesOnlyTheLastChoiceOfEachList) {
  for (const Choice& c : {
           Choice{"select {bass} 3\nselect {bass} 1", 0x0000, 0x0001},
           Choice{"select {treble} 2\nselect {treble} 3", 0x0000, 0x000C},
           Choice{"select {thd} 1\nselect {thd} 2", 0xF3F0, 0xFBF0},
           Choice{"select {bass} 2\nselect {treble} 1\nselect {thd} 3", 0x5000, 0x5C06},
           // Text typed into a list's edit field changes nothing.
           Choice{"type {bass} 14dB\ntype {thd} -51dB", 0x1234, 0x1234},
       }) {
    SCOPED_TRACE(c.script);
    SoundFixture f(app::OstrelTool(), kLx7140, Words({{0x1f, c.from}, {0x1e, 0xFFFF}, {0x20, 0xFFFF}}));
    f.Run(Script(c.script));
    const RegisterImage after = f.Ok();
    EXPECT_EQ(after[0x1f], c.to);
    EXPECT_EQ(after[0x1e], 0xFFFF);
    EXPECT_EQ(after[0x20], 0xFFFF);
  }
}

}  // namespace
}  // namespace lx::rx::testing
