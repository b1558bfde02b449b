#pragma once

#include <cstdint>

#include "model/Circuit.h"
#include "render/CircuitExemple.h"

// Boards that stress the isolation check's index, for its tests and benchmarks.

namespace korv4 {

// About `nombre` records of copper packed on both faces as a dense board is: square pads 197
// (59 x 59, drilled 0.8 mm) every 100 units, on face 1 a short horizontal track (12 wide)
// between each two rows and a stub to the left of each pad, on face 2 a short vertical track
// between each two columns; 14.5 units (0.37 mm) and more between pieces. `defauts` pads are
// moved 10 units to the right, 4.5 units from the face-2 track beside them.
inline void CircuitDense(Circuit& c, int32_t nombre, int32_t defauts = 5) {
  RazCircuit(c);
  c.EnteteCI.SurfaceX = 31000;
  c.EnteteCI.SurfaceY = 31000;
  // A cell of the pattern is 4 records: a pad, a face-1 track, a face-2 track and a stub,
  // 2 records each but the pad: 7 records.
  int32_t cote = 1;
  while (cote * cote * 7 < nombre) ++cote;
  int32_t k = 0;
  for (int32_t j = 0; j < cote && c.NbElements + 7 <= nombre; ++j) {
    for (int32_t i = 0; i < cote && c.NbElements + 7 <= nombre; ++i, ++k) {
      const int32_t x = 200 + i * 100, y = 200 + j * 100;
      const bool fautif = defauts > 0 && k % (cote * cote / (defauts + 1) + 1) == cote / 2 &&
                          i + 1 < cote && k / (cote * cote / (defauts + 1) + 1) <= defauts;
      AjouteRecord(c, kCouchePastilles, 197, 1, fautif ? x + 10 : x, y);
      AjouteRecord(c, 1, 161, kPremierPoint, x + 10, y + 50);
      AjouteRecord(c, 1, 161, kDernierPoint, x + 60, y + 50);
      AjouteRecord(c, 2, 161, kPremierPoint, x + 50, y + 10);
      AjouteRecord(c, 2, 161, kDernierPoint, x + 50, y + 60);
      AjouteRecord(c, 1, 161, kPremierPoint, x, y);
      AjouteRecord(c, 1, 161, kDernierPoint, x - 30, y);
    }
  }
}

}  // namespace korv4
