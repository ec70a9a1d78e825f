#include "cli/commands.h"

#include <algorithm>

namespace lx::cli {

CLI::App* Commands::Add(const std::string& name, const std::string& help, const std::string& synopsis,
                        std::function<int()> action) {
  CLI::App* sub = app_.add_subcommand(name, help);
  sub->add_flag("--strict", ctx_.strict,
                "Refuse, with status 1 and nothing written, where a warning would be given");
  actions_.push_back({sub, "lxcfg " + synopsis, std::move(action)});
  return sub;
}

bool Commands::has(const std::string& name) const {
  return std::any_of(actions_.begin(), actions_.end(),
                     [&](const Entry& a) { return a.sub->get_name() == name; });
}

std::vector<std::string> Commands::nameList() const {
  std::vector<std::string> list;
  for (const Entry& a : actions_) list.push_back(a.sub->get_name());
  return list;
}

std::string Commands::names() const {
  std::string list;
  for (const Entry& a : actions_) list += (list.empty() ? "" : ", ") + a.sub->get_name();
  return list;
}

std::string Commands::synopsis(const std::string& name) const {
  for (const Entry& a : actions_)
    if (a.sub->get_name() == name) return a.synopsis;
  return {};
}

std::optional<int> Commands::RunChosen() {
  for (Entry& a : actions_)
    if (a.sub->parsed()) {
      ctx_.command = a.sub->get_name();
      ctx_.synopsis = a.synopsis;
      return a.action();
    }
  return std::nullopt;
}

void AddForce(CLI::App* sub, Context& ctx) {
  sub->add_flag("--force", ctx.force,
                "Replace an existing output even when it holds the other kind of file (a header where a "
                "binary image goes, the reverse, or either where a picture goes)");
}

std::string Examples(std::initializer_list<const char*> lines, const std::string& more) {
  std::string text = "Examples:\n";
  for (const char* line : lines) text += std::string("  ") + line + "\n";
  return more.empty() ? text : text + "\n" + more;
}

}  // namespace lx::cli
