#include <gtest/gtest.h>
#include <signal.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "core/header_format.h"
#include "core/messages.h"
#include "core/state.h"
#include "tests/support/files.h"

namespace lx {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// A program folder with default images of our own making for some models.
class StateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterImage a{};
    a.fill(0x1111);
    a[0x18] = 0xFFFF;  // the fix-up must clear bits 9:8 and set bit 10 only
    InstallDefault("LX7240", 24000, a);
    RegisterImage b{};
    b.fill(0x2222);
    InstallDefault("LX7250", 25000, b);
    RegisterImage c{};
    c.fill(0x3333);
    InstallDefault("LXM7140", 23500, c);
  }
  void InstallDefault(const std::string& model, int32_t crystal, const RegisterImage& words) {
    const ModelRef m = FindModel(model);
    WriteFile(program / "Data" / model / "EEPROM.h",
              WriteHeaderText(m.profile->models[m.index], crystal, words));
  }
  TempDir program, work;
};

TEST_F(StateTest, StartsEmpty) {
  ToolState s(AmbrelProfile(), program.path());
  EXPECT_EQ(s.chipModel, -1);
  EXPECT_EQ(s.crystalKHz, 0);
  EXPECT_EQ(s.words, RegisterImage{});
  EXPECT_EQ(s.defaultsLoaded, std::nullopt);
}

TEST_F(StateTest, SelectingLoadsDefaultsOnceAndFixesUp) {
  ToolState s(AmbrelProfile(), program.path());
  EXPECT_EQ(s.SelectChipModel(0).message, "");
  EXPECT_EQ(s.crystalKHz, 24000);
  EXPECT_EQ(s.words[0], 0x1111);
  EXPECT_EQ(s.words[0x18], 0xFCFF);  // bits 10:8 forced to 100, the rest from the file
  s.words[3] = 0xABCD;  // an edit
  s.SelectChipModel(0);
  EXPECT_EQ(s.words[3], 0xABCD) << "reselecting the same model keeps edits";
  s.SelectChipModel(1);
  EXPECT_EQ(s.words[3], 0x2222);
  EXPECT_EQ(s.words[0x18], 0x2422);
  EXPECT_EQ(s.crystalKHz, 25000);
  s.SelectChipModel(0);
  EXPECT_EQ(s.words[3], 0x1111) << "switching back reloads the defaults";
  EXPECT_EQ(s.defaultsLoaded, 0);
}

TEST_F(StateTest, MissingDefaultImageReportsOnceAndKeepsWords) {
  ToolState s(AmbrelProfile(), program.path());
  s.SelectChipModel(1);
  const Report r = s.SelectChipModel(2);  // no LX7240D image installed
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, msg::kDefaultImageFailed);
  EXPECT_EQ(s.chipModel, 2);
  EXPECT_EQ(s.words[3], 0x2222);
  EXPECT_EQ(s.defaultsLoaded, 2);
  EXPECT_EQ(s.SelectChipModel(2).message, "") << "the flag is set: no retry, no second message";
}

TEST_F(StateTest, ReceiverFixupAndShortDefaultFile) {
  WriteFile(program / "Data" / "LX7140" / "EEPROM.h", "0x0101\r\n0x0202\r\n");
  ToolState s(OstrelProfile(), program.path());
  s.SelectChipModel(2);
  EXPECT_EQ(s.words[0x17], 0x0018);
  EXPECT_EQ(s.crystalKHz, 23500);
  s.SelectChipModel(0);
  EXPECT_EQ(s.words[0], 0x0101);
  EXPECT_EQ(s.words[1], 0x0202);
  EXPECT_EQ(s.words[2], 0x3333) << "words without a line keep their values";
  EXPECT_EQ(s.crystalKHz, 23500) << "no crystal line: crystal kept";
}

TEST_F(StateTest, DefaultImagesAreFoundBesideTheProgramWhateverTheWorkingFolder) {
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(work.path());
  ToolState s(OstrelProfile(), program.path());
  s.PrepareDataDirectory(std::filesystem::current_path());
  EXPECT_EQ(s.SelectChipModel(2).message, "");
  std::filesystem::current_path(old);
  for (const char* f : {"data", "data/LX7140", "data/LX7150", "data/LXM7140"})
    EXPECT_TRUE(std::filesystem::is_directory(work / f)) << f;
  EXPECT_EQ(s.headerPath, (work / "data").string());
  EXPECT_EQ(s.binaryPath, s.headerPath);
}

TEST_F(StateTest, PrepareDataDirectoryPassesOverExistingAndImpossibleFolders) {
  WriteFile(work / "data", "a file where the folder should be");
  ToolState s(AmbrelProfile(), program.path());
  s.PrepareDataDirectory(work.path());
  EXPECT_EQ(s.headerPath, (work / "data").string());
}

TEST_F(StateTest, OpenSelectsTaggedModelWithoutLoadingDefaults) {
  ToolState s(AmbrelProfile(), program.path());
  s.SelectChipModel(0);
  RegisterImage opened{};
  opened.fill(0x5A5A);
  WriteFile(work / "in" / "d.h", WriteHeaderText(AmbrelProfile().models[2], 24270, opened));
  EXPECT_TRUE(s.OpenHeader((work / "in" / "d.h").string()).ok);
  EXPECT_EQ(s.chipModel, 2);
  EXPECT_EQ(s.defaultsLoaded, 2);
  EXPECT_EQ(s.words[0], 0x5A5A);
  EXPECT_EQ(s.words[0x18], 0x5C5A);
  EXPECT_EQ(s.crystalKHz, 24270);
  EXPECT_EQ(s.headerPath, (work / "in").string());
  EXPECT_EQ(s.binaryPath, (work / "in").string());
  s.SelectChipModel(2);
  EXPECT_EQ(s.words[0], 0x5A5A) << "clicking the opened model keeps the opened words";
}

TEST_F(StateTest, OpenWithoutTagKeepsModelUnselected) {
  ToolState s(AmbrelProfile(), program.path());
  WriteFile(work / "plain.h", "0x1234\n");
  s.OpenHeader((work / "plain.h").string());
  EXPECT_FALSE(s.modelSelected());
  EXPECT_EQ(s.words[0], 0x1234);
  EXPECT_EQ(s.words[0x18], 0x0400) << "the fix-up follows every Open";
  s.SelectChipModel(0);
  EXPECT_EQ(s.words[0], 0x1111);
}

TEST_F(StateTest, OpenFailureKeepsImageButRemembersFolder) {
  ToolState s(AmbrelProfile(), program.path());
  for (const auto& bad : {work / "missing" / "EEPROM.h", work.path()}) {
    const Report r = s.OpenHeader(bad.string());
    EXPECT_EQ(r.message, msg::kOpenHeaderFailed);
    EXPECT_EQ(s.words, RegisterImage{});
  }
}

TEST_F(StateTest, SaveRefusedWithoutModel) {
  ToolState s(AmbrelProfile(), program.path());
  const auto target = work / "EEPROM.h";
  EXPECT_EQ(s.SaveHeader(target.string()).message, msg::kNoChipModel);
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(s.headerPath, work.path().string());
}

TEST_F(StateTest, SaveReplacesAndReopensExactly) {
  ToolState s(AmbrelProfile(), program.path());
  s.SelectChipModel(1);
  s.words[0x40] = 0x64D8;
  const auto target = work / "EEPROM.h";
  WriteFile(target, "old");
  ASSERT_TRUE(s.SaveHeader(target.string()).ok);
  const std::string saved = ReadFile(target);
  EXPECT_EQ(saved, WriteHeaderText(AmbrelProfile().models[1], 25000, s.words));
  ToolState t(AmbrelProfile(), program.path());
  t.OpenHeader(target.string());
  EXPECT_EQ(t.words, s.words);
  EXPECT_EQ(t.chipModel, 1);
  EXPECT_EQ(test::CountFiles(work.path()), 1) << "no temporary file left behind";
}

#ifndef _WIN32  // file size limits are POSIX; the Windows platform test fails a replacement instead
// Fails every write past `bytes` bytes, as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    old_handler_ = signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit lim = old_;
    lim.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lim);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_{};
  sighandler_t old_handler_;
};

TEST_F(StateTest, FailedSaveLeavesOldFileIntactAndSaysSo) {
  ToolState s(AmbrelProfile(), program.path());
  s.SelectChipModel(0);
  const auto target = work / "EEPROM.h";
  const std::string old(5000, 'x');
  WriteFile(target, old);
  Report r;
  {
    FileSizeLimit limit(100);
    r = s.SaveHeader(target.string());
  }
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, msg::kSaveFailed);
  EXPECT_EQ(ReadFile(target), old);
  EXPECT_EQ(test::CountFiles(work.path()), 1);
  EXPECT_EQ(s.SaveHeader((work / "no" / "such" / "folder.h").string()).message, msg::kSaveFailed);
}

#endif

}  // namespace
}  // namespace lx
