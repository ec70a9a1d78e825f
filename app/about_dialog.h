#pragma once
#include "ui/dialog.h"

namespace lx::app {

// The about box: the tool's name and version, its icon and OK.
class AboutDialog : public ui::Dialog {
 public:
  explicit AboutDialog(ui::Host& host);
};

}  // namespace lx::app
