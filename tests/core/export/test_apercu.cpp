// The board as it will come back: what each pixel region of the two sides shows against the
// set's geometry (mask, openings and their finish, copper under the mask, legend, holes), the
// bottom seen from below, the colours, and the refusals.

#include <gtest/gtest.h>

#include "export/Apercu.h"
#include "render/CircuitExemple.h"

namespace korv4 {
namespace {

// A 4 x 3 inch board (work surface): a 3.2 mm pad with a 1 mm hole at (1000, 1000) joined by a
// face-2 track to a pad without a hole at (2000, 1000), a face-1 track elsewhere, a legend
// line.
Circuit Carte() {
  Circuit c;
  c.EnteteCI.SurfaceX = 4000;
  c.EnteteCI.SurfaceY = 3000;
  c.EnteteCI.DiametresPercage[2] = 10;
  AjouteRecord(c, 3, 199, 2, 1000, 1000);
  AjouteRecord(c, 3, 197, 0, 2000, 1000);
  AjouteRecord(c, 2, 164, kPremierPoint, 1000, 1000);
  AjouteRecord(c, 2, 164, kDernierPoint, 2000, 1000);
  AjouteRecord(c, 1, 164, kPremierPoint, 1000, 2500);
  AjouteRecord(c, 1, 164, kDernierPoint, 3000, 2500);
  AjouteRecord(c, 4, code::Trait1, 4, 500, 2000);
  AjouteRecord(c, 4, code::Trait2, 4, 3500, 2000);
  return c;
}

uint32_t Pixel(const ImageApercu& i, double xUnites, double yUnites, bool dessous) {
  // 1000 pixels across 4000 units: 4 units a pixel; y downward from the top edge (3000).
  const double x = dessous ? (4000 - xUnites) / 4 : xUnites / 4;
  const auto px = static_cast<size_t>(x), py = static_cast<size_t>((3000 - yUnites) / 4);
  return i.Pixels[py * static_cast<size_t>(i.Largeur) + px] & 0xFFFFFF;
}

TEST(Apercu, CeQueChaqueRegionMontre) {
  const Circuit c = Carte();
  OptionsFabrication of;
  of.Contour = ContourFabrication::Surface;
  const PlanFabrication plan = PrepareJeu(c, of);
  for (CouleurMasque couleur : {CouleurMasque::Vert, CouleurMasque::Blanc}) {
    SCOPED_TRACE(NomCouleurMasque(couleur));
    const CouleursApercu k = CouleursDe(couleur);
    OptionsApercu o;
    o.Masque = couleur;
    for (bool dessous : {false, true}) {
      SCOPED_TRACE(dessous ? "dessous" : "dessus");
      ImageApercu image;
      std::string erreur;
      ASSERT_TRUE(DessineApercu(c, plan, o, dessous, image, erreur)) << erreur;
      EXPECT_EQ(image.Largeur, 1000);
      EXPECT_EQ(image.Hauteur, 750);
      struct Cas {
        const char* ou;
        double x, y;
        uint32_t dessus, dessous;
      };
      const std::vector<Cas> cas = {
          {"trou", 1000, 1000, k.Fond, k.Fond},
          {"couronne", 1040, 1000, k.Finition, k.Finition},
          {"pastille sans trou", 2000, 1000, k.Finition, k.Finition},
          {"piste face 2", 1500, 1000, k.MasqueSurCuivre, k.Masque},
          {"piste face 1", 2000, 2500, k.Masque, k.MasqueSurCuivre},
          {"implantation", 3000, 2000, k.Legende, k.Masque},
          {"nu", 3000, 500, k.Masque, k.Masque},
      };
      for (const Cas& x : cas)
        EXPECT_EQ(Pixel(image, x.x, x.y, dessous), dessous ? x.dessous : x.dessus) << x.ou;
    }
  }
}

// The picture is the set's outline: the rectangle drawn on the drilling plan.
TEST(Apercu, LeContourDuJeu) {
  Circuit c = Carte();
  AjouteRecord(c, 8, code::Rectangle1, 1, 500, 500);
  AjouteRecord(c, 8, code::Rectangle2, 1, 2500, 1500);
  const PlanFabrication plan = PrepareJeu(c, {});
  OptionsApercu o;
  o.Largeur = 400;
  ImageApercu image;
  std::string erreur;
  ASSERT_TRUE(DessineApercu(c, plan, o, false, image, erreur)) << erreur;
  EXPECT_EQ(image.Hauteur, 200);
  // The hole at (1000, 1000): 500 units from the left and the top of the outline, 5 a pixel.
  EXPECT_EQ(image.Pixels[100 * 400 + 100] & 0xFFFFFF, CouleursDe(CouleurMasque::Vert).Fond);
}

TEST(Apercu, Refus) {
  const Circuit vide;
  const Circuit c = Carte();
  std::string erreur;
  ImageApercu image;
  EXPECT_FALSE(DessineApercu(vide, PrepareJeu(vide, {}), {}, false, image, erreur));
  EXPECT_FALSE(erreur.empty());
  for (int largeur : {0, 20001}) {
    OptionsApercu o;
    o.Largeur = largeur;
    erreur.clear();
    EXPECT_FALSE(DessineApercu(c, PrepareJeu(c, {}), o, false, image, erreur));
    EXPECT_NE(erreur.find("largeur"), std::string::npos);
    EXPECT_TRUE(image.Pixels.empty());
  }
}

}  // namespace
}  // namespace korv4
