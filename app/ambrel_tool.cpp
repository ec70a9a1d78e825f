#include "app/tool.h"
#include "resources/resources.h"

namespace lx::app {

const ToolDefinition& AmbrelTool() {
  // RF, audio, other and channel settings.
  static const ToolDefinition tool{"ambrel", AmbrelProfile(), res::AmbrelResources(), {nullptr, nullptr, nullptr, nullptr}};
  return tool;
}

}  // namespace lx::app
