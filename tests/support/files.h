#pragma once
// Scratch folders and file helpers shared by every test program.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace lx::test {

// A fresh folder of its own, removed with everything in it.
class TempDir {
 public:
  TempDir() {
#ifdef _WIN32
    // No mkdtemp: create_directory is false when the name exists, so the folder is ours alone.
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      std::filesystem::path p = std::filesystem::temp_directory_path() /
                                ("lxtest-" + std::to_string(random()) + std::to_string(random()));
      std::error_code ec;
      if (std::filesystem::create_directory(p, ec)) path_ = p;
    }
    if (path_.empty())
      throw std::filesystem::filesystem_error("create_directory",
                                              std::make_error_code(std::errc::file_exists));
#else
    std::string pattern = (std::filesystem::temp_directory_path() / "lxtest-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
      throw std::filesystem::filesystem_error("mkdtemp", std::error_code(errno, std::generic_category()));
    path_ = pattern;
#endif
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A null device of the test's own at `p` (what `-o /dev/null` meets, without risking the
// system's): false where device nodes cannot be made or used (not the superuser, a container).
#ifndef _WIN32
inline bool MakeNullDevice(const std::filesystem::path& p) {
  if (::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) return false;
  const int fd = ::open(p.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}
#endif

inline int CountFiles(const std::filesystem::path& dir) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

// A test's name from the file it is about: "ambrel-rf.txt" gives "ambrelrf".
inline std::string TestNameOf(std::string file) {
  file = file.substr(0, file.find('.'));
  std::erase(file, '-');
  return file;
}

}  // namespace lx::test
