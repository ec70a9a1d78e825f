#pragma once
#include "app/tool.h"

class QCoreApplication;
class QLocale;

namespace lx::app {

// Loads Qt's own translations for the locale (file dialogs, standard buttons), so that they speak
// the user's language like the rest of the window. False when Qt has none for it.
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale);

// The entry point of a windowed tool: checks for a display, starts Qt and runs the tool.
int RunWindowedTool(int argc, char** argv, const ToolDefinition& tool);

}  // namespace lx::app
