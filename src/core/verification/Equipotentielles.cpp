#include "verification/Equipotentielles.h"

#include <algorithm>
#include <array>
#include <utility>

#include "verification/Cuivre.h"
#include "verification/Interne.h"

namespace korv4 {

namespace interne {

// The copper faces the board is made with: both when each holds copper of its own (tracks,
// texts), otherwise the one that does, face 1 for a board of pads alone.
std::array<bool, 3> FacesFabriquees(const Circuit& c) {
  bool propre[3] = {false, false, false};
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    if ((e.Couche == 1 || e.Couche == 2) && (EstPiste(e.Code) || EstTexte(e.Code)))
      propre[e.Couche] = true;
  }
  if (propre[1] && propre[2]) return {false, true, true};
  if (propre[2]) return {false, false, true};
  return {false, true, false};
}

}  // namespace interne

using interne::FacesFabriquees;

const char* NomGenrePastille(uint8_t code) {
  return EstPastille(code) ? SortePastilleDe(code).Nom : "";
}

bool PastilleConductrice(uint8_t code) { return EstPastilleCuivre(code); }

bool TrouMetallise(const Circuit& c, const ElementCI& e) {
  return EstPastilleMetallisee(e.Code) && e.Attribut >= 1 &&
         e.Attribut < c.EnteteCI.DiametresPercage.size() &&
         c.EnteteCI.DiametresPercage[e.Attribut] > 0;
}

Equipotentielles CalculeEquipotentielles(const Circuit& c, StylePastilles style,
                                         const std::vector<int32_t>& nonMetallises) {
  using namespace cuivre;
  const std::array<bool, 3> faites = FacesFabriquees(c);
  Geometrie geometries[3];
  const Geometrie* faces[3] = {nullptr, nullptr, nullptr};
  for (int face = 1; face <= 2; ++face) {
    if (!faites[static_cast<size_t>(face)]) continue;
    geometries[face] = LitCouche(c, face == 1 ? kMasqueFace1 : kMasqueFace2, style);
    faces[face] = &geometries[face];
  }
  return CalculeEquipotentielles(c, faces, nonMetallises);
}

// The pieces of each face, and with `liste` the nets and their names.
Equipotentielles CalculeCuivre(const Circuit& c, const cuivre::Geometrie* const faces[3],
                               const std::vector<int32_t>& nonMetallises, bool liste);

Equipotentielles CalculeEquipotentielles(const Circuit& c, const cuivre::Geometrie* const faces[3],
                                         const std::vector<int32_t>& nonMetallises) {
  return CalculeCuivre(c, faces, nonMetallises, true);
}

Equipotentielles MorceauxDuCuivre(const Circuit& c, const cuivre::Geometrie* const faces[3]) {
  return CalculeCuivre(c, faces, {}, false);
}

Equipotentielles CalculeCuivre(const Circuit& c, const cuivre::Geometrie* const faces[3],
                               const std::vector<int32_t>& nonMetallises, bool liste) {
  using namespace cuivre;
  Equipotentielles r;
  const size_t n = static_cast<size_t>(c.NbElements) + 1;
  const std::array<bool, 3> faites = FacesFabriquees(c);
  r.face1Faite_ = faites[1];
  r.face2Faite_ = faites[2];

  // The pieces of both faces, numbered one after the other; each record's piece on each face.
  std::vector<int32_t> piece[3];
  int32_t debut[3] = {0, 0, 0};
  int32_t total = 0;
  for (int face = 1; face <= 2; ++face) {
    debut[face] = total;
    if (!faites[static_cast<size_t>(face)]) continue;
    piece[face].assign(n, -1);
    const std::vector<Groupe>& groupes = faces[face]->groupes;
    for (size_t k = 0; k < groupes.size(); ++k) {
      const Groupe& gr = groupes[k];
      if (EstPastille(c.Elements[gr.indice].Code) &&
          !PastilleConductrice(c.Elements[gr.indice].Code))
        continue;
      const int32_t fin = interne::FinDuGroupe(c, gr);
      for (int32_t i = gr.indice; i <= fin; ++i)
        piece[face][static_cast<size_t>(i)] = total + static_cast<int32_t>(k);
    }
    total += static_cast<int32_t>(groupes.size());
  }

  // Touching copper of a face, then plated holes from face to face.
  Ensembles ensembles(static_cast<size_t>(total));
  for (int face = 1; face <= 2; ++face) {
    if (!faites[static_cast<size_t>(face)]) continue;
    const Geometrie& g = *faces[face];
    const int32_t base = debut[face];
    std::vector<char> conductrice(g.groupes.size());
    for (size_t k = 0; k < g.groupes.size(); ++k) {
      const uint8_t code = c.Elements[g.groupes[k].indice].Code;
      conductrice[k] = !EstPastille(code) || PastilleConductrice(code);
    }
    // A pad that conducts nothing joins nothing.
    auto Morceau = [&](int32_t groupe) {
      return conductrice[static_cast<size_t>(groupe)] ? ensembles.Racine(base + groupe) : -1;
    };
    // The face's index, perhaps built for a larger reach by the check: boxes apart do not touch.
    MorceauxProchesDe(IndexDe(g, 0.0), Morceau, [&](int32_t a, int32_t b) {
      const Forme& A = g.formes[static_cast<size_t>(a)];
      const Forme& B = g.formes[static_cast<size_t>(b)];
      if (A.xmin > B.xmax || B.xmin > A.xmax || A.ymin > B.ymax || B.ymin > A.ymax ||
          Mesure(g, A, B).ecart > kTolerance)
        return false;
      ensembles.Unit(base + A.groupe, base + B.groupe);
      return true;
    });
  }
  NommeEquipotentielles(r, c, piece, total, ensembles, faites, nonMetallises, liste);
  return r;
}

void NommeEquipotentielles(Equipotentielles& r, const Circuit& c, std::vector<int32_t> piece[3],
                           int32_t total, cuivre::Ensembles& ensembles,
                           const std::array<bool, 3>& faites,
                           const std::vector<int32_t>& nonMetallises, bool liste) {
  const size_t n = static_cast<size_t>(c.NbElements) + 1;
  r.face1Faite_ = faites[1];
  r.face2Faite_ = faites[2];
  r.morceau_.resize(static_cast<size_t>(total));
  for (int32_t p = 0; p < total; ++p) r.morceau_[static_cast<size_t>(p)] = ensembles.Racine(p);
  if (faites[1] && faites[2] && liste) {
    for (int32_t i = 1; i <= c.NbElements; ++i) {
      const ElementCI& e = c.Elements[i];
      if (!EstPastille(e.Code) || !TrouMetallise(c, e)) continue;
      if (std::find(nonMetallises.begin(), nonMetallises.end(),
                    c.EnteteCI.DiametresPercage[e.Attribut]) != nonMetallises.end())
        continue;
      const int32_t a = piece[1][static_cast<size_t>(i)], b = piece[2][static_cast<size_t>(i)];
      if (a >= 0 && b >= 0) ensembles.Unit(a, b);
    }
  }

  if (!liste) {
    r.piece1_ = std::move(piece[1]);
    r.piece2_ = std::move(piece[2]);
    return;
  }
  r.face1_.assign(n, -1);
  r.face2_.assign(n, -1);

  // Names: nets with pads in the store order of their first pad, then the others.
  std::vector<int32_t> net(static_cast<size_t>(total), -1);
  auto Nomme = [&](int32_t p) {
    int32_t& k = net[static_cast<size_t>(ensembles.Racine(p))];
    if (k < 0) {
      k = static_cast<int32_t>(r.Liste.size());
      r.Liste.emplace_back();
      r.Liste.back().Nom = "N" + std::to_string(k + 1);
    }
    return k;
  };
  for (int pass = 0; pass < 2; ++pass) {
    for (int32_t i = 1; i <= c.NbElements; ++i) {
      if (EstPastille(c.Elements[i].Code) != (pass == 0)) continue;
      for (int face = 1; face <= 2; ++face) {
        if (!faites[static_cast<size_t>(face)]) continue;
        const int32_t p = piece[face][static_cast<size_t>(i)];
        if (p < 0) continue;
        const int32_t k = Nomme(p);
        (face == 1 ? r.face1_ : r.face2_)[static_cast<size_t>(i)] = k;
        Equipotentielle& q = r.Liste[static_cast<size_t>(k)];
        (face == 1 ? q.Face1 : q.Face2) = true;
      }
    }
    if (pass == 0) r.avecPastilles_ = static_cast<int32_t>(r.Liste.size());
  }
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const bool pastille = EstPastille(c.Elements[i].Code);
    int32_t dernier = -1;
    for (int face = 1; face <= 2; ++face) {
      const int32_t k = r.De(i, face);
      if (k < 0 || k == dernier) continue;
      dernier = k;
      Equipotentielle& q = r.Liste[static_cast<size_t>(k)];
      q.Elements.push_back(i);
      if (pastille) q.Pastilles.push_back(i);
    }
  }
  r.piece1_ = std::move(piece[1]);
  r.piece2_ = std::move(piece[2]);
}

}  // namespace korv4
