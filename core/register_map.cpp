#include "core/register_map.h"

#include <fmt/format.h>

#include <cctype>

#include "core/text.h"

namespace lx {
namespace {

constexpr const char* kMicSensitivity[] = {"0dB",  "4dB",  "7dB",  "10dB", "12dB", "16dB", "19dB", "22dB",
                                           "24dB", "28dB", "31dB", "34dB", "36dB", "40dB", "43dB", "46dB"};
constexpr const char* kTimeConstant[] = {"6mS", "12mS", "24mS", "48mS", "93mS", "199mS", "398mS", "796mS"};
constexpr const char* kPriority[] = {"compressor-first", "pre-emphasis-first"};
constexpr const char* kPilotDeviation[] = {"2.5KHz", "5KHz", "7.5KHz", "10KHz"};
constexpr const char* kBass[] = {"0dB", "6dB", "10dB", "14dB"};
constexpr const char* kTreble[] = {"0dB", "4dB", "5dB", "7dB"};
constexpr const char* kThd[] = {"BYPASS", "-40dB", "-45dB", "-51dB"};
// The gain list has no item for 7; item order is the field value, not the gain.
constexpr const char* kAudioGain[] = {"0dB", "3dB", "6dB", "9dB", "12dB", "-4dB", "-2.5dB"};
constexpr const char* kAfcRange[] = {"±20KHz", "±40KHz", "±60KHz", "±90KHz"};

constexpr RegisterField Number(const char* name, int word, int hi, int lo, uint32_t minValue, uint32_t maxValue,
                               bool txIdOnly = false) {
  RegisterField f{name, word, hi, lo, FieldKind::Number, {}};
  f.minValue = minValue;
  f.maxValue = maxValue;
  f.txIdModelsOnly = txIdOnly;
  return f;
}

constexpr RegisterField Threshold(const char* name, int word, int hi, int lo) {
  RegisterField f{name, word, hi, lo, FieldKind::Threshold, {}};
  f.maxValue = 127;  // the slider's last step; 128..255 have no position
  return f;
}

constexpr RegisterField Switch(const char* name, int word, int bit, bool setBitDisables = false,
                               const RegisterField* companion = nullptr, uint32_t companionValue = 0) {
  RegisterField f{name, word, bit, bit, FieldKind::Switch, {}};
  f.setBitDisables = setBitDisables;
  f.companion = companion;
  f.companionValue = companionValue;
  return f;
}

constexpr RegisterField List(const char* name, int word, int hi, int lo, std::span<const char* const> items) {
  return RegisterField{name, word, hi, lo, FieldKind::List, items};
}

// reg18 bits 10:8, which the model fix-up and the mute-pilot switch both set to 4.
constexpr RegisterField kMuteLevel = Number("mute_level", 0x18, 10, 8, 0, 7);

const RegisterField kTransmitterFields[] = {
    Number("pa_gain", 0x03, 4, 1, 0, 12),
    Switch("pre_emphasis", 0x1c, 9, true),
    List("mic_sensitivity", 0x1c, 8, 5, kMicSensitivity),
    Switch("compressor", 0x1c, 4, true),
    List("compandor_time_constant", 0x1c, 3, 1, kTimeConstant),
    List("priority", 0x2b, 0, 0, kPriority),
    Switch("pilot", 0x1f, 15),
    List("pilot_deviation", 0x1f, 8, 7, kPilotDeviation),
    // Choosing "Disable Pilot when mute is enabled" also puts 4 into reg18 bits 10:8.
    Switch("mute_pilot", 0x18, 11, false, &kMuteLevel, kMuteLevelForMutePilot),
    Switch("battery_meter", 0x24, 12),
    Switch("low_battery_indicator", 0x19, 15),
    Switch("low_battery_papd", 0x19, 8),
    Threshold("blink_threshold", 0x16, 15, 8),
    Threshold("light_threshold", 0x16, 7, 0),
    Threshold("papd_threshold", 0x19, 7, 0),
    Number("tx_id", 0x17, 15, 0, 0, 65535, true),
    kMuteLevel,
    Switch("tx_id_flag", 0x1f, 14),
};
static_assert(std::size(kTransmitterFields) == static_cast<std::size_t>(TxField::Count));

const RegisterField kReceiverFields[] = {
    List("bass", 0x1f, 1, 0, kBass),
    List("treble", 0x1f, 3, 2, kTreble),
    List("thd", 0x1f, 11, 10, kThd),
    Switch("de_emphasis", 0x1d, 15, true),
    List("audio_gain", 0x1d, 14, 12, kAudioGain),
    Switch("expander", 0x1f, 15, true),
    List("expander_time_constant", 0x1f, 14, 12, kTimeConstant),
    Number("volume", 0x1a, 4, 0, 0, 31),
    Switch("automute", 0x1a, 7, true),
    Switch("pilot_automute", 0x1a, 15),
    Switch("snr_automute", 0x1a, 13),
    Number("snr_high_threshold", 0x1c, 15, 8, 0, 255),
    Number("snr_low_threshold", 0x1c, 7, 0, 0, 255),
    Switch("afc", 0x1d, 7),
    List("afc_range", 0x1d, 5, 4, kAfcRange),
    Number("fixup_word", 0x17, 15, 0, 0, 65535),
};
static_assert(std::size(kReceiverFields) == static_cast<std::size_t>(RxField::Count));

// Decimal or 0x hexadecimal, as every number on the command line.
std::optional<uint32_t> Decimal(std::string_view text) {
  const auto v = ParseInteger(text);
  if (!v) return std::nullopt;
  return static_cast<uint32_t>(*v);
}

// Values of a list field that have no item (audio gain 7) are written as their number.
bool HasItem(const RegisterField& f, uint32_t value) { return value < f.items.size(); }

}  // namespace

const RegisterField& Field(TxField field) { return kTransmitterFields[static_cast<std::size_t>(field)]; }
const RegisterField& Field(RxField field) { return kReceiverFields[static_cast<std::size_t>(field)]; }

std::span<const RegisterField> AllRegisterFields(Family family) {
  if (family == Family::Transmitter) return kTransmitterFields;
  return kReceiverFields;
}

ModelFixup ModelFixupOf(Family family) {
  if (family == Family::Transmitter) return {Field(TxField::MuteLevel), kMuteLevelForMutePilot};
  return {Field(RxField::FixupWord), 0x0018};
}

std::span<const RegisterField> RegisterFields(Family family) {
  if (family == Family::Transmitter) return std::span(kTransmitterFields).first(kTxSettingCount);
  return std::span(kReceiverFields).first(kRxSettingCount);
}

const RegisterField* FindRegisterField(Family family, std::string_view name) {
  for (const RegisterField& f : RegisterFields(family))
    if (SameIgnoringCase(f.name, name)) return &f;
  return nullptr;
}

bool FieldAppliesTo(const RegisterField& field, const ChipModel& model) {
  return !field.txIdModelsOnly || model.hasTxId;
}

uint32_t ReadField(const RegisterField& field, const RegisterImage& words) {
  return (static_cast<uint32_t>(words[static_cast<std::size_t>(field.word)]) & field.mask()) >> field.lo;
}

void WriteFieldBits(const RegisterField& field, uint32_t value, RegisterImage& words) {
  uint16_t& w = words[static_cast<std::size_t>(field.word)];
  w = static_cast<uint16_t>((w & ~field.mask()) | field.place(value));
}

void WriteField(const RegisterField& field, uint32_t value, RegisterImage& words) {
  WriteFieldBits(field, value, words);
  const bool turnedOn = field.kind == FieldKind::Switch && (value != 0) != field.setBitDisables;
  if (turnedOn && field.companion != nullptr) WriteField(*field.companion, field.companionValue, words);
}

std::string ThresholdMillivolts(uint32_t step) {
  // Single precision with six significant digits, as the dialog's voltage box shows it.
  return fmt::format("{:g}", static_cast<double>(static_cast<float>(step) * kMillivoltsPerThresholdStep));
}

std::string FormatField(const RegisterField& field, uint32_t value) {
  switch (field.kind) {
    case FieldKind::Switch:
      return ((value != 0) != field.setBitDisables) ? "on" : "off";
    case FieldKind::List:
      if (HasItem(field, value)) return field.items[value];
      return std::to_string(value);
    case FieldKind::Number:
    case FieldKind::Threshold:
      break;
  }
  return std::to_string(value);
}

std::string DescribeField(const RegisterField& field, uint32_t value) {
  if (field.kind == FieldKind::Threshold) return std::to_string(value) + " (" + ThresholdMillivolts(value) + " mV)";
  if (field.kind == FieldKind::List && !HasItem(field, value)) return std::to_string(value) + " (no item)";
  return FormatField(field, value);
}

bool FieldValueAccepted(const RegisterField& field, uint32_t value) {
  switch (field.kind) {
    case FieldKind::Switch:
    case FieldKind::List:
      return value <= field.fieldMax();
    case FieldKind::Number:
    case FieldKind::Threshold:
      break;
  }
  return value >= field.minValue && value <= field.maxValue;
}

std::string ValidValues(const RegisterField& field) {
  switch (field.kind) {
    case FieldKind::Switch:
      return "on, off";
    case FieldKind::List: {
      std::string list;
      for (const char* item : field.items) list += (list.empty() ? "" : ", ") + std::string(item);
      for (uint32_t v = static_cast<uint32_t>(field.items.size()); v <= field.fieldMax(); ++v)
        list += ", " + std::to_string(v);
      return list;
    }
    case FieldKind::Number:
    case FieldKind::Threshold:
      break;
  }
  return std::to_string(field.minValue) + ".." + std::to_string(field.maxValue);
}

namespace {

// An item's text as typed without its sign prefix and unit: "±20KHz" and "22dB" give "20" and
// "22", so that a value typed without them finds the item meant.
std::string Bare(std::string_view text) {
  if (text.starts_with("±") || text.starts_with("+-")) text.remove_prefix(2);  // "±" is two bytes
  while (!text.empty() && std::isalpha(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return ToLower(std::string(text));
}

}  // namespace

FieldParse ParseFieldValue(const RegisterField& field, std::string_view text) {
  FieldParse result;
  switch (field.kind) {
    case FieldKind::Switch:
      if (SameIgnoringCase(text, "on")) result.value = field.setBitDisables ? 0u : 1u;
      if (SameIgnoringCase(text, "off")) result.value = field.setBitDisables ? 1u : 0u;
      break;
    case FieldKind::List:
      for (std::size_t i = 0; i < field.items.size() && !result.value; ++i) {
        const std::string_view item = field.items[i];
        // "±" is not on every keyboard: "+-20KHz" names "±20KHz".
        const std::string ascii = item.starts_with("±") ? "+-" + std::string(item.substr(2)) : std::string(item);
        if (SameIgnoringCase(text, item) || SameIgnoringCase(text, ascii))
          result.value = static_cast<uint32_t>(i);
      }
      if (!result.value) {
        const auto n = Decimal(text);
        if (n && !HasItem(field, *n) && *n <= field.fieldMax()) result.value = *n;
      }
      break;
    case FieldKind::Number:
    case FieldKind::Threshold:
      if (const auto n = Decimal(text); n && *n >= field.minValue && *n <= field.maxValue) result.value = *n;
      break;
  }
  if (!result.value) {
    result.error = std::string(field.name) + ": '" + std::string(text) + "' is not a valid value (" +
                   ValidValues(field) + ")";
    if (field.kind == FieldKind::List && !Bare(text).empty())
      for (const std::string_view item : field.items)
        if (Bare(item) == Bare(text)) {
          const std::string ascii =
              item.starts_with("±") ? "+-" + std::string(item.substr(2)) : std::string(item);
          result.error += "; did you mean '" + ascii + "'?";
          break;
        }
  }
  return result;
}

}  // namespace lx
