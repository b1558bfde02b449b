// The rasteriser over plain memory: what the Qt canvas tests cannot see, the gaps between rows
// and a filled polygon that is not convex.

#include <gtest/gtest.h>

#include <vector>

#include "render/CanevasImage.h"

namespace korv4 {
namespace {

constexpr uint32_t kFond = 0xFFFFFFFF, kMarge = 0x12345678;

TEST(CanevasImage, FiguresCoupeesAuBordSansToucherLesMarges) {
  const int w = 20, h = 12, pas = 23;
  std::vector<uint32_t> px(pas * h, kMarge);
  for (int y = 0; y < h; ++y) std::fill(px.begin() + y * pas, px.begin() + y * pas + w, kFond);
  CanevasImage t(px.data(), w, h, pas);
  t.CouleurPlume(0x0000FF);
  t.CouleurBrosse(0x0000FF);
  t.EpaisseurPlume(5);
  t.MoveTo(-10, 5);
  t.LineTo(40, 5);
  t.EpaisseurPlume(1);
  t.Ellipse(10, -6, 30, 20);
  t.Rectangle(-3, 8, 25, 30);
  const int octogone[] = {30, 2, 28, 0, -8, 0, -10, 2, -10, 4, -8, 6, 28, 6, 30, 4};
  t.Polygone(octogone, 8);
  t.Pixel(w, 0, 0);
  t.Pixel(-1, 1, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = w; x < pas; ++x) EXPECT_EQ(px[y * pas + x], kMarge) << x << "," << y;
  }
  EXPECT_EQ(px[5 * pas + 0], 0xFF0000FFu);
  EXPECT_EQ(px[5 * pas + w - 1], 0xFF0000FFu);
}

TEST(CanevasImage, PolygoneConcaveRempliParPairImpair) {
  const int w = 16, h = 16;
  std::vector<uint32_t> px(w * h, kFond);
  CanevasImage t(px.data(), w, h, w);
  t.CouleurPlume(0x000000);
  t.CouleurBrosse(0xFF0000);
  // A "U": its notch between x 5 and 10, from the top down to y 9.
  const int u[] = {2, 2, 5, 2, 5, 9, 10, 9, 10, 2, 13, 2, 13, 13, 2, 13};
  t.Polygone(u, 8);
  auto px_ = [&](int x, int y) { return px[y * w + x] & 0xFFFFFF; };
  EXPECT_EQ(px_(3, 5), 0xFF0000u);   // left arm
  EXPECT_EQ(px_(12, 5), 0xFF0000u);  // right arm
  EXPECT_EQ(px_(7, 11), 0xFF0000u);  // bottom
  EXPECT_EQ(px_(7, 5), 0xFFFFFFu);   // the notch stays empty
  EXPECT_EQ(px_(2, 7), 0x000000u);   // outline
  EXPECT_EQ(px_(7, 9), 0x000000u);
  EXPECT_EQ(px_(1, 7), 0xFFFFFFu);  // outside
  EXPECT_EQ(px_(14, 7), 0xFFFFFFu);
}

}  // namespace
}  // namespace korv4
