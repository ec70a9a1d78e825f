#pragma once
#include <cstdint>

#include "core/state.h"
#include "settings/ui/field_exchange.h"

namespace lx::rx {

// "其他配置": the automute master switch over pilot and SNR automute, the SNR thresholds that
// fill reg1c, and automatic frequency control with its range. Every pending value is written on
// OK, whatever the enabled state of its controls.
class RxOtherDialog : public settings::SettingsDialog {
 public:
  RxOtherDialog(ui::Host& host, ToolState& state);

 protected:
  bool OnInitDialog() override;
  void ExchangeBoxes(ui::DataExchange& dx) override;

 private:
  int32_t highBox_ = 0;  // the integers the thresholds' boxes show
  int32_t lowBox_ = 0;
};

}  // namespace lx::rx
