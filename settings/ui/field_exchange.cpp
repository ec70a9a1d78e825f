#include "settings/ui/field_exchange.h"

namespace lx::settings {

namespace {
int Low(const FieldBinding& binding) { return static_cast<int>(binding.field().minValue); }
int High(const FieldBinding& binding) { return static_cast<int>(binding.field().maxValue); }
}  // namespace

void DdxControl(ui::DataExchange& dx, const FieldBinding& binding, ui::Control& control) {
  ui::DdxControl(dx, binding.controlId(), control);
}

void DdxRadio(ui::DataExchange& dx, FieldBinding& binding) {
  int index = binding.RadioIndex();
  ui::DdxRadio(dx, binding.controlId(), index);
  if (dx.saving) binding.SetRadioIndex(index);
}

void DdxCheck(ui::DataExchange& dx, FieldBinding& binding) {
  int checked = binding.Checked() ? 1 : 0;
  ui::DdxCheck(dx, binding.controlId(), checked);
  if (dx.saving) binding.SetChecked(checked != 0);
}

void DdxNumber(ui::DataExchange& dx, FieldBinding& binding) {
  uint32_t value = binding.value();
  ui::DdxText(dx, binding.controlId(), value);
  ui::DdvMinMax(dx, value, binding.field().minValue, binding.field().maxValue);
  if (dx.saving) binding.SetValue(value);
}

void FillList(ui::ComboBox& list, const FieldBinding& binding) {
  const auto items = binding.field().items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const int at = list.AddString(items[i]);
    list.SetItemData(at, static_cast<intptr_t>(i));
  }
  list.SetCurSel(binding.ListIndex());
}

void TakeSelection(const ui::ComboBox& list, FieldBinding& binding) { binding.SetListIndex(list.GetCurSel()); }

void SetupSlider(ui::SliderCtrl& slider, const FieldBinding& binding, int pageSize) {
  slider.SetRange(Low(binding), High(binding), false);
  if (pageSize > 0) slider.SetPageSize(pageSize);
  slider.SetPos(static_cast<int>(binding.value()));
}

void TakePosition(const ui::SliderCtrl& slider, FieldBinding& binding) {
  binding.SetValue(static_cast<uint32_t>(slider.GetPos()));
}

void SetupReversedSlider(ui::SliderCtrl& slider, const FieldBinding& binding) {
  slider.SetRange(Low(binding), High(binding), false);
  slider.SetPos(Low(binding) + High(binding) - static_cast<int>(binding.value()));
}

void TakeReversedPosition(const ui::SliderCtrl& slider, FieldBinding& binding) {
  binding.SetValue(static_cast<uint32_t>(slider.GetRangeMin() + slider.GetRangeMax() - slider.GetPos()));
}

void SettingsDialog::OnOK() {
  if (!UpdateData(true)) return;
  bindings_.CommitAll(state_.words);
  EndDialog(ui::kIdOk);
}

void SettingsDialog::SetSwitch(FieldBinding& binding, bool on, std::span<const int> gated) {
  binding.SetOn(on);
  EnableDlgItems(gated, on);
}

void SettingsDialog::SetSwitchExchanged(FieldBinding& binding, bool on, std::span<const int> gated) {
  UpdateData(true);
  SetSwitch(binding, on, gated);
  UpdateData(false);
}

}  // namespace lx::settings
