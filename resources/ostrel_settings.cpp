// The receiver settings dialogs of Ostrel: sound effect (140), audio (141), other settings (142).
#include "resources/ostrel_settings.h"

namespace lx::res {
namespace {

using namespace lx::ui;
constexpr uint32_t kList = kTabStop | kVScroll;      // drop-down with edit field, unsorted
constexpr uint32_t kRadio = 0;                       // automatic radio button
constexpr uint32_t kFirstRadio = kGroup | kTabStop;  // ... that starts its group
// The read-only number box beside a slider.
constexpr uint32_t kShowBox = kReadOnly | kBorder | kAutoHScroll | kTabStop;
constexpr uint32_t kOkButton = kDefault | kTabStop;

constexpr ControlTemplate kSoundEffectControls[] = {
    {kStaticId, Kind::Label, "BASS:", 18, 22, 30, 12, kCentreV},
    {kStaticId, Kind::Label, "TREBLE:", 17, 47, 30, 12, kCentreV},
    {kStaticId, Kind::Label, "THD:", 18, 72, 30, 12, kCentreV},
    {rx_sound::kBassList, Kind::ComboBox, "", 56, 22, 48, 50, kList},
    {rx_sound::kTrebleList, Kind::ComboBox, "", 56, 47, 48, 54, kList},
    {rx_sound::kThdList, Kind::ComboBox, "", 56, 72, 48, 48, kList},
    {kIdOk, Kind::PushButton, "OK", 37, 114, 50, 14, kOkButton},
    {kIdCancel, Kind::PushButton, "Cancel", 104, 114, 50, 14, kTabStop},
};

constexpr ControlTemplate kRxAudioControls[] = {
    {kStaticId, Kind::GroupBox, "De-Emphasis", 7, 7, 94, 49},
    {rx_audio::kEnableDeEmphasis, Kind::RadioButton, "Enable De-emphasis", 11, 22, 84, 10, kFirstRadio},
    {rx_audio::kDisableDeEmphasis, Kind::RadioButton, "Disable De-emphasis", 11, 38, 84, 10, kRadio},
    {kStaticId, Kind::GroupBox, "Expandor", 103, 7, 86, 49},
    {rx_audio::kEnableExpander, Kind::RadioButton, "Enable Expandor", 107, 23, 77, 10, kFirstRadio},
    {rx_audio::kDisableExpander, Kind::RadioButton, "Disable Expandor", 107, 39, 78, 10, kRadio},
    {kStaticId, Kind::Label, "Audio Gain Adjust:", 10, 69, 63, 12},
    {rx_audio::kGainList, Kind::ComboBox, "", 75, 69, 43, 52, kList},
    {kStaticId, Kind::Label, "Time-Constant of Expandor Rectifier:", 10, 101, 122, 12, kCentreV},
    {rx_audio::kTimeConstantList, Kind::ComboBox, "", 137, 101, 43, 64, kList},
    {kStaticId, Kind::GroupBox, "Volume", 203, 7, 43, 113},
    {rx_audio::kVolumeSlider, Kind::Slider, "", 211, 18, 21, 84, kVertical | kTicksBoth | kTabStop},
    {kStaticId, Kind::Label, "31", 234, 21, 9, 8},
    {kStaticId, Kind::Label, "0", 234, 92, 9, 8},
    {rx_audio::kVolumeBox, Kind::Edit, "", 212, 105, 25, 12, kShowBox},
    {kIdOk, Kind::PushButton, "OK", 91, 133, 50, 14, kOkButton},
    {kIdCancel, Kind::PushButton, "Cancel", 169, 133, 50, 14, kTabStop},
};

constexpr ControlTemplate kRxOtherControls[] = {
    // The "Automute" box encloses the pilot and SNR groups and the threshold sliders.
    {kStaticId, Kind::GroupBox, "Automute", 7, 7, 310, 124},
    {rx_other::kEnableAutomute, Kind::RadioButton, "Enable", 15, 18, 39, 10, kFirstRadio},
    {rx_other::kDisableAutomute, Kind::RadioButton, "Disable", 117, 18, 41, 10, kRadio},
    {kStaticId, Kind::GroupBox, "Pilot_Automute", 20, 31, 289, 30, kGroup},
    {rx_other::kEnablePilotAutomute, Kind::RadioButton, "Enable", 31, 45, 39, 10, kFirstRadio},
    {rx_other::kDisablePilotAutomute, Kind::RadioButton, "Disable", 129, 45, 41, 10, kRadio},
    {kStaticId, Kind::GroupBox, "SNR_Automute", 20, 67, 289, 58},
    {rx_other::kEnableSnrAutomute, Kind::RadioButton, "Enable", 49, 79, 35, 11, kFirstRadio},
    {rx_other::kDisableSnrAutomute, Kind::RadioButton, "Disable", 149, 80, 35, 11, kRadio},
    {kStaticId, Kind::Label, "SNR_HiTH", 35, 96, 36, 8, kGroup},
    {rx_other::kHighThresholdSlider, Kind::Slider, "", 89, 94, 167, 16, kNoTicks | kTabStop},
    {rx_other::kHighThresholdBox, Kind::Edit, "", 264, 94, 31, 12, kShowBox},
    {kStaticId, Kind::Label, "SNR_LowTH", 33, 110, 42, 8, kGroup},
    {rx_other::kLowThresholdSlider, Kind::Slider, "", 89, 107, 167, 16, kNoTicks | kTabStop},
    {rx_other::kLowThresholdBox, Kind::Edit, "", 264, 109, 31, 12, kShowBox},
    {kStaticId, Kind::GroupBox, "Automatic Frequency Control", 7, 135, 177, 40},
    {rx_other::kEnableAfc, Kind::RadioButton, "Enable", 19, 146, 35, 11, kFirstRadio},
    {rx_other::kDisableAfc, Kind::RadioButton, "Disable", 19, 158, 35, 11, kRadio},
    {kStaticId, Kind::Label, "AFC RANGE", 92, 152, 41, 12, kCentreV | kGroup},
    {rx_other::kAfcRangeList, Kind::ComboBox, "", 135, 151, 39, 48, kList},
    {kIdOk, Kind::PushButton, "OK", 84, 178, 50, 14, kOkButton},
    {kIdCancel, Kind::PushButton, "Cancel", 191, 178, 50, 14, kTabStop},
};

}  // namespace

const ui::DialogTemplate kSoundEffectTemplate{kSoundEffectDialog,  "音效配置", 191, 140, "System", 10,
                                              kSoundEffectControls};
const ui::DialogTemplate kRxAudioTemplate{kRxAudioDialog,  "音频配置", 274, 157, "System", 10,
                                          kRxAudioControls};
const ui::DialogTemplate kRxOtherTemplate{kRxOtherDialog,  "其他配置", 326, 199, "System", 10,
                                          kRxOtherControls};

}  // namespace lx::res
