#include "app/tool.h"
#include "channel/ui/channel_dialog.h"
#include "resources/resources.h"
#include "rx/rx_audio_dialog.h"
#include "rx/rx_other_dialog.h"
#include "rx/sound_effect_dialog.h"

namespace lx::app {

namespace {

// Each picture button runs its dialog modally on the tool's state; the result is not used.
template <class D>
void OpenSettings(ui::Host& host, ToolState& state) {
  D dialog(host, state);
  dialog.DoModal();
}

}  // namespace

const ToolDefinition& OstrelTool() {
  // Sound effect, audio, other and channel settings.
  static const ToolDefinition tool{"ostrel",
                                   OstrelProfile(),
                                   res::OstrelResources(),
                                   {&OpenSettings<rx::SoundEffectDialog>, &OpenSettings<rx::RxAudioDialog>,
                                    &OpenSettings<rx::RxOtherDialog>, &channel::OpenChannelDialog}};
  return tool;
}

}  // namespace lx::app
