// The windows of Ostrel, the receiver tool.
#include "resources/channel_template.h"
#include "resources/common.h"
#include "resources/ids.h"
#include "resources/ostrel_settings.h"
#include "resources/resources.h"

namespace lx::res {
namespace {

using namespace lx::ui;
constexpr uint32_t kPicture = kOwnerDraw | kDisabled | kTabStop;
constexpr uint32_t kPathBox = kBorder | kAutoHScroll | kTabStop;

constexpr ControlTemplate kMainControls[] = {
    {1000, Kind::PictureButton, "Button1", 17, 46, 86, 72, kPicture},
    {1004, Kind::PictureButton, "Button1", 118, 46, 86, 72, kPicture},
    {1005, Kind::PictureButton, "Button1", 213, 46, 86, 72, kPicture},
    {1006, Kind::PictureButton, "Button1", 311, 46, 86, 72, kPicture},
    {1001, Kind::RadioButton, "LX7140", 17, 16, 65, 21, kMultiLine | kGroup},
    {1003, Kind::RadioButton, "LX7150", 111, 16, 65, 21, kMultiLine},
    {1007, Kind::RadioButton, "LXM7140", 205, 16, 65, 21, 0},
};
constexpr DialogTemplate kMain{kMainDialog, "Ostrel V1.7", 427, 170, "宋体", 9, kMainControls, true};

constexpr ControlTemplate kAboutControls[] = {
    {kStaticId, Kind::Icon, "", 13, 21, 20, 20, 0, kPicAboutIcon},
    {kStaticId, Kind::Label, "Ostrel V1.7", 45, 10, 137, 8, kNoPrefix},
    {kIdOk, Kind::PushButton, "OK", 227, 24, 50, 14, kDefault | kTabStop | kGroup},
};
constexpr DialogTemplate kAbout{kAboutDialog, "关于 Ostrel", 284, 64, "宋体", 9, kAboutControls};

constexpr ControlTemplate kConvertControls[] = {
    {kStaticId, Kind::Label, "File(*.h ):", 9, 21, 52, 14, kCentreV | kGroup},
    {kHeaderPathBox, Kind::Edit, "", 64, 21, 214, 14, kPathBox},
    {kBrowseHeader, Kind::PushButton, ".....", 280, 21, 13, 14, kTabStop},
    {kStaticId, Kind::Label, "File(*.Bin ):", 9, 41, 52, 14, kCentreV | kGroup},
    {kBinaryPathBox, Kind::Edit, "", 64, 41, 214, 14, kPathBox},
    {kBrowseBinary, Kind::PushButton, ".....", 280, 41, 13, 14, kTabStop},
    {kHeaderToBinary, Kind::PushButton, "h To Bin", 327, 20, 47, 14, kTabStop},
    {kBinaryToHeader, Kind::PushButton, "Bin To h", 327, 40, 47, 14, kTabStop},
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
                                          &kRxOtherTemplate, &kChannel};
const MenuTemplate* const kMenus[] = {&kMenu129};

constexpr uint32_t kBlue = 0x006699;
constexpr PictureTemplate kPictures[] = {
    {kPicBackground, 480, 288, Motif::Plain, "", false, 0xFFFFFF},
    {kPicButton1000, 129, 116, Motif::SoundEffect, "音效配置", false, 0xD35400},
    {kPicButton1000Pressed, 130, 117, Motif::SoundEffect, "音效配置", true, 0xD35400},
    {kPicButton1004, 129, 116, Motif::Audio, "音频配置", false, 0x2E86C1},
    {kPicButton1004Pressed, 130, 117, Motif::Audio, "音频配置", true, 0x2E86C1},
    {kPicButton1005, 129, 116, Motif::Other, "其他配置", false, 0x7D8C3A},
    {kPicButton1005Pressed, 130, 117, Motif::Other, "其他配置", true, 0x7D8C3A},
    {kPicButton1006, 129, 116, Motif::Channel, "频道配置", false, 0x8E44AD},
    {kPicButton1006Pressed, 130, 117, Motif::Channel, "频道配置", true, 0x8E44AD},
    {kPicAboutIcon, 32, 32, Motif::Microphone, "", false, kBlue},
};

constexpr StringTemplate kStrings[] = {
    {kStrAboutEntry, "关于 Ostrel(&A)..."},
};

const ResourceSet kResources{kDialogs, kMenus, kPictures, kStrings};

}  // namespace

const ui::ResourceSet& OstrelResources() { return kResources; }

}  // namespace lx::res
