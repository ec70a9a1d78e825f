// The frequency-planning window on the headless host: Apply writes the channel words alone and
// only when clicked; a conflict shows in the plot, in the list and in lxcfg plan's status alike;
// a scan file is read, its bad lines named, and the suggestion keeps off its loud ranges.
#include <fmt/format.h>

#include <cstdio>
#include <sstream>

#include "app/plan_dialog.h"
#include "app/scenario.h"
#include "app_fixture.h"
#include "channel/codec.h"
#include "resources/ids.h"
#include "settings/frequency_plan.h"
#include "tests/support/lxcfg.h"

namespace lx::app::testing {
namespace {

namespace plan = res::planning;

std::vector<int64_t> Bank(const ToolState& s) {
  std::vector<int64_t> bank;
  for (int k = 0; k < kChannelCount; ++k)
    bank.push_back(DecodeChannel(s.profile(), s.chipModel, s.crystalKHz, ReadChannelWords(s.words, k)));
  return bank;
}

const plot::Plot& PlotOf(ui::Dialog& d) { return *d.at(plan::kPlot).plot; }

TEST(PlanWindow, ApplyWritesTheChannelWordsAloneAndOnlyWhenClicked) {
  struct Row {
    const char* how;  // how the window ends
    bool apply;
  } rows[] = {{"escape", false}, {"close", false}, {"close button", false}, {"escape", true}};
  for (const Row& r : rows) {
    ToolWindow w(OstrelTool());
    w.state.SelectChipModel(1);
    for (int i = 0; i < kEepromSize; ++i) w.state.words[static_cast<std::size_t>(i)] ^= 0x0100 * (i % 3);
    const RegisterImage before = w.state.words;
    RegisterImage afterSuggest{};
    w.host.Queue(ui::Action(ui::Verb::Type, plan::kExclusions, 0, "614000-615000"));
    w.host.Queue(ui::Action(ui::Verb::Click, plan::kSuggest));
    w.host.Queue(ui::Action::Call([&] { afterSuggest = w.state.words; }));
    if (r.apply) w.host.Queue(ui::Action(ui::Verb::Click, plan::kApply));
    if (std::string(r.how) == "close button")
      w.host.Queue(ui::Action(ui::Verb::Click, ui::kIdCancel));
    else
      w.host.Queue(std::string(r.how) == "close" ? ui::Action(ui::Verb::Close)
                                                 : ui::Action::Press(ui::Key::Escape));
    w.host.Command(res::kCmdPlan);
    EXPECT_EQ(afterSuggest, before) << "Suggest writes nothing";
    for (int i = 0; i < kEepromSize; ++i) {
      const auto at = static_cast<std::size_t>(i);
      const bool channelWord = i >= 0x40 && i <= 0x5f;
      if (!r.apply || !channelWord) {
        EXPECT_EQ(w.state.words[at], before[at]) << r.how << " reg " << i;
      }
    }
    if (!r.apply) continue;
    EXPECT_NE(w.state.words, before);
    settings::PlanInputs in;
    in.exclusions = {{614000, 615000}};
    const std::vector<int64_t> bank = Bank(w.state);
    EXPECT_TRUE(settings::CheckPlan(bank, in).compatible())
        << settings::ConflictListing(settings::CheckPlan(bank, in), in);
  }
}

TEST(PlanWindow, AConflictIsRedInThePlotListedAndFailsLxcfgPlanAlike) {
  ToolWindow w(AmbrelTool());
  w.state.SelectChipModel(1);  // LX7250: 614000 and 614300 are the closest channels
  const std::string file = (w.work / "image.h").string();
  ASSERT_TRUE(w.state.SaveHeader(file).ok);
  std::string page;
  std::vector<std::string> red;
  w.host.Queue(ui::Action(ui::Verb::Type, plan::kSpacing, 0, "320"));
  w.host.Queue(ui::Action::Press(ui::Key::Tab));
  w.host.Queue(ui::Action::Call([&] {
    page = w.host.top()->GetDlgItemText(plan::kList);
    for (const plot::Item& i : PlotOf(*w.host.top()).items)
      if (i.kind == plot::ItemKind::Channel && i.conflict) red.push_back(i.label);
  }));
  w.host.Command(res::kCmdPlan);
  EXPECT_EQ(red, (std::vector<std::string>{"CH00", "CH01"}));
  const test::Outcome cli = test::RunLxcfg({"plan", file, "--spacing", "320", "--verbose"}, LX_PROGRAM_DIR);
  EXPECT_EQ(cli.status, 1);
  const std::string listing =
      "guards (kHz): spacing 320, im3 100, im3x 50, im5 off\n"
      "  spacing 614000 and 614300 kHz are 300 kHz apart (ch 00)\n";
  EXPECT_NE(page.find("\n" + listing + "channels (kHz):"), std::string::npos) << page;
  EXPECT_TRUE(cli.out.ends_with("\n" + listing)) << cli.out;
  EXPECT_NE(page.find("NOT compatible: 1 conflict\n"), std::string::npos) << page;
}

TEST(PlanWindow, AnImportedScanIsDrawnItsBadLinesNamedAndItsLoudRangesAvoided) {
  ToolWindow w(OstrelTool());
  w.state.SelectChipModel(1);
  WriteFile(w.work / "site.csv", "frequency,level\n613900,-100\n614000,-30\n614100,-100\n614,x\n");
  std::string scanLabel, page;
  std::size_t tracePoints = 0;
  w.host.Queue(ui::Action(ui::Verb::Type, plan::kInUse, 0, "4"));
  w.host.Queue(ui::Action(ui::Verb::Click, plan::kImportScan));
  w.host.AnswerFile((w.work / "site.csv").string());
  w.host.Queue(ui::Action(ui::Verb::Click, plan::kSuggest));
  w.host.Queue(ui::Action::Call([&] {
    ui::Dialog& d = *w.host.top();
    scanLabel = d.GetDlgItemText(plan::kScanName);
    page = d.GetDlgItemText(plan::kList);
    for (const plot::Item& i : PlotOf(d).items) tracePoints += i.kind == plot::ItemKind::Trace;
  }));
  w.host.Queue(ui::Action(ui::Verb::Click, plan::kApply));
  w.host.Command(res::kCmdPlan);
  ASSERT_EQ(w.host.messages().size(), 1u);
  EXPECT_EQ(w.host.messages()[0].text, "1 malformed line skipped (line 5)");
  EXPECT_EQ(scanLabel, "site.csv: frequency,level CSV 3 points");
  EXPECT_EQ(tracePoints, 3u);
  EXPECT_NE(page.find("occupied above -80 dB: 613950-614050 kHz"), std::string::npos) << page;
  const std::vector<int64_t> bank = Bank(w.state);
  EXPECT_GT(bank[0], 614050) << "the band's low end is loud";
}

TEST(PlanWindow, WithoutAModelNothingIsReadAndSuggestIsOff) {
  ToolWindow w(AmbrelTool());
  std::string page;
  bool suggest = true;
  w.host.Queue(ui::Action::Call([&] {
    page = w.host.top()->GetDlgItemText(plan::kList);
    suggest = w.host.top()->at(plan::kSuggest).enabled;
  }));
  w.host.Command(res::kCmdPlan);
  EXPECT_EQ(page, "未选择芯片型号，无法读取频道。");
  EXPECT_FALSE(suggest);
}

}  // namespace
}  // namespace lx::app::testing

namespace lx::app::testing {
namespace {

// The planning session users follow: open the window, exclude 606000-612000, start the band
// there, Suggest, Apply, save. The saved bank lies beside the one it replaces (614000 kHz up),
// clear of the exclusion, and passes lxcfg plan with it.
TEST(PlanWindow, ASuggestedAndAppliedBankIsSavedClearOfTheExclusion) {
  const TempDir dir;
  std::ostringstream out;
  ASSERT_EQ(
      RunScenario(
          OstrelTool(), LX_PROGRAM_DIR, dir.path(),
          fmt::format(
              "click {}\ncommand {}\ntype {} 606000-612000\ntype {} 606000\nclick {}\nclick {}\nescape\n"
              "command {}\nfile saved.h\nescape\n",
              res::main_window::kModelRadios[1], res::kCmdPlan, res::planning::kExclusions,
              res::planning::kFrom, res::planning::kSuggest, res::planning::kApply, res::kCmdSave),
          out),
      0)
      << out.str();
  const std::string saved = (dir.path() / "saved.h").string();
  const test::Outcome checked = test::RunLxcfg({"plan", saved, "--exclude", "606000-612000"}, LX_PROGRAM_DIR);
  EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
  std::istringstream table(checked.out);
  int channels = 0;
  for (std::string line; std::getline(table, line);) {
    int ch = 0;
    long long khz = 0;
    if (std::sscanf(line.c_str(), "%2d %lld", &ch, &khz) != 2 || line.size() < 3 || line[2] != ' ') continue;
    ++channels;
    EXPECT_TRUE(khz > 612000 && khz <= 631000) << line;
  }
  EXPECT_EQ(channels, kChannelCount) << checked.out;
  EXPECT_EQ(test::RunLxcfg({"plan", saved}, LX_PROGRAM_DIR).status, 0);
}

}  // namespace
}  // namespace lx::app::testing
