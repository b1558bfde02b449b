// korv4-cli apercu: the two sides of the board as it will come back, compared region by region
// with the set's Gerber and drill files drawn by gerbv at the same scale (mask openings, holes,
// legend where they belong, the bottom mirrored); the usage errors.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "CircuitsFabrication.h"
#include "OutilsCli.h"
#include "export/Apercu.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;
using essai::Ecrit;
using essai::Resultat;
using essai::Shell;

class CliApercu : public essai::DossierCli {
 protected:
  // gerbv's drawing of a file of the set over the work surface at 100 dpi: one pixel per 10
  // units, as the preview 1182 pixels across.
  QImage Gerbv(const std::string& fichier) const {
    const fs::path png = dossier_ / (fichier + ".png");
    Shell(
        "gerbv --export=png --dpi=100 --origin=0x0 --window_inch=11.82x7.88 --border=0 "
        "--background=#000000 --foreground=#FFFFFF --output='" +
        png.string() + "' '" + (dossier_ / "jeu" / fichier).string() + "' >/dev/null 2>&1");
    QImage i;
    EXPECT_TRUE(i.load(QString::fromStdString(png.string()))) << fichier;
    return i;
  }
};

// Whether the pixel and every pixel within 2 of it is lit (or dark): well inside a figure, away
// from the edges where two rasterisers may round differently.
bool Dedans(const QImage& i, int x, int y, bool allume) {
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx) {
      const int u = x + dx, v = y + dy;
      if (u < 0 || v < 0 || u >= i.width() || v >= i.height()) return false;
      if ((qGray(i.pixel(u, v)) > 128) != allume) return false;
    }
  return true;
}

TEST_F(CliApercu, RegionParRegionCommeLesFichiersDuJeu) {
  ASSERT_EQ(Shell("command -v gerbv >/dev/null"), 0);
  Circuit c = fabrication::CarteComplete();
  RemplitEnteteCI(c, "Essai", "1/2/2026", "Moi", 11820, 7880);
  Ecrit(Chemin("c.CIX"), EcritCircuit(c));
  ASSERT_EQ(Lance("fabrication c.CIX jeu --contour surface").code, 0);
  Resultat r = Lance("apercu c.CIX dessus.png dessous.png --largeur 1182 --contour surface");
  ASSERT_EQ(r.code, 0) << r.erreur;
  EXPECT_EQ(r.sortie, "dessus.png\ndessous.png (vu de dessous, en miroir)\n");
  const CouleursApercu k = CouleursDe(CouleurMasque::Vert);
  struct Regle {
    const char* fichier;
    bool dessous, allume;
    std::vector<uint32_t> couleurs;  // what the preview may show there
  };
  const std::vector<Regle> regles = {
      {"c.GTO", false, true, {k.Legende}},
      {"c-PTH.DRL", false, true, {k.Fond}},
      {"c-PTH.DRL", true, true, {k.Fond}},
      {"c-NPTH.DRL", false, true, {k.Fond}},
      {"c.GTS", false, true, {k.Finition, k.Substrat, k.Fond, k.Legende}},
      {"c.GBS", true, true, {k.Finition, k.Substrat, k.Fond}},
      {"c.GTS", false, false, {k.Masque, k.MasqueSurCuivre, k.Legende, k.Fond}},
      {"c.GBS", true, false, {k.Masque, k.MasqueSurCuivre, k.Fond}},
  };
  QImage apercus[2];
  ASSERT_TRUE(apercus[0].load(QString::fromStdString(Chemin("dessus.png").string())));
  ASSERT_TRUE(apercus[1].load(QString::fromStdString(Chemin("dessous.png").string())));
  for (const Regle& g : regles) {
    SCOPED_TRACE(std::string(g.fichier) + (g.dessous ? " dessous" : " dessus") +
                 (g.allume ? " allumé" : " éteint"));
    const QImage gerbv = Gerbv(g.fichier);
    const QImage& a = apercus[g.dessous ? 1 : 0];
    ASSERT_EQ(gerbv.size(), a.size());
    int64_t regions = 0, fautes = 0;
    for (int y = 0; y < gerbv.height(); ++y)
      for (int x = 0; x < gerbv.width(); ++x) {
        if (!Dedans(gerbv, x, y, g.allume)) continue;
        ++regions;
        const uint32_t p = a.pixel(g.dessous ? a.width() - 1 - x : x, y) & 0xFFFFFF;
        if (std::find(g.couleurs.begin(), g.couleurs.end(), p) == g.couleurs.end()) {
          if (fautes++ < 3) ADD_FAILURE() << "(" << x << ", " << y << ") : " << std::hex << p;
        }
      }
    EXPECT_GT(regions, 100);
    EXPECT_EQ(fautes, 0) << " sur " << regions;
  }
}

TEST_F(CliApercu, Erreurs) {
  Ecrit(Chemin("c.CIX"), EcritCircuit(fabrication::CarteComplete()));
  Ecrit(Chemin("vide.CIX"), EcritCircuit(Circuit{}));
  struct Cas {
    std::string arguments;
    int code;
    const char* message;
  };
  const std::vector<Cas> cas = {
      {"apercu c.CIX a.png", 1, "3 argument(s) attendu(s)"},
      {"apercu c.CIX a.png b.png --largeur 0", 1, "--largeur attend"},
      {"apercu c.CIX a.png b.png --largeur 20001", 1, "--largeur attend"},
      {"apercu c.CIX a.png b.png --masque jaune", 1, "--masque attend"},
      {"apercu c.CIX a.png a.png", 1, "le même fichier"},
      {"apercu c.CIX c.CIX b.png", 1, "c.CIX"},
      {"apercu vide.CIX a.png b.png", 4, "est vide"},
  };
  for (const Cas& k : cas) {
    const Resultat r = Lance(k.arguments);
    EXPECT_EQ(r.code, k.code) << k.arguments << "\n" << r.erreur;
    EXPECT_NE(r.erreur.find(k.message), std::string::npos) << k.arguments << "\n" << r.erreur;
    EXPECT_FALSE(fs::exists(Chemin("a.png"))) << k.arguments;
  }
}

}  // namespace
}  // namespace korv4
