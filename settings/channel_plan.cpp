#include "settings/channel_plan.h"

#include <algorithm>

namespace lx::settings {
namespace {

int64_t Distance(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

// Records the product once for every used channel it falls within `guard` of. A product on
// one of its own sources is left out: fa+fb-fc near fc is the two-tone product 2fc-fa on fb,
// listed already, and anything else on a source means two sources closer than the guard.
void CheckProduct(ConflictKind kind, std::vector<int64_t> sources, int64_t product, int64_t guard,
                  std::span<const int64_t> used, std::vector<PlanConflict>& out) {
  if (guard <= 0) return;
  // Only channels within the guard matter: look from the first one above product - guard.
  auto it = std::upper_bound(used.begin(), used.end(), product - guard);
  for (; it != used.end() && *it < product + guard; ++it) {
    if (kind == ConflictKind::Im3x && std::find(sources.begin(), sources.end(), *it) != sources.end()) continue;
    out.push_back(PlanConflict{kind, sources, product, *it, Distance(product, *it)});
  }
}

bool Near(int64_t product, int64_t channel, int64_t guard) { return guard > 0 && Distance(product, channel) < guard; }

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

std::vector<SharedFrequency> FindSharedFrequencies(std::span<const int64_t> channels) {
  std::vector<SharedFrequency> out;
  for (const int64_t f : DistinctFrequencies(channels)) {
    SharedFrequency shared{f, {}};
    for (std::size_t k = 0; k < channels.size(); ++k)
      if (channels[k] == f) shared.channels.push_back(static_cast<int>(k));
    if (shared.channels.size() > 1) out.push_back(std::move(shared));
  }
  return out;
}

bool ConflictsWithPlan(std::span<const int64_t> plan, int64_t x, const PlanGuards& g) {
  const auto onAny = [&](int64_t product, int64_t guard) {
    if (Near(product, x, guard)) return true;
    return std::any_of(plan.begin(), plan.end(), [&](int64_t v) { return Near(product, v, guard); });
  };
  for (const int64_t a : plan) {
    if (a == x || Near(a, x, g.spacing)) return true;
    // Two-tone products of x with a channel, on any channel.
    if (onAny(2 * x - a, g.im3) || onAny(2 * a - x, g.im3)) return true;
    if (onAny(3 * x - 2 * a, g.im5) || onAny(3 * a - 2 * x, g.im5)) return true;
    // The plan's own two-tone products on x.
    for (const int64_t b : plan)
      if (a != b && (Near(2 * a - b, x, g.im3) || Near(3 * a - 2 * b, x, g.im5))) return true;
  }
  if (g.im3x <= 0) return false;
  // Three-tone products with x as one of the three tones, or landing on x; a product on one of
  // its own tones does not count (see CheckProduct).
  const auto hits = [&](int64_t p, int64_t t1, int64_t t2, int64_t t3) {
    for (const int64_t v : plan)
      if (v != t1 && v != t2 && v != t3 && Near(p, v, g.im3x)) return true;
    return x != t1 && x != t2 && x != t3 && Near(p, x, g.im3x);
  };
  for (std::size_t i = 0; i < plan.size(); ++i)
    for (std::size_t j = 0; j < plan.size(); ++j) {
      if (i == j) continue;
      const int64_t a = plan[i], b = plan[j];
      if (hits(x + a - b, x, a, b)) return true;                 // x and a added, b taken away
      if (i < j && hits(a + b - x, a, b, x)) return true;        // a and b added, x taken away
      for (std::size_t k = 0; k < plan.size(); ++k) {            // the plan's own products on x
        if (k == i || k == j || i > j) continue;
        const int64_t c = plan[k];
        if (Near(a + b - c, x, g.im3x)) return true;
      }
    }
  return false;
}

std::vector<int64_t> SuggestPlan(int64_t from, int64_t to, int count, int64_t step, const PlanGuards& guards,
                                 const std::function<bool(int64_t)>& usable) {
  std::vector<int64_t> plan;
  if (step <= 0 || count <= 0) return plan;
  // Candidates on the step grid, so that the plan reads as round numbers.
  int64_t first = from % step == 0 ? from : from + (step - from % step);
  for (int64_t f = first; f <= to && static_cast<int>(plan.size()) < count; f += step) {
    if (!usable(f) || ConflictsWithPlan(plan, f, guards)) continue;
    plan.push_back(f);  // ascending, as ConflictsWithPlan expects nothing more
  }
  return plan;
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
