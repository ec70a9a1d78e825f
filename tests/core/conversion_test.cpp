#include <gtest/gtest.h>

#include <sstream>

#include "core/binary_format.h"
#include "core/header_format.h"
#include "core/messages.h"
#include "core/state.h"
#include "tests/support/files.h"
#include "tests/support/images.h"

namespace lx {
namespace {

using test::CountFiles;
using test::Pattern;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::string Bin(const std::string& headerText) {
  std::istringstream in(headerText);
  return HeaderToBinary(in);
}

TEST(HeaderToBinary, WordLinesBecomeHighByteFirstPairsInFileOrder) {
  const RegisterImage w = Pattern();
  const std::string bytes = Bin(WriteHeaderText(AmbrelProfile().models[1], 24000, w));
  ASSERT_EQ(bytes.size(), 192u);
  EXPECT_EQ(bytes, WordsToBinary(w));
  EXPECT_EQ(Bin("0x1a2b,   //reg05\r\n  0X1A2B , // anything\r\n0xffff, //reg00\r\n"),
            std::string("\x1a\x2b\x1a\x2b\xff\xff", 6));
}

TEST(HeaderToBinary, StopsAtFirstEmptyLineAndSkipsOthers) {
  EXPECT_EQ(Bin("#define X24P000MHZ\r\n{\r\n\r\n0x1234,\r\n"), "");
  EXPECT_EQ(Bin("{\r\n   \r\n0x1234,\r\n"), "\x12\x34") << "a line of blanks is not empty";
}

TEST(HeaderToBinary, PairsThatAreNotTwoHexDigits) {
  // Each pair converts like "%02X": leading hexadecimal digits count, anything else gives 0.
  const struct {
    const char* line;
    const char* bytes;
  } rows[] = {
      {"0x12,", "\x12\x00"},     // ',' ends the low pair: 0
      {"0x1g2h", "\x01\x02"},    // digits before the first other character
      {"0xgg12", "\x00\x12"},
      {"0x", "\x00\x00"},
      {"0x-1ab", "\xff\xab"},    // a sign wraps within the byte
      {"0x1", "\x01\x00"},
  };
  for (const auto& r : rows) EXPECT_EQ(Bin(std::string(r.line) + "\n"), std::string(r.bytes, 2)) << r.line;
}

TEST(HeaderToBinary, NoLimitOnWordLines) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "0xabcd,\r\n";
  EXPECT_EQ(Bin(text).size(), 2000u);
}

class ConversionTest : public ::testing::Test {
 protected:
  TempDir dir;
  ToolState state{AmbrelProfile(), dir.path()};
  std::string at(const std::string& name) { return (dir / name).string(); }
};

TEST_F(ConversionTest, HeaderToBinaryToHeaderIsByteForByte) {
  state.chipModel = 1;
  state.crystalKHz = 24000;
  const std::string header = WriteHeaderText(AmbrelProfile().models[1], 24000, Pattern());
  WriteFile(at("a.h"), header);
  state.headerPath = at("a.h");
  const Report toBin = state.ConvertHeaderToBinary(at("a.bin"));
  EXPECT_EQ(toBin.message, msg::kConverted);
  EXPECT_EQ(ReadFile(at("a.bin")).size(), 192u);
  state.binaryPath = at("a.bin");
  EXPECT_EQ(state.ConvertBinaryToHeader(at("b.h")).message, msg::kConverted);
  EXPECT_EQ(ReadFile(at("b.h")), header);
}

TEST_F(ConversionTest, BinaryToHeaderUsesFirst192BytesAndSelectedModel) {
  std::string bytes = WordsToBinary(Pattern()) + "12345678";
  WriteFile(at("x.bin"), bytes);
  state.binaryPath = at("x.bin");
  state.chipModel = 3;
  state.crystalKHz = 24000;
  ASSERT_TRUE(state.ConvertBinaryToHeader(at("x.h")).ok);
  EXPECT_EQ(ReadFile(at("x.h")), WriteHeaderText(AmbrelProfile().models[3], 24000, Pattern()));
}

TEST_F(ConversionTest, FailuresLeaveAnExistingOutputUntouched) {
  const std::string previous = "previous content";
  WriteFile(at("out.bin"), previous);
  WriteFile(at("out.h"), previous);
  WriteFile(at("short.bin"), std::string(191, '\x11'));
  WriteFile(at("empty.bin"), "");
  WriteFile(at("ok.bin"), std::string(192, '\x11'));

  // Header path still the folder: nothing to read.
  state.headerPath = dir.path().string();
  EXPECT_EQ(state.ConvertHeaderToBinary(at("out.bin")).message, msg::kOpenHeaderFailed);

  state.chipModel = 0;
  state.binaryPath = dir.path().string();
  EXPECT_EQ(state.ConvertBinaryToHeader(at("out.h")).message, msg::kOpenBinFailed);
  for (const char* shortFile : {"short.bin", "empty.bin"}) {
    state.binaryPath = at(shortFile);
    EXPECT_EQ(state.ConvertBinaryToHeader(at("out.h")).message, msg::kBinError) << shortFile;
    EXPECT_EQ(state.ConvertBinaryToHeader(at("new.h")).message, msg::kBinError) << shortFile;
  }
  state.chipModel = -1;
  state.binaryPath = at("ok.bin");
  EXPECT_EQ(state.ConvertBinaryToHeader(at("out.h")).message, msg::kNoChipModel);
  EXPECT_EQ(state.ConvertBinaryToHeader(at("new.h")).message, msg::kNoChipModel);

  EXPECT_EQ(ReadFile(at("out.bin")), previous);
  EXPECT_EQ(ReadFile(at("out.h")), previous);
  EXPECT_FALSE(std::filesystem::exists(at("new.h"))) << "a refused conversion leaves no empty file";
  EXPECT_EQ(CountFiles(dir.path()), 5) << "no temporary file left behind";
}

TEST_F(ConversionTest, OutputInAFolderThatCannotTakeItEndsQuietly) {
  WriteFile(at("a.h"), "0x1234,\n");
  state.headerPath = at("a.h");
  const Report r = state.ConvertHeaderToBinary(at("missing/out.bin"));
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message, "");
}

TEST_F(ConversionTest, EmptyLineBeforeWordsGivesEmptyImageAndSuccess) {
  WriteFile(at("gap.h"), "{\r\n\r\n0x1234,   //reg00\r\n};\r\n");
  state.headerPath = at("gap.h");
  EXPECT_EQ(state.ConvertHeaderToBinary(at("gap.bin")).message, msg::kConverted);
  EXPECT_EQ(ReadFile(at("gap.bin")), "");
}

}  // namespace
}  // namespace lx
