#include "core/line_scan.h"

#include <array>
#include <cctype>

namespace lx {
namespace {

class LineBuilder {
 public:
  void Reset() {
    s_ = LineSummary{};
    pendingZero_ = false;
  }

  void Add(char raw) {
    s_.rawEmpty = false;
    if (raw == ' ' || raw == '\t') {
      if (!s_.raw.empty() && s_.raw.size() < LineSummary::kRawKeep) s_.raw.push_back(raw);
      return;
    }
    if (s_.raw.size() < LineSummary::kRawKeep) s_.raw.push_back(raw);
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
    if (s_.prefix.size() < LineSummary::kPrefixKeep) s_.prefix.push_back(c);
    s_.tail[0] = s_.tail[1];
    s_.tail[1] = s_.tail[2];
    s_.tail[2] = c;
    ++s_.normalisedLength;
    FilterZeroX(c);
  }

  const LineSummary& Finish() {
    if (pendingZero_) EmitDigit('0');
    pendingZero_ = false;
    return s_;
  }

 private:
  // Removing every "0X" is a single left-to-right pass, so one held-back '0' is enough state.
  void FilterZeroX(char c) {
    if (s_.wordDigits.size() >= 4) return;
    if (pendingZero_) {
      pendingZero_ = false;
      if (c == 'X') return;
      EmitDigit('0');
    }
    if (c == '0')
      pendingZero_ = true;
    else
      EmitDigit(c);
  }
  void EmitDigit(char c) {
    if (s_.wordDigits.size() < 4) s_.wordDigits.push_back(c);
  }

  LineSummary s_;
  bool pendingZero_ = false;
};

}  // namespace

void ScanLines(std::istream& in, const std::function<bool(const LineSummary&)>& onLine) {
  std::array<char, std::size_t{64} * 1024> buffer;
  LineBuilder line;
  line.Reset();
  bool anything = false;    // characters seen since the last line end
  bool pendingCR = false;   // a CR that may be the first half of CR LF
  while (in) {
    in.read(buffer.data(), buffer.size());
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    for (std::streamsize i = 0; i < got; ++i) {
      const char c = buffer[static_cast<std::size_t>(i)];
      if (c == '\n') {
        pendingCR = false;
        if (!onLine(line.Finish())) return;
        line.Reset();
        anything = false;
        continue;
      }
      if (pendingCR) line.Add('\r');
      pendingCR = (c == '\r');
      if (!pendingCR) line.Add(c);
      anything = true;
    }
  }
  if (anything) onLine(line.Finish());
}

uint32_t ScanHex(std::string_view text, std::size_t width) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  text.remove_prefix(i);
  if (text.size() > width) text = text.substr(0, width);
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'X' || text[pos + 1] == 'x')) pos += 2;
  uint32_t value = 0;
  for (; pos < text.size(); ++pos) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (!std::isxdigit(c)) break;
    const uint32_t digit = std::isdigit(c) ? c - '0' : (std::toupper(c) - 'A' + 10);
    value = value * 16 + digit;
  }
  return negative ? 0u - value : value;
}

}  // namespace lx
