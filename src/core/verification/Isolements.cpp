#include "verification/Isolements.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "verification/Cuivre.h"
#include "verification/Interne.h"
#include "verification/Regles.h"

namespace korv4 {

namespace {

using namespace cuivre;

// A gap within reach: the shapes and its width alone (a dense board has several a shape); the
// closest points of a pair that makes a fault are measured again.
struct Candidat {
  int32_t a, b;  // shapes, a < b
  double ecart;
};

// An end of the track shape T that stops short of S: the closest part is the end's cap and the
// gap lies ahead of the track's direction.
bool ExtremiteProche(const Geometrie& g, const Forme& T, const Forme& S, double ecart) {
  if (T.nature != Nature::Piste || S.nature == Nature::Autre || T.n > 0) return false;
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

// Sorted by pair, each pair once (the index may give a pair once per cell it shares).
void SansDoublons(std::vector<Candidat>& candidats) {
  std::sort(candidats.begin(), candidats.end(), [](const Candidat& p, const Candidat& q) {
    return p.a != q.a ? p.a < q.a : p.b < q.b;
  });
  candidats.erase(
      std::unique(candidats.begin(), candidats.end(),
                  [](const Candidat& p, const Candidat& q) { return p.a == q.a && p.b == q.b; }),
      candidats.end());
}

void VerifieFace(const Geometrie& g, uint8_t couche, double isolement, double portee,
                 bool sansIndex, ResultatVerification& r) {
  Ensembles ensembles(g.groupes.size());
  std::vector<Candidat> candidats;
  // A full list drops its copies before it grows: it holds each pair about once, not once per
  // cell (a board of countless close pads).
  auto Garde = [&](const Candidat& k) {
    if (!sansIndex && candidats.size() == candidats.capacity() && candidats.size() >= 4096) {
      SansDoublons(candidats);
      if (candidats.size() * 4 > candidats.capacity() * 3)
        candidats.reserve(candidats.capacity() * 2);
    }
    candidats.push_back(k);
  };
  // Two shapes of different pieces (a < b) whose widened boxes overlap: touching copper joins
  // their pieces, a gap within reach is kept. True when they touch.
  auto Paire = [&](int32_t a, int32_t b) {
    const Forme& A = g.formes[static_cast<size_t>(a)];
    const Forme& B = g.formes[static_cast<size_t>(b)];
    const Ecart e = Mesure(g, A, B);
    if (e.ecart <= kTolerance) {
      ensembles.Unit(A.groupe, B.groupe);
      return true;
    }
    if (e.ecart < portee + kTolerance) Garde({a, b, e.ecart});
    return false;
  };
  auto Morceau = [&](int32_t groupe) { return ensembles.Racine(groupe); };
  if (sansIndex) {
    const size_t n = g.formes.size();
    const double m = portee / 2;
    for (size_t u = 0; u < n; ++u) {
      const Forme& A = g.formes[u];
      for (size_t v = u + 1; v < n; ++v) {
        const Forme& B = g.formes[v];
        ++r.PairesExaminees;
        if (A.xmin - m > B.xmax + m || B.xmin - m > A.xmax + m || A.ymin - m > B.ymax + m ||
            B.ymin - m > A.ymax + m || Morceau(A.groupe) == Morceau(B.groupe))
          continue;
        Paire(static_cast<int32_t>(u), static_cast<int32_t>(v));
      }
    }
  } else {
    r.PairesExaminees += MorceauxProchesDe(IndexDe(g, portee), Morceau, Paire);
    // A pair of shapes that share several cells was measured in each.
    SansDoublons(candidats);
  }
  // One fault per pair of pieces and kind, at the narrowest place.
  std::unordered_map<uint64_t, size_t> parPaire;
  std::vector<Defaut> defauts;
  for (const Candidat& k : candidats) {
    const Forme& A = g.formes[static_cast<size_t>(k.a)];
    const Forme& B = g.formes[static_cast<size_t>(k.b)];
    const int32_t ra = ensembles.Racine(A.groupe), rb = ensembles.Racine(B.groupe);
    if (ra == rb) continue;
    const double mm = k.ecart * kMmParUnite;
    if (r.EcartMinimalMm < 0 || mm < r.EcartMinimalMm) r.EcartMinimalMm = mm;
    if (!(k.ecart < isolement - kTolerance)) continue;
    const Defaut defaut = interne::DefautDePaire(A, B, couche);
    const GenreDefaut genre = defaut.Genre;
    const uint64_t cle = (static_cast<uint64_t>(std::min(ra, rb)) << 33) |
                         (static_cast<uint64_t>(std::max(ra, rb)) << 1) |
                         (genre == GenreDefaut::ExtremitePiste ? 1u : 0u);
    const auto [it, nouveau] = parPaire.emplace(cle, defauts.size());
    if (nouveau) {
      defauts.push_back(defaut);
    } else if (interne::Avant(defaut, defauts[it->second])) {
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
    Defaut d;
    if (signales[static_cast<size_t>(gr.indice)] || !interne::HorsContour(gr, sx, sy, d)) continue;
    signales[static_cast<size_t>(gr.indice)] = true;
    defauts.push_back(d);
  }
}

double ExcesPercage(const FormeOuverture* formes, const Circuit& c, const ElementCI& e) {
  // Pads with copper around their hole; `formes` by the pad's row in the pad table.
  if (!EstPastilleCuivre(e.Code) || e.Attribut < 1 || e.Attribut > 13) return 0;
  const int32_t diametre = c.EnteteCI.DiametresPercage[e.Attribut];
  if (diametre <= 0) return 0;
  const double largeur = interne::LargeurUtile(formes[IndicePastille(e.Code)]);
  return diametre / 10.0 - largeur * kMmParUnite;
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
  // Each layer read once: the rules and the nets use the faces, the outline the extent.
  Geometrie couches[3];
  const uint8_t masques[3] = {kMasqueFace1, kMasqueFace2, kMasqueImplantation};
  BoiteTracee etendue;
  for (int k = 0; k < 3; ++k) {
    couches[k] = LitCouche(c, masques[k], o.Pastilles);
    const Geometrie& g = couches[k];
    if (masques[k] != kMasqueImplantation && portee > 0)
      VerifieFace(g, masques[k], isolement, portee, o.SansIndex, r);
    VerifieContour(c, g, signales, contour);
    for (const Forme& f : g.formes) interne::Etend(etendue, f);
  }
  interne::VerifiePercages(c, o.Pastilles, r.Defauts);
  const Geometrie* faces[3] = {nullptr, &couches[0], &couches[1]};
  VerifieRegles(c, o, faces, &etendue, r.Defauts);
  r.Defauts.insert(r.Defauts.end(), contour.begin(), contour.end());
  interne::TrieDefauts(r.Defauts);
  return r;
}

namespace interne {

int32_t FinDuGroupe(const Circuit& c, const Groupe& gr) {
  int32_t fin = gr.dernier;
  if (EstTexte(c.Elements[gr.indice].Code) && fin < c.NbElements &&
      c.Elements[fin + 1].Code == code::FinTexte)
    ++fin;
  return fin;
}

bool BoutDePiste(const Forme& piste, int cote, Point2& e, Point2& direction, Forme& cap) {
  if (!(cote == 0 ? piste.extremiteA : piste.extremiteB)) return false;
  e = cote == 0 ? piste.a : piste.b;
  const Point2 autre = cote == 0 ? piste.b : piste.a;
  const double l = Norme(e - autre);
  if (l <= 0) return false;
  direction = (e - autre) * (1 / l);
  cap = piste;
  cap.a = cap.b = e;
  cap.extremiteA = cap.extremiteB = false;
  cap.xmin = e.x - piste.r;
  cap.xmax = e.x + piste.r;
  cap.ymin = e.y - piste.r;
  cap.ymax = e.y + piste.r;
  return true;
}

Defaut DefautDePaire(const Forme& A, const Forme& B, uint8_t couche) {
  const Ecart e = Mesure(A, B);
  const Geometrie g;
  const GenreDefaut genre = ExtremiteProche(g, A, B, e.ecart) || ExtremiteProche(g, B, A, e.ecart)
                                ? GenreDefaut::ExtremitePiste
                                : GenreDefaut::Isolement;
  // The middle of the gap, between the two copper edges.
  const Point2 d = e.pb - e.pa;
  const double l = Norme(d);
  const Point2 milieu = l > 0 ? e.pa + d * ((A.r + (l - A.r - B.r) / 2) / l) : e.pa;
  Defaut defaut;
  defaut.Genre = genre;
  defaut.Couche = couche;
  defaut.X = milieu.x;
  defaut.Y = milieu.y;
  defaut.Distance = e.ecart * kMmParUnite;
  return defaut;
}

// Order of two faults of the same kind and place: the smaller gap, then up to down, left to
// right, so that the result does not depend on the order in which pairs are met.
bool Avant(const Defaut& a, const Defaut& b) {
  if (a.Distance != b.Distance) return a.Distance < b.Distance;
  if (a.Y != b.Y) return a.Y > b.Y;
  return a.X < b.X;
}

bool HorsContour(const Groupe& gr, double sx, double sy, Defaut& d) {
  if (gr.xmin > gr.xmax) return false;  // nothing drawn
  const double dehors = std::max({-gr.xmin, -gr.ymin, gr.xmax - sx, gr.ymax - sy});
  if (dehors <= kTolerance) return false;
  d = Defaut{};
  d.Genre = GenreDefaut::HorsContour;
  d.Couche = gr.couche;
  d.X = gr.xmin < 0 ? gr.xmin : (gr.xmax > sx ? gr.xmax : (gr.xmin + gr.xmax) / 2);
  d.Y = gr.ymin < 0 ? gr.ymin : (gr.ymax > sy ? gr.ymax : (gr.ymin + gr.ymax) / 2);
  d.Distance = dehors * kMmParUnite;
  return true;
}

void VerifiePercages(const Circuit& c, StylePastilles style, std::vector<Defaut>& defauts) {
  FormeOuverture formes[kNbSortesPastille];
  for (int k = 0; k < kNbSortesPastille; ++k)
    formes[k] = FormeDeLOuverture(kSortesPastille[k].DCode, style);
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    const double exces = ExcesPercage(formes, c, e);
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

bool AvantDansLaListe(const Defaut& a, const Defaut& b) {
  if (a.Genre != b.Genre) return a.Genre < b.Genre;
  if (a.Couche != b.Couche) return a.Couche < b.Couche;
  if (a.Y != b.Y) return a.Y > b.Y;
  if (a.X != b.X) return a.X < b.X;
  return a.Distance < b.Distance;
}

void TrieDefauts(std::vector<Defaut>& defauts) {
  std::sort(defauts.begin(), defauts.end(), AvantDansLaListe);
}

}  // namespace interne

namespace {

// The box of the shapes the check reads from a plotting (LitCouche), folded as they are
// plotted: the same sums in the same order, without keeping a single shape, so that a legend
// of countless strokes takes no memory.
class BoiteDuTrace final : public Traceur {
 public:
  BoiteDuTrace(BoiteTracee& b, StylePastilles style) : b_(b), style_(style) {}
  void Ouverture(int dcode) override { ouverture_ = FormeDeLOuverture(dcode, style_); }
  void Point(int32_t x, int32_t y, const char* operation) override {
    const Point2 p{static_cast<double>(x), static_cast<double>(y)};
    const char op = operation[2];
    if (op == '3') {
      const double l = ouverture_.Largeur, h = ouverture_.Hauteur;
      if (ouverture_.type == FormeOuverture::Rectangle) {
        Ajoute(p.x - l / 2, p.y - h / 2, p.x + l / 2, p.y + h / 2);
      } else if (ouverture_.type == FormeOuverture::Octogone) {
        double xmin = 1e300, ymin = 1e300, xmax = -1e300, ymax = -1e300;
        const double pi = 3.14159265358979323846;
        for (int k = 0; k < 8; ++k) {
          const double angle = (22.5 + 45.0 * k) * pi / 180;
          const double qx = p.x + l / 2 * std::cos(angle), qy = p.y + l / 2 * std::sin(angle);
          xmin = std::min(xmin, qx);
          xmax = std::max(xmax, qx);
          ymin = std::min(ymin, qy);
          ymax = std::max(ymax, qy);
        }
        Ajoute(xmin, ymin, xmax, ymax);
      } else {
        const double r = l / 2;
        Ajoute(p.x - r, p.y - r, p.x + r, p.y + r);
      }
    } else if (op != '2' && aCourant_) {
      const double r = ouverture_.Largeur / 2.0;
      Ajoute(std::min(courant_.x, p.x) - r, std::min(courant_.y, p.y) - r,
             std::max(courant_.x, p.x) + r, std::max(courant_.y, p.y) + r);
    }
    courant_ = p;
    aCourant_ = true;
  }

 private:
  void Ajoute(double xmin, double ymin, double xmax, double ymax) {
    if (b_.Vide) {
      b_ = {xmin, ymin, xmax, ymax, false};
      return;
    }
    b_.Gauche = std::min(b_.Gauche, xmin);
    b_.Bas = std::min(b_.Bas, ymin);
    b_.Droite = std::max(b_.Droite, xmax);
    b_.Haut = std::max(b_.Haut, ymax);
  }
  BoiteTracee& b_;
  StylePastilles style_;
  FormeOuverture ouverture_;
  Point2 courant_;
  bool aCourant_ = false;
};

}  // namespace

BoiteTracee EtendueTracee(const Circuit& c, StylePastilles style) {
  BoiteTracee b;
  for (uint8_t masque : {kMasqueFace1, kMasqueFace2, kMasqueImplantation}) {
    BoiteDuTrace t(b, style);
    TraceElements(t, CollecteElementsGerber(c, masque));
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
    case GenreDefaut::CouronneEtroite: return "couronne étroite";
    case GenreDefaut::BordTropProche: return "trop près du bord";
    case GenreDefaut::TrouSansCuivre: return "trou sans cuivre";
    case GenreDefaut::ExtremiteMemeNet: return "extrémité de piste sur son équipotentielle";
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
    case GenreDefaut::ExtremiteMemeNet:
      s += "écart de " + Millimetres(d.Distance) + " mm (minimum " + Millimetres(isolementMm) +
           " mm)";
      break;
    case GenreDefaut::PercageTropGrand:
      s += "le perçage dépasse la pastille de " + Millimetres(d.Distance) + " mm";
      break;
    case GenreDefaut::HorsContour:
      s += "dépasse la surface de travail de " + Millimetres(d.Distance) + " mm";
      break;
    case GenreDefaut::CouronneEtroite:
    case GenreDefaut::BordTropProche:
    case GenreDefaut::TrouSansCuivre: s += DecritRegle(d); break;
  }
  return s + " à X = " + Millimetres(UnitesEnMm(d.X)) + " mm, Y = " + Millimetres(UnitesEnMm(d.Y)) +
         " mm";
}

double ExcesPercage(const Circuit& c, const ElementCI& e, StylePastilles style) {
  if (!EstPastille(e.Code)) return 0;
  FormeOuverture formes[kNbSortesPastille];
  formes[IndicePastille(e.Code)] = FormeDeLOuverture(SortePastilleDe(e.Code).DCode, style);
  return ExcesPercage(formes, c, e);
}

}  // namespace korv4
