// korv4-cli typon: exit codes, the refusal without --forcer, and the PDF measured with
// poppler-utils: 1:1 lengths, documents stacked in portrait and side by side in landscape, face
// 2 mirrored about the extent's centre, the frame, title block and drill legend.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "CircuitsFabrication.h"
#include "MesurePdf.h"
#include "OutilsCli.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;
using essai::Ecrit;
using mesure::Boite;
using mesure::ImageGrise;
using mesure::Rend;

// A4 at 1200 dpi with 10-point margins (QPrinter's PDF page): the printable area in dots.
constexpr double kMarge = 1200.0 * 10 / 72;  // 166.7 dots
constexpr int kLargeurA4 = 9583, kHauteurA4 = 13699;

class Typon : public essai::DossierCli {
 protected:
  void SetUp() override {
    DossierCli::SetUp();
    Ecrit(Chemin("mesure.CIX"), EcritCircuit(fabrication::CarteMesure()));
  }
  int Lance(const std::string& arguments, std::string* erreur = nullptr,
            const std::string& avant = "") const {
    const essai::Resultat r = DossierCli::Lance(arguments, avant);
    if (erreur) *erreur = r.erreur;
    return r.code;
  }
  std::string Pdf(const std::string& nom) const { return Chemin(nom).string(); }
};

TEST_F(Typon, CodesDeSortie) {
  Ecrit(Chemin("vide.CIX"), EcritCircuit(Circuit{}));
  fabrication::Fabrique face2;  // face 2 only: the dialog checks no document
  face2.Piste(2, 162, {{1000, 1000}, {2000, 1000}});
  Ecrit(Chemin("face2.CIX"), EcritCircuit(face2.c));
  struct Cas {
    std::string arguments;
    int code;
    const char* message;  // part of the message on stderr
  };
  const Cas cas[] = {
      {"typon mesure.CIX", 1, "argument"},
      {"typon mesure.CIX x.pdf --papier B5", 1, "--papier"},
      {"typon mesure.CIX x.pdf --documents 1,5", 1, "--documents"},
      {"typon mesure.CIX x.pdf --inconnue", 1, "inconnue"},
      {"typon absent.CIX x.pdf", 2, "absent.CIX"},
      {"typon vide.CIX x.pdf", 4, "vide"},
      {"typon face2.CIX x.pdf", 4, "--documents"},
      // Three documents of 100 mm do not stack in the 277 mm of an A4 page.
      {"typon mesure.CIX x.pdf --documents 1,2,3", 2,
       "La taille du CI ets trop grande. Désirez-vous continuer ?"},
      {"typon mesure.CIX x.pdf --documents 1,3,4 --paysage", 2, "--forcer"},
      {"typon mesure.CIX dossier/absent/x.pdf", 3, "x.pdf"},
  };
  for (const Cas& k : cas) {
    std::string erreur;
    EXPECT_EQ(Lance(k.arguments, &erreur), k.code) << k.arguments << "\n" << erreur;
    EXPECT_NE(erreur.find(k.message), std::string::npos) << k.arguments << "\n" << erreur;
    EXPECT_FALSE(fs::exists(Chemin("x.pdf"))) << k.arguments;
  }
  std::string erreur;
  EXPECT_EQ(Lance("typon face2.CIX x.pdf --documents 2", &erreur), 0) << erreur;
  EXPECT_EQ(Lance("typon mesure.CIX x.pdf --documents 1,2,3 --forcer", &erreur), 0) << erreur;
  EXPECT_EQ(Lance("typon mesure.CIX x.pdf --documents 1,2,3 --papier A3", &erreur), 0) << erreur;
  EXPECT_EQ(mesure::TaillePage(Pdf("x.pdf")), "842 x 1191 pts (A3)");
  EXPECT_EQ(Lance("typon mesure.CIX x.pdf --papier letter --paysage", &erreur), 0) << erreur;
  EXPECT_EQ(mesure::TaillePage(Pdf("x.pdf")), "792 x 612 pts (letter)");
  // A PDF that cannot be written whole leaves the previous file as it was.
  const std::string precedent(600, 'p');
  std::ofstream(Chemin("y.pdf"), std::ios::binary) << precedent;
  EXPECT_EQ(Lance("typon mesure.CIX y.pdf --documents 1,2 --cadre", &erreur, "ulimit -f 1"), 3)
      << erreur;
  std::ifstream f(Chemin("y.pdf"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), precedent);
}

TEST_F(Typon, UnPourUn) {
  // Face 1 alone, portrait A4: the 100-mm tracks measure 100 mm within one printer dot
  // (1/1200 inch), across and down the page.
  std::string erreur;
  ASSERT_EQ(Lance("typon mesure.CIX a.pdf", &erreur), 0) << erreur;
  EXPECT_EQ(mesure::TaillePage(Pdf("a.pdf")), "595 x 842 pts (A4)");
  const mesure::MesureL m = mesure::MesureLDe(Pdf("a.pdf"));
  mesure::VerifieUnPourUn(m);
  // A 0.5 mm track: 197 tenths of a unit, 23 dots.
  EXPECT_NEAR(m.largeurPiste, 23, 1.0);
  // One document, centred in the printable area (150 dpi: 1/8 of the dots).
  const double cx = (kMarge + kLargeurA4 / 2.0) / 8, cy = (kMarge + kHauteurA4 / 2.0) / 8;
  EXPECT_NEAR(m.boite150.CentreX(), cx, 1.5);
  EXPECT_NEAR(m.boite150.CentreY(), cy, 1.5);
  // The PDF is vector strokes: a few kilobytes.
  EXPECT_LT(fs::file_size(Chemin("a.pdf")), 20000u);
}

TEST_F(Typon, DocumentsEmpilesOuCoteACote) {
  std::string erreur;
  // Portrait, face 1 and placement plan: face 1 centred in the upper half of the page.
  ASSERT_EQ(Lance("typon mesure.CIX p.pdf --documents 1,3", &erreur), 0) << erreur;
  const ImageGrise p = Rend(Pdf("p.pdf"), 150);
  const double milieu = (kMarge + kHauteurA4 / 2.0) / 8;
  const Boite haut = mesure::BoiteNoire(p, {0, 0, p.largeur - 1, static_cast<int>(milieu)});
  const Boite bas =
      mesure::BoiteNoire(p, {0, static_cast<int>(milieu), p.largeur - 1, p.hauteur - 1});
  ASSERT_FALSE(haut.Vide());
  ASSERT_FALSE(bas.Vide());
  EXPECT_NEAR(haut.CentreX(), (kMarge + kLargeurA4 / 2.0) / 8, 1.5);
  EXPECT_NEAR(haut.CentreY(), (kMarge + kHauteurA4 / 4.0) / 8, 1.5);
  // The placement outline (1500..4500 square) is 31.5 units right of and below the extent's
  // centre (2968.5, 3031.5): its box is centred on the lower half's centre plus that.
  EXPECT_NEAR(bas.CentreX(), (kMarge + kLargeurA4 / 2.0 + 31.5 * 1.2) / 8, 2);
  EXPECT_NEAR(bas.CentreY(), (kMarge + kHauteurA4 * 3 / 4.0 + 31.5 * 1.2) / 8, 2);
  // The face-1 document keeps its size.
  mesure::VerifieUnPourUn(mesure::MesureLDe(Pdf("p.pdf"), haut));

  // Landscape: side by side, face 1 in the left half, the placement plan in the right one.
  ASSERT_EQ(Lance("typon mesure.CIX l.pdf --documents 1,3 --paysage", &erreur), 0) << erreur;
  EXPECT_EQ(mesure::TaillePage(Pdf("l.pdf")), "842 x 595 pts (A4)");
  const ImageGrise l = Rend(Pdf("l.pdf"), 150);
  const double centre = (kMarge + kHauteurA4 / 2.0) / 8;
  const Boite gauche = mesure::BoiteNoire(l, {0, 0, static_cast<int>(centre), l.hauteur - 1});
  const Boite droite =
      mesure::BoiteNoire(l, {static_cast<int>(centre), 0, l.largeur - 1, l.hauteur - 1});
  EXPECT_NEAR(gauche.CentreX(), (kMarge + kHauteurA4 / 4.0) / 8, 1.5);
  EXPECT_NEAR(gauche.CentreY(), (kMarge + kLargeurA4 / 2.0) / 8, 1.5);
  EXPECT_NEAR(droite.CentreX(), (kMarge + kHauteurA4 * 3 / 4.0 + 31.5 * 1.2) / 8, 2);
  mesure::VerifieUnPourUn(mesure::MesureLDe(Pdf("l.pdf"), gauche));
}

// Share of the black pixels of `a` whose mirror image (about x = axe, or y = axe) is black in
// `b`.
double Recouvrement(const ImageGrise& a, const ImageGrise& b, double axe, bool gaucheDroite) {
  int noirs = 0, communs = 0;
  for (int y = 0; y < a.hauteur; ++y) {
    for (int x = 0; x < a.largeur; ++x) {
      if (!a.Noir(x, y)) continue;
      ++noirs;
      const int mx = gaucheDroite ? static_cast<int>(std::lround(2 * axe - x)) : x;
      const int my = gaucheDroite ? y : static_cast<int>(std::lround(2 * axe - y));
      // One pixel of slack for the rounding of the positions.
      bool trouve = false;
      for (int d = -1; d <= 1 && !trouve; ++d) {
        trouve = gaucheDroite ? b.Noir(mx + d, my) : b.Noir(mx, my + d);
      }
      communs += trouve;
    }
  }
  return noirs ? static_cast<double>(communs) / noirs : 0;
}

TEST_F(Typon, Face2EnMiroir) {
  struct Cas {
    const char* options;
    bool gaucheDroite;
    double axe;  // the available area's centre, 150 dpi
  };
  for (const Cas& k : {Cas{"", false, (kMarge + kHauteurA4 / 2.0) / 8},
                       Cas{" --paysage", true, (kMarge + kHauteurA4 / 2.0) / 8}}) {
    SCOPED_TRACE(k.options);
    std::string erreur;
    ASSERT_EQ(Lance(std::string("typon mesure.CIX n.pdf --documents 2") + k.options, &erreur), 0)
        << erreur;
    ASSERT_EQ(
        Lance(std::string("typon mesure.CIX m.pdf --documents 2 --inversion-face2") + k.options,
              &erreur),
        0)
        << erreur;
    const ImageGrise n = Rend(Pdf("n.pdf"), 150), m = Rend(Pdf("m.pdf"), 150);
    const Boite bn = mesure::BoiteNoire(n), bm = mesure::BoiteNoire(m);
    ASSERT_FALSE(bn.Vide());
    ASSERT_FALSE(bm.Vide());
    // The face-2 L and its text sit in the bottom-left corner of the extent: mirrored about
    // the extent's centre, which the print puts on the available area's centre.
    if (k.gaucheDroite) {
      EXPECT_NEAR((bn.x1 + bm.x2) / 2.0, k.axe, 1.5);
      EXPECT_NEAR((bn.x2 + bm.x1) / 2.0, k.axe, 1.5);
      EXPECT_EQ(bn.y1, bm.y1);
      EXPECT_EQ(bn.y2, bm.y2);
      EXPECT_LT(bn.CentreX(), k.axe - 30);  // left of the centre, then right of it
      EXPECT_GT(bm.CentreX(), k.axe + 30);
    } else {
      EXPECT_NEAR((bn.y1 + bm.y2) / 2.0, k.axe, 1.5);
      EXPECT_NEAR((bn.y2 + bm.y1) / 2.0, k.axe, 1.5);
      EXPECT_EQ(bn.x1, bm.x1);
      EXPECT_EQ(bn.x2, bm.x2);
      EXPECT_GT(bn.CentreY(), k.axe + 30);  // below the centre, then above it
      EXPECT_LT(bm.CentreY(), k.axe - 30);
    }
    // Tracks, text and pads: the mirrored page is the normal one turned over.
    EXPECT_GT(Recouvrement(n, m, k.axe, k.gaucheDroite), 0.97);
    EXPECT_GT(Recouvrement(m, n, k.axe, k.gaucheDroite), 0.97);
  }
}

TEST_F(Typon, CadreCartoucheEtLegende) {
  // The frame: from the printable area's bottom-left corner to W - 60, H - 40 units.
  std::string erreur;
  Circuit sansTitre = fabrication::CarteMesure();
  sansTitre.EnteteCI.Titre.clear();
  Ecrit(Chemin("sanstitre.CIX"), EcritCircuit(sansTitre));
  ASSERT_EQ(Lance("typon mesure.CIX c.pdf --documents 1,4 --cadre", &erreur), 0) << erreur;
  ASSERT_EQ(Lance("typon sanstitre.CIX s.pdf --documents 1 --cadre", &erreur), 0) << erreur;
  const ImageGrise c = Rend(Pdf("c.pdf"), 150), s = Rend(Pdf("s.pdf"), 150);
  // 150 dpi: units x 0.15; W = 7985, H = 11415 units for A4 at 1200 dpi.
  const double w = kLargeurA4 / 1.2, h = kHauteurA4 / 1.2;
  const double gauche = kMarge / 8, bas = (kMarge + kHauteurA4) / 8;
  const Boite cadre = mesure::BoiteNoire(c);
  EXPECT_NEAR(cadre.x1, gauche, 2);
  EXPECT_NEAR(cadre.x2, gauche + (w - 60) * 0.15, 2);
  EXPECT_NEAR(cadre.y1, bas - (h - 40) * 0.15, 2);
  EXPECT_NEAR(cadre.y2, bas, 2);
  // The title block (portrait: from x 0, the text cells split at t = 2 B / 3): the title's cell
  // 250..500 units up holds ink only with a title; the description cell always does.
  const double t = 2 * (w - 40) / 3;
  auto cellule = [&](double x1, double y1, double x2, double y2) {
    return Boite{static_cast<int>(gauche + x1 * 0.15) + 3, static_cast<int>(bas - y2 * 0.15) + 3,
                 static_cast<int>(gauche + x2 * 0.15) - 3, static_cast<int>(bas - y1 * 0.15) - 3};
  };
  EXPECT_GT(mesure::CompteNoirs(s, cellule(0, 0, t, 250)), 50);         // "Typon face 1"
  EXPECT_EQ(mesure::CompteNoirs(s, cellule(0, 250, t, 500)), 0);        // no title
  EXPECT_GT(mesure::CompteNoirs(c, cellule(0, 250, t, 500)), 50);       // "Carte de mesure"
  EXPECT_GT(mesure::CompteNoirs(c, cellule(t, 250, w - 60, 500)), 20);  // the date
  // The drill legend, 500..750 units up, only with the drilling plan: drills 1, 3 and 5 in the
  // first, third and fifth of seven columns.
  EXPECT_EQ(mesure::CompteNoirs(s, cellule(0, 500, w - 60, 750)), 0);
  const double col = (w - 40) / 7;
  for (int k = 0; k < 7; ++k) {
    const int n =
        mesure::CompteNoirs(c, cellule(k * col, 500, std::min((k + 1) * col, w - 60), 750));
    if (k == 0 || k == 2 || k == 4) {
      EXPECT_GT(n, 20) << k;
    } else {
      EXPECT_EQ(n, 0) << k;
    }
  }
}

}  // namespace
}  // namespace korv4
