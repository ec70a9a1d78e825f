#include "app/tool.h"
#include "channel/ui/channel_dialog.h"
#include "resources/resources.h"

namespace lx::app {

const ToolDefinition& AmbrelTool() {
  // RF, audio, other and channel settings.
  static const ToolDefinition tool{"ambrel",
                                   AmbrelProfile(),
                                   res::AmbrelResources(),
                                   {nullptr, nullptr, nullptr, &channel::OpenChannelDialog}};
  return tool;
}

}  // namespace lx::app
