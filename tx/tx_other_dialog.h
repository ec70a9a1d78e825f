#pragma once
#include <cstdint>

#include "settings/ui/field_exchange.h"

namespace lx::tx {

// "其他配置": the pilot and its deviation, mute pilot, the battery meter with the low-battery
// indicator, PAPD and their three voltage thresholds, and the TX_ID of LX7240D / LX7250D
// (reg16, reg17, reg18, reg19, reg1f, reg24). Switches enable their dependent controls at once;
// disabled controls keep their values, and OK writes them.
class TxOtherDialog : public settings::SettingsDialog {
 public:
  TxOtherDialog(ui::Host& host, ToolState& state);

 protected:
  bool OnInitDialog() override;
  void ExchangeBoxes(ui::DataExchange& dx) override;

 private:
  // One battery threshold: its step (the slider position) and the voltage its box shows.
  struct Threshold {
    explicit Threshold(settings::FieldBinding& binding);
    settings::FieldBinding& step;
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

  settings::FieldBinding& meter_;
  settings::FieldBinding& indicator_;
  settings::FieldBinding& papdSwitch_;
  Threshold papd_;
  Threshold blink_;
  Threshold light_;
  uint32_t pilotFrequencyHz_ = 0;  // shown in a hidden box; nothing reads it back
};

}  // namespace lx::tx
