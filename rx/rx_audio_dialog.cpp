#include "rx/rx_audio_dialog.h"

#include <string>

#include "resources/rx_ids.h"
#include "settings/ui/field_exchange.h"

namespace lx::rx {

using namespace res::rx_audio;
using settings::BindKind;
using ui::Notify;

RxAudioDialog::RxAudioDialog(ui::Host& host, ToolState& state)
    : Dialog(host, res::kRxAudioDialog),
      state_(state),
      deEmphasis_(bindings_.Bind(RxField::DeEmphasis, BindKind::RadioPair, kEnableDeEmphasis)),
      gain_(bindings_.Bind(RxField::AudioGain, BindKind::List, kGainList)),
      expander_(bindings_.Bind(RxField::Expander, BindKind::RadioPair, kEnableExpander)),
      timeConstant_(bindings_.Bind(RxField::ExpanderTimeConstant, BindKind::List, kTimeConstantList)),
      volume_(bindings_.Bind(RxField::Volume, BindKind::Slider, kVolumeSlider)) {
  On(kEnableDeEmphasis, Notify::Clicked, &RxAudioDialog::OnEnableDeEmphasis);
  On(kDisableDeEmphasis, Notify::Clicked, &RxAudioDialog::OnDisableDeEmphasis);
  On(kEnableExpander, Notify::Clicked, &RxAudioDialog::OnEnableExpander);
  On(kDisableExpander, Notify::Clicked, &RxAudioDialog::OnDisableExpander);
  On(kGainList, Notify::SelChange, &RxAudioDialog::OnSelChangeGain);
  On(kTimeConstantList, Notify::SelChange, &RxAudioDialog::OnSelChangeTimeConstant);
  On(kVolumeSlider, Notify::CustomDraw, &RxAudioDialog::OnCustomDrawVolume);
  // The two switches are decoded before the window exists; the exchange checks their buttons.
  deEmphasis_.Load(state_.words);
  expander_.Load(state_.words);
}

void RxAudioDialog::DoDataExchange(ui::DataExchange& dx) {
  ui::DdxControl(dx, kVolumeSlider, volumeSlider_);
  ui::DdxControl(dx, kGainList, gainList_);
  ui::DdxControl(dx, kTimeConstantList, timeConstantList_);
  settings::DdxRadio(dx, kEnableDeEmphasis, deEmphasis_);
  settings::DdxRadio(dx, kEnableExpander, expander_);
  ui::DdxText(dx, kVolumeBox, volumeBox_);
}

bool RxAudioDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  gain_.Load(state_.words);
  settings::FillList(gainList_, gain_);  // a gain of 7 has no item: nothing is selected
  timeConstant_.Load(state_.words);
  settings::FillList(timeConstantList_, timeConstant_);
  // The slider's top is volume 31 and its bottom volume 0.
  volume_.Load(state_.words);
  settings::SetupReversedSlider(volumeSlider_, volume_, 0, 31);
  TakeVolume();
  timeConstantList_.EnableWindow(expander_.On());
  return true;
}

void RxAudioDialog::OnEnableDeEmphasis() { deEmphasis_.SetOn(true); }
void RxAudioDialog::OnDisableDeEmphasis() { deEmphasis_.SetOn(false); }

void RxAudioDialog::OnEnableExpander() {
  expander_.SetOn(true);
  timeConstantList_.EnableWindow(true);
}

void RxAudioDialog::OnDisableExpander() {
  expander_.SetOn(false);
  timeConstantList_.EnableWindow(false);
}

void RxAudioDialog::OnSelChangeGain() { settings::TakeSelection(gainList_, gain_); }
void RxAudioDialog::OnSelChangeTimeConstant() { settings::TakeSelection(timeConstantList_, timeConstant_); }

// The slider repainted, after any move of its thumb by mouse or keyboard.
void RxAudioDialog::OnCustomDrawVolume() { TakeVolume(); }

// Only the box is refreshed: the radio buttons keep showing the user's latest clicks.
void RxAudioDialog::TakeVolume() {
  settings::TakeReversedPosition(volumeSlider_, volume_);
  volumeBox_ = static_cast<int32_t>(volume_.value());
  SetDlgItemText(kVolumeBox, std::to_string(volumeBox_));
}

// The time constant is written even while its list is greyed.
void RxAudioDialog::OnOK() {
  deEmphasis_.Commit(state_.words);
  gain_.Commit(state_.words);
  expander_.Commit(state_.words);
  timeConstant_.Commit(state_.words);
  volume_.Commit(state_.words);
  Dialog::OnOK();
}

}  // namespace lx::rx
