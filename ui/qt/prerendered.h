#pragma once
// Pictures drawn at build time by RenderPicture itself, so that a program shows its picture
// buttons without drawing them (and loading the caption font) at start-up. A picture is used
// only when its description matches the template exactly; any other is drawn when first shown.
#include <cstdint>
#include <cstring>
#include <span>

#include "ui/template.h"

namespace lx::ui::qt {

struct PrerenderedPicture {
  PictureTemplate picture;  // what was drawn
  bool alpha;               // premultiplied ARGB pixels, else opaque RGB
  const uint32_t* pixels;   // width × height, row by row
};

inline bool SamePicture(const PictureTemplate& a, const PictureTemplate& b) {
  return a.id == b.id && a.width == b.width && a.height == b.height && a.motif == b.motif &&
         a.pressed == b.pressed && a.rgb == b.rgb &&
         std::strcmp(a.caption ? a.caption : "", b.caption ? b.caption : "") == 0;
}

}  // namespace lx::ui::qt
