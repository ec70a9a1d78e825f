#include <sys/stat.h>
#include <time.h>

#include "app/file_watch.h"

namespace lx::app {

namespace {
FileTime TimeOf(const timespec& t) { return {t.tv_sec, t.tv_nsec}; }
}  // namespace

// File times come from the kernel's coarse clock: a file written just after this moment must
// not look older than it.
FileTime Now() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME_COARSE, &t);
  return TimeOf(t);
}

std::optional<FileSignature> SignatureOf(const std::filesystem::path& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return FileSignature{static_cast<std::uint64_t>(st.st_ino), static_cast<std::uint64_t>(st.st_size),
                       TimeOf(st.st_mtim), TimeOf(st.st_ctim)};
}

}  // namespace lx::app
