// The shared text rules: every number box, lxcfg value and scenario reads numbers through them.
#include "core/text.h"

#include <gtest/gtest.h>

namespace lx {
namespace {

TEST(Text, DecimalNumbersUnderEachSignRule) {
  const struct {
    const char* text;
    std::optional<int64_t> none, plusOnly, any;
  } rows[] = {
      {"0", 0, 0, 0},
      {"606000", 606000, 606000, 606000},
      {"4294967295", 4294967295, 4294967295, 4294967295},
      {"4294967296", {}, {}, {}},
      {"00000000000042", 42, 42, 42},
      {"+7", {}, 7, 7},
      {"-7", {}, {}, -7},
      {"-4294967295", {}, {}, -4294967295},
      {"", {}, {}, {}},
      {"+", {}, {}, {}},
      {"-", {}, {}, {}},
      {" 7", {}, {}, {}},
      {"7 ", {}, {}, {}},
      {"6o6000", {}, {}, {}},
      {"0x10", {}, {}, {}},
      {"1.5", {}, {}, {}},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ParseDecimal(r.text, SignRule::None), r.none) << r.text;
    EXPECT_EQ(ParseDecimal(r.text, SignRule::PlusOnly), r.plusOnly) << r.text;
    EXPECT_EQ(ParseDecimal(r.text, SignRule::Any), r.any) << r.text;
  }
}

TEST(Text, NumbersInHexOrDecimal) {
  const struct {
    const char* text;
    std::optional<uint32_t> value;
  } rows[] = {
      {"0x1A2b", 0x1A2B},  {"0XFFFFFFFF", 0xFFFFFFFF},
      {"0x100000000", {}}, {"0x", {}},
      {"0xg", {}},         {"41", 41},
      {"-1", {}},          {"", {}},
      {"x10", {}},
  };
  for (const auto& r : rows) EXPECT_EQ(ParseNumber(r.text), r.value) << r.text;
}

TEST(Text, CaseFoldingAndRegisterNames) {
  EXPECT_EQ(ToLower("LX7250D Pa_Gain"), "lx7250d pa_gain");
  EXPECT_EQ(ToUpper("lxm7140"), "LXM7140");
  EXPECT_TRUE(SameIgnoringCase("AfC_RaNgE", "afc_range"));
  EXPECT_FALSE(SameIgnoringCase("afc", "afc_range"));
  EXPECT_TRUE(SameIgnoringCase("±20khz", "±20KHz")) << "bytes beyond ASCII compare as they are";
  EXPECT_EQ(RegisterName(0x0a), "reg0a");
  EXPECT_EQ(RegisterName(0x5f), "reg5f");
  EXPECT_EQ(Hex4(0x1A2B), "0x1a2b");
  EXPECT_EQ(Hex4(0x12345), "0x2345");
}

}  // namespace
}  // namespace lx
