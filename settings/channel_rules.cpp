#include "settings/channel_rules.h"

#include "core/messages.h"

namespace lx::settings {
namespace {
std::string KHzRange(int64_t low, int64_t high) {
  return std::to_string(low) + "KHz~" + std::to_string(high) + "KHz";
}
}  // namespace

std::string CrystalRangeText() { return msg::kCrystalRangeLead + KHzRange(kCrystalLowKHz, kCrystalHighKHz); }

// The blanks centre the two lines in the message box as the tools have always shown them.
std::string CrystalMessage() {
  return std::string(6, ' ') + CrystalRangeText() + "\n" + std::string(14, ' ') + msg::kEnterAgain;
}

std::string RangeMessage(uint32_t lowKHz, uint32_t highKHz) {
  return msg::kChannelRangeLead + KHzRange(lowKHz, highKHz);
}

}  // namespace lx::settings
