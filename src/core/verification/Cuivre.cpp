#include "verification/Cuivre.h"

#include <algorithm>

namespace korv4::cuivre {

namespace {

// The corners of an octagon of diameter 1, turned 22.5 degrees, around its centre.
const struct Octogone {
  Point2 coins[8];
  Octogone() {
    const double pi = 3.14159265358979323846;
    for (int k = 0; k < 8; ++k) {
      const double angle = (22.5 + 45.0 * k) * pi / 180;
      coins[k] = {std::cos(angle), std::sin(angle)};
    }
  }
  const Point2& operator[](int k) const { return coins[k]; }
} kOctogone;

// Reads the plotting of one collected layer into shapes, one group per element.
class LecteurTrace final : public Traceur {
 public:
  LecteurTrace(Geometrie& g, const Circuit& c, const std::vector<int32_t>& indices,
               StylePastilles style)
      : g_(g), c_(c), indices_(indices), style_(style) {}

  void Ouverture(int dcode) override { ouverture_ = FormeDeLOuverture(dcode, style_); }

  void Element(size_t k) override {
    const int32_t i = indices_[k];
    const ElementCI& e = c_.Elements[i];
    bool suite = false;
    if (i == precedent_ + 1) {
      const ElementCI& p = c_.Elements[precedent_];
      if (EstPiste(e.Code)) {
        suite = e.Attribut != kPremierPoint && p.Code == e.Code;
      } else if (e.Code >= 64 && e.Code <= 71) {
        suite = p.Code == e.Code && p.Attribut == e.Attribut;  // the next letter of a text
      } else if (e.Code >= code::Trait1 && e.Code <= code::Ellipse2) {
        suite = (e.Code & 1) == 1 && p.Code + 1 == e.Code;  // a drawing's second record
      }
    }
    if (!suite) {
      Groupe gr;
      gr.indice = i;
      gr.dernier = i;
      gr.couche = e.Couche;
      g_.groupes.push_back(gr);
    }
    g_.groupes.back().dernier = i;
    element_ = &e;
    precedent_ = i;
    debutDePiste_ = false;
  }

  void Point(int32_t x, int32_t y, const char* operation) override {
    const Point2 p{static_cast<double>(x), static_cast<double>(y)};
    const char op = operation[2];
    if (op == '2') {
      courant_ = p;
      aCourant_ = true;
      debutDePiste_ = EstPiste(element_->Code) && element_->Attribut == kPremierPoint;
      return;
    }
    if (op == '3') {
      Forme f;
      f.a = f.b = p;
      f.nature = Nature::Pastille;
      const double l = ouverture_.Largeur, h = ouverture_.Hauteur;
      if (ouverture_.type == FormeOuverture::Rectangle ||
          ouverture_.type == FormeOuverture::Octogone) {
        f.n = ouverture_.type == FormeOuverture::Rectangle ? 4 : 8;
        f.b = {l, h};
      } else {
        f.r = l / 2;
      }
      Ajoute(f);
      courant_ = p;
      aCourant_ = true;
      return;
    }
    // A stroke from the current point (none at the start of a layer: nothing is drawn).
    if (aCourant_) {
      Forme f;
      f.a = courant_;
      f.b = p;
      f.r = ouverture_.Largeur / 2.0;
      if (EstPiste(element_->Code)) {
        f.nature = Nature::Piste;
        f.extremiteA = debutDePiste_;
        f.extremiteB = element_->Attribut == kDernierPoint;
      }
      Ajoute(f);
    }
    debutDePiste_ = false;
    courant_ = p;
    aCourant_ = true;
  }

 private:
  void Ajoute(Forme& f) {
    f.groupe = static_cast<int32_t>(g_.groupes.size()) - 1;
    if (f.n == 0) {
      f.xmin = std::min(f.a.x, f.b.x) - f.r;
      f.xmax = std::max(f.a.x, f.b.x) + f.r;
      f.ymin = std::min(f.a.y, f.b.y) - f.r;
      f.ymax = std::max(f.a.y, f.b.y) + f.r;
    } else {
      Point2 q[8];
      f.xmin = f.ymin = 1e300;
      f.xmax = f.ymax = -1e300;
      for (int32_t k = 0, n = Sommets(f, q); k < n; ++k) {
        f.xmin = std::min(f.xmin, q[k].x);
        f.xmax = std::max(f.xmax, q[k].x);
        f.ymin = std::min(f.ymin, q[k].y);
        f.ymax = std::max(f.ymax, q[k].y);
      }
    }
    Groupe& gr = g_.groupes.back();
    gr.xmin = std::min(gr.xmin, f.xmin);
    gr.xmax = std::max(gr.xmax, f.xmax);
    gr.ymin = std::min(gr.ymin, f.ymin);
    gr.ymax = std::max(gr.ymax, f.ymax);
    g_.formes.push_back(f);
  }

  Geometrie& g_;
  const Circuit& c_;
  const std::vector<int32_t>& indices_;
  StylePastilles style_;
  FormeOuverture ouverture_;
  const ElementCI* element_ = nullptr;
  int32_t precedent_ = -2;
  Point2 courant_;
  bool aCourant_ = false;
  bool debutDePiste_ = false;
};

// A shape's box widened by half the reach m: two shapes are compared when theirs overlap.
struct Boite {
  double x0, y0, x1, y1;
};
bool Chevauchent(const Boite& a, const Boite& b) {
  return !(a.x0 > b.x1 || b.x0 > a.x1 || a.y0 > b.y1 || b.y0 > a.y1);
}

// The grid (Cuivre.h says how it is cut).
class Grille {
 public:
  Grille(const std::vector<Forme>& formes, const std::vector<Boite>& boites, double m) : m_(m) {
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    // The sizes by whole units (the largest together), for their median.
    std::vector<int32_t> tailles(1025, 0);
    for (const Boite& b : boites) {
      x0 = std::min(x0, b.x0);
      y0 = std::min(y0, b.y0);
      x1 = std::max(x1, b.x1);
      y1 = std::max(y1, b.y1);
      ++tailles[static_cast<size_t>(std::clamp(std::max(b.x1 - b.x0, b.y1 - b.y0), 0.0, 1024.0))];
    }
    x0_ = x0;
    y0_ = y0;
    const double largeur = std::max(x1 - x0, 1.0), hauteur = std::max(y1 - y0, 1.0);
    size_t mediane = 0;
    for (size_t vus = tailles[0]; vus * 2 < boites.size(); vus += tailles[++mediane]) {
    }
    pas_ = std::max(2.5 * static_cast<double>(mediane + 1), 8.0);
    nx_ = static_cast<int32_t>(largeur / pas_) + 1;
    ny_ = static_cast<int32_t>(hauteur / pas_) + 1;
    const size_t cases = static_cast<size_t>(nx_) * static_cast<size_t>(ny_);
    if (cases <= 4 * formes.size() + 4096) {
      // Every cell in an array, the shapes sorted into them by counting.
      debut_.assign(cases + 1, 0);
      for (size_t i = 0; i < formes.size(); ++i)
        PourChaqueCase(formes[i], boites[i], [&](size_t k) { ++debut_[k + 1]; });
      for (size_t k = 1; k < debut_.size(); ++k) debut_[k] += debut_[k - 1];
      cases_.resize(static_cast<size_t>(debut_.back()));
      std::vector<int32_t> place(debut_.begin(), debut_.end() - 1);
      for (size_t i = 0; i < formes.size(); ++i)
        PourChaqueCase(formes[i], boites[i], [&](size_t k) {
          cases_[static_cast<size_t>(place[k]++)] = static_cast<int32_t>(i);
        });
      return;
    }
    // Copper gathered in places: the cells that hold something, from the sorted list of
    // (cell, shape).
    std::vector<uint64_t> paires;
    for (size_t i = 0; i < formes.size(); ++i)
      PourChaqueCase(formes[i], boites[i],
                     [&](size_t k) { paires.push_back(static_cast<uint64_t>(k) << 32 | i); });
    std::sort(paires.begin(), paires.end());
    cases_.resize(paires.size());
    debut_.clear();
    for (size_t j = 0; j < paires.size(); ++j) {
      if (j == 0 || paires[j] >> 32 != paires[j - 1] >> 32) {
        debut_.push_back(static_cast<int32_t>(j));
        cles_.push_back(static_cast<size_t>(paires[j] >> 32));
      }
      cases_[j] = static_cast<int32_t>(paires[j] & 0xffffffffu);
    }
    debut_.push_back(static_cast<int32_t>(paires.size()));
  }

  size_t NombreCases() const { return debut_.size() - 1; }
  // The cell at a place of the grid, NombreCases() when it holds nothing kept.
  size_t Case(size_t place) const {
    if (cles_.empty()) return place;
    const auto p = std::lower_bound(cles_.begin(), cles_.end(), place);
    return p != cles_.end() && *p == place ? static_cast<size_t>(p - cles_.begin()) : NombreCases();
  }
  // The place of the k-th cell in the grid (row * columns + column).
  size_t Place(size_t k) const { return cles_.empty() ? k : cles_[k]; }
  // Whether the cell at `place` is the first (row by row) that the two shapes share.
  bool PremiereCommune(const Forme& fa, const Boite& ba, const Forme& fb, const Boite& bb,
                       size_t place) const {
    const int32_t cy = static_cast<int32_t>(place / static_cast<size_t>(nx_));
    const int32_t cx = static_cast<int32_t>(place % static_cast<size_t>(nx_));
    int32_t a0, a1, b0, b1;
    if (!Intervalle(fa, ba, cy, a0, a1) || !Intervalle(fb, bb, cy, b0, b1) ||
        std::max(a0, b0) != cx)
      return false;
    for (int32_t r = cy - 1; r >= std::max(Rangee(ba.y0), Rangee(bb.y0)); --r)
      if (Intervalle(fa, ba, r, a0, a1) && Intervalle(fb, bb, r, b0, b1) &&
          std::max(a0, b0) <= std::min(a1, b1))
        return false;
    return true;
  }
  // The shapes of cell k, in increasing order.
  const int32_t* Debut(size_t k) const { return cases_.data() + debut_[k]; }
  const int32_t* Fin(size_t k) const { return cases_.data() + debut_[k + 1]; }

  int32_t Colonne(double x) const {
    return static_cast<int32_t>(std::clamp((x - x0_) / pas_, 0.0, nx_ - 1.0));
  }
  int32_t Rangee(double y) const {
    return static_cast<int32_t>(std::clamp((y - y0_) / pas_, 0.0, ny_ - 1.0));
  }

  // The cells of a shape in row cy: c0..c1 (false when none).
  bool Intervalle(const Forme& f, const Boite& b, int32_t cy, int32_t& c0, int32_t& c1) const {
    if (cy < Rangee(b.y0) || cy > Rangee(b.y1)) return false;
    if (f.n > 0 || f.a.y == f.b.y || Rangee(b.y0) == Rangee(b.y1)) {
      c0 = Colonne(b.x0);
      c1 = Colonne(b.x1);
      return true;
    }
    // A slanted or vertical stroke: the part of the segment within reach of the row's band,
    // widened by the reach (a unit more against rounding).
    const double d = f.r + m_ + 1;
    const double dy = f.b.y - f.a.y;
    const double bas = y0_ + cy * pas_ - d, haut = y0_ + (cy + 1) * pas_ + d;
    double t0 = (bas - f.a.y) / dy, t1 = (haut - f.a.y) / dy;
    if (t0 > t1) std::swap(t0, t1);
    t0 = std::max(t0, 0.0);
    t1 = std::min(t1, 1.0);
    if (t0 > t1) return false;
    const double xa = f.a.x + (f.b.x - f.a.x) * t0, xb = f.a.x + (f.b.x - f.a.x) * t1;
    c0 = Colonne(std::min(xa, xb) - d);
    c1 = Colonne(std::max(xa, xb) + d);
    return true;
  }

  // Calls f_case(place) for each cell of the grid a shape lies in (its widened box b).
  template <typename F>
  void PourChaqueCase(const Forme& f, const Boite& b, F&& f_case) const {
    for (int32_t cy = Rangee(b.y0); cy <= Rangee(b.y1); ++cy) {
      int32_t c0, c1;
      if (!Intervalle(f, b, cy, c0, c1)) continue;
      for (int32_t cx = c0; cx <= c1; ++cx)
        f_case(static_cast<size_t>(cy) * static_cast<size_t>(nx_) + static_cast<size_t>(cx));
    }
  }

 private:
  double m_;
  double x0_ = 0, y0_ = 0, pas_ = 1;
  int32_t nx_ = 1, ny_ = 1;
  std::vector<int32_t> debut_;
  std::vector<int32_t> cases_;
  std::vector<size_t> cles_;  // the places of the cells kept, when only those are
};

std::vector<Boite> Boites(const std::vector<Forme>& formes, double m) {
  std::vector<Boite> boites(formes.size());
  for (size_t i = 0; i < formes.size(); ++i) {
    const Forme& f = formes[i];
    boites[i] = {f.xmin - m, f.ymin - m, f.xmax + m, f.ymax + m};
  }
  return boites;
}

}  // namespace

// A face's index: the widened boxes and groups of its shapes and their grid, all its own.
class Index {
 public:
  Index(const std::vector<Forme>& formes, double portee)
      : portee(portee), boites(Boites(formes, portee / 2)), grille(formes, boites, portee / 2) {
    groupes.reserve(formes.size());
    for (const Forme& f : formes) groupes.push_back(f.groupe);
  }
  double portee;
  std::vector<Boite> boites;
  std::vector<int32_t> groupes;
  Grille grille;
  mutable std::vector<int32_t> vu;  // VoisinsDe: the probe that last met each shape
  mutable int32_t sonde = 0;
};

Geometrie LitCouche(const Circuit& c, uint8_t masque, StylePastilles style) {
  return LitIndices(c, CollecteIndicesGerber(c, masque), style);
}

Geometrie LitIndices(const Circuit& c, const std::vector<int32_t>& indices, StylePastilles style) {
  std::vector<ElementCI> elements(indices.size());
  for (size_t k = 0; k < indices.size(); ++k) elements[k] = c.Elements[indices[k]];
  Geometrie g;
  g.formes.reserve(elements.size());
  LecteurTrace lecteur(g, c, indices, style);
  TraceElements(lecteur, elements);
  // What is read is kept to the end of the check: no room beyond it.
  g.formes.shrink_to_fit();
  g.groupes.shrink_to_fit();
  return g;
}

int32_t Sommets(const Forme& f, Point2 q[8]) {
  const Point2 p = f.a;
  const double l = f.b.x, h = f.b.y;
  if (f.n == 4) {
    q[0] = {p.x - l / 2, p.y - h / 2};
    q[1] = {p.x + l / 2, p.y - h / 2};
    q[2] = {p.x + l / 2, p.y + h / 2};
    q[3] = {p.x - l / 2, p.y + h / 2};
  } else if (f.n == 8) {
    for (int k = 0; k < 8; ++k) q[k] = {p.x + l / 2 * kOctogone[k].x, p.y + l / 2 * kOctogone[k].y};
  }
  return f.n;
}

double SegmentSegment(Point2 p1, Point2 q1, Point2 p2, Point2 q2, double& s, double& t, Point2& c1,
                      Point2& c2) {
  const Point2 d1 = q1 - p1, d2 = q2 - p2, r = p1 - p2;
  const double a = Scalaire(d1, d1), e = Scalaire(d2, d2), f = Scalaire(d2, r);
  if (a <= 0 && e <= 0) {
    s = t = 0;
  } else if (a <= 0) {
    s = 0;
    t = std::clamp(f / e, 0.0, 1.0);
  } else {
    const double cc = Scalaire(d1, r);
    if (e <= 0) {
      t = 0;
      s = std::clamp(-cc / a, 0.0, 1.0);
    } else {
      const double b = Scalaire(d1, d2), denom = a * e - b * b;
      s = denom > 0 ? std::clamp((b * f - cc * e) / denom, 0.0, 1.0) : 0.0;
      t = (b * s + f) / e;
      if (t < 0) {
        t = 0;
        s = std::clamp(-cc / a, 0.0, 1.0);
      } else if (t > 1) {
        t = 1;
        s = std::clamp((b - cc) / a, 0.0, 1.0);
      }
    }
  }
  c1 = p1 + d1 * s;
  c2 = p2 + d2 * t;
  const Point2 d = c1 - c2;
  return Scalaire(d, d);
}

bool DansPolygone(const Point2* q, int32_t n, Point2 p) {
  bool positif = false, negatif = false;
  for (int32_t k = 0; k < n; ++k) {
    const double v = Vectoriel(q[(k + 1) % n] - q[k], p - q[k]);
    positif = positif || v > 0;
    negatif = negatif || v < 0;
  }
  return !(positif && negatif);
}

Ecart Mesure(const Geometrie&, const Forme& A, const Forme& B) { return Mesure(A, B); }

Ecart Mesure(const Forme& A, const Forme& B) {
  Ecart r;
  double s, t, meilleur = 1e300;
  Point2 c1, c2;
  auto Essaie = [&](Point2 p1, Point2 q1, Point2 p2, Point2 q2) {
    const double d = SegmentSegment(p1, q1, p2, q2, s, t, c1, c2);
    if (d < meilleur) {
      meilleur = d;
      r.pa = c1;
      r.pb = c2;
    }
  };
  Point2 sa[8], sb[8];
  const Point2* qa = Sommets(A, sa) > 0 ? sa : nullptr;
  const Point2* qb = Sommets(B, sb) > 0 ? sb : nullptr;
  if (!qa && !qb) {
    Essaie(A.a, A.b, B.a, B.b);
  } else if (qa && qb) {
    if (DansPolygone(qb, B.n, qa[0]) || DansPolygone(qa, A.n, qb[0])) {
      r.pa = r.pb = qa[0];
      meilleur = 0;
    } else {
      for (int32_t i = 0; i < A.n; ++i)
        for (int32_t j = 0; j < B.n; ++j)
          Essaie(qa[i], qa[(i + 1) % A.n], qb[j], qb[(j + 1) % B.n]);
    }
  } else {
    // A capsule against a polygon.
    const Forme& C = qa ? B : A;
    const Point2* q = qa ? qa : qb;
    const int32_t n = qa ? A.n : B.n;
    Point2 pc, pq;
    double m = 1e300;
    if (DansPolygone(q, n, C.a)) {
      pc = pq = C.a;
      m = 0;
    } else {
      for (int32_t k = 0; k < n; ++k) {
        const double d = SegmentSegment(C.a, C.b, q[k], q[(k + 1) % n], s, t, c1, c2);
        if (d < m) {
          m = d;
          pc = c1;
          pq = c2;
        }
      }
    }
    meilleur = m;
    r.pa = qa ? pq : pc;
    r.pb = qa ? pc : pq;
  }
  r.ecart = std::sqrt(meilleur) - A.r - B.r;
  return r;
}

void PairesProchesDe(const std::vector<Forme>& formes, double portee, VisitePaire visite,
                     void* contexte, int32_t sondes) {
  if (formes.size() < 2) return;
  const double m = portee / 2;
  const std::vector<Boite> boites = Boites(formes, m);
  const Grille grille(formes, boites, m);
  for (size_t k = 0; k < grille.NombreCases(); ++k) {
    const int32_t* membres = grille.Debut(k);
    const int32_t nombre = static_cast<int32_t>(grille.Fin(k) - membres);
    // With probes, the shapes of the cell come first: each probe meets those alone.
    const int32_t premier =
        sondes < 0
            ? 0
            : static_cast<int32_t>(std::lower_bound(membres, membres + nombre, sondes) - membres);
    for (int32_t i = sondes < 0 ? 1 : premier; i < nombre; ++i) {
      const size_t b = static_cast<size_t>(membres[i]);
      for (int32_t j = 0; j < (sondes < 0 ? i : premier); ++j) {
        const size_t a = static_cast<size_t>(membres[j]);
        if (formes[a].groupe == formes[b].groupe || !Chevauchent(boites[a], boites[b]) ||
            !grille.PremiereCommune(formes[a], boites[a], formes[b], boites[b], grille.Place(k)))
          continue;
        visite(contexte, membres[j], membres[i]);
      }
    }
  }
}

int64_t MorceauxProchesDe(const std::vector<Forme>& formes, double portee, VisiteurMorceaux& v) {
  if (formes.size() < 2) return 0;
  return MorceauxProchesDe(Index(formes, portee), v);
}

std::shared_ptr<const Index> IndexDesFormes(const std::vector<Forme>& formes, double portee) {
  return std::make_shared<Index>(formes, portee);
}

const Index& IndexDe(const Geometrie& g, double portee) {
  if (!g.index || g.index->portee < portee) g.index = std::make_shared<Index>(g.formes, portee);
  return *g.index;
}

void VoisinsDe(const Index& index, const Forme& sonde, VisiteVoisin voisin, void* contexte) {
  const double m = index.portee / 2;
  const Boite b{sonde.xmin - m, sonde.ymin - m, sonde.xmax + m, sonde.ymax + m};
  if (index.vu.size() != index.boites.size()) index.vu.assign(index.boites.size(), 0);
  const int32_t marque = ++index.sonde;
  index.grille.PourChaqueCase(sonde, b, [&](size_t place) {
    const size_t k = index.grille.Case(place);
    if (k >= index.grille.NombreCases()) return;
    for (const int32_t* a = index.grille.Debut(k); a != index.grille.Fin(k); ++a) {
      int32_t& vu = index.vu[static_cast<size_t>(*a)];
      if (vu == marque) continue;
      vu = marque;
      if (Chevauchent(index.boites[static_cast<size_t>(*a)], b)) voisin(contexte, *a);
    }
  });
}

int64_t MorceauxProchesDe(const Index& index, VisiteurMorceaux& v) {
  int64_t examinees = 0;
  const std::vector<Boite>& boites = index.boites;
  const std::vector<int32_t>& groupes = index.groupes;
  if (boites.size() < 2) return examinees;
  auto Paire = [&](int32_t a, int32_t b) {
    ++examinees;
    if (!Chevauchent(boites[static_cast<size_t>(a)], boites[static_cast<size_t>(b)])) return false;
    const int32_t ma = v.Morceau(groupes[static_cast<size_t>(a)]);
    const int32_t mb = v.Morceau(groupes[static_cast<size_t>(b)]);
    if (ma < 0 || mb < 0) return false;
    return ma == mb || v.Paire(a, b);
  };
  // A cell of a few shapes: each pair. In a larger one, the shapes met so far are kept in
  // pieces (shapes already known to be one piece): a new shape is measured against the shapes
  // of the other pieces only, up to the first that it touches.
  const Grille& grille = index.grille;
  struct Morceau {
    int32_t tete, queue;  // first and last shapes of the piece (places in the cell)
    int32_t groupe;       // the group of one of its shapes
  };
  std::vector<int32_t> suivant;
  std::vector<Morceau> morceaux;
  for (size_t k = 0; k < grille.NombreCases(); ++k) {
    const int32_t* membres = grille.Debut(k);
    const int32_t nombre = static_cast<int32_t>(grille.Fin(k) - membres);
    if (nombre < 2) continue;
    if (nombre <= 12) {
      for (int32_t i = 1; i < nombre; ++i)
        for (int32_t j = 0; j < i; ++j) Paire(membres[j], membres[i]);
      continue;
    }
    if (suivant.size() < static_cast<size_t>(nombre)) suivant.resize(static_cast<size_t>(nombre));
    int32_t* apres = suivant.data();
    morceaux.clear();
    for (int32_t i = 0; i < nombre; ++i) {
      const int32_t x = membres[i];
      const int32_t gx = groupes[static_cast<size_t>(x)];
      int32_t rx = v.Morceau(gx);
      if (rx < 0) continue;
      // The new piece: x, then the pieces it joins; the others stay, in their order.
      apres[i] = -1;
      int32_t queue = i;
      size_t garde = 0;
      for (size_t q = 0; q < morceaux.size(); ++q) {
        const Morceau p = morceaux[q];
        bool joint = v.Morceau(p.groupe) == rx;
        for (int32_t j = p.tete; !joint && j >= 0; j = apres[j]) joint = Paire(membres[j], x);
        if (joint) {
          rx = v.Morceau(gx);
          apres[queue] = p.tete;
          queue = p.queue;
        } else {
          morceaux[garde++] = p;
        }
      }
      morceaux.resize(garde);
      morceaux.push_back({i, queue, gx});
    }
  }
  return examinees;
}

}  // namespace korv4::cuivre
