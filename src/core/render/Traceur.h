#pragma once

#include <cstdint>
#include <vector>

#include "model/Circuit.h"

// The plotting of the works as a photo-plotter draws them: the records of a layer collected in
// plotting order, each record's aperture (its D-code) and the aperture's shape, pads flashed,
// tracks, drawings and texts stroked, circles and ellipses as polygons. The Gerber writer
// (export/Gerber.h) writes this plotting; the check and the nets (verification) and the
// board-house set read it through plotters of their own, so that all see the same copper.

namespace korv4 {

// Layer masks of the three files.
constexpr uint8_t kMasqueFace1 = 1, kMasqueFace2 = 2, kMasqueImplantation = 4;

// The records of one layer (those whose layer mask shares a bit with `masque`), in plotting
// order: copper files take the pads by kind, then the track points by kind, then the texts by
// size; the placement plan takes the drawings by thickness, then the texts by size. Within
// each kind or size the records keep their store order, so tracks and drawings stay whole.
// Pads the files plot nothing of (Gerber column Rien of model/Pastilles.def: the spare
// diameter, a hole without copper) are left out; their holes are still drilled.
std::vector<ElementCI> CollecteElementsGerber(const Circuit& c, uint8_t masque);

// Round pads (shape Ronde of model/Pastilles.def) as octagons or as circles.
enum class StylePastilles { Octogonales, Circulaires };

// What the plotting of a layer does: select an aperture, move, draw, flash. The Gerber file
// writer is one such plotter (export/Gerber.h); the isolation check and the board-house set
// read the same plotting through plotters of their own, so that they see what the files draw.
class Traceur {
 public:
  virtual ~Traceur() = default;
  // The aperture (D-code) that the following points use.
  virtual void Ouverture(int dcode) = 0;
  // The point (x, y) in units with its operation: "D01*" draw to, "D02*" move to, "D03*"
  // flash.
  virtual void Point(int32_t x, int32_t y, const char* operation) = 0;
  // Called before the plotting of each entry of the list given to TraceElements (its index in
  // that list); nothing by default.
  virtual void Element(size_t /*indice*/) {}
  void DeplaceVers(int32_t x, int32_t y) { Point(x, y, "D02*"); }
  void TraceVers(int32_t x, int32_t y) { Point(x, y, "D01*"); }
};

// Plots a collected layer (CollecteElementsGerber): selects each record's aperture when it
// changes, flashes the pads, strokes tracks, drawings and texts.
void TraceElements(Traceur& t, const std::vector<ElementCI>& elements);

// The same collection as CollecteElementsGerber, as indexes into the store.
std::vector<int32_t> CollecteIndicesGerber(const Circuit& c, uint8_t masque);
// The same for the records premier..dernier alone (in the order they take in the whole layer).
std::vector<int32_t> CollecteIndicesGerber(const Circuit& c, uint8_t masque, int32_t premier,
                                           int32_t dernier);
// The rank of a record's kind or size in the plotting of a layer (records of a smaller rank are
// plotted first), -1 when the record does not go there.
int CleTrace(const ElementCI& e, uint8_t masque);

// The aperture definition a layer file writes for a D-code ("ADD16P,0.079X8X22.5*"), null for a
// D-code that has none.
const char* DefinitionOuverture(int dcode, StylePastilles style);

// The shape of an aperture, in units (thousandths of an inch): a circle of diameter Largeur, a
// Largeur x Hauteur rectangle, or a regular octagon of outer diameter Largeur turned 22.5
// degrees (flat sides facing the axes).
struct FormeOuverture {
  enum Type { Aucune, Cercle, Rectangle, Octogone } type = Aucune;
  int32_t Largeur = 0;
  int32_t Hauteur = 0;
};
FormeOuverture FormeDeLOuverture(int dcode, StylePastilles style);

// The closed outline that stands for a circle or an ellipse of centre (cx, cy) and half-axes
// rx, ry: 8 N + 1 points from an eighth-turn table of N + 1 points of nominal radius R, N = R
// / 25; a diamond when R is below 25, nothing when N reaches 1500.
void TraceEllipse(Traceur& t, int32_t cx, int32_t cy, int32_t R, int32_t rx, int32_t ry);

// The aperture (D-code) a collected record is plotted with.
int DCodeDe(const ElementCI& e);

}  // namespace korv4
