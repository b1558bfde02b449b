#pragma once

#include <vector>

#include "render/Canevas.h"
#include "render/CanevasNul.h"
#include "render/ContexteTrace.h"

namespace korv4 {

// A scroll of the picture: the pixels of Zone moved by (Dx, Dy); none when Zone is empty.
struct Defilement {
  RectPixel Zone;
  int32_t Dx = 0, Dy = 0;
};

// What changed in the picture: a scroll first, then the boxes touched in the moved picture
// (a few small boxes rather than one that would span two far places).
struct Changement {
  Defilement defilement;
  std::vector<RectPixel> boites;
};

// A canvas that passes every figure on and keeps the boxes of the pixels it may have touched,
// and the scroll of the picture, so that the window repaints only those parts of the drawing
// area and lets the screen move the rest.
class CanevasSuivi : public Canevas {
 public:
  // No target: the figures go nowhere (an editor without a window).
  void Cible(Canevas* c) { cible_ = c != nullptr ? c : &nul_; }
  bool Branche() const { return cible_ != &nul_; }
  // The box of every pixel changed since the last call, a scroll's area included (empty:
  // Droite <= Gauche), then forgets it.
  RectPixel Prend();
  // The scroll and the boxes since the last call into c (its memory kept), then forgets them.
  void Prend(Changement& c);
  void Tout(const RectPixel& r) { Ajoute(r.Gauche, r.Haut, r.Droite - 1, r.Bas - 1, 0); }
  // The pixels of the area r moved by (dx, dy): the boxes touched before move with them; a
  // second scroll before the changes are taken makes the whole area changed.
  void Defile(const RectPixel& r, int32_t dx, int32_t dy);

  void CouleurPlume(Couleur c) override { cible_->CouleurPlume(c); }
  void EpaisseurPlume(int l) override {
    largeur_ = l;
    cible_->EpaisseurPlume(l);
  }
  void StyleDePlume(StylePlume s) override { cible_->StyleDePlume(s); }
  void ModeDePlume(ModePlume m) override { cible_->ModeDePlume(m); }
  void CouleurBrosse(Couleur c) override { cible_->CouleurBrosse(c); }
  void StyleDeBrosse(StyleBrosse s) override { cible_->StyleDeBrosse(s); }
  void MoveTo(int x, int y) override {
    x_ = x;
    y_ = y;
    cible_->MoveTo(x, y);
  }
  void LineTo(int x, int y) override {
    Ajoute(x_, y_, x, y, largeur_);
    x_ = x;
    y_ = y;
    cible_->LineTo(x, y);
  }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    Ajoute(x1, y1, x2, y2, largeur_);
    cible_->Rectangle(x1, y1, x2, y2);
  }
  void Ellipse(int x1, int y1, int x2, int y2) override {
    Ajoute(x1, y1, x2, y2, largeur_);
    cible_->Ellipse(x1, y1, x2, y2);
  }
  void Polygone(const int* xy, int n) override {
    for (int i = 0; i < n; ++i) Ajoute(xy[2 * i], xy[2 * i + 1], xy[2 * i], xy[2 * i + 1], 1);
    cible_->Polygone(xy, n);
  }
  void Pixel(int x, int y, Couleur c) override {
    Ajoute(x, y, x, y, 0);
    cible_->Pixel(x, y, c);
  }

 private:
  void Ajoute(int x1, int y1, int x2, int y2, int largeur);
  void AjouteBoite(const RectPixel& r);

  CanevasNul nul_;
  Canevas* cible_ = &nul_;
  RectPixel dommage_;               // the box being grown
  std::vector<RectPixel> fermees_;  // the boxes before it, far from it
  Defilement defilement_;
  int largeur_ = 1;
  int x_ = 0, y_ = 0;
};

}  // namespace korv4
