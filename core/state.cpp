#include "core/state.h"

#include "core/atomic_file.h"
#include "core/binary_format.h"
#include "core/header_format.h"
#include "core/messages.h"
#include "core/path_text.h"
#include "core/register_map.h"

namespace lx {

ToolState::ToolState(const ToolProfile& profile, std::filesystem::path programDir)
    : profile_(&profile), programDir_(std::move(programDir)) {}

void ToolState::RememberFolderOf(const std::string& file) {
  headerPath = Utf8FromPath(PathFromUtf8(file).parent_path());
  binaryPath = headerPath;
}

std::filesystem::path ToolState::DefaultImagePath(int n) const {
  return programDir_ / "Data" / profile_->models[static_cast<std::size_t>(n)].name / "EEPROM.h";
}

Report ToolState::SelectChipModel(int n) {
  if (!profile_->validModel(n)) return Report::Failed(Outcome::NoSuchModel);
  chipModel = n;
  Report report;
  if (defaultsLoaded != n) {
    report = LoadDefaultImage(n);
    // Set even when loading failed, so the same radio does not retry.
    defaultsLoaded = n;
  }
  ApplyModelFixup();
  return report;
}

Report ToolState::LoadDefaultImage(int n) {
  const InputRead read = ReadInput(DefaultImagePath(n), inputLimits);
  if (!read.ok()) return Report::Failed(Outcome::DefaultImageUnreadable, read.message());
  ViewStream in(*read);
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
  headerPath = Utf8FromPath(currentDir / "data");
  binaryPath = headerPath;
}

Report ToolState::OpenHeader(const std::string& path) {
  RememberFolderOf(path);
  const InputRead read = ReadInput(PathFromUtf8(path), inputLimits);
  if (!read.ok()) return Report::Failed(Outcome::HeaderUnreadable, read.message());
  return ReadOpenedHeader(*read);
}

Report ToolState::OpenHeaderText(const std::string& path, std::string_view text) {
  RememberFolderOf(path);
  return ReadOpenedHeader(text);
}

Report ToolState::ReadOpenedHeader(std::string_view text) {
  ViewStream in(text);
  const HeaderReadResult read = ReadHeaderLines(in, HeaderReadMode::Open, *profile_, words, crystalKHz);
  if (read.taggedModel >= 0) {
    chipModel = read.taggedModel;
    defaultsLoaded = read.taggedModel;
  }
  ApplyModelFixup();
  return Report::Done();
}

Report ToolState::SaveHeader(const std::string& path) {
  RememberFolderOf(path);
  const ChipModel* model = selectedModel();
  if (!model) return Report::Failed(Outcome::NoChipModel);
  if (const FileWrite written =
          WriteFileAtomically(PathFromUtf8(path), WriteHeaderText(*model, crystalKHz, words));
      !written)
    return Report::Failed(Outcome::HeaderNotWritten, written.message());
  return Report::Done();
}

Report ToolState::ConvertHeaderToBinary(const std::string& outPath) {
  AtomicFile out;
  // An output that cannot be created ends the conversion before anything is read.
  if (!out.Open(PathFromUtf8(outPath))) return Report::Failed(Outcome::OutputNotCreated, out.error());
  const InputRead header = ReadInput(PathFromUtf8(headerPath), inputLimits);
  if (!header.ok()) return Report::Failed(Outcome::HeaderUnreadable, header.message());
  ViewStream in(*header);
  const std::string bytes = HeaderToBinary(in);
  if (!out.Write(bytes) || !out.Commit()) return Report::Failed(Outcome::BinaryNotWritten, out.error());
  return Report::Done(Outcome::Converted);
}

Report ToolState::ConvertBinaryToHeader(const std::string& outPath) {
  AtomicFile out;
  if (!out.Open(PathFromUtf8(outPath))) return Report::Failed(Outcome::OutputNotCreated, out.error());
  // Only the first 192 bytes matter: reading stops there, however long the input.
  InputLimits first = inputLimits;
  first.maxBytes = kBinaryImageSize;
  first.truncate = true;
  const InputRead read = ReadInput(PathFromUtf8(binaryPath), first);
  if (!read.ok()) return Report::Failed(Outcome::BinaryUnreadable, read.message());
  const std::optional<RegisterImage> image = BinaryToWords(*read);
  if (!image) return Report::Failed(Outcome::BinaryEmpty);
  const ChipModel* model = selectedModel();
  if (!model) return Report::Failed(Outcome::NoChipModel);
  if (!out.Write(WriteHeaderText(*model, crystalKHz, *image)) || !out.Commit())
    return Report::Failed(Outcome::HeaderNotWritten, out.error());
  return Report::Done(Outcome::Converted);
}

}  // namespace lx
