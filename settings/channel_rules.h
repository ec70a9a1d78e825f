#pragma once
// The limits and texts of channel and crystal entry, shared by the channel dialog and lxcfg.
#include <cstdint>
#include <string>

namespace lx::settings {

// The crystal frequencies the channel dialog expects, kHz. Others are kept but warned about.
inline constexpr int32_t kCrystalLowKHz = 23000;
inline constexpr int32_t kCrystalHighKHz = 25000;

inline bool CrystalInRange(int32_t kHz) { return kHz >= kCrystalLowKHz && kHz <= kCrystalHighKHz; }

// "晶振频率范围:23000KHz~25000KHz": the valid crystal range, as the tools word it.
std::string CrystalRangeText();

// The channel dialog's message for a crystal outside the range: the range text and
// "请重新输入!" on a second line, each indented as the message box centres them.
std::string CrystalMessage();

// The channel dialog's message for a frequency outside the model's range:
// "请输入正确的频道:470000KHz~960000KHz".
std::string RangeMessage(uint32_t lowKHz, uint32_t highKHz);

}  // namespace lx::settings
