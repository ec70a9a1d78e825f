#include <iostream>

#include "cli/lxcfg.h"
#include "core/path_text.h"
#include "core/state.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>
#endif

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
#ifdef _WIN32
  // The arguments in UTF-16, as typed (argv holds them in the ANSI code page), and a console
  // that shows the UTF-8 we print.
  int count = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    args.clear();
    for (int i = 1; i < count; ++i) args.push_back(lx::Utf8FromPath(std::filesystem::path(wide[i])));
    LocalFree(wide);
  }
  SetConsoleOutputCP(CP_UTF8);
  // Headers and binary images pass through standard input and output byte for byte: text
  // mode would turn each CRLF line end into CR CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  return lx::cli::run(args, std::cout, std::cerr, lx::ProgramDirectory(argv[0]));
}
