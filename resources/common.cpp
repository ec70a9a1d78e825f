#include "resources/common.h"

#include "resources/ids.h"

namespace lx::res {

namespace {
constexpr ui::MenuItemTemplate kMenuItems[] = {
    {"文件", "打开", kCmdOpen},
    {"文件", "保存", kCmdSave},
    {"文件", "文件转换", kCmdConvert},
    {"文件", "退出", kCmdExit},
    {"帮助", "关于", kCmdAbout},
};
}  // namespace

const ui::MenuTemplate kMenu129{kMainMenu, kMenuItems};

}  // namespace lx::res
