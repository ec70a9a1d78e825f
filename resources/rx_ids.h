#pragma once
// Template numbers and control ids of Ostrel's receiver settings dialogs.
namespace lx::res {

inline constexpr int kSoundEffectDialog = 140;
inline constexpr int kRxAudioDialog = 141;
inline constexpr int kRxOtherDialog = 142;

// "音效配置": three lists on reg1f.
namespace rx_sound {
inline constexpr int kBassList = 1008;
inline constexpr int kTrebleList = 1009;
inline constexpr int kThdList = 1024;
}  // namespace rx_sound

// "音频配置": de-emphasis and expander switches, gain and time-constant lists, volume slider.
namespace rx_audio {
inline constexpr int kEnableDeEmphasis = 1001;
inline constexpr int kDisableDeEmphasis = 1003;
inline constexpr int kEnableExpander = 1004;
inline constexpr int kDisableExpander = 1005;
inline constexpr int kGainList = 1008;
inline constexpr int kTimeConstantList = 1009;
inline constexpr int kVolumeSlider = 1002;
inline constexpr int kVolumeBox = 1010;
}  // namespace rx_audio

// "其他配置": automute, pilot and SNR automute with their thresholds, AFC and its range.
namespace rx_other {
inline constexpr int kEnableAutomute = 1005;
inline constexpr int kDisableAutomute = 1011;
inline constexpr int kEnablePilotAutomute = 1044;
inline constexpr int kDisablePilotAutomute = 1045;
inline constexpr int kEnableSnrAutomute = 1001;
inline constexpr int kDisableSnrAutomute = 1003;
inline constexpr int kHighThresholdSlider = 1002;
inline constexpr int kHighThresholdBox = 1010;
inline constexpr int kLowThresholdSlider = 1004;
inline constexpr int kLowThresholdBox = 1012;
inline constexpr int kEnableAfc = 1006;
inline constexpr int kDisableAfc = 1007;
inline constexpr int kAfcRangeList = 1008;
}  // namespace rx_other

}  // namespace lx::res
