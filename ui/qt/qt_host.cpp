#include "ui/qt/qt_host.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "ui/file_filter.h"
#include "ui/qt/dialog_style.h"
#include "ui/qt/widgets.h"

namespace lx::ui::qt {

namespace {

constexpr int kActivationMs = 2000;  // how long a shown dialog may take to get the keyboard

// Installed fonts that carry Chinese glyphs, best first.
constexpr const char* kChineseFonts[] = {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC",
                                         "Droid Sans Fallback", "AR PL UMing CN"};

QString ChineseFont() {
  const QStringList families = QFontDatabase::families();
  for (const char* name : kChineseFonts)
    if (families.contains(QString::fromUtf8(name))) return QString::fromUtf8(name);
  return QString();
}

// A message box at least as wide as its title bar needs to show the title whole, as the
// platform's are: Qt's own allowance for the title bar's icon and buttons is narrower than
// what window managers draw, and a short message would cut the application's name.
class MessageBox : public QMessageBox {
 public:
  using QMessageBox::QMessageBox;

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);  // sizes the box to its text and buttons
    auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    const int need = titleWidth(), before = width();
    // The text's line is made longer and the box sized again, before it is first shown, about
    // the same centre (a second pass takes up what the layout's margins left).
    for (int pass = 0; pass < 2 && label && width() < need; ++pass) {
      label->setMinimumWidth(std::max(label->minimumWidth(), label->minimumSizeHint().width()) + need -
                             width());
      QEvent relayout(QEvent::LayoutRequest);
      QCoreApplication::sendEvent(this, &relayout);
    }
    move(x() - (width() - before) / 2, y());
  }

 private:
  int titleWidth() const {
    // What a title bar with an icon and minimise, maximise and close buttons takes beside its
    // caption, as the style lays one out, and two buttons more: window managers draw wider
    // buttons and pad the caption. The caption is measured bold, as title bars show it.
    QStyleOptionTitleBar bar;
    bar.initFrom(this);
    bar.text = windowTitle();
    bar.titleBarFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    bar.rect = QRect(0, 0, 1000, style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, this));
    int chrome = bar.rect.width() + 2 * bar.rect.height() -
                 style()->subControlRect(QStyle::CC_TitleBar, &bar, QStyle::SC_TitleBarLabel, this).width();
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(windowTitle()) + chrome;
  }
};

// The offscreen platform has no window manager: it cannot raise a window, grab the keyboard or
// size a frame. Qt asks it all the same whenever it shows a popup (a list's or a menu's) or one
// of its own dialogs, and the platform answers each request with a note on standard error,
// which a scripted run would print for every window. There, and only there, those notes are
// not passed on; every other message is.
void QuietOffscreenNotes() {
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) return;
  static const QtMessageHandler passOn = qInstallMessageHandler(nullptr);
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.startsWith(QLatin1String("This plugin does not support "))) passOn(type, context, message);
  });
}

}  // namespace

void InstallFontSubstitutes() {
  QString chinese = ChineseFont();
  if (chinese.isEmpty()) return;
  for (const char* face : {"宋体", "System", "MS Shell Dlg", "SimSun"})
    QFont::insertSubstitution(QString::fromUtf8(face), chinese);
}

QFont DialogFont(const DialogTemplate& tpl) {
  QFont font(QString::fromUtf8(tpl.fontFace));
  QString chinese = ChineseFont();
  if (!chinese.isEmpty()) font.setFamilies({QString::fromUtf8(tpl.fontFace), chinese});
  // Points at 96 dots per inch, as the platform sizes dialog fonts: 9 pt is 12 px.
  font.setPixelSize((tpl.fontPoints * 96 + 36) / 72);
  return font;
}

DialogUnits UnitsOf(const QFont& font) {
  QFontMetrics m(font);
  // The average width of the 52 Latin letters, rounded, and the character height.
  int letters = m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return {(letters / 26 + 1) / 2, m.height()};
}

QSize ClientSize(const DialogTemplate& tpl) {
  DialogUnits u = UnitsOf(DialogFont(tpl));
  return QSize(u.x(tpl.cx), u.y(tpl.cy));
}

QtHost::QtHost(const ResourceSet& resources, std::string appName)
    : Host(resources, std::move(appName)) {
  InstallFontSubstitutes();
  QuietOffscreenNotes();
}

QtHost::~QtHost() = default;

DialogWindow* QtHost::find(const Dialog& dialog) const {
  auto it = windows_.find(&dialog);
  return it == windows_.end() ? nullptr : it->second;
}

QDialog* QtHost::windowOf(const Dialog& dialog) const { return find(dialog); }

Dialog* QtHost::dialogOf(const QWidget* window) const {
  for (const auto& [dialog, w] : windows_)
    if (w == window) return const_cast<Dialog*>(dialog);
  return nullptr;
}

QWidget* QtHost::widgetOf(const Dialog& dialog, int id) const {
  DialogWindow* w = find(dialog);
  return w ? w->widget(dialog.indexOf(id)) : nullptr;
}

QWidget* QtHost::widgetAt(const Dialog& dialog, int index) const {
  DialogWindow* w = find(dialog);
  return w ? w->widget(index) : nullptr;
}

QWidget* QtHost::clientOf(const Dialog& dialog) const {
  DialogWindow* w = find(dialog);
  return w ? w->client() : nullptr;
}

QPixmap QtHost::picture(int id) {
  auto it = pictures_.find(id);
  if (it != pictures_.end()) return it->second;
  const PictureTemplate* p = resources().picture(id);
  if (p) {
    for (const PrerenderedPicture& done : prerendered_) {
      if (!SamePicture(done.picture, *p)) continue;
      const QImage image(reinterpret_cast<const uchar*>(done.pixels), p->width, p->height,
                         qsizetype{p->width} * 4,
                         done.alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
      return pictures_[id] = QPixmap::fromImage(image);
    }
  }
  QPixmap pix = p ? QPixmap::fromImage(RenderPicture(*p)) : QPixmap();  // missing: left out
  pictures_[id] = pix;
  return pix;
}

QStyle* QtHost::style() {
  if (!style_) style_ = std::make_unique<DialogStyle>();
  return style_.get();
}

int QtHost::RunModal(Dialog& dialog) {
  dialog.BeginWindow();
  auto* window = new DialogWindow(dialog, *this);
  windows_[&dialog] = window;
  // A dialog is modal for the whole application, and its window belongs to the window it was
  // opened from: the window manager then minimises and restores the two together, so that a
  // dialog is never minimised on its own, leaving a blocked window with nothing to show.
  window->setWindowModality(Qt::ApplicationModal);
  if (!modalStack_.empty()) {
    window->winId();  // the native window, to name its owner before it is first shown
    window->windowHandle()->setTransientParent(modalStack_.back()->windowHandle());
  }
  modalStack_.push_back(window);
  if (onCreated) onCreated(dialog, *window);

  dialog.InitWindow();
  if (!dialog.ended()) {
    window->adjustSize();
    window->fixSize();
    if (onShown) {
      QTimer::singleShot(0, window, [this, &dialog, window] {
        // Qt counts a dialog as active while its owner is: wait until the dialog itself has the
        // keyboard, so that the hook's key presses reach it.
        window->activateWindow();
        QElapsedTimer waited;
        waited.start();
        while (QGuiApplication::focusWindow() != window->windowHandle() && waited.elapsed() < kActivationMs)
          QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!dialog.ended()) onShown(dialog, *window);
      });
    }
    window->exec();
  }
  if (onClosed) onClosed(dialog, *window);
  windows_.erase(&dialog);
  std::erase(modalStack_, window);
  dialog.EndWindow();
  window->hide();
  // Every handler of the window has returned with its modal loop: nothing of it runs on. A
  // deferred delete would never run after the main window's loop, the program's last.
  delete window;
  return dialog.result();
}

void QtHost::ModalEnded(Dialog& dialog) {
  if (DialogWindow* w = find(dialog)) w->done(dialog.result());
}

void QtHost::ControlChanged(Dialog& dialog, int index, Change what) {
  if (DialogWindow* w = find(dialog)) w->sync(index, what);
}

void QtHost::MenuChanged(Dialog& dialog) {
  if (DialogWindow* w = find(dialog)) w->buildMenu();
}

void QtHost::ShowMessage(Dialog& owner, const std::string& text) {
  MessageBox box(QMessageBox::NoIcon, QString::fromStdString(appName()), QString::fromStdString(text),
                 QMessageBox::Ok, find(owner));
  box.setTextFormat(Qt::PlainText);
  // The OK button in the middle, as the platform's message boxes have it.
  if (auto* buttons = box.findChild<QDialogButtonBox*>()) buttons->setCenterButtons(true);
  ++messagesShown_;
  box.exec();
}

void QtHost::CopyText(Dialog&, const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
  if (onCopied) onCopied();
}

std::optional<std::string> QtHost::AskFile(Dialog& owner, const FileRequest& request) {
  QString initial = QString::fromStdString(request.initialFolder);
  QFileInfo info(initial);
  QString folder = info.isDir() ? initial : info.absolutePath();
  if (!QDir(folder).exists()) folder = QDir::currentPath();

  QFileDialog dialog(find(owner), request.save ? QStringLiteral("另存为") : QStringLiteral("打开"), folder);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);  // an open dialog may name a file that does not exist
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  QStringList filters;
  for (const std::string& f : NameFilters(request.filter)) filters << QString::fromStdString(f);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  // Only a save dialog adds the default extension here; the framework adds it to an open
  // dialog's name when no file of that name exists.
  if (request.save && !request.defaultExt.empty()) dialog.setDefaultSuffix(QString::fromStdString(request.defaultExt));
  dialog.selectFile(QString::fromStdString(request.proposedName));
  fileRequest_ = &request;
  int result = dialog.exec();
  fileRequest_ = nullptr;
  if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdString();
}

}  // namespace lx::ui::qt
