// The scenario scripts of the transmitter dialogs, run from Ambrel's main window on the
// headless host: what OK stores survives Save, loading other defaults, Open and the next
// opening of the dialog.
#include <sstream>

#include "app/scenario.h"
#include "tests/support/files.h"
#include "tests/tx/tx_support.h"

namespace lx::tx::testing {
namespace {

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
  for (const char* line : {"model 1 LX7250\n", s.finalLine})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n---\n" << text;
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, TxScenario,
    ::testing::Values(
        Script{"ambrel-rf.txt",
               {"open 140 \"射频配置\"", "  | 1002 slider 8", "close 140 \"射频配置\" result 1",
                "wrote data/rf.h", "file dialog open \"EEPROM.h\"", "open 140 \"射频配置\"",
                "  | 1002 slider 3"},
               "reg00: 0000 0000 0000 0006 "},
        Script{"ambrel-audio.txt",
               {"open 141 \"音频配置\"", "  | 1008 combo \"22dB\" item 7", "wrote data/audio.h",
                "file dialog open \"EEPROM.h\"", "  | 1003 radio \"Disable pre-emphasis\" checked",
                "  | 1008 combo \"31dB\" item 10", "  | 1009 combo \"24mS\" item 2 disabled",
                "  | 1004 radio \"Enable Compressor\" checked", "  | 1009 combo \"24mS\" item 2\n"},
               "reg28: 0000 0000 0000 0001 "},
        Script{"ambrel-other.txt",
               {"open 142 \"其他配置\"", "  | 1012 edit \"1050\"", "wrote data/other.h",
                "file dialog open \"EEPROM.h\"", "  | 1003 radio \"Disable Pilot\" checked",
                "  | 1008 combo \"10KHz\" item 3 disabled", "  | 1012 edit \"468.75\" disabled",
                "  | 1002 slider 50 disabled", "  | 1016 slider 30 disabled"},
               "reg18: 0400 001e "}),
    [](const ::testing::TestParamInfo<Script>& info) { return test::TestNameOf(info.param.file); });

}  // namespace
}  // namespace lx::tx::testing
