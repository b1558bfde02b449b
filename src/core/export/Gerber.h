#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/FluxOctets.h"
#include "model/Circuit.h"

// Gerber (RS-274X) photo-plotter files: one file per layer (face 1, face 2, placement plan), in
// thousandths of an inch, the board's box shifted to start at 100. Pads are flashed, tracks,
// drawings and texts are stroked; circles and ellipses become polygons. The functions return
// bytes; writing them to the disk is the caller's job.

namespace korv4 {

// Layer masks of the three files.
constexpr uint8_t kMasqueFace1 = 1, kMasqueFace2 = 2, kMasqueImplantation = 4;

// The records of one layer (those whose layer mask shares a bit with `masque`), in plotting
// order: copper files take the pads by kind, then the track points by kind, then the texts by
// size; the placement plan takes the drawings by thickness, then the texts by size. Within
// each kind or size the records keep their store order, so tracks and drawings stay whole.
// Spare-diameter pads (kind 204) have no outline on the screen and give no copper: they are
// left out (their holes are still drilled).
std::vector<ElementCI> CollecteElementsGerber(const Circuit& c, uint8_t masque);

// Round pads (kinds 198..203) as octagons or as circles.
enum class StylePastilles { Octogonales, Circulaires };

// The complete file for the records of one layer; `etendue` is the board's box (CadreElements
// over the whole store), the same for every layer.
std::vector<uint8_t> EcritFichierGerber(const std::vector<ElementCI>& elements,
                                        const Cadre& etendue, StylePastilles style);

// What the plotting of a layer does: select an aperture, move, draw, flash. The Gerber file
// writer below is one such plotter; the isolation check and the board-house set read the same
// plotting through plotters of their own, so that they see exactly what the files draw.
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

// Where the plotting commands of a Gerber file go: each point is written relative to the
// board's box.
class TraceurGerber final : public Traceur {
 public:
  TraceurGerber(std::vector<uint8_t>& sortie, const Cadre& etendue)
      : sortie_(sortie), xmin_(etendue.Gauche), ymin_(etendue.Bas) {}
  // "D<dcode>*" on a line of its own.
  void Ouverture(int dcode) override;
  // Coordinates have 5 digits with leading zeros; one that falls below the margin keeps its
  // minus sign, one beyond 99999 all its digits.
  void Point(int32_t x, int32_t y, const char* operation) override;

 private:
  std::vector<uint8_t>& sortie_;
  int32_t xmin_, ymin_;
};

// Plots a collected layer (CollecteElementsGerber): selects each record's aperture when it
// changes, flashes the pads, strokes tracks, drawings and texts.
void TraceElements(Traceur& t, const std::vector<ElementCI>& elements);

// The same collection as CollecteElementsGerber, as indexes into the store.
std::vector<int32_t> CollecteIndicesGerber(const Circuit& c, uint8_t masque);

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

// The same file as EcritFichierGerber, given to `sortie` as it is produced, in pieces of about
// 64 KiB: a layer of any size takes little memory. False when `sortie` refused a piece.
bool EcritFichierGerber(const std::vector<ElementCI>& elements, const Cadre& etendue,
                        StylePastilles style, FluxOctets& sortie);

// A layer of a Gerber export: its layer mask and the end of its file name.
struct CoucheGerber {
  uint8_t Masque;
  const char* Suffixe;
};

// The layers a circuit exports, in order: face 1 ("-FC1.GBR", also written for a board of pads
// alone), face 2 ("_FC2.GBR"), placement plan ("_SER.GBR"); only those that hold records.
// Drilling-plan records never reach a file.
std::vector<CoucheGerber> CouchesGerber(const Circuit& c);

// One file of a Gerber export.
struct FichierGerber {
  std::string Nom;
  std::vector<uint8_t> Octets;
};

// The layer files of a circuit (CouchesGerber), in memory, each named from the base name as
// typed followed by the layer's suffix.
std::vector<FichierGerber> ExporteGerber(const Circuit& c, const Cadre& etendue,
                                         StylePastilles style, const std::string& base);

}  // namespace korv4
