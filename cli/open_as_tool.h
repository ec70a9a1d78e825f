#pragma once
// Reading a header as the windows' File > Open does, with the command line's refusals and
// warnings about what the file holds.
#include <optional>
#include <string>
#include <string_view>

#include "cli/context.h"
#include "cli/report.h"
#include "core/header_format.h"
#include "core/state.h"

namespace lx::cli {

// Warnings about a header as read (`read`: ReadHeaderLines of its text): word lines that hold a
// cut number or no number, and, with `crystalMissing`, no crystal frequency. `channels`: the
// command reads channel frequencies from it. A failure when --strict refuses one.
Checked<> WarnAboutHeader(Context& ctx, const std::string& file, const HeaderReadResult& read,
                          bool crystalMissing, bool channels);

// Why a text is refused as a header: it has not one word line.
inline constexpr std::string_view kNoWordLines = "no word lines (0x....,); not an EEPROM header";
// "42 word lines, not 96".
std::string WordLineCount(int lines);
// "cut.h: 42 word lines, not 96; reg2a..reg5f are missing and read as <missingAs>", or for more
// lines than 96, that the rest are ignored.
std::string WordCountWarning(const std::string& name, int lines, const std::string& missingAs);

// Reads a header as File > Open does. Refused first: a binary image or a text without word
// lines (with a hint to bin2h), a model line naming no model lxcfg knows. A header with another
// count of word lines than 96 is read with a warning naming the words it lacked, and so are odd word lines
// and a missing crystal line (WarnAboutHeader). With a model name given the model is selected first (its
// default image loaded) as a radio click would, and refused when the file declares a model of the other
// family; a file declaring another model of the family is read as that model, with a warning. With an
// empty name the file's tag decides the family. The file is
// read once ("-": standard input). `modelOption` is the option
// that names the model, for messages ("--model", "--model-a").
// `crystalHandled`: the command sets the crystal itself or refuses an image without one, so a
// missing crystal line is not warned about.
Checked<ToolState> OpenAsTool(Context& ctx, const std::string& file, const std::string& modelName,
                              const std::string& modelOption = "--model", bool crystalHandled = false);

}  // namespace lx::cli
