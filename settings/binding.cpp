#include "settings/binding.h"

#include <algorithm>

namespace lx::settings {

void FieldBinding::Commit(RegisterImage& words) const { WriteFieldBits(*field_, value_, words); }

int FieldBinding::RadioIndex() const {
  if (field_->kind == FieldKind::List) return ListIndex();
  return On() ? 0 : 1;
}

void FieldBinding::SetRadioIndex(int index) {
  if (field_->kind == FieldKind::List)
    SetListIndex(index);
  else if (index == 0 || index == 1)
    SetOn(index == 0);
}

int FieldBinding::ListIndex() const { return value_ < field_->items.size() ? static_cast<int>(value_) : -1; }

void FieldBinding::SetListIndex(int index) {
  if (index >= 0 && static_cast<std::size_t>(index) < field_->items.size())
    value_ = static_cast<uint32_t>(index);
}

bool BindingSet::AllFit() const {
  return std::all_of(bindings_.begin(), bindings_.end(), [](const FieldBinding& b) { return b.Fits(); });
}

}  // namespace lx::settings
