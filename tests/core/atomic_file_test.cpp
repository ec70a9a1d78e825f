// Every step of replacing a file failing in turn: the old file stays byte for byte, no
// temporary file is left, the windows keep their text and the reason names the system's error.
#include "core/atomic_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "core/binary_format.h"
#include "core/header_format.h"
#include "core/messages.h"
#include "core/state.h"
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
  // Runs the operation under `fault` and checks everything a failure must leave as it was.
  void ExpectFailure(const FileFault& fault, Outcome expected, const char* reasonLead,
                     const std::string& what) {
    Report r;
    {
      ScopedFileFault injected(fault);
      r = GetParam().run(state, dir.path(), (dir / "out").string());
    }
    ASSERT_FALSE(r.ok) << what;
    EXPECT_EQ(r.outcome, expected) << what;
    EXPECT_EQ(r.message, WindowText(expected)) << what;
    EXPECT_EQ(r.reason, std::string(reasonLead) + ": " + std::strerror(fault.error)) << what;
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
  };
  for (const auto& s : steps)
    ExpectFailure(s.fault, s.created ? GetParam().failure : GetParam().notCreated, s.reasonLead,
                  std::to_string(static_cast<int>(s.fault.step)));
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
  std::string error;
  {
    ScopedFileFault outer({FileStep::Rename, EIO});
    {
      ScopedFileFault inner({FileStep::Write, ENOSPC, 3});
      EXPECT_FALSE(WriteFileAtomically(dir / "a", "hello", &error));
      EXPECT_EQ(error, std::string("cannot write: ") + std::strerror(ENOSPC));
    }
    EXPECT_FALSE(WriteFileAtomically(dir / "a", "hello", &error));
    EXPECT_EQ(error, std::string("cannot replace it: ") + std::strerror(EIO));
  }
  EXPECT_TRUE(WriteFileAtomically(dir / "a", "hello", &error));
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

}  // namespace
}  // namespace lx
