#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
// after windows.h
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

#include <sstream>
#include <streambuf>
#include <tuple>

#include "core/file_kind.h"
#include "core/header_format.h"

namespace lx {
namespace {

const ChipModel& Lx7240() { return AmbrelProfile().models[0]; }

struct Read {
  RegisterImage words{};
  int32_t crystal = -7;
  HeaderReadResult result;
};

Read ReadText(const std::string& text, HeaderReadMode mode = HeaderReadMode::Open,
              const ToolProfile& p = AmbrelProfile()) {
  Read r;
  r.words.fill(0xEEEE);
  std::istringstream in(text);
  r.result = ReadHeaderLines(in, mode, p, r.words, r.crystal);
  return r;
}

TEST(HeaderWriter, AllZeroLx7240AtCrystal24000) {
  RegisterImage words{};
  const std::string text = WriteHeaderText(Lx7240(), 24000, words);
  EXPECT_EQ(text.size(), 1938u);
  EXPECT_TRUE(text.starts_with(
      "#define X24P000MHZ\r\n#define EEPROM_SIZE 0x60\r\n#define LX7240\r\n"
      "unsigned int code LX7240_REG[EEPROM_SIZE] =\r\n{\r\n0x0000,   //reg00\r\n"));
  EXPECT_TRUE(text.ends_with("0x0000,   //reg5f\r\n};\r\n"));
  size_t lines = 0;
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '\r' && text[i + 1] == '\n') ++lines;
  EXPECT_EQ(lines, 102u);
  EXPECT_EQ(WriteHeaderText(AmbrelProfile().models[2], 24000, words).size(), 1940u);
}

TEST(HeaderWriter, WordAndCrystalLines) {
  EXPECT_EQ(WordLine(0x0a, 0x00AB), "0x00ab,   //reg0a");
  EXPECT_EQ(WordLine(0x05, 0x1A2B), "0x1a2b,   //reg05");
  EXPECT_EQ(WordLine(0x5f, 0xFFFF), "0xffff,   //reg5f");
  EXPECT_EQ(CrystalLine(24000), "#define X24P000MHZ");
  EXPECT_EQ(CrystalLine(23500), "#define X23P500MHZ");
  EXPECT_EQ(CrystalLine(9000), "#define X90P000MHZ");
  EXPECT_EQ(CrystalLine(0), "#define X0P0MHZ");
}

TEST(HeaderReader, CrystalLinesReadBackAsTheSpecialCasesSay) {
  EXPECT_EQ(ReadText(CrystalLine(24000)).crystal, 24000);
  EXPECT_EQ(ReadText(CrystalLine(9000)).crystal, 90000);
  EXPECT_EQ(ReadText(CrystalLine(0)).crystal, 0);
  EXPECT_EQ(ReadText("  #define x24p270mhz  ").crystal, 24270);
  // Only the first 17 normalised characters count.
  EXPECT_EQ(ReadText("#define X24P000000000MHZ").crystal, 24000000);
  // More digits than 32 bits hold: the line is not a crystal line and changes nothing.
  EXPECT_EQ(ReadText("9999999999MHZ").crystal, -7);
  EXPECT_EQ(ReadText("2147483647MHZ").crystal, 2147483647);
  EXPECT_EQ(ReadText("2147483648MHZ").crystal, -7);
  EXPECT_EQ(ReadText("no crystal here").crystal, -7);
}

TEST(HeaderReader, LenientWordLines) {
  const struct {
    const char* line;
    uint16_t value;
  } rows[] = {
      {"0x1a2b,   //reg00", 0x1A2B}, {"  0x1A2b , // reg00", 0x1A2B}, {"\t0X1A2B\t,//REG00", 0x1A2B},
      {"0x 1a 2b", 0x1A2B},          {"0x12,", 0x0012},               {"0x,   //reg03", 0x0000},
      {"0xg123", 0x0000},            {"0x+12", 0x0012},               {"0x12345", 0x1234},
      // A sign that "%04X" accepts wraps, and only 16 bits are kept.
      {"0x-1", 0xFFFF},              {"0x-001", 0xFFFF},              {"0x00x5", 0x0005},
  };
  for (const auto& r : rows) {
    const Read read = ReadText(std::string(r.line) + "\r\n");
    EXPECT_EQ(read.words[0], r.value) << r.line;
    EXPECT_EQ(read.words[1], 0xEEEE) << r.line;
    EXPECT_EQ(read.result.wordLines, 1) << r.line;
  }
}

TEST(HeaderReader, WordCounterKeepsFirst96AndLeavesTheRest) {
  std::string many, few;
  for (int i = 0; i < 100; ++i) many += WordLine(i, static_cast<uint16_t>(i + 1)) + "\r\n";
  for (int i = 0; i < 10; ++i) few += WordLine(i, 0x4242) + "\n";
  const Read all = ReadText(many);
  EXPECT_EQ(all.result.wordLines, 100);
  EXPECT_EQ(all.words[0x5f], 0x60);
  const Read part = ReadText(few);
  EXPECT_EQ(part.words[9], 0x4242);
  EXPECT_EQ(part.words[10], 0xEEEE);
}

TEST(HeaderReader, ModelTagLongestFirstAndOnlyInOpenMode) {
  EXPECT_EQ(ReadText("unsigned int code LX7240D_REG[EEPROM_SIZE] =").result.taggedModel, 2);
  EXPECT_EQ(ReadText("unsigned int code LX7240_REG[EEPROM_SIZE] =").result.taggedModel, 0);
  EXPECT_EQ(ReadText("Unsigned Int Code lx7250d_reg[]").result.taggedModel, 3);
  EXPECT_EQ(ReadText("unsigned int code LXM7140_REG[x]", HeaderReadMode::Open, OstrelProfile()).result.taggedModel, 2);
  EXPECT_EQ(ReadText("unsigned int code LX7240_REG[x]", HeaderReadMode::Open, OstrelProfile()).result.taggedModel, -1);
  EXPECT_EQ(ReadText("unsigned int code LX7240_REG[x]", HeaderReadMode::DefaultLoader).result.taggedModel, -1);
  EXPECT_EQ(ReadText("#define LX7240").result.taggedModel, -1);
  // The array's own name names no model; a misspelt one is kept for the message.
  EXPECT_EQ(ReadText("unsigned int code REG[EEPROM_SIZE] =").result.declaredName, "");
  EXPECT_EQ(ReadText("unsigned int code LX7350_REG[EEPROM_SIZE] =").result.declaredName, "LX7350");
}

// The one answer to what a file holds, which every command and the register window go by.
TEST(FileKind, BinaryHeaderOrNeither) {
  struct Case {
    std::string bytes;
    FileKind kind;
    int wordLines;
    const char* model;  // the catalogue model declared, or nullptr
  } cases[] = {
      {std::string("\x12\x34\n0x1234,", 10), FileKind::Binary, 0, nullptr},  // a control byte decides
      {"0x1234,\r\n0x5678,\x1a", FileKind::Header, 2, nullptr},               // an old editor's end mark
      {"#define X24P000MHZ\r\n", FileKind::Header, 0, nullptr},                // a header without words
      {"unsigned int code LX7150_REG[EEPROM_SIZE] =\r\n0x0001,", FileKind::Header, 1, "LX7150"},
      {"unsigned int code LX7350_REG[x] =", FileKind::Header, 0, nullptr},       // a model nobody knows
      {"hello\nworld\n", FileKind::Neither, 0, nullptr},
  };
  for (const Case& c : cases) {
    const FileContent f = ClassifyFile(c.bytes);
    EXPECT_EQ(f.kind, c.kind) << c.bytes;
    EXPECT_EQ(f.wordLines(), c.wordLines) << c.bytes;
    EXPECT_EQ(std::string(f.model ? f.model.profile->models[static_cast<std::size_t>(f.model.index)].name : ""),
              c.model ? c.model : "")
        << c.bytes;
  }
  EXPECT_TRUE(ClassifyFile("unsigned int code LX7350_REG[x] =").declaresUnknownModel());
}

// Word lines read leniently, but each one without four hex digits is noted with its line.
TEST(HeaderReader, NotesWordLinesWithoutFourHexDigits) {
  const Read r = ReadText("{\r\n0x1234,\r\n  0xZZZZ, // bad\r\n0x12,\r\n0x,   //reg03\r\n0x70");
  EXPECT_EQ(r.result.wordLines, 5);
  EXPECT_EQ(r.words[1], 0x0000);
  EXPECT_EQ(r.words[4], 0x0070);
  ASSERT_EQ(r.result.oddWordLineCount, 4);
  const OddWordLine& junk = r.result.oddWordLines[0];
  EXPECT_EQ(std::tie(junk.line, junk.word, junk.hexDigits, junk.text),
            std::make_tuple(3, 1, 0, std::string("0xZZZZ, // bad")));
  EXPECT_EQ(r.result.oddWordLines[1].hexDigits, 2);
  EXPECT_EQ(r.result.oddWordLines[2].hexDigits, 0);
  EXPECT_EQ(std::tie(r.result.oddWordLines[3].line, r.result.oddWordLines[3].hexDigits),
            std::make_tuple(6, 2));
}

TEST(HeaderReader, WrittenFileReadsBackExactly) {
  RegisterImage words{};
  for (int i = 0; i < kEepromSize; ++i) words[i] = static_cast<uint16_t>(i * 0x0A0B + 0x1001);
  const Read back = ReadText(WriteHeaderText(AmbrelProfile().models[3], 24270, words));
  EXPECT_EQ(back.words, words);
  EXPECT_EQ(back.crystal, 24270);
  EXPECT_EQ(back.result.taggedModel, 3);
}

// A stream of `lines` lines of `length` characters each, made up as it is read.
class GeneratedLines : public std::streambuf {
 public:
  GeneratedLines(std::string pattern, uint64_t length, int lines) : pattern_(std::move(pattern)), length_(length), lines_(lines) {}

 protected:
  int_type underflow() override {
    if (line_ >= lines_) return traits_type::eof();
    size_t n = 0;
    while (n < buf_.size() && line_ < lines_) {
      if (pos_ < length_)
        buf_[n++] = pattern_[pos_++ % pattern_.size()];
      else {
        buf_[n++] = '\n';
        pos_ = 0;
        ++line_;
      }
    }
    setg(buf_.data(), buf_.data(), buf_.data() + n);
    return traits_type::to_int_type(buf_[0]);
  }

 private:
  std::string pattern_;
  uint64_t length_, pos_ = 0;
  int lines_, line_ = 0;
  std::array<char, 1 << 16> buf_{};
};

long MaxResidentKiB() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS c{};
  GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
  return static_cast<long>(c.PeakWorkingSetSize / 1024);
#else
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
#endif
}

TEST(HeaderReader, HundredMegabyteLineInBoundedMemory) {
  GeneratedLines source("0x1234 abc ", 100'000'000, 2);
  std::istream in(&source);
  RegisterImage words{};
  int32_t crystal = 0;
  const long before = MaxResidentKiB();
  const HeaderReadResult r = ReadHeaderLines(in, HeaderReadMode::Open, AmbrelProfile(), words, crystal);
  EXPECT_EQ(r.wordLines, 2);
  EXPECT_EQ(words[0], 0x1234);
  EXPECT_LT(MaxResidentKiB() - before, 20 * 1024) << "reading grew the process by more than 20 MiB";
}

}  // namespace
}  // namespace lx
