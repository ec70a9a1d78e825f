#include <unistd.h>

#include <array>
#include <cerrno>
#include <iostream>
#include <streambuf>

#include "cli/lxcfg.h"
#include "core/state.h"

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

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  DescriptorOutput standardOutput;
  std::ostream out(&standardOutput);
  return lx::cli::run(args, out, std::cerr, lx::ProgramDirectory(argv[0]), ::isatty(STDOUT_FILENO) != 0);
}
