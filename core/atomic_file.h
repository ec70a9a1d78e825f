#pragma once
// Replacing a file without ever destroying it first: the new content goes to a temporary file
// in the same folder, which is renamed over the target only once it is complete. If anything
// fails the old file is untouched and the temporary file is removed.
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

  const std::string& error() const { return error_; }

 private:
  bool fail(const char* what);

  std::filesystem::path target_;
  std::string tempName_;
  int fd_ = -1;
  std::string error_;
};

// Open + Write + Commit.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view data, std::string* error = nullptr);

// True when `path` names something that can be read as a file (not a folder).
bool IsReadableFile(const std::filesystem::path& path);

}  // namespace lx
