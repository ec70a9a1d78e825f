#pragma once
// Register fields bound to dialog controls. A binding loads its field into a pending value
// when the dialog opens, lets the control's handlers change it, and commits it on OK by
// read-modify-write of exactly the field's bits. The binding knows no window: the dialogs keep
// their handlers, their exchange steps and their event order, and call into it.
#include <cstdint>
#include <deque>
#include <span>

#include "core/register_map.h"
#include "core/state.h"

namespace lx::settings {

// The kind of control a field is shown with.
enum class BindKind : uint8_t {
  RadioPair,  // two radio buttons, the first being "Enable" whatever the bit's polarity
  List,       // combo box whose item index is the field value
  Slider,     // slider whose position is the field value
  CheckBox,   // ticked when the bit is set
  Edit,       // number box
};

class FieldBinding {
 public:
  FieldBinding(const RegisterField& field, BindKind kind, int controlId)
      : field_(&field), kind_(kind), controlId_(controlId) {}

  const RegisterField& field() const { return *field_; }
  BindKind kind() const { return kind_; }
  int controlId() const { return controlId_; }

  // Opening: the pending value is the field as the image holds it.
  void Load(const RegisterImage& words) { value_ = ReadField(*field_, words); }
  // OK: (word AND NOT mask) OR pending, nothing else of the image.
  void Commit(RegisterImage& words) const;

  // The pending field value, shifted down, and kept shifted into its bit position.
  uint32_t value() const { return value_; }
  uint16_t pending() const { return field_->place(value_); }
  void SetValue(uint32_t value) { value_ = value; }
  // Whether the pending value fits the field's bits (a number box can hold more).
  bool Fits() const { return value_ <= field_->fieldMax(); }

  // Radio pair: 0 when the function is on, 1 when off; for a list field shown as radio
  // buttons (the stages' priority) button i is item i. A negative index (no button checked)
  // keeps the pending value.
  bool On() const { return (value_ != 0) != field_->setBitDisables; }
  void SetOn(bool on) { value_ = (on != field_->setBitDisables) ? 1u : 0u; }
  int RadioIndex() const;
  void SetRadioIndex(int index);

  // List: the item for the pending value, -1 when the value has no item (it is kept until the
  // user picks one). A selection of -1 keeps the pending value.
  int ListIndex() const;
  void SetListIndex(int index);

  // Check box: ticked when the field is non-zero.
  bool Checked() const { return value_ != 0; }
  void SetChecked(bool checked) { value_ = checked ? 1u : 0u; }

 private:
  const RegisterField* field_;
  BindKind kind_;
  int controlId_;
  uint32_t value_ = 0;
};

// The bindings of one dialog. Addresses stay valid as bindings are added.
class BindingSet {
 public:
  FieldBinding& Bind(const RegisterField& field, BindKind kind, int controlId) {
    return bindings_.emplace_back(field, kind, controlId);
  }
  FieldBinding& Bind(TxField field, BindKind kind, int controlId) {
    return Bind(Field(field), kind, controlId);
  }
  FieldBinding& Bind(RxField field, BindKind kind, int controlId) {
    return Bind(Field(field), kind, controlId);
  }

  void LoadAll(const RegisterImage& words) {
    for (FieldBinding& b : bindings_) b.Load(words);
  }
  // In the order the bindings were made.
  void CommitAll(RegisterImage& words) const {
    for (const FieldBinding& b : bindings_) b.Commit(words);
  }
  // False when a number box holds a value its field cannot take.
  bool AllFit() const;

  const std::deque<FieldBinding>& all() const { return bindings_; }

 private:
  std::deque<FieldBinding> bindings_;
};

}  // namespace lx::settings
