#include "verification/Contour.h"

#include <algorithm>
#include <cmath>

#include "verification/Isolements.h"

namespace korv4 {

namespace {

// The outline, the extent asked of `etendue` when needed.
template <typename Etendue>
ContourCarte Contour(const Circuit& c, ContourFabrication mode, double margeMm, Etendue etendue) {
  ContourCarte r;
  r.Droite = c.EnteteCI.SurfaceX;
  r.Haut = c.EnteteCI.SurfaceY;
  if (mode == ContourFabrication::Carte) {
    int64_t aire = -1;
    for (int32_t i = 1; i < c.NbElements; ++i) {
      const ElementCI& e = c.Elements[i];
      const ElementCI& f = c.Elements[i + 1];
      if (!(e.Couche & 8) || e.Code != code::Rectangle1 || f.Code != code::Rectangle2) continue;
      const int64_t g = std::min(e.X, f.X), d = std::max(e.X, f.X);
      const int64_t b = std::min(e.Y, f.Y), h = std::max(e.Y, f.Y);
      if (d <= g || h <= b || (d - g) * (h - b) <= aire) continue;
      aire = (d - g) * (h - b);
      r.Gauche = g;
      r.Bas = b;
      r.Droite = d;
      r.Haut = h;
      r.Dessine = true;
      r.Mode = ContourFabrication::Carte;
    }
  }
  if (!r.Dessine && mode != ContourFabrication::Surface) {
    const BoiteTracee b = etendue();
    const double marge = margeMm / 0.0254;
    r.Gauche = static_cast<int64_t>(std::floor(b.Gauche - marge));
    r.Bas = static_cast<int64_t>(std::floor(b.Bas - marge));
    r.Droite = static_cast<int64_t>(std::ceil(b.Droite + marge));
    r.Haut = static_cast<int64_t>(std::ceil(b.Haut + marge));
    r.Mode = ContourFabrication::Etendue;
  }
  return r;
}

}  // namespace

ContourCarte CalculeContour(const Circuit& c, ContourFabrication mode, double margeMm,
                            StylePastilles style) {
  return Contour(c, mode, margeMm, [&] { return EtendueTracee(c, style); });
}

ContourCarte CalculeContour(const Circuit& c, ContourFabrication mode, double margeMm,
                            const BoiteTracee& etendue) {
  return Contour(c, mode, margeMm, [&] { return etendue; });
}

}  // namespace korv4
