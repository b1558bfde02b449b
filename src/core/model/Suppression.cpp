// Deletion with one level of undo, and the plain removal primitives.

#include <algorithm>

#include "model/Circuit.h"

namespace korv4 {

void SupprimeElements(Circuit& c, Plage p) {
  if (p.Premier < 1 || p.Premier > p.Dernier || p.Dernier > c.NbElements) return;
  const int32_t n = p.Dernier - p.Premier + 1;
  auto debut = c.Elements.begin();
  std::copy(debut + p.Dernier + 1, debut + c.NbElements + 1, debut + p.Premier);
  c.NbElements -= n;
  c.CircuitModifie = true;
}

// Sets CircuitModifie even for an index outside the store, where nothing is removed.
void SupprimeElement(Circuit& c, int32_t i) {
  SupprimeElements(c, {i, i});
  c.CircuitModifie = true;
}

void SupprimeDernier(Circuit& c) {
  if (c.NbElements < 1) return;
  c.Elements[c.NbElements] = ElementCI{};
  --c.NbElements;
  c.CircuitModifie = true;
}

void EffaceElement(Circuit& c, int32_t i) {
  if (i < 1 || i > c.NbElements) return;
  SupprimeElements(c, {i, i});
}

void SauveSupprimes(Circuit& c, Plage p) {
  if (p.Premier < 1 || p.Premier > p.Dernier || p.Dernier > c.NbElements) return;
  c.NbSupprimes = p.Dernier - p.Premier + 1;
  std::copy(c.Elements.begin() + p.Premier, c.Elements.begin() + p.Dernier + 1,
            c.Supprimes.begin() + 1);
}

void Suppression(Circuit& c, Plage p) {
  if (p.Premier < 1 || p.Premier > p.Dernier || p.Dernier > c.NbElements) return;
  SauveSupprimes(c, p);
  ElementCI& a = c.Elements[p.Premier];
  ElementCI& b = c.Elements[p.Dernier];
  if (!EstPiste(a.Code)) {
    // Texts, drawings and pads. Any other first record (a group marker or an end-of-text
    // record, where a finder may land in a damaged store) is removed too: saving only its copy
    // would let an undo append records that were never removed.
    SupprimeElements(c, p);
    return;
  }
  const bool aPremier = a.Attribut == kPremierPoint;
  const bool bDernier = b.Attribut == kDernierPoint;
  if (!aPremier && !bDernier) {
    // A middle segment: the track is cut in two, no record goes away. The cut is a change
    // the user must be able to save.
    a.Attribut = kDernierPoint;
    b.Attribut = kPremierPoint;
    c.CircuitModifie = true;
  } else if (!aPremier) {
    a.Attribut = kDernierPoint;
    SupprimeElement(c, p.Dernier);
  } else if (!bDernier) {
    b.Attribut = kPremierPoint;
    SupprimeElement(c, p.Premier);
  } else {
    SupprimeElements(c, p);
  }
}

void AnnuleSuppression(Circuit& c) {
  const int32_t n = c.NbSupprimes;
  if (n < 1) return;
  // Restoring never lets the store pass its capacity: refuse, and keep the undo copy.
  if (c.NbElements + n > kMaxElements) {
    MessageLimite(c);
    return;
  }
  TSelection& z = c.Selection;
  const bool suitZone =
      z.Premier > 0 && z.Dernier - z.Premier + 1 == n && z.Dernier == c.NbElements;
  const bool piste = EstPiste(c.Supprimes[1].Code);
  if (piste) {
    if (c.Supprimes[1].Attribut == kPointMilieu) c.Supprimes[1].Attribut = kPremierPoint;
    if (c.Supprimes[n].Attribut == kPointMilieu) c.Supprimes[n].Attribut = kDernierPoint;
  }
  std::copy(c.Supprimes.begin() + 1, c.Supprimes.begin() + n + 1,
            c.Elements.begin() + c.NbElements + 1);
  c.NbElements += n;
  if (piste) JonctionPistes(c);
  if (suitZone) {
    z.Premier += c.NbElements - z.Dernier;
    z.Dernier = c.NbElements;
    ++z.Active;
  } else {
    z.Premier = z.Dernier = 0;
  }
  c.NbSupprimes = 0;
  c.CircuitModifie = true;
}

}  // namespace korv4
