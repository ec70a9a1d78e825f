#pragma once
// Every setting of the settings dialogs, described once as data: the word and bits it lives in,
// what kind of value it holds and the texts of its values. The command line, the tests and the
// dialogs read and write settings through this table, so a field is defined in one place only.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/profile.h"
#include "core/state.h"

namespace lx {

enum class FieldKind {
  Number,     // an integer from minValue to maxValue
  Threshold,  // a battery threshold step 0..127, 9.375 mV each
  Switch,     // one bit: "on" / "off"
  List,       // item texts; the item index is the field value
};

struct RegisterField {
  const char* name;                 // the key lxcfg uses: "pa_gain", "afc_range"
  int word;                         // register word index
  int hi, lo;                       // bit field hi:lo
  FieldKind kind;
  std::span<const char* const> items;  // List: item i is field value i; values past the end have no text
  bool setBitDisables = false;      // Switch: a set bit turns the function off
  uint32_t minValue = 0;            // Number / Threshold: accepted values
  uint32_t maxValue = 0;
  bool txIdModelsOnly = false;      // exists only on models with a TX_ID
  const RegisterField* companion = nullptr;  // written alongside when the switch is turned on
  uint32_t companionValue = 0;

  uint16_t mask() const { return static_cast<uint16_t>(((1u << (hi - lo + 1)) - 1u) << lo); }
  uint32_t fieldMax() const { return (1u << (hi - lo + 1)) - 1u; }
  bool wholeWord() const { return hi == 15 && lo == 0; }
  // The value moved into the field's bit position; bits beyond the field are dropped.
  uint16_t place(uint32_t value) const { return static_cast<uint16_t>((value << lo) & mask()); }
};

// Fields named in code: each enum indexes its family's table. The settings come first, in
// the order their dialogs show them; the fields after them are written by the tools themselves
// (model fix-up, the mute-pilot switch) or only read, and have no lxcfg key.
enum class TxField : uint8_t {
  PaGain,
  PreEmphasis,
  MicSensitivity,
  Compressor,
  CompandorTimeConstant,
  Priority,
  Pilot,
  PilotDeviation,
  MutePilot,
  BatteryMeter,
  LowBatteryIndicator,
  LowBatteryPapd,
  BlinkThreshold,
  LightThreshold,
  PapdThreshold,
  TxId,
  MuteLevel,  // reg18 10:8: forced by the model fix-up and by choosing "mute pilot"
  TxIdFlag,   // reg1f 14: ticks the TX_ID check box; never written
  Count,
};
inline constexpr int kTxSettingCount = static_cast<int>(TxField::MuteLevel);

enum class RxField : uint8_t {
  Bass,
  Treble,
  Thd,
  DeEmphasis,
  AudioGain,
  Expander,
  ExpanderTimeConstant,
  Volume,
  Automute,
  PilotAutomute,
  SnrAutomute,
  SnrHighThreshold,
  SnrLowThreshold,
  Afc,
  AfcRange,
  FixupWord,  // reg17 whole: forced by the model fix-up
  Count,
};
inline constexpr int kRxSettingCount = static_cast<int>(RxField::FixupWord);

const RegisterField& Field(TxField field);
const RegisterField& Field(RxField field);

// Every field of one tool family, settings first (see the enums).
std::span<const RegisterField> AllRegisterFields(Family family);

// The settings of one tool family, in the order their dialogs show them.
std::span<const RegisterField> RegisterFields(Family family);

// The value "mute pilot" and the transmitter fix-up both put into reg18 bits 10:8.
inline constexpr uint32_t kMuteLevelForMutePilot = 4;

// The one field a tool forces whenever a model is selected or a header is opened.
struct ModelFixup {
  const RegisterField& field;
  uint32_t value;
};
ModelFixup ModelFixupOf(Family family);

// The field called `name` (case-insensitive), or nullptr.
const RegisterField* FindRegisterField(Family family, std::string_view name);

// Whether the field exists on this model (TX_ID only on LX7240D / LX7250D).
bool FieldAppliesTo(const RegisterField& field, const ChipModel& model);

// The raw field value, shifted down.
uint32_t ReadField(const RegisterField& field, const RegisterImage& words);

// Read-modify-write of exactly the field's bits (and, for a switch turned on, its companion
// field). `value` must be one ParseFieldValue accepts.
void WriteField(const RegisterField& field, uint32_t value, RegisterImage& words);

// Read-modify-write of exactly the field's bits, nothing else: a dialog's OK for one field.
void WriteFieldBits(const RegisterField& field, uint32_t value, RegisterImage& words);

// The value as `set` accepts it back: "on"/"off", an item text, or a decimal number.
std::string FormatField(const RegisterField& field, uint32_t value);

// The value for people: thresholds with their voltage ("112 (1050 mV)").
std::string DescribeField(const RegisterField& field, uint32_t value);

// Whether the field's value is one `set` can write back (false for a PA gain of 13..15, a
// threshold step above 127).
bool FieldValueAccepted(const RegisterField& field, uint32_t value);

struct FieldParse {
  std::optional<uint32_t> value;  // the field value, when the text names one
  std::string error;              // otherwise: what was wrong and which values are valid
};

// Parses a value text: item texts and "on"/"off" without regard to case, numbers in decimal.
FieldParse ParseFieldValue(const RegisterField& field, std::string_view text);

// "on, off", "0dB, 4dB, ...", "0..12": the valid values, for messages and help.
std::string ValidValues(const RegisterField& field);

// What one battery threshold step is worth.
inline constexpr float kMillivoltsPerThresholdStep = 9.375f;

// A battery threshold step as the dialog shows it, in mV ("468.75").
std::string ThresholdMillivolts(uint32_t step);

}  // namespace lx
