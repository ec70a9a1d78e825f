#pragma once
// Templates of Ostrel's receiver settings dialogs (sound effect, audio, other settings).
#include "resources/rx_ids.h"
#include "ui/template.h"

namespace lx::res {

extern const ui::DialogTemplate kSoundEffectTemplate;
extern const ui::DialogTemplate kRxAudioTemplate;
extern const ui::DialogTemplate kRxOtherTemplate;

}  // namespace lx::res
