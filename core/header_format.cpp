#include "core/header_format.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <limits>
#include <vector>

#include "core/line_scan.h"
#include "core/text.h"

namespace lx {
namespace {

constexpr std::size_t kCrystalWindow = 17;
constexpr const char* kCrLf = "\r\n";

// Digits among the first 17 normalised characters, in order. A number that does not fit a
// signed 32-bit integer is not a crystal frequency: the line is then passed over.
bool CrystalFromLine(const LineSummary& line, int32_t& out) {
  int64_t value = 0;
  const std::size_t n = std::min(kCrystalWindow, line.prefix.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char c = line.prefix[i];
    if (c < '0' || c > '9') continue;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<int32_t>::max()) return false;
  }
  out = static_cast<int32_t>(value);
  return true;
}

}  // namespace

constexpr std::string_view kDeclarationLead = "UNSIGNEDINTCODE";

std::string ModelTag(const ChipModel& model) { return std::string(kDeclarationLead) + ToUpper(model.name); }

bool LooksBinary(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    // Besides the blanks, an old editor's end-of-file mark (0x1a) is text too.
    return (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && b != '\f' && b != '\v' && b != 0x1A) ||
           b == 0x7F;
  });
}

HeaderReadResult ReadHeaderLines(std::istream& in, HeaderReadMode mode, const ToolProfile& profile,
                                 RegisterImage& words, int32_t& crystalKHz) {
  // Longest tag first, so that LX7240D is not taken for LX7240.
  std::vector<std::pair<std::string, int>> tags;
  tags.reserve(static_cast<std::size_t>(profile.modelCount()));
  for (int i = 0; i < profile.modelCount(); ++i) tags.emplace_back(ModelTag(profile.models[i]), i);
  std::stable_sort(tags.begin(), tags.end(),
                   [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });

  HeaderReadResult result;
  int lineNumber = 0;
  ScanLines(in, [&](const LineSummary& line) {
    ++lineNumber;
    if (line.endsWith3("MHZ")) {
      int32_t crystal = 0;
      if (CrystalFromLine(line, crystal)) {
        crystalKHz = crystal;
        result.crystalSeen = true;
      }
    }
    if (line.startsWith(kDeclarationLead)) {
      const std::string_view rest = std::string_view(line.prefix).substr(kDeclarationLead.size());
      result.declaredName = std::string(rest.substr(0, rest.find_first_of("_[=")));
      // The array's own name without a model before it.
      if (result.declaredName == "REG" && rest.substr(3).starts_with("[")) result.declaredName.clear();
    }
    if (mode == HeaderReadMode::Open) {
      for (const auto& [tag, index] : tags) {
        if (line.startsWith(tag)) {
          result.taggedModel = index;
          break;
        }
      }
    }
    if (line.startsWith("0X")) {
      if (result.wordLines < kEepromSize)
        words[static_cast<std::size_t>(result.wordLines)] =
            static_cast<uint16_t>(ScanHex(line.wordDigits, 4) & 0xFFFF);
      const auto digits = static_cast<int>(
          std::find_if_not(line.wordDigits.begin(), line.wordDigits.end(),
                           [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }) -
          line.wordDigits.begin());
      if (digits < 4) {
        if (result.oddWordLines.size() < HeaderReadResult::kOddLinesKept)
          result.oddWordLines.push_back({lineNumber, result.wordLines, digits, line.raw});
        ++result.oddWordLineCount;
      }
      ++result.wordLines;
    }
    return true;
  });
  return result;
}

std::string CrystalLine(int32_t crystalKHz) {
  const std::string digits = std::to_string(crystalKHz);
  const bool shortText = digits.size() < 3;
  const std::string head = shortText ? digits : digits.substr(0, 2);
  const std::string tail = shortText ? digits : digits.substr(digits.size() - 3);
  return "#define X" + head + "P" + tail + "MHZ";
}

std::string WordLine(int index, uint16_t value) {
  return fmt::format("0x{:04x},   //{}", value, RegisterName(index));
}

std::string HeaderPreamble(const ChipModel& model, int32_t crystalKHz) {
  std::string text;
  text += CrystalLine(crystalKHz) + kCrLf;
  text += std::string("#define EEPROM_SIZE 0x60") + kCrLf;
  text += std::string("#define ") + model.name + kCrLf;
  text += std::string("unsigned int code ") + model.name + "_REG[EEPROM_SIZE] =" + kCrLf;
  text += std::string("{") + kCrLf;
  return text;
}

std::string WriteHeaderText(const ChipModel& model, int32_t crystalKHz, const RegisterImage& words) {
  std::string text = HeaderPreamble(model, crystalKHz);
  for (int i = 0; i < kEepromSize; ++i) text += WordLine(i, words[static_cast<std::size_t>(i)]) + kCrLf;
  text += std::string("};") + kCrLf;
  return text;
}

}  // namespace lx
