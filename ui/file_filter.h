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

}  // namespace lx::ui
