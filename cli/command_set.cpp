// set: read a header as File > Open does, apply KEY=VALUE assignments as the owning dialogs'
// OK would, and write it as File > Save does.
#include "cli/command.h"
#include "settings/channel_rules.h"
#include "settings/image_settings.h"

namespace lx::cli {

using namespace lx::settings;

namespace {

// Every key `set` takes, by family, with its valid values.
std::string SetKeysHelp() {
  std::string help =
      "Keys (values without regard to case):\n  both families: crystal=K (kHz, " +
      std::to_string(kCrystalStorableLowKHz) + ".." + std::to_string(kCrystalStorableHighKHz) +
      "; outside 23000..25000 with a warning), channel.0..channel.15=K (kHz, the model's range)\n";
  for (const Family family : {Family::Transmitter, Family::Receiver}) {
    help += family == Family::Transmitter ? "  transmitters:\n" : "  receivers:\n";
    for (const RegisterField& f : RegisterFields(family)) {
      help += "    " + std::string(f.name) + "=" + ValidValues(f);
      if (f.txIdModelsOnly) help += " (LX7240D, LX7250D)";
      help += "\n";
    }
  }
  return help;
}

}  // namespace

void AddSetCommand(Commands& commands) {
  Context& ctx = commands.ctx();
  auto file = std::make_shared<std::string>();
  auto model = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  auto assignments = std::make_shared<std::vector<std::string>>();
  CLI::App* sub = commands.add(
      "set", "Read a header as Open does, change settings (KEY=VALUE) and save it as Save does",
      [&ctx, file, model, out, assignments] {
        std::optional<ToolState> state = OpenAsTool(ctx, *file, *model);
        if (!state) return kFailed;
        const AssignResult applied = ApplyAssignments(*state, *assignments);
        // Nothing is written when any assignment is refused.
        for (const std::string& e : applied.errors) ctx.err << e << '\n';
        if (!applied.errors.empty()) return kFailed;
        for (const std::string& w : applied.warnings) ctx.err << "warning: " << w << '\n';
        return SaveTo(ctx, *state, out->empty() ? *file : *out);
      });
  sub->add_option("FILE", *file, "Header file (- for standard input: the output goes to standard output)")
      ->required()->check(kFileName);
  sub->add_option("ASSIGNMENTS", *assignments, "KEY=VALUE: a setting as 'lxcfg show' names it");
  sub->add_option("--model", *model, "Select this model before reading (for files without a model line)");
  sub->add_option("-o,--output", *out, "Output header (default: replace FILE), - for standard output")->check(kFileName);
  sub->footer(SetKeysHelp());
}

}  // namespace lx::cli
