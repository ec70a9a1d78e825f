#include "rx/rx_other_dialog.h"

#include <string>

#include "resources/rx_ids.h"

namespace lx::rx {

using namespace res::rx_other;
using settings::BindKind;
using ui::Notify;

namespace {
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
    : SettingsDialog(host, res::kRxOtherDialog, state),
      automute_(bindings_.Bind(RxField::Automute, BindKind::RadioPair, kEnableAutomute)),
      snrAutomute_(bindings_.Bind(RxField::SnrAutomute, BindKind::RadioPair, kEnableSnrAutomute)),
      pilotAutomute_(bindings_.Bind(RxField::PilotAutomute, BindKind::RadioPair, kEnablePilotAutomute)),
      highThreshold_(bindings_.Bind(RxField::SnrHighThreshold, BindKind::Slider, kHighThresholdSlider)),
      lowThreshold_(bindings_.Bind(RxField::SnrLowThreshold, BindKind::Slider, kLowThresholdSlider)),
      afcRange_(bindings_.Bind(RxField::AfcRange, BindKind::List, kAfcRangeList)),
      afc_(bindings_.Bind(RxField::Afc, BindKind::RadioPair, kEnableAfc)) {
  // The master switch acts on all eight controls, whatever SNR automute says.
  On(kEnableAutomute, Notify::Clicked, [this] { SetSwitch(automute_, true, kAutomuteControls); });
  On(kDisableAutomute, Notify::Clicked, [this] { SetSwitch(automute_, false, kAutomuteControls); });
  On(kEnablePilotAutomute, Notify::Clicked, [this] { SetSwitch(pilotAutomute_, true); });
  On(kDisablePilotAutomute, Notify::Clicked, [this] { SetSwitch(pilotAutomute_, false); });
  On(kEnableSnrAutomute, Notify::Clicked, [this] { SetSwitch(snrAutomute_, true, kThresholdControls); });
  On(kDisableSnrAutomute, Notify::Clicked, [this] { SetSwitch(snrAutomute_, false, kThresholdControls); });
  On(kEnableAfc, Notify::Clicked, [this] { SetSwitch(afc_, true, kAfcControls); });
  On(kDisableAfc, Notify::Clicked, [this] { SetSwitch(afc_, false, kAfcControls); });
  On(kAfcRangeList, Notify::SelChange, [this] { settings::TakeSelection(rangeList_, afcRange_); });
  // A slider repainted, after any move of its thumb by mouse or keyboard.
  On(kHighThresholdSlider, Notify::CustomDraw, [this] { TakeHighThreshold(); });
  On(kLowThresholdSlider, Notify::CustomDraw, [this] { TakeLowThreshold(); });
  // The four switches are decoded before the window exists.
  snrAutomute_.Load(state_.words);
  afc_.Load(state_.words);
  automute_.Load(state_.words);
  pilotAutomute_.Load(state_.words);
}

// The automute and pilot groups are not exchanged: OnInitDialog checks their buttons.
void RxOtherDialog::DoDataExchange(ui::DataExchange& dx) {
  settings::DdxControl(dx, lowThreshold_, lowSlider_);
  settings::DdxControl(dx, highThreshold_, highSlider_);
  settings::DdxControl(dx, afcRange_, rangeList_);
  settings::DdxRadio(dx, snrAutomute_);
  settings::DdxRadio(dx, afc_);
  ui::DdxText(dx, kHighThresholdBox, highBox_);
  ui::DdxText(dx, kLowThresholdBox, lowBox_);
}

bool RxOtherDialog::OnInitDialog() {
  Dialog::OnInitDialog();

  highThreshold_.Load(state_.words);
  settings::SetupSlider(highSlider_, highThreshold_);
  TakeHighThreshold();
  lowThreshold_.Load(state_.words);
  settings::SetupSlider(lowSlider_, lowThreshold_);
  TakeLowThreshold();

  const bool automute = automute_.On();
  CheckDlgButton(kEnableAutomute, automute);
  CheckDlgButton(kDisableAutomute, !automute);
  EnableDlgItems(kAutomuteControls, automute);

  CheckDlgButton(kEnablePilotAutomute, pilotAutomute_.On());
  CheckDlgButton(kDisablePilotAutomute, !pilotAutomute_.On());

  // Decides the threshold controls on its own, after the master switch: with automute off
  // and SNR automute on, the sliders are usable while the radio buttons are greyed.
  EnableDlgItems(kThresholdControls, snrAutomute_.On());

  afcRange_.Load(state_.words);
  settings::FillList(rangeList_, afcRange_);
  EnableDlgItems(kAfcControls, afc_.On());
  return true;
}

// Only the boxes are refreshed: the radio buttons keep showing the user's latest clicks.
void RxOtherDialog::TakeHighThreshold() {
  settings::TakePosition(highSlider_, highThreshold_);
  highBox_ = static_cast<int32_t>(highThreshold_.value());
  SetDlgItemText(kHighThresholdBox, std::to_string(highBox_));
}

void RxOtherDialog::TakeLowThreshold() {
  settings::TakePosition(lowSlider_, lowThreshold_);
  lowBox_ = static_cast<int32_t>(lowThreshold_.value());
  SetDlgItemText(kLowThresholdBox, std::to_string(lowBox_));
}

}  // namespace lx::rx
