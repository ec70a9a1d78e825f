#include "settings/image_text.h"

#include <algorithm>
#include <map>

#include "channel/codec.h"
#include "core/text.h"

namespace lx::settings {
namespace {

std::string Pad(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string PadLeft(const std::string& text, std::size_t width) {
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

}  // namespace

std::string ChangeText(const SettingChange& c) {
  const auto side = [](const std::optional<Setting>& s) { return s ? s->human : std::string("(none)"); };
  // Frequencies read "606000 -> 606250 kHz": the unit once, at the end.
  const std::string unit = " kHz";
  if (c.a && c.b && c.a->human.ends_with(unit) && c.b->human.ends_with(unit))
    return c.key + ": " + c.a->human.substr(0, c.a->human.size() - unit.size()) + " -> " + c.b->human;
  return c.key + ": " + side(c.a) + " -> " + side(c.b);
}


std::string ImageListing(const ToolState& s) {
  const ToolProfile& profile = s.profile();
  std::string out = std::string(s.selectedModel()->name) + " (" + profile.appName + ", " +
                    (profile.family == Family::Transmitter ? "transmitter" : "receiver") + "), crystal " +
                    std::to_string(s.crystalKHz) + " kHz\n\nSettings\n";
  for (const Setting& setting : ReadSettings(s)) {
    if (setting.key == "crystal" || setting.key.starts_with("channel.")) continue;
    out += "  " + Pad(setting.key, 26) + setting.human + '\n';
  }
  out += "\nChannels        frequency  control  fraction  inductance\n";
  for (int k = 0; k < kChannelCount; ++k) {
    const ChannelWords w = ReadChannelWords(s.words, k);
    const uint32_t f = DecodeChannel(profile, s.chipModel, s.crystalKHz, w);
    out += "  " + Pad("channel." + std::to_string(k), 11) + PadLeft(std::to_string(f), 8) + " kHz  " +
           Hex4(w.control) + "   " + Hex4(w.fraction) + "    " + InductanceAdvice(profile, s.chipModel, f) +
           (CodecProduces(profile, s.chipModel, s.crystalKHz, w) ? "" : "   not this model's codec") + '\n';
  }
  return out + '\n' + WordListing(s.words);
}

std::string WordListing(const RegisterImage& words) {
  std::string out = "Words";
  for (int i = 0; i < kEepromSize; ++i) {
    if (i % 8 == 0) out += "\n  " + RegisterName(i) + " ";
    out += ' ' + Hex4(words[static_cast<std::size_t>(i)]);
  }
  return out + '\n';
}

ImageComparison CompareImages(const ToolState& a, const ToolState& b) {
  ImageComparison result;
  const std::string modelA = a.selectedModel()->name, modelB = b.selectedModel()->name;
  if (modelA != modelB)
    result.settings.push_back({"model", Setting{"model", modelA, modelA}, Setting{"model", modelB, modelB}});

  const std::vector<Setting> sa = ReadSettings(a), sb = ReadSettings(b);
  std::map<std::string, const Setting*> inB;
  for (const Setting& s : sb) inB[s.key] = &s;
  for (const Setting& s : sa) {
    const auto it = inB.find(s.key);
    if (it == inB.end())
      result.settings.push_back({s.key, s, std::nullopt});
    else if (it->second->value != s.value)
      result.settings.push_back({s.key, s, *it->second});
  }
  for (const Setting& s : sb)
    if (std::none_of(sa.begin(), sa.end(), [&](const Setting& x) { return x.key == s.key; }))
      result.settings.push_back({s.key, std::nullopt, s});

  RegisterImage owned = OwnedBits(a);
  const RegisterImage ownedB = OwnedBits(b);
  for (std::size_t i = 0; i < owned.size(); ++i) owned[i] |= ownedB[i];
  for (int i = 0; i < kEepromSize; ++i) {
    const auto idx = static_cast<std::size_t>(i);
    if (((a.words[idx] ^ b.words[idx]) & ~owned[idx]) != 0) result.words.push_back(i);
  }
  return result;
}

std::vector<std::string> ComparisonLines(const ToolState& a, const ToolState& b) {
  const ImageComparison c = CompareImages(a, b);
  std::vector<std::string> lines;
  for (const SettingChange& change : c.settings) lines.push_back(ChangeText(change));
  for (int i : c.words)
    lines.push_back(RegisterName(i) + ": " + Hex4(a.words[static_cast<std::size_t>(i)]) + " -> " +
                    Hex4(b.words[static_cast<std::size_t>(i)]));
  return lines;
}

}  // namespace lx::settings
