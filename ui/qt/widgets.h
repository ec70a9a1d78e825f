#pragma once
// The widgets the Qt host builds a dialog from (internal to the host).
#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QPixmap>
#include <QSlider>
#include <vector>

#include "ui/dialog.h"
#include "ui/qt/qt_host.h"

class QMenuBar;

namespace lx::ui::qt {

class QtHost;

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

// Where the controls live: the dialog's client area, painted with the dialog's background.
class ClientArea : public QWidget {
 public:
  ClientArea(Dialog& dialog, QtHost& host, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Dialog& dialog_;
  QtHost& host_;
};

// A trackbar: reports its repaints (NM_CUSTOMDRAW) on first display, after every move of the
// thumb and whenever the dialog asks for one, and each release of the mouse after a drag or a
// click (NM_RELEASEDCAPTURE); keyboard moves release nothing. A move is painted, and so
// reported, before the release that ends it. Repaints of the look alone (hover, focus frame,
// pressed thumb, uncovering) report nothing, as the dialogs' model of the control has it.
class SliderWidget : public QSlider {
 public:
  SliderWidget(Dialog& dialog, int id, Qt::Orientation orientation, QWidget* parent);
  // The thumb's rectangle and the point on the groove where the thumb's centre sits at a value.
  QRect thumbRect() const;
  QPoint pointFor(int value) const;
  void invalidate();  // the dialog asks for a repaint

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void sliderChange(SliderChange change) override;
  void showEvent(QShowEvent* event) override;

 private:
  void reportPaint();
  Dialog& dialog_;
  int id_;
  bool reportQueued_ = false;
  bool unpainted_ = false;  // to be painted and reported
  bool mouseDown_ = false;
};

// An owner-drawn picture button: the normal face, the pressed face while held down. Without a
// disabled face a disabled button looks like an enabled one; it only ignores clicks.
class PictureButtonWidget : public QAbstractButton {
 public:
  explicit PictureButtonWidget(QWidget* parent) : QAbstractButton(parent) {}
  void setFaces(const QPixmap& normal, const QPixmap& pressed);
  QSize sizeHint() const override { return normal_.isNull() ? QSize(32, 32) : normal_.size(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap normal_, pressed_;
};

// A drop-down list whose opening and closing the dialog's model of it follows, however it
// comes (its arrow clicked, the model's keys, a click elsewhere).
class ComboWidget : public QComboBox {
 public:
  ComboWidget(Dialog& dialog, int id, QWidget* parent) : QComboBox(parent), dialog_(dialog), id_(id) {}
  void showPopup() override;
  void hidePopup() override;
  bool dropped() const;

 private:
  Dialog& dialog_;
  int id_;
};

// The window frame a template asks for: a title bar with a close box (and a minimise box when
// the template has one), never a maximise box.
Qt::WindowFlags FrameFlags(const DialogTemplate& tpl);

// A dialog's window. The dialog owns the focus: controls take it only when the dialog gives it,
// a mouse press first moves it through the dialog (so that the box losing it reports first, and
// a message box shown meanwhile swallows the click), and Tab, Enter and Escape are the dialog's
// keys wherever the focus is.
// A plot control: paints the items the dialog holds for it (core/plot.h) with QPainter.
class PlotWidget : public QWidget {
 public:
  PlotWidget(const Dialog& dialog, int index, QWidget* parent)
      : QWidget(parent), dialog_(dialog), index_(index) {}

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Dialog& dialog_;
  int index_;
};

class DialogWindow : public QDialog {
 public:
  DialogWindow(Dialog& dialog, QtHost& host);
  void fixSize();  // the frame takes exactly the size of its contents and keeps it
  Dialog& dialog() { return dialog_; }
  ClientArea* client() const { return client_; }
  QWidget* widget(int index) const {
    return index >= 0 && index < int(widgets_.size()) ? widgets_[index] : nullptr;
  }
  int indexOfWidget(const QWidget* w) const;  // the control a widget (or one of its parts) belongs to
  void sync(int index, Change what);          // the dialog's state into the widget
  void buildMenu();
  void enterMenuBar();  // the menu bar's keyboard mode, as F10 enters it

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void reject() override;
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* make(int index);
  QRect templateRect(int index) const;  // where the template puts a control, in pixels
  void fitText(int index);              // a one-line text's box widened into free space to show it whole
  bool dialogKey(QKeyEvent* event);
  bool controlKey(QWidget* target, QKeyEvent* event);
  bool mousePress(QWidget* target, int index);
  Dialog& dialog_;
  QtHost& host_;
  DialogUnits units_;
  ClientArea* client_;
  QMenuBar* menuBar_ = nullptr;
  std::vector<QWidget*> widgets_;
  QWidget* swallowing_ = nullptr;  // a press swallowed by a message box: its release goes too
};

}  // namespace lx::ui::qt
