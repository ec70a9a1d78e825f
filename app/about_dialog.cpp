#include "app/about_dialog.h"

#include "resources/ids.h"

namespace lx::app {

AboutDialog::AboutDialog(ui::Host& host) : Dialog(host, res::kAboutDialog) {}

}  // namespace lx::app
