#include "ui/web/web_host.h"

#include <emscripten.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "ui/file_filter.h"
#include "ui/script.h"
#include "ui/web/plot_json.h"

// The page's side (lx-host.js, the global LxPage). Strings cross as UTF-8; the page answers
// with strings it allocates, which the caller frees.
// clang-format off
EM_JS(void, lxw_open, (int handle, const char* json), { LxPage.open(handle, JSON.parse(UTF8ToString(json))); });
EM_JS(void, lxw_close, (int handle), { LxPage.close(handle); });
EM_JS(void, lxw_sync, (int handle, int index, const char* json), {
  LxPage.sync(handle, index, JSON.parse(UTF8ToString(json)));
});
EM_JS(void, lxw_focus, (int handle, int index), { LxPage.focus(handle, index); });
EM_JS(void, lxw_menu, (int handle, const char* json), { LxPage.menu(handle, JSON.parse(UTF8ToString(json))); });
EM_JS(void, lxw_menu_state, (int handle, int title, int item), { LxPage.menuState(handle, title, item); });
EM_JS(void, lxw_copy, (const char* text), { LxPage.copy(UTF8ToString(text)); });
EM_JS(char*, lxw_poll_event, (), {
  const e = LxPage.takeEvent();
  return e ? allocateUTF8(JSON.stringify(e)) : 0;
});
EM_ASYNC_JS(char*, lxw_wait_event, (), {
  const e = await LxPage.waitEvent();
  return allocateUTF8(JSON.stringify(e));
});
EM_ASYNC_JS(void, lxw_message, (int owner, const char* title, const char* text), {
  await LxPage.message(owner, UTF8ToString(title), UTF8ToString(text));
});
EM_ASYNC_JS(char*, lxw_ask_file, (int owner, const char* json), {
  const path = await LxPage.askFile(owner, JSON.parse(UTF8ToString(json)));
  return path === null ? 0 : allocateUTF8(path);
});
EM_JS(void, lxw_deliver_saves, (), { LxPage.deliverSaves(); });
// clang-format on

namespace lx::ui::web {

namespace {

using nlohmann::json;

std::string TakeString(char* text) {
  std::string out = text ? text : "";
  std::free(text);
  return out;
}

}  // namespace

std::optional<PageEvent> ParsePageEvent(const std::string& text) {
  // The parser refuses text that is not UTF-8, so the dialogs only ever see valid text.
  json j = json::parse(text, nullptr, false);
  if (!j.is_object()) return std::nullopt;
  PageEvent e;
  try {
    e.window = j.value("w", 0);
    e.kind = j.value("k", std::string());
    e.index = j.value("i", -1);
    e.value = j.value("v", 0);
    e.text = j.value("t", std::string());
  } catch (const json::exception&) {
    return std::nullopt;
  }
  if (e.kind.empty()) return std::nullopt;
  return e;
}

WebHost::WebHost(const ResourceSet& resources, std::string appName, std::string tool)
    : Host(resources, std::move(appName)), tool_(std::move(tool)) {}

WebHost::~WebHost() {
  for (const Window& w : windows_) lxw_close(w.handle);
}

int WebHost::handleOf(const Dialog& dialog) const {
  for (const Window& w : windows_)
    if (w.dialog == &dialog) return w.handle;
  return 0;
}

json WebHost::StateJson(const Dialog& dialog, int index) const {
  const ControlState& c = dialog.controls()[static_cast<std::size_t>(index)];
  json j{{"text", c.text},         {"enabled", c.enabled},      {"visible", c.visible},
         {"checked", c.checked},   {"items", c.items},          {"curSel", c.curSel},
         {"min", c.rangeMin},      {"max", c.rangeMax},         {"page", c.page()},
         {"pos", c.pos},           {"normal", c.pictureNormal}, {"pressed", c.picturePressed},
         {"selStart", c.selStart}, {"selEnd", c.selEnd},        {"dropped", c.dropped}};
  // A picture button is sized to its normal face.
  if (const PictureTemplate* face = c.pictureNormal ? resources().picture(c.pictureNormal) : nullptr)
    j["face"] = {face->width, face->height};
  if (c.kind() == Kind::Plot) j["plot"] = PlotJson(c);
  if (std::optional<Dialog::TextColour> colour = dialog.OnCtlColor(c.id()))
    j["colour"] = {colour->r, colour->g, colour->b, colour->transparent};
  return j;
}

std::string WebHost::MenuJson(const Dialog& dialog) const {
  json popups = json::array();
  if (const MenuTemplate* menu = dialog.menuId() ? resources().menu(dialog.menuId()) : nullptr)
    for (const MenuItemTemplate& item : menu->items) {
      if (popups.empty() || popups.back()["text"] != item.popup)
        popups.push_back({{"text", item.popup}, {"items", json::array()}});
      popups.back()["items"].push_back({{"text", item.text ? item.text : ""}, {"command", item.command}});
    }
  return popups.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string WebHost::WindowJson(const Dialog& dialog) const {
  const DialogTemplate& t = dialog.tpl();
  json controls = json::array();
  for (const ControlState& c : dialog.controls()) {
    const ControlTemplate& ct = *c.tpl;
    const int index = static_cast<int>(controls.size());
    controls.push_back({{"id", ct.id},
                        {"kind", KindName(ct.kind)},
                        {"x", ct.x},
                        {"y", ct.y},
                        {"cx", ct.cx},
                        {"cy", ct.cy},
                        {"style", ct.style},
                        {"picture", ct.picture},
                        {"state", StateJson(dialog, index)}});
  }
  const Dialog::Background bg = dialog.OnPaintBackground();
  json j{{"tool", tool_},
         {"id", t.id},
         {"caption", t.caption},
         {"cx", t.cx},
         {"cy", t.cy},
         {"font", t.fontFace},
         {"points", t.fontPoints},
         {"minimizeBox", t.minimizeBox},
         {"acceptFiles", t.acceptFiles},
         {"controls", controls},
         {"background", {{"picture", bg.picture}, {"w", bg.width}, {"h", bg.height}}}};
  return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

void WebHost::Show(Dialog& dialog) {
  dialog.BeginWindow();
  const int handle = nextHandle_++;
  SyncMenuStates();  // a command from the menu bar's keys left it before opening this window
  windows_.push_back({&dialog, handle});
  lxw_open(handle, WindowJson(dialog).c_str());  // with every control's state before initialisation
  dialog.InitWindow();
  // First display: every visible slider paints.
  if (dialog.isOpen()) {
    const auto& controls = dialog.controls();
    for (std::size_t i = 0; i < controls.size(); ++i)
      if (controls[i].kind() == Kind::Slider) ControlChanged(dialog, static_cast<int>(i), Change::Redraw);
  }
  FlushPaints();
}

void WebHost::CloseWindow(Dialog& dialog) {
  const int handle = handleOf(dialog);
  std::erase_if(windows_, [&](const Window& w) { return w.dialog == &dialog; });
  std::erase_if(dirty_, [&](const auto& d) { return d.first == &dialog; });
  dialog.EndWindow();
  if (handle) lxw_close(handle);
}

int WebHost::RunModal(Dialog& dialog) {
  Show(dialog);
  while (dialog.isOpen() && !dialog.ended()) {
    if (std::optional<PageEvent> e = ParsePageEvent(TakeString(lxw_wait_event()))) Dispatch(*e);
    FlushPaints();
    lxw_deliver_saves();
  }
  CloseWindow(dialog);
  return dialog.result();
}

void WebHost::Forget(Dialog& dialog) {
  if (handleOf(dialog)) {
    lxw_close(handleOf(dialog));
    std::erase_if(windows_, [&](const Window& w) { return w.dialog == &dialog; });
  }
  std::erase_if(dirty_, [&](const auto& d) { return d.first == &dialog; });
}

void WebHost::DrainEvents() {
  while (char* raw = lxw_poll_event())
    if (std::optional<PageEvent> e = ParsePageEvent(TakeString(raw))) Dispatch(*e);
}

void WebHost::Dispatch(const PageEvent& e) {
  Dialog* d = top();
  // Input for a window under a modal one, or for one already gone, is not the user's to give.
  if (!d || handleOf(*d) != e.window || !d->isOpen() || d->ended()) return;
  const int count = static_cast<int>(d->controls().size());
  const bool hasControl = e.index >= 0 && e.index < count;
  const int id = hasControl ? d->controls()[static_cast<std::size_t>(e.index)].id() : 0;
  const std::string& text = e.text;
  if (e.kind == "click" && hasControl) {
    d->UserClick(id);
  } else if (e.kind == "select" && hasControl) {
    d->UserSelect(id, e.value);
  } else if (e.kind == "edited" && hasControl) {
    d->UserEdited(id, text);
  } else if (e.kind == "type" && hasControl) {
    d->UserType(id, text);
  } else if (e.kind == "focus") {
    d->UserFocus(hasControl ? id : 0, e.value ? Dialog::FocusBy::Keyboard : Dialog::FocusBy::Mouse);
  } else if (e.kind == "key") {
    // The page names keys as scripts do ("tab", "down", one character).
    std::string error;
    if (std::optional<Action> a = ParseAction("press " + text, &error))
      if (a->verb == Verb::Press) d->UserKey(a->key(), a->text);
  } else if (e.kind == "close") {
    d->UserClose();
  } else if (e.kind == "menu") {
    d->UserMenuCommand(e.value);
  } else if (e.kind == "slide" && hasControl) {
    d->UserSlide(id, e.value);
  } else if (e.kind == "release" && hasControl) {
    FlushPaints();
    d->UserReleaseSlider(id);
  } else if (e.kind == "droplist" && hasControl) {
    d->UserDropList(id, e.value != 0);
  } else if (e.kind == "drop" && d->tpl().acceptFiles) {
    d->UserDrop(text);
  }
  SyncMenuStates();
}

void WebHost::SyncMenuStates() {
  // The model tells no host of its menu bar's keyboard mode: the page is brought to it after
  // each input, and before anything else shows.
  for (Window& w : windows_) {
    const std::pair<int, int> state{w.dialog->menuTitle(), w.dialog->menuItem()};
    if (state == w.menuState) continue;
    w.menuState = state;
    lxw_menu_state(w.handle, state.first, state.second);
  }
}

void WebHost::ControlChanged(Dialog& dialog, int index, Change what) {
  const int handle = handleOf(dialog);
  if (!handle || index < 0 || index >= static_cast<int>(dialog.controls().size())) return;
  if (what == Change::Redraw) {
    const ControlState& c = dialog.controls()[static_cast<std::size_t>(index)];
    // A plot's new items go to the page, which paints them when the program next waits.
    if (c.kind() == Kind::Plot)
      return lxw_sync(handle, index,
                      StateJson(dialog, index).dump(-1, ' ', false, json::error_handler_t::replace).c_str());
    if (c.kind() != Kind::Slider || !c.visible) return;
    std::pair<Dialog*, int> key{&dialog, index};
    if (std::find(dirty_.begin(), dirty_.end(), key) == dirty_.end()) dirty_.push_back(key);
    return;
  }
  if (what == Change::Focus) {
    lxw_focus(handle, dialog.hasFocusControl() ? dialog.indexOf(dialog.focusId()) : -1);
  }
  lxw_sync(handle, index, StateJson(dialog, index).dump(-1, ' ', false, json::error_handler_t::replace).c_str());
}

void WebHost::FlushPaints() {
  // A handler that keeps invalidating its slider is cut off rather than looping forever.
  for (int guard = 0; !dirty_.empty() && guard < 1000; ++guard) {
    auto [dialog, index] = dirty_.front();
    dirty_.erase(dirty_.begin());
    if (handleOf(*dialog) && dialog->isOpen() && index < static_cast<int>(dialog->controls().size()))
      dialog->Paint(dialog->controls()[static_cast<std::size_t>(index)].id());
  }
  dirty_.clear();
}

void WebHost::MenuChanged(Dialog& dialog) {
  if (const int handle = handleOf(dialog)) lxw_menu(handle, MenuJson(dialog).c_str());
}

void WebHost::ShowMessage(Dialog& owner, const std::string& text) {
  SyncMenuStates();
  lxw_message(handleOf(owner), appName().c_str(), text.c_str());
}

std::optional<std::string> WebHost::AskFile(Dialog& owner, const FileRequest& request) {
  SyncMenuStates();
  json filters = json::array();
  for (const FileFilter& f : ParseFileFilter(request.filter))
    filters.push_back({{"description", f.description}, {"patterns", f.patterns}});
  json j{{"save", request.save},
         {"proposedName", request.proposedName},
         {"defaultExt", request.defaultExt},
         {"filters", filters}};
  char* chosen =
      lxw_ask_file(handleOf(owner), j.dump(-1, ' ', false, json::error_handler_t::replace).c_str());
  if (!chosen) return std::nullopt;
  return WithDefaultExtension(TakeString(chosen), request.defaultExt, request.save);
}

void WebHost::CopyText(Dialog&, const std::string& text) { lxw_copy(text.c_str()); }

}  // namespace lx::ui::web
