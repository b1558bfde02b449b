#pragma once

#include <cstdint>

#include "model/Circuit.h"
#include "render/Traceur.h"

// The board's outline, as the board-house set cuts it and the edge rule of the check measures
// from: Carte is the rectangle drawn on the drilling plan (the largest when there are several),
// or when there is none the extent of what the files draw plus the margin; Etendue that extent
// plus the margin; Surface the work surface.

namespace korv4 {

enum class ContourFabrication { Carte, Etendue, Surface };

struct ContourCarte {
  int64_t Gauche = 0, Bas = 0, Droite = 0, Haut = 0;      // units
  ContourFabrication Mode = ContourFabrication::Surface;  // what it was made from
  bool Dessine = false;                                   // a rectangle of the drilling plan
};

ContourCarte CalculeContour(const Circuit& c, ContourFabrication mode, double margeMm,
                            StylePastilles style);

// The same with the extent of what the files draw already measured (EtendueTracee).
struct BoiteTracee;
ContourCarte CalculeContour(const Circuit& c, ContourFabrication mode, double margeMm,
                            const BoiteTracee& etendue);

}  // namespace korv4
