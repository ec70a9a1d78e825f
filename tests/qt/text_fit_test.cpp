// One-line texts wider than their boxes run on to the right as far as the space is free: up
// to the next control on their lines, the frame of the group around them or the window's edge.
// A box of two lines or more wraps its text and keeps its size.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QRadioButton>

#include "ui/qt/qt_host.h"

namespace lx::ui {
namespace {

constexpr int kFree = 10, kBeforeEdit = 11, kEdit = 12, kInGroup = 13, kRadio = 14, kWrapping = 15,
              kShort = 16;
constexpr const char* kLong = "A text far wider than its box";
constexpr ControlTemplate kControls[] = {
    {kFree, Kind::Label, kLong, 10, 10, 20, 8},       {kBeforeEdit, Kind::Label, kLong, 10, 25, 20, 8},
    {kEdit, Kind::Edit, "", 50, 24, 40, 12, kBorder}, {kStaticId, Kind::GroupBox, "Group", 5, 40, 70, 30},
    {kInGroup, Kind::Label, kLong, 10, 55, 20, 8},    {kRadio, Kind::RadioButton, kLong, 10, 80, 20, 10},
    {kWrapping, Kind::Label, kLong, 150, 80, 30, 30}, {kShort, Kind::Label, "Hi", 150, 10, 30, 8},
};
constexpr DialogTemplate kTemplate{700, "Fit", 400, 120, "System", 10, kControls};
const DialogTemplate* const kDialogs[] = {&kTemplate};
const ResourceSet kResources{kDialogs, {}, {}, {}};

class FitDialog : public Dialog {
 public:
  explicit FitDialog(Host& host) : Dialog(host, 700) {}
};

TEST(TextFit, OneLineTextsRunOnOverFreeSpaceOnly) {
  qt::QtHost host(kResources, "Fit");
  qt::DialogUnits u = qt::UnitsOf(qt::DialogFont(kTemplate));
  std::map<int, QRect> shown;
  bool wraps = false;
  int needed = 0;
  host.onShown = [&](Dialog& d, QDialog&) {
    for (int id : {kFree, kBeforeEdit, kInGroup, kRadio, kWrapping, kShort})
      shown[id] = host.widgetOf(d, id)->geometry();
    auto* label = static_cast<QLabel*>(host.widgetOf(d, kFree));
    needed = label->fontMetrics().horizontalAdvance(QString::fromUtf8(kLong));
    wraps = static_cast<QLabel*>(host.widgetOf(d, kWrapping))->wordWrap() &&
            !static_cast<QLabel*>(host.widgetOf(d, kFree))->wordWrap();
    d.UserClose();
  };
  FitDialog dialog(host);
  dialog.DoModal();
  ASSERT_EQ(shown.size(), 6u);
  struct Expect {
    int id;
    int left, right;  // where the box shows
  } cases[] = {
      {kFree, u.x(10), u.x(10) + needed - 1},         // the whole text
      {kBeforeEdit, u.x(10), u.x(50) - 3},            // two pixels before the edit box
      {kInGroup, u.x(10), u.x(5) + u.x(70) - 4},      // two pixels inside the group's frame
      {kShort, u.x(150), u.x(150) + u.x(30) - 1},     // fits: keeps its box
      {kWrapping, u.x(150), u.x(150) + u.x(30) - 1},  // wraps in its box
  };
  for (const Expect& e : cases) {
    EXPECT_EQ(shown[e.id].left(), e.left) << e.id;
    EXPECT_EQ(shown[e.id].right(), e.right) << e.id;
  }
  EXPECT_GT(shown[kRadio].width(), needed);  // the indicator and the whole text
  EXPECT_EQ(shown[kInGroup].height(), u.y(8));
  EXPECT_TRUE(wraps);
}

}  // namespace
}  // namespace lx::ui
