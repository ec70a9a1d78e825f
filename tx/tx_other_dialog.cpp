#include "tx/tx_other_dialog.h"

#include "resources/ambrel_tx_ids.h"

namespace lx::tx {

namespace {
using namespace res::tx_other;
using settings::BindKind;
using settings::FieldBinding;
using ui::Notify;

constexpr int kStepPage = 8;

// What each switch greys. The meter gates all ten battery controls, whatever the indicator and
// PAPD switches say.
constexpr int kPilotControls[] = {kMutePilot, kKeepPilot, kDeviationList};
constexpr int kBatterySwitches[] = {kIndicatorEnable, kIndicatorDisable, kPapdEnable, kPapdDisable};
constexpr int kBatteryControls[] = {kIndicatorEnable, kIndicatorDisable, kPapdEnable,      kPapdDisable,
                                    kBlinkVoltageBox, kPapdVoltageBox,   kLightVoltageBox, kBlinkSlider,
                                    kPapdSlider,      kLightSlider};
constexpr int kIndicatorControls[] = {kBlinkVoltageBox, kLightVoltageBox, kBlinkSlider, kLightSlider};
constexpr int kPapdControls[] = {kPapdVoltageBox, kPapdSlider};
constexpr int kTxIdControls[] = {kTxIdCheck, kTxIdBox};

// The pilot tone in Hz for the hidden box: the crystal's kHz × 30 / 24, in integers.
constexpr int64_t kPilotRatioNumerator = 30;
constexpr int64_t kPilotRatioDenominator = 24;

float Millivolts(const FieldBinding& step) {
  return static_cast<float>(step.value()) * kMillivoltsPerThresholdStep;
}

uint32_t PilotFrequencyHz(int32_t crystalKHz) {
  return static_cast<uint32_t>(static_cast<int64_t>(crystalKHz) * kPilotRatioNumerator /
                               kPilotRatioDenominator);
}
}  // namespace

TxOtherDialog::TxOtherDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kTxOtherDialog, state),
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
  // The switches exchange data around their work, so that the radio buttons keep showing the
  // latest choices; the mute-pilot pair and the list do not.
  On(kDeviationList, Notify::SelChange, [this] { settings::TakeSelection(deviationList_, deviation_); });
  On(kEnablePilot, Notify::Clicked, [this] { SetSwitchExchanged(pilot_, true, kPilotControls); });
  On(kDisablePilot, Notify::Clicked, [this] { SetSwitchExchanged(pilot_, false, kPilotControls); });
  On(kMutePilot, Notify::Clicked, &TxOtherDialog::OnMutePilot);
  On(kKeepPilot, Notify::Clicked, [this] { mutePilot_.SetOn(false); });
  On(kMeterEnable, Notify::Clicked, [this] { SetSwitchExchanged(meter_, true, kBatteryControls); });
  On(kMeterDisable, Notify::Clicked, [this] { SetSwitchExchanged(meter_, false, kBatteryControls); });
  On(kIndicatorEnable, Notify::Clicked, [this] { SetSwitchExchanged(indicator_, true, kIndicatorControls); });
  On(kIndicatorDisable, Notify::Clicked,
     [this] { SetSwitchExchanged(indicator_, false, kIndicatorControls); });
  On(kPapdEnable, Notify::Clicked, [this] { SetSwitchExchanged(papdSwitch_, true, kPapdControls); });
  On(kPapdDisable, Notify::Clicked, [this] { SetSwitchExchanged(papdSwitch_, false, kPapdControls); });
  On(kBlinkSlider, Notify::CustomDraw, [this] { Track(blink_); });
  On(kPapdSlider, Notify::CustomDraw, [this] { Track(papd_); });
  On(kLightSlider, Notify::CustomDraw, [this] { Track(light_); });
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
  settings::DdxControl(dx, blink_.step, blink_.slider);
  settings::DdxControl(dx, papd_.step, papd_.slider);
  settings::DdxControl(dx, light_.step, light_.slider);
  settings::DdxControl(dx, deviation_, deviationList_);
  settings::DdxRadio(dx, pilot_);
  settings::DdxRadio(dx, mutePilot_);
  settings::DdxRadio(dx, meter_);
  settings::DdxRadio(dx, indicator_);
  settings::DdxRadio(dx, papdSwitch_);
  ui::DdxText(dx, kPilotFrequencyBox, pilotFrequencyHz_);
  ui::DdxText(dx, kBlinkVoltageBox, blink_.voltage);
  ui::DdxText(dx, kPapdVoltageBox, papd_.voltage);
  ui::DdxText(dx, kLightVoltageBox, light_.voltage);
  settings::DdxCheck(dx, txIdFlag_);
  settings::DdxNumber(dx, txId_);
}

bool TxOtherDialog::OnInitDialog() {
  Dialog::OnInitDialog();  // radio groups and boxes from the values decoded on construction

  deviation_.Load(state_.words);
  settings::FillList(deviationList_, deviation_);

  // A stored step of 128..255 has no position: the slider shows 127, and its first paint makes
  // that the pending step and its voltage.
  for (Threshold* t : {&blink_, &papd_, &light_}) settings::SetupSlider(t->slider, t->step, kStepPage);

  const bool hasTxId = state_.selectedModel() != nullptr && state_.selectedModel()->hasTxId;
  if (hasTxId) {
    txIdFlag_.Load(state_.words);
    txId_.Load(state_.words);
  }
  EnableDlgItems(kTxIdControls, hasTxId);

  EnableDlgItems(kPilotControls, pilot_.On());
  if (meter_.On()) {
    EnableDlgItems(kBatterySwitches, true);
    EnableDlgItems(kIndicatorControls, indicator_.On());
    EnableDlgItems(kPapdControls, papdSwitch_.On());
  } else {
    EnableDlgItems(kBatteryControls, false);
  }

  UpdateData(false);
  return true;
}

// Muting the pilot needs reg18 bits 10:8 at 4 as well; they go into the image at once, and
// neither "Do not disable pilot" nor Cancel takes them back.
void TxOtherDialog::OnMutePilot() {
  mutePilot_.SetOn(true);
  WriteField(Field(TxField::MuteLevel), kMuteLevelForMutePilot, state_.words);
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

}  // namespace lx::tx
