#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/Gerber.h"
#include "model/Circuit.h"

// The board-house set: every file a manufacturer asks for, as byte buffers, beside the Gerber
// and drill exports (which stay as they are). All layers are seen from the component side, in
// the store's coordinates (inches, thousandths), so that they lie on each other:
//   BASE.GTL  top copper: face 2 (pads included)
//   BASE.GBL  bottom copper: face 1 (its texts are stored mirrored, to read on the copper)
//   BASE.GTO  top legend: the placement plan
//   BASE.GTS  top solder mask, BASE.GBS bottom solder mask: an opening over every pad of the
//             face, larger than the pad by the margin on every side
//   BASE.GKO  outline: the work surface's rectangle, or the drawn extent plus a margin
//   BASE.DRL  Excellon drill file, plated holes, with its tool table
//   LISEZMOI.md  what the set holds, in French
// The extensions are the ones board houses and layer-guessing tools recognise without being
// told; the text file's name and extension are none of theirs. Copper files follow the Gerber
// export's rule (face 1 also for a board of pads alone); a mask goes with its copper when the
// face has pads; the drill file when the board has holes. The Gerber files carry their X2 file
// attributes as "G04 #@! TF...*" comments, one aperture definition per %...% block.

namespace korv4 {

enum class ContourFabrication { Surface, Etendue };

struct OptionsFabrication {
  std::string Base = "carte";  // start of every layer file's name
  double MargeMasqueMm = 0.1;  // 0 to 5 mm
  ContourFabrication Contour = ContourFabrication::Surface;
  double MargeContourMm = 1.0;  // for Etendue, 0 to 50 mm
  StylePastilles Pastilles = StylePastilles::Octogonales;
};

struct FichierFabrication {
  std::string Nom;
  std::string Couche;  // the layer in French (UTF-8), as the text file lists it
  std::vector<uint8_t> Octets;
};

struct JeuFabrication {
  std::vector<FichierFabrication> Fichiers;  // empty: nothing to make (or an error)
  std::string Erreur;                        // French (UTF-8); empty when the set is made
};

// The set of a circuit; the circuit is not changed. An empty circuit, or one whose records
// reach no file, gives no file. Damaged drill diameters or options out of range give an error
// and no file.
JeuFabrication FabriqueJeu(const Circuit& c, const OptionsFabrication& o);

// The name of the text file of the set.
constexpr const char* kNomLisezMoi = "LISEZMOI.md";

}  // namespace korv4
