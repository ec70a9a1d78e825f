#include "core/input_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace lx {
namespace {

InputRead Failure(InputError error, std::string reason) {
  InputRead r;
  r.error = error;
  r.reason = std::move(reason);
  return r;
}

std::string Mebibytes(std::size_t bytes) {
  if (bytes % (std::size_t{1} << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
  return std::to_string(bytes) + " bytes";
}

std::string Seconds(int millis) {
  if (millis % 1000 == 0) return std::to_string(millis / 1000) + " s";
  return std::to_string(millis) + " ms";
}

InputRead ReadAll(int fd, bool waits, const InputLimits& limits) {
  InputRead r;
  std::array<char, 64 * 1024> buffer;
  for (;;) {
    if (waits) {
      // Pipes and devices may stay silent for ever; a regular file never makes us wait.
      pollfd p{fd, POLLIN, 0};
      const int ready = ::poll(&p, 1, limits.idleMillis < 0 ? -1 : limits.idleMillis);
      if (ready < 0) {
        if (errno == EINTR) continue;
        return Failure(InputError::ReadFailed, std::strerror(errno));
      }
      if (ready == 0)
        return Failure(InputError::Stalled,
                       "no data for " + Seconds(limits.idleMillis) + "; reading given up");
      if (p.revents & POLLNVAL) return Failure(InputError::ReadFailed, std::strerror(EBADF));
    }
    // One byte past the limit tells a file of exactly the limit from a larger one.
    const std::size_t room = limits.maxBytes + (limits.truncate ? 0 : 1) - r.bytes.size();
    const ssize_t got = ::read(fd, buffer.data(), std::min(buffer.size(), room));
    if (got < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return Failure(InputError::ReadFailed, std::strerror(errno));
    }
    if (got == 0) break;
    // Grow by doubling, but never past the limit: memory stays within the limit and a bit.
    const std::size_t need = r.bytes.size() + static_cast<std::size_t>(got);
    if (need > r.bytes.capacity())
      r.bytes.reserve(std::min(std::max(need, 2 * r.bytes.capacity()), limits.maxBytes + 1));
    r.bytes.append(buffer.data(), static_cast<std::size_t>(got));
    if (r.bytes.size() > limits.maxBytes)
      return Failure(InputError::TooLarge,
                     "larger than " + Mebibytes(limits.maxBytes) + "; reading stopped there");
    if (limits.truncate && r.bytes.size() == limits.maxBytes) break;
  }
  return r;
}

}  // namespace

InputRead ReadInputFrom(int fd, const InputLimits& limits) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return Failure(InputError::CannotOpen, std::strerror(errno));
  if (S_ISDIR(st.st_mode)) return Failure(InputError::Folder, std::strerror(EISDIR));
  return ReadAll(fd, !S_ISREG(st.st_mode), limits);
}

InputRead ReadInput(const std::filesystem::path& path, const InputLimits& limits) {
  // Non-blocking only for the opening: a FIFO without a writer would otherwise hold open() for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return Failure(InputError::CannotOpen, std::strerror(errno));
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  InputRead r = ReadInputFrom(fd, limits);
  ::close(fd);
  return r;
}

}  // namespace lx
