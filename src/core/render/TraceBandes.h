#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "model/Circuit.h"
#include "render/ContexteTrace.h"

// A picture of the circuit drawn a rectangle at a time, straight into 32-bit pixels: the bands
// of a redraw that two threads share, or the strip a scroll uncovers.

namespace korv4 {

// The background and the circuit drawn into the pixels of r (within ctx's zone) of an image
// whose row y starts at pixels + y * pas, as a pass of ctx over its whole zone leaves them
// there. The background leaves out the grid dots of the first row and column of what it draws:
// r must not start on a grid row or column other than the zone's own first ones. `ensuite`,
// if given, draws more with the rectangle's context (the editor's origin mark). The cursor and
// the selection's marks are left out.
void TraceRectangleImage(const Circuit& c, const EtatTravail& etat, const ContexteTrace& ctx,
                         uint32_t* pixels, std::ptrdiff_t pas, const RectPixel& r,
                         const std::function<void(ContexteTrace&)>& ensuite = {});

// The row itself, or the next when the background puts grid dots on it: where a band may start.
int32_t RangHorsGrille(const ContexteTrace& ctx, int32_t rang);

}  // namespace korv4
