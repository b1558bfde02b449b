// korv4-cli image: the picture of a circuit, its size, its works and overlays, its refusals.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <filesystem>
#include <string>

#include "OutilsCli.h"
#include "model/Fichiers.h"
#include "partage/canevas/CanevasQt.h"
#include "render/CircuitExemple.h"
#include "render/ContexteTrace.h"
#include "render/TraceCircuit.h"

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
  // Damaged headers (no surface, one whose width in pixels passes 32 bits at 100 %) are
  // repaired to the default surface when the circuit opens, and said.
  Circuit("nulle.CIX", 0, 4000);
  Circuit("enorme.CIX", 21474847, 4000);
  for (const char* nom : {"nulle.CIX", "enorme.CIX"}) {
    std::string erreur;
    EXPECT_EQ(Lance(std::string("image ") + nom + " r.png", &erreur), 0) << erreur;
    EXPECT_NE(erreur.find("est réparé"), std::string::npos) << erreur;
  }
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

// The editor's drawing of the whole surface on a QImage, as korv4-cli image drew it with Qt.
QImage DessinEditeur(const Circuit& c, int zoom, const EtatTravail& etat) {
  ContexteTrace ctx;
  ctx.Zoom = zoom;
  ctx.SurfaceX = c.EnteteCI.SurfaceX;
  ctx.SurfaceY = c.EnteteCI.SurfaceY;
  ctx.LargeurSurface = PixelX(ctx, ctx.SurfaceX);
  ctx.HauteurSurface = PixelY(ctx, ctx.SurfaceY);
  QImage image(ctx.LargeurSurface, ctx.HauteurSurface + 1, QImage::Format_RGB32);
  CanevasQt toile(image);
  ctx.Toile = &toile;
  ctx.Zone = {0, 0, image.width(), image.height()};
  ctx.OrigineX = 0;
  ctx.OrigineY = ctx.HauteurSurface;
  ctx.SansCurseur = true;
  ctx.Elagage = true;
  TraceFond(ctx);
  TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, etat);
  return image;
}

// The picture of a busy board, for every work and overlay and several zooms: a valid PNG that
// a reader of its own (Python's zlib and struct, every CRC checked) and Qt's reader both read
// as exactly the editor's drawing, in a file no larger than Qt's writer makes.
TEST_F(CliImage, PngValideIdentiqueAuDessinDeLEditeur) {
  korv4::Circuit c;
  CircuitExemple(c, 6000, 6000, 4000, 12);
  RemplitEnteteCI(c, "Essai", "", "", 6000, 4000);
  essai::Ecrit(Chemin("carte.CIX"), EcritCircuit(c));
  // The circuit as korv4-cli opens it (joined, repaired).
  korv4::Circuit ouvert;
  std::string erreur;
  ASSERT_TRUE(OuvreCircuit(ouvert, EcritCircuit(c), "carte.CIX", erreur)) << erreur;
  struct Cas {
    std::string options;
    int zoom;
    EtatTravail etat;
  };
  const Cas cas[] = {
      {"", 2, {1, 0, 0, 0}},
      {"--travail 2 --visu 1,3", 2, {2, 1, 0, 1}},
      {"--travail 3 --visu 1,2 --zoom 25", 0, {3, 1, 1, 0}},
      {"--travail 4 --visu 1,2,3 --zoom 150", 3, {4, 1, 1, 1}},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.options);
    ASSERT_EQ(Lance("image carte.CIX vue.png " + k.options, &erreur), 0) << erreur;
    const QImage attendu = DessinEditeur(ouvert, k.zoom, k.etat);
    const std::string png = Chemin("vue.png").string(), ppm = Chemin("vue.ppm").string();
    ASSERT_EQ(essai::Shell("python3 '" KORV4_LIT_PNG "' '" + png + "' '" + ppm + "' >/dev/null"),
              0);
    const std::vector<uint8_t> lu = essai::Lit(ppm);
    const std::string enTete = "P6\n" + std::to_string(attendu.width()) + " " +
                               std::to_string(attendu.height()) + "\n255\n";
    ASSERT_EQ(lu.size(), enTete.size() + 3u * attendu.width() * attendu.height());
    ASSERT_EQ(std::string(lu.begin(), lu.begin() + enTete.size()), enTete);
    const QImage qt = Image("vue.png");
    ASSERT_EQ(qt.size(), attendu.size());
    int differences = 0;
    for (int y = 0; y < attendu.height(); ++y) {
      for (int x = 0; x < attendu.width(); ++x) {
        const uint8_t* p =
            lu.data() + enTete.size() + 3 * (static_cast<size_t>(y) * attendu.width() + x);
        const uint32_t python = static_cast<uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
        differences += python != Px(attendu, x, y) || Px(qt, x, y) != Px(attendu, x, y);
      }
    }
    EXPECT_EQ(differences, 0);
    // No larger than Qt's PNG writer at its default settings makes it.
    QByteArray qtPng;
    QBuffer tampon(&qtPng);
    tampon.open(QIODevice::WriteOnly);
    ASSERT_TRUE(attendu.save(&tampon, "PNG"));
    EXPECT_LE(fs::file_size(png), static_cast<uintmax_t>(qtPng.size()));
  }
}

}  // namespace
}  // namespace korv4
