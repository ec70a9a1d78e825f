// set: read a header as File > Open does, apply KEY=VALUE assignments as the owning dialogs'
// OK would, and write it as File > Save does.
#include "cli/command.h"
#include "settings/image_settings.h"

namespace lx::cli {

using namespace lx::settings;

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
  sub->add_option("FILE", *file, "Header file")->required();
  sub->add_option("ASSIGNMENTS", *assignments, "KEY=VALUE: a setting as 'lxcfg show' names it");
  sub->add_option("--model", *model, "Select this model before reading (for files without a model line)");
  sub->add_option("-o,--output", *out, "Output header (default: replace FILE), - for standard output");
}

}  // namespace lx::cli
