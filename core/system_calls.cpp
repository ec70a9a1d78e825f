#include "core/system_calls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>

namespace lx {

namespace {

thread_local SystemCalls* installed = nullptr;

}  // namespace

int SystemCalls::Open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }
ssize_t SystemCalls::Write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int SystemCalls::Fsync(int fd) { return ::fsync(fd); }
int SystemCalls::Close(int fd) { return ::close(fd); }
int SystemCalls::Rename(const char* from, const char* to) { return std::rename(from, to); }
int SystemCalls::Unlink(const char* path) { return ::unlink(path); }
int SystemCalls::Stat(const char* path, struct stat* st) { return ::stat(path, st); }
int SystemCalls::Lstat(const char* path, struct stat* st) { return ::lstat(path, st); }
int SystemCalls::Fstat(int fd, struct stat* st) { return ::fstat(fd, st); }
ssize_t SystemCalls::Readlink(const char* path, char* buffer, std::size_t size) {
  return ::readlink(path, buffer, size);
}
int SystemCalls::Faccessat(int dirFd, const char* path, int mode, int flags) {
  return ::faccessat(dirFd, path, mode, flags);
}
int SystemCalls::Fchown(int fd, uid_t owner, gid_t group) { return ::fchown(fd, owner, group); }
int SystemCalls::Fchmod(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int SystemCalls::Flock(int fd, int operation) { return ::flock(fd, operation); }
DIR* SystemCalls::Opendir(const char* path) { return ::opendir(path); }
dirent* SystemCalls::Readdir(DIR* dir) { return ::readdir(dir); }
int SystemCalls::Closedir(DIR* dir) { return ::closedir(dir); }
int SystemCalls::Fstatat(int dirFd, const char* name, struct stat* st, int flags) {
  return ::fstatat(dirFd, name, st, flags);
}
int SystemCalls::Unlinkat(int dirFd, const char* name, int flags) { return ::unlinkat(dirFd, name, flags); }

SystemCalls& InstalledSystemCalls() {
  static SystemCalls system;
  return installed ? *installed : system;
}

ScopedSystemCalls::ScopedSystemCalls(SystemCalls& calls) : previous_(installed) { installed = &calls; }
ScopedSystemCalls::~ScopedSystemCalls() { installed = previous_; }

}  // namespace lx
