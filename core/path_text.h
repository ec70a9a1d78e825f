#pragma once
// File names are UTF-8 text throughout the tools. std::filesystem::path built from a narrow
// string would read it in the Windows ANSI code page, so names cross into and out of paths
// here, as UTF-8 on every platform.
#include <filesystem>
#include <string>
#include <string_view>

namespace lx {

inline std::filesystem::path PathFromUtf8(std::string_view text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace lx
