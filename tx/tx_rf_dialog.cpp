#include "tx/tx_rf_dialog.h"

#include "resources/ambrel_tx_ids.h"

namespace lx::tx {

namespace {
using namespace res::tx_rf;

// The slider covers the field's 0..12. A stored 13..15 has no position: the slider shows 12, and
// its first paint makes that the pending value, so OK never writes a gain the slider could not
// show.
constexpr settings::BindingRow kBindings[] = {
    {TxField::PaGain, settings::BindKind::Slider, kPaGainSlider},
};
}  // namespace

TxRfDialog::TxRfDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kTxRfDialog, state, kBindings) {
  // NM_CUSTOMDRAW, whatever the drawing stage: every repaint follows a move of the thumb.
  On(kPaGainSlider, Notify::CustomDraw, [this] { TakePosition(bound(TxField::PaGain)); });
}

}  // namespace lx::tx
