// The scenario language and the file filters, without any window.
#include <gtest/gtest.h>

#include "ui/file_filter.h"
#include "ui/script.h"

namespace lx::ui {
namespace {

TEST(Script, EachVerbParsesItsArguments) {
  std::vector<std::string> errors;
  std::vector<Action> a = ParseScript(
      "# comment\n"
      "click 1001\n"
      "  command 32771  \n"
      "syscommand 0x10\n"
      "select 1008 -1\n"
      "pick 1008 46dB\n"
      "type 1009 \"  spaced  \"\n"
      "type 1010\n"
      "drag 1002 7\n"
      "key 1002 3\n"
      "file data/EEPROM 1.h\n"
      "cancel-file\n"
      "enter\nescape\nclose\ntab\nbacktab\nfocus 1043\nshow\n"
      "press pagedown\npress ±\npress x\n",
      &errors);
  EXPECT_TRUE(errors.empty());
  ASSERT_EQ(a.size(), 21u);
  EXPECT_EQ(a[0].verb, Verb::Click);
  EXPECT_EQ(a[0].id, 1001);
  EXPECT_EQ(a[0].line, 2);
  EXPECT_EQ(a[2].value, 16);
  EXPECT_EQ(a[3].value, -1);
  EXPECT_EQ(a[4].text, "46dB");
  EXPECT_EQ(a[5].text, "  spaced  ");
  EXPECT_EQ(a[6].text, "");
  EXPECT_EQ(a[7].verb, Verb::Drag);
  EXPECT_EQ(a[7].value, 7);
  EXPECT_EQ(a[9].text, "data/EEPROM 1.h");
  EXPECT_EQ(a[10].verb, Verb::CancelFile);
  EXPECT_EQ(a[11].verb, Verb::Press);  // a key's own word is its press
  EXPECT_EQ(a[15].key(), Key::BackTab);
  EXPECT_EQ(a[18].key(), Key::PageDown);
  EXPECT_EQ(a[19].key(), Key::Char);
  EXPECT_EQ(a[19].text, "±");
  EXPECT_EQ(a[20].text, "x");
}

TEST(Script, MistakesAreReportedWithTheirLine) {
  std::vector<std::string> errors;
  std::vector<Action> a = ParseScript(
      "click\nclick x\nwave 3\nenter now\nfile\nselect 1008\nclick 1\npress\npress ab\npress delete\nselect 99999999999 1",
      &errors);
  EXPECT_EQ(a.size(), 1u);
  ASSERT_EQ(errors.size(), 10u);
  EXPECT_EQ(errors[0], "line 1: click: expects a control or command id");
  EXPECT_EQ(errors[2], "line 3: unknown action \"wave\"");
  EXPECT_EQ(errors[3], "line 4: enter: unexpected \"now\"");
  EXPECT_EQ(errors[8], "line 10: press: expects a key name or one character");
}

TEST(FileFilters, BecomeNameFilters) {
  EXPECT_EQ(NameFilters("head files(*.h)|*.h||"), std::vector<std::string>{"head files(*.h)"});
  EXPECT_EQ(NameFilters("bin files(*.bin)|*.bin||"), std::vector<std::string>{"bin files(*.bin)"});
  EXPECT_EQ(NameFilters("Text|*.txt;*.log|All|*.*||"), (std::vector<std::string>{"Text (*.txt *.log)", "All (*.*)"}));
  EXPECT_TRUE(NameFilters("").empty());
}

}  // namespace
}  // namespace lx::ui
