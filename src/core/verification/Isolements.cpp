#include "verification/Isolements.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

namespace korv4 {

namespace {

constexpr double kMmParUnite = 0.0254;
// Below this (in units, a millionth of an inch... and less), two pieces touch; a gap within it
// of the clearance is equal to the clearance.
constexpr double kTolerance = 1e-6;

struct Point2 {
  double x = 0, y = 0;
};
Point2 operator-(Point2 a, Point2 b) { return {a.x - b.x, a.y - b.y}; }
Point2 operator+(Point2 a, Point2 b) { return {a.x + b.x, a.y + b.y}; }
Point2 operator*(Point2 a, double k) { return {a.x * k, a.y * k}; }
double Scalaire(Point2 a, Point2 b) { return a.x * b.x + a.y * b.y; }
double Vectoriel(Point2 a, Point2 b) { return a.x * b.y - a.y * b.x; }
double Norme(Point2 a) { return std::sqrt(Scalaire(a, a)); }

// What a shape of the copper is.
enum class Nature : uint8_t { Piste, Pastille, Autre };

// A shape: a segment a-b thickened by r (a capsule; a == b for a disc), or a convex polygon of
// n points (pads). Its box, widened by half the reach, places it in the grid.
struct Forme {
  Point2 a, b;
  double r = 0;
  int32_t polygone = -1;  // first point in Geometrie::points, -1 for a capsule
  int32_t n = 0;
  int32_t groupe = 0;  // the piece it belongs to before any touching is looked at
  Nature nature = Nature::Autre;
  bool extremiteA = false, extremiteB = false;  // a, b end a track
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

// An element as the plotting drew it: the store record it starts at, and its box.
struct Groupe {
  int32_t indice = 0;
  uint8_t couche = 0;
  double xmin = 1e300, ymin = 1e300, xmax = -1e300, ymax = -1e300;
};

struct Geometrie {
  std::vector<Forme> formes;
  std::vector<Point2> points;
  std::vector<Groupe> groupes;
};

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
      gr.couche = e.Couche;
      g_.groupes.push_back(gr);
    }
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
      if (ouverture_.type == FormeOuverture::Rectangle) {
        f.polygone = static_cast<int32_t>(g_.points.size());
        f.n = 4;
        g_.points.push_back({p.x - l / 2, p.y - h / 2});
        g_.points.push_back({p.x + l / 2, p.y - h / 2});
        g_.points.push_back({p.x + l / 2, p.y + h / 2});
        g_.points.push_back({p.x - l / 2, p.y + h / 2});
      } else if (ouverture_.type == FormeOuverture::Octogone) {
        f.polygone = static_cast<int32_t>(g_.points.size());
        f.n = 8;
        const double pi = 3.14159265358979323846;
        for (int k = 0; k < 8; ++k) {
          const double angle = (22.5 + 45.0 * k) * pi / 180;
          g_.points.push_back({p.x + l / 2 * std::cos(angle), p.y + l / 2 * std::sin(angle)});
        }
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
    if (f.polygone < 0) {
      f.xmin = std::min(f.a.x, f.b.x) - f.r;
      f.xmax = std::max(f.a.x, f.b.x) + f.r;
      f.ymin = std::min(f.a.y, f.b.y) - f.r;
      f.ymax = std::max(f.a.y, f.b.y) + f.r;
    } else {
      f.xmin = f.ymin = 1e300;
      f.xmax = f.ymax = -1e300;
      for (int32_t k = 0; k < f.n; ++k) {
        const Point2& q = g_.points[static_cast<size_t>(f.polygone + k)];
        f.xmin = std::min(f.xmin, q.x);
        f.xmax = std::max(f.xmax, q.x);
        f.ymin = std::min(f.ymin, q.y);
        f.ymax = std::max(f.ymax, q.y);
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

Geometrie LitCouche(const Circuit& c, uint8_t masque, StylePastilles style) {
  const std::vector<int32_t> indices = CollecteIndicesGerber(c, masque);
  std::vector<ElementCI> elements(indices.size());
  for (size_t k = 0; k < indices.size(); ++k) elements[k] = c.Elements[indices[k]];
  Geometrie g;
  g.formes.reserve(elements.size() * 2);
  LecteurTrace lecteur(g, c, indices, style);
  TraceElements(lecteur, elements);
  return g;
}

// Closest points of the segments p1-q1 and p2-q2: their squared distance, the parameters s, t
// along each and the points c1, c2.
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

// Inside or on the convex polygon (either turning direction).
bool DansPolygone(const Point2* q, int32_t n, Point2 p) {
  bool positif = false, negatif = false;
  for (int32_t k = 0; k < n; ++k) {
    const double v = Vectoriel(q[(k + 1) % n] - q[k], p - q[k]);
    positif = positif || v > 0;
    negatif = negatif || v < 0;
  }
  return !(positif && negatif);
}

// The gap between two shapes (<= 0 when they touch or overlap), with the closest points of
// their cores (the segment or the polygon).
struct Ecart {
  double ecart = 0;
  Point2 pa, pb;
};

Ecart Mesure(const Geometrie& g, const Forme& A, const Forme& B) {
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
  const Point2* qa = A.polygone >= 0 ? &g.points[static_cast<size_t>(A.polygone)] : nullptr;
  const Point2* qb = B.polygone >= 0 ? &g.points[static_cast<size_t>(B.polygone)] : nullptr;
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

// Union-find over the groups of a face.
struct Ensembles {
  std::vector<int32_t> parent;
  explicit Ensembles(size_t n) : parent(n) {
    for (size_t i = 0; i < n; ++i) parent[i] = static_cast<int32_t>(i);
  }
  int32_t Racine(int32_t i) {
    while (parent[static_cast<size_t>(i)] != i) {
      parent[static_cast<size_t>(i)] = parent[static_cast<size_t>(parent[static_cast<size_t>(i)])];
      i = parent[static_cast<size_t>(i)];
    }
    return i;
  }
  void Unit(int32_t a, int32_t b) {
    a = Racine(a);
    b = Racine(b);
    if (a != b) parent[static_cast<size_t>(std::max(a, b))] = std::min(a, b);
  }
};

struct Candidat {
  int32_t a, b;  // shapes
  Ecart e;
};

// Pairs of shapes of different groups whose boxes, widened by half the reach, overlap: through
// a uniform grid, each pair tested once, in the cell that holds the low corner of the overlap.
template <typename Visite>
void PairesProches(const std::vector<Forme>& formes, double portee, bool sansIndex, Visite visite) {
  const size_t n = formes.size();
  if (n < 2) return;
  const double m = portee / 2;
  if (sansIndex) {
    for (size_t u = 0; u < n; ++u) {
      const Forme& A = formes[u];
      for (size_t v = u + 1; v < n; ++v) {
        const Forme& B = formes[v];
        if (A.groupe == B.groupe) continue;
        if (A.xmin - m > B.xmax + m || B.xmin - m > A.xmax + m || A.ymin - m > B.ymax + m ||
            B.ymin - m > A.ymax + m)
          continue;
        visite(static_cast<int32_t>(u), static_cast<int32_t>(v));
      }
    }
    return;
  }
  double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
  for (const Forme& f : formes) {
    x0 = std::min(x0, f.xmin - m);
    y0 = std::min(y0, f.ymin - m);
    x1 = std::max(x1, f.xmax + m);
    y1 = std::max(y1, f.ymax + m);
  }
  const double largeur = std::max(x1 - x0, 1.0), hauteur = std::max(y1 - y0, 1.0);
  // About two shapes a cell, never cells smaller than a few units, at most 4096 a side.
  double pas = std::max({std::sqrt(largeur * hauteur / static_cast<double>(n) * 2), 8.0,
                         std::max(largeur, hauteur) / 4096});
  const int32_t nx = static_cast<int32_t>(largeur / pas) + 1;
  const int32_t ny = static_cast<int32_t>(hauteur / pas) + 1;
  auto Colonne = [&](double x) {
    return std::clamp(static_cast<int32_t>((x - x0) / pas), 0, nx - 1);
  };
  auto Rangee = [&](double y) {
    return std::clamp(static_cast<int32_t>((y - y0) / pas), 0, ny - 1);
  };
  std::vector<int32_t> debut(static_cast<size_t>(nx) * ny + 1, 0);
  for (const Forme& f : formes)
    for (int32_t cy = Rangee(f.ymin - m); cy <= Rangee(f.ymax + m); ++cy)
      for (int32_t cx = Colonne(f.xmin - m); cx <= Colonne(f.xmax + m); ++cx)
        ++debut[static_cast<size_t>(cy) * nx + cx + 1];
  for (size_t k = 1; k < debut.size(); ++k) debut[k] += debut[k - 1];
  std::vector<int32_t> cases(static_cast<size_t>(debut.back()));
  std::vector<int32_t> place(debut.begin(), debut.end() - 1);
  for (size_t i = 0; i < n; ++i) {
    const Forme& f = formes[i];
    for (int32_t cy = Rangee(f.ymin - m); cy <= Rangee(f.ymax + m); ++cy)
      for (int32_t cx = Colonne(f.xmin - m); cx <= Colonne(f.xmax + m); ++cx)
        cases[static_cast<size_t>(place[static_cast<size_t>(cy) * nx + cx]++)] =
            static_cast<int32_t>(i);
  }
  for (int32_t cy = 0; cy < ny; ++cy) {
    for (int32_t cx = 0; cx < nx; ++cx) {
      const size_t k = static_cast<size_t>(cy) * nx + cx;
      for (int32_t u = debut[k]; u < debut[k + 1]; ++u) {
        const Forme& A = formes[static_cast<size_t>(cases[static_cast<size_t>(u)])];
        for (int32_t v = u + 1; v < debut[k + 1]; ++v) {
          const Forme& B = formes[static_cast<size_t>(cases[static_cast<size_t>(v)])];
          if (A.groupe == B.groupe) continue;
          if (A.xmin - m > B.xmax + m || B.xmin - m > A.xmax + m || A.ymin - m > B.ymax + m ||
              B.ymin - m > A.ymax + m)
            continue;
          if (Colonne(std::max(A.xmin, B.xmin) - m) != cx ||
              Rangee(std::max(A.ymin, B.ymin) - m) != cy)
            continue;
          visite(cases[static_cast<size_t>(u)], cases[static_cast<size_t>(v)]);
        }
      }
    }
  }
}

// An end of the track shape T that stops short of S: the closest part is the end's cap and the
// gap lies ahead of the track's direction.
bool ExtremiteProche(const Geometrie& g, const Forme& T, const Forme& S, double ecart) {
  if (T.nature != Nature::Piste || S.nature == Nature::Autre || T.polygone >= 0) return false;
  for (int k = 0; k < 2; ++k) {
    if (!(k == 0 ? T.extremiteA : T.extremiteB)) continue;
    const Point2 E = k == 0 ? T.a : T.b, autre = k == 0 ? T.b : T.a;
    const Point2 direction = E - autre;
    const double l = Norme(direction);
    if (l <= 0) continue;
    Forme bout = T;
    bout.a = bout.b = E;
    const Ecart e = Mesure(g, bout, S);
    if (e.ecart > ecart + kTolerance) continue;
    const Point2 vers = e.pb - E;
    if (Scalaire(vers, direction) / l > 0.5 * Norme(vers)) return true;
  }
  return false;
}

// Order of two faults of the same kind and place: the smaller gap, then up to down, left to
// right, so that the result does not depend on the order in which pairs are met.
bool Avant(const Defaut& a, const Defaut& b) {
  if (a.Distance != b.Distance) return a.Distance < b.Distance;
  if (a.Y != b.Y) return a.Y > b.Y;
  return a.X < b.X;
}

void VerifieFace(const Geometrie& g, uint8_t couche, double isolement, double portee,
                 bool sansIndex, ResultatVerification& r) {
  Ensembles ensembles(g.groupes.size());
  std::vector<Candidat> candidats;
  PairesProches(g.formes, portee, sansIndex, [&](int32_t a, int32_t b) {
    const Forme& A = g.formes[static_cast<size_t>(a)];
    const Forme& B = g.formes[static_cast<size_t>(b)];
    if (ensembles.Racine(A.groupe) == ensembles.Racine(B.groupe)) return;
    const Ecart e = Mesure(g, A, B);
    if (e.ecart <= kTolerance) {
      ensembles.Unit(A.groupe, B.groupe);
    } else if (e.ecart < portee + kTolerance) {
      candidats.push_back({a, b, e});
    }
  });
  // One fault per pair of pieces and kind, at the narrowest place.
  std::unordered_map<uint64_t, size_t> parPaire;
  std::vector<Defaut> defauts;
  for (const Candidat& k : candidats) {
    const Forme& A = g.formes[static_cast<size_t>(k.a)];
    const Forme& B = g.formes[static_cast<size_t>(k.b)];
    const int32_t ra = ensembles.Racine(A.groupe), rb = ensembles.Racine(B.groupe);
    if (ra == rb) continue;
    const double mm = k.e.ecart * kMmParUnite;
    if (r.EcartMinimalMm < 0 || mm < r.EcartMinimalMm) r.EcartMinimalMm = mm;
    if (!(k.e.ecart < isolement - kTolerance)) continue;
    const GenreDefaut genre =
        ExtremiteProche(g, A, B, k.e.ecart) || ExtremiteProche(g, B, A, k.e.ecart)
            ? GenreDefaut::ExtremitePiste
            : GenreDefaut::Isolement;
    // The middle of the gap, between the two copper edges.
    const Point2 d = k.e.pb - k.e.pa;
    const double l = Norme(d);
    const Point2 milieu = l > 0 ? k.e.pa + d * ((A.r + (l - A.r - B.r) / 2) / l) : k.e.pa;
    Defaut defaut;
    defaut.Genre = genre;
    defaut.Couche = couche;
    defaut.X = milieu.x;
    defaut.Y = milieu.y;
    defaut.Distance = mm;
    const uint64_t cle = (static_cast<uint64_t>(std::min(ra, rb)) << 33) |
                         (static_cast<uint64_t>(std::max(ra, rb)) << 1) |
                         (genre == GenreDefaut::ExtremitePiste ? 1u : 0u);
    const auto [it, nouveau] = parPaire.emplace(cle, defauts.size());
    if (nouveau) {
      defauts.push_back(defaut);
    } else if (Avant(defaut, defauts[it->second])) {
      defauts[it->second] = defaut;
    }
  }
  r.Defauts.insert(r.Defauts.end(), defauts.begin(), defauts.end());
  for (const Forme& f : g.formes) {
    if (f.nature != Nature::Piste) continue;
    const double mm = 2 * f.r * kMmParUnite;
    if (r.PisteMinimaleMm < 0 || mm < r.PisteMinimaleMm) r.PisteMinimaleMm = mm;
  }
}

// Elements whose drawing reaches outside the work surface; an element on several layers (a
// pad) once.
void VerifieContour(const Circuit& c, const Geometrie& g, std::vector<bool>& signales,
                    std::vector<Defaut>& defauts) {
  const double sx = c.EnteteCI.SurfaceX, sy = c.EnteteCI.SurfaceY;
  for (const Groupe& gr : g.groupes) {
    if (gr.xmin > gr.xmax) continue;  // nothing drawn
    const double dehors = std::max({-gr.xmin, -gr.ymin, gr.xmax - sx, gr.ymax - sy});
    if (dehors <= kTolerance || signales[static_cast<size_t>(gr.indice)]) continue;
    signales[static_cast<size_t>(gr.indice)] = true;
    Defaut d;
    d.Genre = GenreDefaut::HorsContour;
    d.Couche = gr.couche;
    d.X = gr.xmin < 0 ? gr.xmin : (gr.xmax > sx ? gr.xmax : (gr.xmin + gr.xmax) / 2);
    d.Y = gr.ymin < 0 ? gr.ymin : (gr.ymax > sy ? gr.ymax : (gr.ymin + gr.ymax) / 2);
    d.Distance = dehors * kMmParUnite;
    defauts.push_back(d);
  }
}

void VerifiePercages(const Circuit& c, StylePastilles style, std::vector<Defaut>& defauts) {
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    // Pads with copper (204 has none, the pins 205 no drill).
    if (e.Code < code::PastillePremier || e.Code >= 204 || e.Attribut < 1 || e.Attribut > 13)
      continue;
    const int32_t diametre = c.EnteteCI.DiametresPercage[e.Attribut];
    if (diametre <= 0) continue;
    const FormeOuverture f = FormeDeLOuverture(e.Code - 182, style);
    double largeur = std::min(f.Largeur, f.Hauteur);
    if (f.type == FormeOuverture::Octogone) largeur *= std::cos(3.14159265358979323846 / 8);
    const double exces = diametre / 10.0 - largeur * kMmParUnite;
    if (exces <= 1e-9) continue;
    Defaut d;
    d.Genre = GenreDefaut::PercageTropGrand;
    d.Couche = e.Couche;
    d.X = e.X;
    d.Y = e.Y;
    d.Distance = exces;
    defauts.push_back(d);
  }
}

std::string Millimetres(double v) {
  char t[64];
  std::snprintf(t, sizeof t, "%.2f", v);
  std::string s = t;
  for (char& ch : s)
    if (ch == '.') ch = ',';
  return s;
}

}  // namespace

ResultatVerification VerifieCircuit(const Circuit& c, const OptionsVerification& o) {
  ResultatVerification r;
  const bool isolementValide = std::isfinite(o.IsolementMm) && o.IsolementMm > 0;
  const double isolement = isolementValide ? o.IsolementMm / kMmParUnite : 0;
  double portee = isolement;
  if (std::isfinite(o.PorteeMm) && o.PorteeMm / kMmParUnite > portee)
    portee = o.PorteeMm / kMmParUnite;
  std::vector<bool> signales(static_cast<size_t>(c.NbElements) + 1, false);
  std::vector<Defaut> contour;
  for (uint8_t masque : {kMasqueFace1, kMasqueFace2, kMasqueImplantation}) {
    const Geometrie g = LitCouche(c, masque, o.Pastilles);
    if (masque != kMasqueImplantation && portee > 0)
      VerifieFace(g, masque, isolement, portee, o.SansIndex, r);
    VerifieContour(c, g, signales, contour);
  }
  VerifiePercages(c, o.Pastilles, r.Defauts);
  r.Defauts.insert(r.Defauts.end(), contour.begin(), contour.end());
  std::sort(r.Defauts.begin(), r.Defauts.end(), [](const Defaut& a, const Defaut& b) {
    if (a.Genre != b.Genre) return a.Genre < b.Genre;
    if (a.Couche != b.Couche) return a.Couche < b.Couche;
    if (a.Y != b.Y) return a.Y > b.Y;
    if (a.X != b.X) return a.X < b.X;
    return a.Distance < b.Distance;
  });
  return r;
}

BoiteTracee EtendueTracee(const Circuit& c, StylePastilles style) {
  BoiteTracee b;
  for (uint8_t masque : {kMasqueFace1, kMasqueFace2, kMasqueImplantation}) {
    for (const Forme& f : LitCouche(c, masque, style).formes) {
      if (b.Vide) {
        b = {f.xmin, f.ymin, f.xmax, f.ymax, false};
        continue;
      }
      b.Gauche = std::min(b.Gauche, f.xmin);
      b.Bas = std::min(b.Bas, f.ymin);
      b.Droite = std::max(b.Droite, f.xmax);
      b.Haut = std::max(b.Haut, f.ymax);
    }
  }
  return b;
}

std::vector<Defaut> VerifieIsolements(const Circuit& c, double isolementMm) {
  OptionsVerification o;
  o.IsolementMm = isolementMm;
  return VerifieCircuit(c, o).Defauts;
}

const char* NomGenreDefaut(GenreDefaut g) {
  switch (g) {
    case GenreDefaut::Isolement: return "isolement";
    case GenreDefaut::ExtremitePiste: return "extrémité de piste";
    case GenreDefaut::PercageTropGrand: return "perçage trop grand";
    case GenreDefaut::HorsContour: return "hors contour";
  }
  return "";
}

const char* NomCoucheDefaut(uint8_t couche) {
  switch (couche) {
    case 1: return "face 1";
    case 2: return "face 2";
    case 3: return "faces 1 et 2";
    case 4: return "implantation";
    default: return "couche inconnue";
  }
}

std::string DecritDefaut(const Defaut& d, double isolementMm) {
  std::string s = std::string(NomGenreDefaut(d.Genre)) + " " + NomCoucheDefaut(d.Couche) + " : ";
  switch (d.Genre) {
    case GenreDefaut::Isolement:
    case GenreDefaut::ExtremitePiste:
      s += "écart de " + Millimetres(d.Distance) + " mm (minimum " + Millimetres(isolementMm) +
           " mm)";
      break;
    case GenreDefaut::PercageTropGrand:
      s += "le perçage dépasse la pastille de " + Millimetres(d.Distance) + " mm";
      break;
    case GenreDefaut::HorsContour:
      s += "dépasse la surface de travail de " + Millimetres(d.Distance) + " mm";
      break;
  }
  return s + " à X = " + Millimetres(UnitesEnMm(d.X)) + " mm, Y = " + Millimetres(UnitesEnMm(d.Y)) +
         " mm";
}

}  // namespace korv4
