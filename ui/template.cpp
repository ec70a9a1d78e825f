#include "ui/template.h"

namespace lx::ui {

const DialogTemplate* ResourceSet::dialog(int id) const {
  for (const DialogTemplate* d : dialogs)
    if (d->id == id) return d;
  return nullptr;
}

const MenuTemplate* ResourceSet::menu(int id) const {
  for (const MenuTemplate* m : menus)
    if (m->id == id) return m;
  return nullptr;
}

const PictureTemplate* ResourceSet::picture(int id) const {
  for (const PictureTemplate& p : pictures)
    if (p.id == id) return &p;
  return nullptr;
}

std::string_view ResourceSet::string(int id) const {
  for (const StringTemplate& s : strings)
    if (s.id == id) return s.text;
  return {};
}

}  // namespace lx::ui
