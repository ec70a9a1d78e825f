// lxcfg on a production line: inputs that are no image are refused, one number rule, no output
// silently lost to a terminal or a default file, hints that name real options.
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/header_format.h"
#include "tests/cli/lxcfg_runner.h"
#include "tests/support/files.h"
#include "tests/support/images.h"

namespace lx {
namespace {

using test::DefaultImage;
using test::Lxcfg;
using test::Outcome;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
namespace fs = std::filesystem;

class SafeDefaults : public ::testing::Test {
 protected:
  std::string at(const std::string& name) { return (work / name).string(); }
  TempDir work;
};

TEST_F(SafeDefaults, H2binRefusesWhatIsNoHeaderAndCountsWordLines) {
  const std::string full = ReadFile(DefaultImage("LX7250"));
  // The first 30 lines: the crystal line, the tags, and 25 word lines.
  std::string cut;
  for (std::size_t pos = 0, lines = 0; lines < 30; ++lines) {
    const std::size_t end = full.find('\n', pos);
    cut += full.substr(pos, end + 1 - pos);
    pos = end + 1;
  }
  WriteFile(at("readme.md"), "# Notes\n\nSee 0x64d8 in the docs, 16 channels.\n");
  WriteFile(at("image.bin"), std::string(192, '\x42'));
  WriteFile(at("cut.h"), cut);
  WriteFile(at("full.h"), full);
  const std::string noLines = ": no word lines (0x....,); not an EEPROM header, nothing written\n";
  const std::string counted = ": 25 word lines, not 96 (50 bytes)";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
    std::size_t bytes;  // of out.bin; 0: not written
  } cases[] = {
      {{"h2bin", at("readme.md"), at("out.bin")}, 1, "lxcfg: " + at("readme.md") + noLines, 0},
      {{"h2bin", at("image.bin"), at("out.bin")}, 1, "lxcfg: " + at("image.bin") + noLines, 0},
      {{"h2bin", "--strict", at("readme.md"), at("out.bin")}, 1, "lxcfg: " + at("readme.md") + noLines, 0},
      {{"h2bin", at("cut.h"), at("out.bin")}, 0, "lxcfg: warning: " + at("cut.h") + counted + "\n", 50},
      {{"h2bin", "--strict", at("cut.h"), at("out.bin")},
       1,
       "lxcfg: " + at("cut.h") + counted + "; --strict: nothing written\n",
       0},
      {{"h2bin", at("full.h"), at("out.bin")}, 0, "", 192},
      {{"h2bin", "--strict", at("full.h"), at("out.bin")}, 0, "", 192},
  };
  for (const auto& c : cases) {
    fs::remove(at("out.bin"));
    const Outcome r = Lxcfg(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[1];
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(fs::exists(at("out.bin")), c.bytes != 0) << c.args[1];
    if (c.bytes) {
      EXPECT_EQ(ReadFile(at("out.bin")).size(), c.bytes);
    }
  }
}

// Every number lxcfg takes is decimal or 0x hexadecimal; a leading 0 is no octal.
TEST_F(SafeDefaults, OneNumberRuleEverywhere) {
  const std::string tx = at("tx.h"), rx = at("rx.h");
  WriteFile(tx, ReadFile(DefaultImage("LX7250D")));
  WriteFile(rx, ReadFile(DefaultImage("LX7150")));
  const struct {
    const std::string* file;
    std::string hex, decimal;
  } same[] = {
      {&tx, "tx_id=0x1234", "tx_id=4660"},
      {&tx, "crystal=0x61a8", "crystal=25000"},
      {&tx, "crystal=0X61A8", "crystal=25000"},
      {&tx, "channel.3=0x93f10", "channel.3=605968"},
      {&tx, "channels=0x93f10,0x94c50", "channels=605968,609360"},
      {&tx, "pa_gain=0xa", "pa_gain=10"},
      {&tx, "pa_gain=010", "pa_gain=10"},
      {&tx, "blink_threshold=0x7f", "blink_threshold=127"},
      {&rx, "volume=0x1f", "volume=31"},
      {&rx, "audio_gain=0x7", "audio_gain=7"},
      {&rx, "snr_high_threshold=0xff", "snr_high_threshold=255"},
  };
  for (const auto& c : same) {
    const Outcome hex = Lxcfg({"set", *c.file, c.hex, "-o", "-"});
    const Outcome dec = Lxcfg({"set", *c.file, c.decimal, "-o", "-"});
    EXPECT_EQ(hex.status, 0) << c.hex << hex.err;
    EXPECT_EQ(hex.out, dec.out) << c.hex;
    EXPECT_NE(hex.out, ReadFile(*c.file)) << c.hex;
  }
  for (const char* refused :
       {"pa_gain=0xd", "volume=0x", "crystal=0x-5", "tx_id=0x10000", "crystal=--24000"}) {
    const Outcome r = Lxcfg({"set", refused[0] == 'v' ? rx : tx, refused});
    EXPECT_EQ(r.status, 1) << refused;
  }
  // Options follow the same rule.
  EXPECT_EQ(Lxcfg({"encode", "--model", "LX7250", "--xtal", "0x5dc0", "0x93f10"}).out,
            Lxcfg({"encode", "--model", "LX7250", "--xtal", "24000", "605968"}).out);
  EXPECT_EQ(Lxcfg({"plan", rx, "--suggest", "--from", "0x93f10", "--to", "0x99cf0", "--count", "0x4"}).out,
            Lxcfg({"plan", rx, "--suggest", "--from", "605968", "--to", "630000", "--count", "4"}).out);
  EXPECT_EQ(Lxcfg({"plan", rx, "--spacing", "0400"}).out, Lxcfg({"plan", rx, "--spacing", "400"}).out);
  EXPECT_EQ(Lxcfg({"encode", "--model", "LX7250", "--xtal", "24k", "606000"}).status, 2);
}

// Left-out outputs go to standard output, but never binary to a terminal and never into a file
// nobody named.
TEST_F(SafeDefaults, OutputsLeftOutGoToStandardOutputButNotToATerminal) {
  const std::string h = at("a.h"), bin = at("a.bin");
  WriteFile(h, ReadFile(DefaultImage("LX7250")));
  ASSERT_EQ(Lxcfg({"h2bin", h, bin}).status, 0);
  const struct {
    std::vector<std::string> args;
    bool terminal;
    int status;
    std::size_t outBytes;
  } cases[] = {
      {{"new", "--model", "LX7250"}, false, 0, 1938},
      {{"new", "--model", "LX7250"}, true, 2, 0},
      {{"new", "--model", "LX7250", "-o", "-"}, true, 0, 1938},
      {{"h2bin", h}, false, 0, 192},
      {{"h2bin", h}, true, 2, 0},
      {{"h2bin", h, "-"}, true, 2, 0},
      {{"bin2h", "--model", "LX7250", "--xtal", "24000", bin}, false, 0, 1938},
      {{"bin2h", "--model", "LX7250", "--xtal", "24000", bin}, true, 2, 0},
      {{"bin2h", "--model", "LX7250", "--xtal", "24000", bin, "-"}, true, 0, 1938},
  };
  const fs::path before = fs::current_path();
  fs::current_path(work.path());
  for (const auto& c : cases) {
    const Outcome r = Lxcfg(c.args, c.terminal);
    EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args.size() << " " << c.terminal;
    EXPECT_EQ(r.out.size(), c.outBytes) << c.args[0];
    if (c.status == 2) {
      EXPECT_TRUE(r.err.starts_with("lxcfg: standard output is a terminal: ")) << r.err;
    }
  }
  EXPECT_FALSE(fs::exists(work / "EEPROM.h"));
  EXPECT_FALSE(fs::exists(work / "EEPROM.bin"));
  fs::current_path(before);
}

// The real program on a pseudo-terminal: it asks for a file instead of writing one of its own.
TEST_F(SafeDefaults, ProgramOnATerminalWritesNoDefaultFile) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"new", "--model", "LX7250"}, {"h2bin", DefaultImage("LX7250")}}) {
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      if (::chdir(work.path().c_str()) != 0) ::_exit(97);
      std::vector<char*> argv{const_cast<char*>("lxcfg")};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(LXCFG_PROGRAM, argv.data());
      ::_exit(98);
    }
    std::string seen;
    char buf[512];
    for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0;) seen.append(buf, static_cast<std::size_t>(n));
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ::close(master);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2) << args[0] << ": " << seen;
    EXPECT_NE(seen.find("lxcfg: standard output is a terminal"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("#define"), std::string::npos) << "nothing of the image on the terminal";
    EXPECT_EQ(test::CountFiles(work.path()), 0) << args[0];
  }
}

// A file without a model line: the hint names the option of the command that was run.
TEST_F(SafeDefaults, HintsNameOptionsTheCommandHas) {
  WriteFile(at("untagged.h"), "#define X24P000MHZ\r\n0x1234,\r\n");
  const std::string tx = DefaultImage("LX7250"), rx = DefaultImage("LX7150");
  const std::string hint = ": the file declares no chip model; name one with ";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"show", at("untagged.h")}, 1, "lxcfg: " + at("untagged.h") + hint + "--model M\n"},
      {{"diff", at("untagged.h"), tx}, 1, "lxcfg: " + at("untagged.h") + hint + "--model-a M\n"},
      {{"diff", tx, at("untagged.h")}, 1, "lxcfg: " + at("untagged.h") + hint + "--model-b M\n"},
      {{"pair", tx, at("untagged.h")}, 1, "lxcfg: " + at("untagged.h") + hint + "--model-b M\n"},
      {{"diff", "--model-a", "LX7250", at("untagged.h"), tx}, 1, ""},  // differs: reg00
      {{"pair", at("untagged.h"), rx, "--model-a", "LX7250"}, 0, ""},
      {{"pair", tx, at("untagged.h"), "--model-b", "LX7250"},
       1,
       "lxcfg: " + at("untagged.h") + ": LX7250 is not a receiver model\n"},
      {{"diff", "--model-b", "LX7150", tx, at("untagged.h")}, 1, ""},
  };
  for (const auto& c : cases) {
    const Outcome r = Lxcfg(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(r.err, c.err);
  }
  EXPECT_NE(Lxcfg({"diff", "--model-a", "LX7250", at("untagged.h"), tx}).out.find("reg00: 0x1234 -> "),
            std::string::npos);
  EXPECT_EQ(Lxcfg({"--version"}).out, "lxcfg 1.0\n");
  const Outcome unknown = Lxcfg({"frobnicate"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(unknown.err.starts_with("lxcfg: unknown command 'frobnicate' (one of ")) << unknown.err;
  const Outcome usage = Lxcfg({"show", tx, "--bogus"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_TRUE(usage.err.starts_with("lxcfg: ")) << usage.err;
}

}  // namespace
}  // namespace lx
