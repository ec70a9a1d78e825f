// show, set KEY=VALUE, diff, plan and pair, run through lx::cli::run on the shipped default
// images and on small constructed images.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <nlohmann/json.hpp>

#include "channel/codec.h"
#include "cli/lxcfg.h"
#include "core/header_format.h"
#include "core/register_map.h"
#include "tests/support/files.h"
#include "tests/support/images.h"
#include "tests/support/lxcfg.h"
#ifndef _WIN32
#include <expat.h>

#include "tests/support/program.h"
#endif

namespace lx {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WordsOf;
using test::WriteFile;

using test::DefaultImage;
using test::Lxcfg;
using test::Outcome;

using Json = nlohmann::ordered_json;

// The "settings" object of show --json as set's KEY=VALUE texts, in the order shown.
std::vector<std::string> SettingsOf(const std::string& text) {
  std::vector<std::string> assignments;
  const Json shown = Json::parse(text);
  for (const auto& [key, value] : shown.at("settings").items())
    assignments.push_back(key + "=" + (value.is_string() ? value.get<std::string>() : value.dump()));
  return assignments;
}

class LxcfgSettings : public ::testing::Test {
 protected:
  std::string at(const std::string& name) { return (work / name).string(); }
  // A header of `model` holding `words`, written as Save writes it.
  std::string Image(const std::string& name, int modelIndex, const ToolProfile& profile, const RegisterImage& words,
                    int32_t crystal = 24000) {
    WriteFile(at(name), WriteHeaderText(profile.models[static_cast<std::size_t>(modelIndex)], crystal, words));
    return at(name);
  }
  TempDir work;
};

// Every value of every field, written through set into a busy and an empty image, changes
// that field's bits (and a switch's companion field) and nothing else.
TEST_F(LxcfgSettings, EveryFieldThroughSetChangesExactlyItsBits) {
  const struct {
    const ToolProfile* profile;
    int model;
  } families[] = {{&AmbrelProfile(), 3}, {&OstrelProfile(), 0}};
  for (const auto& fam : families) {
    const ChipModel& model = fam.profile->models[static_cast<std::size_t>(fam.model)];
    const RegisterImage defaults = WordsOf(ReadFile(DefaultImage(model.name)));
    RegisterImage ones;
    ones.fill(0xFFFF);
    for (const RegisterImage& words : {defaults, ones}) {
      const std::string file = Image("in.h", fam.model, *fam.profile, words);
      // Compared with the image as set reads it, model fix-up included.
      const RegisterImage background = WordsOf(Lxcfg({"set", file, "-o", "-"}).out);
      for (const RegisterField& f : RegisterFields(fam.profile->family)) {
        std::vector<uint32_t> values;
        for (uint32_t v = 0; v <= std::min<uint32_t>(f.fieldMax(), 255); ++v)
          if (FieldValueAccepted(f, v)) values.push_back(v);
        if (f.maxValue > 255) values.insert(values.end(), {0x1234, 0x8000, 0xFFFE, f.maxValue});
        for (uint32_t v : values) {
          const std::string assignment = std::string(f.name) + "=" + FormatField(f, v);
          const Outcome r = Lxcfg({"set", file, assignment, "-o", "-"});
          ASSERT_EQ(r.status, 0) << assignment << ": " << r.err;
          const RegisterImage after = WordsOf(r.out);
          ASSERT_EQ(ReadField(f, after), v) << assignment;
          for (int w = 0; w < kEepromSize; ++w) {
            const auto i = static_cast<std::size_t>(w);
            uint16_t allowed = w == f.word ? f.mask() : 0;
            if (f.companion && w == f.companion->word) allowed |= f.companion->mask();
            ASSERT_EQ((background[i] ^ after[i]) & ~allowed, 0) << assignment << " touched word " << w;
          }
        }
      }
    }
  }
}

class DefaultImages : public LxcfgSettings, public ::testing::WithParamInterface<const char*> {};

TEST_P(DefaultImages, ShowJsonRoundTripsThroughSet) {
  const std::string original = DefaultImage(GetParam());
  const Outcome shown = Lxcfg({"show", original, "--json"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  const std::vector<std::string> settings = SettingsOf(shown.out);
  ASSERT_GE(settings.size(), 1u + 15u + 16u);

  // Applied to the image itself: byte for byte the same file.
  std::vector<std::string> args = {"set", original, "-o", "-"};
  args.insert(args.end(), settings.begin(), settings.end());
  const Outcome same = Lxcfg(args);
  ASSERT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, ReadFile(original));

  // Applied to a scrambled image of the model with another crystal: the same settings.
  const ModelRef m = FindModel(GetParam());
  RegisterImage ones;
  ones.fill(0xFFFF);
  args[1] = Image("scrambled.h", m.index, *m.profile, ones, 25000);
  args[3] = at("restored.h");
  const Outcome restored = Lxcfg(args);
  ASSERT_EQ(restored.status, 0) << restored.err;
  EXPECT_EQ(SettingsOf(Lxcfg({"show", at("restored.h"), "--json"}).out), settings);
}

TEST_P(DefaultImages, ReadsAsADatasheetAndPlansWithoutConflicts) {
  const Outcome shown = Lxcfg({"show", DefaultImage(GetParam())});
  EXPECT_EQ(shown.status, 0);
  EXPECT_TRUE(shown.out.starts_with(std::string(GetParam()) + " (")) << shown.out;
  EXPECT_NE(shown.out.find("crystal 24000 kHz"), std::string::npos);
  EXPECT_NE(shown.out.find("channel.15 "), std::string::npos);
  EXPECT_EQ(shown.out.find("[outside"), std::string::npos) << "every value is one the dialogs offer";
  const Outcome plan = Lxcfg({"plan", DefaultImage(GetParam())});
  EXPECT_EQ(plan.status, 0) << plan.out;
  EXPECT_NE(plan.out.find("16 distinct frequencies"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(AllModels, DefaultImages,
                         ::testing::Values("LX7240", "LX7250", "LX7240D", "LX7250D", "LX7140", "LX7150", "LXM7140"));

TEST_F(LxcfgSettings, SetRefusesBadAssignmentsAndWritesNothing) {
  const std::string file = at("a.h");
  WriteFile(file, ReadFile(DefaultImage("LX7250")));
  const std::string before = ReadFile(file);
  const struct {
    std::vector<std::string> assignments;
    std::string err;
  } cases[] = {
      {{"pa_gain=10", "channel.3=300000"},
       "channel.3: 300000 kHz is outside LX7250's range 470000..960000 kHz — "
       "请输入正确的频道:470000KHz~960000KHz\n"},
      {{"pa_gain=13"}, "pa_gain: '13' is not a valid value (0..12)\n"},
      {{"pilot_deviation=3KHz"},
       "pilot_deviation: '3KHz' is not a valid value (2.5KHz, 5KHz, 7.5KHz, 10KHz)\n"},
      {{"tx_id=5"}, "tx_id: LX7250 has no TX_ID\n"},
      {{"crystal=0"}, "crystal: 0 kHz is refused: the crystal frequency must be above 0 kHz\n"},
      {{"crystal=-24000"}, "crystal: -24000 kHz is refused: the crystal frequency must be above 0 kHz\n"},
      {{"channel.16=606000"}, "channel.16: no such channel (channel.0..channel.15)\n"},
      {{"pa_gain"}, "'pa_gain' is not KEY=VALUE\n"},
      {{"pa_gain=1", "channel.0=6o6000"}, "channel.0: '6o6000' is not a frequency in kHz\n"},
      {{"channels=606000,6o6000"}, "channel.1: '6o6000' is not a frequency in kHz\n"},
      {{"channels=606000,,610000"}, "channel.1: '' is not a frequency in kHz\n"},
      {{"channels=606000,300000"},
       "channel.1: 300000 kHz is outside LX7250's range 470000..960000 kHz — "
       "请输入正确的频道:470000KHz~960000KHz\n"},
      {{"channels=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17"},
       "channels: 17 frequencies given, at most 16\n"},
      {{"mic_sensitivity=22"},
       "mic_sensitivity: '22' is not a valid value (0dB, 4dB, 7dB, 10dB, 12dB, 16dB, 19dB, 22dB, 24dB, 28dB, "
       "31dB, 34dB, 36dB, 40dB, 43dB, 46dB); did you mean '22dB'?\n"},
  };
  // Mistakes on the command line: status 2, every refusal, then the synopsis once.
  const std::string usage =
      "Usage: lxcfg set FILE [--model M] [KEY=VALUE...] [-o OUT]\nRun 'lxcfg set --help' for more.\n";
  for (const auto& c : cases) {
    std::vector<std::string> args = {"set", file};
    args.insert(args.end(), c.assignments.begin(), c.assignments.end());
    const Outcome r = Lxcfg(args);
    EXPECT_EQ(r.status, 2) << c.err;
    EXPECT_EQ(r.err, "lxcfg: " + c.err + usage);
    EXPECT_EQ(ReadFile(file), before);
  }
  EXPECT_TRUE(Lxcfg({"set", DefaultImage("LX7150"), "afc_range=20KHz", "-o", "-"})
                  .err.ends_with("(±20KHz, ±40KHz, ±60KHz, ±90KHz); did you mean '+-20KHz'?\n" + usage));
  const Outcome volume = Lxcfg({"set", file, "volume=3"});
  EXPECT_EQ(volume.status, 2);
  EXPECT_TRUE(volume.err.starts_with("lxcfg: 'volume' is not a setting of LX7250 (crystal, pa_gain,"))
      << volume.err;
  EXPECT_EQ(ReadFile(file), before);
  EXPECT_EQ(Lxcfg({"set", DefaultImage("LX7240D"), "tx_id=70000", "-o", "-"}).err,
            "lxcfg: tx_id: '70000' is not a valid value (0..65535)\n" + usage);
}

TEST_F(LxcfgSettings, ChannelsSetsTheFirstChannelsInOrder) {
  const std::string a = at("a.h");
  WriteFile(a, ReadFile(DefaultImage("LX7150")));
  const Outcome r = Lxcfg({"set", a, "channels=606000,606725,608000", "-o", at("b.h")});
  ASSERT_EQ(r.status, 0) << r.err;
  const Outcome one = Lxcfg({"set", a, "channel.0=606000", "channel.1=606725", "channel.2=608000", "-o", at("c.h")});
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(ReadFile(at("b.h")), ReadFile(at("c.h")));
  EXPECT_NE(ReadFile(at("b.h")), ReadFile(a));
}

TEST_F(LxcfgSettings, CrystalKeepsChannelFrequenciesAndComesFirst) {
  const std::string a = at("a.h");
  WriteFile(a, ReadFile(DefaultImage("LX7150")));
  // The channel is encoded with the new crystal whatever the order on the command line.
  const Outcome r = Lxcfg({"set", a, "channel.2=606000", "crystal=25000", "-o", at("b.h")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Lxcfg({"diff", a, at("b.h")}).out, "crystal: 24000 -> 25000 kHz\nchannel.2: 614700 -> 606000 kHz\n");

  const Outcome odd = Lxcfg({"set", a, "crystal=22000", "-o", at("c.h")});
  EXPECT_EQ(odd.status, 0);
  EXPECT_EQ(odd.err,
            "lxcfg: warning: crystal 22000 kHz is outside 23000..25000 kHz; kept — "
            "晶振频率范围:23000KHz~25000KHz\n");
  EXPECT_EQ(Lxcfg({"diff", a, at("c.h")}).out, "crystal: 24000 -> 22000 kHz\n");

  // An image without a crystal line: its channel words are kept, not turned into 470000.
  RegisterImage w = WordsOf(ReadFile(a));
  const std::string noCrystal = Image("x0.h", 1, OstrelProfile(), w, 0);
  const Outcome fromZero = Lxcfg({"set", noCrystal, "crystal=24000", "-o", "-"});
  EXPECT_EQ(fromZero.status, 0);
  EXPECT_EQ(WordsOf(fromZero.out), w);
  EXPECT_EQ(Lxcfg({"set", noCrystal, "channel.0=606000"}).status, 1);
  // Given together, the channel is encoded with the new crystal.
  const Outcome both = Lxcfg({"set", noCrystal, "crystal=24000", "channel.0=606000", "-o", at("x1.h")});
  EXPECT_EQ(both.status, 0) << both.err;
  EXPECT_NE(Lxcfg({"show", at("x1.h")}).out.find("  channel.0    606000 kHz"), std::string::npos);
}

TEST_F(LxcfgSettings, DiffListsSettingsThenWordsOutsideEverySetting) {
  const RegisterImage base = WordsOf(ReadFile(DefaultImage("LX7240D")));
  const std::string a = Image("a.h", 2, AmbrelProfile(), base);
  const struct {
    const char* what;
    int word;
    uint16_t value;
    std::string expected;
  } cases[] = {
      {"nothing", 0x1c, base[0x1c], ""},
      {"a setting", 0x1c, static_cast<uint16_t>(base[0x1c] | 0x0200), "pre_emphasis: on -> off\n"},
      {"a threshold", 0x16, static_cast<uint16_t>((base[0x16] & 0x00FF) | 0x6400),
       "blink_threshold: 112 (1050 mV) -> 100 (937.5 mV)\n"},
      {"tx_id", 0x17, 0x1234, "tx_id: 1 (0x0001) -> 4660 (0x1234)\n"},
      {"a word no setting owns", 0x05, 0x1234, "reg05: 0x0000 -> 0x1234\n"},
      {"a free bit of an owned word", 0x1c, static_cast<uint16_t>(base[0x1c] | 0x8000), "reg1c: 0x00e8 -> 0x80e8\n"},
  };
  for (const auto& c : cases) {
    RegisterImage w = base;
    w[static_cast<std::size_t>(c.word)] = c.value;
    const Outcome r = Lxcfg({"diff", a, Image("b.h", 2, AmbrelProfile(), w)});
    EXPECT_EQ(r.out, c.expected) << c.what;
    EXPECT_EQ(r.status, c.expected.empty() ? 0 : 1) << c.what;
  }
  // The acceptance example: exactly the two changes.
  ASSERT_EQ(Lxcfg({"set", a, "channel.0=606000", "pa_gain=10", "-o", at("c.h")}).status, 2)
      << "606000 is no LX7240D channel";
  ASSERT_EQ(Lxcfg({"set", a, "channel.0=206000", "pa_gain=10", "-o", at("c.h")}).status, 0);
  EXPECT_EQ(Lxcfg({"diff", a, at("c.h")}).out, "pa_gain: 8 -> 10\nchannel.0: 174000 -> 206000 kHz\n");
  const Json json = Json::parse(Lxcfg({"diff", a, at("c.h"), "--json"}).out);
  EXPECT_EQ(json.at("settings").at(0), (Json{{"key", "pa_gain"}, {"old", 8}, {"new", 10}})) << json.dump();
  EXPECT_EQ(json.at("same"), false);
  EXPECT_EQ(Lxcfg({"diff", a, at("missing.h")}).status, 1);
}

TEST_F(LxcfgSettings, PairReportsWhatKeepsAPairFromWorking) {
  const std::string rx = DefaultImage("LX7150");
  const struct {
    std::vector<std::string> txChanges;
    std::string expected;
  } cases[] = {
      {{}, "consistent: LX7250 and LX7150\n"},
      {{"pilot=off"}, "pilot off (transmitter) vs pilot_automute on (receiver)\n1 mismatch\n"},
      {{"pre_emphasis=off", "compressor=off"},
       "pre_emphasis off (transmitter) vs de_emphasis on (receiver)\n"
       "compressor off (transmitter) vs expander on (receiver)\n2 mismatches\n"},
      {{"channel.4=606000"}, "channel.4: 606000 kHz (transmitter) vs 615550 kHz (receiver)\n1 mismatch\n"},
      {{"crystal=25000"}, "crystal: 25000 kHz (transmitter) vs 24000 kHz (receiver)\n1 mismatch\n"},
      {{"pa_gain=3", "mic_sensitivity=0dB"}, "consistent: LX7250 and LX7150\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"set", DefaultImage("LX7250"), "-o", at("tx.h")};
    args.insert(args.end(), c.txChanges.begin(), c.txChanges.end());
    ASSERT_EQ(Lxcfg(args).status, 0);
    const Outcome r = Lxcfg({"pair", at("tx.h"), rx});
    EXPECT_EQ(r.out, c.expected);
    EXPECT_EQ(r.status, c.expected.starts_with("consistent") ? 0 : 1);
  }
  EXPECT_EQ(Lxcfg({"pair", DefaultImage("LX7240"), DefaultImage("LXM7140")}).status, 0);
  const Outcome swapped = Lxcfg({"pair", rx, DefaultImage("LX7250")});
  EXPECT_EQ(swapped.status, 1) << "refused, not a usage error";
  EXPECT_NE(swapped.err.find("LX7150 is not a transmitter model"), std::string::npos);
}

TEST_F(LxcfgSettings, PlanFindsIntermodulationAndWritesCsv) {
  std::vector<std::string> args = {"set", DefaultImage("LX7250"), "-o", at("p.h"), "channel.0=590000",
                                   "channel.1=595000"};
  for (int k = 2; k < 16; ++k) args.push_back("channel." + std::to_string(k) + "=600000");
  ASSERT_EQ(Lxcfg(args).status, 0);

  // The answer leads; a line per channel counts what it takes part in; --verbose lists it all.
  const Outcome plan = Lxcfg({"plan", at("p.h")});
  EXPECT_EQ(plan.status, 1);
  EXPECT_TRUE(plan.out.starts_with(
      "LX7250, crystal 24000 kHz: 3 distinct frequencies, NOT compatible: 1 shared frequency, 2 conflicts\n"))
      << plan.out;
  EXPECT_NE(plan.out.find("00     590000      590000"), std::string::npos) << plan.out;
  EXPECT_EQ(plan.out.find("2*595000-590000"), std::string::npos) << "details only with --verbose";
  const Outcome verbose = Lxcfg({"plan", at("p.h"), "--verbose"});
  EXPECT_NE(verbose.out.find("im3     2*595000-590000 = 600000 kHz, 0 kHz from channel 600000 (ch 02,03,04"),
            std::string::npos) << verbose.out;
  EXPECT_NE(verbose.out.find("shared  600000 kHz on channels 02,03,04,05,06,07,08,09,10,11,12,13,14,15"),
            std::string::npos) << verbose.out;
  // 590000+600000-595000 lands on its own third tone: the im3 lines above say it already.
  EXPECT_EQ(verbose.out.find("  im3x    "), std::string::npos) << verbose.out;

  // Without the product guards only the shared frequency is left, and it still fails the plan.
  const Outcome guardsOff = Lxcfg({"plan", at("p.h"), "--im3", "0", "--im3x", "0"});
  EXPECT_EQ(guardsOff.status, 1);
  EXPECT_NE(guardsOff.out.find("NOT compatible: 1 shared frequency\n"), std::string::npos) << guardsOff.out;
  const Outcome csv = Lxcfg({"plan", at("p.h"), "--csv"});
  EXPECT_TRUE(csv.out.starts_with("Channel,Frequency (MHz)\n00,590.000\n01,595.000\n02,600.000\n")) << csv.out;
  const Json json = Json::parse(Lxcfg({"plan", at("p.h"), "--json", "--spacing", "6000"}).out);
  const Json& spacing = json.at("conflicts").at(0);
  EXPECT_EQ(spacing.at("kind"), "spacing") << json.dump();
  EXPECT_EQ(spacing.at("sources"), Json::array({590000, 595000}));
  EXPECT_EQ(json.at("compatible"), false);
  const double exact = json.at("channels").at(0).at("exact");
  EXPECT_NEAR(exact, 590000.0, 0.5) << "kHz, to the metre";
  EXPECT_NEAR(exact * 1000, std::round(exact * 1000), 1e-6) << "three decimals";
  EXPECT_EQ(Lxcfg({"plan", at("p.h"), "--spacing", "-1"}).status, 2);
  EXPECT_EQ(json.at("shared").at(0).at("khz"), 600000);
  EXPECT_EQ(json.at("shared").at(0).at("channels").size(), 14u);
}

#ifndef _WIN32
// The elements of an SVG document by their class, with their stroke; nullopt when the text is
// not well-formed XML.
std::optional<std::multimap<std::string, std::string>> SvgElements(const std::string& svg) {
  std::multimap<std::string, std::string> found;
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XML_SetUserData(parser, &found);
  XML_SetStartElementHandler(parser, [](void* data, const XML_Char*, const XML_Char** attributes) {
    std::string cls, stroke;
    for (const XML_Char** a = attributes; *a; a += 2) {
      if (std::string(a[0]) == "class") cls = a[1];
      if (std::string(a[0]) == "stroke") stroke = a[1];
    }
    if (!cls.empty()) static_cast<std::multimap<std::string, std::string>*>(data)->emplace(cls, stroke);
  });
  const bool ok = XML_Parse(parser, svg.data(), static_cast<int>(svg.size()), 1) == XML_STATUS_OK;
  XML_ParserFree(parser);
  if (!ok) return std::nullopt;
  return found;
}

TEST_F(LxcfgSettings, PlanKeepsClearOfExclusionsAndTheScanAndDrawsThePlan) {
  const std::string rx = DefaultImage("LX7150");  // channels 614000..630400, compatible
  const Outcome excluded = Lxcfg({"plan", rx, "--exclude", "613900-614100", "--verbose"});
  EXPECT_EQ(excluded.status, 1);
  EXPECT_NE(excluded.out.find("NOT compatible: 1 channel in excluded ranges\n"), std::string::npos)
      << excluded.out;
  EXPECT_NE(excluded.out.find("  excluded 614000 kHz lies in 613900-614100 (ch 00)\n"), std::string::npos);
  WriteFile(at("scan.csv"), "MHz,dBm\n614.2,-100\n614.3,-45\n614.4,-100\nnoise\n");
  const Outcome loud = Lxcfg({"plan", rx, "--scan", at("scan.csv"), "--threshold", "-60"});
  EXPECT_EQ(loud.status, 1);
  EXPECT_NE(loud.out.find("NOT compatible: 1 channel on occupied frequencies\n"), std::string::npos)
      << loud.out;
  EXPECT_NE(loud.err.find("scan.csv: 1 malformed line skipped (line 5)"), std::string::npos) << loud.err;
  EXPECT_EQ(Lxcfg({"plan", rx, "--scan", at("scan.csv"), "--threshold", "-40"}).status, 0);

  // The suggestion leaves the excluded range and passes the check that names it.
  ASSERT_EQ(Lxcfg({"plan", rx, "--suggest", "--from", "600000", "--to", "640000", "--exclude",
                   "606000-612000", "--scan", at("scan.csv"), "-o", at("s.h")})
                .status,
            0);
  EXPECT_EQ(Lxcfg({"plan", at("s.h"), "--exclude", "606000-612000", "--scan", at("scan.csv")}).status, 0);
  std::istringstream csv(Lxcfg({"plan", at("s.h"), "--csv"}).out);
  for (std::string row; std::getline(csv, row);)
    if (row[0] != 'C') {
      EXPECT_TRUE(row.substr(3) < "606.000" || row.substr(3) > "612.000") << row;
    }

  // One channel line per channel in use, conflicts in red, as the window draws them.
  std::vector<std::string> args = {"set", rx, "-o", at("c.h"), "channel.1=614100"};
  ASSERT_EQ(Lxcfg(args).status, 0);
  EXPECT_EQ(Lxcfg({"plan", at("c.h"), "--svg", at("c.svg")}).status, 1);
  const auto drawn = SvgElements(ReadFile(at("c.svg")));
  ASSERT_TRUE(drawn) << "not well-formed";
  EXPECT_EQ(drawn->count("channel"), 16u);
  std::size_t red = 0;
  for (auto [it, end] = drawn->equal_range("channel"); it != end; ++it) red += it->second == "#D01010";
  std::size_t involved = 0;  // channels the table counts conflicts for
  const Json table = Json::parse(Lxcfg({"plan", at("c.h"), "--json"}).out);
  for (const Json& channel : table.at("channels")) involved += channel.at("conflicts").get<int>() > 0;
  EXPECT_EQ(red, involved);
  EXPECT_GE(red, 2u) << "614000 and 614100 are 100 kHz apart";
  ASSERT_EQ(Lxcfg({"plan", rx, "--suggest", "--count", "4", "--svg", at("four.svg")}).status, 0);
  EXPECT_EQ(SvgElements(ReadFile(at("four.svg")))->count("channel"), 4u);

  struct Refusal {
    std::vector<std::string> args;
    int status;
    std::string err;
  } refusals[] = {
      {{"plan", rx, "--exclude", "612000-606000"},
       2,
       "--exclude: '612000-606000': the range's low end is above"},
      {{"plan", rx, "--scan", at("none.csv")}, 1, "none.csv"},
      {{"plan", rx, "--scan", at("c.h")}, 1, "no readable scan line"},
      {{"plan", rx, "--threshold", "-50"}, 2, "--threshold requires --scan"},
      {{"plan", at("c.h"), "--svg", at("c.h")}, 1, "the output is also the input"},
      {{"plan", rx, "--scan", at("scan.csv"), "--svg", at("scan.csv")}, 1, "the output is also the input"},
      {{"plan", rx, "--scan", at("scan.csv"), "--strict"}, 1, "1 malformed line skipped (line 5); refused"},
  };
  for (const Refusal& r : refusals) {
    const Outcome o = Lxcfg(r.args);
    EXPECT_EQ(o.status, r.status) << r.args.back() << o.err;
    EXPECT_NE(o.err.find(r.err), std::string::npos) << o.err;
  }
  EXPECT_EQ(ReadFile(at("scan.csv")).substr(0, 8), "MHz,dBm\n");
}
#endif

// A transmitter image relabelled as another band's model converts, but every channel then holds
// words that model's codec never writes: show marks them, plan fails, bin2h warns.
TEST_F(LxcfgSettings, ChannelWordsOfAnotherModelAreFlagged) {
  ASSERT_EQ(Lxcfg({"h2bin", DefaultImage("LX7240"), at("a.bin")}).status, 0);
  const Outcome relabel = Lxcfg({"bin2h", "--model", "LX7250", "--xtal", "24000", at("a.bin"), at("b.h")});
  EXPECT_EQ(relabel.status, 0);
  EXPECT_NE(relabel.err.find("lxcfg: warning: " + at("a.bin") +
                             ": channels 0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15 hold words"),
            std::string::npos)
      << relabel.err;
  const Outcome plan = Lxcfg({"plan", at("b.h")});
  EXPECT_EQ(plan.status, 1);
  EXPECT_NE(plan.out.find("16 channels not written by LX7250's codec at this crystal"), std::string::npos) << plan.out;
  EXPECT_NE(Lxcfg({"show", at("b.h")}).out.find("not this model's codec"), std::string::npos);
  EXPECT_EQ(Json::parse(Lxcfg({"show", at("b.h"), "--json"}).out).at("channels").at(0).at("codec"), false);

  // The same binary read back as its own model is clean.
  const Outcome own = Lxcfg({"bin2h", "--model", "LX7240", "--xtal", "24000", at("a.bin"), at("c.h")});
  EXPECT_EQ(own.err, "");
  EXPECT_EQ(Lxcfg({"plan", at("c.h")}).status, 0);
  EXPECT_EQ(Lxcfg({"show", at("c.h")}).out.find("not this model's codec"), std::string::npos);
}

TEST_F(LxcfgSettings, SuggestWritesAPlanThatPlanAccepts) {
  for (const char* model : {"LX7240", "LX7250", "LX7150", "LXM7140"}) {
    const std::string in = at(std::string(model) + ".h"), out = at(std::string(model) + "-plan.h");
    ASSERT_EQ(Lxcfg({"new", "--model", model, "-o", in}).status, 0);
    const Outcome printed = Lxcfg({"plan", in, "--suggest"});
    ASSERT_EQ(printed.status, 0) << printed.err;
    EXPECT_TRUE(printed.out.starts_with("channels=")) << printed.out;
    const Outcome written = Lxcfg({"plan", in, "--suggest", "-o", out});
    ASSERT_EQ(written.status, 0) << written.err;
    const Outcome check = Lxcfg({"plan", out});
    EXPECT_EQ(check.status, 0) << check.out;
    // What was printed is what was written.
    const Outcome same = Lxcfg({"set", in, printed.out.substr(0, printed.out.size() - 1), "-o", at("same.h")});
    ASSERT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(ReadFile(at("same.h")), ReadFile(out)) << model;
  }
  const std::string rx = at("LX7150.h");
  const Outcome narrow = Lxcfg({"plan", rx, "--suggest", "--from", "606000", "--to", "606500"});
  EXPECT_EQ(narrow.status, 1);
  EXPECT_EQ(narrow.err,
            "lxcfg: only 2 of 16 channels fit in 606000..606500 kHz on a 25 kHz step with these guards\n");
  EXPECT_EQ(Lxcfg({"plan", rx, "--suggest", "--from", "606000", "--to", "606500", "--count", "2"}).status, 0);
  EXPECT_EQ(Lxcfg({"plan", rx, "--suggest", "--from", "100000"}).status, 2);
  // Off the step grid, the plan starts at the next grid frequency above --from.
  EXPECT_EQ(Lxcfg({"plan", rx, "--suggest", "--from", "606010", "--count", "1"}).out, "channels=606025\n");
  EXPECT_EQ(Lxcfg({"plan", rx, "--from", "606000"}).status, 2) << "--from needs --suggest";
}

#ifndef _WIN32  // a POSIX shell pipeline; the Windows test script runs lxcfg.exe itself
TEST(LxcfgProgram, SetThenDiffPrintsExactlyTheTwoChanges) {
  TempDir dir;
  const std::string a = (dir / "a.h").string(), b = (dir / "b.h").string();
  const std::string cmd = std::string(LXCFG_PROGRAM) + " new --model LX7250 -o " + a + " && " + LXCFG_PROGRAM + " set " +
                          a + " channel.0=606000 pa_gain=10 -o " + b + " && " + LXCFG_PROGRAM + " diff " + a + " " + b;
  const Outcome r = test::Shell(cmd);
  const std::string& out = r.out;
  EXPECT_EQ(out, "pa_gain: 8 -> 10\nchannel.0: 614000 -> 606000 kHz\n");
  EXPECT_EQ(r.status, 1) << "diff answers 1: the files differ";
}
#endif

}  // namespace
}  // namespace lx
