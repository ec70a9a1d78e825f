#include "core/input_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>

#include "core/file_common.h"

namespace lx {
namespace {

using file_detail::InputFailure;

InputRead ReadAll(int fd, bool waits, const InputLimits& limits) {
  std::function<std::optional<InputRead>()> wait;
  if (waits) {
    // Pipes and devices may stay silent for ever; a regular file never makes us wait.
    wait = [fd, &limits]() -> std::optional<InputRead> {
      for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, limits.idleMillis < 0 ? -1 : limits.idleMillis);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return InputFailure(InputError::ReadFailed, std::strerror(errno));
        if (ready == 0) return InputFailure(InputError::Stalled, file_detail::StalledReason(limits.idleMillis));
        if (p.revents & POLLNVAL) return InputFailure(InputError::ReadFailed, std::strerror(EBADF));
        return std::nullopt;
      }
    };
  }
  return file_detail::ReadBounded(limits, wait, [fd](char* buffer, std::size_t size) {
    return static_cast<long long>(::read(fd, buffer, size));
  });
}

}  // namespace

InputRead ReadInputFrom(int fd, const InputLimits& limits) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return InputFailure(InputError::CannotOpen, std::strerror(errno));
  if (S_ISDIR(st.st_mode)) return InputFailure(InputError::Folder, std::strerror(EISDIR));
  return ReadAll(fd, !S_ISREG(st.st_mode), limits);
}

InputRead ReadInput(const std::filesystem::path& path, const InputLimits& limits) {
  // Non-blocking only for the opening: a FIFO without a writer would otherwise hold open() for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return InputFailure(InputError::CannotOpen, std::strerror(errno));
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  InputRead r = ReadInputFrom(fd, limits);
  ::close(fd);
  return r;
}

namespace {

bool SameRegularFile(const struct stat& a, const struct stat& b) {
  return S_ISREG(a.st_mode) && S_ISREG(b.st_mode) && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

bool SameRegularFile(const std::filesystem::path& output, const std::filesystem::path& input) {
  struct stat a {
  }, b{};
  return ::stat(output.c_str(), &a) == 0 && ::stat(input.c_str(), &b) == 0 && SameRegularFile(a, b);
}

bool SameRegularFileAsStandardInput(const std::filesystem::path& output) {
  struct stat a {
  }, b{};
  return ::stat(output.c_str(), &a) == 0 && ::fstat(STDIN_FILENO, &b) == 0 && SameRegularFile(a, b);
}

bool SameRegularFileAsStandardOutput(const std::filesystem::path& input) {
  struct stat a {
  }, b{};
  return ::stat(input.c_str(), &a) == 0 && ::fstat(STDOUT_FILENO, &b) == 0 && SameRegularFile(a, b);
}

bool StandardInputIsStandardOutput() {
  struct stat a {
  }, b{};
  return ::fstat(STDIN_FILENO, &a) == 0 && ::fstat(STDOUT_FILENO, &b) == 0 && SameRegularFile(a, b);
}

}  // namespace lx
