// encode, decode, new, h2bin, bin2h: the image and file operations of the windowed tools.
#include <array>
#include <fstream>

#include "channel/codec.h"
#include "cli/command.h"
#include "core/binary_format.h"
#include "core/file_kind.h"
#include "core/header_format.h"
#include "core/messages.h"
#include "core/path_text.h"
#include "channel/channel_rules.h"
#include "settings/image_settings.h"

namespace lx::cli {
namespace {

// --xtal K: kCrystal has refused what the header cannot hold; outside 23000..25000 kHz it is
// used with a warning, or refused with --strict.
Checked<> CheckCrystal(Context& ctx, int32_t kHz) {
  if (CrystalInRange(kHz)) return {};
  return Warn(ctx, "--xtal: " + CrystalRangeWarning(kHz));
}

struct ModelXtal {
  std::string model;
  int32_t xtal = 0;
  const ChipModel& chip() const {
    const ModelRef m = FindModel(model);
    return m.profile->models[static_cast<std::size_t>(m.index)];
  }
};

void AddModelXtal(CLI::App* sub, ModelXtal& o) {
  sub->add_option("--model", o.model, "Chip model: " + ModelNames())->required()->check(kModelName);
  sub->add_option("--xtal", o.xtal, "Crystal frequency in kHz")->required()->transform(kCrystal);
}

// OUT as a positional and as -o, the same option on every writing command.
struct Files {
  std::string in, out, option;
};

void AddInOut(CLI::App* sub, Files& f, const char* inHelp, const char* outHelp) {
  sub->add_option("IN", f.in, inHelp)->required()->check(kFileName);
  sub->add_option("OUT", f.out, outHelp)->check(kFileName);
  sub->add_option("-o,--output", f.option, "The output, as OUT")->check(kFileName);
}

}  // namespace

void AddBasicCommands(Commands& commands) {
  Context& ctx = commands.ctx();

  if (commands.wants("encode")) {
    auto o = std::make_shared<ModelXtal>();
    auto freqs = std::make_shared<std::vector<std::string>>();
    CLI::App* sub = commands.Add(
        "encode", "Channel frequencies (kHz) to control and fraction words",
        "encode --model M --xtal K FREQ...", [&ctx, o, freqs] {
          const ModelRef m = FindModel(o->model);
          if (const Checked<> crystal = CheckCrystal(ctx, o->xtal); !crystal) return Fail(ctx, crystal);
          const FrequencyRange range = ChannelRange(*m.profile, m.index);
          std::string lines;
          for (const std::string& text : *freqs) {
            const auto f = ParseNumber(text);
            if (!f) return Usage(ctx, "'" + text + "' is not a frequency in kHz (a whole number)");
            if (!range.contains(*f))
              return Usage(ctx, ChannelRangeRefusal(*f, o->chip().name, range.low, range.high));
            const auto words = EncodeChannel(*m.profile, m.index, o->xtal, *f);
            if (!words) return Fail(ctx, "cannot encode " + text);
            // The words of a snapped frequency name another one: say which.
            const uint32_t stored = DecodeChannel(*m.profile, m.index, o->xtal, *words);
            if (stored != *f)
              if (Checked<> warned =
                      Warn(ctx, std::to_string(*f) + " kHz is stored as " + std::to_string(stored) + " kHz");
                  !warned)
                return Fail(ctx, warned);
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

  if (commands.wants("decode")) {
    auto o = std::make_shared<ModelXtal>();
    auto ctrl = std::make_shared<std::string>();
    auto frac = std::make_shared<std::string>();
    CLI::App* sub = commands.Add(
        "decode", "Control and fraction word to the channel frequency (kHz)",
        "decode --model M --xtal K CTRL FRAC", [&ctx, o, ctrl, frac] {
          const ModelRef m = FindModel(o->model);
          if (const Checked<> crystal = CheckCrystal(ctx, o->xtal); !crystal) return Fail(ctx, crystal);
          const auto c = ParseNumber(*ctrl);
          const auto f = ParseNumber(*frac);
          if (!c || *c > 0xFFFF) return Usage(ctx, "not a 16-bit word: " + *ctrl);
          if (!f || *f > 0xFFFF) return Usage(ctx, "not a 16-bit word: " + *frac);
          const ChannelWords words{static_cast<uint16_t>(*c), static_cast<uint16_t>(*f)};
          const uint32_t kHz = DecodeChannel(*m.profile, m.index, o->xtal, words);
          // Words no encoding gives still decode (to the range's low end, often): a guess, not a channel.
          if (!CodecProduces(*m.profile, m.index, o->xtal, words))
            if (Checked<> warned =
                    Warn(ctx, Hex4(words.control) + " " + Hex4(words.fraction) + " are words " +
                                  o->chip().name + "'s codec never writes at " + std::to_string(o->xtal) +
                                  " kHz; they read as " + std::to_string(kHz) + " kHz");
                !warned)
              return Fail(ctx, warned);
          ctx.out << kHz << "\n";
          return kOk;
        });
    AddModelXtal(sub, *o);
    sub->add_option("CTRL", *ctrl, "Control word (0x-hex or decimal)")->required();
    sub->add_option("FRAC", *frac, "Fraction word (0x-hex or decimal)")->required();
    sub->footer(Examples({"lxcfg decode --model LX7250 --xtal 24000 0x64d8 0x7fff"}));
  }

  if (commands.wants("new")) {
    auto model = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    CLI::App* sub = commands.Add(
        "new", "The header that selecting a model and saving writes", "new --model M [-o OUT]",
        [&ctx, model, out] {
          const ModelRef m = FindModel(*model);
          const Checked<std::string> target =
              ResolveOutput(ctx, {{},
                                  *out,
                                  OutputKind::Text,
                                  {DefaultImageOf(ctx, *model)},
                                  "it is the model's default image, which every new image starts from"});
          if (!target) return Fail(ctx, target);
          ToolState state(*m.profile, ctx.programDir);
          const Report selected = state.SelectChipModel(m.index);
          if (!selected.ok) return Fail(ctx, selected, Utf8FromPath(state.DefaultImagePath(m.index)));
          return SaveTo(ctx, state, *target);
        });
    sub->add_option("--model", *model, "Chip model: " + ModelNames())->required()->check(kModelName);
    sub->add_option("-o,--output", *out,
                    "Output header (default: standard output when it is no terminal; - for standard output)")
        ->check(kFileName);
    AddForce(sub, ctx);
    sub->footer(Examples({"lxcfg new --model LX7150 -o rx.h", "lxcfg new --model LX7250 > tx.h"}));
  }

  if (commands.wants("h2bin")) {
    auto files = std::make_shared<Files>();
    CLI::App* sub = commands.Add(
        "h2bin", "\"h To bin\": header to binary image", "h2bin [--strict] IN.h [OUT.bin | -o OUT.bin]",
        [&ctx, files] {
          const std::string& in = files->in;
          const Checked<std::string> target = ResolveOutput(ctx, {files->out,
                                                                  files->option,
                                                                  OutputKind::Binary,
                                                                  {in},
                                                                  "name another file for the binary image"});
          if (!target) return Fail(ctx, target);
          const Checked<std::string> header = ReadInputOf(ctx, in, msg::kOpenHeaderFailed);
          if (!header) return Fail(ctx, header);
          const FileContent content = ClassifyFile(*header);
          if (content.isBinary())
            return Fail(ctx,
                        DisplayName(in) +
                            ": binary data, not an EEPROM header; nothing written (a binary image already? "
                            "lxcfg bin2h --model M --xtal K converts one to a header)");
          ViewStream text(*header);
          const std::string bytes = HeaderToBinary(text);
          // The window converts whatever it is given; a production line must not take a text file,
          // a binary or a cut-off header for an image.
          const std::size_t lines = bytes.size() / 2;
          if (lines == 0)
            return Fail(ctx, DisplayName(in) + ": " + std::string(kNoWordLines) + ", nothing written");
          if (const Checked<> warned = WarnAboutHeader(ctx, in, content.read, content.crystalKHz <= 0, false);
              !warned)
            return Fail(ctx, warned);
          if (lines != static_cast<std::size_t>(kEepromSize))
            if (Checked<> warned = Warn(ctx, DisplayName(in) + ": " + WordLineCount(static_cast<int>(lines)) +
                                                 " (" + std::to_string(bytes.size()) + " bytes)");
                !warned)
              return Fail(ctx, warned);
          return WriteOutput(ctx, *target, bytes, OutputKind::Binary, msg::kOpenBinFailed);
        });
    AddInOut(sub, *files, "Header (- for standard input)",
             "Binary image (- or left out: standard output, never a terminal)");
    AddForce(sub, ctx);
    sub->footer(Examples({"lxcfg h2bin rx.h rx.bin", "lxcfg h2bin --strict EEPROM.h > EEPROM.bin"}));
  }

  if (commands.wants("bin2h")) {
    auto o = std::make_shared<ModelXtal>();
    auto files = std::make_shared<Files>();
    CLI::App* sub = commands.Add(
        "bin2h", "\"bin To h\": binary image to header", "bin2h --model M --xtal K IN.bin [OUT.h | -o OUT.h]",
        [&ctx, o, files] {
          const ModelRef m = FindModel(o->model);
          if (const Checked<> crystal = CheckCrystal(ctx, o->xtal); !crystal) return Fail(ctx, crystal);
          const std::string& in = files->in;
          const Checked<std::string> target = ResolveOutput(
              ctx, {files->out, files->option, OutputKind::Text, {in}, "name another file for the header"});
          if (!target) return Fail(ctx, target);
          // The first 192 bytes are the image; the rest is read only to be counted.
          const Checked<std::string> bytes = ReadInputOf(ctx, in, msg::kOpenBinFailed, kMaxInputBytes);
          if (!bytes) return Fail(ctx, bytes);
          // A header given for the binary (the arguments swapped) would come out as nonsense words.
          if (ClassifyFile(*bytes).isHeader())
            return Fail(ctx, DisplayName(in) + ": an EEPROM header, not a binary image; lxcfg h2bin " +
                                 DisplayName(in) + " OUT.bin converts a header");
          const std::optional<RegisterImage> image = BinaryToWords(*bytes);
          if (!image)
            return Fail(ctx, DisplayName(in) + ": " +
                                 WithWindowText(std::to_string(bytes->size()) + " bytes, fewer than 192",
                                                msg::kBinError));
          const ChipModel& model = o->chip();
          // Bytes past the image: an erased EEPROM's tail (0xff) is expected, anything else is said.
          if (bytes->size() > kBinaryImageSize &&
              bytes->find_first_not_of('\xff', kBinaryImageSize) != std::string::npos)
            if (Checked<> warned = Warn(
                    ctx, DisplayName(in) + ": " +
                             (bytes->size() >= kMaxInputBytes ? "64 MiB or more"
                                                              : std::to_string(bytes->size()) + " bytes") +
                             "; the " + std::to_string(bytes->size() - kBinaryImageSize) +
                             (bytes->size() >= kMaxInputBytes ? " or more" : "") + " after the first " +
                             std::to_string(kBinaryImageSize) + " are ignored (not an erased EEPROM's 0xff)");
                !warned)
              return Fail(ctx, warned);
          // An image of another model, family or crystal converts without complaint but reads as nonsense.
          std::string strangers;
          for (int k = 0; k < kChannelCount; ++k)
            if (!CodecProduces(*m.profile, m.index, o->xtal, ReadChannelWords(*image, k)))
              strangers += (strangers.empty() ? "" : ",") + std::to_string(k);
          if (!strangers.empty())
            if (Checked<> warned =
                    Warn(ctx, DisplayName(in) + ": channels " + strangers + " hold words " + model.name +
                                  "'s codec does not write at " + std::to_string(o->xtal) +
                                  " kHz: another model's or crystal's image?");
                !warned)
              return Fail(ctx, warned);
          ToolState state(*m.profile, ctx.programDir);
          state.chipModel = m.index;
          state.words = *image;
          std::string misfits;
          for (const std::string& misfit : settings::FamilyMisfits(state))
            misfits += (misfits.empty() ? "" : ", ") + misfit;
          if (!misfits.empty())
            if (Checked<> warned =
                    Warn(ctx, DisplayName(in) + ": no " + model.name + " image holds " + misfits + ": a " +
                                  (m.profile->family == Family::Transmitter ? "receiver" : "transmitter") +
                                  "'s image?");
                !warned)
              return Fail(ctx, warned);
          return WriteOutput(ctx, *target, WriteHeaderText(model, o->xtal, *image), OutputKind::Text,
                             msg::kSaveFailed);
        });
    AddModelXtal(sub, *o);
    AddInOut(sub, *files, "Binary image (- for standard input)",
             "Header (- or left out: standard output; a terminal needs - named)");
    AddForce(sub, ctx);
    sub->footer(Examples({"lxcfg bin2h --model LX7150 --xtal 24000 rx.bin rx.h",
                          "lxcfg bin2h --model LX7250 --xtal 24000 EEPROM.bin | lxcfg show -"}));
  }
}

}  // namespace lx::cli
