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
    : SettingsDialog(host, res::kSoundEffectDialog, state, kBindings) {}

}  // namespace lx::rx
