// encode, decode, new, set, h2bin, bin2h: the image and file operations of the windowed tools.
#include <fstream>

#include "channel/codec.h"
#include "cli/command.h"
#include "core/binary_format.h"
#include "core/header_format.h"
#include "core/messages.h"
#include "core/path_text.h"
#include "settings/channel_rules.h"

namespace lx::cli {
namespace {

// --xtal K: one rule for every command, the one `set crystal=K` follows. False after
// reporting a refusal; a crystal outside 23000..25000 kHz is used with a warning.
bool CheckCrystal(Context& ctx, int32_t kHz) {
  if (const auto refusal = settings::CrystalRefusal(kHz)) {
    Fail(ctx, "--xtal: " + *refusal);
    return false;
  }
  if (!settings::CrystalInRange(kHz))
    ctx.err << "warning: " << settings::CrystalRangeText() << " (--xtal " << kHz << ")\n";
  return true;
}

struct ModelXtal {
  std::string model;
  int32_t xtal = 0;
};

void AddModelXtal(CLI::App* sub, ModelXtal& o) {
  sub->add_option("--model", o.model, "Chip model: " + ModelNames())->required();
  sub->add_option("--xtal", o.xtal, "Crystal frequency in kHz")->required();
}

}  // namespace

void AddBasicCommands(Commands& commands) {
  Context& ctx = commands.ctx();

  {
    auto o = std::make_shared<ModelXtal>();
    auto freqs = std::make_shared<std::vector<std::string>>();
    CLI::App* sub = commands.add("encode", "Channel frequencies (kHz) to control and fraction words", [&ctx, o, freqs] {
      const auto m = RequireModel(ctx, o->model);
      if (!m) return kFailed;
      if (!CheckCrystal(ctx, o->xtal)) return kFailed;
      const FrequencyRange range = ChannelRange(*m->profile, m->index);
      std::string lines;
      for (const std::string& text : *freqs) {
        const auto f = ParseNumber(text);
        if (!f) return Fail(ctx, "not a frequency: " + text);
        if (!range.contains(*f)) return Fail(ctx, settings::RangeMessage(range.low, range.high));
        const auto words = EncodeChannel(*m->profile, m->index, o->xtal, *f);
        if (!words) return Fail(ctx, "cannot encode " + text);
        lines += Hex4(words->control) + " " + Hex4(words->fraction) + "\n";
      }
      ctx.out << lines;
      return kOk;
    });
    AddModelXtal(sub, *o);
    sub->add_option("FREQ", *freqs, "Channel frequency in kHz")->required();
  }

  {
    auto o = std::make_shared<ModelXtal>();
    auto ctrl = std::make_shared<std::string>();
    auto frac = std::make_shared<std::string>();
    CLI::App* sub = commands.add("decode", "Control and fraction word to the channel frequency (kHz)", [&ctx, o, ctrl, frac] {
      const auto m = RequireModel(ctx, o->model);
      if (!m) return kFailed;
      if (!CheckCrystal(ctx, o->xtal)) return kFailed;
      const auto c = ParseNumber(*ctrl);
      const auto f = ParseNumber(*frac);
      if (!c || *c > 0xFFFF) return Fail(ctx, "not a 16-bit word: " + *ctrl);
      if (!f || *f > 0xFFFF) return Fail(ctx, "not a 16-bit word: " + *frac);
      const ChannelWords words{static_cast<uint16_t>(*c), static_cast<uint16_t>(*f)};
      ctx.out << DecodeChannel(*m->profile, m->index, o->xtal, words) << "\n";
      return kOk;
    });
    AddModelXtal(sub, *o);
    sub->add_option("CTRL", *ctrl, "Control word (0x-hex or decimal)")->required();
    sub->add_option("FRAC", *frac, "Fraction word (0x-hex or decimal)")->required();
  }

  {
    auto model = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>("EEPROM.h");
    CLI::App* sub = commands.add("new", "The header that selecting a model and saving writes", [&ctx, model, out] {
      const auto m = RequireModel(ctx, *model);
      if (!m) return kFailed;
      ToolState state(*m->profile, ctx.programDir);
      const Report selected = state.SelectChipModel(m->index);
      if (!selected.ok) return Fail(ctx, selected, Utf8FromPath(state.DefaultImagePath(m->index)));
      return SaveTo(ctx, state, *out);
    });
    sub->add_option("--model", *model, "Chip model: " + ModelNames())->required();
    sub->add_option("-o,--output", *out, "Output header, - for standard output")->capture_default_str()->check(kFileName);
  }

  {
    auto files = std::make_shared<std::vector<std::string>>();
    CLI::App* sub = commands.add("h2bin", "\"h To bin\": header to binary image", [&ctx, files] {
      const std::string& in = (*files)[0];
      const std::optional<std::string> header = ReadInputOf(ctx, in, msg::kOpenHeaderFailed);
      if (!header) return kFailed;
      ViewStream text(*header);
      return WriteOutput(ctx, (*files)[1], HeaderToBinary(text), msg::kOpenBinFailed);
    });
    sub->add_option("FILES", *files, "IN.h OUT.bin (- for standard input or output)")
        ->required()->expected(2)->check(kFileName);
  }

  {
    auto o = std::make_shared<ModelXtal>();
    auto files = std::make_shared<std::vector<std::string>>();
    CLI::App* sub = commands.add("bin2h", "\"bin To h\": binary image to header", [&ctx, o, files] {
      const auto m = RequireModel(ctx, o->model);
      if (!m) return kFailed;
      if (!CheckCrystal(ctx, o->xtal)) return kFailed;
      const std::string& in = (*files)[0];
      // The first 192 bytes are the image; reading stops there.
      const std::optional<std::string> bytes = ReadInputOf(ctx, in, msg::kOpenBinFailed, kBinaryImageSize);
      if (!bytes) return kFailed;
      const std::optional<RegisterImage> image = BinaryToWords(*bytes);
      if (!image) return Fail(ctx, DisplayName(in) + ": " + msg::kBinError);
      const ChipModel& model = m->profile->models[static_cast<std::size_t>(m->index)];
      const int written = WriteOutput(ctx, (*files)[1], WriteHeaderText(model, o->xtal, *image), msg::kSaveFailed);
      if (written != kOk) return written;
      // A binary of another model (or crystal) converts without complaint but reads as nonsense.
      std::string strangers;
      for (int k = 0; k < kChannelCount; ++k)
        if (!CodecProduces(*m->profile, m->index, o->xtal, ReadChannelWords(*image, k)))
          strangers += (strangers.empty() ? "" : ",") + std::to_string(k);
      if (!strangers.empty())
        ctx.err << "warning: " << (*files)[1] << ": channels " << strangers << " hold words "
                << model.name << "'s codec does not write at " << o->xtal
                << " kHz: another model's or crystal's image?\n";
      return kOk;
    });
    AddModelXtal(sub, *o);
    sub->add_option("FILES", *files, "IN.bin OUT.h (- for standard input or output)")
        ->required()->expected(2)->check(kFileName);
  }
}

}  // namespace lx::cli
