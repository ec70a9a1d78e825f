#include "rx/rx_other_dialog.h"

#include <string>

#include "resources/rx_ids.h"
#include "settings/ui/field_exchange.h"

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
}  // namespace

RxOtherDialog::RxOtherDialog(ui::Host& host, ToolState& state)
    : Dialog(host, res::kRxOtherDialog),
      state_(state),
      automute_(bindings_.Bind(RxField::Automute, BindKind::RadioPair, kEnableAutomute)),
      pilotAutomute_(bindings_.Bind(RxField::PilotAutomute, BindKind::RadioPair, kEnablePilotAutomute)),
      snrAutomute_(bindings_.Bind(RxField::SnrAutomute, BindKind::RadioPair, kEnableSnrAutomute)),
      highThreshold_(bindings_.Bind(RxField::SnrHighThreshold, BindKind::Slider, kHighThresholdSlider)),
      lowThreshold_(bindings_.Bind(RxField::SnrLowThreshold, BindKind::Slider, kLowThresholdSlider)),
      afc_(bindings_.Bind(RxField::Afc, BindKind::RadioPair, kEnableAfc)),
      afcRange_(bindings_.Bind(RxField::AfcRange, BindKind::List, kAfcRangeList)) {
  On(kEnableAutomute, Notify::Clicked, &RxOtherDialog::OnEnableAutomute);
  On(kDisableAutomute, Notify::Clicked, &RxOtherDialog::OnDisableAutomute);
  On(kEnablePilotAutomute, Notify::Clicked, &RxOtherDialog::OnEnablePilotAutomute);
  On(kDisablePilotAutomute, Notify::Clicked, &RxOtherDialog::OnDisablePilotAutomute);
  On(kEnableSnrAutomute, Notify::Clicked, &RxOtherDialog::OnEnableSnrAutomute);
  On(kDisableSnrAutomute, Notify::Clicked, &RxOtherDialog::OnDisableSnrAutomute);
  On(kEnableAfc, Notify::Clicked, &RxOtherDialog::OnEnableAfc);
  On(kDisableAfc, Notify::Clicked, &RxOtherDialog::OnDisableAfc);
  On(kAfcRangeList, Notify::SelChange, &RxOtherDialog::OnSelChangeAfcRange);
  On(kHighThresholdSlider, Notify::CustomDraw, &RxOtherDialog::OnCustomDrawHighThreshold);
  On(kLowThresholdSlider, Notify::CustomDraw, &RxOtherDialog::OnCustomDrawLowThreshold);
  // The four switches are decoded before the window exists.
  snrAutomute_.Load(state_.words);
  afc_.Load(state_.words);
  automute_.Load(state_.words);
  pilotAutomute_.Load(state_.words);
}

// The automute and pilot groups are not exchanged: OnInitDialog checks their buttons.
void RxOtherDialog::DoDataExchange(ui::DataExchange& dx) {
  ui::DdxControl(dx, kLowThresholdSlider, lowSlider_);
  ui::DdxControl(dx, kHighThresholdSlider, highSlider_);
  ui::DdxControl(dx, kAfcRangeList, rangeList_);
  settings::DdxRadio(dx, kEnableSnrAutomute, snrAutomute_);
  settings::DdxRadio(dx, kEnableAfc, afc_);
  ui::DdxText(dx, kHighThresholdBox, highBox_);
  ui::DdxText(dx, kLowThresholdBox, lowBox_);
}

bool RxOtherDialog::OnInitDialog() {
  Dialog::OnInitDialog();

  highThreshold_.Load(state_.words);
  settings::SetupSlider(highSlider_, highThreshold_, 0, 255);
  TakeHighThreshold();
  lowThreshold_.Load(state_.words);
  settings::SetupSlider(lowSlider_, lowThreshold_, 0, 255);
  TakeLowThreshold();

  const bool automute = automute_.On();
  CheckDlgButton(kEnableAutomute, automute);
  CheckDlgButton(kDisableAutomute, !automute);
  EnableControls(kAutomuteControls, automute);

  CheckDlgButton(kEnablePilotAutomute, pilotAutomute_.On());
  CheckDlgButton(kDisablePilotAutomute, !pilotAutomute_.On());

  // Decides the threshold controls on its own, after the master switch: with automute off
  // and SNR automute on, the sliders are usable while the radio buttons are greyed.
  EnableControls(kThresholdControls, snrAutomute_.On());

  afcRange_.Load(state_.words);
  settings::FillList(rangeList_, afcRange_);
  rangeList_.EnableWindow(afc_.On());
  return true;
}

void RxOtherDialog::EnableControls(std::span<const int> ids, bool enable) {
  for (int id : ids) GetDlgItem(id).EnableWindow(enable);
}

// The master switch acts on all eight controls, whatever SNR automute says.
void RxOtherDialog::OnEnableAutomute() {
  automute_.SetOn(true);
  EnableControls(kAutomuteControls, true);
}

void RxOtherDialog::OnDisableAutomute() {
  automute_.SetOn(false);
  EnableControls(kAutomuteControls, false);
}

void RxOtherDialog::OnEnablePilotAutomute() { pilotAutomute_.SetOn(true); }
void RxOtherDialog::OnDisablePilotAutomute() { pilotAutomute_.SetOn(false); }

void RxOtherDialog::OnEnableSnrAutomute() {
  snrAutomute_.SetOn(true);
  EnableControls(kThresholdControls, true);
}

void RxOtherDialog::OnDisableSnrAutomute() {
  snrAutomute_.SetOn(false);
  EnableControls(kThresholdControls, false);
}

void RxOtherDialog::OnEnableAfc() {
  afc_.SetOn(true);
  rangeList_.EnableWindow(true);
}

void RxOtherDialog::OnDisableAfc() {
  afc_.SetOn(false);
  rangeList_.EnableWindow(false);
}

void RxOtherDialog::OnSelChangeAfcRange() { settings::TakeSelection(rangeList_, afcRange_); }

// A slider repainted, after any move of its thumb by mouse or keyboard. Only the boxes are
// refreshed: the radio buttons keep showing the user's latest clicks.
void RxOtherDialog::OnCustomDrawHighThreshold() { TakeHighThreshold(); }
void RxOtherDialog::OnCustomDrawLowThreshold() { TakeLowThreshold(); }

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

// Every pending value is written, whatever the enabled state of its controls.
void RxOtherDialog::OnOK() {
  automute_.Commit(state_.words);
  snrAutomute_.Commit(state_.words);
  pilotAutomute_.Commit(state_.words);
  // The two thresholds fill reg1c: high byte, low byte, the whole word replaced.
  highThreshold_.Commit(state_.words);
  lowThreshold_.Commit(state_.words);
  afcRange_.Commit(state_.words);
  afc_.Commit(state_.words);
  Dialog::OnOK();
}

}  // namespace lx::rx
