#include "settings/binding.h"

#include <algorithm>

namespace lx::settings {

const RegisterField& FieldId::field() const {
  return family_ == Family::Transmitter ? Field(static_cast<TxField>(index_))
                                        : Field(static_cast<RxField>(index_));
}

void FieldBinding::Load(const ToolState& state) {
  const ChipModel* model = state.selectedModel();
  const bool txIdOnly = (row_.flags & kTxIdModelsOnly) != 0 || field_->txIdModelsOnly;
  value_ = !txIdOnly || (model != nullptr && model->hasTxId) ? ReadField(*field_, state.words) : 0;
}

void FieldBinding::Commit(RegisterImage& words) const { WriteFieldBits(*field_, value_, words); }

int FieldBinding::radioIndex() const {
  if (field_->kind == FieldKind::List) return listIndex();
  return on() ? 0 : 1;
}

void FieldBinding::SetRadioIndex(int index) {
  if (field_->kind == FieldKind::List)
    SetListIndex(index);
  else if (index == 0 || index == 1)
    SetOn(index == 0);
}

int FieldBinding::listIndex() const { return value_ < field_->items.size() ? static_cast<int>(value_) : -1; }

void FieldBinding::SetListIndex(int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < field_->items.size())
    value_ = static_cast<uint32_t>(index);
}

// A reversed slider shows value v at min + max - v, so that its top end is the maximum.
int FieldBinding::position() const {
  const int v = static_cast<int>(value_);
  if (row_.kind != BindKind::ReversedSlider) return v;
  return static_cast<int>(field_->minValue + field_->maxValue) - v;
}

void FieldBinding::SetPosition(int position) {
  if (row_.kind == BindKind::ReversedSlider)
    position = static_cast<int>(field_->minValue + field_->maxValue) - position;
  value_ = static_cast<uint32_t>(position);
}

BindingSet::BindingSet(std::span<const BindingRow> table) {
  for (const BindingRow& row : table) bindings_.emplace_back(row);
}

void BindingSet::LoadAll(const ToolState& state) {
  for (FieldBinding& b : bindings_) b.Load(state);
}

void BindingSet::CommitAll(RegisterImage& words) const {
  for (const FieldBinding& b : bindings_)
    if (b.written()) b.Commit(words);
}

namespace {
template <class Bindings>
auto* FindIn(Bindings& bindings, const RegisterField& field) {
  const auto it = std::find_if(bindings.begin(), bindings.end(),
                               [&](const FieldBinding& b) { return &b.field() == &field; });
  return it == bindings.end() ? nullptr : &*it;
}
}  // namespace

const FieldBinding* BindingSet::find(const RegisterField& field) const { return FindIn(bindings_, field); }

FieldBinding* BindingSet::find(const RegisterField& field) { return FindIn(bindings_, field); }

}  // namespace lx::settings
