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
#else
#include <unistd.h>

#include <array>
#include <cerrno>
#include <streambuf>

namespace {

// Standard output written straight to its descriptor: when a write fails, errno still says why
// (through the C library's buffer the reason can be gone by the time the stream is flushed).
class DescriptorOutput : public std::streambuf {
 public:
  DescriptorOutput() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

 protected:
  int_type overflow(int_type c) override {
    if (sync() != 0) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  int sync() override {
    const char* p = pbase();
    while (p < pptr()) {
      const ssize_t n = ::write(STDOUT_FILENO, p, static_cast<std::size_t>(pptr() - p));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        if (n == 0) errno = ENOSPC;
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        return -1;
      }
      p += n;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return 0;
  }

 private:
  std::array<char, 65536> buffer_{};
};

}  // namespace
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
  return lx::cli::run(args, std::cout, std::cerr, lx::ProgramDirectory(argv[0]), _isatty(_fileno(stdout)) != 0);
#else
  DescriptorOutput standardOutput;
  std::ostream out(&standardOutput);
  return lx::cli::run(args, out, std::cerr, lx::ProgramDirectory(argv[0]), ::isatty(STDOUT_FILENO) != 0);
#endif
}
