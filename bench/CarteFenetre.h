#pragma once

#include <cstdint>

#include "editeur/Editeur.h"
#include "render/CircuitExemple.h"

// The board the editor's benchmarks draw: sample records on a quarter of the largest surface, so
// that a zone of half of them can be turned a quarter turn and carried on the surface.

namespace korv4 {

constexpr int32_t kSurfaceX = 31000, kSurfaceY = 31000;
constexpr int32_t kEtendue = 15000;

// `nombre` sample records moved away from the edges (no element's box passes the surface's
// origin), on the largest surface. The caller shows them (AfficheCI).
inline void CarteFenetre(Editeur& ed, int32_t nombre) {
  CircuitExemple(ed.circuit, nombre, kEtendue, kEtendue, 2024);
  for (int32_t i = 1; i <= ed.circuit.NbElements; ++i) {
    ElementCI& e = ed.circuit[i];
    if (e.Code != code::Rayon) e.X = static_cast<uint16_t>(e.X + 1000);
    e.Y = static_cast<uint16_t>(e.Y + 1000);
  }
  ed.ctx.SurfaceX = kSurfaceX;
  ed.ctx.SurfaceY = kSurfaceY;
}

}  // namespace korv4
