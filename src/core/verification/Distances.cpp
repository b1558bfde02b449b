#include "verification/Distances.h"

#include <algorithm>
#include <vector>

#include "verification/Cuivre.h"

namespace korv4 {

double EcartBordABord(const Circuit& c, int face, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                      StylePastilles style) {
  using namespace cuivre;
  if (face != 1 && face != 2) return -1;
  const Geometrie g = LitCouche(c, face == 1 ? kMasqueFace1 : kMasqueFace2, style);
  // The element under each point: the first whose copper holds it.
  auto Sous = [&g](int32_t x, int32_t y) {
    Forme point;
    point.a = point.b = {static_cast<double>(x), static_cast<double>(y)};
    for (const Forme& f : g.formes) {
      if (x < f.xmin || x > f.xmax || y < f.ymin || y > f.ymax) continue;
      if (Mesure(g, f, point).ecart <= kTolerance) return f.groupe;
    }
    return -1;
  };
  const int32_t a = Sous(x1, y1), b = Sous(x2, y2);
  if (a < 0 || b < 0) return -1;
  if (a == b) return 0;
  std::vector<const Forme*> formesA, formesB;
  for (const Forme& f : g.formes) {
    if (f.groupe == a) formesA.push_back(&f);
    if (f.groupe == b) formesB.push_back(&f);
  }
  double ecart = 1e300;
  for (const Forme* fa : formesA)
    for (const Forme* fb : formesB) ecart = std::min(ecart, Mesure(g, *fa, *fb).ecart);
  return std::max(0.0, ecart);
}

}  // namespace korv4
