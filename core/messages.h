#pragma once
// The texts the tools show to the user, each written once, and the kinds of outcome that carry
// them. Hosts show a text in a message box titled with the application name; the command line
// prints it on standard error, led by the file it is about.
#include <array>
#include <cstdint>
#include <string_view>

namespace lx {

namespace msg {
inline constexpr const char* kDefaultImageFailed = "打开EEPROM.h文件失败,请联系Quillmark!";
inline constexpr const char* kOpenHeaderFailed = "打开头文件失败!";
inline constexpr const char* kNoChipModel = "没有指定芯片型号，无法保存!";
inline constexpr const char* kSaveFailed = "保存文件失败!";
inline constexpr const char* kOpenBinFailed = "打开bin文件失败!";
inline constexpr const char* kBinError = "error!";
inline constexpr const char* kConverted = "转换成功!";

// The channel dialog's texts, completed with the limits they name (channel/channel_rules.h).
inline constexpr const char* kCrystalRangeLead = "晶振频率范围:";  // + "23000KHz~25000KHz"
inline constexpr const char* kEnterAgain = "请重新输入!";
inline constexpr const char* kChannelRangeLead = "请输入正确的频道:";  // + "470000KHz~960000KHz"
}  // namespace msg

// What a user-level operation came to. The windows show the kind's one text (none for some);
// the command line decides on the kind and names the file it is about.
enum class Outcome : uint8_t {
  Done,                    // nothing to say
  Converted,               // a conversion wrote its output
  NoSuchModel,             // a model index outside the tool's table (never offered by a window)
  DefaultImageUnreadable,  // the model's Data/<model>/EEPROM.h
  HeaderUnreadable,        // the header to open or to convert
  NoChipModel,             // a header cannot be written without a model
  HeaderNotWritten,        // Save or "bin To h" could not write its output
  OutputNotCreated,        // a conversion's output cannot be created: ends without a message
  BinaryUnreadable,        // the binary image to convert
  BinaryEmpty,             // the binary image holds fewer than 192 bytes
  BinaryNotWritten,        // "h To bin" could not write its output
  Count,
};

// Which file an outcome is about, for messages that name it.
enum class Subject : uint8_t { None, Input, Output };

struct OutcomeRow {
  Outcome outcome;
  const char* text;  // what the windows show; empty: nothing
  Subject subject;
};

inline constexpr std::array<OutcomeRow, static_cast<std::size_t>(Outcome::Count)> kOutcomes{{
    {Outcome::Done, "", Subject::None},
    {Outcome::Converted, msg::kConverted, Subject::Output},
    {Outcome::NoSuchModel, "", Subject::None},
    {Outcome::DefaultImageUnreadable, msg::kDefaultImageFailed, Subject::Input},
    {Outcome::HeaderUnreadable, msg::kOpenHeaderFailed, Subject::Input},
    {Outcome::NoChipModel, msg::kNoChipModel, Subject::None},
    {Outcome::HeaderNotWritten, msg::kSaveFailed, Subject::Output},
    {Outcome::OutputNotCreated, "", Subject::Output},
    {Outcome::BinaryUnreadable, msg::kOpenBinFailed, Subject::Input},
    {Outcome::BinaryEmpty, msg::kBinError, Subject::Input},
    {Outcome::BinaryNotWritten, msg::kOpenBinFailed, Subject::Output},
}};

constexpr const OutcomeRow& RowOf(Outcome o) { return kOutcomes[static_cast<std::size_t>(o)]; }
constexpr std::string_view WindowText(Outcome o) { return RowOf(o).text; }
constexpr Subject SubjectOf(Outcome o) { return RowOf(o).subject; }

// Each row stands at its outcome's index.
constexpr bool OutcomesInOrder() {
  for (std::size_t i = 0; i < kOutcomes.size(); ++i)
    if (static_cast<std::size_t>(kOutcomes[i].outcome) != i) return false;
  return true;
}
static_assert(OutcomesInOrder());

}  // namespace lx
