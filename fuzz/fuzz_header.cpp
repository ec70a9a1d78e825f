// Any bytes read as a header: no crash, and what the writer makes of the result reads back the same.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/header_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const lx::ToolProfile* profile : lx::AllProfiles()) {
    for (auto mode : {lx::HeaderReadMode::Open, lx::HeaderReadMode::DefaultLoader}) {
      lx::RegisterImage words{};
      int32_t crystal = 0;
      std::istringstream in(text);
      const lx::HeaderReadResult r = lx::ReadHeaderLines(in, mode, *profile, words, crystal);
      if (r.taggedModel >= profile->modelCount()) std::abort();
      const int model = r.taggedModel >= 0 ? r.taggedModel : 0;
      std::istringstream again(lx::WriteHeaderText(profile->models[model], crystal, words));
      lx::RegisterImage back{};
      int32_t crystalBack = 0;
      lx::ReadHeaderLines(again, lx::HeaderReadMode::Open, *profile, back, crystalBack);
      if (back != words) std::abort();
    }
  }
  return 0;
}
