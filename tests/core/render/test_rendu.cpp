#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/Circuit.h"
#include "render/CanevasEnregistreur.h"
#include "render/CanevasImage.h"
#include "render/ContexteTrace.h"
#include "render/Curseur.h"
#include "render/TraceCircuit.h"

namespace korv4 {
namespace {

using Textes = std::vector<std::string>;

ContexteTrace Ecran(int zoom, CanevasEnregistreur* toile = nullptr) {
  ContexteTrace ctx;
  ctx.Zoom = zoom;
  ctx.Toile = toile;
  ctx.CouleurCurseur = kCouleurCurseur;  // as the main window sets it at start-up
  CalculTailles(ctx, kDiametresPercageDefaut);
  return ctx;
}

void Pose(Circuit& c, uint8_t couche, uint8_t code, uint8_t attr, uint16_t x, uint16_t y,
          uint8_t car = 0) {
  ElementCI& e = c.Elements[++c.NbElements];
  e = ElementCI{couche, code, attr, car, x, y};
}

// Only the drawing calls of one kind.
Textes Filtre(const CanevasEnregistreur& t, AppelCanevas::Genre g) {
  Textes r;
  for (const AppelCanevas& a : t.appels) {
    if (a.genre == g) r.push_back(a.Texte());
  }
  return r;
}

TEST(ContexteTrace, ConversionsEtGrille) {
  struct Cas {
    int zoom;
    int32_t pixel100;
  };
  for (const Cas& k : {Cas{0, 2}, Cas{1, 5}, Cas{2, 10}, Cas{9, 100}}) {
    const ContexteTrace ctx = Ecran(k.zoom);
    EXPECT_EQ(PixelX(ctx, 100), k.pixel100) << k.zoom;
    EXPECT_EQ(PixelY(ctx, 100), k.pixel100) << k.zoom;
  }
  ContexteTrace ctx = Ecran(2);
  ctx.OrigineX = 30;
  ctx.OrigineY = 500;
  EXPECT_EQ(PixelPoint(ctx, 1000, 200), (PointPixel{70, 480}));
  // The printer scale: R = 60 (600 dpi), D = 100: one unit is 0.6 dot at 100 %.
  ContexteTrace imp = Ecran(2);
  imp.ResolX = imp.ResolY = 60;
  EXPECT_EQ(PixelX(imp, 1000), 600);

  // 1/2 pas at 100 %: scaled pixels 0..4 give 0, 5..9 give 50; the half-step offset the
  // pointer handling adds makes pixel 3 snap to 50.
  ctx.Grille = 1;
  for (int p = 0; p <= 9; ++p) EXPECT_EQ(GrilleX(ctx, p), p < 5 ? 0 : 50) << p;
  const int32_t demi = PixelX(ctx, kPasGrille[1]) / 2;
  EXPECT_EQ(GrilleX(ctx, 3 + demi), 50);
  EXPECT_EQ(GrilleY(ctx, 1 + demi), 0);
}

TEST(ContexteTrace, TableDesTailles) {
  const TaillesTrace t25 = Ecran(0).Tailles;
  const TaillesTrace t100 = Ecran(2).Tailles;
  const TaillesTrace t1000 = Ecran(9).Tailles;
  EXPECT_EQ(t100.Pastille[1], (std::array<int32_t, 2>{1, 2}));
  EXPECT_EQ(t100.Pastille[11][1], 19);
  EXPECT_EQ(t1000.Pastille[11][1], 196);
  EXPECT_EQ(t25.Pastille[1], (std::array<int32_t, 2>{0, 0}));
  EXPECT_EQ(t100.Trou[0], 0);
  EXPECT_EQ(t100.Trou[1], 3);  // 0.8 mm
  EXPECT_EQ(t1000.Trou[1], 31);
  EXPECT_EQ(t100.LargeurPiste[0], 1);
  EXPECT_EQ(t100.LargeurPiste[1], 1);  // 0.3 mm
  EXPECT_EQ(t100.LargeurPiste[6], 9);  // 2.5 mm
  EXPECT_EQ(t25.LargeurPiste[0], 1);   // the constant pixel does not scale
  EXPECT_EQ(t25.TailleCaractere[0], 1);
  EXPECT_EQ(t1000.TailleCaractere[3], 100);
  EXPECT_EQ(t100.TraitCaractere[2], 1);
  EXPECT_EQ(t100.RayonMire(), 10);
  EXPECT_EQ(t100.CroixMire(), 15);
  EXPECT_EQ(t100.RayonInterieurMire(), 1);
  EXPECT_EQ(t1000.RayonMarqueOrigine(), 78);
  EXPECT_EQ(t1000.PlumeMarqueOrigine(), 11);
  EXPECT_EQ(t1000.PlumeSymbolePercage(), 11);

  // A changed drill diameter is taken at the next computation.
  ContexteTrace ctx = Ecran(9);
  auto diam = kDiametresPercageDefaut;
  diam[5] = 30;
  CalculTailles(ctx, diam);
  EXPECT_EQ(ctx.Tailles.Trou[5], (30 * 2000) / 508);

  // A damaged table: no hole is wider than the largest surface (800 mm), none is negative.
  diam[2] = 2000000000;
  diam[3] = -40;
  diam[4] = 8000;
  CalculTailles(ctx, diam);
  EXPECT_EQ(ctx.Tailles.Trou[2], (8000 * 2000) / 508);
  EXPECT_EQ(ctx.Tailles.Trou[3], 0);
  EXPECT_EQ(ctx.Tailles.Trou[4], (8000 * 2000) / 508);
}

TEST(TracePastille, FormesTrousEtMire) {
  CanevasEnregistreur t;
  ContexteTrace ctx = Ecran(2, &t);
  ctx.OrigineY = 1000;
  // Pad at (1000, 500): device point (100, 950).
  TracePastille(ctx, 1000, 500, 6, 1, kNoir, kBlanc);
  EXPECT_EQ(t.Textes(),
            (Textes{"Polygone 101 953 103 951 103 949 101 947 99 947 97 949 97 951 99 953",
                    "Ellipse 99 949 101 951"}));
  EXPECT_EQ(t.appels[0].brosse, kNoir);
  EXPECT_EQ(t.appels[1].brosse, kBlanc);
  EXPECT_EQ(t.appels[1].styleBrosse, StyleBrosse::Plein);

  t.appels.clear();
  TracePastille(ctx, 1000, 500, 1, 0, kNoir, kBlanc);  // 0,9 x 1,5 mm, no hole
  EXPECT_EQ(t.Textes(), (Textes{"Rectangle 99 948 101 952"}));

  t.appels.clear();
  TracePastille(ctx, 1000, 500, 13, 5, kNoir, kBlanc);  // target: its hole is an outline
  EXPECT_EQ(t.Textes(),
            (Textes{"MoveTo 115 950", "LineTo 85 950", "MoveTo 100 965", "LineTo 100 935",
                    "Ellipse 90 940 110 960", "Ellipse 99 949 101 951", "Ellipse 97 947 103 953"}));
  EXPECT_EQ(t.appels.back().styleBrosse, StyleBrosse::Creux);
  EXPECT_EQ(t.appels.back().plume, kBlanc);

  t.appels.clear();
  TracePastille(ctx, 1000, 500, 12, 1, kNoir, kBlanc);   // spare diameter: only the hole
  TracePastille(ctx, 1000, 500, 7, 200, kNoir, kBlanc);  // damaged drill index: no hole
  EXPECT_EQ(t.Textes().size(), 2u);
  EXPECT_EQ(t.appels[0].genre, AppelCanevas::Ellipse);
  EXPECT_EQ(t.appels[1].genre, AppelCanevas::Polygone);
}

TEST(TraceCircuit, PistesEtDessins) {
  Circuit c;
  CanevasEnregistreur t;
  ContexteTrace ctx = Ecran(2, &t);
  ctx.OrigineY = 1000;
  ctx.SansCurseur = true;
  Pose(c, 1, 166, kPremierPoint, 100, 100);  // 1
  Pose(c, 1, 166, kPointMilieu, 200, 100);
  Pose(c, 1, 161, kDernierPoint, 200, 200);
  Pose(c, 4, code::Cercle, 2, 500, 500);  // 4: circle with a broken partner
  Pose(c, 4, code::Trait1, 1, 300, 300);  // 5
  Pose(c, 4, code::Trait2, 4, 400, 300);
  Pose(c, 4, code::Rectangle1, 3, 100, 100);  // 7
  Pose(c, 4, code::Rectangle2, 3, 300, 200);
  Pose(c, 4, code::Cercle, 1, 500, 500);  // 9
  Pose(c, 4, code::Rayon, 1, 100, 0);
  Pose(c, 4, code::Ellipse1, 1, 0, 0);  // 11
  Pose(c, 4, code::Ellipse2, 1, 50, 30);

  // From a middle point: no segment to it.
  TracePistes(c, 2, 3, ModePlume::Copie, ctx, kNoir, 1);
  EXPECT_EQ(t.Textes(), (Textes{"MoveTo 20 990", "LineTo 20 980"}));
  EXPECT_EQ(t.appels[1].epaisseur, 1);
  EXPECT_EQ(ctx.PlumeX, 20);
  EXPECT_EQ(ctx.PlumeY, 980);
  t.appels.clear();
  TracePistes(c, 1, 3, ModePlume::OuExclusif, ctx, kRouge, 1);
  EXPECT_EQ(t.Textes(),
            (Textes{"MoveTo 10 990", "LineTo 20 990", "MoveTo 20 990", "LineTo 20 980"}));
  EXPECT_EQ(t.appels[1].epaisseur, 9);  // each segment takes the width of its end point
  EXPECT_EQ(t.appels[1].mode, ModePlume::OuExclusif);
  t.appels.clear();
  TracePistes(c, 1, 3, ModePlume::Copie, ctx, kNoir, 2);  // other face: nothing
  EXPECT_TRUE(t.appels.empty());

  TraceDessins(c, 1, c.NbElements, ModePlume::Copie, ctx, kBleu, 4);
  EXPECT_EQ(t.Textes(), (Textes{"MoveTo 30 970", "LineTo 40 970", "Rectangle 10 990 30 980",
                                "Ellipse 40 960 60 940", "Ellipse 0 1000 5 997"}));
  EXPECT_EQ(t.appels[1].epaisseur, 3);  // thickness 4 (1 mm) at 100 %: 394 / 100
  EXPECT_EQ(t.appels[2].epaisseur, 3);  // thickness 3 (0.8 mm)
  EXPECT_EQ(t.appels[2].styleBrosse, StyleBrosse::Creux);
  EXPECT_EQ(t.appels[2].plume, kBleu);
}

TEST(TraceCircuit, OrdreEtCouleursParTravail) {
  Circuit c;
  Pose(c, 1, 163, kPremierPoint, 100, 100);
  Pose(c, 1, 163, kDernierPoint, 200, 100);
  Pose(c, 2, 163, kPremierPoint, 100, 300);
  Pose(c, 2, 163, kDernierPoint, 200, 300);
  Pose(c, 4, code::Trait1, 1, 0, 0);
  Pose(c, 4, code::Trait2, 1, 10, 10);
  Pose(c, 8, code::Trait1, 1, 0, 0);
  Pose(c, 8, code::Trait2, 1, 20, 20);
  Pose(c, kCouchePastilles, 199, 3, 500, 500);
  // The colour of every LineTo, Polygone and Rectangle in order.
  auto couleurs = [&](EtatTravail e) {
    CanevasEnregistreur t;
    ContexteTrace ctx = Ecran(2, &t);
    ctx.SansCurseur = true;
    TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, e);
    std::vector<Couleur> r;
    for (const AppelCanevas& a : t.appels) {
      if (a.genre != AppelCanevas::MoveTo && a.genre != AppelCanevas::Ellipse) {
        r.push_back(a.plume);
      }
    }
    return r;
  };
  using V = std::vector<Couleur>;
  EXPECT_EQ(couleurs({1, 0, 0, 0}), (V{kNoir, kNoir}));
  EXPECT_EQ(couleurs({1, 1, 1, 1}), (V{kVert, kBleu, kNoir, kNoir}));
  EXPECT_EQ(couleurs({2, 1, 1, 1}), (V{kRouge, kBleu, kNoir, kNoir}));
  EXPECT_EQ(couleurs({3, 0, 0, 0}), (V{kNoir}));  // no pads without a face shown
  EXPECT_EQ(couleurs({3, 1, 0, 0}), (V{kRouge, kRouge, kNoir}));
  EXPECT_EQ(couleurs({3, 1, 1, 0}), (V{kRouge, kVert, kVert, kNoir}));
  // Work 4: placement overlay, its own drawings, then the drill symbols (index 3: a circle).
  EXPECT_EQ(couleurs({4, 0, 0, 1}), (V{kBleu, kNoir}));
  EXPECT_EQ(couleurs({0, 1, 1, 1}), V{});

  CanevasEnregistreur t;
  ContexteTrace ctx = Ecran(2, &t);
  ctx.SansCurseur = true;
  TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, {4, 0, 0, 0});
  EXPECT_EQ(Filtre(t, AppelCanevas::Ellipse), (Textes{"Ellipse 45 -55 55 -45"}));
}

TEST(TraceCircuit, FaceDeuxEnMiroir) {
  Circuit c;
  Pose(c, 2, 163, kPremierPoint, 100, 100);
  Pose(c, 2, 163, kDernierPoint, 300, 500);
  Pose(c, kCouchePastilles, 197, 0, 100, 100);
  Pose(c, 4, code::Trait1, 1, 0, 0);  // drawings are left out of mirrored prints
  Pose(c, 4, code::Trait2, 1, 100, 100);
  // The box (drawings included, though they are not drawn) is x 0..300, y 0..500.
  for (int travail : {5, 6}) {
    CanevasEnregistreur t;
    ContexteTrace ctx = Ecran(2, &t);
    ctx.SansCurseur = true;
    TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, {travail, 0, 0, 0});
    const Textes attendu = travail == 5
                               ? Textes{"MoveTo 10 -40", "LineTo 30 0", "Rectangle 8 -42 12 -38"}
                               : Textes{"MoveTo 20 -10", "LineTo 0 -50", "Rectangle 18 -12 22 -8"};
    EXPECT_EQ(t.Textes(), attendu) << travail;
  }
}

TEST(TraceSymbolePercage, Symboles) {
  CanevasEnregistreur t;
  ContexteTrace ctx = Ecran(9, &t);
  ctx.OrigineY = 1000;
  // Device point (100, 900); half-sizes at 1000 %: index 2 -> 40, 4 -> 60, 7 -> 100.
  TraceSymbolePercage(ctx, 100, 100, ModePlume::Copie, kNoir, 2);
  EXPECT_EQ(t.Textes(),
            (Textes{"MoveTo 60 940", "LineTo 140 940", "LineTo 100 860", "LineTo 60 940"}));
  t.appels.clear();
  TraceSymbolePercage(ctx, 100, 100, ModePlume::Copie, kNoir, 4);
  EXPECT_EQ(t.Textes(), (Textes{"Rectangle 40 870 160 930", "Rectangle 70 840 130 960"}));
  t.appels.clear();
  TraceSymbolePercage(ctx, 100, 100, ModePlume::Copie, kNoir, 7);
  EXPECT_EQ(t.Textes(), (Textes{"Ellipse 0 800 200 1000", "MoveTo 0 900", "LineTo 200 900",
                                "MoveTo 100 800", "LineTo 100 1000"}));
  EXPECT_EQ(t.appels[0].epaisseur, 11);
  t.appels.clear();
  for (int i : {0, 11, 12}) TraceSymbolePercage(ctx, 100, 100, ModePlume::Copie, kNoir, i);
  EXPECT_TRUE(t.appels.empty());
}

TEST(TraceCaractere, DecalageParOrientation) {
  // Size 2 (offset 15 units, scale 7 pixels at 100 %); "1" starts with the stroke (1,0)-(2,0).
  struct Cas {
    int orientation;
    std::string debut;
  };
  const std::vector<Cas> cas = {{0, "MoveTo 3 984"},
                                {1, "MoveTo 0 982"},
                                {2, "MoveTo -2 987"},
                                {4, "MoveTo -2 984"},
                                {6, "MoveTo 3 987"}};
  for (const Cas& k : cas) {
    CanevasEnregistreur t;
    ContexteTrace ctx = Ecran(2, &t);
    ctx.OrigineY = 1000;
    TraceCaractere(ctx, 10, 150, ModePlume::Copie, kNoir, '1', k.orientation, 2);
    ASSERT_FALSE(t.appels.empty()) << k.orientation;
    EXPECT_EQ(t.appels[0].Texte(), k.debut) << k.orientation;
    EXPECT_EQ(t.appels[1].epaisseur, 1);
    EXPECT_EQ(t.appels[1].styleBrosse, StyleBrosse::Creux);
  }
  CanevasEnregistreur t;
  ContexteTrace ctx = Ecran(2, &t);
  TraceCaractere(ctx, 10, 150, ModePlume::Copie, kNoir, ' ', 0, 2);
  EXPECT_TRUE(t.appels.empty());
}

TEST(TraceFond, FondSurfaceEtPoints) {
  struct Cas {
    int zoom;
    size_t points;
  };
  // Surface 1000 x 500 units; zone 0..400 x 0..300 pixels.
  for (const Cas& k : {Cas{0, 0}, Cas{1, 4 * 3}, Cas{2, 9 * 5}}) {
    CanevasEnregistreur t;
    ContexteTrace ctx = Ecran(k.zoom, &t);
    ctx.Zone = {0, 0, 400, 300};
    ctx.LargeurSurface = PixelX(ctx, 1000);
    ctx.HauteurSurface = PixelY(ctx, 500);
    ctx.OrigineY = 300;
    TraceFond(ctx);
    // The navy pieces, then the surface, then the dots.
    const Textes rectangles = Filtre(t, AppelCanevas::Rectangle);
    ASSERT_FALSE(rectangles.empty());
    EXPECT_EQ(rectangles.back(), "Rectangle 0 301 " + std::to_string(ctx.LargeurSurface) + " " +
                                     std::to_string(300 - ctx.HauteurSurface));
    const AppelCanevas& surface = t.appels[rectangles.size() - 1];
    EXPECT_EQ(surface.plume, kRouge);
    EXPECT_EQ(surface.brosse, kBlanc);
    EXPECT_EQ(Filtre(t, AppelCanevas::Pixel).size(), k.points) << k.zoom;
  }

  // The cursor is erased before the background covers it, also on a context whose drawing
  // passes leave the cursor alone: otherwise its next erasure would draw it back.
  CanevasEnregistreur t;
  ContexteTrace ctx = Ecran(2, &t);
  ctx.Zone = {0, 0, 400, 300};
  ctx.OrigineY = 300;
  PlaceCurseur(ctx, 100, 100);
  ctx.SansCurseur = true;
  t.appels.clear();
  TraceFond(ctx);
  EXPECT_FALSE(ctx.CurseurVisible);
  ASSERT_FALSE(t.appels.empty());
  EXPECT_EQ(t.appels[0].mode, ModePlume::OuExclusif);
  EXPECT_EQ(t.appels[0].Texte(), "MoveTo 0 290");
}

// The zone's pixels after the background: navy where the surface is not, its red edge and
// white inside where it is, whatever the zone held before; the surface inside the zone, across
// its edges, over all of it and away from it.
TEST(TraceFond, MarineAutourDeLaSurface) {
  constexpr int kL = 120, kH = 90;
  struct Cas {
    int32_t origineX, origineY, largeur, hauteur;
  };
  for (const Cas& k : {Cas{-30, 60, 60, 40}, Cas{0, 30, 60, 40}, Cas{-80, 100, 60, 40},
                       Cas{0, 150, 200, 200}, Cas{-200, 60, 60, 40}, Cas{-10, 10, 1, 1}}) {
    std::vector<uint32_t> px(kL * kH, 0xFF123456u);
    CanevasImage image(px.data(), kL, kH, kL);
    ContexteTrace ctx = Ecran(0);  // no grid dots
    ctx.Toile = &image;
    ctx.Zone = {10, 5, 110, 85};
    ctx.LargeurSurface = k.largeur;
    ctx.HauteurSurface = k.hauteur;
    ctx.OrigineX = k.origineX;
    ctx.OrigineY = k.origineY;
    TraceFond(ctx);
    const int32_t l = -k.origineX, r = l + std::max(k.largeur - 1, 0);
    const int32_t b = k.origineY, h = b - std::max(k.hauteur, 0);
    int fautes = 0;
    for (int y = 5; y < 85; ++y) {
      for (int x = 10; x < 110; ++x) {
        const bool dans = x >= l && x <= r && y >= h && y <= b;
        const bool bord = dans && (x == l || x == r || y == h || y == b);
        const Couleur attendu = !dans ? kMarine : bord ? kRouge : kBlanc;
        if (px[y * kL + x] != (0xFF000000u | attendu) && ++fautes <= 3) {
          ADD_FAILURE() << "pixel " << x << "," << y << " origine " << k.origineX << ","
                        << k.origineY;
        }
      }
    }
    EXPECT_EQ(fautes, 0);
  }
}

TEST(Curseur, ContrainteDesPistes) {
  struct Cas {
    int32_t ax, ay, x, y, rx, ry;
  };
  const std::vector<Cas> cas = {{0, 0, 100, 40, 100, 0},        {0, 0, 40, 100, 0, 100},
                                {0, 0, 100, 60, 100, 100},      {0, 0, 60, 100, 100, 100},
                                {200, 200, 140, 260, 140, 260}, {200, 200, 150, 200, 150, 200},
                                {200, 200, 120, 150, 120, 120}};
  for (const Cas& k : cas) {
    ContexteTrace ctx = Ecran(2);
    ChoixFormeCurseur(ctx, Curseur::Piste, 3);
    ctx.PisteEnCours = true;
    ctx.AncreX = k.ax;
    ctx.AncreY = k.ay;
    PlaceCurseur(ctx, k.x, k.y);
    EXPECT_EQ(ctx.CurseurX, k.rx) << k.x << "," << k.y;
    EXPECT_EQ(ctx.CurseurY, k.ry) << k.x << "," << k.y;
  }
  // Without a track being drawn the point is kept.
  ContexteTrace ctx = Ecran(2);
  ChoixFormeCurseur(ctx, Curseur::Piste, 3);
  PlaceCurseur(ctx, 100, 40);
  EXPECT_EQ(ctx.CurseurY, 40);
}

TEST(Curseur, FiguresEtAffichage) {
  CanevasEnregistreur t;
  ContexteTrace ctx = Ecran(2, &t);
  ctx.OrigineY = 1000;
  CacheCurseur(ctx);  // hiding a hidden cursor draws nothing
  EXPECT_TRUE(t.appels.empty());

  ChoixFormeCurseur(ctx, Curseur::Zone);
  PlaceCurseur(ctx, 500, 500);
  Elastique(ctx, true);
  t.appels.clear();
  CacheCurseur(ctx);  // on the anchor: the crosshair only
  EXPECT_EQ(t.Textes(),
            (Textes{"MoveTo 40 950", "LineTo 60 950", "MoveTo 50 940", "LineTo 50 960"}));
  EXPECT_EQ(t.appels[0].mode, ModePlume::OuExclusif);
  EXPECT_EQ(t.appels[0].plume, 0x7FFFFFu);
  EXPECT_EQ(t.Mode(), ModePlume::Copie);
  MontreCurseur(ctx);
  t.appels.clear();
  PlaceCurseur(ctx, 800, 300);  // erases, then crosshair and the dotted zone frame
  ASSERT_EQ(t.appels.size(), 4u + 5u);
  EXPECT_EQ(t.appels[8].Texte(), "Rectangle 50 950 80 970");
  EXPECT_EQ(t.appels[8].style, StylePlume::Pointille);
  EXPECT_TRUE(ctx.CurseurVisible);
  EXPECT_EQ(ZoneCurseur(ctx), (Cadre{500, 500, 800, 300}));

  // A 2.5 mm track: the rubber band takes the track width.
  ChoixFormeCurseur(ctx, Curseur::Piste, 6);
  EXPECT_EQ(ctx.LargeurElastique, 9);
  t.appels.clear();
  CacheCurseur(ctx);
  EXPECT_EQ(t.appels.back().Texte(), "LineTo 80 970");
  EXPECT_EQ(t.appels.back().epaisseur, 9);

  // Circle: radius the larger offset; carried frame: same size at the cursor.
  ChoixFormeCurseur(ctx, Curseur::Cercle, 0, true);
  t.appels.clear();
  CacheCurseur(ctx);
  EXPECT_EQ(t.appels.back().Texte(), "Ellipse 20 920 80 980");
  FixeCadre(ctx, Cadre{100, 400, 300, 200}, true);
  ChoixFormeCurseur(ctx, Curseur::CadrePorte);
  t.appels.clear();
  CacheCurseur(ctx);
  EXPECT_EQ(t.appels.back().Texte(), "Rectangle 80 970 100 950");

  RazCurseur(ctx);
  EXPECT_FALSE(ctx.CurseurVisible);
  EXPECT_FALSE(ctx.ElastiqueActif);
  EXPECT_EQ(ctx.FormeCurseur, Curseur::Croix);
}

TEST(Curseur, MarqueOrigine) {
  CanevasEnregistreur t;
  ContexteTrace ctx = Ecran(2, &t);
  ctx.OrigineY = 1000;
  TraceMarqueOrigine(ctx, 1000, 1000, ModePlume::OuExclusif, 0x7FFFFF, 0);
  EXPECT_EQ(t.Textes(), (Textes{"MoveTo 115 900", "LineTo 85 900", "MoveTo 100 915",
                                "LineTo 100 885", "Ellipse 93 893 107 907"}));
  EXPECT_EQ(t.appels[0].epaisseur, 1);
}

TEST(Selection, SurbrillanceAppariee) {
  Circuit c;
  Pose(c, 1, 163, kPremierPoint, 100, 100);
  Pose(c, 1, 163, kDernierPoint, 200, 100);
  Pose(c, kCouchePastilles, 199, 3, 500, 500);
  CanevasEnregistreur t;
  ContexteTrace ctx = Ecran(2, &t);
  ctx.SansCurseur = true;
  ChoixSelection(c, Plage{1, 3}, {4, 1, 0, 0}, ctx);
  const size_t n = t.appels.size();
  ASSERT_GT(n, 0u);
  for (const AppelCanevas& a : t.appels) {
    if (a.genre != AppelCanevas::MoveTo) {
      EXPECT_EQ(a.mode, ModePlume::OuExclusif);
    }
  }
  EXPECT_TRUE(ctx.SelectionVisible);
  MontreSelection(c, ctx);  // already shown: nothing drawn
  EXPECT_EQ(t.appels.size(), n);
  CacheSelection(c, ctx);
  EXPECT_EQ(t.appels.size(), 2 * n);
  AnnuleSelection(c, ctx);
  EXPECT_EQ(t.appels.size(), 2 * n);
  EXPECT_EQ(ctx.SelectionDebut, 0);
  MontreSelection(c, ctx);  // no range: nothing drawn
  EXPECT_EQ(t.appels.size(), 2 * n);
}

TEST(TraceElement, DernierAjout) {
  Circuit c;
  Pose(c, 1, 166, kPremierPoint, 100, 100);
  Pose(c, 1, 166, kDernierPoint, 200, 100);
  Pose(c, 4, code::Cercle, 2, 500, 500);
  Pose(c, 4, code::Rayon, 2, 100, 0);
  CanevasEnregistreur t;
  ContexteTrace ctx = Ecran(2, &t);
  ctx.SansCurseur = true;
  TraceElement(c, 1, CouleursNormales(), ctx);  // a first point alone draws nothing
  EXPECT_TRUE(t.appels.empty());
  TraceElement(c, 2, CouleursNormales(), ctx);
  TraceElement(c, 4, CouleursNormales(), ctx);
  EXPECT_EQ(t.Textes(), (Textes{"MoveTo 10 -10", "LineTo 20 -10", "Ellipse 40 -40 60 -60"}));
  EXPECT_EQ(t.appels[1].epaisseur, 9);
  EXPECT_EQ(t.appels[2].epaisseur, 1);
}

}  // namespace
}  // namespace korv4
