#include "tx/tx_audio_dialog.h"

#include "resources/ambrel_tx_ids.h"

namespace lx::tx {

namespace {
using namespace res::tx_audio;

// In the order OK writes them.
constexpr settings::BindingRow kBindings[] = {
    {TxField::PreEmphasis, settings::BindKind::RadioPair, kEnablePreEmphasis},
    {TxField::MicSensitivity, settings::BindKind::List, kMicSensitivityList},
    {TxField::Compressor, settings::BindKind::RadioPair, kEnableCompressor},
    {TxField::CompandorTimeConstant, settings::BindKind::List, kTimeConstantList},
    {TxField::Priority, settings::BindKind::RadioPair, kCompressorFirst},
};

// What the compressor switch greys.
constexpr int kCompressorControls[] = {kTimeConstantList};
}  // namespace

TxAudioDialog::TxAudioDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kTxAudioDialog, state, kBindings) {
  OnRadioPair(TxField::PreEmphasis, kDisablePreEmphasis);
  // The compressor's buttons exchange data around their work, so that the radio buttons keep
  // showing the latest choices.
  OnRadioPairExchanged(TxField::Compressor, kDisableCompressor, kCompressorControls);
  OnRadioPair(TxField::Priority, kPreEmphasisFirst);
}

}  // namespace lx::tx
