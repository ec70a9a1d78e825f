#pragma once
// The register header file (EEPROM.h): the exact text the tools write and the lenient rules by
// which they read it back.
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "core/profile.h"
#include "core/state.h"

namespace lx {

enum class HeaderReadMode {
  Open,           // the model tag selects the model
  DefaultLoader,  // the model tag is ignored
};

// A word line whose first four characters after the "0x" are not four hexadecimal digits: a
// number cut short ("0x70", read as 0x0070) or no number at all ("0xZZZZ", read as 0x0000, and
// every later word line lands one register further on).
struct OddWordLine {
  int line = 0;       // 1-based line number in the file
  int word = 0;       // the word the line was read into (or would be, past the 96th)
  int hexDigits = 0;  // 0..3
  std::string text;   // the line as written, cut at LineSummary::kRawKeep characters
};

struct HeaderReadResult {
  static constexpr std::size_t kOddLinesKept = 8;

  int wordLines = 0;         // word lines seen, including those past the 96th
  bool crystalSeen = false;
  int taggedModel = -1;      // Open mode: model index named by the last tag line, -1 if none
  // The name the last declaration line ("unsigned int code NAME_REG[...]") gives, upper case,
  // whether or not it is one of the profile's models; empty without one.
  // "unsigned int code REG[...]" names no model and gives an empty name.
  std::string declaredName;
  std::vector<OddWordLine> oddWordLines;  // the first kOddLinesKept of them
  int oddWordLineCount = 0;
};

// Reads header lines into `words` and `crystalKHz`. Words without a line, and the crystal
// frequency without a crystal line, keep their values. Never fails on content.
HeaderReadResult ReadHeaderLines(std::istream& in, HeaderReadMode mode, const ToolProfile& profile,
                                 RegisterImage& words, int32_t& crystalKHz);

// "#define X24P000MHZ" for 24000 kHz (without line end).
std::string CrystalLine(int32_t crystalKHz);
// "0x1a2b,   //reg05" (without line end).
std::string WordLine(int index, uint16_t value);
// Lines 1 to 5: crystal, EEPROM_SIZE, define, declaration, "{", each with CR LF.
std::string HeaderPreamble(const ChipModel& model, int32_t crystalKHz);
// The whole 102-line file.
std::string WriteHeaderText(const ChipModel& model, int32_t crystalKHz, const RegisterImage& words);

// The tag a declaration line of this model starts with once normalised.
std::string ModelTag(const ChipModel& model);

// Whether bytes are no text at all: control characters other than tab, line ends and form
// feeds, as a binary image holds them (a header never does).
bool LooksBinary(std::string_view bytes);

}  // namespace lx
