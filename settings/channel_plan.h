#pragma once
// Frequency coordination of a channel table: channels too close together and the
// intermodulation products of transmitters running at once that land on a used channel.
// Integer kHz throughout; a guard of 0 switches its check off.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace lx::settings {

struct PlanGuards {
  int64_t spacing = 300;  // channels closer than this conflict
  int64_t im3 = 100;      // 2fa - fb within this of a used channel
  int64_t im3x = 50;      // fa + fb - fc within this of a used channel
  int64_t im5 = 0;        // 3fa - 2fb within this of a used channel
};

enum class ConflictKind { Spacing, Im3, Im3x, Im5 };

struct PlanConflict {
  ConflictKind kind;
  std::vector<int64_t> sources;  // Spacing: the two frequencies; products: fa, fb (, fc)
  int64_t product = 0;           // the product frequency (Spacing: the higher frequency)
  int64_t victim = 0;            // the used channel it falls near (Spacing: the lower one)
  int64_t distance = 0;          // |product - victim|
};

// The distinct frequencies of `channels`, ascending.
std::vector<int64_t> DistinctFrequencies(std::span<const int64_t> channels);

// Every conflict among the distinct frequencies of `channels`.
std::vector<PlanConflict> FindConflicts(std::span<const int64_t> channels, const PlanGuards& guards);

// Frequencies used by more than one channel, ascending, with the channels (indexes) that use
// them. Two transmitters on one frequency cannot work at once, so each is a conflict.
struct SharedFrequency {
  int64_t khz = 0;
  std::vector<int> channels;
};
std::vector<SharedFrequency> FindSharedFrequencies(std::span<const int64_t> channels);

// Whether adding `candidate` to the distinct, ascending frequencies `plan` makes a conflict
// FindConflicts would report (the candidate's own products and the plan's products on it).
bool ConflictsWithPlan(std::span<const int64_t> plan, int64_t candidate, const PlanGuards& guards);

// Frequency coordination: the lowest channels, on `step` kHz from `from`, that every guard
// accepts together. Only frequencies `usable` accepts are taken. Greedy and deterministic;
// fewer than `count` channels when the band holds no more this way.
std::vector<int64_t> SuggestPlan(int64_t from, int64_t to, int count, int64_t step, const PlanGuards& guards,
                                 const std::function<bool(int64_t)>& usable);

// "2*606000-606300 = 605700 kHz, 100 kHz from 605800" and the like.
std::string DescribeConflict(const PlanConflict& conflict);
const char* ConflictKindName(ConflictKind kind);

}  // namespace lx::settings
