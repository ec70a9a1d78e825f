// set: read a header as File > Open does, apply KEY=VALUE assignments as the owning dialogs'
// OK would, and write it as File > Save does.
#include <algorithm>

#include "channel/channel_rules.h"
#include "cli/command.h"
#include "core/atomic_file.h"
#include "settings/image_settings.h"

namespace lx::cli {

using namespace lx::settings;

namespace {

// Every key `set` takes, by family, with its valid values.
std::string SetKeysHelp() {
  std::string help =
      "Keys (values without regard to case; numbers decimal or 0x hexadecimal):\n  both families: crystal=K "
      "(kHz, " +
      std::to_string(kCrystalStorableLowKHz) + ".." + std::to_string(kCrystalStorableHighKHz) +
      "; outside 23000..25000 with a warning), channel.0..channel.15=K (kHz, the model's range),\n"
      "    channels=K,K,... (up to 16, from channel.0 in order)\n";
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
  if (!commands.wants("set")) return;
  Context& ctx = commands.ctx();
  auto file = std::make_shared<std::string>();
  auto model = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  auto assignments = std::make_shared<std::vector<std::string>>();
  CLI::App* sub = commands.Add(
      "set", "Read a header as Open does, change settings (KEY=VALUE) and save it as Save does",
      "set FILE [--model M] [KEY=VALUE...] [-o OUT]", [&ctx, file, model, out, assignments] {
        // Without -o the file is changed in place, as intended; an OUT naming an input is a slip.
        if (!out->empty())
          if (const Checked<std::string> resolved =
                  ResolveOutput(ctx, {{},
                                      *out,
                                      OutputKind::Text,
                                      {*file, DefaultImageOf(ctx, *model)},
                                      *file == "-" ? std::string("name another output")
                                                   : "leave out -o to change " + *file + " in place"});
              !resolved)
            return Fail(ctx, resolved);
        // Another set (or a window's Save) must not replace the file between our reading and
        // our replacing it, or one of the two changes would be lost.
        const std::string& target = out->empty() ? *file : *out;
        std::optional<FolderLock> lock;
        if (target != "-") lock.emplace(target);
        if (lock)
          if (const FileWrite held = lock->held(); !held) return Fail(ctx, target + ": " + held.message());
        const bool crystalHandled =
            std::any_of(assignments->begin(), assignments->end(),
                        [](const std::string& a) { return ToLower(a.substr(0, a.find('='))) == "crystal"; });
        Checked<ToolState> state = OpenAsTool(ctx, *file, *model, "--model", crystalHandled);
        if (!state) return Fail(ctx, state);
        const AssignResult applied = ApplyAssignments(*state, *assignments);
        // Nothing is written when any assignment is refused. A mistyped key or value is a mistake
        // on the command line; channels for an image without a crystal are the image's.
        if (applied.errors.size() == 1 && applied.lacksCrystal) return Fail(ctx, applied.errors.front());
        if (!applied.errors.empty()) return UsageLines(ctx, applied.errors);
        for (const std::string& w : applied.warnings)
          if (Checked<> warned = Warn(ctx, w); !warned) return Fail(ctx, warned);
        return SaveTo(ctx, *state, target);
      });
  sub->add_option("FILE", *file, "Header file (- for standard input: the output goes to standard output)")
      ->required()->check(kFileName);
  sub->add_option("ASSIGNMENTS", *assignments, "KEY=VALUE: a setting as 'lxcfg show' names it");
  sub->add_option("--model", *model, "Select this model before reading (for files without a model line)")
      ->check(kModelName);
  sub->add_option("-o,--output", *out, "Output header (default: replace FILE), - for standard output")->check(kFileName);
  AddForce(sub, ctx);
  sub->footer(Examples({"lxcfg set rx.h volume=20 expander=on",
                        "lxcfg set tx.h crystal=0x5dc0 channels=606000,610000,614000 -o tx2.h"},
                       SetKeysHelp()));
}

}  // namespace lx::cli
