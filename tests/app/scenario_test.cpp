// The scenario runner in-process: what it prints for a short session.
#include "app/scenario.h"

#include <fmt/format.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "app_fixture.h"

namespace lx::app::testing {
namespace {

// Script lines: the second model chosen, then the Save dialog opened.
const std::string kChooseAndSave =
    fmt::format("click {}\ncommand {}\n", res::main_window::kModelRadios[1], res::kCmdSave);

TEST(Scenario, PrintsWindowsMessagesFilesAndTheFinalImage) {
  const TempDir dir;
  const fs::path work = dir.path();
  std::ostringstream out;
  int rc = RunScenario(
      AmbrelTool(), LX_PROGRAM_DIR, work,
      fmt::format("command {}\nfile a.h\n", res::kCmdSave) + kChooseAndSave +
          fmt::format("file a.h\ncommand {}\nclick {}\nfile a.h\nclick {}\nfile a.bin\nclose\nescape\n",
                      res::kCmdConvert, res::convert::kBrowseHeader, res::convert::kHeaderToBinary),
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
  EXPECT_EQ(RunScenario(AmbrelTool(), LX_PROGRAM_DIR, work,
                        fmt::format("click {}\ncommand {}\nfile data\nescape\n",
                                    res::main_window::kModelRadios[0], res::kCmdSave),
                        out),
            1);
  std::string text = out.str();
  EXPECT_NE(text.find("a folder, not a file; the file dialog did not take the answer; cancelled"), std::string::npos)
      << text;
  EXPECT_EQ(text.find("wrote "), std::string::npos) << text;
}

// A session shorter than a tick of the clock that stamps file times still reports its write.
TEST(Scenario, ReportsTheWriteOfAShortSession) {
  for (int i = 0; i < 30; ++i) {
    const TempDir dir;
    std::ostringstream out;
    RunScenario(AmbrelTool(), LX_PROGRAM_DIR, dir.path(), kChooseAndSave + "file a.h\n", out);
    EXPECT_NE(out.str().find("wrote a.h (1938 bytes)"), std::string::npos) << out.str();
  }
}

// Which files a session reports as written or removed: every write to a file a dialog named,
// wherever it lies, and nothing about files it only read or never touched.
struct FileReportCase {
  const char* name;
  std::string script;                // "$OUT" stands for a folder outside the working folder
  std::vector<const char*> present;  // lines expected, in this order ("$OUT" replaced)
  std::vector<const char*> absent;
};

class ScenarioFileReport : public ::testing::TestWithParam<FileReportCase> {};

TEST_P(ScenarioFileReport, ReportsEveryWriteOfANamedFile) {
  const FileReportCase& c = GetParam();
  const TempDir workDir, outsideDir;
  const fs::path work = workDir.path(), outside = outsideDir.path();
  // Files that were there before the session: one it opens, one it never names.
  WriteFile(work / "old.h", "0x1234,   //reg00\r\n");
  WriteFile(work / "untouched.txt", "x");
  WriteFile(outside / "other.h", "y");
  auto expand = [&](std::string text) {
    for (std::size_t at; (at = text.find("$OUT")) != std::string::npos;)
      text.replace(at, 4, outside.string());
    return text;
  };
  std::ostringstream out;
  EXPECT_EQ(RunScenario(AmbrelTool(), LX_PROGRAM_DIR, work, expand(c.script), out), 0) << out.str();
  const std::string text = out.str();
  std::size_t from = 0;
  // A file outside the working folder is named as the platform writes it.
  auto reported = [&](const char* line) {
    std::string text = expand(line);
#ifdef _WIN32
    std::replace(text.begin(), text.end(), '/', '\\');
#endif
    return text;
  };
  for (const char* line : c.present) {
    const std::size_t at = text.find(reported(line), from);
    EXPECT_NE(at, std::string::npos) << reported(line) << "\n---\n" << text;
    if (at != std::string::npos) from = at + 1;
  }
  for (const char* line : c.absent)
    EXPECT_EQ(text.find(expand(line)), std::string::npos) << line << "\n---\n" << text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScenarioFileReport,
    ::testing::Values(
        FileReportCase{"SavedTwiceIsReportedTwice",
                       kChooseAndSave + "file a.h\n" + fmt::format("command {}\nfile a.h\n", res::kCmdSave),
                       {"wrote a.h (1938 bytes)\n", "wrote a.h (1938 bytes)\n"},
                       {"untouched.txt", "removed"}},
        FileReportCase{"SavedOverAFileThatWasThere",
                       kChooseAndSave + "file old.h\n",
                       {"wrote old.h (1938 bytes)\n"},
                       {}},
        FileReportCase{"OpenedOnlyIsNotReported",
                       fmt::format("command {}\nfile old.h\n", res::kCmdOpen),
                       {"model -1"},
                       {"wrote"}},
        FileReportCase{"SavedOutsideTheWorkingFolder",
                       kChooseAndSave + "file $OUT/x.h\n",
                       {"wrote $OUT/x.h (1938 bytes)\n"},
                       {"other.h"}},
        FileReportCase{
            "ConversionTargetOutsideTheWorkingFolder",
            kChooseAndSave +
                fmt::format("file a.h\ncommand {}\nclick {}\nfile a.h\nclick {}\nfile $OUT/a.bin\nescape\n",
                            res::kCmdConvert, res::convert::kBrowseHeader, res::convert::kHeaderToBinary),
            {"file dialog", "wrote $OUT/a.bin (192 bytes)\n", "close 193"},
            {"other.h"}},
        FileReportCase{
            "CancelledSaveWritesNothing", kChooseAndSave + "cancel-file\n", {"model 1"}, {"wrote"}}),
    [](const ::testing::TestParamInfo<FileReportCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lx::app::testing
