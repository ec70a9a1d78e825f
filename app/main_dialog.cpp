#include "app/main_dialog.h"

#include "app/about_dialog.h"
#include "app/file_convert_dialog.h"
#include "app/file_requests.h"
#include "app/plan_dialog.h"
#include "app/register_dialog.h"
#include "resources/common.h"
#include "resources/ids.h"

namespace lx::app {

namespace {
using ui::Notify;

using res::main_window::kPictureButtons;
// Every model of the larger table (Ambrel's four) has its radio.
static_assert(std::size(res::main_window::kModelRadios) == 4);
constexpr int kFaces[4][2] = {{res::kPicButton1000, res::kPicButton1000Pressed},
                              {res::kPicButton1004, res::kPicButton1004Pressed},
                              {res::kPicButton1005, res::kPicButton1005Pressed},
                              {res::kPicButton1006, res::kPicButton1006Pressed}};
// 0xRRGGBB as the text colour of a control that lets the window background show through.
ui::Dialog::TextColour OverBackground(uint32_t rgb) {
  return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb), true};
}
}  // namespace

MainDialog::MainDialog(ui::Host& host, ToolState& state, const ToolDefinition& tool, std::filesystem::path currentDir)
    : Dialog(host, res::kMainDialog), state_(state), tool_(tool), currentDir_(std::move(currentDir)) {
  for (int slot = 0; slot < 4; ++slot) On(kPictureButtons[slot], Notify::Clicked, [this, slot] { OpenSettings(slot); });
  for (int n = 0; n < state_.profile().modelCount(); ++n)
    On(res::main_window::kModelRadios[n], Notify::Clicked, [this, n] { SelectModel(n); });
  On(res::kCmdAbout, ui::kCommand, &MainDialog::OnAbout);
  On(res::kCmdExit, ui::kCommand, &MainDialog::OnExit);
  On(res::kCmdOpen, ui::kCommand, &MainDialog::OnOpenHeader);
  On(res::kCmdSave, ui::kCommand, &MainDialog::OnSaveHeader);
  On(res::kCmdConvert, ui::kCommand, &MainDialog::OnConvert);
  On(res::kCmdRegisters, ui::kCommand, &MainDialog::OnRegisters);
  On(res::kCmdPlan, ui::kCommand, &MainDialog::OnPlan);
}

bool MainDialog::OnInitDialog() {
  Dialog::OnInitDialog();  // no radio checked
  std::string_view entry = host().resources().string(res::kStrAboutEntry);
  if (!entry.empty()) AppendSystemMenu(res::kSysCmdAbout, std::string(entry));  // where there is one
  for (int slot = 0; slot < 4; ++slot) AttachPictureButton(kPictureButtons[slot], kFaces[slot][0], kFaces[slot][1]);
  SetMenu(res::kMainMenu);
  state_.PrepareDataDirectory(currentDir_);
  return true;
}

void MainDialog::DoDataExchange(ui::DataExchange& dx) {
  ui::DdxRadio(dx, res::main_window::kFirstModelRadio, radio_);
}

void MainDialog::OnSysCommand(int command) {
  if ((command & ui::kSysCommandMask) == res::kSysCmdAbout) OnAbout();
}

std::optional<ui::Dialog::TextColour> MainDialog::OnCtlColor(int id) const {
  // The model radios show the white background through, in blue text.
  for (int n = 0; n < state_.profile().modelCount(); ++n)
    if (res::main_window::kModelRadios[n] == id) return OverBackground(res::kModelBlue);
  return std::nullopt;
}

ui::Dialog::Background MainDialog::OnPaintBackground() const {
  return {res::kPicBackground, res::kBackgroundWidth, res::kBackgroundHeight};
}

void MainDialog::SelectModel(int n) {
  ShowReport(*this, state_.SelectChipModel(n));
  ShowModelSelected();
}

void MainDialog::ShowModelSelected() {
  // Once a model is chosen the picture buttons stay enabled.
  for (int id : kPictureButtons) GetDlgItem(id).EnableWindow(true);
  radio_ = state_.chipModel;
  UpdateData(false);
}

void MainDialog::OpenSettings(int slot) {
  if (SettingsOpener open = tool_.settings[slot]) open(host(), state_);
}

void MainDialog::OnOpenHeader() {
  if (std::optional<std::string> file = AskFile(HeaderFileRequest(HeaderUse::Open, state_.headerPath)))
    OpenHeaderFile(*file);
}

// File > Open once a file is named, by the file dialog or by a file dropped on the window.
void MainDialog::OpenHeaderFile(const std::string& file) {
  const Report report = state_.OpenHeader(file);
  ShowReport(*this, report);
  if (report.ok && state_.modelSelected()) ShowModelSelected();
}

void MainDialog::OnSaveHeader() {
  if (std::optional<std::string> file = AskFile(HeaderFileRequest(HeaderUse::Save, state_.headerPath)))
    ShowReport(*this, state_.SaveHeader(*file));
}

void MainDialog::OnConvert() {
  FileConvertDialog dialog(host(), state_, currentDir_);
  dialog.DoModal();
}

void MainDialog::OnRegisters() {
  RegisterDialog dialog(host(), state_);
  dialog.DoModal();
}

void MainDialog::OnPlan() {
  PlanDialog dialog(host(), state_);
  dialog.DoModal();
}

void MainDialog::OnAbout() {
  AboutDialog dialog(host());
  dialog.DoModal();
}

void MainDialog::OnExit() { UserClose(); }

}  // namespace lx::app
