#pragma once
// Resources that both tools share.
#include "ui/template.h"

namespace lx::res {

extern const ui::MenuTemplate kMenu129;

}  // namespace lx::res
