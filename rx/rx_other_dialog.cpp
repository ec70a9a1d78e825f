#include "resources/rx_ids.h"
#include "rx/rx_dialogs.h"

namespace lx::rx {

namespace {
using namespace res::rx_other;
using settings::BindKind;
using settings::kExchanged;
using settings::kNotExchanged;

// What the automute master switch greys: the pilot and SNR radios, both sliders and boxes,
// whatever SNR automute says.
constexpr int kAutomuteControls[] = {kEnablePilotAutomute, kDisablePilotAutomute, kEnableSnrAutomute,
                                     kDisableSnrAutomute,  kHighThresholdSlider,  kLowThresholdSlider,
                                     kHighThresholdBox,    kLowThresholdBox};
// What the SNR automute switch greys. On opening it decides them on its own, after the master
// switch: with automute off and SNR automute on, the sliders are usable while the radio
// buttons are greyed.
constexpr int kThresholdControls[] = {kHighThresholdSlider, kLowThresholdSlider, kHighThresholdBox,
                                      kLowThresholdBox};
// What the AFC switch greys.
constexpr int kAfcControls[] = {kAfcRangeList};

// In the order OK writes them; the two thresholds fill reg1c, the whole word replaced, and a box
// beside each slider shows its value. The automute and pilot groups are not exchanged: their
// buttons are checked on opening, and after that only their clicks change them.
constexpr settings::BindingRow kBindings[] = {
    {RxField::Automute, BindKind::RadioPair, kEnableAutomute, kNotExchanged, kDisableAutomute,
     kAutomuteControls},
    {RxField::SnrAutomute, BindKind::RadioPair, kEnableSnrAutomute, kExchanged, kDisableSnrAutomute,
     kThresholdControls},
    {RxField::PilotAutomute, BindKind::RadioPair, kEnablePilotAutomute, kNotExchanged, kDisablePilotAutomute},
    {RxField::SnrHighThreshold, BindKind::Slider, kHighThresholdSlider, kExchanged, kHighThresholdBox},
    {RxField::SnrLowThreshold, BindKind::Slider, kLowThresholdSlider, kExchanged, kLowThresholdBox},
    {RxField::AfcRange, BindKind::List, kAfcRangeList},
    {RxField::Afc, BindKind::RadioPair, kEnableAfc, kExchanged, kDisableAfc, kAfcControls},
};
}  // namespace

const settings::SettingsWindow kRxOtherWindow{res::kRxOtherDialog, kBindings};

}  // namespace lx::rx
