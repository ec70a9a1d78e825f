#pragma once
#include <cstdint>
#include <span>

#include "core/state.h"
#include "settings/binding.h"
#include "ui/dialog.h"

namespace lx::rx {

// "其他配置": the automute master switch over pilot and SNR automute, the SNR thresholds that
// fill reg1c, and automatic frequency control with its range.
class RxOtherDialog : public ui::Dialog {
 public:
  RxOtherDialog(ui::Host& host, ToolState& state);

  const settings::BindingSet& bindings() const { return bindings_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(ui::DataExchange& dx) override;

 private:
  void OnEnableAutomute();
  void OnDisableAutomute();
  void OnEnablePilotAutomute();
  void OnDisablePilotAutomute();
  void OnEnableSnrAutomute();
  void OnDisableSnrAutomute();
  void OnEnableAfc();
  void OnDisableAfc();
  void OnSelChangeAfcRange();
  void OnCustomDrawHighThreshold();
  void OnCustomDrawLowThreshold();
  void TakeHighThreshold();
  void TakeLowThreshold();
  void EnableControls(std::span<const int> ids, bool enable);

  ToolState& state_;
  settings::BindingSet bindings_;
  settings::FieldBinding& automute_;
  settings::FieldBinding& pilotAutomute_;
  settings::FieldBinding& snrAutomute_;
  settings::FieldBinding& highThreshold_;
  settings::FieldBinding& lowThreshold_;
  settings::FieldBinding& afc_;
  settings::FieldBinding& afcRange_;
  int32_t highBox_ = 0;  // the integers edit boxes 1010 and 1012 show
  int32_t lowBox_ = 0;
  ui::SliderCtrl lowSlider_;
  ui::SliderCtrl highSlider_;
  ui::ComboBox rangeList_;
};

}  // namespace lx::rx
