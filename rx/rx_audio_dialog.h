#pragma once
#include "core/state.h"
#include "settings/ui/field_exchange.h"

namespace lx::rx {

// "音频配置": de-emphasis, audio gain, expander and its rectifier time constant (reg1d, reg1f),
// and the output volume on a vertical slider (reg1a). The time-constant list is enabled only
// while the expander is; disabled, it keeps its value and OK writes it.
class RxAudioDialog : public settings::SettingsDialog {
 public:
  RxAudioDialog(ui::Host& host, ToolState& state);
};

}  // namespace lx::rx
