#pragma once
// Inputs that never end or never start: a FIFO fed by a thread, for the tests of bounded
// reading. The feeder gives up on its own, so that a reader that never comes cannot hang a test.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

namespace lx::test {

// A FIFO at `path`. With `chunk` non-empty a thread writes it again and again until the reader
// closes its end (or `repeat` times, then closes); with `chunk` empty nobody ever writes.
class FifoFeeder {
 public:
  FifoFeeder(const std::filesystem::path& path, std::string chunk, long repeat = -1) : path_(path) {
    ::signal(SIGPIPE, SIG_IGN);
    ::mkfifo(path.c_str(), 0600);
    if (chunk.empty()) return;
    thread_ = std::thread([this, chunk = std::move(chunk), repeat] {
      // Non-blocking open: a reader that never comes must not keep this thread for ever.
      int fd = -1;
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
      while (fd < 0 && !stop_ && std::chrono::steady_clock::now() < deadline) {
        fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      if (fd < 0) return;
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
      for (long n = 0; (repeat < 0 || n < repeat) && !stop_; ++n)
        if (::write(fd, chunk.data(), chunk.size()) < 0) break;  // EPIPE: the reader has gone
      ::close(fd);
    });
  }
  ~FifoFeeder() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// AddressSanitizer keeps freed memory in quarantine and pads every block: memory bounds of the
// tests allow for that in its build.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr long kMemoryAllowance = 2;
#else
inline constexpr long kMemoryAllowance = 1;
#endif

// The largest resident set of this process so far, in MiB.
inline long PeakMiB() {
  rusage u{};
  ::getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss / 1024;
}

}  // namespace lx::test
