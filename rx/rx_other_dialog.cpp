#include "rx/rx_other_dialog.h"

#include "resources/rx_ids.h"

namespace lx::rx {

namespace {
using namespace res::rx_other;

// In the order OK writes them; the two thresholds fill reg1c, the whole word replaced. The
// automute and pilot groups are not exchanged: their buttons are checked on opening, and after
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
  // The master switch acts on all eight controls, whatever SNR automute says. SNR automute
  // decides the threshold controls on its own, after it: with automute off and SNR automute
  // on, the sliders are usable while the radio buttons are greyed.
  OnRadioPair(RxField::Automute, kDisableAutomute, kAutomuteControls);
  OnRadioPair(RxField::PilotAutomute, kDisablePilotAutomute);
  OnRadioPair(RxField::SnrAutomute, kDisableSnrAutomute, kThresholdControls);
  OnRadioPair(RxField::Afc, kDisableAfc, kAfcControls);
  ShowValueIn(RxField::SnrHighThreshold, kHighThresholdBox);
  ShowValueIn(RxField::SnrLowThreshold, kLowThresholdBox);
}

}  // namespace lx::rx
