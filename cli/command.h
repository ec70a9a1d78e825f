#pragma once
// How lxcfg's commands are put together: each command module adds its subcommands to the
// application and registers the action that runs when that subcommand was chosen.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "core/input_file.h"
#include "core/profile.h"
#include "core/state.h"
#include "core/text.h"

namespace lx::cli {

inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

struct Context {
  std::ostream& out;
  std::ostream& err;
  std::filesystem::path programDir;
  // Inputs: at most 64 MiB; a pipe may stay silent for a minute (a build step still working).
  InputLimits input{kMaxInputBytes, false, 60000};
};

// File names on the command line: "-" is standard input or output; an empty name is a usage error.
extern const CLI::Validator kFileName;

class Commands {
 public:
  Commands(CLI::App& app, Context& ctx) : app_(app), ctx_(ctx) {}
  CLI::App& app() { return app_; }
  Context& ctx() { return ctx_; }

  // Adds a subcommand whose action runs when it is chosen.
  CLI::App* add(const std::string& name, const std::string& help, std::function<int()> action);
  bool has(const std::string& name) const;
  std::string names() const;  // "encode, decode, ..."
  // The action of the chosen subcommand, if any.
  std::optional<int> runChosen();

 private:
  CLI::App& app_;
  Context& ctx_;
  std::vector<std::pair<CLI::App*, std::function<int()>>> actions_;
};

// A failure: one line on standard error, status 1.
int Fail(Context& ctx, const std::string& line);
// A failed operation: the file its outcome is about (`input` or `output`), then the system's
// reason where there is one ("out.h: cannot write: No space left on device"), else the text the
// windows show for it.
int Fail(Context& ctx, const Report& report, const std::string& input, const std::string& output = {});

// --model M: a catalogue name of either tool; the name picks the tool family. An unknown name
// is reported and gives nullopt.
std::optional<ModelRef> RequireModel(Context& ctx, const std::string& name);
std::string ModelNames();

// A tool state for the model's family, in the program's folder, with the model chosen but no
// default image loaded.
ToolState StateFor(const Context& ctx, ModelRef model);

// "standard input" for "-", else the file name: how messages name an input.
std::string DisplayName(const std::string& file);
// Usage error (status 2, reported) when more than one of `files` is "-"; else kOk.
int RefuseTwoStandardInputs(Context& ctx, const std::vector<std::string>& files);

// The whole input `file` ("-": standard input), read once within ctx.input (limits.maxBytes and
// truncate as given). A failure is reported, led by the file name: `cannotOpen` when the file
// cannot be opened, otherwise what stopped the reading.
std::optional<std::string> ReadInputOf(Context& ctx, const std::string& file, const char* cannotOpen,
                                       std::optional<std::size_t> truncateAt = std::nullopt);

// `bytes` to the file `out` ("-": standard output), replacing it atomically. A failure is
// reported as `out: failText`.
int WriteOutput(Context& ctx, const std::string& out, const std::string& bytes, const char* failText);

// Reads a header as File > Open does. With a model name given the model is selected first (its
// default image loaded) as a radio click would, and refused when the file declares a model of
// the other family; with an empty name the file's tag decides the family. The file is read
// once ("-": standard input). Returns nullopt after reporting a failure.
std::optional<ToolState> OpenAsTool(Context& ctx, const std::string& file, const std::string& modelName);

// Writes the image as File > Save does, to `out` ("-" is standard output).
int SaveTo(Context& ctx, ToolState& state, const std::string& out);

void AddBasicCommands(Commands& commands);
void AddSetCommand(Commands& commands);
void AddSettingsCommands(Commands& commands);
void AddFieldsCommand(Commands& commands);

}  // namespace lx::cli
