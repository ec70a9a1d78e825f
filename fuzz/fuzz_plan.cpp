// plan's conflict check on any 16 channel frequencies and guards as lxcfg accepts them: every
// conflict it reports is one (right product, right distance, inside its guard, on a used
// channel), and the checks are symmetric in the order of the channels.
//
// Input: 16 frequencies (4 bytes each), then four guards (4 bytes each, 0..100000000 kHz).
#include <algorithm>
#include <cstring>

#include "fuzz_support.h"
#include "settings/channel_plan.h"

using namespace lx::settings;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  bytes.resize(20 * 4, 0);
  const auto word = [&](int i) {
    uint32_t v;
    std::memcpy(&v, bytes.data() + 4 * i, 4);
    return v;
  };
  std::vector<int64_t> channels;
  for (int i = 0; i < 16; ++i) channels.push_back(word(i));
  PlanGuards g;
  g.spacing = word(16) % 100000001u;
  g.im3 = word(17) % 100000001u;
  g.im3x = word(18) % 100000001u;
  g.im5 = word(19) % 100000001u;

  const std::vector<int64_t> used = DistinctFrequencies(channels);
  const std::vector<PlanConflict> conflicts = FindConflicts(channels, g);
  for (const PlanConflict& c : conflicts) {
    lx::fuzz::Check(std::binary_search(used.begin(), used.end(), c.victim));
    lx::fuzz::Check(c.distance == (c.product > c.victim ? c.product - c.victim : c.victim - c.product));
    const auto& s = c.sources;
    switch (c.kind) {
      case ConflictKind::Spacing:
        lx::fuzz::Check(s.size() == 2 && s[0] < s[1] && c.distance < g.spacing);
        break;
      case ConflictKind::Im3:
        lx::fuzz::Check(s.size() == 2 && c.product == 2 * s[0] - s[1] && c.distance < g.im3);
        break;
      case ConflictKind::Im3x:
        lx::fuzz::Check(s.size() == 3 && c.product == s[0] + s[1] - s[2] && c.distance < g.im3x);
        break;
      case ConflictKind::Im5:
        lx::fuzz::Check(s.size() == 2 && c.product == 3 * s[0] - 2 * s[1] && c.distance < g.im5);
        break;
    }
    lx::fuzz::Check(!DescribeConflict(c).empty());
  }
  // The order of the channels does not matter.
  std::vector<int64_t> reversed(channels.rbegin(), channels.rend());
  lx::fuzz::Check(FindConflicts(reversed, g).size() == conflicts.size());
  return 0;
}
