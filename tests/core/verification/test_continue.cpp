// The check that follows the circuit: after each change it gives what the whole check gives,
// tells the faults that appeared, and leaves alone what the check does not read.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "model/Circuit.h"
#include "render/CircuitExemple.h"
#include "verification/CircuitsDenses.h"
#include "verification/Continue.h"
#include "verification/Equipotentielles.h"
#include "verification/Isolements.h"
#include "verification/Suivi.h"

namespace korv4 {
namespace {

bool MemesDefauts(const std::vector<Defaut>& a, const std::vector<Defaut>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), MemeDefaut);
}

long Compte(const std::vector<Defaut>& v, const Defaut& d) {
  return std::count_if(v.begin(), v.end(), [&](const Defaut& e) { return MemeDefaut(d, e); });
}

// The whole result: the faults and the narrowest gap and track.
void CommeComplete(const VerificationContinue& v, const Circuit& c, const OptionsVerification& o) {
  const ResultatVerification complet = VerifieCircuit(c, o);
  ASSERT_TRUE(MemesDefauts(v.Resultat().Defauts, complet.Defauts));
  EXPECT_EQ(v.Resultat().EcartMinimalMm, complet.EcartMinimalMm);
  EXPECT_EQ(v.Resultat().PisteMinimaleMm, complet.PisteMinimaleMm);
}

// Random steps of every kind on boards of tracks, pads, texts and drawings: after each the
// result is the whole check's and the new faults those that appeared. Most steps are followed
// from their own records, not checked whole.
TEST(VerificationContinue, ApresDesChangementsAuHasardCommeLaVerificationComplete) {
  for (uint32_t graine : {1u, 2u, 3u, 4u}) {
    Circuit c;
    CircuitExemple(c, 1500, 6000, 4000, graine);
    OptionsVerification o;
    o.IsolementMm = graine == 4 ? 0.6 : 0.4;
    o.PorteeMm = graine == 3 ? 1.0 : 0;
    o.Contour = graine == 2 ? ContourFabrication::Etendue : ContourFabrication::Carte;
    VerificationContinue v;
    v.Commence(c, o);
    std::mt19937 hasard(graine);
    auto Au = [&](int32_t n) { return static_cast<int32_t>(hasard() % static_cast<uint32_t>(n)); };
    // The states the steps left, for undo and redo.
    std::vector<Circuit> passes{c};
    size_t ici = 0;
    auto Pads = [&] {
      std::vector<int32_t> p;
      for (int32_t i = 1; i <= c.NbElements; ++i)
        if (EstPastilleCuivre(c.Elements[i].Code)) p.push_back(i);
      return p;
    };
    auto Insere = [&](int32_t ou, const std::vector<ElementCI>& v2) {
      c.Elements.insert(c.Elements.begin() + ou, v2.begin(), v2.end());
      c.Elements.resize(static_cast<size_t>(kMaxElements) + 1);
      c.NbElements += static_cast<int32_t>(v2.size());
    };
    // The records of the element record i belongs to.
    auto Element = [&](int32_t i) {
      auto Suite = [&](int32_t r) {
        const ElementCI& e = c.Elements[r];
        return (EstPiste(e.Code) && e.Attribut != kPremierPoint) ||
               (e.Code >= 64 && e.Code <= 71 && c.Elements[r - 1].Code == e.Code) ||
               (e.Code >= code::Trait1 && e.Code <= code::Ellipse2 && (e.Code & 1) == 1);
      };
      int32_t d = i, f = i;
      while (d > 1 && Suite(d)) --d;
      while (f < c.NbElements && Suite(f + 1)) ++f;
      return std::pair<int32_t, int32_t>{d, f};
    };
    for (int pas = 0; pas < 120; ++pas) {
      const std::vector<Defaut> avant = v.Resultat().Defauts;
      const uint64_t travail = v.Verifications() + v.Suivis();
      const int genre = Au(12);
      const int32_t i = 1 + Au(c.NbElements);
      bool change = true;
      switch (genre) {
        case 0:  // a record moved a little (a pad, a point of a track, a letter)
          c.Elements[i].X += Au(81) - 40;
          c.Elements[i].Y += Au(81) - 40;
          break;
        case 1:  // a record taken out, those after it moved down; on the last board the
                 // whole element (a record alone may leave a track without its first point)
          if (graine == 4) {
            std::copy(c.Elements.begin() + i + 1, c.Elements.begin() + c.NbElements + 1,
                      c.Elements.begin() + i);
            c.Elements[c.NbElements] = ElementCI{};
            --c.NbElements;
          } else {
            const auto [d, f] = Element(i);
            c.Elements.erase(c.Elements.begin() + d, c.Elements.begin() + f + 1);
            c.Elements.resize(static_cast<size_t>(kMaxElements) + 1);
            c.NbElements -= f - d + 1;
          }
          break;
        case 2: {  // an element copied at the end, elsewhere
          const auto [d, f] = graine == 4 ? std::pair<int32_t, int32_t>{i, i} : Element(i);
          const int32_t dx = Au(400) - 200;
          for (int32_t k = d; k <= f; ++k) {
            c.Elements[c.NbElements + 1] = c.Elements[k];
            if (c.Elements[k].Code != code::Rayon) c.Elements[c.NbElements + 1].X += dx;
            ++c.NbElements;
          }
          break;
        }
        case 3:  // a drill diameter changed: rings and drills too wide
          c.EnteteCI.DiametresPercage[1 + Au(13)] = 5 + Au(30);
          break;
        case 4:  // the selection alone: nothing to check
          c.Selection.Premier = i;
          c.Selection.Dernier = i;
          change = false;
          break;
        case 5: {  // a track from a pad to another, put in the middle of the store: nets join
          const std::vector<int32_t> p = Pads();
          const ElementCI& a =
              c.Elements[p[static_cast<size_t>(Au(static_cast<int32_t>(p.size())))]];
          const ElementCI& b =
              c.Elements[p[static_cast<size_t>(Au(static_cast<int32_t>(p.size())))]];
          const uint8_t face = static_cast<uint8_t>(1 + Au(2));
          Insere(Element(i).first, {ElementCI{face, 161, kPremierPoint, 0, a.X, a.Y},
                                    ElementCI{face, 161, kPointMilieu, 0, a.X, b.Y},
                                    ElementCI{face, 161, kDernierPoint, 0, b.X, b.Y}});
          break;
        }
        case 6: {  // a whole track taken out: a net may split
          int32_t t = i;
          while (t <= c.NbElements && !EstPiste(c.Elements[t].Code)) ++t;
          if (t > c.NbElements) break;
          int32_t d = t, f = t;
          while (d > 1 && c.Elements[d].Attribut != kPremierPoint) --d;
          while (f < c.NbElements && c.Elements[f].Attribut != kDernierPoint) ++f;
          c.Elements.erase(c.Elements.begin() + d, c.Elements.begin() + f + 1);
          c.Elements.resize(static_cast<size_t>(kMaxElements) + 1);
          c.NbElements -= f - d + 1;
          break;
        }
        case 7:  // undo, or redo
          if (ici > 0 && (Au(3) > 0 || ici + 1 == passes.size())) {
            c = passes[--ici];
          } else if (ici + 1 < passes.size()) {
            c = passes[++ici];
          }
          break;
        case 8: {  // a zone of 30 records turned a quarter turn about (2000, 2000)
          for (int32_t k = i; k < std::min(i + 30, c.NbElements + 1); ++k) {
            ElementCI& e = c.Elements[k];
            if (e.Code == code::Rayon) continue;
            const int32_t x = e.X, y = e.Y;
            e.X = static_cast<uint16_t>(std::clamp(2000 - (y - 2000), 0, 65535));
            e.Y = static_cast<uint16_t>(std::clamp(2000 + (x - 2000), 0, 65535));
          }
          break;
        }
        case 9: {  // the board's outline drawn, moved or grown on the drilling plan
          const uint16_t x = static_cast<uint16_t>(Au(800)), y = static_cast<uint16_t>(Au(800));
          Insere(Element(i).first,
                 {ElementCI{8, code::Rectangle1, 1, 0, x, y},
                  ElementCI{8, code::Rectangle2, 1, 0, static_cast<uint16_t>(x + 4000 + Au(3000)),
                            static_cast<uint16_t>(y + 3000 + Au(2000))}});
          break;
        }
        case 10:  // a pad far out: the extent and the outline drawn from it move
          c.Elements[c.NbElements + 1] = ElementCI{
              1, 193, 1, 0, static_cast<uint16_t>(Au(9000)), static_cast<uint16_t>(Au(7000))};
          ++c.NbElements;
          break;
        case 11:  // the work surface
          c.EnteteCI.SurfaceX = 4000 + Au(4000);
          break;
      }
      if (genre != 7 && change) {
        passes.resize(ici + 1);
        passes.push_back(c);
        ++ici;
      }
      const bool verifie = v.Suit(c);
      SCOPED_TRACE(::testing::Message()
                   << "graine " << graine << ", pas " << pas << ", genre " << genre);
      if (genre == 4) {
        ASSERT_FALSE(verifie);
        EXPECT_EQ(v.Verifications() + v.Suivis(), travail);
        continue;
      }
      if (verifie) {
        EXPECT_EQ(v.Verifications() + v.Suivis(), travail + 1);
      }
      CommeComplete(v, c, o);
      if (::testing::Test::HasFatalFailure()) return;
      // The new faults: as many of each as the list has more than before.
      for (const Defaut& d : v.Resultat().Defauts) {
        const long plus = Compte(v.Resultat().Defauts, d) - Compte(avant, d);
        EXPECT_EQ(Compte(v.Nouveaux(), d), std::max(plus, 0L));
      }
      for (const Defaut& d : v.Nouveaux()) EXPECT_GT(Compte(v.Resultat().Defauts, d), 0);
      if (genre == 1 && graine == 4) {
        EXPECT_EQ(v.DebutChange(), i);
        EXPECT_EQ(v.AnciensChanges(), v.NouveauxChanges() + 1);
      }
    }
    // Steps are followed, not checked whole (a whole check only where the store cannot be:
    // the last board's records taken out alone cut tracks from their first points).
    if (graine != 4) {
      EXPECT_GT(v.Suivis(), 90u) << "graine " << graine;
    }
  }
}

// The work of a small step does not grow with the board: a pad moved, a track added between two
// pads, the turn undone read the same few records, compare the same few pairs and follow the
// same few pieces on a board ten times larger. A step of more than an eighth of the store, and
// copper too crowded to follow, are checked whole, and stay exact.
TEST(VerificationContinue, UnPetitPasCouteLeMemeSurUneGrandeCarte) {
  SuiviVerification::Travail travaux[2][2];
  for (int taille = 0; taille < 2; ++taille) {
    Circuit c;
    CircuitDense(c, taille == 0 ? 4000 : 40000);
    OptionsVerification o;
    VerificationContinue v;
    v.Commence(c, o);
    const int32_t pad = 7 * (taille == 0 ? 40 : 400) + 1;  // a pad inside the pattern
    ASSERT_EQ(c.Elements[pad].Code, 197);
    c.Elements[pad].X += 20;
    ASSERT_TRUE(v.Suit(c));
    travaux[taille][0] = v.Travail();
    CommeComplete(v, c, o);
    AjouteRecord(c, 1, 161, kPremierPoint, c.Elements[pad].X, c.Elements[pad].Y);
    AjouteRecord(c, 1, 161, kDernierPoint, c.Elements[pad + 7].X, c.Elements[pad + 7].Y);
    ASSERT_TRUE(v.Suit(c));
    travaux[taille][1] = v.Travail();
    CommeComplete(v, c, o);
    EXPECT_EQ(v.Verifications(), 1u);
    // Half the board moved: read whole.
    for (int32_t i = 1; i <= c.NbElements / 2; ++i) c.Elements[i].Y += 3;
    ASSERT_TRUE(v.Suit(c));
    EXPECT_EQ(v.Verifications(), 2u);
    CommeComplete(v, c, o);
  }
  for (int k = 0; k < 2; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(travaux[0][k].Relus, travaux[1][k].Relus);
    EXPECT_LE(travaux[1][k].Relus, 7);
    EXPECT_LE(travaux[1][k].Paires, 400);
    EXPECT_LE(travaux[1][k].Parcourus, 40);
    EXPECT_LE(travaux[1][k].Bouts, 40);
    EXPECT_LE(travaux[1][k].Paires, travaux[0][k].Paires + 20);
  }
  // The same pad stacked 3000 times: too crowded to follow, checked whole at each step.
  Circuit c;
  c.EnteteCI.SurfaceX = c.EnteteCI.SurfaceY = 5000;
  for (int k = 0; k < 3000; ++k) AjouteRecord(c, kCouchePastilles, 198, 2, 1000, 1000);
  OptionsVerification o;
  VerificationContinue v;
  v.Commence(c, o);
  AjouteRecord(c, kCouchePastilles, 198, 2, 1030, 1000);
  ASSERT_TRUE(v.Suit(c));
  EXPECT_EQ(v.Verifications(), 2u);
  EXPECT_EQ(v.Suivis(), 0u);
  CommeComplete(v, c, o);
}

// The same nets, names and lists as computed whole; the pieces the same (their numbers aside).
void MemesNets(const Equipotentielles& a, const Equipotentielles& b, const Circuit& c) {
  ASSERT_EQ(a.Liste.size(), b.Liste.size());
  EXPECT_EQ(a.NombreAvecPastilles(), b.NombreAvecPastilles());
  for (size_t k = 0; k < a.Liste.size(); ++k) {
    const Equipotentielle& p = a.Liste[k];
    const Equipotentielle& q = b.Liste[k];
    ASSERT_TRUE(p.Nom == q.Nom && p.Pastilles == q.Pastilles && p.Elements == q.Elements &&
                p.Face1 == q.Face1 && p.Face2 == q.Face2)
        << p.Nom;
  }
  for (int face = 1; face <= 2; ++face) {
    EXPECT_EQ(a.FaceFaite(face), b.FaceFaite(face));
    std::map<int32_t, int32_t> de, vers;  // the pieces of one matched to the other's, both ways
    for (int32_t i = 0; i <= c.NbElements + 1; ++i) {
      ASSERT_EQ(a.De(i, face), b.De(i, face)) << i;
      const int32_t x = a.Morceau(i, face), y = b.Morceau(i, face);
      ASSERT_EQ(x < 0, y < 0) << i;
      if (x < 0) continue;
      ASSERT_EQ(de.emplace(x, y).first->second, y) << i;
      ASSERT_EQ(vers.emplace(y, x).first->second, x) << i;
    }
  }
}

// The nets from the pieces followed, after steps that join and split them (a track between two
// pads, a track taken out, a pad moved, a drill made plated or not, undo), are the nets computed
// whole, with their names and lists; the holes a set leaves unplated too.
TEST(VerificationContinue, LesEquipotentiellesSuiviesCommeCalculees) {
  for (uint32_t graine : {5u, 6u}) {
    Circuit c;
    CircuitExemple(c, 1500, 6000, 4000, graine);
    OptionsVerification o;
    o.IsolementMm = graine == 5 ? 0 : 0.3;  // the pieces alone, or with the check's
    SuiviVerification s;
    ASSERT_TRUE(s.Construit(c, o));
    std::mt19937 hasard(graine);
    auto Au = [&](int32_t n) { return static_cast<int32_t>(hasard() % static_cast<uint32_t>(n)); };
    std::vector<Circuit> passes{c};
    for (int pas = 0; pas < 60; ++pas) {
      SCOPED_TRACE(::testing::Message() << "graine " << graine << ", pas " << pas);
      const std::vector<ElementCI> avant(c.Elements.begin() + 1,
                                         c.Elements.begin() + 1 + c.NbElements);
      std::vector<int32_t> pads;
      for (int32_t i = 1; i <= c.NbElements; ++i)
        if (EstPastilleCuivre(c.Elements[i].Code)) pads.push_back(i);
      const int32_t i = 1 + Au(c.NbElements);
      switch (Au(5)) {
        case 0: {  // a track between two pads, at the end
          const ElementCI a =
              c.Elements[pads[static_cast<size_t>(Au(static_cast<int32_t>(pads.size())))]];
          const ElementCI b =
              c.Elements[pads[static_cast<size_t>(Au(static_cast<int32_t>(pads.size())))]];
          const uint8_t face = static_cast<uint8_t>(1 + Au(2));
          AjouteRecord(c, face, 161, kPremierPoint, a.X, a.Y);
          AjouteRecord(c, face, 161, kDernierPoint, b.X, b.Y);
          break;
        }
        case 1: {  // a whole track taken out
          int32_t d = i;
          while (d <= c.NbElements && !EstPiste(c.Elements[d].Code)) ++d;
          if (d > c.NbElements) break;
          int32_t f = d;
          while (d > 1 && c.Elements[d].Attribut != kPremierPoint) --d;
          while (f < c.NbElements && c.Elements[f].Attribut != kDernierPoint) ++f;
          c.Elements.erase(c.Elements.begin() + d, c.Elements.begin() + f + 1);
          c.Elements.resize(static_cast<size_t>(kMaxElements) + 1);
          c.NbElements -= f - d + 1;
          break;
        }
        case 2:  // a pad moved
          c.Elements[pads[static_cast<size_t>(Au(static_cast<int32_t>(pads.size())))]].X +=
              Au(200) - 100;
          break;
        case 3:  // a drill made plated or not
          c.EnteteCI.DiametresPercage[1 + Au(13)] = Au(3) == 0 ? 0 : 8 + Au(10);
          break;
        case 4:  // undo of a step before
          c = passes[static_cast<size_t>(Au(static_cast<int32_t>(passes.size())))];
          break;
      }
      passes.push_back(c);
      const DifferenceMagasins d = CompareMagasins(avant, c);
      if (d.Debut > 0 && !s.Applique(c, avant, d.Debut, d.Anciens, d.Nouveaux)) {
        ASSERT_TRUE(s.Construit(c, o));  // a step too large: read whole
      }
      MemesNets(s.Nets(c), CalculeEquipotentielles(c), c);
      if (::testing::Test::HasFatalFailure()) return;
    }
    const std::vector<int32_t> nonMetallises{c.EnteteCI.DiametresPercage[1],
                                             c.EnteteCI.DiametresPercage[2]};
    MemesNets(s.Nets(c, nonMetallises),
              CalculeEquipotentielles(c, StylePastilles::Octogonales, nonMetallises), c);
  }
}

// Stores of records drawn at random, any code, layer and attribute (tracks without their first
// point, drawings cut from their second record, pads of every kind, texts of every size): each
// step is followed or checked whole, and the result and the nets are always the whole ones.
TEST(VerificationContinue, DesMagasinsQuelconquesCommeLaVerificationComplete) {
  for (uint32_t graine = 1; graine <= 12; ++graine) {
    std::mt19937 hasard(graine);
    auto Au = [&](uint32_t n) { return hasard() % n; };
    auto Record = [&] {
      ElementCI e;
      e.Couche = static_cast<uint8_t>(Au(16));
      e.Code = static_cast<uint8_t>(graine % 2 ? Au(256) : 160 + Au(50));
      e.Attribut = static_cast<uint8_t>(Au(256));
      e.Caractere = static_cast<uint8_t>(Au(256));
      e.X = static_cast<uint16_t>(Au(1500));
      e.Y = static_cast<uint16_t>(Au(1500));
      return e;
    };
    Circuit c;
    c.EnteteCI.SurfaceX = static_cast<int32_t>(500 + Au(2000));
    c.EnteteCI.SurfaceY = static_cast<int32_t>(500 + Au(2000));
    for (int k = 0; k < 300; ++k) c.Elements[static_cast<size_t>(++c.NbElements)] = Record();
    OptionsVerification o;
    o.IsolementMm = 0.2 + 0.1 * Au(4);
    VerificationContinue v;
    v.Commence(c, o);
    SuiviVerification nets;
    OptionsVerification pieces;
    pieces.IsolementMm = 0;
    bool suivies = nets.Construit(c, pieces);
    for (int pas = 0; pas < 30; ++pas) {
      SCOPED_TRACE(::testing::Message() << "graine " << graine << ", pas " << pas);
      const std::vector<ElementCI> avant(c.Elements.begin() + 1,
                                         c.Elements.begin() + 1 + c.NbElements);
      const auto i = static_cast<std::ptrdiff_t>(1 + Au(static_cast<uint32_t>(c.NbElements)));
      switch (Au(3)) {
        case 0: c.Elements[static_cast<size_t>(i)] = Record(); break;
        case 1:
          c.Elements.erase(c.Elements.begin() + i);
          c.Elements.resize(static_cast<size_t>(kMaxElements) + 1);
          --c.NbElements;
          break;
        default:
          c.Elements.insert(c.Elements.begin() + i, Record());
          c.Elements.resize(static_cast<size_t>(kMaxElements) + 1);
          ++c.NbElements;
          break;
      }
      v.Suit(c);
      CommeComplete(v, c, o);
      const DifferenceMagasins d = CompareMagasins(avant, c);
      if (suivies && d.Debut > 0) suivies = nets.Applique(c, avant, d.Debut, d.Anciens, d.Nouveaux);
      if (!suivies) suivies = nets.Construit(c, pieces);
      if (suivies) MemesNets(nets.Nets(c), CalculeEquipotentielles(c), c);
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

TEST(VerificationContinue, UnDefautQuiApparaitEstNouveau) {
  Circuit c;
  c.EnteteCI.SurfaceX = c.EnteteCI.SurfaceY = 5000;
  AjouteRecord(c, kCouchePastilles, 193, 0, 1000, 1000, 0);  // 35 x 59 units
  OptionsVerification o;
  VerificationContinue v;
  EXPECT_FALSE(v.Suit(c));  // nothing begun
  EXPECT_TRUE(v.Commence(c, o).Defauts.empty());
  EXPECT_FALSE(v.Suit(c));
  AjouteRecord(c, kCouchePastilles, 193, 0, 1042, 1000, 0);  // 7 units apart: 0.18 mm
  ASSERT_TRUE(v.Suit(c));
  ASSERT_EQ(v.Nouveaux().size(), 2u);  // the pads are on both faces
  EXPECT_EQ(v.Nouveaux()[0].Genre, GenreDefaut::Isolement);
  EXPECT_EQ(v.DebutChange(), 2);
  // Moved away: the faults go, nothing new.
  c.Elements[2].X = 1500;
  ASSERT_TRUE(v.Suit(c));
  EXPECT_TRUE(v.Nouveaux().empty());
  EXPECT_TRUE(v.Resultat().Defauts.empty());
}

}  // namespace
}  // namespace korv4
