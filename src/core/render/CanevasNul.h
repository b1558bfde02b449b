#pragma once

#include "render/Canevas.h"

namespace korv4 {

// A canvas that draws nothing: an editor without a window, or a drawing pass timed without
// its output.
class CanevasNul : public Canevas {
 public:
  void CouleurPlume(Couleur) override {}
  void EpaisseurPlume(int) override {}
  void StyleDePlume(StylePlume) override {}
  void ModeDePlume(ModePlume) override {}
  void CouleurBrosse(Couleur) override {}
  void StyleDeBrosse(StyleBrosse) override {}
  void MoveTo(int, int) override {}
  void LineTo(int, int) override {}
  void Rectangle(int, int, int, int) override {}
  void Ellipse(int, int, int, int) override {}
  void Polygone(const int*, int) override {}
  void Pixel(int, int, Couleur) override {}
};

}  // namespace korv4
