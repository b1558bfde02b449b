// Turning the editor's clicks into element records.

#include "model/Circuit.h"

namespace korv4 {

namespace {

void EffaceDerniers(Circuit& c, int32_t n) {
  for (int32_t k = 0; k < n; ++k) c.Elements[c.NbElements - k] = ElementCI{};
  c.NbElements -= n;
}

}  // namespace

void TermineTrace(Circuit& c) {
  // Ending a track adds nothing, so the limit never leaves a track open.
  if (c.NbElements < 1) return;
  ElementCI& dernier = c.Elements[c.NbElements];
  if (dernier.Attribut == kPointMilieu) {
    dernier.Attribut = kDernierPoint;
    c.CircuitModifie = true;
    JonctionPistes(c);
  } else if (dernier.Attribut == kPremierPoint) {
    EffaceDerniers(c, 1);
    c.CircuitModifie = true;
  }
}

void AjoutElement(Circuit& c, int travail, uint8_t genre, uint16_t x, uint16_t y) {
  // The second point of a drawing completes what its first point started, and that one was
  // refused at 99999 records: the second always has its slot.
  const bool deuxiemePoint = EstSecondPointDessin(genre);
  if (c.NbElements >= (deuxiemePoint ? kMaxElements : kMaxElements - 1)) {
    MessageLimite(c);
    return;
  }
  const int32_t n = ++c.NbElements;
  ElementCI& e = c.Elements[n];
  const ElementCI& p = c.Elements[n - 1];
  e = ElementCI{};
  e.Couche = MasqueTravail[travail >= 0 && travail <= 8 ? travail : 0];
  e.X = x;
  e.Y = y;
  c.CircuitModifie = true;
  const bool pisteEnCours = p.Attribut == kPremierPoint || p.Attribut == kPointMilieu;

  if (EstPisteCreee(genre)) {
    if (pisteEnCours && x == p.X && y == p.Y) {  // the click repeats the last point
      EffaceDerniers(c, 1);
      return;
    }
    e.Code = genre;
    e.Attribut = pisteEnCours ? kPointMilieu : kPremierPoint;
  } else if (EstPastille(genre)) {
    e.Couche = kCouchePastilles;
    e.Code = genre;
    e.Attribut = static_cast<uint8_t>(PercageDefaut(genre));
  } else if (EstPremierPointDessin(genre)) {
    e.Code = genre;
    e.Attribut = c.EpaisseurDessin;
  } else if (deuxiemePoint) {
    e.Code = genre;
    e.Attribut = c.EpaisseurDessin;
    const int32_t dx = static_cast<int32_t>(x) - p.X, dy = static_cast<int32_t>(y) - p.Y;
    bool degenere = false;
    if (genre == code::Trait2 || genre == code::Rayon) {
      degenere = dx == 0 && dy == 0;
    } else {
      degenere = dx == 0 || dy == 0;
    }
    if (degenere) {
      EffaceDerniers(c, n >= 2 ? 2 : 1);
      return;
    }
    if (genre == code::Rayon) {
      const int32_t ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
      e.X = static_cast<uint16_t>(ay > ax ? ay : ax);
      e.Y = 0;
    }
  } else {
    // Not a tool of the store: nothing is added.
    EffaceDerniers(c, 1);
  }
}

void AjoutTexte(Circuit& c, uint16_t x, uint16_t y, int orientation, const std::string& texte,
                int taille, int travail) {
  const int32_t n = static_cast<int32_t>(texte.size());
  if (c.NbElements + n >= kMaxElements) {
    MessageLimite(c);
    return;
  }
  if (n == 0) return;
  const uint8_t t = static_cast<uint8_t>(taille);
  const int32_t p = PasTexteDe(t);
  const uint8_t m = MasqueTravail[travail >= 0 && travail <= 8 ? travail : 0];
  const bool horizontal = orientation != 52;
  for (int32_t k = 1; k <= n; ++k) {
    ElementCI e;
    e.Couche = m;
    e.Attribut = t;
    if (travail == 1) {  // seen through the board: stored last character first
      e.Caractere = static_cast<uint8_t>(texte[n - k]);
      e.Code = horizontal ? code::TexteHMiroir : code::TexteVMiroir;
      e.X = static_cast<uint16_t>(horizontal ? x + k * p : x);
      e.Y = static_cast<uint16_t>(horizontal ? y : y + k * p);
    } else {
      e.Caractere = static_cast<uint8_t>(texte[k - 1]);
      e.Code = horizontal ? code::TexteH : code::TexteV;
      e.X = static_cast<uint16_t>(horizontal ? x + (k - 1) * p : x);
      e.Y = static_cast<uint16_t>(horizontal ? y : y + (k - 1) * p);
    }
    c.Elements[++c.NbElements] = e;
  }
  ElementCI fin;
  fin.Couche = m;
  fin.Code = code::FinTexte;
  c.Elements[++c.NbElements] = fin;
  c.CircuitModifie = true;
}

bool PastilleGenante(const Circuit& c, int32_t x, int32_t y, uint8_t genre) {
  const int32_t h = RayonPastille(genre);
  if (h > x || h > y) return true;
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    if (e.Couche != kCouchePastilles || !EstPastilleTrouvee(e.Code)) continue;
    const int32_t r = h + RayonPastille(e.Code);
    const int32_t dx = x - e.X, dy = y - e.Y;
    if ((dx < 0 ? -dx : dx) < r && (dy < 0 ? -dy : dy) < r) return true;
  }
  return false;
}

}  // namespace korv4
