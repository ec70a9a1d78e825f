// lxcfg on a production line: inputs that are no image are refused, one number rule, no output
// silently lost to a terminal or a default file, hints that name real options.
#include <gtest/gtest.h>

#include <map>

#include "core/header_format.h"
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
namespace fs = std::filesystem;

class LxcfgMistakes : public ::testing::Test {
 protected:
  std::string at(const std::string& name) { return (work / name).string(); }
  TempDir work;
};

TEST_F(LxcfgMistakes, H2binRefusesWhatIsNoHeaderAndCountsWordLines) {
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
       "lxcfg: " + at("cut.h") + counted + "; refused (--strict)\n",
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

// Every file of a folder (links as links), to see that a command changed none.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    const std::string name = fs::relative(e.path(), dir).string();
    if (e.is_symlink())
      files[name] = "-> " + fs::read_symlink(e.path()).string();
    else if (e.is_regular_file())
      files[name] = ReadFile(e.path());
  }
  return files;
}

// Careless commands of a production line: each is refused before anything is written.
TEST_F(LxcfgMistakes, CarelessCommandsAreRefusedAndEveryFileStaysAsItWas) {
  // The program's folder is the test's own, so that its default images are among the files.
  WriteFile(work / "Data" / "LX7250" / "EEPROM.h", ReadFile(DefaultImage("LX7250")));
  WriteFile(work / "Data" / "LX7240" / "EEPROM.h", ReadFile(DefaultImage("LX7240")));
  const std::string tx = at("tx.h"), bin = at("tx.bin"), notes = at("notes.txt"), rx = at("rx.h");
  const std::string lx7250 = (work / "Data" / "LX7250" / "EEPROM.h").string();
  WriteFile(tx, ReadFile(DefaultImage("LX7250")));
  WriteFile(rx, ReadFile(DefaultImage("LX7150")));
  WriteFile(at("empty.h"), "");
  ASSERT_EQ(Lxcfg({"h2bin", tx, bin}).status, 0);
  fs::copy_file(bin, at("old.bin"));
  WriteFile(notes, "# Notes\n\nchannels for the stage: 606 MHz\n");
  fs::create_symlink("tx.h", at("link.h"));
  fs::create_hard_link(tx, at("hard.h"));
  std::string misspelt = ReadFile(tx);
  misspelt.replace(misspelt.find("LX7250_REG"), 6, "LX7350");
  WriteFile(at("lx7350.h"), misspelt);
  const std::string full = ReadFile(tx);
  WriteFile(at("cut.h"), full.substr(0, full.find("0x", full.find("//reg29"))));  // 42 word lines
  const std::string xtal[] = {"--model", "LX7250", "--xtal", "24000"};
  const std::string itself = ": the output is also the input; nothing written";
  const std::string same = ": the output is the same file as " + tx + ", an input; nothing written";
  const std::string binary = ": binary data, not an EEPROM header; a binary image? lxcfg bin2h";
  const std::string noLines = ": no word lines (0x....,); not an EEPROM header; a binary image? lxcfg bin2h";
  const std::string force = "; nothing written (name another file, or give --force to replace it)\n";
  const std::string isDefault = ": the output is LX7250's default image; nothing written";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;  // the start of standard error
  } cases[] = {
      {{"h2bin", tx, tx}, 1, "lxcfg: " + tx + itself},
      {{"h2bin", tx, "-o", at("link.h")}, 1, "lxcfg: " + at("link.h") + same},
      {{"h2bin", tx, at("hard.h")}, 1, "lxcfg: " + at("hard.h") + same},
      {{"bin2h", xtal[0], xtal[1], xtal[2], xtal[3], bin, bin}, 1, "lxcfg: " + bin + itself},
      {{"bin2h", xtal[0], xtal[1], xtal[2], xtal[3], tx, bin},
       1,
       "lxcfg: " + tx + ": an EEPROM header, not a binary image; lxcfg h2bin " + tx + " OUT.bin"},
      {{"new", "--model", "LX7250", "-o", lx7250}, 1, "lxcfg: " + lx7250 + itself},
      // An existing output of the other kind, and every default image, for every writing command.
      {{"h2bin", tx, rx}, 1, "lxcfg: " + rx + ": holds an EEPROM header, not a binary image" + force},
      {{"bin2h", xtal[0], xtal[1], xtal[2], xtal[3], bin, at("old.bin")},
       1,
       "lxcfg: " + at("old.bin") + ": holds a binary image, not an EEPROM header" + force},
      {{"new", "--model", "LX7250", "-o", bin}, 1, "lxcfg: " + bin + ": holds a binary image"},
      {{"set", tx, "-o", bin}, 1, "lxcfg: " + bin + ": holds a binary image"},
      {{"plan", tx, "--svg", rx}, 1, "lxcfg: " + rx + ": holds an EEPROM header, not a picture" + force},
      {{"plan", tx, "--svg", bin}, 1, "lxcfg: " + bin + ": holds a binary image, not a picture" + force},
      {{"new", "--model", "LX7240", "-o", lx7250}, 1, "lxcfg: " + lx7250 + isDefault},
      {{"set", tx, "pa_gain=3", "-o", lx7250, "--force"}, 1, "lxcfg: " + lx7250 + isDefault},
      {{"h2bin", tx, lx7250}, 1, "lxcfg: " + lx7250 + isDefault},
      {{"set", tx, "-o", (work / "Data" / "LX7150" / "EEPROM.h").string()},
       1,
       "lxcfg: " + (work / "Data" / "LX7150" / "EEPROM.h").string() +
           ": the output is LX7150's default image"},
      {{"h2bin", at("empty.h"), at("out.bin")}, 1, "lxcfg: " + at("empty.h") + ": empty (0 bytes)\n"},
      {{"h2bin", bin, at("out.bin")},
       1,
       "lxcfg: " + bin +
           ": binary data, not an EEPROM header; nothing written (a binary image already? lxcfg bin2h"},
      {{"verify", tx, tx},
       1,
       "lxcfg: " + tx + ": text, not a read-back dump (raw binary from the programmer); lxcfg h2bin " + tx +
           " OUT.bin"},
      {{"set", tx, "pa_gain=3", "-o", at("hard.h")}, 1, "lxcfg: " + at("hard.h") + same + " (leave out -o"},
      {{"plan", tx, "--suggest", "-o", at("link.h")}, 1, "lxcfg: " + at("link.h") + same},
      {{"set", bin, "--model", "LX7250", "pa_gain=3"}, 1, "lxcfg: " + bin + binary},
      {{"set", notes, "--model", "LX7250"}, 1, "lxcfg: " + notes + noLines},
      {{"show", bin}, 1, "lxcfg: " + bin + binary},
      {{"diff", tx, bin}, 1, "lxcfg: " + bin + binary},
      {{"plan", notes, "--model", "LX7250"}, 1, "lxcfg: " + notes + noLines},
      {{"pair", bin, tx}, 1, "lxcfg: " + bin + binary},
      {{"show", at("lx7350.h")},
       1,
       "lxcfg: " + at("lx7350.h") +
           ": the model line declares LX7350: unknown chip model 'LX7350' (one of LX7240, "},
      {{"set", at("lx7350.h"), "--model", "LX7250", "pa_gain=3"},
       1,
       "lxcfg: " + at("lx7350.h") + ": the model line"},
      {{"set", at("cut.h"), "--strict", "pa_gain=3"},
       1,
       "lxcfg: " + at("cut.h") +
           ": 42 word lines, not 96; reg2a..reg5f are missing and read as 0x0000; refused"},
      {{"diff", tx, tx, tx}, 2, "lxcfg: diff takes 2 files, not 3\nUsage: lxcfg diff A.h B.h"},
      {{"h2bin", tx, at("out.bin"), "-o", at("other.bin")}, 2, "lxcfg: the output is named twice"},
      {{"plan", tx, "--suggest", "--json", "-o", at("out.h")}, 2, "lxcfg: --json and --csv print the plan"},
      {{"plan", tx, "--suggest", "--from", "620000", "--to", "610000"},
       2,
       "lxcfg: 620000..610000 kHz is an empty range: --from is above --to\n"},
      {{"show", tx, "--model", "LX725"}, 2, "lxcfg: --model: unknown chip model 'LX725' (one of"},
      {{"show", tx, "--modle", "LX7250"}, 2, "lxcfg: show: unknown option --modle (did you mean --model?)\n"},
      {{"sett", tx, "pa_gain=3"}, 2, "lxcfg: unknown command 'sett' (one of "},
      {{"set", tx, "pa_gian=3"}, 2, "lxcfg: 'pa_gian' is not a setting of LX7250 ("},
  };
  const std::map<std::string, std::string> before = Snapshot(work.path());
  for (const auto& c : cases) {
    const Outcome r = test::RunLxcfg(c.args, work.path());
    EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args[1] << ": " << r.err;
    EXPECT_TRUE(r.err.starts_with(c.err)) << r.err;
    EXPECT_EQ(Snapshot(work.path()), before) << c.args[0] << " " << c.args[1];
  }
  // Standard output onto an input: the shell opens it, lxcfg refuses to write it.
  for (const std::string command :
       {"h2bin tx.h >> tx.h", "show tx.h >> tx.h", "set - pa_gain=3 < tx.h >> tx.h",
        "bin2h --model LX7250 --xtal 24000 tx.bin >> tx.bin"}) {
    const Outcome r = test::Shell(std::string(LXCFG_PROGRAM) + " " + command, work.path());
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_NE(r.err.find(": standard output is this input file; nothing written"), std::string::npos)
        << r.err;
    EXPECT_EQ(Snapshot(work.path()), before) << command;
  }
  EXPECT_NE(Lxcfg({"sett"}).err.find("did you mean 'set'?"), std::string::npos);
  EXPECT_NE(Lxcfg({"set", tx, "pa_gian=3"}).err.find("did you mean 'pa_gain'?"), std::string::npos);
  // --force replaces a file of the other kind.
  EXPECT_EQ(Lxcfg({"h2bin", tx, rx, "--force"}).status, 0);
  EXPECT_EQ(ReadFile(rx), ReadFile(bin));
}

// Each warning, and --strict turning it into a refusal that writes and prints nothing.
TEST_F(LxcfgMistakes, StrictRefusesWhereAWarningWouldBeGiven) {
  const std::string tx = at("tx.h"), bin = at("tx.bin"), out = at("out.h");
  const std::string full = ReadFile(DefaultImage("LX7250"));
  WriteFile(tx, full);
  ASSERT_EQ(Lxcfg({"h2bin", tx, bin}).status, 0);
  std::string longer = full;
  longer.insert(longer.find("};"), "0x0000,   //reg60\r\n");
  WriteFile(at("97.h"), longer);
  WriteFile(at("42.h"), full.substr(0, full.find("0x", full.find("//reg29"))));
  WriteFile(at("1.h"), full.substr(0, full.find("0x", full.find("//reg00"))));
  std::string noCrystal = full;
  noCrystal.erase(0, noCrystal.find('\n') + 1);
  WriteFile(at("x0.h"), noCrystal);
  std::string rxNoCrystal = ReadFile(DefaultImage("LX7150"));
  rxNoCrystal.erase(0, rxNoCrystal.find('\n') + 1);
  WriteFile(at("rx0.h"), rxNoCrystal);
  // Cut inside the number of reg19, and a junk line after reg04.
  WriteFile(at("cut.h"), full.substr(0, full.find("//reg19") - 6));
  std::string junk = full;
  junk.insert(junk.find("0x", junk.find("//reg04")), "0xZZZZ, // bad\r\n");
  WriteFile(at("junk.h"), junk);
  WriteFile(at("big.bin"), ReadFile(bin) + std::string(4096, '\x5a'));
  const std::string noCrystalLine =
      ": no crystal frequency in the image (no line such as #define X24P000MHZ)";
  const std::string lines97 = ": 97 word lines, not 96; the lines after the 96th are ignored";
  const struct {
    std::vector<std::string> args;
    std::string warning;
  } cases[] = {
      {{"set", at("42.h"), "-o", out},
       at("42.h") + ": 42 word lines, not 96; reg2a..reg5f are missing and read as 0x0000"},
      {{"show", at("97.h")}, at("97.h") + lines97},
      {{"plan", at("97.h")}, at("97.h") + lines97},
      {{"diff", tx, at("97.h")}, at("97.h") + lines97},
      {{"verify", at("97.h"), bin}, at("97.h") + lines97},
      {{"h2bin", at("97.h"), at("out.bin")}, at("97.h") + ": 97 word lines, not 96 (194 bytes)"},
      {{"h2bin", at("1.h"), at("out.bin")}, at("1.h") + ": 1 word line, not 96 (2 bytes)"},
      {{"decode", "--model", "LX7250", "--xtal", "24000", "0x1234", "0x5678"},
       "0x1234 0x5678 are words LX7250's codec never writes at 24000 kHz; they read as 470000 kHz"},
      {{"encode", "--model", "LX7250", "--xtal", "24000", "606003"}, "606003 kHz is stored as 606000 kHz"},
      {{"encode", "--model", "LX7250", "--xtal", "22000", "606000"},
       "--xtal: crystal 22000 kHz is outside 23000..25000"},
      {{"set", tx, "channel.0=606003", "-o", out}, "channel.0: 606003 kHz is stored as 606000 kHz"},
      {{"bin2h", "--model", "LX7150", "--xtal", "24000", bin, out},
       bin + ": no LX7150 image holds reg17 0x0000 (always 0x0018): a transmitter's image?"},
      {{"bin2h", "--model", "LX7240", "--xtal", "24000", bin, out}, bin + ": channels 0,1,2"},
      {{"show", at("x0.h")}, at("x0.h") + ": no crystal frequency in the image"},
      {{"set", at("x0.h"), "pa_gain=3", "-o", out}, at("x0.h") + noCrystalLine + "; channels read as"},
      {{"diff", at("x0.h"), at("x0.h")}, at("x0.h") + noCrystalLine},
      {{"pair", at("x0.h"), at("rx0.h")}, at("x0.h") + noCrystalLine},
      {{"h2bin", at("x0.h"), at("out.bin")}, at("x0.h") + noCrystalLine},
      {{"verify", at("x0.h"), bin}, at("x0.h") + noCrystalLine},
      {{"show", at("cut.h")}, at("cut.h") + ": line 31: \"0x81\" has 2 hex digits, not 4"},
      {{"h2bin", at("cut.h"), at("out.bin")}, at("cut.h") + ": line 31: \"0x81\" has 2 hex digits, not 4"},
      {{"set", at("junk.h"), "-o", out},
       at("junk.h") + ": line 11: \"0xZZZZ, // bad\" has no hex digits; it is read as reg05 = 0x0000, and "
                      "every word line after it one register further on"},
      {{"show", tx, "--model", "LX7240"},
       tx + ": the file declares LX7250; it is read as LX7250, not as --model LX7240"},
      {{"bin2h", "--model", "LX7250", "--xtal", "24000", at("big.bin"), out},
       at("big.bin") + ": 4288 bytes; the 4096 after the first 192 are ignored"},
  };
  for (const auto& c : cases) {
    const Outcome lenient = Lxcfg(c.args);
    EXPECT_EQ(lenient.status, 0) << c.warning << ": " << lenient.err;
    EXPECT_NE(lenient.err.find("lxcfg: warning: " + c.warning), std::string::npos) << lenient.err;
    fs::remove(out);
    fs::remove(at("out.bin"));
    std::vector<std::string> args = c.args;
    args.push_back("--strict");
    const Outcome strict = Lxcfg(args);
    EXPECT_EQ(strict.status, 1) << c.warning;
    EXPECT_TRUE(strict.err.starts_with("lxcfg: " + c.warning)) << strict.err;
    EXPECT_NE(strict.err.find("; refused (--strict)\n"), std::string::npos) << strict.err;
    EXPECT_EQ(strict.err.find("refused (--strict)"), strict.err.rfind("refused (--strict)")) << "said once";
    EXPECT_EQ(strict.err.find("kept"), std::string::npos) << strict.err;
    EXPECT_EQ(strict.out, "") << c.warning;
    EXPECT_FALSE(fs::exists(out) || fs::exists(at("out.bin"))) << c.warning;
  }
}

// Every number lxcfg takes is decimal or 0x hexadecimal; a leading 0 is no octal.
TEST_F(LxcfgMistakes, OneNumberRuleEverywhere) {
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
    EXPECT_EQ(r.status, 2) << refused;
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
TEST_F(LxcfgMistakes, OutputsLeftOutGoToStandardOutputButNotToATerminal) {
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
TEST_F(LxcfgMistakes, ProgramOnATerminalWritesNoDefaultFile) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"new", "--model", "LX7250"}, {"h2bin", DefaultImage("LX7250")}}) {
    const Outcome r = test::RunProgram({args, "", work.path(), 0, true});
    const std::string& seen = r.out;
    EXPECT_EQ(r.status, 2) << args[0] << ": " << seen;
    EXPECT_NE(seen.find("lxcfg: standard output is a terminal"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("#define"), std::string::npos) << "nothing of the image on the terminal";
    EXPECT_EQ(test::CountFiles(work.path()), 0) << args[0];
  }
}

// A file without a model line: the hint names the option of the command that was run.
TEST_F(LxcfgMistakes, HintsNameOptionsTheCommandHas) {
  WriteFile(at("untagged.h"), test::Untagged(ReadFile(DefaultImage("LX7250"))));
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
