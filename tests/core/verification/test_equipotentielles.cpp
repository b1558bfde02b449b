// The nets of the copper on boards whose connectivity is known, written as "N1:1,3 N2:2" (each
// net's pads by record index).

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CarteCuivre.h"
#include "verification/Equipotentielles.h"

namespace korv4 {
namespace {

std::string Resume(const Equipotentielles& e) {
  std::string s;
  for (const Equipotentielle& q : e.Liste) {
    if (!s.empty()) s += ' ';
    s += q.Nom + ":";
    for (size_t k = 0; k < q.Pastilles.size(); ++k)
      s += (k ? "," : "") + std::to_string(q.Pastilles[k]);
    if (q.Pastilles.empty()) s += "-";
  }
  return s;
}

TEST(Equipotentielles, CartesDeConnexiteConnue) {
  struct Cas {
    const char* nom;
    std::function<void(CarteCuivre&)> carte;
    const char* attendu;
  };
  const Cas cas[] = {
      {"deux pastilles reliées, une seule",
       [](CarteCuivre& b) {
         b.Pastille(1000, 1000);
         b.Pastille(2000, 1000);
         b.Pastille(1500, 2000);
         b.Piste(1, {{1000, 1000}, {2000, 1000}});
       },
       "N1:1,2 N2:3"},
      {"les noms suivent la première pastille, pas la première piste",
       [](CarteCuivre& b) {
         b.Piste(1, {{3000, 1000}, {4000, 1000}});  // records 1, 2
         b.Pastille(1000, 1000);                    // 3
         b.Pastille(3000, 1000);                    // 4
         b.Pastille(4000, 1000);                    // 5
         b.Piste(1, {{200, 200}, {300, 200}});      // a track alone: last
       },
       "N1:3 N2:4,5 N3:-"},
      {"trou métallisé : face 1 puis face 2 à travers une traversée",
       [](CarteCuivre& b) {
         b.Pastille(1000, 1000);
         b.Pastille(2000, 1000);  // the via, drilled
         b.Pastille(3000, 1000);
         b.Piste(1, {{1000, 1000}, {2000, 1000}});
         b.Piste(2, {{2000, 1000}, {3000, 1000}});
       },
       "N1:1,2,3"},
      {"une pastille sans trou ne relie pas les faces",
       [](CarteCuivre& b) {
         b.Pastille(1000, 1000);
         b.Pastille(2000, 1000, 193, 0);  // no hole: a piece on each face
         b.Pastille(3000, 1000);
         b.Piste(1, {{1000, 1000}, {2000, 1000}});
         b.Piste(2, {{2000, 1000}, {3000, 1000}});
       },
       "N1:1,2 N2:2,3"},
      {"un diamètre libre et une mire ne relient rien",
       [](CarteCuivre& b) {
         b.Pastille(2000, 1000, 204, 7);
         b.Pastille(2000, 2000, 205, 0);
         b.Piste(1, {{1000, 1000}, {1970, 1000}});
         b.Piste(1, {{2030, 1000}, {3000, 1000}});
         b.Piste(1, {{1000, 2000}, {1970, 2000}});
         b.Piste(1, {{2030, 2000}, {3000, 2000}});
         b.Pastille(1000, 1000);
         b.Pastille(3000, 1000);
       },
       "N1:11 N2:12 N3:- N4:-"},
      {"deux pistes qui se touchent à peine, deux qui manquent d'une unité",
       [](CarteCuivre& b) {
         b.Pastille(1000, 1000);
         b.Pastille(1000, 2000);
         b.Pastille(3000, 1000);
         b.Pastille(3000, 2000);
         b.Piste(1, {{1000, 1000}, {2000, 1000}});
         b.Piste(1, {{2020, 1000}, {3000, 1000}});  // edges meet: 20 wide, 20 apart
         b.Piste(1, {{1000, 2000}, {2000, 2000}});
         b.Piste(1, {{2021, 2000}, {3000, 2000}});  // one unit short
       },
       "N1:1,3 N2:2 N3:4"},
      {"un texte de cuivre qui touche une piste en fait partie",
       [](CarteCuivre& b) {
         b.Pastille(1000, 1000);
         b.Piste(1, {{1000, 1000}, {1000, 1500}});
         b.Texte(1, 1000, 1500, "A1");
         b.Texte(1, 3000, 3000, "B");
       },
       "N1:1 N2:-"},
      {"simple face : les pastilles ne comptent que sur la face 1",
       [](CarteCuivre& b) {
         b.Pastille(1000, 1000, 193, 0);
         b.Pastille(2000, 1000, 193, 0);
         b.Piste(1, {{1000, 1000}, {2000, 1000}});
       },
       "N1:1,2"},
      {"des pastilles seules : une équipotentielle chacune",
       [](CarteCuivre& b) {
         b.Pastille(1000, 1000);
         b.Pastille(1060, 1000);  // 79 across, 60 apart: they overlap
         b.Pastille(3000, 1000);
       },
       "N1:1,2 N2:3"},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    CarteCuivre b;
    k.carte(b);
    const Equipotentielles e = CalculeEquipotentielles(b.c);
    EXPECT_EQ(Resume(e), k.attendu);
  }
}

TEST(Equipotentielles, EquipotentielleDUnRecordEtSesRecords) {
  CarteCuivre b;
  const int32_t p1 = b.Pastille(1000, 1000);
  const int32_t via = b.Pastille(2000, 1000, 193, 0);
  const int32_t t1 = b.Piste(1, {{1000, 1000}, {1500, 1000}, {2000, 1000}});
  const int32_t t2 = b.Piste(2, {{2000, 1000}, {2500, 1000}});
  const int32_t texte = b.Texte(2, 2500, 1000, "X");
  const Equipotentielles e = CalculeEquipotentielles(b.c);
  ASSERT_EQ(e.Liste.size(), 2u);
  EXPECT_EQ(e.NombreAvecPastilles(), 2);
  EXPECT_EQ(e.De(t1 + 1, 1), 0);  // a middle point
  EXPECT_EQ(e.De(t1 + 1, 2), -1);
  EXPECT_EQ(e.De(via, 1), 0);
  EXPECT_EQ(e.De(via, 2), 1);
  EXPECT_EQ(e.De(via), 0);
  EXPECT_EQ(e.De(texte + 1), 1);  // the end of the text
  EXPECT_EQ(e.De(0), -1);
  EXPECT_EQ(e.De(b.c.NbElements + 5), -1);
  EXPECT_EQ(e.Liste[0].Elements, (std::vector<int32_t>{p1, via, t1, t1 + 1, t1 + 2}));
  EXPECT_EQ(e.Liste[1].Elements, (std::vector<int32_t>{via, t2, t2 + 1, texte, texte + 1}));
  EXPECT_TRUE(e.Liste[0].Face1 && e.Liste[0].Face2);  // the plated pad p1 has both faces
  EXPECT_FALSE(e.Liste[1].Face1);
}

TEST(Equipotentielles, UnGrandCircuitSansSurprise) {
  // A mixed circuit at the limit: every pad with copper is in exactly one net per face it is
  // made on, names run N1.. without gap, and the result does not depend on the run.
  Circuit c;
  CircuitExemple(c, kMaxElements, 31000, 20000, 7);
  const Equipotentielles a = CalculeEquipotentielles(c);
  const Equipotentielles b = CalculeEquipotentielles(c);
  ASSERT_EQ(a.Liste.size(), b.Liste.size());
  for (size_t k = 0; k < a.Liste.size(); ++k) {
    EXPECT_EQ(a.Liste[k].Nom, "N" + std::to_string(k + 1));
    EXPECT_EQ(a.Liste[k].Elements, b.Liste[k].Elements);
  }
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    if (!PastilleConductrice(e.Code)) continue;
    EXPECT_GE(a.De(i), 0) << i;
    if (TrouMetallise(c, e)) {
      EXPECT_EQ(a.De(i, 1), a.De(i, 2)) << i;
    }
  }
}

}  // namespace
}  // namespace korv4
