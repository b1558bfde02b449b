// The lit net: clicks on boards of known connectivity (both faces through a drilled pad, two
// nets that almost touch), the net following the changes of the store, and its picture against
// a drawing of the expected elements alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "editeur/Allumage.h"
#include "render/CanevasImage.h"
#include "render/TraceCircuit.h"
#include "verification/CarteCuivre.h"

namespace korv4 {
namespace {

// Pad A, a face-1 track to the drilled pad V, a face-2 track from V to pad B; pad C and its
// face-1 track one unit of copper away from A (octagons of 73 between flats, 74 apart).
struct Planche {
  CarteCuivre b;
  int32_t a, v, pb, c, t1, t2, t3;
  Planche() {
    a = b.Pastille(1000, 1000);
    v = b.Pastille(2000, 1000);
    pb = b.Pastille(3000, 1000);
    c = b.Pastille(1000, 1074);
    t1 = b.Piste(1, {{1000, 1000}, {2000, 1000}});
    t2 = b.Piste(2, {{2000, 1000}, {3000, 1000}});
    t3 = b.Piste(1, {{1000, 1074}, {1600, 1074}});
  }
};

TEST(Allumage, ClicsEtSuivi) {
  Planche p;
  EquipotentielleAllumee a;
  struct Cas {
    int travail;
    int32_t x, y;
    const char* texte;  // empty: nothing lit
  };
  const Cas cas[] = {
      {1, 1500, 1000, "Équipotentielle N1 : 3 pastilles"},  // face 1 reaches face 2 through V
      {2, 2500, 1000, "Équipotentielle N1 : 3 pastilles"},
      {2, 1000, 1000, "Équipotentielle N1 : 3 pastilles"},  // a pad from the other face
      {1, 1300, 1074, "Équipotentielle N2 : 1 pastille"},   // the net that almost touches
      {1, 2500, 1000, ""},                                  // face-2 copper is not in work 1
      {1, 4000, 4000, ""},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(std::to_string(k.x) + "," + std::to_string(k.y));
    EXPECT_EQ(AllumeEquipotentielle(a, p.b.c, k.travail, k.x, k.y), k.texte[0] != 0);
    EXPECT_EQ(TexteEquipotentielle(a), k.texte);
  }

  // Lit from face 2, then the face-2 track removed: the net splits, the point now on pad B
  // alone (named after A and V's net).
  ASSERT_TRUE(AllumeEquipotentielle(a, p.b.c, 2, 3000, 1000));
  SupprimeElements(p.b.c, Plage{p.t2, p.t2 + 1});
  EXPECT_TRUE(SuitEquipotentielle(a, p.b.c));
  EXPECT_EQ(TexteEquipotentielle(a), "Équipotentielle N2 : 1 pastille");
  EXPECT_FALSE(SuitEquipotentielle(a, p.b.c));  // nothing changed since
  // A track joining C to A: the net lit from A's side grows.
  ASSERT_TRUE(AllumeEquipotentielle(a, p.b.c, 1, 1500, 1000));
  EXPECT_EQ(TexteEquipotentielle(a), "Équipotentielle N1 : 2 pastilles");
  p.b.Piste(1, {{1000, 1000}, {1000, 1074}});
  EXPECT_TRUE(SuitEquipotentielle(a, p.b.c));
  EXPECT_EQ(TexteEquipotentielle(a), "Équipotentielle N1 : 3 pastilles");
  // The store is never changed by the tool; Escape puts the light out.
  EteintEquipotentielle(a);
  EXPECT_EQ(TexteEquipotentielle(a), "");
  EXPECT_FALSE(SuitEquipotentielle(a, p.b.c));
}

// After the first change the nets are followed from each change's records, not computed from
// the whole board again: the same nets and the same net lit as a computation from scratch.
TEST(Allumage, LesChangementsSuivisSansToutRelire) {
  Planche p;
  EquipotentielleAllumee a;
  ASSERT_TRUE(AllumeEquipotentielle(a, p.b.c, 1, 1000, 1000));  // on pad A
  EXPECT_EQ(a.CalculsEntiers, 1u);
  const std::vector<ElementCI> debut(p.b.c.Elements.begin(),
                                     p.b.c.Elements.begin() + p.b.c.NbElements + 1);
  auto Comme = [&](const char* texte) {
    EXPECT_TRUE(SuitEquipotentielle(a, p.b.c));
    EXPECT_EQ(TexteEquipotentielle(a), texte);
    const Equipotentielles entiers = CalculeEquipotentielles(p.b.c);
    ASSERT_EQ(a.nets.Liste.size(), entiers.Liste.size());
    for (size_t k = 0; k < entiers.Liste.size(); ++k) {
      EXPECT_EQ(a.nets.Liste[k].Nom, entiers.Liste[k].Nom);
      EXPECT_EQ(a.nets.Liste[k].Elements, entiers.Liste[k].Elements);
    }
  };
  p.b.Piste(1, {{1000, 1000}, {1000, 1074}});  // C joins A
  Comme("Équipotentielle N1 : 4 pastilles");
  SupprimeElements(p.b.c, Plage{p.t1, p.t1 + 1});  // A and C cut from V
  Comme("Équipotentielle N1 : 2 pastilles");
  p.b.c.EnteteCI.DiametresPercage[p.b.c.Elements[p.v].Attribut] = 0;  // V no longer plated
  Comme("Équipotentielle N1 : 2 pastilles");
  std::copy(debut.begin(), debut.end(), p.b.c.Elements.begin());  // the records back: A, V
  p.b.c.NbElements = static_cast<int32_t>(debut.size()) - 1;
  Comme("Équipotentielle N1 : 2 pastilles");
  // Read whole once, at the first change; followed since.
  EXPECT_EQ(a.CalculsEntiers, 2u);
  // The light out, what was kept goes; a click reads the board again.
  EteintEquipotentielle(a);
  EXPECT_EQ(a.suivi, nullptr);
  p.b.Piste(2, {{2000, 1000}, {2000, 1500}});
  ASSERT_TRUE(AllumeEquipotentielle(a, p.b.c, 1, 1000, 1000));
  EXPECT_EQ(a.CalculsEntiers, 3u);
}

TEST(Allumage, ImageDuNetSeul) {
  Planche p;
  EquipotentielleAllumee a;
  ASSERT_TRUE(AllumeEquipotentielle(a, p.b.c, 1, 1500, 1000));
  const Circuit avant = p.b.c;

  ContexteTrace ctx;
  ctx.Zoom = 2;
  CalculTailles(ctx, kDiametresPercageDefaut);
  ctx.OrigineY = 300;
  const int l = 400, h = 300;
  std::vector<uint32_t> lit(l * h, 0), attendu(l * h, 0);
  CanevasImage toileLit(lit.data(), l, h, l);
  TraceEquipotentielleAllumee(a, p.b.c, ctx, toileLit, 0xFFD000);

  // The expected elements alone, drawn as a circuit of their own in the same colours.
  CarteCuivre seul;
  seul.Pastille(1000, 1000);
  seul.Pastille(2000, 1000);
  seul.Pastille(3000, 1000);
  seul.Piste(1, {{1000, 1000}, {2000, 1000}});
  seul.Piste(2, {{2000, 1000}, {3000, 1000}});
  CanevasImage toile(attendu.data(), l, h, l);
  ContexteTrace k = ctx;
  k.Toile = &toile;
  k.SansCurseur = true;
  CouleursTrace couleurs;
  couleurs.fill(0xFFD000);
  couleurs[0] = kModeCopie;
  couleurs[6] = kNoir;
  TraceCircuit(seul.c, 1, seul.c.NbElements, couleurs, k, EtatTravail{1, 1, 1, 0});
  size_t allumes = 0;
  for (uint32_t v : lit) allumes += v != 0;
  EXPECT_GT(allumes, 200u);
  EXPECT_TRUE(lit == attendu);
  // Nothing of the store changed.
  EXPECT_TRUE(std::equal(avant.Elements.begin(), avant.Elements.end(), p.b.c.Elements.begin()));
}

// The picture laid over the window: drawn by bands of rows (the threads of a large net), each
// band cleared first, it is the whole picture; its records gathered again when the net grows.
TEST(Allumage, ImageEnBandes) {
  Planche p;
  EquipotentielleAllumee a;
  ASSERT_TRUE(AllumeEquipotentielle(a, p.b.c, 1, 1500, 1000));
  ContexteTrace ctx;
  ctx.Zoom = 2;
  CalculTailles(ctx, kDiametresPercageDefaut);
  ctx.OrigineY = 300;
  const int l = 400, h = 300;
  ctx.Zone = RectPixel{0, 0, l, h};
  ctx.Elagage = true;
  auto entier = [&] {
    std::vector<uint32_t> v(l * h, 0);
    CanevasImage toile(v.data(), l, h, l);
    TraceEquipotentielleAllumee(a, p.b.c, ctx, toile, 0xFFD000);
    return v;
  };
  auto enBandes = [&](std::initializer_list<int> bornes) {
    std::vector<uint32_t> v(l * h, 0xDEADBEEF);  // what the last picture left
    PrepareEquipotentielleAllumee(a, p.b.c);
    const std::vector<int> b(bornes);
    for (size_t i = 0; i + 1 < b.size(); ++i)
      TraceEquipotentielleBande(a, ctx, v.data(), l, l, b[i], b[i + 1], 0xFFD000);
    return v;
  };
  const std::vector<uint32_t> lit = entier();
  for (std::initializer_list<int> bornes :
       {std::initializer_list<int>{0, h}, {0, 137, h}, {0, 1, 250, 251, h}})
    EXPECT_TRUE(enBandes(bornes) == lit);
  // A track joining C to A: the gathered records follow the net as it grows.
  p.b.Piste(1, {{1000, 1000}, {1000, 1074}});
  ASSERT_TRUE(SuitEquipotentielle(a, p.b.c));
  const std::vector<uint32_t> grandi = enBandes({0, 150, h});
  EXPECT_FALSE(grandi == lit);
  EXPECT_TRUE(grandi == entier());
  // Nothing lit: the bands are only cleared.
  EteintEquipotentielle(a);
  EXPECT_TRUE(enBandes({0, h}) == std::vector<uint32_t>(l * h, 0));
}

}  // namespace
}  // namespace korv4
