#pragma once
// Replacing a file without ever destroying it first: the new content goes to a temporary file
// in the same folder, which is renamed over the target only once it is complete. If anything
// fails the old file is untouched and the temporary file is removed.
//
// Only regular files are replaced that way. A symbolic link stays a link: the file it names is
// replaced. A character device or a pipe (/dev/null, a FIFO) is written straight to, never
// renamed over. A folder, socket or block device is refused.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace lx {

// Why a file was not replaced (the old one is untouched): its target is of a kind never written,
// another program held its folder too long, or a step of the replacement failed.
enum class WriteFailure : uint8_t { Refused, Locked, Failed };
using FileWrite = Result<void, WriteFailure>;

// The whole of `data` to `target`, by an AtomicFile (Open + Write + Commit); a failure's message
// says what failed and the system's reason.
FileWrite WriteFileAtomically(const std::filesystem::path& target, std::string_view data);

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();  // abandons an uncommitted temporary file

  // Creates the temporary file beside the file `target` names, or opens a device or pipe for
  // writing. False when the folder does not take it or the target is not of a kind we write.
  bool Open(const std::filesystem::path& target);
  bool Write(std::string_view data);
  // Flushes, closes and renames over the target.
  bool Commit();
  void Abandon();

  // What failed and the system's reason: "cannot write: No space left on device".
  const std::string& error() const { return error_; }
  // The last failure, with its kind.
  Failure<WriteFailure> failure() const { return {kind_, error_}; }

 private:
  bool Fail(const char* what, int err);
  bool Refuse(const char* kind);
  // The file a replaced one keeps: its permission bits and owner.
  struct Keep {
    unsigned mode, owner, group;
  };
  bool CreateTemporary(const Keep* keep);

  std::filesystem::path target_;  // links resolved
  std::string tempName_;
  int fd_ = -1;
  bool direct_ = false;  // a device or pipe, written in place
  std::size_t written_ = 0;
  std::string error_;
  WriteFailure kind_ = WriteFailure::Failed;
  std::unique_ptr<class FolderLock> lock_;
};

// Why `path` cannot be read as a file: "cannot open: No such file or directory"; empty when it can.
std::string UnreadableReason(const std::filesystem::path& path);

// Holds an advisory lock (flock) on the folder of the file `target` names, links resolved, for
// as long as it lives, so that the read-modify-replace of cooperating programs never
// interleaves and no update is lost. Locks on one folder nest within a thread. A folder that
// cannot be locked (unreadable, a file system without locks) is used unlocked; a lock that
// another program holds for longer than `waitMs` is a failure.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& target, int waitMs = 60000);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Whether the lock is held; else "cannot lock its folder: another program has held it for 60 s".
  FileWrite held() const {
    if (error_.empty()) return {};
    return Failure<WriteFailure>{WriteFailure::Locked, error_};
  }

 private:
  std::uint64_t device_ = 0, inode_ = 0;
  bool held_ = false;
  std::string error_;
};

// The file a path names after following symbolic links (a dangling link names the file it
// would create). `error` gets the errno of a loop or an unreadable link.
std::filesystem::path ResolveLinks(const std::filesystem::path& path, int* error = nullptr);

// The name prefix of our temporary files; those older than kStaleTemporarySeconds are what a
// killed save left behind, and the next save into that folder removes them.
inline constexpr std::string_view kTemporaryPrefix = ".lxsave.";
inline constexpr int kStaleTemporarySeconds = 60;

// The steps of an atomic write that can fail. FolderFlush, after the rename, puts the folder's
// new entry on the disk: only then is a reported save safe from a power cut.
enum class FileStep : uint8_t { Create, Write, Flush, Close, Rename, FolderFlush };

// A failure the tests inject into the atomic writes of the calling thread: the step fails with
// `error` as the system would report it. A write lets `afterBytes` bytes of the file through
// first (they reach the temporary file), then fails. With `trace` set, every step that was
// carried out is appended to it, in order.
struct FileFault {
  FileStep step = FileStep::Write;
  int error = 0;  // 0: nothing fails
  std::size_t afterBytes = 0;
  std::vector<FileStep>* trace = nullptr;
};

// Installs a fault for as long as it lives (one at a time per thread).
class ScopedFileFault {
 public:
  explicit ScopedFileFault(const FileFault& fault);
  ~ScopedFileFault();
  ScopedFileFault(const ScopedFileFault&) = delete;
  ScopedFileFault& operator=(const ScopedFileFault&) = delete;

 private:
  FileFault fault_;
  const FileFault* previous_;
};

}  // namespace lx
