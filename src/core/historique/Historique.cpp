#include "historique/Historique.h"

#include <algorithm>
#include <cstring>

namespace korv4 {

namespace {

// b - a, field by field (modulo the field's size): what turns a into b.
ElementCI Ecart(const ElementCI& a, const ElementCI& b) {
  ElementCI d;
  d.Couche = static_cast<uint8_t>(b.Couche - a.Couche);
  d.Code = static_cast<uint8_t>(b.Code - a.Code);
  d.Attribut = static_cast<uint8_t>(b.Attribut - a.Attribut);
  d.Caractere = static_cast<uint8_t>(b.Caractere - a.Caractere);
  d.X = static_cast<uint16_t>(b.X - a.X);
  d.Y = static_cast<uint16_t>(b.Y - a.Y);
  return d;
}

void Ajoute(ElementCI& e, const ElementCI& d) {
  e.Couche = static_cast<uint8_t>(e.Couche + d.Couche);
  e.Code = static_cast<uint8_t>(e.Code + d.Code);
  e.Attribut = static_cast<uint8_t>(e.Attribut + d.Attribut);
  e.Caractere = static_cast<uint8_t>(e.Caractere + d.Caractere);
  e.X = static_cast<uint16_t>(e.X + d.X);
  e.Y = static_cast<uint16_t>(e.Y + d.Y);
}

ElementCI Oppose(const ElementCI& d) { return Ecart(d, ElementCI{}); }

// A record has no padding: equal bytes are equal records, and the stores are compared by
// memcmp a block at a time (a step's search for what changed looked at every record one by
// one, a tenth of a millisecond at every click on a full store).
constexpr int32_t kBloc = 512;

// How many of the n records from a and from b are equal before the first that differs.
int32_t EgauxDevant(const ElementCI* a, const ElementCI* b, int32_t n) {
  int32_t i = 0;
  while (i + kBloc <= n && std::memcmp(a + i, b + i, kBloc * sizeof(ElementCI)) == 0) i += kBloc;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// How many of the n records before a and before b are equal after the last that differs.
int32_t EgauxDerriere(const ElementCI* a, const ElementCI* b, int32_t n) {
  int32_t i = 0;
  while (i + kBloc <= n &&
         std::memcmp(a - i - kBloc, b - i - kBloc, kBloc * sizeof(ElementCI)) == 0) {
    i += kBloc;
  }
  while (i < n && a[-1 - i] == b[-1 - i]) ++i;
  return i;
}

size_t OctetsDe(const Instantane& i) {
  return i.Titres[0].size() + i.Titres[1].size() + i.Titres[2].size();
}

}  // namespace

bool Instantane::operator==(const Instantane& o) const {
  return Diametres == o.Diametres && Titres == o.Titres && SurfaceX == o.SurfaceX &&
         SurfaceY == o.SurfaceY && Selection.Active == o.Selection.Active &&
         Selection.Premier == o.Selection.Premier && Selection.Dernier == o.Selection.Dernier &&
         Selection.CadreZone == o.Selection.CadreZone;
}

size_t Historique::Etape::Octets() const {
  return sizeof(Etape) + Libelle.size() + Autres.size() * sizeof(ElementCI) +
         Ecarts.size() * sizeof(Difference) + OctetsDe(Avant) + OctetsDe(Apres);
}

Historique::Historique(size_t octetsMax, size_t etapesMax)
    : octetsMax_(octetsMax), etapesMax_(std::max<size_t>(etapesMax, 1)) {}

void Historique::Commence(const Circuit& c, const Instantane& etat, bool enregistre) {
  copie_.assign(c.Elements.begin(), c.Elements.begin() + c.NbElements + 1);
  copie_.resize(kMaxElements + 1);
  nbCopie_ = c.NbElements;
  etat_ = etat;
  etapes_.clear();
  position_ = 0;
  pointEnregistre_ = enregistre ? 0 : -1;
  octets_ = 0;
}

const std::string& Historique::LibelleAnnuler() const {
  static const std::string kRien;
  return PeutAnnuler() ? etapes_[position_ - 1].Libelle : kRien;
}

const std::string& Historique::LibelleRetablir() const {
  static const std::string kRien;
  return PeutRetablir() ? etapes_[position_].Libelle : kRien;
}

bool Historique::Enregistre(const Circuit& c, const Instantane& etat, const std::string& libelle) {
  if (copie_.empty()) Commence(Circuit{}, Instantane{});
  const int32_t n0 = nbCopie_, n1 = c.NbElements;
  const int32_t commun = std::min(n0, n1);
  // Records 1..p-1 and the last s of both are the same.
  const int32_t p = 1 + EgauxDevant(copie_.data() + 1, c.Elements.data() + 1, commun);
  const int32_t s =
      EgauxDerriere(copie_.data() + n0 + 1, c.Elements.data() + n1 + 1, commun - p + 1);
  const int32_t avant = n0 - s - (p - 1), apres = n1 - s - (p - 1);
  if (avant == 0 && apres == 0) {
    // A new selection alone is no step: the next step starts from it.
    Instantane sansSelection = etat;
    sansSelection.Selection = etat_.Selection;
    if (sansSelection == etat_) {
      etat_ = etat;
      return false;
    }
  }

  Etape e;
  e.Libelle = libelle;
  e.Debut = p;
  e.NbDansStore = apres;
  e.Avant = etat_;
  e.Apres = etat;
  if (avant == apres && avant > 0) {
    // Records changed in place: kept as runs of equal differences when that is smaller (a
    // move is one run, or a few around records that do not move). The runs are counted first:
    // a turn or a mirror, whose records all differ differently, allocates none of them.
    const size_t plafond = static_cast<size_t>(avant) * sizeof(ElementCI);
    size_t series = 0;
    ElementCI derniere;
    for (int32_t i = 0; i < avant && series * sizeof(Difference) < plafond; ++i) {
      const ElementCI d = Ecart(c.Elements[p + i], copie_[p + i]);
      if (series == 0 || !(derniere == d)) ++series;
      derniere = d;
    }
    e.ParEcarts = series * sizeof(Difference) < plafond;
    if (e.ParEcarts) {
      e.Ecarts.reserve(series);
      for (int32_t i = 0; i < avant; ++i) {
        const ElementCI d = Ecart(c.Elements[p + i], copie_[p + i]);
        if (!e.Ecarts.empty() && e.Ecarts.back().Ecart == d) {
          ++e.Ecarts.back().Nombre;
        } else {
          e.Ecarts.push_back({1, d});
        }
      }
    }
  }
  if (!e.ParEcarts) e.Autres.assign(copie_.begin() + p, copie_.begin() + p + avant);

  std::copy(c.Elements.begin() + p, c.Elements.begin() + n1 + 1, copie_.begin() + p);
  nbCopie_ = n1;
  etat_ = etat;

  // What could be done again is lost.
  while (etapes_.size() > position_) {
    octets_ -= etapes_.back().Octets();
    etapes_.pop_back();
  }
  if (pointEnregistre_ > static_cast<long>(position_)) pointEnregistre_ = -1;
  octets_ += e.Octets();
  etapes_.push_back(std::move(e));
  ++position_;
  ++enregistrements_;
  Limite();
  return true;
}

void Historique::Limite() {
  while (etapes_.size() > 1 && (etapes_.size() > etapesMax_ || octets_ > octetsMax_)) {
    octets_ -= etapes_.front().Octets();
    etapes_.pop_front();
    --position_;
    if (pointEnregistre_ >= 0) --pointEnregistre_;
  }
}

void Historique::Echange(Circuit& c, Etape& e) {
  const int32_t debut = e.Debut;

  if (e.ParEcarts) {
    int32_t i = debut;
    for (Difference& d : e.Ecarts) {
      for (uint32_t k = 0; k < d.Nombre; ++k) Ajoute(c.Elements[i++], d.Ecart);
      d.Ecart = Oppose(d.Ecart);
    }
  } else {
    const int32_t dedans = e.NbDansStore;
    const int32_t dehors = static_cast<int32_t>(e.Autres.size());
    std::vector<ElementCI> sortants(c.Elements.begin() + debut,
                                    c.Elements.begin() + debut + dedans);
    const int32_t n = c.NbElements, nouveau = n - dedans + dehors;
    // The records after the run move to their new place, then the other side comes in.
    if (dehors != dedans) {
      std::copy(c.Elements.begin() + debut + dedans, c.Elements.begin() + n + 1,
                c.Elements.begin() + debut + dehors);
      for (int32_t i = nouveau + 1; i <= n; ++i) c.Elements[i] = ElementCI{};
    }
    std::copy(e.Autres.begin(), e.Autres.end(), c.Elements.begin() + debut);
    c.NbElements = nouveau;
    e.Autres = std::move(sortants);
    e.NbDansStore = dehors;
  }
  std::copy(c.Elements.begin() + debut, c.Elements.begin() + c.NbElements + 1,
            copie_.begin() + debut);
  nbCopie_ = c.NbElements;
}

bool Historique::Annule(Circuit& c, Instantane& etat) {
  if (!PeutAnnuler()) return false;

  Etape& e = etapes_[position_ - 1];
  Echange(c, e);
  etat = e.Avant;
  etat_ = etat;
  --position_;
  c.CircuitModifie = !AuPointEnregistre();
  return true;
}

bool Historique::Retablit(Circuit& c, Instantane& etat) {
  if (!PeutRetablir()) return false;
  Etape& e = etapes_[position_];
  Echange(c, e);
  etat = e.Apres;
  etat_ = etat;
  ++position_;
  c.CircuitModifie = !AuPointEnregistre();
  return true;
}

void Historique::MarqueEnregistre() { pointEnregistre_ = static_cast<long>(position_); }

}  // namespace korv4
