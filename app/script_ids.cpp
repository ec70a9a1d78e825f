#include "app/script_ids.h"

#include <string>

namespace lx::app {

namespace {

struct KindRow {
  const char* name;
  const char* actions;
};

KindRow Describe(ui::Kind kind) {
  switch (kind) {
    case ui::Kind::PushButton:
      return {"button", "`click`"};
    case ui::Kind::PictureButton:
      return {"picture button", "`click`"};
    case ui::Kind::RadioButton:
      return {"radio button", "`click`"};
    case ui::Kind::CheckBox:
      return {"check box", "`click`"};
    case ui::Kind::Edit:
      return {"edit box", "`type`, `focus`"};
    case ui::Kind::ComboBox:
      return {"drop-down list", "`select`, `pick`"};
    case ui::Kind::Slider:
      return {"slider", "`drag`, `key`"};
    case ui::Kind::GroupBox:
      return {"group box", ""};
    case ui::Kind::Label:
      return {"label", ""};
    case ui::Kind::Icon:
      return {"icon", ""};
    case ui::Kind::Plot:
      return {"plot", ""};
  }
  return {"?", ""};
}

// A template text in a table cell: line breaks as blanks, bars escaped.
std::string Cell(const char* text) {
  std::string cell;
  for (const char* c = text ? text : ""; *c; ++c) {
    if (*c == '\n' || *c == '\r')
      cell += ' ';
    else if (*c == '|')
      cell += "\\|";
    else
      cell += *c;
  }
  return cell;
}

}  // namespace

void WriteScriptIds(const ToolDefinition& tool, std::ostream& out) {
  const ui::ResourceSet& res = tool.resources;
  out << "### " << tool.profile.appName << " (`uiscenario " << tool.program << "`)\n\n";
  for (const ui::MenuTemplate* menu : res.menus) {
    out << "Menu of the main window (`command <id>`):\n\n| Menu | Item | Command |\n|---|---|---|\n";
    for (const ui::MenuItemTemplate& item : menu->items)
      out << "| " << Cell(item.popup) << " | " << Cell(item.text) << " | " << item.command << " |\n";
    out << '\n';
  }
  for (const ui::DialogTemplate* dialog : res.dialogs) {
    out << "Window " << dialog->id << " \"" << Cell(dialog->caption) << "\":\n\n"
        << "| Id | Control | Text | Actions |\n|---|---|---|---|\n";
    for (const ui::ControlTemplate& c : dialog->controls) {
      if (c.id == ui::kStaticId) continue;
      const KindRow kind = Describe(c.kind);
      out << "| " << c.id << " | " << kind.name << " | " << Cell(c.text) << " | " << kind.actions << " |\n";
    }
    out << '\n';
  }
}

}  // namespace lx::app
