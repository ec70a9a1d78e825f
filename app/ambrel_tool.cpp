#include "app/tool.h"
#include "resources/resources.h"
#include "tx/tx_dialogs.h"
#include "tx/tx_other_dialog.h"

namespace lx::app {

// RF, audio, other and channel settings.
const ToolDefinition& AmbrelTool() {
  static const ToolDefinition tool = DefineTool<tx::TxRfDialog, tx::TxAudioDialog, tx::TxOtherDialog>(
      "ambrel", AmbrelProfile(), res::AmbrelResources());
  return tool;
}

}  // namespace lx::app
