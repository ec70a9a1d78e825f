#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace lx {

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::fail(const char* what) {
  error_ = std::string(what) + ": " + std::strerror(errno);
  Abandon();
  return false;
}

bool AtomicFile::Open(const std::filesystem::path& target) {
  Abandon();
  target_ = target;
  std::filesystem::path dir = target.parent_path();
  if (dir.empty()) dir = ".";
  const std::string name = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> templ(name.begin(), name.end());
  templ.push_back('\0');
  fd_ = ::mkstemp(templ.data());
  if (fd_ < 0) return fail("cannot create a file in the target folder");
  tempName_ = templ.data();
  // Keep the permissions of the file being replaced; a new file gets the usual 0644.
  struct stat st {};
  const mode_t mode = ::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? (st.st_mode & 07777) : 0644;
  ::fchmod(fd_, mode);
  return true;
}

bool AtomicFile::Write(std::string_view data) {
  if (fd_ < 0) return false;
  while (!data.empty()) {
    const ssize_t n = ::write(fd_, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return fail("write failed");
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool AtomicFile::Commit() {
  if (fd_ < 0) return false;
  if (::fsync(fd_) != 0) return fail("flush failed");
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    fd_ = -1;
    return fail("close failed");
  }
  if (::rename(tempName_.c_str(), target_.c_str()) != 0) return fail("cannot replace the target");
  tempName_.clear();
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

}  // namespace lx
