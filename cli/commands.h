#pragma once
// The command registry: each command module adds its subcommands to the application and
// registers the action that runs when that subcommand was chosen.
#include <CLI/CLI.hpp>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "cli/context.h"

namespace lx::cli {

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
  CLI::App* Add(const std::string& name, const std::string& help, const std::string& synopsis,
                std::function<int()> action);
  bool has(const std::string& name) const;
  std::string names() const;  // "encode, decode, ..."
  std::vector<std::string> nameList() const;
  std::string synopsis(const std::string& name) const;
  // The action of the chosen subcommand, if any.
  std::optional<int> RunChosen();

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

// --force on a command that writes a file.
void AddForce(CLI::App* sub, Context& ctx);
}  // namespace lx::cli
