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
// - removed records are only marked dead, and a joined track is kept as one unit (a buffer that
//   can be read backwards and grows at both ends) that later joins extend in place, the
//   smaller part going into the larger one.
// - partners are found through an index of the track ends by layer, width and point.

#include <algorithm>
#include <utility>
#include <vector>

#include "model/Circuit.h"

namespace korv4 {

namespace {

bool EstExtremite(uint8_t attribut) {
  return attribut == kPremierPoint || attribut == kDernierPoint;
}

// The key a partner is looked for by: layer and width of the track, and a point.
uint64_t Cle(uint8_t couche, uint8_t code, const ElementCI& point) {
  return (static_cast<uint64_t>(couche) << 40) | (static_cast<uint64_t>(code) << 32) |
         (static_cast<uint64_t>(point.X) << 16) | point.Y;
}

uint64_t Cle(const ElementCI& e) { return Cle(e.Couche, e.Code, e); }

// A joined track kept as one unit: a run of records in a buffer with room at both ends, read
// in either direction. Its middle points all have the middle role and none of its records is a
// group marker, so the walk and every search treat it as a whole.
struct Piste {
  std::vector<ElementCI> buf;
  size_t debut = 0, fin = 0;
  bool inverse = false;

  size_t Taille() const { return fin - debut; }
  ElementCI& At(size_t k) { return inverse ? buf[fin - 1 - k] : buf[debut + k]; }
  const ElementCI& At(size_t k) const { return inverse ? buf[fin - 1 - k] : buf[debut + k]; }
  ElementCI& Premier() { return At(0); }
  ElementCI& Dernier() { return At(Taille() - 1); }
  void AjouteFin(const ElementCI& e) { inverse ? AvantPhysique(e) : ArrierePhysique(e); }
  void AjouteDebut(const ElementCI& e) { inverse ? ArrierePhysique(e) : AvantPhysique(e); }
  void RetireFin() { inverse ? ++debut : --fin; }
  void RetireDebut() { inverse ? --fin : ++debut; }

 private:
  void AvantPhysique(const ElementCI& e) {
    if (debut == 0) Agrandit();
    buf[--debut] = e;
  }
  void ArrierePhysique(const ElementCI& e) {
    if (fin == buf.size()) Agrandit();
    buf[fin++] = e;
  }
  // Doubles the room and puts the records in the middle, so that growing at either end costs
  // constant time on average.
  void Agrandit() {
    const size_t n = Taille();
    const size_t marge = n / 2 + 8;
    std::vector<ElementCI> b(n + 2 * marge);
    std::copy(buf.begin() + debut, buf.begin() + fin, b.begin() + marge);
    buf.swap(b);
    debut = marge;
    fin = marge + n;
  }
};

// A place of the working sequence after the initial records: a plain record, or a joined
// track.
struct Case {
  ElementCI rec;
  int32_t piste = -1;  // index into pistes_, -1 for a plain record
};

// A partner candidate among the appended places: a plain record, or one end of a joined track.
enum class Bout : uint8_t { Simple, Debut, Fin };
struct Entree {
  int32_t place;
  Bout bout;
  int32_t suivante;  // next entry of the same key, -1 at the end
};

// Key -> first and last entry of its list (entries in increasing place order). Open
// addressing on the 48-bit keys; keys are never removed.
class TableCles {
 public:
  explicit TableCles(size_t prevus) {
    size_t taille = 1024;
    while (taille < 2 * prevus + 2) taille *= 2;
    Redimensionne(taille);
  }
  std::pair<int32_t, int32_t>* Trouve(uint64_t cle) {
    for (size_t i = Hache(cle);; i = (i + 1) & masque_) {
      if (cles_[i] == kVide) return nullptr;
      if (cles_[i] == cle) return &listes_[i];
    }
  }
  std::pair<int32_t, int32_t>& Obtient(uint64_t cle) {
    if (2 * (nb_ + 1) > cles_.size()) Redimensionne(cles_.size() * 2);
    size_t i = Hache(cle);
    for (; cles_[i] != kVide; i = (i + 1) & masque_)
      if (cles_[i] == cle) return listes_[i];
    cles_[i] = cle;
    listes_[i] = {-1, -1};
    ++nb_;
    return listes_[i];
  }

 private:
  static constexpr uint64_t kVide = ~uint64_t{0};
  std::vector<uint64_t> cles_;
  std::vector<std::pair<int32_t, int32_t>> listes_;
  size_t masque_ = 0, nb_ = 0;
  int decalage_ = 64;

  // Fibonacci hashing: the top bits of the product mix every bit of the key.
  size_t Hache(uint64_t cle) const {
    return static_cast<size_t>((cle * 0x9E3779B97F4A7C15ull) >> decalage_);
  }
  void Redimensionne(size_t taille) {
    std::vector<uint64_t> anciennes;
    std::vector<std::pair<int32_t, int32_t>> anciennesListes;
    anciennes.swap(cles_);
    anciennesListes.swap(listes_);
    cles_.assign(taille, kVide);
    listes_.assign(taille, {-1, -1});
    masque_ = taille - 1;
    decalage_ = 64;
    for (size_t t = taille; t > 1; t >>= 1) --decalage_;
    nb_ = 0;
    for (size_t k = 0; k < anciennes.size(); ++k)
      if (anciennes[k] != kVide) Obtient(anciennes[k]) = anciennesListes[k];
  }
};

// A position in the working sequence: a place, and the record inside a joined track.
struct Pos {
  int32_t place;
  int32_t k;  // index inside the joined track (0 for a plain record)
};

class Jonction {
 public:
  explicit Jonction(Circuit& c) : c_(c), n0_(c.NbElements), index_(CompteExtremites(c)) {}

  // Returns true when the store changed.
  bool Execute();

 private:
  Circuit& c_;
  // Places 1..n0_ are the records of the store as they were; places after them are appended.
  const int32_t n0_;
  std::vector<Case> ajouts_;
  std::vector<uint8_t> morte_;  // per place
  std::vector<Piste> pistes_;
  // Every place that can be a partner, listed by key in place order.
  TableCles index_;
  std::vector<Entree> entrees_;

  static size_t CompteExtremites(const Circuit& c) {
    size_t n = 0;
    for (int32_t i = 1; i <= c.NbElements; ++i) n += EstExtremite(c.Elements[i].Attribut);
    return n;
  }

  int32_t NbPlaces() const { return n0_ + 1 + static_cast<int32_t>(ajouts_.size()); }
  bool Vivante(int32_t place) const { return !morte_[place]; }
  int32_t PisteDe(int32_t place) const {
    return place <= n0_ ? -1 : ajouts_[place - n0_ - 1].piste;
  }
  const ElementCI& Brut(int32_t place) const {
    return place <= n0_ ? c_.Elements[place] : ajouts_[place - n0_ - 1].rec;
  }
  const ElementCI& Rec(Pos p) const {
    const int32_t t = PisteDe(p.place);
    return t < 0 ? Brut(p.place) : pistes_[t].At(p.k);
  }
  int32_t Taille(int32_t place) const {
    const int32_t t = PisteDe(place);
    return t < 0 ? 1 : static_cast<int32_t>(pistes_[t].Taille());
  }
  int32_t Suivante(int32_t place) const {  // next live place after place, or -1
    for (int32_t p = place + 1; p < NbPlaces(); ++p)
      if (Vivante(p)) return p;
    return -1;
  }
  bool Partenaire(uint64_t cle, int32_t apres, Pos& trouve);
  void Inscrit(uint64_t cle, int32_t place, Bout bout);
  void Ajoute(const ElementCI& e);
  void AjoutePiste(Piste&& p, bool propre);
  // Takes the records of places de..a out of the sequence, as one track in store order.
  void Collecte(int32_t de, int32_t a, Piste& sortie, bool& entiere);
  void Aplatit();
};

bool Jonction::Partenaire(uint64_t cle, int32_t apres, Pos& trouve) {
  std::pair<int32_t, int32_t>* liste = index_.Trouve(cle);
  if (!liste) return false;
  // Dead places never come back: drop them from the head of the list for good.
  while (liste->first >= 0 && !Vivante(entrees_[liste->first].place))
    liste->first = entrees_[liste->first].suivante;
  if (liste->first < 0) liste->second = -1;
  for (int32_t e = liste->first; e >= 0; e = entrees_[e].suivante) {
    const Entree& en = entrees_[e];
    if (en.place <= apres || !Vivante(en.place)) continue;
    trouve = {en.place, en.bout == Bout::Fin ? Taille(en.place) - 1 : 0};
    return true;
  }
  return false;
}

void Jonction::Inscrit(uint64_t cle, int32_t place, Bout bout) {
  const int32_t e = static_cast<int32_t>(entrees_.size());
  entrees_.push_back({place, bout, -1});
  std::pair<int32_t, int32_t>& liste = index_.Obtient(cle);
  if (liste.second >= 0) {
    entrees_[liste.second].suivante = e;
  } else {
    liste.first = e;
  }
  liste.second = e;
}

void Jonction::Ajoute(const ElementCI& e) {
  ajouts_.push_back({e, -1});
  morte_.push_back(0);
  if (EstExtremite(e.Attribut)) Inscrit(Cle(e), NbPlaces() - 1, Bout::Simple);
}

// A joined track stays one unit only when its middles are plain middle points and it holds
// no group marker; otherwise its records go back to being plain records.
void Jonction::AjoutePiste(Piste&& p, bool propre) {
  if (!propre) {
    for (size_t k = 0; k < p.Taille(); ++k) Ajoute(p.At(k));
    return;
  }
  pistes_.push_back(std::move(p));
  const Piste& t = pistes_.back();
  ajouts_.push_back({ElementCI{}, static_cast<int32_t>(pistes_.size()) - 1});
  morte_.push_back(0);
  const int32_t place = NbPlaces() - 1;
  Inscrit(Cle(t.At(0)), place, Bout::Debut);
  Inscrit(Cle(t.At(t.Taille() - 1)), place, Bout::Fin);
}

void Jonction::Collecte(int32_t de, int32_t a, Piste& sortie, bool& entiere) {
  int32_t unites = 0, seule = -1;
  for (int32_t p = de; p <= a; ++p) {
    if (!Vivante(p)) continue;
    ++unites;
    seule = PisteDe(p);
  }
  entiere = unites == 1 && seule >= 0;
  if (entiere) {
    sortie = std::move(pistes_[seule]);
  } else {
    for (int32_t p = de; p <= a; ++p) {
      if (!Vivante(p)) continue;
      const int32_t t = PisteDe(p);
      if (t < 0) {
        sortie.AjouteFin(Brut(p));
      } else {
        const Piste& q = pistes_[t];
        for (size_t m = 0; m < q.Taille(); ++m) sortie.AjouteFin(q.At(m));
      }
    }
  }
  for (int32_t p = de; p <= a; ++p) morte_[p] = 1;
}

void Jonction::Aplatit() {
  // Writing goes forward and never passes the place it reads, so the store is its own source.
  int32_t n = 0;
  for (int32_t place = 1; place < NbPlaces(); ++place) {
    if (!Vivante(place)) continue;
    const int32_t t = PisteDe(place);
    if (t < 0) {
      c_.Elements[++n] = Brut(place);
    } else {
      const Piste& p = pistes_[t];
      for (size_t i = 0; i < p.Taille(); ++i) c_.Elements[++n] = p.At(i);
    }
  }
  c_.NbElements = n;
}

bool Jonction::Execute() {
  morte_.assign(static_cast<size_t>(n0_) + 1, 0);
  morte_[0] = 1;  // place 0 stands for record 0: never live, never a partner
  entrees_.reserve(CompteExtremites(c_) + 64);
  for (int32_t i = 1; i <= n0_; ++i) {
    const ElementCI& e = c_.Elements[i];
    if (EstExtremite(e.Attribut)) Inscrit(Cle(e), i, Bout::Simple);
  }

  bool change = false;
  int32_t place = 1;   // where the walk stands
  int32_t niveau = 0;  // group level of the records before it
  while (place < NbPlaces()) {
    if (!Vivante(place)) {
      ++place;
      continue;
    }
    const int32_t ti = PisteDe(place);
    const ElementCI ri = ti < 0 ? Brut(place) : pistes_[ti].At(0);
    const int32_t niveauAvant = niveau;
    if (ti < 0) niveau += DeltaNiveau(ri.Code);
    if (niveau != 0 || ri.Attribut != kPremierPoint) {
      ++place;  // a joined track that is not at level 0 is passed over whole
      continue;
    }
    // The track runs from record i to the first last point after it.
    const Pos i{place, 0};
    Pos j{-1, 0};
    int32_t niveauJ = niveau;
    if (ti >= 0) {
      j = {place, Taille(place) - 1};
    } else {
      for (int32_t p = Suivante(place); p >= 0; p = Suivante(p)) {
        if (PisteDe(p) >= 0) {
          j = {p, Taille(p) - 1};
          break;
        }
        const ElementCI& q = Brut(p);
        niveauJ += DeltaNiveau(q.Code);
        if (q.Attribut == kDernierPoint) {
          j = {p, 0};
          break;
        }
      }
    }
    if (j.place < 0) break;  // an open track at the end: nothing after it to join
    const ElementCI rj = Rec(j);
    Pos k{};
    bool partageDebutA = true;
    bool trouve = Partenaire(Cle(ri.Couche, ri.Code, ri), j.place, k);
    if (!trouve) {
      partageDebutA = false;
      trouve = Partenaire(Cle(ri.Couche, ri.Code, rj), j.place, k);
    }
    if (!trouve) {
      niveau = niveauJ;
      place = j.place + 1;
      continue;
    }

    // The partner's track: from its first point to its first last point, or back from its last
    // point to the nearest first point, never below the record after j.
    const bool partageFinB = Rec(k).Attribut == kDernierPoint;
    int32_t b1 = k.place, b2 = k.place;
    if (PisteDe(k.place) < 0) {
      if (!partageFinB) {
        for (int32_t p = Suivante(k.place); p >= 0; p = Suivante(p)) {
          b2 = p;
          if (PisteDe(p) >= 0 || Brut(p).Attribut == kDernierPoint) break;
        }
      } else {
        for (int32_t p = k.place - 1; p > j.place; --p) {
          if (!Vivante(p)) continue;
          b1 = p;
          if (PisteDe(p) >= 0 || Brut(p).Attribut == kPremierPoint) break;
        }
      }
    }

    // The joined list: A with the shared point last, then B without the shared point.
    Piste pa, pb;
    bool entiereA, entiereB;
    Collecte(i.place, j.place, pa, entiereA);
    Collecte(b1, b2, pb, entiereB);
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
    const bool propre = (entiereA || Propre(pa, 1, pa.Taille() - 1)) &&
                        (entiereB || Propre(pb, 0, pb.Taille() == 0 ? 0 : pb.Taille() - 1));
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
    if (++sortie != i) e[sortie] = r;
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
