#pragma once
#include "core/state.h"
#include "settings/binding.h"
#include "ui/dialog.h"

namespace lx::rx {

// "音效配置": bass, treble and THD, three lists on reg1f.
class SoundEffectDialog : public ui::Dialog {
 public:
  SoundEffectDialog(ui::Host& host, ToolState& state);

  const settings::BindingSet& bindings() const { return bindings_; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(ui::DataExchange& dx) override;

 private:
  void OnSelChangeBass();
  void OnSelChangeTreble();
  void OnSelChangeThd();

  ToolState& state_;
  settings::BindingSet bindings_;
  settings::FieldBinding& bass_;
  settings::FieldBinding& treble_;
  settings::FieldBinding& thd_;
  ui::ComboBox bassList_;
  ui::ComboBox trebleList_;
  ui::ComboBox thdList_;
};

}  // namespace lx::rx
