#include "core/text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>

namespace lx {

std::optional<int64_t> ParseDecimal(std::string_view text, SignRule sign) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    if (sign == SignRule::None || (negative && sign != SignRule::Any)) return std::nullopt;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 0xFFFFFFFFll) return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<uint32_t> ParseNumber(std::string_view text) {
  if (!(text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))) {
    const auto v = ParseDecimal(text);
    if (!v) return std::nullopt;
    return static_cast<uint32_t>(*v);
  }
  text.remove_prefix(2);
  uint64_t value = 0;
  for (const char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
    value = value * 16 + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

std::string ToLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string ToUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) { return ToLower(a) == ToLower(b); }

std::string RegisterName(int index) { return fmt::format("reg{:02x}", static_cast<unsigned>(index)); }

std::string Hex4(uint32_t word) { return fmt::format("0x{:04x}", word & 0xFFFFu); }

}  // namespace lx
