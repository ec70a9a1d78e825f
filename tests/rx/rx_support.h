#pragma once
// Shared by the receiver dialog tests: the three dialogs on the headless host, random images,
// and what a dialog's controls show.
#include <fmt/format.h>

#include <random>
#include <string>
#include <vector>

#include "app/tool.h"
#include "resources/rx_ids.h"
#include "rx/rx_dialogs.h"
#include "tests/support/bindings.h"
#include "tests/support/dialog_fixture.h"

namespace lx::rx::testing {

using test::DialogFixture;
using test::Words;
using SoundFixture = DialogFixture<SoundEffectDialog>;
using AudioFixture = DialogFixture<RxAudioDialog>;
using OtherFixture = DialogFixture<RxOtherDialog>;

inline constexpr int kLx7140 = 0;

using test::RandomImage;

// What each control shows (its values, not its enabled state), one line per control.
inline std::vector<std::string> Shown(const ui::Dialog& d) {
  std::vector<std::string> out;
  for (const ui::ControlState& c : d.controls()) {
    if (c.id() == ui::kStaticId) continue;
    out.push_back(std::to_string(c.id()) + " " + c.text + " checked=" + std::to_string(c.checked) +
                  " sel=" + std::to_string(c.curSel) + " pos=" + std::to_string(c.pos));
  }
  return out;
}

// The ids whose controls are enabled, among `ids`, as a string: 'E' enabled, '.' greyed.
inline std::string EnabledPattern(const ui::Dialog& d, const std::vector<int>& ids) {
  std::string out;
  for (int id : ids) out += d.find(id)->enabled ? 'E' : '.';
  return out;
}

}  // namespace lx::rx::testing
