#pragma once
// The one state object of a running tool: register image, crystal frequency, chip model,
// defaults-loaded flags and the two remembered paths, with the whole-image operations.
// Nothing here shows, prints or blocks: every operation returns the Report its host shows.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/input_file.h"
#include "core/messages.h"
#include "core/profile.h"

namespace lx {

using RegisterImage = std::array<uint16_t, kEepromSize>;

// The outcome of a user-level operation: what it came to (`outcome`), the text the windows
// show for it (`message`, empty: show nothing) and, for the command line, the system's reason
// when a file operation failed ("cannot write: No space left on device"). `ok` is false when the
// operation did not do its work.
struct Report {
  bool ok = true;
  Outcome outcome = Outcome::Done;
  std::string message;
  std::string reason;

  static Report Done(Outcome o = Outcome::Done) { return {true, o, std::string(WindowText(o)), {}}; }
  static Report Failed(Outcome o, std::string reason = {}) {
    return {false, o, std::string(WindowText(o)), std::move(reason)};
  }
};

class ToolState {
 public:
  // programDir: the folder of the running executable; default images are read from
  // programDir/Data/<model>/EEPROM.h whatever the working directory.
  ToolState(const ToolProfile& profile, std::filesystem::path programDir);

  const ToolProfile& profile() const { return *profile_; }
  const std::filesystem::path& programDir() const { return programDir_; }

  RegisterImage words{};
  int32_t crystalKHz = 0;
  int chipModel = -1;                // -1: none selected
  std::optional<int> defaultsLoaded;  // the model whose defaults are in, if any
  std::string headerPath;            // a folder or a full file name
  std::string binaryPath;
  // Every file the tool reads stops at these limits (size, and silence of a pipe or device).
  InputLimits inputLimits;

  bool modelSelected() const { return profile_->validModel(chipModel); }
  const ChipModel* selectedModel() const { return modelSelected() ? &profile_->models[chipModel] : nullptr; }

  // Radio button n: load model n's defaults unless its flag is set, then fix up.
  Report SelectChipModel(int n);
  // Reads Data/<model>/EEPROM.h beside the program into the image (no model tag, no fix-up).
  Report LoadDefaultImage(int n);
  void ApplyModelFixup();
  std::filesystem::path DefaultImagePath(int n) const;

  // Makes the tool's "data" folders in currentDir (failures ignored) and points both
  // remembered paths at currentDir/data.
  void PrepareDataDirectory(const std::filesystem::path& currentDir);

  // File > Open and File > Save, after the file dialog has produced `path`.
  Report OpenHeader(const std::string& path);
  // Open with the file's text already read (a pipe is read once, whatever reads it after).
  Report OpenHeaderText(const std::string& path, std::string_view text);
  Report SaveHeader(const std::string& path);

  // "h To bin": converts the file named by headerPath into outPath.
  Report ConvertHeaderToBinary(const std::string& outPath);
  // "bin To h": converts the file named by binaryPath into outPath, with the current crystal
  // frequency and chip model.
  Report ConvertBinaryToHeader(const std::string& outPath);

 private:
  void RememberFolderOf(const std::string& file);
  Report ReadOpenedHeader(std::string_view text);

  const ToolProfile* profile_;
  std::filesystem::path programDir_;
};

}  // namespace lx
