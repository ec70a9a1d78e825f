#pragma once
// Resources and looks that both tools share.
#include <array>
#include <cstdint>

#include "resources/ids.h"
#include "ui/template.h"

namespace lx::res {

extern const ui::MenuTemplate kMenu129;
extern const ui::DialogTemplate kRegisterTemplate;
extern const ui::DialogTemplate kPlanTemplate;

// Control styles of the windows both tools have.
inline constexpr uint32_t kPictureButtonStyle = ui::kOwnerDraw | ui::kDisabled | ui::kTabStop;
inline constexpr uint32_t kPathBoxStyle = ui::kBorder | ui::kAutoHScroll | ui::kTabStop;

// The blue of the model radios' text and of the about-box icon, 0xRRGGBB.
inline constexpr uint32_t kModelBlue = 0x006699;
inline constexpr uint32_t kWhite = 0xFFFFFF;

// The pixels the main window's background picture is stretched over, whatever the window's size.
inline constexpr int kBackgroundWidth = 757;
inline constexpr int kBackgroundHeight = 351;

// The pictures of both tools' main windows and about boxes; only the first picture button's
// faces (RF settings, sound effect settings) differ between the tools.
struct FirstButtonFace {
  ui::Motif motif;
  const char* caption;
  uint32_t rgb;
};
constexpr std::array<ui::PictureTemplate, 10> ToolPictures(const FirstButtonFace& first) {
  using ui::Motif;
  return {{
      {kPicBackground, 480, 288, Motif::Plain, "", false, kWhite},
      {kPicButton1000, 129, 116, first.motif, first.caption, false, first.rgb},
      {kPicButton1000Pressed, 130, 117, first.motif, first.caption, true, first.rgb},
      {kPicButton1004, 129, 116, Motif::Audio, "音频配置", false, 0x2E86C1},
      {kPicButton1004Pressed, 130, 117, Motif::Audio, "音频配置", true, 0x2E86C1},
      {kPicButton1005, 129, 116, Motif::Other, "其他配置", false, 0x7D8C3A},
      {kPicButton1005Pressed, 130, 117, Motif::Other, "其他配置", true, 0x7D8C3A},
      {kPicButton1006, 129, 116, Motif::Channel, "频道配置", false, 0x8E44AD},
      {kPicButton1006Pressed, 130, 117, Motif::Channel, "频道配置", true, 0x8E44AD},
      {kPicAboutIcon, 32, 32, Motif::Microphone, "", false, kModelBlue},
  }};
}

}  // namespace lx::res
