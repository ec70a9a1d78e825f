#include "app/file_convert_dialog.h"

#include "resources/ids.h"

namespace lx::app {

namespace {
using ui::FileRequest;
using ui::Notify;

FileRequest HeaderRequest(bool save, const std::string& folder) {
  return {save, "EEPROM.h", "h", save ? "h files(*.h)|*.h||" : "head files(*.h)|*.h||", folder};
}

FileRequest BinaryRequest(bool save, const std::string& folder) {
  return {save, "EEPROM.bin", "bin", "bin files(*.bin)|*.bin||", folder};
}
}  // namespace

FileConvertDialog::FileConvertDialog(ui::Host& host, ToolState& state)
    : Dialog(host, res::kConvertDialog), state_(state) {
  On(res::kBrowseHeader, Notify::Clicked, &FileConvertDialog::OnBrowseHeader);
  On(res::kBrowseBinary, Notify::Clicked, &FileConvertDialog::OnBrowseBinary);
  On(res::kHeaderToBinary, Notify::Clicked, &FileConvertDialog::OnHeaderToBinary);
  On(res::kBinaryToHeader, Notify::Clicked, &FileConvertDialog::OnBinaryToHeader);
}

bool FileConvertDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  SetDlgItemText(res::kHeaderPathBox, state_.headerPath);
  SetDlgItemText(res::kBinaryPathBox, state_.binaryPath);
  return true;
}

void FileConvertDialog::Show(const Report& report) {
  if (!report.message.empty()) MessageBox(report.message);
}

void FileConvertDialog::OnBrowseHeader() {
  if (std::optional<std::string> file = AskFile(HeaderRequest(false, state_.headerPath))) {
    state_.headerPath = *file;
    SetDlgItemText(res::kHeaderPathBox, *file);
  }
}

void FileConvertDialog::OnBrowseBinary() {
  if (std::optional<std::string> file = AskFile(BinaryRequest(false, state_.binaryPath))) {
    state_.binaryPath = *file;
    SetDlgItemText(res::kBinaryPathBox, *file);
  }
}

void FileConvertDialog::OnHeaderToBinary() {
  if (std::optional<std::string> out = AskFile(BinaryRequest(true, state_.headerPath)))
    Show(state_.ConvertHeaderToBinary(*out));
}

void FileConvertDialog::OnBinaryToHeader() {
  if (std::optional<std::string> out = AskFile(HeaderRequest(true, state_.binaryPath)))
    Show(state_.ConvertBinaryToHeader(*out));
}

}  // namespace lx::app
