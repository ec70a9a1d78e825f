// Driving real Qt windows: a click on a model radio enables the picture buttons; choosing
// LX7250, saving and converting to a binary image works end to end through the file dialogs
// and message boxes of the Qt host; the channel dialog takes typed text through the focus
// changes of real widgets.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <fstream>

#include "app/main_dialog.h"
#include "resources/ambrel_tx_ids.h"
#include "resources/channel_ids.h"
#include "resources/ids.h"
#include "resources/rx_ids.h"
#include "tests/support/bindings.h"
#include "tests/support/files.h"
#include "tx/tx_dialogs.h"
#include "tx/tx_other_dialog.h"
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

// Whether a widget shows its dotted focus rectangle through `p`: every other pixel is dark.
bool Dotted(QWidget* w, QPoint p) {
  QImage image = w->grab().toImage();
  return image.pixelColor(p) != image.pixelColor(p + QPoint(1, 0));
}

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
    for (int id : res::main_window::kPictureButtons) EXPECT_FALSE(host.widgetOf(d, id)->isEnabled());
    auto* radio = qobject_cast<QRadioButton*>(host.widgetOf(d, res::main_window::kModelRadios[1]));
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->palette().color(QPalette::WindowText), QColor(0, 102, 153));
    QTest::mouseClick(radio, Qt::LeftButton);
    EXPECT_TRUE(radio->isChecked());
    for (int id : res::main_window::kPictureButtons) EXPECT_TRUE(host.widgetOf(d, id)->isEnabled()) << id;
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
      QTest::mouseClick(host.widgetOf(d, res::main_window::kModelRadios[1]), Qt::LeftButton);  // LX7250
      AnswerFile(header.string());
      Trigger(window, "保存");
      EXPECT_EQ(fs::file_size(header), 1938u);
      Trigger(window, "文件转换");
      QTest::keyClick(&window, Qt::Key_Escape);
    } else if (d.templateId() == res::kConvertDialog) {
      // The window manager minimises and restores a dialog with the window it came from.
      EXPECT_EQ(window.windowHandle()->transientParent(), host.windowOf(main)->windowHandle());
      auto* headerBox = qobject_cast<QLineEdit*>(host.widgetOf(d, res::convert::kHeaderPathBox));
      EXPECT_EQ(headerBox->text().toStdString(), (work.path() / "data").string());
      AnswerFile(header.string());
      QTest::mouseClick(host.widgetOf(d, res::convert::kBrowseHeader), Qt::LeftButton);
      EXPECT_EQ(headerBox->text().toStdString(), header.string());
      AnswerFile(binary.string());
      WhenModal<QMessageBox>([&](QMessageBox* box) {
        messages.push_back(box->text().toStdString());
        EXPECT_EQ(box->windowTitle(), "Ambrel");
        // Wide enough for a title bar to show the title whole beside its icon and three buttons.
        QFont bold = box->font();
        bold.setBold(true);
        EXPECT_GE(box->width(), QFontMetrics(bold).horizontalAdvance(box->windowTitle()) +
                                    4 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight));
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

// Ostrel's receiver dialogs open from their picture buttons in the real window; their lists,
// radio buttons and the volume slider answer mouse and keys; OK writes the image.
TEST(QtWindow, OstrelSettingsDialogsOpenFromTheirPictureButtons) {
  TempDir work;
  ui::qt::QtHost host(OstrelTool().resources, "Ostrel");
  ToolState state(OstrelProfile(), LX_PROGRAM_DIR);
  MainDialog main(host, state, OstrelTool(), work.path());
  std::vector<int> opened;
  RegisterImage defaults{};
  std::vector<int> volumes;  // the box after each move of the slider
  host.onShown = [&](ui::Dialog& d, QDialog& window) {
    opened.push_back(d.templateId());
    auto click = [&](int id) { QTest::mouseClick(host.widgetOf(d, id), Qt::LeftButton); };
    auto enabled = [&](int id) { return host.widgetOf(d, id)->isEnabled(); };
    switch (d.templateId()) {
      case res::kMainDialog:
        click(res::main_window::kFirstModelRadio);  // LX7140
        defaults = state.words;
        for (int id : {res::main_window::kFirstSettings, res::main_window::kSecondSettings, res::main_window::kThirdSettings}) click(id);
        QTest::keyClick(&window, Qt::Key_Escape);
        break;
      case res::kSoundEffectDialog: {
        auto* bass = qobject_cast<QComboBox*>(host.widgetOf(d, res::rx_sound::kBassList));
        ASSERT_NE(bass, nullptr);
        EXPECT_EQ(bass->count(), 4);
        EXPECT_EQ(bass->currentIndex(), static_cast<int>(defaults[0x1f] & 3));
        bass->setCurrentIndex(0);
        QTest::keyClick(bass, Qt::Key_Down);  // "6dB"
        EXPECT_EQ(bass->currentText().toStdString(), "6dB");
        click(ui::kIdOk);
        break;
      }
      case res::kRxAudioDialog: {
        auto* slider = qobject_cast<QSlider*>(host.widgetOf(d, res::rx_audio::kVolumeSlider));
        auto* box = qobject_cast<QLineEdit*>(host.widgetOf(d, res::rx_audio::kVolumeBox));
        ASSERT_TRUE(slider && box);
        EXPECT_EQ(slider->orientation(), Qt::Vertical);
        const int volume = static_cast<int>(defaults[0x1a] & 0x1F);
        EXPECT_EQ(slider->value(), 31 - volume);
        EXPECT_EQ(box->text().toInt(), volume);
        auto settle = [&] {
          // The box follows the slider once it has repainted: volume = 31 - position.
          EXPECT_TRUE(QTest::qWaitFor([&] { return box->text().toInt() == 31 - slider->value(); }, 5000));
          volumes.push_back(box->text().toInt());
        };
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Up);
        settle();
        QTest::keyClick(slider, Qt::Key_Down);
        QTest::keyClick(slider, Qt::Key_Down);
        settle();
        QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, 2));  // above the thumb
        settle();
        QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, slider->height() - 2));
        settle();
        click(res::rx_audio::kDisableExpander);
        EXPECT_FALSE(enabled(res::rx_audio::kTimeConstantList));
        click(ui::kIdOk);
        break;
      }
      case res::kRxOtherDialog: {
        using namespace res::rx_other;
        const int kAutomuteGated[] = {kEnablePilotAutomute, kDisablePilotAutomute, kEnableSnrAutomute,
                                      kDisableSnrAutomute,  kHighThresholdSlider,  kLowThresholdSlider,
                                      kHighThresholdBox,    kLowThresholdBox};
        click(res::rx_other::kDisableAutomute);
        for (int id : kAutomuteGated) EXPECT_FALSE(enabled(id)) << id;
        click(res::rx_other::kEnableAutomute);
        for (int id : kAutomuteGated) EXPECT_TRUE(enabled(id)) << id;
        click(res::rx_other::kDisableAfc);
        EXPECT_FALSE(enabled(res::rx_other::kAfcRangeList));
        click(ui::kIdOk);
        break;
      }
    }
  };
  main.DoModal();
  EXPECT_EQ(opened, (std::vector<int>{res::kMainDialog, res::kSoundEffectDialog, res::kRxAudioDialog,
                                      res::kRxOtherDialog}));
  // Up raises the volume, Down lowers it; a click above the thumb raises it, below lowers it.
  const int volume = defaults[0x1a] & 0x1F;
  ASSERT_EQ(volumes.size(), 4u);
  EXPECT_EQ(volumes[0], volume + 1);
  EXPECT_EQ(volumes[1], volume - 1);
  EXPECT_GT(volumes[2], volumes[1]);
  EXPECT_LT(volumes[3], volumes[2]);
  EXPECT_EQ(state.words[0x1f] & 0x3, 1);            // bass "6dB"
  EXPECT_EQ(state.words[0x1f] & 0x8000, 0x8000);    // expander off
  EXPECT_EQ(state.words[0x1a] & 0x1F, volumes[3]);  // the last volume shown
  EXPECT_EQ(state.words[0x1d] & 0x80, 0);           // AFC off
  EXPECT_EQ(state.words[0x1d] & ~0x80, defaults[0x1d] & ~0x80);
}

TEST(QtWindow, ChannelDialogEndToEnd) {
  TempDir work;
  // The proposed name: a busy machine may load the file dialog's own selection after ours.
  fs::path header = work.path() / "data" / "EEPROM.h";
  ui::qt::QtHost host(AmbrelTool().resources, "Ambrel");
  ToolState state(AmbrelProfile(), LX_PROGRAM_DIR);
  MainDialog main(host, state, AmbrelTool(), work.path());
  std::vector<std::string> messages;
  bool channelShown = false;
  auto text = [&](ui::Dialog& d, int id) {
    return qobject_cast<QLineEdit*>(host.widgetOf(d, id))->text().toStdString();
  };
  host.onShown = [&](ui::Dialog& d, QDialog& window) {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    if (d.templateId() == res::kMainDialog) {
      QTest::mouseClick(host.widgetOf(d, res::main_window::kModelRadios[1]), Qt::LeftButton);   // LX7250
      QTest::mouseClick(host.widgetOf(d, res::main_window::kChannelSettings), Qt::LeftButton);  // runs the channel dialog
      AnswerFile(header.string());
      Trigger(window, "保存");
      QTest::keyClick(&window, Qt::Key_Escape);
      return;
    }
    ASSERT_EQ(d.templateId(), res::channel::kDialog);
    channelShown = true;
    EXPECT_EQ(window.windowTitle().toStdString(), "频道配置");
    EXPECT_TRUE(host.widgetOf(d, ui::kIdOk)->hasFocus());
    const int first = res::channel::kChannelBox[0], firstAdvice = res::channel::kInductanceBox[0];
    auto* box = qobject_cast<QLineEdit*>(host.widgetOf(d, first));
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_TRUE(box->hasFocus());
    box->selectAll();
    QTest::keyClicks(box, "606015");  // inside the 20 kHz window of 606000
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(text(d, first), "606000");
    EXPECT_EQ(text(d, firstAdvice), "3.0nH");
    // A channel out of range: the message box of the Qt host, then the range's low end.
    WhenModal<QMessageBox>([&](QMessageBox* m) {
      messages.push_back(m->text().toStdString());
      m->accept();
    }, 400);
    auto* second = qobject_cast<QLineEdit*>(host.widgetOf(d, res::channel::kChannelBox[1]));
    EXPECT_TRUE(second->hasFocus());
    second->selectAll();
    QTest::keyClicks(second, "300000");
    QTest::keyClick(second, Qt::Key_Tab);
    EXPECT_EQ(text(d, res::channel::kChannelBox[1]), "470000");
    EXPECT_EQ(text(d, res::channel::kInductanceBox[1]), "5.6nH");
    EXPECT_EQ(d.focusId(), res::channel::kChannelBox[2]);
    window.activateWindow();  // back from the message box
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(host.widgetOf(d, res::channel::kChannelBox[2])->hasFocus());
    QTest::mouseClick(host.widgetOf(d, res::channel::kFillLeftBank), Qt::LeftButton);
    for (int k = 1; k < 8; ++k) {
      EXPECT_EQ(text(d, res::channel::kChannelBox[k]), "606000") << k;
      EXPECT_EQ(text(d, res::channel::kInductanceBox[k]), "3.0nH") << k;
    }
    QTest::mouseClick(host.widgetOf(d, ui::kIdOk), Qt::LeftButton);
    EXPECT_TRUE(d.ended());
  };
  main.DoModal();
  EXPECT_TRUE(channelShown);
  EXPECT_EQ(messages, std::vector<std::string>{"请输入正确的频道:470000KHz~960000KHz"});
  std::ifstream in(header);
  std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (int word = 0x40; word < 0x50; word += 2) {
    char control[32], fraction[32];
    std::snprintf(control, sizeof control, "0x64d8,   //reg%02x", word);
    std::snprintf(fraction, sizeof fraction, "0x7fff,   //reg%02x", word + 1);
    EXPECT_NE(saved.find(control), std::string::npos) << control;
    EXPECT_NE(saved.find(fraction), std::string::npos) << fraction;
  }
  EXPECT_NE(saved.find("0x68c7,   //reg50"), std::string::npos);  // the right bank as loaded
}

// The pending value of the binding of `field` in a settings dialog.
uint32_t Pending(const ui::Dialog& d, TxField field) {
  const settings::FieldBinding* b = test::BindingOf(d, Field(field));
  return b == nullptr ? 0 : b->value();
}

TEST(QtWindow, AmbrelPictureButtonsOpenTheTransmitterDialogs) {
  TempDir work;
  ui::qt::QtHost host(AmbrelTool().resources, "Ambrel");
  ToolState state(AmbrelProfile(), LX_PROGRAM_DIR);
  MainDialog main(host, state, AmbrelTool(), work.path());
  std::vector<int> shown;
  host.onShown = [&](ui::Dialog& d, QDialog& window) {
    shown.push_back(d.templateId());
    if (d.templateId() == res::kMainDialog) {
      QTest::mouseClick(host.widgetOf(d, res::main_window::kModelRadios[1]),
                        Qt::LeftButton);  // LX7250: PA gain 8, blink 112, light 104
      for (int button : {res::main_window::kFirstSettings, res::main_window::kSecondSettings,
                         res::main_window::kThirdSettings})
        QTest::mouseClick(host.widgetOf(d, button), Qt::LeftButton);
      // The picture button clicked last has the focus, and shows it.
      QWidget* third = host.widgetOf(d, res::main_window::kThirdSettings);
      window.activateWindow();
      EXPECT_TRUE(QTest::qWaitFor([&] { return third->hasFocus(); }));
      EXPECT_TRUE(Dotted(third, {third->width() / 2, 3}));
      EXPECT_FALSE(Dotted(host.widgetOf(d, res::main_window::kSecondSettings), {third->width() / 2, 3}));
      QTest::keyClick(&window, Qt::Key_Escape);
    } else if (d.templateId() == res::kTxRfDialog) {
      EXPECT_EQ(window.windowTitle(), "射频配置");
      auto* slider = qobject_cast<QSlider*>(host.widgetOf(d, res::tx_rf::kPaGainSlider));
      ASSERT_NE(slider, nullptr);
      EXPECT_EQ(slider->value(), 8);
      EXPECT_EQ(slider->tickPosition(), QSlider::TicksAbove);
      slider->setFocus();
      // The focused slider and push button show the dotted focus rectangle, the others none.
      QWidget* ok = host.widgetOf(d, ui::kIdOk);
      EXPECT_TRUE(Dotted(slider, {slider->width() / 2, 0}));
      EXPECT_FALSE(Dotted(ok, {ok->width() / 2, 4}));
      ok->setFocus();
      EXPECT_TRUE(Dotted(ok, {ok->width() / 2, 4}));
      EXPECT_FALSE(Dotted(slider, {slider->width() / 2, 0}));
      slider->setFocus();
      QTest::keyClick(slider, Qt::Key_Left);
      // The slider's repaint reports the new position.
      EXPECT_TRUE(QTest::qWaitFor([&] { return Pending(d, TxField::PaGain) == 7; }));
      QTest::mouseClick(host.widgetOf(d, ui::kIdOk), Qt::LeftButton);
    } else if (d.templateId() == res::kTxAudioDialog) {
      EXPECT_EQ(window.windowTitle(), "音频配置");
      QTest::mouseClick(host.widgetOf(d, res::tx_audio::kDisableCompressor), Qt::LeftButton);
      EXPECT_FALSE(host.widgetOf(d, res::tx_audio::kTimeConstantList)->isEnabled());
      QTest::mouseClick(host.widgetOf(d, ui::kIdOk), Qt::LeftButton);
    } else if (d.templateId() == res::kTxOtherDialog) {
      EXPECT_EQ(window.windowTitle(), "其他配置");
      EXPECT_FALSE(host.widgetOf(d, res::tx_other::kTxIdBox)->isVisible());
      // Two clicks left of the blink thumb take it below the light threshold; released, it
      // goes back onto it.
      auto* blink = qobject_cast<QSlider*>(host.widgetOf(d, res::tx_other::kBlinkSlider));
      ASSERT_NE(blink, nullptr);
      for (int i = 0; i < 2; ++i) QTest::mouseClick(blink, Qt::LeftButton, {}, QPoint(4, blink->height() / 2));
      EXPECT_TRUE(QTest::qWaitFor([&] { return blink->value() == 104; }));
      EXPECT_EQ(Pending(d, TxField::BlinkThreshold), 104u);
      QTest::mouseClick(host.widgetOf(d, res::tx_other::kDisablePilot), Qt::LeftButton);
      EXPECT_FALSE(host.widgetOf(d, res::tx_other::kMutePilot)->isEnabled());
      QTest::mouseClick(host.widgetOf(d, ui::kIdOk), Qt::LeftButton);
    }
  };
  main.DoModal();
  EXPECT_EQ(shown,
            (std::vector<int>{res::kMainDialog, res::kTxRfDialog, res::kTxAudioDialog, res::kTxOtherDialog}));
  EXPECT_EQ(ReadField(Field(TxField::PaGain), state.words), 7u);
  EXPECT_EQ(ReadField(Field(TxField::Compressor), state.words), 1u);  // a set bit disables it
  EXPECT_EQ(ReadField(Field(TxField::BlinkThreshold), state.words), 104u);
  EXPECT_EQ(ReadField(Field(TxField::Pilot), state.words), 0u);
}

}  // namespace
}  // namespace lx::app
