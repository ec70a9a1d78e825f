// encode, decode, new, set, h2bin, bin2h: the image and file operations of the windowed tools.
#include <cstdio>

#include "channel/codec.h"
#include "cli/command.h"
#include "core/atomic_file.h"
#include "core/binary_format.h"

#include <fstream>
#include "core/messages.h"
#include "core/path_text.h"
#include "settings/channel_rules.h"

namespace lx::cli {
namespace {

// A conversion's message, led by the file it is about.
std::string Explain(const Report& r, const std::string& file) { return file + ": " + r.message; }

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
      if (o->xtal <= 0) return Fail(ctx, "crystal frequency must be above 0 kHz");
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
      if (!selected.message.empty()) return Fail(ctx, Utf8FromPath(state.DefaultImagePath(m->index)) + ": " + selected.message);
      return SaveTo(ctx, state, *out);
    });
    sub->add_option("--model", *model, "Chip model: " + ModelNames())->required();
    sub->add_option("-o,--output", *out, "Output header, - for standard output")->capture_default_str();
  }

  {
    auto files = std::make_shared<std::vector<std::string>>();
    CLI::App* sub = commands.add("h2bin", "\"h To bin\": header to binary image", [&ctx, files] {
      const std::string& in = (*files)[0];
      const std::string& out = (*files)[1];
      ToolState state(AmbrelProfile(), ctx.programDir);
      state.headerPath = in;
      if (out == "-") {
        if (!IsReadableFile(PathFromUtf8(in))) return Fail(ctx, in + ": " + msg::kOpenHeaderFailed);
        std::ifstream header(PathFromUtf8(in), std::ios::binary);
        ctx.out << HeaderToBinary(header);
        return kOk;
      }
      const Report r = state.ConvertHeaderToBinary(out);
      if (r.ok) return kOk;
      if (r.message.empty()) return Fail(ctx, out + ": cannot be created");
      return Fail(ctx, Explain(r, r.message == msg::kOpenHeaderFailed ? in : out));
    });
    sub->add_option("FILES", *files, "IN.h OUT.bin")->required()->expected(2);
  }

  {
    auto o = std::make_shared<ModelXtal>();
    auto files = std::make_shared<std::vector<std::string>>();
    CLI::App* sub = commands.add("bin2h", "\"bin To h\": binary image to header", [&ctx, o, files] {
      const auto m = RequireModel(ctx, o->model);
      if (!m) return kFailed;
      ToolState state = StateFor(ctx, *m);
      state.crystalKHz = o->xtal;
      state.binaryPath = (*files)[0];
      const Report r = state.ConvertBinaryToHeader((*files)[1]);
      if (r.ok) return kOk;
      if (r.message.empty()) return Fail(ctx, (*files)[1] + ": cannot be created");
      if (r.message == msg::kNoChipModel) return Fail(ctx, r.message);
      return Fail(ctx, Explain(r, r.message == msg::kSaveFailed ? (*files)[1] : (*files)[0]));
    });
    AddModelXtal(sub, *o);
    sub->add_option("FILES", *files, "IN.bin OUT.h")->required()->expected(2);
  }
}

}  // namespace lx::cli
