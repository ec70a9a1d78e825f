#include "resources/rx_ids.h"
#include "rx/rx_dialogs.h"

namespace lx::rx {

namespace {
using namespace res::rx_audio;
using settings::BindKind;
using settings::kExchanged;

// What the expander switch greys.
constexpr int kExpanderControls[] = {kTimeConstantList};

// In the order OK writes them. A gain of 7 has no item: the list selects none. The slider's
// top is volume 31 and its bottom volume 0; the box beside it shows the volume.
constexpr settings::BindingRow kBindings[] = {
    {RxField::DeEmphasis, BindKind::RadioPair, kEnableDeEmphasis, kExchanged, kDisableDeEmphasis},
    {RxField::AudioGain, BindKind::List, kGainList},
    {RxField::Expander, BindKind::RadioPair, kEnableExpander, kExchanged, kDisableExpander,
     kExpanderControls},
    {RxField::ExpanderTimeConstant, BindKind::List, kTimeConstantList},
    {RxField::Volume, BindKind::ReversedSlider, kVolumeSlider, kExchanged, kVolumeBox},
};
}  // namespace

const settings::SettingsWindow kRxAudioWindow{res::kRxAudioDialog, kBindings};

}  // namespace lx::rx
