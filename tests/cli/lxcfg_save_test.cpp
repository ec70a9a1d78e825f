// lxcfg's outputs as a build script meets them: standard output that fails, targets that are
// links or devices, saves killed at any moment and two programs changing one file at once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <iostream>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <streambuf>
#include <thread>

#include "core/atomic_file.h"
#include "tests/support/files.h"
#include "tests/support/lxcfg.h"
#include "tests/support/program.h"

namespace lx {
namespace {

using test::DefaultImage;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

namespace fs = std::filesystem;

const fs::path kProgramDir = fs::path(LX_SOURCE_DATA_DIR).parent_path();

// Standard output on a full disk: either every write fails at once, or the writes are taken
// into a buffer and the failure comes when it is flushed.
class FailingOutput : public std::streambuf {
 public:
  explicit FailingOutput(bool buffered) : buffered_(buffered) {}

 protected:
  int_type overflow(int_type c) override { return buffered_ ? c : traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize n) override { return buffered_ ? n : 0; }
  int sync() override { return -1; }

 private:
  bool buffered_;
};

// The real program with its standard output on `out`.
test::Outcome RunProgram(const std::vector<std::string>& args, const char* out = "/dev/null") {
  return test::RunProgram({args, out});
}

class LxcfgSave : public ::testing::Test {
 protected:
  std::string at(const std::string& name) const { return (dir / name).string(); }
  test::Outcome Lxcfg(const std::vector<std::string>& args) const {
    return test::RunLxcfg(args, kProgramDir);
  }
  TempDir dir;
};

// Whatever a command prints, output that never arrives is a failure with the reason.
TEST_F(LxcfgSave, AFailedStandardOutputFailsEveryCommand) {
  WriteFile(at("a.h"), ReadFile(DefaultImage("LX7250")));
  WriteFile(at("a.bin"), std::string(192, '\x11'));
  const std::vector<std::vector<std::string>> commands = {
      {"new", "--model", "LX7250", "-o", "-"},
      {"show", at("a.h")},
      {"show", at("a.h"), "--json"},
      {"plan", at("a.h")},
      {"encode", "--model", "LX7250", "--xtal", "24000", "606000"},
      {"decode", "--model", "LX7250", "--xtal", "24000", "0x1234", "0x5678"},
      {"h2bin", at("a.h"), "-"},
      {"bin2h", "--model", "LX7250", "--xtal", "24000", at("a.bin"), "-"},
      {"set", at("a.h"), "pa_gain=3", "-o", "-"},
      {"--help"},
  };
  for (const bool buffered : {false, true}) {
    for (const auto& args : commands) {
      FailingOutput failing(buffered);
      std::ostream out(&failing);
      std::ostringstream err;
      const int status = cli::run(args, out, err, kProgramDir);
      EXPECT_EQ(status, 1) << args[0] << " buffered " << buffered;
      EXPECT_TRUE(err.str().ends_with("standard output: cannot write\n")) << args[0] << ": " << err.str();
    }
  }
  // The real program names the system's reason.
  for (const auto& args : commands) {
    if (args[0] == "--help") continue;
    const test::Outcome r = RunProgram(args, "/dev/full");
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_TRUE(r.err.ends_with("standard output: cannot write: No space left on device\n"))
        << args[0] << r.err;
  }
}

// A link stays a link and its file changes; a device stays a device.
TEST_F(LxcfgSave, LinksAndDevicesStayWhatTheyAre) {
  WriteFile(at("real.h"), ReadFile(DefaultImage("LX7250")));
  fs::create_symlink("real.h", at("link.h"));
  ASSERT_EQ(Lxcfg({"set", at("link.h"), "pa_gain=3"}).status, 0);
  EXPECT_TRUE(fs::is_symlink(at("link.h")));
  EXPECT_EQ(nlohmann::json::parse(Lxcfg({"show", at("real.h"), "--json"}).out)["settings"]["pa_gain"], 3);

  const test::Outcome folder = Lxcfg({"new", "--model", "LX7250", "-o", dir.path().string()});
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.err.find(dir.path().string() +
                            ": cannot write to a folder: only to a file, a pipe or a character device"),
            std::string::npos)
      << folder.err;

  // `new -o /dev/null` as the superuser, on a null device of the test's own.
  if (!test::MakeNullDevice(at("null"))) GTEST_SKIP() << "no device nodes here";
  fs::create_symlink("null", at("null-link"));
  for (const char* target : {"null", "null-link"}) {
    EXPECT_EQ(RunProgram({"new", "--model", "LX7250", "-o", at(target)}).status, 0) << target;
    EXPECT_TRUE(fs::is_character_file(at("null"))) << target;
  }
  EXPECT_TRUE(fs::is_symlink(at("null-link")));
}

// Temporary files of ours in `dir`.
std::vector<fs::path> Temporaries(const fs::path& dir) {
  std::vector<fs::path> found;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename().string().starts_with(kTemporaryPrefix)) found.push_back(e.path());
  return found;
}

// The real program killed at random moments of `set`: the file is always one whole version,
// and what the killed saves left behind goes with the next save once it is old.
TEST_F(LxcfgSave, KilledSavesNeverTearTheFileAndLeaveNothingForLong) {
  const std::string file = at("a.h");
  WriteFile(file, ReadFile(DefaultImage("LX7250")));
  std::set<std::string> versions{ReadFile(file)};
  for (int v = 0; v <= 12; ++v) {
    ASSERT_EQ(Lxcfg({"set", file, "pa_gain=" + std::to_string(v), "-o", at("v.h")}).status, 0);
    versions.insert(ReadFile(at("v.h")));
  }
  fs::remove(at("v.h"));
  // How long one save takes; the kills fall anywhere within it.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(RunProgram({"set", file, "pa_gain=1"}).status, 0);
  const auto once =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  std::mt19937 random(20261207);
  std::uniform_int_distribution<long> moment(0, once.count());
  int killed = 0;
  for (int i = 0; killed < 100 && i < 1000; ++i) {
    const std::string value = "pa_gain=" + std::to_string(i % 13);
    const pid_t pid = test::StartProgram({"set", file, value});
    ASSERT_GE(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) ++killed;
    ASSERT_TRUE(versions.contains(ReadFile(file))) << "torn after kill " << i;
  }
  EXPECT_EQ(killed, 100);
  // A minute later (as far as the files can tell) one more save cleans up.
  const std::vector<fs::path> left = Temporaries(dir.path());
  std::cout << killed << " saves killed, " << left.size() << " temporary files left\n";
  for (const fs::path& t : left)
    fs::last_write_time(t, fs::file_time_type::clock::now() - std::chrono::minutes(2));
  ASSERT_EQ(RunProgram({"set", file, "pa_gain=5"}).status, 0);
  EXPECT_TRUE(Temporaries(dir.path()).empty());
  EXPECT_EQ(test::CountFiles(dir.path()), 1);
}

// Two programs changing one file at once: each change lands, none replaces the other's.
TEST_F(LxcfgSave, ConcurrentSetsLoseNoUpdate) {
  const std::string file = at("a.h");
  WriteFile(file, ReadFile(DefaultImage("LX7250")));
  const auto channel = [&](const std::string& key) {
    return nlohmann::json::parse(Lxcfg({"show", file, "--json"}).out)["settings"][key].get<int>();
  };
  constexpr int kRounds = 50;
  const auto writer = [&](const std::string& key, int* lost) {
    for (int i = 1; i <= kRounds; ++i) {
      const int kHz = 600000 + 1000 * i;
      if (RunProgram({"set", file, key + "=" + std::to_string(kHz)}).status != 0) ++*lost;
      // Only the other writer could have changed the file since: its value must still be ours.
      else if (channel(key) != kHz)
        ++*lost;
    }
  };
  int lostA = 0, lostB = 0;
  std::thread a(writer, "channel.0", &lostA);
  std::thread b(writer, "channel.8", &lostB);
  a.join();
  b.join();
  EXPECT_EQ(lostA, 0);
  EXPECT_EQ(lostB, 0);
  EXPECT_EQ(channel("channel.0"), 600000 + 1000 * kRounds);
  EXPECT_EQ(channel("channel.8"), 600000 + 1000 * kRounds);
  EXPECT_TRUE(Temporaries(dir.path()).empty());
}

}  // namespace
}  // namespace lx
