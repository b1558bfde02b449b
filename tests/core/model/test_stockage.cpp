#include <gtest/gtest.h>

#include "Enregistrement.h"
#include "model/Circuit.h"

namespace korv4 {
namespace {

using essai::Rec;

void Pose(Circuit& c, std::initializer_list<ElementCI> recs) {
  for (const ElementCI& e : recs) c.Elements[++c.NbElements] = e;
}

TEST(Stockage, CadreElementsParGenre) {
  struct Cas {
    const char* nom;
    std::vector<ElementCI> recs;
    Cadre attendu;
  };
  const std::vector<Cas> cas = {
      {"fin de texte seule", {Rec(4, 79, 0, 0, 0)}, {32767, 0, 0, 32767}},
      {"marqueurs seuls", {Rec(0, 255, 0, 10, 10), Rec(0, 254, 0, 90, 90)}, {32767, 0, 0, 32767}},
      {"cercle: disque entier, rayon pas un point",
       {Rec(4, 132, 1, 1000, 1000), Rec(4, 133, 1, 100, 0)},
       {900, 1100, 1100, 900}},
      {"pastille 192: son centre", {Rec(3, 192, 0, 500, 600)}, {500, 600, 500, 600}},
      {"pastille 199: encombrement 100", {Rec(3, 199, 2, 500, 600)}, {400, 700, 600, 500}},
      {"texte horizontal",
       {Rec(2, 64, 1, 1000, 500, 'A'), Rec(2, 79, 0, 0, 0)},
       {1000, 600, 1100, 500}},
      {"texte vertical miroir",
       {Rec(1, 69, 2, 1000, 500, 'A'), Rec(1, 79, 0, 0, 0)},
       {850, 500, 1000, 350}},
      {"point de piste sans largeur",
       {Rec(1, 163, 0x80, 10, 20), Rec(1, 163, 0x40, 30, 5)},
       {10, 20, 30, 5}},
  };
  for (const Cas& k : cas) {
    Circuit c;
    for (const ElementCI& e : k.recs) c.Elements[++c.NbElements] = e;
    EXPECT_EQ(CadreElements(c, 1, c.NbElements), k.attendu) << k.nom;
  }
}

TEST(Stockage, DirectionParSignes) {
  EXPECT_EQ(Direction(0, 0, 0, 0), 0);
  EXPECT_EQ(Direction(0, 0, 10, 5), 2);
  EXPECT_EQ(Direction(0, 0, 5, 10), 2);
  const int attendu[3][3] = {{6, 7, 8}, {5, 0, 1}, {4, 3, 2}};  // [dy+1][dx+1]
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      EXPECT_EQ(Direction(100, 100, 100 + 7 * dx, 100 + 3 * dy), attendu[dy + 1][dx + 1]);
}

TEST(Stockage, RequetesDUsageEtRaz) {
  Circuit c;
  EXPECT_EQ(CouchesUtilisees(c), (std::array<uint8_t, 5>{0, 0, 0, 0, 0}));
  Pose(c, {Rec(3, 198, 4, 100, 100), Rec(2, 162, 0x80, 0, 0), Rec(2, 162, 0x40, 10, 0)});
  // A pad with a hole sets the drilling flag though no record carries mask 8.
  EXPECT_EQ(CouchesUtilisees(c), (std::array<uint8_t, 5>{1, 0, 1, 0, 1}));
  auto p = PercagesUtilises(c);
  EXPECT_EQ(p[4], 1);
  EXPECT_EQ(std::count(p.begin(), p.end(), 1), 1);

  c.EnteteCI.DiametresPercage[3] = 99;
  RazCircuit(c);
  EXPECT_EQ(c.NbElements, 0);
  EXPECT_EQ(c.EnteteCI.DiametresPercage, kDiametresPercageDefaut);
  EXPECT_EQ(c.Elements[1], ElementCI{});
}

}  // namespace
}  // namespace korv4
