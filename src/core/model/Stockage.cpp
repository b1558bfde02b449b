// The store itself: its tables, reset, bounding boxes and the usage queries.

#include "model/Circuit.h"

namespace korv4 {

namespace {

constexpr std::array<int32_t, 6> kLargeurs = {6, 10, 20, 30, 40, 50};

void Elargit(Cadre& r, int32_t l, int32_t b, int32_t d, int32_t h) {
  if (l < r.Gauche) r.Gauche = l;
  if (b < r.Bas) r.Bas = b;
  if (d > r.Droite) r.Droite = d;
  if (h > r.Haut) r.Haut = h;
}

}  // namespace

int32_t LargeurPiste(uint8_t c) { return EstPisteCreee(c) ? kLargeurs[c - code::PistePremier] : 0; }

Circuit::Circuit() : Elements(kMaxElements + 1), Supprimes(kMaxElements + 1) {}

void RazCircuit(Circuit& c) {
  std::fill(c.Elements.begin(), c.Elements.end(), ElementCI{});
  c.EnteteCI.DiametresPercage = kDiametresPercageDefaut;
  c.NbElements = 0;
  c.NbSupprimes = 0;
}

void MessageLimite(const Circuit& c) {
  if (c.messages) c.messages->Message(kMessageLimite);
}

Cadre CadreElements(const Circuit& c, int32_t premier, int32_t dernier) {
  Cadre r{32767, 0, 0, 32767};
  // A range that reaches outside the live records only counts the records it holds.
  if (premier < 1) premier = 1;
  if (dernier > c.NbElements) dernier = c.NbElements;
  for (int32_t i = premier; i <= dernier; ++i) {
    const ElementCI& e = c.Elements[i];
    const int32_t x = e.X, y = e.Y;
    switch (e.Code) {
      case code::FinTexte:
      case code::FinGroupe:
      case code::DebutGroupe: break;
      case code::TexteH: {
        const int32_t p = PasTexteDe(e.Attribut);
        Elargit(r, x, y, x + p, y + p);
        break;
      }
      case code::TexteV:
      case code::TexteHMiroir: {
        const int32_t p = PasTexteDe(e.Attribut);
        Elargit(r, x - p, y, x, y + p);
        break;
      }
      case code::TexteVMiroir: {
        const int32_t p = PasTexteDe(e.Attribut);
        Elargit(r, x - p, y - p, x, y);
        break;
      }
      case code::Cercle: {
        // The radius record that follows is part of the circle, not a point. A centre that
        // ends the store has no radius record: it counts as a point.
        const int32_t rayon = i < c.NbElements ? c.Elements[i + 1].X : 0;
        Elargit(r, x - rayon, y - rayon, x + rayon, y + rayon);
        if (i < c.NbElements) ++i;
        break;
      }
      default:
        if (EstPastille(e.Code)) {
          const int32_t m = EncombrementPastille(e.Code);
          Elargit(r, x - m, y - m, x + m, y + m);
        } else {
          Elargit(r, x, y, x, y);
        }
    }
  }
  return r;
}

std::array<uint8_t, 14> PercagesUtilises(const Circuit& c) {
  std::array<uint8_t, 14> f{};
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    if (EstPastille(e.Code) && e.Attribut < f.size()) f[e.Attribut] = 1;
  }
  return f;
}

std::array<uint8_t, 5> CouchesUtilisees(const Circuit& c) {
  std::array<uint8_t, 5> f{};
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    switch (e.Couche) {
      case 3: f[0] = 1; break;
      case 1: f[1] = 1; break;
      case 2: f[2] = 1; break;
      case 4: f[3] = 1; break;
      case 8: f[4] = 1; break;
      default: break;
    }
    if (EstPastille(e.Code) && e.Attribut > 0) f[4] = 1;
  }
  return f;
}

int32_t FinDuTexte(const Circuit& c, int32_t i, int32_t fin) {
  int32_t e = i + 1;
  while (e < fin && c.Elements[e].Code != code::FinTexte) ++e;
  return e > fin ? fin : e;
}

int32_t DernierCaractere(const Circuit& c, int32_t i, int32_t e) {
  const int32_t l = c.Elements[e].Code == code::FinTexte ? e - 1 : e;
  return l < i ? i : l;
}

int Direction(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int32_t dx = x2 - x1, dy = y2 - y1;
  if (dy == 0) return dx > 0 ? 1 : (dx < 0 ? 5 : 0);
  if (dy > 0) return dx > 0 ? 2 : (dx == 0 ? 3 : 4);
  return dx < 0 ? 6 : (dx == 0 ? 7 : 8);
}

}  // namespace korv4
