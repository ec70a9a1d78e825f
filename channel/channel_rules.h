#pragma once
// The limits and texts of channel and crystal entry, shared by the channel dialog and lxcfg.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lx {

// The crystal frequencies the channel dialog expects, kHz. Others are kept but warned about.
inline constexpr int32_t kCrystalLowKHz = 23000;
inline constexpr int32_t kCrystalHighKHz = 25000;

inline bool CrystalInRange(int32_t kHz) { return kHz >= kCrystalLowKHz && kHz <= kCrystalHighKHz; }

// The crystal frequencies a header's crystal line carries unchanged ("#define X24P000MHZ":
// five digits). Outside them the line reads back as another number.
inline constexpr int32_t kCrystalStorableLowKHz = 10000;
inline constexpr int32_t kCrystalStorableHighKHz = 99999;

// Whether the header's crystal line for kHz reads back as kHz (0 does, and is no crystal).
bool CrystalLineHolds(int64_t kHz);

// The one rule for a crystal frequency given to lxcfg (set, encode, decode, bin2h): nullopt when
// it is accepted, else why not ("230000 kHz is refused: ..."), naming the valid range. A crystal
// it accepts outside 23000..25000 kHz is kept, with CrystalRangeWarning() as a warning. Each
// names one range, the one that decided.
std::optional<std::string> CrystalRefusal(int64_t kHz);

// "晶振频率范围:23000KHz~25000KHz": the valid crystal range, as the tools word it.
std::string CrystalRangeText();

// The channel dialog's message for a crystal outside the range: the range text and
// "请重新输入!" on a second line, each indented as the message box centres them.
std::string CrystalMessage();

// The channel dialog's message for a frequency outside the model's range:
// "请输入正确的频道:470000KHz~960000KHz".
std::string RangeMessage(uint32_t lowKHz, uint32_t highKHz);

// lxcfg's words for a channel outside the model's range, with the dialog's text after a dash:
// "300000 kHz is outside LX7250's range 470000..960000 kHz — 请输入正确的频道:470000KHz~960000KHz".
std::string ChannelRangeRefusal(int64_t kHz, std::string_view model, uint32_t lowKHz, uint32_t highKHz);

// lxcfg's warning for a crystal kept outside 23000..25000 kHz: "crystal 22000 kHz is outside
// 23000..25000 kHz; kept — 晶振频率范围:23000KHz~25000KHz".
std::string CrystalRangeWarning(int64_t kHz);

}  // namespace lx
