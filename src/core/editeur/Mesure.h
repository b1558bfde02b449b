#pragma once

#include <cstdint>
#include <string>

// The measure tool's line for the status bar (UTF-8): the vector from the press to the
// release in the current unit, its length in that unit and in the other, and the gap between
// the copper edges when both ends are on copper (`ecartBords` in units, -1 when not):
// "dx = 2,54 mm, dy = -1,27 mm, longueur 2,84 mm (1,12 pas) ; bord à bord 0,76 mm (0,30 pas)".

namespace korv4 {

std::string DecritMesure(int32_t dx, int32_t dy, bool enMm, double ecartBords = -1);

}  // namespace korv4
