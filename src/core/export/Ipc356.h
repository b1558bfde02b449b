#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/Gerber.h"
#include "model/Circuit.h"
#include "verification/Equipotentielles.h"

// The IPC-D-356A netlist of a board, for the electrical test of the bare board: every test
// point of the copper with its net, in the store's coordinates (those of the board-house set's
// Gerber files) stated in millimetres (UNITS CUST 1: thousandths of a millimetre, degrees).
// Records of 80 columns at the most, ASCII, one per line:
// - 317 for each pad with a hole, once: plated (P, access A00, both sides) on a board made with
//   both faces, not plated (U) and tested from its one copper layer (A01) on a single-sided
//   board; spare-diameter holes (no copper) as unplated 317 records of no net (N/C);
// - 327 for each pad without a hole, on each copper face it is made on (A01 the component
//   side, face 2; A02 the solder side, face 1; A01 for the one layer of a single-sided board).
// A net of one test point is named N/C, as the format asks; the others keep the core's names
// (N1, N2...), records grouped by net in the order of the nets. Pads are given their size
// (a round pad its diameter alone, a rectangle both sides and a rotation of 0) and no solder
// mask over them (S0). The file ends with 999.

namespace korv4 {

struct OptionsIpc356 {
  std::string Nom = "carte";  // the job and title (ASCII letters, digits, - _ . kept)
  StylePastilles Pastilles = StylePastilles::Octogonales;
  // Drill diameters (tenths of a millimetre) whose holes are not plated: on a double-sided
  // board such a hole joins nothing, and is tested from each face (U, A01 and A02) in the net
  // of that face.
  std::vector<int32_t> DiametresNonMetallises;
};

std::vector<uint8_t> EcritIpc356(const Circuit& c, const Equipotentielles& e,
                                 const OptionsIpc356& o);
// The same, the nets computed with the pads' style.
std::vector<uint8_t> EcritIpc356(const Circuit& c, const OptionsIpc356& o);

}  // namespace korv4
