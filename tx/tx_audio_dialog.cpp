#include "resources/ambrel_tx_ids.h"
#include "tx/tx_dialogs.h"

namespace lx::tx {

namespace {
using namespace res::tx_audio;
using settings::BindKind;

// What the compressor switch greys.
constexpr int kCompressorControls[] = {kTimeConstantList};

// In the order OK writes them. The compressor's buttons exchange data around their work, so
// that the radio buttons keep showing the latest choices.
constexpr settings::BindingRow kBindings[] = {
    {TxField::PreEmphasis, BindKind::RadioPair, kEnablePreEmphasis, settings::kExchanged,
     kDisablePreEmphasis},
    {TxField::MicSensitivity, BindKind::List, kMicSensitivityList},
    {TxField::Compressor, BindKind::RadioPair, kEnableCompressor, settings::kClickExchanged,
     kDisableCompressor, kCompressorControls},
    {TxField::CompandorTimeConstant, BindKind::List, kTimeConstantList},
    {TxField::Priority, BindKind::RadioPair, kCompressorFirst, settings::kExchanged, kPreEmphasisFirst},
};
}  // namespace

const settings::SettingsWindow kTxAudioWindow{res::kTxAudioDialog, kBindings};

}  // namespace lx::tx
