#pragma once
// What a command module needs: the registry it adds its commands to, the checks of its values,
// reporting, and its inputs and outputs.
#include <CLI/CLI.hpp>

#include "cli/commands.h"
#include "cli/context.h"
#include "cli/files.h"
#include "cli/open_as_tool.h"
#include "cli/report.h"
#include "cli/validators.h"
#include "core/header_format.h"
#include "core/input_file.h"
#include "core/profile.h"
#include "core/state.h"
#include "core/text.h"

namespace lx::cli {

void AddBasicCommands(Commands& commands);
void AddSetCommand(Commands& commands);
void AddSettingsCommands(Commands& commands);
void AddFieldsCommand(Commands& commands);
void AddVerifyCommand(Commands& commands);

}  // namespace lx::cli
