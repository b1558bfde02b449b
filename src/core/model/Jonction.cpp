// Track joining: every track of the store that shares an end point with another track of the
// same layer and width becomes one track with it, appended at the end of the store; then middle
// points that do not change direction go away.
//
// The rule is simple to state as repeated scans: walk the store from record 1; at the first
// track (at group level 0) that has a partner after it, join the two, append the result and
// start again from record 1. Done that way, joining k pairs costs k scans of the store and k
// copies of the growing track. This file gives exactly the same store in close to linear time:
// - the records before the track just joined are unchanged by the join, so the walk resumes at
//   that track instead of record 1. The only thing that could give an earlier track a partner
//   is a record that becomes a track end through the join (the far end of the partner track,
//   when it did not carry a first or last role before, in a damaged store); then the walk
//   starts again from record 1, as the plain rule does.
// - removed records are only marked dead, and a joined track is kept as one unit (a deque that
//   can be read backwards) that later joins extend in place, the smaller part going into the
//   larger one.
// - partners are found through an index of the track ends by layer, width and point.

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "model/Circuit.h"

namespace korv4 {

namespace {

bool EstExtremite(uint8_t attribut) {
  return attribut == kPremierPoint || attribut == kDernierPoint;
}

uint64_t Cle(uint8_t couche, uint8_t code, uint16_t x, uint16_t y) {
  return (static_cast<uint64_t>(couche) << 40) | (static_cast<uint64_t>(code) << 32) |
         (static_cast<uint64_t>(x) << 16) | y;
}

// A joined track kept as one unit: a sequence of records that can be read in either direction.
// Its middle points all have the middle role and none of its records is a group marker, so the
// walk and every search treat it as a whole.
struct Piste {
  std::deque<ElementCI> d;
  bool inverse = false;

  size_t Taille() const { return d.size(); }
  ElementCI& At(size_t k) { return inverse ? d[d.size() - 1 - k] : d[k]; }
  const ElementCI& At(size_t k) const { return inverse ? d[d.size() - 1 - k] : d[k]; }
  ElementCI& Premier() { return At(0); }
  ElementCI& Dernier() { return At(d.size() - 1); }
  void AjouteFin(const ElementCI& e) { inverse ? d.push_front(e) : d.push_back(e); }
  void AjouteDebut(const ElementCI& e) { inverse ? d.push_back(e) : d.push_front(e); }
  void RetireFin() { inverse ? d.pop_front() : d.pop_back(); }
  void RetireDebut() { inverse ? d.pop_back() : d.pop_front(); }
};

// One place of the working sequence: a plain record, or a joined track.
struct Case {
  ElementCI rec;
  int32_t piste = -1;  // index into pistes_, -1 for a plain record
  bool mort = false;
};

// A track end or a plain record that can be a partner: its place, and which end of a joined
// track it is.
enum class Bout : uint8_t { Simple = 0, Debut = 1, Fin = 2 };
struct Entree {
  int32_t place;
  Bout bout;
};

// A position in the working sequence: a place, and the record inside a joined track.
struct Pos {
  int32_t place;
  int32_t k;  // index inside the joined track (0 for a plain record)
};

class Jonction {
 public:
  explicit Jonction(Circuit& c) : c_(c) {}

  // Returns true when the store changed.
  bool Execute();

 private:
  Circuit& c_;
  std::vector<Case> cases_;
  std::vector<Piste> pistes_;
  int32_t nbInitiales_ = 0;
  std::vector<std::pair<uint64_t, int32_t>> indexInitial_;  // sorted (key, place)
  std::unordered_map<uint64_t, std::vector<Entree>> indexAjouts_;

  bool Vivante(int32_t place) const { return !cases_[place].mort; }
  const ElementCI& Rec(Pos p) const {
    const Case& k = cases_[p.place];
    return k.piste < 0 ? k.rec : pistes_[k.piste].At(p.k);
  }
  int32_t Taille(int32_t place) const {
    const Case& k = cases_[place];
    return k.piste < 0 ? 1 : static_cast<int32_t>(pistes_[k.piste].Taille());
  }
  int32_t Suivante(int32_t place) const {  // next live place after place, or -1
    for (int32_t p = place + 1; p < static_cast<int32_t>(cases_.size()); ++p)
      if (Vivante(p)) return p;
    return -1;
  }
  bool Partenaire(uint64_t cle, int32_t apres, Pos& trouve) const;
  void Indexe(int32_t place);
  void Ajoute(const ElementCI& e);
  void AjoutePiste(Piste&& p, bool propre);
  void Aplatit();
};

bool Jonction::Partenaire(uint64_t cle, int32_t apres, Pos& trouve) const {
  auto it = std::lower_bound(indexInitial_.begin(), indexInitial_.end(),
                             std::make_pair(cle, apres + 1));
  for (; it != indexInitial_.end() && it->first == cle; ++it) {
    if (Vivante(it->second)) {
      trouve = {it->second, 0};
      return true;
    }
  }
  auto m = indexAjouts_.find(cle);
  if (m == indexAjouts_.end()) return false;
  const std::vector<Entree>& v = m->second;
  auto e = std::lower_bound(v.begin(), v.end(), apres + 1,
                            [](const Entree& a, int32_t place) { return a.place < place; });
  for (; e != v.end(); ++e) {
    if (!Vivante(e->place)) continue;
    trouve = {e->place, e->bout == Bout::Fin ? Taille(e->place) - 1 : 0};
    return true;
  }
  return false;
}

void Jonction::Indexe(int32_t place) {
  const Case& k = cases_[place];
  if (k.piste < 0) {
    if (EstExtremite(k.rec.Attribut))
      indexAjouts_[Cle(k.rec.Couche, k.rec.Code, k.rec.X, k.rec.Y)].push_back(
          {place, Bout::Simple});
    return;
  }
  const Piste& p = pistes_[k.piste];
  const ElementCI& a = p.At(0);
  const ElementCI& b = p.At(p.Taille() - 1);
  indexAjouts_[Cle(a.Couche, a.Code, a.X, a.Y)].push_back({place, Bout::Debut});
  indexAjouts_[Cle(b.Couche, b.Code, b.X, b.Y)].push_back({place, Bout::Fin});
}

void Jonction::Ajoute(const ElementCI& e) {
  cases_.push_back({e, -1, false});
  Indexe(static_cast<int32_t>(cases_.size()) - 1);
}

// A joined track stays one unit only when its middles are plain middle points and it holds
// no group marker; otherwise its records go back to being plain records.
void Jonction::AjoutePiste(Piste&& p, bool propre) {
  if (!propre) {
    for (size_t k = 0; k < p.Taille(); ++k) Ajoute(p.At(k));
    return;
  }
  pistes_.push_back(std::move(p));
  cases_.push_back({ElementCI{}, static_cast<int32_t>(pistes_.size()) - 1, false});
  Indexe(static_cast<int32_t>(cases_.size()) - 1);
}

void Jonction::Aplatit() {
  int32_t n = 0;
  for (const Case& k : cases_) {
    if (k.mort) continue;
    if (k.piste < 0) {
      c_.Elements[++n] = k.rec;
    } else {
      const Piste& p = pistes_[k.piste];
      for (size_t i = 0; i < p.Taille(); ++i) c_.Elements[++n] = p.At(i);
    }
  }
  c_.NbElements = n;
}

bool Jonction::Execute() {
  const int32_t n = c_.NbElements;
  nbInitiales_ = n;
  // Place 0 stands for record 0: never live, never a partner.
  cases_.reserve(static_cast<size_t>(n) + 1024);
  cases_.push_back({ElementCI{}, -1, true});
  for (int32_t i = 1; i <= n; ++i) {
    const ElementCI& e = c_.Elements[i];
    cases_.push_back({e, -1, false});
    if (EstExtremite(e.Attribut)) indexInitial_.emplace_back(Cle(e.Couche, e.Code, e.X, e.Y), i);
  }
  std::sort(indexInitial_.begin(), indexInitial_.end());

  bool change = false;
  int32_t place = 1;  // where the walk stands
  int32_t niveau = 0;  // group level of the records before it
  while (place >= 0 && place < static_cast<int32_t>(cases_.size())) {
    if (!Vivante(place)) {
      ++place;
      continue;
    }
    const Case& ci = cases_[place];
    const ElementCI& ri = ci.piste < 0 ? ci.rec : pistes_[ci.piste].At(0);
    const int32_t niveauAvant = niveau;
    if (ci.piste < 0) niveau += DeltaNiveau(ri.Code);
    if (niveau != 0 || ri.Attribut != kPremierPoint) {
      ++place;  // a joined track that is not at level 0 is passed over whole
      continue;
    }
    // The track runs from record i to the first last point after it.
    const Pos i{place, 0};
    Pos j{-1, 0};
    int32_t niveauJ = niveau;
    if (ci.piste >= 0) {
      j = {place, Taille(place) - 1};
    } else {
      for (int32_t p = Suivante(place); p >= 0; p = Suivante(p)) {
        const Case& k = cases_[p];
        if (k.piste >= 0) {
          j = {p, Taille(p) - 1};
          break;
        }
        niveauJ += DeltaNiveau(k.rec.Code);
        if (k.rec.Attribut == kDernierPoint) {
          j = {p, 0};
          break;
        }
      }
    }
    if (j.place < 0) break;  // an open track at the end: nothing after it to join
    const ElementCI& rj = Rec(j);
    const uint8_t L = ri.Couche, C = ri.Code;
    Pos k{};
    bool partageDebutA = true;
    bool trouve = Partenaire(Cle(L, C, ri.X, ri.Y), j.place, k);
    if (!trouve) {
      partageDebutA = false;
      trouve = Partenaire(Cle(L, C, rj.X, rj.Y), j.place, k);
    }
    if (!trouve) {
      niveau = niveauJ;
      place = j.place + 1;
      continue;
    }

    // The partner's track: from its first point to its first last point, or back from its last
    // point to the nearest first point, never below the record after j.
    const ElementCI& rk = Rec(k);
    const bool partageFinB = rk.Attribut == kDernierPoint;
    int32_t b1 = k.place, b2 = k.place;
    if (cases_[k.place].piste < 0) {
      if (!partageFinB) {
        for (int32_t p = Suivante(k.place); p >= 0; p = Suivante(p)) {
          b2 = p;
          const Case& q = cases_[p];
          if (q.piste >= 0 || q.rec.Attribut == kDernierPoint) break;
        }
      } else {
        for (int32_t p = k.place - 1; p > j.place; --p) {
          if (!Vivante(p)) continue;
          b1 = p;
          const Case& q = cases_[p];
          if (q.piste >= 0 || q.rec.Attribut == kPremierPoint) break;
        }
      }
    }

    // The joined list: A with the shared point last, then B without the shared point.
    auto Collecte = [&](int32_t de, int32_t a, Piste& sortie, int32_t& seule) {
      int32_t unites = 0;
      seule = -1;
      for (int32_t p = de; p <= a; ++p) {
        if (!Vivante(p)) continue;
        ++unites;
        seule = cases_[p].piste;
      }
      if (unites == 1 && seule >= 0) {
        sortie = std::move(pistes_[seule]);
      } else {
        seule = -1;
        for (int32_t p = de; p <= a; ++p) {
          if (!Vivante(p)) continue;
          const Case& q = cases_[p];
          if (q.piste < 0) {
            sortie.AjouteFin(q.rec);
          } else {
            const Piste& t = pistes_[q.piste];
            for (size_t m = 0; m < t.Taille(); ++m) sortie.AjouteFin(t.At(m));
          }
        }
      }
      for (int32_t p = de; p <= a; ++p) cases_[p].mort = true;
    };
    Piste pa, pb;
    int32_t seuleA, seuleB;
    Collecte(i.place, j.place, pa, seuleA);
    Collecte(b1, b2, pb, seuleB);
    // Does the far end of B become a track end through the join?
    const ElementCI& loin = partageFinB ? pb.At(0) : pb.At(pb.Taille() - 1);
    const bool nouvelleExtremite = pb.Taille() > 1 && !EstExtremite(loin.Attribut);
    if (partageDebutA) pa.inverse = !pa.inverse;
    if (partageFinB) {
      pb.RetireFin();
      pb.inverse = !pb.inverse;
    } else {
      pb.RetireDebut();
    }
    // A part taken whole from a joined track is known to be clean; a part made of plain
    // records is checked once, when its records first join a track.
    auto Propre = [](const Piste& t, size_t milieuDe, size_t milieuA) {
      for (size_t m = 0; m < t.Taille(); ++m) {
        const ElementCI& e = t.At(m);
        if (e.Code == code::DebutGroupe || e.Code == code::FinGroupe) return false;
        if (m >= milieuDe && m < milieuA && e.Attribut != kPointMilieu) return false;
      }
      return true;
    };
    const bool propre = (seuleA >= 0 || Propre(pa, 1, pa.Taille() - 1)) &&
                        (seuleB >= 0 || Propre(pb, 0, pb.Taille() == 0 ? 0 : pb.Taille() - 1));
    const size_t tailleA = pa.Taille();
    Piste jointe;
    if (pa.Taille() >= pb.Taille()) {
      for (size_t m = 0; m < pb.Taille(); ++m) pa.AjouteFin(pb.At(m));
      jointe = std::move(pa);
    } else {
      for (size_t m = pa.Taille(); m-- > 0;) pb.AjouteDebut(pa.At(m));
      jointe = std::move(pb);
    }
    jointe.Premier().Attribut = kPremierPoint;
    jointe.At(tailleA - 1).Attribut = kPointMilieu;
    jointe.Dernier().Attribut = kDernierPoint;
    AjoutePiste(std::move(jointe), propre);
    change = true;

    if (nouvelleExtremite) {
      place = 1;
      niveau = 0;
    } else {
      place = i.place;
      niveau = niveauAvant;
    }
  }
  if (change) Aplatit();
  return change;
}

// Removes the middle points that do not change direction, in one pass: the record before a
// point is the last one kept, the record after it the next one not yet examined.
bool PasseColineaire(Circuit& c) {
  const int32_t n = c.NbElements;
  ElementCI* e = c.Elements.data();
  int32_t sortie = 0;
  int32_t niveau = 0;
  for (int32_t i = 1; i <= n; ++i) {
    const ElementCI r = e[i];
    const int32_t niveauAvec = niveau + DeltaNiveau(r.Code);
    // A middle point that ends the store has no record after it and stays.
    if (niveauAvec == 0 && r.Attribut == kPointMilieu && i < n) {
      const ElementCI& avant = e[sortie];
      const ElementCI& apres = e[i + 1];
      if (Direction(avant.X, avant.Y, r.X, r.Y) == Direction(r.X, r.Y, apres.X, apres.Y))
        continue;  // removed: it does not count in the level
    }
    niveau = niveauAvec;
    e[++sortie] = r;
  }
  if (sortie == n) return false;
  c.NbElements = sortie;
  return true;
}

}  // namespace

void JonctionPistes(Circuit& c) {
  bool change = Jonction(c).Execute();
  if (PasseColineaire(c)) change = true;
  if (change) c.CircuitModifie = true;
}

void FusionPistes(Circuit& c, Plage a, Plage b, bool partageDebutA, bool partageFinB) {
  std::vector<ElementCI> liste;
  liste.reserve(static_cast<size_t>(a.Dernier - a.Premier + 1 + b.Dernier - b.Premier));
  if (partageDebutA) {
    for (int32_t k = a.Dernier; k >= a.Premier; --k) liste.push_back(c.Elements[k]);
  } else {
    for (int32_t k = a.Premier; k <= a.Dernier; ++k) liste.push_back(c.Elements[k]);
  }
  const size_t partage = liste.size() - 1;
  if (partageFinB) {
    for (int32_t k = b.Dernier - 1; k >= b.Premier; --k) liste.push_back(c.Elements[k]);
  } else {
    for (int32_t k = b.Premier + 1; k <= b.Dernier; ++k) liste.push_back(c.Elements[k]);
  }
  liste.front().Attribut = kPremierPoint;
  liste[partage].Attribut = kPointMilieu;
  liste.back().Attribut = kDernierPoint;
  const int32_t na = a.Dernier - a.Premier + 1;
  SupprimeElements(c, a);
  SupprimeElements(c, {b.Premier - na, b.Dernier - na});
  std::copy(liste.begin(), liste.end(), c.Elements.begin() + c.NbElements + 1);
  c.NbElements += static_cast<int32_t>(liste.size());
  c.CircuitModifie = true;
}

}  // namespace korv4
