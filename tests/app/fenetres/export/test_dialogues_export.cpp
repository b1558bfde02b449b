// The drill export and Gerber export dialogs, driven offscreen through their controls, with the
// save dialog answered by the scripted dialog service.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpontaneKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../LimiteMemoire.h"
#include "../ServiceDialoguesScript.h"
#include "Enregistrement.h"
#include "fenetres/export/TEnregistrepercage.h"
#include "fenetres/export/TExportGerber.h"

namespace korv4 {
namespace {

using essai::Fait;
using essai::Rec;

namespace fs = std::filesystem;

std::vector<uint8_t> Lit(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

template <typename T>
T* Controle(QWidget& w, const char* nom) {
  T* c = w.findChild<T*>(QLatin1String(nom));
  EXPECT_NE(c, nullptr) << nom;
  return c;
}

// A click on the button as the user gives it (radio buttons only take clicks on their
// indicator and text, so the point is taken there).
void Clique(QWidget& w, const char* nom) {
  QAbstractButton* b = Controle<QAbstractButton>(w, nom);
  QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(8, b->height() / 2));
}

class Dialogues : public ::testing::Test {
 protected:
  void SetUp() override {
    char modele[] = "/tmp/korv4-dialogues-XXXXXX";
    ASSERT_NE(mkdtemp(modele), nullptr);
    dossier_ = modele;
  }
  void TearDown() override { fs::remove_all(dossier_); }
  QString Chemin(const std::string& nom) const {
    return QString::fromStdString((dossier_ / nom).string());
  }

  fs::path dossier_;
  ServiceDialoguesScript service_;
};

// Pads with holes (drill indices 1 and 2), a pad without hole, two pins, a face-1 track.
const std::vector<ElementCI> kCarte = {
    Rec(3, 198, 1, 1000, 1000),    Rec(3, 199, 2, 1500, 1000), Rec(3, 193, 0, 1200, 1200),
    Rec(3, 205, 0, 500, 500),      Rec(3, 205, 0, 2500, 500),  Rec(1, 161, 0x80, 1000, 1000),
    Rec(1, 161, 0x40, 1500, 1000), Rec(4, 128, 1, 900, 1400),  Rec(4, 129, 1, 1600, 1400)};

TEST_F(Dialogues, PercageLibellesEtEtatALOuverture) {
  struct Cas {
    const char* nom;
    std::vector<ElementCI> recs;
    const char *nbPercages, *nbPions;
    bool ciActif, ciCoche, pionActif, pionCoche;
  };
  for (const Cas& k : std::vector<Cas>{
           {"trous et pions", kCarte, "2", "2", true, true, true, false},
           {"pions seuls",
            {Rec(3, 205, 0, 0, 0), Rec(3, 205, 9, 90, 0)},
            "0",
            "2",
            false,
            false,
            true,
            true},
           {"trous seuls", {Rec(3, 198, 1, 0, 0)}, "1", "0", true, true, false, false},
       }) {
    SCOPED_TRACE(k.nom);
    const Circuit c = Fait(k.recs);
    TEnregistrepercage d(c, service_);
    ASSERT_TRUE(d.PreparePercages());
    d.show();
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Enregistrement d'un fichier de perçage"));
    EXPECT_EQ(Controle<QLabel>(d, "LabelNbpercage")->text(), k.nbPercages);
    EXPECT_EQ(Controle<QLabel>(d, "LabelPions")->text(), k.nbPions);
    QRadioButton* ci = Controle<QRadioButton>(d, "PercageCI");
    QRadioButton* pion = Controle<QRadioButton>(d, "PercagePion");
    EXPECT_EQ(ci->isEnabled(), k.ciActif);
    EXPECT_EQ(ci->isChecked(), k.ciCoche);
    EXPECT_EQ(pion->isEnabled(), k.pionActif);
    EXPECT_EQ(pion->isChecked(), k.pionCoche);
    EXPECT_TRUE(Controle<QRadioButton>(d, "Formatexcellon")->isChecked());
    EXPECT_TRUE(Controle<QRadioButton>(d, "CoteComposants")->isChecked());
    EXPECT_EQ(d.pos(), QPoint(200, 150));
    d.hide();
  }
  // The captions of the controls.
  const Circuit c = Fait(kCarte);
  TEnregistrepercage d(c, service_);
  const std::vector<std::pair<const char*, const char*>> libelles = {
      {"Formatexcellon", "Format Excellon  ( .EXL )"},
      {"FormatIso", "Format ISO            ( .ISO )"},
      {"FormatHPGL", "Format HPGL       ( .HPG )"},
      {"FormatExport", "Format Export      ( .PEX )"},
      {"CoteCuivre", "Coté cuivre"},
      {"CoteComposants", "Coté composants"},
      {"PercageCI", "Perçage du CI"},
      {"PercagePion", "Perçage des pions de centrage"},
      {"EnregistreFichierPercage", "Enregistrer"}};
  for (const auto& [nom, texte] : libelles)
    EXPECT_EQ(Controle<QAbstractButton>(d, nom)->text(), QString::fromUtf8(texte)) << nom;
  const std::vector<std::pair<const char*, const char*>> groupes = {
      {"FormatFichier", "Format du fichier de perçage"},
      {"GroupBox1", "Configuration du fichier de perçage"},
      {"FacePercage", "Face de perçage"},
      {"ElementsPercer", "Eléments à percer"},
      {"GroupBox2", "Nombre de perçages"}};
  for (const auto& [nom, titre] : groupes)
    EXPECT_EQ(Controle<QGroupBox>(d, nom)->title(), QString::fromUtf8(titre)) << nom;
  EXPECT_EQ(Controle<QLabel>(d, "Label2")->text(), QString::fromUtf8("Nombre de perçages du CI"));
  EXPECT_EQ(Controle<QLabel>(d, "Label1")->text(), "Nombre de pions de centrage");
}

TEST_F(Dialogues, PercageEnregistreChaqueFormat) {
  const Circuit c = Fait(kCarte);
  const ListePercages l = CollectePercages(c);
  const Cadre e = CadreElements(c, 1, c.NbElements);
  struct Cas {
    const char *format, *filtre, *extension;
    FormatPercage f;
    bool cuivre, pions;
  };
  for (const Cas& k : std::vector<Cas>{
           {"Formatexcellon", "Format Ecellon  (*.EXL)|*.EXL", "*.EXL", FormatPercage::Excellon,
            false, false},
           {"FormatIso", "Format ISO      (*.ISO)|*.ISO", "*.ISO", FormatPercage::ISO, true, false},
           {"FormatHPGL", "Format HPGL     (*.HPG)|*.HPG", "*.HPG", FormatPercage::HPGL, false,
            true},
           {"FormatExport", "Format Export   (*.PEX)|*.PEX", "*.PEX", FormatPercage::PEX, true,
            true},
       }) {
    SCOPED_TRACE(k.format);
    TEnregistrepercage d(c, service_);
    ASSERT_TRUE(d.PreparePercages());
    d.show();
    Clique(d, k.format);
    if (k.cuivre) Clique(d, "CoteCuivre");
    if (k.pions) Clique(d, "PercagePion");
    service_.demandes.clear();
    service_.reponses = {Chemin("sortie")};
    Clique(d, "EnregistreFichierPercage");
    ASSERT_EQ(service_.demandes.size(), 1u);
    EXPECT_EQ(service_.demandes[0].filtre, QString::fromUtf8(k.filtre));
    EXPECT_EQ(service_.demandes[0].extensionDefaut, QString::fromUtf8(k.extension));
    EXPECT_EQ(service_.demandes[0].nom, "");
    EXPECT_TRUE(service_.demandes[0].confirmeEcrasement);
    const OptionsPercage o{k.pions ? ElementsAPercer::Pions : ElementsAPercer::CI,
                           k.cuivre ? FacePercage::Cuivre : FacePercage::Composants};
    EXPECT_EQ(Lit(dossier_ / "sortie"), EcritFichierPercage(k.f, l, e, o));
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
  }
}

TEST_F(Dialogues, PercageAnnulationEtEchec) {
  const Circuit c = Fait(kCarte);
  TEnregistrepercage d(c, service_);
  ASSERT_TRUE(d.PreparePercages());
  d.show();
  // Cancelled save dialog: nothing written, the dialog stays open.
  Clique(d, "EnregistreFichierPercage");
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(service_.messages.empty());
  // A file that cannot be written: the message names it, the dialog stays open.
  service_.reponses = {Chemin("absent/sortie.EXL")};
  Clique(d, "EnregistreFichierPercage");
  EXPECT_TRUE(d.isVisible());
  ASSERT_EQ(service_.messages.size(), 1u);
  EXPECT_TRUE(service_.messages[0].contains(QStringLiteral("absent/sortie.EXL")))
      << service_.messages[0].toStdString();
  // Cancel button.
  Clique(d, "BitBtn1");
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_TRUE(fs::is_empty(dossier_));
}

// The show event the window system sends when a minimized window is restored.
void Restaure(QWidget& w) {
  QShowEvent e;
  QSpontaneKeyEvent::setSpontaneous(&e);
  QCoreApplication::instance()->notify(&w, &e);  // sendEvent would clear the flag
}

TEST_F(Dialogues, RestaurationGardeLesChoix) {
  // Restoring a minimized dialog is no new opening: the holes chosen and the place stay.
  const Circuit c = Fait(kCarte);
  TEnregistrepercage p(c, service_);
  ASSERT_TRUE(p.PreparePercages());
  p.show();
  Clique(p, "PercagePion");
  p.move(400, 300);
  Restaure(p);
  EXPECT_TRUE(Controle<QRadioButton>(p, "PercagePion")->isChecked());
  EXPECT_EQ(p.Options().Elements, ElementsAPercer::Pions);
  EXPECT_EQ(p.pos(), QPoint(400, 300));

  TExportGerber g(c, service_);
  g.show();
  g.move(400, 300);
  Restaure(g);
  EXPECT_EQ(g.pos(), QPoint(400, 300));
}

TEST_F(Dialogues, OuvertureParLeMenu) {
  // No element, or no hole: the drill dialog is not shown; the Gerber one needs elements.
  Circuit vide;
  TEnregistrepercage p0(vide, service_);
  EXPECT_EQ(p0.Ouvre(), 0);
  TExportGerber g0(vide, service_);
  EXPECT_EQ(g0.Ouvre(), 0);
  const Circuit sansTrou = Fait({Rec(3, 193, 0, 0, 0)});
  TEnregistrepercage p1(sansTrou, service_);
  EXPECT_EQ(p1.Ouvre(), 0);
  EXPECT_TRUE(service_.demandes.empty());

  // The modal run, confirmed.
  const Circuit c = Fait(kCarte);
  TEnregistrepercage p(c, service_);
  service_.reponses = {Chemin("modal.EXL")};
  QTimer::singleShot(0, &p, [&p] { Clique(p, "EnregistreFichierPercage"); });
  EXPECT_EQ(p.Ouvre(), QDialog::Accepted);
  EXPECT_TRUE(fs::exists(dossier_ / "modal.EXL"));

  TExportGerber g(c, service_);
  service_.reponses = {Chemin("modal")};
  QTimer::singleShot(0, &g, [&g] { Clique(g, "EnregistreFichierGerber"); });
  EXPECT_EQ(g.Ouvre(), QDialog::Accepted);
  EXPECT_TRUE(fs::exists(dossier_ / "modal-FC1.GBR"));
}

TEST_F(Dialogues, GerberEnregistreLesCouches) {
  const Circuit c = Fait(kCarte);
  TExportGerber d(c, service_);
  d.show();
  EXPECT_EQ(d.windowTitle(), "Exporter le circuit au format Gerber");
  EXPECT_EQ(d.pos(), QPoint(250, 150));
  EXPECT_EQ(Controle<QGroupBox>(d, "GroupBox1")->title(), "Style des pastilles");
  EXPECT_EQ(Controle<QRadioButton>(d, "PastHocto")->text(), "Pastilles octogonales");
  EXPECT_EQ(Controle<QRadioButton>(d, "PastCir")->text(), "Pastilles circulaires");
  EXPECT_EQ(Controle<QPushButton>(d, "EnregistreFichierGerber")->text(), "Enregistrer");
  EXPECT_TRUE(Controle<QRadioButton>(d, "PastHocto")->isChecked());

  // Cancelled: nothing written, still open.
  Clique(d, "EnregistreFichierGerber");
  EXPECT_TRUE(d.isVisible());
  ASSERT_EQ(service_.demandes.size(), 1u);
  EXPECT_EQ(service_.demandes[0].filtre, "Format Gerber");
  EXPECT_TRUE(service_.demandes[0].confirmeEcrasement);
  EXPECT_TRUE(service_.demandes[0].lectureSeuleCachee);
  EXPECT_TRUE(fs::is_empty(dossier_));

  // Round pads; the suffixes go after the name as typed.
  Clique(d, "PastCir");
  service_.reponses = {Chemin("carte.gbr")};
  Clique(d, "EnregistreFichierGerber");
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Accepted);
  const std::vector<FichierGerber> attendus =
      ExporteGerber(c, CadreElements(c, 1, c.NbElements), StylePastilles::Circulaires,
                    (dossier_ / "carte.gbr").string());
  ASSERT_EQ(attendus.size(), 2u);  // face 1 and placement
  for (const FichierGerber& f : attendus) EXPECT_EQ(Lit(f.Nom), f.Octets) << f.Nom;
  EXPECT_TRUE(fs::exists(dossier_ / "carte.gbr-FC1.GBR"));
  EXPECT_TRUE(fs::exists(dossier_ / "carte.gbr_SER.GBR"));
}

TEST_F(Dialogues, GerberEchecArreteLesCouchesSuivantes) {
  const Circuit c = Fait(kCarte);
  TExportGerber d(c, service_);
  d.show();
  // The face-1 file's name is a folder: it cannot be written, the placement file is not
  // attempted, the dialog stays open.
  fs::create_directory(dossier_ / "b-FC1.GBR");
  service_.reponses = {Chemin("b")};
  Clique(d, "EnregistreFichierGerber");
  EXPECT_TRUE(d.isVisible());
  ASSERT_EQ(service_.messages.size(), 1u);
  EXPECT_TRUE(service_.messages[0].contains(QStringLiteral("b-FC1.GBR")))
      << service_.messages[0].toStdString();
  EXPECT_FALSE(fs::exists(dossier_ / "b_SER.GBR"));
}

// A drill table entry read from a damaged file, used by a hole: the drill dialog names it and
// writes nothing (no name is asked); the pins, which take no diameter, are still exported.
TEST_F(Dialogues, PercageRefuseLesDiametresEndommages) {
  Circuit c = Fait(kCarte);
  c.EnteteCI.DiametresPercage[2] = -4;
  c.EnteteCI.DiametresPercage[11] = 0;  // used by no pad
  TEnregistrepercage d(c, service_);
  ASSERT_TRUE(d.PreparePercages());
  d.show();
  service_.reponses = {Chemin("trous.EXL")};
  Clique(d, "EnregistreFichierPercage");
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(service_.demandes.empty());
  ASSERT_EQ(service_.messages.size(), 1u);
  EXPECT_TRUE(service_.messages[0].startsWith(
      QStringLiteral("Le circuit a un diamètre de perçage invalide : n° 2 = -4 (")))
      << service_.messages[0].toStdString();
  EXPECT_TRUE(fs::is_empty(dossier_));
  Clique(d, "PercagePion");
  Clique(d, "EnregistreFichierPercage");
  EXPECT_FALSE(d.isVisible());
  EXPECT_TRUE(fs::exists(dossier_ / "trous.EXL"));
}

// An export never replaces the open circuit's file (the same name or a link to it).
TEST_F(Dialogues, ExportNeRemplacePasLeCircuitOuvert) {
  Circuit c = Fait(kCarte);
  const std::vector<uint8_t> circuit = {'c', 'i', 'x'};
  {
    std::ofstream f(dossier_ / "carte.CIX", std::ios::binary);
    f.write("cix", 3);
  }
  c.NomFichier = (dossier_ / "carte.CIX").string();
  fs::create_symlink("carte.CIX", dossier_ / "lien.EXL");
  TEnregistrepercage d(c, service_);
  ASSERT_TRUE(d.PreparePercages());
  d.show();
  for (const char* nom : {"carte.CIX", "lien.EXL"}) {
    service_.reponses = {Chemin(nom)};
    Clique(d, "EnregistreFichierPercage");
    EXPECT_TRUE(d.isVisible()) << nom;
  }
  ASSERT_EQ(service_.messages.size(), 2u);
  EXPECT_TRUE(service_.messages[1].contains(QStringLiteral("lien.EXL » est le fichier lu")))
      << service_.messages[1].toStdString();
  EXPECT_EQ(Lit(dossier_ / "carte.CIX"), circuit);

  TExportGerber g(c, service_);
  g.show();
  fs::create_symlink("carte.CIX", dossier_ / "b_SER.GBR");
  service_.reponses = {Chemin("b")};
  Clique(g, "EnregistreFichierGerber");
  EXPECT_TRUE(g.isVisible());
  ASSERT_EQ(service_.messages.size(), 3u);
  EXPECT_TRUE(service_.messages[2].contains(QStringLiteral("b_SER.GBR » est le fichier lu")))
      << service_.messages[2].toStdString();
  EXPECT_FALSE(fs::exists(dossier_ / "b-FC1.GBR"));
  EXPECT_EQ(Lit(dossier_ / "carte.CIX"), circuit);
}

// Out of memory during an export: a French message, the dialog stays open, the files keep
// their previous contents.
TEST_F(Dialogues, MemoireInsuffisanteALExport) {
  // Many holes, so that the drill file needs fresh memory; a large circle for the Gerber file.
  std::vector<ElementCI> recs;
  for (int32_t k = 0; k < 60000; ++k)
    recs.push_back(Rec(3, 199, 2, 500 + k % 300 * 20, 500 + k / 300 * 20));
  recs.push_back(Rec(4, 132, 1, 3000, 3000));
  recs.push_back(Rec(4, 133, 1, 30000, 0));
  const Circuit c = Fait(recs);
  const std::vector<uint8_t> ancien = {'a', 'n', 'c', 'i', 'e', 'n'};
  for (const char* nom : {"t.EXL", "b-FC1.GBR", "b_SER.GBR"}) {
    std::ofstream f(dossier_ / nom, std::ios::binary);
    f.write("ancien", 6);
  }
  TEnregistrepercage p(c, service_);
  ASSERT_TRUE(p.PreparePercages());
  p.show();
  TExportGerber g(c, service_);
  g.show();
  service_.reponses = {Chemin("t.EXL")};
  {
    LimiteMemoire limite(64 * 1024);
    Clique(p, "EnregistreFichierPercage");
  }
  service_.reponses = {Chemin("b")};
  {
    LimiteMemoire limite(64 * 1024);
    Clique(g, "EnregistreFichierGerber");
  }
  EXPECT_TRUE(p.isVisible());
  EXPECT_TRUE(g.isVisible());
  ASSERT_EQ(service_.messages.size(), 2u);
  EXPECT_EQ(service_.messages[0], "Mémoire insuffisante pour écrire « " + Chemin("t.EXL") +
                                      " ». Le fichier existant, s'il y en a un, n'a pas été "
                                      "modifié.");
  EXPECT_EQ(service_.messages[1], "Mémoire insuffisante pour écrire « " + Chemin("b-FC1.GBR") +
                                      " ». Le fichier existant, s'il y en a un, n'a pas été "
                                      "modifié.");
  for (const char* nom : {"t.EXL", "b-FC1.GBR", "b_SER.GBR"})
    EXPECT_EQ(Lit(dossier_ / nom), ancien) << nom;
  // With the memory back, the same exports are written.
  service_.reponses = {Chemin("t.EXL")};
  Clique(p, "EnregistreFichierPercage");
  service_.reponses = {Chemin("b")};
  Clique(g, "EnregistreFichierGerber");
  EXPECT_FALSE(p.isVisible());
  EXPECT_FALSE(g.isVisible());
  for (const char* nom : {"t.EXL", "b-FC1.GBR", "b_SER.GBR"})
    EXPECT_NE(Lit(dossier_ / nom), ancien) << nom;
}

TEST(FiltresQt, FiltresDesFiches) {
  EXPECT_EQ(FiltresQt(QStringLiteral("Format Ecellon  (*.EXL)|*.EXL")),
            QStringList{QStringLiteral("Format Ecellon  (*.EXL)")});
  EXPECT_EQ(FiltresQt(QStringLiteral("Format Gerber")),
            QStringList{QStringLiteral("Format Gerber (*)")});
  EXPECT_EQ(
      FiltresQt(QStringLiteral("Circuits|*.CIX|Anciens|*.CIP;*.cip")),
      (QStringList{QStringLiteral("Circuits (*.CIX)"), QStringLiteral("Anciens (*.CIP *.cip)")}));
}

}  // namespace
}  // namespace korv4

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The settings of the test run (the non-plated diameters kept) stay in a folder of their own.
  QTemporaryDir reglages;
  qputenv("XDG_CONFIG_HOME", reglages.path().toLocal8Bit());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
