#pragma once
// What the settings dialog tests share: random images, a field's binding in an open dialog, and
// the script line that shows a value in the binding's control.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>

#include "settings/image_settings.h"
#include "settings/ui/field_exchange.h"

namespace lx::test {

inline RegisterImage RandomImage(std::mt19937& rng) {
  RegisterImage w{};
  std::uniform_int_distribution<int> word(0, 0xFFFF);
  for (uint16_t& v : w) v = static_cast<uint16_t>(word(rng));
  return w;
}

// The binding of `field` in a settings dialog; a failure when the dialog does not bind it.
inline const settings::FieldBinding* BindingOf(const ui::Dialog& d, const RegisterField& field) {
  const settings::FieldBinding* b = dynamic_cast<const settings::SettingsDialog&>(d).bindings().find(field);
  if (b == nullptr) ADD_FAILURE() << field.name << " is not bound";
  return b;
}

// The second button of a radio pair: the next radio button after the first.
inline int SecondRadio(const ui::Dialog& d, int firstId) {
  const auto& controls = d.controls();
  for (std::size_t i = static_cast<std::size_t>(d.indexOf(firstId)) + 1; i < controls.size(); ++i)
    if (controls[i].kind() == ui::Kind::RadioButton) return controls[i].id();
  ADD_FAILURE() << "no second radio after " << firstId;
  return 0;
}

// The script line that shows `value` in the binding's control; empty for a number box, which
// a test fills itself. A slider moves by keyboard, which no threshold order corrects.
inline std::string ActionFor(const ui::Dialog& d, const settings::FieldBinding& b, uint32_t value) {
  const std::string id = std::to_string(b.controlId());
  switch (b.kind()) {
    case settings::BindKind::RadioPair: {
      const bool first =
          b.field().kind == FieldKind::List ? value == 0 : (value != 0) != b.field().setBitDisables;
      return "click " + (first ? id : std::to_string(SecondRadio(d, b.controlId())));
    }
    case settings::BindKind::List:
      return "select " + id + " " + std::to_string(value);
    case settings::BindKind::Slider:
    case settings::BindKind::ReversedSlider: {
      settings::FieldBinding shown = b;
      shown.SetValue(value);
      return "key " + id + " " + std::to_string(shown.position());
    }
    case settings::BindKind::CheckBox:
    case settings::BindKind::Edit:
      break;
  }
  return {};
}

// What `lxcfg set field=value` makes of `base` on `model`.
inline RegisterImage ThroughLxcfgSet(const ToolProfile& profile, int model, const RegisterImage& base,
                                     const RegisterField& field, uint32_t value) {
  ToolState state(profile, std::filesystem::temp_directory_path());
  state.words = base;
  state.chipModel = model;
  const settings::AssignResult r =
      settings::ApplyAssignments(state, {std::string(field.name) + "=" + FormatField(field, value)});
  EXPECT_TRUE(r.errors.empty()) << field.name << " " << value;
  return state.words;
}

// The settings dialogs of one tool together: each of `fields` is written by exactly one binding
// unless it is in `notWritten`; no two bindings, nor a binding and a field in `notWritten`, share
// a bit; and each binding names a control of its kind. Returns the bits OK writes, per word.
inline RegisterImage CheckBoundOnce(std::initializer_list<const ui::Dialog*> dialogs,
                                    std::span<const RegisterField> fields,
                                    const std::set<const RegisterField*>& notWritten) {
  std::map<const RegisterField*, int> written;
  std::set<const RegisterField*> bound;
  RegisterImage claimed{}, owned{};
  auto claim = [&](const RegisterField& f) {
    EXPECT_EQ(claimed[f.word] & f.mask(), 0) << f.name << " shares a bit";
    claimed[f.word] |= f.mask();
    bound.insert(&f);
  };
  for (const ui::Dialog* d : dialogs)
    for (const settings::FieldBinding& b :
         dynamic_cast<const settings::SettingsDialog&>(*d).bindings().all()) {
      claim(b.field());
      if (b.written()) {
        ++written[&b.field()];
        owned[b.field().word] |= b.field().mask();
      }
      // In BindKind's order.
      static constexpr ui::Kind kControlOf[] = {ui::Kind::RadioButton, ui::Kind::ComboBox, ui::Kind::Slider,
                                                ui::Kind::Slider,      ui::Kind::CheckBox, ui::Kind::Edit};
      const ui::ControlState* c = d->find(b.controlId());
      EXPECT_TRUE(c != nullptr && c->kind() == kControlOf[static_cast<int>(b.kind())]) << b.field().name;
    }
  for (const RegisterField* f : notWritten)
    if (bound.count(f) == 0) claim(*f);
  for (const RegisterField& f : fields) EXPECT_EQ(written[&f], notWritten.count(&f) ? 0 : 1) << f.name;
  return owned;
}

}  // namespace lx::test
