#pragma once
// Reading an input file whole, once, in bounded memory and time. Inputs are not always regular
// files: a pipe, a FIFO or a device (/dev/zero) can be endless or never deliver a byte, so every
// read stops at a size limit and a pipe or device that stays silent is given up after a while.
#include <cstddef>
#include <filesystem>
#include <istream>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>

#include "core/result.h"

namespace lx {

// No header or binary image comes anywhere near this; anything larger is not one of ours.
inline constexpr std::size_t kMaxInputBytes = std::size_t{64} << 20;  // 64 MiB

struct InputLimits {
  std::size_t maxBytes = kMaxInputBytes;
  // true: stop quietly after maxBytes (the rest is of no interest); false: refuse a larger input.
  bool truncate = false;
  // A pipe, FIFO or device that delivers no byte for this long is given up; negative waits for
  // ever. Regular files never wait.
  int idleMillis = 10000;
};

enum class InputError { CannotOpen, Folder, TooLarge, Stalled, ReadFailed };

// The input's bytes, or why it could not be read, for people ("larger than 64 MiB: ...").
using InputRead = Result<std::string, InputError>;

// The whole of the file `path` (symbolic links followed). A FIFO without a writer does not
// block the opening: it waits for data like any pipe, within limits.idleMillis.
InputRead ReadInput(const std::filesystem::path& path, const InputLimits& limits = {});
// The same for an open descriptor (standard input); the descriptor stays open.
InputRead ReadInputFrom(int fd, const InputLimits& limits = {});

// Whether `output` names the same regular file as `input` (the same name, a link to it or a hard
// link: one file once links are resolved), or the file standard input reads. Devices and pipes
// never count: writing to them replaces nothing.
bool SameRegularFile(const std::filesystem::path& output, const std::filesystem::path& input);
bool SameRegularFileAsStandardInput(const std::filesystem::path& output);
// Whether standard output is the regular file `input` ("lxcfg h2bin a.h >> a.h").
bool SameRegularFileAsStandardOutput(const std::filesystem::path& input);
// Whether standard input and standard output are one regular file ("< a.h >> a.h").
bool StandardInputIsStandardOutput();

// An istream over bytes held elsewhere, so that text read once is parsed without a copy.
class ViewStream : public std::istream {
 public:
  explicit ViewStream(std::string_view bytes) : std::istream(nullptr), buf_(bytes) { rdbuf(&buf_); }

 private:
  struct Buf : std::streambuf {
    explicit Buf(std::string_view s) {
      char* p = const_cast<char*>(s.data());  // read only: the get area is never written
      setg(p, p, p + s.size());
    }
  } buf_;
};

}  // namespace lx
