// Every step of replacing a file failing in turn: the old file stays byte for byte, no
// temporary file is left, the windows keep their text and the reason names the system's error.
// What is replaced and what is written in place: links, devices, pipes, owner and mode.
#include "core/atomic_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cstring>
#include <functional>
#include <map>
#include <thread>

#include "core/binary_format.h"
#include "core/header_format.h"
#include "core/messages.h"
#include "core/state.h"
#ifndef _WIN32
#include "core/system_calls.h"
#endif
#include "tests/support/files.h"
#include "tests/support/images.h"

#ifndef EDQUOT
#define EDQUOT ENOSPC  // Windows has no disk quota error; a full disk fails the same step
#endif

namespace lx {
namespace {

using test::CountFiles;
using test::Pattern;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// One operation that replaces `target`, set up in `dir` with its inputs.
struct Operation {
  const char* name;
  std::size_t outputBytes;  // what a successful run writes
  Outcome failure;          // what a failed write comes to
  Outcome notCreated;       // what a failed creation comes to
  std::function<Report(ToolState&, const std::filesystem::path& dir, const std::string& target)> run;
};

const Operation kOperations[] = {
    {"Save", 1940, Outcome::HeaderNotWritten, Outcome::HeaderNotWritten,
     [](ToolState& s, const std::filesystem::path&, const std::string& target) {
       return s.SaveHeader(target);
     }},
    {"bin To h", 1940, Outcome::HeaderNotWritten, Outcome::OutputNotCreated,
     [](ToolState& s, const std::filesystem::path& dir, const std::string& target) {
       s.binaryPath = (dir / "in.bin").string();
       return s.ConvertBinaryToHeader(target);
     }},
    {"h To bin", 192, Outcome::BinaryNotWritten, Outcome::OutputNotCreated,
     [](ToolState& s, const std::filesystem::path& dir, const std::string& target) {
       s.headerPath = (dir / "in.h").string();
       return s.ConvertHeaderToBinary(target);
     }},
};

class FaultedWrite : public ::testing::TestWithParam<Operation> {
 protected:
  void SetUp() override {
    state.chipModel = 3;  // LX7250D: a seven-character name, 1940 bytes
    state.crystalKHz = 24000;
    state.words = Pattern();
    WriteFile(dir / "in.bin", WordsToBinary(Pattern()));
    WriteFile(dir / "in.h", WriteHeaderText(AmbrelProfile().models[3], 24000, Pattern()));
    WriteFile(dir / "out", old);
  }
  // Runs the operation under `fault` and checks everything a failure must leave as it was. A
  // failure after the rename (`replaced`) finds the new file in place and still reports it.
  void ExpectFailure(const FileFault& fault, Outcome expected, const char* reasonLead,
                     const std::string& what, bool replaced = false) {
    Report r;
    {
      ScopedFileFault injected(fault);
      r = GetParam().run(state, dir.path(), (dir / "out").string());
    }
    ASSERT_FALSE(r.ok) << what;
    EXPECT_EQ(r.outcome, expected) << what;
    EXPECT_EQ(r.message, WindowText(expected)) << what;
    EXPECT_EQ(r.reason, std::string(reasonLead) + ": " + std::strerror(fault.error)) << what;
    if (replaced)
      ASSERT_EQ(ReadFile(dir / "out").size(), GetParam().outputBytes) << what;
    else
      ASSERT_EQ(ReadFile(dir / "out"), old) << what;
    ASSERT_EQ(CountFiles(dir.path()), 3) << what << ": a temporary file was left";
  }

  TempDir dir;
  ToolState state{AmbrelProfile(), dir.path()};
  const std::string old = "the previous file, which must survive\r\n";
};

TEST_P(FaultedWrite, WriteFailingAfterEveryByteCount) {
  for (std::size_t n = 0; n < GetParam().outputBytes; ++n)
    ExpectFailure({FileStep::Write, ENOSPC, n}, GetParam().failure, "cannot write",
                  "after " + std::to_string(n));
}

TEST_P(FaultedWrite, EveryOtherStepFailing) {
  const struct {
    FileFault fault;
    bool created;
    const char* reasonLead;
  } steps[] = {
      {{FileStep::Create, EACCES}, false, "cannot create"},
      {{FileStep::Create, EROFS}, false, "cannot create"},
      {{FileStep::Flush, EIO}, true, "cannot write"},
      {{FileStep::Close, EDQUOT}, true, "cannot write"},
      {{FileStep::Rename, EXDEV}, true, "cannot replace it"},
      // Last: it leaves the new file in place.
      {{FileStep::FolderFlush, EIO}, true, "cannot flush its folder"},
  };
  for (const auto& s : steps)
    ExpectFailure(s.fault, s.created ? GetParam().failure : GetParam().notCreated, s.reasonLead,
                  std::to_string(static_cast<int>(s.fault.step)), s.fault.step == FileStep::FolderFlush);
  // Without a fault the same operation goes through.
  EXPECT_TRUE(GetParam().run(state, dir.path(), (dir / "out").string()).ok);
  EXPECT_EQ(ReadFile(dir / "out").size(), GetParam().outputBytes);
  EXPECT_EQ(CountFiles(dir.path()), 3);
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultedWrite, ::testing::ValuesIn(kOperations), [](const auto& info) {
  std::string name = info.param.name;
  std::erase(name, ' ');
  return name;
});

TEST(AtomicFile, FaultsAreScopedAndNest) {
  TempDir dir;
  {
    ScopedFileFault outer({FileStep::Rename, EIO});
    {
      ScopedFileFault inner({FileStep::Write, ENOSPC, 3});
      EXPECT_EQ(WriteFileAtomically(dir / "a", "hello").message(),
                std::string("cannot write: ") + std::strerror(ENOSPC));
    }
    EXPECT_EQ(WriteFileAtomically(dir / "a", "hello").message(),
              std::string("cannot replace it: ") + std::strerror(EIO));
  }
  EXPECT_TRUE(WriteFileAtomically(dir / "a", "hello"));
  EXPECT_EQ(ReadFile(dir / "a"), "hello");
  EXPECT_EQ(CountFiles(dir.path()), 1);
}

TEST(AtomicFile, ReadFailuresNameTheirReason) {
  TempDir dir;
  WriteFile(dir / "f", "x");
  EXPECT_EQ(UnreadableReason(dir / "f"), "");
  EXPECT_EQ(UnreadableReason(dir / "missing"), std::string("cannot open: ") + std::strerror(ENOENT));
  EXPECT_EQ(UnreadableReason(dir.path()), std::string("cannot open: ") + std::strerror(EISDIR));
}

// Target kinds, modes, owners, temporaries and the folder lock as POSIX systems have them.
#ifndef _WIN32
namespace fs = std::filesystem;

// The superuser may make device nodes and give files away; others skip those cases.
bool Superuser() { return ::geteuid() == 0; }

fs::perms PermsOf(const fs::path& p) { return fs::status(p).permissions() & fs::perms::mask; }

// The temporary files of ours in `dir`.
int Temporaries(const fs::path& dir) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename().string().starts_with(kTemporaryPrefix)) ++n;
  return n;
}

class Targets : public ::testing::TestWithParam<Operation> {
 protected:
  void SetUp() override {
    state.chipModel = 3;
    state.crystalKHz = 24000;
    state.words = Pattern();
    WriteFile(dir / "in.bin", WordsToBinary(Pattern()));
    WriteFile(dir / "in.h", WriteHeaderText(AmbrelProfile().models[3], 24000, Pattern()));
  }
  Report Run(const fs::path& target) { return GetParam().run(state, dir.path(), target.string()); }
  std::string Expected() {
    TempDir scratch;
    ToolState s = state;
    EXPECT_TRUE(GetParam().run(s, dir.path(), (scratch / "x").string()).ok);
    return ReadFile(scratch / "x");
  }

  TempDir dir;
  ToolState state{AmbrelProfile(), dir.path()};
  const std::string old = "the previous file\r\n";
};

// A link stays a link and the file it names is replaced, through any number of links, and a
// dangling link makes the file it names.
TEST_P(Targets, LinksStayLinksAndTheirFileIsReplaced) {
  const std::string expected = Expected();
  fs::create_directory(dir / "real");
  WriteFile(dir / "real" / "a", old);
  fs::create_symlink("real/a", dir / "link");
  fs::create_symlink(dir / "link", dir / "link2");
  fs::create_symlink("real/missing", dir / "dangling");
  const struct {
    const char* link;
    const char* file;
  } cases[] = {{"link", "a"}, {"link2", "a"}, {"dangling", "missing"}};
  for (const auto& c : cases) {
    WriteFile(dir / "real" / "a", old);
    ASSERT_TRUE(Run(dir / c.link).ok) << c.link;
    EXPECT_TRUE(fs::is_symlink(dir / c.link)) << c.link;
    EXPECT_TRUE(ReadFile(dir / "real" / c.file) == expected) << c.link;
  }
  EXPECT_EQ(Temporaries(dir.path()) + Temporaries(dir / "real"), 0);
  fs::create_symlink("loop", dir / "loop");
  const Report r = Run(dir / "loop");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.reason, std::string("cannot create: ") + std::strerror(ELOOP));
}

// A FIFO and a character device are written in place and stay what they are.
TEST_P(Targets, PipesAndCharacterDevicesAreWrittenInPlace) {
  const std::string expected = Expected();
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = ReadFile(dir / "fifo"); });
  std::vector<FileStep> steps;
  Report r;
  {
    ScopedFileFault trace({FileStep::Write, 0, 0, &steps});
    r = Run(dir / "fifo");
  }
  reader.join();
  EXPECT_TRUE(r.ok) << r.reason;
  EXPECT_EQ(received, expected);
  EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
  // Nothing to flush to a disk and nothing to rename.
  EXPECT_EQ(steps, (std::vector<FileStep>{FileStep::Create, FileStep::Write, FileStep::Close}));

  if (!test::MakeNullDevice(dir / "null")) GTEST_SKIP() << "no device nodes here";
  EXPECT_TRUE(Run(dir / "null").ok);
  EXPECT_TRUE(fs::is_character_file(dir / "null"));
  EXPECT_EQ(Temporaries(dir.path()), 0);
}

// Folders, sockets and block devices are refused and stay as they were.
TEST_P(Targets, OtherKindsAreRefused) {
  fs::create_directory(dir / "folder");
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const std::string sockPath = (dir / "socket").string();
  ASSERT_LT(sockPath.size(), sizeof addr.sun_path);
  std::strcpy(addr.sun_path, sockPath.c_str());
  ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
  const bool block = Superuser() && ::mknod((dir / "block").c_str(), S_IFBLK | 0600, makedev(7, 200)) == 0;
  const struct {
    const char* name;
    const char* kind;
    bool (*is)(const fs::path&);
  } cases[] = {
      {"folder", "a folder", [](const fs::path& p) { return fs::is_directory(p); }},
      {"socket", "a socket", [](const fs::path& p) { return fs::is_socket(p); }},
      {"block", "a block device", [](const fs::path& p) { return fs::is_block_file(p); }},
  };
  for (const auto& c : cases) {
    if (std::string(c.name) == "block" && !block) continue;
    const Report r = Run(dir / c.name);
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_EQ(r.reason,
              std::string("cannot write to ") + c.kind + ": only to a file, a pipe or a character device");
    EXPECT_TRUE(c.is(dir / c.name)) << c.name;
  }
  ::close(sock);
  EXPECT_EQ(Temporaries(dir.path()), 0);
}

// A replaced file keeps its mode and, where the system allows, its owner; a new file gets
// 0666 less the umask.
TEST_P(Targets, ModeAndOwnerAreKept) {
  const struct {
    fs::perms mode;
    bool owned;
  } cases[] = {
      {fs::perms::owner_read | fs::perms::owner_write, false},
      {fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_exec,
       false},
      {fs::perms::owner_all | fs::perms::group_read | fs::perms::set_gid, true},
  };
  for (const auto& c : cases) {
    WriteFile(dir / "out", old);
    fs::permissions(dir / "out", c.mode);
    const bool giveAway = c.owned && Superuser() && ::chown((dir / "out").c_str(), 65534, 65534) == 0;
    ASSERT_TRUE(Run(dir / "out").ok);
    EXPECT_EQ(PermsOf(dir / "out"), c.mode);
    struct stat st {};
    ASSERT_EQ(::stat((dir / "out").c_str(), &st), 0);
    if (giveAway) {
      EXPECT_EQ(st.st_uid, 65534U);
      EXPECT_EQ(st.st_gid, 65534U);
    } else {
      EXPECT_EQ(st.st_uid, ::geteuid());
    }
  }
  for (const mode_t mask : {022, 027, 077, 002}) {
    fs::remove(dir / "new");
    const mode_t previous = ::umask(mask);
    const Report r = Run(dir / "new");
    ::umask(previous);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(static_cast<mode_t>(PermsOf(dir / "new")), 0666 & ~mask) << std::oct << mask;
  }
}

// The system calls that create, write, flush and rename, as the disk is asked to carry them out,
// naming our temporary file "temp" and the folder "."; each is passed on to the system.
class DiskLog : public SystemCalls {
 public:
  explicit DiskLog(fs::path dir) : dir_(std::move(dir)) {}
  int Open(const char* path, int flags, mode_t mode) override {
    const int fd = SystemCalls::Open(path, flags, mode);
    if (fd >= 0) names_[fd] = Name(path);
    if (fd >= 0 && (flags & O_CREAT)) Note("create " + names_[fd]);
    return fd;
  }
  ssize_t Write(int fd, const void* data, std::size_t size) override {
    Note("write " + names_[fd]);
    return SystemCalls::Write(fd, data, size);
  }
  int Fsync(int fd) override {
    Note("fsync " + names_[fd]);
    return SystemCalls::Fsync(fd);
  }
  int Rename(const char* from, const char* to) override {
    Note("rename " + Name(from) + " " + Name(to));
    return SystemCalls::Rename(from, to);
  }
  std::vector<std::string> log;

 private:
  std::string Name(const fs::path& p) const {
    if (p == dir_) return ".";
    const std::string name = p.filename().string();
    return name.starts_with(kTemporaryPrefix) ? "temp" : name;
  }
  // A file written in several calls is one write here.
  void Note(std::string line) {
    if (log.empty() || log.back() != line) log.push_back(std::move(line));
  }
  fs::path dir_;
  std::map<int, std::string> names_;
};

// Everything is written and flushed to the disk before the rename makes it the target, and the
// folder holding the new entry is flushed after it.
TEST_P(Targets, DataReachesTheDiskBeforeTheRenameAndTheFolderAfterIt) {
  WriteFile(dir / "out", old);
  DiskLog disk(dir.path());
  {
    ScopedSystemCalls seam(disk);
    ASSERT_TRUE(Run(dir / "out").ok);
  }
  EXPECT_EQ(disk.log, (std::vector<std::string>{"create temp", "write temp", "fsync temp", "rename temp out",
                                                "fsync ."}));
}

// Names up to the system's limit of 255 bytes save: the temporary file's name is short.
TEST_P(Targets, LongestNamesSave) {
  for (const std::size_t length : {248U, 254U, 255U}) {
    const fs::path target = dir / std::string(length, 'n');
    ASSERT_TRUE(Run(target).ok) << length;
    EXPECT_EQ(ReadFile(target).size(), GetParam().outputBytes);
  }
  EXPECT_EQ(Temporaries(dir.path()), 0);
}

INSTANTIATE_TEST_SUITE_P(Operations, Targets, ::testing::ValuesIn(kOperations), [](const auto& info) {
  std::string name = info.param.name;
  std::erase(name, ' ');
  return name;
});

// A file we may not write is refused, though its folder would let us replace it. A folder we
// may write but not read takes the save without a word: it cannot be opened to flush it, which
// is no failure of the save.
TEST(AtomicFile, PermissionsOfAnOrdinaryUser) {
  TempDir dir;
  fs::permissions(dir.path(), fs::perms::all);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    // The superuser may write any file and read any folder: the checks run as nobody.
    if (Superuser() && (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0))
      ::_exit(10);
    WriteFile(dir / "ro", "old");
    fs::permissions(dir / "ro", fs::perms::owner_read);
    const FileWrite readOnly = WriteFileAtomically(dir / "ro", "new");
    if (readOnly) ::_exit(11);
    if (readOnly.message() != std::string("cannot write: ") + std::strerror(EACCES)) ::_exit(12);
    if (ReadFile(dir / "ro") != "old" || CountFiles(dir.path()) != 1) ::_exit(13);
    fs::create_directory(dir / "wx");
    WriteFile(dir / "wx" / "out", "old");
    fs::permissions(dir / "wx", fs::perms::owner_write | fs::perms::owner_exec);
    if (!WriteFileAtomically(dir / "wx" / "out", "new")) ::_exit(14);
    if (ReadFile(dir / "wx" / "out") != "new") ::_exit(15);
    fs::permissions(dir / "wx", fs::perms::owner_all);
    if (CountFiles(dir / "wx") != 1) ::_exit(16);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  std::error_code ignored;
  fs::permissions(dir / "wx", fs::perms::owner_all, ignored);  // so that it can be removed
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Temporary files of ours older than a minute are what killed saves left; a save into the
// folder removes them and nothing else.
TEST(AtomicFile, SavingRemovesStaleTemporariesOfOursOnly) {
  TempDir dir;
  const auto ago = [](int seconds) {
    return fs::file_time_type::clock::now() - std::chrono::seconds(seconds);
  };
  const struct {
    const char* name;
    int age;
    bool removed;
  } cases[] = {
      {".lxsave.Ab12Cd", 120, true},  {".lxsave.zzzzzz", 61 * 60, true}, {".lxsave.Ab12Ce", 10, false},
      {".lxsave.Ab12C", 120, false},  {".lxsave.Ab12Cd~", 120, false},   {"lxsave.Ab12Cd", 120, false},
      {".lxsave.Ab-2Cd", 120, false}, {".other.Ab12Cd", 120, false},
  };
  for (const auto& c : cases) {
    WriteFile(dir / c.name, "left behind");
    fs::last_write_time(dir / c.name, ago(c.age));
  }
  fs::create_directory(dir / ".lxsave.folder");
  fs::last_write_time(dir / ".lxsave.folder", ago(120));
  ASSERT_TRUE(WriteFileAtomically(dir / "a", "x"));
  for (const auto& c : cases) EXPECT_EQ(fs::exists(dir / c.name), !c.removed) << c.name;
  EXPECT_TRUE(fs::is_directory(dir / ".lxsave.folder"));
}

// Locks on a folder nest within a thread; another holder makes a save wait, and one that
// holds it too long makes it fail.
TEST(FolderLock, NestsWithinAThreadAndExcludesOthers) {
  TempDir dir;
  {
    FolderLock outer(dir / "a");
    FolderLock inner(dir / "b");
    ASSERT_TRUE(outer.held() && inner.held());
    const FileWrite written = WriteFileAtomically(dir / "a", "x");
    EXPECT_TRUE(written) << (written ? "" : written.message());
    std::thread other([&] {
      FolderLock blocked(dir / "c", 50);
      ASSERT_FALSE(blocked.held());
      EXPECT_EQ(blocked.held().message(), "cannot lock its folder: another program has held it for 0 s");
    });
    other.join();
  }
  std::thread other([&] { EXPECT_TRUE(FolderLock(dir / "c", 50).held().ok()); });
  other.join();
}

// The windows' Save waits while another program changes a file in the folder, then saves.
TEST(FolderLock, SaveWaitsForTheHolder) {
  TempDir dir;
  ToolState state(AmbrelProfile(), dir.path());
  state.chipModel = 1;
  std::atomic<bool> held = false, released = false;
  std::thread holder([&] {
    FolderLock lock(dir / "other.h");
    held = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    released = true;
  });
  while (!held) std::this_thread::yield();
  EXPECT_TRUE(state.SaveHeader((dir / "a.h").string()).ok);
  EXPECT_TRUE(released);
  holder.join();
  EXPECT_EQ(ReadFile(dir / "a.h"), WriteHeaderText(AmbrelProfile().models[1], 0, state.words));
}

#endif  // what follows needs POSIX file kinds, modes, owners and flock
}  // namespace
}  // namespace lx
