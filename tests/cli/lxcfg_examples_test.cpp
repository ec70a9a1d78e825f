// The examples users copy: every subcommand's --help examples and every lxcfg command line of
// docs/lxcfg.md and the README's lxcfg section run with the real program, in a scratch folder
// that holds the files they name, and give the status (and, for transcripts, the output) the
// text shows.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "tests/support/files.h"
#include "tests/support/lxcfg.h"
#include "tests/support/program.h"

namespace lx {
namespace {

using test::Outcome;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;
namespace fs = std::filesystem;

const fs::path kProgram = LXCFG_PROGRAM;
const fs::path kSourceDir = LX_SOURCE_DIR;

std::string DefaultImage(const char* model) {
  return ReadFile(kSourceDir / "resources" / "Data" / model / "EEPROM.h");
}

// The files examples may name without making them first: a transmitter and a receiver image
// that belong together, the transmitter also as EEPROM.h, and both as binaries.
void PrepareScratch(const fs::path& dir) {
  WriteFile(dir / "tx.h", DefaultImage("LX7250"));
  WriteFile(dir / "EEPROM.h", DefaultImage("LX7250"));
  WriteFile(dir / "rx.h", DefaultImage("LX7150"));
  for (const auto& [h, bin] : {std::pair{"tx.h", "EEPROM.bin"}, {"rx.h", "rx.bin"}}) {
    std::ostringstream out, err;
    ASSERT_EQ(cli::run({"h2bin", (dir / h).string(), (dir / bin).string()}, out, err, kProgram.parent_path()),
              0);
  }
}

// ---- --help examples ----

std::vector<std::string> Subcommands() {
  const Outcome help = test::RunLxcfg({"--help"}, kProgram.parent_path());
  std::vector<std::string> names;
  std::istringstream in(help.out.substr(help.out.find("Subcommands:")));
  std::string line;
  std::getline(in, line);
  const std::regex entry(R"(^  ([a-z0-9]+) .*)");
  std::smatch m;
  while (std::getline(in, line) && std::regex_match(line, m, entry)) names.push_back(m[1]);
  return names;
}

TEST(LxcfgExamples, EverySubcommandsHelpShowsExamplesThatRun) {
  const std::vector<std::string> names = Subcommands();
  ASSERT_GE(names.size(), 11u);
  for (const std::string& name : names) {
    const Outcome help = test::RunLxcfg({name, "--help"}, kProgram.parent_path());
    ASSERT_EQ(help.status, 0) << name;
    const std::size_t at = help.out.find("\nExamples:\n");
    ASSERT_NE(at, std::string::npos) << name << " --help has no examples";
    std::istringstream in(help.out.substr(at + 11));
    std::vector<std::string> examples;
    for (std::string line; std::getline(in, line) && line.starts_with("  lxcfg ");)
      examples.push_back(line.substr(2));
    EXPECT_GE(examples.size(), 1u) << name;
    for (const std::string& example : examples) {
      EXPECT_NE(example.find("lxcfg " + name), std::string::npos) << example << ": an example of " << name;
      TempDir scratch;
      PrepareScratch(scratch.path());
      const Outcome r = test::Shell(example, scratch.path());
      EXPECT_EQ(r.status, 0) << example << "\n" << r.err;
      EXPECT_EQ(r.err.find("lxcfg: "), std::string::npos) << example << ": " << r.err;
    }
  }
}

// ---- the documents ----

// A command of a document: the line as given, the status its comment names ("# status 1",
// default 0) and, in a transcript ("$ lxcfg ..." followed by its output), the output shown.
struct DocCommand {
  std::string line;
  int status = 0;
  bool transcript = false;
  std::vector<std::string> output;
};

// The sh code blocks of `text` (from `from` to `to`, markers in the text; empty: the whole
// text), each as its lxcfg commands. Other fences (```text) hold synopses and are not run.
std::vector<std::vector<DocCommand>> CodeBlocks(const std::string& text) {
  std::vector<std::vector<DocCommand>> blocks;
  std::istringstream in(text);
  bool inSh = false, inOther = false;
  const std::regex status(R"(#.*\bstatus (\d))");
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("```")) {
      if (inSh || inOther) {
        inSh = inOther = false;
      } else if (line == "```sh" || line == "```console") {
        inSh = true;
        blocks.emplace_back();
      } else {
        inOther = true;
      }
      continue;
    }
    if (!inSh) continue;
    std::vector<DocCommand>& block = blocks.back();
    const bool prompt = line.starts_with("$ ");
    const std::string command = prompt ? line.substr(2) : line;
    if (command.starts_with("lxcfg ") || (prompt && !command.empty())) {
      DocCommand c{command, 0, prompt, {}};
      std::smatch m;
      if (std::regex_search(command, m, status)) c.status = std::stoi(m[1]);
      block.push_back(c);
    } else if (!block.empty() && block.back().transcript) {
      block.back().output.push_back(line);
    } else if (!line.empty() && !line.starts_with("#") && line.find("lxcfg") != std::string::npos) {
      ADD_FAILURE() << "an lxcfg line the test cannot run: " << line;
    }
  }
  return blocks;
}

// `output` against what the transcript shows; a line "..." stands for any lines.
void ExpectShown(const std::string& command, const std::string& output,
                 const std::vector<std::string>& shown) {
  std::vector<std::string> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  const auto gap = std::find(shown.begin(), shown.end(), "...");
  const std::vector<std::string> head(shown.begin(), gap);
  const std::vector<std::string> tail(gap == shown.end() ? shown.end() : gap + 1, shown.end());
  if (gap == shown.end()) {
    EXPECT_EQ(lines, head) << command;
    return;
  }
  ASSERT_GE(lines.size(), head.size() + tail.size()) << command << "\n" << output;
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(head.size())),
            head)
      << command;
  EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<std::ptrdiff_t>(tail.size()), lines.end()),
            tail)
      << command;
}

void RunDocument(const std::string& name, const std::string& text, std::size_t atLeast) {
  const std::vector<std::vector<DocCommand>> blocks = CodeBlocks(text);
  std::size_t commands = 0;
  for (const std::vector<DocCommand>& block : blocks) {
    if (block.empty()) continue;
    TempDir scratch;
    PrepareScratch(scratch.path());
    for (const DocCommand& c : block) {
      ++commands;
      const Outcome r = test::Shell(c.line, scratch.path());
      EXPECT_EQ(r.status, c.status) << name << ": " << c.line << "\n" << r.out << r.err;
      if (c.transcript) ExpectShown(name + ": " + c.line, r.out, c.output);
    }
  }
  EXPECT_GE(commands, atLeast) << name;
}

TEST(LxcfgExamples, EveryCommandOfTheReferenceRunsAsShown) {
  RunDocument("docs/lxcfg.md", ReadFile(kSourceDir / "docs" / "lxcfg.md"), 10);
}

TEST(LxcfgExamples, EveryCommandOfTheReadmesLxcfgSectionRunsAsShown) {
  const std::string readme = ReadFile(kSourceDir / "README.md");
  const std::size_t from = readme.find("\n## lxcfg");
  ASSERT_NE(from, std::string::npos);
  const std::size_t to = readme.find("\n## ", from + 1);
  RunDocument("README.md", readme.substr(from, to == std::string::npos ? std::string::npos : to - from), 8);
}

// The completion the package installs, sourced by bash as bash-completion would, completing
// lines as a user types them.
TEST(LxcfgExamples, BashCompletionOffersCommandsOptionsKeysModelsAndFiles) {
  TempDir scratch;
  PrepareScratch(scratch.path());
  const std::string script = (kSourceDir / "packaging" / "lxcfg.bash-completion").string();
  const struct {
    std::string line;  // the words typed, the last one being completed
    std::string offered;
  } cases[] = {
      {"lxcfg se", "set"},
      {"lxcfg ver", "verify"},
      {"lxcfg set tx.h pa_", "pa_gain="},
      {"lxcfg set tx.h channel.1",
       "channel.1= channel.10= channel.11= channel.12= channel.13= channel.14= channel.15="},
      {"lxcfg show tx.h --model LXM", "LXM7140"},
      {"lxcfg plan rx.h --sug", "--suggest"},
      {"lxcfg h2bin -", "-h --help --help-all --strict -o --output --force"},
      {"lxcfg plan rx.h --im", "--im3 --im3x --im5"},
      {"lxcfg show tx.h --model lxm", "lxm7140"},
      {"lxcfg show tx.h --model LX725", "LX7250 LX7250D"},
      {"lxcfg set rx.h vol", "volume="},
      {"lxcfg set tx.h vol", ""},
      {"lxcfg h2bin r", "rx.bin rx.h"},
  };
  for (const auto& c : cases) {
    const Outcome r =
        test::Shell("bash -c 'source \"" + script + "\"; COMP_WORDS=(" + c.line +
                        "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _lxcfg; echo \"${COMPREPLY[*]}\"'",
                    scratch.path());
    EXPECT_EQ(r.out, c.offered + "\n") << c.line << r.err;
  }
}

}  // namespace
}  // namespace lx
