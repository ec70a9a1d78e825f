#include "core/binary_format.h"

#include "core/line_scan.h"

namespace lx {

std::string HeaderToBinary(std::istream& header) {
  std::string bytes;
  ScanLines(header, [&](const LineSummary& line) {
    if (line.rawEmpty) return false;
    if (!line.startsWith("0X")) return true;
    const std::string_view digits = line.wordDigits;
    const std::string_view high = digits.substr(0, 2);
    const std::string_view low = digits.size() > 2 ? digits.substr(2, 2) : std::string_view{};
    bytes.push_back(static_cast<char>(ScanHex(high, 2) & 0xFF));
    bytes.push_back(static_cast<char>(ScanHex(low, 2) & 0xFF));
    return true;
  });
  return bytes;
}

std::optional<RegisterImage> BinaryToWords(std::string_view bytes) {
  if (bytes.size() < kBinaryImageSize) return std::nullopt;
  RegisterImage words{};
  for (std::size_t k = 0; k < words.size(); ++k) {
    const auto hi = static_cast<unsigned char>(bytes[2 * k]);
    const auto lo = static_cast<unsigned char>(bytes[2 * k + 1]);
    words[k] = static_cast<uint16_t>(hi << 8 | lo);
  }
  return words;
}

std::string WordsToBinary(const RegisterImage& words) {
  std::string bytes;
  bytes.reserve(kBinaryImageSize);
  for (uint16_t w : words) {
    bytes.push_back(static_cast<char>(w >> 8));
    bytes.push_back(static_cast<char>(w & 0xFF));
  }
  return bytes;
}

}  // namespace lx
