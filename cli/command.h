#pragma once
// How lxcfg's commands are put together: each command module adds its subcommands to the
// application and registers the action that runs when that subcommand was chosen.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/header_format.h"
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
  // Standard output is a terminal: binary is never written there, and a command whose output
  // file defaults to standard output asks for -o instead.
  bool outputIsTerminal = false;
  // --strict: every warning refuses the command instead (status 1, nothing written).
  bool strict = false;
  // --force: an existing output holding the other kind of file (a header where a binary image
  // goes, or the reverse) is replaced all the same.
  bool force = false;
  // The running command and its synopsis, shown with every usage error.
  std::string command{}, synopsis{};
};

// File names on the command line: "-" is standard input or output; an empty name is a usage error.
extern const CLI::Validator kFileName;
// Numbers of options: decimal or 0x hexadecimal, as everywhere in lxcfg (CLI11 alone would read
// "010" as octal). Rewrites the text as decimal for the option's conversion.
extern const CLI::Validator kNumber;
// --model: a catalogue name of either tool, without regard to case.
extern const CLI::Validator kModelName;
// --xtal: a number the header's crystal line holds (the rule `set crystal=K` follows).
extern const CLI::Validator kCrystal;

// A subcommand's help footer: "Examples:" and each command line on its own line. The tests run
// every one of them.
std::string Examples(std::initializer_list<const char*> lines, const std::string& more = {});

class Commands {
 public:
  // only: the one command to set up (the one that runs), or empty for all of them (help, and
  // the messages that list the commands).
  Commands(CLI::App& app, Context& ctx, std::string only = {})
      : app_(app), ctx_(ctx), only_(std::move(only)) {}
  CLI::App& app() { return app_; }
  Context& ctx() { return ctx_; }
  // Whether the command `name` is to be set up: building every command's options costs more
  // than running one.
  bool wants(const std::string& name) const { return only_.empty() || only_ == name; }

  // Adds a subcommand whose action runs when it is chosen. `synopsis` is its command line in
  // brief ("diff A.h B.h [--json]"), shown with usage errors. Every subcommand takes --strict.
  CLI::App* add(const std::string& name, const std::string& help, const std::string& synopsis,
                std::function<int()> action);
  bool has(const std::string& name) const;
  std::string names() const;  // "encode, decode, ..."
  std::vector<std::string> nameList() const;
  std::string synopsis(const std::string& name) const;
  // The action of the chosen subcommand, if any.
  std::optional<int> runChosen();

 private:
  CLI::App& app_;
  Context& ctx_;
  std::string only_;
  struct Entry {
    CLI::App* sub;
    std::string synopsis;
    std::function<int()> action;
  };
  std::vector<Entry> actions_;
};

// A failure: one line on standard error, led by "lxcfg: ", status 1.
int Fail(Context& ctx, const std::string& line);
// A usage error: one line on standard error, led by "lxcfg: ", then the running command's
// synopsis; status 2. UsageLines gives several lines before one synopsis.
int Usage(Context& ctx, const std::string& line);
int UsageLines(Context& ctx, const std::vector<std::string>& lines);
// --force on a command that writes a file.
void AddForce(CLI::App* sub, Context& ctx);
// A warning: "lxcfg: warning: " and the line on standard error; true, the command goes on.
// With --strict it is a refusal instead ("lxcfg: " and the line, "; refused (--strict)"): false,
// the command stops with status 1 before writing anything.
[[nodiscard]] bool Warn(Context& ctx, const std::string& line);
// An English text carrying the window's Chinese text after a dash, where there is one:
// "cannot write: Permission denied — 保存文件失败!".
std::string WithWindowText(const std::string& english, std::string_view windowText);
// A failed operation: the file its outcome is about (`input` or `output`), then the system's
// reason where there is one ("out.h: cannot write: No space left on device"), else the text the
// windows show for it.
int Fail(Context& ctx, const Report& report, const std::string& input, const std::string& output = {});

std::string ModelNames();
// "unknown chip model 'LX7350' (one of LX7240, ...; did you mean LX7250?)"
std::string UnknownModel(const std::string& name);

// Refuses (status 1, reported) an output that is the same file as one of `inputs` ("-":
// standard input), whatever links lead to it; `hint` says what to do instead. kOk otherwise.
int RefuseOutputOverInput(Context& ctx, const std::string& out, const std::vector<std::string>& inputs,
                          const std::string& hint);
// The default image `--model M` reads first (empty without a model), an input like any other.
std::string DefaultImageOf(const Context& ctx, const std::string& modelName);
// OUT given as the positional or with -o: the one given, or nullopt after a usage error when
// both name different files.
std::optional<std::string> OneOutput(Context& ctx, const std::string& positional, const std::string& option);

// "standard input" for "-", else the file name: how messages name an input.
std::string DisplayName(const std::string& file);
// Usage error (status 2, reported) when more than one of `files` is "-"; else kOk.
int RefuseTwoStandardInputs(Context& ctx, const std::vector<std::string>& files);

// The whole input `file` ("-": standard input), read once within ctx.input (limits.maxBytes and
// truncate as given). A failure is reported, led by the file name: `cannotOpen` when the file
// cannot be opened, otherwise what stopped the reading. Refused too: an empty input, and a file
// that is also standard output (">> IN" would append to it).
std::optional<std::string> ReadInputOf(Context& ctx, const std::string& file, const char* cannotOpen,
                                       std::optional<std::size_t> truncateAt = std::nullopt);

// What an output holds: a header, a binary image, or a picture (which replaces neither).
enum class OutputKind { Text, Binary, Picture };

// `bytes` (a header or a binary image, as `kind` says) to the file `out` ("-": standard output),
// replacing it atomically. Refused first: a default image in Data/, and without --force an
// existing file holding the other kind. A failure is reported as `out: the system's reason —
// failText`.
int WriteOutput(Context& ctx, const std::string& out, const std::string& bytes, OutputKind kind,
                const char* failText);

// The output of a command whose OUT may be left out: "-" (standard output) when it was, unless
// standard output is a terminal, where a file must be named. Binary output never goes to a
// terminal. nullopt after reporting a usage error.
std::optional<std::string> ChooseOutput(Context& ctx, const std::string& given, OutputKind kind);

// Warnings about a header as read (`read`: ReadHeaderLines of its text): word lines that hold a
// cut number or no number, and, with `crystalMissing`, no crystal frequency. `channels`: the
// command reads channel frequencies from it. False when --strict refuses.
[[nodiscard]] bool WarnAboutHeader(Context& ctx, const std::string& file, const HeaderReadResult& read,
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
// read once ("-": standard input). Returns nullopt after reporting a failure. `modelOption` is the option
// that names the model, for messages ("--model", "--model-a").
// `crystalHandled`: the command sets the crystal itself or refuses an image without one, so a
// missing crystal line is not warned about.
std::optional<ToolState> OpenAsTool(Context& ctx, const std::string& file, const std::string& modelName,
                                    const std::string& modelOption = "--model", bool crystalHandled = false);

// Writes the image as File > Save does, to `out` ("-" is standard output).
int SaveTo(Context& ctx, ToolState& state, const std::string& out);

void AddBasicCommands(Commands& commands);
void AddSetCommand(Commands& commands);
void AddSettingsCommands(Commands& commands);
void AddFieldsCommand(Commands& commands);
void AddVerifyCommand(Commands& commands);

}  // namespace lx::cli
