#include "app/tool.h"
#include "channel/ui/channel_dialog.h"
#include "resources/resources.h"

namespace lx::app {

const ToolDefinition& OstrelTool() {
  // Sound effect, audio, other and channel settings.
  static const ToolDefinition tool{"ostrel",
                                   OstrelProfile(),
                                   res::OstrelResources(),
                                   {nullptr, nullptr, nullptr, &channel::OpenChannelDialog}};
  return tool;
}

}  // namespace lx::app
