#include "rx/sound_effect_dialog.h"

#include "resources/rx_ids.h"
#include "settings/ui/field_exchange.h"

namespace lx::rx {

using namespace res::rx_sound;
using settings::BindKind;
using ui::Notify;

SoundEffectDialog::SoundEffectDialog(ui::Host& host, ToolState& state)
    : Dialog(host, res::kSoundEffectDialog),
      state_(state),
      bass_(bindings_.Bind(RxField::Bass, BindKind::List, kBassList)),
      treble_(bindings_.Bind(RxField::Treble, BindKind::List, kTrebleList)),
      thd_(bindings_.Bind(RxField::Thd, BindKind::List, kThdList)) {
  On(kBassList, Notify::SelChange, &SoundEffectDialog::OnSelChangeBass);
  On(kTrebleList, Notify::SelChange, &SoundEffectDialog::OnSelChangeTreble);
  On(kThdList, Notify::SelChange, &SoundEffectDialog::OnSelChangeThd);
}

void SoundEffectDialog::DoDataExchange(ui::DataExchange& dx) {
  ui::DdxControl(dx, kBassList, bassList_);
  ui::DdxControl(dx, kTrebleList, trebleList_);
  ui::DdxControl(dx, kThdList, thdList_);
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

void SoundEffectDialog::OnSelChangeBass() { settings::TakeSelection(bassList_, bass_); }
void SoundEffectDialog::OnSelChangeTreble() { settings::TakeSelection(trebleList_, treble_); }
void SoundEffectDialog::OnSelChangeThd() { settings::TakeSelection(thdList_, thd_); }

void SoundEffectDialog::OnOK() {
  treble_.Commit(state_.words);
  bass_.Commit(state_.words);
  thd_.Commit(state_.words);
  Dialog::OnOK();
}

}  // namespace lx::rx
