#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/Fabrication.h"

// The board as it will come back from the board house: a picture of each side drawn from the
// geometry of the board-house set (its outline, copper, mask openings, legend and holes), by
// the editor's own rasteriser. Substrate, solder mask of the chosen colour over the copper
// (which shows through it a little lighter), openings showing the copper's finish, the legend
// in white on the top side, the holes through, and nothing outside the outline. The bottom side
// is seen from below: mirrored left to right.

namespace korv4 {

enum class CouleurMasque { Vert, Bleu, Rouge, Noir, Blanc };

// The French names of the colours, in the order of the enumeration ("vert", "bleu", "rouge",
// "noir", "blanc").
const char* NomCouleurMasque(CouleurMasque c);

struct OptionsApercu {
  int Largeur = 1000;  // pixels across the outline; the height follows (1 to 20000)
  CouleurMasque Masque = CouleurMasque::Vert;
};

struct ImageApercu {
  int Largeur = 0, Hauteur = 0;
  std::vector<uint32_t> Pixels;  // 0xFFRRGGBB, rows of Largeur pixels
};

// The picture of one side of the set the plan describes (`dessous`: the bottom side, seen from
// below). False with a French reason when there is nothing to draw or the size is out of range.
bool DessineApercu(const Circuit& c, const PlanFabrication& plan, const OptionsApercu& o,
                   bool dessous, ImageApercu& image, std::string& erreur);

// The colours of the picture, for tests: outside the board, bare substrate, mask over
// substrate, mask over copper, the copper's finish, the legend.
struct CouleursApercu {
  uint32_t Fond, Substrat, Masque, MasqueSurCuivre, Finition, Legende;
};
CouleursApercu CouleursDe(CouleurMasque c);

}  // namespace korv4
