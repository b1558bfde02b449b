// korv4-cli image: the picture of a circuit, its size, its works and overlays, its refusals.

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <string>

#include "OutilsCli.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;

class CliImage : public essai::DossierCli {
 protected:
  // A circuit file with a 3,2 mm pad (drill index 2) at (1000, 1000) and a face-1 track.
  void Circuit(const std::string& nom, int32_t sx, int32_t sy) {
    korv4::Circuit c;
    auto pose = [&](uint8_t couche, uint8_t code, uint8_t attr, uint16_t x, uint16_t y) {
      c.Elements[++c.NbElements] = ElementCI{couche, code, attr, 0, x, y};
    };
    pose(kCouchePastilles, 199, 2, 1000, 1000);
    pose(1, 166, kPremierPoint, 2000, 2000);
    pose(1, 166, kDernierPoint, 4000, 2000);
    RemplitEnteteCI(c, "Essai", "", "", sx, sy);
    essai::Ecrit(Chemin(nom), EcritCircuit(c));
  }

  // `avant`: a shell command run first (a file size limit).
  int Lance(const std::string& arguments, std::string* erreur = nullptr,
            const std::string& avant = "") const {
    const essai::Resultat r = DossierCli::Lance(arguments, avant);
    if (erreur != nullptr) *erreur = r.erreur;
    return r.code;
  }

  QImage Image(const std::string& nom) const {
    return QImage(QString::fromStdString(Chemin(nom).string()));
  }
};

uint32_t Px(const QImage& im, int x, int y) { return im.pixel(x, y) & 0xFFFFFF; }

TEST_F(CliImage, TravauxVisuEtTaille) {
  Circuit("a.CIX", 6000, 4000);
  std::string erreur;
  ASSERT_EQ(Lance("image a.CIX a.png", &erreur), 0) << erreur;
  const QImage im = Image("a.png");
  // 100 %: the surface is 600 x 400 pixels, its frame one row more (the row of unit 0).
  ASSERT_EQ(im.size(), QSize(600, 401));
  EXPECT_EQ(Px(im, 0, 0), 0xFF0000u);  // frame
  EXPECT_EQ(Px(im, 0, 400), 0xFF0000u);
  EXPECT_EQ(Px(im, 599, 200), 0xFF0000u);
  EXPECT_EQ(Px(im, 315, 200), 0x000000u);      // the track (y 2000 -> row 200)
  EXPECT_EQ(Px(im, 100 + 4, 300), 0x000000u);  // the pad (row 300), beside its hole
  EXPECT_EQ(Px(im, 100, 300), 0xFFFFFFu);      // its hole
  EXPECT_EQ(Px(im, 10, 390), 0x000000u);       // a grid dot
  EXPECT_EQ(Px(im, 15, 390), 0xFFFFFFu);

  struct Cas {
    std::string options;
    uint32_t piste, pastille;
  };
  const Cas cas[] = {
      {"--travail 2", 0xFFFFFF, 0x000000},
      {"--travail 2 --visu 1", 0xFF0000, 0x000000},
      {"--travail 3", 0xFFFFFF, 0xFFFFFF},  // no face shown: no pads
      {"--travail 3 --visu 1,3", 0xFF0000, 0xFF0000},
      {"--travail 4 --visu 2", 0xFFFFFF, 0x008000},
  };
  for (const Cas& k : cas) {
    ASSERT_EQ(Lance("image a.CIX b.png " + k.options, &erreur), 0) << k.options << erreur;
    const QImage b = Image("b.png");
    EXPECT_EQ(Px(b, 315, 200), k.piste) << k.options;
    EXPECT_EQ(Px(b, 104, 300), k.pastille) << k.options;
  }

  ASSERT_EQ(Lance("image a.CIX c.png --zoom 25"), 0);
  EXPECT_EQ(Image("c.png").size(), QSize(150, 101));
  ASSERT_EQ(Lance("image a.CIX c.png --zoom 1000"), 0);
  EXPECT_EQ(Image("c.png").size(), QSize(6000, 4001));
}

TEST_F(CliImage, Refus) {
  Circuit("a.CIX", 6000, 4000);
  Circuit("grand.CIX", 31000, 31000);
  // Damaged headers: no surface, and one whose width in pixels passes 32 bits at 100 %.
  Circuit("nulle.CIX", 0, 4000);
  Circuit("enorme.CIX", 21474847, 4000);
  struct Cas {
    std::string arguments;
    int code;
  };
  const Cas cas[] = {
      {"image a.CIX", 1},
      {"image a.CIX x.png --travail 5", 1},
      {"image a.CIX x.png --visu 1,4", 1},
      {"image a.CIX x.png --zoom 70", 1},
      {"image grand.CIX x.png --zoom 1000", 1},  // 31000 x 31001 pixels
      {"image enorme.CIX x.png", 1},             // 2147484 x 401 pixels
      {"image nulle.CIX x.png", 2},
      {"image absent.CIX x.png", 2},
      {"image a.CIX dossier/absent/x.png", 3},
  };
  for (const Cas& k : cas) {
    std::string erreur;
    EXPECT_EQ(Lance(k.arguments, &erreur), k.code) << k.arguments << "\n" << erreur;
    EXPECT_FALSE(erreur.empty()) << k.arguments;
    EXPECT_FALSE(fs::exists(dossier_ / "x.png")) << k.arguments;
  }
  std::string erreur;
  // A picture that cannot be written whole leaves the previous file as it was.
  const std::string precedent(600, 'p');
  std::ofstream(dossier_ / "y.png", std::ios::binary) << precedent;
  EXPECT_EQ(Lance("image a.CIX y.png", &erreur, "ulimit -f 1"), 3) << erreur;
  EXPECT_NE(erreur.find("n'a pas été modifié"), std::string::npos) << erreur;
  std::ifstream f(dossier_ / "y.png", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), precedent);
  Lance("image grand.CIX x.png --zoom 1000", &erreur);
  EXPECT_NE(erreur.find("100 millions"), std::string::npos) << erreur;
  EXPECT_EQ(Lance("image grand.CIX x.png --zoom 25"), 0);
}

}  // namespace
}  // namespace korv4
