#pragma once
#include "core/state.h"
#include "ui/dialog.h"

namespace lx::app {

// Converts a header file to a binary image and back. It works on files and on the two
// remembered paths only, never on the register image; its boxes only show the paths.
class FileConvertDialog : public ui::Dialog {
 public:
  FileConvertDialog(ui::Host& host, ToolState& state);

 protected:
  bool OnInitDialog() override;

 private:
  void OnBrowseHeader();
  void OnBrowseBinary();
  void OnHeaderToBinary();
  void OnBinaryToHeader();

  ToolState& state_;
};

}  // namespace lx::app
