// The floor of a tool's start-up: a bare Qt 6 dialog program with the tools' dialog font and a
// similar set of controls (menu bar with the same menus, model radio buttons, four large push
// buttons with text, a white background). It starts, shows its dialog and ends when closed.
#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Bare dialog"));
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(12);
  dialog.setFont(font);
  QPalette palette = dialog.palette();
  palette.setColor(QPalette::Window, Qt::white);
  dialog.setPalette(palette);
  dialog.setAutoFillBackground(true);

  auto* bar = new QMenuBar(&dialog);
  QMenu* file = bar->addMenu(QStringLiteral("文件"));
  for (const char* item : {"打开", "保存", "文件转换", "退出"}) file->addAction(QString::fromUtf8(item));
  bar->addMenu(QStringLiteral("帮助"))->addAction(QStringLiteral("关于"));
  const int top = bar->sizeHint().height();

  const char* models[] = {"LX7240", "LX7250"};
  for (int i = 0; i < 2; ++i) {
    auto* radio = new QRadioButton(QString::fromUtf8(models[i]), &dialog);
    radio->setGeometry(70 + 350 * i, top + 38, 70, 18);
  }
  const char* captions[] = {"射频配置", "音频配置", "其他配置", "频道配置"};
  for (int i = 0; i < 4; ++i) {
    auto* button = new QPushButton(QString::fromUtf8(captions[i]), &dialog);
    button->setGeometry(30 + 171 * i, top + 80, 129, 116);
    button->setEnabled(false);
  }
  dialog.setFixedSize(757, 351 + top);
  return dialog.exec() == QDialog::Accepted ? 0 : 0;
}
