#include "rx/rx_other_dialog.h"

#include "resources/rx_ids.h"

namespace lx::rx {

namespace {
using namespace res::rx_other;

// In the order OK writes them; the two thresholds fill reg1c, the whole word replaced. The
// automute and pilot groups are not exchanged: OnInitDialog checks their buttons, and after
// that only their clicks change them.
constexpr settings::BindingRow kBindings[] = {
    {RxField::Automute, settings::BindKind::RadioPair, kEnableAutomute, settings::kNotExchanged},
    {RxField::SnrAutomute, settings::BindKind::RadioPair, kEnableSnrAutomute},
    {RxField::PilotAutomute, settings::BindKind::RadioPair, kEnablePilotAutomute, settings::kNotExchanged},
    {RxField::SnrHighThreshold, settings::BindKind::Slider, kHighThresholdSlider},
    {RxField::SnrLowThreshold, settings::BindKind::Slider, kLowThresholdSlider},
    {RxField::AfcRange, settings::BindKind::List, kAfcRangeList},
    {RxField::Afc, settings::BindKind::RadioPair, kEnableAfc},
};

// What the automute master switch greys: the pilot and SNR radios, both sliders and boxes.
constexpr int kAutomuteControls[] = {kEnablePilotAutomute, kDisablePilotAutomute, kEnableSnrAutomute,
                                     kDisableSnrAutomute,  kHighThresholdSlider,  kLowThresholdSlider,
                                     kHighThresholdBox,    kLowThresholdBox};
// What the SNR automute switch greys.
constexpr int kThresholdControls[] = {kHighThresholdSlider, kLowThresholdSlider, kHighThresholdBox,
                                      kLowThresholdBox};
// What the AFC switch greys.
constexpr int kAfcControls[] = {kAfcRangeList};
}  // namespace

RxOtherDialog::RxOtherDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kRxOtherDialog, state, kBindings) {
  // The master switch acts on all eight controls, whatever SNR automute says.
  On(kEnableAutomute, Notify::Clicked,
     [this] { SetSwitch(bound(RxField::Automute), true, kAutomuteControls); });
  On(kDisableAutomute, Notify::Clicked,
     [this] { SetSwitch(bound(RxField::Automute), false, kAutomuteControls); });
  On(kEnablePilotAutomute, Notify::Clicked, [this] { SetSwitch(bound(RxField::PilotAutomute), true); });
  On(kDisablePilotAutomute, Notify::Clicked, [this] { SetSwitch(bound(RxField::PilotAutomute), false); });
  On(kEnableSnrAutomute, Notify::Clicked,
     [this] { SetSwitch(bound(RxField::SnrAutomute), true, kThresholdControls); });
  On(kDisableSnrAutomute, Notify::Clicked,
     [this] { SetSwitch(bound(RxField::SnrAutomute), false, kThresholdControls); });
  On(kEnableAfc, Notify::Clicked, [this] { SetSwitch(bound(RxField::Afc), true, kAfcControls); });
  On(kDisableAfc, Notify::Clicked, [this] { SetSwitch(bound(RxField::Afc), false, kAfcControls); });
  On(kAfcRangeList, Notify::SelChange, [this] { TakeSelection(bound(RxField::AfcRange)); });
  // A slider repainted, after any move of its thumb by mouse or keyboard.
  On(kHighThresholdSlider, Notify::CustomDraw,
     [this] { TakePosition(bound(RxField::SnrHighThreshold), kHighThresholdBox, highBox_); });
  On(kLowThresholdSlider, Notify::CustomDraw,
     [this] { TakePosition(bound(RxField::SnrLowThreshold), kLowThresholdBox, lowBox_); });
}

void RxOtherDialog::ExchangeBoxes(ui::DataExchange& dx) {
  ui::DdxText(dx, kHighThresholdBox, highBox_);
  ui::DdxText(dx, kLowThresholdBox, lowBox_);
}

bool RxOtherDialog::OnInitDialog() {
  Dialog::OnInitDialog();

  SetupSlider(bound(RxField::SnrHighThreshold));
  TakePosition(bound(RxField::SnrHighThreshold), kHighThresholdBox, highBox_);
  SetupSlider(bound(RxField::SnrLowThreshold));
  TakePosition(bound(RxField::SnrLowThreshold), kLowThresholdBox, lowBox_);

  const settings::FieldBinding& automute = bound(RxField::Automute);
  CheckRadioPair(automute);
  EnableDlgItems(kAutomuteControls, automute.on());
  CheckRadioPair(bound(RxField::PilotAutomute));

  // Decides the threshold controls on its own, after the master switch: with automute off
  // and SNR automute on, the sliders are usable while the radio buttons are greyed.
  EnableDlgItems(kThresholdControls, bound(RxField::SnrAutomute).on());

  FillList(bound(RxField::AfcRange));
  EnableDlgItems(kAfcControls, bound(RxField::Afc).on());
  return true;
}

}  // namespace lx::rx
