#include "resources/ambrel_tx_ids.h"
#include "tx/tx_dialogs.h"

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

const settings::SettingsWindow kTxRfWindow{res::kTxRfDialog, kBindings};

}  // namespace lx::tx
