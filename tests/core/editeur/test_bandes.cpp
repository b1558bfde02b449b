#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "editeur/Session.h"
#include "render/CanevasImage.h"
#include "render/CircuitExemple.h"

// The full redraw of the drawing area split into two bands drawn on two threads (the editor's
// Equipe), without Qt: the core's rasteriser on a plain buffer. Also run under
// ThreadSanitizer (make test-tsan).

namespace korv4 {
namespace {

constexpr int kLargeur = 480, kHauteur = 360;

struct Ecran {
  std::vector<uint32_t> pixels = std::vector<uint32_t>(kLargeur * kHauteur, 0xFF00FF00u);
  CanevasImage toile{pixels.data(), kLargeur, kHauteur, kLargeur};
  Session s{kLargeur, kHauteur};
  // pixels: the redraw goes straight into the pixels (and may split); otherwise through the
  // canvas in one pass.
  explicit Ecran(bool direct) {
    s.ed.toile.Cible(&toile);
    if (direct) {
      s.ed.Image.Pixels = pixels.data();
      s.ed.Image.Largeur = kLargeur;
      s.ed.Image.Hauteur = kHauteur;
      s.ed.Image.Pas = kLargeur;
    }
    Circuit& c = s.ed.circuit;
    CircuitExemple(c, 6000, 9000, 7000, 7);
    s.ed.ctx.SurfaceX = 31000;
    s.ed.ctx.SurfaceY = 31000;
    c.Selection = TSelection{1, 100, 900, CadreElements(c, 100, 900)};
    s.ed.OrigineRelative = true;
    s.ed.X0 = 3000;
    s.ed.Y0 = 2500;
    TraceCimp(s.ed);
  }
  std::vector<uint32_t> Zone() const {
    const RectPixel& z = s.ed.ctx.Zone;
    std::vector<uint32_t> v;
    for (int y = std::max(z.Haut, 0); y < std::min(z.Bas, kHauteur); ++y)
      for (int x = std::max(z.Gauche, 0); x < std::min(z.Droite, kLargeur); ++x)
        v.push_back(pixels[static_cast<size_t>(y) * kLargeur + x]);
    return v;
  }
};

// At a few zooms, the two bands split at rows down the area (grid rows among them) give the
// pixels of one pass through the canvas.
TEST(RedessinEnBandes, DeuxFilsCommeUnePasse) {
  for (int zoom : {0, 2, 5, 9}) {
    Ecran bandes(true), passe(false);
    for (Ecran* e : {&bandes, &passe}) {
      ChoixEchelle1Change(e->s.ed, zoom);
      AscenseurChange(e->s.ed, true, 700);
    }
    ReTraceCimp(passe.s.ed);
    const std::vector<uint32_t> attendu = passe.Zone();
    for (int32_t rang = 1; rang < bandes.s.ed.ctx.Zone.Bas; rang += 53) {
      ReTraceCimpEnBandes(bandes.s.ed, rang);
      ASSERT_TRUE(bandes.Zone() == attendu) << "zoom " << zoom << ", bandes au rang " << rang;
    }
  }
}

// A scroll's move of the picture in two parts on two threads gives the pixels of a move made
// through a copy: up, down, sideways (either part may be the larger), both at once, and moves
// as large as the area less a row.
TEST(RedessinEnBandes, DeplacementEnDeuxCommeParUneCopie) {
  constexpr int32_t kL = 203, kH = 157, kPas = 211;
  const RectPixel r{5, 3, 197, 151};
  Session s{kL, kH};
  std::vector<uint32_t> pixels(static_cast<size_t>(kPas) * kH);
  s.ed.Image.Pixels = pixels.data();
  s.ed.Image.Largeur = kL;
  s.ed.Image.Hauteur = kH;
  s.ed.Image.Pas = kPas;
  const int32_t moves[][2] = {{0, 7},   {0, -7},   {9, 0},  {-9, 0}, {0, 147}, {0, -147},
                              {191, 0}, {-191, 0}, {4, -3}, {-6, 5}, {0, 1},   {-1, 0}};
  for (const auto& [dx, dy] : moves) {
    for (bool deux : {false, true}) {
      for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 2654435761u);
      // What each pixel of r gets: the pixel (dx, dy) before it, if that one lies in r.
      std::vector<uint32_t> attendu = pixels;
      for (int32_t y = r.Haut; y < r.Bas; ++y)
        for (int32_t x = r.Gauche; x < r.Droite; ++x)
          if (x - dx >= r.Gauche && x - dx < r.Droite && y - dy >= r.Haut && y - dy < r.Bas)
            attendu[static_cast<size_t>(y) * kPas + x] =
                pixels[static_cast<size_t>(y - dy) * kPas + x - dx];
      DeplacePixels(s.ed, r, dx, dy, deux);
      ASSERT_TRUE(pixels == attendu) << dx << " " << dy << (deux ? " en deux" : "");
    }
  }
}

}  // namespace
}  // namespace korv4
