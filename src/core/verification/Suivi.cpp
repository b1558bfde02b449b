#include "verification/Suivi.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "render/Traceur.h"
#include "verification/Cuivre.h"
#include "verification/Equipotentielles.h"
#include "verification/Interne.h"

namespace korv4 {

namespace {

using namespace cuivre;

bool Valide(double mm) { return std::isfinite(mm) && mm > 0; }
bool EstCaractere(uint8_t c) { return c >= 64 && c <= 71; }
bool EstDessin(uint8_t c) { return c >= code::Trait1 && c <= code::Ellipse2; }

// Whether record r of `elements` (r >= 1 at elements[r - 1]) may carry on the element of the
// record before it (a point of a track, a letter of a text, a drawing's second record): a step's
// records are read again from a record that may not.
bool Suite(const ElementCI* elements, int32_t nombre, int32_t r) {
  if (r < 2 || r > nombre) return false;
  const ElementCI& e = elements[r - 1];
  const ElementCI& p = elements[r - 2];
  if (EstPiste(e.Code)) return e.Attribut != kPremierPoint;
  if (EstCaractere(e.Code)) return EstCaractere(p.Code);
  return EstDessin(e.Code) && (e.Code & 1) == 1;
}

// Whether the plotting of some element of the store draws from the point where the element
// before it ended, or uses a record of another: a track point that is not a first point after
// a record that is no point of the same track, a drawing's second record apart from its first.
// Such a store is read whole at each step.
bool PlotLie(const Circuit& c, int32_t premier = 1, int32_t dernier = -1) {
  const int32_t n = c.NbElements;
  for (int32_t r = std::max(premier, 1); r <= (dernier < 0 ? n : std::min(dernier, n)); ++r) {
    const ElementCI& e = c.Elements[r];
    if (EstPiste(e.Code)) {
      if (e.Attribut == kPremierPoint) continue;
      if (r == 1) return true;
      const ElementCI& p = c.Elements[r - 1];
      if (p.Code != e.Code || p.Couche != e.Couche) return true;
    } else if (EstDessin(e.Code)) {
      if ((e.Code & 1) == 1) {
        if (r == 1) return true;
        const ElementCI& p = c.Elements[r - 1];
        if (p.Code + 1 != e.Code || p.Attribut != e.Attribut || p.Couche != e.Couche) return true;
      } else if (e.Code != code::Trait1) {
        if (r == n) return true;
        const ElementCI& s = c.Elements[r + 1];
        if (s.Code != e.Code + 1 || s.Attribut != e.Attribut || s.Couche != e.Couche) return true;
      }
    }
  }
  return false;
}

// Shapes identical for the search of the track ends: the same core and width.
int Compare(const Forme& p, const Forme& q) {
  const double a[5] = {p.a.x, p.a.y, p.b.x, p.b.y, p.r}, b[5] = {q.a.x, q.a.y, q.b.x, q.b.y, q.r};
  for (int k = 0; k < 5; ++k)
    if (a[k] != b[k]) return a[k] < b[k] ? -1 : 1;
  if (p.n != q.n) return p.n < q.n ? -1 : 1;
  return 0;
}

bool Chevauchent(const Forme& a, const Forme& b, double m) {
  return !(a.xmin - m > b.xmax + m || b.xmin - m > a.xmax + m || a.ymin - m > b.ymax + m ||
           b.ymin - m > a.ymax + m);
}

}  // namespace

struct SuiviVerification::Etat {
  OptionsVerification o;
  double isolement = 0, portee = 0, m = 0;  // units; m half the reach
  double pas = 8;                           // the grid's cell
  // What the faults of the whole board read, kept: the tracks by half width (both faces), the
  // extent of what is drawn, the faults of the outline's margin (faces 1, 2) and of the work
  // surface (each layer) by element with the outline and surface they were found with, the
  // elements put in since, the records of tracks and texts on each face.
  std::map<double, int64_t> rayons;
  BoiteTracee etendue;
  bool etendueAJour = true;
  ContourCarte contour;
  bool contourLu = false;
  std::unordered_map<int32_t, Defaut> bords[2], dehors[3];
  std::vector<int32_t> aRevoir[3];
  double sx = -1, sy = -1;
  int64_t propres[3] = {0, 0, 0};
  int64_t limite = 0;       // pairs a step may compare before giving up
  int32_t prochainNom = 0;  // names of pieces never given yet
  int64_t formesLues = 0;   // the copper's shapes when the board was read

  struct Arete {
    int32_t g;
    uint8_t genre;  // 1 the check's touching, 2 the nets' too (their boxes overlap)
  };
  struct Candidat {
    int32_t a = -1, b = -1;    // shapes, a plotted first
    int32_t ga = -1, gb = -1;  // their elements
    double ecart = 0;
    bool fautif = false;
    Defaut d;
  };

  // A shape in a cell of the grid, with its element and its box widened by half the reach (in
  // floats rounded outward: a look that may keep a few more, never fewer), so that a search
  // reads the cell alone before it reads a shape.
  struct Entree {
    int32_t forme, groupe;
    float x0, y0, x1, y1;
  };
  Entree EntreeDe(int32_t f, const Forme& forme) const {
    const double marge = 0.01 + 1e-6 * (std::fabs(forme.xmin) + std::fabs(forme.xmax) +
                                        std::fabs(forme.ymin) + std::fabs(forme.ymax));
    return {f,
            forme.groupe,
            static_cast<float>(forme.xmin - m - marge),
            static_cast<float>(forme.ymin - m - marge),
            static_cast<float>(forme.xmax + m + marge),
            static_cast<float>(forme.ymax + m + marge)};
  }

  struct Couche {
    uint8_t masque = 0;
    bool cuivre = false;
    std::vector<Forme> formes;
    std::vector<int32_t> rang;  // a shape's place among its element's shapes
    std::vector<char> vivante;
    std::vector<int32_t> libresF;
    std::vector<Groupe> groupes;  // indice < 0: a free place
    std::vector<int8_t> cle;      // the plotting rank of its records
    std::vector<char> conductrice;
    std::vector<std::vector<int32_t>> formesDe;
    std::vector<int32_t> libresG;
    std::vector<int32_t> groupeDe;  // by record index
    std::vector<std::vector<Arete>> aretes;
    std::vector<std::vector<int32_t>> candidatsDe;
    std::vector<Candidat> candidats;
    std::vector<int32_t> libresC;
    std::vector<int32_t> nomV, nomR;  // pieces: the check's, the nets' (-1 none)
    std::unordered_map<int32_t, int32_t> tailleV, tailleR;  // elements of each piece
    std::vector<int32_t> marqueG, rechercheG;  // Coupe: the search that met each element
    int32_t marqueCoupe = 0;
    // While a new element is measured: the elements it touches both ways (this mark).
    std::vector<int32_t> jointes;
    int32_t marqueJointes = 0;
    std::unordered_map<int64_t, Defaut> bouts;  // shape * 2 + end: its fault
    std::unordered_map<int64_t, std::vector<Entree>> cases;
    mutable std::vector<int32_t> vu;
    mutable int32_t marque = 0;
    int32_t nombreFormes = 0;
  };
  Couche couches[3];

  // The order of two shapes in the plotting of their layer.
  static bool Avant(const Couche& L, int32_t s, int32_t t) {
    const int32_t gs = L.formes[static_cast<size_t>(s)].groupe;
    const int32_t gt = L.formes[static_cast<size_t>(t)].groupe;
    if (L.cle[static_cast<size_t>(gs)] != L.cle[static_cast<size_t>(gt)])
      return L.cle[static_cast<size_t>(gs)] < L.cle[static_cast<size_t>(gt)];
    if (gs != gt)
      return L.groupes[static_cast<size_t>(gs)].indice < L.groupes[static_cast<size_t>(gt)].indice;
    return L.rang[static_cast<size_t>(s)] < L.rang[static_cast<size_t>(t)];
  }

  static int64_t Cle(int64_t cx, int64_t cy) {
    return static_cast<int64_t>((static_cast<uint64_t>(cy) << 32) ^
                                static_cast<uint64_t>(static_cast<uint32_t>(cx)));
  }
  int64_t Colonne(double x) const { return static_cast<int64_t>(std::floor(x / pas)); }

  // The cells of the grid a shape lies in: those its box widened by m covers, and for a slanted
  // stroke those within reach of its segment in each row.
  template <typename F>
  void PourChaqueCase(const Forme& f, F&& fn) const {
    const double x0 = f.xmin - m, x1 = f.xmax + m, y0 = f.ymin - m, y1 = f.ymax + m;
    const int64_t cy0 = Colonne(y0), cy1 = Colonne(y1), cx0 = Colonne(x0), cx1 = Colonne(x1);
    for (int64_t cy = cy0; cy <= cy1; ++cy) {
      int64_t c0 = cx0, c1 = cx1;
      if (f.n == 0 && f.a.y != f.b.y && cy0 != cy1) {
        const double d = f.r + m + 1;
        const double dy = f.b.y - f.a.y;
        const double bas = static_cast<double>(cy) * pas - d;
        const double haut = static_cast<double>(cy + 1) * pas + d;
        double t0 = (bas - f.a.y) / dy, t1 = (haut - f.a.y) / dy;
        if (t0 > t1) std::swap(t0, t1);
        t0 = std::max(t0, 0.0);
        t1 = std::min(t1, 1.0);
        if (t0 > t1) continue;
        const double xa = f.a.x + (f.b.x - f.a.x) * t0, xb = f.a.x + (f.b.x - f.a.x) * t1;
        c0 = std::max(cx0, Colonne(std::min(xa, xb) - d));
        c1 = std::min(cx1, Colonne(std::max(xa, xb) + d));
      }
      for (int64_t cx = c0; cx <= c1; ++cx) fn(Cle(cx, cy));
    }
  }

  // Each shape whose widened box overlaps the probe's and that shares a cell with it, once;
  // the shapes of the element `sauf` left out.
  template <typename F>
  void Voisins(const Couche& L, const Forme& sonde, F&& fn, int32_t sauf = -1) const {
    if (L.vu.size() < L.formes.size()) L.vu.resize(L.formes.size(), 0);
    const int32_t marque = ++L.marque;
    const double x0 = sonde.xmin - m, y0 = sonde.ymin - m, x1 = sonde.xmax + m, y1 = sonde.ymax + m;
    PourChaqueCase(sonde, [&](int64_t cle) {
      const auto it = L.cases.find(cle);
      if (it == L.cases.end()) return;
      for (const Entree& t : it->second) {
        if (t.groupe == sauf || t.x0 > x1 || x0 > t.x1 || t.y0 > y1 || y0 > t.y1) continue;
        int32_t& vu = L.vu[static_cast<size_t>(t.forme)];
        if (vu == marque) continue;
        vu = marque;
        if (Chevauchent(L.formes[static_cast<size_t>(t.forme)], sonde, m)) fn(t.forme);
      }
    });
  }

  // The pieces of a face, followed: after elements went, the piece `nom` they were part of is
  // searched from the elements that touched them (`graines`), all at once, up to the point
  // where all but one of the searches have met or ended: each search that ended alone is a
  // part cut off, named anew (the searches cost the parts cut off, not the piece). After
  // elements came, the pieces they touch are joined under the name of the largest, the others
  // named again. The elements named again go to `renommes`.
  void Coupe(Couche& L, bool nets, int32_t nom, std::vector<int32_t>& graines,
             std::vector<int32_t>& renommes, Travail& travail);
  void Joint(Couche& L, bool nets, const std::vector<int32_t>& venus,
             std::vector<int32_t>& renommes, Travail& travail);
  // The faces the board is made with, from the records of tracks and texts of each.
  std::array<bool, 3> Faites() const {
    if (propres[1] > 0 && propres[2] > 0) return {false, true, true};
    if (propres[2] > 0) return {false, false, true};
    return {false, true, false};
  }
  static bool Prend(const Couche& L, bool nets, int32_t g) {
    return L.groupes[static_cast<size_t>(g)].indice >= 0 &&
           (!nets || L.conductrice[static_cast<size_t>(g)]);
  }
  // The faults of the track ends of one shape (a track's stroke) searched again.
  void Bouts(Couche& L, int32_t k, Travail& travail);
};

DifferenceMagasins CompareMagasins(const std::vector<ElementCI>& avant, const Circuit& c) {
  const int32_t n = c.NbElements, m = static_cast<int32_t>(avant.size());
  int32_t debut = 0;
  while (debut < n && debut < m && c.Elements[debut + 1] == avant[static_cast<size_t>(debut)])
    ++debut;
  int32_t fin = 0;
  while (fin < n - debut && fin < m - debut &&
         c.Elements[n - fin] == avant[static_cast<size_t>(m - 1 - fin)])
    ++fin;
  if (debut >= n - fin && debut >= m - fin) return {};
  return {debut + 1, m - fin - debut, n - fin - debut};
}

SuiviVerification::SuiviVerification() = default;
SuiviVerification::~SuiviVerification() = default;

bool SuiviVerification::Pret() const { return e_ != nullptr; }

void SuiviVerification::Etat::Coupe(Couche& L, bool nets, int32_t nom,
                                    std::vector<int32_t>& graines, std::vector<int32_t>& renommes,
                                    Travail& travail) {
  std::vector<int32_t>& noms = nets ? L.nomR : L.nomV;
  std::unordered_map<int32_t, int32_t>& taille = nets ? L.tailleR : L.tailleV;
  const uint8_t genre = nets ? 2 : 1;
  std::sort(graines.begin(), graines.end());
  graines.erase(std::unique(graines.begin(), graines.end()), graines.end());
  graines.erase(
      std::remove_if(graines.begin(), graines.end(), [&](int32_t g) { return !Prend(L, nets, g); }),
      graines.end());
  if (graines.size() < 2) return;  // what is left of the piece holds together
  if (L.marqueG.size() < L.groupes.size()) {
    L.marqueG.resize(L.groupes.size(), 0);
    L.rechercheG.resize(L.groupes.size(), 0);
  }
  const int32_t marque = ++L.marqueCoupe;
  const size_t k = graines.size();
  std::vector<std::vector<int32_t>> files(k);
  std::vector<size_t> tetes(k, 0);
  std::vector<int32_t> parent(k);
  for (size_t i = 0; i < k; ++i) {
    parent[i] = static_cast<int32_t>(i);
    files[i].push_back(graines[i]);
    L.marqueG[static_cast<size_t>(graines[i])] = marque;
    L.rechercheG[static_cast<size_t>(graines[i])] = static_cast<int32_t>(i);
  }
  auto Racine = [&](int32_t i) {
    while (parent[static_cast<size_t>(i)] != i) i = parent[static_cast<size_t>(i)];
    return i;
  };
  // Searches going on in each part (by its root), and the parts going on.
  std::vector<int32_t> actives(k, 1), liste(k);
  for (size_t i = 0; i < k; ++i) liste[i] = static_cast<int32_t>(i);
  size_t enCours = k;
  auto Joins = [&](int32_t r1, int32_t r2) {
    const size_t avant =
        (actives[static_cast<size_t>(r1)] > 0) + (actives[static_cast<size_t>(r2)] > 0);
    const int32_t petit = std::min(r1, r2), grand = std::max(r1, r2);
    parent[static_cast<size_t>(grand)] = petit;
    actives[static_cast<size_t>(petit)] += actives[static_cast<size_t>(grand)];
    enCours -= avant - (actives[static_cast<size_t>(petit)] > 0);
  };
  while (enCours > 1 && !liste.empty()) {
    // One element of each search that goes on.
    size_t restent = 0;
    for (size_t u = 0; u < liste.size() && enCours > 1; ++u) {
      const size_t i = static_cast<size_t>(liste[u]);
      const int32_t x = files[i][tetes[i]++];
      ++travail.Parcourus;
      for (const Arete& a : L.aretes[static_cast<size_t>(x)]) {
        if (!(a.genre & genre) || !Prend(L, nets, a.g)) continue;
        if (L.marqueG[static_cast<size_t>(a.g)] != marque) {
          L.marqueG[static_cast<size_t>(a.g)] = marque;
          L.rechercheG[static_cast<size_t>(a.g)] = static_cast<int32_t>(i);
          files[i].push_back(a.g);
          continue;
        }
        const int32_t r1 = Racine(static_cast<int32_t>(i));
        const int32_t r2 = Racine(L.rechercheG[static_cast<size_t>(a.g)]);
        if (r1 != r2) Joins(r1, r2);
      }
      if (tetes[i] < files[i].size()) {
        liste[restent++] = static_cast<int32_t>(i);
      } else if (--actives[static_cast<size_t>(Racine(static_cast<int32_t>(i)))] == 0) {
        --enCours;
      }
    }
    liste.resize(restent);
  }
  std::vector<char> finie(k, 0);
  for (size_t i = 0; i < k; ++i) finie[i] = actives[i] == 0;
  // The parts that ended are cut off; the one going on keeps the name (all ended: the largest).
  std::vector<std::vector<int32_t>> parties(k);
  for (size_t i = 0; i < k; ++i) {
    const size_t r = static_cast<size_t>(Racine(static_cast<int32_t>(i)));
    parties[r].insert(parties[r].end(), files[i].begin(), files[i].end());
  }
  int32_t garde = -1;
  for (size_t i = 0; i < k; ++i)
    if (Racine(static_cast<int32_t>(i)) == static_cast<int32_t>(i) && !finie[i])
      garde = static_cast<int32_t>(i);
  if (garde < 0) {
    for (size_t i = 0; i < k; ++i)
      if (Racine(static_cast<int32_t>(i)) == static_cast<int32_t>(i) &&
          (garde < 0 || parties[i].size() > parties[static_cast<size_t>(garde)].size()))
        garde = static_cast<int32_t>(i);
  }
  for (size_t i = 0; i < k; ++i) {
    if (Racine(static_cast<int32_t>(i)) != static_cast<int32_t>(i) ||
        static_cast<int32_t>(i) == garde)
      continue;
    const int32_t nouveau = prochainNom++;
    for (const int32_t g : parties[i]) {
      noms[static_cast<size_t>(g)] = nouveau;
      renommes.push_back(g);
    }
    taille[nouveau] = static_cast<int32_t>(parties[i].size());
    taille[nom] -= static_cast<int32_t>(parties[i].size());
  }
}

void SuiviVerification::Etat::Joint(Couche& L, bool nets, const std::vector<int32_t>& venus,
                                    std::vector<int32_t>& renommes, Travail& travail) {
  std::vector<int32_t>& noms = nets ? L.nomR : L.nomV;
  std::unordered_map<int32_t, int32_t>& taille = nets ? L.tailleR : L.tailleV;
  const uint8_t genre = nets ? 2 : 1;
  std::vector<int32_t> touches, file;
  for (const int32_t g : venus) {
    if (!Prend(L, nets, g)) continue;
    touches.clear();
    for (const Arete& a : L.aretes[static_cast<size_t>(g)]) {
      if (!(a.genre & genre) || !Prend(L, nets, a.g)) continue;
      const int32_t n = noms[static_cast<size_t>(a.g)];
      if (n >= 0 && std::find(touches.begin(), touches.end(), n) == touches.end())
        touches.push_back(n);
    }
    if (touches.empty()) {
      const int32_t n = prochainNom++;
      noms[static_cast<size_t>(g)] = n;
      taille[n] = 1;
      renommes.push_back(g);
      continue;
    }
    int32_t choisi = touches[0];
    for (const int32_t n : touches)
      if (taille[n] > taille[choisi] || (taille[n] == taille[choisi] && n < choisi)) choisi = n;
    for (const int32_t n : touches) {
      if (n == choisi) continue;
      // The smaller piece named again, from an element of it next to g.
      int32_t depart = -1;
      for (const Arete& a : L.aretes[static_cast<size_t>(g)])
        if ((a.genre & genre) && Prend(L, nets, a.g) && noms[static_cast<size_t>(a.g)] == n)
          depart = a.g;
      file.assign(1, depart);
      noms[static_cast<size_t>(depart)] = choisi;
      for (size_t u = 0; u < file.size(); ++u) {
        const int32_t x = file[u];
        ++travail.Parcourus;
        renommes.push_back(x);
        for (const Arete& a : L.aretes[static_cast<size_t>(x)]) {
          if (!(a.genre & genre) || noms[static_cast<size_t>(a.g)] != n || !Prend(L, nets, a.g))
            continue;
          noms[static_cast<size_t>(a.g)] = choisi;
          file.push_back(a.g);
        }
      }
      taille[choisi] += taille[n];
      taille.erase(n);
    }
    noms[static_cast<size_t>(g)] = choisi;
    ++taille[choisi];
    renommes.push_back(g);
  }
}

void SuiviVerification::Etat::Bouts(Couche& L, int32_t k, Travail& travail) {
  const Forme& piste = L.formes[static_cast<size_t>(k)];
  for (int cote = 0; cote < 2; ++cote) {
    L.bouts.erase(static_cast<int64_t>(k) * 2 + cote);
    Point2 e, direction;
    Forme cap;
    if (!interne::BoutDePiste(piste, cote, e, direction, cap)) continue;
    const int32_t morceau = L.nomR[static_cast<size_t>(piste.groupe)];
    if (morceau < 0) continue;
    ++travail.Bouts;
    std::vector<int32_t> voisins;
    Voisins(L, cap, [&](int32_t t) { voisins.push_back(t); });
    travail.Paires += static_cast<int64_t>(voisins.size());
    // Of identical shapes, the one plotted first alone.
    std::sort(voisins.begin(), voisins.end(), [&](int32_t p, int32_t q) {
      const int v = Compare(L.formes[static_cast<size_t>(p)], L.formes[static_cast<size_t>(q)]);
      return v != 0 ? v < 0 : Avant(L, p, q);
    });
    double meilleurEcart = -1;
    int32_t meilleure = -1;
    Point2 milieu;
    for (size_t u = 0; u < voisins.size(); ++u) {
      const int32_t t = voisins[u];
      const Forme& s = L.formes[static_cast<size_t>(t)];
      if (u > 0 && Compare(L.formes[static_cast<size_t>(voisins[u - 1])], s) == 0) continue;
      const double devant = (direction.x > 0 ? s.xmax : s.xmin) * direction.x +
                            (direction.y > 0 ? s.ymax : s.ymin) * direction.y -
                            Scalaire(e, direction);
      if (devant <= 0) continue;
      if (L.nomR[static_cast<size_t>(s.groupe)] != morceau) continue;
      const Ecart ec = Mesure(cap, s);
      if (ec.ecart <= kTolerance || !(ec.ecart < isolement - kTolerance)) continue;
      const Point2 vers = ec.pb - cap.a;
      if (Scalaire(vers, direction) <= 0.5 * Norme(vers)) continue;
      if (meilleurEcart >= 0 &&
          (meilleurEcart < ec.ecart || (meilleurEcart == ec.ecart && Avant(L, meilleure, t))))
        continue;
      const double lv = Norme(vers);
      meilleurEcart = ec.ecart;
      meilleure = t;
      milieu = lv > 0 ? cap.a + vers * ((cap.r + ec.ecart / 2) / lv) : cap.a;
    }
    if (meilleurEcart < 0) continue;
    Defaut d;
    d.Genre = GenreDefaut::ExtremiteMemeNet;
    d.Couche = L.masque;
    d.X = milieu.x;
    d.Y = milieu.y;
    d.Distance = meilleurEcart * kMmParUnite;
    L.bouts.emplace(static_cast<int64_t>(k) * 2 + cote, d);
  }
}

bool SuiviVerification::Construit(const Circuit& c, const OptionsVerification& o) {
  e_.reset();
  travail_ = {};
  if (o.SansIndex || PlotLie(c)) return false;
  auto e = std::make_unique<Etat>();
  e->o = o;
  const bool isolementValide = std::isfinite(o.IsolementMm) && o.IsolementMm > 0;
  e->isolement = isolementValide ? o.IsolementMm / kMmParUnite : 0;
  e->portee = e->isolement;
  if (std::isfinite(o.PorteeMm) && o.PorteeMm / kMmParUnite > e->portee)
    e->portee = o.PorteeMm / kMmParUnite;
  e->m = e->portee / 2;
  const uint8_t masques[3] = {kMasqueFace1, kMasqueFace2, kMasqueImplantation};
  // The cell: two and a half times the median size of the copper's widened boxes.
  std::vector<int32_t> tailles(1025, 0);
  size_t total = 0;
  for (int k = 0; k < 3; ++k) {
    e->couches[k].masque = masques[k];
    e->couches[k].cuivre = k < 2;
    if (k == 2) continue;
    for (const Forme& f : LitCouche(c, masques[k], o.Pastilles).formes) {
      ++tailles[static_cast<size_t>(
          std::clamp(std::max(f.xmax - f.xmin, f.ymax - f.ymin) + 2 * e->m, 0.0, 1024.0))];
      ++total;
    }
  }
  size_t mediane = 0;
  for (size_t vus = tailles[0]; vus * 2 < total && mediane < 1024; vus += tailles[++mediane]) {
  }
  e->pas = std::max(2.5 * static_cast<double>(mediane + 1), 8.0);
  e->formesLues = static_cast<int64_t>(total);
  e_ = std::move(e);
  const std::vector<ElementCI> vide;
  if (!Applique(c, vide, 1, 0, c.NbElements)) return false;
  return true;
}

bool SuiviVerification::Applique(const Circuit& c, const std::vector<ElementCI>& avant,
                                 int32_t debut, int32_t anciens, int32_t nouveaux) {
  travail_ = {};
  if (!e_) return false;
  Etat& E = *e_;
  const int32_t n = c.NbElements, m = static_cast<int32_t>(avant.size());
  const bool construction = m == 0 && debut == 1 && anciens == 0;
  auto Abandonne = [&] {
    e_.reset();
    return false;
  };
  if (!construction && static_cast<int64_t>(anciens) + nouveaux > std::max<int64_t>(2048, n / 8))
    return Abandonne();
  // The records read again: the step's, widened to whole elements in both stores.
  int32_t s = debut, fa = debut + anciens, fn = debut + nouveaux;
  const ElementCI* ancien = avant.data();
  const ElementCI* nouveau = c.Elements.data() + 1;
  while (s > 1 && (Suite(ancien, m, s) || Suite(nouveau, n, s))) --s;
  while ((fa <= m || fn <= n) && (Suite(ancien, m, fa) || Suite(nouveau, n, fn))) {
    ++fa;
    ++fn;
  }
  // Only the records around the step can join the plotting of one element to the next: the
  // store before it had none.
  if (!construction && PlotLie(c, s - 1, fn)) return Abandonne();
  auto Propre = [](const ElementCI& e) {
    return (e.Couche == 1 || e.Couche == 2) && (EstPiste(e.Code) || EstTexte(e.Code));
  };
  for (int32_t r = s; r < fa; ++r)
    if (Propre(ancien[r - 1])) --E.propres[ancien[r - 1].Couche];
  for (int32_t r = s; r < fn; ++r)
    if (Propre(nouveau[r - 1])) ++E.propres[nouveau[r - 1].Couche];
  const int32_t decalage = fn - fa;
  travail_.Relus = fn - s;
  E.limite = construction ? 64 * E.formesLues + 100000
                          : 2000 * static_cast<int64_t>(fn - s + fa - s) + 200000;

  for (int k = 0; k < 3; ++k) {
    Etat::Couche& L = E.couches[k];
    L.groupeDe.resize(static_cast<size_t>(std::max(m, 0)) + 2, -1);
    // The elements of the old records go, with all they were part of.
    std::vector<int32_t> partis;
    for (int32_t r = s; r < fa; ++r) {
      const int32_t g = L.groupeDe[static_cast<size_t>(r)];
      if (g >= 0 && (partis.empty() || partis.back() != g)) partis.push_back(g);
    }
    std::sort(partis.begin(), partis.end());
    partis.erase(std::unique(partis.begin(), partis.end()), partis.end());
    // The pieces the elements that go were part of, and the elements that touched them.
    std::unordered_map<int32_t, std::vector<int32_t>> grainesV, grainesR;
    std::vector<int32_t> renommes;
    std::vector<Forme> anciennes;  // the shapes that went, for the ends around them
    for (const int32_t g : partis) {
      const Groupe& gr = L.groupes[static_cast<size_t>(g)];
      if (gr.indice < s || gr.dernier >= fa) return Abandonne();
      for (const int32_t f : L.formesDe[static_cast<size_t>(g)]) {
        const Forme& forme = L.formes[static_cast<size_t>(f)];
        if (L.cuivre) {
          E.PourChaqueCase(forme, [&](int64_t cle) {
            std::vector<Etat::Entree>& v = L.cases[cle];
            const auto it = std::find_if(v.begin(), v.end(),
                                         [&](const Etat::Entree& x) { return x.forme == f; });
            if (it != v.end()) {
              *it = v.back();
              v.pop_back();
            }
            if (v.empty()) L.cases.erase(cle);
          });
          anciennes.push_back(forme);
          L.bouts.erase(static_cast<int64_t>(f) * 2);
          L.bouts.erase(static_cast<int64_t>(f) * 2 + 1);
        }
        if (L.cuivre && forme.nature == Nature::Piste) {
          const auto it = E.rayons.find(forme.r);
          if (it != E.rayons.end() && --it->second == 0) E.rayons.erase(it);
        }
        L.vivante[static_cast<size_t>(f)] = 0;
        L.libresF.push_back(f);
        --L.nombreFormes;
      }
      L.formesDe[static_cast<size_t>(g)].clear();
      if (L.cuivre) {
        const int32_t nv = L.nomV[static_cast<size_t>(g)], nr = L.nomR[static_cast<size_t>(g)];
        if (nv >= 0 && --L.tailleV[nv] == 0) L.tailleV.erase(nv);
        if (nr >= 0 && --L.tailleR[nr] == 0) L.tailleR.erase(nr);
        for (const Etat::Arete& a : L.aretes[static_cast<size_t>(g)]) {
          if (nv >= 0 && (a.genre & 1)) grainesV[nv].push_back(a.g);
          if (nr >= 0 && (a.genre & 2)) grainesR[nr].push_back(a.g);
          std::vector<Etat::Arete>& v = L.aretes[static_cast<size_t>(a.g)];
          for (size_t u = 0; u < v.size(); ++u)
            if (v[u].g == g) {
              v[u] = v.back();
              v.pop_back();
              break;
            }
        }
        L.aretes[static_cast<size_t>(g)].clear();
        for (const int32_t id : L.candidatsDe[static_cast<size_t>(g)]) {
          Etat::Candidat& k2 = L.candidats[static_cast<size_t>(id)];
          const int32_t autre = k2.ga == g ? k2.gb : k2.ga;
          std::vector<int32_t>& v = L.candidatsDe[static_cast<size_t>(autre)];
          const auto it = std::find(v.begin(), v.end(), id);
          if (it != v.end()) {
            *it = v.back();
            v.pop_back();
          }
          k2.a = k2.b = -1;
          L.libresC.push_back(id);
        }
        L.candidatsDe[static_cast<size_t>(g)].clear();
        L.nomV[static_cast<size_t>(g)] = L.nomR[static_cast<size_t>(g)] = -1;
      }
      if (gr.xmin <= gr.xmax && (gr.xmin <= E.etendue.Gauche || gr.ymin <= E.etendue.Bas ||
                                 gr.xmax >= E.etendue.Droite || gr.ymax >= E.etendue.Haut))
        E.etendueAJour = false;
      E.dehors[k].erase(g);
      if (k < 2) E.bords[k].erase(g);
      L.groupes[static_cast<size_t>(g)] = Groupe{};
      L.groupes[static_cast<size_t>(g)].indice = -1;
      L.libresG.push_back(g);
    }
    for (auto& [nom, graines] : grainesV) E.Coupe(L, false, nom, graines, renommes, travail_);
    renommes.clear();
    for (auto& [nom, graines] : grainesR) E.Coupe(L, true, nom, graines, renommes, travail_);
    // The elements after the step move with their records.
    if (decalage != 0) {
      for (Groupe& gr : L.groupes)
        if (gr.indice >= fa) {
          gr.indice += decalage;
          gr.dernier += decalage;
        }
    }
    L.groupeDe.erase(L.groupeDe.begin() + s, L.groupeDe.begin() + fa);
    L.groupeDe.insert(L.groupeDe.begin() + s, static_cast<size_t>(fn - s), -1);
    L.groupeDe.resize(static_cast<size_t>(n) + 2, -1);

    // The new records read, their elements put in.
    const Geometrie lue =
        LitIndices(c, CollecteIndicesGerber(c, L.masque, s, fn - 1), E.o.Pastilles);
    std::vector<int32_t> places(lue.groupes.size());
    for (size_t u = 0; u < lue.groupes.size(); ++u) {
      int32_t g;
      if (!L.libresG.empty()) {
        g = L.libresG.back();
        L.libresG.pop_back();
      } else {
        g = static_cast<int32_t>(L.groupes.size());
        L.groupes.emplace_back();
        L.cle.push_back(0);
        L.conductrice.push_back(0);
        L.formesDe.emplace_back();
        if (L.cuivre) {
          L.aretes.emplace_back();
          L.candidatsDe.emplace_back();
          L.nomV.push_back(-1);
          L.nomR.push_back(-1);
        }
      }
      const Groupe& gr = lue.groupes[u];
      L.groupes[static_cast<size_t>(g)] = gr;
      const ElementCI& premier = c.Elements[gr.indice];
      L.cle[static_cast<size_t>(g)] = static_cast<int8_t>(CleTrace(premier, L.masque));
      L.conductrice[static_cast<size_t>(g)] =
          !EstPastille(premier.Code) || PastilleConductrice(premier.Code);
      for (int32_t r = gr.indice; r <= gr.dernier; ++r) L.groupeDe[static_cast<size_t>(r)] = g;
      places[u] = g;
      E.aRevoir[k].push_back(g);
      if (gr.xmin <= gr.xmax) {
        BoiteTracee& b = E.etendue;
        if (b.Vide) {
          b = {gr.xmin, gr.ymin, gr.xmax, gr.ymax, false};
        } else {
          b.Gauche = std::min(b.Gauche, gr.xmin);
          b.Bas = std::min(b.Bas, gr.ymin);
          b.Droite = std::max(b.Droite, gr.xmax);
          b.Haut = std::max(b.Haut, gr.ymax);
        }
      }
    }
    std::vector<int32_t> nouvelles;
    int32_t rang = 0, precedent = -1;
    for (const Forme& lf : lue.formes) {
      int32_t f;
      if (!L.libresF.empty()) {
        f = L.libresF.back();
        L.libresF.pop_back();
      } else {
        f = static_cast<int32_t>(L.formes.size());
        L.formes.emplace_back();
        L.rang.push_back(0);
        L.vivante.push_back(0);
      }
      Forme& forme = L.formes[static_cast<size_t>(f)];
      forme = lf;
      forme.groupe = places[static_cast<size_t>(lf.groupe)];
      rang = lf.groupe == precedent ? rang + 1 : 0;
      precedent = lf.groupe;
      L.rang[static_cast<size_t>(f)] = rang;
      L.vivante[static_cast<size_t>(f)] = 1;
      L.formesDe[static_cast<size_t>(forme.groupe)].push_back(f);
      if (L.cuivre && forme.nature == Nature::Piste) ++E.rayons[forme.r];
      ++L.nombreFormes;
      nouvelles.push_back(f);
    }
    if (!L.cuivre) continue;
    // Each new shape measured against the copper around it, then put in the grid (two new
    // shapes once).
    if (L.jointes.size() < L.groupes.size()) L.jointes.resize(L.groupes.size(), 0);
    int32_t groupeCourant = -1, marqueJointes = 0;
    for (const int32_t f : nouvelles) {
      const Forme& S = L.formes[static_cast<size_t>(f)];
      if (S.groupe != groupeCourant) {
        groupeCourant = S.groupe;
        marqueJointes = ++L.marqueJointes;
      }
      E.Voisins(
          L, S,
          [&](int32_t t) {
            ++travail_.Paires;
            const Forme& T = L.formes[static_cast<size_t>(t)];
            if (T.groupe == S.groupe) return;
            // The check compares the shapes whose boxes widened by half the reach overlap; the nets
            // those whose boxes overlap.
            const bool proches = Chevauchent(S, T, E.m);
            const bool touchent =
                !(S.xmin > T.xmax || T.xmin > S.xmax || S.ymin > T.ymax || T.ymin > S.ymax);
            if (!proches && !touchent) return;
            // Two elements already known to touch both ways: nothing more to learn from their
            // shapes (a gap between them is never a fault while both are there).
            if (L.jointes[static_cast<size_t>(T.groupe)] == marqueJointes) return;
            const bool sAvant = Etat::Avant(L, f, t);
            const int32_t a = sAvant ? f : t, b = sAvant ? t : f;
            const Forme& A = L.formes[static_cast<size_t>(a)];
            const Forme& B = L.formes[static_cast<size_t>(b)];
            const Ecart ec = Mesure(A, B);
            if (ec.ecart <= kTolerance) {
              const uint8_t genre = static_cast<uint8_t>((proches ? 1 : 0) | (touchent ? 2 : 0));
              for (const int g : {S.groupe, T.groupe}) {
                const int32_t h = g == S.groupe ? T.groupe : S.groupe;
                std::vector<Etat::Arete>& v = L.aretes[static_cast<size_t>(g)];
                auto it = std::find_if(v.begin(), v.end(),
                                       [&](const Etat::Arete& x) { return x.g == h; });
                uint8_t tout = genre;
                if (it == v.end()) {
                  v.push_back({h, genre});
                } else {
                  tout = it->genre |= genre;
                }
                if (g == S.groupe && tout == 3) L.jointes[static_cast<size_t>(h)] = marqueJointes;
              }
              return;
            }
            if (!proches || !(E.portee > 0) || !(ec.ecart < E.portee + kTolerance)) return;
            int32_t id;
            if (!L.libresC.empty()) {
              id = L.libresC.back();
              L.libresC.pop_back();
            } else {
              id = static_cast<int32_t>(L.candidats.size());
              L.candidats.emplace_back();
            }
            Etat::Candidat& k2 = L.candidats[static_cast<size_t>(id)];
            k2.a = a;
            k2.b = b;
            k2.ga = A.groupe;
            k2.gb = B.groupe;
            k2.ecart = ec.ecart;
            k2.fautif = ec.ecart < E.isolement - kTolerance;
            if (k2.fautif) k2.d = interne::DefautDePaire(A, B, L.masque);
            L.candidatsDe[static_cast<size_t>(S.groupe)].push_back(id);
            L.candidatsDe[static_cast<size_t>(T.groupe)].push_back(id);
          },
          S.groupe);
      if (travail_.Paires > E.limite) return Abandonne();
      const Etat::Entree entree = E.EntreeDe(f, S);
      E.PourChaqueCase(S, [&](int64_t cle) { L.cases[cle].push_back(entree); });
    }
    // The pieces the step touched, followed; the ends around what changed searched again.
    if (E.portee > 0) {
      std::vector<int32_t> autres;
      E.Joint(L, false, places, autres, travail_);
    }
    E.Joint(L, true, places, renommes, travail_);
    if (!(E.isolement > 0)) continue;
    std::vector<int32_t> pistes;
    if (L.vu.size() < L.formes.size()) L.vu.resize(L.formes.size(), 0);
    std::vector<char> choisie(L.formes.size(), 0);
    auto Piste = [&](int32_t t) {
      const Forme& f = L.formes[static_cast<size_t>(t)];
      if (f.nature != Nature::Piste || f.n > 0 || choisie[static_cast<size_t>(t)]) return;
      choisie[static_cast<size_t>(t)] = 1;
      pistes.push_back(t);
    };
    auto Autour = [&](const Forme& f) {
      E.Voisins(L, f, [&](int32_t t) {
        ++travail_.Paires;
        Piste(t);
      });
    };
    if (construction) {
      // Every end searched: no need to look for those around what changed.
      for (size_t f = 0; f < L.formes.size(); ++f)
        if (L.vivante[f]) Piste(static_cast<int32_t>(f));
    } else {
      for (const Forme& f : anciennes) Autour(f);
      for (const int32_t g : renommes)
        for (const int32_t f : L.formesDe[static_cast<size_t>(g)]) {
          Piste(f);
          Autour(L.formes[static_cast<size_t>(f)]);
        }
      for (const int32_t f : nouvelles) {
        Piste(f);
        Autour(L.formes[static_cast<size_t>(f)]);
      }
    }
    for (const int32_t t : pistes) E.Bouts(L, t, travail_);
    if (travail_.Paires > E.limite) return Abandonne();
  }
  return true;
}

ResultatVerification SuiviVerification::Resultat(const Circuit& c) {
  ResultatVerification r;
  if (!e_) return r;
  Etat& E = *e_;  // what is kept brought up to date
  const OptionsVerification& o = E.o;
  r.PairesExaminees = travail_.Paires;
  // The faults between pieces, one per pair of pieces and kind at the narrowest place.
  if (E.portee > 0) {
    for (int k = 0; k < 2; ++k) {
      const Etat::Couche& L = E.couches[k];
      std::unordered_map<uint64_t, size_t> parPaire;
      std::vector<Defaut> defauts;
      for (const Etat::Candidat& k2 : L.candidats) {
        if (k2.a < 0) continue;
        const int32_t ra = L.nomV[static_cast<size_t>(k2.ga)];
        const int32_t rb = L.nomV[static_cast<size_t>(k2.gb)];
        if (ra == rb) continue;
        const double mm = k2.ecart * kMmParUnite;
        if (r.EcartMinimalMm < 0 || mm < r.EcartMinimalMm) r.EcartMinimalMm = mm;
        if (!k2.fautif) continue;
        const uint64_t cle = (static_cast<uint64_t>(std::min(ra, rb)) << 33) |
                             (static_cast<uint64_t>(std::max(ra, rb)) << 1) |
                             (k2.d.Genre == GenreDefaut::ExtremitePiste ? 1u : 0u);
        const auto [it, nouveau] = parPaire.emplace(cle, defauts.size());
        if (nouveau) {
          defauts.push_back(k2.d);
        } else if (interne::Avant(k2.d, defauts[it->second])) {
          defauts[it->second] = k2.d;
        }
      }
      r.Defauts.insert(r.Defauts.end(), defauts.begin(), defauts.end());
    }
  }
  if (E.portee > 0 && !E.rayons.empty())
    r.PisteMinimaleMm = 2 * E.rayons.begin()->first * kMmParUnite;
  interne::VerifiePercages(c, o.Pastilles, r.Defauts);
  interne::Couronnes(c, o, r.Defauts);
  interne::TrousSansCuivre(c, r.Defauts);
  const std::array<bool, 3> faites = E.Faites();
  if (!E.etendueAJour) {
    E.etendue = BoiteTracee{};
    for (const Etat::Couche& L : E.couches)
      for (const Groupe& gr : L.groupes) {
        if (gr.indice < 0 || gr.xmin > gr.xmax) continue;
        interne::Etend(E.etendue, gr);
      }
    E.etendueAJour = true;
  }
  // The faults by element found again for the elements put in, or for all when the outline or
  // the surface moved; each record once, the first layer's first.
  const double sx = c.EnteteCI.SurfaceX, sy = c.EnteteCI.SurfaceY;
  const bool surface = sx != E.sx || sy != E.sy;
  E.sx = sx;
  E.sy = sy;
  ContourCarte contour;
  const bool bords = Valide(o.BordMm);
  if (bords) contour = CalculeContour(c, o.Contour, o.MargeContourMm, E.etendue);
  const bool autreContour =
      bords &&
      (!E.contourLu || contour.Gauche != E.contour.Gauche || contour.Bas != E.contour.Bas ||
       contour.Droite != E.contour.Droite || contour.Haut != E.contour.Haut);
  E.contour = contour;
  E.contourLu = bords;
  for (int k = 0; k < 3; ++k) {
    const Etat::Couche& L = E.couches[k];
    auto Revoit = [&](int32_t g) {
      const Groupe& gr = L.groupes[static_cast<size_t>(g)];
      E.dehors[k].erase(g);
      if (k < 2) E.bords[k].erase(g);
      if (gr.indice < 0) return;
      Defaut d;
      if (interne::HorsContour(gr, sx, sy, d)) E.dehors[k].emplace(g, d);
      if (k < 2 && bords && gr.xmin <= gr.xmax && L.conductrice[static_cast<size_t>(g)] &&
          interne::Bord(gr, contour, o, d))
        E.bords[k].emplace(g, d);
    };
    if (surface || autreContour) {
      E.dehors[k].clear();
      if (k < 2) E.bords[k].clear();
      for (size_t g = 0; g < L.groupes.size(); ++g) Revoit(static_cast<int32_t>(g));
    } else {
      for (const int32_t g : E.aRevoir[k]) Revoit(g);
    }
    E.aRevoir[k].clear();
  }
  std::unordered_set<int32_t> signales;
  std::vector<int32_t> couche;
  auto Signale = [&](const std::unordered_map<int32_t, Defaut>& faits, const Etat::Couche& L) {
    couche.clear();
    for (const auto& [g, d] : faits) {
      const int32_t i = L.groupes[static_cast<size_t>(g)].indice;
      if (signales.count(i)) continue;
      couche.push_back(i);
      r.Defauts.push_back(d);
    }
    signales.insert(couche.begin(), couche.end());
  };
  if (bords) {
    for (int face = 1; face <= 2; ++face)
      if (faites[static_cast<size_t>(face)]) Signale(E.bords[face - 1], E.couches[face - 1]);
  }
  if (Valide(o.IsolementMm)) {
    for (int face = 1; face <= 2; ++face) {
      if (!faites[static_cast<size_t>(face)]) continue;
      for (const auto& [cle, d] : E.couches[face - 1].bouts) r.Defauts.push_back(d);
    }
  }
  signales.clear();
  for (int k = 0; k < 3; ++k) Signale(E.dehors[k], E.couches[k]);
  interne::TrieDefauts(r.Defauts);
  return r;
}

Equipotentielles SuiviVerification::Nets(const Circuit& c,
                                         const std::vector<int32_t>& nonMetallises) const {
  Equipotentielles r;
  if (!e_) return r;
  const Etat& E = *e_;
  const std::array<bool, 3> faites = E.Faites();
  const size_t n = static_cast<size_t>(c.NbElements) + 1;
  // Each face's pieces numbered by element (a text's end record with its letters); the
  // elements of a piece joined.
  std::vector<int32_t> piece[3];
  int32_t base[3] = {0, 0, 0}, total = 0;
  for (int face = 1; face <= 2; ++face) {
    base[face] = total;
    if (!faites[static_cast<size_t>(face)]) continue;
    const Etat::Couche& L = E.couches[face - 1];
    piece[face].assign(n, -1);
    for (size_t g = 0; g < L.groupes.size(); ++g) {
      const Groupe& gr = L.groupes[g];
      if (gr.indice < 0 || !L.conductrice[g]) continue;
      const int32_t fin = interne::FinDuGroupe(c, gr);
      for (int32_t i = gr.indice; i <= fin; ++i)
        piece[face][static_cast<size_t>(i)] = total + static_cast<int32_t>(g);
    }
    total += static_cast<int32_t>(L.groupes.size());
  }
  Ensembles ensembles(static_cast<size_t>(total));
  for (int face = 1; face <= 2; ++face) {
    if (!faites[static_cast<size_t>(face)]) continue;
    const Etat::Couche& L = E.couches[face - 1];
    std::vector<int32_t> premier(static_cast<size_t>(E.prochainNom), -1);  // by name
    for (size_t g = 0; g < L.groupes.size(); ++g) {
      if (L.groupes[g].indice < 0 || !L.conductrice[g] || L.nomR[g] < 0) continue;
      const int32_t p = base[face] + static_cast<int32_t>(g);
      int32_t& q = premier[static_cast<size_t>(L.nomR[g])];
      if (q < 0) {
        q = p;
      } else {
        ensembles.Unit(p, q);
      }
    }
  }
  NommeEquipotentielles(r, c, piece, total, ensembles, faites, nonMetallises, true);
  return r;
}

}  // namespace korv4
