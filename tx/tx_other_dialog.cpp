#include "tx/tx_other_dialog.h"

#include "resources/ambrel_tx_ids.h"

namespace lx::tx {

namespace {
using namespace res::tx_other;
using settings::BindKind;
using settings::FieldBinding;
using settings::kClickExchanged;

constexpr int kStepPage = 8;

// What each switch greys. The meter gates all ten battery controls, whatever the indicator and
// PAPD switches say.
constexpr int kPilotControls[] = {kMutePilot, kKeepPilot, kDeviationList};
constexpr int kBatteryControls[] = {kIndicatorEnable, kIndicatorDisable, kPapdEnable,      kPapdDisable,
                                    kBlinkVoltageBox, kPapdVoltageBox,   kLightVoltageBox, kBlinkSlider,
                                    kPapdSlider,      kLightSlider};
constexpr int kIndicatorControls[] = {kBlinkVoltageBox, kLightVoltageBox, kBlinkSlider, kLightSlider};
constexpr int kPapdControls[] = {kPapdVoltageBox, kPapdSlider};
constexpr int kTxIdControls[] = {kTxIdCheck, kTxIdBox};

// In the order OK writes them. The switches exchange data around their clicks, so that the
// radio buttons keep showing the latest choices; the mute-pilot pair and the sliders have
// handlers of their own. reg18 bits 10:8 are written by the mute-pilot click instead, and the
// TX_ID flag (reg1f bit 14) only decides whether the check box starts ticked.
constexpr settings::BindingRow kBindings[] = {
    {TxField::Pilot, BindKind::RadioPair, kEnablePilot, kClickExchanged, kDisablePilot, kPilotControls},
    {TxField::MutePilot, BindKind::RadioPair, kMutePilot},
    {TxField::PilotDeviation, BindKind::List, kDeviationList},
    {TxField::BatteryMeter, BindKind::RadioPair, kMeterEnable, kClickExchanged, kMeterDisable,
     kBatteryControls},
    {TxField::LowBatteryIndicator, BindKind::RadioPair, kIndicatorEnable, kClickExchanged, kIndicatorDisable,
     kIndicatorControls},
    {TxField::LowBatteryPapd, BindKind::RadioPair, kPapdEnable, kClickExchanged, kPapdDisable, kPapdControls},
    {TxField::PapdThreshold, BindKind::Slider, kPapdSlider, settings::kOwnHandlers},
    {TxField::BlinkThreshold, BindKind::Slider, kBlinkSlider, settings::kOwnHandlers},
    {TxField::LightThreshold, BindKind::Slider, kLightSlider, settings::kOwnHandlers},
    {TxField::TxIdFlag, BindKind::CheckBox, kTxIdCheck, settings::kNotWritten | settings::kTxIdModelsOnly},
    {TxField::TxId, BindKind::Edit, kTxIdBox, settings::kTxIdModelsOnly},
};

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

TxOtherDialog::Threshold::Threshold(FieldBinding& binding) : step(binding), voltage(Millivolts(binding)) {}

// The switches, the thresholds with their voltages and the pilot frequency are known before
// the window exists. reg17 is rewritten whole, so LX7240 and LX7250, which have no TX_ID, get 0
// there.
TxOtherDialog::TxOtherDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kTxOtherDialog, state, kBindings),
      meter_(bound(TxField::BatteryMeter)),
      indicator_(bound(TxField::LowBatteryIndicator)),
      papdSwitch_(bound(TxField::LowBatteryPapd)),
      papd_(bound(TxField::PapdThreshold)),
      blink_(bound(TxField::BlinkThreshold)),
      light_(bound(TxField::LightThreshold)),
      pilotFrequencyHz_(PilotFrequencyHz(state.crystalKHz)) {
  On(kMutePilot, Notify::Clicked, &TxOtherDialog::OnMutePilot);
  On(kKeepPilot, Notify::Clicked, [this] { bound(TxField::MutePilot).SetOn(false); });
  On(kBlinkSlider, Notify::CustomDraw, [this] { Track(blink_); });
  On(kPapdSlider, Notify::CustomDraw, [this] { Track(papd_); });
  On(kLightSlider, Notify::CustomDraw, [this] { Track(light_); });
  On(kBlinkSlider, Notify::ReleasedCapture, &TxOtherDialog::OnReleasedBlink);
  On(kPapdSlider, Notify::ReleasedCapture, &TxOtherDialog::OnReleasedPapd);
  On(kLightSlider, Notify::ReleasedCapture, &TxOtherDialog::OnReleasedLight);
  On(kTxIdCheck, Notify::Clicked, &TxOtherDialog::OnTxIdCheck);
  On(kTxIdBox, Notify::KillFocus, &TxOtherDialog::OnTxIdKillFocus);
}

void TxOtherDialog::ExchangeBoxes(ui::DataExchange& dx) {
  ui::DdxText(dx, kPilotFrequencyBox, pilotFrequencyHz_);
  ui::DdxText(dx, kBlinkVoltageBox, blink_.voltage);
  ui::DdxText(dx, kPapdVoltageBox, papd_.voltage);
  ui::DdxText(dx, kLightVoltageBox, light_.voltage);
}

// Radio groups and boxes from the values decoded on construction. A stored step of 128..255
// has no position: the slider shows 127, and its first paint makes that the pending step and
// its voltage.
bool TxOtherDialog::OnInitDialog() {
  SettingsDialog::OnInitDialog();
  for (const Threshold* t : {&blink_, &papd_, &light_}) sliderOf(t->step).SetPageSize(kStepPage);
  EnableDlgItems(kTxIdControls, state_.selectedModel() != nullptr && state_.selectedModel()->hasTxId);
  if (!meter_.on()) EnableDlgItems(kBatteryControls, false);  // over the indicator's and PAPD's
  UpdateData(false);
  return true;
}

// Muting the pilot needs reg18 bits 10:8 at 4 as well; they go into the image at once, and
// neither "Do not disable pilot" nor Cancel takes them back.
void TxOtherDialog::OnMutePilot() {
  bound(TxField::MutePilot).SetOn(true);
  WriteField(Field(TxField::MuteLevel), kMuteLevelForMutePilot, state_.words);
}

// ---- Thresholds -----------------------------------------------------------------------------

// NM_CUSTOMDRAW: every repaint follows a move of the thumb, by mouse or keyboard.
void TxOtherDialog::Track(Threshold& t) {
  UpdateData(true);
  TakePosition(t.step);
  t.voltage = Millivolts(t.step);
  UpdateData(false);
}

// The order blink >= light >= PAPD is kept when a thumb is released after a mouse drag or
// click, and only while the meter and the indicator are on; keyboard moves are left alone.
bool TxOtherDialog::ThresholdOrderApplies() const { return meter_.on() && indicator_.on(); }

void TxOtherDialog::TakeReleased(Threshold& t) {
  UpdateData(true);
  TakePosition(t.step);
}

void TxOtherDialog::Settle(Threshold& t) {
  sliderOf(t.step).SetPos(t.step.position());
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
  if (papdSwitch_.on() && papd_.step.value() > light_.step.value()) papd_.step.SetValue(light_.step.value());
  Settle(papd_);
}

// ---- TX_ID ----------------------------------------------------------------------------------

void TxOtherDialog::OnTxIdCheck() {
  UpdateData(true);
  GetDlgItem(kTxIdBox).EnableWindow(bound(TxField::TxIdFlag).checked());
  UpdateData(false);
}

// Leaving the box validates it: a refused number shows the framework's message.
void TxOtherDialog::OnTxIdKillFocus() {
  UpdateData(true);
  UpdateData(false);
}

}  // namespace lx::tx
