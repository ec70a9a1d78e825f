#pragma once
// What a file holds, judged from its bytes alone: a binary image, a header, or neither. Every
// command and window that must tell them apart asks here, so that they all answer alike.
#include <cstdint>
#include <string_view>

#include "core/header_format.h"
#include "core/profile.h"
#include "core/state.h"

namespace lx {

enum class FileKind : uint8_t {
  Neither,  // text without a word line, crystal line or declaration
  Header,   // text with at least one of them (possibly no word line at all)
  Binary,   // control characters a header never holds (LooksBinary)
};

struct FileContent {
  FileKind kind = FileKind::Neither;
  // For a header: what reading it by the default image's rules found (word lines, odd lines,
  // crystal line, declaration), with the words and crystal it holds (0 where it has no line).
  HeaderReadResult read;
  RegisterImage words{};
  int32_t crystalKHz = 0;
  // The catalogue model the declaration names; none without one or for a name we do not know.
  ModelRef model;

  bool isHeader() const { return kind == FileKind::Header; }
  bool isBinary() const { return kind == FileKind::Binary; }
  int wordLines() const { return read.wordLines; }
  // A header that has word lines to read: what Open and a comparison need.
  bool hasWords() const { return isHeader() && read.wordLines > 0; }
  // A declaration naming a model that no tool knows.
  bool declaresUnknownModel() const { return isHeader() && !read.declaredName.empty() && !model; }
};

FileContent ClassifyFile(std::string_view bytes);

}  // namespace lx
