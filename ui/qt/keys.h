#pragma once
// The dialog model's keys as Qt names them: one table, read both ways (internal to the host).
#include <Qt>
#include <optional>

#include "ui/host.h"

namespace lx::ui::qt {

struct NativeKey {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
};

// The key and the modifiers held with it that make `key`; none for Key::Char, which is its text.
std::optional<NativeKey> NativeKeyOf(Key key);
// The model's key that a Qt key with these modifiers (the keypad's left aside) makes, if any.
std::optional<Key> ModelKeyOf(int key, Qt::KeyboardModifiers modifiers);

}  // namespace lx::ui::qt
