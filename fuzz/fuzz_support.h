#pragma once
// What the fuzz targets share: splitting an input into lines, a scratch folder of their own,
// and the shipped default images.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace lx::fuzz {

// A failed property: abort, so that libFuzzer (or the corpus replay) reports the input.
inline void Check(bool property) {
  if (!property) std::abort();
}

inline std::vector<std::string> Lines(std::string_view text, std::size_t maxLines) {
  std::vector<std::string> lines;
  while (!text.empty() && lines.size() < maxLines) {
    const std::size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// A fresh folder under the temporary folder, made once per process and removed at its exit.
inline const std::filesystem::path& ScratchDir() {
  static const std::filesystem::path dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "lxfuzz-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    if (!made) std::abort();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(ScratchDir(), ec);
    });
    return std::filesystem::path(made);
  }();
  return dir;
}

inline std::string ReadWhole(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteWhole(const std::filesystem::path& p, std::string_view bytes) {
  std::ofstream(p, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The shipped default image of a model (resources/Data/<model>/EEPROM.h).
inline std::string DefaultImage(const char* model) {
  return ReadWhole(std::filesystem::path(LX_SOURCE_DATA_DIR) / model / "EEPROM.h");
}

}  // namespace lx::fuzz
