#pragma once
// An image read back as named settings (crystal, every register field of the model, the 16
// channels) and KEY=VALUE assignments applied to it as the owning dialogs' OK would.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/register_map.h"
#include "core/state.h"

namespace lx::settings {

// A setting's value as `set` accepts it: text (on/off, list items) or a number.
using SettingValue = std::variant<std::string, int64_t>;

struct Setting {
  std::string key;     // "crystal", "pa_gain", "channel.5"
  SettingValue value;
  std::string human;   // for people, with its unit: "24000 kHz", "112 (1050 mV)"
};

// Every setting of the state's model, in a fixed order: crystal, the model's register fields,
// channel.0..channel.15.
std::vector<Setting> ReadSettings(const ToolState& state);

// Bits of each word that some setting of the model owns (channels own reg40..reg5f whole).
RegisterImage OwnedBits(const ToolState& state);

// What in the image no image of the state's family holds: the model fix-up field without its
// value ("reg17 0x0000 (always 0x0018)"), settings outside their values ("pa_gain 14 (0..12)").
// An image of the other family, relabelled, shows them.
std::vector<std::string> FamilyMisfits(const ToolState& state);

// The setting value as text, as it goes on the command line.
std::string ValueText(const SettingValue& value);

struct AssignResult {
  std::vector<std::string> errors;    // refused assignments; nothing was changed when not empty
  std::vector<std::string> warnings;  // accepted, with something the user should know
  // Among the errors: channels given for an image without a crystal frequency (the image's
  // fault, not the assignment's).
  bool lacksCrystal = false;
};

// Applies "KEY=VALUE" texts to the state. All are checked first; any refusal leaves the state
// untouched. crystal is applied before the channels (re-encoding them at their frequencies),
// the rest in the given order.
AssignResult ApplyAssignments(ToolState& state, const std::vector<std::string>& assignments);

}  // namespace lx::settings
