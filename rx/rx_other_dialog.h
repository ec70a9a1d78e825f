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
  void DoDataExchange(ui::DataExchange& dx) override;

 private:
  void TakeHighThreshold();
  void TakeLowThreshold();

  // In the order OK writes them; the two thresholds fill reg1c, the whole word replaced.
  settings::FieldBinding& automute_;
  settings::FieldBinding& snrAutomute_;
  settings::FieldBinding& pilotAutomute_;
  settings::FieldBinding& highThreshold_;
  settings::FieldBinding& lowThreshold_;
  settings::FieldBinding& afcRange_;
  settings::FieldBinding& afc_;
  int32_t highBox_ = 0;  // the integers edit boxes 1010 and 1012 show
  int32_t lowBox_ = 0;
  ui::SliderCtrl lowSlider_;
  ui::SliderCtrl highSlider_;
  ui::ComboBox rangeList_;
};

}  // namespace lx::rx
