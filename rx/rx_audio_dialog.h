#pragma once
#include <cstdint>

#include "core/state.h"
#include "settings/ui/field_exchange.h"

namespace lx::rx {

// "音频配置": de-emphasis, audio gain, expander and its rectifier time constant (reg1d, reg1f),
// and the output volume on a vertical slider (reg1a). The time-constant list is enabled only
// while the expander is; disabled, it keeps its value and OK writes it.
class RxAudioDialog : public settings::SettingsDialog {
 public:
  RxAudioDialog(ui::Host& host, ToolState& state);

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange& dx) override;

 private:
  void TakeVolume();

  // In the order OK writes them.
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
