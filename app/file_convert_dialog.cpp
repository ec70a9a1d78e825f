#include "app/file_convert_dialog.h"

#include "app/file_requests.h"
#include "core/path_text.h"
#include "resources/ids.h"

namespace lx::app {

using ui::Notify;

FileConvertDialog::FileConvertDialog(ui::Host& host, ToolState& state, std::filesystem::path currentDir)
    : Dialog(host, res::kConvertDialog), state_(state), currentDir_(std::move(currentDir)) {
  On(res::convert::kBrowseHeader, Notify::Clicked, &FileConvertDialog::OnBrowseHeader);
  On(res::convert::kBrowseBinary, Notify::Clicked, &FileConvertDialog::OnBrowseBinary);
  On(res::convert::kHeaderToBinary, Notify::Clicked, &FileConvertDialog::OnHeaderToBinary);
  On(res::convert::kBinaryToHeader, Notify::Clicked, &FileConvertDialog::OnBinaryToHeader);
}

bool FileConvertDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  SetDlgItemText(res::convert::kHeaderPathBox, state_.headerPath);
  SetDlgItemText(res::convert::kBinaryPathBox, state_.binaryPath);
  return true;
}

void FileConvertDialog::OnBrowseHeader() {
  if (std::optional<std::string> file = AskFile(HeaderFileRequest(HeaderUse::Open, state_.headerPath))) {
    state_.headerPath = *file;
    SetDlgItemText(res::convert::kHeaderPathBox, *file);
  }
}

void FileConvertDialog::OnBrowseBinary() {
  if (std::optional<std::string> file = AskFile(BinaryFileRequest(false, state_.binaryPath))) {
    state_.binaryPath = *file;
    SetDlgItemText(res::convert::kBinaryPathBox, *file);
  }
}

std::string FileConvertDialog::ShownPath(int box) const {
  std::string text = GetDlgItemText(box);
  const std::filesystem::path path = PathFromUtf8(text);
  if (text.empty() || path.is_absolute() || currentDir_.empty()) return text;
  return Utf8FromPath((currentDir_ / path).lexically_normal());
}

void FileConvertDialog::OnHeaderToBinary() {
  // The file converted is the one the box shows, typed or browsed.
  state_.headerPath = ShownPath(res::convert::kHeaderPathBox);
  if (std::optional<std::string> out = AskFile(BinaryFileRequest(true, state_.headerPath)))
    ShowReport(*this, state_.ConvertHeaderToBinary(*out));
}

void FileConvertDialog::OnBinaryToHeader() {
  state_.binaryPath = ShownPath(res::convert::kBinaryPathBox);
  if (std::optional<std::string> out =
          AskFile(HeaderFileRequest(HeaderUse::ConversionOutput, state_.binaryPath)))
    ShowReport(*this, state_.ConvertBinaryToHeader(*out));
}

}  // namespace lx::app
