#pragma once

#include <cstdint>

#include "model/Circuit.h"
#include "render/Traceur.h"

// The gap between the copper edges of the two elements of a face that lie under two points
// (pads, tracks, copper texts as the Gerber files draw them): what the isolation check would
// measure between them, in units (1/1000 inch); 0 when they touch or are the same element; -1
// when a point is on no copper of that face (or the face is not 1 or 2).

namespace korv4 {

double EcartBordABord(const Circuit& c, int face, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                      StylePastilles style = StylePastilles::Octogonales);

}  // namespace korv4
