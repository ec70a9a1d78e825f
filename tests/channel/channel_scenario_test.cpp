// The channel dialog's scenario scripts, run through the scenario runner from the main window.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/scenario.h"
#include "app/tool.h"
#include "tests/support/files.h"

namespace lx::channel {
namespace {

struct Script {
  const char* file;
  const app::ToolDefinition& (*tool)();
  std::vector<std::string> lines;  // in the order they must appear
  friend void PrintTo(const Script& s, std::ostream* os) { *os << s.file; }
};

class ChannelScenario : public ::testing::TestWithParam<Script> {};

TEST_P(ChannelScenario, PrintsTheExpectedSession) {
  const Script& s = GetParam();
  const std::string script = test::ReadFile(std::filesystem::path(LX_SCENARIO_DIR) / s.file);
  ASSERT_FALSE(script.empty()) << s.file;
  test::TempDir work;
  std::ostringstream out;
  EXPECT_EQ(app::RunScenario(s.tool(), LX_PROGRAM_DIR, work.path(), script, out), 0);
  const std::string text = out.str();
  std::size_t at = 0;
  for (const std::string& line : s.lines) {
    const std::size_t found = text.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n---\n" << text;
    at = found + line.size();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ChannelScenario,
    ::testing::Values(
        Script{"ambrel-channel.txt",
               app::AmbrelTool,
               {"open 143 \"频道配置\"\n", "  | 1009 edit \"606000\"\n", "  | 1017 edit \"606000\"\n",
                "  | 1018 edit \"618900\"\n", "  | 1011 edit \"3.0nH\"\n", "  | 1032 edit \"3.0nH\"\n",
                "close 143 \"频道配置\" result 1\n", "wrote data/EEPROM.h (1938 bytes)\n", "model 1 LX7250\n",
                "reg40: 64d8 7fff 64d8 7fff 64d8 7fff 64d8 7fff\n",
                "reg48: 64d8 7fff 64d8 7fff 64d8 7fff 64d8 7fff\n"}},
        Script{
            "ostrel-channel.txt",
            app::OstrelTool,
            {"open 143 \"频道配置\"\n",
             "message [Ostrel] \"请输入正确的频道:160000KHz~270000KHz\" over \"频道配置\"\n",
             "  | 1012 edit \"100000\"\n",
             "message [Ostrel] \"      晶振频率范围:23000KHz~25000KHz\n              请重新输入!\"",
             "  | 1012 edit \"160000\"\n", "  | 1043 edit \"22000\"\n", "window 143 \"频道配置\"\n",
             "  | 1025 edit \"250000\"\n", "  | 1040 edit \"6.8nH\"\n", "close 143 \"频道配置\" result 1\n",
             "wrote data/EEPROM.h (1940 bytes)\n", "crystal 24000\n", "model 2 LXM7140\n",
             "reg40: 75b4 0aaa 75b4 6000 6bc4 6000 ", "reg50: 555b b000 555b b000 555b b000 555b b000\n",
             "reg58: 555b b000 555b b000 555b b000 555b b000\n"}}),
    [](const ::testing::TestParamInfo<Script>& info) { return test::TestNameOf(info.param.file); });

}  // namespace
}  // namespace lx::channel
