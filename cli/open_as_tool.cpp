#include "cli/open_as_tool.h"

#include "cli/files.h"
#include "cli/report.h"
#include "cli/validators.h"
#include "core/file_kind.h"
#include "core/messages.h"
#include "core/path_text.h"
#include "core/text.h"

namespace lx::cli {

namespace {

const char* FamilyName(Family family) { return family == Family::Transmitter ? "transmitter" : "receiver"; }

// The model a header's declaration line names among `profile`'s models, or nullptr.
const ChipModel* DeclaredModel(const ToolProfile& profile, std::string_view text) {
  RegisterImage scratch{};
  int32_t crystal = 0;
  ViewStream in(text);
  const HeaderReadResult read = ReadHeaderLines(in, HeaderReadMode::Open, profile, scratch, crystal);
  return read.taggedModel >= 0 ? &profile.models[static_cast<std::size_t>(read.taggedModel)] : nullptr;
}

// What the text is, before it is read as a header: nullopt when it reads as one, else the
// refusal.
std::optional<std::string> NotAHeader(const FileContent& content) {
  const std::string hint = "; a binary image? lxcfg bin2h --model M --xtal K converts one to a header";
  if (content.isBinary()) return "binary data, not an EEPROM header" + hint;
  if (!content.hasWords()) return std::string(kNoWordLines) + hint;
  if (content.declaresUnknownModel())
    return "the model line declares " + content.read.declaredName + ": " +
           UnknownModel(content.read.declaredName);
  return std::nullopt;
}

std::string Trimmed(const std::string& text) {
  const std::size_t end = text.find_last_not_of(" \t\r");
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

}  // namespace

std::string WordLineCount(int lines) {
  return std::to_string(lines) + (lines == 1 ? " word line, not " : " word lines, not ") +
         std::to_string(kEepromSize);
}

std::string WordCountWarning(const std::string& name, int lines, const std::string& missingAs) {
  std::string text = name + ": " + WordLineCount(lines);
  if (lines > kEepromSize)
    return text + "; the lines after the " + std::to_string(kEepromSize) + "th are ignored";
  const std::string missing = lines == kEepromSize - 1
                                  ? RegisterName(lines)
                                  : RegisterName(lines) + ".." + RegisterName(kEepromSize - 1);
  return text + "; " + missing + (lines == kEepromSize - 1 ? " is" : " are") + " missing and read as " +
         missingAs;
}

Checked<> WarnAboutHeader(Context& ctx, const std::string& file, const HeaderReadResult& read,
                          bool crystalMissing, bool channels) {
  const std::string name = DisplayName(file);
  for (const OddWordLine& odd : read.oddWordLines) {
    std::string line = name + ": line " + std::to_string(odd.line) + ": \"" + Trimmed(odd.text) + "\" has ";
    if (odd.hexDigits == 0)
      line += "no hex digits; it is read as " + RegisterName(odd.word) +
              " = 0x0000, and every word line after it one register further on";
    else
      line += std::to_string(odd.hexDigits) + (odd.hexDigits == 1 ? " hex digit" : " hex digits") + ", not 4";
    if (Checked<> warned = Warn(ctx, line); !warned) return warned;
  }
  const int more = read.oddWordLineCount - static_cast<int>(read.oddWordLines.size());
  if (more > 0)
    if (Checked<> warned =
            Warn(ctx, name + ": " + std::to_string(more) + " more word lines without four hex digits");
        !warned)
      return warned;
  if (!crystalMissing) return {};
  return Warn(ctx, name + ": no crystal frequency in the image (no line such as #define X24P000MHZ)" +
                       (channels ? "; channels read as the range's low end" : ""));
}

Checked<ToolState> OpenAsTool(Context& ctx, const std::string& file, const std::string& modelName,
                              const std::string& modelOption, bool crystalHandled) {
  std::optional<ModelRef> model;
  if (!modelName.empty()) model = FindModel(modelName);
  const Checked<std::string> text = ReadInputOf(ctx, file, msg::kOpenHeaderFailed);
  if (!text) return text.failure();
  const FileContent content = ClassifyFile(*text);
  const HeaderReadResult& read = content.read;
  if (const auto refusal = NotAHeader(content)) return Refusal(DisplayName(file) + ": " + *refusal);
  const int lines = read.wordLines;
  std::optional<ToolState> opened;
  if (model) {
    const std::string given = model->profile->models[static_cast<std::size_t>(model->index)].name;
    // Reading a transmitter image as a receiver's (or the reverse) would rewrite it as one.
    for (const ToolProfile* other : AllProfiles()) {
      if (other->family == model->profile->family) continue;
      if (const ChipModel* declared = DeclaredModel(*other, *text)) {
        return Refusal(DisplayName(file) + ": the file declares " + declared->name + ", a " +
                       FamilyName(other->family) + " model; " + modelOption + " " + given + " is a " +
                       FamilyName(model->profile->family) + " model");
      }
    }
    ToolState state(*model->profile, ctx.programDir);
    state.inputLimits = ctx.input;
    const Report selected = state.SelectChipModel(model->index);
    if (!selected.ok) return Refusal(selected, Utf8FromPath(state.DefaultImagePath(model->index)));
    state.OpenHeaderText(file, *text);
    // The file's declaration selects its model, as Open does after a radio click.
    if (state.chipModel != model->index)
      if (Checked<> warned =
              Warn(ctx, DisplayName(file) + ": the file declares " + state.selectedModel()->name +
                            "; it is read as " + state.selectedModel()->name + ", not as " + modelOption +
                            " " + given);
          !warned)
        return warned.failure();
    opened = std::move(state);
  } else {
    // Without --model the declaration line names the model, and with it the tool.
    for (const ToolProfile* profile : AllProfiles()) {
      ToolState state(*profile, ctx.programDir);
      state.inputLimits = ctx.input;
      state.OpenHeaderText(file, *text);
      if (state.modelSelected()) {
        opened = std::move(state);
        break;
      }
    }
    if (!opened)
      return Refusal(DisplayName(file) + ": the file declares no chip model; name one with " + modelOption +
                     " M");
  }
  if (Checked<> warned = WarnAboutHeader(ctx, file, read, opened->crystalKHz <= 0 && !crystalHandled, true);
      !warned)
    return warned.failure();
  // With --model the default image's crystal stands in for a missing line, as in the windows.
  if (!read.crystalSeen && opened->crystalKHz > 0 && !crystalHandled)
    if (Checked<> warned = Warn(ctx, DisplayName(file) + ": no crystal line; the crystal is " +
                                         std::to_string(opened->crystalKHz) + " kHz from " +
                                         opened->selectedModel()->name + "'s default image");
        !warned)
      return warned.failure();
  if (lines != kEepromSize) {
    const std::string as =
        model ? std::string(model->profile->models[static_cast<std::size_t>(model->index)].name) +
                    "'s default image holds them"
              : "0x0000";
    if (Checked<> warned = Warn(ctx, WordCountWarning(DisplayName(file), lines, as)); !warned)
      return warned.failure();
  }
  return std::move(*opened);
}

}  // namespace lx::cli
