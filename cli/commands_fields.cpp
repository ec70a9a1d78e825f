// fields: the register field table of both tool families, by owning dialog, with word, bits
// and values; --markdown gives the table the user guide carries, so the guide is generated from
// the same table the tools use.
#include <cstdio>

#include "channel/codec.h"
#include "cli/command.h"
#include "core/register_map.h"

namespace lx::cli {
namespace {

// The dialog that owns each field, as the first field of each dialog in the enum order.
struct Owner {
  int firstField;
  const char* dialog;
};
constexpr Owner kTxOwners[] = {{static_cast<int>(TxField::PaGain), "射频配置 (RF)"},
                               {static_cast<int>(TxField::PreEmphasis), "音频配置 (audio)"},
                               {static_cast<int>(TxField::Pilot), "其他配置 (other)"},
                               {static_cast<int>(TxField::MuteLevel), "none (written by the tool)"},
                               {static_cast<int>(TxField::TxIdFlag), "其他配置 (other), read only"}};
constexpr Owner kRxOwners[] = {{static_cast<int>(RxField::Bass), "音效配置 (sound effect)"},
                               {static_cast<int>(RxField::DeEmphasis), "音频配置 (audio)"},
                               {static_cast<int>(RxField::Automute), "其他配置 (other)"},
                               {static_cast<int>(RxField::FixupWord), "none (written by the tool)"}};

const char* OwnerOf(Family family, int index) {
  const std::span<const Owner> owners =
      family == Family::Transmitter ? std::span<const Owner>(kTxOwners) : std::span<const Owner>(kRxOwners);
  const char* dialog = owners.front().dialog;
  for (const Owner& o : owners)
    if (index >= o.firstField) dialog = o.dialog;
  return dialog;
}

std::string Word(int index) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "reg%02x", index);
  return buf;
}

std::string Bits(const RegisterField& f) {
  return f.hi == f.lo ? std::to_string(f.hi) : std::to_string(f.hi) + ":" + std::to_string(f.lo);
}

// What the field holds and anything special about writing it.
std::string Values(Family family, const RegisterField& f, bool setting) {
  const ModelFixup fixup = ModelFixupOf(family);
  std::string text;
  if (setting) text = ValidValues(f);
  if (f.kind == FieldKind::Threshold) text += " (steps of 9.375 mV)";
  if (f.setBitDisables) text += "; a set bit turns it off";
  if (f.companion)
    text += "; on also sets " + Word(f.companion->word) + " " + Bits(*f.companion) + " to " +
            std::to_string(f.companionValue);
  if (f.txIdModelsOnly) text += "; LX7240D and LX7250D only";
  if (&f == &fixup.field)
    text += std::string(text.empty() ? "" : "; ") + "set to " +
            (f.hi - f.lo == 15 ? Hex4(fixup.value) : std::to_string(fixup.value)) +
            " whenever a model is selected or a header is opened";
  if (!setting && &f != &fixup.field) text = "read only: " + FormatField(f, 1) + " when the bit is set";
  return text;
}

void Markdown(std::ostream& out) {
  for (const ToolProfile* profile : AllProfiles()) {
    std::string models;
    for (const ChipModel& m : profile->models) models += (models.empty() ? "" : ", ") + std::string(m.name);
    out << "### " << profile->appName << " (" << models << ")\n\n"
        << "| Dialog | Setting | Word | Bits | Mask | Values |\n|---|---|---|---|---|---|\n";
    const std::span<const RegisterField> all = AllRegisterFields(profile->family);
    const std::size_t settings = RegisterFields(profile->family).size();
    for (std::size_t i = 0; i < all.size(); ++i) {
      const RegisterField& f = all[i];
      const bool setting = i < settings;
      out << "| " << OwnerOf(profile->family, static_cast<int>(i)) << " | "
          << (setting ? "`" + std::string(f.name) + "`" : "(" + std::string(f.name) + ")") << " | "
          << Word(f.word) << " | " << Bits(f) << " | " << Hex4(f.mask()) << " | "
          << Values(profile->family, f, setting) << " |\n";
    }
    out << "| 频道配置 (channels) | `crystal` | header line 1 | | | kHz; 23000..25000 expected |\n"
        << "| 频道配置 (channels) | `channel.N`, N = 0.." << kChannelCount - 1 << " | "
        << Word(kFirstChannelWord) << "+2N, " << Word(kFirstChannelWord + 1)
        << "+2N | 15:0 | 0xffff | kHz; control word and fraction word |\n\n";
  }
}

void Plain(std::ostream& out) {
  for (const ToolProfile* profile : AllProfiles()) {
    const std::span<const RegisterField> all = AllRegisterFields(profile->family);
    const std::size_t settings = RegisterFields(profile->family).size();
    for (std::size_t i = 0; i < settings; ++i) {
      const RegisterField& f = all[i];
      char line[96];
      std::snprintf(line, sizeof line, "%-7s %-24s %s %-5s %s  ", profile->appName, f.name,
                    Word(f.word).c_str(), Bits(f).c_str(), Hex4(f.mask()).c_str());
      out << line << Values(profile->family, f, true) << '\n';
    }
  }
}

}  // namespace

void AddFieldsCommand(Commands& commands) {
  if (!commands.wants("fields")) return;
  Context& ctx = commands.ctx();
  auto markdown = std::make_shared<bool>(false);
  CLI::App* sub = commands.Add("fields", "Every setting of both tools: its word, bits, mask and values",
                               "fields [--markdown]", [&ctx, markdown] {
                                 if (*markdown)
                                   Markdown(ctx.out);
                                 else
                                   Plain(ctx.out);
                                 return ctx.out ? kOk : kFailed;
                               });
  sub->add_flag("--markdown", *markdown, "The tables of the user guide, by owning dialog");
  sub->footer(Examples({"lxcfg fields", "lxcfg fields --markdown"}));
}

}  // namespace lx::cli
