#include "cli/lxcfg.h"

#include "cli/command.h"
#include "core/header_format.h"

namespace lx::cli {

CLI::App* Commands::add(const std::string& name, const std::string& help, std::function<int()> action) {
  CLI::App* sub = app_.add_subcommand(name, help);
  actions_.emplace_back(sub, std::move(action));
  return sub;
}

std::optional<int> Commands::runChosen() {
  for (auto& [sub, action] : actions_)
    if (sub->parsed()) return action();
  return std::nullopt;
}

int Fail(Context& ctx, const std::string& line) {
  ctx.err << line << '\n';
  return kFailed;
}

int Fail(Context& ctx, const Report& report, const std::string& input, const std::string& output) {
  const std::string what = report.reason.empty() ? report.message : report.reason;
  switch (SubjectOf(report.outcome)) {
    case Subject::Input:
      return Fail(ctx, input + ": " + what);
    case Subject::Output:
      return Fail(ctx, output + ": " + what);
    case Subject::None:
      break;
  }
  return Fail(ctx, what);
}

std::optional<ModelRef> RequireModel(Context& ctx, const std::string& name) {
  const ModelRef m = FindModel(name);
  if (!m) {
    Fail(ctx, "unknown chip model '" + name + "' (one of " + ModelNames() + ")");
    return std::nullopt;
  }
  return m;
}

std::string ModelNames() {
  std::string names;
  for (const ToolProfile* p : AllProfiles())
    for (const ChipModel& m : p->models) names += (names.empty() ? "" : ", ") + std::string(m.name);
  return names;
}

ToolState StateFor(const Context& ctx, ModelRef model) {
  ToolState state(*model.profile, ctx.programDir);
  state.chipModel = model.index;
  return state;
}

std::optional<ToolState> OpenAsTool(Context& ctx, const std::string& file, const std::string& modelName) {
  if (!modelName.empty()) {
    const std::optional<ModelRef> model = RequireModel(ctx, modelName);
    if (!model) return std::nullopt;
    ToolState state(*model->profile, ctx.programDir);
    const Report selected = state.SelectChipModel(model->index);
    if (!selected.ok) {
      Fail(ctx, selected, state.DefaultImagePath(model->index).string());
      return std::nullopt;
    }
    const Report opened = state.OpenHeader(file);
    if (!opened.ok) {
      Fail(ctx, opened, file);
      return std::nullopt;
    }
    return state;
  }
  // Without --model the declaration line names the model, and with it the tool.
  for (const ToolProfile* profile : AllProfiles()) {
    ToolState state(*profile, ctx.programDir);
    const Report opened = state.OpenHeader(file);
    if (!opened.ok) {
      Fail(ctx, opened, file);
      return std::nullopt;
    }
    if (state.modelSelected()) return state;
  }
  Fail(ctx, file + ": the file declares no chip model; name one with --model M");
  return std::nullopt;
}

int SaveTo(Context& ctx, ToolState& state, const std::string& out) {
  if (out == "-") {
    const ChipModel* model = state.selectedModel();
    if (!model) return Fail(ctx, Report::Failed(Outcome::NoChipModel), {});
    ctx.out << WriteHeaderText(*model, state.crystalKHz, state.words);
    return ctx.out ? kOk : kFailed;
  }
  const Report saved = state.SaveHeader(out);
  if (!saved.ok) return Fail(ctx, saved, {}, out);
  return kOk;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const std::filesystem::path& programDir) {
  Context ctx{out, err, programDir};
  CLI::App app{"lxcfg: EEPROM images of the LX7240/LX7250 transmitter and LX7140/LX7150/LXM7140 receiver chips",
               "lxcfg"};
  app.require_subcommand(1);
  app.set_help_all_flag("--help-all", "Every command's help");
  Commands commands(app, ctx);
  AddBasicCommands(commands);
  AddSetCommand(commands);
  AddSettingsCommands(commands);
  AddFieldsCommand(commands);

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err);
    return code == 0 ? kOk : kUsage;
  }
  return commands.runChosen().value_or(kUsage);
}

}  // namespace lx::cli
