#pragma once

// One element record in a line, for tests and benchmarks.

#include "model/Tables.h"

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

}  // namespace korv4::essai
