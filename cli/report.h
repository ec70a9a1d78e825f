#pragma once
// How lxcfg reports: failures, usage errors and warnings, one line each on standard error.
#include <string>
#include <string_view>
#include <vector>

#include "cli/context.h"
#include "core/result.h"
#include "core/state.h"

namespace lx::cli {

// How a command fails: the kind is its exit status, the message what standard error says.
enum class Exit : int { Failed = kFailed, Usage = kUsage };
// A value, or the failure that stops the command (not yet reported).
template <class T = void>
using Checked = Result<T, Exit>;
// A refusal (status 1), and a mistake on the command line (status 2).
inline Failure<Exit> Refusal(std::string line) { return {Exit::Failed, std::move(line)}; }
inline Failure<Exit> Mistake(std::string line) { return {Exit::Usage, std::move(line)}; }
// Reports a failure as Fail or Usage do and gives its status.
int Fail(Context& ctx, const Failure<Exit>& failure);
template <class T>
int Fail(Context& ctx, const Checked<T>& result) {
  return Fail(ctx, result.failure());
}

// A failure: one line on standard error, led by "lxcfg: ", status 1.
int Fail(Context& ctx, const std::string& line);
// A usage error: one line on standard error, led by "lxcfg: ", then the running command's
// synopsis; status 2. UsageLines gives several lines before one synopsis.
int Usage(Context& ctx, const std::string& line);
int UsageLines(Context& ctx, const std::vector<std::string>& lines);
// A warning: "lxcfg: warning: " and the line on standard error, and the command goes on. With
// --strict it is a refusal instead ("lxcfg: " and the line, "; refused (--strict)"): the command
// stops with status 1 before writing anything.
Checked<> Warn(Context& ctx, const std::string& line);
// An English text carrying the window's Chinese text after a dash, where there is one:
// "cannot write: Permission denied — 保存文件失败!".
std::string WithWindowText(const std::string& english, std::string_view windowText);
// A failed operation: the file its outcome is about (`input` or `output`), then the system's
// reason where there is one ("out.h: cannot write: No space left on device"), else the text the
// windows show for it.
int Fail(Context& ctx, const Report& report, const std::string& input, const std::string& output = {});
Failure<Exit> Refusal(const Report& report, const std::string& input, const std::string& output = {});

}  // namespace lx::cli
