// Timings of the operations a production line repeats: channel codec, header read/write,
// and the two conversions.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "channel/codec.h"
#include "core/binary_format.h"
#include "core/header_format.h"
#include "core/state.h"

namespace {

lx::RegisterImage Pattern() {
  lx::RegisterImage w{};
  for (int i = 0; i < lx::kEepromSize; ++i) w[i] = static_cast<uint16_t>(0x0101 * i + 0x00F0);
  return w;
}

void BM_EncodeDecodeChannel(benchmark::State& state) {
  const lx::ToolProfile& p = lx::AmbrelProfile();
  uint32_t f = 470000;
  for (auto _ : state) {
    const auto words = lx::EncodeChannel(p, 1, 24000, f);
    benchmark::DoNotOptimize(lx::DecodeChannel(p, 1, 24000, *words));
    f = f >= 960000 ? 470000 : f + 25;
  }
}
BENCHMARK(BM_EncodeDecodeChannel);

void BM_WriteHeader(benchmark::State& state) {
  const lx::RegisterImage w = Pattern();
  for (auto _ : state) benchmark::DoNotOptimize(lx::WriteHeaderText(lx::AmbrelProfile().models[1], 24000, w));
}
BENCHMARK(BM_WriteHeader);

void BM_ReadHeader(benchmark::State& state) {
  const std::string text = lx::WriteHeaderText(lx::AmbrelProfile().models[1], 24000, Pattern());
  for (auto _ : state) {
    std::istringstream in(text);
    lx::RegisterImage w{};
    int32_t crystal = 0;
    benchmark::DoNotOptimize(lx::ReadHeaderLines(in, lx::HeaderReadMode::Open, lx::AmbrelProfile(), w, crystal));
  }
}
BENCHMARK(BM_ReadHeader);

// The conversions as the tools run them, files included, in a folder no other run shares.
struct Files {
  std::filesystem::path dir;
  Files() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lx-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
      throw std::filesystem::filesystem_error("mkdtemp", std::error_code(errno, std::generic_category()));
    dir = pattern;
  }
  ~Files() { std::filesystem::remove_all(dir); }
};

void BM_HeaderToBinaryFile(benchmark::State& state) {
  Files files;
  lx::ToolState s(lx::AmbrelProfile(), files.dir);
  s.chipModel = 1;
  s.crystalKHz = 24000;
  s.words = Pattern();
  s.SaveHeader((files.dir / "a.h").string());
  s.headerPath = (files.dir / "a.h").string();
  for (auto _ : state) benchmark::DoNotOptimize(s.ConvertHeaderToBinary((files.dir / "a.bin").string()));
}
BENCHMARK(BM_HeaderToBinaryFile)->Unit(benchmark::kMicrosecond);

void BM_BinaryToHeaderFile(benchmark::State& state) {
  Files files;
  lx::ToolState s(lx::AmbrelProfile(), files.dir);
  s.chipModel = 1;
  s.crystalKHz = 24000;
  std::ofstream(files.dir / "a.bin", std::ios::binary) << lx::WordsToBinary(Pattern());
  s.binaryPath = (files.dir / "a.bin").string();
  for (auto _ : state) benchmark::DoNotOptimize(s.ConvertBinaryToHeader((files.dir / "b.h").string()));
}
BENCHMARK(BM_BinaryToHeaderFile)->Unit(benchmark::kMicrosecond);

void BM_HeaderToBinaryInMemory(benchmark::State& state) {
  const std::string text = lx::WriteHeaderText(lx::AmbrelProfile().models[1], 24000, Pattern());
  for (auto _ : state) {
    std::istringstream in(text);
    benchmark::DoNotOptimize(lx::HeaderToBinary(in));
  }
}
BENCHMARK(BM_HeaderToBinaryInMemory);

}  // namespace

BENCHMARK_MAIN();
