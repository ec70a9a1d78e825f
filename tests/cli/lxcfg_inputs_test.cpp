// lxcfg against what old projects, hand edits, pipes and build scripts hand it: crystals the
// header cannot hold, images of the other family, endless and piped inputs, and the exit
// status rule; plus show and plan values that no other test pins down.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <sstream>

#include "core/header_format.h"
#include "tests/support/endless.h"
#include "tests/support/files.h"
#include "tests/support/images.h"
#include "tests/support/lxcfg.h"
#include "tests/support/program.h"

namespace lx {
namespace {

using test::DefaultImage;
using test::Lxcfg;
using test::Outcome;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

using test::Shell;

class LxcfgInputs : public ::testing::Test {
 protected:
  std::string at(const std::string& name) { return (work / name).string(); }
  std::string Copy(const char* model, const std::string& name) {
    WriteFile(at(name), ReadFile(DefaultImage(model)));
    return at(name);
  }
  TempDir work;
};

// One rule for the crystal in every command: the header's crystal line must read back as the
// same number; outside 23000..25000 kHz what it can hold is kept with a warning.
TEST_F(LxcfgInputs, EveryCommandTakesOnlyCrystalsTheHeaderHolds) {
  const std::string range = "the header's crystal line holds 10000..99999 kHz only";
  const struct {
    int64_t kHz;
    bool accepted, warned;
  } cases[] = {
      {-1, false, false},  {0, false, false},   {99, false, false},     {9999, false, false},
      {10000, true, true}, {22999, true, true}, {23000, true, false},   {25000, true, false},
      {25001, true, true}, {99999, true, true}, {100000, false, false}, {230000, false, false},
  };
  const std::string file = Copy("LX7250", "a.h");
  const std::string before = ReadFile(file);
  WriteFile(at("img.bin"), std::string(192, '\x11'));
  for (const auto& c : cases) {
    const std::string k = std::to_string(c.kHz);
    const Outcome set = Lxcfg({"set", file, "crystal=" + k, "-o", at("b.h")});
    EXPECT_EQ(set.status, c.accepted ? 0 : 2) << k << set.err;
    EXPECT_EQ(set.err.find("lxcfg: warning: crystal " + k +
                           " kHz is outside 23000..25000 kHz; kept — 晶振频率范围:23000KHz~25000KHz\n") !=
                  std::string::npos,
              c.warned)
        << k << set.err;
    if (c.accepted) {
      EXPECT_NE(Lxcfg({"show", at("b.h")}).out.find(", crystal " + k + " kHz\n"), std::string::npos) << k;
    } else if (c.kHz > 0) {
      EXPECT_TRUE(set.err.starts_with("lxcfg: crystal: " + k + " kHz is refused: " + range + "\nUsage: "))
          << set.err;
    }
    std::filesystem::remove(at("b.h"));

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"bin2h", "--model", "LX7250", "--xtal", k, at("img.bin"), at("b.h")},
          {"encode", "--model", "LX7250", "--xtal", k, "606000"},
          {"decode", "--model", "LX7250", "--xtal", k, "0x64d8", "0x7fff"}}) {
      const Outcome r = Lxcfg(args);
      EXPECT_EQ(r.status, c.accepted ? 0 : 2) << args[0] << " " << k << r.err;
      if (!c.accepted) {
        EXPECT_TRUE(r.err.starts_with("lxcfg: --xtal: " + k + " kHz is refused: ")) << r.err;
      }
      EXPECT_EQ(r.err.find("lxcfg: warning: --xtal: crystal " + k +
                           " kHz is outside 23000..25000 kHz; kept — 晶振频率范围:23000KHz~25000KHz\n") !=
                    std::string::npos,
                c.warned)
          << args[0] << " " << k << r.err;
    }
    EXPECT_EQ(std::filesystem::exists(at("b.h")), c.accepted) << k;
    std::filesystem::remove(at("b.h"));
  }
  EXPECT_EQ(ReadFile(file), before);
}

TEST_F(LxcfgInputs, AModelOfTheOtherFamilyIsRefused) {
  const std::string tx = Copy("LX7250", "tx.h"), rx = Copy("LXM7140", "rx.h");
  const std::string txBefore = ReadFile(tx);
  WriteFile(at("untagged.h"), test::Untagged(ReadFile(DefaultImage("LX7140"))));
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"set", tx, "--model", "LX7140", "volume=3"},
       1,
       "lxcfg: " + tx +
           ": the file declares LX7250, a transmitter model; --model LX7140 is a receiver model\n"},
      {{"show", rx, "--model", "LX7240D"},
       1,
       "lxcfg: " + rx +
           ": the file declares LXM7140, a receiver model; --model LX7240D is a transmitter model\n"},
      {{"plan", tx, "--model", "LXM7140"},
       1,
       "lxcfg: " + tx +
           ": the file declares LX7250, a transmitter model; --model LXM7140 is a receiver model\n"},
      {{"set", tx, "--model", "LX7240", "pa_gain=3", "-o", at("same.h")},
       0,
       "lxcfg: warning: " + tx + ": the file declares LX7250; it is read as LX7250, not as --model LX7240\n"},
      {{"set", at("untagged.h"), "--model", "LX7140", "volume=3", "-o", at("r.h")}, 0, ""},
  };
  for (const auto& c : cases) {
    const Outcome r = Lxcfg(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[1];
    EXPECT_EQ(r.err, c.err);
  }
  EXPECT_EQ(ReadFile(tx), txBefore);
  EXPECT_NE(ReadFile(at("r.h")).find("#define LX7140\r\n"), std::string::npos);
}

// A receiver image through a FIFO: read once, so the second family's reading still sees it.
TEST_F(LxcfgInputs, PipedImagesAreReadOnce) {
  {
    test::FifoFeeder feeder(at("rx.fifo"), ReadFile(DefaultImage("LX7150")), 1);
    const Outcome r = Lxcfg({"show", at("rx.fifo")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("LX7150 (Ostrel, receiver), crystal 24000 kHz\n")) << r.out;
  }
  {
    test::FifoFeeder feeder(at("tx.fifo"), ReadFile(DefaultImage("LX7250")), 1);
    ASSERT_EQ(Lxcfg({"h2bin", at("tx.fifo"), at("tx.bin")}).status, 0);
    EXPECT_EQ(ReadFile(at("tx.bin")).size(), 192u);
  }
  // Standard input and output wherever a file name goes, in the real program.
  const std::string lxcfg = LXCFG_PROGRAM;
  const Outcome chain = Shell("cat " + DefaultImage("LX7150") + " | " + lxcfg + " h2bin - - | " + lxcfg +
                              " bin2h --model LX7150 --xtal 24000 - - | " + lxcfg + " set - volume=7 | " +
                              lxcfg + " show - | head -n 1");
  EXPECT_EQ(chain.out, "LX7150 (Ostrel, receiver), crystal 24000 kHz\n");
  const Outcome pair = Shell("cat " + DefaultImage("LX7150") + " | " + lxcfg + " pair " +
                             DefaultImage("LX7250") + " -; echo $?");
  EXPECT_EQ(pair.out, "consistent: LX7250 and LX7150\n0\n");
}

TEST_F(LxcfgInputs, EndlessInputsStopAtTheLimitInBoundedMemoryAndTime) {
  const auto start = std::chrono::steady_clock::now();
  std::filesystem::create_symlink("/dev/zero", at("zero.h"));
  std::string lines;
  for (int i = 0; i < 512; ++i) lines += "0x1234,\r\n";
  test::FifoFeeder endless(at("lines.h"), lines);
  const long before = test::PeakMiB();
  for (const std::string& input : {std::string("/dev/zero"), at("zero.h"), at("lines.h")}) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"show", input},
                                                 {"h2bin", input, at("out.bin")},
                                                 {"set", input, "--model", "LX7250", "-o", at("out.h")}}) {
      if (input == at("lines.h") && args[0] != "h2bin") continue;  // the FIFO's writer feeds one reader
      const Outcome r = Lxcfg(args);
      EXPECT_EQ(r.status, 1) << args[0] << " " << input;
      EXPECT_EQ(r.err, "lxcfg: " + input + ": larger than 64 MiB; reading stopped there — 打开头文件失败!\n");
    }
  }
  EXPECT_FALSE(std::filesystem::exists(at("out.bin")));
  EXPECT_FALSE(std::filesystem::exists(at("out.h")));
  EXPECT_LT(test::PeakMiB() - before, 200 * test::kMemoryAllowance) << "64 MiB of input, read once";
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 60.0);
}

TEST_F(LxcfgInputs, ExitStatusIsZeroDoneOneRefusedOrFailedTwoUsage) {
  const std::string tx = Copy("LX7250", "tx.h");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;  // the start of standard error
  } cases[] = {
      {{"bogus"}, 2, "lxcfg: unknown command 'bogus' (one of encode, decode, new, h2bin, bin2h, set, show"},
      {{"new", "--model", "LX7250", "-o", ""}, 2, "lxcfg: --output: a file name cannot be empty"},
      {{"show", ""}, 2, "lxcfg: FILE: a file name cannot be empty"},
      {{"h2bin", tx, ""}, 2, "lxcfg: OUT: a file name cannot be empty"},
      {{"pair", tx, tx}, 1, "lxcfg: " + tx + ": LX7250 is not a receiver model"},
      {{"diff", tx, at("missing.h")},
       1,
       "lxcfg: " + at("missing.h") + ": cannot open: No such file or directory"},
      {{"plan", at("missing.h")},
       1,
       "lxcfg: " + at("missing.h") + ": cannot open: No such file or directory"},
      {{"show", work.path().string()}, 1, "lxcfg: " + work.path().string() + ": cannot open: Is a directory"},
      {{"set", tx, "pa_gain=99"}, 2, "lxcfg: pa_gain: '99' is not a valid value (0..12)\nUsage: lxcfg set "},
      {{"encode", "--model", "LX7250", "--xtal", "24000", "606.000"},
       2,
       "lxcfg: '606.000' is not a frequency in kHz (a whole number)\nUsage: lxcfg encode "},
      {{"encode", "--model", "LX7250", "--xtal", "24000.5", "606000"},
       2,
       "lxcfg: --xtal: '24000.5' is not a number (decimal or 0x hexadecimal)\nUsage: lxcfg encode "},
      {{"encode", "--model", "LX7250"}, 2, "lxcfg: --xtal is required"},
      {{"show", tx, "--model"}, 2, "lxcfg: --model needs a chip model: one of LX7240, LX7250, "},
      {{}, 2, "lxcfg: a command is needed: one of encode, decode, new, "},
      {{"set"}, 2, "lxcfg: FILE is required"},
      {{"diff", "-", "-"}, 2, "lxcfg: standard input can be read only once; name one of the files"},
      {{"show", tx}, 0, ""},
  };
  for (const auto& c : cases) {
    const Outcome r = Lxcfg(c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_TRUE(r.err.starts_with(c.err)) << r.err;
  }
  const Outcome help = Lxcfg({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(
      help.out.find("Exit status: 0 done; 1 a file's content, a file that cannot be read or written, or a"),
      std::string::npos)
      << help.out;
  const Outcome setHelp = Lxcfg({"set", "--help"});
  for (const char* key :
       {"pa_gain=0..12", "tx_id=0..65535 (LX7240D, LX7250D)", "volume=0..31", "afc_range=±20KHz",
        "audio_gain=0dB, 3dB, 6dB, 9dB, 12dB, -4dB, -2.5dB, 7", "channel.0..channel.15"})
    EXPECT_NE(setHelp.out.find(key), std::string::npos) << key << "\n" << setHelp.out;
}

// show: a number at its maximum is no range violation; a stored value without a list item is
// the number it is, in the text and in the JSON alike.
TEST_F(LxcfgInputs, ShowFlagsOnlyValuesOutsideTheirRange) {
  const struct {
    const char* model;
    std::vector<std::string> set;
    std::string key;
    std::string text;  // the show line's value
    std::string json;  // the --json value
  } cases[] = {
      {"LX7250", {"pa_gain=12"}, "pa_gain", "12", "12"},
      {"LX7150", {"volume=31"}, "volume", "31", "31"},
      {"LX7150", {"audio_gain=7"}, "audio_gain", "7 (no item)", "7"},
      {"LX7150", {"audio_gain=-2.5dB"}, "audio_gain", "-2.5dB", "\"-2.5dB\""},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"set", DefaultImage(c.model), "-o", at("s.h")};
    args.insert(args.end(), c.set.begin(), c.set.end());
    ASSERT_EQ(Lxcfg(args).status, 0);
    const Outcome text = Lxcfg({"show", at("s.h")});
    const std::regex line("\\n  " + c.key + " +([^\\n]*)\\n");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(text.out, m, line)) << c.key;
    EXPECT_EQ(m[1].str(), c.text) << c.key;
    const Outcome json = Lxcfg({"show", at("s.h"), "--json"});
    EXPECT_NE(json.out.find("\"" + c.key + "\": " + c.json + ",\n"), std::string::npos) << c.key << json.out;
  }
  // One past the maximum is flagged.
  RegisterImage w{};
  w[0x03] = 13 << 1;
  WriteFile(at("13.h"), WriteHeaderText(AmbrelProfile().models[1], 24000, w));
  EXPECT_NE(Lxcfg({"show", at("13.h")}).out.find("  pa_gain                   13  [outside 0..12]\n"),
            std::string::npos);
}

// plan's exact frequency and error for the two low bands (divider codes 3 and 2), computed by
// hand from the words: (N + F / 65536) x 24000 / D.
TEST_F(LxcfgInputs, PlanGivesExactFrequenciesForEveryDividerCode) {
  ASSERT_EQ(Lxcfg({"set", DefaultImage("LX7240"), "crystal=24000", "channel.0=162000", "channel.1=200000",
                   "-o", at("p.h")})
                .status,
            0);
  const Outcome plan = Lxcfg({"plan", at("p.h")});
  // 162000: 0x6ddb 0xffff (N 54 - 1, D 8); 200000: 0x437c 0x5555 (N 33, D 4).
  EXPECT_NE(plan.out.find("00     162000      162000    161999.954   -0.046  5/2"), std::string::npos)
      << plan.out;
  EXPECT_NE(plan.out.find("01     200000      200000    199999.969   -0.031  7/3"), std::string::npos)
      << plan.out;
}

}  // namespace
}  // namespace lx
