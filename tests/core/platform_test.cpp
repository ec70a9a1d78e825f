// File names as users give them on every platform: UTF-8 text with non-ASCII names, and on
// Windows backslashes, drive letters and read-only targets.
#include <gtest/gtest.h>

#include "core/atomic_file.h"
#include "core/header_format.h"
#include "core/messages.h"
#include "core/path_text.h"
#include "core/process.h"
#include "core/state.h"
#include "tests/support/files.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace lx {
namespace {

using test::ReadFile;
using test::TempDir;

// A folder and a file name that the ANSI code page cannot hold.
const std::string kFolder = "配置 文件 ÄÖ";
const std::string kName = "发射器 EEPROM.h";

std::string Utf8(const std::filesystem::path& p) { return Utf8FromPath(p); }

TEST(PathText, RoundTripsNonAsciiNames) {
  for (const std::string& text : {kFolder, kName, std::string("plain.h"), std::string("ü/ß/€.bin")}) {
    EXPECT_EQ(Utf8FromPath(PathFromUtf8(text)), text);
  }
  EXPECT_EQ(Utf8(PathFromUtf8(kFolder + "/" + kName).filename()), kName);
  EXPECT_EQ(Utf8(PathFromUtf8(kFolder + "/" + kName).parent_path()), kFolder);
}

// The whole user path of a header: select a model, save into a non-ASCII folder, reopen it,
// convert it to a binary image and back, with every byte as written.
TEST(PlatformFiles, SaveOpenAndConvertUnderNonAsciiNames) {
  TempDir program, work;
  const auto& model = AmbrelProfile().models[1];
  RegisterImage defaults{};
  for (int i = 0; i < kEepromSize; ++i) defaults[i] = static_cast<uint16_t>(0x0A0D + i);  // CR and LF bytes
  test::WriteFile(program / "Data" / model.name / "EEPROM.h", WriteHeaderText(model, 24576, defaults));

  ToolState s(AmbrelProfile(), program.path());
  ASSERT_TRUE(s.SelectChipModel(1).ok);
  const std::filesystem::path folder = work.path() / PathFromUtf8(kFolder);
  std::filesystem::create_directories(folder);
  const std::string target = Utf8(folder / PathFromUtf8(kName));
  ASSERT_TRUE(s.SaveHeader(target).ok);
  const std::string saved = ReadFile(PathFromUtf8(target));
  EXPECT_EQ(saved, WriteHeaderText(model, 24576, s.words)) << "written byte for byte, CRLF kept";
  EXPECT_EQ(saved.find("\r\r"), std::string::npos);
  EXPECT_EQ(s.headerPath, Utf8(folder)) << "the folder is remembered as UTF-8";

  ToolState t(AmbrelProfile(), program.path());
  ASSERT_TRUE(t.OpenHeader(target).ok);
  EXPECT_EQ(t.words, s.words);
  EXPECT_EQ(t.chipModel, 1);

  const std::string bin = Utf8(folder / PathFromUtf8("镜像.bin"));
  t.headerPath = target;
  EXPECT_EQ(t.ConvertHeaderToBinary(bin).message, msg::kConverted);
  EXPECT_EQ(ReadFile(PathFromUtf8(bin)).size(), 192u);
  t.binaryPath = bin;
  const std::string back = Utf8(folder / PathFromUtf8("回转.h"));
  EXPECT_EQ(t.ConvertBinaryToHeader(back).message, msg::kConverted);
  EXPECT_EQ(ReadFile(PathFromUtf8(back)), saved);
  EXPECT_EQ(test::CountFiles(folder), 3) << "no temporary file left behind";
}

TEST(PlatformFiles, ProgramDirectoryIsTheExecutablesFolder) {
  const std::filesystem::path dir = ProgramDirectory(nullptr);
  ASSERT_FALSE(dir.empty());
  EXPECT_TRUE(std::filesystem::is_directory(dir));
  bool found = false;
  for (const auto& e : std::filesystem::directory_iterator(dir))
    found = found || e.path().stem() == "core_tests";
  EXPECT_TRUE(found) << Utf8(dir);
}

#ifdef _WIN32
TEST(PlatformFiles, BackslashesAndDriveLettersName) {
  TempDir work;
  // Z:\...\sub\x.h written with backslashes only, as the file dialogs return names.
  std::wstring native = std::filesystem::absolute(work.path()).wstring();
  std::filesystem::create_directories(work.path() / "sub");
  std::string target = Utf8(std::filesystem::path(native + L"\\sub\\x.h"));
  ASSERT_EQ(target.find('/'), std::string::npos) << target;
  ASSERT_TRUE(WriteFileAtomically(PathFromUtf8(target), "a\r\nb\r\n"));
  EXPECT_EQ(ReadFile(work.path() / "sub" / "x.h"), "a\r\nb\r\n");
  ToolState s(AmbrelProfile(), work.path());
  s.OpenHeader(target);
  EXPECT_EQ(s.headerPath, Utf8(std::filesystem::path(native + L"\\sub")));
}

// A target that cannot be replaced keeps its content and leaves no temporary file; the save
// says so.
TEST(PlatformFiles, ReadOnlyTargetIsKeptIntact) {
  TempDir program, work;
  ToolState s(AmbrelProfile(), program.path());
  s.chipModel = 0;
  const std::filesystem::path target = work / "EEPROM.h";
  test::WriteFile(target, "old\r\n");
  ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
  const Report r = s.SaveHeader(Utf8(target));
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, msg::kSaveFailed);
  EXPECT_EQ(ReadFile(target), "old\r\n");
  EXPECT_EQ(test::CountFiles(work.path()), 1);
}

TEST(PlatformFiles, ReplacingKeepsNoTemporaryAndOverwritesLongerFiles) {
  TempDir work;
  const std::filesystem::path target = work / "EEPROM.bin";
  test::WriteFile(target, std::string(1000, 'x'));
  AtomicFile f;
  ASSERT_TRUE(f.Open(target));
  EXPECT_EQ(test::CountFiles(work.path()), 2) << "the new content goes to a file beside the target";
  ASSERT_TRUE(f.Write(std::string("\n\r\x1a\0", 4)));
  ASSERT_TRUE(f.Commit()) << f.error();
  EXPECT_EQ(ReadFile(target), std::string("\n\r\x1a\0", 4)) << "binary: no CR added, no end-of-file mark";
  EXPECT_EQ(test::CountFiles(work.path()), 1);
}
#endif

}  // namespace
}  // namespace lx
