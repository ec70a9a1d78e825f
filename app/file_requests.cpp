#include "app/file_requests.h"

namespace lx::app {

ui::FileRequest HeaderFileRequest(HeaderUse use, const std::string& folder) {
  // The conversion's output dialog is the one that names its filter "h files".
  const char* filter = use == HeaderUse::ConversionOutput ? "h files(*.h)|*.h||" : "head files(*.h)|*.h||";
  return {use != HeaderUse::Open, "EEPROM.h", "h", filter, folder};
}

ui::FileRequest BinaryFileRequest(bool save, const std::string& folder) {
  return {save, "EEPROM.bin", "bin", "bin files(*.bin)|*.bin||", folder};
}

void ShowReport(ui::Dialog& owner, const Report& report) {
  if (!report.message.empty()) owner.MessageBox(report.message);
}

}  // namespace lx::app
