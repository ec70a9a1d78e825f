// The receiver dialogs in a whole Ostrel session: opened from their picture buttons, their
// choices survive OK, Save, Open and reopening.
#include "app/main_dialog.h"
#include "resources/ids.h"
#include "rx_support.h"
#include "tests/support/files.h"

namespace lx::rx::testing {
namespace {

using ui::Action;
using ui::Verb;
namespace audio = res::rx_audio;
namespace other = res::rx_other;
namespace sound = res::rx_sound;

struct Session {
  int button;  // picture button of the main window
  int templateId;
  std::string script;  // choices made in the dialog before OK
};

TEST(RxSession, ChoicesSurviveOkSaveOpenAndReopening) {
  for (const Session& s : {
           Session{res::main_window::kFirstSettings, res::kSoundEffectDialog,
                   fmt::format("pick {} 14dB\npick {} 5dB\npick {} -40dB", sound::kBassList,
                               sound::kTrebleList, sound::kThdList)},
           Session{res::main_window::kSecondSettings, res::kRxAudioDialog,
                   fmt::format("click {}\npick {} 9dB\npick {} 24mS\nclick {}\nkey {} 25",
                               audio::kDisableDeEmphasis, audio::kGainList, audio::kTimeConstantList,
                               audio::kDisableExpander, audio::kVolumeSlider)},
           Session{res::main_window::kThirdSettings, res::kRxOtherDialog,
                   fmt::format("click {}\nclick {}\ndrag {} 200\ndrag {} 9\nclick {}\nclick {}\nclick {}",
                               other::kDisableSnrAutomute, other::kDisablePilotAutomute,
                               other::kHighThresholdSlider, other::kLowThresholdSlider, other::kDisableAfc,
                               other::kDisableAutomute, other::kEnableSnrAutomute)},
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
    host.Queue(Action::Press(ui::Key::Escape));
    host.Click(s.button);
    EXPECT_EQ(reopened, atOk);
    EXPECT_EQ(state.words, edited);
    EXPECT_EQ(host.errors(), 0);
    EXPECT_EQ(host.opened(), (std::vector<int>{res::kMainDialog, s.templateId, s.templateId}));
  }
}

}  // namespace
}  // namespace lx::rx::testing
