#pragma once
#include <filesystem>

#include "app/tool.h"
#include "core/state.h"
#include "ui/dialog.h"

namespace lx::app {

// The main window: chip-model radio buttons, four picture buttons that open the settings
// dialogs, and the menu with Open, Save, File conversion, Exit and About.
class MainDialog : public ui::Dialog {
 public:
  MainDialog(ui::Host& host, ToolState& state, const ToolDefinition& tool, std::filesystem::path currentDir);

  int radioValue() const { return radio_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override {}  // Enter does nothing; Escape and the close box end the program
  void DoDataExchange(ui::DataExchange& dx) override;
  void OnSysCommand(int command) override;
  std::optional<TextColour> OnCtlColor(int id) const override;
  Background OnPaintBackground() const override;

 private:
  void SelectModel(int n);
  void ShowModelSelected();
  void OpenSettings(int slot);
  void OnOpenHeader();
  void OpenHeaderFile(const std::string& file);
  void OnDropFile(const std::string& path) override { OpenHeaderFile(path); }
  void OnRegisters();
  void OnPlan();
  void OnSaveHeader();
  void OnConvert();
  void OnAbout();
  void OnExit();

  ToolState& state_;
  const ToolDefinition& tool_;
  std::filesystem::path currentDir_;
  int radio_ = -1;  // index of the checked model radio; -1: none
};

}  // namespace lx::app
