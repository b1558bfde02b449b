// What is under the pointer in words, and the measure tool's line, as tables.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "editeur/Mesure.h"
#include "editeur/Survol.h"
#include "verification/CarteCuivre.h"
#include "verification/Distances.h"

namespace korv4 {
namespace {

TEST(Survol, TexteDeCeQuiEstSousLePointeur) {
  CarteCuivre b;
  b.Pastille(1000, 1000);                    // round 2 mm, drill 0.8
  b.Pastille(2000, 1000, 193, 0);            // rectangle, no hole
  b.Pastille(3000, 3000, 204, 7);            // a bare hole
  b.Piste(2, {{1000, 1000}, {1000, 1500}});  // 0.5 mm, 500 units long
  b.Piste(1, {{2000, 1000}, {2000, 2000}, {2500, 2500}}, 163);
  b.Texte(2, 3000, 1000, "A1");
  b.Rec(4, code::Rectangle1, 2, 4000, 4000);
  b.Rec(4, code::Rectangle2, 2, 4400, 4400);
  const Equipotentielles nets = CalculeEquipotentielles(b.c);
  struct Cas {
    int travail;
    int32_t x, y;
    bool mm;
    std::string attendu;
  };
  const Cas cas[] = {
      {2, 1000, 1000, true,
       "Pastille ronde 2 mm, perçage 0,8 mm — équipotentielle N1 (1 pastille)"},
      {1, 2000, 1000, true,
       "Pastille rectangulaire 0,9 x 1,5 mm, sans perçage — équipotentielle N2 (1 pastille)"},
      {2, 2000, 1000, true,
       "Pastille rectangulaire 0,9 x 1,5 mm, sans perçage — équipotentielle N3 (1 pastille)"},
      {1, 3000, 3000, true, "Diamètre libre, perçage 3,2 mm"},
      {2, 1000, 1250, true,
       "Piste 0,5 mm, face 2, 12,70 mm de long — équipotentielle N1 (1 pastille)"},
      {2, 1000, 1250, false,
       "Piste 0,5 mm, face 2, 5,00 pas de long — équipotentielle N1 (1 pastille)"},
      {1, 2250, 2250, true,
       "Piste 1 mm, face 1, 43,36 mm de long — équipotentielle N2 (1 pastille)"},
      {1, 1000, 1250, true, ""},  // the face-2 track is not in work 1
      {2, 3050, 1050, true, "Texte « A1 », face 2 — équipotentielle N4 (0 pastille)"},
      {3, 4000, 4200, true, "Rectangle 0,5 mm, implantation"},
      {2, 4500, 100, true, ""},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(std::to_string(k.travail) + " " + std::to_string(k.x) + "," + std::to_string(k.y));
    EXPECT_EQ(DecritSousPointeur(b.c, k.travail, k.x, k.y, k.mm, &nets), k.attendu);
  }
  EXPECT_EQ(DecritSousPointeur(b.c, 2, 1000, 1000, true), "Pastille ronde 2 mm, perçage 0,8 mm");
}

TEST(Mesure, LigneEtBordABord) {
  struct Cas {
    int32_t dx, dy;
    bool mm;
    double bords;
    std::string attendu;
  };
  const Cas cas[] = {
      {100, 0, true, -1, "dx = 2,54 mm, dy = 0,00 mm, longueur 2,54 mm (1,00 pas)"},
      {300, -400, false, -1, "dx = 3,00 pas, dy = -4,00 pas, longueur 5,00 pas (12,70 mm)"},
      {0, 0, true, -1, "dx = 0,00 mm, dy = 0,00 mm, longueur 0,00 mm (0,00 pas)"},
      {1000, 0, true, 921,
       "dx = 25,40 mm, dy = 0,00 mm, longueur 25,40 mm (10,00 pas) ; bord à bord 23,39 mm (9,21 "
       "pas)"},
  };
  for (const Cas& k : cas) EXPECT_EQ(DecritMesure(k.dx, k.dy, k.mm, k.bords), k.attendu);

  // Edge to edge: two round 2 mm pads (octagons 73 units between flats) 1000 apart on face 1.
  CarteCuivre b;
  b.Pastille(1000, 1000);
  b.Pastille(2000, 1000);
  b.Piste(1, {{1000, 1000}, {1000, 2000}});
  const double plat = 79 * std::cos(3.14159265358979323846 / 8);
  EXPECT_NEAR(EcartBordABord(b.c, 1, 1000, 1000, 2000, 1000), 1000 - plat, 1e-9);
  EXPECT_NEAR(EcartBordABord(b.c, 1, 1010, 1000, 1990, 1010), 1000 - plat, 1e-9);  // off centre
  EXPECT_EQ(EcartBordABord(b.c, 1, 1000, 1500, 1000, 1000), 0);   // the track touches the pad
  EXPECT_EQ(EcartBordABord(b.c, 1, 1000, 1000, 1500, 1500), -1);  // an end on no copper
  EXPECT_EQ(EcartBordABord(b.c, 3, 1000, 1000, 2000, 1000), -1);  // not a copper face
}

}  // namespace
}  // namespace korv4
