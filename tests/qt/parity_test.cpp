// The Qt host keeps the dialogs' semantics: the same script on a test dialog gives the same
// notifications in the same order and the same transcript on the real widgets as on the
// headless host (a click swallowed by a kill-focus message box stays lost, a slider notifies on
// first display and paints a drag before its release). Escape works from start-up, and every
// frame carries exactly the boxes its template asks for and keeps its size.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QWindow>
#include <filesystem>
#include <string>
#include <vector>

#include "app/about_dialog.h"
#include "app/file_convert_dialog.h"
#include "app/main_dialog.h"
#include "resources/ids.h"
#include "tests/support/files.h"
#include "ui/headless.h"
#include "ui/qt/script_host.h"
#include "ui/qt/widgets.h"

namespace lx::ui {
namespace {

constexpr int kBox = 10, kButton = 11, kMirror = 12, kCheck = 30, kList = 40, kSlider = 50, kUpright = 51;
constexpr ControlTemplate kControls[] = {
    {kIdOk, Kind::PushButton, "OK", 10, 100, 50, 14, kDefault | kTabStop},
    {kIdCancel, Kind::PushButton, "Cancel", 70, 100, 50, 14, kTabStop},
    {kBox, Kind::Edit, "", 10, 10, 40, 12, kBorder | kTabStop},
    {kButton, Kind::PushButton, "Press", 60, 10, 50, 14, kTabStop},
    {kMirror, Kind::Edit, "", 120, 10, 40, 12, kBorder | kReadOnly | kTabStop},
    {kCheck, Kind::CheckBox, "Check", 10, 30, 50, 10, kGroup | kTabStop},
    {kList, Kind::ComboBox, "", 70, 30, 60, 60, kTabStop},
    {kSlider, Kind::Slider, "", 10, 60, 150, 15, kTabStop},
    {kUpright, Kind::Slider, "", 200, 10, 15, 100, kTabStop | kVertical | kTicksTop},
};
constexpr DialogTemplate kTemplate{600, "Parity", 240, 120, "System", 10, kControls};
const DialogTemplate* const kDialogs[] = {&kTemplate};
const ResourceSet kResources{kDialogs, {}, {}, {}};

// Leaving box 10 with anything but "ok" in it shows a message box; every notification is logged.
class ParityDialog : public Dialog {
 public:
  explicit ParityDialog(Host& host) : Dialog(host, 600) {
    On(kBox, Notify::KillFocus, [this] {
      events.push_back("kill 10");
      if (GetDlgItemText(kBox) != "ok") MessageBox("bad");
    });
    On(kButton, Notify::Clicked, [this] { events.push_back("click 11"); });
    On(kCheck, Notify::Clicked,
       [this] { events.push_back("check " + std::to_string(IsDlgButtonChecked(kCheck))); });
    On(kList, Notify::SelChange, [this] { events.push_back("sel " + std::to_string(list.GetCurSel())); });
    On(kSlider, Notify::CustomDraw, [this] {
      events.push_back("draw " + std::to_string(slider.GetPos()));
      SetDlgItemText(kMirror, std::to_string(slider.GetPos()));
    });
    On(kSlider, Notify::ReleasedCapture,
       [this] { events.push_back("release " + std::to_string(slider.GetPos())); });
    On(kUpright, Notify::CustomDraw,
       [this] { events.push_back("upright " + std::to_string(upright.GetPos())); });
    On(kUpright, Notify::ReleasedCapture,
       [this] { events.push_back("up-release " + std::to_string(upright.GetPos())); });
  }
  bool OnInitDialog() override {
    Dialog::OnInitDialog();
    for (const char* item : {"A", "B", "C"}) list.AddString(item);
    slider.SetRange(0, 12);
    slider.SetPageSize(4);
    slider.SetPos(3);
    upright.SetRange(0, 20);
    upright.SetPageSize(5);
    upright.SetPos(4);
    return true;
  }
  ComboBox list{this, kList};
  SliderCtrl slider{this, kSlider}, upright{this, kUpright};
  std::vector<std::string> events;
};

struct Outcome {
  std::vector<std::string> transcript, events;
  int errors;
};

Outcome RunOn(ScriptHost& scripted, const std::string& script) {
  Outcome run;
  scripted.trace = [&](const std::string& line) { run.transcript.push_back(line); };
  scripted.QueueScript(script);
  ParityDialog dialog(scripted.host());
  dialog.DoModal();
  run.events = dialog.events;
  run.errors = scripted.errors();
  return run;
}

struct Case {
  const char* name;
  const char* script;
  std::vector<std::string> events;  // what both hosts must report
};

class Parity : public ::testing::TestWithParam<Case> {};

TEST_P(Parity, QtHostReportsWhatTheHeadlessHostReports) {
  const Case& c = GetParam();
  HeadlessHost headless(kResources, "Parity");
  Outcome expected = RunOn(headless, c.script);
  qt::QtScriptHost real(kResources, "Parity");
  Outcome actual = RunOn(real, c.script);
  EXPECT_EQ(expected.events, c.events);
  EXPECT_EQ(actual.events, c.events);
  EXPECT_EQ(actual.transcript, expected.transcript);
  EXPECT_EQ(actual.errors, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Semantics, Parity,
    ::testing::Values(
        // The slider paints on first display and so reports its position before any input.
        Case{"FirstDisplayPaints", "show\nescape\n", {"draw 3", "upright 4"}},
        // Leaving a refused box shows a message while the focus moves: the click is lost, and
        // the next click on the button (the focus already there) goes through.
        Case{"KillFocusMessageSwallowsTheClick",
             "type 10 wrong\nclick 11\nshow\nclick 11\nescape\n",
             {"draw 3", "upright 4", "kill 10", "click 11"}},
        // Without a message the box reports its loss first, then the click arrives.
        Case{"KillFocusBeforeTheClick",
             "type 10 ok\nclick 11\nclick 30\nshow\nescape\n",
             {"draw 3", "upright 4", "kill 10", "click 11", "check 1"}},
        // A drag repaints before its release; keys repaint and release nothing; a click on the
        // thumb (a drag to its own place) releases only.
        Case{"SliderDragKeyAndThumbClick",
             "drag 50 7\nkey 50 10\nkey 50 1\ndrag 50 1\nshow\nescape\n",
             {"draw 3", "upright 4", "draw 7", "release 7", "draw 10", "draw 1", "release 1"}},
        // A vertical slider has its minimum at the top.
        Case{"VerticalSlider",
             "drag 51 17\nkey 51 9\nkey 51 11\nshow\nescape\n",
             {"draw 3", "upright 4", "upright 17", "up-release 17", "upright 9", "upright 11"}},
        Case{"ListChoicesThroughTheOpenList",
             "select 40 1\npick 40 C\nshow\nescape\n",
             {"draw 3", "upright 4", "sel 1", "sel 2"}},
        Case{"TabOrderWrapsAndEnterPressesTheFocusedButton",
             "backtab\nshow\ntab\ntab\ntab\nshow\ntype 10 ok\ntab\nenter\n",
             {"draw 3", "upright 4", "kill 10", "click 11"}}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// ---- The main window and the frames of both tools -------------------------------------------

struct Tool {
  const char* name;
  const app::ToolDefinition& (*tool)();
};

class ToolWindows : public ::testing::TestWithParam<Tool> {};

TEST_P(ToolWindows, EscapeEndsTheMainWindowRightAfterStartUp) {
  const app::ToolDefinition& tool = GetParam().tool();
  qt::QtHost host(tool.resources, tool.profile.appName);
  ToolState state(tool.profile, LX_PROGRAM_DIR);
  const test::TempDir work;
  app::MainDialog main(host, state, tool, work.path());
  bool ended = false;
  host.onShown = [&](Dialog& d, QDialog& window) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(d.focusId(), 0);  // nothing to focus: the picture buttons are disabled
    // A real key press, routed by the window system to wherever the focus is.
    QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
    ended = d.ended();
    if (!ended) d.EndDialog(kIdOk);
  };
  main.DoModal();
  EXPECT_TRUE(ended);
  EXPECT_EQ(main.result(), kIdCancel);
}

TEST_P(ToolWindows, FramesCarryTheirTemplatesBoxesAndKeepTheirSize) {
  const app::ToolDefinition& tool = GetParam().tool();
  qt::QtHost host(tool.resources, tool.profile.appName);
  ToolState state(tool.profile, LX_PROGRAM_DIR);
  const test::TempDir scratch;
  const std::filesystem::path& work = scratch.path();
  state.PrepareDataDirectory(work);
  int checked = 0;
  host.onShown = [&](Dialog& d, QDialog& window) {
    ++checked;
    bool main = d.templateId() == res::kMainDialog;
    Qt::WindowFlags f = window.windowFlags();
    EXPECT_TRUE(f & Qt::WindowTitleHint);
    EXPECT_TRUE(f & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(f & Qt::WindowCloseButtonHint);
    EXPECT_EQ(bool(f & Qt::WindowMinimizeButtonHint), main) << d.templateId();
    EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint) << d.templateId();
    EXPECT_FALSE(f & Qt::WindowFullscreenButtonHint) << d.templateId();
    EXPECT_FALSE(f & Qt::WindowContextHelpButtonHint) << d.templateId();
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << d.templateId();
    EXPECT_EQ(window.size(), window.minimumSize()) << d.templateId();
    QSize before = window.size();
    window.resize(before + QSize(40, 30));
    QTest::qWait(10);
    EXPECT_EQ(window.size(), before) << d.templateId();
    d.UserClose();
  };
  app::MainDialog main(host, state, tool, work);
  main.DoModal();
  app::AboutDialog about(host);
  about.DoModal();
  app::FileConvertDialog convert(host, state);
  convert.DoModal();
  EXPECT_EQ(checked, 3);
}

INSTANTIATE_TEST_SUITE_P(Tools, ToolWindows,
                         ::testing::Values(Tool{"ambrel", app::AmbrelTool}, Tool{"ostrel", app::OstrelTool}),
                         [](const ::testing::TestParamInfo<Tool>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace lx::ui
