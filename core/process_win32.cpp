#include <fcntl.h>
#include <io.h>
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <cstdio>

#include "core/path_text.h"
#include "core/process.h"

namespace lx {

std::filesystem::path ProgramDirectory(const char* argv0) {
  // The module's own name, in UTF-16 and of any length (argv[0] may be relative or 8.3).
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (n == 0) break;
    if (n < module.size()) {
      module.resize(n);
      return std::filesystem::path(module).parent_path();
    }
    module.resize(module.size() * 2);
  }
  std::error_code ec;
  if (argv0 && *argv0) return std::filesystem::absolute(argv0, ec).parent_path();
  return std::filesystem::current_path(ec);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8FromPath(std::filesystem::path(wide[i])));
  LocalFree(wide);
  return args;
}

void UseBinaryStandardStreams() {
  SetConsoleOutputCP(CP_UTF8);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
}

}  // namespace lx
