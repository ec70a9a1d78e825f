#pragma once
// The raw binary image (EEPROM.bin): two bytes per register word, high byte first, nothing else.
#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "core/state.h"

namespace lx {

inline constexpr std::size_t kBinaryImageSize = 2 * static_cast<std::size_t>(kEepromSize);  // 192 bytes

// "h To bin": one word per word line, in file order, up to the first empty line. Each word is
// read as two separate byte pairs (characters 1-2 and 3-4 after the 0X prefixes are removed),
// each converted like scanf "%02X"; a pair that does not start with a hexadecimal digit gives 0.
std::string HeaderToBinary(std::istream& header);

// The 96 words of the first 192 bytes; nullopt when fewer bytes are given.
std::optional<RegisterImage> BinaryToWords(std::string_view bytes);

std::string WordsToBinary(const RegisterImage& words);

}  // namespace lx
