#include "settings/image_settings.h"

#include <algorithm>
#include <optional>

#include "channel/channel_rules.h"
#include "channel/codec.h"
#include "core/text.h"

namespace lx::settings {
namespace {

constexpr const char* kChannelPrefix = "channel.";

// Decimal with an optional sign; nullopt for anything else or beyond 32 bits. Channel keys only.
std::optional<int64_t> SignedDecimal(std::string_view text) { return ParseDecimal(text, SignRule::Any); }

// A value: decimal or 0x hexadecimal with an optional sign, the rule of every lxcfg number.
std::optional<int64_t> SignedNumber(std::string_view text) { return ParseInteger(text, SignRule::Any); }

// "channel.5" -> 5; nullopt when the key is not a channel key or the number is not 0..15.
std::optional<int> ChannelKey(const std::string& key, bool& isChannelKey) {
  isChannelKey = key.starts_with(kChannelPrefix);
  if (!isChannelKey) return std::nullopt;
  const auto n = SignedDecimal(key.substr(std::char_traits<char>::length(kChannelPrefix)));
  if (!n || *n < 0 || *n >= kChannelCount || key.find_first_of("+-") != std::string::npos) return std::nullopt;
  return static_cast<int>(*n);
}

std::string KeyList(const ToolState& state) {
  std::string keys = "crystal";
  for (const RegisterField& f : RegisterFields(state.profile().family))
    if (FieldAppliesTo(f, *state.selectedModel())) keys += std::string(", ") + f.name;
  return keys + ", channel.0..channel.15, channels";
}

struct Operation {
  enum Kind { Crystal, Channel, Field } kind;
  const RegisterField* field = nullptr;
  int channel = 0;
  int64_t value = 0;
};

}  // namespace

std::vector<Setting> ReadSettings(const ToolState& state) {
  const ToolProfile& profile = state.profile();
  const ChipModel& model = *state.selectedModel();
  std::vector<Setting> settings;
  settings.push_back({"crystal", int64_t{state.crystalKHz}, std::to_string(state.crystalKHz) + " kHz"});
  for (const RegisterField& f : RegisterFields(profile.family)) {
    if (!FieldAppliesTo(f, model)) continue;
    const uint32_t raw = ReadField(f, state.words);
    const bool text = f.kind == FieldKind::Switch || (f.kind == FieldKind::List && raw < f.items.size());
    const SettingValue value = text ? SettingValue(FormatField(f, raw)) : SettingValue(int64_t{raw});
    std::string human = DescribeField(f, raw);
    if (f.kind == FieldKind::Number && f.wholeWord()) human += " (" + Hex4(raw) + ")";
    if (!FieldValueAccepted(f, raw)) human += "  [outside " + ValidValues(f) + "]";
    settings.push_back({f.name, value, human});
  }
  for (int k = 0; k < kChannelCount; ++k) {
    const uint32_t f = DecodeChannel(profile, state.chipModel, state.crystalKHz, ReadChannelWords(state.words, k));
    settings.push_back({kChannelPrefix + std::to_string(k), int64_t{f}, std::to_string(f) + " kHz"});
  }
  return settings;
}

RegisterImage OwnedBits(const ToolState& state) {
  RegisterImage owned{};
  for (const RegisterField& f : RegisterFields(state.profile().family))
    if (FieldAppliesTo(f, *state.selectedModel())) owned[static_cast<std::size_t>(f.word)] |= f.mask();
  for (int k = 0; k < kChannelCount; ++k) StoreChannelWords(owned, k, kWholeChannel);
  return owned;
}

std::vector<std::string> FamilyMisfits(const ToolState& state) {
  std::vector<std::string> misfits;
  const Family family = state.profile().family;
  const ModelFixup fixup = ModelFixupOf(family);
  const uint32_t fixed = ReadField(fixup.field, state.words);
  if (fixed != fixup.value) {
    const bool word = fixup.field.wholeWord();
    misfits.push_back(
        RegisterName(fixup.field.word) +
        (word ? "" : " bits " + std::to_string(fixup.field.hi) + ":" + std::to_string(fixup.field.lo)) + " " +
        (word ? Hex4(fixed) : std::to_string(fixed)) + " (always " +
        (word ? Hex4(fixup.value) : std::to_string(fixup.value)) + ")");
  }
  for (const RegisterField& f : RegisterFields(family)) {
    const uint32_t raw = ReadField(f, state.words);
    if (FieldAppliesTo(f, *state.selectedModel()) && !FieldValueAccepted(f, raw))
      misfits.push_back(std::string(f.name) + " " + std::to_string(raw) + " (" + ValidValues(f) + ")");
  }
  return misfits;
}

std::string ValueText(const SettingValue& value) {
  if (const auto* s = std::get_if<std::string>(&value)) return *s;
  return std::to_string(std::get<int64_t>(value));
}

AssignResult ApplyAssignments(ToolState& state, const std::vector<std::string>& assignments) {
  AssignResult result;
  const ToolProfile& profile = state.profile();
  const ChipModel& model = *state.selectedModel();
  const FrequencyRange range = ChannelRange(profile, state.chipModel);

  std::vector<Operation> ops;
  std::optional<int64_t> newCrystal;
  for (const std::string& text : assignments) {
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos) {
      result.errors.push_back("'" + text + "' is not KEY=VALUE");
      continue;
    }
    const std::string key = ToLower(text.substr(0, eq));
    const std::string value = text.substr(eq + 1);
    bool isChannelKey = false;
    const std::optional<int> channel = ChannelKey(key, isChannelKey);

    if (key == "crystal") {
      const auto v = SignedNumber(value);
      if (!v) {
        result.errors.push_back("crystal: '" + value + "' is not a frequency in kHz");
      } else if (const auto refusal = CrystalRefusal(*v)) {
        result.errors.push_back("crystal: " + *refusal);
      } else {
        newCrystal = *v;
        ops.push_back({Operation::Crystal, nullptr, 0, *v});
      }
    } else if (isChannelKey) {
      const auto f = SignedNumber(value);
      if (!channel) {
        result.errors.push_back(key + ": no such channel (channel.0..channel.15)");
      } else if (!f) {
        result.errors.push_back(key + ": '" + value + "' is not a frequency in kHz");
      } else if (*f < 0 || !range.contains(static_cast<uint32_t>(*f))) {
        result.errors.push_back(key + ": " + ChannelRangeRefusal(*f, model.name, range.low, range.high));
      } else {
        ops.push_back({Operation::Channel, nullptr, *channel, *f});
      }
    } else if (key == "channels") {
      // channel.0, channel.1, ... in order, for as many as are given.
      std::vector<std::string> list;
      for (std::size_t from = 0;;) {
        const std::size_t comma = value.find(',', from);
        list.push_back(value.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
        if (comma == std::string::npos) break;
        from = comma + 1;
      }
      if (list.size() > static_cast<std::size_t>(kChannelCount)) {
        result.errors.push_back("channels: " + std::to_string(list.size()) + " frequencies given, at most " +
                                std::to_string(kChannelCount));
        continue;
      }
      for (std::size_t k = 0; k < list.size(); ++k) {
        const auto f = SignedNumber(list[k]);
        const std::string name = kChannelPrefix + std::to_string(k);
        if (!f)
          result.errors.push_back(name + ": '" + list[k] + "' is not a frequency in kHz");
        else if (*f < 0 || !range.contains(static_cast<uint32_t>(*f)))
          result.errors.push_back(name + ": " + ChannelRangeRefusal(*f, model.name, range.low, range.high));
        else
          ops.push_back({Operation::Channel, nullptr, static_cast<int>(k), *f});
      }
    } else if (const RegisterField* field = FindRegisterField(profile.family, key)) {
      if (!FieldAppliesTo(*field, model)) {
        result.errors.push_back(std::string(field->name) + ": " + model.name + " has no TX_ID");
        continue;
      }
      const FieldParse parsed = ParseFieldValue(*field, value);
      if (!parsed.value)
        result.errors.push_back(parsed.error);
      else
        ops.push_back({Operation::Field, field, 0, *parsed.value});
    } else {
      std::vector<std::string> keys = {"crystal", "channels"};
      for (const RegisterField& f : RegisterFields(profile.family))
        if (FieldAppliesTo(f, model)) keys.push_back(f.name);
      const std::string guess = Nearest(key, keys);
      result.errors.push_back("'" + key + "' is not a setting of " + model.name + " (" + KeyList(state) +
                              ")" + (guess.empty() ? "" : "; did you mean '" + guess + "'?"));
    }
  }
  const int64_t crystal = newCrystal.value_or(state.crystalKHz);
  if (crystal <= 0 && std::any_of(ops.begin(), ops.end(),
                                  [](const Operation& op) { return op.kind == Operation::Channel; })) {
    result.lacksCrystal = true;
    result.errors.push_back("the image has no crystal frequency to encode channels with; give crystal=K as well");
  }
  if (!result.errors.empty()) return result;

  // The crystal first, so that channels given alongside are encoded with it.
  if (newCrystal) {
    const int32_t oldCrystal = state.crystalKHz;
    const auto x = static_cast<int32_t>(*newCrystal);
    if (oldCrystal > 0) {
      for (int k = 0; k < kChannelCount; ++k) {
        const uint32_t f = DecodeChannel(profile, state.chipModel, oldCrystal, ReadChannelWords(state.words, k));
        const auto words = EncodeChannel(profile, state.chipModel, x, f);
        if (!words) continue;
        StoreChannelWords(state.words, k, *words);
        const uint32_t kept = DecodeChannel(profile, state.chipModel, x, *words);
        if (kept != f)
          result.warnings.push_back("channel." + std::to_string(k) + ": " + std::to_string(f) + " kHz is stored as " +
                                    std::to_string(kept) + " kHz with crystal " + std::to_string(x) + " kHz");
      }
    } else {
      // Without a crystal the words name no frequency: re-encoding would turn every channel
      // into the range's low end.
      result.warnings.push_back(
          "the image had no crystal frequency to read its channels with: their words are not re-encoded");
    }
    state.crystalKHz = x;
    if (!CrystalInRange(x)) result.warnings.push_back(CrystalRangeWarning(x));
  }
  for (const Operation& op : ops) {
    if (op.kind == Operation::Channel) {
      const auto f = static_cast<uint32_t>(op.value);
      const auto words = EncodeChannel(profile, state.chipModel, state.crystalKHz, f);
      if (!words) continue;  // cannot happen: in range, crystal above 0
      StoreChannelWords(state.words, op.channel, *words);
      const uint32_t stored = DecodeChannel(profile, state.chipModel, state.crystalKHz, *words);
      if (stored != f)
        result.warnings.push_back("channel." + std::to_string(op.channel) + ": " + std::to_string(f) +
                                  " kHz is stored as " + std::to_string(stored) + " kHz");
    } else if (op.kind == Operation::Field) {
      WriteField(*op.field, static_cast<uint32_t>(op.value), state.words);
    }
  }
  return result;
}

}  // namespace lx::settings
