// The store repair run before every save and after every load. Three steps, in this order:
// 1. drawing records that have lost their partner go away;
// 2. tracks, read by point role alone: a first point must be followed by middle points and a
//    last point; an unfinished track loses its first and middle points, stray middle and last
//    points go away;
// 3. an opening group marker without its closing marker goes away, and every group's markers
//    get the box of its contents (opening: left, bottom; closing: right, top).
//
// Each step is written as a walk that removes a record and looks at the same place again. The
// walk only ever removes the record it looks at or records ahead of it, so the records behind
// it are final: each step is one pass that reads the store in order and writes the records it
// keeps back at the front, in linear time.

#include <vector>

#include "model/Fichiers.h"

namespace korv4 {

namespace {

bool EstPremierDessin(uint8_t k) { return k == 128 || k == 130 || k == 132 || k == 134; }
bool EstSecondDessin(uint8_t k) { return k == 129 || k == 131 || k == 133 || k == 135; }

// A first drawing record stays when the next record is its second one; a second record stays
// when the record kept before it is its first one.
bool NettoieDessins(Circuit& c) {
  std::vector<ElementCI>& e = c.Elements;
  const int32_t n = c.NbElements;
  int32_t w = 0;
  for (int32_t k = 1; k <= n; ++k) {
    const ElementCI r = e[k];
    bool garde = true;
    if (EstPremierDessin(r.Code))
      garde = k < n && e[k + 1].Code == r.Code + 1;
    else if (EstSecondDessin(r.Code))
      garde = w >= 1 && e[w].Code == r.Code - 1;
    if (garde) e[++w] = r;
  }
  c.NbElements = w;
  return w != n;
}

bool NettoiePistes(Circuit& c) {
  std::vector<ElementCI>& e = c.Elements;
  const int32_t n = c.NbElements;
  int32_t w = 0;
  int32_t k = 1;
  while (k <= n) {
    const uint8_t a = e[k].Attribut;
    if (a == kPremierPoint) {
      int32_t j = k + 1;
      while (j <= n && e[j].Attribut == kPointMilieu) ++j;
      if (j <= n && e[j].Attribut == kDernierPoint) {
        for (; k <= j; ++k) e[++w] = e[k];  // a complete track
      } else {
        k = j;  // the record that stopped the run is looked at next
      }
    } else if (a == kPointMilieu) {
      int32_t j = k;
      while (j <= n && e[j].Attribut == kPointMilieu) ++j;
      k = (j <= n && e[j].Attribut == kDernierPoint) ? j + 1 : j;
    } else if (a == kDernierPoint) {
      ++k;
    } else {
      e[++w] = e[k++];
    }
  }
  c.NbElements = w;
  return w != n;
}

void Elargit(Cadre& r, const Cadre& b) {
  if (b.Gauche < r.Gauche) r.Gauche = b.Gauche;
  if (b.Bas < r.Bas) r.Bas = b.Bas;
  if (b.Droite > r.Droite) r.Droite = b.Droite;
  if (b.Haut > r.Haut) r.Haut = b.Haut;
}

// Sets a marker's point; true when it changed.
bool PoseMarqueur(ElementCI& m, int32_t x, int32_t y) {
  const uint16_t nx = static_cast<uint16_t>(x), ny = static_cast<uint16_t>(y);
  if (m.X == nx && m.Y == ny) return false;
  m.X = nx;
  m.Y = ny;
  return true;
}

// One walk with a stack of the open groups. Each record's box goes to the innermost open group,
// and a group's box goes to its parent when it closes, so every group gets the box of all the
// records between its markers, read exactly as CadreElements reads them: a circle centre takes
// the next record's X as its radius and that record gives nothing more (group markers give
// nothing anyway, but still open and close their groups). A group's markers are set when it
// closes: records read afterwards all lie after it. Opening markers still open at the end have
// no closing marker and go away; a closing marker with no open group is left alone.
bool NettoieGroupes(Circuit& c) {
  std::vector<ElementCI>& e = c.Elements;
  const int32_t n = c.NbElements;
  struct Ouvert {
    int32_t debut;
    Cadre cadre;
  };
  const Cadre vide{32767, 0, 0, 32767};
  std::vector<Ouvert> pile;
  bool change = false;
  for (int32_t k = 1; k <= n; ++k) {
    const ElementCI& r = e[k];
    if (r.Code == code::DebutGroupe) {
      pile.push_back({k, vide});
      continue;
    }
    if (r.Code == code::FinGroupe) {
      if (pile.empty()) continue;
      const Ouvert g = pile.back();
      pile.pop_back();
      change |= PoseMarqueur(e[g.debut], g.cadre.Gauche, g.cadre.Bas);
      change |= PoseMarqueur(e[k], g.cadre.Droite, g.cadre.Haut);
      if (!pile.empty()) Elargit(pile.back().cadre, g.cadre);
      continue;
    }
    // The record's own box, the radius of a circle included (CadreElements of the record
    // alone reads the next record for it).
    if (!pile.empty()) Elargit(pile.back().cadre, CadreElements(c, k, k));
    if (r.Code == code::Cercle && k < n && DeltaNiveau(e[k + 1].Code) == 0) ++k;
  }
  if (pile.empty()) return change;
  // Opening markers without a closing marker go away.
  std::vector<char> retire(static_cast<size_t>(n) + 1, 0);
  for (const Ouvert& g : pile) retire[g.debut] = 1;
  int32_t w = 0;
  for (int32_t k = 1; k <= n; ++k)
    if (!retire[k]) e[++w] = e[k];
  c.NbElements = w;
  return true;
}

}  // namespace

void NettoyageCircuit(Circuit& c) {
  bool change = NettoieDessins(c);
  change |= NettoiePistes(c);
  change |= NettoieGroupes(c);
  if (change) c.CircuitModifie = true;
}

}  // namespace korv4
