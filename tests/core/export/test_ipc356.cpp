// The IPC-D-356A netlist read back by its columns: the nets it gives equal the core's nets on
// boards of known connectivity, and each record sits where the format puts its fields.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "export/Ipc356.h"
#include "verification/CarteCuivre.h"

namespace korv4 {
namespace {

struct Enregistrement {
  std::string code, net, percage, acces, x, y, taille;
};

std::vector<std::string> Lignes(const std::vector<uint8_t>& octets) {
  std::vector<std::string> l(1);
  for (uint8_t o : octets) {
    if (o == '\n') {
      l.emplace_back();
    } else {
      l.back() += static_cast<char>(o);
    }
  }
  EXPECT_TRUE(l.back().empty()) << "the last line ends";
  l.pop_back();
  return l;
}

// The test records by their columns (1-based in the format).
std::vector<Enregistrement> Lit(const std::vector<uint8_t>& octets) {
  std::vector<Enregistrement> r;
  for (std::string l : Lignes(octets)) {
    EXPECT_LE(l.size(), 80u) << l;
    for (char ch : l) EXPECT_TRUE(ch >= 32 && ch < 127) << l;
    if (l.compare(0, 3, "317") != 0 && l.compare(0, 3, "327") != 0) continue;
    l.resize(80, ' ');
    auto Champ = [&](size_t debut, size_t fin) {
      std::string s = l.substr(debut - 1, fin - debut + 1);
      while (!s.empty() && s.back() == ' ') s.pop_back();
      return s;
    };
    r.push_back({Champ(1, 3), Champ(4, 17), Champ(33, 38), Champ(39, 41), Champ(43, 49),
                 Champ(51, 57), Champ(58, 71)});
  }
  return r;
}

// Net name -> its records as "code acces x y", the unconnected ones under N/C.
std::map<std::string, std::multiset<std::string>> ParNet(const std::vector<Enregistrement>& v) {
  std::map<std::string, std::multiset<std::string>> m;
  for (const Enregistrement& e : v)
    m[e.net].insert(e.code + " " + e.percage + " " + e.acces + " " + e.x + " " + e.y);
  return m;
}

TEST(Ipc356, EnteteEtColonnes) {
  CarteCuivre b;
  b.Pastille(1000, 1000);          // 0.8 mm drill, round 2 mm (79 units): 2000 microns
  b.Pastille(2000, 1000, 193, 0);  // rectangle 0.9 x 1.5 mm (35 x 59 units), no hole
  b.Pastille(3000, 500, 204, 7);   // a bare hole of 3.2 mm
  b.Piste(1, {{1000, 1000}, {2000, 1000}});
  b.Piste(2, {{1000, 1000}, {1000, 2000}});
  OptionsIpc356 o;
  o.Nom = "Mon circuit/é";
  const std::vector<uint8_t> f = EcritIpc356(b.c, o);
  const std::vector<std::string> l = Lignes(f);
  ASSERT_GE(l.size(), 13u);
  EXPECT_EQ(l[3], "P  JOB   Moncircuit");
  EXPECT_EQ(l[4], "P  CODE  00");
  EXPECT_EQ(l[5], "P  UNITS CUST 1");
  EXPECT_EQ(l[7], "P  VER   IPC-D-356A");
  EXPECT_EQ(l[8], "P  IMAGE PRIMARY");
  EXPECT_EQ(l[9], "317N1                           D0800PA00X+025400Y+025400X2000          S0");
  EXPECT_EQ(l[10], "327N1                                 A02X+050800Y+025400X0900Y1500R000 S0");
  EXPECT_EQ(l[11], "327N/C                                A01X+050800Y+025400X0900Y1500R000 S0");
  EXPECT_EQ(l[12], "317N/C                          D3200UA00X+076200Y+012700X3200          S0");
  EXPECT_EQ(l.back(), "999");
}

TEST(Ipc356, LesNetsSontCeuxDuCoeur) {
  struct Cas {
    const char* nom;
    void (*carte)(CarteCuivre&);
    // net -> "code drill access x y" of its records
    std::map<std::string, std::multiset<std::string>> attendu;
  };
  const Cas cas[] = {
      {"une traversée relie les deux faces",
       [](CarteCuivre& b) {
         b.Pastille(1000, 1000);
         b.Pastille(2000, 1000);
         b.Pastille(3000, 1000);
         b.Pastille(4000, 1000);
         b.Piste(1, {{1000, 1000}, {2000, 1000}});
         b.Piste(2, {{2000, 1000}, {3000, 1000}});
       },
       {{"N1",
         {"317 D0800P A00 +025400 +025400", "317 D0800P A00 +050800 +025400",
          "317 D0800P A00 +076200 +025400"}},
        {"N/C", {"317 D0800P A00 +101600 +025400"}}}},
      {"deux nets qui se touchent presque",
       [](CarteCuivre& b) {
         b.Pastille(1000, 1000);
         b.Pastille(2000, 1000);
         b.Pastille(1000, 1074);  // octagons 73 between flats: a gap of 1 unit
         b.Pastille(2000, 1074);
         b.Piste(1, {{1000, 1000}, {2000, 1000}});
         b.Piste(1, {{1000, 1074}, {2000, 1074}});
       },
       {{"N1", {"317 D0800U A01 +025400 +025400", "317 D0800U A01 +050800 +025400"}},
        {"N2", {"317 D0800U A01 +025400 +027280", "317 D0800U A01 +050800 +027280"}}}},
      {"simple face, pastilles sans trou",
       [](CarteCuivre& b) {
         b.Pastille(1000, 1000, 193, 0);
         b.Pastille(2000, 1000, 193, 0);
         b.Piste(1, {{1000, 1000}, {2000, 1000}});
       },
       {{"N1", {"327  A01 +025400 +025400", "327  A01 +050800 +025400"}}}},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    CarteCuivre b;
    k.carte(b);
    EXPECT_EQ(ParNet(Lit(EcritIpc356(b.c, OptionsIpc356{}))), k.attendu);
  }
}

TEST(Ipc356, UnGrandCircuitDonneLesMemesNets) {
  // Each named net of the file holds exactly the test points of the core's net of that name.
  Circuit c;
  CircuitExemple(c, 20000, 31000, 20000, 11);
  const Equipotentielles e = CalculeEquipotentielles(c);
  const auto m = ParNet(Lit(EcritIpc356(c, e, OptionsIpc356{})));
  size_t nommes = 0;
  for (const Equipotentielle& q : e.Liste) {
    const auto it = m.find(q.Nom);
    if (it == m.end()) continue;
    ++nommes;
    std::set<std::string> positions, attendues;
    for (const std::string& r : it->second) positions.insert(r.substr(r.size() - 15));
    for (int32_t i : q.Pastilles) {
      char t[32];
      std::snprintf(t, sizeof t, "+%06d +%06d", static_cast<int>(std::lround(c[i].X * 25.4)),
                    static_cast<int>(std::lround(c[i].Y * 25.4)));
      attendues.insert(t);
    }
    EXPECT_EQ(positions, attendues) << q.Nom;
  }
  EXPECT_GT(nommes, 10u);
  EXPECT_EQ(nommes + 1, m.size());  // and N/C
}

}  // namespace
}  // namespace korv4
