#include "settings/channel_rules.h"

namespace lx::settings {

std::string CrystalRangeText() {
  return "晶振频率范围:" + std::to_string(kCrystalLowKHz) + "KHz~" + std::to_string(kCrystalHighKHz) + "KHz";
}

std::string CrystalMessage() { return std::string(6, ' ') + CrystalRangeText() + "\n" + std::string(14, ' ') + "请重新输入!"; }

std::string RangeMessage(uint32_t lowKHz, uint32_t highKHz) {
  return "请输入正确的频道:" + std::to_string(lowKHz) + "KHz~" + std::to_string(highKHz) + "KHz";
}

}  // namespace lx::settings
