#include "settings/channel_plan.h"

#include <algorithm>

namespace lx::settings {
namespace {

int64_t Distance(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

// Records the product once for every used channel it falls within `guard` of.
void CheckProduct(ConflictKind kind, std::vector<int64_t> sources, int64_t product, int64_t guard,
                  std::span<const int64_t> used, std::vector<PlanConflict>& out) {
  if (guard <= 0) return;
  // Only channels within the guard matter: look from the first one above product - guard.
  auto it = std::upper_bound(used.begin(), used.end(), product - guard);
  for (; it != used.end() && *it < product + guard; ++it)
    out.push_back(PlanConflict{kind, sources, product, *it, Distance(product, *it)});
}

}  // namespace

std::vector<int64_t> DistinctFrequencies(std::span<const int64_t> channels) {
  std::vector<int64_t> f(channels.begin(), channels.end());
  std::sort(f.begin(), f.end());
  f.erase(std::unique(f.begin(), f.end()), f.end());
  return f;
}

std::vector<PlanConflict> FindConflicts(std::span<const int64_t> channels, const PlanGuards& g) {
  const std::vector<int64_t> f = DistinctFrequencies(channels);
  const std::size_t n = f.size();
  std::vector<PlanConflict> out;
  if (g.spacing > 0)
    for (std::size_t a = 0; a < n; ++a)
      for (std::size_t b = a + 1; b < n && f[b] - f[a] < g.spacing; ++b)
        out.push_back(PlanConflict{ConflictKind::Spacing, {f[a], f[b]}, f[b], f[a], f[b] - f[a]});
  for (std::size_t a = 0; a < n; ++a)
    for (std::size_t b = 0; b < n; ++b) {
      if (a == b) continue;
      CheckProduct(ConflictKind::Im3, {f[a], f[b]}, 2 * f[a] - f[b], g.im3, f, out);
      CheckProduct(ConflictKind::Im5, {f[a], f[b]}, 3 * f[a] - 2 * f[b], g.im5, f, out);
    }
  if (g.im3x > 0)
    for (std::size_t a = 0; a < n; ++a)
      for (std::size_t b = a + 1; b < n; ++b)
        for (std::size_t c = 0; c < n; ++c) {
          if (c == a || c == b) continue;
          CheckProduct(ConflictKind::Im3x, {f[a], f[b], f[c]}, f[a] + f[b] - f[c], g.im3x, f, out);
        }
  return out;
}

const char* ConflictKindName(ConflictKind kind) {
  switch (kind) {
    case ConflictKind::Spacing:
      return "spacing";
    case ConflictKind::Im3:
      return "im3";
    case ConflictKind::Im3x:
      return "im3x";
    case ConflictKind::Im5:
      return "im5";
  }
  return "";
}

std::string DescribeConflict(const PlanConflict& c) {
  const auto s = [](int64_t v) { return std::to_string(v); };
  std::string product;
  switch (c.kind) {
    case ConflictKind::Spacing:
      return s(c.sources[0]) + " and " + s(c.sources[1]) + " kHz are " + s(c.distance) + " kHz apart";
    case ConflictKind::Im3:
      product = "2*" + s(c.sources[0]) + "-" + s(c.sources[1]);
      break;
    case ConflictKind::Im3x:
      product = s(c.sources[0]) + "+" + s(c.sources[1]) + "-" + s(c.sources[2]);
      break;
    case ConflictKind::Im5:
      product = "3*" + s(c.sources[0]) + "-2*" + s(c.sources[1]);
      break;
  }
  return product + " = " + s(c.product) + " kHz, " + s(c.distance) + " kHz from channel " + s(c.victim);
}

}  // namespace lx::settings
