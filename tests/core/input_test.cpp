// Reading inputs whole and once, within a size limit and a silence limit: regular files, folders,
// devices, FIFOs with and without a writer, and the tool state's Open and conversions on them.
#include <gtest/gtest.h>

#include <chrono>

#include "core/binary_format.h"
#include "core/header_format.h"
#include "core/input_file.h"
#include "core/messages.h"
#include "core/state.h"
#include "tests/support/endless.h"
#include "tests/support/files.h"

namespace lx {
namespace {

using Clock = std::chrono::steady_clock;
using test::FifoFeeder;
using test::TempDir;
using test::WriteFile;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(ReadInput, StopsAtTheLimitOrRefusesWhatLiesBeyond) {
  TempDir dir;
  WriteFile(dir / "ten", "0123456789");
  std::filesystem::create_symlink("/dev/zero", dir / "zero-link");
  const struct {
    std::string path;
    InputLimits limits;
    std::optional<InputError> error;
    std::string bytes;
  } cases[] = {
      {(dir / "ten").string(), {10, false, 100}, std::nullopt, "0123456789"},  // exactly the limit
      {(dir / "ten").string(), {9, false, 100}, InputError::TooLarge, ""},
      {(dir / "ten").string(), {4, true, 100}, std::nullopt, "0123"},
      {(dir / "missing").string(), {}, InputError::CannotOpen, ""},
      {dir.path().string(), {}, InputError::Folder, ""},
      {"/dev/zero", {1 << 20, false, 100}, InputError::TooLarge, ""},
      {(dir / "zero-link").string(), {1 << 20, false, 100}, InputError::TooLarge, ""},
      {"/dev/zero", {3, true, 100}, std::nullopt, std::string(3, '\0')},
      {"/dev/null", {}, std::nullopt, ""},
  };
  for (const auto& c : cases) {
    const InputRead r = ReadInput(c.path, c.limits);
    EXPECT_EQ(r.ok() ? std::nullopt : std::optional(r.kind()), c.error) << c.path << " " << c.limits.maxBytes;
    EXPECT_EQ(r.ok() ? *r : "", c.bytes) << c.path;
    if (!r.ok()) EXPECT_FALSE(r.message().empty()) << c.path;
  }
  EXPECT_EQ(ReadInput("/dev/zero").message(), "larger than 64 MiB; reading stopped there");
}

TEST(ReadInput, AFifoIsReadOnceAndASilentOneIsGivenUp) {
  TempDir dir;
  {
    FifoFeeder feeder(dir / "some", "0x1234,\r\n", 3);
    const InputRead r = ReadInput(feeder.path(), {1 << 20, false, 5000});
    ASSERT_TRUE(r.ok()) << r.message();
    EXPECT_EQ(*r, "0x1234,\r\n0x1234,\r\n0x1234,\r\n");
  }
  {
    // Nobody ever writes: neither the opening nor the reading may wait for ever.
    FifoFeeder silent(dir / "silent", "");
    const Clock::time_point start = Clock::now();
    const InputRead r = ReadInput(silent.path(), {1 << 20, false, 200});
    EXPECT_EQ(r.kind(), InputError::Stalled);
    EXPECT_EQ(r.message(), "no data for 200 ms; reading given up");
    EXPECT_LT(SecondsSince(start), 5.0);
  }
  {
    // An endless stream of word lines stops at the limit, in bounded memory and time.
    std::string lines;
    for (int i = 0; i < 512; ++i) lines += "0x1234,\r\n";
    FifoFeeder endless(dir / "endless", lines);
    const long before = test::PeakMiB();
    const Clock::time_point start = Clock::now();
    const InputRead r = ReadInput(endless.path(), {16 << 20, false, 5000});
    EXPECT_EQ(r.kind(), InputError::TooLarge);
    EXPECT_LT(SecondsSince(start), 20.0);
    EXPECT_LT(test::PeakMiB() - before, 64) << "reading 16 MiB may not take much more than 16 MiB";
  }
}

// The windows' Open and both conversions on inputs that never end or never start: each gives
// its usual message, quickly, and nothing is changed or written.
TEST(ReadInput, TheToolsOpenAndConversionsAreBounded) {
  TempDir dir;
  FifoFeeder silent(dir / "silent.h", "");
  ToolState state(AmbrelProfile(), dir.path());
  state.inputLimits.idleMillis = 200;
  state.chipModel = 1;
  state.words.fill(0x4242);
  const RegisterImage before = state.words;
  const Clock::time_point start = Clock::now();

  EXPECT_EQ(state.OpenHeader(silent.path().string()).message, msg::kOpenHeaderFailed);
  EXPECT_EQ(state.OpenHeader("/dev/zero").message, msg::kOpenHeaderFailed);
  EXPECT_EQ(state.words, before);
  state.headerPath = "/dev/zero";
  EXPECT_EQ(state.ConvertHeaderToBinary((dir / "out.bin").string()).message, msg::kOpenHeaderFailed);
  state.headerPath = silent.path().string();
  EXPECT_EQ(state.ConvertHeaderToBinary((dir / "out.bin").string()).message, msg::kOpenHeaderFailed);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.bin"));
  state.binaryPath = silent.path().string();
  EXPECT_EQ(state.ConvertBinaryToHeader((dir / "out.h").string()).message, msg::kOpenBinFailed);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.h"));
  EXPECT_LT(SecondsSince(start), 10.0);

  // "bin To h" needs 192 bytes: /dev/zero gives them, and reading stops there.
  state.binaryPath = "/dev/zero";
  EXPECT_EQ(state.ConvertBinaryToHeader((dir / "zero.h").string()).message, msg::kConverted);
  EXPECT_EQ(test::ReadFile(dir / "zero.h"), WriteHeaderText(AmbrelProfile().models[1], 0, RegisterImage{}));
}

TEST(ReadInput, HeaderToBinaryKeepsAThirdDigitInTheLowByte) {
  const struct {
    const char* line;
    std::string bytes;
  } cases[] = {
      {"0x123", std::string("\x12\x03", 2)},  // ends right after three digits, no comma
      {"0x12a\r\n", std::string("\x12\x0a", 2)},
      {"0x12,", std::string("\x12\x00", 2)},  // the comma stops the low byte
      {"0x1a2b,   //reg05", std::string("\x1a\x2b", 2)},
  };
  for (const auto& c : cases) {
    ViewStream in(c.line);
    EXPECT_EQ(HeaderToBinary(in), c.bytes) << c.line;
  }
}

}  // namespace
}  // namespace lx
