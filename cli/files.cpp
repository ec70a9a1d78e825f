#include "cli/files.h"

#include <algorithm>

#include "cli/report.h"
#include "core/atomic_file.h"
#include "core/file_kind.h"
#include "core/header_format.h"
#include "core/messages.h"
#include "core/path_text.h"

namespace lx::cli {

std::string DisplayName(const std::string& file) { return file == "-" ? "standard input" : file; }

Checked<> RefuseTwoStandardInputs(const std::vector<std::string>& files) {
  if (std::count(files.begin(), files.end(), "-") < 2) return {};
  return Mistake("standard input can be read only once; name one of the files");
}

Checked<> RefuseOutputOverInput(const std::string& out, const std::vector<std::string>& inputs,
                                const std::string& hint) {
  if (out == "-") return {};  // standard output: a file the shell opened, not ours to judge
  const std::filesystem::path target = PathFromUtf8(out);
  for (const std::string& in : inputs) {
    if (in.empty()) continue;
    if (in == "-" ? SameRegularFileAsStandardInput(target) : SameRegularFile(target, PathFromUtf8(in)))
      return Refusal(out +
                     (in == out ? std::string(": the output is also the input")
                                : ": the output is the same file as " + DisplayName(in) + ", an input") +
                     "; nothing written (" + hint + ")");
  }
  return {};
}

std::string DefaultImageOf(const Context& ctx, const std::string& modelName) {
  const ModelRef m = FindModel(modelName);
  if (!m) return {};
  return Utf8FromPath(ToolState(*m.profile, ctx.programDir).DefaultImagePath(m.index));
}

Checked<std::string> ReadInputOf(const Context& ctx, const std::string& file, const char* cannotOpen,
                                 std::optional<std::size_t> truncateAt) {
  InputLimits limits = ctx.input;
  if (truncateAt) {
    limits.maxBytes = *truncateAt;
    limits.truncate = true;
  }
  const bool standardInput = file == "-";
  const std::string name = DisplayName(file);
  if (standardInput ? StandardInputIsStandardOutput() : SameRegularFileAsStandardOutput(PathFromUtf8(file))) {
    std::error_code ec;
    const bool emptied = !standardInput && std::filesystem::is_empty(PathFromUtf8(file), ec) && !ec;
    return Refusal(name +
                   ": standard output is this input file; nothing written (send the output to another file" +
                   (emptied ? std::string("; the shell's > has emptied it already)") : std::string(")")));
  }
  InputRead read = standardInput ? ReadInputFrom(0, limits) : ReadInput(PathFromUtf8(file), limits);
  if (read.ok() && read->empty())
    return Refusal(name + ": " +
                   WithWindowText("empty (0 bytes)",
                                  std::string_view(cannotOpen) == msg::kOpenBinFailed ? msg::kBinError : ""));
  if (read.ok()) return std::move(read).value();
  const bool unopened = read.kind() == InputError::CannotOpen || read.kind() == InputError::Folder;
  return Refusal(name + ": " +
                 WithWindowText(unopened ? "cannot open: " + read.message() : read.message(), cannotOpen));
}

namespace {

// What an existing file holds, judged from its first bytes: a header with word lines, or a binary
// image (as the file-kind check says, or one long run without line ends, as printable words make).
enum class Held { NothingOfOurs, Header, Binary };

Held WhatFileHolds(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return Held::NothingOfOurs;
  constexpr std::size_t kLook = std::size_t{64} * 1024;
  const InputRead read = ReadInput(path, {kLook, true, 0});
  if (!read.ok() || read->empty()) return Held::NothingOfOurs;
  const FileContent content = ClassifyFile(*read);
  if (content.isBinary()) return Held::Binary;
  if (content.hasWords()) return Held::Header;
  if (read->size() >= 2 && read->find('\n') == std::string::npos) return Held::Binary;
  return Held::NothingOfOurs;
}

// The model whose default image in Data/ `target` is (that file, a link to it, or its name when
// it is missing), or nullptr.
const ChipModel* DefaultImageAt(const Context& ctx, const std::filesystem::path& target,
                                bool standardOutput) {
  std::error_code ec;
  const std::filesystem::path name = std::filesystem::weakly_canonical(target, ec);
  for (const ToolProfile* p : AllProfiles()) {
    const ToolState tool(*p, ctx.programDir);
    for (int i = 0; i < p->modelCount(); ++i) {
      const std::filesystem::path image = tool.DefaultImagePath(i);
      const bool same = standardOutput
                            ? SameRegularFileAsStandardOutput(image)
                            : SameRegularFile(target, image) ||
                                  (!ec && std::filesystem::weakly_canonical(image, ec) == name && !ec);
      if (same) return &p->models[i];
    }
  }
  return nullptr;
}

// The refusals every written output gets, before a byte is written.
Checked<> CheckOutput(const Context& ctx, const std::string& out, OutputKind kind) {
  const bool standardOutput = out == "-";
  const std::filesystem::path target = standardOutput ? std::filesystem::path() : PathFromUtf8(out);
  if (const ChipModel* model = DefaultImageAt(ctx, target, standardOutput))
    return Refusal((standardOutput ? std::string("standard output") : out) + ": the output is " +
                   model->name +
                   "'s default image; nothing written (the images in Data/ are what every model starts from; "
                   "name another file)");
  if (standardOutput || ctx.force) return {};
  const Held held = WhatFileHolds(target);
  if (kind == OutputKind::Binary && held == Held::Header)
    return Refusal(out +
                   ": holds an EEPROM header, not a binary image; nothing written (name another file, or "
                   "give --force to replace it)");
  if (kind == OutputKind::Picture && held != Held::NothingOfOurs)
    return Refusal(out + ": holds " + (held == Held::Header ? "an EEPROM header" : "a binary image") +
                   ", not a picture; nothing written (name another file, or give --force to replace it)");
  if (kind == OutputKind::Text && held == Held::Binary)
    return Refusal(out +
                   ": holds a binary image, not an EEPROM header; nothing written (name another file, or "
                   "give --force to replace it)");
  return {};
}

}  // namespace

int WriteOutput(Context& ctx, const std::string& out, const std::string& bytes, OutputKind kind,
                const char* failText) {
  if (const Checked<> checked = CheckOutput(ctx, out, kind); !checked) return Fail(ctx, checked);
  if (out == "-") {
    // A failure is reported once, when run() checks standard output at the end.
    ctx.out << bytes;
    return ctx.out ? kOk : kFailed;
  }
  // The system's reason names what went wrong; the window's text says what was being done.
  if (const FileWrite written = WriteFileAtomically(PathFromUtf8(out), bytes); !written)
    return Fail(ctx,
                out + ": " +
                    WithWindowText(written.message().empty() ? "cannot write" : written.message(), failText));
  return kOk;
}

Checked<std::string> ResolveOutput(const Context& ctx, const OutputRequest& request) {
  const std::string& positional = request.positional;
  const std::string& option = request.option;
  if (!positional.empty() && !option.empty() && positional != option)
    return Mistake("the output is named twice, as OUT (" + positional + ") and with -o (" + option +
                   "); give one");
  const std::string given = positional.empty() ? option : positional;
  const std::string out = given.empty() ? "-" : given;
  // Text asked for with "-" may go to the terminal; a left-out OUT never lands there (nor in a
  // default file of the working folder).
  if (out == "-" && ctx.outputIsTerminal) {
    if (request.kind == OutputKind::Binary)
      return Mistake("standard output is a terminal: binary goes to a file (OUT.bin) or through a pipe");
    if (given.empty())
      return Mistake(
          "standard output is a terminal: name the output file (for example EEPROM.h) or pipe the output");
  }
  if (Checked<> refused = RefuseOutputOverInput(out, request.inputs, request.hint); !refused)
    return refused.failure();
  return out;
}

int SaveTo(Context& ctx, ToolState& state, const std::string& out) {
  if (out == "-") {
    const ChipModel* model = state.selectedModel();
    if (!model) return Fail(ctx, Report::Failed(Outcome::NoChipModel), {});
    return WriteOutput(ctx, out, WriteHeaderText(*model, state.crystalKHz, state.words), OutputKind::Text,
                       msg::kSaveFailed);
  }
  if (const Checked<> checked = CheckOutput(ctx, out, OutputKind::Text); !checked) return Fail(ctx, checked);
  const Report saved = state.SaveHeader(out);
  if (!saved.ok) return Fail(ctx, saved, {}, out);
  return kOk;
}

}  // namespace lx::cli
