// verify: a programmer's read-back dump against the image that was programmed.
#include <fmt/format.h>

#include <nlohmann/json.hpp>

#include "channel/codec.h"
#include "cli/command.h"
#include "core/binary_format.h"
#include "core/file_kind.h"
#include "core/header_format.h"
#include "core/messages.h"
#include "settings/image_settings.h"

namespace lx::cli {
namespace {

using Json = nlohmann::ordered_json;

// Dumps of larger EEPROMs hold the image first and erased bytes after it.
constexpr unsigned char kErased = 0xFF;
// Bytes past the image listed one by one; the rest are counted.
constexpr std::size_t kListedPadding = 8;

struct Image {
  RegisterImage words{};
  int32_t crystal = 0;
  ModelRef model;  // none for a binary image without --model
};

// The image as a header (its model line names the model) or as a binary image.
Checked<Image> ReadImage(Context& ctx, const std::string& file, const std::string& modelName) {
  const Checked<std::string> bytes = ReadInputOf(ctx, file, msg::kOpenHeaderFailed);
  if (!bytes) return bytes.failure();
  Image image;
  if (!modelName.empty()) image.model = FindModel(modelName);
  const FileContent content = ClassifyFile(*bytes);
  const HeaderReadResult& read = content.read;
  if (!content.isHeader()) {
    const std::optional<RegisterImage> words = BinaryToWords(*bytes);
    if (!words) return Refusal(DisplayName(file) + ": fewer than 192 bytes; not an image");
    image.words = *words;
    return image;
  }
  if (!content.hasWords()) return Refusal(DisplayName(file) + ": " + std::string(kNoWordLines));
  image.words = content.words;
  image.crystal = content.crystalKHz;
  if (Checked<> warned = WarnAboutHeader(ctx, file, read, image.crystal <= 0, true); !warned)
    return warned.failure();
  // The declaration names the model, as everywhere; --model only stands in for a missing one.
  if (const ModelRef declared = content.model) {
    if (image.model && !(image.model.profile == declared.profile && image.model.index == declared.index)) {
      const char* name = declared.profile->models[static_cast<std::size_t>(declared.index)].name;
      if (Checked<> warned = Warn(ctx, DisplayName(file) + ": the file declares " + name +
                                           "; it is read as " + name + ", not as --model " + modelName);
          !warned)
        return warned.failure();
    }
    image.model = declared;
  }
  if (read.wordLines != kEepromSize)
    if (Checked<> warned = Warn(ctx, WordCountWarning(DisplayName(file), read.wordLines, "0x0000")); !warned)
      return warned.failure();
  return image;
}

// The settings of `model` that live in word `index`, with their expected and read values.
struct Changed {
  std::string key, expected, read;
};
std::vector<Changed> SettingsOfWord(const Image& image, const RegisterImage& read, int index) {
  std::vector<Changed> changed;
  if (!image.model) return changed;
  ToolState expected(*image.model.profile, {});
  expected.chipModel = image.model.index;
  expected.words = image.words;
  expected.crystalKHz = image.crystal;
  ToolState got = expected;
  got.words = read;
  const std::vector<settings::Setting> a = settings::ReadSettings(expected), b = settings::ReadSettings(got);
  const auto i = static_cast<std::size_t>(index);
  const uint16_t bits = static_cast<uint16_t>(image.words[i] ^ read[i]);
  for (std::size_t n = 0; n < a.size(); ++n) {
    bool here = false;
    if (const RegisterField* f = FindRegisterField(image.model.profile->family, a[n].key))
      here = f->word == index && (bits & f->mask()) != 0;
    else if (a[n].key.starts_with("channel."))
      here = index >= kFirstChannelWord &&
             a[n].key == "channel." + std::to_string((index - kFirstChannelWord) / 2);
    // Without a crystal the channel's frequency cannot be read: its name is all there is.
    if (here && a[n].key.starts_with("channel.") && image.crystal <= 0) {
      changed.push_back({a[n].key, "", ""});
    } else if (here && a[n].key.starts_with("channel.")) {
      // Words the codec never writes still decode, often to the same frequency: say so.
      const int k = (index - kFirstChannelWord) / 2;
      const ChipModel& model = image.model.profile->models[static_cast<std::size_t>(image.model.index)];
      const bool codec =
          CodecProduces(*image.model.profile, image.model.index, image.crystal, ReadChannelWords(read, k));
      const std::string note =
          codec ? std::string() : ", words " + std::string(model.name) + "'s codec never writes";
      changed.push_back({a[n].key, a[n].human, b[n].human + note});
    } else if (here) {
      changed.push_back({a[n].key, a[n].human, b[n].human});
    }
  }
  return changed;
}

// "(the dump looks like a receiver's image: no LX7250 image holds reg17 0x0018)" when the dump
// breaks the image's family rules and the image does not; empty otherwise.
std::string OtherFamilyHint(const Image& image, const RegisterImage& read) {
  if (!image.model) return {};
  ToolState state(*image.model.profile, {});
  state.chipModel = image.model.index;
  state.words = image.words;
  if (!settings::FamilyMisfits(state).empty()) return {};
  state.words = read;
  std::string misfits;
  for (const std::string& misfit : settings::FamilyMisfits(state))
    misfits += (misfits.empty() ? "" : ", ") + misfit;
  if (misfits.empty()) return {};
  return std::string("(the dump looks like a ") +
         (image.model.profile->family == Family::Transmitter ? "receiver" : "transmitter") + "'s image: no " +
         state.selectedModel()->name + " image holds " + misfits + ")";
}

int Verify(Context& ctx, const std::string& imageFile, const std::string& dumpFile, const std::string& model,
           bool json) {
  const Checked<Image> image = ReadImage(ctx, imageFile, model);
  if (!image) return Fail(ctx, image);
  const Checked<std::string> dump = ReadInputOf(ctx, dumpFile, msg::kOpenBinFailed);
  if (!dump) return Fail(ctx, dump);
  if (!LooksBinary(*dump) && dump->find("0x") != std::string::npos)
    return Fail(ctx, DisplayName(dumpFile) +
                         ": text, not a read-back dump (raw binary from the programmer); lxcfg h2bin " +
                         DisplayName(dumpFile) + " OUT.bin converts a header");

  const std::size_t present = std::min<std::size_t>(dump->size() / 2, kEepromSize);
  RegisterImage read = image->words;
  std::vector<int> differing;
  for (std::size_t i = 0; i < present; ++i) {
    read[i] = static_cast<uint16_t>((static_cast<unsigned char>((*dump)[2 * i]) << 8) |
                                    static_cast<unsigned char>((*dump)[2 * i + 1]));
    if (read[i] != image->words[i]) differing.push_back(static_cast<int>(i));
  }
  std::vector<std::size_t> padding;
  for (std::size_t at = kBinaryImageSize; at < dump->size(); ++at)
    if (static_cast<unsigned char>((*dump)[at]) != kErased) padding.push_back(at);
  const bool equal = differing.empty() && present == kEepromSize && padding.empty();

  if (json) {
    Json out = {{"equal", equal}, {"dumpBytes", dump->size()}, {"words", Json::array()}};
    for (const int i : differing) {
      Json settings = Json::array();
      for (const Changed& c : SettingsOfWord(*image, read, i))
        settings.push_back({{"key", c.key}, {"expected", c.expected}, {"read", c.read}});
      const auto idx = static_cast<std::size_t>(i);
      out["words"].push_back({{"word", RegisterName(i)},
                              {"expected", image->words[idx]},
                              {"read", read[idx]},
                              {"settings", settings}});
    }
    out["missing"] = Json::array();
    for (std::size_t i = present; i < kEepromSize; ++i)
      out["missing"].push_back(RegisterName(static_cast<int>(i)));
    out["padding"] = Json::array();
    for (const std::size_t at : padding)
      out["padding"].push_back({{"offset", at}, {"byte", static_cast<unsigned char>((*dump)[at])}});
    ctx.out << out.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    return equal ? kOk : kFailed;
  }

  if (equal) {
    ctx.out << "equal: " << DisplayName(dumpFile) << " holds the " << kEepromSize << " words of "
            << DisplayName(imageFile)
            << (dump->size() > kBinaryImageSize
                    ? ", then " + std::to_string(dump->size() - kBinaryImageSize) +
                          (dump->size() - kBinaryImageSize == 1 ? " byte" : " bytes") + " of 0xff"
                    : std::string())
            << '\n';
    return kOk;
  }
  for (const int i : differing) {
    const auto idx = static_cast<std::size_t>(i);
    std::string line =
        RegisterName(i) + ": expected " + Hex4(image->words[idx]) + ", read " + Hex4(read[idx]);
    std::string names;
    for (const Changed& c : SettingsOfWord(*image, read, i))
      names += (names.empty() ? "" : "; ") + c.key +
               (c.expected.empty() ? "" : ": " + c.expected + " -> " + c.read);
    ctx.out << line << (names.empty() ? "" : " (" + names + ")") << '\n';
  }
  if (present < kEepromSize)
    ctx.out << RegisterName(static_cast<int>(present)) << ".." << RegisterName(kEepromSize - 1)
            << ": missing (the dump holds " << dump->size() << " bytes, the image " << kBinaryImageSize
            << ")\n";
  if (!padding.empty()) {
    ctx.out << padding.size() << (padding.size() == 1 ? " byte" : " bytes") << " past the image not 0xff:";
    for (std::size_t n = 0; n < padding.size() && n < kListedPadding; ++n)
      ctx.out << (n ? ", " : " ") << "offset " << padding[n] << " holds "
              << fmt::format("0x{:02x}", static_cast<unsigned char>((*dump)[padding[n]]));
    ctx.out << (padding.size() > kListedPadding ? ", ..." : "") << '\n';
  }
  if (!differing.empty() && !image->model) ctx.out << "(--model M names the settings these words hold)\n";
  if (const std::string family = OtherFamilyHint(*image, read); !family.empty()) ctx.out << family << '\n';
  ctx.out << "DIFFERENT: " << differing.size() << (differing.size() == 1 ? " word differs" : " words differ")
          << (present < kEepromSize ? ", " + std::to_string(kEepromSize - present) + " missing"
                                    : std::string())
          << (padding.empty() ? std::string() : ", padding not erased") << '\n';
  return kFailed;
}

}  // namespace

void AddVerifyCommand(Commands& commands) {
  if (!commands.wants("verify")) return;
  Context& ctx = commands.ctx();
  auto files = std::make_shared<std::vector<std::string>>();
  auto model = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  CLI::App* sub =
      commands.Add("verify", "A programmer's read-back dump against the image; exit 0 equal, 1 different",
                   "verify IMAGE DUMP [--model M] [--json]", [&ctx, files, model, json] {
                     if (const Checked<> two = RefuseTwoStandardInputs(*files); !two) return Fail(ctx, two);
                     return Verify(ctx, (*files)[0], (*files)[1], *model, *json);
                   });
  sub->add_option("FILES", *files, "IMAGE (header or binary image) and DUMP (raw binary, 192 bytes or more)")
      ->required()
      ->expected(2)
      ->check(kFileName);
  sub->add_option("--model", *model, "The model of a binary IMAGE, to name the settings of differing words")
      ->check(kModelName);
  sub->add_flag("--json", *json, "The report as JSON: equal, dumpBytes, words, missing, padding");
  sub->footer(Examples({"lxcfg verify tx.h EEPROM.bin", "lxcfg verify --json rx.h rx.bin"},
                       "The dump's bytes past the first 192 must be 0xff (an erased EEPROM)."));
}

}  // namespace lx::cli
