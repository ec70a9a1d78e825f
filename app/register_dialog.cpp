#include "app/register_dialog.h"

#include "app/file_requests.h"
#include "core/file_kind.h"
#include "core/input_file.h"
#include "core/path_text.h"
#include "core/text.h"
#include "resources/ids.h"
#include "settings/image_text.h"

namespace lx::app {

namespace reg = res::registers;

std::string RegisterPage(const ToolState& state) {
  return state.modelSelected() ? settings::ImageListing(state) : settings::WordListing(state.words);
}

std::string ComparisonPage(const ToolState& state, const ToolState& other, const std::string& file) {
  std::string page = "Compared with " + file + "\n";
  // Settings are compared under one model: the window's, else the one the file names.
  std::vector<std::string> settings;
  if (state.modelSelected() || other.modelSelected()) {
    ToolState a = state, b = other;
    if (!a.modelSelected()) a.chipModel = b.chipModel;
    if (!b.modelSelected()) b.chipModel = a.chipModel;
    for (const settings::SettingChange& change : settings::CompareImages(a, b).settings)
      settings.push_back(settings::ChangeText(change));
  }
  std::vector<std::string> words;
  for (int i = 0; i < kEepromSize; ++i) {
    const auto w = static_cast<std::size_t>(i);
    if (state.words[w] != other.words[w])
      words.push_back(RegisterName(i) + ": " + Hex4(state.words[w]) + " -> " + Hex4(other.words[w]));
  }
  if (settings.empty() && words.empty()) return page + "\nNo setting and no word differs.\n";
  if (!settings.empty()) {
    page += "\nSettings (this image -> the file)\n";
    for (const std::string& line : settings) page += "  " + line + "\n";
  }
  if (!words.empty()) {
    page += "\nWords (this image -> the file)\n";
    for (const std::string& line : words) page += "  " + line + "\n";
  }
  return page;
}

RegisterDialog::RegisterDialog(ui::Host& host, const ToolState& state)
    : Dialog(host, res::kRegisterDialog), state_(state) {
  On(reg::kCompare, ui::Notify::Clicked, &RegisterDialog::OnCompare);
  On(reg::kCopy, ui::Notify::Clicked, &RegisterDialog::OnCopy);
}

bool RegisterDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  SetDlgItemText(reg::kText, RegisterPage(state_));
  return true;
}

void RegisterDialog::OnCompare() {
  // The file dialog of File > Open, and the file read by Open's rules over a copy of the image.
  const std::optional<std::string> file = AskFile(HeaderFileRequest(HeaderUse::Open, state_.headerPath));
  if (!file) return;
  const InputRead input = ReadInput(PathFromUtf8(*file), state_.inputLimits);
  if (!input.ok()) return ShowReport(*this, Report::Failed(Outcome::HeaderUnreadable, input.message()));
  // A file without a single word line (a binary image named .h) is no header: comparing with
  // it would report that nothing differs.
  if (!ClassifyFile(*input).hasWords()) return ShowReport(*this, Report::Failed(Outcome::HeaderUnreadable));
  ToolState other = state_;
  const Report read = other.OpenHeaderText(*file, *input);
  if (!read.ok) return ShowReport(*this, read);
  SetDlgItemText(reg::kText, ComparisonPage(state_, other, *file));
}

void RegisterDialog::OnCopy() { CopyToClipboard(GetDlgItemText(reg::kText)); }

}  // namespace lx::app
