#include "ui/qt/keys.h"

namespace lx::ui::qt {

namespace {
constexpr struct {
  Key model;
  Qt::Key key;
  Qt::KeyboardModifier modifier;
} kKeys[] = {
    {Key::Tab, Qt::Key_Tab, Qt::NoModifier},           {Key::BackTab, Qt::Key_Backtab, Qt::ShiftModifier},
    {Key::Enter, Qt::Key_Return, Qt::NoModifier},      {Key::Escape, Qt::Key_Escape, Qt::NoModifier},
    {Key::Space, Qt::Key_Space, Qt::NoModifier},       {Key::Left, Qt::Key_Left, Qt::NoModifier},
    {Key::Right, Qt::Key_Right, Qt::NoModifier},       {Key::Up, Qt::Key_Up, Qt::NoModifier},
    {Key::Down, Qt::Key_Down, Qt::NoModifier},         {Key::PageUp, Qt::Key_PageUp, Qt::NoModifier},
    {Key::PageDown, Qt::Key_PageDown, Qt::NoModifier}, {Key::Home, Qt::Key_Home, Qt::NoModifier},
    {Key::End, Qt::Key_End, Qt::NoModifier},           {Key::F4, Qt::Key_F4, Qt::NoModifier},
    {Key::AltDown, Qt::Key_Down, Qt::AltModifier},     {Key::AltUp, Qt::Key_Up, Qt::AltModifier},
    {Key::Alt, Qt::Key_Alt, Qt::AltModifier},          {Key::F10, Qt::Key_F10, Qt::NoModifier},
};
}  // namespace

std::optional<NativeKey> NativeKeyOf(Key key) {
  for (const auto& k : kKeys)
    if (k.model == key) return NativeKey{k.key, k.modifier};
  return std::nullopt;
}

std::optional<Key> ModelKeyOf(int key, Qt::KeyboardModifiers modifiers) {
  modifiers &= ~Qt::KeypadModifier;
  for (const auto& k : kKeys)
    if (k.key == key && modifiers == k.modifier) return k.model;
  return std::nullopt;
}

}  // namespace lx::ui::qt
