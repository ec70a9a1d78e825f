#pragma once
// The dialog model's keys and the virtual keys Windows gives for them, in one table read both
// ways: the host hands the keys it takes itself to the model, the script host posts the model's
// keys as the keyboard gives them.
#include <windows.h>

#include <optional>
#include <utility>

#include "ui/host.h"

namespace lx::ui::win32 {

inline constexpr std::pair<Key, UINT> kNativeKeys[] = {
    {Key::Tab, VK_TAB},      {Key::Enter, VK_RETURN},  {Key::Escape, VK_ESCAPE}, {Key::Space, VK_SPACE},
    {Key::Left, VK_LEFT},    {Key::Right, VK_RIGHT},   {Key::Up, VK_UP},         {Key::Down, VK_DOWN},
    {Key::PageUp, VK_PRIOR}, {Key::PageDown, VK_NEXT}, {Key::Home, VK_HOME},     {Key::End, VK_END},
    {Key::F4, VK_F4},        {Key::Alt, VK_MENU},      {Key::F10, VK_F10},
};

// The virtual key of a key; 0 for the keys that are no single virtual key (BackTab, Char, and
// the arrows with Alt held).
inline UINT NativeKey(Key key) {
  for (const auto& [k, native] : kNativeKeys)
    if (k == key) return native;
  return 0;
}

inline std::optional<Key> KeyOfNative(UINT native) {
  for (const auto& [k, n] : kNativeKeys)
    if (n == native) return k;
  return std::nullopt;
}

}  // namespace lx::ui::win32
