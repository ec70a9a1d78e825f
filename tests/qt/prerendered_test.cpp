// The pictures compiled into the programs are exactly what the host would draw at start-up:
// every picture of both tools that is not a plain fill is there, pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>

#include "pictures/prerendered_pictures.h"
#include "resources/resources.h"
#include "ui/qt/qt_host.h"

namespace lx::ui::qt {
namespace {

TEST(PrerenderedPictures, MatchWhatTheHostDraws) {
  const std::span<const PrerenderedPicture> done = pictures::PrerenderedPictures();
  int compared = 0;
  for (const ResourceSet* set : {&res::AmbrelResources(), &res::OstrelResources()}) {
    for (const PictureTemplate& p : set->pictures) {
      if (p.motif == Motif::Plain) continue;
      const PrerenderedPicture* match = nullptr;
      for (const PrerenderedPicture& d : done)
        if (SamePicture(d.picture, p)) match = &d;
      ASSERT_NE(match, nullptr) << "picture " << p.id << " was not drawn at build time";
      const QImage drawn = RenderPicture(p).convertToFormat(match->alpha ? QImage::Format_ARGB32_Premultiplied
                                                                         : QImage::Format_RGB32);
      const QImage built(reinterpret_cast<const uchar*>(match->pixels), p.width, p.height, p.width * 4,
                         drawn.format());
      EXPECT_EQ(drawn, built) << "picture " << p.id;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 18);  // eight faces and the about icon in each tool
}

}  // namespace
}  // namespace lx::ui::qt
