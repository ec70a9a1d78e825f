#pragma once
#include <cstdint>

#include "core/state.h"
#include "settings/ui/field_exchange.h"

namespace lx::tx {

// "其他配置": the pilot and its deviation, mute pilot, the battery meter with the low-battery
// indicator, PAPD and their three voltage thresholds, and the TX_ID of LX7240D / LX7250D
// (reg16, reg17, reg18, reg19, reg1f, reg24). Switches enable their dependent controls at once;
// disabled controls keep their values, and OK writes them.
class TxOtherDialog : public settings::SettingsDialog {
 public:
  TxOtherDialog(ui::Host& host, ToolState& state);

  // bindings() are the fields OK writes; reg17 is rewritten whole, so LX7240 and LX7250, which
  // have no TX_ID, get 0 there. reg18 bits 10:8 are written by the mute-pilot click instead,
  // and the TX_ID flag (reg1f bit 14) is only read.
  const settings::FieldBinding& txIdFlag() const { return txIdFlag_; }

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange& dx) override;

 private:
  // One battery threshold: its step (the slider position), the slider, the voltage its box shows.
  struct Threshold {
    explicit Threshold(settings::FieldBinding& binding) : step(binding) {}
    settings::FieldBinding& step;
    ui::SliderCtrl slider;
    float voltage = 0;
  };

  void OnMutePilot();
  void OnReleasedBlink();
  void OnReleasedLight();
  void OnReleasedPapd();
  void OnTxIdCheck();
  void OnTxIdKillFocus();

  void Track(Threshold& t);
  bool ThresholdOrderApplies() const;
  void TakeReleased(Threshold& t);
  void Settle(Threshold& t);

  // In the order OK writes them.
  settings::FieldBinding& pilot_;
  settings::FieldBinding& mutePilot_;
  settings::FieldBinding& deviation_;
  settings::FieldBinding& meter_;
  settings::FieldBinding& indicator_;
  settings::FieldBinding& papdSwitch_;
  Threshold papd_;
  Threshold blink_;
  Threshold light_;
  settings::FieldBinding& txId_;
  // Read on opening to tick the check box; never written.
  settings::FieldBinding txIdFlag_;

  ui::ComboBox deviationList_;
  uint32_t pilotFrequencyHz_ = 0;  // shown in a hidden box; nothing reads it back
};

}  // namespace lx::tx
