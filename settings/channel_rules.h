#pragma once
// lxcfg still names the channel and crystal rules here; they live beside the channel codec.
// Remove this header once lxcfg includes channel/channel_rules.h.
#include "channel/channel_rules.h"

namespace lx::settings {
using lx::ChannelRangeRefusal;
using lx::CrystalInRange;
using lx::CrystalLineHolds;
using lx::CrystalMessage;
using lx::CrystalRangeText;
using lx::CrystalRangeWarning;
using lx::CrystalRefusal;
using lx::kCrystalHighKHz;
using lx::kCrystalLowKHz;
using lx::kCrystalStorableHighKHz;
using lx::kCrystalStorableLowKHz;
using lx::RangeMessage;
}  // namespace lx::settings
