#pragma once
// Reading header text one line at a time in bounded memory. The header reader and the
// "h To bin" conversion look only at a few characters of each normalised line (upper case,
// blanks and tabs removed), so a line of any length is summarised on the fly.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <string_view>

namespace lx {

struct LineSummary {
  static constexpr std::size_t kPrefixKeep = 32;  // longer than every tag and the crystal window

  bool rawEmpty = true;         // nothing but the line end
  std::string prefix;           // first kPrefixKeep characters of the normalised line
  std::size_t normalisedLength = 0;
  char tail[3] = {};            // last three normalised characters (valid when length >= 3)
  std::string wordDigits;       // first four characters left after removing every "0X"
  std::string raw;              // the line as written, blanks at its start left out, cut at kRawKeep
  static constexpr std::size_t kRawKeep = 40;  // enough to quote a line in a message

  bool startsWith(std::string_view s) const { return std::string_view(prefix).starts_with(s); }
  bool endsWith3(std::string_view s3) const {
    return normalisedLength >= 3 && std::string_view(tail, 3) == s3;
  }
};

// Calls onLine for every line of the stream (the line end, LF or CR LF, is not part of the
// line; a last line without line end counts). onLine returns false to stop early.
void ScanLines(std::istream& in, const std::function<bool(const LineSummary&)>& onLine);

// scanf "%<width>X" on text: optional sign, optional 0X prefix, hexadecimal digits, stopping at
// the first other character or after `width` characters. Nothing convertible gives 0. A negative
// number wraps as the C library does; callers keep the bits they need.
uint32_t ScanHex(std::string_view text, std::size_t width);

}  // namespace lx
