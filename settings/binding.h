#pragma once
// Register fields bound to dialog controls. A dialog declares its bindings as one constant
// table of rows (field, kind of control, control id); the table loads every pending value when
// the dialog opens, drives its data exchange and, on OK, commits each value by read-modify-write
// of exactly the field's bits. The bindings know no window: the dialogs keep their handlers and
// their event order, and call into them.
#include <cstdint>
#include <deque>
#include <span>

#include "core/register_map.h"
#include "core/state.h"

namespace lx::settings {

// The kind of control a field is shown with; it decides how the data exchange moves the value.
enum class BindKind : uint8_t {
  RadioPair,       // radio buttons, the first being "Enable" whatever the bit's polarity
  List,            // combo box whose item index is the field value
  Slider,          // slider whose position is the field value
  ReversedSlider,  // vertical slider whose top (its minimum) stands for the highest value
  CheckBox,        // ticked when the bit is set
  Edit,            // number box, checked against the field's range
};

// Where a row departs from "loaded on opening, exchanged with its control, written on OK".
enum BindFlags : uint8_t {
  kExchanged = 0,
  kNotExchanged = 1 << 0,    // a radio pair checked once on opening; only its clicks change it
  kNotWritten = 1 << 1,      // only read: it decides how the control starts
  kTxIdModelsOnly = 1 << 2,  // loaded on models with a TX_ID; 0 on the others
  kClickExchanged = 1 << 3,  // a radio pair whose clicks run inside a data exchange, from the
                             // controls and back, so that every radio button keeps showing the
                             // user's latest choice
  kOwnHandlers = 1 << 4,     // the dialog maps the control's notifications itself
};

// A register field named by its tool's enum, so that tables of rows can be constant.
class FieldId {
 public:
  constexpr FieldId(TxField field) : family_(Family::Transmitter), index_(static_cast<uint8_t>(field)) {}
  constexpr FieldId(RxField field) : family_(Family::Receiver), index_(static_cast<uint8_t>(field)) {}
  const RegisterField& field() const;

 private:
  Family family_;
  uint8_t index_;
};

// One row of a dialog's binding table.
struct BindingRow {
  FieldId field;
  BindKind kind;
  int controlId;
  uint8_t flags = kExchanged;
  // A radio pair's second button, or the box that shows a slider's value; 0 for none.
  int partnerId = 0;
  // The controls that a radio pair's first choice enables.
  std::span<const int> gated = {};
};

class FieldBinding {
 public:
  explicit FieldBinding(const BindingRow& row) : field_(&row.field.field()), row_(row) {}

  const RegisterField& field() const { return *field_; }
  BindKind kind() const { return row_.kind; }
  int controlId() const { return row_.controlId; }
  bool exchanged() const { return (row_.flags & kNotExchanged) == 0; }
  bool written() const { return (row_.flags & kNotWritten) == 0; }
  bool flagged(BindFlags flag) const { return (row_.flags & flag) != 0; }
  int partnerId() const { return row_.partnerId; }
  std::span<const int> gated() const { return row_.gated; }

  // Opening: the pending value is the field as the image holds it, or 0 for a TX_ID field on a
  // model without one.
  void Load(const ToolState& state);
  // OK: (word AND NOT mask) OR pending, nothing else of the image.
  void Commit(RegisterImage& words) const;

  // The pending field value, shifted down.
  uint32_t value() const { return value_; }
  void SetValue(uint32_t value) { value_ = value; }

  // Radio pair: 0 when the function is on, 1 when off; for a list field shown as radio
  // buttons (the stages' priority) button i is item i. A negative index (no button checked)
  // keeps the pending value.
  bool on() const { return (value_ != 0) != field_->setBitDisables; }
  void SetOn(bool on) { value_ = (on != field_->setBitDisables) ? 1u : 0u; }
  int radioIndex() const;
  void SetRadioIndex(int index);

  // List: the item for the pending value, -1 when the value has no item (it is kept until the
  // user picks one). A selection of -1 keeps the pending value.
  int listIndex() const;
  void SetListIndex(int index);

  // Check box: ticked when the field is non-zero.
  bool checked() const { return value_ != 0; }
  void SetChecked(bool checked) { value_ = checked ? 1u : 0u; }

  // Slider: the position showing the pending value, and the value a position stands for.
  int position() const;
  void SetPosition(int position);

 private:
  const RegisterField* field_;
  BindingRow row_;
  uint32_t value_ = 0;
};

// The bindings of one dialog, in the order of its table. Addresses stay valid.
class BindingSet {
 public:
  explicit BindingSet(std::span<const BindingRow> table);

  void LoadAll(const ToolState& state);
  // The written bindings, in table order.
  void CommitAll(RegisterImage& words) const;

  const std::deque<FieldBinding>& all() const { return bindings_; }
  std::deque<FieldBinding>& all() { return bindings_; }
  // The binding of `field`, or nullptr when the dialog does not bind it.
  const FieldBinding* find(const RegisterField& field) const;
  FieldBinding* find(const RegisterField& field);

 private:
  std::deque<FieldBinding> bindings_;
};

}  // namespace lx::settings
