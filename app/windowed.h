#pragma once
#include "app/tool.h"

namespace lx::app {

// The entry point of a windowed tool: checks for a display, starts Qt and runs the tool.
int RunWindowedTool(int argc, char** argv, const ToolDefinition& tool);

}  // namespace lx::app
