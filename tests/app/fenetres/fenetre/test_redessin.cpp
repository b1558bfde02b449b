#include <gtest/gtest.h>

#include <QImage>
#include <utility>

#include "editeur/Session.h"
#include "partage/canevas/CanevasQt.h"
#include "render/CircuitExemple.h"

// A full redraw goes straight into the drawing area's pixels, and a scroll moves the pixels
// already drawn and draws only the strip it uncovers: at every zoom the drawing area must be
// the picture of one pass through the canvas.

namespace korv4 {
namespace {

constexpr int kLargeur = 640, kHauteur = 480;

struct Ecran {
  QImage image{kLargeur, kHauteur, QImage::Format_RGB32};
  CanevasQt toile{image};
  Session s{kLargeur, kHauteur};
  // surfaceX, surfaceY: the work surface, in units.
  Ecran(bool pixels, int32_t surfaceX, int32_t surfaceY) {
    image.fill(Qt::green);
    s.ed.toile.Cible(&toile);
    if (pixels) {
      s.ed.Image.Pixels = reinterpret_cast<uint32_t*>(image.bits());
      s.ed.Image.Largeur = image.width();
      s.ed.Image.Hauteur = image.height();
      s.ed.Image.Pas = image.bytesPerLine() / 4;
    }
    // Every kind of element over a part of the surface, a zone
    // selected, the relative origin shown: the marks drawn in exclusive-or too.
    Circuit& c = s.ed.circuit;
    CircuitExemple(c, 6000, 9000, 7000, 7);
    s.ed.ctx.SurfaceX = surfaceX;
    s.ed.ctx.SurfaceY = surfaceY;
    c.Selection = TSelection{1, 100, 900, CadreElements(c, 100, 900)};
    s.ed.OrigineRelative = true;
    s.ed.X0 = 3000;
    s.ed.Y0 = 2500;
    TraceCimp(s.ed);
  }
  QImage Zone() const {
    const RectPixel& z = s.ed.ctx.Zone;
    return image.copy(QRect(z.Gauche, z.Haut, z.Droite - z.Gauche, z.Bas - z.Haut));
  }
};

// The position of the first pixel that differs, for the message.
std::string Ecart(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return "tailles différentes";
  int n = 0, x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) {
        ++n;
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
      }
  return std::to_string(n) + " pixels différents, de (" + std::to_string(x0) + ", " +
         std::to_string(y0) + ") à (" + std::to_string(x1) + ", " + std::to_string(y1) + ")";
}

// The surfaces of the tests: the largest, on which every zoom scrolls, and a smaller one.
constexpr std::pair<int32_t, int32_t> kSurfaces[] = {{31000, 31000}, {12000, 9000}};

TEST(Redessin, DansLesPixelsCommeParLaToile) {
  for (const auto& [sx, sy] : kSurfaces)
    for (int zoom = 0; zoom <= 9; ++zoom) {
      for (int position : {0, 333, 1000}) {
        Ecran pixels(true, sx, sy), passe(false, sx, sy);
        for (Ecran* e : {&pixels, &passe}) {
          ChoixEchelle1Change(e->s.ed, zoom);
          AscenseurChange(e->s.ed, true, position);
          AscenseurChange(e->s.ed, false, position);
          ReTraceCimp(e->s.ed);
        }
        const QImage a = pixels.Zone(), b = passe.Zone();
        ASSERT_TRUE(a == b) << "surface " << sx << " x " << sy << ", zoom " << zoom << ", position "
                            << position << " : " << Ecart(a, b);
      }
    }
}

// A full redraw split into two bands drawn on two threads, at rows all down the area (grid
// rows among them, at the zooms that have a grid): the same pixels as one pass.
TEST(Redessin, EnDeuxBandesCommeEnUne) {
  for (int zoom = 0; zoom <= 9; ++zoom) {
    Ecran bandes(true, 31000, 31000), passe(false, 31000, 31000);
    for (Ecran* e : {&bandes, &passe}) {
      ChoixEchelle1Change(e->s.ed, zoom);
      AscenseurChange(e->s.ed, true, 700);
    }
    ReTraceCimp(passe.s.ed);
    const QImage b = passe.Zone();
    for (int32_t rang = 1; rang < bandes.s.ed.ctx.Zone.Bas; rang += 37) {
      ReTraceCimpEnBandes(bandes.s.ed, rang);
      const QImage a = bandes.Zone();
      ASSERT_TRUE(a == b) << "zoom " << zoom << ", bandes au rang " << rang << " : " << Ecart(a, b);
    }
  }
}

// Scrolls by a small step and by a page, down and up, right and left, to both ends: after each
// one the area equals a full redraw through the canvas at the same position.
TEST(Redessin, DefilementCommeUnRedessinComplet) {
  for (const auto& [sx, sy] : kSurfaces)
    for (int zoom = 0; zoom <= 9; ++zoom) {
      Ecran defile(true, sx, sy), passe(false, sx, sy);
      int32_t origineX = 0;
      for (Ecran* e : {&defile, &passe}) ChoixEchelle1Change(e->s.ed, zoom);
      const Ascenseur& v = defile.s.ed.AscVertical;
      const Ascenseur& h = defile.s.ed.AscHorizontal;
      struct Pas {
        bool vertical;
        int decalage;
      };
      const Pas suite[] = {{true, v.PetitPas},  {true, v.GrandPas},   {true, -v.PetitPas},
                           {true, 3},           {true, -v.GrandPas},  {true, 1000},
                           {true, -1},          {true, -1000},        {false, h.PetitPas},
                           {false, h.GrandPas}, {false, -h.PetitPas}, {false, 7},
                           {false, 1000},       {false, -h.GrandPas}, {false, -1000}};
      for (const Pas& p : suite) {
        for (Ecran* e : {&defile, &passe}) {
          const Ascenseur& a = p.vertical ? e->s.ed.AscVertical : e->s.ed.AscHorizontal;
          AscenseurChange(e->s.ed, p.vertical, a.Position + p.decalage);
        }
        // The same view, and what the window shows of it the same.
        ASSERT_EQ(defile.s.ed.ctx.OrigineX, passe.s.ed.ctx.OrigineX);
        ASSERT_EQ(defile.s.ed.ctx.OrigineY, passe.s.ed.ctx.OrigineY);
        const QImage a = defile.Zone(), b = passe.Zone();
        ASSERT_TRUE(a == b) << "surface " << sx << " x " << sy << ", zoom " << zoom
                            << (p.vertical ? ", vertical " : ", horizontal ") << p.decalage
                            << " (origine x " << origineX << " -> " << defile.s.ed.ctx.OrigineX
                            << ") : " << Ecart(a, b);
        origineX = defile.s.ed.ctx.OrigineX;
        // A pointer move between two scrolls: the cursor follows in the moved picture.
        for (Ecran* e : {&defile, &passe}) e->s.Bouge(4000 + p.decalage, 3000);
      }
    }
}

}  // namespace
}  // namespace korv4
