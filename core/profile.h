#pragma once
// What makes Ambrel (transmitter chips) and Ostrel (receiver chips) different: everything else
// in the code base is shared and takes a ToolProfile.
#include <cstdint>
#include <span>
#include <string_view>

namespace lx {

inline constexpr int kEepromSize = 0x60;  // register words in an image

enum class Family { Transmitter, Receiver };

// Which band-code and inductance tables a model uses.
enum class BandTables { Standard, Lxm7140 };

struct ChipModel {
  const char* name;           // catalogue name: radio caption, header lines, folder name
  uint32_t lowKHz, highKHz;   // valid channel frequencies
  BandTables tables;
  bool hasTxId;               // reg17 carries a TX_ID (transmitter D models)
};

struct ToolProfile {
  Family family;
  const char* appName;            // "Ambrel" / "Ostrel": message-box titles
  std::span<const ChipModel> models;
  uint32_t receiverOffsetKHz;     // programmed frequency = channel frequency + offset
  std::span<const char* const> dataFolders;  // made in the working directory at start-up

  int modelCount() const { return static_cast<int>(models.size()); }
  bool validModel(int m) const { return m >= 0 && m < modelCount(); }
};

const ToolProfile& AmbrelProfile();
const ToolProfile& OstrelProfile();

// Both tool profiles, transmitter first.
std::span<const ToolProfile* const> AllProfiles();

struct ModelRef {
  const ToolProfile* profile = nullptr;
  int index = -1;
  explicit operator bool() const { return profile != nullptr; }
};

// Finds a catalogue name (case-insensitive) in either tool's table.
ModelRef FindModel(std::string_view name);

}  // namespace lx
