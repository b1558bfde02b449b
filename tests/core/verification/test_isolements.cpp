// The isolation check on small boards where the faulty gap is known, in units (1/1000 inch):
// a clearance of 12 units is 0.3048 mm. Track 162 is 20 units wide, track 163 39; the
// circular pad 199 has a diameter of 126, the rectangular pad 193 is 35 x 59.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "model/Circuit.h"
#include "render/CircuitExemple.h"
#include "verification/CircuitsDenses.h"
#include "verification/Isolements.h"

namespace korv4 {
namespace {

constexpr double kIsolement12 = 12 * 0.0254;  // 12 units in mm

struct Carte {
  Circuit c;
  Carte() {
    c.EnteteCI.SurfaceX = 5000;
    c.EnteteCI.SurfaceY = 5000;
  }
  Carte& Rec(uint8_t couche, uint8_t code, uint8_t attribut, int32_t x, int32_t y,
             uint8_t car = 0) {
    AjouteRecord(c, couche, code, attribut, x, y, car);
    return *this;
  }
  Carte& Piste(uint8_t couche, uint8_t code, std::vector<std::pair<int32_t, int32_t>> pts) {
    for (size_t k = 0; k < pts.size(); ++k)
      Rec(couche, code,
          k == 0 ? kPremierPoint : (k + 1 == pts.size() ? kDernierPoint : kPointMilieu),
          pts[k].first, pts[k].second);
    return *this;
  }
  Carte& Texte(uint8_t couche, uint8_t taille, int32_t x, int32_t y, const std::string& t) {
    for (size_t k = 0; k < t.size(); ++k)
      Rec(couche, code::TexteH, taille, x + static_cast<int32_t>(k) * PasTexte[taille], y,
          static_cast<uint8_t>(t[k]));
    return Rec(couche, code::FinTexte, 0, 0, 0);
  }
};

std::vector<Defaut> Verifie(const Carte& k, double isolement = kIsolement12,
                            StylePastilles style = StylePastilles::Circulaires) {
  OptionsVerification o;
  o.IsolementMm = isolement;
  o.Pastilles = style;
  o.CouronneMm = 0;  // drills next to their pad's size: the ring rule has tests of its own
  return VerifieCircuit(k.c, o).Defauts;
}

std::string Liste(const std::vector<Defaut>& v) {
  std::string s;
  for (const Defaut& d : v) s += DecritDefaut(d, kIsolement12) + "\n";
  return s;
}

TEST(Isolements, DeuxPistesParalleles) {
  // Two face-2 tracks 162 (20 wide) one above the other; the gap between their edges.
  struct Cas {
    int32_t ecart;
    bool defaut;
  };
  const Cas cas[] = {{-5, false}, {0, false}, {1, true}, {11, true}, {12, false}, {13, false}};
  for (const Cas& k : cas) {
    SCOPED_TRACE("écart " + std::to_string(k.ecart));
    Carte b;
    b.Piste(2, 162, {{1000, 1000}, {2000, 1000}});
    b.Piste(2, 162, {{1200, 1020 + k.ecart}, {1800, 1020 + k.ecart}});
    const std::vector<Defaut> d = Verifie(b);
    if (!k.defaut) {
      EXPECT_TRUE(d.empty()) << Liste(d);
      continue;
    }
    ASSERT_EQ(d.size(), 1u) << Liste(d);
    EXPECT_EQ(d[0].Genre, GenreDefaut::Isolement);  // side by side: no end stops short
    EXPECT_EQ(d[0].Couche, 2);
    EXPECT_NEAR(d[0].Distance, k.ecart * 0.0254, 1e-9);
    EXPECT_NEAR(d[0].Y, 1010 + k.ecart / 2.0, 1e-6);
    EXPECT_GE(d[0].X, 1200 - 1e-6);
    EXPECT_LE(d[0].X, 1800 + 1e-6);
  }
}

TEST(Isolements, ChaqueFaceASonCuivre) {
  // The same two tracks, one on each face, or both on the placement plan: no copper to compare.
  for (uint8_t autre : {1, 4}) {
    Carte b;
    b.Piste(2, 162, {{1000, 1000}, {2000, 1000}});
    b.Piste(autre, 162, {{1000, 1025}, {2000, 1025}});
    EXPECT_TRUE(Verifie(b).empty()) << int(autre);
  }
  // Face 1 is checked as face 2 is.
  Carte b;
  b.Piste(1, 162, {{1000, 1000}, {2000, 1000}});
  b.Piste(1, 162, {{1000, 1025}, {2000, 1025}});
  const std::vector<Defaut> d = Verifie(b);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].Couche, 1);
}

TEST(Isolements, ExtremiteQuiSArreteAvantUnePastilleOuUnePiste) {
  struct Cas {
    const char* nom;
    int32_t ecart;
    bool pastille;  // a pad ahead of the end, or the side of a vertical track
    bool defaut;
  };
  const Cas cas[] = {
      {"pastille 8", 8, true, true},  {"pastille 12", 12, true, false},
      {"pastille 0", 0, true, false}, {"piste 5", 5, false, true},
      {"piste 12", 12, false, false}, {"piste -3", -3, false, false},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    Carte b;
    // A horizontal track ending at x = 1000 (its round end reaches 1010).
    b.Piste(2, 162, {{500, 1000}, {1000, 1000}});
    if (k.pastille) {
      b.Rec(3, 199, 2, 1010 + k.ecart + 63, 1000);
    } else {
      b.Piste(2, 162, {{1020 + k.ecart, 700}, {1020 + k.ecart, 1300}});
    }
    const std::vector<Defaut> d = Verifie(b);
    if (!k.defaut) {
      EXPECT_TRUE(d.empty()) << Liste(d);
      continue;
    }
    ASSERT_EQ(d.size(), 1u) << Liste(d);
    EXPECT_EQ(d[0].Genre, GenreDefaut::ExtremitePiste);
    EXPECT_NEAR(d[0].Distance, k.ecart * 0.0254, 1e-9);
    EXPECT_NEAR(d[0].X, 1010 + k.ecart / 2.0, 1e-6);
    EXPECT_NEAR(d[0].Y, 1000, 1e-6);
  }
}

TEST(Isolements, CuivreQuiSeToucheEstUnSeulMorceau) {
  // Two tracks 5 units apart, both ending on the same pad: one piece, no fault; the same
  // tracks without the pad are two pieces too close.
  for (bool pastille : {true, false}) {
    Carte b;
    b.Piste(2, 162, {{1000, 1000}, {2000, 1000}});
    b.Piste(2, 162, {{1000, 1025}, {2000, 1025}});
    if (pastille) b.Rec(3, 199, 2, 2000, 1012);
    EXPECT_EQ(Verifie(b).size(), pastille ? 0u : 1u) << Liste(Verifie(b));
  }
  // A U-shaped track whose arms are closer than the clearance: one piece.
  Carte u;
  u.Piste(1, 162, {{1000, 1000}, {2000, 1000}, {2000, 1025}, {1000, 1025}});
  EXPECT_TRUE(Verifie(u).empty()) << Liste(Verifie(u));
}

TEST(Isolements, PlusieursEndroitsEntreDeuxMorceauxUnSeulDefaut) {
  // A comb: one track whose teeth come 5 then 3 units from a second track: one fault, at the
  // narrowest place.
  Carte b;
  b.Piste(2, 162, {{1000, 1000}, {3000, 1000}});
  b.Piste(2, 162, {{1500, 1500}, {1500, 1025}});
  b.Piste(2, 162, {{2500, 1500}, {2500, 1023}});
  b.Piste(2, 162, {{1500, 1500}, {2500, 1500}});
  const std::vector<Defaut> d = Verifie(b);
  ASSERT_EQ(d.size(), 1u) << Liste(d);
  EXPECT_NEAR(d[0].Distance, 3 * 0.0254, 1e-9);
  EXPECT_NEAR(d[0].X, 2500, 1e-6);
}

TEST(Isolements, TextesDeCuivre) {
  // The letters of a text may touch or nearly touch: no fault inside a text ("ii", "é" have
  // dots and accents close to their strokes). A track passing under the text is too close.
  Carte b;
  b.Texte(2, 1, 1000, 1000, "ii\xE9:;%");
  EXPECT_TRUE(Verifie(b).empty()) << Liste(Verifie(b));
  // Letters without descenders: the strokes start at y = 3000 + 10 (the character offset) and
  // are 10 wide: bottom edge at 3005. A track 20 wide at y = 2990 has its top at 3000: 5 units
  // below.
  b.Texte(2, 1, 1000, 3000, "HE");
  b.Piste(2, 162, {{900, 2990}, {2000, 2990}});
  const std::vector<Defaut> d = Verifie(b);
  ASSERT_FALSE(d.empty());
  for (const Defaut& x : d) EXPECT_EQ(x.Genre, GenreDefaut::Isolement);
  EXPECT_NEAR(
      std::min_element(d.begin(), d.end(),
                       [](const Defaut& a, const Defaut& c) { return a.Distance < c.Distance; })
          ->Distance,
      5 * 0.0254, 1e-9);
}

TEST(Isolements, PastillesSelonLeurForme) {
  // Two rectangular pads 193 (35 x 59) side by side: edge to edge = centre distance - 35.
  // Octagonal pads 198 (outer diameter 79): flat sides face the axes, so the gap along x is
  // the centre distance - 79 cos 22.5.
  const double plat198 = 79 * std::cos(3.14159265358979323846 / 8);
  struct Cas {
    uint8_t code;
    int32_t entraxe;
    double ecart;
  };
  const Cas cas[] = {
      {193, 35 + 7, 7}, {193, 35 + 12, -1}, {193, 35, -1}, {198, 80, 80 - plat198}, {198, 72, -1}};
  for (const Cas& k : cas) {
    SCOPED_TRACE(std::to_string(k.code) + " " + std::to_string(k.entraxe));
    Carte b;
    b.Rec(3, k.code, 0, 1000, 1000);
    b.Rec(3, k.code, 0, 1000 + k.entraxe, 1000);
    const std::vector<Defaut> d = Verifie(b, kIsolement12, StylePastilles::Octogonales);
    if (k.ecart < 0) {
      EXPECT_TRUE(d.empty()) << Liste(d);
      continue;
    }
    // Pads are on both faces: one fault on each.
    ASSERT_EQ(d.size(), 2u) << Liste(d);
    EXPECT_EQ(d[0].Couche, 1);
    EXPECT_EQ(d[1].Couche, 2);
    EXPECT_NEAR(d[0].Distance, k.ecart * 0.0254, 1e-9);
  }
}

TEST(Isolements, PercageTropGrand) {
  struct Cas {
    uint8_t code;
    StylePastilles style;
    int32_t diametre;  // tenths of a millimetre
    double exces;      // mm, 0 for none
  };
  const double plat198 = 79 * std::cos(3.14159265358979323846 / 8) * 0.0254;
  const Cas cas[] = {
      {193, StylePastilles::Octogonales, 8, 0},  // 0.889 mm wide
      {193, StylePastilles::Octogonales, 9, 0.9 - 0.889},
      {198, StylePastilles::Circulaires, 20, 0},  // 2.0066 mm
      {198, StylePastilles::Circulaires, 21, 2.1 - 2.0066},
      {198, StylePastilles::Octogonales, 18, 0},  // across the flats: 1.854 mm
      {198, StylePastilles::Octogonales, 19, 1.9 - plat198},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(std::to_string(k.code) + " " + std::to_string(k.diametre));
    Carte b;
    b.c.EnteteCI.DiametresPercage[5] = k.diametre;
    b.Rec(3, k.code, 5, 1234, 2345);
    b.Rec(3, 204, 5, 3000, 3000);  // spare diameter: no copper, nothing to compare
    const std::vector<Defaut> d = Verifie(b, kIsolement12, k.style);
    if (k.exces == 0) {
      EXPECT_TRUE(d.empty()) << Liste(d);
      continue;
    }
    ASSERT_EQ(d.size(), 1u) << Liste(d);
    EXPECT_EQ(d[0].Genre, GenreDefaut::PercageTropGrand);
    EXPECT_EQ(d[0].Couche, 3);
    EXPECT_EQ(d[0].X, 1234);
    EXPECT_EQ(d[0].Y, 2345);
    EXPECT_NEAR(d[0].Distance, k.exces, 1e-9);
  }
}

TEST(Isolements, HorsContour) {
  // Surface 5000 x 5000. A circular pad 199 (radius 63) at x = 5000 - 63 touches the edge from
  // inside; 3 units further it is out by 3, reported once for both faces. A face-1 track 20
  // wide at y = 5 is out by 5 below; a placement-plan line 0.3 mm (12) wide at x = 6 is out by
  // 0 (inside); at x = 4 by 2.
  struct Cas {
    const char* nom;
    uint8_t couche;
    double dehors;  // units, 0 for inside
  };
  auto Construit = [](int k) {
    Carte b;
    switch (k) {
      case 0: b.Rec(3, 199, 2, 5000 - 63, 1000); break;
      case 1: b.Rec(3, 199, 2, 5000 - 60, 1000); break;
      case 2: b.Piste(1, 162, {{1000, 5}, {2000, 5}}); break;
      case 3: b.Rec(4, 128, 1, 6, 1000).Rec(4, 129, 1, 6, 2000); break;
      case 4: b.Rec(4, 128, 1, 4, 1000).Rec(4, 129, 1, 4, 2000); break;
    }
    return b;
  };
  const Cas cas[] = {{"pastille au bord", 3, 0},
                     {"pastille dehors", 3, 3},
                     {"piste dehors", 1, 5},
                     {"trait au bord", 4, 0},
                     {"trait dehors", 4, 2}};
  for (int k = 0; k < 5; ++k) {
    SCOPED_TRACE(cas[k].nom);
    const std::vector<Defaut> d = Verifie(Construit(k));
    if (cas[k].dehors == 0) {
      EXPECT_TRUE(d.empty()) << Liste(d);
      continue;
    }
    ASSERT_EQ(d.size(), 1u) << Liste(d);
    EXPECT_EQ(d[0].Genre, GenreDefaut::HorsContour);
    EXPECT_EQ(d[0].Couche, cas[k].couche);
    EXPECT_NEAR(d[0].Distance, cas[k].dehors * 0.0254, 1e-9);
  }
}

TEST(Isolements, LigneEnFrancais) {
  Defaut d;
  d.Genre = GenreDefaut::ExtremitePiste;
  d.Couche = 2;
  d.X = 500;
  d.Y = 200;
  d.Distance = 0.2;
  EXPECT_EQ(DecritDefaut(d, 0.3),
            "extrémité de piste face 2 : écart de 0,20 mm (minimum 0,30 mm) à X = 12,70 mm, "
            "Y = 5,08 mm");
}

TEST(Isolements, LeCircuitNeChangePas) {
  Circuit c;
  CircuitExemple(c, 3000, 8000, 6000, 5);
  const Circuit avant = c;
  VerifieIsolements(c, 0.3);
  EXPECT_EQ(c.NbElements, avant.NbElements);
  EXPECT_TRUE(std::equal(c.Elements.begin(), c.Elements.end(), avant.Elements.begin()));
}

void AttendLesMemesResultats(const Circuit& c, double isolement, bool avecDefauts) {
  OptionsVerification o;
  o.IsolementMm = isolement;
  o.PorteeMm = 2;
  const ResultatVerification grille = VerifieCircuit(c, o);
  o.SansIndex = true;
  const ResultatVerification toutes = VerifieCircuit(c, o);
  ASSERT_EQ(grille.Defauts.size(), toutes.Defauts.size());
  if (avecDefauts) {
    EXPECT_GT(grille.Defauts.size(), 0u);
  }
  for (size_t k = 0; k < grille.Defauts.size(); ++k) {
    EXPECT_EQ(grille.Defauts[k].Genre, toutes.Defauts[k].Genre);
    EXPECT_EQ(grille.Defauts[k].Couche, toutes.Defauts[k].Couche);
    // Exactly: the same pair of shapes measured in the same order gives the same bits.
    EXPECT_EQ(grille.Defauts[k].Distance, toutes.Defauts[k].Distance);
    EXPECT_EQ(grille.Defauts[k].X, toutes.Defauts[k].X);
    EXPECT_EQ(grille.Defauts[k].Y, toutes.Defauts[k].Y);
  }
  EXPECT_EQ(grille.EcartMinimalMm, toutes.EcartMinimalMm);
  EXPECT_EQ(grille.PisteMinimaleMm, toutes.PisteMinimaleMm);
}

// The grid finds the same faults as the comparison of every pair with every other, on dense
// random boards and at several clearances.
TEST(Isolements, LaGrilleTrouveCeQueTrouventToutesLesPaires) {
  for (uint32_t graine : {1u, 2u, 3u}) {
    Circuit c;
    CircuitExemple(c, 1500, 6000, 4000, graine);
    for (double isolement : {0.1, 0.3, 1.5}) {
      SCOPED_TRACE(std::to_string(graine) + " " + std::to_string(isolement));
      AttendLesMemesResultats(c, isolement, true);
    }
  }
}

// The same on boards whose copper is in one place or whose shapes the grid could index badly:
// stacked pads, large pads a unit apart, long slanted tracks side by side, a star of tracks
// through one point, pads and tracks packed on both faces, a random board squeezed into a
// few millimetres, and a cluster far from a lone pad.
TEST(Isolements, LaGrilleTrouveCeQueTrouventToutesLesPairesSurLesAmas) {
  const char* noms[] = {"empilées", "décalées", "biais", "étoile", "dense", "serré", "loin"};
  for (int genre = 0; genre < 7; ++genre) {
    SCOPED_TRACE(noms[genre]);
    Carte b;
    Circuit& c = b.c;
    Aleatoire a(static_cast<uint32_t>(genre) + 11);
    switch (genre) {
      case 0:
        for (int k = 0; k < 600; ++k) b.Rec(3, static_cast<uint8_t>(192 + k % 3), 2, 1000, 1000);
        b.Rec(3, 199, 2, 1120, 1000);
        break;
      case 1:
        for (int k = 0; k < 900; ++k) b.Rec(3, 203, 2, 1000 + k % 30, 1000 + k / 30);
        b.Rec(3, 193, 2, 1450, 1000);
        break;
      case 2:
        // Slanted tracks 30 units apart along x (their edges about 1 unit apart), and some
        // cut short, so that ends stop near their neighbours.
        for (int k = 0; k < 400; ++k)
          b.Piste(1, 162, {{100 + k * 30, 100}, {100 + k * 30 + 3000 - (k % 7) * 40, 3100}});
        break;
      case 3:
        for (int k = 0; k < 400; ++k)
          b.Piste(2, static_cast<uint8_t>(161 + k % 3),
                  {{2500 - 400 + k * 2, 1500}, {2500 + 400 - k * 2, 3500}});
        b.Rec(3, 199, 2, 2500, 3580);
        break;
      case 4: CircuitDense(c, 3000, 3); break;
      case 5: CircuitExemple(c, 1500, 1000, 1000, 7); break;
      case 6:
        CircuitExemple(c, 1200, 5000, 5000, 9);
        for (int32_t i = 1; i <= c.NbElements; ++i) {
          c.Elements[i].X = static_cast<uint16_t>(c.Elements[i].X / 8 + a.Entre(0, 3));
          c.Elements[i].Y = static_cast<uint16_t>(c.Elements[i].Y / 8);
        }
        b.Rec(3, 199, 2, 4900, 4900);
        break;
    }
    for (double isolement : {0.3, 1.5}) {
      SCOPED_TRACE(isolement);
      AttendLesMemesResultats(c, isolement, genre != 0);
    }
  }
}

// The search's work grows as the board, not as its square, however the copper is gathered:
// four times the shapes, about four times the pairs examined (a search by pairs would
// examine sixteen times as many).
TEST(Isolements, LeTravailCroitCommeLeCircuit) {
  auto Amas = [](int genre, int32_t nombre) {
    Carte b;
    b.c.EnteteCI.SurfaceX = 31000;
    b.c.EnteteCI.SurfaceY = 20000;
    for (int32_t k = 0; k < nombre; ++k) {
      switch (genre) {
        case 0: b.Rec(3, 198, 2, 1000, 1000); break;                              // stacked
        case 1: b.Rec(3, 203, 2, 1000 + k % 60, 1000 + k / 60); break;            // overlapping
        case 2: b.Rec(3, 192, 2, 1000 + k % 60 * 45, 1000 + k / 60 * 45); break;  // 10 apart
        case 3:  // a star of tracks through one point
          b.Piste(1, 162, {{5000 - 2000 + k % 4000, 3000}, {5000 + 2000 - k % 4000, 7000}});
          break;
      }
    }
    if (genre == 4) CircuitExemple(b.c, nombre, 1000, 1000, 7);  // a board in 5 x 5 mm
    b.Rec(3, 192, 2, 30000, 19000);                              // far away
    return VerifieCircuit(b.c).PairesExaminees;
  };
  for (int genre = 0; genre < 5; ++genre) {
    SCOPED_TRACE(genre);
    const int64_t petit = Amas(genre, 1500), grand = Amas(genre, 6000);
    EXPECT_LE(grand, 5 * petit + 1000);
    EXPECT_LE(grand, 60 * 6000);
  }
}

TEST(Isolements, EcartEtPisteLesPlusPetits) {
  Carte b;
  b.Piste(2, 163, {{1000, 1000}, {2000, 1000}});            // 39 wide
  b.Piste(2, 162, {{1000, 1000 + 20 + 30}, {2000, 1050}});  // 20 wide, 20.5 above the first
  OptionsVerification o;
  o.IsolementMm = 0.3;
  o.PorteeMm = 1;
  const ResultatVerification r = VerifieCircuit(b.c, o);
  EXPECT_TRUE(r.Defauts.empty());
  EXPECT_NEAR(r.EcartMinimalMm, (50 - 19.5 - 10) * 0.0254, 1e-9);
  EXPECT_NEAR(r.PisteMinimaleMm, 20 * 0.0254, 1e-9);
  // Beyond the reach: no smallest gap.
  o.PorteeMm = 0.2;
  EXPECT_EQ(VerifieCircuit(b.c, o).EcartMinimalMm, -1);
}

}  // namespace
}  // namespace korv4
