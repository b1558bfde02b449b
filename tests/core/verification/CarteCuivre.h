#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/Circuit.h"
#include "render/CircuitExemple.h"

// Small boards built record by record for the tests of the nets and the checks of the copper.
// Units are 1/1000 inch: track 162 is 20 wide, pad 198 (round 2 mm) 79 across, pad 193
// (rectangle 0.9 x 1.5 mm) 35 x 59; drill index 1 is 0.8 mm.

namespace korv4 {

struct CarteCuivre {
  Circuit c;
  CarteCuivre() {
    c.EnteteCI.SurfaceX = 5000;
    c.EnteteCI.SurfaceY = 5000;
  }
  // Adds a record and returns its index.
  int32_t Rec(uint8_t couche, uint8_t code, uint8_t attribut, int32_t x, int32_t y,
              uint8_t car = 0) {
    AjouteRecord(c, couche, code, attribut, x, y, car);
    return c.NbElements;
  }
  int32_t Pastille(int32_t x, int32_t y, uint8_t code = 198, uint8_t percage = 1) {
    return Rec(kCouchePastilles, code, percage, x, y);
  }
  // A track; returns its first record.
  int32_t Piste(uint8_t couche, std::vector<std::pair<int32_t, int32_t>> pts, uint8_t code = 162) {
    const int32_t premier = c.NbElements + 1;
    for (size_t k = 0; k < pts.size(); ++k)
      Rec(couche, code,
          k == 0 ? kPremierPoint : (k + 1 == pts.size() ? kDernierPoint : kPointMilieu),
          pts[k].first, pts[k].second);
    return premier;
  }
  int32_t Texte(uint8_t couche, int32_t x, int32_t y, const std::string& t, uint8_t taille = 1) {
    const int32_t premier = c.NbElements + 1;
    for (size_t k = 0; k < t.size(); ++k)
      Rec(couche, code::TexteH, taille, x + static_cast<int32_t>(k) * PasTexte[taille], y,
          static_cast<uint8_t>(t[k]));
    Rec(couche, code::FinTexte, 0, 0, 0);
    return premier;
  }
};

}  // namespace korv4
