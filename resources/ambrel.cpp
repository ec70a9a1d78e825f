// The windows of Ambrel, the transmitter tool.
#include "resources/channel_template.h"
#include "resources/ambrel_tx.h"
#include "resources/common.h"
#include "resources/ids.h"
#include "resources/resources.h"

namespace lx::res {
namespace {

using namespace lx::ui;

constexpr ControlTemplate kMainControls[] = {
    {main_window::kFirstSettings, Kind::PictureButton, "Button1", 17, 46, 86, 72, kPictureButtonStyle},
    {main_window::kSecondSettings, Kind::PictureButton, "Button1", 115, 46, 86, 72, kPictureButtonStyle},
    {main_window::kThirdSettings, Kind::PictureButton, "Button1", 213, 46, 86, 72, kPictureButtonStyle},
    {main_window::kChannelSettings, Kind::PictureButton, "Button1", 311, 46, 86, 72, kPictureButtonStyle},
    {main_window::kModelRadios[0], Kind::RadioButton, "LX7240", 40, 23, 40, 10, kMultiLine | kGroup},
    {main_window::kModelRadios[1], Kind::RadioButton, "LX7250", 236, 23, 40, 10, kMultiLine},
    {main_window::kModelRadios[2], Kind::RadioButton, "LX7240D", 136, 23, 44, 10, kMultiLine | kHidden},
    {main_window::kModelRadios[3], Kind::RadioButton, "LX7250D", 332, 23, 44, 10, kMultiLine | kHidden},
};
constexpr DialogTemplate kMain{kMainDialog, "Ambrel  V1.0", 427, 170, "宋体", 9, kMainControls, true, true};

constexpr ControlTemplate kAboutControls[] = {
    {kStaticId, Kind::Icon, "", 13, 21, 20, 20, 0, kPicAboutIcon},
    {kStaticId, Kind::Label, "Ambrel V1.0", 45, 10, 169, 8, kNoPrefix},
    {kIdOk, Kind::PushButton, "确定", 227, 24, 50, 14, kDefault | kTabStop | kGroup},
};
constexpr DialogTemplate kAbout{kAboutDialog, "关于 Ambrel", 284, 64, "宋体", 9, kAboutControls};

constexpr ControlTemplate kConvertControls[] = {
    {kStaticId, Kind::Label, "h 文件:", 9, 23, 28, 8, kGroup},
    {convert::kHeaderPathBox, Kind::Edit, "", 45, 20, 207, 14, kPathBoxStyle},
    {convert::kBrowseHeader, Kind::PushButton, ".....", 253, 20, 13, 14, kTabStop},
    {kStaticId, Kind::Label, "bin文件:", 9, 41, 32, 8, kGroup},
    {convert::kBinaryPathBox, Kind::Edit, "", 45, 39, 207, 14, kPathBoxStyle},
    {convert::kBrowseBinary, Kind::PushButton, ".....", 253, 39, 13, 14, kTabStop},
    {convert::kHeaderToBinary, Kind::PushButton, "h To bin", 292, 20, 47, 13, kTabStop},
    {convert::kBinaryToHeader, Kind::PushButton, "bin To h", 292, 39, 47, 13, kTabStop},
};
constexpr DialogTemplate kConvert{kConvertDialog, "文件转换", 378, 73, "宋体", 10, kConvertControls};

// The channel dialog.
constexpr auto kChannelControls = channel::Controls({
    .ok = {kIdOk, Kind::PushButton, "确定", 122, 151, 50, 14, kDefault | kTabStop | kGroup},
    .cancel = {kIdCancel, Kind::PushButton, "取消", 190, 151, 50, 14, kTabStop},
    .channelGroup = "频道设置",
    .inductanceGroup = "推荐电感值",
    .fillLeftBank = {channel::kFillLeftBank, Kind::PushButton, "Channel1", 53, 151, 50, 14, kTabStop},
    .fillRightBank = {channel::kFillRightBank, Kind::PushButton, "Channel2", 259, 151, 50, 14, kTabStop},
    .xtalLabel = {kStaticId, Kind::Label, "XTAL:", 134, 16, 20, 8},
    .xtalBox = {channel::kXtalBox, Kind::Edit, "", 160, 13, 40, 14, channel::kFrequencyBox},
    .khzLabel = {kStaticId, Kind::Label, "KHZ", 207, 16, 15, 8},
});
constexpr DialogTemplate kChannel{channel::kDialog, "频道配置", 367, 178, "System", 10, kChannelControls};

const DialogTemplate* const kDialogs[] = {&kAbout, &kMain, &kConvert, &kTxRfTemplate, &kTxAudioTemplate,
                                          &kTxOtherTemplate, &kChannel, &kRegisterTemplate, &kPlanTemplate};
const MenuTemplate* const kMenus[] = {&kMenu129};

constexpr auto kPictures = ToolPictures({Motif::Radio, "射频配置", 0xC0392B});

constexpr StringTemplate kStrings[] = {
    {kStrAboutEntry, "关于Ambrel"},
};

const ResourceSet kResources{kDialogs, kMenus, kPictures, kStrings};

}  // namespace

const ui::ResourceSet& AmbrelResources() { return kResources; }

}  // namespace lx::res
