// The print dialog "Impression" driven offscreen through its controls, on a system without any
// printer ("Fichier PDF"): Init, orientation, the printer set-up, the documents, the size
// question, and the pages printed into PDF files, measured with poppler-utils and compared with
// korv4-cli typon's.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <cstdlib>
#include <filesystem>

#include "../OutilsDialogues.h"
#include "../ServiceDialoguesScript.h"
#include "CircuitsFabrication.h"
#include "Enregistrement.h"
#include "MesurePdf.h"
#include "OutilsCli.h"
#include "fenetres/print/TFicheImpression.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;
using essai::Choisit;
using essai::Clique;
using essai::Controle;
using essai::Fait;
using essai::Rec;

// No printer at all: the print system is asked at an address where nobody answers, whatever
// the machine has.
const bool kSansImprimante = setenv("CUPS_SERVER", "/nonexistent/korv4-cups.sock", 1) == 0;

class FicheImpression : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kSansImprimante);
    // Every test starts without an orientation kept from an earlier one.
    QSettings(QStringLiteral("KORV4"), QStringLiteral("korv4"))
        .remove(QStringLiteral("Impression"));
    char modele[] = "/tmp/korv4-impression-XXXXXX";
    ASSERT_NE(mkdtemp(modele), nullptr);
    dossier_ = modele;
    circuit_ = fabrication::CarteMesure();
  }
  // KORV4_GARDE_PDF=1 keeps the folder and its PDFs, to look at them.
  void TearDown() override {
    if (std::getenv("KORV4_GARDE_PDF") == nullptr) fs::remove_all(dossier_);
  }
  std::string Chemin(const std::string& nom) const { return (dossier_ / nom).string(); }
  QString QChemin(const std::string& nom) const { return QString::fromStdString(Chemin(nom)); }
  // Runs the dialog as the menu entry does, `geste` once it is shown.
  int Ouvre(TFicheImpression& d, const std::function<void()>& geste, EtatTravail etat = {},
            ContexteTrace ecran = {}) {
    essai::PendantLaFenetreModale(geste);
    return d.Ouvre(etat, ecran);
  }

  fs::path dossier_;
  Circuit circuit_;
  ServiceDialoguesScript service_;
};

QString Libelle(QWidget& d, const char* nom) { return Controle<QLabel>(d, nom)->text(); }

TEST_F(FicheImpression, ControlesEtInit) {
  TFicheImpression d(circuit_, service_);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  EXPECT_EQ(d.windowTitle(), "Impression");
  EXPECT_EQ(d.pos(), QPoint(150, 150));
  const std::vector<std::pair<const char*, const char*>> libelles = {
      {"RBPortrait", "Portrait"},
      {"RBPaysage", "Paysage"},
      {"ConfigIMP", "Config."},
      {"Face1", "Typon Face 1"},
      {"Face2", "Typon Face 2"},
      {"Face3", "Plan d'implantation"},
      {"Face4", "Plan de perçage"},
      {"Cadre", "Cadre et cartouche"},
      {"Inversionface2", "Inversion Face 2"},
      {"BoutonImpression", "Imprimer"},
      {"Cadre2", "Cadre et cartouche"},
      {"ImprimeEcran", "Imprimer"}};
  for (const auto& [nom, texte] : libelles)
    EXPECT_EQ(Controle<QAbstractButton>(d, nom)->text(), QString::fromUtf8(texte)) << nom;
  EXPECT_EQ(Controle<QGroupBox>(d, "ImpressionEcran")->title(),
            QString::fromUtf8("Impression tel qu'à l'ecran"));
  EXPECT_EQ(Controle<QGroupBox>(d, "SurfaceCI")->title(),
            QString::fromUtf8("Surface du Circuit Imprimé"));
  ASSERT_NE(d.findChild<QPushButton*>(QStringLiteral("BoutonAnnuler")), nullptr);

  // No printer: one entry that prints to a PDF file, A4 at 1200 dpi, 10-point margins.
  QComboBox* liste = Controle<QComboBox>(d, "ListeImprimantes");
  ASSERT_EQ(liste->count(), 1);
  EXPECT_EQ(liste->itemText(0), "Fichier PDF");
  EXPECT_EQ(d.Imprimante().outputFormat(), QPrinter::PdfFormat);
  EXPECT_EQ(d.Imprimante().resolution(), 1200);
  EXPECT_TRUE(Controle<QRadioButton>(d, "RBPortrait")->isChecked());
  // 9583 x 13699 dots: 7985 x 11415 units, 202 x 289 mm.
  EXPECT_EQ(Libelle(d, "Largeur"), "  202 mm ");
  EXPECT_EQ(Libelle(d, "Hauteur"), "  289 mm ");
  // The extent 1000..4937 by 1063..5000: 3937 units both ways, 99 mm.
  EXPECT_EQ(Libelle(d, "LargeurCI"), "  99 mm ");
  EXPECT_EQ(Libelle(d, "HauteurCI"), "  99 mm ");
  // Every document of the board is there: Face1 checked, all enabled.
  EXPECT_TRUE(Controle<QCheckBox>(d, "Face1")->isChecked());
  for (const char* f : {"Face1", "Face2", "Face3", "Face4"})
    EXPECT_TRUE(Controle<QCheckBox>(d, f)->isEnabled()) << f;
  EXPECT_FALSE(Controle<QCheckBox>(d, "Face2")->isChecked());

  // Landscape swaps the printable height and width.
  Clique(d, "RBPaysage");
  EXPECT_EQ(d.Imprimante().pageLayout().orientation(), QPageLayout::Landscape);
  EXPECT_EQ(Libelle(d, "Largeur"), "  289 mm ");
  EXPECT_EQ(Libelle(d, "Hauteur"), "  202 mm ");
  Clique(d, "RBPortrait");
  EXPECT_EQ(Libelle(d, "Largeur"), "  202 mm ");

  // Init runs on every paint of the dialog: an unchecked Face1 is checked again while face 1
  // has elements (the click's own repaint of the box is no paint of the dialog).
  Clique(d, "Face1");
  EXPECT_FALSE(Controle<QCheckBox>(d, "Face1")->isChecked());
  d.repaint();
  EXPECT_TRUE(Controle<QCheckBox>(d, "Face1")->isChecked());

  // The two frame boxes agree.
  Clique(d, "Cadre");
  EXPECT_TRUE(Controle<QCheckBox>(d, "Cadre2")->isChecked());
  Clique(d, "Cadre2");
  EXPECT_FALSE(Controle<QCheckBox>(d, "Cadre")->isChecked());
  d.hide();
}

TEST_F(FicheImpression, CasesSelonLeCircuit) {
  struct Cas {
    const char* nom;
    std::vector<ElementCI> recs;
    bool f1, f2, f3, f4;
  };
  for (const Cas& k :
       std::vector<Cas>{{"face 2 seule",
                         {Rec(2, 161, 0x80, 0, 0), Rec(2, 161, 0x40, 90, 0)},
                         false,
                         true,
                         false,
                         false},
                        {"pastilles seules", {Rec(3, 193, 0, 0, 0)}, true, false, false, false},
                        {"pastille percee et implantation",
                         {Rec(3, 198, 2, 0, 0), Rec(4, 64, 1, 0, 0, 'A')},
                         true,
                         false,
                         true,
                         true}}) {
    SCOPED_TRACE(k.nom);
    const Circuit c = Fait(k.recs);
    TFicheImpression d(c, service_);
    d.show();
    QCheckBox* f1 = Controle<QCheckBox>(d, "Face1");
    EXPECT_EQ(f1->isChecked(), k.f1);
    EXPECT_EQ(f1->isEnabled(), k.f1);
    EXPECT_EQ(Controle<QCheckBox>(d, "Face2")->isEnabled(), k.f2);
    EXPECT_EQ(Controle<QCheckBox>(d, "Face3")->isEnabled(), k.f3);
    EXPECT_EQ(Controle<QCheckBox>(d, "Face4")->isEnabled(), k.f4);
    d.hide();
  }
}

TEST_F(FicheImpression, ConfigurationEtMenu) {
  TFicheImpression d(circuit_, service_);
  // The set-up dialog, from the dialog's button: the user turns the page to landscape.
  service_.configurationImprimante = [](QPrinter& p) {
    p.setPageOrientation(QPageLayout::Landscape);
    return true;
  };
  d.show();
  Clique(d, "ConfigIMP");
  EXPECT_EQ(service_.configurationsImprimante, 1);
  EXPECT_TRUE(Controle<QRadioButton>(d, "RBPaysage")->isChecked());
  EXPECT_EQ(Libelle(d, "Largeur"), "  289 mm ");
  d.hide();
  // The menu entry "Configuration de l'imprimante": the same set-up dialog, without this one.
  service_.configurationImprimante = [](QPrinter& p) {
    p.setPageOrientation(QPageLayout::Portrait);
    return true;
  };
  EXPECT_TRUE(d.ConfigurationImprimante());
  EXPECT_EQ(service_.configurationsImprimante, 2);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.Page().Paysage, false);
  // An empty circuit: the print command shows nothing.
  Circuit vide;
  TFicheImpression v(vide, service_);
  EXPECT_EQ(v.Ouvre(EtatTravail{}, ContexteTrace{}), 0);
  // Annuler.
  EXPECT_EQ(Ouvre(d, [&] { Clique(d, "BoutonAnnuler"); }), QDialog::Rejected);
  EXPECT_TRUE(service_.demandes.empty());
}

// The orientation chosen in the dialog, or in the set-up dialog when confirmed, is the one the
// next run starts with; a set-up dialog cancelled keeps the one kept.
TEST_F(FicheImpression, OrientationRetenue) {
  struct Pas {
    const char* quoi;
    std::function<void(TFicheImpression&)> geste;
    bool paysage;  // what the next run starts with
  };
  auto configuration = [this](bool confirme, QPageLayout::Orientation o) {
    return [this, confirme, o](TFicheImpression& d) {
      service_.configurationImprimante = [confirme, o](QPrinter& p) {
        p.setPageOrientation(o);
        return confirme;
      };
      d.ConfigurationImprimante();
    };
  };
  const std::vector<Pas> pas = {
      {"au départ", [](TFicheImpression&) {}, false},
      {"Paysage",
       [](TFicheImpression& d) {
         d.show();
         Clique(d, "RBPaysage");
         d.hide();
       },
       true},
      {"configuration annulée", configuration(false, QPageLayout::Portrait), true},
      {"configuration en portrait", configuration(true, QPageLayout::Portrait), false},
      {"configuration en paysage", configuration(true, QPageLayout::Landscape), true},
      {"Portrait",
       [](TFicheImpression& d) {
         d.show();
         Clique(d, "RBPortrait");
         d.hide();
       },
       false},
  };
  for (const Pas& p : pas) {
    SCOPED_TRACE(p.quoi);
    {
      TFicheImpression d(circuit_, service_);
      p.geste(d);
    }
    TFicheImpression suivante(circuit_, service_);
    EXPECT_EQ(suivante.Page().Paysage, p.paysage);
    suivante.show();
    EXPECT_EQ(Controle<QRadioButton>(suivante, "RBPaysage")->isChecked(), p.paysage);
    suivante.hide();
  }
}

TEST_F(FicheImpression, ImpressionDesDocumentsDansUnPdf) {
  TFicheImpression d(circuit_, service_);
  service_.reponses = {QChemin("a.pdf")};
  const int r = Ouvre(d, [&] { Clique(d, "BoutonImpression"); });
  EXPECT_EQ(r, QDialog::Accepted);
  ASSERT_EQ(service_.demandes.size(), 1u);
  EXPECT_EQ(service_.demandes[0].filtre, "Fichier PDF (*.pdf)|*.pdf");
  ASSERT_TRUE(d.DernierImprime());
  EXPECT_EQ(d.DernierTravail().Travaux, std::vector<int32_t>{1});
  EXPECT_EQ(mesure::TaillePage(Chemin("a.pdf")), "595 x 842 pts (A4)");
  mesure::VerifieUnPourUn(mesure::MesureLDe(Chemin("a.pdf")));

  // The same page as korv4-cli typon's: one implementation of the printing.
  essai::Ecrit(dossier_ / "mesure.CIX", EcritCircuit(circuit_));
  ASSERT_EQ(essai::Shell("'" KORV4_CLI "' typon '" + Chemin("mesure.CIX") + "' '" +
                         Chemin("b.pdf") + "' --documents 1,2 --cadre --inversion-face2"),
            0);
  service_.reponses = {QChemin("c.pdf")};
  EXPECT_EQ(Ouvre(d,
                  [&] {
                    for (const char* f : {"Face2", "Cadre", "Inversionface2"}) Clique(d, f);
                    Clique(d, "BoutonImpression");
                  }),
            QDialog::Accepted);
  EXPECT_EQ(service_.demandes.back().nom, QChemin("a.pdf"));  // the name chosen last
  EXPECT_EQ(d.DernierTravail().Travaux, (std::vector<int32_t>{1, 5}));
  const mesure::ImageGrise b = mesure::Rend(Chemin("b.pdf"), 100);
  const mesure::ImageGrise c = mesure::Rend(Chemin("c.pdf"), 100);
  ASSERT_FALSE(b.pixels.empty());
  EXPECT_EQ(b.pixels, c.pixels);

  // A PDF file named in the printer set-up dialog is not asked again; the next print asks.
  service_.configurationImprimante = [this](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QChemin("config.pdf"));
    return true;
  };
  ASSERT_TRUE(d.ConfigurationImprimante());
  const size_t demandes = service_.demandes.size();
  EXPECT_EQ(Ouvre(d, [&] { Clique(d, "BoutonImpression"); }), QDialog::Accepted);
  EXPECT_EQ(service_.demandes.size(), demandes);
  EXPECT_TRUE(fs::exists(Chemin("config.pdf")));
  service_.reponses = {QChemin("d.pdf")};
  EXPECT_EQ(Ouvre(d, [&] { Clique(d, "BoutonImpression"); }), QDialog::Accepted);
  EXPECT_EQ(service_.demandes.size(), demandes + 1);
  EXPECT_EQ(service_.demandes.back().nom, QChemin("config.pdf"));

  // A cancelled save dialog prints nothing; the dialog closes with OK all the same.
  EXPECT_EQ(Ouvre(d, [&] { Clique(d, "BoutonImpression"); }), QDialog::Accepted);
  EXPECT_FALSE(d.DernierImprime());
}

TEST_F(FicheImpression, QuestionDeTaille) {
  // Three documents of 100 mm in portrait: the question, Cancel prints nothing, OK prints.
  TFicheImpression d(circuit_, service_);
  auto troisDocuments = [&] {
    Clique(d, "Face2");
    Clique(d, "Face3");
    Clique(d, "BoutonImpression");
  };
  service_.reponses = {QChemin("t.pdf")};
  service_.confirmations = {false};
  EXPECT_EQ(Ouvre(d, troisDocuments), QDialog::Accepted);
  ASSERT_EQ(service_.questions.size(), 1u);
  EXPECT_EQ(service_.questions[0],
            QString::fromUtf8("La taille du CI ets trop grande. Désirez-vous continuer ?"));
  EXPECT_TRUE(service_.demandes.empty());
  EXPECT_FALSE(fs::exists(Chemin("t.pdf")));
  service_.confirmations = {true};
  // The boxes stay from one opening to the next: Face2 and Face3 are still checked.
  EXPECT_EQ(Ouvre(d, [&] { Clique(d, "BoutonImpression"); }), QDialog::Accepted);
  EXPECT_EQ(service_.questions.size(), 2u);
  EXPECT_TRUE(d.DernierImprime());
  EXPECT_TRUE(fs::exists(Chemin("t.pdf")));
}

TEST_F(FicheImpression, ImpressionTelQuAEcran) {
  // The view at 200 %: the 100-mm tracks print 200 mm long; face 2 with face 1 overlaid.
  TFicheImpression d(circuit_, service_);
  EtatTravail etat;
  etat.Travail = 1;
  ContexteTrace ecran;
  ecran.Zoom = 4;
  service_.reponses = {QChemin("e.pdf")};
  EXPECT_EQ(Ouvre(
                d, [&] { Clique(d, "ImprimeEcran"); }, etat, ecran),
            QDialog::Accepted);
  ASSERT_TRUE(d.DernierImprime());
  EXPECT_EQ(d.DernierTravail().DocumentsImprimes, 1);
  mesure::VerifieUnPourUn(mesure::MesureLDe(Chemin("e.pdf")), 2);

  etat.Travail = 4;
  etat.VisuFace1 = 1;
  service_.reponses = {QChemin("f.pdf")};
  EXPECT_EQ(Ouvre(
                d,
                [&] {
                  Clique(d, "Cadre2");
                  Clique(d, "ImprimeEcran");
                },
                etat, ContexteTrace{}),
            QDialog::Accepted);
  EXPECT_EQ(d.DernierTravail().DocumentsImprimes, 8 | 1);
  EXPECT_TRUE(d.DernierTravail().AvecCadre);
  EXPECT_TRUE(d.DernierTravail().AvecLegende);
  // At 1000 % the view does not fit: the question, answered Cancel.
  ecran.Zoom = 9;
  EXPECT_EQ(Ouvre(
                d, [&] { Clique(d, "ImprimeEcran"); }, etat, ecran),
            QDialog::Accepted);
  EXPECT_EQ(service_.questions.size(), 1u);
  EXPECT_FALSE(d.DernierImprime());
}

}  // namespace
}  // namespace korv4
