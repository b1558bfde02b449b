// The tools that look, driven as a user drives the window: the lit net, what is under the
// pointer, the measure. None of them changes the store or adds a step to the history.

#include <gtest/gtest.h>

#include "Session.h"
#include "render/CircuitExemple.h"

namespace korv4 {
namespace {

using C = Controle;

// Pad A, a face-1 track to the drilled pad V, a face-2 track from V to pad B; pad C alone.
void Planche(Circuit& c) {
  AjouteRecord(c, 3, 198, 1, 1000, 1000);
  AjouteRecord(c, 3, 198, 1, 2000, 1000);
  AjouteRecord(c, 3, 198, 1, 3000, 1000);
  AjouteRecord(c, 3, 198, 1, 1000, 2000);
  AjouteRecord(c, 1, 162, kPremierPoint, 1000, 1000);
  AjouteRecord(c, 1, 162, kDernierPoint, 2000, 1000);
  AjouteRecord(c, 2, 162, kPremierPoint, 2000, 1000);
  AjouteRecord(c, 2, 162, kDernierPoint, 3000, 1000);
}

TEST(Voir, EquipotentielleAllumeeEteinteEtSuivie) {
  Session s;
  Planche(s.ed.circuit);
  const std::vector<ElementCI> avant(s.ed.circuit.Elements.begin(),
                                     s.ed.circuit.Elements.begin() + s.Nb() + 1);
  s.Clic(C::BoutonEquipotentielleTypon);
  EXPECT_EQ(s.Code(), actions::OutilEquipotentielle);
  const bool modifie = s.ed.circuit.CircuitModifie;  // the records above were put in by hand
  s.Clique(1500, 1000);                              // the face-1 track
  EXPECT_EQ(s.ed.Panneaux[4], "Équipotentielle N1 : 3 pastilles");
  EXPECT_TRUE(s.ed.Allumage.Active);
  const uint64_t v = s.ed.VersionAllumage;
  s.Clique(1000, 2000);  // pad C
  EXPECT_EQ(s.ed.Panneaux[4], "Équipotentielle N2 : 1 pastille");
  EXPECT_GT(s.ed.VersionAllumage, v);
  s.Clique(4000, 3000);  // nothing there: out
  EXPECT_FALSE(s.ed.Allumage.Active);
  EXPECT_EQ(s.ed.Panneaux[4], "");
  s.Clique(1500, 1000);
  s.Touche(Touche::Echap);
  EXPECT_FALSE(s.ed.Allumage.Active);
  // The store and the history never moved.
  EXPECT_TRUE(std::equal(avant.begin(), avant.end(), s.ed.circuit.Elements.begin()));
  EXPECT_EQ(s.ed.circuit.CircuitModifie, modifie);
  EXPECT_EQ(s.Code(), actions::OutilEquipotentielle);  // Escape keeps the tool

  // Lit, then a change of the store: the lit net follows.
  s.Clique(2500, 1000);  // not in work 1: nothing
  EXPECT_FALSE(s.ed.Allumage.Active);
  s.Clique(1000, 1000);
  EXPECT_EQ(s.ed.Panneaux[4], "Équipotentielle N1 : 3 pastilles");
  AjouteRecord(s.ed.circuit, 1, 162, kPremierPoint, 1000, 1000);
  AjouteRecord(s.ed.circuit, 1, 162, kDernierPoint, 1000, 2000);
  EXPECT_TRUE(SuitAllumage(s.ed));
  EXPECT_EQ(s.ed.Panneaux[4], "Équipotentielle N1 : 4 pastilles");
  EXPECT_FALSE(SuitAllumage(s.ed));

  // The menu entry and another tool.
  s.Clic(C::BoutonPiste);
  EXPECT_NE(s.Code(), actions::OutilEquipotentielle);
  s.Clic(C::AffichageEquipotentielle);
  EXPECT_EQ(s.Code(), actions::OutilEquipotentielle);
  EXPECT_TRUE(EstEnfonce(s.ed, C::BoutonEquipotentielleTypon));
}

TEST(Voir, SurvolDuPointeur) {
  Session s;
  Planche(s.ed.circuit);
  EXPECT_TRUE(SurvolPointeur(s.ed, 1500, 1000, false));
  EXPECT_EQ(s.ed.Survol, "Piste 0,5 mm, face 1, 10,00 pas de long");  // nets not computed
  EXPECT_FALSE(SurvolPointeur(s.ed, 1500, 1000, false));
  EXPECT_TRUE(SurvolPointeur(s.ed, 1500, 1000, true));  // a pause: with its net
  EXPECT_EQ(s.ed.Survol,
            "Piste 0,5 mm, face 1, 10,00 pas de long — équipotentielle N1 (3 pastilles)");
  SurvolPointeur(s.ed, 4000, 4000, false);
  EXPECT_EQ(s.ed.Survol, "");
}

TEST(Voir, MesureSurLaGrille) {
  struct Cas {
    bool mm;
    int32_t x1, y1, x2, y2;
    std::string attendu;
  };
  const Cas cas[] = {
      {false, 500, 500, 800, 900, "dx = 3,00 pas, dy = 4,00 pas, longueur 5,00 pas (12,70 mm)"},
      {true, 500, 500, 600, 500, "dx = 2,54 mm, dy = 0,00 mm, longueur 2,54 mm (1,00 pas)"},
      {true, 1000, 1000, 2000, 1000,  // pad to pad, edge to edge: 1000 - 73 units
       "dx = 25,40 mm, dy = 0,00 mm, longueur 25,40 mm (10,00 pas) ; bord à bord 23,55 mm (9,27 "
       "pas)"},
  };
  for (const Cas& k : cas) {
    Session s;
    Planche(s.ed.circuit);
    if (k.mm) s.Clic(C::Affichageenmm2);
    s.Clic(C::BoutonMesureTypon);
    ASSERT_EQ(s.Code(), actions::OutilMesure);
    s.Appui(k.x1, k.y1);
    EXPECT_TRUE(s.ed.ctx.ElastiqueActif);
    s.Relache(k.x2, k.y2);
    EXPECT_FALSE(s.ed.ctx.ElastiqueActif);
    EXPECT_EQ(s.ed.Panneaux[4], k.attendu);
    EXPECT_EQ(s.Nb(), 8);
  }
  // Off the grid: the ends snap to it like every tool's.
  Session s;
  s.Clic(C::BoutonMesureTypon);
  const PointPixel a = s.Ecran(500, 500), b = s.Ecran(800, 500);
  FormMouseMove(s.ed, a.X + 1, a.Y + 1);
  FormMouseDown(s.ed, BoutonSouris::Gauche, true, a.X + 1, a.Y + 1);
  FormMouseMove(s.ed, b.X - 1, b.Y + 1);
  FormMouseUp(s.ed, BoutonSouris::Gauche);
  EXPECT_EQ(s.ed.Panneaux[4], "dx = 3,00 pas, dy = 0,00 pas, longueur 3,00 pas (7,62 mm)");
}

}  // namespace
}  // namespace korv4
