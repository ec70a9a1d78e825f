#include "core/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

#include "core/file_common.h"
#include "core/system_calls.h"

namespace lx {
namespace {

using file_detail::FaultAt;

// Carries out one step unless a failure is injected there: 0, or the errno it failed with.
template <typename Call>
int Step(FileStep step, Call call) {
  if (const int err = FaultAt(step)) return err;
  if (call() != 0) return errno;
  file_detail::Traced(step);
  return 0;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  std::filesystem::path dir = file.parent_path();
  return dir.empty() ? "." : dir;
}

// After the rename the folder's entry must reach the disk too, or a power cut could bring back
// the old file after the save was reported done: 0, or -1 with errno. A folder we may not read
// cannot be opened to flush, nor one flushed where the file system does not support it: there
// the save stands as far as the system allows.
int SyncFolderOf(const std::filesystem::path& target) {
  SystemCalls& sys = InstalledSystemCalls();
  const int fd = sys.Open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return errno == EACCES || errno == EPERM ? 0 : -1;
  const int synced = sys.Fsync(fd);
  const int err = errno;
  sys.Close(fd);
  if (synced == 0 || err == EINVAL || err == ENOTSUP || err == ENOSYS) return 0;
  errno = err;
  return -1;
}

// ".lxsave." and six letters or digits: short, so that a target name of 255 bytes still saves.
std::string TemporaryName() {
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
  std::string name(kTemporaryPrefix);
  for (int i = 0; i < 6; ++i) name += kLetters[pick(random)];
  return name;
}

bool IsOurTemporaryName(std::string_view name) {
  if (name.size() != kTemporaryPrefix.size() + 6 || !name.starts_with(kTemporaryPrefix)) return false;
  return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(kTemporaryPrefix.size()), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// A save killed between creating its temporary file and the rename leaves the file behind; the
// next save into the folder removes those old enough that no live save can own them.
void RemoveStaleTemporaries(const std::filesystem::path& dir) {
  SystemCalls& sys = InstalledSystemCalls();
  DIR* d = sys.Opendir(dir.c_str());
  if (!d) return;
  const int dirFd = ::dirfd(d);
  const auto now = std::chrono::system_clock::now();
  while (const dirent* e = sys.Readdir(d)) {
    if (!IsOurTemporaryName(e->d_name)) continue;
    struct stat st {};
    if (sys.Fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    const auto modified = std::chrono::system_clock::from_time_t(st.st_mtim.tv_sec);
    if (now - modified > std::chrono::seconds(kStaleTemporarySeconds)) sys.Unlinkat(dirFd, e->d_name, 0);
  }
  sys.Closedir(d);
}

// The text of the link `path`: 0, or the errno of a failure.
int ReadLink(const std::filesystem::path& path, std::filesystem::path& target) {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t n = InstalledSystemCalls().Readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0) return errno;
    // A text that fills the buffer may have been cut short.
    if (static_cast<std::size_t>(n) < buffer.size()) {
      buffer.resize(static_cast<std::size_t>(n));
      target = buffer;
      return 0;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// What a target that is neither a regular file, a character device nor a pipe is.
const char* RefusedKind(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return nullptr;
}

}  // namespace

std::filesystem::path ResolveLinks(const std::filesystem::path& path, int* error) {
  std::filesystem::path p = path;
  // The kernel's own limit on links in a row.
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (InstalledSystemCalls().Lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::filesystem::path link;
    if (const int err = ReadLink(p, link)) {
      if (error) *error = err;
      return p;
    }
    p = link.is_absolute() ? link : p.parent_path() / link;
  }
  if (error) *error = ELOOP;
  return p;
}

FolderLock::FolderLock(const std::filesystem::path& target, int waitMs) {
  const std::filesystem::path dir = FolderOf(ResolveLinks(target));
  SystemCalls& sys = InstalledSystemCalls();
  const int fd = sys.Open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (fd < 0) return;
  struct stat st {};
  if (sys.Fstat(fd, &st) != 0) {
    sys.Close(fd);
    return;
  }
  device_ = st.st_dev;
  inode_ = st.st_ino;
  if (file_detail::JoinHeldLock(device_, inode_)) {
    held_ = true;
    sys.Close(fd);
    return;
  }
  // Polled rather than blocking, so that a program stuck while holding it cannot freeze us.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (sys.Flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
      // Where the file system has no locks, saving goes on without one.
      if (errno == EWOULDBLOCK) error_ = file_detail::LockTimeoutReason(waitMs);
      sys.Close(fd);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  // Closing releases the lock.
  file_detail::KeepHeldLock(device_, inode_, [fd] { InstalledSystemCalls().Close(fd); });
  held_ = true;
}

FolderLock::~FolderLock() {
  if (held_) file_detail::LeaveHeldLock(device_, inode_);
}

bool AtomicFile::Fail(const char* what, int err) {
  error_ = std::string(what) + ": " + std::strerror(err);
  kind_ = WriteFailure::Failed;
  Abandon();
  return false;
}

bool AtomicFile::Refuse(const char* kind) {
  error_ = std::string("cannot write to ") + kind + ": only to a file, a pipe or a character device";
  kind_ = WriteFailure::Refused;
  Abandon();
  return false;
}

bool AtomicFile::Open(const std::filesystem::path& target) {
  Abandon();
  written_ = 0;
  direct_ = false;
  error_.clear();
  int err = 0;
  target_ = ResolveLinks(target, &err);
  if (err) return Fail("cannot create", err);
  SystemCalls& sys = InstalledSystemCalls();
  struct stat st {};
  if (sys.Stat(target_.c_str(), &st) != 0) {
    if (errno != ENOENT) return Fail("cannot create", errno);
    return CreateTemporary(nullptr);
  }
  if (S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)) {
    // Renaming over /dev/null or a FIFO would put a file in its place: write to it instead.
    int fd = -1;
    err = Step(FileStep::Create, [&] {
      fd = sys.Open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC, 0);
      return fd < 0 ? -1 : 0;
    });
    if (err) return Fail("cannot open", err);
    fd_ = fd;
    direct_ = true;
    return true;
  }
  if (const char* kind = RefusedKind(st.st_mode)) return Refuse(kind);
  // A file we may not write is not ours to replace, though the folder would let us. (A
  // read-only file system answers when the temporary file is created.)
  if (sys.Faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES)
    return Fail("cannot write", EACCES);
  const Keep keep{st.st_mode & 07777, st.st_uid, st.st_gid};
  return CreateTemporary(&keep);
}

bool AtomicFile::CreateTemporary(const Keep* keep) {
  const std::filesystem::path dir = FolderOf(target_);
  lock_ = std::make_unique<FolderLock>(target_);
  if (const FileWrite locked = lock_->held(); !locked) {
    error_ = locked.message();
    kind_ = WriteFailure::Locked;
    Abandon();
    return false;
  }
  RemoveStaleTemporaries(dir);
  SystemCalls& sys = InstalledSystemCalls();
  int fd = -1;
  const int err = Step(FileStep::Create, [&] {
    for (int attempt = 0; attempt < 100; ++attempt) {
      tempName_ = (dir / TemporaryName()).string();
      // 0666: the system takes the umask (and a folder's default ACL) off, as for any new file.
      fd = sys.Open(tempName_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0 || errno != EEXIST) break;
    }
    if (fd < 0) tempName_.clear();
    return fd < 0 ? -1 : 0;
  });
  if (err) return Fail("cannot create", err);
  fd_ = fd;
  if (keep) {
    // The owner first: a change of owner clears the set-user and set-group bits. Only the
    // superuser may give a file away; the group alone is kept where that is allowed.
    if (sys.Fchown(fd_, keep->owner, keep->group) != 0)
      (void)sys.Fchown(fd_, static_cast<uid_t>(-1), keep->group);
    sys.Fchmod(fd_, keep->mode);
  }
  return true;
}

bool AtomicFile::Write(std::string_view data) {
  if (fd_ < 0) return false;
  const file_detail::WriteFault injected = file_detail::WriteFaultAt(written_, data.size());
  data = data.substr(0, injected.passes);
  while (!data.empty()) {
    const ssize_t n = InstalledSystemCalls().Write(fd_, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail("cannot write", errno);
    if (n == 0) return Fail("cannot write", ENOSPC);
    data.remove_prefix(static_cast<std::size_t>(n));
    written_ += static_cast<std::size_t>(n);
  }
  if (injected.error) return Fail("cannot write", injected.error);
  file_detail::Traced(FileStep::Write);
  return true;
}

bool AtomicFile::Commit() {
  if (fd_ < 0) return false;
  SystemCalls& sys = InstalledSystemCalls();
  // A device or a pipe has nothing to flush to a disk (fsync would say EINVAL).
  int err = direct_ ? 0 : Step(FileStep::Flush, [&] { return sys.Fsync(fd_); });
  if (err) return Fail("cannot write", err);
  const int fd = fd_;
  fd_ = -1;
  // The descriptor is gone whatever close answers (an injected failure closes it too); a
  // failure may mean lost data.
  const int closed = sys.Close(fd);
  err = Step(FileStep::Close, [&] { return closed; });
  if (err) return Fail("cannot write", err);
  if (direct_) {
    lock_.reset();
    return true;
  }
  err = Step(FileStep::Rename, [&] { return sys.Rename(tempName_.c_str(), target_.c_str()); });
  if (err) return Fail("cannot replace it", err);
  tempName_.clear();
  // The new file is in place, but not yet safely: a failure is reported all the same.
  err = Step(FileStep::FolderFlush, [&] { return SyncFolderOf(target_); });
  if (err) return Fail("cannot flush its folder", err);
  lock_.reset();
  return true;
}

void AtomicFile::Abandon() {
  SystemCalls& sys = InstalledSystemCalls();
  if (fd_ >= 0) sys.Close(fd_);
  fd_ = -1;
  if (!tempName_.empty()) sys.Unlink(tempName_.c_str());
  tempName_.clear();
  lock_.reset();
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
