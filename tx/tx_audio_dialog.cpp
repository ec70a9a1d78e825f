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
  On(kEnablePreEmphasis, Notify::Clicked, [this] { SetSwitch(bound(TxField::PreEmphasis), true); });
  On(kDisablePreEmphasis, Notify::Clicked, [this] { SetSwitch(bound(TxField::PreEmphasis), false); });
  // The compressor's buttons exchange data around their work, so that the radio buttons keep
  // showing the latest choices.
  On(kEnableCompressor, Notify::Clicked,
     [this] { SetSwitchExchanged(bound(TxField::Compressor), true, kCompressorControls); });
  On(kDisableCompressor, Notify::Clicked,
     [this] { SetSwitchExchanged(bound(TxField::Compressor), false, kCompressorControls); });
  On(kMicSensitivityList, Notify::SelChange, [this] { TakeSelection(bound(TxField::MicSensitivity)); });
  On(kTimeConstantList, Notify::SelChange, [this] { TakeSelection(bound(TxField::CompandorTimeConstant)); });
  On(kCompressorFirst, Notify::Clicked, [this] { bound(TxField::Priority).SetRadioIndex(0); });
  On(kPreEmphasisFirst, Notify::Clicked, [this] { bound(TxField::Priority).SetRadioIndex(1); });
}

bool TxAudioDialog::OnInitDialog() {
  Dialog::OnInitDialog();  // the radio groups from the switches
  FillList(bound(TxField::MicSensitivity));
  FillList(bound(TxField::CompandorTimeConstant));
  EnableDlgItems(kCompressorControls, bound(TxField::Compressor).on());
  return true;
}

}  // namespace lx::tx
