// Every window of both tools rendered by the Qt host offscreen: a PNG per window under
// <build>/screenshots/, and each window's size checked against its template.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QImage>
#include <QMenuBar>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/about_dialog.h"
#include "app/file_convert_dialog.h"
#include "app/main_dialog.h"
#include "resources/ambrel_tx_ids.h"
#include "resources/channel_ids.h"
#include "resources/ids.h"
#include "resources/rx_ids.h"
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
    case res::kMainDialog: return std::make_unique<MainDialog>(host, state, tool, work);
    case res::kAboutDialog: return std::make_unique<AboutDialog>(host);
    default: return std::make_unique<FileConvertDialog>(host, state);
  }
}

class Screenshot : public ::testing::TestWithParam<Window> {};

TEST_P(Screenshot, RendersAtItsTemplateSize) {
  const Window& w = GetParam();
  const ToolDefinition& tool = w.tool();
  ui::qt::QtHost host(tool.resources, tool.profile.appName);
  ToolState state(tool.profile, LX_PROGRAM_DIR);
  // The windows show the paths of a working folder of their own.
  std::filesystem::path work = std::filesystem::path(LX_SCREENSHOT_DIR) / "work" / tool.program;
  std::filesystem::create_directories(work);
  state.PrepareDataDirectory(work);
  if (w.model >= 0) ASSERT_TRUE(state.SelectChipModel(w.model).ok);
  std::unique_ptr<ui::Dialog> dialog;
  if (w.settingsSlot < 0) dialog = Make(w.templateId, host, state, tool, work);
  const ui::DialogTemplate& tpl = *tool.resources.dialog(w.templateId);

  bool shown = false;
  int shownTemplate = 0;
  QImage shot;
  QSize client, window;
  int menuHeight = 0;
  host.onShown = [&](ui::Dialog& d, QDialog& q) {
    shown = true;
    shownTemplate = d.templateId();
    client = host.clientOf(d)->size();
    window = q.size();
    if (QMenuBar* bar = q.findChild<QMenuBar*>()) menuHeight = bar->height();
    shot = q.grab().toImage();
    d.UserClose();
  };
  if (dialog)
    dialog->DoModal();
  else
    tool.settings[static_cast<std::size_t>(w.settingsSlot)](host, state);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shownTemplate, w.templateId);

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
                      Window{"ostrel-channel.png", OstrelTool, res::channel::kDialog, 3, 2}),
    [](const ::testing::TestParamInfo<Window>& info) {
      std::string name = info.param.file;
      name = name.substr(0, name.find('.'));
      std::erase(name, '-');
      return name;
    });

}  // namespace
}  // namespace lx::app
