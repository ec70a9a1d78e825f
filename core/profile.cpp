#include "core/profile.h"

#include "core/text.h"

namespace lx {
namespace {

constexpr ChipModel kTransmitterModels[] = {
    {"LX7240", 160000, 270000, BandTables::Standard, false},
    {"LX7250", 470000, 960000, BandTables::Standard, false},
    {"LX7240D", 160000, 270000, BandTables::Standard, true},
    {"LX7250D", 470000, 960000, BandTables::Standard, true},
};

constexpr ChipModel kReceiverModels[] = {
    {"LX7140", 160000, 270000, BandTables::Standard, false},
    {"LX7150", 470000, 960000, BandTables::Standard, false},
    {"LXM7140", 160000, 270000, BandTables::Lxm7140, false},
};

constexpr const char* kTransmitterFolders[] = {"data"};
constexpr const char* kReceiverFolders[] = {"data", "data/LX7140", "data/LX7150", "data/LXM7140"};

const ToolProfile kAmbrel{Family::Transmitter, "Ambrel", kTransmitterModels, 0,
                          kTransmitterFolders};
const ToolProfile kOstrel{Family::Receiver, "Ostrel", kReceiverModels, 125,
                          kReceiverFolders};

const ToolProfile* const kProfiles[] = {&kAmbrel, &kOstrel};

}  // namespace

const ToolProfile& AmbrelProfile() { return kAmbrel; }
const ToolProfile& OstrelProfile() { return kOstrel; }
std::span<const ToolProfile* const> AllProfiles() { return kProfiles; }

ModelRef FindModel(std::string_view name) {
  for (const ToolProfile* p : kProfiles)
    for (int i = 0; i < p->modelCount(); ++i)
      if (SameIgnoringCase(p->models[i].name, name)) return {p, i};
  return {};
}

}  // namespace lx
