#pragma once
#include "core/state.h"
#include "settings/binding.h"
#include "ui/dialog.h"

namespace lx::tx {

// "射频配置": the transmitter's output power, the PA gain on a slider 0..12. The slider
// reports its position whenever it paints; OK writes the PA gain bits of reg03 only.
class TxRfDialog : public ui::Dialog {
 public:
  TxRfDialog(ui::Host& host, ToolState& state);

  const settings::BindingSet& bindings() const { return bindings_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(ui::DataExchange& dx) override;

 private:
  void OnCustomDrawPaGain();

  ToolState& state_;
  settings::BindingSet bindings_;
  settings::FieldBinding& paGain_;
  ui::SliderCtrl paGainSlider_;
};

}  // namespace lx::tx
