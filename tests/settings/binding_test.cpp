// Field bindings on the headless host: each control kind loads its field on opening, the user's
// change reaches only that field's bits on OK, Cancel writes nothing, inverted switches show
// "Enable" for a clear bit, and a stored value without a control position is kept.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/register_map.h"
#include "settings/ui/field_exchange.h"
#include "ui/headless.h"

namespace lx::settings {
namespace {

using ui::Kind;

enum : int {
  kPilotOn = 10,
  kPilotOff,  // TxField::Pilot, a set bit turns it on
  kEmphasisOn = 12,
  kEmphasisOff,       // TxField::PreEmphasis, a set bit turns it off
  kGainList = 20,     // RxField::AudioGain, no item for 7
  kBlinkSlider = 30,  // TxField::BlinkThreshold, 0..127
  kAfcCheck = 40,     // RxField::Afc
};

constexpr ui::ControlTemplate kControls[] = {
    {ui::kIdOk, Kind::PushButton, "OK", 10, 100, 50, 14, ui::kDefault | ui::kTabStop},
    {ui::kIdCancel, Kind::PushButton, "Cancel", 70, 100, 50, 14, ui::kTabStop},
    {kPilotOn, Kind::RadioButton, "Enable", 10, 10, 40, 10, ui::kGroup},
    {kPilotOff, Kind::RadioButton, "Disable", 60, 10, 40, 10, 0},
    {kEmphasisOn, Kind::RadioButton, "Enable", 10, 25, 40, 10, ui::kGroup},
    {kEmphasisOff, Kind::RadioButton, "Disable", 60, 25, 40, 10, 0},
    {kGainList, Kind::ComboBox, "", 10, 40, 60, 80, ui::kGroup | ui::kTabStop},
    {kBlinkSlider, Kind::Slider, "", 10, 60, 100, 15, ui::kTabStop},
    {kAfcCheck, Kind::CheckBox, "AFC", 10, 80, 40, 10, ui::kGroup | ui::kTabStop},
};
constexpr ui::DialogTemplate kTemplate{600, "Bound", 200, 120, "System", 10, kControls};
const ui::DialogTemplate* const kDialogs[] = {&kTemplate};
const ui::ResourceSet kResources{kDialogs, {}, {}, {}};

constexpr BindingRow kTable[] = {
    {TxField::Pilot, BindKind::RadioPair, kPilotOn},
    {TxField::PreEmphasis, BindKind::RadioPair, kEmphasisOn},
    {RxField::AudioGain, BindKind::List, kGainList},
    {TxField::BlinkThreshold, BindKind::Slider, kBlinkSlider},
    {RxField::Afc, BindKind::CheckBox, kAfcCheck},
};

// A settings window in miniature, made the way the real ones are.
const SettingsWindow kWindow{600, kTable};
using BoundDialog = TableDialog<kWindow>;

// The dialog over `words` on a headless host, and the image it writes to.
struct Opened {
  explicit Opened(const RegisterImage& words) : host(kResources, "Tool"), state(AmbrelProfile(), ".") {
    state.words = words;
    dialog = std::make_unique<BoundDialog>(host, state);
    host.Open(*dialog);
  }
  ui::HeadlessHost host;
  ToolState state;
  std::unique_ptr<BoundDialog> dialog;
};

// Every word 0xA5A5 (pilot on, pre-emphasis on: its bit clear, gain 2, AFC on), blink 112.
RegisterImage Background() {
  RegisterImage w;
  w.fill(0xA5A5);
  w[0x16] = 0x70A5;
  return w;
}

RegisterImage With(RegisterImage w, const RegisterField& f, uint32_t value) {
  WriteFieldBits(f, value, w);
  return w;
}

TEST(Binding, OpeningShowsEveryFieldInItsControl) {
  const struct {
    const char* what;
    RegisterImage words;
    std::vector<int> checked;  // of 10..13 and 40
    std::string gainText;
    int blinkPos;
  } rows[] = {
      {"background", Background(), {kPilotOn, kEmphasisOn, kAfcCheck}, "6dB", 112},
      {"polarities flipped",
       With(With(With(Background(), Field(TxField::Pilot), 0), Field(TxField::PreEmphasis), 1),
            Field(RxField::Afc), 0),
       {kPilotOff, kEmphasisOff},
       "6dB",
       112},
      {"gain without an item",
       With(Background(), Field(RxField::AudioGain), 7),
       {kPilotOn, kEmphasisOn, kAfcCheck},
       "",
       112},
  };
  for (const auto& r : rows) {
    Opened o(r.words);
    BoundDialog& dialog = *o.dialog;
    std::vector<int> checked;
    for (int id : {kPilotOn, kPilotOff, kEmphasisOn, kEmphasisOff, kAfcCheck})
      if (dialog.IsDlgButtonChecked(id)) checked.push_back(id);
    EXPECT_EQ(checked, r.checked) << r.what;
    EXPECT_EQ(dialog.GetDlgItemText(kGainList), r.gainText) << r.what;
    EXPECT_EQ(dialog.at(kBlinkSlider).pos, r.blinkPos) << r.what;
  }
}

TEST(Binding, OkWritesExactlyTheChangedFieldsAndCancelNothing) {
  const RegisterImage background = Background();
  const RegisterImage noGainItem = With(background, Field(RxField::AudioGain), 7);
  const struct {
    const char* what;
    RegisterImage words;
    std::function<void(ui::HeadlessHost&)> act;
    RegisterImage afterOk;
  } rows[] = {
      {"nothing changed", background, [](ui::HeadlessHost&) {}, background},
      {"pilot off: its bit clears", background, [](ui::HeadlessHost& h) { h.Click(kPilotOff); },
       With(background, Field(TxField::Pilot), 0)},
      {"pre-emphasis off: its bit sets", background, [](ui::HeadlessHost& h) { h.Click(kEmphasisOff); },
       With(background, Field(TxField::PreEmphasis), 1)},
      {"pre-emphasis back on: its bit clears", With(background, Field(TxField::PreEmphasis), 1),
       [](ui::HeadlessHost& h) { h.Click(kEmphasisOn); }, background},
      {"gain item 6", background, [](ui::HeadlessHost& h) { h.Select(kGainList, 6); },
       With(background, Field(RxField::AudioGain), 6)},
      {"gain 7 has no item and is kept", noGainItem, [](ui::HeadlessHost&) {}, noGainItem},
      {"gain 7 kept until an item is picked", noGainItem, [](ui::HeadlessHost& h) { h.Select(kGainList, 1); },
       With(background, Field(RxField::AudioGain), 1)},
      {"slider to 5", background, [](ui::HeadlessHost& h) { h.Drag(kBlinkSlider, 5); },
       With(background, Field(TxField::BlinkThreshold), 5)},
      {"AFC off", background, [](ui::HeadlessHost& h) { h.Click(kAfcCheck); },
       With(background, Field(RxField::Afc), 0)},
  };
  for (const auto& r : rows) {
    for (const bool ok : {true, false}) {
      Opened o(r.words);
      r.act(o.host);
      o.host.Click(ok ? ui::kIdOk : ui::kIdCancel);
      EXPECT_TRUE(o.dialog->ended()) << r.what;
      EXPECT_EQ(o.state.words, ok ? r.afterOk : r.words) << r.what << (ok ? " (OK)" : " (Cancel)");
    }
  }
}

TEST(Binding, ValuesOfTheBindingItself) {
  ToolState state(AmbrelProfile(), ".");
  state.words = With(Background(), Field(RxField::AudioGain), 7);
  FieldBinding gain({RxField::AudioGain, BindKind::List, kGainList});
  gain.Load(state);
  gain.SetListIndex(7);  // past the items: no such position
  EXPECT_EQ(gain.value(), 7u);
  FieldBinding emphasis({TxField::PreEmphasis, BindKind::RadioPair, kEmphasisOn});
  emphasis.Load(state);
  emphasis.SetRadioIndex(-1);  // no button checked keeps the value
  EXPECT_EQ(emphasis.radioIndex(), 0);
  emphasis.SetRadioIndex(1);
  EXPECT_EQ(emphasis.value(), 1u);
}

}  // namespace
}  // namespace lx::settings
