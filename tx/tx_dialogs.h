#pragma once
// The transmitter's settings windows that are their binding tables alone, each in the file of
// its name; the other settings have a class of their own (tx_other_dialog.h).
#include "settings/ui/field_exchange.h"

namespace lx::tx {

// "射频配置": the transmitter's output power, the PA gain on a slider 0..12. The slider
// reports its position whenever it paints; OK writes the PA gain bits of reg03 only.
extern const settings::SettingsWindow kTxRfWindow;
// "音频配置": pre-emphasis, the compressor, which of the two acts first, the microphone
// sensitivity and the compandor rectifier's time constant (reg1c, reg2b). The time-constant
// list is enabled only while the compressor is; disabled, it keeps its value and OK writes it.
extern const settings::SettingsWindow kTxAudioWindow;

using TxRfDialog = settings::TableDialog<kTxRfWindow>;
using TxAudioDialog = settings::TableDialog<kTxAudioWindow>;

}  // namespace lx::tx
