#pragma once
// Control ids of the channel dialog (template 143), the same in both tools.
#include <array>

namespace lx::res::channel {

inline constexpr int kDialog = 143;

inline constexpr int kChannelCount = 16;
inline constexpr int kBankSize = 8;  // channels 00-07 form the left bank, 08-15 the right one

// Channel k's frequency box and its read-only inductance box.
inline constexpr std::array<int, kChannelCount> kChannelBox = {
    1009, 1010, 1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025};
inline constexpr std::array<int, kChannelCount> kInductanceBox = {
    1011, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040};

inline constexpr int kFillLeftBank = 1041;   // "Channel1"
inline constexpr int kFillRightBank = 1042;  // "Channel2"
inline constexpr int kXtalBox = 1043;

}  // namespace lx::res::channel
