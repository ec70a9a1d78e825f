// The channel dialog of both tools on the headless host: what it shows on opening, what leaving
// a box does, the bank buttons, the crystal entry, and the words OK writes.
#include "channel/ui/channel_dialog.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "app/tool.h"
#include "channel/channel_rules.h"
#include "channel/codec.h"
#include "resources/channel_ids.h"
#include "settings/image_settings.h"
#include "tests/support/dialog_fixture.h"

namespace lx::channel {
namespace {

using res::channel::kChannelBox;
using res::channel::kFillLeftBank;
using res::channel::kFillRightBank;
using res::channel::kInductanceBox;
using res::channel::kXtalBox;
using Fixture = test::DialogFixture<ChannelDialog>;
using ToolFn = const app::ToolDefinition& (*)();

// Chip models by index.
constexpr int kLx7240 = 0, kLx7250 = 1;
constexpr int kLx7140 = 0, kLx7150 = 1, kLxm7140 = 2;

int Box(int k) { return kChannelBox[static_cast<std::size_t>(k)]; }
int Advice(int k) { return kInductanceBox[static_cast<std::size_t>(k)]; }

const std::string kRangeLow = "请输入正确的频道:160000KHz~270000KHz";
const std::string kRangeHigh = "请输入正确的频道:470000KHz~960000KHz";
const std::string kCrystal = "      晶振频率范围:23000KHz~25000KHz\n              请重新输入!";

// Every channel's two words, as OK writes them.
RegisterImage AllChannels(ChannelWords w, RegisterImage image = {}) {
  for (int k = 0; k < kChannelCount; ++k) StoreChannelWords(image, k, w);
  return image;
}

TEST(ChannelDialog, TemplateCaptionsAndTabOrder) {
  struct Case {
    ToolFn tool;
    const char *ok, *cancel, *xtal, *group;
  };
  for (const Case& c : {Case{app::AmbrelTool, "确定", "取消", "XTAL:", "频道设置"},
                        Case{app::OstrelTool, "OK", "Cancel", "XTAL：", "Channel Setting"}}) {
    Fixture f(c.tool(), 0, {});
    EXPECT_EQ(f->tpl().caption, std::string("频道配置"));
    EXPECT_EQ(f.control(ui::kIdOk).text, c.ok);
    EXPECT_EQ(f.control(ui::kIdCancel).text, c.cancel);
    int labels = 0, groups = 0;
    for (const ui::ControlState& s : f->controls()) {
      labels += s.text == c.xtal;
      groups += s.kind() == ui::Kind::GroupBox && s.text == c.group;
    }
    EXPECT_EQ(labels, 1);
    EXPECT_EQ(groups, 2);
    for (int k = 0; k < kChannelCount; ++k) EXPECT_TRUE(f.control(Advice(k)).tpl->style & ui::kReadOnly);

    // Focus on OK at opening; Tab runs OK, Cancel, the channel boxes, the inductance boxes,
    // Channel1, Channel2, XTAL and back to OK.
    EXPECT_EQ(f->focusId(), ui::kIdOk);
    std::vector<int> expected = {ui::kIdCancel};
    for (int k = 0; k < kChannelCount; ++k) expected.push_back(Box(k));
    for (int k = 0; k < kChannelCount; ++k) expected.push_back(Advice(k));
    expected.insert(expected.end(), {kFillLeftBank, kFillRightBank, kXtalBox, ui::kIdOk});
    std::vector<int> order;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      f.host.Tab();
      order.push_back(f->focusId());
    }
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(f.messages().empty());
  }
}

TEST(ChannelDialog, OpeningOnZeroWordsShowsTheRangeLowEnd) {
  struct Case {
    ToolFn tool;
    int model;
    const char *frequency, *advice;
  };
  for (const Case& c :
       {Case{app::AmbrelTool, kLx7240, "160000", "1.5nH"}, Case{app::AmbrelTool, kLx7250, "470000", "5.6nH"},
        Case{app::OstrelTool, kLx7140, "160000", "1.5nH"}, Case{app::OstrelTool, kLx7150, "470000", "5.6nH"},
        Case{app::OstrelTool, kLxm7140, "160000", "3.3nH"}}) {
    Fixture f(c.tool(), c.model, {}, 24000);
    for (int k = 0; k < kChannelCount; ++k) {
      EXPECT_EQ(f.control(Box(k)).text, c.frequency) << c.model << " channel " << k;
      EXPECT_EQ(f.control(Advice(k)).text, c.advice) << c.model << " channel " << k;
    }
    EXPECT_EQ(f.control(kXtalBox).text, "24000");
  }
}

TEST(ChannelDialog, OpeningDecodesEachChannelsWords) {
  RegisterImage words{};
  StoreChannelWords(words, 3, {0x90A7, 0xF555});   // 863500
  StoreChannelWords(words, 14, {0x64D8, 0x0029});  // 600007.5 in single precision: 600007
  StoreChannelWords(words, 15, {0x64D8, 0x7FFF});  // 606000
  Fixture f(app::AmbrelTool(), kLx7250, words, 24000);
  EXPECT_EQ(f.control(Box(3)).text, "863500");
  EXPECT_EQ(f.control(Advice(3)).text, "1.0nH");
  EXPECT_EQ(f.control(Box(14)).text, "600007");
  EXPECT_EQ(f.control(Box(15)).text, "606000");
  EXPECT_EQ(f.control(Advice(15)).text, "3.0nH");
  EXPECT_EQ(f.control(Box(2)).text, "470000");
}

TEST(ChannelDialog, LeavingABoxShowsWhatTheWordsStandFor) {
  struct Case {
    ToolFn tool;
    int model;
    const char *typed, *shown, *advice;
  };
  for (const Case& c :
       {Case{app::AmbrelTool, kLx7240, "162003", "162000", "1.5nH"},  // inside the 5 kHz window
        Case{app::AmbrelTool, kLx7240, "162006", "162006", "1.5nH"},  // outside it
        Case{app::AmbrelTool, kLx7240, " 200000 ", "200000", "8.2nH"},
        Case{app::AmbrelTool, kLx7250, "606000", "606000", "3.0nH"},
        Case{app::AmbrelTool, kLx7250, "606015", "606000", "3.0nH"},  // 20 kHz window
        Case{app::OstrelTool, kLx7140, "200000", "200000", "8.2nH"},
        Case{app::OstrelTool, kLxm7140, "250000", "250000", "6.8nH"}}) {
    Fixture f(c.tool(), c.model, {}, 24000);
    f.host.Type(Box(5), c.typed);
    f.host.Tab();
    EXPECT_EQ(f.control(Box(5)).text, c.shown) << c.typed;
    EXPECT_EQ(f.control(Advice(5)).text, c.advice) << c.typed;
    EXPECT_EQ(f->focusId(), Box(6));
    EXPECT_TRUE(f.messages().empty());
  }
}

TEST(ChannelDialog, RangeMessageOrderDiffersBetweenTheTools) {
  struct Case {
    ToolFn tool;
    int model;
    const char* typed;
    const std::string& message;
    const char *shownWithMessage, *after, *advice;
  };
  for (const Case& c : {Case{app::AmbrelTool, kLx7240, "100000", kRangeLow, "160000", "160000", "1.5nH"},
                        Case{app::AmbrelTool, kLx7250, "300000", kRangeHigh, "470000", "470000", "5.6nH"},
                        Case{app::OstrelTool, kLx7140, "100000", kRangeLow, "100000", "160000", "1.5nH"},
                        Case{app::OstrelTool, kLxm7140, "100000", kRangeLow, "100000", "160000", "3.3nH"},
                        Case{app::OstrelTool, kLx7150, "961000", kRangeHigh, "961000", "470000", "5.6nH"}}) {
    Fixture f(c.tool(), c.model, {}, 24000);
    f.host.Type(Box(3), c.typed);
    f.host.Focus(Box(7));
    ASSERT_EQ(f.host.messages().size(), 1u) << c.typed;
    const ui::MessageRecord& m = f.host.messages()[0];
    EXPECT_EQ(m.text, c.message);
    EXPECT_EQ(m.title, c.tool().profile.appName);
    EXPECT_EQ(m.control(Box(3))->text, c.shownWithMessage) << c.tool().program;
    EXPECT_EQ(f.control(Box(3)).text, c.after);
    EXPECT_EQ(f.control(Advice(3)).text, c.advice);
    EXPECT_EQ(f->focusId(), Box(7));  // a range message leaves the focus where the user put it
  }
}

TEST(ChannelDialog, InductanceBoundariesOfBothTables) {
  struct Case {
    ToolFn tool;
    int model;
    uint32_t f;
    const char* advice;
  };
  const std::vector<Case> cases = {
      {app::AmbrelTool, kLx7240, 160000, "1.5nH"},
      {app::AmbrelTool, kLx7240, 175500, "1.5nH"},
      {app::AmbrelTool, kLx7240, 175501, "1.0nH"},
      {app::AmbrelTool, kLx7240, 199999, "1.0nH"},
      {app::AmbrelTool, kLx7240, 200000, "8.2nH"},
      {app::AmbrelTool, kLx7240, 216500, "8.2nH"},
      {app::AmbrelTool, kLx7240, 216501, "6.8nH"},
      {app::AmbrelTool, kLx7240, 238500, "6.8nH"},
      {app::AmbrelTool, kLx7240, 238501, "5.6nH"},
      {app::AmbrelTool, kLx7240, 254500, "5.6nH"},
      {app::AmbrelTool, kLx7240, 254501, "4.7nH"},
      {app::AmbrelTool, kLx7240, 270000, "4.7nH"},
      {app::AmbrelTool, kLx7250, 470000, "5.6nH"},
      {app::AmbrelTool, kLx7250, 528000, "5.6nH"},
      {app::AmbrelTool, kLx7250, 528001, "5.1nH"},
      {app::AmbrelTool, kLx7250, 582000, "5.1nH"},
      {app::AmbrelTool, kLx7250, 582001, "3.0nH"},
      {app::AmbrelTool, kLx7250, 694000, "3.0nH"},
      {app::AmbrelTool, kLx7250, 694001, "2.0nH"},
      {app::AmbrelTool, kLx7250, 765000, "2.0nH"},
      {app::AmbrelTool, kLx7250, 765001, "1.0nH"},
      {app::AmbrelTool, kLx7250, 960000, "1.0nH"},
      // The receiver tool: the standard table for LX7140 and LX7150, its own for LXM7140.
      {app::OstrelTool, kLx7140, 175501, "1.0nH"},
      {app::OstrelTool, kLx7140, 199999, "1.0nH"},
      {app::OstrelTool, kLx7150, 582001, "3.0nH"},
      {app::OstrelTool, kLxm7140, 160000, "3.3nH"},
      {app::OstrelTool, kLxm7140, 179999, "3.3nH"},
      {app::OstrelTool, kLxm7140, 180000, "2.2nH"},
      {app::OstrelTool, kLxm7140, 199999, "2.2nH"},
      {app::OstrelTool, kLxm7140, 200000, "10nH"},
      {app::OstrelTool, kLxm7140, 230000, "10nH"},
      {app::OstrelTool, kLxm7140, 230001, "6.8nH"},
      {app::OstrelTool, kLxm7140, 270000, "6.8nH"},
  };
  // With this crystal none of the boundaries lies in a snap window: each comes back as typed.
  for (const Case& c : cases) {
    Fixture f(c.tool(), c.model, {}, 24321);
    f.host.Type(Box(9), std::to_string(c.f));
    f.host.Tab();
    EXPECT_EQ(f.control(Box(9)).text, std::to_string(c.f));
    EXPECT_EQ(f.control(Advice(9)).text, c.advice) << c.f;
  }
}

TEST(ChannelDialog, BankButtonsCopyTheFirstChannelsTexts) {
  Fixture f(app::AmbrelTool(), kLx7250, {}, 24000);
  f.host.Type(Box(0), "606000");
  f.host.Click(kFillLeftBank);  // leaving box 00 converts it first
  for (int k = 1; k < 8; ++k) {
    EXPECT_EQ(f.control(Box(k)).text, "606000");
    EXPECT_EQ(f.control(Advice(k)).text, "3.0nH");
    EXPECT_EQ(f->channelKHz(k), 606000u);
  }
  for (int k = 8; k < 16; ++k) EXPECT_EQ(f.control(Box(k)).text, "470000");

  f.host.Type(Box(8), "863500");
  f.host.Click(kFillRightBank);
  for (int k = 9; k < 16; ++k) {
    EXPECT_EQ(f.control(Box(k)).text, "863500");
    EXPECT_EQ(f.control(Advice(k)).text, "1.0nH");
  }
  // The buttons copy as they stand and convert nothing: an advice text that no longer matches
  // its channel is copied as it is.
  f->SetDlgItemText(Advice(8), "hand");
  f.host.Click(kFillRightBank);
  EXPECT_EQ(f.control(Advice(15)).text, "hand");
  EXPECT_EQ(f->inductance(15), "hand");
  f->SetDlgItemText(Advice(8), "1.0nH");
  f.host.Click(kFillRightBank);

  RegisterImage expected{};
  for (int k = 0; k < 8; ++k) StoreChannelWords(expected, k, {0x64D8, 0x7FFF});
  for (int k = 8; k < 16; ++k) StoreChannelWords(expected, k, {0x90A7, 0xF555});
  EXPECT_EQ(f.Ok(), expected);
  EXPECT_FALSE(f.open());
  EXPECT_TRUE(f.messages().empty());
}

TEST(ChannelDialog, CrystalOutsideItsRangeWarnsKeepsTheValueAndTakesTheFocusBack) {
  RegisterImage words = AllChannels({0x437C, 0x5555});  // 200000 at 24000
  Fixture f(app::AmbrelTool(), kLx7240, words, 24000);
  f.host.Type(kXtalBox, "22000");
  f.host.Click(Box(2));
  EXPECT_EQ(f.messages(), std::vector<std::string>{kCrystal});
  EXPECT_EQ(f->focusId(), kXtalBox);
  EXPECT_EQ(f.state.crystalKHz, 22000);
  EXPECT_EQ(f.control(kXtalBox).text, "22000");
  // The channels keep their values. A click on Cancel would take the focus from the box and
  // warn again; Escape cancels: nothing is written and the crystal stays.
  EXPECT_EQ(f.control(Box(2)).text, "200000");
  f.host.Escape();
  EXPECT_FALSE(f.open());
  EXPECT_EQ(f.state.words, words);
  EXPECT_EQ(f.state.crystalKHz, 22000);
  EXPECT_EQ(f->result(), ui::kIdCancel);

  // In range: stored without a word; a box that is no number is refused by the exchange and
  // shows its last value again.
  Fixture g(app::OstrelTool(), kLx7140, words, 24000);
  g.host.Type(kXtalBox, "25000");
  g.host.Tab();
  EXPECT_TRUE(g.messages().empty());
  EXPECT_EQ(g.state.crystalKHz, 25000);
  g.host.Type(kXtalBox, "24 MHz");
  g.host.Tab();
  EXPECT_EQ(g.messages(), std::vector<std::string>{ui::msg::kNotInteger});
  EXPECT_EQ(g.control(kXtalBox).text, "25000");
  EXPECT_EQ(g.state.crystalKHz, 25000);
}

// A box that is no number is refused once: the refusal takes the focus back from the box the
// user moved to, which is not checked again.
TEST(ChannelDialog, ARefusedBoxWarnsOnceAndShowsItsLastValue) {
  struct Case {
    int box, next;
    const char* typed;
    const char *message, *shown;
  };
  for (const Case& c : {Case{Box(0), Box(1), "abc", ui::msg::kNotUnsigned, "160000"},
                        Case{Box(12), Box(3), "-5", ui::msg::kNotUnsigned, "160000"},
                        Case{kXtalBox, Box(0), "x", ui::msg::kNotInteger, "24000"}}) {
    Fixture f(app::AmbrelTool(), kLx7240, {}, 24000);
    f.host.Type(c.box, c.typed);
    f.host.Click(c.next);
    EXPECT_EQ(f.messages(), std::vector<std::string>{c.message}) << c.typed;
    EXPECT_EQ(f->focusId(), c.box);
    EXPECT_EQ(f.control(c.box).text, c.shown);
    EXPECT_EQ(f.state.crystalKHz, 24000);
  }
}

TEST(ChannelDialog, OkWritesEveryChannelWithTheToolsOffset) {
  struct Case {
    ToolFn tool;
    int model;
    const char* typed;
    ChannelWords words;
  };
  for (const Case& c : {Case{app::AmbrelTool, kLx7240, "200000", {0x437C, 0x5555}},
                        Case{app::AmbrelTool, kLx7240, "162003", {0x6DDB, 0xFFFF}},
                        Case{app::AmbrelTool, kLx7240, "163501", {0x6DD8, 0x7FFF}},  // shown as 163500
                        Case{app::AmbrelTool, kLx7250, "863500", {0x90A7, 0xF555}},
                        Case{app::OstrelTool, kLx7140, "200000", {0x437C, 0x5AAA}},
                        Case{app::OstrelTool, kLxm7140, "250000", {0x555B, 0xB000}}}) {
    Fixture f(c.tool(), c.model, {}, 24000);
    f.host.Type(Box(0), c.typed);
    f.host.Click(kFillLeftBank);
    f.host.Type(Box(8), c.typed);
    f.host.Click(kFillRightBank);
    EXPECT_EQ(f.Ok(), AllChannels(c.words)) << c.typed;
    EXPECT_EQ(f->result(), ui::kIdOk);
  }
}

TEST(ChannelDialog, EnterAtOnceWritesTheWordsOf160000) {
  RegisterImage words{};
  words[0x18] = 0x0C00;  // not a channel word: untouched
  Fixture f(app::AmbrelTool(), kLx7240, words, 24000);
  f.host.Enter();
  EXPECT_FALSE(f.open());
  EXPECT_EQ(f.state.words, AllChannels({0x6BD8, 0x5555}, words));
}

TEST(ChannelDialog, CancelWritesNothing) {
  RegisterImage words = AllChannels({0x64D8, 0x7FFF});
  Fixture f(app::AmbrelTool(), kLx7250, words, 24000);
  f.host.Type(Box(0), "863500");
  f.host.Click(kFillLeftBank);
  f.host.Type(Box(8), "300000");
  f.Run("tab");
  EXPECT_EQ(f.Cancel(), words);
  EXPECT_EQ(f->result(), ui::kIdCancel);
}

TEST(ChannelDialog, CrystalChangeThenOkKeepsTheFrequencies) {
  Fixture f(app::AmbrelTool(), kLx7240, AllChannels({0x437C, 0x5555}), 24000);
  f.host.Type(kXtalBox, "25000");
  f.host.Tab();
  for (int k = 0; k < kChannelCount; ++k) EXPECT_EQ(f.control(Box(k)).text, "200000");
  // 200000 kHz at 25000: a whole multiple, 32 x 25000 / 4.
  EXPECT_EQ(f.Ok(), AllChannels({0x417F, 0xFFFF}));
  EXPECT_EQ(f.state.crystalKHz, 25000);
}

// Mend: Enter (or OK) with typed text in a box handles the box as leaving it would.
TEST(ChannelDialog, EnterKeepsWhatWasTyped) {
  {
    Fixture f(app::AmbrelTool(), kLx7250, {}, 24000);
    f.host.Type(Box(0), "606000");
    f.host.Enter();
    EXPECT_FALSE(f.open());
    EXPECT_EQ(ReadChannelWords(f.state.words, 0), (ChannelWords{0x64D8, 0x7FFF}));
    EXPECT_EQ(ReadChannelWords(f.state.words, 1), *EncodeChannel(AmbrelProfile(), kLx7250, 24000, 470000));
  }
  {
    // The crystal typed and confirmed with Enter is stored and used.
    Fixture f(app::AmbrelTool(), kLx7240, AllChannels({0x437C, 0x5555}), 24000);
    f.host.Type(kXtalBox, "25000");
    f.host.Enter();
    EXPECT_FALSE(f.open());
    EXPECT_EQ(f.state.crystalKHz, 25000);
    EXPECT_EQ(f.state.words, AllChannels({0x417F, 0xFFFF}));
  }
  {
    // A range message stops OK: the box shows the range's low end, nothing is written; the
    // next Enter writes it.
    Fixture f(app::OstrelTool(), kLx7150, {}, 24000);
    f.host.Type(Box(4), "300000");
    f.host.Enter();
    EXPECT_TRUE(f.open());
    EXPECT_EQ(f.messages(), std::vector<std::string>{kRangeHigh});
    EXPECT_EQ(f.state.words, RegisterImage{});
    EXPECT_EQ(f.control(Box(4)).text, "470000");
    f.host.Enter();
    EXPECT_FALSE(f.open());
    const auto low = EncodeChannel(OstrelProfile(), kLx7150, 24000, 470000);
    EXPECT_EQ(f.state.words, AllChannels(*low));
  }
  {
    // So does the crystal message: the crystal is stored, the channels are not.
    Fixture f(app::AmbrelTool(), kLx7240, {}, 24000);
    f.host.Type(kXtalBox, "26000");
    f.host.Enter();
    EXPECT_TRUE(f.open());
    EXPECT_EQ(f.messages(), std::vector<std::string>{kCrystal});
    EXPECT_EQ(f.state.crystalKHz, 26000);
    EXPECT_EQ(f.state.words, RegisterImage{});
    EXPECT_EQ(f->focusId(), kXtalBox);
  }
}

// Mend: OK checks every box before it writes any word.
TEST(ChannelDialog, OkValidatesBeforeWriting) {
  const RegisterImage words = AllChannels({0x437C, 0x5555});
  {
    Fixture f(app::AmbrelTool(), kLx7240, words, 24000);
    f.host.Type(Box(6), "2OOOOO");
    f.host.Enter();
    EXPECT_TRUE(f.open());
    EXPECT_EQ(f.messages(), std::vector<std::string>{ui::msg::kNotUnsigned});
    EXPECT_EQ(f.state.words, words);
    EXPECT_EQ(f.control(Box(6)).text, "200000");
  }
  {
    // A box changed behind the focus's back (never left) is refused all the same.
    Fixture f(app::AmbrelTool(), kLx7240, words, 24000);
    f->SetDlgItemText(Box(15), "n/a");
    f.host.Enter();
    EXPECT_TRUE(f.open());
    EXPECT_EQ(f.messages(), std::vector<std::string>{ui::msg::kNotUnsigned});
    EXPECT_EQ(f->focusId(), Box(15));
    EXPECT_EQ(f.state.words, words);
  }
  {
    // A number outside the model's range that was never checked is not encoded either.
    Fixture f(app::OstrelTool(), kLx7140, words, 24000);
    f->SetDlgItemText(Box(11), "300000");
    f.host.Enter();
    EXPECT_TRUE(f.open());
    EXPECT_EQ(f.messages(), std::vector<std::string>{kRangeLow});
    EXPECT_EQ(f->focusId(), Box(11));
    EXPECT_EQ(f.state.words, words);
  }
}

// Mend: without a crystal frequency above 0 nothing is divided by it.
TEST(ChannelDialog, NoCrystalNeverDivides) {
  RegisterImage words{};
  StoreChannelWords(words, 0, {0x64D8, 0x7FFF});
  {
    // A header without a crystal line: the channels read as the range's low end, leaving a box
    // checks the range but keeps the value as entered, OK refuses and asks for the crystal.
    Fixture f(app::AmbrelTool(), kLx7250, words, 0);
    EXPECT_EQ(f.control(Box(0)).text, "470000");
    f.host.Type(Box(0), "606015");
    f.host.Tab();
    EXPECT_EQ(f.control(Box(0)).text, "606015");
    EXPECT_EQ(f.control(Advice(0)).text, "3.0nH");
    f.host.Type(Box(1), "300000");
    f.host.Tab();
    EXPECT_EQ(f.messages(), std::vector<std::string>{kRangeHigh});
    EXPECT_EQ(f.control(Box(1)).text, "470000");
    f.host.Click(ui::kIdOk);
    EXPECT_TRUE(f.open());
    EXPECT_EQ(f.messages(), (std::vector<std::string>{kRangeHigh, kCrystal}));
    EXPECT_EQ(f->focusId(), kXtalBox);
    EXPECT_EQ(f.state.words, words);
    // With a crystal the same OK writes the values shown.
    f.host.Type(kXtalBox, "24000");
    f.host.Click(ui::kIdOk);
    EXPECT_FALSE(f.open());
    EXPECT_EQ(DecodeChannel(AmbrelProfile(), kLx7250, 24000, ReadChannelWords(f.state.words, 0)), 606000u);
  }
  {
    // 0 typed: the crystal message on leaving, and again on Enter; nothing is written.
    Fixture f(app::OstrelTool(), kLxm7140, words, 24000);
    f.host.Type(kXtalBox, "0");
    f.host.Tab();
    EXPECT_EQ(f.state.crystalKHz, 0);
    EXPECT_EQ(f->focusId(), kXtalBox);
    f.host.Enter();
    EXPECT_TRUE(f.open());
    EXPECT_EQ(f.messages(), (std::vector<std::string>{kCrystal, kCrystal}));
    EXPECT_EQ(f.state.words, words);
    f.host.Escape();
    EXPECT_EQ(f.state.crystalKHz, 0);
  }
  {
    // Above 0 but outside 23000..25000: warned about once, then kept and used.
    Fixture f(app::AmbrelTool(), kLx7240, {}, 26000);
    f.host.Type(Box(0), "200000");
    f.host.Enter();
    EXPECT_FALSE(f.open());
    EXPECT_TRUE(f.messages().empty());
    EXPECT_EQ(ReadChannelWords(f.state.words, 0), *EncodeChannel(AmbrelProfile(), kLx7240, 26000, 200000));
  }
}

// For random channel plans the dialog's OK writes what `lxcfg set crystal=X channel.K=F` writes.
TEST(ChannelDialog, RandomPlansAgreeWithLxcfgSet) {
  struct Model {
    ToolFn tool;
    int model;
  };
  const Model models[] = {{app::AmbrelTool, 0}, {app::AmbrelTool, 1}, {app::AmbrelTool, 2},
                          {app::AmbrelTool, 3}, {app::OstrelTool, 0}, {app::OstrelTool, 1},
                          {app::OstrelTool, 2}};
  std::mt19937 random(20261207);
  int snapped = 0;
  for (int plan = 0; plan < 150; ++plan) {
    const Model& m = models[random() % std::size(models)];
    const ToolProfile& profile = m.tool().profile;
    const FrequencyRange range = ChannelRange(profile, m.model);
    const int32_t crystal = std::uniform_int_distribution<int32_t>(23000, 25000)(random);
    std::uniform_int_distribution<uint32_t> frequency(range.low, range.high);
    std::vector<uint32_t> typed(kChannelCount);
    for (uint32_t& f : typed) f = frequency(random);

    Fixture dialog(m.tool(), m.model, {}, 24000);
    dialog.host.Type(kXtalBox, std::to_string(crystal));
    for (int k = 0; k < kChannelCount; ++k) dialog.host.Type(Box(k), std::to_string(typed[k]));
    dialog.Ok();
    ASSERT_FALSE(dialog.open()) << "plan " << plan;
    ASSERT_TRUE(dialog.messages().empty());

    // The frequencies the dialog showed, given to lxcfg, give the same words.
    ToolState cli(profile, std::filesystem::temp_directory_path());
    cli.chipModel = m.model;
    cli.crystalKHz = 24000;
    std::vector<std::string> shown = {"crystal=" + std::to_string(crystal)};
    for (int k = 0; k < kChannelCount; ++k)
      shown.push_back("channel." + std::to_string(k) + "=" + std::to_string(dialog->channelKHz(k)));
    ASSERT_TRUE(settings::ApplyAssignments(cli, shown).errors.empty());
    EXPECT_EQ(cli.words, dialog.state.words)
        << "plan " << plan << " model " << m.model << " crystal " << crystal;
    EXPECT_EQ(cli.crystalKHz, dialog.state.crystalKHz);

    // The typed frequencies, given to lxcfg, read back as what the dialog showed.
    ToolState typedCli(profile, std::filesystem::temp_directory_path());
    typedCli.chipModel = m.model;
    typedCli.crystalKHz = 24000;
    std::vector<std::string> assignments = {"crystal=" + std::to_string(crystal)};
    for (int k = 0; k < kChannelCount; ++k)
      assignments.push_back("channel." + std::to_string(k) + "=" + std::to_string(typed[k]));
    ASSERT_TRUE(settings::ApplyAssignments(typedCli, assignments).errors.empty());
    for (int k = 0; k < kChannelCount; ++k) {
      EXPECT_EQ(DecodeChannel(profile, m.model, crystal, ReadChannelWords(typedCli.words, k)),
                dialog->channelKHz(k))
          << "plan " << plan << " channel " << k << " typed " << typed[k];
      snapped += dialog->channelKHz(k) != typed[k];
    }
  }
  EXPECT_GT(snapped, 0);  // the plans reached the snap windows too
}

}  // namespace
}  // namespace lx::channel
