#include "rx/rx_audio_dialog.h"

#include "resources/rx_ids.h"

namespace lx::rx {

namespace {
using namespace res::rx_audio;

// In the order OK writes them. The slider's top is volume 31 and its bottom volume 0.
constexpr settings::BindingRow kBindings[] = {
    {RxField::DeEmphasis, settings::BindKind::RadioPair, kEnableDeEmphasis},
    {RxField::AudioGain, settings::BindKind::List, kGainList},  // a gain of 7 has no item: none is selected
    {RxField::Expander, settings::BindKind::RadioPair, kEnableExpander},
    {RxField::ExpanderTimeConstant, settings::BindKind::List, kTimeConstantList},
    {RxField::Volume, settings::BindKind::ReversedSlider, kVolumeSlider},
};

// What the expander switch greys.
constexpr int kExpanderControls[] = {kTimeConstantList};
}  // namespace

RxAudioDialog::RxAudioDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kRxAudioDialog, state, kBindings) {
  OnRadioPair(RxField::DeEmphasis, kDisableDeEmphasis);
  OnRadioPair(RxField::Expander, kDisableExpander, kExpanderControls);
  ShowValueIn(RxField::Volume, kVolumeBox);
}

}  // namespace lx::rx
