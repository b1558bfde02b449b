#include "verification/Cuivre.h"

#include <algorithm>

namespace korv4::cuivre {

namespace {

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

}  // namespace

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

}  // namespace korv4::cuivre
