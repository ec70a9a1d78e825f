#include "app/scenario.h"

#include <fmt/format.h>
#include <sys/stat.h>
#include <time.h>
#ifdef _WIN32
#include <windows.h>
#endif

#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include "app/config_app.h"
#include "core/path_text.h"
#include "core/text.h"
#include "ui/headless.h"

namespace lx::app {

namespace {

namespace fs = std::filesystem;

// What a file looked like; a change of any part counts as a write. A file replaced by renaming
// a new one over it has another inode (file index), a file rewritten in place another change time.
#ifdef _WIN32
using FileTime = std::uint64_t;  // 100 ns units since 1601

FileTime TimeOf(const FILETIME& t) { return (FileTime{t.dwHighDateTime} << 32) | t.dwLowDateTime; }

FileTime Now() {
  FILETIME t;
  GetSystemTimeAsFileTime(&t);
  return TimeOf(t);
}

struct FileSignature {
  std::uint64_t inode;
  std::uint64_t size;
  FileTime modified, changed;
  bool operator==(const FileSignature&) const = default;
};

std::optional<FileSignature> SignatureOf(const fs::path& path) {
  HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info;
  const bool ok = GetFileInformationByHandle(h, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  CloseHandle(h);
  if (!ok) return std::nullopt;
  return FileSignature{(std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
                       (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
                       TimeOf(info.ftLastWriteTime), TimeOf(info.ftCreationTime)};
}

bool Before(FileTime a, FileTime b) { return a < b; }
#else
using FileTime = timespec;

// File times come from the kernel's coarse clock: a file written just after this moment must
// not look older than it.
FileTime Now() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME_COARSE, &t);
  return t;
}

struct FileSignature {
  ino_t inode;
  off_t size;
  timespec modified, changed;
  bool operator==(const FileSignature& o) const {
    return inode == o.inode && size == o.size && modified.tv_sec == o.modified.tv_sec &&
           modified.tv_nsec == o.modified.tv_nsec && changed.tv_sec == o.changed.tv_sec &&
           changed.tv_nsec == o.changed.tv_nsec;
  }
};

std::optional<FileSignature> SignatureOf(const fs::path& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return FileSignature{st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

bool Before(const timespec& a, const timespec& b) {
  return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}
#endif

// Reports the files a session writes or removes. The tools write only files that a file dialog
// named (Save, and the targets the conversions ask for), so after each
// action only those files are looked at, one stat each: an action costs no scan of the folder.
class FileWatch {
 public:
  explicit FileWatch(const fs::path& root) : root_(root.lexically_normal()), since_(Now()) {
    // What the working folder held before, so that a name answered later is compared with that.
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
      if (std::optional<FileSignature> sig = SignatureOf(it->path())) before_[it->path().lexically_normal()] = *sig;
  }

  // A file a dialog was answered with; from now on it is looked at after every action.
  void Track(const fs::path& file) {
    const fs::path f = file.lexically_normal();
    if (!tracked_.insert(f).second) return;
    auto known = before_.find(f);
    if (known != before_.end()) {
      seen_[f] = known->second;
    } else if (std::optional<FileSignature> sig = SignatureOf(f);
               sig && !Inside(f) && Before(sig->modified, since_)) {
      seen_[f] = *sig;  // outside the working folder and untouched since the session began
    }
  }

  // Reports tracked files that appeared, changed or disappeared since the last call.
  void Report(std::ostream& out) {
    std::vector<const fs::path*> removed;
    for (const fs::path& path : tracked_) {
      const std::optional<FileSignature> sig = SignatureOf(path);
      auto it = seen_.find(path);
      if (sig && (it == seen_.end() || !(it->second == *sig))) {
        out << "wrote " << Shown(path) << " (" << sig->size << " bytes)\n";
        seen_[path] = *sig;
      } else if (!sig && it != seen_.end()) {
        seen_.erase(it);
        removed.push_back(&path);
      }
    }
    for (const fs::path* path : removed) out << "removed " << Shown(*path) << "\n";
  }

 private:
  bool Inside(const fs::path& p) const {
    const fs::path rel = p.lexically_relative(root_);
    return !rel.empty() && *rel.begin() != "..";
  }

  std::string Shown(const fs::path& p) const {
    fs::path rel = p.lexically_relative(root_);
    // The same text on every platform: '/' between the folders of the working folder.
    if (!rel.empty() && *rel.begin() != "..") {
      const std::u8string text = rel.generic_u8string();
      return std::string(text.begin(), text.end());
    }
    return Utf8FromPath(p);
  }

  fs::path root_;
  FileTime since_{};
  std::map<fs::path, FileSignature> before_;  // the working folder at the start
  std::set<fs::path> tracked_;
  std::map<fs::path, FileSignature> seen_;
};

void PrintState(const ToolState& state, std::ostream& out) {
  out << "crystal " << state.crystalKHz << "\n";
  out << "model " << state.chipModel;
  if (const ChipModel* m = state.selectedModel()) out << " " << m->name;
  out << "\n";
  for (int row = 0; row < kEepromSize; row += 8) {
    out << RegisterName(row) << ':';
    for (int i = row; i < row + 8; ++i)
      out << fmt::format(" {:04x}", state.words[static_cast<std::size_t>(i)]);
    out << "\n";
  }
}

}  // namespace

int RunScenario(const ToolDefinition& tool, ui::ScriptHost& host, const fs::path& programDir,
                const fs::path& workDir, std::string_view script, std::ostream& out) {
  host.SetFileBase(workDir);
  FileWatch watch(workDir);  // takes what was there before
  host.trace = [&out](const std::string& line) { out << line << "\n" << std::flush; };
  std::size_t answered = 0;
  host.afterAction = [&](const ui::Action&) {
    for (; answered < host.fileDialogs().size(); ++answered)
      if (const std::optional<std::string>& a = host.fileDialogs()[answered].answer) {
        const fs::path answer = PathFromUtf8(*a);
        const fs::path file = answer.is_absolute() ? answer : workDir / answer;
        watch.Track(file);
      }
    watch.Report(out);
  };
  host.QueueScript(script);

  ConfigApp app(tool, host.host(), programDir, workDir);
  app.InitInstance();
  watch.Report(out);
  PrintState(app.state(), out);
  if (host.errors()) out << host.errors() << " error(s)\n";
  return host.errors() ? 1 : 0;
}

int RunScenario(const ToolDefinition& tool, const fs::path& programDir, const fs::path& workDir,
                std::string_view script, std::ostream& out) {
  ui::HeadlessHost host(tool.resources, tool.profile.appName);
  return RunScenario(tool, host, programDir, workDir, script, out);
}

namespace {

struct KindRow {
  const char* name;
  const char* actions;
};

KindRow Describe(ui::Kind kind) {
  switch (kind) {
    case ui::Kind::PushButton:
      return {"button", "`click`"};
    case ui::Kind::PictureButton:
      return {"picture button", "`click`"};
    case ui::Kind::RadioButton:
      return {"radio button", "`click`"};
    case ui::Kind::CheckBox:
      return {"check box", "`click`"};
    case ui::Kind::Edit:
      return {"edit box", "`type`, `focus`"};
    case ui::Kind::ComboBox:
      return {"drop-down list", "`select`, `pick`"};
    case ui::Kind::Slider:
      return {"slider", "`drag`, `key`"};
    case ui::Kind::GroupBox:
      return {"group box", ""};
    case ui::Kind::Label:
      return {"label", ""};
    case ui::Kind::Icon:
      return {"icon", ""};
  }
  return {"?", ""};
}

// A template text in a table cell: line breaks as blanks, bars escaped.
std::string Cell(const char* text) {
  std::string cell;
  for (const char* c = text ? text : ""; *c; ++c) {
    if (*c == '\n' || *c == '\r')
      cell += ' ';
    else if (*c == '|')
      cell += "\\|";
    else
      cell += *c;
  }
  return cell;
}

}  // namespace

void WriteScriptIds(const ToolDefinition& tool, std::ostream& out) {
  const ui::ResourceSet& res = tool.resources;
  out << "### " << tool.profile.appName << " (`uiscenario " << tool.program << "`)\n\n";
  for (const ui::MenuTemplate* menu : res.menus) {
    out << "Menu of the main window (`command <id>`):\n\n| Menu | Item | Command |\n|---|---|---|\n";
    for (const ui::MenuItemTemplate& item : menu->items)
      out << "| " << Cell(item.popup) << " | " << Cell(item.text) << " | " << item.command << " |\n";
    out << '\n';
  }
  for (const ui::DialogTemplate* dialog : res.dialogs) {
    out << "Window " << dialog->id << " \"" << Cell(dialog->caption) << "\":\n\n"
        << "| Id | Control | Text | Actions |\n|---|---|---|---|\n";
    for (const ui::ControlTemplate& c : dialog->controls) {
      if (c.id == ui::kStaticId) continue;
      const KindRow kind = Describe(c.kind);
      out << "| " << c.id << " | " << kind.name << " | " << Cell(c.text) << " | " << kind.actions << " |\n";
    }
    out << '\n';
  }
}

}  // namespace lx::app
