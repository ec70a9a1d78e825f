#pragma once
#include "core/state.h"
#include "ui/dialog.h"

namespace lx::app {

// The register window: every word, setting and channel of the image in memory as one page of
// text, the comparison of the image with a header file, and a copy of the page.
class RegisterDialog : public ui::Dialog {
 public:
  RegisterDialog(ui::Host& host, const ToolState& state);

 protected:
  bool OnInitDialog() override;

 private:
  void OnCompare();
  void OnCopy();

  const ToolState& state_;
};

// The page the window opens with: the listing of the image, or its words alone while no chip
// model is chosen.
std::string RegisterPage(const ToolState& state);
// The comparison of the image in memory with `other` (a header read over it, as Open reads
// one), named `file`: every setting and every word that differs.
std::string ComparisonPage(const ToolState& state, const ToolState& other, const std::string& file);

}  // namespace lx::app
