#pragma once
// Opens any settings dialog of a tool on the headless host over given register words, a
// crystal frequency and a chip model; runs script lines on it; and hands back the image after
// OK or Cancel.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "app/tool.h"
#include "core/state.h"
#include "ui/headless.h"

namespace lx::test {

template <class D>
class DialogFixture {
 public:
  DialogFixture(const app::ToolDefinition& tool, int model, const RegisterImage& words, int32_t crystalKHz = 24000)
      : host(tool.resources, tool.profile.appName), state(tool.profile, std::filesystem::temp_directory_path()) {
    state.words = words;
    state.crystalKHz = crystalKHz;
    state.chipModel = model;
    dialog = std::make_unique<D>(host, state);
    host.Open(*dialog);
  }

  D& operator*() { return *dialog; }
  D* operator->() { return dialog.get(); }
  ui::ControlState& control(int id) { return dialog->at(id); }

  // Script lines of the scenario language, applied to the topmost window.
  void Run(std::string_view script) {
    std::vector<std::string> errors;
    for (const ui::Action& a : ui::ParseScript(script, &errors)) host.Apply(a);
    for (const std::string& e : errors) ADD_FAILURE() << e;
  }

  bool open() const { return !dialog->ended(); }
  // Presses OK (or Cancel) and returns the image; the dialog may stay open when OK is refused.
  const RegisterImage& Ok() {
    host.Click(ui::kIdOk);
    return state.words;
  }
  const RegisterImage& Cancel() {
    host.Click(ui::kIdCancel);
    return state.words;
  }
  std::vector<std::string> messages() const { return host.messageTexts(); }

  ui::HeadlessHost host;
  ToolState state;
  std::unique_ptr<D> dialog;
};

// Words from a list of (index, value) pairs over zeros.
inline RegisterImage Words(std::initializer_list<std::pair<int, uint16_t>> values) {
  RegisterImage w{};
  for (const auto& [i, v] : values) w[static_cast<std::size_t>(i)] = v;
  return w;
}

}  // namespace lx::test
