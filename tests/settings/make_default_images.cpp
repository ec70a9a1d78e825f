// Writes the default image of every chip model, resources/Data/<model>/EEPROM.h, exactly as Save
// writes it. The images are committed; run this again only to change them:
//   make_default_images /work/main/resources/Data
// Factory settings go through the register map, so each value lands in its own field; the words
// no dialog owns are listed in docs/default-images.md.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "channel/codec.h"
#include "settings/channel_plan.h"
#include "core/header_format.h"
#include "core/register_map.h"

namespace {

constexpr int32_t kCrystal = 24000;

using Settings = std::vector<std::pair<const char*, const char*>>;

const Settings kTransmitterSettings = {
    {"pa_gain", "8"},
    {"pre_emphasis", "on"},
    {"mic_sensitivity", "22dB"},
    {"compressor", "on"},
    {"compandor_time_constant", "93mS"},
    {"priority", "compressor-first"},
    {"pilot", "on"},
    {"pilot_deviation", "5KHz"},
    {"mute_pilot", "on"},
    {"battery_meter", "on"},
    {"low_battery_indicator", "on"},
    {"low_battery_papd", "on"},
    {"blink_threshold", "112"},  // 1050 mV
    {"light_threshold", "104"},  //  975 mV
    {"papd_threshold", "96"},    //  900 mV
};

const Settings kReceiverSettings = {
    {"bass", "0dB"},
    {"treble", "0dB"},
    {"thd", "BYPASS"},
    {"de_emphasis", "on"},
    {"audio_gain", "0dB"},
    {"expander", "on"},
    {"expander_time_constant", "93mS"},
    {"volume", "24"},
    {"automute", "on"},
    {"pilot_automute", "on"},
    {"snr_automute", "on"},
    {"snr_high_threshold", "48"},
    {"snr_low_threshold", "40"},
    {"afc", "on"},
    {"afc_range", "±40KHz"},
};

// A frequency is usable when it reads back exactly on every model of its band, transmitter
// and receiver alike, so that matching pairs carry the same table.
bool ExactEverywhere(uint32_t f) {
  for (const lx::ToolProfile* profile : lx::AllProfiles())
    for (int m = 0; m < profile->modelCount(); ++m) {
      if (!lx::ChannelRange(*profile, m).contains(f)) continue;
      const auto words = lx::EncodeChannel(*profile, m, kCrystal, f);
      if (!words || lx::DecodeChannel(*profile, m, kCrystal, *words) != f) return false;
    }
  return true;
}

// 16 channels on a 25 kHz grid from `start` up, each added only when the table stays free of
// spacing and intermodulation conflicts under the default guards.
std::vector<int64_t> ChannelPlan(uint32_t start, uint32_t end) {
  std::vector<int64_t> plan;
  for (uint32_t f = start; f <= end && plan.size() < lx::kChannelCount; f += 25) {
    if (!ExactEverywhere(f)) continue;
    plan.push_back(f);
    if (!lx::settings::FindConflicts(plan, lx::settings::PlanGuards{}).empty()) plan.pop_back();
  }
  return plan;
}

bool Apply(const lx::ToolProfile& profile, const Settings& settings, lx::RegisterImage& words) {
  for (const auto& [name, text] : settings) {
    const lx::RegisterField* field = lx::FindRegisterField(profile.family, name);
    const lx::FieldParse parsed = field ? lx::ParseFieldValue(*field, text) : lx::FieldParse{};
    if (!parsed.value) {
      std::fprintf(stderr, "bad factory setting %s=%s\n", name, text);
      return false;
    }
    lx::WriteField(*field, *parsed.value, words);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_default_images DATA_DIR\n");
    return 2;
  }
  const std::filesystem::path dataDir = argv[1];
  const std::vector<int64_t> vhf = ChannelPlan(174000, 270000);
  const std::vector<int64_t> uhf = ChannelPlan(614000, 960000);
  if (vhf.size() != lx::kChannelCount || uhf.size() != lx::kChannelCount) {
    std::fprintf(stderr, "no conflict-free channel plan found\n");
    return 1;
  }

  for (const lx::ToolProfile* profile : lx::AllProfiles()) {
    const bool transmitter = profile->family == lx::Family::Transmitter;
    for (int m = 0; m < profile->modelCount(); ++m) {
      const lx::ChipModel& model = profile->models[static_cast<std::size_t>(m)];
      lx::RegisterImage words{};
      if (!Apply(*profile, transmitter ? kTransmitterSettings : kReceiverSettings, words)) return 1;
      if (model.hasTxId) {
        lx::WriteField(lx::Field(lx::TxField::TxId), 1, words);
        lx::WriteField(lx::Field(lx::TxField::TxIdFlag), 1, words);  // the TX_ID box starts ticked
      }
      // The same field the tool forces on every model selection.
      const lx::ModelFixup fix = lx::ModelFixupOf(profile->family);
      lx::WriteField(fix.field, fix.value, words);

      const std::vector<int64_t>& plan = lx::ChannelRange(*profile, m).low < 400000 ? vhf : uhf;
      for (int k = 0; k < lx::kChannelCount; ++k) {
        const auto cw = lx::EncodeChannel(*profile, m, kCrystal, static_cast<uint32_t>(plan[static_cast<std::size_t>(k)]));
        words[static_cast<std::size_t>(lx::ControlWordIndex(k))] = cw->control;
        words[static_cast<std::size_t>(lx::FractionWordIndex(k))] = cw->fraction;
      }

      const std::filesystem::path dir = dataDir / model.name;
      std::filesystem::create_directories(dir);
      std::ofstream out(dir / "EEPROM.h", std::ios::binary | std::ios::trunc);
      out << lx::WriteHeaderText(model, kCrystal, words);
      if (!out) {
        std::fprintf(stderr, "cannot write %s\n", (dir / "EEPROM.h").c_str());
        return 1;
      }
      std::printf("%s:", model.name);
      for (int64_t f : plan) std::printf(" %lld", static_cast<long long>(f));
      std::printf("\n");
    }
  }
  return 0;
}
