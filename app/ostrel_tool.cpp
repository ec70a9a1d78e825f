#include "app/tool.h"
#include "channel/ui/channel_dialog.h"
#include "resources/resources.h"
#include "rx/rx_audio_dialog.h"
#include "rx/rx_other_dialog.h"
#include "rx/sound_effect_dialog.h"

namespace lx::app {

const ToolDefinition& OstrelTool() {
  // Sound effect, audio, other and channel settings.
  static const ToolDefinition tool{"ostrel",
                                   OstrelProfile(),
                                   res::OstrelResources(),
                                   {&RunSettingsDialog<rx::SoundEffectDialog>, &RunSettingsDialog<rx::RxAudioDialog>,
                                    &RunSettingsDialog<rx::RxOtherDialog>, &RunSettingsDialog<channel::ChannelDialog>}};
  return tool;
}

}  // namespace lx::app
