#pragma once
// Reports the files a scripted session writes or removes. The tools write only files that a
// file dialog named (Save, and the targets the conversions ask for), so after each action only
// those files are looked at, one stat each: an action costs no scan of the folder.
#include <compare>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>

namespace lx::app {

// A moment as the file system records it: seconds and the fraction below (nanoseconds, or on
// Windows 100 ns units), in the platform's own epoch.
struct FileTime {
  std::int64_t seconds = 0;
  std::int64_t fraction = 0;
  bool operator==(const FileTime&) const = default;
  bool operator<(const FileTime& o) const { return seconds != o.seconds ? seconds < o.seconds : fraction < o.fraction; }
};

// What a file looked like; a change of any part counts as a write. A file replaced by renaming
// a new one over it has another inode (file index), a file rewritten in place another change time.
struct FileSignature {
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  FileTime modified, changed;
  bool operator==(const FileSignature&) const = default;
};

// The platform's part (file_stamp.cpp, file_stamp_win32.cpp). Now() follows the clock file
// times come from, so a file written just after it never looks older.
FileTime Now();
// nullopt for anything but a regular file.
std::optional<FileSignature> SignatureOf(const std::filesystem::path& path);

class FileWatch {
 public:
  // Takes what the working folder holds now, so that a name answered later is compared with it.
  explicit FileWatch(const std::filesystem::path& root);

  // A file a dialog was answered with; from now on it is looked at after every action.
  void Track(const std::filesystem::path& file);

  // Reports tracked files that appeared, changed or disappeared since the last call.
  void Report(std::ostream& out);

 private:
  bool Inside(const std::filesystem::path& p) const;
  std::string Shown(const std::filesystem::path& p) const;

  std::filesystem::path root_;
  FileTime since_;
  std::map<std::filesystem::path, FileSignature> before_;  // the working folder at the start
  std::set<std::filesystem::path> tracked_;
  std::map<std::filesystem::path, FileSignature> seen_;
};

}  // namespace lx::app
