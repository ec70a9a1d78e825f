#pragma once
// Register images read back from header text, for tests that check what was written.
#include <sstream>
#include <string>

#include "core/header_format.h"

namespace lx::test {

// The words (and, when asked, the crystal) a header text holds, read as a default image is:
// over zeros, without the model tag or fix-up.
inline RegisterImage WordsOf(const std::string& headerText, int32_t* crystal = nullptr) {
  RegisterImage words{};
  int32_t x = 0;
  std::istringstream in(headerText);
  ReadHeaderLines(in, HeaderReadMode::DefaultLoader, AmbrelProfile(), words, x);
  if (crystal) *crystal = x;
  return words;
}

}  // namespace lx::test
