#include "tx/tx_rf_dialog.h"

#include "resources/ambrel_tx_ids.h"

namespace lx::tx {

namespace {
using namespace res::tx_rf;
using settings::BindKind;
using ui::Notify;
}  // namespace

TxRfDialog::TxRfDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kTxRfDialog, state),
      paGain_(bindings_.Bind(TxField::PaGain, BindKind::Slider, kPaGainSlider)) {
  // NM_CUSTOMDRAW, whatever the drawing stage: every repaint follows a move of the thumb.
  On(kPaGainSlider, Notify::CustomDraw, [this] { settings::TakePosition(paGainSlider_, paGain_); });
}

void TxRfDialog::DoDataExchange(ui::DataExchange& dx) { settings::DdxControl(dx, paGain_, paGainSlider_); }

bool TxRfDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  paGain_.Load(state_.words);
  // The slider covers the field's 0..12. A stored 13..15 has no position: the slider shows 12,
  // and its first paint makes that the pending value, so OK never writes a gain the slider
  // could not show.
  settings::SetupSlider(paGainSlider_, paGain_);
  return true;
}

}  // namespace lx::tx
