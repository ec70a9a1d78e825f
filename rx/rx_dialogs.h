#pragma once
// The receiver's settings windows. Each is its binding table alone, in the file of its name.
#include "settings/ui/field_exchange.h"

namespace lx::rx {

// "音效配置": bass, treble and THD, three lists on reg1f.
extern const settings::SettingsWindow kSoundEffectWindow;
// "音频配置": de-emphasis, audio gain, expander and its rectifier time constant (reg1d, reg1f),
// and the output volume on a vertical slider (reg1a). The time-constant list is enabled only
// while the expander is; disabled, it keeps its value and OK writes it.
extern const settings::SettingsWindow kRxAudioWindow;
// "其他配置": the automute master switch over pilot and SNR automute, the SNR thresholds that
// fill reg1c, and automatic frequency control with its range. Every pending value is written on
// OK, whatever the enabled state of its controls.
extern const settings::SettingsWindow kRxOtherWindow;

using SoundEffectDialog = settings::TableDialog<kSoundEffectWindow>;
using RxAudioDialog = settings::TableDialog<kRxAudioWindow>;
using RxOtherDialog = settings::TableDialog<kRxOtherWindow>;

}  // namespace lx::rx
