#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/lxcfg.h"
#include "core/header_format.h"
#include "tests/support/files.h"
#include "tests/support/lxcfg.h"
#ifndef _WIN32
#include "tests/support/program.h"
#endif

namespace lx {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using test::Outcome;

// The program folder holds default images of our own for two models.
class LxcfgBasics : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterImage w{};
    w.fill(0x0042);
    WriteFile(program / "Data" / "LX7240" / "EEPROM.h", WriteHeaderText(AmbrelProfile().models[0], 24000, w));
    WriteFile(program / "Data" / "LX7250" / "EEPROM.h", WriteHeaderText(AmbrelProfile().models[1], 24000, w));
  }
  Outcome lxcfg(const std::vector<std::string>& args) { return test::RunLxcfg(args, program.path()); }
  std::string at(const std::string& name) { return (work / name).string(); }
  TempDir program, work;
};

TEST_F(LxcfgBasics, EncodeAndDecode) {
  EXPECT_EQ(lxcfg({"encode", "--model", "LX7250", "--xtal", "24000", "606000"}).out, "0x64d8 0x7fff\n");
  EXPECT_EQ(lxcfg({"encode", "--model", "lx7240", "--xtal", "24000", "160000", "162003"}).out,
            "0x6bd8 0x5555\n0x6ddb 0xffff\n");
  // Above 900 MHz the band subcode is 0.
  EXPECT_EQ(lxcfg({"encode", "--model", "LX7250", "--xtal", "24000", "910000"}).out, "0x98a3 0xd555\n");
  EXPECT_EQ(lxcfg({"decode", "--model", "LX7250", "--xtal", "24000", "0x64D8", "41"}).out, "600007\n");
  EXPECT_EQ(lxcfg({"decode", "--model", "LX7140", "--xtal", "24000", "0x437c", "0x5aaa"}).out, "200000\n");
}

TEST_F(LxcfgBasics, FailuresAndUsageErrors) {
  // A value typed on the command line that cannot be used is a usage error, with the synopsis.
  const Outcome range = lxcfg({"encode", "--model", "LX7250", "--xtal", "24000", "300000"});
  EXPECT_EQ(range.status, 2);
  EXPECT_EQ(range.err,
            "lxcfg: 300000 kHz is outside LX7250's range 470000..960000 kHz — "
            "请输入正确的频道:470000KHz~960000KHz\nUsage: lxcfg encode --model M --xtal K FREQ...\n"
            "Run 'lxcfg encode --help' for more.\n");
  EXPECT_EQ(range.out, "");
  EXPECT_EQ(lxcfg({"encode", "--model", "LX7250", "--xtal", "0", "606000"}).status, 2);
  EXPECT_EQ(lxcfg({"encode", "--model", "LX9999", "--xtal", "24000", "606000"}).status, 2);
  for (const std::vector<std::string>& words : {std::vector<std::string>{"0x10000", "0"}, {"0", "0x10000"}}) {
    const Outcome wide = lxcfg({"decode", "--model", "LX7250", "--xtal", "24000", words[0], words[1]});
    EXPECT_EQ(wide.status, 2);
    EXPECT_TRUE(wide.err.starts_with("lxcfg: not a 16-bit word: 0x10000\nUsage: lxcfg decode ")) << wide.err;
    EXPECT_EQ(wide.out, "");
  }
  EXPECT_EQ(lxcfg({"encode", "--model", "LX7250"}).status, 2);
  EXPECT_EQ(lxcfg({"frobnicate"}).status, 2);
  EXPECT_EQ(lxcfg({}).status, 2);
  EXPECT_EQ(lxcfg({"encode", "--help"}).status, 0);
}

TEST_F(LxcfgBasics, NewWritesWhatSelectingAndSavingWrites) {
  const Outcome r = lxcfg({"new", "--model", "LX7240", "-o", "-"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.size(), 1938u);
  EXPECT_NE(r.out.find("0x0442,   //reg18"), std::string::npos) << "fix-up applied";
  EXPECT_EQ(lxcfg({"new", "--model", "LX7240D", "-o", at("d.h")}).status, 1)
      << "no default image for it here";
  EXPECT_FALSE(std::filesystem::exists(at("d.h")));
}

TEST_F(LxcfgBasics, HeaderBinaryHeaderRoundTrip) {
  ASSERT_EQ(lxcfg({"new", "--model", "LX7250", "-o", at("a.h")}).status, 0);
  ASSERT_EQ(lxcfg({"h2bin", at("a.h"), at("a.bin")}).status, 0);
  ASSERT_EQ(lxcfg({"bin2h", "--model", "LX7250", "--xtal", "24000", at("a.bin"), at("b.h")}).status, 0);
  EXPECT_EQ(ReadFile(at("a.h")), ReadFile(at("b.h")));
  WriteFile(at("short.bin"), "abc");
  const Outcome shortBin =
      lxcfg({"bin2h", "--model", "LX7250", "--xtal", "24000", at("short.bin"), at("b.h")});
  EXPECT_EQ(shortBin.status, 1);
  EXPECT_EQ(shortBin.err, "lxcfg: " + at("short.bin") + ": 3 bytes, fewer than 192 — error!\n");
  EXPECT_EQ(ReadFile(at("a.h")), ReadFile(at("b.h")));
}

TEST_F(LxcfgBasics, SetReadsAsOpenAndSavesAsSave) {
  WriteFile(at("t.h"), "  unsigned int code lx7250d_reg[EEPROM_SIZE] =\n0x12,\n#define X24P270MHZ\n");
  ASSERT_EQ(lxcfg({"set", at("t.h")}).status, 0);
  const std::string saved = ReadFile(at("t.h"));
  EXPECT_EQ(saved.size(), 1940u);
  EXPECT_TRUE(saved.starts_with("#define X24P270MHZ\r\n"));
  EXPECT_NE(
      saved.find("#define LX7250D\r\nunsigned int code LX7250D_REG[EEPROM_SIZE] =\r\n{\r\n0x0012,   //reg00"),
      std::string::npos);

  WriteFile(at("untagged.h"), "0x1234,\n");
  const Outcome refused = lxcfg({"set", at("untagged.h")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(ReadFile(at("untagged.h")), "0x1234,\n");
  const Outcome withModel = lxcfg({"set", at("untagged.h"), "--model", "LX7240", "-o", "-"});
  EXPECT_EQ(withModel.status, 0);
  EXPECT_NE(withModel.out.find("0x1234,   //reg00\r\n0x0042,   //reg01"), std::string::npos)
      << "selected model's defaults under the opened words";
  EXPECT_EQ(lxcfg({"set", at("missing.h")}).status, 1);
}

// A programmer's read-back against the image: equal, erased padding, a word that differs, a
// short dump, padding that is not erased.
TEST_F(LxcfgBasics, VerifyComparesADumpWithTheImage) {
  const std::string tx = test::DefaultImage("LX7250");
  ASSERT_EQ(test::Lxcfg({"h2bin", tx, at("tx.bin")}).status, 0);
  const std::string image = ReadFile(at("tx.bin"));
  std::string changed = image, flipped = image;
  changed[2 * 0x03 + 1] ^= 0x04;  // pa_gain 8 -> 10
  flipped[2 * 0x41 + 1] ^= 0x01;  // channel 0's fraction word, one bit off
  ASSERT_EQ(test::Lxcfg({"h2bin", test::DefaultImage("LX7150"), at("rx.bin")}).status, 0);
  const struct {
    std::string dump;
    int status;
    std::string out;  // the start of the report
  } cases[] = {
      {image, 0, "equal: " + at("dump.bin") + " holds the 96 words of " + tx + "\n"},
      {image + std::string(64, '\xff'), 0,
       "equal: " + at("dump.bin") + " holds the 96 words of " + tx + ", then 64 bytes of 0xff\n"},
      {changed, 1, "reg03: expected 0x0010, read 0x0014 (pa_gain: 8 -> 10)\nDIFFERENT: 1 word differs\n"},
      {image.substr(0, 100), 1, "reg32..reg5f: missing (the dump holds 100 bytes, the image 192)\n"},
      {image + std::string("\xff\x00\xff", 3), 1, "1 byte past the image not 0xff: offset 193 holds 0x00\n"},
      {flipped, 1,
       "reg41: expected 0x2aaa, read 0x2aab (channel.0: 614000 kHz -> 614000 kHz, words LX7250's codec never "
       "writes)\nDIFFERENT: 1 word differs\n"},
      {ReadFile(at("rx.bin")), 1, "reg03: "},
  };
  for (const auto& c : cases) {
    WriteFile(at("dump.bin"), c.dump);
    const Outcome r = test::Lxcfg({"verify", tx, at("dump.bin")});
    EXPECT_EQ(r.status, c.status) << c.out << r.err;
    EXPECT_TRUE(r.out.starts_with(c.out)) << r.out;
    EXPECT_EQ(r.out.find("looks like a receiver's image") != std::string::npos,
              c.dump == ReadFile(at("rx.bin")))
        << r.out;
  }
  WriteFile(at("dump.bin"), changed);
  const auto json = nlohmann::json::parse(
      test::Lxcfg({"verify", "--json", at("tx.bin"), at("dump.bin"), "--model", "LX7250"}).out);
  EXPECT_EQ(json.at("equal"), false);
  EXPECT_EQ(json.at("words").at(0).at("word"), "reg03");
  EXPECT_EQ(json.at("words").at(0).at("settings").at(0).at("key"), "pa_gain");
  EXPECT_NE(test::Lxcfg({"verify", at("tx.bin"), at("dump.bin")}).out.find("--model M names the settings"),
            std::string::npos);
}

#ifndef _WIN32
TEST(LxcfgProgram, SmokeTest) {
  const Outcome r = test::RunProgram({{"new", "--model", "LX7240", "-o", "-"}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.size(), 1938u) << "the shipped LX7240 image beside the program";
}
#endif

}  // namespace
}  // namespace lx
