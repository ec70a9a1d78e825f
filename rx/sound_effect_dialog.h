#pragma once
#include "core/state.h"
#include "settings/ui/field_exchange.h"

namespace lx::rx {

// "音效配置": bass, treble and THD, three lists on reg1f.
class SoundEffectDialog : public settings::SettingsDialog {
 public:
  SoundEffectDialog(ui::Host& host, ToolState& state);
};

}  // namespace lx::rx
