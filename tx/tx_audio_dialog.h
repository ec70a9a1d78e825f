#pragma once
#include "core/state.h"
#include "settings/ui/field_exchange.h"

namespace lx::tx {

// "音频配置": pre-emphasis, the compressor, which of the two acts first, the microphone
// sensitivity and the compandor rectifier's time constant (reg1c, reg2b). The time-constant
// list is enabled only while the compressor is; disabled, it keeps its value and OK writes it.
class TxAudioDialog : public settings::SettingsDialog {
 public:
  TxAudioDialog(ui::Host& host, ToolState& state);
};

}  // namespace lx::tx
