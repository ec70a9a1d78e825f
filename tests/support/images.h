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

// A whole header without its model lines, reg00 changed to 0x1234: an image that needs --model.
inline std::string Untagged(const std::string& headerText) {
  std::istringstream in(headerText);
  std::string text;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("#define LX") || line.starts_with("unsigned int code")) continue;
    text += (line.starts_with("0x") && line.ends_with("//reg00\r") ? "0x1234,   //reg00\r" : line) + "\n";
  }
  return text;
}

// Every word different and no byte zero: what a mix-up of words or bytes would show.
inline RegisterImage Pattern() {
  RegisterImage words{};
  for (int i = 0; i < kEepromSize; ++i)
    words[static_cast<std::size_t>(i)] = static_cast<uint16_t>(0x0101 * i + 0x00F0);
  return words;
}

}  // namespace lx::test
