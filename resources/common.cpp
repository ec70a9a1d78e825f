#include "resources/common.h"

#include "resources/ids.h"

namespace lx::res {

namespace {
constexpr ui::MenuItemTemplate kMenuItems[] = {
    {"文件", "打开", kCmdOpen},
    {"文件", "保存", kCmdSave},
    {"文件", "文件转换", kCmdConvert},
    {"文件", "退出", kCmdExit},
    {"查看", "寄存器", kCmdRegisters},
    {"帮助", "关于", kCmdAbout},
};

using ui::Kind;
// The register window: a page of the words, settings and channels in a fixed pitch, and its
// buttons below.
constexpr ui::ControlTemplate kRegisterControls[] = {
    {registers::kText, Kind::Edit, "", 7, 7, 400, 216,
     ui::kMultiLine | ui::kReadOnly | ui::kBorder | ui::kVScroll | ui::kFixedPitch | ui::kTabStop},
    {registers::kCompare, Kind::PushButton, "对比…", 7, 229, 50, 14, ui::kTabStop | ui::kGroup},
    {registers::kCopy, Kind::PushButton, "复制", 63, 229, 50, 14, ui::kTabStop},
    {ui::kIdCancel, Kind::PushButton, "关闭", 357, 229, 50, 14, ui::kTabStop | ui::kDefault},
};
}  // namespace

const ui::MenuTemplate kMenu129{kMainMenu, kMenuItems};
const ui::DialogTemplate kRegisterTemplate{kRegisterDialog, "寄存器", 414, 250, "宋体", 9, kRegisterControls};

}  // namespace lx::res
