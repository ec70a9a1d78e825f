#include "ui/file_filter.h"

#include <algorithm>
#include <filesystem>

#include "core/path_text.h"

namespace lx::ui {

std::vector<FileFilter> ParseFileFilter(const std::string& filter) {
  std::vector<std::string> parts;
  std::string current;
  for (char c : filter) {
    if (c == '|') {
      parts.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) parts.push_back(current);
  std::vector<FileFilter> out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2)
    if (!parts[i].empty() || !parts[i + 1].empty()) out.push_back({parts[i], parts[i + 1]});
  return out;
}

std::vector<std::string> NameFilters(const std::string& filter) {
  std::vector<std::string> out;
  for (const FileFilter& f : ParseFileFilter(filter)) {
    std::string patterns = f.patterns;
    std::replace(patterns.begin(), patterns.end(), ';', ' ');
    std::string shown = f.description;
    bool named = shown.size() >= patterns.size() + 2 && shown.back() == ')' &&
                 shown.compare(shown.size() - patterns.size() - 2, patterns.size() + 2, "(" + patterns + ")") == 0;
    out.push_back(named ? shown : shown + " (" + patterns + ")");
  }
  return out;
}

std::string WithDefaultExtension(const std::string& path, const std::string& defaultExt, bool save) {
  if (defaultExt.empty()) return path;
  // The platform's own separators end the folder part ('\\' as well as '/' on Windows).
  const std::string name = Utf8FromPath(PathFromUtf8(path).filename());
  if (name.empty() || name.find('.') != std::string::npos) return path;
  if (!save) {
    std::error_code ec;
    const auto st = std::filesystem::status(PathFromUtf8(path), ec);
    if (!ec && std::filesystem::exists(st) && !std::filesystem::is_directory(st)) return path;
  }
  return path + "." + defaultExt;
}

}  // namespace lx::ui
