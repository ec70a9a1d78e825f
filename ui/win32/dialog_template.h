#pragma once
// Our dialog templates as the in-memory extended dialog templates Windows builds dialogs from,
// so that Windows does the dialog-unit layout, tab order, default button, Enter and Escape.
#include <windows.h>

#include <vector>

#include "ui/dialog.h"

namespace lx::ui::win32 {

// The native control identifier of control `index`: its own id, or a private one for the
// labels and frames that share kStaticId.
int NativeId(const ControlTemplate& control, int index);
// The index of the dialog's control with native identifier `nativeId`; -1 for none.
int IndexOfNative(const Dialog& dialog, int nativeId);

// The DLGTEMPLATEEX with its items, as the words DialogBoxIndirectParamW reads.
std::vector<WORD> BuildDialogTemplate(const DialogTemplate& tpl);

}  // namespace lx::ui::win32
