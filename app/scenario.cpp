#include "app/scenario.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "app/config_app.h"
#include "ui/headless.h"

namespace lx::app {

namespace {

namespace fs = std::filesystem;

// What a file looked like; a change of any part counts as a write.
struct FileSignature {
  uintmax_t size;
  fs::file_time_type time;
  size_t hash;
  bool operator==(const FileSignature&) const = default;
};

class FileWatch {
 public:
  explicit FileWatch(fs::path root) : root_(std::move(root)) {}
  void AddFolder(const fs::path& folder) { folders_.insert(folder); }

  // Reports files that appeared, changed or disappeared since the last call.
  void Report(std::ostream& out) {
    std::map<fs::path, FileSignature> now;
    Scan(root_, true, now);
    for (const fs::path& f : folders_)
      if (f != root_) Scan(f, false, now);
    for (const auto& [path, sig] : now) {
      auto it = seen_.find(path);
      if (it == seen_.end() || !(it->second == sig))
        out << "wrote " << Shown(path) << " (" << sig.size << " bytes)\n";
    }
    for (const auto& [path, sig] : seen_)
      if (!now.count(path)) out << "removed " << Shown(path) << "\n";
    seen_ = std::move(now);
  }

 private:
  void Scan(const fs::path& folder, bool recursive, std::map<fs::path, FileSignature>& into) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return;
    auto add = [&](const fs::directory_entry& e) {
      std::error_code fec;
      if (!e.is_regular_file(fec)) return;
      FileSignature sig{e.file_size(fec), e.last_write_time(fec), 0};
      if (sig.size <= (1u << 20)) {
        std::ifstream in(e.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        sig.hash = std::hash<std::string>{}(bytes);
      }
      into[e.path().lexically_normal()] = sig;
    };
    if (recursive) {
      for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
           it.increment(ec))
        add(*it);
    } else {
      for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec))
        add(*it);
    }
  }

  std::string Shown(const fs::path& p) const {
    fs::path rel = p.lexically_relative(root_);
    // The same text on every platform: '/' between the folders of the working folder.
    if (!rel.empty() && *rel.begin() != "..") return rel.generic_string();
    return p.string();
  }

  fs::path root_;
  std::set<fs::path> folders_;
  std::map<fs::path, FileSignature> seen_;
};

void PrintState(const ToolState& state, std::ostream& out) {
  out << "crystal " << state.crystalKHz << "\n";
  out << "model " << state.chipModel;
  if (const ChipModel* m = state.selectedModel()) out << " " << m->name;
  out << "\n";
  for (int row = 0; row < kEepromSize; row += 8) {
    char line[96];
    int n = std::snprintf(line, sizeof line, "reg%02x:", row);
    for (int i = row; i < row + 8; ++i) n += std::snprintf(line + n, sizeof line - n, " %04x", state.words[i]);
    out << line << "\n";
  }
}

}  // namespace

int RunScenario(const ToolDefinition& tool, const fs::path& programDir, const fs::path& workDir,
                std::string_view script, std::ostream& out) {
  ui::HeadlessHost host(tool.resources, tool.profile.appName);
  host.SetFileBase(workDir);
  FileWatch watch(workDir);
  std::ostringstream ignored;
  watch.Report(ignored);  // what was there before
  host.trace = [&out](const std::string& line) { out << line << "\n"; };
  host.afterAction = [&](const ui::Action&) {
    for (const ui::FileDialogRecord& f : host.fileDialogs())
      if (f.answer) watch.AddFolder(fs::path(*f.answer).parent_path());
    watch.Report(out);
  };
  host.QueueScript(script);

  ConfigApp app(tool, host, programDir, workDir);
  app.InitInstance();
  watch.Report(out);
  PrintState(app.state(), out);
  if (host.errors()) out << host.errors() << " error(s)\n";
  return host.errors() ? 1 : 0;
}

}  // namespace lx::app
