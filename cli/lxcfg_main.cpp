#include <iostream>

#include "cli/lxcfg.h"
#include "core/process.h"

#ifdef _WIN32
#include <io.h>

#include <cstdio>
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
  std::vector<std::string> args = lx::CommandLineArguments(argc, argv);
#ifdef _WIN32
  // Headers and binary images pass through standard input and output byte for byte.
  lx::UseBinaryStandardStreams();
  return lx::cli::run(args, std::cout, std::cerr, lx::ProgramDirectory(argv[0]), _isatty(_fileno(stdout)) != 0);
#else
  DescriptorOutput standardOutput;
  std::ostream out(&standardOutput);
  return lx::cli::run(args, out, std::cerr, lx::ProgramDirectory(argv[0]), ::isatty(STDOUT_FILENO) != 0);
#endif
}
