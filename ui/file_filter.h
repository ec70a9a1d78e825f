#pragma once
// File dialog filters as the tools write them ("head files(*.h)|*.h||": pairs of description
// and pattern, '|' between, "||" at the end) turned into name filters a toolkit shows.
#include <string>
#include <vector>

namespace lx::ui {

struct FileFilter {
  std::string description;  // "head files(*.h)"
  std::string patterns;     // "*.h", several separated by ';'
};

std::vector<FileFilter> ParseFileFilter(const std::string& filter);
// "head files(*.h)" stays as it is (it already names its pattern); "Text|*.txt;*.log" becomes
// "Text (*.txt *.log)".
std::vector<std::string> NameFilters(const std::string& filter);

// The name a file dialog hands back: a name typed without extension (the last path component
// has no dot, whatever the folders have) gets `defaultExt`, except that an open dialog takes a
// file that exists as it was chosen.
std::string WithDefaultExtension(const std::string& path, const std::string& defaultExt, bool save);

}  // namespace lx::ui
