#include "tx/tx_other_dialog.h"

#include "resources/ambrel_tx_ids.h"
#include "settings/ui/field_exchange.h"

namespace lx::tx {

namespace {
using namespace res::tx_other;
using settings::BindKind;
using settings::FieldBinding;
using ui::Notify;

constexpr int kStepPage = 8;

// A slider over the field's accepted steps, 0..127.
void SetupThresholdSlider(ui::SliderCtrl& slider, const FieldBinding& step) {
  const RegisterField& f = step.field();
  settings::SetupSlider(slider, step, static_cast<int>(f.minValue), static_cast<int>(f.maxValue), kStepPage);
}

float Millivolts(const FieldBinding& step) {
  return static_cast<float>(step.value()) * kMillivoltsPerThresholdStep;
}

// The pilot tone in Hz for the hidden box: crystal kHz × 30 / 24, in integers.
uint32_t PilotFrequencyHz(int32_t crystalKHz) {
  return static_cast<uint32_t>(static_cast<int64_t>(crystalKHz) * 30 / 24);
}
}  // namespace

TxOtherDialog::TxOtherDialog(ui::Host& host, ToolState& state)
    : Dialog(host, res::kTxOtherDialog),
      state_(state),
      pilot_(bindings_.Bind(TxField::Pilot, BindKind::RadioPair, kEnablePilot)),
      mutePilot_(bindings_.Bind(TxField::MutePilot, BindKind::RadioPair, kMutePilot)),
      deviation_(bindings_.Bind(TxField::PilotDeviation, BindKind::List, kDeviationList)),
      meter_(bindings_.Bind(TxField::BatteryMeter, BindKind::RadioPair, kMeterEnable)),
      indicator_(bindings_.Bind(TxField::LowBatteryIndicator, BindKind::RadioPair, kIndicatorEnable)),
      papdSwitch_(bindings_.Bind(TxField::LowBatteryPapd, BindKind::RadioPair, kPapdEnable)),
      papd_(bindings_.Bind(TxField::PapdThreshold, BindKind::Slider, kPapdSlider)),
      blink_(bindings_.Bind(TxField::BlinkThreshold, BindKind::Slider, kBlinkSlider)),
      light_(bindings_.Bind(TxField::LightThreshold, BindKind::Slider, kLightSlider)),
      txId_(bindings_.Bind(TxField::TxId, BindKind::Edit, kTxIdBox)),
      txIdFlag_(Field(TxField::TxIdFlag), BindKind::CheckBox, kTxIdCheck) {
  On(kDeviationList, Notify::SelChange, &TxOtherDialog::OnDeviationChange);
  On(kEnablePilot, Notify::Clicked, &TxOtherDialog::OnEnablePilot);
  On(kDisablePilot, Notify::Clicked, &TxOtherDialog::OnDisablePilot);
  On(kMutePilot, Notify::Clicked, &TxOtherDialog::OnMutePilot);
  On(kKeepPilot, Notify::Clicked, &TxOtherDialog::OnKeepPilot);
  On(kMeterEnable, Notify::Clicked, &TxOtherDialog::OnMeterEnable);
  On(kMeterDisable, Notify::Clicked, &TxOtherDialog::OnMeterDisable);
  On(kIndicatorEnable, Notify::Clicked, &TxOtherDialog::OnIndicatorEnable);
  On(kIndicatorDisable, Notify::Clicked, &TxOtherDialog::OnIndicatorDisable);
  On(kPapdEnable, Notify::Clicked, &TxOtherDialog::OnPapdEnable);
  On(kPapdDisable, Notify::Clicked, &TxOtherDialog::OnPapdDisable);
  On(kBlinkSlider, Notify::CustomDraw, &TxOtherDialog::OnCustomDrawBlink);
  On(kPapdSlider, Notify::CustomDraw, &TxOtherDialog::OnCustomDrawPapd);
  On(kLightSlider, Notify::CustomDraw, &TxOtherDialog::OnCustomDrawLight);
  On(kBlinkSlider, Notify::ReleasedCapture, &TxOtherDialog::OnReleasedBlink);
  On(kPapdSlider, Notify::ReleasedCapture, &TxOtherDialog::OnReleasedPapd);
  On(kLightSlider, Notify::ReleasedCapture, &TxOtherDialog::OnReleasedLight);
  On(kTxIdCheck, Notify::Clicked, &TxOtherDialog::OnTxIdCheck);
  On(kTxIdBox, Notify::KillFocus, &TxOtherDialog::OnTxIdKillFocus);

  // The switches, the thresholds with their voltages and the pilot frequency are known before
  // the window exists. The TX_ID and its flag stay 0 unless the model has one (OnInitDialog).
  for (FieldBinding* b : {&pilot_, &mutePilot_, &meter_, &indicator_, &papdSwitch_}) b->Load(state_.words);
  for (Threshold* t : {&blink_, &papd_, &light_}) {
    t->step.Load(state_.words);
    t->voltage = Millivolts(t->step);
  }
  pilotFrequencyHz_ = PilotFrequencyHz(state_.crystalKHz);
}

void TxOtherDialog::DoDataExchange(ui::DataExchange& dx) {
  ui::DdxControl(dx, kBlinkSlider, blink_.slider);
  ui::DdxControl(dx, kPapdSlider, papd_.slider);
  ui::DdxControl(dx, kLightSlider, light_.slider);
  ui::DdxControl(dx, kDeviationList, deviationList_);
  settings::DdxRadio(dx, kEnablePilot, pilot_);
  settings::DdxRadio(dx, kMutePilot, mutePilot_);
  settings::DdxRadio(dx, kMeterEnable, meter_);
  settings::DdxRadio(dx, kIndicatorEnable, indicator_);
  settings::DdxRadio(dx, kPapdEnable, papdSwitch_);
  ui::DdxText(dx, kPilotFrequencyBox, pilotFrequencyHz_);
  ui::DdxText(dx, kBlinkVoltageBox, blink_.voltage);
  ui::DdxText(dx, kPapdVoltageBox, papd_.voltage);
  ui::DdxText(dx, kLightVoltageBox, light_.voltage);
  settings::DdxCheck(dx, kTxIdCheck, txIdFlag_);
  settings::DdxNumber(dx, kTxIdBox, txId_, txId_.field().minValue, txId_.field().maxValue);
}

bool TxOtherDialog::OnInitDialog() {
  Dialog::OnInitDialog();  // radio groups and boxes from the values decoded on construction

  deviation_.Load(state_.words);
  settings::FillList(deviationList_, deviation_);

  // A stored step of 128..255 has no position: the slider shows 127, and its first paint makes
  // that the pending step and its voltage.
  for (Threshold* t : {&blink_, &papd_, &light_}) SetupThresholdSlider(t->slider, t->step);

  const bool hasTxId = state_.selectedModel() != nullptr && state_.selectedModel()->hasTxId;
  if (hasTxId) {
    txIdFlag_.Load(state_.words);
    txId_.Load(state_.words);
  }
  Enable({kTxIdCheck, kTxIdBox}, hasTxId);

  EnablePilotControls(pilot_.On());
  if (meter_.On()) {
    Enable({kIndicatorEnable, kIndicatorDisable, kPapdEnable, kPapdDisable}, true);
    EnableIndicatorControls(indicator_.On());
    EnablePapdControls(papdSwitch_.On());
  } else {
    EnableBatteryControls(false);
  }

  UpdateData(false);
  return true;
}

// ---- Enabled states -------------------------------------------------------------------------

void TxOtherDialog::Enable(std::initializer_list<int> ids, bool enable) {
  for (int id : ids) GetDlgItem(id).EnableWindow(enable);
}

void TxOtherDialog::EnablePilotControls(bool enable) {
  Enable({kMutePilot, kKeepPilot, kDeviationList}, enable);
}

// The meter switch gates all ten, whatever the indicator and PAPD switches say.
void TxOtherDialog::EnableBatteryControls(bool enable) {
  Enable({kIndicatorEnable, kIndicatorDisable, kPapdEnable, kPapdDisable, kBlinkVoltageBox, kPapdVoltageBox,
          kLightVoltageBox, kBlinkSlider, kPapdSlider, kLightSlider},
         enable);
}

void TxOtherDialog::EnableIndicatorControls(bool enable) {
  Enable({kBlinkVoltageBox, kLightVoltageBox, kBlinkSlider, kLightSlider}, enable);
}

void TxOtherDialog::EnablePapdControls(bool enable) { Enable({kPapdVoltageBox, kPapdSlider}, enable); }

// ---- Switches -------------------------------------------------------------------------------
// Their handlers exchange data around their work, so that the radio buttons keep showing the
// latest choices; the mute-pilot pair and the list do not.

void TxOtherDialog::OnDeviationChange() { settings::TakeSelection(deviationList_, deviation_); }

void TxOtherDialog::OnEnablePilot() {
  UpdateData(true);
  pilot_.SetOn(true);
  EnablePilotControls(true);
  UpdateData(false);
}

void TxOtherDialog::OnDisablePilot() {
  UpdateData(true);
  pilot_.SetOn(false);
  EnablePilotControls(false);
  UpdateData(false);
}

// Muting the pilot needs reg18 bits 10:8 at 4 as well; they go into the image at once, and
// neither "Do not disable pilot" nor Cancel takes them back.
void TxOtherDialog::OnMutePilot() {
  mutePilot_.SetOn(true);
  WriteField(Field(TxField::MuteLevel), kMuteLevelForMutePilot, state_.words);
}

void TxOtherDialog::OnKeepPilot() { mutePilot_.SetOn(false); }

void TxOtherDialog::OnMeterEnable() {
  UpdateData(true);
  meter_.SetOn(true);
  EnableBatteryControls(true);
  UpdateData(false);
}

void TxOtherDialog::OnMeterDisable() {
  UpdateData(true);
  meter_.SetOn(false);
  EnableBatteryControls(false);
  UpdateData(false);
}

void TxOtherDialog::OnIndicatorEnable() {
  UpdateData(true);
  indicator_.SetOn(true);
  EnableIndicatorControls(true);
  UpdateData(false);
}

void TxOtherDialog::OnIndicatorDisable() {
  UpdateData(true);
  indicator_.SetOn(false);
  EnableIndicatorControls(false);
  UpdateData(false);
}

void TxOtherDialog::OnPapdEnable() {
  UpdateData(true);
  papdSwitch_.SetOn(true);
  EnablePapdControls(true);
  UpdateData(false);
}

void TxOtherDialog::OnPapdDisable() {
  UpdateData(true);
  papdSwitch_.SetOn(false);
  EnablePapdControls(false);
  UpdateData(false);
}

// ---- Thresholds -----------------------------------------------------------------------------

// NM_CUSTOMDRAW: every repaint follows a move of the thumb, by mouse or keyboard.
void TxOtherDialog::Track(Threshold& t) {
  UpdateData(true);
  settings::TakePosition(t.slider, t.step);
  t.voltage = Millivolts(t.step);
  UpdateData(false);
}

// The order blink >= light >= PAPD is kept when a thumb is released after a mouse drag or
// click, and only while the meter and the indicator are on; keyboard moves are left alone.
bool TxOtherDialog::ThresholdOrderApplies() const { return meter_.On() && indicator_.On(); }

void TxOtherDialog::TakeReleased(Threshold& t) {
  UpdateData(true);
  settings::TakePosition(t.slider, t.step);
}

void TxOtherDialog::Settle(Threshold& t) {
  t.slider.SetPos(static_cast<int>(t.step.value()));
  t.voltage = Millivolts(t.step);
  UpdateData(false);
}

void TxOtherDialog::OnReleasedBlink() {
  if (!ThresholdOrderApplies()) return;
  TakeReleased(blink_);
  if (light_.step.value() > blink_.step.value()) blink_.step.SetValue(light_.step.value());
  Settle(blink_);
}

void TxOtherDialog::OnReleasedLight() {
  if (!ThresholdOrderApplies()) return;
  TakeReleased(light_);
  if (light_.step.value() > blink_.step.value()) light_.step.SetValue(blink_.step.value());
  Settle(light_);
}

void TxOtherDialog::OnReleasedPapd() {
  if (!ThresholdOrderApplies()) return;
  TakeReleased(papd_);
  if (papdSwitch_.On() && papd_.step.value() > light_.step.value()) papd_.step.SetValue(light_.step.value());
  Settle(papd_);
}

// ---- TX_ID ----------------------------------------------------------------------------------

void TxOtherDialog::OnTxIdCheck() {
  UpdateData(true);
  GetDlgItem(kTxIdBox).EnableWindow(txIdFlag_.Checked());
  UpdateData(false);
}

// Leaving the box validates it: a refused number shows the framework's message.
void TxOtherDialog::OnTxIdKillFocus() {
  UpdateData(true);
  UpdateData(false);
}

// ---- OK -------------------------------------------------------------------------------------

// The boxes are exchanged and validated before any word is written: a refused TX_ID keeps the
// dialog open and the image as it was. reg17 is rewritten whole, so LX7240 and LX7250, which
// have no TX_ID, get 0 there; the TX_ID flag is never written.
void TxOtherDialog::OnOK() {
  if (!UpdateData(true)) return;
  bindings_.CommitAll(state_.words);
  EndDialog(ui::kIdOk);
}

}  // namespace lx::tx
