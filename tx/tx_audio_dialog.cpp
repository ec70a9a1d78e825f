#include "tx/tx_audio_dialog.h"

#include "resources/ambrel_tx_ids.h"
#include "settings/ui/field_exchange.h"

namespace lx::tx {

namespace {
using namespace res::tx_audio;
using settings::BindKind;
using ui::Notify;
}  // namespace

TxAudioDialog::TxAudioDialog(ui::Host& host, ToolState& state)
    : Dialog(host, res::kTxAudioDialog),
      state_(state),
      preEmphasis_(bindings_.Bind(TxField::PreEmphasis, BindKind::RadioPair, kEnablePreEmphasis)),
      micSensitivity_(bindings_.Bind(TxField::MicSensitivity, BindKind::List, kMicSensitivityList)),
      compressor_(bindings_.Bind(TxField::Compressor, BindKind::RadioPair, kEnableCompressor)),
      timeConstant_(bindings_.Bind(TxField::CompandorTimeConstant, BindKind::List, kTimeConstantList)),
      priority_(bindings_.Bind(TxField::Priority, BindKind::RadioPair, kCompressorFirst)) {
  On(kEnablePreEmphasis, Notify::Clicked, &TxAudioDialog::OnEnablePreEmphasis);
  On(kDisablePreEmphasis, Notify::Clicked, &TxAudioDialog::OnDisablePreEmphasis);
  On(kEnableCompressor, Notify::Clicked, &TxAudioDialog::OnEnableCompressor);
  On(kDisableCompressor, Notify::Clicked, &TxAudioDialog::OnDisableCompressor);
  On(kMicSensitivityList, Notify::SelChange, &TxAudioDialog::OnMicSensitivityChange);
  On(kTimeConstantList, Notify::SelChange, &TxAudioDialog::OnTimeConstantChange);
  On(kCompressorFirst, Notify::Clicked, &TxAudioDialog::OnCompressorFirst);
  On(kPreEmphasisFirst, Notify::Clicked, &TxAudioDialog::OnPreEmphasisFirst);

  // The three switches are known before the window exists; the lists are filled on opening.
  preEmphasis_.Load(state_.words);
  compressor_.Load(state_.words);
  priority_.Load(state_.words);
}

void TxAudioDialog::DoDataExchange(ui::DataExchange& dx) {
  ui::DdxControl(dx, kTimeConstantList, timeConstantList_);
  ui::DdxControl(dx, kMicSensitivityList, micSensitivityList_);
  settings::DdxRadio(dx, kEnablePreEmphasis, preEmphasis_);
  settings::DdxRadio(dx, kEnableCompressor, compressor_);
  settings::DdxRadio(dx, kCompressorFirst, priority_);
}

bool TxAudioDialog::OnInitDialog() {
  Dialog::OnInitDialog();  // the radio groups from the switches
  micSensitivity_.Load(state_.words);
  settings::FillList(micSensitivityList_, micSensitivity_);
  timeConstant_.Load(state_.words);
  settings::FillList(timeConstantList_, timeConstant_);
  timeConstantList_.EnableWindow(compressor_.On());
  return true;
}

void TxAudioDialog::OnEnablePreEmphasis() { preEmphasis_.SetOn(true); }
void TxAudioDialog::OnDisablePreEmphasis() { preEmphasis_.SetOn(false); }

// The compressor handlers exchange data around their work so that the radio buttons keep
// showing the latest choices.
void TxAudioDialog::OnEnableCompressor() {
  UpdateData(true);
  compressor_.SetOn(true);
  timeConstantList_.EnableWindow(true);
  UpdateData(false);
}

void TxAudioDialog::OnDisableCompressor() {
  UpdateData(true);
  compressor_.SetOn(false);
  timeConstantList_.EnableWindow(false);
  UpdateData(false);
}

void TxAudioDialog::OnMicSensitivityChange() {
  settings::TakeSelection(micSensitivityList_, micSensitivity_);
}
void TxAudioDialog::OnTimeConstantChange() { settings::TakeSelection(timeConstantList_, timeConstant_); }

void TxAudioDialog::OnCompressorFirst() { priority_.SetRadioIndex(0); }
void TxAudioDialog::OnPreEmphasisFirst() { priority_.SetRadioIndex(1); }

void TxAudioDialog::OnOK() {
  bindings_.CommitAll(state_.words);
  Dialog::OnOK();
}

}  // namespace lx::tx
