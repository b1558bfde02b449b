// Printing without the platform: the exact printer scale, the printable area,
// the document boxes, the placing of the documents, the size check, the frame, title block and
// drill legend, on a recording canvas.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Enregistrement.h"
#include "model/Circuit.h"
#include "print/Impression.h"
#include "render/CanevasEnregistreur.h"
#include "render/ContexteTrace.h"

namespace korv4 {
namespace {

using essai::Fait;
using essai::Rec;

PageImprimante Page(int32_t ppp, int32_t largeurMm, int32_t hauteurMm, bool paysage = false) {
  PageImprimante p;
  p.PointsParPouceX = p.PointsParPouceY = ppp;
  p.LargeurPoints = static_cast<int32_t>(int64_t{largeurMm} * ppp * 10 / 254);
  p.HauteurPoints = static_cast<int32_t>(int64_t{hauteurMm} * ppp * 10 / 254);
  p.Paysage = paysage;
  return p;
}

TEST(Impression, EchelleExacteAToutesResolutions) {
  // One unit is dpi / 1000 dots whatever the resolution: 3937 units (100 mm) at 203 dpi are
  // 799 dots, not the 787 of ResolX = 203 div 10.
  for (const int32_t ppp : {72, 96, 150, 203, 300, 360, 600, 720, 1200, 2400, 4800}) {
    TravailImpression t;
    PrepareContexte(t, Page(ppp, 200, 280), 11820, 7880, false, false);
    for (const int32_t x : {0, 1, 999, 3937, 31500, 65535}) {
      EXPECT_EQ(PixelX(t.Contexte, x), static_cast<int32_t>(int64_t{x} * ppp / 1000))
          << ppp << " " << x;
      EXPECT_EQ(PixelY(t.Contexte, x), static_cast<int32_t>(int64_t{x} * ppp / 1000));
    }
    // Where the resolution is a multiple of 10, every position and size is that of a context at dpi
    // div 10 (R = dpi div 10, D = 100), at every zoom.
    if (ppp % 10 != 0) continue;
    ContexteTrace partie;
    partie.ResolX = partie.ResolY = ppp / 10;
    for (int32_t z = 0; z < 10; ++z) {
      ContexteTrace ctx = t.Contexte;
      ctx.Zoom = partie.Zoom = z;
      if (ppp <= 340) {  // where the 32-bit products of that context hold
        for (const int32_t x : {1, 77, 3937, 31500}) {
          EXPECT_EQ(PixelX(ctx, x), PixelX(partie, x)) << ppp << " " << z << " " << x;
        }
      }
      CalculTailles(ctx, kDiametresPercageDefaut);
      CalculTailles(partie, kDiametresPercageDefaut);
      EXPECT_EQ(ctx.Tailles.Pastille, partie.Tailles.Pastille) << ppp << " " << z;
      EXPECT_EQ(ctx.Tailles.Trou, partie.Tailles.Trou) << ppp << " " << z;
      EXPECT_EQ(ctx.Tailles.LargeurPiste, partie.Tailles.LargeurPiste);
      EXPECT_EQ(ctx.Tailles.TailleCaractere, partie.Tailles.TailleCaractere);
    }
  }
}

TEST(Impression, ProduitsSur64Bits) {
  // 2400 dpi at 1000 %: 2400 x 65535 x 200 passes 32 bits.
  TravailImpression t;
  PrepareContexte(t, Page(2400, 200, 280), 11820, 7880, false, false);
  t.Contexte.Zoom = 9;
  EXPECT_EQ(PixelX(t.Contexte, 65535), 1572840);
  EXPECT_EQ(PixelY(t.Contexte, 31500), 756000);
  CalculTailles(t.Contexte, kDiametresPercageDefaut);
  // A 6.5 mm hole at 2400 dpi x 10: 65 x 2400 x 10 / 254 dots.
  EXPECT_EQ(t.Contexte.Tailles.Trou[13], 65 * 2400 * 10 / 254);
  EXPECT_EQ(t.Contexte.Tailles.TailleCaractere[7], 2000 * 2400 * 10 / 10000);
  // A damaged diameter of 800 mm at that scale.
  std::array<int32_t, 14> d = kDiametresPercageDefaut;
  d[1] = 8000;
  CalculTailles(t.Contexte, d);
  EXPECT_EQ(t.Contexte.Tailles.Trou[1], static_cast<int32_t>(int64_t{8000} * 24000 / 254));
}

TEST(Impression, SurfaceImprimableEtLibelles) {
  PageImprimante p;
  p.PointsParPouceX = p.PointsParPouceY = 600;
  p.LargeurPoints = 7800;
  p.HauteurPoints = 4800;
  EXPECT_EQ(LargeurImprimable(p), 13000);
  EXPECT_EQ(HauteurImprimable(p), 8000);
  EXPECT_EQ(TexteMillimetres(13000), "  330 mm ");
  EXPECT_EQ(TexteMillimetres(0), "  0 mm ");
  // 203 dpi: 1624 dots are 8 inches.
  p.PointsParPouceX = 203;
  p.LargeurPoints = 1624;
  EXPECT_EQ(LargeurImprimable(p), 8000);
  p.PointsParPouceX = 0;  // a device without resolution
  EXPECT_EQ(LargeurImprimable(p), 0);
}

TEST(Impression, CasesDesDocuments) {
  struct Cas {
    const char* nom;
    std::vector<ElementCI> recs;
    bool f1, f2, f3, f4;
  };
  for (const Cas& k : std::vector<Cas>{
           {"vide", {}, false, false, false, false},
           {"face 2 seule", {Rec(2, 161, 0x80, 0, 0)}, false, true, false, false},
           {"pastilles seules", {Rec(3, 193, 0, 0, 0)}, true, false, false, false},
           {"pastille percee", {Rec(3, 198, 1, 0, 0)}, true, false, false, true},
           {"pastilles et face 2",
            {Rec(3, 193, 0, 0, 0), Rec(2, 161, 0x80, 0, 0)},
            false,
            true,
            false,
            false},
           {"face 1, implantation, percage",
            {Rec(1, 161, 0x80, 0, 0), Rec(4, 64, 1, 0, 0, 'A'), Rec(8, 128, 1, 0, 0)},
            true,
            false,
            true,
            true},
       }) {
    SCOPED_TRACE(k.nom);
    const CasesDocuments c = InitCases(Fait(k.recs));
    EXPECT_EQ(c.Face1, k.f1);
    EXPECT_EQ(c.Face2Active, k.f2);
    EXPECT_EQ(c.Face3Active, k.f3);
    EXPECT_EQ(c.Face4Active, k.f4);
  }
}

TEST(Impression, DescriptionsEtLegende) {
  EXPECT_STREQ(DescriptionDocuments(0), "KORV4");
  EXPECT_STREQ(DescriptionDocuments(5), "Typon face 1 et plan d'implantation");
  EXPECT_STREQ(DescriptionDocuments(15),
               "Faces 1 et 2, implantation, per\xE7"
               "age");
  for (int32_t m = 0; m < 16; ++m) EXPECT_LE(std::string(DescriptionDocuments(m)).size(), 40u);
  EXPECT_EQ(TexteDiametreLegende(8), "0,8 mm");
  EXPECT_EQ(TexteDiametreLegende(12), "1,2 mm");
  EXPECT_EQ(TexteDiametreLegende(32), "3,2 mm");
  EXPECT_EQ(TexteDiametreLegende(0), "0,0 mm");
  EXPECT_EQ(TexteDiametreLegende(120), "12,0 mm");
}

// A board 2000 x 1000 units (extent 1000..3000 by 1000..2000) with a track on each face, a
// placement line and a drilled pad.
Circuit Carte() {
  Circuit c =
      Fait({Rec(1, 161, 0x80, 1000, 1000), Rec(1, 161, 0x40, 3000, 1000),
            Rec(2, 161, 0x80, 1000, 2000), Rec(2, 161, 0x40, 1500, 2000),
            Rec(4, 128, 1, 1000, 1500), Rec(4, 129, 1, 3000, 1500), Rec(3, 198, 3, 2000, 1500)});
  c.EnteteCI.Titre = "Titre";
  c.EnteteCI.DateCI = "D";
  c.EnteteCI.Auteur = "A";
  return c;
}

TEST(Impression, MiseEnPageDesDocuments) {
  const Circuit c = Carte();
  // 600 dpi, 8 x 10 inches: W = 8000, H = 10000 units, pw = 4800, ph = 6000 dots.
  PageImprimante p;
  p.PointsParPouceX = p.PointsParPouceY = 600;
  p.LargeurPoints = 4800;
  p.HauteurPoints = 6000;
  ChoixDocuments choix;
  choix.Face1 = choix.Face3 = true;
  TravailImpression t = PrepareDocuments(c, p, choix, 2, 11820, 7880);
  EXPECT_EQ(t.W, 8000);
  EXPECT_EQ(t.H, 10000);
  EXPECT_EQ(t.pw, 4800);
  EXPECT_EQ(t.ph, 6000);
  EXPECT_EQ(t.Travaux, (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(t.DocumentsImprimes, 5);
  EXPECT_TRUE(t.TailleAcceptee);
  EXPECT_EQ(t.Contexte.SurfaceX, 11820);
  // Extent in dots: x 600..1800, y 600..1200; set-up centres it on the available area.
  EXPECT_EQ(t.Contexte.OrigineX, (1800 + 600 - 4800) / 2);
  EXPECT_EQ(t.Contexte.OrigineY, (1200 + 600 + 6000) / 2);

  // Portrait: the k-th of 2 documents in the k-th half, centred horizontally.
  CanevasEnregistreur toile;
  t.Contexte.Toile = &toile;
  t.EtatImpression.Travail = 1;
  ImprimeDocument(c, t, 1, 2);
  EXPECT_EQ(t.Contexte.OrigineY, (1 * 6000 / 2) / 2 + (1200 + 600) / 2);
  // The face-1 track, the extent's centre on the centre of the upper half (x 2400, y 1500).
  ASSERT_GE(toile.appels.size(), 2u);
  EXPECT_EQ(toile.appels[0].Texte(), "MoveTo 1800 1800");
  EXPECT_EQ(toile.appels[1].Texte(), "LineTo 3000 1800");
  ImprimeDocument(c, t, 2, 2);
  EXPECT_EQ(t.Contexte.OrigineY, (3 * 6000 / 2) / 2 + (1200 + 600) / 2);
  EXPECT_EQ(t.Contexte.OrigineX, -1200);

  // Landscape: side by side in columns from the left.
  p.Paysage = true;
  t = PrepareDocuments(c, p, choix, 1, 11820, 7880);
  t.Contexte.Toile = &toile;
  ImprimeDocument(c, t, 1, 2);
  EXPECT_EQ(t.Contexte.OrigineX, (1800 + 600) / 2 - (1 * 4800 / 2) / 2);
  EXPECT_EQ(t.Contexte.OrigineY, (1200 + 600 + 6000) / 2);
  ImprimeDocument(c, t, 2, 2);
  EXPECT_EQ(t.Contexte.OrigineX, (1800 + 600) / 2 - (3 * 4800 / 2) / 2);

  // Face 2 mirrored: top to bottom in portrait, left to right in landscape.
  choix = ChoixDocuments{};
  choix.Face1 = false;
  choix.Face2 = choix.InversionFace2 = true;
  EXPECT_EQ(PrepareDocuments(c, p, choix, 1, 1, 1).Travaux, std::vector<int32_t>{6});
  p.Paysage = false;
  EXPECT_EQ(PrepareDocuments(c, p, choix, 1, 1, 1).Travaux, std::vector<int32_t>{5});
  choix.InversionFace2 = false;
  EXPECT_EQ(PrepareDocuments(c, p, choix, 1, 1, 1).Travaux, std::vector<int32_t>{2});
  // No box, or an empty circuit: nothing to print.
  choix.Face2 = false;
  EXPECT_TRUE(PrepareDocuments(c, p, choix, 1, 1, 1).Vide());
  EXPECT_TRUE(PrepareDocuments(Circuit{}, p, ChoixDocuments{}, 1, 1, 1).Vide());
}

TEST(Impression, TailleAcceptableStricte) {
  // Printable width 2000 units at 1000 dpi: pw = 2000 dots; the board is 2000 units wide.
  const Circuit c = Carte();
  PageImprimante p;
  p.PointsParPouceX = p.PointsParPouceY = 1000;
  p.LargeurPoints = 2000;
  p.HauteurPoints = 10000;
  TravailImpression t = PrepareDocuments(c, p, ChoixDocuments{}, 1, 1, 1);
  EXPECT_FALSE(t.TailleAcceptee);  // exactly as wide: refused
  p.LargeurPoints = 2001;
  EXPECT_TRUE(PrepareDocuments(c, p, ChoixDocuments{}, 1, 1, 1).TailleAcceptee);
  // Portrait stacks: 4 documents of 1000 units need more than 4000 dots of height.
  ChoixDocuments tous;
  tous.Face2 = tous.Face3 = tous.Face4 = true;
  p.HauteurPoints = 4000;
  EXPECT_FALSE(PrepareDocuments(c, p, tous, 1, 1, 1).TailleAcceptee);
  p.HauteurPoints = 4001;
  EXPECT_TRUE(PrepareDocuments(c, p, tous, 1, 1, 1).TailleAcceptee);
  // With the frame, a drilling plan takes 750 units from the height, otherwise 500.
  tous.Cadre = true;
  t = PrepareDocuments(c, p, tous, 1, 1, 1);
  EXPECT_EQ(t.ph, 4001 - 750);
  tous.Face4 = false;
  EXPECT_EQ(PrepareDocuments(c, p, tous, 1, 1, 1).ph, 4001 - 500);
  // Landscape multiplies the width.
  p.Paysage = true;
  p.LargeurPoints = 6001;
  EXPECT_TRUE(PrepareDocuments(c, p, tous, 1, 1, 1).TailleAcceptee);
  p.LargeurPoints = 6000;
  EXPECT_FALSE(PrepareDocuments(c, p, tous, 1, 1, 1).TailleAcceptee);
}

TEST(Impression, ImpressionEcran) {
  const Circuit c = Carte();
  PageImprimante p;
  p.PointsParPouceX = p.PointsParPouceY = 600;
  p.LargeurPoints = 4800;
  p.HauteurPoints = 6000;
  ContexteTrace ecran;
  ecran.Zoom = 4;  // 200 %
  ecran.SurfaceX = 9000;
  EtatTravail etat;
  etat.Travail = 4;
  etat.VisuFace1 = 1;
  TravailImpression t = PrepareEcran(c, p, etat, ecran, true);
  EXPECT_EQ(t.ph, (10000 - 750) * 600 / 1000);
  EXPECT_EQ(t.Contexte.Zoom, 4);
  EXPECT_EQ(t.Contexte.SurfaceX, 9000);
  EXPECT_EQ(t.x2, 3600);  // 3000 units at 200 % and 600 dpi
  EXPECT_EQ(t.DocumentsImprimes, 8 | 1);
  EXPECT_TRUE(t.AvecLegende);
  EXPECT_EQ(t.Travaux, std::vector<int32_t>{4});
  // At 200 % the board is 2400 dots wide and 1200 high: it fits; at 1000 % it does not.
  EXPECT_TRUE(t.TailleAcceptee);
  ecran.Zoom = 9;
  EXPECT_FALSE(PrepareEcran(c, p, etat, ecran, true).TailleAcceptee);
}

TEST(Impression, CadreCartoucheEtLegende) {
  Circuit c = Carte();
  c.Elements[++c.NbElements] = Rec(3, 199, 1, 2500, 1500);  // drill indices 1 and 3 used
  // 1000 dpi: dots are units. W = 8000, H = 6000 (wider than tall: x0 = Wc - Hc = 2000).
  PageImprimante p;
  p.PointsParPouceX = p.PointsParPouceY = 1000;
  p.LargeurPoints = 8000;
  p.HauteurPoints = 6000;
  p.Paysage = true;
  ChoixDocuments choix;
  choix.Face4 = choix.Cadre = true;
  choix.Face1 = false;
  TravailImpression t = PrepareDocuments(c, p, choix, 1, 1, 1);
  CanevasEnregistreur toile;
  t.Contexte.Toile = &toile;
  const ContexteTrace avant = t.Contexte;
  Tracecadre(c, t, true);
  EXPECT_EQ(t.Contexte.OrigineX, avant.OrigineX);  // the context is restored
  EXPECT_EQ(t.Contexte.OrigineY, avant.OrigineY);
  EXPECT_FALSE(t.Contexte.SansCurseur);
  std::vector<std::string> figures;
  for (const AppelCanevas& a : toile.appels) {
    if (a.genre == AppelCanevas::Rectangle || a.epaisseur == 11) figures.push_back(a.Texte());
  }
  // Unit (0, 0) is the bottom-left corner of the printable area, device (0, 6000).
  const std::vector<std::string> attendu = {
      "Rectangle 0 6000 7940 40",       // the frame
      "Rectangle 2000 6000 7940 5500",  // the title block
      "MoveTo 2000 5750",
      "LineTo 7940 5750",
      "MoveTo 5973 6000",  // x0 + 2 x 5960 div 3
      "LineTo 5973 5500",
      "Rectangle 2000 6000 7940 5250",  // the legend row
  };
  ASSERT_GE(figures.size(), attendu.size());
  EXPECT_EQ(std::vector<std::string>(figures.begin(), figures.begin() + 7), attendu);
  for (const AppelCanevas& a : toile.appels) {
    if (a.genre == AppelCanevas::Rectangle) {
      EXPECT_EQ(a.plume, kNoir);
      EXPECT_EQ(a.styleBrosse, StyleBrosse::Creux);
      EXPECT_EQ(a.mode, ModePlume::Copie);
    }
  }
  // The legend: drill 1 (a cross) in the first of seven columns, drill 3 (a circle) in the
  // third; x = (Wc - x0) x (k - 1) div 7 + x0 + 200, y = 625.
  const int32_t x1 = 2200, x3 = (7960 - 2000) * 2 / 7 + 2000 + 200;
  const std::vector<std::string> t1 = toile.Textes();
  auto contient = [&](const std::string& s) {
    return std::find(t1.begin(), t1.end(), s) != t1.end();
  };
  EXPECT_TRUE(contient("MoveTo " + std::to_string(x1 - 40) + " " + std::to_string(6000 - 625)));
  EXPECT_TRUE(contient("Ellipse " + std::to_string(x3 - 50) + " " + std::to_string(6000 - 675) +
                       " " + std::to_string(x3 + 50) + " " + std::to_string(6000 - 575)));
  // Nothing in the other columns: no symbol of drill 2 (a triangle's first side).
  const int32_t x2 = (7960 - 2000) / 7 + 2000 + 200;
  EXPECT_FALSE(contient("MoveTo " + std::to_string(x2 - 40) + " " + std::to_string(6000 - 585)));
}

TEST(Impression, CadrePortraitEtTextes) {
  // Taller than wide: x0 = 0; the texts start 120 units right of their point, 65 up.
  Circuit c = Carte();
  c.EnteteCI.Titre = "T";
  c.EnteteCI.DateCI = "";
  c.EnteteCI.Auteur = "";
  PageImprimante p;
  p.PointsParPouceX = p.PointsParPouceY = 1000;
  p.LargeurPoints = 6000;
  p.HauteurPoints = 8000;
  ChoixDocuments choix;
  choix.Cadre = true;
  TravailImpression t = PrepareDocuments(c, p, choix, 1, 1, 1);
  CanevasEnregistreur toile;
  t.Contexte.Toile = &toile;
  Tracecadre(c, t, false);
  const std::vector<std::string> textes = toile.Textes();
  ASSERT_GE(textes.size(), 6u);
  EXPECT_EQ(textes[0], "Rectangle 0 8000 5940 40");
  EXPECT_EQ(textes[1], "Rectangle 0 8000 5940 7500");
  EXPECT_EQ(textes[4], "MoveTo 3973 8000");  // t = 2 x 5960 div 3
  // Four texts: "T" (one glyph) and the description "Typon face 1", nothing else, and no legend.
  int rectangles = 0;
  for (const AppelCanevas& a : toile.appels) rectangles += a.genre == AppelCanevas::Rectangle;
  EXPECT_EQ(rectangles, 2);
  // Every stroke of the texts is black, in copy mode, of the character stroke width of size 2.
  for (size_t i = 6; i < toile.appels.size(); ++i) {
    EXPECT_EQ(toile.appels[i].plume, kNoir);
    EXPECT_EQ(toile.appels[i].epaisseur, 150 * 1000 * 20 / 200000);
  }
}

}  // namespace
}  // namespace korv4
