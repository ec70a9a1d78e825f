// The data exchange's number parsing, as the dialogs' boxes use it: whatever the text, an
// accepted integer prints back as a text that parses to the same value, an accepted number is
// finite and survives its own six-digit formatting, and the range message is well formed.
#include <cmath>

#include "fuzz_support.h"
#include "ui/dialog.h"

using namespace lx::ui;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (const auto v = ParseInt(text)) lx::fuzz::Check(ParseInt(std::to_string(*v)) == v);
  if (const auto v = ParseUInt(text)) {
    lx::fuzz::Check(ParseUInt(std::to_string(*v)) == v);
    if (*v <= 0x7FFFFFFFu) lx::fuzz::Check(ParseInt(text) == static_cast<int32_t>(*v));
  }
  if (const auto v = ParseFloat(text)) {
    lx::fuzz::Check(std::isfinite(*v));
    // Six significant digits hold a normal float; a subnormal one has fewer to give.
    if (std::fpclassify(*v) == FP_SUBNORMAL) return 0;
    const auto again = ParseFloat(FormatFloat(*v));
    lx::fuzz::Check(again.has_value() && FormatFloat(*again) == FormatFloat(*v));
  }
  if (const auto v = ParseInt(text)) {
    const std::string m = msg::OutOfRange(*v, *v + 1LL);
    lx::fuzz::Check(m.find(std::to_string(*v)) != std::string::npos);
  }
  return 0;
}
