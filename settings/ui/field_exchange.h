#pragma once
// A settings dialog over its binding table: the table loads the pending values, exchanges them
// with the controls and writes them on OK. The helpers here set up and read the controls a
// binding names; the dialog still decides when each runs, as its handlers always have.
#include "settings/binding.h"
#include "ui/dialog.h"

namespace lx::settings {

class SettingsDialog : public ui::Dialog {
 public:
  // Binds every row of `table` and loads it from the image and the chip model.
  SettingsDialog(ui::Host& host, int templateId, ToolState& state, std::span<const BindingRow> table);

  const BindingSet& bindings() const { return bindings_; }

 protected:
  using Notify = ui::Notify;

  // Every box is exchanged and validated, then every written binding is committed in table
  // order, then the dialog ends. A refused box keeps the dialog open and the image as it was.
  void OnOK() override;

  // By the table: the exchanged radio pairs, then the dialog's own boxes (ExchangeBoxes), then
  // the check boxes and number boxes. Lists and sliders move their values by notification.
  void DoDataExchange(ui::DataExchange& dx) final;
  // The boxes no field is bound to (mirrors of a slider, a computed frequency).
  virtual void ExchangeBoxes(ui::DataExchange& /*dx*/) {}

  // The binding of a field the table names.
  FieldBinding& bound(FieldId field);

  // The binding's control.
  ui::ComboBox listOf(const FieldBinding& b) { return {this, b.controlId()}; }
  ui::SliderCtrl sliderOf(const FieldBinding& b) { return {this, b.controlId()}; }

  // Appends the field's item texts in order (item data = index) and selects the pending value's
  // item, or nothing when the value has none.
  void FillList(const FieldBinding& b);
  // CBN_SELCHANGE: the selected item becomes the pending value; no selection keeps it.
  void TakeSelection(FieldBinding& b);
  // The field's range (without redrawing), the page size when given, then the pending value's
  // position (with redrawing, clamped into the range by the slider).
  void SetupSlider(const FieldBinding& b, int pageSize = 0);
  // NM_CUSTOMDRAW: the slider's position becomes the pending value.
  void TakePosition(FieldBinding& b);
  // The same for a slider with a box beside it: the box's integer and text follow. Only the box
  // is refreshed, so the radio buttons keep showing the user's latest clicks.
  void TakePosition(FieldBinding& b, int boxId, int32_t& box);
  // A radio pair the exchange leaves alone shows its pending value once, on opening.
  void CheckRadioPair(const FieldBinding& b);

  // A switch's button clicked: the pending bit, then the controls it gates enabled with it.
  void SetSwitch(FieldBinding& b, bool on, std::span<const int> gated = {});
  // The same inside a data exchange from the controls and back, so that every radio button
  // keeps showing the user's latest choice and the boxes their refreshed values.
  void SetSwitchExchanged(FieldBinding& b, bool on, std::span<const int> gated = {});

  ToolState& state_;

 private:
  BindingSet bindings_;
};

}  // namespace lx::settings
