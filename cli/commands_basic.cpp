// encode, decode, new, set, h2bin, bin2h: the image and file operations of the windowed tools.
#include <array>
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
  if (!settings::CrystalInRange(kHz)) Warn(ctx, "--xtal: " + settings::CrystalRangeWarning(kHz));
  return true;
}

struct ModelXtal {
  std::string model;
  int32_t xtal = 0;
};

void AddModelXtal(CLI::App* sub, ModelXtal& o) {
  sub->add_option("--model", o.model, "Chip model: " + ModelNames())->required();
  sub->add_option("--xtal", o.xtal, "Crystal frequency in kHz")->required()->transform(kNumber);
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
        if (!f) return Fail(ctx, "'" + text + "' is not a frequency in kHz");
        if (!range.contains(*f))
          return Fail(ctx, settings::ChannelRangeRefusal(
                               *f, m->profile->models[static_cast<std::size_t>(m->index)].name, range.low,
                               range.high));
        const auto words = EncodeChannel(*m->profile, m->index, o->xtal, *f);
        if (!words) return Fail(ctx, "cannot encode " + text);
        lines += Hex4(words->control) + " " + Hex4(words->fraction) + "\n";
      }
      ctx.out << lines;
      return kOk;
    });
    AddModelXtal(sub, *o);
    sub->add_option("FREQ", *freqs, "Channel frequency in kHz (decimal or 0x hexadecimal)")->required();
    sub->footer(Examples({"lxcfg encode --model LX7250 --xtal 24000 606000 614000",
                          "lxcfg encode --model LX7140 --xtal 0x5dc0 200000"}));
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
    sub->footer(Examples({"lxcfg decode --model LX7250 --xtal 24000 0x64d8 0x7fff"}));
  }

  {
    auto model = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    CLI::App* sub = commands.add("new", "The header that selecting a model and saving writes", [&ctx, model, out] {
      const auto m = RequireModel(ctx, *model);
      if (!m) return kFailed;
      const std::optional<std::string> target = ChooseOutput(ctx, *out, OutputKind::Text);
      if (!target) return kUsage;
      ToolState state(*m->profile, ctx.programDir);
      const Report selected = state.SelectChipModel(m->index);
      if (!selected.ok) return Fail(ctx, selected, Utf8FromPath(state.DefaultImagePath(m->index)));
      return SaveTo(ctx, state, *target);
    });
    sub->add_option("--model", *model, "Chip model: " + ModelNames())->required();
    sub->add_option("-o,--output", *out,
                    "Output header (default: standard output when it is no terminal; - for standard output)")
        ->check(kFileName);
    sub->footer(Examples({"lxcfg new --model LX7150 -o rx.h", "lxcfg new --model LX7250 > tx.h"}));
  }

  {
    auto files = std::make_shared<std::array<std::string, 2>>();
    auto strict = std::make_shared<bool>(false);
    CLI::App* sub = commands.add("h2bin", "\"h To bin\": header to binary image", [&ctx, files, strict] {
      const std::string& in = (*files)[0];
      const std::optional<std::string> target = ChooseOutput(ctx, (*files)[1], OutputKind::Binary);
      if (!target) return kUsage;
      const std::optional<std::string> header = ReadInputOf(ctx, in, msg::kOpenHeaderFailed);
      if (!header) return kFailed;
      ViewStream text(*header);
      const std::string bytes = HeaderToBinary(text);
      // The window converts whatever it is given; a production line must not take a text file,
      // a binary or a cut-off header for an image.
      const std::size_t lines = bytes.size() / 2;
      if (lines == 0)
        return Fail(ctx,
                    DisplayName(in) + ": no word lines (0x....,); not an EEPROM header, nothing written");
      if (lines != static_cast<std::size_t>(kEepromSize)) {
        const std::string count = DisplayName(in) + ": " + std::to_string(lines) + " word lines, not " +
                                  std::to_string(kEepromSize) + " (" + std::to_string(bytes.size()) +
                                  " bytes)";
        if (*strict) return Fail(ctx, count + "; --strict: nothing written");
        Warn(ctx, count);
      }
      return WriteOutput(ctx, *target, bytes, msg::kOpenBinFailed);
    });
    sub->add_option("IN", (*files)[0], "Header (- for standard input)")->required()->check(kFileName);
    sub->add_option("OUT", (*files)[1], "Binary image (- or left out: standard output, never a terminal)")
        ->check(kFileName);
    sub->add_flag("--strict", *strict, "Refuse a header without exactly 96 word lines (else a warning)");
    sub->footer(Examples({"lxcfg h2bin rx.h rx.bin", "lxcfg h2bin --strict EEPROM.h > EEPROM.bin"}));
  }

  {
    auto o = std::make_shared<ModelXtal>();
    auto files = std::make_shared<std::array<std::string, 2>>();
    CLI::App* sub = commands.add("bin2h", "\"bin To h\": binary image to header", [&ctx, o, files] {
      const auto m = RequireModel(ctx, o->model);
      if (!m) return kFailed;
      if (!CheckCrystal(ctx, o->xtal)) return kFailed;
      const std::string& in = (*files)[0];
      const std::optional<std::string> target = ChooseOutput(ctx, (*files)[1], OutputKind::Text);
      if (!target) return kUsage;
      // The first 192 bytes are the image; reading stops there.
      const std::optional<std::string> bytes = ReadInputOf(ctx, in, msg::kOpenBinFailed, kBinaryImageSize);
      if (!bytes) return kFailed;
      const std::optional<RegisterImage> image = BinaryToWords(*bytes);
      if (!image)
        return Fail(ctx, DisplayName(in) + ": " + WithWindowText("fewer than 192 bytes", msg::kBinError));
      const ChipModel& model = m->profile->models[static_cast<std::size_t>(m->index)];
      const int written =
          WriteOutput(ctx, *target, WriteHeaderText(model, o->xtal, *image), msg::kSaveFailed);
      if (written != kOk) return written;
      // A binary of another model (or crystal) converts without complaint but reads as nonsense.
      std::string strangers;
      for (int k = 0; k < kChannelCount; ++k)
        if (!CodecProduces(*m->profile, m->index, o->xtal, ReadChannelWords(*image, k)))
          strangers += (strangers.empty() ? "" : ",") + std::to_string(k);
      if (!strangers.empty())
        Warn(ctx, (*target == "-" ? std::string("standard output") : *target) + ": channels " + strangers +
                      " hold words " + model.name + "'s codec does not write at " + std::to_string(o->xtal) +
                      " kHz: another model's or crystal's image?");
      return kOk;
    });
    AddModelXtal(sub, *o);
    sub->add_option("IN", (*files)[0], "Binary image (- for standard input)")->required()->check(kFileName);
    sub->add_option("OUT", (*files)[1], "Header (- or left out: standard output; a terminal needs - named)")
        ->check(kFileName);
    sub->footer(Examples({"lxcfg bin2h --model LX7150 --xtal 24000 rx.bin rx.h",
                          "lxcfg bin2h --model LX7250 --xtal 24000 EEPROM.bin | lxcfg show -"}));
  }
}

}  // namespace lx::cli
