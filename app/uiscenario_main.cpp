// uiscenario <ambrel|ostrel> <working-folder> [<script>|-]
// Runs a script of user actions against a tool's windows without a display; see
// docs/uiscenario.md for the language.
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

#include "app/scenario.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4 || (std::strcmp(argv[1], "ambrel") != 0 && std::strcmp(argv[1], "ostrel") != 0)) {
    std::cerr << "usage: uiscenario <ambrel|ostrel> <working-folder> [<script>|-]\n"
                 "Reads the script from standard input when it is '-' or missing.\n";
    return 2;
  }
  const lx::app::ToolDefinition& tool =
      std::strcmp(argv[1], "ambrel") == 0 ? lx::app::AmbrelTool() : lx::app::OstrelTool();
  std::filesystem::path workDir = argv[2];
  std::error_code ec;
  std::filesystem::create_directories(workDir, ec);
  if (!std::filesystem::is_directory(workDir)) {
    std::cerr << "uiscenario: cannot use working folder " << workDir << "\n";
    return 2;
  }
  std::string script;
  if (argc == 4 && std::strcmp(argv[3], "-") != 0) {
    std::ifstream in(argv[3], std::ios::binary);
    if (!in) {
      std::cerr << "uiscenario: cannot read " << argv[3] << "\n";
      return 2;
    }
    script.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } else {
    script.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  return lx::app::RunScenario(tool, lx::ProgramDirectory(argv[0]), std::filesystem::absolute(workDir), script,
                              std::cout);
}
