#pragma once
// An image as people read it: the listing of every setting, channel and word, and the
// comparison of two images setting by setting. Text only: whatever shows it (lxcfg, a register
// view) prints or draws these lines itself.
#include <optional>
#include <string>
#include <vector>

#include "core/state.h"
#include "settings/image_settings.h"

namespace lx::settings {

// The model and crystal; every setting of the model with its value and unit; the 16 channels
// with frequency, words and inductance advice (marking words this model's codec does not
// write); then the 96 words reg00..reg5f, eight to a line. Needs a selected model.
std::string ImageListing(const ToolState& state);
// The "Words" part of the listing alone: what there is to show without a chip model.
std::string WordListing(const RegisterImage& words);

// One setting that differs between two images; a side without it (TX_ID on one model only) is
// empty.
struct SettingChange {
  std::string key;
  std::optional<Setting> a, b;
};

struct ImageComparison {
  std::vector<SettingChange> settings;  // "model" first when the models differ, then as listed
  std::vector<int> words;               // words whose bits outside every setting of either differ
  bool same() const { return settings.empty() && words.empty(); }
};

// One setting's change as a line: "pa_gain: 8 -> 10", "channel.0: 614000 -> 606000 kHz".
std::string ChangeText(const SettingChange& change);

// Both states need a selected model.
ImageComparison CompareImages(const ToolState& a, const ToolState& b);

// The comparison, a line per difference: "pa_gain: 8 -> 10", "channel.0: 614000 -> 606000 kHz",
// "reg05: 0x0000 -> 0x1234". Empty when the images are the same.
std::vector<std::string> ComparisonLines(const ToolState& a, const ToolState& b);

}  // namespace lx::settings
