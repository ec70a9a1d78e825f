#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "cli/lxcfg.h"
#include "core/header_format.h"
#include "tests/cli/lxcfg_runner.h"
#include "tests/support/files.h"

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
  EXPECT_EQ(lxcfg({"decode", "--model", "LX7250", "--xtal", "24000", "0x64D8", "41"}).out, "600007\n");
  EXPECT_EQ(lxcfg({"decode", "--model", "LX7140", "--xtal", "24000", "0x437c", "0x5aaa"}).out, "200000\n");
}

TEST_F(LxcfgBasics, FailuresAndUsageErrors) {
  const Outcome range = lxcfg({"encode", "--model", "LX7250", "--xtal", "24000", "300000"});
  EXPECT_EQ(range.status, 1);
  EXPECT_EQ(range.err, "请输入正确的频道:470000KHz~960000KHz\n");
  EXPECT_EQ(range.out, "");
  EXPECT_EQ(lxcfg({"encode", "--model", "LX7250", "--xtal", "0", "606000"}).status, 1);
  EXPECT_EQ(lxcfg({"encode", "--model", "LX9999", "--xtal", "24000", "606000"}).status, 1);
  EXPECT_EQ(lxcfg({"decode", "--model", "LX7250", "--xtal", "24000", "0x10000", "0"}).status, 1);
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
  EXPECT_EQ(shortBin.err, at("short.bin") + ": error!\n");
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

TEST(LxcfgProgram, SmokeTest) {
  FILE* p = popen(LXCFG_PROGRAM " new --model LX7240 -o - | wc -c", "r");
  ASSERT_NE(p, nullptr);
  char buf[64] = {};
  ASSERT_NE(fgets(buf, sizeof buf, p), nullptr);
  EXPECT_EQ(pclose(p), 0);
  EXPECT_EQ(std::stoi(buf), 1938) << "the shipped LX7240 image beside the program";
}

}  // namespace
}  // namespace lx
