#pragma once
// The checks of command-line values that CLI11 runs while parsing, and the texts that name models.
#include <CLI/CLI.hpp>
#include <string>

namespace lx::cli {

// File names on the command line: "-" is standard input or output; an empty name is a usage error.
extern const CLI::Validator kFileName;
// Numbers of options: decimal or 0x hexadecimal, as everywhere in lxcfg (CLI11 alone would read
// "010" as octal). Rewrites the text as decimal for the option's conversion.
extern const CLI::Validator kNumber;
// --model: a catalogue name of either tool, without regard to case.
extern const CLI::Validator kModelName;
// --xtal: a number the header's crystal line holds (the rule `set crystal=K` follows).
extern const CLI::Validator kCrystal;

std::string ModelNames();
// "unknown chip model 'LX7350' (one of LX7240, ...; did you mean LX7250?)"
std::string UnknownModel(const std::string& name);

}  // namespace lx::cli
