#pragma once
// A settings dialog over its binding table: the table loads the pending values, exchanges them
// with the controls and writes them on OK. What every dialog does with a row of a kind is done
// here: a list is filled and takes its selection, a slider gets its range, a radio pair that the
// exchange leaves alone is checked on opening. The helpers set up and read the controls a
// binding names; the dialog still decides when each runs, as its handlers always have.
#include <cstdint>
#include <deque>
#include <vector>

#include "settings/binding.h"
#include "ui/dialog.h"

namespace lx::settings {

class SettingsDialog : public ui::Dialog {
 public:
  // Binds every row of `table` and loads it from the image and the chip model. Every list's
  // CBN_SELCHANGE takes its selection (TakeSelection); a dialog maps no other handler to it.
  SettingsDialog(ui::Host& host, int templateId, ToolState& state, std::span<const BindingRow> table);

  const BindingSet& bindings() const { return bindings_; }

 protected:
  using Notify = ui::Notify;

  // The radio groups from the exchange, then in table order each list filled (FillList) and
  // each slider set up (SetupSlider); the boxes beside sliders (ShowValueIn) follow their
  // sliders, the radio pairs that are not exchanged are checked (CheckRadioPair), and each
  // radio pair's gated controls (OnRadioPair) are enabled with it, in the order they were mapped.
  bool OnInitDialog() override;

  // Every box is exchanged and validated, then every written binding is committed in table
  // order, then the dialog ends. A refused box keeps the dialog open and the image as it was.
  void OnOK() override;

  // By the table: the exchanged radio pairs, then the boxes beside sliders and the dialog's own
  // boxes (ExchangeBoxes), then the check boxes and number boxes. Lists and sliders move their
  // values by notification.
  void DoDataExchange(ui::DataExchange& dx) final;
  // The boxes no field is bound to (a computed frequency, a voltage).
  virtual void ExchangeBoxes(ui::DataExchange& /*dx*/) {}

  // The binding of a field the table names.
  FieldBinding& bound(FieldId field);

  // The binding's control.
  ui::ComboBox listOf(const FieldBinding& b) { return {this, b.controlId()}; }
  ui::SliderCtrl sliderOf(const FieldBinding& b) { return {this, b.controlId()}; }

  // A radio pair's two buttons mapped: the binding's control picks the first choice ("Enable"),
  // `secondId` the second, and the controls in `gated` are enabled while the first is chosen,
  // on opening and after each click. The Exchanged form clicks inside a data exchange from the
  // controls and back, so that every radio button keeps showing the user's latest choice.
  void OnRadioPair(FieldId field, int secondId, std::span<const int> gated = {});
  void OnRadioPairExchanged(FieldId field, int secondId, std::span<const int> gated = {});
  // A box beside a slider that shows its pending value as an integer: each repaint of the
  // slider (NM_CUSTOMDRAW) takes the position and refreshes only the box, so the radio buttons
  // keep showing the user's latest clicks.
  void ShowValueIn(FieldId field, int boxId);

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
  struct Gate {
    FieldBinding* pair;
    std::span<const int> controls;
  };
  struct ValueBox {
    FieldBinding* slider;
    int boxId;
    int32_t value;
  };
  void MapRadioPair(FieldBinding& b, int secondId, std::span<const int> gated, bool exchanged);
  void TakeIntoBox(ValueBox& box);

  BindingSet bindings_;
  std::vector<Gate> gates_;
  std::deque<ValueBox> valueBoxes_;  // addresses stay valid for the handlers
};

}  // namespace lx::settings
