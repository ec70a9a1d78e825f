#pragma once
// Template numbers and control ids of Ambrel's transmitter settings dialogs: RF (140), audio
// (141) and other settings (142).
namespace lx::res {

inline constexpr int kTxRfDialog = 140;
inline constexpr int kTxAudioDialog = 141;
inline constexpr int kTxOtherDialog = 142;

namespace tx_rf {
inline constexpr int kPaGainSlider = 1002;
}  // namespace tx_rf

namespace tx_audio {
inline constexpr int kEnablePreEmphasis = 1001;
inline constexpr int kDisablePreEmphasis = 1003;
inline constexpr int kEnableCompressor = 1004;
inline constexpr int kDisableCompressor = 1005;
inline constexpr int kCompressorFirst = 1006;
inline constexpr int kPreEmphasisFirst = 1007;
inline constexpr int kMicSensitivityList = 1008;
inline constexpr int kTimeConstantList = 1009;
}  // namespace tx_audio

namespace tx_other {
inline constexpr int kEnablePilot = 1001;
inline constexpr int kDisablePilot = 1003;
inline constexpr int kMutePilot = 1004;  // "Disable Pilot when mute is enabled"
inline constexpr int kKeepPilot = 1005;  // "Do not disable pilot"
inline constexpr int kMeterEnable = 1006;
inline constexpr int kMeterDisable = 1007;
inline constexpr int kDeviationList = 1008;
inline constexpr int kPilotFrequencyBox = 1009;  // hidden
inline constexpr int kIndicatorEnable = 1010;
inline constexpr int kIndicatorDisable = 1011;
inline constexpr int kBlinkVoltageBox = 1012;
inline constexpr int kPapdEnable = 1013;
inline constexpr int kPapdDisable = 1014;
inline constexpr int kPapdVoltageBox = 1015;
inline constexpr int kPapdSlider = 1016;
inline constexpr int kLightVoltageBox = 1017;
inline constexpr int kLightSlider = 1018;
inline constexpr int kTxIdBox = 1019;  // hidden
inline constexpr int kBlinkSlider = 1002;
inline constexpr int kTxIdCheck = 1047;  // hidden
}  // namespace tx_other

}  // namespace lx::res
