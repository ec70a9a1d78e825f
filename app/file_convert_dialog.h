#pragma once
#include <filesystem>

#include "core/state.h"
#include "ui/dialog.h"

namespace lx::app {

// Converts a header file to a binary image and back. It works on files and on the two
// remembered paths only, never on the register image. Its boxes show the paths, and what they
// show when a conversion starts is what it converts (a relative path taken from currentDir).
class FileConvertDialog : public ui::Dialog {
 public:
  FileConvertDialog(ui::Host& host, ToolState& state, std::filesystem::path currentDir = {});

 protected:
  bool OnInitDialog() override;

 private:
  void OnBrowseHeader();
  void OnBrowseBinary();
  void OnHeaderToBinary();
  void OnBinaryToHeader();
  std::string ShownPath(int box) const;

  ToolState& state_;
  std::filesystem::path currentDir_;
};

}  // namespace lx::app
