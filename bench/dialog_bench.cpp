// lx_dialog_bench [--rounds N]
// Click to first paint of every dialog the main window of each tool opens (its four picture
// buttons and the File conversion and About commands), in the Qt host, against a bare Qt dialog
// with a similar set of controls opened from a button click in the same process, runs
// interleaved. A dialog's first frame ends when the last paint event of the window's first
// update has been handled. Buttons whose dialog is not built yet open nothing and are listed
// as such.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>

#include "app/main_dialog.h"
#include "app/plan_dialog.h"
#include "bench/figures.h"
#include "channel/codec.h"
#include "resources/ids.h"
#include "settings/frequency_plan.h"
#include "ui/qt/qt_host.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Notes the paint events of a window that was not up before the click; the first one found
// schedules that window's close, which runs once the paint is over.
class PaintWatch : public QObject {
 public:
  bool measuring = false;
  QWidgetList before;  // windows that were up before the click
  QWidget* opened = nullptr;
  Clock::time_point lastPaint;

  bool eventFilter(QObject* obj, QEvent* event) override {
    if (event->type() != QEvent::Paint || !obj->isWidgetType()) return false;
    QWidget* top = static_cast<QWidget*>(obj)->window();
    if (!measuring || before.contains(top)) return false;
    lastPaint = Clock::now();
    if (!opened) {
      opened = top;
      QTimer::singleShot(0, top, [top] { top->close(); });
    }
    return false;
  }

  // Runs the click; returns the milliseconds from the click to the end of the first frame of
  // the window it opened, or a negative value when it opened none.
  double Measure(const std::function<void()>& click) {
    before.clear();
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible()) before.append(w);
    opened = nullptr;
    measuring = true;
    const Clock::time_point start = Clock::now();
    click();  // returns once the opened window's modal loop has ended
    measuring = false;
    if (!opened) return -1;
    return std::chrono::duration<double, std::milli>(lastPaint - start).count();
  }
};

// The floor: a dialog with about as many controls as a settings dialog, built and run on a click.
void BareDialog() {
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Bare settings dialog"));
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(12);
  dialog.setFont(font);
  int y = 10;
  auto* group = new QGroupBox(QStringLiteral("设置"), &dialog);
  group->setGeometry(5, 2, 420, 250);
  for (int i = 0; i < 4; ++i, y += 30) {
    (new QLabel(QStringLiteral("选项 %1:").arg(i), &dialog))->setGeometry(15, y + 10, 80, 20);
    auto* combo = new QComboBox(&dialog);
    for (int k = 0; k < 8; ++k) combo->addItem(QStringLiteral("%1dB").arg(k * 3));
    combo->setGeometry(100, y + 8, 100, 22);
    auto* on = new QRadioButton(QStringLiteral("Enable"), &dialog);
    on->setGeometry(220, y + 10, 70, 20);
    on->setChecked(true);
    (new QRadioButton(QStringLiteral("Disable"), &dialog))->setGeometry(300, y + 10, 70, 20);
  }
  for (int i = 0; i < 2; ++i, y += 30) {
    auto* slider = new QSlider(Qt::Horizontal, &dialog);
    slider->setRange(0, 127);
    slider->setGeometry(15, y + 10, 250, 22);
    (new QLineEdit(QStringLiteral("468.75"), &dialog))->setGeometry(280, y + 10, 60, 22);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->setGeometry(180, y + 30, 240, 30);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  dialog.resize(430, y + 70);
  dialog.exec();
}

struct Row {
  std::string what;
  std::vector<double> ours, floor;
};

void MeasureTool(const lx::app::ToolDefinition& tool, const fs::path& programDir, const fs::path& work,
                 int rounds, PaintWatch& watch, std::vector<Row>& rows) {
  lx::ui::qt::QtHost host(tool.resources, tool.profile.appName);
  lx::ToolState state(tool.profile, programDir);
  lx::app::MainDialog main(host, state, tool, work);
  bool measured = false;
  host.onShown = [&](lx::ui::Dialog& d, QDialog& window) {
    if (&d != &main || measured) return;
    measured = true;
    static_cast<QAbstractButton*>(host.widgetOf(main, 1001))->click();  // a model: the buttons come alive

    struct Opener {
      std::string name;
      std::function<void()> click;
      std::string caption;  // of the window it opens
    };
    const auto captionOf = [&](int templateId) {
      const lx::ui::DialogTemplate* tpl = tool.resources.dialog(templateId);
      return tpl ? std::string(tpl->caption) : std::string();
    };
    std::vector<Opener> openers;
    int templateId = 140;  // the settings dialogs, in picture-button order
    for (int id : {1000, 1004, 1005, 1006}) {
      auto* button = static_cast<QAbstractButton*>(host.widgetOf(main, id));
      openers.push_back({"picture button " + std::to_string(id), [button] { button->click(); }, captionOf(templateId++)});
    }
    const lx::ui::MenuTemplate* menu = tool.resources.menu(lx::res::kMainMenu);
    for (int command : {32775, 32774}) {
      for (const lx::ui::MenuItemTemplate& item : menu->items) {
        if (item.command != command) continue;
        for (QAction* a : window.findChild<QMenuBar*>()->findChildren<QAction*>())
          if (a->text() == QString::fromUtf8(item.text))
            openers.push_back({std::string("menu ") + item.text, [a] { a->trigger(); },
                               captionOf(command == 32775 ? lx::res::kConvertDialog : lx::res::kAboutDialog)});
      }
    }
    // The planning window over all 16 channels and a site scan of 10,000 points.
    // The scan covers the bank's span, so that every point is drawn.
    long low = 2000000, high = 0;
    for (int k = 0; k < lx::kChannelCount; ++k) {
      const long f = lx::DecodeChannel(state.profile(), state.chipModel, state.crystalKHz,
                                       lx::ReadChannelWords(state.words, k));
      low = std::min(low, f), high = std::max(high, f);
    }
    const lx::settings::Scan scan =
        lx::settings::ParseScan(lx::bench::SiteScan(10000, low - 500, high + 500)).scan;
    openers.push_back({"planning, 10000-pt scan",
                       [&] {
                         lx::app::PlanDialog plan(host, state);
                         plan.SetScan(scan, "site.csv");
                         plan.DoModal();
                       },
                       captionOf(lx::res::kPlanDialog)});
    std::map<std::string, Row> byName;
    std::vector<std::string> order;
    for (int r = 0; r < rounds + 1; ++r) {
      for (const Opener& o : openers) {
        const double ms = watch.Measure(o.click);
        const std::string& title = o.caption;
        const double floor = watch.Measure(BareDialog);
        if (r == 0) continue;  // the first round warms the caches
        const std::string what =
            std::string(tool.program) + ": " + o.name + (ms < 0 ? "" : " \"" + title + "\"");
        if (!byName.count(o.name)) order.push_back(o.name);
        Row& row = byName[o.name];
        row.what = what;
        if (ms >= 0) row.ours.push_back(ms);
        row.floor.push_back(floor);
      }
    }
    for (const std::string& name : order) rows.push_back(byName[name]);
    main.UserClose();
  };
  main.DoModal();
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = 15;
  for (int i = 1; i < argc; ++i)
    if (!std::strcmp(argv[i], "--rounds") && i + 1 < argc) rounds = std::atoi(argv[++i]);
  QApplication app(argc, argv);
  const fs::path programDir = fs::read_symlink("/proc/self/exe").parent_path();
  const fs::path work = fs::temp_directory_path() / ("lx-dialog-bench-" + std::to_string(getpid()));
  fs::create_directories(work);
  PaintWatch watch;
  app.installEventFilter(&watch);
  std::vector<Row> rows;
  MeasureTool(lx::app::AmbrelTool(), programDir, work, rounds, watch, rows);
  MeasureTool(lx::app::OstrelTool(), programDir, work, rounds, watch, rows);
  bool met = true;
  for (const Row& row : rows) {
    if (row.ours.empty()) {
      const std::string padded =
          row.what + std::string(std::max(0, 44 - lx::bench::DisplayWidth(row.what)), ' ');
      std::printf("%s %12s %12s %7s  (opens no dialog yet)\n", padded.c_str(), "-", "-", "-");
      continue;
    }
    // The planning window draws thousands of items: held to its own budget.
    const double budget = row.what.find("planning") != std::string::npos ? 50 : 16;
    met &= lx::bench::PrintRow(row.what, lx::bench::Median(row.ours), lx::bench::Median(row.floor), "ms", 0,
                               budget);
  }
  std::error_code ec;
  fs::remove_all(work, ec);
  return met ? 0 : 1;
}
