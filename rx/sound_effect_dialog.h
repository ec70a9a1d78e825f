#pragma once
#include "core/state.h"
#include "settings/ui/field_exchange.h"

namespace lx::rx {

// "音效配置": bass, treble and THD, three lists on reg1f.
class SoundEffectDialog : public settings::SettingsDialog {
 public:
  SoundEffectDialog(ui::Host& host, ToolState& state);

 protected:
  bool OnInitDialog() override;
  void DoDataExchange(ui::DataExchange& dx) override;

 private:
  // In the order OK writes them.
  settings::FieldBinding& treble_;
  settings::FieldBinding& bass_;
  settings::FieldBinding& thd_;
  ui::ComboBox bassList_;
  ui::ComboBox trebleList_;
  ui::ComboBox thdList_;
};

}  // namespace lx::rx
