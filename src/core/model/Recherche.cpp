// The finders: which element lies under a grid point. Each looks only at records of group
// level 0 (the inside of a group is reached through the group), in store order, and returns
// the first match. The group level of a record always counts every marker from record 1 up to
// it, also where a walk jumps over the rest of an element.

#include <algorithm>
#include <cstdlib>

#include "model/Circuit.h"

namespace korv4 {

namespace {

constexpr int32_t kTolerance = 25;
constexpr int32_t kProximite = 5;

inline int32_t Abs(int32_t v) { return v < 0 ? -v : v; }

Plage ChercherPastilleDans(const Circuit& c, int32_t x, int32_t y, bool proche) {
  int32_t niveau = 0;
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    niveau += DeltaNiveau(e.Code);
    if (niveau != 0 || e.Couche != kCouchePastilles || !EstPastilleTrouvee(e.Code)) continue;
    const int32_t h = proche ? kProximite : RayonPastille(e.Code);
    if (Abs(x - e.X) < h && Abs(y - e.Y) < h) return {i, i};
  }
  return {0, 0};
}

bool SurSegment(const ElementCI& a, const ElementCI& b, int32_t x, int32_t y) {
  const int32_t x1 = a.X, y1 = a.Y, x2 = b.X, y2 = b.Y;
  const int32_t w = LargeurPiste(a.Code);
  const int32_t W = w + w / 2;
  switch (Direction(x1, y1, x2, y2)) {
    case 0: return x == x1 && y == y1;
    case 1: return x1 <= x && x <= x2 && Abs(y - y1) < w;
    case 5: return x2 <= x && x <= x1 && Abs(y - y1) < w;
    case 3: return Abs(x - x1) < w && y1 <= y && y <= y2;
    case 7: return Abs(x - x1) < w && y2 <= y && y <= y1;
    case 2:
      return x1 <= x && x <= x2 && y1 <= y && y <= y2 && (x - x1) - W < (y - y1) &&
             (y - y1) < (x - x1) + W;
    case 4:
      return x2 <= x && x <= x1 && y1 <= y && y <= y2 && (x1 - x) - W < (y - y1) &&
             (y - y1) < (x1 - x) + W;
    case 6:
      return x2 <= x && x <= x1 && y2 <= y && y <= y1 && (x1 - x) - W < (y1 - y) &&
             (y1 - y) < (x1 - x) + W;
    default:  // 8
      return x1 <= x && x <= x2 && y2 <= y && y <= y1 && (x - x1) - W < (y1 - y) &&
             (y1 - y) < (x - x1) + W;
  }
}

// Products are taken in 64 bits: coordinates of damaged files would overflow 32 bits.
bool TestCercle(int64_t dx, int64_t dy, int64_t r) {
  const int64_t t2 = 2 * kTolerance;
  return (dx - t2) * dx + (dy - t2) * dy < r * r && r * r < (dx + t2) * dx + (dy + t2) * dy;
}

bool SurDessin(const ElementCI& a, const ElementCI& b, int32_t x, int32_t y) {
  const int32_t T = kTolerance;
  const int32_t x1 = a.X, y1 = a.Y, x2 = b.X, y2 = b.Y;
  int32_t gauche, droite, bas, haut;
  if (a.Code == code::Cercle) {
    gauche = x1 - x2, droite = x1 + x2, bas = y1 - x2, haut = y1 + x2;
  } else {
    gauche = std::min(x1, x2), droite = std::max(x1, x2);
    bas = std::min(y1, y2), haut = std::max(y1, y2);
  }
  if (x < gauche - T || x > droite + T || y < bas - T || y > haut + T) return false;
  switch (a.Code) {
    case code::Trait1: {
      const int d = Direction(x1, y1, x2, y2);
      switch (d) {
        case 0: return false;
        case 1: return x1 - T <= x && x <= x2 + T && Abs(y - y1) <= T;
        case 5: return x2 - T <= x && x <= x1 + T && Abs(y - y1) <= T;
        case 3: return y1 - T <= y && y <= y2 + T && Abs(x - x1) <= T;
        case 7: return y2 - T <= y && y <= y1 + T && Abs(x - x1) <= T;
        default: {
          const int64_t L = std::max(Abs(x2 - x1), Abs(y2 - y1));
          const int64_t p1 = static_cast<int64_t>(y2 - y1) * (x - x1);
          const int64_t p2 = static_cast<int64_t>(x2 - x1) * (y - y1);
          const int64_t C = std::llabs(std::llabs(p1) - std::llabs(p2));
          return C <= L * T;  // the widened box was checked above
        }
      }
    }
    case code::Rectangle1: {
      const int32_t l = gauche, r = droite, bb = bas, t = haut;
      const bool presVerticale = (l - T < x && x < l + T) || (r - T < x && x < r + T);
      const bool presHorizontale = (bb - T < y && y < bb + T) || (t - T < y && y < t + T);
      return (presVerticale && bb - T < y && y < t + T) ||
             (presHorizontale && l - T < x && x < r + T);
    }
    case code::Cercle: return TestCercle(Abs(x - x1), Abs(y - y1), x2);
    case code::Ellipse1: {
      const int32_t cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
      const int32_t ea = Abs(x2 - cx), eb = Abs(y2 - cy);
      int64_t dx = Abs(x - cx), dy = Abs(y - cy);
      // A half-axis of 0 (an ellipse one unit wide or high, drawn towards the origin) leaves
      // the ellipse along its box: it is hit wherever the widened box is.
      if (ea == 0 || eb == 0) return true;
      if (eb < ea) {
        dy = (static_cast<int64_t>(ea) * dy) / eb;
      } else {
        dx = (dx * eb) / ea;
      }
      return TestCercle(dx, dy, std::max(ea, eb));
    }
    default:  // 129, 131, 133 met as a first record
      return false;
  }
}

}  // namespace

Plage ChercherPastille(const Circuit& c, int32_t x, int32_t y) {
  return ChercherPastilleDans(c, x, y, false);
}

Plage ChercherPastilleProche(const Circuit& c, int32_t x, int32_t y) {
  return ChercherPastilleDans(c, x, y, true);
}

Plage ChercherSegment(const Circuit& c, int travail, int32_t x, int32_t y) {
  const uint8_t m = MasqueTravail[travail >= 0 && travail <= 8 ? travail : 0];
  int32_t niveau = 0;
  // A point that ends the store has no next point: it starts no segment.
  for (int32_t i = 1; i < c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    niveau += DeltaNiveau(e.Code);
    if (niveau != 0 || e.Couche != m || !EstPisteCreee(e.Code) || e.Attribut == kDernierPoint)
      continue;
    if (SurSegment(e, c.Elements[i + 1], x, y)) return {i, i + 1};
  }
  return {0, 0};
}

Plage ChercherPiste(const Circuit& c, int travail, int32_t x, int32_t y) {
  Plage s = ChercherSegment(c, travail, x, y);
  if (s.Vide()) return s;
  while (s.Premier > 1 && c.Elements[s.Premier].Attribut != kPremierPoint) --s.Premier;
  while (s.Dernier < c.NbElements && c.Elements[s.Dernier].Attribut != kDernierPoint) ++s.Dernier;
  return s;
}

Plage ChercherTexte(const Circuit& c, int travail, int32_t x, int32_t y) {
  const uint8_t m = MasqueTravail[travail >= 0 && travail <= 8 ? travail : 0];
  int32_t niveau = 0;
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& f = c.Elements[i];
    niveau += DeltaNiveau(f.Code);
    if (niveau != 0 || f.Couche != m || f.Code < 64 || f.Code > 71) continue;
    const int32_t e = FinDuTexte(c, i, c.NbElements);
    const ElementCI& l = c.Elements[DernierCaractere(c, i, e)];
    const int32_t s = PasTexteDe(f.Attribut);
    const int32_t xf = f.X, yf = f.Y, xl = l.X, yl = l.Y;
    int32_t x0 = xf, x1 = xl, y0 = yf, y1 = yl;
    switch (f.Code) {
      case code::TexteH: x1 = xl + s, y1 = yl + s; break;
      case code::TexteV:
      case code::TexteHMiroir: x0 = xf - s, y1 = yl + s; break;
      case code::TexteVMiroir: x0 = xf - s, y0 = yf - s; break;
      default: break;
    }
    if (x0 <= x && x <= x1 && y0 <= y && y <= y1) return {i, e};
    for (int32_t k = i + 1; k <= e; ++k) niveau += DeltaNiveau(c.Elements[k].Code);
    i = e;
  }
  return {0, 0};
}

Plage ChercherDessin(const Circuit& c, int travail, int32_t x, int32_t y) {
  const uint8_t m = MasqueTravail[travail >= 0 && travail <= 8 ? travail : 0];
  int32_t niveau = 0;
  // A first record that ends the store has no second record: it is no drawing.
  for (int32_t i = 1; i < c.NbElements; ++i) {
    const ElementCI& a = c.Elements[i];
    niveau += DeltaNiveau(a.Code);
    if (niveau != 0 || a.Couche != m || a.Code < 128 || a.Code > 134) continue;
    if (SurDessin(a, c.Elements[i + 1], x, y)) return {i, i + 1};
    ++i;
    niveau += DeltaNiveau(c.Elements[i].Code);
  }
  return {0, 0};
}

Plage ChercherGroupe(const Circuit& c, int32_t x, int32_t y) {
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    if (c.Elements[i].Code != code::DebutGroupe) continue;
    int32_t compte = 0, j = i;
    for (; j <= c.NbElements; ++j) {
      compte += DeltaNiveau(c.Elements[j].Code);
      if (compte == 0) break;
    }
    if (j > c.NbElements) return {0, 0};  // unclosed: no group from here on
    const ElementCI& a = c.Elements[i];
    const ElementCI& b = c.Elements[j];
    if (std::min(a.X, b.X) <= x && x <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= y &&
        y <= std::max(a.Y, b.Y))
      return {i, j};
    i = j;
  }
  return {0, 0};
}

}  // namespace korv4
