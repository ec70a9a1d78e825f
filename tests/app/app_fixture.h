#pragma once
// A tool's main window on the headless host, in a fresh working folder, with the built Data/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "app/main_dialog.h"
#include "app/tool.h"
#include "core/state.h"
#include "ui/headless.h"

namespace lx::app::testing {

namespace fs = std::filesystem;

inline fs::path MakeTempDir() {
  // A fresh folder of our own (create_directory is false when the name exists).
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path p = fs::temp_directory_path() / ("lxapp-" + std::to_string(random()) + std::to_string(random()));
    std::error_code ec;
    if (fs::create_directory(p, ec)) return p;
  }
  return fs::path();
}

inline std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

struct ToolWindow {
  explicit ToolWindow(const ToolDefinition& tool, fs::path programDir = LX_PROGRAM_DIR)
      : work(MakeTempDir()),
        host(tool.resources, tool.profile.appName),
        state(tool.profile, std::move(programDir)),
        main(host, state, tool, work) {
    host.SetFileBase(work);
    host.Open(main);
  }
  ~ToolWindow() {
    std::error_code ec;
    fs::remove_all(work, ec);
  }
  bool ButtonsEnabled(bool expected) const {
    for (int id : {1000, 1004, 1005, 1006})
      if (main.find(id)->enabled != expected) return false;
    return true;
  }
  // Ids of the radio buttons that show checked and can be seen.
  std::vector<int> VisibleChecked() const {
    std::vector<int> out;
    for (const ui::ControlState& c : main.controls())
      if (c.kind() == ui::Kind::RadioButton && c.checked && c.visible) out.push_back(c.id());
    return out;
  }

  fs::path work;
  ui::HeadlessHost host;
  ToolState state;
  MainDialog main;
};

}  // namespace lx::app::testing
