#include "tx/tx_audio_dialog.h"

#include "resources/ambrel_tx_ids.h"

namespace lx::tx {

namespace {
using namespace res::tx_audio;
using settings::BindKind;
using ui::Notify;

// What the compressor switch greys.
constexpr int kCompressorControls[] = {kTimeConstantList};
}  // namespace

TxAudioDialog::TxAudioDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kTxAudioDialog, state),
      preEmphasis_(bindings_.Bind(TxField::PreEmphasis, BindKind::RadioPair, kEnablePreEmphasis)),
      micSensitivity_(bindings_.Bind(TxField::MicSensitivity, BindKind::List, kMicSensitivityList)),
      compressor_(bindings_.Bind(TxField::Compressor, BindKind::RadioPair, kEnableCompressor)),
      timeConstant_(bindings_.Bind(TxField::CompandorTimeConstant, BindKind::List, kTimeConstantList)),
      priority_(bindings_.Bind(TxField::Priority, BindKind::RadioPair, kCompressorFirst)) {
  On(kEnablePreEmphasis, Notify::Clicked, [this] { SetSwitch(preEmphasis_, true); });
  On(kDisablePreEmphasis, Notify::Clicked, [this] { SetSwitch(preEmphasis_, false); });
  // The compressor's buttons exchange data around their work, so that the radio buttons keep
  // showing the latest choices.
  On(kEnableCompressor, Notify::Clicked,
     [this] { SetSwitchExchanged(compressor_, true, kCompressorControls); });
  On(kDisableCompressor, Notify::Clicked,
     [this] { SetSwitchExchanged(compressor_, false, kCompressorControls); });
  On(kMicSensitivityList, Notify::SelChange,
     [this] { settings::TakeSelection(micSensitivityList_, micSensitivity_); });
  On(kTimeConstantList, Notify::SelChange,
     [this] { settings::TakeSelection(timeConstantList_, timeConstant_); });
  On(kCompressorFirst, Notify::Clicked, [this] { priority_.SetRadioIndex(0); });
  On(kPreEmphasisFirst, Notify::Clicked, [this] { priority_.SetRadioIndex(1); });

  // The three switches are known before the window exists; the lists are filled on opening.
  preEmphasis_.Load(state_.words);
  compressor_.Load(state_.words);
  priority_.Load(state_.words);
}

void TxAudioDialog::DoDataExchange(ui::DataExchange& dx) {
  settings::DdxControl(dx, timeConstant_, timeConstantList_);
  settings::DdxControl(dx, micSensitivity_, micSensitivityList_);
  settings::DdxRadio(dx, preEmphasis_);
  settings::DdxRadio(dx, compressor_);
  settings::DdxRadio(dx, priority_);
}

bool TxAudioDialog::OnInitDialog() {
  Dialog::OnInitDialog();  // the radio groups from the switches
  micSensitivity_.Load(state_.words);
  settings::FillList(micSensitivityList_, micSensitivity_);
  timeConstant_.Load(state_.words);
  settings::FillList(timeConstantList_, timeConstant_);
  EnableDlgItems(kCompressorControls, compressor_.On());
  return true;
}

}  // namespace lx::tx
