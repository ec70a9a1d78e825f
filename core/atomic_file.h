#pragma once
// Replacing a file without ever destroying it first: the new content goes to a temporary file
// in the same folder, which is renamed over the target only once it is complete. If anything
// fails the old file is untouched and the temporary file is removed.
#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace lx {

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();  // abandons an uncommitted temporary file

  // Creates the temporary file beside `target`. False when the folder does not take it.
  bool Open(const std::filesystem::path& target);
  bool Write(std::string_view data);
  // Flushes, closes and renames over the target.
  bool Commit();
  void Abandon();

  // What failed and the system's reason: "cannot write: No space left on device".
  const std::string& error() const { return error_; }

 private:
  bool fail(const char* what, int err);

  std::filesystem::path target_;
  std::string tempName_;
  int fd_ = -1;
  std::size_t written_ = 0;
  std::string error_;
};

// Open + Write + Commit.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view data, std::string* error = nullptr);

// True when `path` names something that can be read as a file (not a folder).
bool IsReadableFile(const std::filesystem::path& path);

// Why `path` cannot be read as a file: "cannot open: No such file or directory"; empty when it can.
std::string UnreadableReason(const std::filesystem::path& path);

// The steps of an atomic write that can fail.
enum class FileStep : uint8_t { Create, Write, Flush, Close, Rename };

// A failure the tests inject into the atomic writes of the calling thread: the step fails with
// `error` as the system would report it. A write lets `afterBytes` bytes of the file through
// first (they reach the temporary file), then fails.
struct FileFault {
  FileStep step = FileStep::Write;
  int error = EIO;
  std::size_t afterBytes = 0;
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
