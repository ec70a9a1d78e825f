#include "app/tool.h"
#include "channel/ui/channel_dialog.h"
#include "resources/resources.h"
#include "tx/tx_audio_dialog.h"
#include "tx/tx_other_dialog.h"
#include "tx/tx_rf_dialog.h"

namespace lx::app {

const ToolDefinition& AmbrelTool() {
  // RF, audio, other and channel settings.
  static const ToolDefinition tool{"ambrel",
                                   AmbrelProfile(),
                                   res::AmbrelResources(),
                                   {&RunSettingsDialog<tx::TxRfDialog>, &RunSettingsDialog<tx::TxAudioDialog>,
                                    &RunSettingsDialog<tx::TxOtherDialog>, &RunSettingsDialog<channel::ChannelDialog>}};
  return tool;
}

}  // namespace lx::app
