#include "render/CanevasSuivi.h"

#include <algorithm>

namespace korv4 {

void CanevasSuivi::Ajoute(int x1, int y1, int x2, int y2, int largeur) {
  const int m = largeur / 2 + 2;  // half the pen and the pixel a figure may pass its box by
  RectPixel r{std::min(x1, x2) - m, std::min(y1, y2) - m, std::max(x1, x2) + m + 1,
              std::max(y1, y2) + m + 1};
  if (dommage_.Droite <= dommage_.Gauche) {
    dommage_ = r;
    return;
  }
  dommage_.Gauche = std::min(dommage_.Gauche, r.Gauche);
  dommage_.Haut = std::min(dommage_.Haut, r.Haut);
  dommage_.Droite = std::max(dommage_.Droite, r.Droite);
  dommage_.Bas = std::max(dommage_.Bas, r.Bas);
}

}  // namespace korv4
