#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Circuit.h"
#include "render/Traceur.h"

// The nets of the copper: which pads, tracks and copper texts are joined, as the board will be
// made. Copper of one face that touches or overlaps is joined (shapes as the Gerber files draw
// them); a pad with a plated hole joins its copper of face 1 to its copper of face 2; a pad
// without a hole is two pieces, one on each face, that only what touches them joins. Pads
// without copper (spare diameter, a bare hole) and centring targets join nothing and belong to
// no net. A board whose face 2 holds no copper but pads (a single-sided board) is made with
// one copper layer: its pads count on face 1 only (face 2 alone likewise).
//
// Each net is named N1, N2... in the store order of its first pad (a pad without a hole on
// both faces: its face-1 net first); nets of tracks or texts alone come after, in the store
// order of their first record. Standard library only; the circuit is read, never changed.

namespace korv4 {

namespace cuivre {
struct Geometrie;
struct Ensembles;
}  // namespace cuivre

struct Equipotentielle {
  std::string Nom;                 // "N1"...
  std::vector<int32_t> Pastilles;  // its pads, store order
  // Every record of its copper (each point of a track, each character of a text and its end
  // record, its pads), store order.
  std::vector<int32_t> Elements;
  bool Face1 = false, Face2 = false;  // the faces it has copper on
};

class Equipotentielles {
 public:
  std::vector<Equipotentielle> Liste;  // N1 first

  // The net (index into Liste) of record i on face 1 or 2, -1 when it has none there.
  int32_t De(int32_t i, int face) const {
    const std::vector<int32_t>& v = face == 1 ? face1_ : face2_;
    return i >= 0 && static_cast<size_t>(i) < v.size() ? v[static_cast<size_t>(i)] : -1;
  }
  // The net of record i: on face 1, otherwise on face 2; -1 for none.
  int32_t De(int32_t i) const {
    const int32_t n = De(i, 1);
    return n >= 0 ? n : De(i, 2);
  }
  // The number of nets holding at least one pad.
  int32_t NombreAvecPastilles() const { return avecPastilles_; }
  // The piece of copper of record i on face 1 or 2: copper of that face that touches, before
  // any plated hole joins the faces (a number shared by the records of one piece); -1 for none.
  int32_t Morceau(int32_t i, int face) const {
    const std::vector<int32_t>& v = face == 1 ? piece1_ : piece2_;
    if (i < 0 || static_cast<size_t>(i) >= v.size() || v[static_cast<size_t>(i)] < 0) return -1;
    return morceau_[static_cast<size_t>(v[static_cast<size_t>(i)])];
  }
  // Whether the board is made with copper on face 1, on face 2 (both for a double-sided board).
  bool FaceFaite(int face) const { return face == 1 ? face1Faite_ : face == 2 && face2Faite_; }

 private:
  friend Equipotentielles CalculeCuivre(const Circuit&, const cuivre::Geometrie* const[3],
                                        const std::vector<int32_t>&, bool);
  friend void NommeEquipotentielles(Equipotentielles&, const Circuit&, std::vector<int32_t>[3],
                                    int32_t, cuivre::Ensembles&, const std::array<bool, 3>&,
                                    const std::vector<int32_t>&, bool);
  std::vector<int32_t> face1_, face2_;    // by record index, -1 for none
  std::vector<int32_t> piece1_, piece2_;  // by record index: its element's piece, -1 for none
  std::vector<int32_t> morceau_;          // by piece: the piece's root on its face
  int32_t avecPastilles_ = 0;
  bool face1Faite_ = false, face2Faite_ = false;
};

// Whether a pad kind is copper that joins (not a spare diameter, not a centring target), and
// whether a pad record has a plated hole (copper and a drill of a positive diameter).
bool PastilleConductrice(uint8_t code);
bool TrouMetallise(const Circuit& c, const ElementCI& e);

// A pad kind in words, UTF-8 (its name in model/Pastilles.def: "ronde 2 mm", "rectangulaire
// 0,9 x 1,5 mm", "mire de centrage"...); "" for a code that is no pad.
const char* NomGenrePastille(uint8_t code);

// The nets of the circuit. Round pads as octagons (as the set draws them) or circles. The holes
// of the drill diameters (tenths of a millimetre) in `nonMetallises` are not plated: they join
// nothing (the board-house set's choice).
Equipotentielles CalculeEquipotentielles(const Circuit& c,
                                         StylePastilles style = StylePastilles::Octogonales,
                                         const std::vector<int32_t>& nonMetallises = {});

// The same from the copper of both faces already read (cuivre::LitCouche of faces 1 and 2, in
// faces[1] and faces[2], with the same style): the check shares its reading.
Equipotentielles CalculeEquipotentielles(const Circuit& c, const cuivre::Geometrie* const faces[3],
                                         const std::vector<int32_t>& nonMetallises = {});

// The pieces of copper alone (Morceau, FaceFaite), without the nets' list and names: what the
// check's rules ask, in a fraction of the memory on a board of countless pads.
Equipotentielles MorceauxDuCuivre(const Circuit& c, const cuivre::Geometrie* const faces[3]);

}  // namespace korv4
