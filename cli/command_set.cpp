// set: read a header as File > Open does and write it as File > Save does.
#include "cli/command.h"

namespace lx::cli {

void AddSetCommand(Commands& commands) {
  Context& ctx = commands.ctx();
  auto file = std::make_shared<std::string>();
  auto model = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  CLI::App* sub = commands.add("set", "Read a header as Open does and save it as Save does", [&ctx, file, model, out] {
    ModelRef m;
    if (!model->empty()) {
      m = ParseModel(*model);
      if (!m) return Fail(ctx, "unknown chip model '" + *model + "' (one of " + ModelNames() + ")");
    }
    std::optional<ToolState> state = OpenAsTool(ctx, *file, m);
    if (!state) return kFailed;
    return SaveTo(ctx, *state, out->empty() ? *file : *out);
  });
  sub->add_option("FILE", *file, "Header file")->required();
  sub->add_option("--model", *model, "Select this model before reading (for files without a model line)");
  sub->add_option("-o,--output", *out, "Output header (default: replace FILE), - for standard output");
}

}  // namespace lx::cli
