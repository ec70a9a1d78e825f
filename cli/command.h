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
};

class Commands {
 public:
  Commands(CLI::App& app, Context& ctx) : app_(app), ctx_(ctx) {}
  CLI::App& app() { return app_; }
  Context& ctx() { return ctx_; }

  // Adds a subcommand whose action runs when it is chosen.
  CLI::App* add(const std::string& name, const std::string& help, std::function<int()> action);
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

// Reads a header as File > Open does. With a model name given the model is selected first (its
// default image loaded) as a radio click would; with an empty name the file's tag decides the
// family. Returns nullopt after reporting a failure.
std::optional<ToolState> OpenAsTool(Context& ctx, const std::string& file, const std::string& modelName);

// Writes the image as File > Save does, to `out` ("-" is standard output).
int SaveTo(Context& ctx, ToolState& state, const std::string& out);

void AddBasicCommands(Commands& commands);
void AddSetCommand(Commands& commands);
void AddSettingsCommands(Commands& commands);
void AddFieldsCommand(Commands& commands);

}  // namespace lx::cli
