// lxcfg set's assignments and the field value parser on any image of any model: a refused
// assignment changes nothing, an accepted one changes only bits some setting owns, every value
// the parser accepts is one the field holds and formats back to itself, and what show reads
// back from the result is accepted again (values no dialog can write aside).
//
// Input: model index byte, crystal (4 bytes, little-endian), 192 image bytes, then one
// KEY=VALUE per line.
#include <cstring>

#include "channel/channel_rules.h"
#include "core/binary_format.h"
#include "core/register_map.h"
#include "fuzz_support.h"
#include "settings/image_settings.h"

namespace {

using namespace lx;

struct ModelAt {
  const ToolProfile* profile;
  int index;
};

ModelAt ModelOf(uint8_t byte) {
  int n = byte % 7;
  for (const ToolProfile* p : AllProfiles()) {
    if (n < p->modelCount()) return {p, n};
    n -= p->modelCount();
  }
  return {&AmbrelProfile(), 0};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr std::size_t kHead = 1 + 4 + kBinaryImageSize;
  std::string head(kHead, '\0');
  std::memcpy(head.data(), data, std::min(size, kHead));
  const std::string_view rest(reinterpret_cast<const char*>(data) + std::min(size, kHead),
                              size - std::min(size, kHead));

  const ModelAt m = ModelOf(static_cast<uint8_t>(head[0]));
  ToolState state(*m.profile, "/nonexistent");
  state.chipModel = m.index;
  std::memcpy(&state.crystalKHz, head.data() + 1, 4);
  state.words = *BinaryToWords(std::string_view(head).substr(5));

  const std::vector<std::string> assignments = fuzz::Lines(rest, 40);
  const ToolState before = state;

  // The value parser on its own, for every field and every value text.
  for (const std::string& text : assignments) {
    const std::size_t eq = text.find('=');
    const std::string value = eq == std::string::npos ? text : text.substr(eq + 1);
    for (const RegisterField& f : AllRegisterFields(m.profile->family)) {
      const FieldParse parsed = ParseFieldValue(f, value);
      fuzz::Check(parsed.value.has_value() == parsed.error.empty());
      if (!parsed.value) continue;
      fuzz::Check(*parsed.value <= f.fieldMax() && FieldValueAccepted(f, *parsed.value));
      fuzz::Check(ParseFieldValue(f, FormatField(f, *parsed.value)).value == parsed.value);
    }
  }

  const settings::AssignResult result = settings::ApplyAssignments(state, assignments);
  if (!result.errors.empty()) {
    fuzz::Check(state.words == before.words && state.crystalKHz == before.crystalKHz);
    return 0;
  }
  // Only bits that a setting (or a switch's companion field) owns may change.
  RegisterImage allowed = settings::OwnedBits(state);
  for (const RegisterField& f : RegisterFields(m.profile->family))
    if (f.companion) allowed[static_cast<std::size_t>(f.companion->word)] |= f.companion->mask();
  for (std::size_t i = 0; i < allowed.size(); ++i)
    fuzz::Check(((state.words[i] ^ before.words[i]) & ~allowed[i]) == 0);
  if (state.crystalKHz != before.crystalKHz) fuzz::Check(!CrystalRefusal(state.crystalKHz));

  // What show reads back is accepted by set again (when the crystal is one set accepts).
  if (CrystalRefusal(state.crystalKHz)) return 0;
  std::vector<std::string> again;
  for (const settings::Setting& s : settings::ReadSettings(state)) {
    // A stored value no dialog can write (a PA gain of 15) is shown, and refused by set.
    const RegisterField* f = FindRegisterField(m.profile->family, s.key);
    if (f && !FieldValueAccepted(*f, ReadField(*f, state.words))) continue;
    again.push_back(s.key + "=" + settings::ValueText(s.value));
  }
  ToolState copy = state;
  fuzz::Check(settings::ApplyAssignments(copy, again).errors.empty());
  return 0;
}
