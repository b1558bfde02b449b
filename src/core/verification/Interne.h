#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "model/Circuit.h"
#include "verification/Contour.h"
#include "verification/Cuivre.h"
#include "verification/Equipotentielles.h"
#include "verification/Isolements.h"

// What the whole check and the check that follows the steps (Suivi.h) share, so that both give
// the same faults to the last digit. Internal to the verification folder.

namespace korv4 {

// The nets from the pieces of each face: `piece[face][record]` numbers the records' pieces
// (0..total-1, -1 for none) on the faces made, `ensembles` has joined the pieces that touch;
// the plated holes join the faces, then the nets are named and listed (with `liste`).
void NommeEquipotentielles(Equipotentielles& r, const Circuit& c, std::vector<int32_t> piece[3],
                           int32_t total, cuivre::Ensembles& ensembles,
                           const std::array<bool, 3>& faites,
                           const std::vector<int32_t>& nonMetallises, bool liste);

namespace interne {

// Widens the extent b to the box of s (a shape, or the shapes of an element).
template <class Boite>
void Etend(BoiteTracee& b, const Boite& s) {
  if (b.Vide) {
    b = {s.xmin, s.ymin, s.xmax, s.ymax, false};
    return;
  }
  b.Gauche = std::min(b.Gauche, s.xmin);
  b.Bas = std::min(b.Bas, s.ymin);
  b.Droite = std::max(b.Droite, s.xmax);
  b.Haut = std::max(b.Haut, s.ymax);
}

// The narrowest width of an aperture's copper, across the flats of an octagon (units).
inline double LargeurUtile(const FormeOuverture& f) {
  double largeur = std::min(f.Largeur, f.Hauteur);
  if (f.type == FormeOuverture::Octogone) largeur *= std::cos(3.14159265358979323846 / 8);
  return largeur;
}

// The last record of an element's group: a text's end record goes with its characters.
int32_t FinDuGroupe(const Circuit& c, const cuivre::Groupe& gr);

// The end `cote` (0: a, 1: b) of a track's segment, when it is an end of the track and the
// segment has a length: the point e, the direction towards it (of length 1) and the round cap
// of the track's width there.
bool BoutDePiste(const cuivre::Forme& piste, int cote, cuivre::Point2& e, cuivre::Point2& direction,
                 cuivre::Forme& cap);

// The fault of the gap between two shapes of different pieces of a face (A plotted before B),
// when it is narrower than the clearance (units).
Defaut DefautDePaire(const cuivre::Forme& A, const cuivre::Forme& B, uint8_t couche);

// Of two faults of the same pair of pieces and kind, whether a is the one kept.
bool Avant(const Defaut& a, const Defaut& b);

// An element drawn past the work surface (sx, sy): its fault in d.
bool HorsContour(const cuivre::Groupe& gr, double sx, double sy, Defaut& d);

// Copper of an element closer to the outline than the options' minimum: its fault in d.
bool Bord(const cuivre::Groupe& gr, const ContourCarte& contour, const OptionsVerification& o,
          Defaut& d);

// Drills wider than their pads, narrow rings, holes without copper: the rules of the pads alone.
void VerifiePercages(const Circuit& c, StylePastilles style, std::vector<Defaut>& defauts);
void Couronnes(const Circuit& c, const OptionsVerification& o, std::vector<Defaut>& defauts);
void TrousSansCuivre(const Circuit& c, std::vector<Defaut>& defauts);

// The copper faces the board is made with (indices 1 and 2).
std::array<bool, 3> FacesFabriquees(const Circuit& c);

// The order of the check's faults: by kind, where, then position (up, then left), then gap.
// Two faults of the same kind, place and measure have the same minimum: the order is total.
bool AvantDansLaListe(const Defaut& a, const Defaut& b);
void TrieDefauts(std::vector<Defaut>& defauts);

}  // namespace interne
}  // namespace korv4
