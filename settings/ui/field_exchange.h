#pragma once
// Data exchange and control set-up for bound register fields: the dialogs' glue between a
// FieldBinding and the framework's controls. Each helper does one exchange step; the dialog
// still decides when it runs.
#include "settings/binding.h"
#include "ui/dialog.h"

namespace lx::settings {

// Radio pair starting at firstId <-> the binding's radio index (no button checked keeps it).
void DdxRadio(ui::DataExchange& dx, int firstId, FieldBinding& binding);
// Check box <-> a one-bit field.
void DdxCheck(ui::DataExchange& dx, int id, FieldBinding& binding);
// Number box <-> the field value, checked against min..max with the framework's message.
void DdxNumber(ui::DataExchange& dx, int id, FieldBinding& binding, uint32_t min, uint32_t max);

// Appends the field's item texts in order (item data = index) and selects the pending value's
// item, or nothing when the value has none.
void FillList(ui::ComboBox& list, const FieldBinding& binding);
// CBN_SELCHANGE: the selected item becomes the pending value; no selection keeps it.
void TakeSelection(const ui::ComboBox& list, FieldBinding& binding);

// Range (without redrawing), page size, then the pending value as position (with redrawing,
// clamped into the range by the slider).
void SetupSlider(ui::SliderCtrl& slider, const FieldBinding& binding, int min, int max, int pageSize = 0);
// NM_CUSTOMDRAW: the slider's position becomes the pending value.
void TakePosition(const ui::SliderCtrl& slider, FieldBinding& binding);

// The same for a slider whose minimum end stands for the highest value (a vertical slider,
// minimum at the top, whose top is labelled with the maximum): position = min + max - value.
void SetupReversedSlider(ui::SliderCtrl& slider, const FieldBinding& binding, int min, int max);
void TakeReversedPosition(const ui::SliderCtrl& slider, FieldBinding& binding);

}  // namespace lx::settings
