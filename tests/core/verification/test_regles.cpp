// The rules of manufacture on small fixtures, each beside a control that differs only by what
// makes the fault: ring, edge, hole without copper, track end short of its own net.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CarteCuivre.h"
#include "verification/Isolements.h"
#include "verification/Regles.h"

namespace korv4 {
namespace {

std::string Liste(const std::vector<Defaut>& v) {
  std::string s;
  for (const Defaut& d : v) s += DecritDefaut(d, 0.3) + "\n";
  return s;
}

TEST(Regles, FauteEtTemoin) {
  struct Cas {
    const char* nom;
    std::function<void(CarteCuivre&, bool faute)> carte;
    // The one line of the faulty board; the control has none.
    const char* ligne;
  };
  const Cas cas[] = {
      {"couronne : pastille ronde 2 mm (1,85 mm entre méplats), perçage 1,6 ou 1,5 mm",
       [](CarteCuivre& b, bool faute) {
         b.c.EnteteCI.DiametresPercage[4] = faute ? 16 : 15;
         b.Pastille(1000, 1000, 198, 4);
       },
       "couronne étroite faces 1 et 2 : couronne de 0,13 mm (minimum 0,15 mm) à X = 25,40 mm, "
       "Y = 25,40 mm"},
      {"bord : piste à 0,20 ou 0,33 mm du bas du contour tracé sur le plan de perçage",
       [](CarteCuivre& b, bool faute) {
         b.Rec(8, code::Rectangle1, 1, 500, 500);
         b.Rec(8, code::Rectangle2, 1, 4500, 4500);
         const int32_t y = faute ? 518 : 523;
         b.Piste(1, {{1000, y}, {2000, y}});
       },
       "trop près du bord face 1 : à 0,20 mm du contour (minimum 0,30 mm) à X = 38,10 mm, Y = "
       "12,90 mm"},
      {"trou sans cuivre : une mire percée, un diamètre libre (trou nu voulu)",
       [](CarteCuivre& b, bool faute) { b.Pastille(1000, 1000, faute ? 205 : 204, faute ? 1 : 7); },
       "trou sans cuivre faces 1 et 2 : perçage de 0,80 mm sans cuivre autour à X = 25,40 mm, Y "
       "= 25,40 mm"},
      {"boucle qui manque son départ de 0,25 mm, ou le rejoint",
       [](CarteCuivre& b, bool faute) {
         b.Piste(
             1,
             {{1000, 1000}, {1500, 1000}, {1500, 1500}, {1000, 1500}, {1000, faute ? 1030 : 1000}});
       },
       "extrémité de piste sur son équipotentielle face 1 : écart de 0,25 mm (minimum 0,30 mm) à "
       "X = 25,40 mm, Y = 25,78 mm"},
      {"bout de piste à 0,19 mm d'une pastille déjà reliée autrement, ou qui la touche",
       [](CarteCuivre& b, bool faute) {
         b.Pastille(1000, 1000);
         b.Pastille(1000, 1200);
         b.Piste(1, {{1000, 1000}, {1000, 1200}});
         b.Piste(1, {{1000, 1000}, {2000, 1000}});
         b.Piste(1, {{1500, 1000}, {1500, 1200}, {faute ? 1054 : 1040, 1200}});
       },
       "extrémité de piste sur son équipotentielle face 1 : écart de 0,19 mm (minimum 0,30 mm) à "
       "X = 26,42 mm, Y = 30,48 mm"},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    for (bool faute : {true, false}) {
      CarteCuivre b;
      k.carte(b, faute);
      const std::vector<Defaut> d = VerifieCircuit(b.c).Defauts;
      EXPECT_EQ(Liste(d), faute ? std::string(k.ligne) + "\n" : "") << (faute ? "faute" : "témoin");
    }
  }
}

TEST(Regles, MinimumsReglables) {
  CarteCuivre b;
  b.c.EnteteCI.DiametresPercage[4] = 16;
  b.Pastille(1000, 1000, 198, 4);           // ring 0.13 mm
  b.Rec(8, code::Rectangle1, 1, 500, 500);  // the outline drawn on the drilling plan
  b.Rec(8, code::Rectangle2, 1, 4500, 4500);
  b.Piste(1, {{1000, 518}, {2000, 518}});  // 0.20 mm from the edge
  OptionsVerification o;
  EXPECT_EQ(VerifieCircuit(b.c, o).Defauts.size(), 2u);
  o.CouronneMm = 0.12;
  o.BordMm = 0.2;
  EXPECT_EQ(Liste(VerifieCircuit(b.c, o).Defauts), "");
  o.CouronneMm = 0;  // checks none
  o.BordMm = 0;
  EXPECT_EQ(Liste(VerifieCircuit(b.c, o).Defauts), "");
  o.BordMm = 0.3;  // the work surface as the outline: far from the track
  o.Contour = ContourFabrication::Surface;
  EXPECT_EQ(Liste(VerifieCircuit(b.c, o).Defauts), "");
}

}  // namespace
}  // namespace korv4
