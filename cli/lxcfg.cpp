#include "cli/lxcfg.h"

#include <cstring>
#include <memory>

#include "cli/command.h"
#include "cli/parser_messages.h"
#include "cli/watched_output.h"
#include "core/text.h"

namespace lx::cli {

namespace {

// The parser: the application and its commands, all of them or only the one named.
struct Parser {
  Parser(Context& ctx, const std::string& only)
      : app("lxcfg: EEPROM images of the LX7240, LX7250, LX7240D and LX7250D transmitter and the LX7140, "
            "LX7150 and LXM7140 receiver chips",
            "lxcfg"),
        commands(app, ctx, only) {
    app.require_subcommand(1);
    // Options are -x and --name on every platform: on Windows a file name may begin with '/' too.
    app.allow_windows_style_options(false);
    app.set_help_all_flag("--help-all", "Every command's help");
    app.set_version_flag("--version", "lxcfg " LX_VERSION);
    app.footer(
        "File names: - is standard input or output; pipes and devices are read once, up to 64 MiB.\n"
        "No command writes its output over one of its inputs; set FILE without -o changes FILE in place.\n"
        "Exit status: 0 done; 1 a file's content, a file that cannot be read or written, or a refusal\n"
        "to write (one line per problem on standard error); 2 a mistake on the command line: an unknown\n"
        "command, option or key, a missing or extra argument, or a value that cannot be used (the lines,\n"
        "then the command's synopsis). diff, plan, pair and verify also answer 1 for different files,\n"
        "conflicts, mismatches and a dump that differs. --strict makes every warning a refusal.");
    AddBasicCommands(commands);
    AddSetCommand(commands);
    AddSettingsCommands(commands);
    AddFieldsCommand(commands);
    AddVerifyCommand(commands);
  }
  CLI::App app;
  Commands commands;
};

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::filesystem::path& programDir, bool outputIsTerminal) {
  Context ctx{out, err, programDir};
  ctx.outputIsTerminal = outputIsTerminal;
  // Only the command that runs is set up; anything else (no command, an unknown one, top-level
  // help) sets up all of them.
  const std::string named = !args.empty() && !args[0].starts_with("-") ? args[0] : std::string();
  auto parser = std::make_unique<Parser>(ctx, named);
  if (!named.empty() && !parser->commands.has(named)) parser = std::make_unique<Parser>(ctx, std::string());
  CLI::App& app = parser->app;
  Commands& commands = parser->commands;

  // CLI11 would only say that a subcommand is required.
  if (!args.empty() && !args[0].starts_with("-") && !commands.has(args[0])) {
    const std::string guess = Nearest(args[0], commands.nameList());
    err << "lxcfg: unknown command '" << args[0] << "' (one of " << commands.names() << ")"
        << (guess.empty() ? "" : "; did you mean '" + guess + "'?") << "\n"
        << "Run with --help for more information.\n";
    return kUsage;
  }

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e, out, err) == 0 ? kOk : kUsage;
    const std::string command = !args.empty() && commands.has(args[0]) ? args[0] : std::string();
    std::vector<std::string> options;
    if (!command.empty())
      for (const CLI::Option* o : app.get_subcommand(command)->get_options())
        for (const std::string& name : o->get_lnames()) options.push_back("--" + name);
    err << "lxcfg: " << PlainUsage(e, command, options, commands.names()) << '\n';
    if (!command.empty())
      err << "Usage: " << commands.synopsis(command) << "\nRun 'lxcfg " << command << " --help' for more.\n";
    else
      err << "Run with --help for more information.\n";
    return kUsage;
  }
  return commands.RunChosen().value_or(kUsage);
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const std::filesystem::path& programDir, bool outputIsTerminal) {
  WatchedOutput watch(out.rdbuf());
  std::ostream watched(&watch);
  const int status = RunCommand(args, watched, err, programDir, outputIsTerminal);
  watched.flush();
  if (!watch.failed() && out.flush()) return status;
  const int reason = watch.reason();
  err << "lxcfg: standard output: cannot write"
      << (reason ? std::string(": ") + std::strerror(reason) : std::string()) << '\n';
  return status == kOk ? kFailed : status;
}

}  // namespace lx::cli
