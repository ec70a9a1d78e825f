#pragma once
// The browser host: renders any dialog template as positioned page elements (ui/web/site/
// lx-host.js draws them, one renderer per control kind) and runs the modal loops, message
// boxes and file pickers by suspending the program until the page answers (Asyncify). Page
// input never calls into the program directly: the page queues events, and the loop of the
// topmost window takes them in turn, so a nested modal loop sees only its own window's input.
#include <map>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/dialog.h"
#include "ui/host.h"

namespace lx::ui::web {

// One input event from the page, for the window `window`.
struct PageEvent {
  int window = 0;
  std::string kind;  // click, select, edited, focus, key, close, menu, sys, slide, release, droplist, drop
  int index = -1;    // the control's place in the template
  int value = 0;
  std::string text;
};
// Parses the page's event record; nullopt for anything malformed (the page is not trusted).
std::optional<PageEvent> ParsePageEvent(const std::string& json);

class WebHost : public Host {
 public:
  // `tool` names the picture folder of the site ("ambrel": pictures/ambrel/<id>.png).
  WebHost(const ResourceSet& resources, std::string appName, std::string tool);
  ~WebHost() override;

  int RunModal(Dialog& dialog) override;
  void ModalEnded(Dialog&) override {}
  void ControlChanged(Dialog& dialog, int index, Change what) override;
  void MenuChanged(Dialog& dialog) override;
  // The page's windows have no system menu beyond the close box.
  bool AppendSystemMenu(Dialog&, int, const std::string&) override { return false; }
  void ShowMessage(Dialog& owner, const std::string& text) override;
  std::optional<std::string> AskFile(Dialog& owner, const FileRequest& request) override;
  void CopyText(Dialog& owner, const std::string& text) override;
  void Forget(Dialog& dialog) override;

 protected:
  // Builds the window in the page, initialises the dialog and paints its sliders.
  void Show(Dialog& dialog);
  void CloseWindow(Dialog& dialog);
  // Gives one page event to the dialog model of its window (the topmost one only).
  void Dispatch(const PageEvent& event);
  // Takes the events the page has queued so far, without waiting.
  void DrainEvents();
  // Slider repaints wait until the window has done everything else, as on the platform.
  void FlushPaints();
  // Draws each window's menu bar in the keyboard mode its dialog is in, where that changed.
  void SyncMenuStates();
  int handleOf(const Dialog& dialog) const;
  Dialog* top() const { return windows_.empty() ? nullptr : windows_.back().dialog; }

 private:
  struct Window {
    Dialog* dialog;
    int handle;
    std::pair<int, int> menuState{-1, -1};  // the highlighted title and item the page shows
  };
  nlohmann::json StateJson(const Dialog& dialog, int index) const;
  std::string WindowJson(const Dialog& dialog) const;
  std::string MenuJson(const Dialog& dialog) const;

  std::string tool_;
  std::vector<Window> windows_;  // the open windows, the topmost last
  std::vector<std::pair<Dialog*, int>> dirty_;
  int nextHandle_ = 1;
};

}  // namespace lx::ui::web
