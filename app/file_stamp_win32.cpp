#include <windows.h>

#include "app/file_watch.h"

namespace lx::app {

namespace {
constexpr std::uint64_t kTicksPerSecond = 10'000'000;  // FILETIME counts 100 ns since 1601

FileTime TimeOf(const FILETIME& t) {
  const std::uint64_t ticks = (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
  return {static_cast<std::int64_t>(ticks / kTicksPerSecond),
          static_cast<std::int64_t>(ticks % kTicksPerSecond)};
}
}  // namespace

FileTime Now() {
  FILETIME t;
  GetSystemTimeAsFileTime(&t);
  return TimeOf(t);
}

std::optional<FileSignature> SignatureOf(const std::filesystem::path& path) {
  HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = GetFileInformationByHandle(h, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  CloseHandle(h);
  if (!ok) return std::nullopt;
  return FileSignature{(std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
                       (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
                       TimeOf(info.ftLastWriteTime), TimeOf(info.ftCreationTime)};
}

}  // namespace lx::app
