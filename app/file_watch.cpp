#include "app/file_watch.h"

#include <vector>

#include "core/path_text.h"

namespace lx::app {

namespace fs = std::filesystem;

FileWatch::FileWatch(const fs::path& root) : root_(root.lexically_normal()), since_(Now()) {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root_, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    if (std::optional<FileSignature> sig = SignatureOf(it->path()))
      before_[it->path().lexically_normal()] = *sig;
}

void FileWatch::Track(const fs::path& file) {
  const fs::path f = file.lexically_normal();
  if (!tracked_.insert(f).second) return;
  auto known = before_.find(f);
  if (known != before_.end()) {
    seen_[f] = known->second;
  } else if (std::optional<FileSignature> sig = SignatureOf(f); sig && !Inside(f) && sig->modified < since_) {
    seen_[f] = *sig;  // outside the working folder and untouched since the session began
  }
}

void FileWatch::Report(std::ostream& out) {
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

bool FileWatch::Inside(const fs::path& p) const {
  const fs::path rel = p.lexically_relative(root_);
  return !rel.empty() && *rel.begin() != "..";
}

std::string FileWatch::Shown(const fs::path& p) const {
  fs::path rel = p.lexically_relative(root_);
  // The same text on every platform: '/' between the folders of the working folder.
  if (!rel.empty() && *rel.begin() != "..") {
    const std::u8string text = rel.generic_u8string();
    return std::string(text.begin(), text.end());
  }
  return Utf8FromPath(p);
}

}  // namespace lx::app
