#pragma once

#include <string>
#include <vector>

#include "model/Circuit.h"
#include "verification/Isolements.h"

// The rules of manufacture the check adds to the clearances, each a fault kind of its own:
// - CouronneEtroite: the copper ring around a drilled pad, (narrowest width of the pad as drawn -
//   drill) / 2, below OptionsVerification::CouronneMm (a drill wider than its pad is
//   PercageTropGrand, not this);
// - BordTropProche: copper (pads, tracks, copper texts of the faces the board is made with)
//   closer to the board's outline (OptionsVerification::Contour, as the set cuts it) than
//   OptionsVerification::BordMm without reaching past it; one fault per element, where it
//   comes closest (past the outline: HorsContour when past the work surface, a warning of the
//   set otherwise);
// - TrouSansCuivre: a drilled pad of a kind that gives no copper to the set (a centring target)
//   while it is not a bare hole (spare diameter): a hole that would be plated through nothing;
// - ExtremiteMemeNet: a track end that stops short of copper of its own piece (a loop missing
//   its start, a stub short of a pad already joined another way) by less than the clearance,
//   the gap ahead of the track (within 60 degrees of its direction). Ends short of other pieces
//   are the isolation check's ExtremitePiste.

namespace korv4 {

// Appends the faults of these rules.
void VerifieRegles(const Circuit& c, const OptionsVerification& o, std::vector<Defaut>& defauts);

// The same from the copper of both faces and the extent the check has already read
// (cuivre::LitCouche of faces 1 and 2 with the options' style, EtendueTracee).
namespace cuivre {
struct Geometrie;
}
void VerifieRegles(const Circuit& c, const OptionsVerification& o,
                   const cuivre::Geometrie* const faces[3], const BoiteTracee* etendue,
                   std::vector<Defaut>& defauts);

// The middle of a fault's line for these kinds, e.g. "couronne de 0,10 mm (minimum 0,15 mm)".
std::string DecritRegle(const Defaut& d);

}  // namespace korv4
