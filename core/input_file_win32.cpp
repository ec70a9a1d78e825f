// Windows implementation of the bounded input reads: files opened through their UTF-16 names in
// binary mode, and pipes (standard input from another program) polled with PeekNamedPipe, since
// Windows has no poll() for them.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "core/input_file.h"

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

// Waits until the pipe behind `h` holds a byte or has been closed by its writer. False when it
// stayed silent for `idleMillis`.
bool WaitForPipe(HANDLE h, int idleMillis) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(idleMillis);
  for (;;) {
    DWORD available = 0;
    // A closed or broken pipe answers false: the read then sees its end.
    if (!PeekNamedPipe(h, nullptr, 0, nullptr, &available, nullptr) || available > 0) return true;
    if (idleMillis >= 0 && std::chrono::steady_clock::now() >= deadline) return false;
    Sleep(5);
  }
}

InputRead ReadAll(int fd, bool pipe, const InputLimits& limits) {
  InputRead r;
  std::array<char, 64 * 1024> buffer;
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  for (;;) {
    // A pipe may stay silent for ever; a file never makes us wait.
    if (pipe && !WaitForPipe(h, limits.idleMillis))
      return Failure(InputError::Stalled, "no data for " + Seconds(limits.idleMillis) + "; reading given up");
    // One byte past the limit tells a file of exactly the limit from a larger one.
    const std::size_t room = limits.maxBytes + (limits.truncate ? 0 : 1) - r.bytes.size();
    const int got = _read(fd, buffer.data(), static_cast<unsigned>(std::min(buffer.size(), room)));
    if (got < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
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
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (h == INVALID_HANDLE_VALUE) return Failure(InputError::CannotOpen, std::strerror(EBADF));
  // Whatever the console or caller set, the bytes come as they are: no CRLF translation.
  _setmode(fd, _O_BINARY);
  return ReadAll(fd, GetFileType(h) == FILE_TYPE_PIPE, limits);
}

InputRead ReadInput(const std::filesystem::path& path, const InputLimits& limits) {
  // Windows opens no folder as a file; say so as POSIX systems do.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return Failure(InputError::Folder, std::strerror(EISDIR));
  const int fd = _wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) return Failure(InputError::CannotOpen, std::strerror(errno));
  InputRead r = ReadInputFrom(fd, limits);
  _close(fd);
  return r;
}

}  // namespace lx
