#pragma once
// A settings dialog over its binding table: the table loads the pending values, exchanges them
// with the controls and writes them on OK. What every dialog does with a row of a kind is done
// here: a list is filled and takes its selection; a slider gets its range and takes its
// position, with the box beside it; a radio pair takes its clicks and enables what it gates.
// The helpers set up and read the controls a binding names, for the handlers a dialog maps
// itself.
#include <cstdint>
#include <deque>

#include "settings/binding.h"
#include "ui/dialog.h"

namespace lx::settings {

class SettingsDialog : public ui::Dialog {
 public:
  // Binds every row of `table`, loads it from the image and the chip model, and maps by its
  // kind: a list's CBN_SELCHANGE takes the selection; a slider's NM_CUSTOMDRAW takes the
  // position and refreshes its box (the partner), unless kOwnHandlers; a radio pair's two
  // buttons pick its first and second choice and enable or grey its gated controls with the
  // first, inside a data exchange when kClickExchanged. A radio pair without a partner is the
  // dialog's to map.
  SettingsDialog(ui::Host& host, int templateId, ToolState& state, std::span<const BindingRow> table);

  const BindingSet& bindings() const { return bindings_; }

 protected:
  using Notify = ui::Notify;

  // The radio groups from the exchange, then in table order each list filled (FillList), each
  // slider set up (SetupSlider) and its box filled, each radio pair that is not exchanged
  // checked (CheckRadioPair), and each radio pair's gated controls enabled with it.
  bool OnInitDialog() override;

  // Every box is exchanged and validated, then every written binding is committed in table
  // order, then the dialog ends. A refused box keeps the dialog open and the image as it was.
  void OnOK() override;

  // By the table: the exchanged radio pairs, then the sliders' boxes and the dialog's own boxes
  // (ExchangeBoxes), then the check boxes and number boxes. Lists and sliders move their values
  // by notification.
  void DoDataExchange(ui::DataExchange& dx) final;
  // The boxes no field is bound to (a computed frequency, a voltage).
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
  // The field's range (without redrawing), then the pending value's position (with redrawing,
  // clamped into the range by the slider).
  void SetupSlider(const FieldBinding& b);
  // NM_CUSTOMDRAW: the slider's position becomes the pending value.
  void TakePosition(FieldBinding& b);
  // A radio pair the exchange leaves alone shows its pending value once, on opening.
  void CheckRadioPair(const FieldBinding& b);

  ToolState& state_;

 private:
  // A slider's box: the integer it shows. Only the box is refreshed when the slider moves, so
  // the radio buttons keep showing the user's latest clicks.
  struct ValueBox {
    FieldBinding& slider;
    int32_t value = 0;
  };
  void MapRadioPair(FieldBinding& b);
  void TakeIntoBox(ValueBox& box);

  BindingSet bindings_;
  std::deque<ValueBox> valueBoxes_;  // one per slider with a value box; handlers hold its index
};

// A settings window that is its binding table alone.
struct SettingsWindow {
  int templateId;
  std::span<const BindingRow> bindings;
};

// The dialog of such a window, opened as every settings dialog is, with the host and the state.
template <const SettingsWindow& W>
class TableDialog : public SettingsDialog {
 public:
  TableDialog(ui::Host& host, ToolState& state) : SettingsDialog(host, W.templateId, state, W.bindings) {}
};

}  // namespace lx::settings
