// show, diff, plan, pair: the commands that read an image back with meaning.
#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>
#include <tuple>

#include "channel/codec.h"
#include "cli/command.h"
#include "settings/channel_plan.h"
#include "settings/frequency_plan.h"
#include "settings/image_settings.h"
#include "settings/image_text.h"

namespace lx::cli {

using namespace lx::settings;
namespace {

// A guard in kHz: a whole number, 0 or more.
const CLI::Validator kGuardKHz(
    [](std::string& text) {
      const auto v = ParseNumber(text);
      if (!v || *v > 100000000u) return "'" + text + "' is not a guard in kHz (0 or more)";
      text = std::to_string(*v);
      return std::string();
    },
    "KHZ");

std::string Pad(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string PadLeft(const std::string& text, std::size_t width) {
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string Fixed3(double v) { return fmt::format("{:.3f}", v); }

std::string TwoDigits(int k) { return fmt::format("{:02d}", k); }

uint32_t ChannelFrequency(const ToolState& s, int k) {
  return DecodeChannel(s.profile(), s.chipModel, s.crystalKHz, ReadChannelWords(s.words, k));
}

struct FileModel {
  std::string file;
  std::string model;
};

void AddFileAndModel(CLI::App* sub, FileModel& o) {
  sub->add_option("FILE", o.file, "Header file (- for standard input)")->required()->check(kFileName);
  sub->add_option("--model", o.model, "Select this model before reading (for files without a model line)")
      ->check(kModelName);
}

// --model-a, --model-b: the models of files without a model line, as --model of the others.
void AddModelsAB(CLI::App* sub, std::array<std::string, 2>& models) {
  sub->add_option("--model-a", models[0],
                  "Select this model before reading the first file (for files without a model line)")
      ->check(kModelName);
  sub->add_option("--model-b", models[1],
                  "Select this model before reading the second file (for files without a model line)")
      ->check(kModelName);
}

Checked<ToolState> Open(Context& ctx, const FileModel& o) { return OpenAsTool(ctx, o.file, o.model); }

// Keys in the order they are set, so that the output reads like the text form.
using Json = nlohmann::ordered_json;

Json JsonOf(const SettingValue& value) {
  if (const auto* s = std::get_if<std::string>(&value)) return *s;
  return std::get<int64_t>(value);
}

void Print(std::ostream& out, const Json& json) {
  // Every text here is UTF-8 of our own tables or of the user's file names; replace, never throw.
  out << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

// Kilohertz to the metre: three decimals, as the text table shows them.
double Millis(double v) { return std::round(v * 1000.0) / 1000.0; }

// ---- show ----

void ShowJson(std::ostream& out, const ToolState& s) {
  Json json = {{"model", s.selectedModel()->name}, {"crystal", s.crystalKHz}};
  Json& settings = json["settings"] = Json::object();
  for (const Setting& setting : ReadSettings(s)) settings[setting.key] = JsonOf(setting.value);
  Json& channels = json["channels"] = Json::array();
  for (int k = 0; k < kChannelCount; ++k) {
    const ChannelWords w = ReadChannelWords(s.words, k);
    const uint32_t f = ChannelFrequency(s, k);
    channels.push_back({{"khz", f},
                        {"control", w.control},
                        {"fraction", w.fraction},
                        {"inductance", InductanceAdvice(s.profile(), s.chipModel, f)},
                        {"codec", CodecProduces(s.profile(), s.chipModel, s.crystalKHz, w)}});
  }
  json["words"] = s.words;
  Print(out, json);
}

// ---- diff ----

int Diff(Context& ctx, const ToolState& a, const ToolState& b, bool json) {
  if (!json) {
    const std::vector<std::string> lines = ComparisonLines(a, b);
    for (const std::string& line : lines) ctx.out << line << '\n';
    return lines.empty() ? kOk : kFailed;
  }
  const ImageComparison c = CompareImages(a, b);
  const auto value = [](const std::optional<Setting>& s) { return s ? JsonOf(s->value) : Json(nullptr); };
  Json out = {{"same", c.same()}, {"settings", Json::array()}, {"words", Json::array()}};
  for (const SettingChange& change : c.settings)
    out["settings"].push_back({{"key", change.key}, {"old", value(change.a)}, {"new", value(change.b)}});
  for (int i : c.words) {
    const auto idx = static_cast<std::size_t>(i);
    out["words"].push_back({{"word", RegisterName(i)}, {"old", a.words[idx]}, {"new", b.words[idx]}});
  }
  Print(ctx.out, out);
  return c.same() ? kOk : kFailed;
}

// ---- plan ----

struct PlanOptions {
  FileModel file;
  bool json = false, csv = false, verbose = false;
  PlanGuards guards;
  // --suggest: coordinate a plan instead of checking the image's.
  bool suggest = false;
  int64_t from = 0, to = 0, step = 25;
  int count = kChannelCount;
  std::string out;
  // Both: ranges to keep clear of, a scan of the site and its threshold, the picture.
  std::string exclude, scan, svg;
  double threshold = kDefaultThresholdDb;
};

// The size of the picture --svg writes, in pixels: the window's plot, larger.
constexpr int kSvgWidth = 900, kSvgHeight = 320;

// The exclusions and the scan the options name, as the window holds them.
Checked<PlanInputs> ReadPlanInputs(Context& ctx, const PlanOptions& o) {
  PlanInputs inputs;
  inputs.guards = o.guards;
  inputs.thresholdDb = o.threshold;
  const RangesRead ranges = ParseRanges(o.exclude);
  if (!ranges.error.empty()) return Mistake("--exclude: " + ranges.error);
  inputs.exclusions = ranges.ranges;
  if (o.scan.empty()) return inputs;
  const Checked<std::string> text = ReadInputOf(ctx, o.scan, "cannot open the scan");
  if (!text) return text.failure();
  ScanRead read = ParseScan(*text);
  if (!read.error.empty())
    return Refusal(DisplayName(o.scan) + ": " + read.error + " (frequency,level rows or rtl_power CSV)");
  if (read.scan.malformed > 0)
    if (Checked<> warned = Warn(ctx, DisplayName(o.scan) + ": " + ScanNotice(read.scan)); !warned)
      return warned.failure();
  inputs.scan = std::move(read.scan);
  return inputs;
}

int WriteSvg(Context& ctx, const PlanOptions& o, const PlanCheck& check, const PlanInputs& inputs) {
  if (o.svg.empty()) return kOk;
  return WriteOutput(ctx, o.svg, plot::Svg(PlanPlot(check, inputs), kSvgWidth, kSvgHeight),
                     OutputKind::Picture, "cannot write the picture");
}

std::string Mhz(uint32_t khz) {
  const std::string frac = std::to_string(khz % 1000);
  return std::to_string(khz / 1000) + "." + std::string(3 - frac.size(), '0') + frac;
}

// "Channel,Frequency (MHz)" rows, as coordination tools import them.
void WriteCsv(std::ostream& out, const std::vector<int64_t>& freqs) {
  out << "Channel,Frequency (MHz)\n";
  for (std::size_t k = 0; k < freqs.size(); ++k)
    out << TwoDigits(static_cast<int>(k)) << ',' << Mhz(static_cast<uint32_t>(freqs[k])) << '\n';
}

std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// One channel of the image as plan shows it.
int Plan(Context& ctx, const ToolState& s, const PlanOptions& o, const PlanInputs& inputs) {
  if (s.crystalKHz <= 0)
    return Fail(
        ctx, DisplayName(o.file.file) + ": no crystal frequency in the image; its channels cannot be read");

  std::vector<int64_t> freqs;
  freqs.reserve(kChannelCount);
  for (int k = 0; k < kChannelCount; ++k) freqs.push_back(ChannelFrequency(s, k));
  const std::vector<int64_t> distinct = DistinctFrequencies(freqs);
  const PlanCheck check = CheckPlan(freqs, inputs);
  const std::vector<PlanConflict>& conflicts = check.conflicts;
  const std::vector<SharedFrequency>& shared = check.shared;
  const std::vector<PlanRow> rows = PlanRows(s, freqs, check);
  const auto foreign = static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), [](const PlanRow& r) { return r.foreign; }));
  const bool compatible = check.compatible() && foreign == 0;
  const int status = compatible ? kOk : kFailed;
  if (const int written = WriteSvg(ctx, o, check, inputs); written != kOk) return written;

  if (o.csv) {
    WriteCsv(ctx.out, freqs);
    return status;
  }

  if (o.json) {
    Json json = {{"model", s.selectedModel()->name}, {"crystal", s.crystalKHz}, {"channels", Json::array()}};
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const PlanRow& r = rows[k];
      json["channels"].push_back({{"channel", k},
                                  {"khz", r.f},
                                  {"programmed", r.programmed},
                                  {"exact", Millis(r.exact)},
                                  {"error", Millis(r.error)},
                                  {"band", r.band},
                                  {"subband", r.subband},
                                  {"inductance", r.inductance},
                                  {"codec", !r.foreign},
                                  {"conflicts", r.conflicts}});
    }
    json["distinct"] = distinct.size();
    json["guards"] = {
        {"spacing", o.guards.spacing}, {"im3", o.guards.im3}, {"im3x", o.guards.im3x}, {"im5", o.guards.im5}};
    json["shared"] = Json::array();
    for (const SharedFrequency& sf : shared) json["shared"].push_back({{"khz", sf.khz}, {"channels", sf.channels}});
    json["conflicts"] = Json::array();
    for (const PlanConflict& c : conflicts)
      json["conflicts"].push_back({{"kind", ConflictKindName(c.kind)},
                                   {"sources", c.sources},
                                   {"product", c.product},
                                   {"victim", c.victim},
                                   {"distance", c.distance}});
    if (!inputs.exclusions.empty() || !inputs.scan.empty()) {
      json["issues"] = Json::array();
      for (const ChannelIssue& i : check.issues)
        json["issues"].push_back({{"kind", i.kind == ChannelIssue::Kind::Excluded ? "excluded" : "occupied"},
                                  {"khz", i.channel},
                                  {"from", i.where.low},
                                  {"to", i.where.high}});
    }
    json["compatible"] = compatible;
    Print(ctx.out, json);
    return status;
  }

  // The answer first, then a line per channel, then (with --verbose) every conflict.
  std::string verdict;
  if (compatible) {
    verdict = "compatible";
  } else {
    std::vector<std::string> parts = ProblemCounts(check);
    if (foreign != 0)
      parts.push_back(Plural(foreign, "channel", "channels") + " not written by " + s.selectedModel()->name +
                      "'s codec at this crystal");
    verdict = "NOT compatible: ";
    for (std::size_t i = 0; i < parts.size(); ++i) verdict += (i ? ", " : "") + parts[i];
  }
  ctx.out << s.selectedModel()->name << ", crystal " << s.crystalKHz << " kHz: " << distinct.size()
          << " distinct frequencies, " << verdict << "\n\n"
          << "ch  frequency  programmed         exact    error  band  inductance  conflicts\n";
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const PlanRow& r = rows[k];
    ctx.out << TwoDigits(static_cast<int>(k)) << "  " << PadLeft(std::to_string(r.f), 9) << "  "
            << PadLeft(std::to_string(r.programmed), 10) << "  " << PadLeft(Fixed3(r.exact), 12) << "  "
            << PadLeft(Fixed3(r.error), 7) << "  " << r.band << '/' << r.subband << "   " << Pad(r.inductance, 10)
            << PadLeft(std::to_string(r.conflicts), 11) << (r.foreign ? "  not this model's codec" : "") << '\n';
  }
  if (!o.verbose) {
    if (!check.compatible()) ctx.out << "\n--verbose lists every conflict\n";
    return status;
  }
  ctx.out << '\n' << ConflictListing(check, inputs);
  return status;
}

// plan --suggest: the lowest channels in the band that every guard accepts, on frequencies the
// model's codec keeps exactly at the image's crystal.
int Suggest(Context& ctx, ToolState& s, const PlanOptions& o, const PlanInputs& inputs) {
  if (s.crystalKHz <= 0)
    return Fail(ctx,
                DisplayName(o.file.file) + ": no crystal frequency in the image to encode channels with");
  const FrequencyRange range = ChannelRange(s.profile(), s.chipModel);
  const int64_t from = o.from > 0 ? o.from : range.low, to = o.to > 0 ? o.to : range.high;
  if (from > to)
    return Usage(ctx, fmt::format("{}..{} kHz is an empty range: --from is above --to", from, to));
  if (from < range.low || to > range.high)
    return Usage(ctx, fmt::format("{}..{} kHz is not inside {}'s range {}..{} kHz", from, to,
                                  s.selectedModel()->name, range.low, range.high));
  const std::vector<int64_t> plan = SuggestChannels(s, from, to, o.count, o.step, inputs);
  if (static_cast<int>(plan.size()) < o.count)
    return Fail(ctx,
                fmt::format("only {} of {} channels fit in {}..{} kHz on a {} kHz step with these guards{}",
                            plan.size(), o.count, from, to, o.step,
                            inputs.exclusions.empty() && inputs.scan.empty() ? "" : ", exclusions and scan"));
  PlanInputs shown = inputs;
  shown.inUse = o.count;
  if (const int written = WriteSvg(ctx, o, CheckPlan(plan, shown), shown); written != kOk) return written;
  std::string list;
  for (const int64_t f : plan) list += (list.empty() ? "" : ",") + std::to_string(f);
  if (o.json) {
    Print(ctx.out, Json{{"model", s.selectedModel()->name}, {"crystal", s.crystalKHz}, {"channels", plan}});
    return kOk;
  }
  if (o.csv) {
    WriteCsv(ctx.out, plan);
    return kOk;
  }
  if (o.out.empty()) {
    ctx.out << "channels=" << list << '\n';
    return kOk;
  }
  const AssignResult applied = ApplyAssignments(s, {"channels=" + list});
  for (const std::string& e : applied.errors) Fail(ctx, e);
  if (!applied.errors.empty()) return kFailed;
  return SaveTo(ctx, s, o.out);
}

// ---- pair ----

std::string SettingText(const ToolState& s, const char* name) {
  const RegisterField* f = FindRegisterField(s.profile().family, name);
  return FormatField(*f, ReadField(*f, s.words));
}

int Pair(Context& ctx, const ToolState& tx, const ToolState& rx) {
  std::vector<std::string> mismatches;
  if (tx.crystalKHz != rx.crystalKHz)
    mismatches.push_back("crystal: " + std::to_string(tx.crystalKHz) + " kHz (transmitter) vs " +
                         std::to_string(rx.crystalKHz) + " kHz (receiver)");
  for (int k = 0; k < kChannelCount; ++k) {
    const uint32_t ft = ChannelFrequency(tx, k), fr = ChannelFrequency(rx, k);
    if (ft != fr)
      mismatches.push_back("channel." + std::to_string(k) + ": " + std::to_string(ft) + " kHz (transmitter) vs " +
                           std::to_string(fr) + " kHz (receiver)");
  }
  // Each transmitter stage needs its counterpart in the receiver, and the reverse.
  const struct {
    const char* tx;
    const char* rx;
  } matches[] = {{"pre_emphasis", "de_emphasis"}, {"compressor", "expander"}, {"pilot", "pilot_automute"}};
  for (const auto& m : matches) {
    const std::string t = SettingText(tx, m.tx), r = SettingText(rx, m.rx);
    if (t != r)
      mismatches.push_back(std::string(m.tx) + " " + t + " (transmitter) vs " + m.rx + " " + r + " (receiver)");
  }
  for (const std::string& line : mismatches) ctx.out << line << '\n';
  if (mismatches.empty()) {
    ctx.out << "consistent: " << tx.selectedModel()->name << " and " << rx.selectedModel()->name << '\n';
    return kOk;
  }
  ctx.out << mismatches.size() << (mismatches.size() == 1 ? " mismatch\n" : " mismatches\n");
  return kFailed;
}

}  // namespace

void AddSettingsCommands(Commands& commands) {
  Context& ctx = commands.ctx();

  if (commands.wants("show")) {
    auto o = std::make_shared<FileModel>();
    auto json = std::make_shared<bool>(false);
    CLI::App* sub = commands.Add("show", "Every setting of the file's model, decoded",
                                 "show FILE [--model M] [--json]", [&ctx, o, json] {
                                   const Checked<ToolState> s = Open(ctx, *o);
                                   if (!s) return Fail(ctx, s);
                                   if (*json)
                                     ShowJson(ctx.out, *s);
                                   else
                                     ctx.out << ImageListing(*s);
                                   return kOk;
                                 });
    AddFileAndModel(sub, *o);
    sub->add_flag("--json", *json, "One JSON object: model, crystal, settings, channels, words");
    sub->footer(Examples({"lxcfg show rx.h", "lxcfg show --json tx.h"}));
  }

  if (commands.wants("diff")) {
    auto files = std::make_shared<std::vector<std::string>>();
    auto models = std::make_shared<std::array<std::string, 2>>();
    auto json = std::make_shared<bool>(false);
    CLI::App* sub =
        commands.Add("diff", "Settings that differ, old -> new; exit 0 same, 1 different",
                     "diff A.h B.h [--model-a M] [--model-b M] [--json]", [&ctx, files, models, json] {
                       if (const Checked<> two = RefuseTwoStandardInputs(*files); !two) return Fail(ctx, two);
                       const Checked<ToolState> a = OpenAsTool(ctx, (*files)[0], (*models)[0], "--model-a");
                       if (!a) return Fail(ctx, a);
                       const Checked<ToolState> b = OpenAsTool(ctx, (*files)[1], (*models)[1], "--model-b");
                       if (!b) return Fail(ctx, b);
                       return Diff(ctx, *a, *b, *json);
                     });
    sub->add_option("FILES", *files, "A.h B.h")->required()->expected(2)->check(kFileName);
    AddModelsAB(sub, *models);
    sub->add_flag("--json", *json, "The changes as JSON");
    sub->footer(
        Examples({"lxcfg set tx.h -o saved.h && lxcfg diff tx.h saved.h", "lxcfg diff --json rx.h rx.h"}));
  }

  if (commands.wants("plan")) {
    auto o = std::make_shared<PlanOptions>();
    CLI::App* sub = commands.Add(
        "plan", "The channel table with spacing and intermodulation checks; exit 1 on conflicts",
        "plan FILE [--model M] [--json|--csv|--verbose] [guards] | plan FILE --suggest "
        "[--from K] [--to K] [--count N] [--step K] [guards] [-o OUT]",
        [&ctx, o] {
          if (o->suggest && !o->out.empty()) {
            if (o->json || o->csv)
              return Usage(ctx, "--json and --csv print the plan; with -o it goes into the image");
            const Checked<std::string> out =
                ResolveOutput(ctx, {{},
                                    o->out,
                                    OutputKind::Text,
                                    {o->file.file, DefaultImageOf(ctx, o->file.model)},
                                    "write the plan to another file, or give the channels= "
                                    "that plan --suggest prints to lxcfg set"});
            if (!out) return Fail(ctx, out);
          }
          if (!o->svg.empty()) {
            if (o->svg == "-")
              return Usage(ctx, "--svg -: standard output carries the plan; write the picture to a file");
            if (!o->out.empty() && o->out != "-" && o->svg == o->out)
              return Usage(ctx, "--svg and -o name the same file");
            const Checked<std::string> svg =
                ResolveOutput(ctx, {{},
                                    o->svg,
                                    OutputKind::Picture,
                                    {o->file.file, o->scan, DefaultImageOf(ctx, o->file.model)},
                                    "write the picture to a file of its own"});
            if (!svg) return Fail(ctx, svg);
          }
          if (o->suggest && !o->out.empty() && !o->scan.empty())
            if (const Checked<> refused =
                    RefuseOutputOverInput(o->out, {o->scan}, "write the plan to another file");
                !refused)
              return Fail(ctx, refused);
          if (o->file.file == "-" && o->scan == "-")
            return Usage(ctx, "FILE and --scan cannot both be standard input");
          const Checked<PlanInputs> inputs = ReadPlanInputs(ctx, *o);
          if (!inputs) return Fail(ctx, inputs);
          // plan refuses an image without a crystal itself.
          Checked<ToolState> s = OpenAsTool(ctx, o->file.file, o->file.model, "--model", true);
          if (!s) return Fail(ctx, s);
          return o->suggest ? Suggest(ctx, *s, *o, *inputs) : Plan(ctx, *s, *o, *inputs);
        });
    AddFileAndModel(sub, o->file);
    CLI::Option* json =
        sub->add_flag("--json", o->json, "The table and the conflicts as JSON (--suggest: the channels)");
    sub->add_flag("-v,--verbose", o->verbose, "List every conflict after the table");
    CLI::Option* suggest = sub->add_flag(
        "--suggest", o->suggest,
        "Find channels every guard accepts, on frequencies the model's codec keeps exactly; print them as "
        "channels=... or write them with -o");
    sub->add_option("--from", o->from, "--suggest: lowest frequency (kHz; default the model's range)")
        ->transform(kNumber)
        ->needs(suggest);
    sub->add_option("--to", o->to, "--suggest: highest frequency (kHz; default the model's range)")
        ->transform(kNumber)
        ->needs(suggest);
    sub->add_option("--count", o->count, "--suggest: channels wanted (default 16)")
        ->transform(kNumber)
        ->check(CLI::Range(1, kChannelCount))
        ->needs(suggest);
    sub->add_option("--step", o->step, "--suggest: frequency grid (kHz, default 25)")
        ->transform(kNumber)
        ->check(CLI::Range(int64_t{1}, int64_t{100000}))
        ->needs(suggest);
    sub->add_option("-o,--output", o->out, "--suggest: write the image with these channels here (- for standard output)")
        ->needs(suggest);
    AddForce(sub, ctx);
    sub->add_flag("--csv", o->csv,
                  "\"Channel,Frequency (MHz)\" rows for coordination tools (--suggest: of the channels)")
        ->excludes(json);
    for (const auto& [name, guard, help] :
         {std::tuple{"--spacing", &o->guards.spacing, "Channels closer than this conflict (kHz)"},
          std::tuple{"--im3", &o->guards.im3, "Guard around 2fa-fb products (kHz, 0 = off)"},
          std::tuple{"--im3x", &o->guards.im3x, "Guard around fa+fb-fc products (kHz, 0 = off)"},
          std::tuple{"--im5", &o->guards.im5, "Guard around 3fa-2fb products (kHz, 0 = off)"}})
      sub->add_option(name, *guard, help)->capture_default_str()->transform(kGuardKHz);
    sub->add_option(
        "--exclude", o->exclude,
        "Ranges no channel may use, in kHz: \"606000-614000, 622000-630000\" (--suggest avoids them)");
    CLI::Option* scan =
        sub->add_option(
               "--scan", o->scan,
               "A spectrum scan of the site: frequency,level CSV (Hz, kHz or MHz) or rtl_power CSV; channels "
               "above --threshold conflict (--suggest avoids them)")
            ->check(kFileName);
    sub->add_option("--threshold", o->threshold, "--scan: the level (dB) above which a frequency is occupied")
        ->capture_default_str()
        ->check(CLI::Range(-300.0, 300.0))
        ->needs(scan);
    sub->add_option("--svg", o->svg,
                    "Also draw the bank, its products, exclusions and scan as an SVG picture here "
                    "(--suggest: the suggested bank)")
        ->check(kFileName);
    sub->footer(Examples({"lxcfg plan rx.h", "lxcfg plan rx.h --suggest --from 606000 --to 630000 -o rx2.h",
                          "lxcfg plan rx.h --suggest --exclude 606000-612000 --svg plan.svg"}));
  }

  if (commands.wants("pair")) {
    auto files = std::make_shared<std::vector<std::string>>();
    auto models = std::make_shared<std::array<std::string, 2>>();
    CLI::App* sub = commands.Add(
        "pair", "A transmitter image against a receiver image; exit 1 on mismatches",
        "pair TX.h RX.h [--model-a M] [--model-b M]", [&ctx, files, models] {
          if (const Checked<> two = RefuseTwoStandardInputs(*files); !two) return Fail(ctx, two);
          const Checked<ToolState> tx = OpenAsTool(ctx, (*files)[0], (*models)[0], "--model-a");
          if (!tx) return Fail(ctx, tx);
          const Checked<ToolState> rx = OpenAsTool(ctx, (*files)[1], (*models)[1], "--model-b");
          if (!rx) return Fail(ctx, rx);
          if (tx->profile().family != Family::Transmitter)
            return Fail(ctx, DisplayName((*files)[0]) + ": " + tx->selectedModel()->name +
                                 " is not a transmitter model");
          if (rx->profile().family != Family::Receiver)
            return Fail(ctx, DisplayName((*files)[1]) + ": " + rx->selectedModel()->name +
                                 " is not a receiver model");
          return Pair(ctx, *tx, *rx);
        });
    sub->add_option("FILES", *files, "TX.h RX.h")->required()->expected(2)->check(kFileName);
    AddModelsAB(sub, *models);
    sub->footer(Examples({"lxcfg pair tx.h rx.h"}));
  }
}

}  // namespace lx::cli
