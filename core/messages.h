#pragma once
// The texts the tools show to the user. Hosts show them in a message box titled with the
// application name; the command line prints them on standard error.
namespace lx::msg {
inline constexpr const char* kDefaultImageFailed = "打开EEPROM.h文件失败,请联系Quillmark!";
inline constexpr const char* kOpenHeaderFailed = "打开头文件失败!";
inline constexpr const char* kNoChipModel = "没有指定芯片型号，无法保存!";
inline constexpr const char* kSaveFailed = "保存文件失败!";
inline constexpr const char* kOpenBinFailed = "打开bin文件失败!";
inline constexpr const char* kBinError = "error!";
inline constexpr const char* kConverted = "转换成功!";
}  // namespace lx::msg
