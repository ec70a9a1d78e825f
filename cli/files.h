#pragma once
// lxcfg's inputs and outputs: reading an input once, choosing and checking an output, and
// writing it without ever losing the file it replaces.
#include <optional>
#include <string>
#include <vector>

#include "cli/context.h"
#include "cli/report.h"
#include "core/state.h"

namespace lx::cli {

// Refuses an output that is the same file as one of `inputs` ("-": standard input), whatever
// links lead to it; `hint` says what to do instead.
Checked<> RefuseOutputOverInput(const std::string& out, const std::vector<std::string>& inputs,
                                const std::string& hint);
// The default image `--model M` reads first (empty without a model), an input like any other.
std::string DefaultImageOf(const Context& ctx, const std::string& modelName);

// "standard input" for "-", else the file name: how messages name an input.
std::string DisplayName(const std::string& file);
// A usage error when more than one of `files` is "-".
Checked<> RefuseTwoStandardInputs(const std::vector<std::string>& files);

// The whole input `file` ("-": standard input), read once within ctx.input (limits.maxBytes and
// truncate as given). A failure is led by the file name: `cannotOpen` when the file cannot be
// opened, otherwise what stopped the reading. Refused too: an empty input, and a file that is
// also standard output (">> IN" would append to it).
Checked<std::string> ReadInputOf(const Context& ctx, const std::string& file, const char* cannotOpen,
                                 std::optional<std::size_t> truncateAt = std::nullopt);

// What an output holds: a header, a binary image, or a picture (which replaces neither).
enum class OutputKind { Text, Binary, Picture };

// `bytes` (a header or a binary image, as `kind` says) to the file `out` ("-": standard output),
// replacing it atomically. Refused first: a default image in Data/, and without --force an
// existing file holding the other kind. A failure is reported as `out: the system's reason —
// failText`.
int WriteOutput(Context& ctx, const std::string& out, const std::string& bytes, OutputKind kind,
                const char* failText);

// Where a command writes, as its command line says: OUT given as the positional or with -o
// (not both, unless they agree), "-" (standard output) when it was left out, unless standard
// output is a terminal, where a file must be named (binary output never goes to a terminal),
// and never one of `inputs` (RefuseOutputOverInput, with `hint`).
struct OutputRequest {
  std::string positional, option;
  OutputKind kind = OutputKind::Text;
  std::vector<std::string> inputs;
  std::string hint;
};
Checked<std::string> ResolveOutput(const Context& ctx, const OutputRequest& request);

// Writes the image as File > Save does, to `out` ("-" is standard output).
int SaveTo(Context& ctx, ToolState& state, const std::string& out);

}  // namespace lx::cli
