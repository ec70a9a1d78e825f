#include "rx/sound_effect_dialog.h"

#include "resources/rx_ids.h"

namespace lx::rx {

using namespace res::rx_sound;
using settings::BindKind;
using ui::Notify;

SoundEffectDialog::SoundEffectDialog(ui::Host& host, ToolState& state)
    : SettingsDialog(host, res::kSoundEffectDialog, state),
      treble_(bindings_.Bind(RxField::Treble, BindKind::List, kTrebleList)),
      bass_(bindings_.Bind(RxField::Bass, BindKind::List, kBassList)),
      thd_(bindings_.Bind(RxField::Thd, BindKind::List, kThdList)) {
  On(kBassList, Notify::SelChange, [this] { settings::TakeSelection(bassList_, bass_); });
  On(kTrebleList, Notify::SelChange, [this] { settings::TakeSelection(trebleList_, treble_); });
  On(kThdList, Notify::SelChange, [this] { settings::TakeSelection(thdList_, thd_); });
}

void SoundEffectDialog::DoDataExchange(ui::DataExchange& dx) {
  settings::DdxControl(dx, bass_, bassList_);
  settings::DdxControl(dx, treble_, trebleList_);
  settings::DdxControl(dx, thd_, thdList_);
}

bool SoundEffectDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  // Each list is filled in field-value order, then shows the field as the image holds it.
  bass_.Load(state_.words);
  settings::FillList(bassList_, bass_);
  treble_.Load(state_.words);
  settings::FillList(trebleList_, treble_);
  thd_.Load(state_.words);
  settings::FillList(thdList_, thd_);
  return true;
}

}  // namespace lx::rx
