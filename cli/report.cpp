#include "cli/report.h"

#include "core/messages.h"

namespace lx::cli {

int Fail(Context& ctx, const std::string& line) {
  ctx.err << "lxcfg: " << line << '\n';
  return kFailed;
}

int Usage(Context& ctx, const std::string& line) { return UsageLines(ctx, {line}); }

int UsageLines(Context& ctx, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) ctx.err << "lxcfg: " << line << '\n';
  if (!ctx.synopsis.empty())
    ctx.err << "Usage: " << ctx.synopsis << "\nRun 'lxcfg " << ctx.command << " --help' for more.\n";
  return kUsage;
}

int Fail(Context& ctx, const Failure<Exit>& failure) {
  return failure.kind == Exit::Failed ? Fail(ctx, failure.message) : Usage(ctx, failure.message);
}

Checked<> Warn(Context& ctx, const std::string& line) {
  if (ctx.strict) {
    // What would have been kept is not: the refusal is the one outcome the line names.
    std::string refused = line;
    if (const std::size_t kept = refused.find("; kept"); kept != std::string::npos) refused.erase(kept, 6);
    return Refusal(refused + "; refused (--strict)");
  }
  ctx.err << "lxcfg: warning: " << line << '\n';
  return {};
}

std::string WithWindowText(const std::string& english, std::string_view windowText) {
  if (windowText.empty() || english == windowText) return english;
  return english + " — " + std::string(windowText);
}

namespace {

// What an outcome that carries no reason of the system's means, in the command line's words.
struct EnglishRow {
  Outcome outcome;
  const char* text;
};
constexpr EnglishRow kEnglish[] = {
    {Outcome::DefaultImageUnreadable, "cannot read the model's default image"},
    {Outcome::HeaderUnreadable, "cannot read the header"},
    {Outcome::NoChipModel, "no chip model selected; cannot save"},
    {Outcome::HeaderNotWritten, "cannot write"},
    {Outcome::BinaryNotWritten, "cannot write"},
    {Outcome::OutputNotCreated, "cannot create"},
    {Outcome::BinaryUnreadable, "cannot read the binary image"},
    {Outcome::BinaryEmpty, "fewer than 192 bytes"},
    {Outcome::NoSuchModel, "no such chip model"},
};

const char* EnglishOf(Outcome outcome) {
  for (const EnglishRow& row : kEnglish)
    if (row.outcome == outcome) return row.text;
  return "failed";
}

}  // namespace

Failure<Exit> Refusal(const Report& report, const std::string& input, const std::string& output) {
  const std::string what =
      WithWindowText(report.reason.empty() ? EnglishOf(report.outcome) : report.reason, report.message);
  switch (SubjectOf(report.outcome)) {
    case Subject::Input:
      return Refusal(input + ": " + what);
    case Subject::Output:
      return Refusal(output + ": " + what);
    case Subject::None:
      break;
  }
  return Refusal(what);
}

int Fail(Context& ctx, const Report& report, const std::string& input, const std::string& output) {
  return Fail(ctx, Refusal(report, input, output));
}

}  // namespace lx::cli
