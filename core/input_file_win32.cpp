// Windows implementation of the bounded input reads: files opened through their UTF-16 names in
// binary mode, and pipes (standard input from another program) polled with PeekNamedPipe, since
// Windows has no poll() for them.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

#include "core/file_common.h"
#include "core/input_file.h"

namespace lx {
namespace {

using file_detail::InputFailure;

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
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  std::function<std::optional<InputRead>()> wait;
  if (pipe) {
    // A pipe may stay silent for ever; a file never makes us wait.
    wait = [h, &limits]() -> std::optional<InputRead> {
      if (WaitForPipe(h, limits.idleMillis)) return std::nullopt;
      return InputFailure(InputError::Stalled, file_detail::StalledReason(limits.idleMillis));
    };
  }
  return file_detail::ReadBounded(limits, wait, [fd](char* buffer, std::size_t size) {
    return static_cast<long long>(_read(fd, buffer, static_cast<unsigned>(size)));
  });
}

}  // namespace

InputRead ReadInputFrom(int fd, const InputLimits& limits) {
  const HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (h == INVALID_HANDLE_VALUE) return InputFailure(InputError::CannotOpen, std::strerror(EBADF));
  // Whatever the console or caller set, the bytes come as they are: no CRLF translation.
  _setmode(fd, _O_BINARY);
  return ReadAll(fd, GetFileType(h) == FILE_TYPE_PIPE, limits);
}

InputRead ReadInput(const std::filesystem::path& path, const InputLimits& limits) {
  // Windows opens no folder as a file; say so as POSIX systems do.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return InputFailure(InputError::Folder, std::strerror(EISDIR));
  const int fd = _wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) return InputFailure(InputError::CannotOpen, std::strerror(errno));
  InputRead r = ReadInputFrom(fd, limits);
  _close(fd);
  return r;
}

namespace {

// The volume and file index of an open handle to a regular file on a disk.
std::optional<std::pair<DWORD, ULONGLONG>> DiskFileId(HANDLE h) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (h == INVALID_HANDLE_VALUE || GetFileType(h) != FILE_TYPE_DISK ||
      !GetFileInformationByHandle(h, &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return std::nullopt;
  return std::pair{info.dwVolumeSerialNumber,
                   (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::optional<std::pair<DWORD, ULONGLONG>> DiskFileId(const std::filesystem::path& path) {
  // Links are followed: the file they name is the one that would be replaced.
  const HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  const auto id = DiskFileId(h);
  CloseHandle(h);
  return id;
}

}  // namespace

bool SameRegularFile(const std::filesystem::path& output, const std::filesystem::path& input) {
  const auto a = DiskFileId(output);
  return a && a == DiskFileId(input);
}

bool SameRegularFileAsStandardInput(const std::filesystem::path& output) {
  const auto a = DiskFileId(output);
  return a && a == DiskFileId(GetStdHandle(STD_INPUT_HANDLE));
}

bool SameRegularFileAsStandardOutput(const std::filesystem::path& input) {
  const auto a = DiskFileId(input);
  return a && a == DiskFileId(GetStdHandle(STD_OUTPUT_HANDLE));
}

bool StandardInputIsStandardOutput() {
  const auto a = DiskFileId(GetStdHandle(STD_INPUT_HANDLE));
  return a && a == DiskFileId(GetStdHandle(STD_OUTPUT_HANDLE));
}

}  // namespace lx
