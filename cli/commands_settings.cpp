// show, diff, plan, pair: the commands that read an image back with meaning.
#include "cli/command.h"

namespace lx::cli {

void AddSettingsCommands(Commands&) {}

}  // namespace lx::cli
