#include "rx/rx_audio_dialog.h"

#include <string>

#include "resources/rx_ids.h"

namespace lx::rx {

using namespace res::rx_audio;
using settings::BindKind;
using ui::Notify;

namespace {
// What the expander switch greys.
constexpr int kExpanderControls[] = {kTimeConstantList};
}  // namespace

RxAudioDialog::RxAudioDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kRxAudioDialog, state),
      deEmphasis_(bindings_.Bind(RxField::DeEmphasis, BindKind::RadioPair, kEnableDeEmphasis)),
      gain_(bindings_.Bind(RxField::AudioGain, BindKind::List, kGainList)),
      expander_(bindings_.Bind(RxField::Expander, BindKind::RadioPair, kEnableExpander)),
      timeConstant_(bindings_.Bind(RxField::ExpanderTimeConstant, BindKind::List, kTimeConstantList)),
      volume_(bindings_.Bind(RxField::Volume, BindKind::Slider, kVolumeSlider)) {
  On(kEnableDeEmphasis, Notify::Clicked, [this] { SetSwitch(deEmphasis_, true); });
  On(kDisableDeEmphasis, Notify::Clicked, [this] { SetSwitch(deEmphasis_, false); });
  On(kEnableExpander, Notify::Clicked, [this] { SetSwitch(expander_, true, kExpanderControls); });
  On(kDisableExpander, Notify::Clicked, [this] { SetSwitch(expander_, false, kExpanderControls); });
  On(kGainList, Notify::SelChange, [this] { settings::TakeSelection(gainList_, gain_); });
  On(kTimeConstantList, Notify::SelChange,
     [this] { settings::TakeSelection(timeConstantList_, timeConstant_); });
  // The slider repainted, after any move of its thumb by mouse or keyboard.
  On(kVolumeSlider, Notify::CustomDraw, [this] { TakeVolume(); });
  // The two switches are decoded before the window exists; the exchange checks their buttons.
  deEmphasis_.Load(state_.words);
  expander_.Load(state_.words);
}

void RxAudioDialog::DoDataExchange(ui::DataExchange& dx) {
  settings::DdxControl(dx, volume_, volumeSlider_);
  settings::DdxControl(dx, gain_, gainList_);
  settings::DdxControl(dx, timeConstant_, timeConstantList_);
  settings::DdxRadio(dx, deEmphasis_);
  settings::DdxRadio(dx, expander_);
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
  settings::SetupReversedSlider(volumeSlider_, volume_);
  TakeVolume();
  EnableDlgItems(kExpanderControls, expander_.On());
  return true;
}

// Only the box is refreshed: the radio buttons keep showing the user's latest clicks.
void RxAudioDialog::TakeVolume() {
  settings::TakeReversedPosition(volumeSlider_, volume_);
  volumeBox_ = static_cast<int32_t>(volume_.value());
  SetDlgItemText(kVolumeBox, std::to_string(volumeBox_));
}

}  // namespace lx::rx
