#include "resources/common.h"

#include "resources/ids.h"

namespace lx::res {

namespace {
constexpr ui::MenuItemTemplate kMenuItems[] = {
    {"文件", "打开", kCmdOpen},  {"文件", "保存", kCmdSave},        {"文件", "文件转换", kCmdConvert},
    {"文件", "退出", kCmdExit},  {"查看", "寄存器", kCmdRegisters}, {"查看", "频率规划", kCmdPlan},
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

// The frequency-planning window: the plot of the bank, the conflict list beneath it, the inputs
// (guards, exclusions and the band a suggestion is sought in, the scan), then Suggest, Apply and Close.
constexpr uint32_t kBox = ui::kBorder | ui::kAutoHScroll | ui::kTabStop;
constexpr ui::ControlTemplate kPlanControls[] = {
    {planning::kPlot, Kind::Plot, "", 7, 7, 436, 132, ui::kBorder},
    {planning::kList, Kind::Edit, "", 7, 143, 436, 66,
     ui::kMultiLine | ui::kReadOnly | ui::kBorder | ui::kVScroll | ui::kFixedPitch | ui::kTabStop},
    {ui::kStaticId, Kind::Label, "间隔:", 7, 217, 24, 8},
    {planning::kSpacing, Kind::Edit, "", 31, 215, 36, 12, kBox | ui::kGroup},
    {ui::kStaticId, Kind::Label, "IM3:", 73, 217, 18, 8},
    {planning::kIm3, Kind::Edit, "", 92, 215, 32, 12, kBox},
    {ui::kStaticId, Kind::Label, "IM3x:", 130, 217, 22, 8},
    {planning::kIm3x, Kind::Edit, "", 153, 215, 32, 12, kBox},
    {ui::kStaticId, Kind::Label, "IM5:", 191, 217, 18, 8},
    {planning::kIm5, Kind::Edit, "", 210, 215, 32, 12, kBox},
    {ui::kStaticId, Kind::Label, "kHz", 246, 217, 16, 8},
    {ui::kStaticId, Kind::Label, "使用频道数:", 330, 217, 48, 8},
    {planning::kInUse, Kind::Edit, "", 380, 215, 24, 12, kBox},
    {ui::kStaticId, Kind::Label, "排除(kHz):", 7, 235, 44, 8},
    {planning::kExclusions, Kind::Edit, "", 52, 233, 228, 12, kBox},
    {ui::kStaticId, Kind::Label, "从(kHz):", 286, 235, 34, 8},
    {planning::kFrom, Kind::Edit, "", 321, 233, 40, 12, kBox},
    {ui::kStaticId, Kind::Label, "到(kHz):", 368, 235, 34, 8},
    {planning::kTo, Kind::Edit, "", 403, 233, 40, 12, kBox},
    {planning::kImportScan, Kind::PushButton, "导入扫描…", 7, 251, 56, 14, ui::kTabStop | ui::kGroup},
    {planning::kScanName, Kind::Label, "", 68, 254, 250, 8, ui::kNoPrefix},
    {ui::kStaticId, Kind::Label, "门限(dB):", 330, 254, 40, 8},
    {planning::kThreshold, Kind::Edit, "", 372, 252, 32, 12, kBox},
    {planning::kSuggest, Kind::PushButton, "建议", 7, 273, 50, 14, ui::kTabStop | ui::kGroup},
    {planning::kApply, Kind::PushButton, "应用", 63, 273, 50, 14, ui::kTabStop | ui::kDisabled},
    {ui::kIdCancel, Kind::PushButton, "关闭", 393, 273, 50, 14, ui::kTabStop | ui::kDefault},
};
}  // namespace

const ui::MenuTemplate kMenu129{kMainMenu, kMenuItems};
const ui::DialogTemplate kRegisterTemplate{kRegisterDialog, "寄存器", 414, 250, "宋体", 9, kRegisterControls};
const ui::DialogTemplate kPlanTemplate{kPlanDialog, "频率规划", 450, 294, "宋体", 9, kPlanControls};

}  // namespace lx::res
