#pragma once
#include "core/state.h"
#include "settings/ui/field_exchange.h"

namespace lx::tx {

// "射频配置": the transmitter's output power, the PA gain on a slider 0..12. The slider
// reports its position whenever it paints; OK writes the PA gain bits of reg03 only.
class TxRfDialog : public settings::SettingsDialog {
 public:
  TxRfDialog(ui::Host& host, ToolState& state);
};

}  // namespace lx::tx
