#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace lx {
namespace {

thread_local const FileFault* activeFault = nullptr;

// The injected failure for `step`, if one is installed: its errno.
int FaultAt(FileStep step) { return activeFault && activeFault->step == step ? activeFault->error : 0; }

// After the rename the folder entry must reach the disk too, or a crash could bring back the
// old file. A failure here changes nothing the caller could act on.
void SyncFolderOf(const std::filesystem::path& target) {
  std::filesystem::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

ScopedFileFault::ScopedFileFault(const FileFault& fault) : fault_(fault), previous_(activeFault) {
  activeFault = &fault_;
}
ScopedFileFault::~ScopedFileFault() { activeFault = previous_; }

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::fail(const char* what, int err) {
  error_ = std::string(what) + ": " + std::strerror(err);
  Abandon();
  return false;
}

bool AtomicFile::Open(const std::filesystem::path& target) {
  Abandon();
  target_ = target;
  written_ = 0;
  error_.clear();
  if (const int err = FaultAt(FileStep::Create)) return fail("cannot create", err);
  std::filesystem::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  const std::string name = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> templ(name.begin(), name.end());
  templ.push_back('\0');
  fd_ = ::mkstemp(templ.data());
  if (fd_ < 0) return fail("cannot create", errno);
  tempName_ = templ.data();
  // Keep the permissions of the file being replaced; a new file gets the usual 0644.
  struct stat st {};
  const mode_t mode = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? (st.st_mode & 07777) : 0644;
  ::fchmod(fd_, mode);
  return true;
}

bool AtomicFile::Write(std::string_view data) {
  if (fd_ < 0) return false;
  // An injected write failure lets the bytes before its limit through, as a filling disk does.
  int injected = 0;
  if (const int err = FaultAt(FileStep::Write); err && written_ + data.size() > activeFault->afterBytes) {
    injected = err;
    data = data.substr(0, activeFault->afterBytes > written_ ? activeFault->afterBytes - written_ : 0);
  }
  while (!data.empty()) {
    const ssize_t n = ::write(fd_, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail("cannot write", errno);
    if (n == 0) return fail("cannot write", ENOSPC);
    data.remove_prefix(static_cast<std::size_t>(n));
    written_ += static_cast<std::size_t>(n);
  }
  if (injected) return fail("cannot write", injected);
  return true;
}

bool AtomicFile::Commit() {
  if (fd_ < 0) return false;
  int err = FaultAt(FileStep::Flush);
  if (err || ::fsync(fd_) != 0) return fail("cannot write", err ? err : errno);
  const int fd = fd_;
  fd_ = -1;
  // The descriptor is gone whatever close answers; a failure may mean lost data.
  err = ::close(fd) != 0 ? errno : FaultAt(FileStep::Close);
  if (err) return fail("cannot write", err);
  err = FaultAt(FileStep::Rename);
  if (err || ::rename(tempName_.c_str(), target_.c_str()) != 0)
    return fail("cannot replace it", err ? err : errno);
  tempName_.clear();
  SyncFolderOf(target_);
  return true;
}

void AtomicFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!tempName_.empty()) ::unlink(tempName_.c_str());
  tempName_.clear();
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view data, std::string* error) {
  AtomicFile file;
  const bool ok = file.Open(target) && file.Write(data) && file.Commit();
  if (!ok && error) *error = file.error();
  return ok;
}

bool IsReadableFile(const std::filesystem::path& path) {
  std::error_code ec;
  const auto st = std::filesystem::status(path, ec);
  return !ec && std::filesystem::exists(st) && !std::filesystem::is_directory(st);
}

std::string UnreadableReason(const std::filesystem::path& path) {
  std::error_code ec;
  const auto st = std::filesystem::status(path, ec);
  if (ec) return "cannot open: " + ec.message();
  if (!std::filesystem::exists(st)) return std::string("cannot open: ") + std::strerror(ENOENT);
  if (std::filesystem::is_directory(st)) return std::string("cannot open: ") + std::strerror(EISDIR);
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::string("cannot open: ") + std::strerror(errno);
  ::close(fd);
  return {};
}

}  // namespace lx
