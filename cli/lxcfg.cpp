#include "cli/lxcfg.h"

#include <algorithm>
#include <cstdio>

#include "cli/command.h"
#include "core/header_format.h"
#include "core/messages.h"

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

std::optional<ModelRef> RequireModel(Context& ctx, const std::string& name) {
  const ModelRef m = FindModel(name);
  if (!m) {
    Fail(ctx, "unknown chip model '" + name + "' (one of " + ModelNames() + ")");
    return std::nullopt;
  }
  return m;
}

std::string Hex4(uint32_t word) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%04x", word & 0xFFFFu);
  return buf;
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
    if (!selected.message.empty()) {
      Fail(ctx, selected.message);
      return std::nullopt;
    }
    const Report opened = state.OpenHeader(file);
    if (!opened.ok) {
      Fail(ctx, file + ": " + opened.message);
      return std::nullopt;
    }
    return state;
  }
  // Without --model the declaration line names the model, and with it the tool.
  for (const ToolProfile* profile : AllProfiles()) {
    ToolState state(*profile, ctx.programDir);
    const Report opened = state.OpenHeader(file);
    if (!opened.ok) {
      Fail(ctx, file + ": " + opened.message);
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
    if (!model) return Fail(ctx, msg::kNoChipModel);
    ctx.out << WriteHeaderText(*model, state.crystalKHz, state.words);
    return ctx.out ? kOk : kFailed;
  }
  const Report saved = state.SaveHeader(out);
  if (!saved.ok) return Fail(ctx, out + ": " + saved.message);
  return kOk;
}

std::optional<uint32_t> ParseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
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
