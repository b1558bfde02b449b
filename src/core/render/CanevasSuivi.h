#pragma once

#include "render/Canevas.h"
#include "render/CanevasNul.h"
#include "render/ContexteTrace.h"

namespace korv4 {

// A canvas that passes every figure on and keeps the box of the pixels it may have touched,
// so that the window repaints only that part of the drawing area.
class CanevasSuivi : public Canevas {
 public:
  // No target: the figures go nowhere (an editor without a window).
  void Cible(Canevas* c) { cible_ = c != nullptr ? c : &nul_; }
  bool Branche() const { return cible_ != &nul_; }
  // The damaged box since the last call (empty: Droite <= Gauche), then forgets it.
  RectPixel Prend() {
    RectPixel r = dommage_;
    dommage_ = RectPixel{};
    return r;
  }
  void Tout(const RectPixel& r) { Ajoute(r.Gauche, r.Haut, r.Droite - 1, r.Bas - 1, 0); }

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

  CanevasNul nul_;
  Canevas* cible_ = &nul_;
  RectPixel dommage_;
  int largeur_ = 1;
  int x_ = 0, y_ = 0;
};

}  // namespace korv4
