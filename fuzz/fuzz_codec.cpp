// Any words and crystal decode into the model's range; any in-range channel encodes and reads
// back inside the range.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "channel/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 12) return 0;
  uint16_t control, fraction;
  int32_t crystal;
  uint32_t f;
  std::memcpy(&control, data, 2);
  std::memcpy(&fraction, data + 2, 2);
  std::memcpy(&crystal, data + 4, 4);
  std::memcpy(&f, data + 8, 4);
  for (const lx::ToolProfile* p : lx::AllProfiles()) {
    for (int m = 0; m < p->modelCount(); ++m) {
      const lx::FrequencyRange range = lx::ChannelRange(*p, m);
      if (!range.contains(lx::DecodeChannel(*p, m, crystal, {control, fraction}))) std::abort();
      const uint32_t channel = range.low + f % (range.high - range.low + 1);
      const auto words = lx::EncodeChannel(*p, m, crystal, channel);
      if (words.has_value() != (crystal > 0)) std::abort();
      if (words && !range.contains(lx::DecodeChannel(*p, m, crystal, *words))) std::abort();
    }
  }
  return 0;
}
