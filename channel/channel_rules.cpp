#include "channel/channel_rules.h"

#include <limits>

#include "core/header_format.h"
#include "core/input_file.h"
#include "core/messages.h"

namespace lx {
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

std::string ChannelRangeRefusal(int64_t kHz, std::string_view model, uint32_t lowKHz, uint32_t highKHz) {
  return std::to_string(kHz) + " kHz is outside " + std::string(model) + "'s range " +
         std::to_string(lowKHz) + ".." + std::to_string(highKHz) + " kHz — " + RangeMessage(lowKHz, highKHz);
}

std::string CrystalRangeWarning(int64_t kHz) {
  return "crystal " + std::to_string(kHz) + " kHz is outside " + std::to_string(kCrystalLowKHz) + ".." +
         std::to_string(kCrystalHighKHz) + " kHz; kept — " + CrystalRangeText();
}

bool CrystalLineHolds(int64_t kHz) {
  if (kHz < std::numeric_limits<int32_t>::min() || kHz > std::numeric_limits<int32_t>::max()) return false;
  const std::string line = CrystalLine(static_cast<int32_t>(kHz));
  RegisterImage words{};
  int32_t back = -1;
  ViewStream in(line);
  const HeaderReadResult read =
      ReadHeaderLines(in, HeaderReadMode::DefaultLoader, AmbrelProfile(), words, back);
  return read.crystalSeen && back == kHz;
}

std::optional<std::string> CrystalRefusal(int64_t kHz) {
  const std::string value = std::to_string(kHz) + " kHz is refused: ";
  if (kHz <= 0) return value + "the crystal frequency must be above 0 kHz";
  if (!CrystalLineHolds(kHz))
    return value + "the header's crystal line holds " + std::to_string(kCrystalStorableLowKHz) + ".." +
           std::to_string(kCrystalStorableHighKHz) + " kHz only";
  return std::nullopt;
}

}  // namespace lx
