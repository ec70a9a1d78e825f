// Qt's own texts (file dialogs, standard buttons) follow the user's locale once the start-up
// has loaded Qt's translations: Chinese under zh_CN, like the rest of the window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>

#include "app/windowed.h"

namespace lx::app {
namespace {

struct Expected {
  const char* locale;
  bool loads;
  const char* cancel;    // QDialogButtonBox's Cancel
  const char* ok;        // QMessageBox's and QDialogButtonBox's OK
  const char* lookIn;    // the file dialog's folder label
  const char* fileName;  // the file dialog's name label
};

void PrintTo(const Expected& e, std::ostream* os) { *os << e.locale; }

class QtTranslations : public ::testing::TestWithParam<Expected> {
 protected:
  void TearDown() override {
    // Leave the application as the other tests expect it: untranslated.
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(t);
      delete t;
    }
  }
};

QString Label(QFileDialog& dialog, const char* name) {
  QLabel* label = dialog.findChild<QLabel*>(QString::fromUtf8(name));
  return label ? label->text() : QStringLiteral("<no %1>").arg(QString::fromUtf8(name));
}

TEST_P(QtTranslations, StandardButtonsAndFileDialogSpeakTheLocale) {
  const Expected& e = GetParam();
  EXPECT_EQ(InstallQtTranslations(*qApp, QLocale(QString::fromUtf8(e.locale))), e.loads);

  QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8(e.cancel));
  EXPECT_EQ(box.button(QDialogButtonBox::Ok)->text(), QString::fromUtf8(e.ok));

  // The host's file dialogs are Qt's own widgets, not the desktop's.
  QFileDialog dialog(nullptr, QStringLiteral("打开"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  EXPECT_EQ(Label(dialog, "lookInLabel"), QString::fromUtf8(e.lookIn));
  EXPECT_EQ(Label(dialog, "fileNameLabel"), QString::fromUtf8(e.fileName));
}

INSTANTIATE_TEST_SUITE_P(
    Locales, QtTranslations,
    ::testing::Values(Expected{"zh_CN", true, "取消", "确定", "查找范围：", "文件名称(&N)："},
                      Expected{"de_DE", true, "Abbrechen", "OK", "Suchen in:", "Datei&name:"},
                      // English is Qt's own language: nothing to load.
                      Expected{"en_US", false, "Cancel", "OK", "Look in:", "File &name:"}),
    [](const ::testing::TestParamInfo<Expected>& info) {
      std::string name = info.param.locale;
      std::erase(name, '_');
      return name;
    });

}  // namespace
}  // namespace lx::app
