#pragma once
// The templates of Ambrel's transmitter settings dialogs, registered in Ambrel's resource set.
#include "resources/ambrel_tx_ids.h"
#include "ui/template.h"

namespace lx::res {

extern const ui::DialogTemplate kTxRfTemplate;     // 140 "射频配置"
extern const ui::DialogTemplate kTxAudioTemplate;  // 141 "音频配置"
extern const ui::DialogTemplate kTxOtherTemplate;  // 142 "其他配置"

}  // namespace lx::res
