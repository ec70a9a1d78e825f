#pragma once
// The system calls by which a file is replaced (core/atomic_file.cpp), behind one seam. A test
// installs calls of its own that see what the disk is asked to do, and in which order, which no
// file's content shows, and pass on to these. POSIX systems only: Windows replaces files
// through its own calls (core/atomic_file_win32.cpp).
#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

namespace lx {

// Each call does what the system call of the same name does: its result, with errno set on a
// failure.
class SystemCalls {
 public:
  SystemCalls() = default;
  SystemCalls(const SystemCalls&) = delete;
  SystemCalls& operator=(const SystemCalls&) = delete;
  virtual ~SystemCalls() = default;

  virtual int Open(const char* path, int flags, mode_t mode);
  virtual ssize_t Write(int fd, const void* data, std::size_t size);
  virtual int Fsync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const char* from, const char* to);
  virtual int Unlink(const char* path);
  virtual int Stat(const char* path, struct stat* st);
  virtual int Lstat(const char* path, struct stat* st);
  virtual int Fstat(int fd, struct stat* st);
  virtual ssize_t Readlink(const char* path, char* buffer, std::size_t size);
  virtual int Faccessat(int dirFd, const char* path, int mode, int flags);
  virtual int Fchown(int fd, uid_t owner, gid_t group);
  virtual int Fchmod(int fd, mode_t mode);
  virtual int Flock(int fd, int operation);
  virtual DIR* Opendir(const char* path);
  virtual dirent* Readdir(DIR* dir);
  virtual int Closedir(DIR* dir);
  virtual int Fstatat(int dirFd, const char* name, struct stat* st, int flags);
  virtual int Unlinkat(int dirFd, const char* name, int flags);
};

// The calls of the calling thread: the ones a ScopedSystemCalls installed, else the system's.
SystemCalls& InstalledSystemCalls();

// Installs `calls` for the calling thread for as long as it lives; they nest.
class ScopedSystemCalls {
 public:
  explicit ScopedSystemCalls(SystemCalls& calls);
  ~ScopedSystemCalls();
  ScopedSystemCalls(const ScopedSystemCalls&) = delete;
  ScopedSystemCalls& operator=(const ScopedSystemCalls&) = delete;

 private:
  SystemCalls* previous_;
};

}  // namespace lx
