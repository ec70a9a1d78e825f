#pragma once
// Data exchange and control set-up for bound register fields: the dialogs' glue between a
// FieldBinding and the framework's controls. Each helper does one exchange step; the dialog
// still decides when it runs. The binding names its control and its field's range, so neither
// is written a second time here.
#include "settings/binding.h"
#include "ui/dialog.h"

namespace lx::settings {

// The binding's control as a member handle (a list or a slider).
void DdxControl(ui::DataExchange& dx, const FieldBinding& binding, ui::Control& control);
// Radio pair starting at the binding's control <-> its radio index (no button checked keeps it).
void DdxRadio(ui::DataExchange& dx, FieldBinding& binding);
// Check box <-> a one-bit field.
void DdxCheck(ui::DataExchange& dx, FieldBinding& binding);
// Number box <-> the field value, checked against the field's range with the framework's message.
void DdxNumber(ui::DataExchange& dx, FieldBinding& binding);

// Appends the field's item texts in order (item data = index) and selects the pending value's
// item, or nothing when the value has none.
void FillList(ui::ComboBox& list, const FieldBinding& binding);
// CBN_SELCHANGE: the selected item becomes the pending value; no selection keeps it.
void TakeSelection(const ui::ComboBox& list, FieldBinding& binding);

// The field's range (without redrawing), the page size when given, then the pending value as
// position (with redrawing, clamped into the range by the slider).
void SetupSlider(ui::SliderCtrl& slider, const FieldBinding& binding, int pageSize = 0);
// NM_CUSTOMDRAW: the slider's position becomes the pending value.
void TakePosition(const ui::SliderCtrl& slider, FieldBinding& binding);

// The same for a slider whose minimum end stands for the highest value (a vertical slider,
// minimum at the top, whose top is labelled with the maximum): position = min + max - value.
void SetupReversedSlider(ui::SliderCtrl& slider, const FieldBinding& binding);
void TakeReversedPosition(const ui::SliderCtrl& slider, FieldBinding& binding);

// A settings dialog: field bindings over the tool's image and the one OK they share.
class SettingsDialog : public ui::Dialog {
 public:
  SettingsDialog(ui::Host& host, int templateId, ToolState& state)
      : Dialog(host, templateId), state_(state) {}

  const BindingSet& bindings() const { return bindings_; }

 protected:
  // Every box is exchanged and validated, then every binding is committed in the order it was
  // made, then the dialog ends. A refused box keeps the dialog open and the image as it was.
  void OnOK() override;

  // A switch's button clicked: the pending bit, then the controls it gates enabled with it.
  void SetSwitch(FieldBinding& binding, bool on, std::span<const int> gated = {});
  // The same inside a data exchange from the controls and back, so that every radio button
  // keeps showing the user's latest choice and the boxes their refreshed values.
  void SetSwitchExchanged(FieldBinding& binding, bool on, std::span<const int> gated = {});

  ToolState& state_;
  BindingSet bindings_;
};

}  // namespace lx::settings
