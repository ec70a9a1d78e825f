#include "resources/rx_ids.h"
#include "rx/rx_dialogs.h"

namespace lx::rx {

namespace {
using namespace res::rx_sound;

// In the order OK writes them; each list is filled in field-value order.
constexpr settings::BindingRow kBindings[] = {
    {RxField::Treble, settings::BindKind::List, kTrebleList},
    {RxField::Bass, settings::BindKind::List, kBassList},
    {RxField::Thd, settings::BindKind::List, kThdList},
};
}  // namespace

const settings::SettingsWindow kSoundEffectWindow{res::kSoundEffectDialog, kBindings};

}  // namespace lx::rx
