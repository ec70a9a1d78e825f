// Spacing and intermodulation checks on hand-computed tables and at the exact guard edges.
#include <gtest/gtest.h>

#include <algorithm>

#include "settings/channel_plan.h"

namespace {

using lx::settings::ConflictKind;
using lx::settings::FindConflicts;
using lx::settings::PlanConflict;
using lx::settings::PlanGuards;

int Count(const std::vector<PlanConflict>& c, ConflictKind kind, int64_t product = -1) {
  return static_cast<int>(std::count_if(c.begin(), c.end(), [&](const PlanConflict& x) {
    return x.kind == kind && (product < 0 || x.product == product);
  }));
}

TEST(ChannelPlan, ThreeEvenlySpacedChannelsHitEachOther) {
  // 2*595000-590000 = 600000 and 2*595000-600000 = 590000 land on channels.
  // 590000+600000-595000 = 595000 lands on its own third tone: the same relation as the two
  // products above, so it is not listed a second time. Nothing is closer than 5 MHz.
  const std::vector<int64_t> plan = {590000, 595000, 600000, 595000};
  const auto c = FindConflicts(plan, PlanGuards{});
  EXPECT_EQ(Count(c, ConflictKind::Spacing), 0);
  EXPECT_EQ(Count(c, ConflictKind::Im3), 2);
  EXPECT_EQ(Count(c, ConflictKind::Im3, 600000), 1);
  EXPECT_EQ(Count(c, ConflictKind::Im3, 590000), 1);
  EXPECT_EQ(Count(c, ConflictKind::Im3x), 0);
  EXPECT_EQ(Count(c, ConflictKind::Im5), 0);  // off by default
  EXPECT_EQ(c.size(), 2u);
}

TEST(ChannelPlan, GuardsAreExclusiveAtTheirEdges) {
  const struct {
    std::vector<int64_t> plan;
    PlanGuards guards;
    ConflictKind kind;
    int64_t product;
    int expected;
  } cases[] = {
      {{600000, 600300}, {}, ConflictKind::Spacing, 600300, 0},
      {{600000, 600299}, {}, ConflictKind::Spacing, 600299, 1},
      {{600000, 601000, 599100}, {}, ConflictKind::Im3, 599000, 0},  // 2*600000-601000, 100 away
      {{600000, 601000, 599099}, {}, ConflictKind::Im3, 599000, 1},
      {{600000, 602000, 605000, 597050}, {}, ConflictKind::Im3x, 597000, 0},  // 600000+602000-605000
      {{600000, 602000, 605000, 597049}, {}, ConflictKind::Im3x, 597000, 1},
      {{600000, 601000, 598099}, {}, ConflictKind::Im5, 598000, 0},  // im5 off by default
      {{600000, 601000, 598100}, {300, 100, 50, 100}, ConflictKind::Im5, 598000, 0},
      {{600000, 601000, 598099}, {300, 100, 50, 100}, ConflictKind::Im5, 598000, 1},
      {{600000, 600100}, {0, 0, 0, 0}, ConflictKind::Spacing, 600100, 0},
  };
  for (const auto& c : cases) {
    const auto found = FindConflicts(c.plan, c.guards);
    EXPECT_EQ(Count(found, c.kind, c.product), c.expected)
        << lx::settings::ConflictKindName(c.kind) << " product " << c.product << " with " << c.plan.back();
  }
}

}  // namespace
