#pragma once
// The channel dialog of both tools: the 16 channel frequencies and the crystal frequency, with
// the recommended inductance beside every channel. Each box is checked when it loses the
// focus; OK encodes all 16 channels into reg40..reg5f.
#include <array>
#include <cstdint>
#include <string>

#include "channel/codec.h"
#include "core/state.h"
#include "ui/dialog.h"

namespace lx::channel {

class ChannelDialog : public ui::Dialog {
 public:
  // Decodes the 16 channels from the image and takes the crystal frequency.
  ChannelDialog(ui::Host& host, ToolState& state);

  // The dialog's values as last exchanged with the boxes.
  uint32_t channelKHz(int k) const { return channel_[static_cast<std::size_t>(k)]; }
  const std::string& inductance(int k) const { return inductance_[static_cast<std::size_t>(k)]; }

 protected:
  void DoDataExchange(ui::DataExchange& dx) override;
  void OnOK() override;

 private:
  // The focus-loss handlers. false when the box was not accepted as it stood: a message was
  // shown (a refused box, a range or a crystal message).
  bool OnChannelBoxLeft(int k);
  bool OnXtalBoxLeft();
  // A bank's button clicked: its first channel copied to the other seven.
  void FillBank(int first);

  // The transmitter tool resets a value out of range and shows it before the message; the
  // receiver tool shows the message over the typed text first.
  bool ResetShownBeforeMessage() const;
  FrequencyRange Range() const;
  void ShowRangeMessage();

  ToolState& state_;
  std::array<uint32_t, kChannelCount> channel_{};
  std::array<std::string, kChannelCount> inductance_;
  int32_t xtal_ = 0;
  // A focus-loss handler is running. The focus moves that its messages make (a refused box
  // takes the focus back) do not check the box the user has only just entered: that would
  // show the same message twice.
  bool leaving_ = false;
};

}  // namespace lx::channel
