// The dialog framework on the headless host: focus and EN_KILLFOCUS, automatic radios, the
// data exchange and its refusals, slider repaints and releases, Enter and Escape, nested modal
// dialogs driven by queued actions, message boxes recorded with the controls' state.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "ui/dialog.h"
#include "ui/headless.h"

namespace lx::ui {
namespace {

constexpr ControlTemplate kControls[] = {
    {kIdOk, Kind::PushButton, "OK", 10, 100, 50, 14, kDefault | kTabStop},
    {kIdCancel, Kind::PushButton, "Cancel", 70, 100, 50, 14, kTabStop},
    {10, Kind::Edit, "", 10, 10, 40, 12, kBorder | kTabStop},
    {11, Kind::Edit, "", 60, 10, 40, 12, kBorder | kTabStop},
    {12, Kind::Edit, "", 110, 10, 40, 12, kBorder | kTabStop},
    {13, Kind::Edit, "", 160, 10, 40, 12, kBorder | kReadOnly | kTabStop},
    {21, Kind::RadioButton, "A", 10, 30, 40, 10, kGroup},
    {22, Kind::RadioButton, "B", 10, 40, 40, 10, 0},
    {23, Kind::RadioButton, "C", 60, 30, 40, 10, kGroup},
    {24, Kind::RadioButton, "D", 60, 40, 40, 10, 0},
    {30, Kind::CheckBox, "Check", 10, 55, 40, 10, kGroup | kTabStop},
    {40, Kind::ComboBox, "", 60, 55, 40, 50, kTabStop},
    {50, Kind::Slider, "", 10, 70, 100, 15, kTabStop},
    {60, Kind::PushButton, "Nested", 130, 100, 50, 14, kTabStop},
    {70, Kind::PushButton, "Off", 190, 100, 50, 14, kDisabled},
};
constexpr DialogTemplate kTemplate{500, "Test", 250, 120, "System", 10, kControls};
constexpr ControlTemplate kNestedControls[] = {
    {kIdOk, Kind::PushButton, "OK", 10, 40, 50, 14, kDefault | kTabStop},
    {5, Kind::Edit, "", 10, 10, 40, 12, kTabStop},
};
constexpr DialogTemplate kNested{501, "Nested", 100, 60, "System", 10, kNestedControls};
constexpr ControlTemplate kSliderControls[] = {
    {kIdOk, Kind::PushButton, "OK", 10, 60, 50, 14, kDefault | kTabStop},
    {81, Kind::Slider, "", 10, 10, 100, 15, kTabStop},
    {82, Kind::Slider, "", 10, 25, 100, 15, kTabStop},
    {83, Kind::Slider, "", 10, 40, 100, 15, kHidden | kTabStop},
};
constexpr DialogTemplate kSliders{502, "Sliders", 120, 80, "System", 10, kSliderControls};
const DialogTemplate* const kDialogs[] = {&kTemplate, &kNested, &kSliders};
const ResourceSet kResources{kDialogs, {}, {}, {}};

class NestedDialog : public Dialog {
 public:
  explicit NestedDialog(Host& host) : Dialog(host, 501) {}
  void DoDataExchange(DataExchange& dx) override { DdxText(dx, 5, text); }
  std::string text = "start";
};

class TestDialog : public Dialog {
 public:
  explicit TestDialog(Host& h) : Dialog(h, 500) {
    On(10, Notify::KillFocus, [this] { events.push_back("kill 10"); });
    On(11, Notify::KillFocus, [this] {
      events.push_back("kill 11");
      UpdateData(true);
      UpdateData(false);
    });
    for (int id : {21, 22, 30}) On(id, Notify::Clicked, [this, id] { events.push_back("click " + std::to_string(id)); });
    On(40, Notify::SelChange, [this] { events.push_back("sel " + std::to_string(combo.GetCurSel())); });
    On(50, Notify::CustomDraw, [this] { events.push_back("draw " + std::to_string(slider.GetPos())); });
    On(50, Notify::ReleasedCapture, [this] { events.push_back("release " + std::to_string(slider.GetPos())); });
    On(60, Notify::Clicked, [this] {
      NestedDialog nested(host());
      nestedResult = nested.DoModal();
      nestedText = nested.text;
    });
  }
  bool OnInitDialog() override {
    Dialog::OnInitDialog();
    for (const char* item : {"zero", "one", "two"}) combo.AddString(item);
    combo.SetCurSel(1);
    slider.SetRange(0, 12);
    slider.SetPos(3);
    return true;
  }
  void DoDataExchange(DataExchange& dx) override {
    DdxText(dx, 10, number);
    DdxText(dx, 11, id);
    DdvMinMax(dx, id, 0u, 65535u);
    DdxText(dx, 12, volts);
    DdxRadio(dx, 21, first);
    DdxRadio(dx, 23, second);
    DdxCheck(dx, 30, check);
  }

  ComboBox combo{this, 40};
  SliderCtrl slider{this, 50};
  int32_t number = -5;
  uint32_t id = 7;
  float volts = 1190.625f;
  int first = -1, second = 1, check = 1;
  std::vector<std::string> events;
  int nestedResult = 0;
  std::string nestedText;
};

// Three sliders, one of them hidden, each moved by the initialisation before the first paint.
class SliderDialog : public Dialog {
 public:
  explicit SliderDialog(Host& host) : Dialog(host, 502) {
    for (int id : {81, 82, 83})
      On(id, Notify::CustomDraw, [this, id] {
        events.push_back("draw " + std::to_string(id) + " at " + std::to_string(SliderCtrl(this, id).GetPos()));
      });
  }
  bool OnInitDialog() override {
    Dialog::OnInitDialog();
    for (int id : {81, 82, 83}) {
      SliderCtrl slider(this, id);
      slider.SetRange(0, 31);
      slider.SetPos(id - 70);
      slider.SetPos(id - 60);
    }
    return true;
  }
  std::vector<std::string> events;
};

struct Fixture : ::testing::Test {
  HeadlessHost host{kResources, "Tool"};
  TestDialog dialog{host};
  void SetUp() override {
    host.Open(dialog);
    dialog.events.clear();
  }
};

TEST_F(Fixture, OpeningShowsMembersFocusesFirstTabStopAndPaintsSliders) {
  HeadlessHost h{kResources, "Tool"};
  TestDialog d{h};
  h.Open(d);
  EXPECT_EQ(d.focusId(), kIdOk);
  EXPECT_EQ(d.GetDlgItemText(10), "-5");
  EXPECT_EQ(d.GetDlgItemText(11), "7");
  EXPECT_EQ(d.GetDlgItemText(12), "1190.62");  // six significant digits
  EXPECT_FALSE(d.IsDlgButtonChecked(21));
  EXPECT_FALSE(d.IsDlgButtonChecked(22));
  EXPECT_FALSE(d.IsDlgButtonChecked(23));
  EXPECT_TRUE(d.IsDlgButtonChecked(24));
  EXPECT_TRUE(d.IsDlgButtonChecked(30));
  EXPECT_EQ(d.GetDlgItemText(40), "one");
  // One repaint on first display, whatever the number of changes before it.
  EXPECT_EQ(d.events, (std::vector<std::string>{"draw 3"}));
}

TEST_F(Fixture, LeavingABoxReportsItOnceTheFocusHasMoved) {
  host.Type(10, "42");
  host.Click(30);  // the check box takes the focus, then toggles
  host.Focus(12);
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"kill 10", "click 30"}));
  EXPECT_FALSE(dialog.IsDlgButtonChecked(30));
  host.Tab();  // 12 -> 13
  EXPECT_EQ(dialog.focusId(), 13);
}

TEST_F(Fixture, AutomaticRadiosClearTheirOwnGroupOnly) {
  host.Click(21);
  host.Click(22);
  EXPECT_FALSE(dialog.IsDlgButtonChecked(21));
  EXPECT_TRUE(dialog.IsDlgButtonChecked(22));
  EXPECT_TRUE(dialog.IsDlgButtonChecked(24));  // the other group keeps its choice
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.first, 1);
  EXPECT_EQ(dialog.second, 1);
}

TEST_F(Fixture, DisabledControlsIgnoreTheMouse) {
  host.Click(70);
  EXPECT_TRUE(dialog.events.empty());
  EXPECT_EQ(dialog.focusId(), kIdOk);
}

struct Refusal {
  int box;
  const char* text;
  std::string message;
};

class ExchangeRefusal : public Fixture, public ::testing::WithParamInterface<Refusal> {};

TEST_P(ExchangeRefusal, StopsAtTheFirstRefusedBoxWithTheStandardMessage) {
  const Refusal& r = GetParam();
  host.Type(r.box, r.text);
  dialog.SetDlgItemText(12, "abc");  // also wrong, but after the first refusal nothing more is read
  EXPECT_FALSE(dialog.UpdateData(true));
  ASSERT_FALSE(host.messages().empty());
  const MessageRecord& m = host.messages().back();
  EXPECT_EQ(m.text, r.message);
  EXPECT_EQ(m.title, "Tool");
  ASSERT_NE(m.control(r.box), nullptr);
  EXPECT_EQ(m.control(r.box)->text, r.text);  // what the box showed when the message came
  EXPECT_EQ(dialog.focusId(), r.box);
  EXPECT_EQ(host.messages().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, ExchangeRefusal,
    ::testing::Values(Refusal{10, "4x", msg::kNotInteger}, Refusal{10, "", msg::kNotInteger},
                      Refusal{10, "2147483648", msg::kNotInteger}, Refusal{11, "-1", msg::kNotUnsigned},
                      Refusal{11, "65536", msg::OutOfRange(0, 65535)}, Refusal{11, "4294967296", msg::kNotUnsigned}));

TEST_F(Fixture, AcceptedTextsReachTheMembers) {
  host.Type(10, " -2147483648 ");
  host.Type(11, "65535");
  host.Type(12, "468.75");
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.number, INT32_MIN);
  EXPECT_EQ(dialog.id, 65535u);
  EXPECT_FLOAT_EQ(dialog.volts, 468.75f);
}

TEST_F(Fixture, ReadOnlyBoxesIgnoreTyping) {
  host.Type(13, "x");
  EXPECT_EQ(dialog.GetDlgItemText(13), "");
  EXPECT_EQ(dialog.focusId(), 13);
}

TEST_F(Fixture, AMessageWhileTheFocusMovesSwallowsTheClick) {
  host.Type(11, "70000");
  host.Click(30);  // leaving 11 refuses it; the click on the check box is lost
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].text, msg::OutOfRange(0, 65535));
  EXPECT_TRUE(dialog.IsDlgButtonChecked(30));
  EXPECT_EQ(dialog.focusId(), 11);
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"kill 11"}));
}

TEST_F(Fixture, SlidersRepaintAfterMovesAndReleaseOnlyAfterTheMouse) {
  host.Key(50, 5);
  host.Drag(50, 9);
  host.Drag(50, 9);  // a click on the thumb: no move, still a release
  host.Key(50, 40);  // clamped to the range
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"draw 5", "draw 9", "release 9", "release 9", "draw 12"}));
  dialog.slider.EnableWindow(false);
  host.Drag(50, 1);
  EXPECT_EQ(dialog.slider.GetPos(), 12);
}

TEST_F(Fixture, ListSelectionFollowsTheUserAndIgnoresUnknownItems) {
  host.Pick(40, "two");
  host.Select(40, 7);
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"sel 2"}));
  EXPECT_EQ(dialog.GetDlgItemText(40), "two");
  EXPECT_EQ(dialog.combo.SetCurSel(9), -1);
  EXPECT_EQ(dialog.combo.GetCurSel(), -1);
}

TEST_F(Fixture, AnOpenListTakesItsKeysAndClosesWithoutEndingTheDialog) {
  host.Focus(40);
  host.Press(Key::F4);
  EXPECT_TRUE(dialog.at(40).dropped);
  host.Press(Key::PageDown);  // the field follows at once, and the dialog is told
  host.Press(Key::End);       // the field's caret, not the selection
  host.Press(Key::Up);
  host.Press(Key::Escape);  // closes only the list; the item moved to stays chosen
  EXPECT_FALSE(dialog.at(40).dropped);
  EXPECT_EQ(dialog.GetDlgItemText(40), "one");
  host.Press(Key::AltDown);
  host.Click(30);  // a click beside the open list only closes it
  EXPECT_FALSE(dialog.at(40).dropped);
  EXPECT_TRUE(dialog.IsDlgButtonChecked(30));
  EXPECT_EQ(dialog.focusId(), 40);
  host.Press(Key::F4);
  host.Press(Key::Down);
  host.Press(Key::Tab);  // closes the list, keeps the item and moves on
  EXPECT_FALSE(dialog.at(40).dropped);
  EXPECT_EQ(dialog.focusId(), 50);
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"sel 2", "sel 1", "sel 2"}));
  EXPECT_FALSE(dialog.ended());
  host.Press(Key::F10);  // a window without a menu bar has no keyboard mode for it
  EXPECT_EQ(dialog.menuTitle(), -1);
}

TEST_F(Fixture, EnterPressesTheFocusedButtonOrElseTheDefaultOne) {
  host.Focus(60);
  host.Enter();  // the nested dialog runs out of actions and closes
  EXPECT_EQ(dialog.nestedResult, kIdCancel);
  EXPECT_TRUE(dialog.isOpen());
  host.Type(10, "1");
  host.Enter();  // OK: exchange, then end
  EXPECT_TRUE(dialog.ended());
  EXPECT_EQ(dialog.result(), kIdOk);
  EXPECT_EQ(dialog.number, 1);
  EXPECT_EQ(host.openWindows(), 0);
}

TEST_F(Fixture, EnterWithARefusedBoxKeepsTheDialogOpen) {
  host.Type(10, "x");
  host.Enter();
  EXPECT_FALSE(dialog.ended());
  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{msg::kNotInteger});
}

TEST_F(Fixture, EscapeAndTheCloseBoxCancel) {
  host.Close();
  EXPECT_TRUE(dialog.ended());
  EXPECT_EQ(dialog.result(), kIdCancel);
}

TEST_F(Fixture, NestedDialogsTakeTheirActionsFromTheQueue) {
  host.QueueScript("type 5 hello\nenter\n");
  host.Click(60);
  EXPECT_EQ(dialog.nestedResult, kIdOk);
  EXPECT_EQ(dialog.nestedText, "hello");
  EXPECT_EQ(host.opened(), (std::vector<int>{500, 501}));
  EXPECT_EQ(host.errors(), 0);
}

TEST_F(Fixture, FileDialogsTakeTheNextQueuedAnswer) {
  host.SetFileBase("/base");
  std::optional<std::string> a, b, c;
  host.AnswerFile("dir/name");
  host.CancelFile();
  a = dialog.AskFile({true, "EEPROM.h", "h", "h files(*.h)|*.h||", "/x"});
  b = dialog.AskFile({false, "EEPROM.h", "h", "", "/x"});
  c = dialog.AskFile({false, "EEPROM.h", "h", "", "/x"});  // nothing queued: an error, cancelled
  // The default extension is added to a bare name; the name is the platform's own.
  EXPECT_EQ(a, std::filesystem::path("/base/dir/name.h").make_preferred().string());
  EXPECT_EQ(b, std::nullopt);
  EXPECT_EQ(c, std::nullopt);
  EXPECT_EQ(host.errors(), 1);
  EXPECT_EQ(host.fileDialogs().size(), 3u);
}

TEST(Sliders, EveryVisibleSliderPaintsOnceWhenItsWindowFirstOpens) {
  HeadlessHost h{kResources, "Tool"};
  SliderDialog d{h};
  h.Open(d);
  // Before any input: one paint each, at the position the initialisation left, none for the hidden one.
  EXPECT_EQ(d.events, (std::vector<std::string>{"draw 81 at 21", "draw 82 at 22"}));
}

TEST_F(Fixture, TabWithNothingFocusedGoesToTheFirstOrLastTabStop) {
  dialog.UserFocus(0);
  ASSERT_EQ(dialog.focusId(), 0);
  host.Tab();
  EXPECT_EQ(dialog.focusId(), kIdOk);
  dialog.UserFocus(0);
  host.Press(Key::BackTab);
  EXPECT_EQ(dialog.focusId(), 60) << "the last usable tab stop (70 is disabled)";
}

TEST_F(Fixture, ARadioGroupWithNoButtonCheckedSavesMinusOne) {
  dialog.first = 1;
  dialog.second = 0;
  dialog.CheckDlgButton(21, false);
  dialog.CheckDlgButton(22, false);
  ASSERT_TRUE(dialog.UpdateData(true));
  EXPECT_EQ(dialog.first, -1);
  EXPECT_EQ(dialog.second, 1) << "the other group keeps its checked button";
}

TEST(Messages, OutOfRangeNamesTheMinimumFirst) {
  EXPECT_EQ(msg::OutOfRange(0, 65535), "请输入一个介于 0 和 65535 之间的整数。");
  EXPECT_EQ(msg::OutOfRange(-5, 12), "请输入一个介于 -5 和 12 之间的整数。");
}

TEST_F(Fixture, DefaultExtensionsFollowTheNameNotTheFolder) {
  const std::filesystem::path base =
      std::filesystem::temp_directory_path() / ("lxui-ext-" + std::to_string(::getpid()));
  std::filesystem::create_directories(base / "dir.d");
  std::ofstream(base / "plain") << "x";
  host.SetFileBase(base);
  const struct {
    bool save;
    const char* answer;
    std::string chosen;
  } cases[] = {
      // a dot in a folder is no extension; the names are the platform's own
      {true, "dir.d/name", (base / "dir.d/name.h").make_preferred().string()},
      {false, "dir.d/name", (base / "dir.d/name.h").make_preferred().string()},
      {true, "name.txt", (base / "name.txt").string()},
      {false, "plain", (base / "plain").string()},             // Open takes an existing file as it is
      {true, "plain", (base / "plain.h").string()},            // Save names a new file
  };
  for (const auto& c : cases) {
    host.AnswerFile(c.answer);
    EXPECT_EQ(dialog.AskFile({c.save, "EEPROM.h", "h", "head files(*.h)|*.h||", "/x"}), c.chosen) << c.answer;
  }
  std::filesystem::remove_all(base);
}

TEST(Parsing, NumbersAsBoxesAcceptThem) {
  struct Row {
    const char* text;
    std::optional<int32_t> asInt;
    std::optional<uint32_t> asUnsigned;
  };
  const Row rows[] = {
      {"0", 0, 0u},        {" 12 ", 12, 12u},   {"+7", 7, 7u},       {"-7", -7, std::nullopt},
      {"", {}, {}},        {"1 2", {}, {}},     {"0x10", {}, {}},    {"2147483647", INT32_MAX, 2147483647u},
      {"4294967295", {}, 4294967295u},           {"12a", {}, {}},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ParseInt(r.text), r.asInt) << r.text;
    EXPECT_EQ(ParseUInt(r.text), r.asUnsigned) << r.text;
  }
  EXPECT_EQ(ParseFloat(" 9.375 "), 9.375f);
  EXPECT_EQ(ParseFloat("1e39"), std::nullopt);
  EXPECT_EQ(ParseFloat("1,5"), std::nullopt);
  EXPECT_EQ(FormatFloat(468.75f), "468.75");
  EXPECT_EQ(FormatFloat(0.0f), "0");
}

}  // namespace
}  // namespace lx::ui
