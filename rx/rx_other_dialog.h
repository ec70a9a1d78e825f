#pragma once
#include "core/state.h"
#include "settings/ui/field_exchange.h"

namespace lx::rx {

// "其他配置": the automute master switch over pilot and SNR automute, the SNR thresholds that
// fill reg1c, and automatic frequency control with its range. Every pending value is written on
// OK, whatever the enabled state of its controls.
class RxOtherDialog : public settings::SettingsDialog {
 public:
  RxOtherDialog(ui::Host& host, ToolState& state);
};

}  // namespace lx::rx
