#pragma once
// Template 143, the channel dialog: both tools share the 16 channel rows and the inductance
// column; the buttons, the group captions and the XTAL row differ and come from each tool.
// The order of the list is the tab order: OK, Cancel, the channel rows, the inductance boxes
// and group boxes, Channel1, Channel2, the XTAL row.
#include <array>

#include "resources/channel_ids.h"
#include "ui/template.h"

namespace lx::res::channel {

struct ToolControls {
  ui::ControlTemplate ok, cancel;
  const char* channelGroup;     // "频道设置"
  const char* inductanceGroup;  // "推荐电感值"
  ui::ControlTemplate fillLeftBank, fillRightBank;
  ui::ControlTemplate xtalLabel, xtalBox, khzLabel;
};

inline constexpr uint32_t kFrequencyBox = ui::kBorder | ui::kAutoHScroll | ui::kTabStop;
inline constexpr uint32_t kInductanceStyle = kFrequencyBox | ui::kReadOnly;

inline constexpr const char* kChannelLabels[kChannelCount] = {
    "Channel 00:", "Channel 01:", "Channel 02:", "Channel 03:", "Channel 04:", "Channel 05:",
    "Channel 06:", "Channel 07:", "Channel 08:", "Channel 09:", "Channel 10:", "Channel 11:",
    "Channel 12:", "Channel 13:", "Channel 14:", "Channel 15:"};

inline constexpr int kControlCount = 2 + 3 * kChannelCount + kChannelCount + 4 + 2 + 3;

constexpr std::array<ui::ControlTemplate, kControlCount> Controls(const ToolControls& tool) {
  using ui::ControlTemplate;
  using ui::Kind;
  std::array<ControlTemplate, kControlCount> c{};
  int n = 0;
  c[n++] = tool.ok;
  c[n++] = tool.cancel;
  // Row r of a bank lies 12 units below row r - 1.
  for (int k = 0; k < kChannelCount; ++k) {
    const int r = k % kBankSize;
    const bool right = k >= kBankSize;
    c[n++] = {ui::kStaticId, Kind::Label, kChannelLabels[k], right ? 191 : 10, 41 + 12 * r, 42, 13};
    c[n++] = {kChannelBox[k], Kind::Edit, "", right ? 235 : 52, 40 + 12 * r, 49, 12, kFrequencyBox};
    c[n++] = {ui::kStaticId, Kind::Label, "KHz", right ? 288 : 105, 41 + 12 * r, 16, 8};
  }
  for (int k = 0; k < kChannelCount; ++k) {
    const int x = k >= kBankSize ? 304 : 122, y = 40 + 12 * (k % kBankSize);
    c[n++] = {kInductanceBox[k], Kind::Edit, "", x, y, 52, 12, kInductanceStyle};
  }
  c[n++] = {ui::kStaticId, Kind::GroupBox, tool.channelGroup, 7, 28, 116, 112};
  c[n++] = {ui::kStaticId, Kind::GroupBox, tool.inductanceGroup, 122, 28, 53, 112};
  c[n++] = {ui::kStaticId, Kind::GroupBox, tool.channelGroup, 189, 28, 116, 112};
  c[n++] = {ui::kStaticId, Kind::GroupBox, tool.inductanceGroup, 304, 28, 53, 112};
  c[n++] = tool.fillLeftBank;
  c[n++] = tool.fillRightBank;
  c[n++] = tool.xtalLabel;
  c[n++] = tool.xtalBox;
  c[n++] = tool.khzLabel;
  return c;
}

}  // namespace lx::res::channel
