#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Circuit.h"
#include "render/Traceur.h"
#include "verification/Contour.h"

// The isolation check: the copper of each face as the Gerber files draw it (tracks at their
// width, pads at their aperture's shape, copper texts and pins as their strokes), searched for
// pieces that come too close. Standard library only; the circuit is read, never changed.
//
// Pieces of copper that touch or overlap are connected: one piece, never a fault between its
// parts. Each track, each pad, each pin and each text is one piece by itself (the letters of a
// text may merge without harm). Faults:
// - Isolement: two pieces on the same face closer than the clearance without touching; one
//   fault per pair of pieces and kind, at the narrowest place.
// - ExtremitePiste: the same, where the narrowest place is at the end of a track that stops
//   short of a pad or another track (the gap lies ahead of the end, within 60 degrees of the
//   track's direction): an almost-connection.
// - PercageTropGrand: a pad whose drill diameter is larger than the pad's narrowest width.
// - HorsContour: an element (pad, track, text, drawing, pin on the faces or the placement
//   plan) whose drawing reaches outside the work surface (0..SurfaceX, 0..SurfaceY).
// Drilling-plan records and spare-diameter pads (no copper) are not checked. The rules of
// manufacture beside it (Regles.h) add their faults: ring, edge, hole without copper, track end
// short of its own net.

namespace korv4 {

enum class GenreDefaut {
  Isolement,
  ExtremitePiste,
  PercageTropGrand,
  HorsContour,
  CouronneEtroite,   // the copper ring around a hole narrower than the minimum
  BordTropProche,    // copper closer to the outline than the minimum
  TrouSansCuivre,    // a hole that would be plated through no copper
  ExtremiteMemeNet,  // a track end that stops short of copper of its own net
};

struct Defaut {
  GenreDefaut Genre = GenreDefaut::Isolement;
  // Where: 1 face 1, 2 face 2, 3 both faces (a pad), 4 placement plan.
  uint8_t Couche = 0;
  // Position in units (1/1000 inch), y upward: the middle of the gap, the pad's centre, the
  // point of the element farthest outside.
  double X = 0, Y = 0;
  // Millimetres: the gap (Isolement, ExtremitePiste, ExtremiteMemeNet), how much the drill
  // exceeds the pad (PercageTropGrand), how far the element reaches outside (HorsContour), the
  // ring (CouronneEtroite), the distance to the outline (BordTropProche), the drill
  // (TrouSansCuivre).
  double Distance = 0;
  // The minimum it breaks, in mm (CouronneEtroite, BordTropProche); 0 for the others.
  double Minimum = 0;
};

struct OptionsVerification {
  double IsolementMm = 0.3;  // the clearance: a gap below it is a fault, a gap equal to it not
  StylePastilles Pastilles = StylePastilles::Octogonales;  // round pads as the files draw them
  double CouronneMm = 0.15;  // the narrowest ring allowed around a hole; 0 checks none
  double BordMm = 0.3;       // the closest copper may come to the outline; 0 checks none
  // The outline the edge rule measures from (verification/Contour.h), as the set cuts it.
  ContourFabrication Contour = ContourFabrication::Carte;
  double MargeContourMm = 1.0;
  // The smallest gap between pieces is looked for up to max(IsolementMm, PorteeMm).
  double PorteeMm = 0;
  // Compares every shape with every other instead of going through the spatial index: the
  // plain search that the index must agree with (tests), far too slow for real boards.
  bool SansIndex = false;
};

struct ResultatVerification {
  std::vector<Defaut> Defauts;  // by kind, then where, then position
  // The smallest gap between two pieces of copper of a face, in mm, when one is within reach;
  // -1 otherwise.
  double EcartMinimalMm = -1;
  // The narrowest track as drawn, in mm; -1 without tracks.
  double PisteMinimaleMm = -1;
  // The work of the search: pairs of shapes whose boxes were compared (a board's size times a
  // few with the index, whatever the board; a pair may be counted once per cell it shares).
  int64_t PairesExaminees = 0;
};

// The whole check. A clearance that is not a positive finite number checks nothing but the
// drills and the outline.
ResultatVerification VerifieCircuit(const Circuit& c, const OptionsVerification& o = {});

// The faults alone, with a clearance in millimetres and octagonal round pads.
std::vector<Defaut> VerifieIsolements(const Circuit& c, double isolementMm);

// The kind in a word or two ("isolement", "extrémité de piste", "perçage trop grand",
// "hors contour", "couronne étroite", "trop près du bord", "trou sans cuivre", "extrémité de
// piste sur son équipotentielle"), and where ("face 1", "face 2", "faces 1 et 2", "implantation"),
// UTF-8.
// How much the hole of a pad exceeds the narrowest width of its copper, in mm (0 or less: the
// hole fits; pads without copper or without a hole give 0).
double ExcesPercage(const Circuit& c, const ElementCI& e,
                    StylePastilles style = StylePastilles::Octogonales);

const char* NomGenreDefaut(GenreDefaut g);
const char* NomCoucheDefaut(uint8_t couche);

// One line in French (UTF-8) with the position and the distance in millimetres, e.g.
// "isolement face 2 : écart de 0,20 mm (minimum 0,30 mm) à X = 12,70 mm, Y = 5,08 mm".
std::string DecritDefaut(const Defaut& d, double isolementMm);

// The box of everything the copper and placement-plan files draw (pads at their shape, strokes
// at their width), in units; Vide when they draw nothing.
struct BoiteTracee {
  double Gauche = 0, Bas = 0, Droite = 0, Haut = 0;
  bool Vide = true;
};
BoiteTracee EtendueTracee(const Circuit& c, StylePastilles style);

// Units (1/1000 inch) to millimetres.
inline double UnitesEnMm(double u) { return u * 0.0254; }

}  // namespace korv4
