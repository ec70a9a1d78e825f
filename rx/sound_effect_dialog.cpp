#include "rx/sound_effect_dialog.h"

#include "resources/rx_ids.h"

namespace lx::rx {

using namespace res::rx_sound;

// In the order OK writes them (constant, so private to this file).
constexpr settings::BindingRow kBindings[] = {
    {RxField::Treble, settings::BindKind::List, kTrebleList},
    {RxField::Bass, settings::BindKind::List, kBassList},
    {RxField::Thd, settings::BindKind::List, kThdList},
};

SoundEffectDialog::SoundEffectDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kSoundEffectDialog, state, kBindings) {
  On(kBassList, Notify::SelChange, [this] { TakeSelection(bound(RxField::Bass)); });
  On(kTrebleList, Notify::SelChange, [this] { TakeSelection(bound(RxField::Treble)); });
  On(kThdList, Notify::SelChange, [this] { TakeSelection(bound(RxField::Thd)); });
}

bool SoundEffectDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  // Each list is filled in field-value order, then shows the field as the image holds it.
  for (RxField field : {RxField::Bass, RxField::Treble, RxField::Thd}) FillList(bound(field));
  return true;
}

}  // namespace lx::rx
