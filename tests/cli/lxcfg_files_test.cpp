// lxcfg on files it cannot read or write: the message names the file and the system's reason,
// and nothing that was there before is lost.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstring>

#include "core/atomic_file.h"
#include "core/messages.h"
#include "tests/support/files.h"
#include "tests/support/lxcfg.h"
#include "tests/support/program.h"

namespace lx {
namespace {

using test::CountFiles;
using test::DefaultImage;
using test::Lxcfg;
using test::Outcome;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

namespace fs = std::filesystem;

std::string Reason(const char* lead, int err) { return std::string(lead) + ": " + std::strerror(err); }
// lxcfg's line: the file, the system's reason and the window's text after a dash.
std::string Line(const std::string& file, const std::string& reason, const char* window) {
  return "lxcfg: " + file + ": " + reason + " — " + window;
}

// A tmpfs of a few pages on a folder, where the test is allowed to mount one.
class SmallFileSystem {
 public:
  explicit SmallFileSystem(const fs::path& at) : at_(at) {
    fs::create_directories(at_);
    mounted_ = ::mount("tmpfs", at_.c_str(), "tmpfs", 0, "size=16k,mode=0755") == 0;
  }
  ~SmallFileSystem() {
    if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  bool MakeReadOnly() {
    return ::mount("tmpfs", at_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=16k,mode=0755") == 0;
  }
  // Fills every free block.
  void Fill() const { WriteFile(at_ / "filler", std::string(64 * 1024, 'f')); }

 private:
  fs::path at_;
  bool mounted_ = false;
};

TEST(LxcfgFiles, SetIntoAFullFolderNamesTheReasonAndKeepsTheFile) {
  TempDir dir;
  SmallFileSystem full(dir / "full");
  if (!full.mounted())
    GTEST_SKIP() << "cannot mount a small file system here; the fault tests below cover it";
  const std::string file = (dir / "full" / "a.h").string();
  WriteFile(file, ReadFile(DefaultImage("LX7250")));
  full.Fill();
  const Outcome r = Lxcfg({"set", file, "pa_gain=10"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, Line(file, Reason("cannot write", ENOSPC), msg::kSaveFailed) + "\n");
  EXPECT_EQ(ReadFile(file), ReadFile(DefaultImage("LX7250")));
  EXPECT_EQ(CountFiles(dir / "full"), 2) << "a.h and the filler, no temporary file";
}

TEST(LxcfgFiles, SetIntoAReadOnlyFolderNamesTheReason) {
  TempDir dir;
  const fs::path folder = dir / "ro";
  const std::string file = (folder / "a.h").string();
  SmallFileSystem fsys(folder);
  WriteFile(file, ReadFile(DefaultImage("LX7150")));
  int expected = EROFS;
  if (!fsys.mounted() || !fsys.MakeReadOnly()) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes into any folder it may not remount";
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    expected = EACCES;
  }
  const Outcome r = Lxcfg({"set", file, "volume=3"});
  if (expected == EACCES) fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, Line(file, Reason("cannot create", expected), msg::kSaveFailed) + "\n");
  EXPECT_EQ(ReadFile(file), ReadFile(DefaultImage("LX7150")));
}

// The real program under a file-size limit: the system refuses the write past the limit.
TEST(LxcfgFiles, ProgramUnderAFileSizeLimitNamesTheReason) {
  TempDir dir;
  const std::string file = (dir / "a.h").string();
  WriteFile(file, ReadFile(DefaultImage("LX7240")));
  const Outcome r = test::RunProgram({{"set", file, "pa_gain=3"}, "", {}, 1000});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, Line(file, Reason("cannot write", EFBIG), msg::kSaveFailed) + "\n");
  EXPECT_EQ(ReadFile(file), ReadFile(DefaultImage("LX7240")));
  EXPECT_EQ(CountFiles(dir.path()), 1);
}

// Each command's failures, the system's part injected where a folder cannot be made to fail.
TEST(LxcfgFiles, EveryCommandNamesTheFileAndTheReason) {
  TempDir dir;
  const auto at = [&](const char* name) { return (dir / name).string(); };
  WriteFile(at("a.h"), ReadFile(DefaultImage("LX7250")));
  ASSERT_EQ(Lxcfg({"h2bin", at("a.h"), at("a.bin")}).status, 0);
  const struct {
    std::vector<std::string> args;
    std::optional<FileFault> fault;
    std::string err;
  } cases[] = {
      {{"set", at("a.h"), "pa_gain=10", "-o", at("out.h")},
       FileFault{FileStep::Write, ENOSPC, 100},
       Line(at("out.h"), Reason("cannot write", ENOSPC), msg::kSaveFailed)},
      {{"set", at("a.h"), "pa_gain=10"},
       FileFault{FileStep::Rename, EBUSY},
       Line(at("a.h"), Reason("cannot replace it", EBUSY), msg::kSaveFailed)},
      {{"set", at("missing.h"), "pa_gain=10"},
       {},
       Line(at("missing.h"), Reason("cannot open", ENOENT), msg::kOpenHeaderFailed)},
      {{"set", dir.path().string()},
       {},
       Line(dir.path().string(), Reason("cannot open", EISDIR), msg::kOpenHeaderFailed)},
      {{"new", "--model", "LX7150", "-o", at("no/such/out.h")},
       {},
       Line(at("no/such/out.h"), Reason("cannot create", ENOENT), msg::kSaveFailed)},
      {{"h2bin", at("missing.h"), at("out.bin")},
       {},
       Line(at("missing.h"), Reason("cannot open", ENOENT), msg::kOpenHeaderFailed)},
      {{"h2bin", at("missing.h"), "-"},
       {},
       Line(at("missing.h"), Reason("cannot open", ENOENT), msg::kOpenHeaderFailed)},
      {{"h2bin", at("a.h"), at("out.bin")},
       FileFault{FileStep::Flush, EIO},
       Line(at("out.bin"), Reason("cannot write", EIO), msg::kOpenBinFailed)},
      {{"h2bin", at("a.h"), at("no/out.bin")},
       {},
       Line(at("no/out.bin"), Reason("cannot create", ENOENT), msg::kOpenBinFailed)},
      {{"bin2h", "--model", "LX7250", "--xtal", "24000", at("a.bin"), at("out.h")},
       FileFault{FileStep::Close, EDQUOT},
       Line(at("out.h"), Reason("cannot write", EDQUOT), msg::kSaveFailed)},
      {{"bin2h", "--model", "LX7250", "--xtal", "24000", at("none.bin"), at("out.h")},
       {},
       Line(at("none.bin"), Reason("cannot open", ENOENT), msg::kOpenBinFailed)},
  };
  for (const auto& c : cases) {
    Outcome r;
    if (c.fault) {
      ScopedFileFault fault(*c.fault);
      r = Lxcfg(c.args);
    } else {
      r = Lxcfg(c.args);
    }
    EXPECT_EQ(r.status, 1) << c.err;
    EXPECT_EQ(r.err, c.err + "\n");
    EXPECT_EQ(ReadFile(at("a.h")), ReadFile(DefaultImage("LX7250")));
    EXPECT_EQ(CountFiles(dir.path()), 2) << c.err << ": nothing written, nothing left behind";
  }
}

}  // namespace
}  // namespace lx
