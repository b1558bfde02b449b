// CanevasImage's fast spans against the plain rasteriser (CanevasSimple): random figures of
// every kind, pens of every width, copy and exclusive-or, many of them cut by the edges of a
// canvas whose rows are wider than its width; every pixel and every margin must be the same.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render/CanevasImage.h"
#include "render/CanevasSimple.h"

namespace korv4 {
namespace {

constexpr int kLargeur = 97, kHauteur = 61, kPas = 101;

struct Toiles {
  std::vector<uint32_t> a, b;
  CanevasImage rapide;
  CanevasSimple simple;
  Toiles()
      : a(kPas * kHauteur, 0x12345678),
        b(a),
        rapide(a.data(), kLargeur, kHauteur, kPas),
        simple(b.data(), kLargeur, kHauteur, kPas) {}
  template <typename F>
  void Les2(F f) {
    f(static_cast<Canevas&>(rapide));
    f(static_cast<Canevas&>(simple));
  }
};

// Coordinates mostly inside, often a little outside, sometimes far away.
int Coord(std::mt19937& g, int n) {
  const int k = static_cast<int>(g() % 10);
  if (k == 0) return static_cast<int>(g() % 4001) - 2000;
  return static_cast<int>(g() % (n + 40)) - 20;
}

void Figure(Toiles& t, std::mt19937& g) {
  const Couleur couleurs[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x7F7F7F, 0, 0xFFFFFF};
  const Couleur plume = couleurs[g() % 6], brosse = g() % 3 == 0 ? plume : couleurs[g() % 6];
  const int epaisseur = g() % 3 == 0 ? 1 : static_cast<int>(g() % 24);
  const StylePlume style = g() % 5 == 0 ? StylePlume::Pointille : StylePlume::Plein;
  const ModePlume mode = g() % 3 == 0 ? ModePlume::OuExclusif : ModePlume::Copie;
  const StyleBrosse sb = g() % 4 == 0 ? StyleBrosse::Creux : StyleBrosse::Plein;
  const int sorte = static_cast<int>(g() % 6);
  int xy[20];
  const int n = 3 + static_cast<int>(g() % 8);
  for (int i = 0; i < 20; i += 2) {
    xy[i] = Coord(g, kLargeur);
    xy[i + 1] = Coord(g, kHauteur);
  }
  // Lines along the axes and at 45 degrees as often as at any other angle.
  if (g() % 3 == 0) xy[3] = xy[1];
  if (g() % 4 == 0) xy[2] = xy[0];
  if (g() % 4 == 0) xy[3] = xy[1] + (xy[2] - xy[0]);
  t.Les2([&](Canevas& c) {
    c.CouleurPlume(plume);
    c.CouleurBrosse(brosse);
    c.EpaisseurPlume(epaisseur);
    c.StyleDePlume(style);
    c.ModeDePlume(mode);
    c.StyleDeBrosse(sb);
    switch (sorte) {
      case 0:
      case 1:
        c.MoveTo(xy[0], xy[1]);
        c.LineTo(xy[2], xy[3]);
        c.LineTo(xy[4], xy[5]);
        break;
      case 2: c.Ellipse(xy[0], xy[1], xy[2], xy[3]); break;
      case 3: c.Rectangle(xy[0], xy[1], xy[2], xy[3]); break;
      case 4: c.Polygone(xy, n); break;
      default: c.Pixel(xy[0], xy[1], plume); break;
    }
  });
}

TEST(CanevasImageRapide, MemesPixelsQueLeTraceSimple) {
  std::mt19937 g(20261210);
  for (int essai = 0; essai < 400; ++essai) {
    Toiles t;
    for (int f = 0; f < 40; ++f) Figure(t, g);
    for (int y = 0; y < kHauteur; ++y) {
      for (int x = 0; x < kPas; ++x) {
        ASSERT_EQ(t.a[y * kPas + x], t.b[y * kPas + x])
            << "essai " << essai << " " << x << "," << y;
      }
    }
  }
}

// Pads, tracks and hole circles at the sizes of the editor's zooms, in a band that cuts them.
TEST(CanevasImageRapide, PastillesEtPistesCoupeesCommeLeTraceSimple) {
  std::mt19937 g(7);
  for (int essai = 0; essai < 200; ++essai) {
    Toiles t;
    for (int f = 0; f < 60; ++f) {
      const int x = Coord(g, kLargeur), y = Coord(g, kHauteur);
      const int a = static_cast<int>(g() % 30), b = static_cast<int>(g() % 30);
      const int e = 1 + static_cast<int>(g() % 40);
      const int oct[16] = {x + a, y + b, x + b, y + a, x + b, y - a, x + a, y - b,
                           x - a, y - b, x - b, y - a, x - b, y + a, x - a, y + b};
      const ModePlume mode = g() % 2 ? ModePlume::OuExclusif : ModePlume::Copie;
      const int dx = static_cast<int>(g() % 81) - 40, dy = static_cast<int>(g() % 81) - 40;
      t.Les2([&](Canevas& c) {
        c.ModeDePlume(mode);
        c.CouleurPlume(0x00FF00);
        c.CouleurBrosse(0x00FF00);
        c.StyleDeBrosse(StyleBrosse::Plein);
        c.EpaisseurPlume(1);
        c.Polygone(oct, 8);
        c.Ellipse(x - a, y - a, x + a, y + a);
        c.EpaisseurPlume(e);
        c.MoveTo(x, y);
        c.LineTo(x + dx, y + dy);
      });
    }
    ASSERT_EQ(t.a, t.b) << "essai " << essai;
  }
}

}  // namespace
}  // namespace korv4
