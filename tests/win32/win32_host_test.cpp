// The Win32 host under Wine: every template of both tools as a native dialog, and the About
// entry in the main window's system menu. (Every scenario script on the native windows against
// the headless host: tests/hosts/scenario_diff_test.cpp.)
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <fstream>
#include <random>
#include <sstream>

#include "app/config_app.h"
#include "app/scenario.h"
#include "app/tool.h"
#include "core/path_text.h"
#include "ui/win32/win32_host.h"

namespace lx::ui::win32 {
namespace {

namespace fs = std::filesystem;

const app::ToolDefinition* const kTools[] = {&app::AmbrelTool(), &app::OstrelTool()};

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

const wchar_t* NativeClass(Kind kind) {
  switch (kind) {
    case Kind::Edit:
      return L"Edit";
    case Kind::ComboBox:
      return L"ComboBox";
    case Kind::Slider:
      return TRACKBAR_CLASSW;
    case Kind::Label:
    case Kind::Icon:
    case Kind::Plot:
      return L"Static";
    default:
      return L"Button";
  }
}

TEST(DialogTemplate, FiltersBecomeTheCommonDialogsList) {
  EXPECT_EQ(CommonDialogFilter("head files(*.h)|*.h||"), std::wstring(L"head files(*.h)\0*.h\0\0", 21));
  EXPECT_EQ(CommonDialogFilter("bin files(*.bin)|*.bin|All|*.*||"),
            std::wstring(L"bin files(*.bin)\0*.bin\0All\0*.*\0\0", 32));
  EXPECT_EQ(Utf8(Wide("频道 00 ±")), "频道 00 ±");
}

// Each template opened as a native dialog: Windows lays the controls out in dialog units of the
// template's font, in the template's order, with its styles.
TEST(NativeDialog, EveryTemplateOfBothToolsOpensAsTheTemplateSays) {
  for (const app::ToolDefinition* tool : kTools) {
    Win32Host host(tool->resources, tool->profile.appName);
    for (const DialogTemplate* tpl : tool->resources.dialogs) {
      SCOPED_TRACE(std::string(tool->program) + " template " + std::to_string(tpl->id));
      Dialog dialog(host, tpl->id);
      bool shown = false;
      host.onShown = [&](Dialog& d, HWND hwnd) {
        shown = true;
        EXPECT_EQ(TextOf(hwnd), tpl->caption);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(Utf8(font.lfFaceName), tpl->fontFace);
        HWND previous = nullptr;
        for (int i = 0; i < static_cast<int>(d.controls().size()); ++i) {
          const ControlState& c = d.controls()[i];
          const ControlTemplate& t = *c.tpl;
          SCOPED_TRACE("control " + std::to_string(t.id) + " \"" + (t.text ? t.text : "") + "\"");
          HWND w = GetDlgItem(hwnd, NativeId(t, i));
          ASSERT_NE(w, nullptr);
          EXPECT_EQ(ClassOf(w), NativeClass(t.kind));
          if (t.kind != Kind::Icon && t.kind != Kind::ComboBox) {
            EXPECT_EQ(TextOf(w), c.text);
          }
          EXPECT_EQ(IsWindowVisible(w) != 0, c.visible);
          EXPECT_EQ(IsWindowEnabled(w) != 0, c.enabled);
          EXPECT_EQ((GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP) != 0, (t.style & kTabStop) != 0);
          // Template order is the windows' order, and so the tab order.
          if (previous) {
            EXPECT_EQ(GetWindow(previous, GW_HWNDNEXT), w);
          }
          previous = w;
          // The dialog manager converts position and size each on its own.
          RECT units{t.x, t.y, t.cx, t.cy};
          MapDialogRect(hwnd, &units);
          const RECT expected{units.left, units.top, units.left + units.right, units.top + units.bottom};
          RECT actual;
          GetWindowRect(w, &actual);
          MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&actual), 2);
          EXPECT_EQ(actual.left, expected.left);
          EXPECT_EQ(actual.top, expected.top);
          if (t.kind != Kind::Icon && t.kind != Kind::ComboBox) {
            EXPECT_EQ(actual.right, expected.right);
            EXPECT_EQ(actual.bottom, expected.bottom);
          }
        }
        d.EndDialog(kIdCancel);
      };
      EXPECT_EQ(dialog.DoModal(), kIdCancel);
      EXPECT_TRUE(shown);
    }
  }
}

fs::path FreshFolder() {
  std::random_device random;
  fs::path p = fs::temp_directory_path() / ("lxwin32-" + std::to_string(random()) + std::to_string(random()));
  fs::create_directories(p);
  return p;
}

// On Windows the About entry is in the system menu, below a separator, and opens the about box.
TEST(NativeMainWindow, SystemMenuCarriesTheAboutEntry) {
  for (const app::ToolDefinition* tool : kTools) {
    const fs::path work = FreshFolder();
    Win32Host host(tool->resources, tool->profile.appName);
    std::vector<int> opened;
    std::string entry;
    host.onShown = [&](Dialog& d, HWND hwnd) {
      opened.push_back(d.templateId());
      if (d.templateId() == 102) {
        HMENU system = GetSystemMenu(hwnd, FALSE);
        const int n = GetMenuItemCount(system);
        wchar_t text[64] = {};
        GetMenuStringW(system, static_cast<UINT>(n - 1), text, 64, MF_BYPOSITION);
        entry = Utf8(text);
        EXPECT_EQ(GetMenuItemID(system, n - 1), 0x10u);
        EXPECT_TRUE(GetMenuState(system, static_cast<UINT>(n - 2), MF_BYPOSITION) & MF_SEPARATOR);
        PostMessageW(hwnd, WM_SYSCOMMAND, 0x10, 0);
      } else {
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);  // Enter in the about box
        PostMessageW(GetWindow(hwnd, GW_OWNER), WM_CLOSE, 0, 0);          // then the main window's close box
      }
    };
    app::ConfigApp app(*tool, host, LX_PROGRAM_DIR, work);
    app.InitInstance();
    EXPECT_EQ(entry, tool == &app::AmbrelTool() ? "关于Ambrel" : "关于 Ostrel(&A)...");
    EXPECT_EQ(opened, (std::vector<int>{102, 100}));
    std::error_code ec;
    fs::remove_all(work, ec);
  }
}

}  // namespace
}  // namespace lx::ui::win32
