#include "settings/ui/field_exchange.h"

#include <stdexcept>
#include <string>

namespace lx::settings {

namespace {

// Radio pair starting at the binding's control <-> its radio index (no button checked keeps it).
void DdxRadio(ui::DataExchange& dx, FieldBinding& b) {
  int index = b.radioIndex();
  ui::DdxRadio(dx, b.controlId(), index);
  if (dx.saving) b.SetRadioIndex(index);
}

// Check box <-> a one-bit field.
void DdxCheck(ui::DataExchange& dx, FieldBinding& b) {
  int checked = b.checked() ? 1 : 0;
  ui::DdxCheck(dx, b.controlId(), checked);
  if (dx.saving) b.SetChecked(checked != 0);
}

// Number box <-> the field value, checked against the field's range with the framework's message.
void DdxNumber(ui::DataExchange& dx, FieldBinding& b) {
  uint32_t value = b.value();
  ui::DdxText(dx, b.controlId(), value);
  ui::DdvMinMax(dx, value, b.field().minValue, b.field().maxValue);
  if (dx.saving) b.SetValue(value);
}

}  // namespace

SettingsDialog::SettingsDialog(ui::Host& host, int templateId, ToolState& state,
                               std::span<const BindingRow> table)
    : Dialog(host, templateId), state_(state), bindings_(table) {
  bindings_.LoadAll(state_);
}

FieldBinding& SettingsDialog::bound(FieldId field) {
  FieldBinding* b = bindings_.find(field.field());
  if (b == nullptr) throw std::logic_error(std::string("no binding for ") + field.field().name);
  return *b;
}

void SettingsDialog::OnOK() {
  if (!UpdateData(true)) return;
  bindings_.CommitAll(state_.words);
  EndDialog(ui::kIdOk);
}

void SettingsDialog::DoDataExchange(ui::DataExchange& dx) {
  for (FieldBinding& b : bindings_.all())
    if (b.kind() == BindKind::RadioPair && b.exchanged()) DdxRadio(dx, b);
  ExchangeBoxes(dx);
  for (FieldBinding& b : bindings_.all()) {
    if (b.kind() == BindKind::CheckBox && b.exchanged()) DdxCheck(dx, b);
    if (b.kind() == BindKind::Edit && b.exchanged()) DdxNumber(dx, b);
  }
}

void SettingsDialog::FillList(const FieldBinding& b) {
  ui::ComboBox list = listOf(b);
  for (const char* item : b.field().items) list.AddString(item);
  list.SetCurSel(b.listIndex());
}

void SettingsDialog::TakeSelection(FieldBinding& b) { b.SetListIndex(listOf(b).GetCurSel()); }

void SettingsDialog::SetupSlider(const FieldBinding& b, int pageSize) {
  ui::SliderCtrl slider = sliderOf(b);
  slider.SetRange(static_cast<int>(b.field().minValue), static_cast<int>(b.field().maxValue), false);
  if (pageSize > 0) slider.SetPageSize(pageSize);
  slider.SetPos(b.position());
}

void SettingsDialog::TakePosition(FieldBinding& b) { b.SetPosition(sliderOf(b).GetPos()); }

void SettingsDialog::TakePosition(FieldBinding& b, int boxId, int32_t& box) {
  TakePosition(b);
  box = static_cast<int32_t>(b.value());
  SetDlgItemText(boxId, std::to_string(box));
}

void SettingsDialog::CheckRadioPair(const FieldBinding& b) {
  ui::DataExchange dx(*this, false);
  int index = b.radioIndex();
  ui::DdxRadio(dx, b.controlId(), index);
}

void SettingsDialog::SetSwitch(FieldBinding& b, bool on, std::span<const int> gated) {
  b.SetOn(on);
  EnableDlgItems(gated, on);
}

void SettingsDialog::SetSwitchExchanged(FieldBinding& b, bool on, std::span<const int> gated) {
  UpdateData(true);
  SetSwitch(b, on, gated);
  UpdateData(false);
}

}  // namespace lx::settings
