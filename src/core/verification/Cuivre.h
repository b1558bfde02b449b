#pragma once

#include <cmath>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include "model/Circuit.h"
#include "render/Traceur.h"

// The copper of a face as the Gerber files draw it, read from the plotting into shapes (tracks
// at their width, pads at their aperture's shape, copper texts and pins as their strokes), with
// the measure of the gap between two shapes and the search for the pairs of shapes that come
// close: what the isolation check, the nets and the other checks of the copper share. Internal
// to the verification folder.

namespace korv4::cuivre {

constexpr double kMmParUnite = 0.0254;
// Below this (in units, a millionth of an inch... and less), two pieces touch; a gap within it
// of the clearance is equal to the clearance.
constexpr double kTolerance = 1e-6;

struct Point2 {
  double x = 0, y = 0;
};
inline Point2 operator-(Point2 a, Point2 b) { return {a.x - b.x, a.y - b.y}; }
inline Point2 operator+(Point2 a, Point2 b) { return {a.x + b.x, a.y + b.y}; }
inline Point2 operator*(Point2 a, double k) { return {a.x * k, a.y * k}; }
inline double Scalaire(Point2 a, Point2 b) { return a.x * b.x + a.y * b.y; }
inline double Vectoriel(Point2 a, Point2 b) { return a.x * b.y - a.y * b.x; }
inline double Norme(Point2 a) { return std::sqrt(Scalaire(a, a)); }

// What a shape of the copper is.
enum class Nature : uint8_t { Piste, Pastille, Autre };

// A shape: a segment a-b thickened by r (a capsule; a == b for a disc), or a convex polygon of
// n corners (a pad: a rectangle or an octagon of centre a, b holding its width and height, its
// corners computed when measured rather than kept, see Sommets). Its box, widened by half the
// reach, places it in the grid.
struct Forme {
  Point2 a, b;
  double r = 0;
  int32_t groupe = 0;  // the piece it belongs to before any touching is looked at
  int8_t n = 0;        // 4 a rectangle, 8 an octagon, 0 a capsule
  Nature nature = Nature::Autre;
  bool extremiteA = false, extremiteB = false;  // a, b end a track
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

// An element as the plotting drew it: the store records it spans, and its box.
struct Groupe {
  int32_t indice = 0;
  int32_t dernier = 0;  // its last record: the element is the run indice..dernier
  uint8_t couche = 0;
  double xmin = 1e300, ymin = 1e300, xmax = -1e300, ymax = -1e300;
};

class Index;

struct Geometrie {
  std::vector<Forme> formes;
  std::vector<Groupe> groupes;
  // The index of its shapes once a search has built it (IndexDe).
  mutable std::shared_ptr<const Index> index;
};

// The shapes of one layer (kMasqueFace1, kMasqueFace2, kMasqueImplantation), one group per
// element of the collected layer.
Geometrie LitCouche(const Circuit& c, uint8_t masque, StylePastilles style);
// The shapes of the collected records `indices` (CollecteIndicesGerber), plotted as a list.
Geometrie LitIndices(const Circuit& c, const std::vector<int32_t>& indices, StylePastilles style);

// Closest points of the segments p1-q1 and p2-q2: their squared distance, the parameters s, t
// along each and the points c1, c2.
double SegmentSegment(Point2 p1, Point2 q1, Point2 p2, Point2 q2, double& s, double& t, Point2& c1,
                      Point2& c2);

// The corners of a polygon shape (f.n of them, anticlockwise from the lower left for a
// rectangle, from 22.5 degrees for an octagon) into q; returns f.n.
int32_t Sommets(const Forme& f, Point2 q[8]);

// Inside or on the convex polygon (either turning direction).
bool DansPolygone(const Point2* q, int32_t n, Point2 p);

// The gap between two shapes (<= 0 when they touch or overlap), with the closest points of
// their cores (the segment or the polygon).
struct Ecart {
  double ecart = 0;
  Point2 pa, pb;
};
Ecart Mesure(const Geometrie& g, const Forme& A, const Forme& B);
Ecart Mesure(const Forme& A, const Forme& B);

// Union-find over pieces of copper: each set is named by its smallest member.
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

// The spatial index of the copper: a uniform grid whose cell is two and a half times the usual
// size of a shape's box widened by the reach, so that a shape lies in a few cells and a cell
// holds a few shapes (as many as the copper packed there, whatever the spread of the board);
// only the cells that hold something are kept when the copper is gathered in places on a
// large surface. A pad lies in the cells of its widened box; a stroke only in the cells that
// come within its half width and half the reach of its segment (a long slanted track crosses
// a row of cells, not the square of its box). Two shapes within reach of each other share at
// least the cell of the middle of their gap.

// Calls visite(contexte, a, b) once for every pair of shapes a < b of different groups whose
// boxes, widened by half the reach (in units) each, overlap; with `sondes` >= 0, only the pairs
// of a shape a < sondes and a probe b >= sondes (the shapes near each probe, however many
// shapes crowd elsewhere). Copper stacked in one place makes as many pairs as it has: for the
// pieces of touching copper, MorceauxProchesDe below.
using VisitePaire = void (*)(void* contexte, int32_t a, int32_t b);
void PairesProchesDe(const std::vector<Forme>& formes, double portee, VisitePaire visite,
                     void* contexte, int32_t sondes = -1);

// The same with any callable f(a, b).
template <typename F>
void PairesProchesDe(const std::vector<Forme>& formes, double portee, F&& f, int32_t sondes = -1) {
  PairesProchesDe(
      formes, portee,
      [](void* contexte, int32_t a, int32_t b) {
        (*static_cast<std::remove_reference_t<F>*>(contexte))(a, b);
      },
      &f, sondes);
}

// Pieces of touching copper through the index. Morceau(groupe) names a group's piece at the
// time (a union-find's root), or is negative for a group that takes no part; Paire(a, b)
// measures two shapes a < b of different pieces whose widened boxes overlap, joins their pieces
// when they touch and says whether they are now one piece (it may also keep the gap). Every
// pair of shapes of different pieces whose widened boxes overlap is given at least once (a
// pair sharing several cells perhaps in each); a shape is measured against the shapes of the
// other pieces of its cell only, up to the first that it touches, so copper stacked or packed
// in one place costs about one measure a shape, not one a pair. Returns the number of pairs of
// boxes compared (the search's work, a few times the number of shapes on any board).
class VisiteurMorceaux {
 public:
  virtual int32_t Morceau(int32_t groupe) = 0;
  virtual bool Paire(int32_t a, int32_t b) = 0;

 protected:
  ~VisiteurMorceaux() = default;
};
int64_t MorceauxProchesDe(const std::vector<Forme>& formes, double portee, VisiteurMorceaux& v);

// The index of a face's shapes for searches up to the reach `portee` (units): built at the
// first call and kept in g, so that the check, the nets and the rules that read the same face
// index it once; a search of a smaller reach uses it as it is (its pairs are then a few more:
// each search keeps its own test of distance).
const Index& IndexDe(const Geometrie& g, double portee);
// An index of shapes of one's own (the boxes and groups copied: `formes` may then go).
std::shared_ptr<const Index> IndexDesFormes(const std::vector<Forme>& formes, double portee);
// MorceauxProchesDe over a face's index (the reach is the index's).
int64_t MorceauxProchesDe(const Index& index, VisiteurMorceaux& v);
// Calls voisin(contexte, a) once for each shape a whose box overlaps the box of `sonde`, both
// widened by half the index's reach.
using VisiteVoisin = void (*)(void* contexte, int32_t a);
void VoisinsDe(const Index& index, const Forme& sonde, VisiteVoisin voisin, void* contexte);
template <typename F>
void VoisinsDe(const Index& index, const Forme& sonde, F&& f) {
  VoisinsDe(
      index, sonde,
      [](void* contexte, int32_t a) { (*static_cast<std::remove_reference_t<F>*>(contexte))(a); },
      &f);
}

// The same with callables morceau(groupe) and paire(a, b).
template <typename M, typename P>
struct VisiteurDe final : VisiteurMorceaux {
  M& m;
  P& p;
  VisiteurDe(M& m_, P& p_) : m(m_), p(p_) {}
  int32_t Morceau(int32_t groupe) override { return m(groupe); }
  bool Paire(int32_t a, int32_t b) override { return p(a, b); }
};
template <typename M, typename P>
int64_t MorceauxProchesDe(const std::vector<Forme>& formes, double portee, M&& morceau, P&& paire) {
  VisiteurDe<std::remove_reference_t<M>, std::remove_reference_t<P>> v(morceau, paire);
  return MorceauxProchesDe(formes, portee, v);
}
template <typename M, typename P>
int64_t MorceauxProchesDe(const Index& index, M&& morceau, P&& paire) {
  VisiteurDe<std::remove_reference_t<M>, std::remove_reference_t<P>> v(morceau, paire);
  return MorceauxProchesDe(index, v);
}

}  // namespace korv4::cuivre
