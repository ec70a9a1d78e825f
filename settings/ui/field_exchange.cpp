#include "settings/ui/field_exchange.h"

namespace lx::settings {

void DdxRadio(ui::DataExchange& dx, int firstId, FieldBinding& binding) {
  int index = binding.RadioIndex();
  ui::DdxRadio(dx, firstId, index);
  if (dx.saving) binding.SetRadioIndex(index);
}

void DdxCheck(ui::DataExchange& dx, int id, FieldBinding& binding) {
  int checked = binding.Checked() ? 1 : 0;
  ui::DdxCheck(dx, id, checked);
  if (dx.saving) binding.SetChecked(checked != 0);
}

void DdxNumber(ui::DataExchange& dx, int id, FieldBinding& binding, uint32_t min, uint32_t max) {
  uint32_t value = binding.value();
  ui::DdxText(dx, id, value);
  ui::DdvMinMax(dx, value, min, max);
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

void SetupSlider(ui::SliderCtrl& slider, const FieldBinding& binding, int min, int max, int pageSize) {
  slider.SetRange(min, max, false);
  if (pageSize > 0) slider.SetPageSize(pageSize);
  slider.SetPos(static_cast<int>(binding.value()));
}

void TakePosition(const ui::SliderCtrl& slider, FieldBinding& binding) {
  binding.SetValue(static_cast<uint32_t>(slider.GetPos()));
}

void SetupReversedSlider(ui::SliderCtrl& slider, const FieldBinding& binding, int min, int max) {
  slider.SetRange(min, max, false);
  slider.SetPos(min + max - static_cast<int>(binding.value()));
}

void TakeReversedPosition(const ui::SliderCtrl& slider, FieldBinding& binding) {
  binding.SetValue(static_cast<uint32_t>(slider.GetRangeMin() + slider.GetRangeMax() - slider.GetPos()));
}

}  // namespace lx::settings
