#include "rx/rx_audio_dialog.h"

#include "resources/rx_ids.h"

namespace lx::rx {

namespace {
using namespace res::rx_audio;

// In the order OK writes them. The slider's top is volume 31 and its bottom volume 0.
constexpr settings::BindingRow kBindings[] = {
    {RxField::DeEmphasis, settings::BindKind::RadioPair, kEnableDeEmphasis},
    {RxField::AudioGain, settings::BindKind::List, kGainList},
    {RxField::Expander, settings::BindKind::RadioPair, kEnableExpander},
    {RxField::ExpanderTimeConstant, settings::BindKind::List, kTimeConstantList},
    {RxField::Volume, settings::BindKind::ReversedSlider, kVolumeSlider},
};

// What the expander switch greys.
constexpr int kExpanderControls[] = {kTimeConstantList};
}  // namespace

RxAudioDialog::RxAudioDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kRxAudioDialog, state, kBindings) {
  On(kEnableDeEmphasis, Notify::Clicked, [this] { SetSwitch(bound(RxField::DeEmphasis), true); });
  On(kDisableDeEmphasis, Notify::Clicked, [this] { SetSwitch(bound(RxField::DeEmphasis), false); });
  On(kEnableExpander, Notify::Clicked,
     [this] { SetSwitch(bound(RxField::Expander), true, kExpanderControls); });
  On(kDisableExpander, Notify::Clicked,
     [this] { SetSwitch(bound(RxField::Expander), false, kExpanderControls); });
  On(kGainList, Notify::SelChange, [this] { TakeSelection(bound(RxField::AudioGain)); });
  On(kTimeConstantList, Notify::SelChange, [this] { TakeSelection(bound(RxField::ExpanderTimeConstant)); });
  // The slider repainted, after any move of its thumb by mouse or keyboard.
  On(kVolumeSlider, Notify::CustomDraw,
     [this] { TakePosition(bound(RxField::Volume), kVolumeBox, volumeBox_); });
}

void RxAudioDialog::ExchangeBoxes(ui::DataExchange& dx) { ui::DdxText(dx, kVolumeBox, volumeBox_); }

bool RxAudioDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  FillList(bound(RxField::AudioGain));  // a gain of 7 has no item: nothing is selected
  FillList(bound(RxField::ExpanderTimeConstant));
  SetupSlider(bound(RxField::Volume));
  TakePosition(bound(RxField::Volume), kVolumeBox, volumeBox_);
  EnableDlgItems(kExpanderControls, bound(RxField::Expander).on());
  return true;
}

}  // namespace lx::rx
