// A store from the first bytes (any records, damaged ones included), then a short script of
// model operations from the rest: joining, repair, finders with deletion and undo, zone
// selection and zone commands, grouping, adding elements. After every operation the counts
// stay within the store and a zone, when there is one, lies within the records; after every
// repair every group is closed and the store is the one the literal repair gives.

#include <algorithm>
#include <string>

#include "../tests/core/model/NettoyageLitteral.h"
#include "Verifications.h"
#include "model/Fichiers.h"

using namespace korv4;

namespace {

constexpr int32_t kMaxEnregistrements = 1000;  // the literal repair is quadratic

class Lecteur {
 public:
  Lecteur(const uint8_t* d, size_t n) : d_(d), n_(n) {}
  bool Fini() const { return p_ >= n_; }
  uint8_t Octet() { return p_ < n_ ? d_[p_++] : 0; }
  uint16_t Mot() { return static_cast<uint16_t>(Octet() | (Octet() << 8)); }

 private:
  const uint8_t* d_;
  size_t n_;
  size_t p_ = 0;
};

// A point near an existing record, so that the finders have something to find.
void Point(const Circuit& c, Lecteur& l, int32_t& x, int32_t& y) {
  const uint8_t k = l.Octet(), d = l.Octet();
  if (c.NbElements == 0) {
    x = k * 40;
    y = d * 40;
    return;
  }
  const ElementCI& e = c.Elements[1 + k % c.NbElements];
  x = e.X + (d & 15) - 8;
  y = e.Y + (d >> 4) - 8;
}

// A zone range must lie within the records. Some sequences leave copies counted with no
// usable range, which every zone operation ignores: EffaceZone after a duplication (range
// (0, 0)), SupprimeZone after the copy changed size (grouped, for instance: the range then
// starts before record 1), and DissocieZone of an empty group (last before first).
void VerifieZone(const Circuit& c) {
  const TSelection& z = c.Selection;
  if (z.Active > 0 && z.Premier >= 1 && z.Premier <= z.Dernier)
    KORV4_VERIFIE(z.Dernier <= c.NbElements);
}

void Repare(Circuit& c) {
  static Circuit* litteral = new Circuit;
  const bool compare = c.NbElements <= kMaxEnregistrements;
  if (compare) {
    litteral->NbElements = c.NbElements;
    std::copy(c.Elements.begin(), c.Elements.begin() + c.NbElements + 1,
              litteral->Elements.begin());
    litteral->CircuitModifie = c.CircuitModifie;
  }
  NettoyageCircuit(c);
  fuzz::VerifieGroupesFermes(c);
  if (!compare) return;
  litteral::NettoyageCircuit(*litteral);
  KORV4_VERIFIE(litteral->NbElements == c.NbElements);
  KORV4_VERIFIE(std::equal(c.Elements.begin() + 1, c.Elements.begin() + c.NbElements + 1,
                           litteral->Elements.begin() + 1));
  KORV4_VERIFIE(litteral->CircuitModifie == c.CircuitModifie);
}

void FaitZone(Circuit& c, Plage p) {
  if (p.Premier < 1 || p.Dernier < p.Premier || p.Dernier > c.NbElements) return;
  c.Selection.Active = 1;
  c.Selection.Premier = p.Premier;
  c.Selection.Dernier = p.Dernier;
  c.Selection.CadreZone = CadreElements(c, p.Premier, p.Dernier);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
  Lecteur l(donnees, taille);
  Circuit& c = fuzz::CircuitVierge();
  const int32_t n = std::min<int32_t>(l.Mot() % (kMaxEnregistrements + 1),
                                      static_cast<int32_t>((taille > 2 ? taille - 2 : 0) / 8));
  for (int32_t i = 1; i <= n; ++i) {
    ElementCI& e = c.Elements[i];
    e.Couche = l.Octet();
    e.Code = l.Octet();
    e.Attribut = l.Octet();
    e.Caractere = l.Octet();
    e.X = l.Mot();
    e.Y = l.Mot();
  }
  c.NbElements = n;
  // The kinds a click creates; 0: the click that ends the track being drawn.
  static constexpr uint8_t kGenres[] = {161, 162, 163, 164, 165, 166, 0,   193, 199,
                                        205, 128, 130, 132, 134, 129, 131, 133, 135};
  for (int pas = 0; pas < 48 && !l.Fini(); ++pas) {
    const uint8_t op = l.Octet();
    const uint8_t p = l.Octet();
    const int travail = 1 + (p & 3);
    int32_t x, y;
    bool garderZone = false;
    switch (op % 16) {
      case 0: JonctionPistes(c); break;
      case 1: Repare(c); break;
      case 2:
        Point(c, l, x, y);
        Suppression(c, ChercherPastille(c, x, y));
        break;
      case 3:
        Point(c, l, x, y);
        Suppression(c, ChercherPiste(c, travail, x, y));
        break;
      case 4:
        Point(c, l, x, y);
        Suppression(c, ChercherSegment(c, travail, x, y));
        break;
      case 5:
        Point(c, l, x, y);
        Suppression(c, ChercherTexte(c, travail, x, y));
        break;
      case 6:
        Point(c, l, x, y);
        Suppression(c, ChercherDessin(c, travail, x, y));
        break;
      case 7:
        AnnuleSuppression(c);
        garderZone = true;
        break;
      case 8: {
        int32_t x2, y2;
        Point(c, l, x, y);
        Point(c, l, x2, y2);
        const Cadre r{std::min(x, x2) - 200, std::max(y, y2) + 200, std::max(x, x2) + 200,
                      std::min(y, y2) - 200};
        FaitZone(c, SelectionRectangle(c, r));
        garderZone = true;
        break;
      }
      case 9:
        DeplaceZone(c, static_cast<int8_t>(l.Octet()), static_cast<int8_t>(l.Octet()));
        garderZone = true;
        break;
      case 10:
        DupliqueZone(c, static_cast<int8_t>(l.Octet()), static_cast<int8_t>(l.Octet()));
        garderZone = true;
        break;
      case 11:
        (p & 1) ? SupprimeZone(c) : EffaceZone(c);
        garderZone = true;
        break;
      case 12:
        (p & 1) ? TourneZone(c) : InverseZone(c);
        garderZone = true;
        break;
      case 13:
        (p & 1) ? GroupeZone(c) : DissocieZone(c);
        garderZone = true;
        break;
      case 14:
        Point(c, l, x, y);
        if (p & 0x80) {
          const std::string texte(1 + (p & 7), static_cast<char>('A' + (p >> 3 & 15)));
          AjoutTexte(c, static_cast<uint16_t>(x), static_cast<uint16_t>(y), (p & 8) ? 52 : 51,
                     texte, 1 + (p >> 4) % 3, travail);
        } else {
          const uint8_t genre = kGenres[(p >> 2) % std::size(kGenres)];
          if (genre == 0) {
            TermineTrace(c);
          } else {
            AjoutElement(c, travail, genre, static_cast<uint16_t>(x), static_cast<uint16_t>(y));
          }
        }
        break;
      default: {
        Point(c, l, x, y);
        Plage g = ChercherGroupe(c, x, y);
        if (g.Premier == 0) break;
        if (p & 1) PlaceEnFin(c, g);
        FaitZone(c, g);
        garderZone = true;
        break;
      }
    }
    // Other operations reorder the store: the editor forgets the zone after them.
    if (!garderZone) DeselectionZone(c);
    fuzz::VerifieLimites(c);
    VerifieZone(c);
  }
  return 0;
}
