#pragma once
#include <optional>
#include <string>
#include <vector>

#include "core/state.h"
#include "settings/frequency_plan.h"
#include "ui/dialog.h"

namespace lx::app {

// The frequency-planning window: the bank drawn with its intermodulation products, exclusions
// and a spectrum scan, the conflict list beneath, and a suggestion the user may apply. Apply is
// the only way it changes the image, and it writes the channel words alone.
class PlanDialog : public ui::Dialog {
 public:
  PlanDialog(ui::Host& host, ToolState& state);
  // A scan to plan against, named as its file; before DoModal or while open.
  void SetScan(settings::Scan scan, const std::string& name);

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange& dx) override;

 private:
  void OnInputLeft();
  void OnImportScan();
  void OnSuggest();
  void OnApply();
  // The bank shown (the proposal, else the image's) checked, drawn and listed.
  void ShowPlan();
  bool readable() const;

  ToolState& state_;
  uint32_t spacing_, im3_, im3x_, im5_;
  int32_t inUse_ = 16;
  std::string exclusions_;
  uint32_t from_ = 0, to_ = 0;  // the band Suggest searches; filled on opening
  float threshold_;
  settings::PlanInputs inputs_;
  std::string scanName_;
  std::optional<std::vector<int64_t>> proposal_;  // suggested, not applied yet
  bool leaving_ = false;                          // a box's input being taken
};

// The page beneath the plot: the verdict, the conflict list of lxcfg plan --verbose, and the
// channels.
std::string PlanPage(const ToolState& state, const std::vector<int64_t>& bank, bool proposal,
                     const settings::PlanInputs& inputs);

}  // namespace lx::app
