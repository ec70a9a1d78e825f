#pragma once
// Scenario scripts on the browser host, inside the page: every action becomes page input on the
// window's elements (queued as the page queues a user's), and the transcript is read back from
// what the page shows. Message boxes and file dialogs are recorded and answered from the script,
// as on the other hosts, so that one script gives one transcript everywhere.
#include <string>
#include <vector>

#include "ui/script_host.h"
#include "ui/web/web_host.h"

namespace lx::ui::web {

class WebScriptHost : public WebHost, public ScriptHost {
 public:
  WebScriptHost(const ResourceSet& resources, std::string appName, std::string tool)
      : WebHost(resources, std::move(appName), std::move(tool)) {}

  Host& host() override { return *this; }

  int RunModal(Dialog& dialog) override;
  void ShowMessage(Dialog& owner, const std::string& text) override;
  std::optional<std::string> AskFile(Dialog& owner, const FileRequest& request) override;
  void CopyText(Dialog& owner, const std::string& text) override;

 protected:
  bool HasMenuCommand(const Dialog& dialog, int command) const override;
  void MenuCommand(Dialog& dialog, int command) override;
  bool HasSystemMenuEntry(const Dialog&, int) const override { return false; }
  void SystemCommand(Dialog&, int) override {}
  void Click(Dialog& dialog, int id) override;
  int FindListItem(const Dialog& dialog, int id, const std::string& text) const override;
  void Select(Dialog& dialog, int id, int index) override;
  void Type(Dialog& dialog, int id, const std::string& text) override;
  void Focus(Dialog& dialog, int id) override;
  void Press(Dialog& dialog, Key key, const std::string& character) override;
  void CloseBox(Dialog& dialog) override;
  void Drag(Dialog& dialog, int id, int pos) override;
  void KeySlider(Dialog& dialog, int id, int pos) override;
  void DropFile(Dialog& dialog, const std::string& path) override;
  std::string CaptionOf(const Dialog& dialog) const override;
  std::vector<Snapshot> SnapshotOf(const Dialog& dialog) const override;
  std::string MenuStateOf(const Dialog& dialog) const override;

 private:
  // Gives the page one input on `dialog`'s window and lets the window take it.
  void Input(Dialog& dialog, int id, const char* kind, int value = 0, const std::string& text = {});
  void Apply(const Action& action);
};

}  // namespace lx::ui::web
