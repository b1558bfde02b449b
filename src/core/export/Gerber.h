#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/FluxOctets.h"
#include "model/Circuit.h"
#include "render/Traceur.h"

// Gerber (RS-274X) photo-plotter files: one file per layer (face 1, face 2, placement plan), in
// thousandths of an inch, the board's box shifted to start at 100. Pads are flashed, tracks,
// drawings and texts are stroked; circles and ellipses become polygons. The functions return
// bytes; writing them to the disk is the caller's job. The plotting itself (records collected
// by layer, apertures and their shapes, strokes and flashes) is render/Traceur.h.

namespace korv4 {

// The complete file for the records of one layer; `etendue` is the board's box (CadreElements
// over the whole store), the same for every layer.
std::vector<uint8_t> EcritFichierGerber(const std::vector<ElementCI>& elements,
                                        const Cadre& etendue, StylePastilles style);

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
