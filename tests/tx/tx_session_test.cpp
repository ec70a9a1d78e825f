// The transmitter dialogs from Ambrel's main window: what OK stores survives Save, Open and
// the next opening of the dialog; and the scenario scripts of these dialogs.
#include <sstream>

#include "app/scenario.h"
#include "resources/ids.h"
#include "tests/app/app_fixture.h"
#include "tests/support/files.h"
#include "tests/tx/tx_support.h"

namespace lx::tx::testing {
namespace {

using app::testing::ToolWindow;

// Checks the topmost window's controls, then closes it with Escape.
void Look(ui::HeadlessHost& host, std::function<void(ui::Dialog&)> check) {
  host.Queue(ui::Action::Run([check](ui::HeadlessHost& h) { check(*h.top()); }));
  host.Queue(ui::Action(ui::Verb::Escape));
}

TEST(TxSession, SettingsSurviveOkSaveOpenAndReopening) {
  ToolWindow w(app::AmbrelTool());
  w.host.Click(1003);  // LX7250
  w.host.QueueScript("drag 1002 5\nclick 1");
  w.host.Click(res::kBtnFirstSettings);
  w.host.QueueScript("click 1003\npick 1008 31dB\npick 1009 24mS\nclick 1005\nclick 1007\nclick 1");
  w.host.Click(res::kBtnSecondSettings);
  w.host.QueueScript(
      "drag 1018 50\ndrag 1002 60\nkey 1016 30\npick 1008 2.5KHz\nclick 1005\nclick 1011\nclick 1014\n"
      "click 1003\nclick 1");
  w.host.Click(res::kBtnThirdSettings);
  ASSERT_EQ(w.host.opened(), (std::vector<int>{102, 140, 141, 142}));
  ASSERT_EQ(w.host.errors(), 0);
  const RegisterImage saved = w.state.words;
  EXPECT_EQ(Get(TxField::PaGain, saved), 5u);
  EXPECT_EQ(saved[0x1c] & 0x3FE, 0x200 | (10 << 5) | 0x10 | (2 << 1));
  EXPECT_EQ(saved[0x16], (60 << 8) | 50);

  w.host.AnswerFile("tx.h");
  w.host.Command(res::kCmdSave);
  w.host.Click(1001);  // LX7240's defaults replace the image
  ASSERT_NE(w.state.words, saved);
  w.host.AnswerFile("tx.h");
  w.host.Command(res::kCmdOpen);
  EXPECT_TRUE(w.host.messages().empty());
  EXPECT_EQ(w.state.chipModel, kLx7250);
  ASSERT_EQ(w.state.words, saved);

  Look(w.host, [](ui::Dialog& d) { EXPECT_EQ(d.at(1002).pos, 5); });
  w.host.Click(res::kBtnFirstSettings);
  Look(w.host, [](ui::Dialog& d) {
    for (int id : {1003, 1005, 1007}) EXPECT_TRUE(d.at(id).checked) << id;
    EXPECT_EQ(d.at(1008).text, "31dB");
    EXPECT_EQ(d.at(1009).text, "24mS");
    EXPECT_FALSE(d.at(1009).enabled);
  });
  w.host.Click(res::kBtnSecondSettings);
  Look(w.host, [](ui::Dialog& d) {
    for (int id : {1003, 1005, 1006, 1011, 1014}) EXPECT_TRUE(d.at(id).checked) << id;
    EXPECT_EQ(d.at(1008).text, "2.5KHz");
    EXPECT_EQ(d.at(1002).pos, 60);
    EXPECT_EQ(d.at(1018).pos, 50);
    EXPECT_EQ(d.at(1016).pos, 30);
    EXPECT_EQ(d.at(1015).text, "281.25");
  });
  w.host.Click(res::kBtnThirdSettings);
  EXPECT_EQ(w.host.errors(), 0);
  EXPECT_EQ(w.state.words, saved);  // looking and Cancel change nothing
}

struct Script {
  const char* file;
  std::vector<const char*> lines;  // in this order in the transcript
  const char* finalLine;
};

class TxScenario : public ::testing::TestWithParam<Script> {};

TEST_P(TxScenario, RunsAndShowsTheStoredSettingsAgain) {
  const Script& s = GetParam();
  const std::string script = lx::test::ReadFile(std::filesystem::path(LX_SCENARIO_DIR) / s.file);
  ASSERT_FALSE(script.empty()) << s.file;
  lx::test::TempDir work;
  std::ostringstream out;
  EXPECT_EQ(app::RunScenario(app::AmbrelTool(), LX_PROGRAM_DIR, work.path(), script, out), 0);
  const std::string text = out.str();
  std::size_t at = 0;
  for (const char* line : s.lines) {
    const std::size_t found = text.find(line, at);
    ASSERT_NE(found, std::string::npos) << line << "\n---\n" << text;
    at = found;
  }
  EXPECT_NE(text.find(s.finalLine), std::string::npos) << s.finalLine << "\n---\n" << text;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, TxScenario,
    ::testing::Values(Script{"ambrel-rf.txt",
                             {"open 140 \"射频配置\"", "  | 1002 slider 8", "close 140 \"射频配置\" result 1",
                              "wrote data/rf.h", "open 140 \"射频配置\"", "  | 1002 slider 3"},
                             "reg00: 0000 0000 0000 0006 "},
                      Script{"ambrel-audio.txt",
                             {"open 141 \"音频配置\"", "  | 1008 combo \"22dB\" item 7", "wrote data/audio.h",
                              "  | 1003 radio \"Disable pre-emphasis\" checked",
                              "  | 1008 combo \"31dB\" item 10", "  | 1009 combo \"24mS\" item 2 disabled",
                              "  | 1004 radio \"Enable Compressor\" checked",
                              "  | 1009 combo \"24mS\" item 2\n"},
                             "reg28: 0000 0000 0000 0001 "},
                      Script{"ambrel-other.txt",
                             {"open 142 \"其他配置\"", "  | 1012 edit \"1050\"", "wrote data/other.h",
                              "  | 1003 radio \"Disable Pilot\" checked",
                              "  | 1008 combo \"10KHz\" item 3 disabled", "  | 1012 edit \"468.75\" disabled",
                              "  | 1002 slider 50 disabled", "  | 1016 slider 30 disabled"},
                             "reg18: 0400 001e "}),
    [](const ::testing::TestParamInfo<Script>& info) {
      std::string name = info.param.file;
      name = name.substr(0, name.find('.'));
      std::erase(name, '-');
      return name;
    });

}  // namespace
}  // namespace lx::tx::testing
