#pragma once
// The ids a script can address in a tool's windows, for docs/uiscenario.md.
#include <ostream>

#include "app/tool.h"

namespace lx::app {

// As Markdown: the main window's menu commands, then every window's controls with the actions
// they take (uiscenario --list-ids).
void WriteScriptIds(const ToolDefinition& tool, std::ostream& out);

}  // namespace lx::app
