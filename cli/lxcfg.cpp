#include "cli/lxcfg.h"

#include "cli/command.h"
#include "core/atomic_file.h"
#include "core/header_format.h"
#include "core/path_text.h"

namespace lx::cli {

CLI::App* Commands::add(const std::string& name, const std::string& help, std::function<int()> action) {
  CLI::App* sub = app_.add_subcommand(name, help);
  actions_.emplace_back(sub, std::move(action));
  return sub;
}

bool Commands::has(const std::string& name) const {
  return std::any_of(actions_.begin(), actions_.end(), [&](const auto& a) { return a.first->get_name() == name; });
}

std::string Commands::names() const {
  std::string list;
  for (const auto& a : actions_) list += (list.empty() ? "" : ", ") + a.first->get_name();
  return list;
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

const CLI::Validator kFileName(
    [](std::string& name) { return name.empty() ? std::string("a file name cannot be empty") : std::string(); }, "FILE");

std::string DisplayName(const std::string& file) { return file == "-" ? "standard input" : file; }

int RefuseTwoStandardInputs(Context& ctx, const std::vector<std::string>& files) {
  if (std::count(files.begin(), files.end(), "-") < 2) return kOk;
  ctx.err << "lxcfg: standard input can be read only once; name one of the files\n";
  return kUsage;
}

std::optional<std::string> ReadInputOf(Context& ctx, const std::string& file, const char* cannotOpen,
                                       std::optional<std::size_t> truncateAt) {
  InputLimits limits = ctx.input;
  if (truncateAt) {
    limits.maxBytes = *truncateAt;
    limits.truncate = true;
  }
  const bool standardInput = file == "-";
  InputRead read = standardInput ? ReadInputFrom(0, limits) : ReadInput(PathFromUtf8(file), limits);
  if (read.ok()) return std::move(read.bytes);
  const std::string name = DisplayName(file);
  const bool unopened = read.error == InputError::CannotOpen || read.error == InputError::Folder;
  Fail(ctx, name + ": " + (unopened ? "cannot open: " + read.reason : read.reason));
  return std::nullopt;
}

int WriteOutput(Context& ctx, const std::string& out, const std::string& bytes, const char* failText) {
  if (out == "-") {
    ctx.out << bytes;
    return ctx.out ? kOk : kFailed;
  }
  // The system's reason names what went wrong; the window's text says what was being done.
  std::string error;
  if (!WriteFileAtomically(PathFromUtf8(out), bytes, &error)) return Fail(ctx, out + ": " + (error.empty() ? failText : error));
  return kOk;
}

namespace {

const char* FamilyName(Family family) { return family == Family::Transmitter ? "transmitter" : "receiver"; }

// The model a header's declaration line names among `profile`'s models, or nullptr.
const ChipModel* DeclaredModel(const ToolProfile& profile, std::string_view text) {
  RegisterImage scratch{};
  int32_t crystal = 0;
  ViewStream in(text);
  const HeaderReadResult read = ReadHeaderLines(in, HeaderReadMode::Open, profile, scratch, crystal);
  return read.taggedModel >= 0 ? &profile.models[static_cast<std::size_t>(read.taggedModel)] : nullptr;
}

}  // namespace

std::optional<ToolState> OpenAsTool(Context& ctx, const std::string& file, const std::string& modelName) {
  std::optional<ModelRef> model;
  if (!modelName.empty() && !(model = RequireModel(ctx, modelName))) return std::nullopt;
  const std::optional<std::string> text = ReadInputOf(ctx, file, msg::kOpenHeaderFailed);
  if (!text) return std::nullopt;
  if (model) {
    // Reading a transmitter image as a receiver's (or the reverse) would rewrite it as one.
    for (const ToolProfile* other : AllProfiles()) {
      if (other->family == model->profile->family) continue;
      if (const ChipModel* declared = DeclaredModel(*other, *text)) {
        Fail(ctx, DisplayName(file) + ": the file declares " + declared->name + ", a " + FamilyName(other->family) +
                      " model; --model " + model->profile->models[static_cast<std::size_t>(model->index)].name +
                      " is a " + FamilyName(model->profile->family) + " model");
        return std::nullopt;
      }
    }
    ToolState state(*model->profile, ctx.programDir);
    state.inputLimits = ctx.input;
    const Report selected = state.SelectChipModel(model->index);
    if (!selected.ok) {
      Fail(ctx, selected, Utf8FromPath(state.DefaultImagePath(model->index)));
      return std::nullopt;
    }
    state.OpenHeaderText(file, *text);
    return state;
  }
  // Without --model the declaration line names the model, and with it the tool.
  for (const ToolProfile* profile : AllProfiles()) {
    ToolState state(*profile, ctx.programDir);
    state.inputLimits = ctx.input;
    state.OpenHeaderText(file, *text);
    if (state.modelSelected()) return state;
  }
  Fail(ctx, DisplayName(file) + ": the file declares no chip model; name one with --model M");
  return std::nullopt;
}

int SaveTo(Context& ctx, ToolState& state, const std::string& out) {
  if (out == "-") {
    const ChipModel* model = state.selectedModel();
    if (!model) return Fail(ctx, Report::Failed(Outcome::NoChipModel), {});
    return WriteOutput(ctx, out, WriteHeaderText(*model, state.crystalKHz, state.words), msg::kSaveFailed);
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
  // Options are -x and --name on every platform: on Windows a file name may begin with '/' too.
  app.allow_windows_style_options(false);
  app.set_help_all_flag("--help-all", "Every command's help");
  app.footer(
      "File names: - is standard input or output; pipes and devices are read once, up to 64 MiB.\n"
      "Exit status: 0 done; 1 refused or failed (one line per problem on standard error); 2 usage error.\n"
      "diff, plan and pair also answer 1 for different files, conflicts and mismatches.");
  Commands commands(app, ctx);
  AddBasicCommands(commands);
  AddSetCommand(commands);
  AddSettingsCommands(commands);
  AddFieldsCommand(commands);

  // CLI11 would only say that a subcommand is required.
  if (!args.empty() && !args[0].starts_with("-") && !commands.has(args[0])) {
    err << "lxcfg: unknown command '" << args[0] << "' (one of " << commands.names() << ")\n"
        << "Run with --help for more information.\n";
    return kUsage;
  }

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
