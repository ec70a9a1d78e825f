#include "core/text.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace lx {

namespace {

// Takes a leading sign off `text` as `sign` allows: whether the number is negative, or nullopt
// for a sign the rule refuses.
std::optional<bool> TakeSign(std::string_view& text, SignRule sign) {
  if (text.empty() || (text.front() != '+' && text.front() != '-')) return false;
  const bool negative = text.front() == '-';
  if (sign == SignRule::None || (negative && sign != SignRule::Any)) return std::nullopt;
  text.remove_prefix(1);
  return negative;
}

}  // namespace

std::optional<int64_t> ParseDecimal(std::string_view text, SignRule sign) {
  const std::optional<bool> negative = TakeSign(text, sign);
  if (!negative || text.empty()) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 0xFFFFFFFFll) return std::nullopt;
  }
  return *negative ? -value : value;
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

std::optional<int64_t> ParseInteger(std::string_view text, SignRule sign) {
  const std::optional<bool> negative = TakeSign(text, sign);
  if (!negative) return std::nullopt;
  // A second sign ("--5", "+-5") is no number.
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) return std::nullopt;
  const auto v = ParseNumber(text);
  if (!v) return std::nullopt;
  return *negative ? -static_cast<int64_t>(*v) : static_cast<int64_t>(*v);
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

namespace {

// Letters inserted, removed, changed or two neighbours swapped (optimal string alignment).
std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      d[i][j] =
          std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::string Nearest(std::string_view word, std::span<const std::string> candidates) {
  const std::string w = ToLower(word);
  // A third of the word may be wrong, at least one letter: closer guesses would miss typos,
  // looser ones would suggest unrelated names.
  const std::size_t allowed = std::max<std::size_t>(1, w.size() / 3);
  std::string best;
  std::size_t bestDistance = allowed + 1;
  for (const std::string& c : candidates) {
    const std::size_t d = EditDistance(w, ToLower(c));
    if (d < bestDistance) {
      bestDistance = d;
      best = c;
    }
  }
  return best;
}

}  // namespace lx
