#include "core/file_kind.h"

#include "core/input_file.h"

namespace lx {

FileContent ClassifyFile(std::string_view bytes) {
  FileContent content;
  if (LooksBinary(bytes)) {
    content.kind = FileKind::Binary;
    return content;
  }
  ViewStream in(bytes);
  // The default image's rules: the declaration is read for its name, never to pick a tool.
  content.read = ReadHeaderLines(in, HeaderReadMode::DefaultLoader, AmbrelProfile(), content.words,
                                 content.crystalKHz);
  const HeaderReadResult& read = content.read;
  if (read.wordLines > 0 || read.crystalSeen || !read.declaredName.empty()) content.kind = FileKind::Header;
  content.model = FindModel(read.declaredName);
  return content;
}

}  // namespace lx
