#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/Canevas.h"

// The rasteriser as it was before its fast paths, kept as it is: the plain reference that
// CanevasImage's spans must match pixel for pixel (test_canevas_image_rapide.cpp). Never
// optimise this copy.

namespace korv4 {

class CanevasSimple : public Canevas {
 public:
  // pixels: hauteur rows of largeur pixels, row y at pixels + y * pas; not owned, may be null
  // for a canvas that draws elsewhere (see CanevasQt).
  CanevasSimple(uint32_t* pixels, int largeur, int hauteur, std::ptrdiff_t pas);

  // The same image has moved in memory (a copied QImage detached).
  void Tampon(uint32_t* pixels) { pixels_ = pixels; }

  void CouleurPlume(Couleur c) override { plume_ = c; }
  void EpaisseurPlume(int largeur) override { epaisseur_ = largeur; }
  void StyleDePlume(StylePlume s) override { style_ = s; }
  void ModeDePlume(ModePlume m) override { mode_ = m; }
  void CouleurBrosse(Couleur c) override { brosse_ = c; }
  void StyleDeBrosse(StyleBrosse s) override { styleBrosse_ = s; }

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Polygone(const int* xy, int n) override;
  void Pixel(int x, int y, Couleur c) override;

 protected:
  // A filled polygon that is not convex (no drawing pass makes one): the pixels whose centre is
  // inside by the even-odd rule, then the outline with the pen.
  virtual void PolygoneConcave(const int* xy, int n);

  // In exclusive-or, colour 0 changes no pixel: such a figure is left out, so that a device
  // without exclusive-or (a printer page) does not draw it opaque. `brosse`: the figure is
  // filled with the brush when it is solid.
  bool SansEffet(bool brosse) const {
    return mode_ == ModePlume::OuExclusif && (plume_ & 0xFFFFFF) == 0 &&
           (!brosse || styleBrosse_ == StyleBrosse::Creux || (brosse_ & 0xFFFFFF) == 0);
  }

  Couleur plume_ = 0, brosse_ = 0xFFFFFF;
  int epaisseur_ = 1;
  StylePlume style_ = StylePlume::Plein;
  ModePlume mode_ = ModePlume::Copie;
  StyleBrosse styleBrosse_ = StyleBrosse::Plein;
  int posX_ = 0, posY_ = 0;

 private:
  void Ligne(int y, int x1, int x2, Couleur c);  // x1..x2 inclusive, clipped, in the pen mode
  void Point(int x, int y, Couleur c) { Ligne(y, x, x, c); }
  void TraitFin(int x1, int y1, int x2, int y2, bool dernier);
  void TraitLarge(int x1, int y1, int x2, int y2);
  bool Pointille(int x, int y) const {
    return style_ == StylePlume::Pointille && epaisseur_ <= 1 && ((x + y) & 1) != 0;
  }
  // Pixels x1..x2 of row y of a figure's outline (dotted pens skip every other pixel).
  void LigneContour(int y, int x1, int x2);

  uint32_t* pixels_;
  int largeur_, hauteur_;
  std::ptrdiff_t pas_;
  int largeurDemi_ = -1;      // the pen width demi_ was computed for
  std::vector<double> demi_;  // half-width of a round end, by row offset
};

}  // namespace korv4
