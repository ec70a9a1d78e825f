#pragma once
// What the main window and the conversion dialog share: the file dialogs for header and binary
// images, and showing what an operation came to.
#include <string>

#include "core/state.h"
#include "ui/dialog.h"

namespace lx::app {

enum class HeaderUse {
  Open,              // File > Open, the conversion dialog's header browse button
  Save,              // File > Save
  ConversionOutput,  // "bin To h"
};

// Proposed name "EEPROM.h", default extension "h", starting in `folder`.
ui::FileRequest HeaderFileRequest(HeaderUse use, const std::string& folder);
// Proposed name "EEPROM.bin", default extension "bin", starting in `folder`.
ui::FileRequest BinaryFileRequest(bool save, const std::string& folder);

// The report's text in a message box owned by `owner`; nothing when it has none.
void ShowReport(ui::Dialog& owner, const Report& report);

}  // namespace lx::app
