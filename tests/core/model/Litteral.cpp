#include "Litteral.h"

#include <vector>

namespace korv4::litteral {

namespace {

// The group level of record i: markers of records 1..i.
int32_t Niveau(const Circuit& c, int32_t i) {
  int32_t n = 0;
  for (int32_t k = 1; k <= i; ++k) n += DeltaNiveau(c.Elements[k].Code);
  return n;
}

int32_t PremierDernierApres(const Circuit& c, int32_t i) {
  for (int32_t k = i + 1; k <= c.NbElements; ++k)
    if (c.Elements[k].Attribut == kDernierPoint) return k;
  return c.NbElements;
}

int32_t ChercheExtremite(const Circuit& c, int32_t de, uint8_t L, uint8_t C, const ElementCI& p) {
  for (int32_t k = de; k <= c.NbElements; ++k) {
    const ElementCI& e = c.Elements[k];
    if (e.Couche == L && e.Code == C && e.X == p.X && e.Y == p.Y &&
        (e.Attribut == kPremierPoint || e.Attribut == kDernierPoint))
      return k;
  }
  return 0;
}

// One walk of the joining pass; true when it joined two tracks.
bool UnTour(Circuit& c) {
  for (int32_t i = 1; i <= c.NbElements;) {
    const ElementCI ri = c.Elements[i];
    if (Niveau(c, i) != 0 || ri.Attribut != kPremierPoint) {
      ++i;
      continue;
    }
    const int32_t j = PremierDernierApres(c, i);
    bool partageDebutA = true;
    int32_t k = ChercheExtremite(c, j + 1, ri.Couche, ri.Code, c.Elements[i]);
    if (k == 0) {
      partageDebutA = false;
      k = ChercheExtremite(c, j + 1, ri.Couche, ri.Code, c.Elements[j]);
    }
    if (k == 0) {
      i = j + 1;
      continue;
    }
    Plage b{k, k};
    const bool partageFinB = c.Elements[k].Attribut == kDernierPoint;
    if (!partageFinB) {
      b.Dernier = PremierDernierApres(c, k);
    } else {
      int32_t m = k - 1;
      while (m > j + 1 && c.Elements[m].Attribut != kPremierPoint) --m;
      b.Premier = m >= j + 1 ? m : k;
    }
    FusionPistes(c, {i, j}, b, partageDebutA, partageFinB);
    return true;
  }
  return false;
}

bool Dedans(const Cadre& r, int32_t x, int32_t y) {
  return r.Gauche <= x && x <= r.Droite && r.Bas <= y && y <= r.Haut;
}

}  // namespace

void JonctionPistes(Circuit& c) {
  const std::vector<ElementCI> avant(c.Elements.begin(), c.Elements.begin() + c.NbElements + 1);
  const int32_t nAvant = c.NbElements;
  const bool modifieAvant = c.CircuitModifie;
  while (UnTour(c)) {
  }
  for (int32_t i = 1; i <= c.NbElements;) {
    const ElementCI& e = c.Elements[i];
    if (Niveau(c, i) == 0 && e.Attribut == kPointMilieu && i < c.NbElements) {
      const ElementCI& a = c.Elements[i - 1];
      const ElementCI& b = c.Elements[i + 1];
      if (Direction(a.X, a.Y, e.X, e.Y) == Direction(e.X, e.Y, b.X, b.Y)) {
        SupprimeElement(c, i);
        continue;
      }
    }
    ++i;
  }
  // Only a change of the store marks the circuit modified.
  const bool change =
      c.NbElements != nAvant || !std::equal(avant.begin(), avant.end(), c.Elements.begin());
  c.CircuitModifie = modifieAvant || change;
}

Plage SelectionRectangle(Circuit& c, const Cadre& r) {
  std::vector<ElementCI> pris;
  const bool modifie = c.CircuitModifie;
  auto Prend = [&](int32_t de, int32_t a) {
    for (int32_t k = de; k <= a; ++k) pris.push_back(c.Elements[k]);
    SupprimeElements(c, {de, a});
  };
  for (int32_t i = 1; i <= c.NbElements;) {
    const ElementCI e = c.Elements[i];
    const int32_t n = c.NbElements;
    if (EstTexte(e.Code)) {
      int32_t fin = i + 1;
      while (fin < n && c.Elements[fin].Code != code::FinTexte) ++fin;
      if (fin > n) fin = n;
      int32_t l = c.Elements[fin].Code == code::FinTexte ? fin - 1 : fin;
      if (l < i) l = i;
      bool dedans = true;
      for (int32_t m = i; m <= l; ++m) {
        const ElementCI& q = c.Elements[m];
        const int32_t s = PasTexteDe(q.Attribut);
        int32_t x0 = q.X, y0 = q.Y, x1 = q.X, y1 = q.Y;
        if (q.Code == code::TexteH) x1 += s, y1 += s;
        if (q.Code == code::TexteV || q.Code == code::TexteHMiroir) x0 -= s, y1 += s;
        if (q.Code == code::TexteVMiroir) x0 -= s, y0 -= s;
        dedans = dedans && Dedans(r, x0, y0) && Dedans(r, x1, y1);
      }
      if (dedans)
        Prend(i, fin);
      else
        i = fin + 1;
    } else if (e.Code >= 128 && e.Code <= 135) {
      if (i == n) break;
      const ElementCI& q = c.Elements[i + 1];
      bool dedans;
      if (e.Code == code::Cercle) {
        const int32_t rr = q.X;
        dedans = Dedans(r, e.X - rr, e.Y - rr) && Dedans(r, e.X + rr, e.Y + rr);
      } else {
        dedans = Dedans(r, e.X, e.Y) && Dedans(r, q.X, q.Y);
      }
      if (dedans)
        Prend(i, i + 1);
      else
        i += 2;
    } else if (e.Code >= 160 && e.Code <= 166) {
      int32_t fin = i;
      while (fin < n && c.Elements[fin].Attribut != kDernierPoint) ++fin;
      bool dedans = true;
      for (int32_t m = i; m <= fin; ++m)
        dedans = dedans && Dedans(r, c.Elements[m].X, c.Elements[m].Y);
      if (dedans)
        Prend(i, fin);
      else
        i = fin + 1;
    } else if (EstPastille(e.Code)) {
      static const int32_t demi[14][2] = {{0, 0},     {18, 30},   {30, 18},   {24, 43},  {43, 24},
                                          {30, 30},   {40, 40},   {63, 63},   {79, 79},  {122, 122},
                                          {158, 158}, {197, 197}, {150, 150}, {150, 150}};
      const int32_t hw = demi[e.Code - 192][0], hh = demi[e.Code - 192][1];
      if (Dedans(r, e.X - hw, e.Y - hh) && Dedans(r, e.X + hw, e.Y + hh))
        Prend(i, i);
      else
        ++i;
    } else if (e.Code == code::DebutGroupe) {
      int32_t compte = 0, j = i;
      for (; j <= n; ++j) {
        compte += DeltaNiveau(c.Elements[j].Code);
        if (compte == 0) break;
      }
      if (j > n) {
        ++i;
        continue;
      }
      const ElementCI& q = c.Elements[j];
      if (Dedans(r, e.X, e.Y) && Dedans(r, q.X, q.Y))
        Prend(i, j);
      else
        i = j + 1;
    } else {
      ++i;
    }
  }
  c.CircuitModifie = modifie;  // gathering a zone is not a change of the circuit
  if (pris.empty()) return {0, 0};
  const int32_t avant = c.NbElements;
  for (const ElementCI& e : pris) c.Elements[++c.NbElements] = e;
  return {avant + 1, c.NbElements};
}

}  // namespace korv4::litteral
