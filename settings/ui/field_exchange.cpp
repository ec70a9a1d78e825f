#include "settings/ui/field_exchange.h"

#include <stdexcept>
#include <string>

namespace lx::settings {

namespace {

// Radio pair starting at the binding's control <-> its radio index (no button checked keeps it).
void DdxRadio(ui::DataExchange& dx, FieldBinding& b) {
  int index = b.radioIndex();
  ui::DdxRadio(dx, b.controlId(), index);
  if (dx.saving) b.SetRadioIndex(index);
}

// Check box <-> a one-bit field.
void DdxCheck(ui::DataExchange& dx, FieldBinding& b) {
  int checked = b.checked() ? 1 : 0;
  ui::DdxCheck(dx, b.controlId(), checked);
  if (dx.saving) b.SetChecked(checked != 0);
}

// Number box <-> the field value, checked against the field's range with the framework's message.
void DdxNumber(ui::DataExchange& dx, FieldBinding& b) {
  uint32_t value = b.value();
  ui::DdxText(dx, b.controlId(), value);
  ui::DdvMinMax(dx, value, b.field().minValue, b.field().maxValue);
  if (dx.saving) b.SetValue(value);
}

}  // namespace

SettingsDialog::SettingsDialog(ui::Host& host, int templateId, ToolState& state,
                               std::span<const BindingRow> table)
    : Dialog(host, templateId), state_(state), bindings_(table) {
  bindings_.LoadAll(state_);
  for (FieldBinding& b : bindings_.all()) {
    switch (b.kind()) {
      case BindKind::List:
        On(b.controlId(), Notify::SelChange, [this, &b] { TakeSelection(b); });
        break;
      case BindKind::Slider:
      case BindKind::ReversedSlider:
        if (b.flagged(kOwnHandlers)) break;
        if (b.partnerId() == 0) {
          On(b.controlId(), Notify::CustomDraw, [this, &b] { TakePosition(b); });
        } else {
          valueBoxes_.push_back(ValueBox{b});
          On(b.controlId(), Notify::CustomDraw,
             [this, box = valueBoxes_.size() - 1] { TakeIntoBox(valueBoxes_[box]); });
        }
        break;
      case BindKind::RadioPair:
        if (b.partnerId() != 0) MapRadioPair(b);
        break;
      case BindKind::CheckBox:
      case BindKind::Edit:
        break;
    }
  }
}

bool SettingsDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  for (const FieldBinding& b : bindings_.all()) {
    if (b.kind() == BindKind::List) FillList(b);
    if (b.kind() == BindKind::Slider || b.kind() == BindKind::ReversedSlider) SetupSlider(b);
  }
  for (ValueBox& box : valueBoxes_) TakeIntoBox(box);
  for (const FieldBinding& b : bindings_.all())
    if (b.kind() == BindKind::RadioPair && !b.exchanged()) CheckRadioPair(b);
  for (const FieldBinding& b : bindings_.all())
    if (b.kind() == BindKind::RadioPair) EnableDlgItems(b.gated(), b.on());
  return true;
}

FieldBinding& SettingsDialog::bound(FieldId field) {
  FieldBinding* b = bindings_.find(field.field());
  if (b == nullptr) throw std::logic_error(std::string("no binding for ") + field.field().name);
  return *b;
}

void SettingsDialog::OnOK() {
  if (!UpdateData(true)) return;
  bindings_.CommitAll(state_.words);
  EndDialog(ui::kIdOk);
}

void SettingsDialog::DoDataExchange(ui::DataExchange& dx) {
  for (FieldBinding& b : bindings_.all())
    if (b.kind() == BindKind::RadioPair && b.exchanged()) DdxRadio(dx, b);
  for (ValueBox& box : valueBoxes_) ui::DdxText(dx, box.slider.partnerId(), box.value);
  ExchangeBoxes(dx);
  for (FieldBinding& b : bindings_.all()) {
    if (b.kind() == BindKind::CheckBox && b.exchanged()) DdxCheck(dx, b);
    if (b.kind() == BindKind::Edit && b.exchanged()) DdxNumber(dx, b);
  }
}

void SettingsDialog::FillList(const FieldBinding& b) {
  ui::ComboBox list = listOf(b);
  for (const char* item : b.field().items) list.AddString(item);
  list.SetCurSel(b.listIndex());
}

void SettingsDialog::TakeSelection(FieldBinding& b) { b.SetListIndex(listOf(b).GetCurSel()); }

void SettingsDialog::SetupSlider(const FieldBinding& b) {
  ui::SliderCtrl slider = sliderOf(b);
  slider.SetRange(static_cast<int>(b.field().minValue), static_cast<int>(b.field().maxValue), false);
  slider.SetPos(b.position());
}

void SettingsDialog::TakePosition(FieldBinding& b) { b.SetPosition(sliderOf(b).GetPos()); }

void SettingsDialog::CheckRadioPair(const FieldBinding& b) {
  ui::DataExchange dx(*this, false);
  int index = b.radioIndex();
  ui::DdxRadio(dx, b.controlId(), index);
}

void SettingsDialog::MapRadioPair(FieldBinding& b) {
  const bool exchanged = b.flagged(kClickExchanged);
  const int buttons[] = {b.controlId(), b.partnerId()};
  for (const int index : {0, 1}) {
    On(buttons[index], Notify::Clicked, [this, &b, index, exchanged] {
      if (exchanged) UpdateData(true);
      b.SetRadioIndex(index);
      EnableDlgItems(b.gated(), index == 0);
      if (exchanged) UpdateData(false);
    });
  }
}

void SettingsDialog::TakeIntoBox(ValueBox& box) {
  TakePosition(box.slider);
  box.value = static_cast<int32_t>(box.slider.value());
  SetDlgItemText(box.slider.partnerId(), std::to_string(box.value));
}

}  // namespace lx::settings
