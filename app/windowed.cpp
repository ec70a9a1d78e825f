#include "app/windowed.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "app/config_app.h"
#include "core/process.h"
#include "pictures/prerendered_pictures.h"
#include "ui/qt/qt_host.h"

namespace lx::app {

namespace {
bool Set(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}
}  // namespace

bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale) {
  // qt_<locale>.qm pulls in qtbase_<locale>.qm: the file dialogs' and standard buttons' texts.
  auto* translator = new QTranslator(&app);
  if (translator->load(locale, QStringLiteral("qt"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      QCoreApplication::installTranslator(translator))
    return true;
  delete translator;
  return false;
}

int RunWindowedTool(int argc, char** argv, const ToolDefinition& tool) {
  if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("QT_QPA_PLATFORM")) {
    std::fprintf(stderr,
                 "%s: no display to show the window on (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                 "Start it under a virtual display, e.g. 'xvfb-run -a %s', or use the command line tool 'lxcfg'.\n",
                 tool.program, argv[0]);
    return 2;
  }
  QApplication app(argc, argv);
  InstallQtTranslations(app, QLocale());
  QApplication::setApplicationName(QString::fromUtf8(tool.profile.appName));
  ui::qt::QtHost host(tool.resources, tool.profile.appName);
  host.UsePrerendered(pictures::PrerenderedPictures());
  std::error_code ec;
  ConfigApp config(tool, host, ProgramDirectory(argv[0]), std::filesystem::current_path(ec));
  return config.InitInstance();
}

}  // namespace lx::app
