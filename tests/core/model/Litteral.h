#pragma once

// Plain, literal versions of the model operations that the store implements with faster
// equivalents: repeated scans from record 1, one-by-one removals that shift the tail. The
// differential tests check that both give exactly the same store.

#include "model/Circuit.h"

namespace korv4::litteral {

void JonctionPistes(Circuit& c);
Plage SelectionRectangle(Circuit& c, const Cadre& rectangle);

}  // namespace korv4::litteral
