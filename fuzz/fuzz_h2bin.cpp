// Any bytes through "h To bin": two bytes per word line, and a written header converts exactly.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/binary_format.h"
#include "core/header_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream in(text);
  const std::string bytes = lx::HeaderToBinary(in);
  if (bytes.size() % 2 != 0) std::abort();
  if (const auto words = lx::BinaryToWords(text)) {
    std::istringstream header(lx::WriteHeaderText(lx::AmbrelProfile().models[0], 24000, *words));
    if (lx::HeaderToBinary(header) != lx::WordsToBinary(*words)) std::abort();
  }
  return 0;
}
