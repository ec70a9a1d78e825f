// The scenario runner in-process: what it prints for a short session.
#include <sstream>

#include "app/scenario.h"
#include "app_fixture.h"

namespace lx::app::testing {
namespace {

TEST(Scenario, PrintsWindowsMessagesFilesAndTheFinalImage) {
  const TempDir dir;
  const fs::path work = dir.path();
  std::ostringstream out;
  int rc = RunScenario(AmbrelTool(), LX_PROGRAM_DIR, work,
                       "command 32772\nfile a.h\n"
                       "click 1003\ncommand 32772\nfile a.h\n"
                       "command 32775\nclick 1000\nfile a.h\nclick 1005\nfile a.bin\nclose\n"
                       "escape\n",
                       out);
  std::string text = out.str();
  EXPECT_EQ(rc, 0) << text;
  for (const char* line : {"open 102 \"Ambrel  V1.0\"\n",
                           "message [Ambrel] \"没有指定芯片型号，无法保存!\" over \"Ambrel  V1.0\"\n",
                           "  | 1001 radio \"LX7240\" unchecked\n", "wrote a.h (1938 bytes)\n",
                           "open 193 \"文件转换\"\n", "  | 1009 edit \"" , "wrote a.bin (192 bytes)\n",
                           "close 193 \"文件转换\" result 2\n", "close 102 \"Ambrel  V1.0\" result 2\n",
                           "crystal 24000\n", "model 1 LX7250\n", "reg18: "})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n---\n" << text;
  EXPECT_LT(text.find("wrote a.h"), text.find("open 193"));
}

TEST(Scenario, ScriptMistakesFailTheRun) {
  const TempDir dir;
  const fs::path work = dir.path();
  std::ostringstream out;
  EXPECT_EQ(RunScenario(OstrelTool(), LX_PROGRAM_DIR, work, "click 4242\nfile x.h\nbogus\n", out), 1);
  std::string text = out.str();
  EXPECT_NE(text.find("error: line 3: unknown action \"bogus\""), std::string::npos) << text;
  EXPECT_NE(text.find("error at line 1: no control 4242"), std::string::npos) << text;
  EXPECT_NE(text.find("error at line 2: no file dialog is open to answer"), std::string::npos) << text;
}

TEST(Scenario, AFolderAnsweringAFileDialogCancelsIt) {
  const TempDir dir;
  const fs::path work = dir.path();
  std::ostringstream out;
  EXPECT_EQ(RunScenario(AmbrelTool(), LX_PROGRAM_DIR, work, "click 1001\ncommand 32772\nfile data\nescape\n", out), 1);
  std::string text = out.str();
  EXPECT_NE(text.find("a folder, not a file; the file dialog did not take the answer; cancelled"), std::string::npos)
      << text;
  EXPECT_EQ(text.find("wrote "), std::string::npos) << text;
}

}  // namespace
}  // namespace lx::app::testing
