#pragma once
#include <cstdint>

#include "core/state.h"
#include "settings/binding.h"
#include "ui/dialog.h"

namespace lx::rx {

// "音频配置": de-emphasis, audio gain, expander and its rectifier time constant (reg1d, reg1f),
// and the output volume on a vertical slider (reg1a).
class RxAudioDialog : public ui::Dialog {
 public:
  RxAudioDialog(ui::Host& host, ToolState& state);

  const settings::BindingSet& bindings() const { return bindings_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(ui::DataExchange& dx) override;

 private:
  void OnEnableDeEmphasis();
  void OnDisableDeEmphasis();
  void OnEnableExpander();
  void OnDisableExpander();
  void OnSelChangeGain();
  void OnSelChangeTimeConstant();
  void OnCustomDrawVolume();
  void TakeVolume();

  ToolState& state_;
  settings::BindingSet bindings_;
  settings::FieldBinding& deEmphasis_;
  settings::FieldBinding& gain_;
  settings::FieldBinding& expander_;
  settings::FieldBinding& timeConstant_;
  settings::FieldBinding& volume_;
  int32_t volumeBox_ = 0;  // the integer edit box 1010 shows
  ui::SliderCtrl volumeSlider_;
  ui::ComboBox gainList_;
  ui::ComboBox timeConstantList_;
};

}  // namespace lx::rx
