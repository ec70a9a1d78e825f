// Driving real Qt windows: a click on a model radio enables the picture buttons; choosing
// LX7250, saving and converting to a binary image works end to end through the file dialogs
// and message boxes of the Qt host.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/main_dialog.h"
#include "resources/ids.h"
#include "tests/support/files.h"
#include "ui/qt/qt_host.h"

namespace lx::app {
namespace {

namespace fs = std::filesystem;

// Answers the next modal window of type T once it is up.
template <class T>
void WhenModal(std::function<void(T*)> answer, int attempts = 200) {
  QTimer::singleShot(10, [answer, attempts] {
    if (T* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
      answer(w);
    } else if (attempts > 0) {
      WhenModal<T>(answer, attempts - 1);
    } else {
      ADD_FAILURE() << "no modal window appeared";
    }
  });
}

void AnswerFile(const std::string& path) {
  WhenModal<QFileDialog>([path](QFileDialog* d) {
    d->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(d)->accept();
  });
}

void Trigger(QDialog& window, const char* text) {
  for (QAction* a : window.findChild<QMenuBar*>()->findChildren<QAction*>())
    if (a->text() == QString::fromUtf8(text)) {
      a->trigger();
      return;
    }
  ADD_FAILURE() << "no menu item " << text;
}

using test::TempDir;

TEST(QtWindow, ClickingAModelRadioEnablesThePictureButtons) {
  TempDir work;
  ui::qt::QtHost host(AmbrelTool().resources, "Ambrel");
  ToolState state(AmbrelProfile(), LX_PROGRAM_DIR);
  MainDialog main(host, state, AmbrelTool(), work.path());
  bool ran = false;
  host.onShown = [&](ui::Dialog& d, QDialog& window) {
    if (d.templateId() != res::kMainDialog) return;
    ran = true;
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    for (int id : {1000, 1004, 1005, 1006}) EXPECT_FALSE(host.widgetOf(d, id)->isEnabled());
    auto* radio = qobject_cast<QRadioButton*>(host.widgetOf(d, 1003));
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->palette().color(QPalette::WindowText), QColor(0, 102, 153));
    QTest::mouseClick(radio, Qt::LeftButton);
    EXPECT_TRUE(radio->isChecked());
    for (int id : {1000, 1004, 1005, 1006}) EXPECT_TRUE(host.widgetOf(d, id)->isEnabled()) << id;
    EXPECT_EQ(state.chipModel, 1);
    // Enter does nothing; Escape ends the program.
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_FALSE(d.ended());
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(d.ended());
  };
  main.DoModal();
  EXPECT_TRUE(ran);
  EXPECT_EQ(main.result(), ui::kIdCancel);
}

TEST(QtWindow, ChooseSaveAndConvertEndToEnd) {
  TempDir work;
  fs::path header = work.path() / "data" / "EEPROM.h", binary = work.path() / "data" / "EEPROM.bin";
  ui::qt::QtHost host(AmbrelTool().resources, "Ambrel");
  ToolState state(AmbrelProfile(), LX_PROGRAM_DIR);
  MainDialog main(host, state, AmbrelTool(), work.path());
  std::vector<std::string> messages;
  bool converted = false;
  host.onShown = [&](ui::Dialog& d, QDialog& window) {
    if (d.templateId() == res::kMainDialog) {
      QTest::mouseClick(host.widgetOf(d, 1003), Qt::LeftButton);  // LX7250
      AnswerFile(header.string());
      Trigger(window, "保存");
      EXPECT_EQ(fs::file_size(header), 1938u);
      Trigger(window, "文件转换");
      QTest::keyClick(&window, Qt::Key_Escape);
    } else if (d.templateId() == res::kConvertDialog) {
      auto* headerBox = qobject_cast<QLineEdit*>(host.widgetOf(d, res::convert::kHeaderPathBox));
      EXPECT_EQ(headerBox->text().toStdString(), (work.path() / "data").string());
      AnswerFile(header.string());
      QTest::mouseClick(host.widgetOf(d, res::convert::kBrowseHeader), Qt::LeftButton);
      EXPECT_EQ(headerBox->text().toStdString(), header.string());
      AnswerFile(binary.string());
      WhenModal<QMessageBox>([&](QMessageBox* box) {
        messages.push_back(box->text().toStdString());
        EXPECT_EQ(box->windowTitle(), "Ambrel");
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->buttons().size(), 1);
        box->accept();
      }, 400);
      QTest::mouseClick(host.widgetOf(d, res::convert::kHeaderToBinary), Qt::LeftButton);
      converted = true;
      QTest::keyClick(&window, Qt::Key_Escape);
    }
  };
  main.DoModal();
  EXPECT_TRUE(converted);
  EXPECT_EQ(messages, std::vector<std::string>{"转换成功!"});
  ASSERT_TRUE(fs::exists(binary));
  EXPECT_EQ(fs::file_size(binary), 192u);
}

}  // namespace
}  // namespace lx::app
