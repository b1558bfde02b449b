// Zones and groups: a zone is a contiguous range at the end of the store, moved, turned,
// mirrored, copied, deleted and grouped as a block.

#include <algorithm>

#include "model/Circuit.h"

namespace korv4 {

namespace {

bool ZoneValide(const Circuit& c) {
  const TSelection& z = c.Selection;
  return z.Premier >= 1 && z.Premier <= z.Dernier && z.Dernier <= c.NbElements;
}

uint16_t U16(int32_t v) { return static_cast<uint16_t>(v); }

// The matching closing marker of the opening marker at i, looked for up to fin; 0 if none.
int32_t FinDuGroupe(const Circuit& c, int32_t i, int32_t fin) {
  int32_t compte = 0;
  for (int32_t j = i; j <= fin; ++j) {
    compte += DeltaNiveau(c.Elements[j].Code);
    if (compte == 0) return j;
  }
  return 0;
}

struct Rect {
  int32_t g, h, d, b;
  bool Contient(int32_t x, int32_t y) const { return g <= x && x <= d && b <= y && y <= h; }
  bool ContientBoite(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
    return Contient(x0, y0) && Contient(x1, y1);
  }
};

// How far the element that starts at i reaches (its last record), and whether it lies inside
// the rectangle. Records the walk passes over on their own have fin = i and dedans = false.
void ExamineElement(const Circuit& c, const Rect& r, int32_t i, int32_t& fin, bool& dedans) {
  const int32_t n = c.NbElements;
  const ElementCI& e = c.Elements[i];
  fin = i;
  dedans = false;
  const uint8_t k = e.Code;
  if (EstTexte(k)) {
    fin = FinDuTexte(c, i, n);
    dedans = true;
    const int32_t l = DernierCaractere(c, i, fin);
    for (int32_t m = i; m <= l && dedans; ++m) {
      const ElementCI& q = c.Elements[m];
      const int32_t s = PasTexteDe(q.Attribut), x = q.X, y = q.Y;
      switch (q.Code) {
        case code::TexteH: dedans = r.ContientBoite(x, y, x + s, y + s); break;
        case code::TexteV:
        case code::TexteHMiroir: dedans = r.ContientBoite(x - s, y, x, y + s); break;
        case code::TexteVMiroir: dedans = r.ContientBoite(x - s, y - s, x, y); break;
        default: dedans = r.Contient(x, y); break;
      }
    }
  } else if (k >= 128 && k <= 135) {
    if (i >= n) return;  // a drawing cut off at the end of the store
    fin = i + 1;
    const ElementCI& q = c.Elements[i + 1];
    if (k == code::Cercle) {
      const int32_t rayon = q.X;
      dedans = r.ContientBoite(e.X - rayon, e.Y - rayon, e.X + rayon, e.Y + rayon);
    } else {
      dedans = r.Contient(e.X, e.Y) && r.Contient(q.X, q.Y);
    }
  } else if (EstPiste(k)) {
    while (fin < n && c.Elements[fin].Attribut != kDernierPoint) ++fin;
    dedans = true;
    for (int32_t m = i; m <= fin && dedans; ++m)
      dedans = r.Contient(c.Elements[m].X, c.Elements[m].Y);
  } else if (EstPastille(k)) {
    const auto& h = SortePastilleDe(k).Contour;
    dedans = r.ContientBoite(e.X - h[0], e.Y - h[1], e.X + h[0], e.Y + h[1]);
  } else if (k == code::DebutGroupe) {
    const int32_t j = FinDuGroupe(c, i, n);
    if (j == 0) return;  // never closed: passed over like a plain record
    fin = j;
    const ElementCI& q = c.Elements[j];
    dedans = r.Contient(e.X, e.Y) && r.Contient(q.X, q.Y);
  }
}

}  // namespace

Plage SelectionRectangle(Circuit& c, const Cadre& rectangle) {
  const Rect r{rectangle.Gauche, rectangle.Haut, rectangle.Droite, rectangle.Bas};
  const int32_t n = c.NbElements;
  // Taking an element out moves the records after it down and the walk looks at the same
  // index again: that is one pass that keeps what stays and gathers what is taken, both in
  // their order.
  std::vector<ElementCI> pris;
  int32_t garde = 0;
  for (int32_t i = 1; i <= n;) {
    int32_t fin;
    bool dedans;
    ExamineElement(c, r, i, fin, dedans);
    if (dedans) {
      pris.insert(pris.end(), c.Elements.begin() + i, c.Elements.begin() + fin + 1);
    } else {
      std::copy(c.Elements.begin() + i, c.Elements.begin() + fin + 1,
                c.Elements.begin() + garde + 1);
      garde += fin - i + 1;
    }
    i = fin + 1;
  }
  if (pris.empty()) return {0, 0};
  std::copy(pris.begin(), pris.end(), c.Elements.begin() + garde + 1);
  return {garde + 1, n};
}

void PlaceEnFin(Circuit& c, Plage& p) {
  if (p.Premier < 1 || p.Premier > p.Dernier || p.Dernier >= c.NbElements) return;
  auto debut = c.Elements.begin();
  std::rotate(debut + p.Premier, debut + p.Dernier + 1, debut + c.NbElements + 1);
  const int32_t n = p.Dernier - p.Premier + 1;
  p = {c.NbElements - n + 1, c.NbElements};
  c.CircuitModifie = true;
}

void DeplaceZone(Circuit& c, int32_t dx, int32_t dy) {
  if (!ZoneValide(c)) return;
  for (int32_t i = c.Selection.Premier; i <= c.Selection.Dernier; ++i) {
    ElementCI& e = c.Elements[i];
    e.X = U16(e.X + dx);
    e.Y = U16(e.Y + dy);
    if (e.Code == code::Cercle) ++i;  // the radius record stays as it is
  }
  c.CircuitModifie = true;
}

void DupliqueZone(Circuit& c, int32_t dx, int32_t dy) {
  if (!ZoneValide(c)) return;
  TSelection& z = c.Selection;
  const int32_t n = z.Dernier - z.Premier + 1;
  if (c.NbElements + n >= kMaxElements) {
    MessageLimite(c);
    return;
  }
  Plage p{z.Premier, z.Dernier};
  PlaceEnFin(c, p);
  for (int32_t i = p.Premier; i <= p.Dernier; ++i) {
    ElementCI e = c.Elements[i];
    if (e.Code != code::Rayon) {
      e.X = U16(e.X + dx);
      e.Y = U16(e.Y + dy);
    }
    c.Elements[++c.NbElements] = e;
  }
  z.Premier = c.NbElements - n + 1;
  z.Dernier = c.NbElements;
  ++z.Active;
  c.CircuitModifie = true;
}

void SupprimeZone(Circuit& c) {
  TSelection& z = c.Selection;
  if (z.Active <= 0 || !ZoneValide(c)) return;
  Plage p{z.Premier, z.Dernier};
  PlaceEnFin(c, p);
  z.Premier = p.Premier;
  z.Dernier = p.Dernier;
  SauveSupprimes(c, p);
  const int32_t n = p.Dernier - p.Premier + 1;
  std::fill(c.Elements.begin() + p.Premier, c.Elements.begin() + p.Dernier + 1, ElementCI{});
  c.NbElements -= n;
  // The zone now designates the n records at the end: after a duplication, the copied zone.
  z.Premier -= n;
  z.Dernier = c.NbElements;
  --z.Active;
  // Copies that remain but no longer fit before the end (the copy changed size since it was
  // made, or there was none): no zone is left rather than a range outside the store.
  if (z.Active > 0 && z.Premier < 1) DeselectionZone(c);
  c.CircuitModifie = true;
}

void EffaceZone(Circuit& c) {
  TSelection& z = c.Selection;
  if (z.Active <= 0 || !ZoneValide(c)) return;
  SauveSupprimes(c, {z.Premier, z.Dernier});
  const int32_t n = z.Dernier - z.Premier + 1;
  auto debut = c.Elements.begin();
  std::copy(debut + z.Dernier + 1, debut + c.NbElements + 1, debut + z.Premier);
  c.NbElements -= n;
  z.Premier = z.Dernier = 0;
  --z.Active;
  c.CircuitModifie = true;
}

void TourneZone(Circuit& c) {
  if (!ZoneValide(c)) return;
  const TSelection& z = c.Selection;
  const int32_t L = z.CadreZone.Gauche, T = z.CadreZone.Haut, B = z.CadreZone.Bas;
  for (int32_t i = z.Premier; i <= z.Dernier; ++i) {
    ElementCI& e = c.Elements[i];
    const uint8_t k = e.Code;
    if (EstTexte(k)) {
      // The whole text up to its end-of-text record, also when the zone ends inside it (a
      // stale zone): a text half turned would be garbled.
      const int32_t fin = FinDuTexte(c, i, c.NbElements);
      const int32_t l = DernierCaractere(c, i, fin);
      const ElementCI f0 = c.Elements[i], l0 = c.Elements[l];
      const int32_t p = PasTexteDe(f0.Attribut);
      int32_t sx = 0, sy = 0, px = 0, py = 0;
      uint8_t nouveau = 0;
      switch (k) {
        case code::TexteH:
          nouveau = code::TexteV, sx = L + T - f0.Y, sy = B + f0.X - L, py = p;
          break;
        case code::TexteV:
          nouveau = code::TexteH, sx = L + T - l0.Y - p, sy = B + l0.X - L - p, px = p;
          break;
        case code::TexteHMiroir:
          nouveau = code::TexteVMiroir, sx = L + T - f0.Y, sy = B + f0.X - L, py = p;
          break;
        default:  // vertical, mirrored
          nouveau = code::TexteHMiroir, sx = L + T - l0.Y + p, sy = B + l0.X - L - p, px = p;
          break;
      }
      for (int32_t m = i; m <= l; ++m) {
        ElementCI& q = c.Elements[m];
        const int32_t rang = m - i;
        q.Code = nouveau;
        q.X = U16(sx + rang * px);
        q.Y = U16(sy + rang * py);
      }
      i = fin;
      continue;
    }
    const bool point = (k >= 128 && k <= 132) || k == code::Ellipse1 || k == code::Ellipse2 ||
                       EstPiste(k) || k == code::FinGroupe || k == code::DebutGroupe ||
                       EstPastille(k);
    if (!point) continue;
    const int32_t x = e.X, y = e.Y;
    e.X = U16(L + T - y);
    e.Y = U16(B + x - L);
    if (EstPastille(k)) e.Code = SortePastilleDe(k).Jumelle;
  }
  c.CircuitModifie = true;
}

void InverseZone(Circuit& c) {
  if (!ZoneValide(c)) return;
  const TSelection& z = c.Selection;
  const int32_t LR = z.CadreZone.Gauche + z.CadreZone.Droite;
  std::vector<int32_t> ouverts;  // opening markers not yet matched
  for (int32_t i = z.Premier; i <= z.Dernier; ++i) {
    ElementCI& e = c.Elements[i];
    const uint8_t k = e.Code;
    if (EstTexte(k)) {
      // The whole text, also past the zone's end (as TourneZone).
      const int32_t fin = FinDuTexte(c, i, c.NbElements);
      const int32_t l = DernierCaractere(c, i, fin);
      const ElementCI l0 = c.Elements[l];
      const int32_t p = PasTexteDe(l0.Attribut);
      for (int32_t m = i; m <= l; ++m) {
        const int32_t rang = m - i;
        int32_t x;
        switch (k) {
          case code::TexteH: x = LR - l0.X - p + rang * p; break;
          case code::TexteHMiroir: x = LR - l0.X + p + rang * p; break;
          default: x = LR - l0.X + p; break;
        }
        c.Elements[m].X = U16(x);
      }
      i = fin;
      continue;
    }
    if ((k >= 128 && k <= 132) || k == code::Ellipse1 || k == code::Ellipse2 || EstPiste(k) ||
        EstPastille(k)) {
      e.X = U16(LR - e.X);
    } else if (k == code::DebutGroupe) {
      ouverts.push_back(i);
    } else if (k == code::FinGroupe && !ouverts.empty()) {
      // A group's markers hold the left and the right of its box: the mirrored box has them
      // the other way round, so the group stays where the group finder looks for it.
      ElementCI& o = c.Elements[ouverts.back()];
      ouverts.pop_back();
      const int32_t gauche = o.X, droite = e.X;
      o.X = U16(LR - droite);
      e.X = U16(LR - gauche);
    }
  }
  c.CircuitModifie = true;
}

bool EstUnGroupe(const Circuit& c) {
  const TSelection& z = c.Selection;
  if (!ZoneValide(c) || c.Elements[z.Premier].Code != code::DebutGroupe) return false;
  return FinDuGroupe(c, z.Premier, z.Dernier) == z.Dernier;
}

void GroupeZone(Circuit& c) {
  if (!ZoneValide(c) || EstUnGroupe(c)) return;
  if (c.NbElements + 2 > kMaxElements) {
    MessageLimite(c);
    return;
  }
  TSelection& z = c.Selection;
  const Cadre& r = z.CadreZone;
  ElementCI ouvre, ferme;
  ouvre.Code = code::DebutGroupe;
  ouvre.X = U16(r.Gauche);
  ouvre.Y = U16(r.Bas);
  ferme.Code = code::FinGroupe;
  ferme.X = U16(r.Droite);
  ferme.Y = U16(r.Haut);
  auto debut = c.Elements.begin();
  // Records after the zone move up by two, the zone itself by one.
  std::copy_backward(debut + z.Dernier + 1, debut + c.NbElements + 1, debut + c.NbElements + 3);
  std::copy_backward(debut + z.Premier, debut + z.Dernier + 1, debut + z.Dernier + 2);
  c.Elements[z.Premier] = ouvre;
  c.Elements[z.Dernier + 2] = ferme;
  c.NbElements += 2;
  z.Dernier += 2;
  c.CircuitModifie = true;  // the grouping is saved with the circuit
}

void DissocieZone(Circuit& c) {
  if (!EstUnGroupe(c)) return;
  TSelection& z = c.Selection;
  auto debut = c.Elements.begin();
  std::copy(debut + z.Premier + 1, debut + z.Dernier, debut + z.Premier);
  std::copy(debut + z.Dernier + 1, debut + c.NbElements + 1, debut + z.Dernier - 1);
  c.NbElements -= 2;
  z.Dernier -= 2;
  c.CircuitModifie = true;  // the ungrouping is saved with the circuit
}

void DeselectionZone(Circuit& c) {
  c.Selection.Active = 0;
  c.Selection.Premier = c.Selection.Dernier = 0;
}

}  // namespace korv4
