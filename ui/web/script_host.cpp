#include "ui/web/script_host.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "core/path_text.h"

// clang-format off
EM_JS(void, lxw_input, (int handle, int index, const char* kind, int value, const char* text), {
  LxPage.input(handle, index, UTF8ToString(kind), value, UTF8ToString(text));
});
EM_JS(char*, lxw_snapshot, (int handle), { return allocateUTF8(JSON.stringify(LxPage.snapshot(handle))); });
EM_JS(char*, lxw_menu_shown, (int handle), { return allocateUTF8(JSON.stringify(LxPage.menuShown(handle))); });
EM_JS(char*, lxw_caption, (int handle), { return allocateUTF8(LxPage.caption(handle)); });
EM_JS(void, lxw_show_message, (int owner, const char* title, const char* text), {
  LxPage.recordMessage(owner, UTF8ToString(title), UTF8ToString(text));
});
// clang-format on

namespace lx::ui::web {

using nlohmann::json;

int WebScriptHost::RunModal(Dialog& dialog) {
  Record(OpenLine(dialog.templateId(), dialog.tpl().caption));
  Show(dialog);
  RunActions(
      dialog, [this](const Action& a) { Apply(a); }, [this] { FlushPaints(); });
  Record(CloseLine(dialog.templateId(), dialog.tpl().caption, dialog.result()));
  CloseWindow(dialog);
  return dialog.result();
}

void WebScriptHost::Apply(const Action& a) {
  Play(a, top());
  DrainEvents();
  FlushPaints();
  if (afterAction) afterAction(a);
}

void WebScriptHost::Input(Dialog& dialog, int id, const char* kind, int value, const std::string& text) {
  lxw_input(handleOf(dialog), id ? dialog.indexOf(id) : -1, kind, value, text.c_str());
  DrainEvents();
}

void WebScriptHost::ShowMessage(Dialog& owner, const std::string& text) {
  SyncMenuStates();
  lxw_show_message(handleOf(owner), appName().c_str(), text.c_str());
  RecordMessage(appName(), text, &owner, CaptionOf(owner));
}

std::optional<std::string> WebScriptHost::AskFile(Dialog&, const FileRequest& request) {
  SyncMenuStates();
  return AnswerOwnFileDialog(request);
}

void WebScriptHost::CopyText(Dialog& owner, const std::string& text) {
  WebHost::CopyText(owner, text);
  Record(ClipboardLine(text));
}

bool WebScriptHost::HasMenuCommand(const Dialog& d, int command) const {
  const MenuTemplate* menu = d.menuId() ? resources().menu(d.menuId()) : nullptr;
  return menu && std::any_of(menu->items.begin(), menu->items.end(),
                             [&](const MenuItemTemplate& i) { return i.command == command; });
}

void WebScriptHost::MenuCommand(Dialog& d, int command) { Input(d, 0, "menu", command); }
void WebScriptHost::Click(Dialog& d, int id) { Input(d, id, "click"); }
void WebScriptHost::Select(Dialog& d, int id, int index) { Input(d, id, "select", index); }
void WebScriptHost::Type(Dialog& d, int id, const std::string& text) { Input(d, id, "type", 0, text); }
void WebScriptHost::Focus(Dialog& d, int id) { Input(d, id, "focus", 1); }
void WebScriptHost::Press(Dialog& d, Key key, const std::string& character) {
  Input(d, 0, "key", 0, KeyWord(key, character));
}
void WebScriptHost::CloseBox(Dialog& d) { Input(d, 0, "close"); }
void WebScriptHost::Drag(Dialog& d, int id, int pos) {
  Input(d, id, "slide", pos);
  Input(d, id, "release", pos);
}
void WebScriptHost::KeySlider(Dialog& d, int id, int pos) { Input(d, id, "slide", pos); }
void WebScriptHost::DropFile(Dialog& d, const std::string& path) { Input(d, 0, "drop", 0, path); }

int WebScriptHost::FindListItem(const Dialog& d, int id, const std::string& text) const {
  // The list's items as the page shows them.
  const int index = d.indexOf(id);
  char* raw = lxw_snapshot(handleOf(d));
  json j = json::parse(raw ? raw : "[]", nullptr, false);
  std::free(raw);
  if (!j.is_array() || index < 0 || index >= static_cast<int>(j.size())) return -1;
  const json& items = j[static_cast<std::size_t>(index)].value("items", json::array());
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].is_string() && items[i].get<std::string>() == text) return static_cast<int>(i);
  return -1;
}

std::string WebScriptHost::CaptionOf(const Dialog& dialog) const {
  char* raw = lxw_caption(handleOf(dialog));
  std::string out = raw ? raw : "";
  std::free(raw);
  return out;
}

std::vector<Snapshot> WebScriptHost::SnapshotOf(const Dialog& dialog) const {
  char* raw = lxw_snapshot(handleOf(dialog));
  json j = json::parse(raw ? raw : "[]", nullptr, false);
  std::free(raw);
  std::vector<Snapshot> out;
  const auto& controls = dialog.controls();
  if (!j.is_array()) return out;
  for (std::size_t i = 0; i < controls.size() && i < j.size(); ++i) {
    const json& c = j[i];
    out.push_back({controls[i].id(), controls[i].kind(), c.value("text", std::string()),
                   c.value("enabled", false), c.value("visible", false), c.value("checked", false),
                   c.value("focused", false), c.value("curSel", -1), c.value("pos", 0),
                   c.value("dropped", false)});
  }
  return out;
}

std::string WebScriptHost::MenuStateOf(const Dialog& dialog) const {
  // The highlighted title and item as the page draws them.
  char* raw = lxw_menu_shown(handleOf(dialog));
  json j = json::parse(raw ? raw : "null", nullptr, false);
  std::free(raw);
  if (!j.is_object() || !j.contains("title") || !j["title"].is_string()) return {};
  return MenuLine(j["title"].get<std::string>(), j.value("item", std::string()));
}

}  // namespace lx::ui::web
