// The receiver dialogs in a whole Ostrel session: opened from their picture buttons, their
// choices survive OK, Save, Open and reopening; and the scenario scripts under tests/scenarios.
#include <sstream>

#include "app/main_dialog.h"
#include "app/scenario.h"
#include "resources/ids.h"
#include "rx_support.h"
#include "tests/support/files.h"

namespace lx::rx::testing {
namespace {

using ui::Action;
using ui::Verb;

struct Session {
  int button;  // picture button of the main window
  int templateId;
  std::string script;  // choices made in the dialog before OK
};

TEST(RxSession, ChoicesSurviveOkSaveOpenAndReopening) {
  for (const Session& s : {
           Session{res::main_window::kFirstSettings, res::kSoundEffectDialog,
                   fmt::format("pick {} 14dB\npick {} 5dB\npick {} -40dB", res::rx_sound::kBassList,
                               res::rx_sound::kTrebleList, res::rx_sound::kThdList)},
           Session{res::main_window::kSecondSettings, res::kRxAudioDialog,
                   [] {
                     using namespace res::rx_audio;
                     return fmt::format("click {}\npick {} 9dB\npick {} 24mS\nclick {}\nkey {} 25",
                                        kDisableDeEmphasis, kGainList, kTimeConstantList, kDisableExpander,
                                        kVolumeSlider);
                   }()},
           Session{res::main_window::kThirdSettings, res::kRxOtherDialog,
                   [] {
                     using namespace res::rx_other;
                     return fmt::format(
                         "click {}\nclick {}\ndrag {} 200\ndrag {} 9\nclick {}\nclick {}\nclick {}",
                         kDisableSnrAutomute, kDisablePilotAutomute, kHighThresholdSlider,
                         kLowThresholdSlider, kDisableAfc, kDisableAutomute, kEnableSnrAutomute);
                   }()},
       }) {
    SCOPED_TRACE(s.script);
    test::TempDir work;
    ui::HeadlessHost host(app::OstrelTool().resources, app::OstrelTool().profile.appName);
    host.SetFileBase(work.path());
    ToolState state(app::OstrelTool().profile, LX_PROGRAM_DIR);
    app::MainDialog main(host, state, app::OstrelTool(), work.path());
    host.Open(main);
    host.Click(res::main_window::kFirstModelRadio);  // LX7140
    const RegisterImage defaults = state.words;

    std::vector<std::string> atOk, reopened;
    host.QueueScript(s.script);
    host.Queue(Action::Call([&] { atOk = Shown(*host.top()); }));
    host.Queue(Action(Verb::Click, ui::kIdOk));
    host.Click(s.button);
    const RegisterImage edited = state.words;
    EXPECT_NE(edited, defaults);

    host.AnswerFile("data/rx.h");
    host.Command(res::kCmdSave);
    host.Click(res::main_window::kModelRadios[1]);  // LX7150's defaults replace the image
    EXPECT_NE(state.words, edited);
    host.AnswerFile("data/rx.h");
    host.Command(res::kCmdOpen);
    EXPECT_EQ(state.words, edited);
    EXPECT_EQ(state.chipModel, 0);

    host.Queue(Action::Call([&] { reopened = Shown(*host.top()); }));
    host.Queue(Action(Verb::Escape));
    host.Click(s.button);
    EXPECT_EQ(reopened, atOk);
    EXPECT_EQ(state.words, edited);
    EXPECT_EQ(host.errors(), 0);
    EXPECT_EQ(host.opened(), (std::vector<int>{res::kMainDialog, s.templateId, s.templateId}));
  }
}

struct Script {
  const char* file;
  std::vector<std::string> lines;  // in the order they must appear
};

TEST(RxSession, ScenarioScriptsRunAsWritten) {
  for (const Script& s : {
           Script{"ostrel-sound.txt",
                  {"open 140 \"音效配置\"\n", "close 140 \"音效配置\" result 1\n",
                   "wrote data/sound.h (1938 bytes)\n", "open 140 \"音效配置\"\n",
                   "  | 1008 combo \"10dB\" item 2", "  | 1009 combo \"7dB\" item 3\n",
                   "  | 1024 combo \"-45dB\" item 2\n", "model 0 LX7140\n",
                   "reg18: 0000 0000 a018 0000 3028 0090 0000 480e\n"}},
           Script{
               "ostrel-audio.txt",
               {"close 141 \"音频配置\" result 1\n", "wrote data/audio.h (1938 bytes)\n",
                "open 141 \"音频配置\"\n", "  | 1003 radio \"Disable De-emphasis\" checked\n",
                "  | 1005 radio \"Disable Expandor\" checked\n", "  | 1008 combo \"-2.5dB\" item 6\n",
                "  | 1009 combo \"796mS\" item 7 disabled\n", "  | 1002 slider 0\n", "  | 1010 edit \"31\"\n",
                "model 0 LX7140\n", "reg18: 0000 0000 a01f 0000 3028 e090 0000 f000\n"}},
           Script{"ostrel-other.txt",
                  {"  | 1002 slider 10 disabled\n", "close 142 \"其他配置\" result 1\n",
                   "wrote data/other.h (1938 bytes)\n", "open 142 \"其他配置\"\n",
                   "  | 1044 radio \"Enable\" checked disabled\n",
                   "  | 1001 radio \"Enable\" checked disabled\n", "  | 1002 slider 10\n",
                   "  | 1010 edit \"10\"\n", "  | 1004 slider 200\n", "  | 1012 edit \"200\"\n",
                   "  | 1008 combo \"±90KHz\" item 3\n", "reg18: 0000 0000 a098 0000 0ac8 00b0 0000 4000\n"}},
       }) {
    SCOPED_TRACE(s.file);
    test::TempDir work;
    std::ostringstream out;
    const std::string script = test::ReadFile(std::filesystem::path(LX_SCENARIO_DIR) / s.file);
    ASSERT_FALSE(script.empty());
    EXPECT_EQ(app::RunScenario(app::OstrelTool(), LX_PROGRAM_DIR, work.path(), script, out), 0);
    const std::string text = out.str();
    std::size_t at = 0;
    for (const std::string& line : s.lines) {
      const std::size_t found = text.find(line, at);
      ASSERT_NE(found, std::string::npos) << line << "\n---\n" << text;
      at = found + line.size();
    }
  }
}

}  // namespace
}  // namespace lx::rx::testing
