#pragma once
// Resource numbers shared by both tools' resource sets.
namespace lx::res {

// Dialog templates.
inline constexpr int kAboutDialog = 100;
inline constexpr int kMainDialog = 102;
inline constexpr int kConvertDialog = 193;
inline constexpr int kRegisterDialog = 150;
inline constexpr int kPlanDialog = 151;

// Menu 129 and its commands.
inline constexpr int kMainMenu = 129;
inline constexpr int kCmdOpen = 32771;
inline constexpr int kCmdSave = 32772;
inline constexpr int kCmdExit = 32773;
inline constexpr int kCmdAbout = 32774;
inline constexpr int kCmdConvert = 32775;
inline constexpr int kCmdRegisters = 32776;  // 查看 > 寄存器
inline constexpr int kCmdPlan = 32777;       // 查看 > 频率规划

// The system-menu entry text and its command.
inline constexpr int kStrAboutEntry = 101;
inline constexpr int kSysCmdAbout = 0x0010;

// Pictures: window background, picture-button faces (normal / pressed), about-box icon.
inline constexpr int kPicBackground = 131;
inline constexpr int kPicButton1000Pressed = 132, kPicButton1000 = 133;
inline constexpr int kPicButton1004Pressed = 134, kPicButton1004 = 135;
inline constexpr int kPicButton1005Pressed = 136, kPicButton1005 = 137;
inline constexpr int kPicButton1006Pressed = 138, kPicButton1006 = 139;
inline constexpr int kPicAboutIcon = 145;

// Main window (template 102) controls.
namespace main_window {
inline constexpr int kFirstSettings = 1000;    // picture button: RF (Ambrel) / sound effect (Ostrel)
inline constexpr int kSecondSettings = 1004;   // picture button: audio
inline constexpr int kThirdSettings = 1005;    // picture button: other settings
inline constexpr int kChannelSettings = 1006;  // picture button: channels
inline constexpr int kPictureButtons[] = {kFirstSettings, kSecondSettings, kThirdSettings, kChannelSettings};
// The model radios in model order (Ostrel has the first three); the first starts the group.
inline constexpr int kModelRadios[] = {1001, 1003, 1007, 1009};
inline constexpr int kFirstModelRadio = kModelRadios[0];
}  // namespace main_window

// About box (template 100): a static icon and text, and OK.

// File conversion dialog (template 193) controls.
namespace convert {
inline constexpr int kBrowseHeader = 1000;
inline constexpr int kBrowseBinary = 1004;
inline constexpr int kHeaderToBinary = 1005;
inline constexpr int kBinaryToHeader = 1006;
inline constexpr int kHeaderPathBox = 1009;
inline constexpr int kBinaryPathBox = 1010;
}  // namespace convert

// Register window (template 150) controls; Close is IDCANCEL.
namespace registers {
inline constexpr int kText = 1000;
inline constexpr int kCompare = 1001;
inline constexpr int kCopy = 1002;
}  // namespace registers

// Frequency-planning window (template 151) controls; Close is IDCANCEL.
namespace planning {
inline constexpr int kPlot = 1000;
inline constexpr int kList = 1001;
inline constexpr int kSpacing = 1002;
inline constexpr int kIm3 = 1003;
inline constexpr int kIm3x = 1004;
inline constexpr int kIm5 = 1005;
inline constexpr int kInUse = 1006;
inline constexpr int kExclusions = 1007;
inline constexpr int kImportScan = 1008;
inline constexpr int kScanName = 1009;
inline constexpr int kThreshold = 1010;
inline constexpr int kSuggest = 1011;
inline constexpr int kApply = 1012;
inline constexpr int kFrom = 1013;
inline constexpr int kTo = 1014;
}  // namespace planning

}  // namespace lx::res
