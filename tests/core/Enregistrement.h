#pragma once

// One element record in a line, and a circuit of given records, for tests and benchmarks.

#include <vector>

#include "model/Circuit.h"

namespace korv4::essai {

// The character comes last: it is 0 for every kind but text characters. Coordinates are cut to
// 16 bits, as the store keeps them.
inline ElementCI Rec(uint8_t couche, uint8_t code, uint8_t attr, int32_t x, int32_t y,
                     uint8_t car = 0) {
  ElementCI e;
  e.Couche = couche;
  e.Code = code;
  e.Attribut = attr;
  e.Caractere = car;
  e.X = static_cast<uint16_t>(x);
  e.Y = static_cast<uint16_t>(y);
  return e;
}

// A circuit whose store holds exactly these records.
inline Circuit Fait(const std::vector<ElementCI>& recs) {
  Circuit c;
  for (const ElementCI& e : recs) c.Elements[++c.NbElements] = e;
  return c;
}

}  // namespace korv4::essai
