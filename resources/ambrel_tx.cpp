// The transmitter settings dialogs of Ambrel: RF, audio and other settings.
#include "resources/ambrel_tx.h"

namespace lx::res {
namespace {

using namespace lx::ui;
using namespace tx_other;
constexpr uint32_t kTrackbar = kTicksTop | kTabStop;
constexpr uint32_t kList = kVScroll | kTabStop;  // drop-down with edit field, unsorted
constexpr uint32_t kVoltageBox = kReadOnly | kBorder | kAutoHScroll | kTabStop;
constexpr uint32_t kOkButton = kDefault | kTabStop;
constexpr uint32_t kCancelButton = kTabStop;

constexpr ControlTemplate kRfControls[] = {
    {kStaticId, Kind::GroupBox, "Output Power Control", 13, 7, 180, 49},
    {kStaticId, Kind::Label, "PA GAIN:", 19, 27, 30, 10, kGroup},
    {kStaticId, Kind::Label, "0", 57, 18, 8, 10},
    {kStaticId, Kind::Label, "12", 179, 18, 8, 10},
    {tx_rf::kPaGainSlider, Kind::Slider, "", 52, 25, 138, 17, kTrackbar},
    {kIdOk, Kind::PushButton, "确定", 46, 63, 50, 14, kOkButton},
    {kIdCancel, Kind::PushButton, "取消", 113, 63, 50, 14, kCancelButton},
};

constexpr ControlTemplate kAudioControls[] = {
    {kStaticId, Kind::GroupBox, "Pre-Emphasis", 7, 7, 94, 49},
    {tx_audio::kEnablePreEmphasis, Kind::RadioButton, "Enable pre-emphasis", 11, 22, 84, 10, kGroup},
    {tx_audio::kDisablePreEmphasis, Kind::RadioButton, "Disable pre-emphasis", 11, 38, 84, 10},
    {kStaticId, Kind::GroupBox, "Compressor", 103, 7, 86, 49},
    {tx_audio::kEnableCompressor, Kind::RadioButton, "Enable Compressor", 107, 23, 77, 10, kGroup},
    {tx_audio::kDisableCompressor, Kind::RadioButton, "Disable Compressor", 107, 39, 78, 10},
    {kStaticId, Kind::GroupBox, "Priority", 191, 7, 113, 49},
    {tx_audio::kCompressorFirst, Kind::RadioButton, "Compressor->Pre-emphasis", 196, 23, 102, 10, kGroup},
    {tx_audio::kPreEmphasisFirst, Kind::RadioButton, "Pre-emphasis->Compressor", 196, 39, 102, 10},
    {kStaticId, Kind::Label, "Microphone Sensitivity Adjust:", 10, 65, 102, 12, kGroup},
    {tx_audio::kMicSensitivityList, Kind::ComboBox, "", 114, 65, 43, 52, kList},
    {kStaticId, Kind::Label, "Time-Constant of Compandor Rectifier:", 10, 85, 127, 11, kGroup},
    {tx_audio::kTimeConstantList, Kind::ComboBox, "", 141, 83, 43, 64, kList},
    {kIdOk, Kind::PushButton, "确定", 91, 109, 50, 14, kOkButton},
    {kIdCancel, Kind::PushButton, "取消", 169, 109, 50, 14, kCancelButton},
};

constexpr ControlTemplate kOtherControls[] = {
    {kStaticId, Kind::GroupBox, "Pilot", 7, 7, 66, 35},
    {kEnablePilot, Kind::RadioButton, "Enable Pilot", 11, 17, 55, 10, kGroup},
    {kDisablePilot, Kind::RadioButton, "Disable Pilot", 11, 30, 58, 10},
    {kStaticId, Kind::GroupBox, "Mute Pilot", 72, 7, 138, 35},
    {kMutePilot, Kind::RadioButton, "Disable Pilot when mute is enabled", 76, 17, 131, 10, kGroup},
    {kKeepPilot, Kind::RadioButton, "Do not disable pilot", 76, 30, 79, 10},
    {kStaticId, Kind::GroupBox, "Battery Meter", 209, 7, 92, 35},
    {kMeterEnable, Kind::RadioButton, "Battery Meter Enable", 213, 17, 85, 10, kGroup},
    {kMeterDisable, Kind::RadioButton, "Battery Meter Disable", 213, 30, 87, 10},
    {kStaticId, Kind::GroupBox, "Low Battery Indicator", 300, 7, 78, 35},
    {kIndicatorEnable, Kind::RadioButton, "Enable", 304, 17, 39, 10, kGroup},
    {kIndicatorDisable, Kind::RadioButton, "Disable", 304, 30, 41, 10},
    {kStaticId, Kind::GroupBox, "Low Battery PAPD", 300, 45, 78, 35},
    {kPapdEnable, Kind::RadioButton, "Enable", 304, 55, 39, 10, kGroup},
    {kPapdDisable, Kind::RadioButton, "Disable", 304, 68, 41, 10},
    {kStaticId, Kind::Label, "Frequency Deviation of Pilot:", 7, 59, 97, 12, kCentreV | kGroup},
    {kDeviationList, Kind::ComboBox, "", 105, 59, 46, 48, kList},
    // The pilot frequency and the TX_ID controls are created hidden and stay so.
    {kStaticId, Kind::Label, "Frequency of pilot:", 155, 59, 61, 12, kCentreV | kGroup | kHidden},
    {kPilotFrequencyBox, Kind::Edit, "", 218, 59, 28, 12, kReadOnly | kBorder | kAutoHScroll | kHidden},
    {kStaticId, Kind::Label, "Hz", 246, 59, 12, 12, kCentreV | kGroup | kHidden},
    {kTxIdCheck, Kind::CheckBox, "TX_ID", 260, 49, 36, 10, kTabStop | kHidden},
    {kTxIdBox, Kind::Edit, "", 258, 62, 40, 14, kBorder | kAutoHScroll | kTabStop | kHidden},
    {kStaticId, Kind::GroupBox, "Low Battery Blink Threshold", 7, 83, 371, 43},
    {kStaticId, Kind::Label, "0mV", 14, 97, 14, 9, kGroup},
    {kStaticId, Kind::Label, "Threshold:", 156, 98, 38, 9, kGroup},
    {kBlinkVoltageBox, Kind::Edit, "", 197, 96, 32, 12, kVoltageBox},
    {kStaticId, Kind::Label, "mV", 234, 98, 14, 9, kGroup},
    {kStaticId, Kind::Label, "1200mV", 348, 97, 26, 9, kGroup},
    {kBlinkSlider, Kind::Slider, "", 13, 107, 362, 17, kTrackbar},
    {kStaticId, Kind::GroupBox, "Low Battery Light Threshold", 7, 129, 371, 43},
    {kStaticId, Kind::Label, "0mV", 14, 143, 14, 9, kGroup},
    {kStaticId, Kind::Label, "Threshold:", 156, 144, 38, 9, kGroup},
    {kLightVoltageBox, Kind::Edit, "", 197, 142, 32, 12, kVoltageBox},
    {kStaticId, Kind::Label, "mV", 234, 144, 14, 9, kGroup},
    {kStaticId, Kind::Label, "1200mV", 348, 143, 26, 9, kGroup},
    {kLightSlider, Kind::Slider, "", 13, 153, 362, 17, kTrackbar},
    {kStaticId, Kind::GroupBox, "Low Battery PAPD Threshold", 7, 175, 371, 43},
    {kStaticId, Kind::Label, "0mV", 14, 189, 14, 9, kGroup},
    {kStaticId, Kind::Label, "Threshold:", 156, 190, 38, 9, kGroup},
    {kPapdVoltageBox, Kind::Edit, "", 197, 188, 32, 12, kVoltageBox},
    {kStaticId, Kind::Label, "mV", 234, 190, 14, 9, kGroup},
    {kStaticId, Kind::Label, "1200mV", 348, 189, 26, 9, kGroup},
    {kPapdSlider, Kind::Slider, "", 13, 199, 362, 17, kTrackbar},
    {kIdOk, Kind::PushButton, "确定", 137, 224, 50, 14, kOkButton},
    {kIdCancel, Kind::PushButton, "取消", 209, 224, 50, 14, kCancelButton},
};

}  // namespace

const ui::DialogTemplate kTxRfTemplate{kTxRfDialog, "射频配置", 207, 84, "System", 10, kRfControls};
const ui::DialogTemplate kTxAudioTemplate{kTxAudioDialog, "音频配置", 311, 133, "System", 10, kAudioControls};
const ui::DialogTemplate kTxOtherTemplate{kTxOtherDialog, "其他配置", 385, 245, "System", 10, kOtherControls};

}  // namespace lx::res
