#include "app/tool.h"
#include "resources/resources.h"
#include "tx/tx_audio_dialog.h"
#include "tx/tx_other_dialog.h"
#include "tx/tx_rf_dialog.h"

namespace lx::app {

namespace {
// A settings dialog lives only while its modal loop runs; its result is not used.
template <class D>
void Open(ui::Host& host, ToolState& state) {
  D dialog(host, state);
  dialog.DoModal();
}
}  // namespace

const ToolDefinition& AmbrelTool() {
  // RF, audio, other and channel settings.
  static const ToolDefinition tool{
      "ambrel",
      AmbrelProfile(),
      res::AmbrelResources(),
      {Open<tx::TxRfDialog>, Open<tx::TxAudioDialog>, Open<tx::TxOtherDialog>, nullptr}};
  return tool;
}

}  // namespace lx::app
