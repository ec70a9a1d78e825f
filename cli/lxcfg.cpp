#include "cli/lxcfg.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <regex>
#include <sstream>

#include "channel/channel_rules.h"
#include "cli/command.h"
#include "core/atomic_file.h"
#include "core/file_kind.h"
#include "core/header_format.h"
#include "core/path_text.h"
#include "core/text.h"

namespace lx::cli {

CLI::App* Commands::add(const std::string& name, const std::string& help, const std::string& synopsis,
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

std::optional<int> Commands::runChosen() {
  for (Entry& a : actions_)
    if (a.sub->parsed()) {
      ctx_.command = a.sub->get_name();
      ctx_.synopsis = a.synopsis;
      return a.action();
    }
  return std::nullopt;
}

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

void AddForce(CLI::App* sub, Context& ctx) {
  sub->add_flag("--force", ctx.force,
                "Replace an existing output even when it holds the other kind of file (a header where a "
                "binary image goes, the reverse, or either where a picture goes)");
}

bool Warn(Context& ctx, const std::string& line) {
  if (ctx.strict) {
    // What would have been kept is not: the refusal is the one outcome the line names.
    std::string refused = line;
    if (const std::size_t kept = refused.find("; kept"); kept != std::string::npos) refused.erase(kept, 6);
    Fail(ctx, refused + "; refused (--strict)");
    return false;
  }
  ctx.err << "lxcfg: warning: " << line << '\n';
  return true;
}

std::string WithWindowText(const std::string& english, std::string_view windowText) {
  if (windowText.empty() || english == windowText) return english;
  return english + " — " + std::string(windowText);
}

namespace {

// What an outcome that carries no reason of the system's means, in the command line's words.
const char* EnglishOf(Outcome outcome) {
  switch (outcome) {
    case Outcome::DefaultImageUnreadable:
      return "cannot read the model's default image";
    case Outcome::HeaderUnreadable:
      return "cannot read the header";
    case Outcome::NoChipModel:
      return "no chip model selected; cannot save";
    case Outcome::HeaderNotWritten:
    case Outcome::BinaryNotWritten:
      return "cannot write";
    case Outcome::OutputNotCreated:
      return "cannot create";
    case Outcome::BinaryUnreadable:
      return "cannot read the binary image";
    case Outcome::BinaryEmpty:
      return "fewer than 192 bytes";
    case Outcome::NoSuchModel:
      return "no such chip model";
    case Outcome::Done:
    case Outcome::Converted:
    case Outcome::Count:
      break;
  }
  return "failed";
}

}  // namespace

int Fail(Context& ctx, const Report& report, const std::string& input, const std::string& output) {
  const std::string what =
      WithWindowText(report.reason.empty() ? EnglishOf(report.outcome) : report.reason, report.message);
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


std::string UnknownModel(const std::string& name) {
  std::vector<std::string> names;
  for (const ToolProfile* p : AllProfiles())
    for (const ChipModel& m : p->models) names.emplace_back(m.name);
  const std::string guess = Nearest(name, names);
  return "unknown chip model '" + name + "' (one of " + ModelNames() +
         (guess.empty() ? "" : "; did you mean " + guess + "?") + ")";
}

std::string ModelNames() {
  std::string names;
  for (const ToolProfile* p : AllProfiles())
    for (const ChipModel& m : p->models) names += (names.empty() ? "" : ", ") + std::string(m.name);
  return names;
}

const CLI::Validator kFileName(
    [](std::string& name) { return name.empty() ? std::string("a file name cannot be empty") : std::string(); }, "FILE");

const CLI::Validator kNumber(
    [](std::string& text) {
      const auto v = ParseInteger(text, SignRule::Any);
      if (!v) return "'" + text + "' is not a number (decimal or 0x hexadecimal)";
      text = std::to_string(*v);
      return std::string();
    },
    "");

const CLI::Validator kModelName(
    [](std::string& name) { return FindModel(name) ? std::string() : UnknownModel(name); }, "M");

const CLI::Validator kCrystal(
    [](std::string& text) {
      const auto v = ParseInteger(text, SignRule::Any);
      if (!v) return "'" + text + "' is not a number (decimal or 0x hexadecimal)";
      if (const auto refusal = CrystalRefusal(*v)) return *refusal;
      text = std::to_string(*v);
      return std::string();
    },
    "K");

std::string Examples(std::initializer_list<const char*> lines, const std::string& more) {
  std::string text = "Examples:\n";
  for (const char* line : lines) text += std::string("  ") + line + "\n";
  return more.empty() ? text : text + "\n" + more;
}

std::string DisplayName(const std::string& file) { return file == "-" ? "standard input" : file; }

int RefuseTwoStandardInputs(Context& ctx, const std::vector<std::string>& files) {
  if (std::count(files.begin(), files.end(), "-") < 2) return kOk;
  return Usage(ctx, "standard input can be read only once; name one of the files");
}

int RefuseOutputOverInput(Context& ctx, const std::string& out, const std::vector<std::string>& inputs,
                          const std::string& hint) {
  if (out == "-") return kOk;  // standard output: a file the shell opened, not ours to judge
  const std::filesystem::path target = PathFromUtf8(out);
  for (const std::string& in : inputs) {
    if (in.empty()) continue;
    if (in == "-" ? SameRegularFileAsStandardInput(target) : SameRegularFile(target, PathFromUtf8(in)))
      return Fail(ctx,
                  out +
                      (in == out ? std::string(": the output is also the input")
                                 : ": the output is the same file as " + DisplayName(in) + ", an input") +
                      "; nothing written (" + hint + ")");
  }
  return kOk;
}

std::string DefaultImageOf(const Context& ctx, const std::string& modelName) {
  const ModelRef m = FindModel(modelName);
  if (!m) return {};
  return Utf8FromPath(ToolState(*m.profile, ctx.programDir).DefaultImagePath(m.index));
}

std::optional<std::string> OneOutput(Context& ctx, const std::string& positional, const std::string& option) {
  if (!positional.empty() && !option.empty() && positional != option) {
    Usage(ctx,
          "the output is named twice, as OUT (" + positional + ") and with -o (" + option + "); give one");
    return std::nullopt;
  }
  return positional.empty() ? option : positional;
}

std::optional<std::string> ReadInputOf(Context& ctx, const std::string& file, const char* cannotOpen,
                                       std::optional<std::size_t> truncateAt) {
  InputLimits limits = ctx.input;
  if (truncateAt) {
    limits.maxBytes = *truncateAt;
    limits.truncate = true;
  }
  const bool standardInput = file == "-";
  const std::string name = DisplayName(file);
  if (standardInput ? StandardInputIsStandardOutput() : SameRegularFileAsStandardOutput(PathFromUtf8(file))) {
    std::error_code ec;
    const bool emptied = !standardInput && std::filesystem::is_empty(PathFromUtf8(file), ec) && !ec;
    Fail(ctx, name +
                  ": standard output is this input file; nothing written (send the output to another file" +
                  (emptied ? std::string("; the shell's > has emptied it already)") : std::string(")")));
    return std::nullopt;
  }
  InputRead read = standardInput ? ReadInputFrom(0, limits) : ReadInput(PathFromUtf8(file), limits);
  if (read.ok() && read.bytes.empty()) {
    Fail(ctx, name + ": " +
                  WithWindowText("empty (0 bytes)",
                                 std::string_view(cannotOpen) == msg::kOpenBinFailed ? msg::kBinError : ""));
    return std::nullopt;
  }
  if (read.ok()) return std::move(read.bytes);
  const bool unopened = read.error == InputError::CannotOpen || read.error == InputError::Folder;
  Fail(ctx, name + ": " + WithWindowText(unopened ? "cannot open: " + read.reason : read.reason, cannotOpen));
  return std::nullopt;
}

namespace {

// What an existing file holds, judged from its first bytes: a header with word lines, or a binary
// image (as the file-kind check says, or one long run without line ends, as printable words make).
enum class Held { NothingOfOurs, Header, Binary };

Held WhatFileHolds(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return Held::NothingOfOurs;
  constexpr std::size_t kLook = std::size_t{64} * 1024;
  const InputRead read = ReadInput(path, {kLook, true, 0});
  if (!read.ok() || read.bytes.empty()) return Held::NothingOfOurs;
  const FileContent content = ClassifyFile(read.bytes);
  if (content.isBinary()) return Held::Binary;
  if (content.hasWords()) return Held::Header;
  if (read.bytes.size() >= 2 && read.bytes.find('\n') == std::string::npos) return Held::Binary;
  return Held::NothingOfOurs;
}

// The model whose default image in Data/ `target` is (that file, a link to it, or its name when
// it is missing), or nullptr.
const ChipModel* DefaultImageAt(const Context& ctx, const std::filesystem::path& target,
                                bool standardOutput) {
  std::error_code ec;
  const std::filesystem::path name = std::filesystem::weakly_canonical(target, ec);
  for (const ToolProfile* p : AllProfiles()) {
    const ToolState tool(*p, ctx.programDir);
    for (int i = 0; i < p->modelCount(); ++i) {
      const std::filesystem::path image = tool.DefaultImagePath(i);
      const bool same = standardOutput
                            ? SameRegularFileAsStandardOutput(image)
                            : SameRegularFile(target, image) ||
                                  (!ec && std::filesystem::weakly_canonical(image, ec) == name && !ec);
      if (same) return &p->models[i];
    }
  }
  return nullptr;
}

// The refusals every written output gets, before a byte is written.
int CheckOutput(Context& ctx, const std::string& out, OutputKind kind) {
  const bool standardOutput = out == "-";
  const std::filesystem::path target = standardOutput ? std::filesystem::path() : PathFromUtf8(out);
  if (const ChipModel* model = DefaultImageAt(ctx, target, standardOutput))
    return Fail(
        ctx, (standardOutput ? std::string("standard output") : out) + ": the output is " + model->name +
                 "'s default image; nothing written (the images in Data/ are what every model starts from; "
                 "name another file)");
  if (standardOutput || ctx.force) return kOk;
  const Held held = WhatFileHolds(target);
  if (kind == OutputKind::Binary && held == Held::Header)
    return Fail(ctx,
                out +
                    ": holds an EEPROM header, not a binary image; nothing written (name another file, or "
                    "give --force to replace it)");
  if (kind == OutputKind::Picture && held != Held::NothingOfOurs)
    return Fail(ctx, out + ": holds " + (held == Held::Header ? "an EEPROM header" : "a binary image") +
                         ", not a picture; nothing written (name another file, or give --force to replace it)");
  if (kind == OutputKind::Text && held == Held::Binary)
    return Fail(ctx,
                out +
                    ": holds a binary image, not an EEPROM header; nothing written (name another file, or "
                    "give --force to replace it)");
  return kOk;
}

}  // namespace

int WriteOutput(Context& ctx, const std::string& out, const std::string& bytes, OutputKind kind,
                const char* failText) {
  if (const int refused = CheckOutput(ctx, out, kind)) return refused;
  if (out == "-") {
    // A failure is reported once, when run() checks standard output at the end.
    ctx.out << bytes;
    return ctx.out ? kOk : kFailed;
  }
  // The system's reason names what went wrong; the window's text says what was being done.
  std::string error;
  if (!WriteFileAtomically(PathFromUtf8(out), bytes, &error))
    return Fail(ctx, out + ": " + WithWindowText(error.empty() ? "cannot write" : error, failText));
  return kOk;
}

std::optional<std::string> ChooseOutput(Context& ctx, const std::string& given, OutputKind kind) {
  const std::string out = given.empty() ? "-" : given;
  if (out != "-" || !ctx.outputIsTerminal) return out;
  // Text asked for with "-" may go to the terminal; a left-out OUT never lands there (nor in a
  // default file of the working folder).
  if (kind == OutputKind::Binary)
    Usage(ctx, "standard output is a terminal: binary goes to a file (OUT.bin) or through a pipe");
  else if (given.empty())
    Usage(ctx,
          "standard output is a terminal: name the output file (for example EEPROM.h) or pipe the output");
  else
    return out;
  return std::nullopt;
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

namespace {

// What the text is, before it is read as a header: nullopt when it reads as one, else the
// refusal.
std::optional<std::string> NotAHeader(const FileContent& content) {
  const std::string hint = "; a binary image? lxcfg bin2h --model M --xtal K converts one to a header";
  if (content.isBinary()) return "binary data, not an EEPROM header" + hint;
  if (!content.hasWords()) return std::string(kNoWordLines) + hint;
  if (content.declaresUnknownModel())
    return "the model line declares " + content.read.declaredName + ": " + UnknownModel(content.read.declaredName);
  return std::nullopt;
}

}  // namespace

std::string WordLineCount(int lines) {
  return std::to_string(lines) + (lines == 1 ? " word line, not " : " word lines, not ") +
         std::to_string(kEepromSize);
}

std::string WordCountWarning(const std::string& name, int lines, const std::string& missingAs) {
  std::string text = name + ": " + WordLineCount(lines);
  if (lines > kEepromSize)
    return text + "; the lines after the " + std::to_string(kEepromSize) + "th are ignored";
  const std::string missing = lines == kEepromSize - 1
                                  ? RegisterName(lines)
                                  : RegisterName(lines) + ".." + RegisterName(kEepromSize - 1);
  return text + "; " + missing + (lines == kEepromSize - 1 ? " is" : " are") + " missing and read as " +
         missingAs;
}

namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t end = text.find_last_not_of(" \t\r");
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

}  // namespace

bool WarnAboutHeader(Context& ctx, const std::string& file, const HeaderReadResult& read, bool crystalMissing,
                     bool channels) {
  const std::string name = DisplayName(file);
  for (const OddWordLine& odd : read.oddWordLines) {
    std::string line = name + ": line " + std::to_string(odd.line) + ": \"" + Trimmed(odd.text) + "\" has ";
    if (odd.hexDigits == 0)
      line += "no hex digits; it is read as " + RegisterName(odd.word) +
              " = 0x0000, and every word line after it one register further on";
    else
      line += std::to_string(odd.hexDigits) + (odd.hexDigits == 1 ? " hex digit" : " hex digits") + ", not 4";
    if (!Warn(ctx, line)) return false;
  }
  const int more = read.oddWordLineCount - static_cast<int>(read.oddWordLines.size());
  if (more > 0 && !Warn(ctx, name + ": " + std::to_string(more) + " more word lines without four hex digits"))
    return false;
  return !crystalMissing ||
         Warn(ctx, name + ": no crystal frequency in the image (no line such as #define X24P000MHZ)" +
                       (channels ? "; channels read as the range's low end" : ""));
}

std::optional<ToolState> OpenAsTool(Context& ctx, const std::string& file, const std::string& modelName,
                                    const std::string& modelOption, bool crystalHandled) {
  std::optional<ModelRef> model;
  if (!modelName.empty()) model = FindModel(modelName);
  const std::optional<std::string> text = ReadInputOf(ctx, file, msg::kOpenHeaderFailed);
  if (!text) return std::nullopt;
  const FileContent content = ClassifyFile(*text);
  const HeaderReadResult& read = content.read;
  if (const auto refusal = NotAHeader(content)) {
    Fail(ctx, DisplayName(file) + ": " + *refusal);
    return std::nullopt;
  }
  const int lines = read.wordLines;
  std::optional<ToolState> opened;
  if (model) {
    const std::string given = model->profile->models[static_cast<std::size_t>(model->index)].name;
    // Reading a transmitter image as a receiver's (or the reverse) would rewrite it as one.
    for (const ToolProfile* other : AllProfiles()) {
      if (other->family == model->profile->family) continue;
      if (const ChipModel* declared = DeclaredModel(*other, *text)) {
        Fail(ctx, DisplayName(file) + ": the file declares " + declared->name + ", a " +
                      FamilyName(other->family) + " model; " + modelOption + " " + given + " is a " +
                      FamilyName(model->profile->family) + " model");
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
    // The file's declaration selects its model, as Open does after a radio click.
    if (state.chipModel != model->index &&
        !Warn(ctx, DisplayName(file) + ": the file declares " + state.selectedModel()->name +
                       "; it is read as " + state.selectedModel()->name + ", not as " + modelOption + " " +
                       given))
      return std::nullopt;
    opened = std::move(state);
  } else {
    // Without --model the declaration line names the model, and with it the tool.
    for (const ToolProfile* profile : AllProfiles()) {
      ToolState state(*profile, ctx.programDir);
      state.inputLimits = ctx.input;
      state.OpenHeaderText(file, *text);
      if (state.modelSelected()) {
        opened = std::move(state);
        break;
      }
    }
    if (!opened) {
      Fail(ctx, DisplayName(file) + ": the file declares no chip model; name one with " + modelOption + " M");
      return std::nullopt;
    }
  }
  if (!WarnAboutHeader(ctx, file, read, opened->crystalKHz <= 0 && !crystalHandled, true))
    return std::nullopt;
  // With --model the default image's crystal stands in for a missing line, as in the windows.
  if (!read.crystalSeen && opened->crystalKHz > 0 && !crystalHandled &&
      !Warn(ctx, DisplayName(file) + ": no crystal line; the crystal is " +
                     std::to_string(opened->crystalKHz) + " kHz from " + opened->selectedModel()->name +
                     "'s default image"))
    return std::nullopt;
  if (lines != kEepromSize) {
    const std::string as =
        model ? std::string(model->profile->models[static_cast<std::size_t>(model->index)].name) +
                    "'s default image holds them"
              : "0x0000";
    if (!Warn(ctx, WordCountWarning(DisplayName(file), lines, as))) return std::nullopt;
  }
  return opened;
}

int SaveTo(Context& ctx, ToolState& state, const std::string& out) {
  if (out == "-") {
    const ChipModel* model = state.selectedModel();
    if (!model) return Fail(ctx, Report::Failed(Outcome::NoChipModel), {});
    return WriteOutput(ctx, out, WriteHeaderText(*model, state.crystalKHz, state.words), OutputKind::Text,
                       msg::kSaveFailed);
  }
  if (const int refused = CheckOutput(ctx, out, OutputKind::Text)) return refused;
  const Report saved = state.SaveHeader(out);
  if (!saved.ok) return Fail(ctx, saved, {}, out);
  return kOk;
}

namespace {

// Passes standard output on, keeping the system's reason for the first write that failed:
// output that never arrived (a full disk, a closed device) fails the command, whatever it was.
class WatchedOutput : public std::streambuf {
 public:
  explicit WatchedOutput(std::streambuf* target) : target_(target) {}
  bool failed() const { return failed_; }
  int reason() const { return reason_; }  // errno, 0 when there was none

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return sync() == 0 ? traits_type::not_eof(c) : c;
    errno = 0;
    if (traits_type::eq_int_type(target_->sputc(traits_type::to_char_type(c)), traits_type::eof())) {
      fail();
      return traits_type::eof();
    }
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    errno = 0;
    const std::streamsize written = target_->sputn(s, n);
    if (written != n) fail();
    return written;
  }
  int sync() override {
    errno = 0;
    if (target_->pubsync() == 0) return 0;
    fail();
    return -1;
  }

 private:
  void fail() {
    if (!failed_) reason_ = errno;
    failed_ = true;
  }

  std::streambuf* target_;
  bool failed_ = false;
  int reason_ = 0;
};

// CLI11's own words for a usage error, in plain ones where they are not plain already.
std::string PlainUsage(const CLI::ParseError& e, const std::string& command,
                       const std::vector<std::string>& options, const std::string& commandNames) {
  std::string what = e.what();
  if (what.starts_with("A subcommand is required")) return "a command is needed: one of " + commandNames;
  static const std::regex count(R"(^(\w+): At (least|Most) (\d+) required but received (\d+)$)");
  static const std::regex missingValue(R"(^(-[-\w]+): \d+ required \S+ missing$)");
  static const std::regex unexpected(R"(^The following arguments? (was|were) not expected: (.*)$)");
  static const std::regex range(R"(^(-[-\w]+): Value (\S+) not in range (\S+) to (\S+)$)");
  static const std::regex excludes(R"(^(-[-\w]+) excludes (-[-\w]+)$)");
  std::smatch m;
  if (std::regex_match(what, m, count)) {
    const std::string wanted = m[3], given = m[4];
    return command + " takes " + wanted + " " + (m[1] == "FILES" ? "files" : m[1].str()) + ", not " + given;
  }
  if (std::regex_match(what, m, missingValue)) {
    const std::string option = m[1].str();
    if (option.starts_with("--model")) return option + " needs a chip model: one of " + ModelNames();
    if (option == "--xtal") return option + " needs a crystal frequency in kHz";
    if (option == "-o" || option == "--output") return option + " needs a file name";
    return option + " needs a value";
  }
  if (std::regex_match(what, m, range))
    return m[1].str() + ": " + m[2].str() + " is outside " + m[3].str() + ".." + m[4].str();
  if (std::regex_match(what, m, excludes))
    return m[1].str() + " and " + m[2].str() + " cannot be given together";
  if (std::regex_match(what, m, unexpected)) {
    std::istringstream in(m[2].str());
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    // An unknown option's value shows up as an extra argument too: the option is the mistake.
    if (std::any_of(words.begin(), words.end(), [](const std::string& w) { return w.starts_with("-"); }))
      std::erase_if(words, [](const std::string& w) { return !w.starts_with("-"); });
    std::string text;
    for (const std::string& word : words) {
      if (!text.empty()) text += "; ";
      if (word.starts_with("-")) {
        const std::string name = word.substr(0, word.find('='));
        const std::string guess = Nearest(name, options);
        text += "unknown option " + name + (guess.empty() ? "" : " (did you mean " + guess + "?)");
      } else {
        text += "one argument too many: '" + word + "'";
      }
    }
    return (command.empty() ? std::string() : command + ": ") + text;
  }
  return what;
}

// The parser: the application and its commands, all of them or only the one named.
struct Parser {
  Parser(Context& ctx, const std::string& only)
      : app("lxcfg: EEPROM images of the LX7240, LX7250, LX7240D and LX7250D transmitter and the LX7140, "
            "LX7150 and LXM7140 receiver chips",
            "lxcfg"),
        commands(app, ctx, only) {
    app.require_subcommand(1);
    // Options are -x and --name on every platform: on Windows a file name may begin with '/' too.
    app.allow_windows_style_options(false);
    app.set_help_all_flag("--help-all", "Every command's help");
    app.set_version_flag("--version", "lxcfg " LX_VERSION);
    app.footer(
        "File names: - is standard input or output; pipes and devices are read once, up to 64 MiB.\n"
        "No command writes its output over one of its inputs; set FILE without -o changes FILE in place.\n"
        "Exit status: 0 done; 1 a file's content, a file that cannot be read or written, or a refusal\n"
        "to write (one line per problem on standard error); 2 a mistake on the command line: an unknown\n"
        "command, option or key, a missing or extra argument, or a value that cannot be used (the lines,\n"
        "then the command's synopsis). diff, plan, pair and verify also answer 1 for different files,\n"
        "conflicts, mismatches and a dump that differs. --strict makes every warning a refusal.");
    AddBasicCommands(commands);
    AddSetCommand(commands);
    AddSettingsCommands(commands);
    AddFieldsCommand(commands);
    AddVerifyCommand(commands);
  }
  CLI::App app;
  Commands commands;
};

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const std::filesystem::path& programDir, bool outputIsTerminal) {
  Context ctx{out, err, programDir};
  ctx.outputIsTerminal = outputIsTerminal;
  // Only the command that runs is set up; anything else (no command, an unknown one, top-level
  // help) sets up all of them.
  const std::string named = !args.empty() && !args[0].starts_with("-") ? args[0] : std::string();
  auto parser = std::make_unique<Parser>(ctx, named);
  if (!named.empty() && !parser->commands.has(named)) parser = std::make_unique<Parser>(ctx, std::string());
  CLI::App& app = parser->app;
  Commands& commands = parser->commands;

  // CLI11 would only say that a subcommand is required.
  if (!args.empty() && !args[0].starts_with("-") && !commands.has(args[0])) {
    const std::string guess = Nearest(args[0], commands.nameList());
    err << "lxcfg: unknown command '" << args[0] << "' (one of " << commands.names() << ")"
        << (guess.empty() ? "" : "; did you mean '" + guess + "'?") << "\n"
        << "Run with --help for more information.\n";
    return kUsage;
  }

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e, out, err) == 0 ? kOk : kUsage;
    const std::string command = !args.empty() && commands.has(args[0]) ? args[0] : std::string();
    std::vector<std::string> options;
    if (!command.empty())
      for (const CLI::Option* o : app.get_subcommand(command)->get_options())
        for (const std::string& name : o->get_lnames()) options.push_back("--" + name);
    err << "lxcfg: " << PlainUsage(e, command, options, commands.names()) << '\n';
    if (!command.empty())
      err << "Usage: " << commands.synopsis(command) << "\nRun 'lxcfg " << command << " --help' for more.\n";
    else
      err << "Run with --help for more information.\n";
    return kUsage;
  }
  return commands.runChosen().value_or(kUsage);
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const std::filesystem::path& programDir, bool outputIsTerminal) {
  WatchedOutput watch(out.rdbuf());
  std::ostream watched(&watch);
  const int status = RunCommand(args, watched, err, programDir, outputIsTerminal);
  watched.flush();
  if (!watch.failed() && out.flush()) return status;
  const int reason = watch.reason();
  err << "lxcfg: standard output: cannot write"
      << (reason ? std::string(": ") + std::strerror(reason) : std::string()) << '\n';
  return status == kOk ? kFailed : status;
}

}  // namespace lx::cli
