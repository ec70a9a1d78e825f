#include "tx/tx_rf_dialog.h"

#include "resources/ambrel_tx_ids.h"
#include "settings/ui/field_exchange.h"

namespace lx::tx {

namespace {
using namespace res::tx_rf;
using settings::BindKind;
using ui::Notify;
}  // namespace

TxRfDialog::TxRfDialog(ui::Host& host, ToolState& state)
    : Dialog(host, res::kTxRfDialog),
      state_(state),
      paGain_(bindings_.Bind(TxField::PaGain, BindKind::Slider, kPaGainSlider)) {
  On(kPaGainSlider, Notify::CustomDraw, &TxRfDialog::OnCustomDrawPaGain);
}

void TxRfDialog::DoDataExchange(ui::DataExchange& dx) { ui::DdxControl(dx, kPaGainSlider, paGainSlider_); }

bool TxRfDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  paGain_.Load(state_.words);
  // A stored 13..15 has no position: the slider shows 12, and its first paint makes that the
  // pending value, so OK never writes a gain the slider could not show.
  const RegisterField& gain = paGain_.field();  // 0..12
  settings::SetupSlider(paGainSlider_, paGain_, static_cast<int>(gain.minValue),
                        static_cast<int>(gain.maxValue));
  return true;
}

// NM_CUSTOMDRAW, whatever the drawing stage: every repaint follows a move of the thumb.
void TxRfDialog::OnCustomDrawPaGain() { settings::TakePosition(paGainSlider_, paGain_); }

void TxRfDialog::OnOK() {
  bindings_.CommitAll(state_.words);
  Dialog::OnOK();
}

}  // namespace lx::tx
