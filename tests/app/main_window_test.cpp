// The main window of both tools through the headless host.
#include <algorithm>
#include <chrono>

#include "app/register_dialog.h"
#include "app_fixture.h"
#include "core/header_format.h"
#include "core/messages.h"
#include "resources/channel_ids.h"
#include "resources/ids.h"
#include "tests/support/lxcfg.h"
#ifndef _WIN32
#include "tests/support/endless.h"
#endif

namespace lx::app::testing {
namespace {

using res::main_window::kModelRadios;
using res::main_window::kPictureButtons;

struct ToolCase {
  const ToolDefinition& (*tool)();
  std::vector<std::string> folders;
  std::string aboutEntry;
};

class StartUp : public ::testing::TestWithParam<ToolCase> {};

TEST_P(StartUp, NothingSelectedButtonsDisabledDataFoldersMade) {
  ToolWindow w(GetParam().tool());
  EXPECT_TRUE(w.VisibleChecked().empty());
  EXPECT_EQ(w.main.radioValue(), -1);
  EXPECT_TRUE(w.ButtonsEnabled(false));
  for (const std::string& f : GetParam().folders) EXPECT_TRUE(fs::is_directory(w.work / f)) << f;
  EXPECT_EQ(w.state.headerPath, (w.work / "data").string());
  EXPECT_EQ(w.state.binaryPath, w.state.headerPath);
  EXPECT_EQ(w.state.chipModel, -1);
  EXPECT_EQ(w.state.crystalKHz, 0);
  EXPECT_EQ(w.main.menuId(), res::kMainMenu);
  ASSERT_EQ(w.host.systemMenu(w.main).size(), 1u);
  EXPECT_EQ(w.host.systemMenu(w.main)[0].second, GetParam().aboutEntry);
  // Disabled picture buttons do not respond.
  w.host.Click(res::main_window::kFirstSettings);
  EXPECT_EQ(w.host.opened(), std::vector<int>{res::kMainDialog});
}

INSTANTIATE_TEST_SUITE_P(Tools, StartUp,
                         ::testing::Values(ToolCase{AmbrelTool, {"data"}, "关于Ambrel"},
                                           ToolCase{OstrelTool,
                                                    {"data", "data/LX7140", "data/LX7150", "data/LXM7140"},
                                                    "关于 Ostrel(&A)..."}));

TEST(MainWindow, ChoosingAModelLoadsItsDefaultsAndEnablesTheButtons) {
  struct Row {
    const ToolDefinition& (*tool)();
    int radio;
    int model;
    int fixupWord;
    uint16_t mask, value;
  };
  const Row rows[] = {{AmbrelTool, kModelRadios[0], 0, 0x18, 0x0700, 0x0400},
                      {AmbrelTool, kModelRadios[1], 1, 0x18, 0x0700, 0x0400},
                      {OstrelTool, kModelRadios[0], 0, 0x17, 0xFFFF, 0x0018},
                      {OstrelTool, kModelRadios[1], 1, 0x17, 0xFFFF, 0x0018},
                      {OstrelTool, kModelRadios[2], 2, 0x17, 0xFFFF, 0x0018}};
  for (const Row& r : rows) {
    ToolWindow w(r.tool());
    w.host.Click(r.radio);
    EXPECT_TRUE(w.host.messages().empty());
    EXPECT_EQ(w.state.chipModel, r.model);
    EXPECT_EQ(w.main.radioValue(), r.model);
    EXPECT_EQ(w.VisibleChecked(), std::vector<int>{r.radio});
    EXPECT_TRUE(w.ButtonsEnabled(true));
    EXPECT_NE(w.state.crystalKHz, 0);
    EXPECT_EQ(w.state.words[r.fixupWord] & r.mask, r.value);
    // Each picture button opens its settings dialog (templates 140 to 143), which closes at once
    // (no actions are queued).
    for (int id : kPictureButtons) w.host.Click(id);
    EXPECT_EQ(w.host.opened(), (std::vector<int>{res::kMainDialog, 140, 141, 142, res::channel::kDialog}));
    EXPECT_EQ(w.host.openWindows(), 1);
  }
}

TEST(MainWindow, AMissingDefaultImageIsReportedOnceAndStillSelects) {
  const TempDir noData;
  const fs::path empty = noData.path();
  {
    ToolWindow w(AmbrelTool(), empty);
    w.host.Click(kModelRadios[1]);
    ASSERT_EQ(w.host.messageTexts(), std::vector<std::string>{msg::kDefaultImageFailed});
    const ui::MessageRecord& m = w.host.messages()[0];
    EXPECT_EQ(m.title, "Ambrel");
    // The radio flips before its handler runs; the buttons are enabled after the message.
    EXPECT_TRUE(m.control(kModelRadios[1])->checked);
    EXPECT_FALSE(m.control(res::main_window::kFirstSettings)->enabled);
    EXPECT_TRUE(w.ButtonsEnabled(true));
    EXPECT_EQ(w.state.chipModel, 1);
    EXPECT_EQ(w.state.words[0x18], 0x0400);
    w.host.Click(kModelRadios[1]);  // the flag is set: no retry, no second message
    EXPECT_EQ(w.host.messages().size(), 1u);
  }
}

TEST(MainWindow, OpenSelectsTheModelItsHeaderNames) {
  ToolWindow w(AmbrelTool());
  std::string text = "#define X23P500MHZ\r\n#define EEPROM_SIZE 0x60\r\n#define LX7240D\r\n"
                     "unsigned int code LX7240D_REG[EEPROM_SIZE] =\r\n{\r\n0x1a2b,   //reg00\r\n};\r\n";
  WriteFile(w.work / "data" / "tagged.h", text);
  w.host.AnswerFile("data/tagged.h");
  w.host.Command(res::kCmdOpen);
  ASSERT_EQ(w.host.fileDialogs().size(), 1u);
  const ui::FileRequest& r = w.host.fileDialogs()[0].request;
  EXPECT_FALSE(r.save);
  EXPECT_EQ(r.proposedName, "EEPROM.h");
  EXPECT_EQ(r.filter, "head files(*.h)|*.h||");
  EXPECT_EQ(r.initialFolder, (w.work / "data").string());
  EXPECT_TRUE(w.host.messages().empty());
  EXPECT_EQ(w.state.chipModel, 2);
  EXPECT_EQ(w.state.crystalKHz, 23500);
  EXPECT_EQ(w.state.words[0], 0x1a2b);
  EXPECT_TRUE(w.ButtonsEnabled(true));
  EXPECT_TRUE(w.VisibleChecked().empty());  // LX7240D's radio is hidden
  EXPECT_TRUE(w.main.find(kModelRadios[2])->checked);
  EXPECT_EQ(w.state.headerPath, (w.work / "data").string());
}

TEST(MainWindow, OpenWithoutTagOrFileLeavesTheButtonsAlone) {
  ToolWindow w(OstrelTool());
  WriteFile(w.work / "plain.h", "0x0001,\r\n");
  w.host.AnswerFile("plain.h");
  w.host.Command(res::kCmdOpen);
  EXPECT_TRUE(w.ButtonsEnabled(false));
  EXPECT_EQ(w.state.words[0], 1);
  w.host.AnswerFile("missing.h");
  w.host.Command(res::kCmdOpen);
  EXPECT_EQ(w.host.messageTexts(), std::vector<std::string>{msg::kOpenHeaderFailed});
  w.host.CancelFile();
  w.host.Command(res::kCmdOpen);
  EXPECT_EQ(w.host.messages().size(), 1u);
  EXPECT_EQ(w.host.errors(), 0);
}

TEST(MainWindow, OpenTakesAnExistingFileWithoutExtensionAsChosen) {
  ToolWindow w(AmbrelTool());
  RegisterImage words{};
  words[5] = 0x1a2b;
  WriteFile(w.work / "EEPROM", WriteHeaderText(AmbrelProfile().models[1], 24000, words));
  w.host.AnswerFile("EEPROM");
  w.host.Command(res::kCmdOpen);
  EXPECT_TRUE(w.host.messages().empty());
  EXPECT_EQ(w.state.chipModel, 1);
  EXPECT_EQ(w.state.words[5], 0x1a2b);
  // A name that names no file still gets the dialog's default extension.
  words[5] = 0x3c4d;
  WriteFile(w.work / "other.h", WriteHeaderText(AmbrelProfile().models[0], 24000, words));
  w.host.AnswerFile("other");
  w.host.Command(res::kCmdOpen);
  EXPECT_TRUE(w.host.messages().empty());
  EXPECT_EQ(w.state.chipModel, 0);
  EXPECT_EQ(w.state.words[5], 0x3c4d);
}

#ifndef _WIN32  // FIFOs and /dev/zero are POSIX
TEST(MainWindow, OpeningAFifoNobodyWritesDoesNotFreezeTheWindow) {
  ToolWindow w(OstrelTool());
  w.state.inputLimits.idleMillis = 200;
  test::FifoFeeder silent(w.work / "pipe.h", "");
  const auto start = std::chrono::steady_clock::now();
  w.host.AnswerFile("pipe.h");
  w.host.Command(res::kCmdOpen);
  w.host.AnswerFile("/dev/zero");
  w.host.Command(res::kCmdOpen);
  EXPECT_EQ(w.host.messageTexts(), (std::vector<std::string>{msg::kOpenHeaderFailed, msg::kOpenHeaderFailed}));
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
  EXPECT_EQ(w.state.chipModel, -1);
}
#endif

TEST(MainWindow, SaveNeedsAModelThenWritesTheHeader) {
  ToolWindow w(AmbrelTool());
  w.host.AnswerFile("first.h");
  w.host.Command(res::kCmdSave);
  EXPECT_EQ(w.host.messageTexts(), std::vector<std::string>{msg::kNoChipModel});
  EXPECT_FALSE(fs::exists(w.work / "first.h"));
  EXPECT_EQ(w.state.headerPath, w.work.string());  // the folder is remembered all the same

  w.host.Click(kModelRadios[1]);
  w.host.AnswerFile("saved");  // a bare name gets ".h"
  w.host.Command(res::kCmdSave);
  EXPECT_TRUE(w.host.fileDialogs().back().request.save);
  std::string saved = ReadFile(w.work / "saved.h");
  EXPECT_EQ(saved.size(), 1938u);
  EXPECT_EQ(saved.substr(0, 20), "#define X24P000MHZ\r\n");
  EXPECT_NE(saved.find("#define LX7250\r\nunsigned int code LX7250_REG[EEPROM_SIZE] =\r\n"), std::string::npos);
  EXPECT_EQ(w.host.messages().size(), 1u);
}

TEST(MainWindow, EnterDoesNothingEscapeCloseAndExitEndTheProgram) {
  {
    ToolWindow w(AmbrelTool());
    w.host.Enter();
    EXPECT_FALSE(w.main.ended());
    w.host.Escape();
    EXPECT_TRUE(w.main.ended());
    EXPECT_EQ(w.main.result(), ui::kIdCancel);
  }
  {
    ToolWindow w(OstrelTool());
    w.host.Close();
    EXPECT_TRUE(w.main.ended());
  }
  {
    ToolWindow w(OstrelTool());
    w.host.Command(res::kCmdExit);
    EXPECT_TRUE(w.main.ended());
    EXPECT_EQ(w.host.openWindows(), 0);
  }
}

TEST(MainWindow, HelpAboutAndTheSystemMenuOpenTheSameAboutBox) {
  ToolWindow w(OstrelTool());
  w.host.QueueScript("enter\nescape\n");
  w.host.Command(res::kCmdAbout);
  w.host.SysCommand(res::kSysCmdAbout);
  EXPECT_EQ(w.host.opened(), (std::vector<int>{res::kMainDialog, res::kAboutDialog, res::kAboutDialog}));
  EXPECT_EQ(w.host.errors(), 0);
  EXPECT_FALSE(w.main.ended());
}

// The register window shows what lxcfg show prints for the same image, for every model of both
// tools (the D models too, chosen as a header naming them chooses them).
TEST(MainWindow, RegisterWindowShowsWhatLxcfgShowPrints) {
  for (const ToolDefinition& (*tool)() : {AmbrelTool, OstrelTool}) {
    for (int n = 0; n < tool().profile.modelCount(); ++n) {
      ToolWindow w(tool());
      w.state.SelectChipModel(n);
      const std::string file = (w.work / "image.h").string();
      ASSERT_TRUE(w.state.SaveHeader(file).ok);
      std::string page;
      w.host.Queue(ui::Action::Call([&] { page = w.host.top()->GetDlgItemText(res::registers::kText); }));
      w.host.Command(res::kCmdRegisters);
      const test::Outcome shown = test::RunLxcfg({"show", file}, LX_PROGRAM_DIR);
      EXPECT_EQ(shown.status, 0) << shown.err;
      EXPECT_FALSE(page.empty());
      EXPECT_EQ(page, shown.out) << tool().profile.models[n].name;
    }
  }
}

// The comparison's edges: a word no setting owns is listed once, under the words; a header that
// names a model, compared before any model is chosen, is compared under its model on both sides.
TEST(MainWindow, RegisterComparisonOfUnownedWordsAndBeforeAModel) {
  TempDir dir;
  const ToolState none(AmbrelTool().profile, LX_PROGRAM_DIR);
  ToolState chosen = none;
  chosen.SelectChipModel(1);
  RegisterImage words = chosen.words;
  words[0x30] = 0x1234;
  const std::string file = (dir / "reg30.h").string();
  WriteFile(file, WriteHeaderText(chosen.profile().models[1], chosen.crystalKHz, words));
  ToolState read = chosen;
  ASSERT_TRUE(read.OpenHeader(file).ok);
  EXPECT_EQ(ComparisonPage(chosen, read, "f"),
            "Compared with f\n\nWords (this image -> the file)\n  reg30: 0x0000 -> 0x1234\n");
  read = none;
  ASSERT_TRUE(read.OpenHeader(file).ok);
  ToolState underItsModel = none;
  underItsModel.chipModel = 1;
  const std::string page = ComparisonPage(none, read, "f");
  EXPECT_NE(page.find("\nSettings (this image -> the file)\n"), std::string::npos);
  EXPECT_EQ(page, ComparisonPage(underItsModel, read, "f"));
}

}  // namespace
}  // namespace lx::app::testing
