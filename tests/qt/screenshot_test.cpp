// Every window of both tools rendered by the Qt host offscreen: a PNG per window under
// <build>/screenshots/, each window's size checked against its template, and every text of
// every window shown whole (a font or template change that cuts one fails here).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>

#include "app/about_dialog.h"
#include "app/file_convert_dialog.h"
#include "app/main_dialog.h"
#include "app/plan_dialog.h"
#include "app/register_dialog.h"
#include "resources/ambrel_tx_ids.h"
#include "resources/channel_ids.h"
#include "resources/ids.h"
#include "resources/rx_ids.h"
#include "tests/support/files.h"
#include "ui/qt/qt_host.h"

namespace lx::app {
namespace {

struct Window {
  const char* file;
  const ToolDefinition& (*tool)();
  int templateId;
  int settingsSlot = -1;  // a settings dialog: opened by the tool's picture button opener
  int model = -1;         // chosen before the window opens (its default image loaded)
};

std::unique_ptr<ui::Dialog> Make(int templateId, ui::Host& host, ToolState& state, const ToolDefinition& tool,
                                 const std::filesystem::path& work) {
  switch (templateId) {
    case res::kMainDialog:
      return std::make_unique<MainDialog>(host, state, tool, work);
    case res::kAboutDialog:
      return std::make_unique<AboutDialog>(host);
    case res::kRegisterDialog:
      return std::make_unique<RegisterDialog>(host, state);
    case res::kPlanDialog: {
      // Over our sample scan of a site, as the guide shows it.
      auto plan = std::make_unique<PlanDialog>(host, state);
      plan->SetScan(
          settings::ParseScan(test::ReadFile(std::filesystem::path(LX_TEST_DATA_DIR) / "scan-levels.csv"))
              .scan,
          "scan-levels.csv");
      return plan;
    }
    default:
      return std::make_unique<FileConvertDialog>(host, state);
  }
}

// Opens a window as the tool does and calls `shown` once it is up; the window closes after it.
void Show(const Window& w, const std::function<void(ui::qt::QtHost&, ui::Dialog&, QDialog&)>& shown) {
  const ToolDefinition& tool = w.tool();
  ui::qt::QtHost host(tool.resources, tool.profile.appName);
  ToolState state(tool.profile, LX_PROGRAM_DIR);
  // The windows show the paths of a working folder of their own.
  std::filesystem::path work = std::filesystem::path(LX_SCREENSHOT_DIR) / "work" / tool.program;
  std::filesystem::create_directories(work);
  state.PrepareDataDirectory(work);
  if (w.model >= 0) {
    ASSERT_TRUE(state.SelectChipModel(w.model).ok);
  }
  std::unique_ptr<ui::Dialog> dialog;
  if (w.settingsSlot < 0) dialog = Make(w.templateId, host, state, tool, work);
  bool up = false;
  host.onShown = [&](ui::Dialog& d, QDialog& q) {
    up = true;
    EXPECT_EQ(d.templateId(), w.templateId);
    if (w.templateId == res::kPlanDialog) {
      // A spacing of 320 kHz: one conflict, drawn in red and listed.
      d.UserFocus(res::planning::kSpacing);
      d.UserType(res::planning::kSpacing, "320");
      d.UserTab();
    }
    shown(host, d, q);
    d.UserClose();
  };
  if (dialog)
    dialog->DoModal();
  else
    tool.settings[static_cast<std::size_t>(w.settingsSlot)](host, state);
  EXPECT_TRUE(up);
}

// Why a control does not show its text whole where the style puts it; empty when it does.
std::string TextCut(const QWidget* w) {
  const QFontMetrics fm = w->fontMetrics();
  std::ostringstream why;
  auto line = [&](const QString& text, const QRect& box) {
    int width = fm.horizontalAdvance(text);
    if (width > box.width() || fm.height() > box.height())
      why << '"' << text.toStdString() << "\" needs " << width << "x" << fm.height() << " in " << box.width()
          << "x" << box.height() << "; ";
  };
  if (auto* l = qobject_cast<const QLabel*>(w)) {
    if (l->text().isEmpty()) return {};
    QRect box = l->contentsRect();
    if (!l->wordWrap()) {
      line(l->text(), box);
    } else {
      QRect need = fm.boundingRect(box, Qt::TextWordWrap, l->text());
      if (need.width() > box.width() || need.height() > box.height())
        why << '"' << l->text().toStdString() << "\" wraps to " << need.width() << "x" << need.height()
            << " in " << box.width() << "x" << box.height();
    }
  } else if (auto* g = qobject_cast<const QGroupBox*>(w)) {
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.textAlignment = g->alignment();
    opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
    line(g->title(), label.intersected(g->rect()));
  } else if (auto* c = qobject_cast<const QComboBox*>(w)) {
    // QLineEdit keeps 2 pixels free on either side of its text.
    QRect box = c->lineEdit()->contentsRect().adjusted(2, 0, -2, 0);
    for (int i = 0; i < c->count(); ++i) line(c->itemText(i), box);
  } else if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
    QStyle::SubElement contents = qobject_cast<const QRadioButton*>(b)  ? QStyle::SE_RadioButtonContents
                                  : qobject_cast<const QCheckBox*>(b)   ? QStyle::SE_CheckBoxContents
                                  : qobject_cast<const QPushButton*>(b) ? QStyle::SE_PushButtonContents
                                                                        : QStyle::SE_CustomBase;
    if (contents == QStyle::SE_CustomBase || b->text().isEmpty()) return {};  // picture buttons
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    line(b->text(), b->style()->subElementRect(contents, &opt, b));
  }
  return why.str();
}

// The checker itself: a text is cut exactly when its box is too small for it.
TEST(TextCut, FindsTextsTooWideForTheirBoxes) {
  const QString text = QStringLiteral("Time-Constant of Compandor Rectifier:");
  struct Case {
    int extra;  // pixels beyond the text's width
    bool wrap;
    bool cut;
  } cases[] = {{4, false, false}, {0, false, false}, {-1, false, true}, {-30, true, true}, {4, true, false}};
  for (const Case& c : cases) {
    QLabel label(text);
    label.setWordWrap(c.wrap);
    int width = label.fontMetrics().horizontalAdvance(text) + c.extra;
    label.resize(width, label.fontMetrics().height() + 4);
    EXPECT_EQ(TextCut(&label).empty(), !c.cut) << width << (c.wrap ? " wrapping" : "");
  }
  QRadioButton radio(text);
  int width = radio.fontMetrics().horizontalAdvance(text);
  radio.resize(width + 60, 20);  // room for the indicator too
  EXPECT_EQ(TextCut(&radio), "");
  radio.resize(width, 20);
  EXPECT_NE(TextCut(&radio), "");
}

class Screenshot : public ::testing::TestWithParam<Window> {};

TEST_P(Screenshot, ShowsEveryTextWhole) {
  const Window& w = GetParam();
  Show(w, [&](ui::qt::QtHost& host, ui::Dialog& d, QDialog&) {
    const ui::DialogTemplate& tpl = *w.tool().resources.dialog(w.templateId);
    ui::qt::DialogUnits u = ui::qt::UnitsOf(ui::qt::DialogFont(tpl));
    QRect client = host.clientOf(d)->rect();
    for (int i = 0; i < static_cast<int>(d.controls().size()); ++i) {
      QWidget* c = host.widgetAt(d, i);
      ASSERT_NE(c, nullptr);
      if (c->isHidden()) continue;
      const ui::ControlTemplate& t = *d.controls()[i].tpl;
      EXPECT_EQ(TextCut(c), "") << "control " << i << " of " << w.file;
      // A text that runs on past its box does so over free space, inside the window.
      QRect box = u.rect(t.x, t.y, t.cx, t.cy);
      if (c->width() <= box.width()) continue;
      EXPECT_TRUE(client.contains(c->geometry())) << "control " << i << " of " << w.file;
      for (int j = 0; j < static_cast<int>(d.controls().size()); ++j) {
        QWidget* o = host.widgetAt(d, j);
        if (j == i || o->isHidden()) continue;
        QRect other = o->geometry();
        if (d.controls()[j].kind() == ui::Kind::GroupBox) {
          if (other.contains(box)) {
            EXPECT_TRUE(other.contains(c->geometry())) << "control " << i << " of " << w.file;
          }
          continue;
        }
        EXPECT_FALSE(c->geometry().intersects(other) && !box.intersects(other))
            << "control " << i << " runs into control " << j << " of " << w.file;
      }
    }
  });
}

TEST_P(Screenshot, RendersAtItsTemplateSize) {
  const Window& w = GetParam();
  const ToolDefinition& tool = w.tool();
  const ui::DialogTemplate& tpl = *tool.resources.dialog(w.templateId);
  QImage shot;
  QSize client, window;
  int menuHeight = 0;
  Show(w, [&](ui::qt::QtHost& host, ui::Dialog& d, QDialog& q) {
    client = host.clientOf(d)->size();
    window = q.size();
    if (QMenuBar* bar = q.findChild<QMenuBar*>()) menuHeight = bar->height();
    shot = q.grab().toImage();
  });
  ASSERT_FALSE(shot.isNull());

  QDir().mkpath(LX_SCREENSHOT_DIR);
  QString path = QString(LX_SCREENSHOT_DIR) + "/" + w.file;
  ASSERT_TRUE(shot.save(path)) << path.toStdString();

  EXPECT_EQ(client, ui::qt::ClientSize(tpl));
  EXPECT_EQ(window, QSize(client.width(), client.height() + menuHeight));
  EXPECT_EQ(w.templateId == res::kMainDialog, menuHeight > 0);
  // The dialog font gives dialog units their size: the template's width at 4 units per
  // average character.
  ui::qt::DialogUnits u = ui::qt::UnitsOf(ui::qt::DialogFont(tpl));
  EXPECT_GT(u.baseX, 4);
  EXPECT_NEAR(client.width(), tpl.cx * u.baseX / 4.0, 1.0);
  EXPECT_NEAR(client.height(), tpl.cy * u.baseY / 8.0, 1.0);
  if (w.templateId == res::kMainDialog) {
    // White background; picture buttons at the size of their faces.
    EXPECT_EQ(shot.pixelColor(2, menuHeight + 2), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(shot.width() - 3, shot.height() - 3), QColor(Qt::white));
    ui::qt::QtHost host(tool.resources, tool.profile.appName);
    EXPECT_EQ(host.picture(res::kPicButton1000).size(), QSize(129, 116));
    EXPECT_EQ(host.picture(res::kPicButton1000Pressed).size(), QSize(130, 117));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, Screenshot,
    ::testing::Values(Window{"ambrel-main.png", AmbrelTool, res::kMainDialog},
                      Window{"ambrel-about.png", AmbrelTool, res::kAboutDialog},
                      Window{"ambrel-convert.png", AmbrelTool, res::kConvertDialog},
                      Window{"ambrel-rf.png", AmbrelTool, res::kTxRfDialog, 0, 1},
                      Window{"ambrel-audio.png", AmbrelTool, res::kTxAudioDialog, 1, 1},
                      Window{"ambrel-other.png", AmbrelTool, res::kTxOtherDialog, 2, 1},
                      Window{"ostrel-main.png", OstrelTool, res::kMainDialog},
                      Window{"ostrel-about.png", OstrelTool, res::kAboutDialog},
                      Window{"ostrel-convert.png", OstrelTool, res::kConvertDialog},
                      Window{"ostrel-sound.png", OstrelTool, res::kSoundEffectDialog, 0, 0},
                      Window{"ostrel-audio.png", OstrelTool, res::kRxAudioDialog, 1, 0},
                      Window{"ostrel-other.png", OstrelTool, res::kRxOtherDialog, 2, 0},
                      Window{"ambrel-channel.png", AmbrelTool, res::channel::kDialog, 3, 1},
                      Window{"ostrel-channel.png", OstrelTool, res::channel::kDialog, 3, 2},
                      Window{"ambrel-registers.png", AmbrelTool, res::kRegisterDialog, -1, 1},
                      Window{"ostrel-registers.png", OstrelTool, res::kRegisterDialog, -1, 2},
                      Window{"ambrel-planning.png", AmbrelTool, res::kPlanDialog, -1, 1},
                      Window{"ostrel-planning.png", OstrelTool, res::kPlanDialog, -1, 1}),
    [](const ::testing::TestParamInfo<Window>& info) { return test::TestNameOf(info.param.file); });

}  // namespace
}  // namespace lx::app
