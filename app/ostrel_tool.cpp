#include "app/tool.h"
#include "resources/resources.h"
#include "rx/rx_dialogs.h"

namespace lx::app {

// Sound effect, audio, other and channel settings.
const ToolDefinition& OstrelTool() {
  static const ToolDefinition tool = DefineTool<rx::SoundEffectDialog, rx::RxAudioDialog, rx::RxOtherDialog>(
      "ostrel", OstrelProfile(), res::OstrelResources());
  return tool;
}

}  // namespace lx::app
