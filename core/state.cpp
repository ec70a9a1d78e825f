#include "core/state.h"

#include <fstream>

#include "core/atomic_file.h"
#include "core/binary_format.h"
#include "core/header_format.h"
#include "core/register_map.h"

namespace lx {
namespace {

// Folders open as streams on some systems; they are never a file to read here. Empty when
// the file is open, otherwise why it is not.
std::string OpenForReading(const std::filesystem::path& path, std::ifstream& in) {
  std::string reason = UnreadableReason(path);
  if (reason.empty()) {
    in.open(path, std::ios::binary);
    if (!in.is_open()) reason = "cannot open";
  }
  return reason;
}

}  // namespace

ToolState::ToolState(const ToolProfile& profile, std::filesystem::path programDir)
    : defaultsLoaded(static_cast<std::size_t>(profile.modelCount()), 0),
      profile_(&profile),
      programDir_(std::move(programDir)) {}

void ToolState::markDefaultsLoaded(int n) {
  for (int i = 0; i < profile_->modelCount(); ++i) defaultsLoaded[static_cast<std::size_t>(i)] = (i == n) ? 1 : 0;
}

void ToolState::rememberFolderOf(const std::string& file) {
  headerPath = std::filesystem::path(file).parent_path().string();
  binaryPath = headerPath;
}

std::filesystem::path ToolState::DefaultImagePath(int n) const {
  return programDir_ / "Data" / profile_->models[static_cast<std::size_t>(n)].name / "EEPROM.h";
}

Report ToolState::SelectChipModel(int n) {
  if (!profile_->validModel(n)) return Report::Failed(Outcome::NoSuchModel);
  chipModel = n;
  Report report;
  if (defaultsLoaded[static_cast<std::size_t>(n)] == 0) {
    report = LoadDefaultImage(n);
    // Set even when loading failed, so the same radio does not retry.
    markDefaultsLoaded(n);
  }
  ApplyModelFixup();
  return report;
}

Report ToolState::LoadDefaultImage(int n) {
  const std::filesystem::path path = DefaultImagePath(n);
  std::ifstream in;
  if (std::string why = OpenForReading(path, in); !why.empty())
    return Report::Failed(Outcome::DefaultImageUnreadable, std::move(why));
  ReadHeaderLines(in, HeaderReadMode::DefaultLoader, *profile_, words, crystalKHz);
  return Report::Done();
}

void ToolState::ApplyModelFixup() {
  const ModelFixup f = ModelFixupOf(profile_->family);
  WriteField(f.field, f.value, words);
}

void ToolState::PrepareDataDirectory(const std::filesystem::path& currentDir) {
  for (const char* folder : profile_->dataFolders) {
    std::error_code ignored;
    std::filesystem::create_directory(currentDir / folder, ignored);
  }
  headerPath = (currentDir / "data").string();
  binaryPath = headerPath;
}

Report ToolState::OpenHeader(const std::string& path) {
  rememberFolderOf(path);
  std::ifstream in;
  if (std::string why = OpenForReading(path, in); !why.empty())
    return Report::Failed(Outcome::HeaderUnreadable, std::move(why));
  const HeaderReadResult read = ReadHeaderLines(in, HeaderReadMode::Open, *profile_, words, crystalKHz);
  if (read.taggedModel >= 0) {
    chipModel = read.taggedModel;
    markDefaultsLoaded(read.taggedModel);
  }
  ApplyModelFixup();
  return Report::Done();
}

Report ToolState::SaveHeader(const std::string& path) {
  rememberFolderOf(path);
  const ChipModel* model = selectedModel();
  if (!model) return Report::Failed(Outcome::NoChipModel);
  std::string why;
  if (!WriteFileAtomically(path, WriteHeaderText(*model, crystalKHz, words), &why))
    return Report::Failed(Outcome::HeaderNotWritten, std::move(why));
  return Report::Done();
}

Report ToolState::ConvertHeaderToBinary(const std::string& outPath) {
  AtomicFile out;
  // An output that cannot be created ends the conversion before anything is read.
  if (!out.Open(outPath)) return Report::Failed(Outcome::OutputNotCreated, out.error());
  std::ifstream in;
  if (std::string why = OpenForReading(headerPath, in); !why.empty())
    return Report::Failed(Outcome::HeaderUnreadable, std::move(why));
  const std::string bytes = HeaderToBinary(in);
  if (!out.Write(bytes) || !out.Commit()) return Report::Failed(Outcome::BinaryNotWritten, out.error());
  return Report::Done(Outcome::Converted);
}

Report ToolState::ConvertBinaryToHeader(const std::string& outPath) {
  AtomicFile out;
  if (!out.Open(outPath)) return Report::Failed(Outcome::OutputNotCreated, out.error());
  std::ifstream in;
  if (std::string why = OpenForReading(binaryPath, in); !why.empty())
    return Report::Failed(Outcome::BinaryUnreadable, std::move(why));
  // Only the first 192 bytes matter; nothing beyond the file's own bytes is ever used.
  std::string bytes(kBinaryImageSize, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  const std::optional<RegisterImage> image = BinaryToWords(bytes);
  if (!image) return Report::Failed(Outcome::BinaryEmpty);
  const ChipModel* model = selectedModel();
  if (!model) return Report::Failed(Outcome::NoChipModel);
  if (!out.Write(WriteHeaderText(*model, crystalKHz, *image)) || !out.Commit())
    return Report::Failed(Outcome::HeaderNotWritten, out.error());
  return Report::Done(Outcome::Converted);
}

std::filesystem::path ProgramDirectory(const char* argv0) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && !self.empty()) return self.parent_path();
  if (argv0 && *argv0) return std::filesystem::absolute(argv0, ec).parent_path();
  return std::filesystem::current_path(ec);
}

}  // namespace lx
