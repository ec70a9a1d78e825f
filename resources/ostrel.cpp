// The windows of Ostrel, the receiver tool.
#include "resources/channel_template.h"
#include "resources/common.h"
#include "resources/ids.h"
#include "resources/ostrel_settings.h"
#include "resources/resources.h"

namespace lx::res {
namespace {

using namespace lx::ui;

constexpr ControlTemplate kMainControls[] = {
    {main_window::kFirstSettings, Kind::PictureButton, "Button1", 17, 46, 86, 72, kPictureButtonStyle},
    {main_window::kSecondSettings, Kind::PictureButton, "Button1", 118, 46, 86, 72, kPictureButtonStyle},
    {main_window::kThirdSettings, Kind::PictureButton, "Button1", 213, 46, 86, 72, kPictureButtonStyle},
    {main_window::kChannelSettings, Kind::PictureButton, "Button1", 311, 46, 86, 72, kPictureButtonStyle},
    {main_window::kModelRadios[0], Kind::RadioButton, "LX7140", 17, 16, 65, 21, kMultiLine | kGroup},
    {main_window::kModelRadios[1], Kind::RadioButton, "LX7150", 111, 16, 65, 21, kMultiLine},
    {main_window::kModelRadios[2], Kind::RadioButton, "LXM7140", 205, 16, 65, 21, 0},
};
constexpr DialogTemplate kMain{kMainDialog, "Ostrel V1.7", 427, 170, "宋体", 9, kMainControls, true, true};

constexpr ControlTemplate kAboutControls[] = {
    {kStaticId, Kind::Icon, "", 13, 21, 20, 20, 0, kPicAboutIcon},
    {kStaticId, Kind::Label, "Ostrel V1.7", 45, 10, 137, 8, kNoPrefix},
    {kIdOk, Kind::PushButton, "OK", 227, 24, 50, 14, kDefault | kTabStop | kGroup},
};
constexpr DialogTemplate kAbout{kAboutDialog, "关于 Ostrel", 284, 64, "宋体", 9, kAboutControls};

constexpr ControlTemplate kConvertControls[] = {
    {kStaticId, Kind::Label, "File(*.h ):", 9, 21, 52, 14, kCentreV | kGroup},
    {convert::kHeaderPathBox, Kind::Edit, "", 64, 21, 214, 14, kPathBoxStyle},
    {convert::kBrowseHeader, Kind::PushButton, ".....", 280, 21, 13, 14, kTabStop},
    {kStaticId, Kind::Label, "File(*.Bin ):", 9, 41, 52, 14, kCentreV | kGroup},
    {convert::kBinaryPathBox, Kind::Edit, "", 64, 41, 214, 14, kPathBoxStyle},
    {convert::kBrowseBinary, Kind::PushButton, ".....", 280, 41, 13, 14, kTabStop},
    {convert::kHeaderToBinary, Kind::PushButton, "h To Bin", 327, 20, 47, 14, kTabStop},
    {convert::kBinaryToHeader, Kind::PushButton, "Bin To h", 327, 40, 47, 14, kTabStop},
};
constexpr DialogTemplate kConvert{kConvertDialog, "文件转换", 415, 73, "宋体", 10, kConvertControls};

// The channel dialog.
constexpr auto kChannelControls = channel::Controls({
    .ok = {kIdOk, Kind::PushButton, "OK", 121, 150, 50, 14, kDefault | kTabStop | kGroup},
    .cancel = {kIdCancel, Kind::PushButton, "Cancel", 191, 150, 50, 14, kTabStop},
    .channelGroup = "Channel Setting",
    .inductanceGroup = "Inductance",
    .fillLeftBank = {channel::kFillLeftBank, Kind::PushButton, "Channel1", 51, 150, 50, 14, kTabStop},
    .fillRightBank = {channel::kFillRightBank, Kind::PushButton, "Channel2", 261, 150, 50, 14, kTabStop},
    .xtalLabel = {kStaticId, Kind::Label, "XTAL：", 131, 16, 26, 8},
    .xtalBox = {channel::kXtalBox, Kind::Edit, "", 162, 14, 40, 14, channel::kFrequencyBox},
    .khzLabel = {kStaticId, Kind::Label, "KHZ", 212, 16, 15, 8},
});
constexpr DialogTemplate kChannel{channel::kDialog, "频道配置", 367, 178, "System", 10, kChannelControls};

const DialogTemplate* const kDialogs[] = {&kAbout, &kMain, &kConvert, &kSoundEffectTemplate, &kRxAudioTemplate,
                                          &kRxOtherTemplate, &kChannel, &kRegisterTemplate, &kPlanTemplate};
const MenuTemplate* const kMenus[] = {&kMenu129};

constexpr auto kPictures = ToolPictures({Motif::SoundEffect, "音效配置", 0xD35400});

constexpr StringTemplate kStrings[] = {
    {kStrAboutEntry, "关于 Ostrel(&A)..."},
};

const ResourceSet kResources{kDialogs, kMenus, kPictures, kStrings};

}  // namespace

const ui::ResourceSet& OstrelResources() { return kResources; }

}  // namespace lx::res
