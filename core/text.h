#pragma once
// Small text rules that every layer shares: whole decimal numbers, case-insensitive names and
// register word names. Each is written here once.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lx {

enum class SignRule : uint8_t {
  None,      // digits only
  PlusOnly,  // an optional '+'
  Any,       // an optional '+' or '-'
};

// A whole decimal number and nothing else (no blanks): digits, after an optional sign as the
// rule allows. nullopt when there are no digits, anything else follows, or the magnitude needs
// more than 32 bits.
std::optional<int64_t> ParseDecimal(std::string_view text, SignRule sign = SignRule::None);

// An unsigned 32-bit number in decimal or with a 0x prefix in hexadecimal ("0x1A2b", "606000").
std::optional<uint32_t> ParseNumber(std::string_view text);

// The command line's one number rule: ParseNumber's decimal or 0x hexadecimal, after a sign as
// `sign` allows ("-0x10" is -16 with SignRule::Any).
std::optional<int64_t> ParseInteger(std::string_view text, SignRule sign = SignRule::None);

// ASCII case folding: names, keys and item texts are compared without regard to case.
std::string ToLower(std::string_view text);
std::string ToUpper(std::string_view text);
bool SameIgnoringCase(std::string_view a, std::string_view b);

// The candidate a mistyped `word` most likely meant (case ignored; a few letters wrong, missing,
// extra or swapped), for "did you mean" hints; empty when none is that close.
std::string Nearest(std::string_view word, std::span<const std::string> candidates);

// "reg1c": a register word as the header comments and every listing name it.
std::string RegisterName(int index);

// "0x1a2b": a register word's value as lxcfg and the listings print it.
std::string Hex4(uint32_t word);

}  // namespace lx
