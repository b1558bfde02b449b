#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>

#include "editeur/Session.h"
#include "fenetres/commun/GardeRecuperation.h"
#include "fenetres/ui/Fiche_principale.h"
#include "fenetres/ui/ZoneDessin.h"
#include "model/FichierRecuperation.h"
#include "model/Fichiers.h"

// The real main window on Qt's offscreen platform, driven by object names with simulated
// pointer and key events.

namespace korv4 {
namespace {

using C = Controle;

QApplication& Application() {
  static int argc = 1;
  static char nom[] = "korv4_tests_fenetre";
  static char* argv[] = {nom, nullptr};
  // The settings and the recovery copies of the test run stay in folders of their own.
  static QTemporaryDir reglages;
  qputenv("XDG_CONFIG_HOME", reglages.path().toLocal8Bit());
  static QTemporaryDir etat;
  if (qEnvironmentVariableIsEmpty("KORV4_ENFANT_RECUPERATION")) {
    qputenv("XDG_STATE_HOME", etat.path().toLocal8Bit());
  }
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

struct Fenetre {
  DialoguesScript d;
  Fiche_principale fiche{&d};
  Fenetre() {
    fiche.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&fiche));
  }
  Editeur& ed() { return fiche.editeur(); }
  template <class T>
  T* Trouve(C c) {
    return fiche.findChild<T*>(QString::fromLatin1(Definition(c).Nom));
  }
  void Bouton(C c) {
    QToolButton* b = Trouve<QToolButton>(c);
    ASSERT_NE(b, nullptr) << Definition(c).Nom;
    QTest::mouseClick(b, Qt::LeftButton);
  }
  QPoint Point(int32_t x, int32_t y) {
    const PointPixel p = PixelPoint(ed().ctx, x, y);
    return QPoint(p.X, p.Y);
  }
  void Clique(int32_t x, int32_t y) {
    QTest::mouseMove(fiche.zone(), Point(x, y));
    QTest::mouseClick(fiche.zone(), Qt::LeftButton, {}, Point(x, y));
  }
  QString Panneau(int i) {
    return fiche.findChild<QLabel*>(QStringLiteral("Panneau%1").arg(i))->text();
  }
};

TEST(Fiche, ChaqueControleAvecSonNomSonLibelleEtSaBulle) {
  Application();
  Fenetre f;
  for (int i = 1; i < kNombreControles; ++i) {
    const C c = static_cast<C>(i);
    const DefinitionControle& d = Definition(c);
    if (d.Type == Genre::Surgissant || d.Type == Genre::Racine ||
        d.Conteneur == C::PopupMenuAffichage1 || d.Conteneur == C::PopupMenuAffichage2) {
      continue;
    }
    QObject* o = f.fiche.findChild<QObject*>(QString::fromLatin1(d.Nom));
    ASSERT_NE(o, nullptr) << d.Nom;
    if (auto* b = qobject_cast<QToolButton*>(o)) {
      if (c < C::BPerc1 || c > C::BPerc7) {
        EXPECT_EQ(b->text(), QString::fromUtf8(d.Libelle)) << d.Nom;
      }
      EXPECT_EQ(b->toolTip(), QString::fromUtf8(d.Bulle)) << d.Nom;
      EXPECT_FALSE(b->accessibleName().isEmpty()) << d.Nom;
    } else if (auto* a = qobject_cast<QAction*>(o)) {
      EXPECT_EQ(a->text(), QString::fromUtf8(d.Libelle)) << d.Nom;
    } else if (auto* e = qobject_cast<QLineEdit*>(o)) {
      EXPECT_EQ(e->maxLength(), d.Code) << d.Nom;
      EXPECT_FALSE(e->accessibleName().isEmpty()) << d.Nom;
    }
  }
  EXPECT_EQ(f.fiche.zone()->accessibleName(), QStringLiteral("Zone de dessin"));
  EXPECT_EQ(f.Trouve<QToolButton>(C::BPerc3)->text(), QStringLiteral("1,2 mm"));
  // Every window exists from the start, hidden.
  for (const char* nom : {"AboutBox", "FicheModifDiametre", "Surfacedetravail", "FicheImpression",
                          "FenetreEditiontexte", "Enregistrepercage", "ExportGerber"}) {
    QWidget* w = f.fiche.findChild<QWidget*>(QString::fromLatin1(nom));
    ASSERT_NE(w, nullptr) << nom;
    EXPECT_FALSE(w->isVisible()) << nom;
  }
  // The first size fits a 1280 x 1024 screen.
  EXPECT_LE(f.fiche.frameGeometry().width(), 1280);
  EXPECT_LE(f.fiche.frameGeometry().height(), 1024);
}

// The first place and size: the design's when it fits the screen's available area with the
// frame, else the area, frame included.
TEST(Fiche, GeometrieDeDepartSelonLEcran) {
  const QMargins cadre(4, 30, 4, 4);
  struct Cas {
    QRect disponible, attendue;
  };
  const Cas cas[] = {
      {QRect(0, 0, 1920, 1080), QRect(14, 40, 1200, 880)},
      {QRect(0, 0, 1280, 1024), QRect(14, 40, 1200, 880)},
      {QRect(0, 0, 1024, 768), QRect(4, 30, 1016, 734)},
      {QRect(0, 28, 1024, 740), QRect(4, 58, 1016, 706)},       // a panel at the top
      {QRect(1920, 0, 1280, 900), QRect(1924, 30, 1200, 866)},  // a second screen
  };
  for (const Cas& k : cas) {
    const QRect g = GeometrieDeDepart(k.disponible, cadre);
    EXPECT_EQ(g, k.attendue) << k.disponible.width() << "x" << k.disponible.height();
    EXPECT_TRUE(k.disponible.contains(g.marginsAdded(cadre)));
  }
}

// The window opens within the screen's available area, and the next run opens at the size and
// place the user closed it at.
TEST(Fiche, TailleDansLEcranEtRetenue) {
  Application();
  const QRect disponible = QApplication::primaryScreen()->availableGeometry();
  QRect laissee;
  {
    Fenetre f;
    const QSize minimum = f.fiche.minimumSizeHint();
    EXPECT_LE(f.fiche.frameGeometry().width(), std::max(disponible.width(), minimum.width()));
    EXPECT_LE(f.fiche.frameGeometry().height(), std::max(disponible.height(), minimum.height()));
    EXPECT_GE(f.fiche.frameGeometry().left(), disponible.left());
    EXPECT_GE(f.fiche.frameGeometry().top(), disponible.top());
    f.fiche.setGeometry(QRect(QPoint(30, 20), f.fiche.size() - QSize(10, 20)));
    laissee = f.fiche.geometry();
    f.d.reponses = {Reponse::Ok};
    EXPECT_TRUE(f.fiche.close());
  }
  Fenetre suivante;
  EXPECT_EQ(laissee.topLeft(), QPoint(30, 20));
  EXPECT_EQ(suivante.fiche.geometry(), laissee);
}

TEST(Fiche, PisteTraceeALaSourisEtAuClavier) {
  Application();
  Fenetre f;
  EXPECT_EQ(f.Panneau(5), QStringLiteral("KORV4"));
  f.Bouton(C::BoutonPiste);
  EXPECT_TRUE(f.Trouve<QWidget>(C::PanelPistes)->isVisible());
  f.Bouton(C::Bpist3);
  EXPECT_EQ(f.Panneau(5), QString::fromUtf8("Piste d'èpaisseur 1 mm"));
  f.Clique(1000, 1000);
  f.Clique(3000, 1000);
  EXPECT_EQ(f.Panneau(0), QStringLiteral("X = 30,00 pas"));
  QTest::keyClick(f.fiche.zone(), Qt::Key_Escape);
  ASSERT_EQ(f.ed().circuit.NbElements, 2);
  EXPECT_EQ(f.ed().circuit[2].X, 3000);
  EXPECT_FALSE(f.ed().ctx.PisteEnCours);
  // The track is in the drawing area's image, in the edited work's colour.
  const QPoint milieu = f.Point(2000, 1000);
  const QRgb pixel = f.fiche.zone()->Image().pixel(milieu);
  EXPECT_NE(qRed(pixel) + qGreen(pixel) + qBlue(pixel), 3 * 255);
  // Keypad + zooms in, Page Up scrolls.
  QTest::keyClick(f.fiche.zone(), Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(f.ed().ctx.Zoom, 3);
}

// The lit net is laid over the picture, not drawn in it: the image stays as it was, what the
// window shows has the highlight; Escape puts it out. What is under the pointer has a panel.
TEST(Fiche, EquipotentielleAllumeeParDessusEtSurvol) {
  Application();
  Fenetre f;
  f.Bouton(C::BoutonPiste);
  f.Bouton(C::Bpist3);
  f.Clique(1000, 1000);
  f.Clique(3000, 1000);
  QTest::keyClick(f.fiche.zone(), Qt::Key_Escape);
  ASSERT_EQ(f.ed().circuit.NbElements, 2);
  auto Allumes = [&f](bool image = false) {
    const QImage vue = image ? f.fiche.zone()->Image() : f.fiche.zone()->grab().toImage();
    int n = 0;
    for (int y = 0; y < vue.height(); ++y)
      for (int x = 0; x < vue.width(); ++x) n += vue.pixel(x, y) == qRgb(0xFF, 0xC8, 0x00);
    return n;
  };
  EXPECT_EQ(Allumes(), 0);
  f.Bouton(C::BoutonEquipotentielleTypon);
  f.Clique(2000, 1000);
  EXPECT_EQ(f.Panneau(4), QString::fromUtf8("Équipotentielle N1 : 0 pastille"));
  EXPECT_GT(Allumes(), 100);
  EXPECT_EQ(Allumes(true), 0);  // the picture itself has none of it
  EXPECT_EQ(f.ed().circuit.NbElements, 2);
  QTest::keyClick(f.fiche.zone(), Qt::Key_Escape);
  EXPECT_EQ(Allumes(), 0);

  QTest::mouseMove(f.fiche.zone(), f.Point(2500, 1000));
  auto* survol = f.fiche.findChild<QLabel*>(QStringLiteral("PanneauSurvol"));
  ASSERT_NE(survol, nullptr);
  EXPECT_TRUE(survol->text().startsWith(QString::fromUtf8("Piste 1 mm, face 1, 20,00 pas de long")))
      << survol->text().toStdString();
  EXPECT_EQ(survol->accessibleName(), survol->text());
}

TEST(Fiche, BlocTitreAuClavier) {
  Application();
  Fenetre f;
  f.Bouton(C::Boutontitre);
  QLineEdit* titre = f.Trouve<QLineEdit>(C::EditTitre1);
  ASSERT_TRUE(titre->isEnabled());
  titre->setFocus();
  QTest::keyClicks(titre, QStringLiteral("Carte d'essai "));
  QTest::sendKeyEvent(QTest::Click, titre, Qt::Key_Eacute, QString::fromUtf8("é"), Qt::NoModifier);
  QTest::keyClick(titre, Qt::Key_Return);
  EXPECT_FALSE(titre->isEnabled());
  EXPECT_FALSE(f.Trouve<QToolButton>(C::Boutontitre)->isChecked());
  EXPECT_EQ(f.ed().Titres[0], "Carte d'essai \xE9");
  EXPECT_TRUE(f.ed().circuit.CircuitModifie);
}

// The caption shows unsaved changes with "*", and the commands that need records are greyed
// in the menu and on the toolbar while the circuit is empty, undo and redo included.
TEST(Fiche, LegendeEtCommandesSuiventLeCircuit) {
  Application();
  Fenetre f;
  const C kCommandes[][2] = {{C::Enregistrerunfichier1, C::BoutonEnregistrer},
                             {C::Impression1, C::BoutonImpression},
                             {C::Exporterlefichierdeperage1, C::BoutonExportPercage},
                             {C::ExporterlecircuitauformatGerber1, C::BoutonExportGerber}};
  auto verifie = [&](const char* titre, bool actives) {
    EXPECT_EQ(f.fiche.windowTitle(), QString::fromUtf8(titre));
    for (const auto& c : kCommandes) {
      EXPECT_EQ(f.Trouve<QAction>(c[0])->isEnabled(), actives) << Definition(c[0]).Nom;
      EXPECT_EQ(f.Trouve<QToolButton>(c[1])->isEnabled(), actives) << Definition(c[1]).Nom;
    }
  };
  verifie("KORV4", false);
  f.Bouton(C::BoutonPastille);
  f.Bouton(C::Bpast8);
  f.Clique(1000, 1000);
  verifie("*KORV4", true);
  f.Bouton(C::BoutonDefaire);
  verifie("KORV4", false);
  f.Bouton(C::BoutonRefaire);
  verifie("*KORV4", true);
}

// One version, the build's: the toolbar label and the about box show what --version prints.
TEST(Fiche, UneSeuleVersion) {
  Application();
  Fenetre f;
  EXPECT_EQ(f.Trouve<QLabel>(C::StaticText2)->text(), "KORV4 Ver: " KORV4_VERSION);
  auto* version = f.fiche.findChild<QWidget*>(QStringLiteral("AboutBox"))
                      ->findChild<QLabel*>(QStringLiteral("Version"));
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text(), " Version " KORV4_VERSION " ");
}

// A circuit file dropped on the window opens as the open command does, and the next run
// remembers it.
TEST(Fiche, FichierDeposeEtRetenu) {
  Application();
  QTemporaryDir dossier;
  const QString nom = dossier.filePath(QStringLiteral("Carte.CIX"));
  Circuit c;
  AjoutElement(c, 1, uint8_t{200}, 1000, 1000);
  {
    Fenetre f;
    f.d.disque[nom.toStdString()] = EcritCircuit(c);  // the scripted disk
    QMimeData donnees;
    donnees.setUrls({QUrl::fromLocalFile(nom)});
    QDragEnterEvent entree(QPoint(200, 200), Qt::CopyAction, &donnees, Qt::LeftButton,
                           Qt::NoModifier);
    QApplication::sendEvent(f.fiche.centralWidget(), &entree);
    EXPECT_TRUE(entree.isAccepted());
    QDropEvent depot(QPointF(200, 200), Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.fiche.centralWidget(), &depot);
    EXPECT_EQ(f.ed().circuit.NbElements, 1);
    EXPECT_EQ(f.fiche.windowTitle(), QStringLiteral("KORV4 : ") + nom);
  }
  Fenetre suivante;
  EXPECT_EQ(QString::fromStdString(suivante.ed().DernierFichier), nom);
  EXPECT_EQ(QString::fromStdString(suivante.ed().RepertoireCircuits), dossier.path());
}

// The isolation check from the menu: the faults listed, the chosen one centred and ringed in
// the drawing area, the circuit unchanged.
TEST(Fiche, VerificationDesIsolementsMontreLeDefaut) {
  Application();
  Fenetre f;
  Circuit& c = f.ed().circuit;
  f.ed().ctx.SurfaceX = f.ed().ctx.SurfaceY = 31000;
  AjoutElement(c, 1, uint8_t{198}, 25000, 25000);  // two pads of 2 mm, about 0.2 mm apart
  AjoutElement(c, 1, uint8_t{198}, 25082, 25000);
  AfficheCI(f.ed());
  f.fiche.Apres();
  const std::vector<ElementCI> avant(c.Elements.begin(), c.Elements.begin() + c.NbElements + 1);
  Clic(f.ed(), C::Verificationdesisolements1);
  ASSERT_EQ(f.d.fenetres.back(), korv4::Fenetre::Verification);
  f.fiche.OuvreFenetre(korv4::Fenetre::Verification);  // what the window's dialogues do
  f.fiche.Apres();
  auto* fenetre = f.fiche.findChild<QDialog*>(QStringLiteral("FenetreVerification"));
  ASSERT_NE(fenetre, nullptr);
  EXPECT_TRUE(fenetre->isVisible());
  auto* liste = fenetre->findChild<QListWidget*>(QStringLiteral("Defauts"));
  ASSERT_NE(liste, nullptr);
  ASSERT_EQ(liste->count(), 2);  // the pads are on both faces; both inside the surface
  EXPECT_TRUE(liste->item(0)->text().startsWith(QStringLiteral("isolement")))
      << liste->item(0)->text().toStdString();
  EXPECT_TRUE(f.fiche.zone()->marque().isEmpty());
  // Chosen while the drilling plan is in view: the pads' fault is shown on face 1.
  f.Bouton(C::BoutonAffichagePercage);
  liste->setCurrentRow(0);
  EXPECT_EQ(f.ed().Etat.Travail, 1);
  const QRect anneau = f.fiche.zone()->marque();
  ASSERT_FALSE(anneau.isEmpty());
  // The fault is in the middle of the drawing area now.
  const QRect zone = f.fiche.zone()->rect();
  EXPECT_LT(std::abs(anneau.center().x() - zone.center().x()), zone.width() / 10);
  EXPECT_LT(std::abs(anneau.center().y() - zone.center().y()), zone.height() / 10);
  EXPECT_EQ(std::vector<ElementCI>(c.Elements.begin(), c.Elements.begin() + c.NbElements + 1),
            avant);
  fenetre->close();
  EXPECT_TRUE(f.fiche.zone()->marque().isEmpty());
}

// Ticked, the check follows every step: a pad put too close adds its faults and says so in the
// status bar, the fault chosen keeps its ring, and undoing the step takes both away.
TEST(Fiche, VerificationContinueSuitLesEtapes) {
  Application();
  Fenetre f;
  Circuit& c = f.ed().circuit;
  f.ed().ctx.SurfaceX = f.ed().ctx.SurfaceY = 31000;
  SurfaceDansEntete(f.ed());
  AjoutElement(c, 1, uint8_t{198}, 25000, 25000);
  Etape(f.ed(), "pastille");
  AfficheCI(f.ed());
  f.fiche.Apres();
  f.fiche.OuvreFenetre(korv4::Fenetre::Verification);
  f.fiche.Apres();
  auto* fenetre = f.fiche.findChild<QDialog*>(QStringLiteral("FenetreVerification"));
  ASSERT_NE(fenetre, nullptr);
  auto* liste = fenetre->findChild<QListWidget*>(QStringLiteral("Defauts"));
  auto* continue_ = fenetre->findChild<QCheckBox*>(QStringLiteral("Continue"));
  ASSERT_NE(liste, nullptr);
  ASSERT_NE(continue_, nullptr);
  const int seule = liste->count();  // the pad alone
  // Unticked, a step leaves the list as it was.
  AjoutElement(c, 1, uint8_t{198}, 25082, 25000);  // about 0.2 mm from the first
  Etape(f.ed(), "pastille");
  f.fiche.Apres();
  EXPECT_EQ(liste->count(), seule);
  continue_->setChecked(true);  // ticked: checked at once
  const int deux = liste->count();
  EXPECT_GE(deux, seule + 2);  // at least the gap on each face
  f.Bouton(C::BoutonDefaire);
  EXPECT_EQ(liste->count(), seule);
  f.Bouton(C::BoutonRefaire);
  ASSERT_EQ(liste->count(), deux);
  EXPECT_TRUE(f.fiche.statusBar()->currentMessage().startsWith(
      QStringLiteral("Nouveau défaut : isolement")))
      << f.fiche.statusBar()->currentMessage().toStdString();
  liste->setCurrentRow(0);
  const QRect anneau = f.fiche.zone()->marque();
  ASSERT_FALSE(anneau.isEmpty());
  // A step elsewhere: the fault and its ring stay; nothing new is said.
  f.fiche.statusBar()->clearMessage();
  AjoutElement(c, 1, uint8_t{198}, 5000, 5000);
  Etape(f.ed(), "pastille");
  f.fiche.Apres();
  EXPECT_EQ(liste->count(), deux);
  EXPECT_EQ(liste->currentRow(), 0);
  EXPECT_FALSE(f.fiche.zone()->marque().isEmpty());
  EXPECT_TRUE(f.fiche.statusBar()->currentMessage().isEmpty());
  // Undone twice: the close pad goes, its faults and the ring with it.
  f.Bouton(C::BoutonDefaire);
  f.Bouton(C::BoutonDefaire);
  EXPECT_EQ(liste->count(), seule);
  EXPECT_TRUE(f.fiche.zone()->marque().isEmpty());
  fenetre->close();
}

// ---- Recovery copies ----

// The recovery folder of windows made from now on: a fresh one.
QString NouveauDossierEtat(QTemporaryDir& etat) {
  qputenv("XDG_STATE_HOME", etat.path().toLocal8Bit());
  return etat.path() + "/korv4/recuperation";
}

QStringList Copies(const QString& dossier) {
  return QDir(dossier).entryList({QStringLiteral("*.recup")}, QDir::Files);
}

// While the circuit has unsaved changes a copy is written after a change; a save removes it,
// a change writes it again, a clean close removes it.
TEST(Recuperation, CopieEcriteRetireeALEnregistrementEtALaFermeture) {
  Application();
  QTemporaryDir etat, circuits;
  const QString dossier = NouveauDossierEtat(etat);
  auto f = std::make_unique<Fenetre>();
  f->fiche.recuperation().Delai(20);
  EXPECT_EQ(f->fiche.recuperation().Dossier(), dossier);
  f->Bouton(C::BoutonPastille);
  f->Bouton(C::Bpast8);
  f->Clique(1000, 1000);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies(dossier).size() == 1; }, 5000));
  const QString copie = f->fiche.recuperation().Fichier();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(copie).size() > 0; }, 5000));
  QFile lu(copie);
  ASSERT_TRUE(lu.open(QIODevice::ReadOnly));
  const QByteArray b = lu.readAll();
  Circuit c;
  CopieRecuperation quoi;
  std::string erreur;
  ASSERT_TRUE(LitRecuperation(c, quoi, {b.begin(), b.end()}, "copie", erreur)) << erreur;
  EXPECT_EQ(c.NbElements, 1);

  f->d.fichiers.push_back(QFile::encodeName(circuits.path() + "/A.CIX").toStdString());
  Clic(f->ed(), C::Enregistrerunfichier1);
  f->fiche.Apres();
  EXPECT_TRUE(Copies(dossier).isEmpty());

  f->Clique(3000, 1000);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies(dossier).size() == 1; }, 5000));
  f->d.reponses = {Reponse::Non, Reponse::Ok};  // not saved, then the close confirmed
  EXPECT_TRUE(f->fiche.close());
  EXPECT_TRUE(Copies(dossier).isEmpty());
}

// Run only as the child of the next test: an editor that changes its circuit, waits for its
// copy, says so and waits to be killed.
TEST(RecuperationEnfant, ModifiePuisAttendLaFin) {
  const QString marque = qEnvironmentVariable("KORV4_ENFANT_RECUPERATION");
  if (marque.isEmpty()) GTEST_SKIP() << "lancé par Recuperation.RestaureeApresUnArretBrutal";
  Application();
  Fenetre f;
  f.fiche.recuperation().Delai(20);
  f.Bouton(C::BoutonPastille);
  f.Bouton(C::Bpast8);
  for (int x : {1000, 2000, 3000}) f.Clique(x, 1500);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return QFileInfo(f.fiche.recuperation().Fichier()).size() > 0; }, 10000));
  QFile pret(marque);
  ASSERT_TRUE(pret.open(QIODevice::WriteOnly));
  pret.close();
  QTest::qWait(120000);
}

// An editor killed with SIGKILL: started again, it offers the copy back, and the circuit
// restored is the one before the kill, modified, without a name. A second editor running at the
// same time never takes the first one's copy.
TEST(Recuperation, RestaureeApresUnArretBrutal) {
  Application();
  QTemporaryDir etat;
  const QString dossier = NouveauDossierEtat(etat);
  const QString marque = etat.path() + "/pret";
  QProcess enfant;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KORV4_ENFANT_RECUPERATION", marque);
  env.insert("XDG_STATE_HOME", etat.path());
  env.insert("QT_QPA_PLATFORM", "offscreen");
  enfant.setProcessEnvironment(env);
  enfant.start(QCoreApplication::applicationFilePath(),
               {"--gtest_filter=RecuperationEnfant.ModifiePuisAttendLaFin"});
  ASSERT_TRUE(enfant.waitForStarted());
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marque); }, 60000))
      << enfant.readAllStandardOutput().toStdString();
  enfant.kill();  // SIGKILL
  ASSERT_TRUE(enfant.waitForFinished());
  EXPECT_EQ(enfant.exitStatus(), QProcess::CrashExit);
  ASSERT_EQ(Copies(dossier).size(), 1);

  Fenetre f;
  f.d.choix = {0};  // Restaurer
  EXPECT_TRUE(f.fiche.ProposeRecuperation());
  ASSERT_EQ(f.d.textesChoix.size(), 1u);
  EXPECT_NE(f.d.textesChoix[0].find("sans nom"), std::string::npos) << f.d.textesChoix[0];
  ASSERT_EQ(f.ed().circuit.NbElements, 3);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(f.ed().circuit[i].X, 1000 * i);
    EXPECT_EQ(f.ed().circuit[i].Y, 1500);
  }
  EXPECT_TRUE(f.ed().circuit.CircuitModifie);
  // The dead editor's copy gave way to this editor's own.
  EXPECT_EQ(Copies(dossier), QStringList{QFileInfo(f.fiche.recuperation().Fichier()).fileName()});

  // Another editor running beside it: that copy is not its to offer.
  Fenetre autre;
  EXPECT_FALSE(autre.fiche.ProposeRecuperation());
  EXPECT_TRUE(autre.d.textesChoix.empty());
}

// A damaged copy left behind is refused with a message and put aside; kept copies stay.
TEST(Recuperation, CopieEndommageeOuGardee) {
  Application();
  QTemporaryDir etat;
  const QString dossier = NouveauDossierEtat(etat);
  QDir().mkpath(dossier);
  Circuit c;
  AjoutElement(c, 1, uint8_t{200}, 1000, 1000);
  const std::vector<uint8_t> bonne = EcritRecuperation(c, {}, 11820, 7880, {"/a/B.CIX", 0});
  QFile abimee(dossier + "/1-1.recup");  // cut in its last record
  ASSERT_TRUE(abimee.open(QIODevice::WriteOnly));
  abimee.write(reinterpret_cast<const char*>(bonne.data()), static_cast<qint64>(bonne.size() - 3));
  abimee.close();
  QFile gardee(dossier + "/2-2.recup");
  ASSERT_TRUE(gardee.open(QIODevice::WriteOnly));
  gardee.write(reinterpret_cast<const char*>(bonne.data()), static_cast<qint64>(bonne.size()));
  gardee.close();

  Fenetre f;
  f.d.choix = {1};  // Garder pour plus tard
  EXPECT_FALSE(f.fiche.ProposeRecuperation());
  ASSERT_EQ(f.d.messages.size(), 1u);
  EXPECT_NE(f.d.messages[0].find("endommagée"), std::string::npos) << f.d.messages[0];
  ASSERT_EQ(f.d.textesChoix.size(), 1u);
  EXPECT_NE(f.d.textesChoix[0].find("/a/B.CIX"), std::string::npos) << f.d.textesChoix[0];
  EXPECT_TRUE(QFile::exists(dossier + "/2-2.recup"));
  EXPECT_TRUE(QFile::exists(dossier + "/1-1.recup.endommagee"));
  EXPECT_EQ(f.ed().circuit.NbElements, 0);

  Fenetre g;
  g.d.choix = {2};  // Supprimer
  EXPECT_FALSE(g.fiche.ProposeRecuperation());
  EXPECT_FALSE(QFile::exists(dossier + "/2-2.recup"));
}

// A copy that cannot be written is said once (status bar, caption) and tried again on the
// timer without another change; once written again, the mark goes.
TEST(Recuperation, EcritureImpossibleDiteEtReessayee) {
  Application();
  QTemporaryDir etat;
  NouveauDossierEtat(etat);
  Fenetre f;
  f.fiche.recuperation().Delai(50);
  const QString copie = f.fiche.recuperation().Fichier();
  ASSERT_TRUE(QDir().mkpath(copie));  // the copy's name is taken by a folder: no write succeeds
  f.Bouton(C::BoutonPastille);
  f.Bouton(C::Bpast8);
  f.Clique(1000, 1000);
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.ed().CopieEnEchec; }, 5000));
  EXPECT_TRUE(f.Panneau(4).startsWith(QStringLiteral("La copie de récupération ne peut pas")))
      << f.Panneau(4).toStdString();
  EXPECT_TRUE(f.fiche.windowTitle().endsWith(QStringLiteral("(copie de récupération impossible)")))
      << f.fiche.windowTitle().toStdString();
  // Said once: a later action clears the status text, and the failures that follow keep quiet.
  f.Bouton(C::BoutonPastille);
  QTest::qWait(300);
  EXPECT_TRUE(f.Panneau(4).isEmpty()) << f.Panneau(4).toStdString();
  // The disk takes copies again: written without another change.
  ASSERT_TRUE(QDir(copie).removeRecursively());
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(copie).isFile(); }, 5000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !f.ed().CopieEnEchec; }, 5000));
  EXPECT_FALSE(f.fiche.windowTitle().contains(QStringLiteral("impossible")));
  f.d.reponses = {Reponse::Non};
  EXPECT_TRUE(f.fiche.close());
}

// A sound copy that cannot be read now (its permissions) is said and kept as it is, never set
// aside as damaged.
TEST(Recuperation, CopieIlisibleGardee) {
  if (geteuid() == 0) GTEST_SKIP() << "le superutilisateur lit même un fichier de mode 000";
  Application();
  QTemporaryDir etat;
  const QString dossier = NouveauDossierEtat(etat);
  QDir().mkpath(dossier);
  Circuit c;
  AjoutElement(c, 1, uint8_t{200}, 1000, 1000);
  const std::vector<uint8_t> bonne = EcritRecuperation(c, {}, 11820, 7880, {"/a/B.CIX", 0});
  QFile f(dossier + "/1-1.recup");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(reinterpret_cast<const char*>(bonne.data()), static_cast<qint64>(bonne.size()));
  f.close();
  ASSERT_TRUE(f.setPermissions({}));
  for (int depart = 0; depart < 2; ++depart) {
    Fenetre e;
    EXPECT_FALSE(e.fiche.ProposeRecuperation());
    ASSERT_EQ(e.d.messages.size(), 1u);
    EXPECT_NE(e.d.messages[0].find("gardée"), std::string::npos) << e.d.messages[0];
    EXPECT_TRUE(QFile::exists(dossier + "/1-1.recup"));
    EXPECT_FALSE(QFile::exists(dossier + "/1-1.recup.endommagee"));
  }
  f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  Fenetre e;
  e.d.choix = {0};
  EXPECT_TRUE(e.fiche.ProposeRecuperation());
}

// What an editor finds in a recovery folder another program may have filled: damaged copies in
// one message and set aside under a free name, links ignored, a name that could reverse or
// overflow the question shown escaped and cut and not proposed for saving, and the locks of
// editors that died removed.
TEST(Recuperation, DossierHostile) {
  Application();
  QTemporaryDir etat, ailleurs;
  const QString dossier = NouveauDossierEtat(etat);
  QDir().mkpath(dossier);
  auto ecrit = [](const QString& chemin, const std::vector<uint8_t>& octets) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char*>(octets.data()), static_cast<qint64>(octets.size()));
  };
  for (int k = 0; k < 40; ++k) {
    ecrit(dossier + QStringLiteral("/%1-0.recup").arg(k), std::vector<uint8_t>(7 + k, 0x1b));
  }
  ecrit(dossier + "/0-0.recup.endommagee", {'d', 'e', 'j', 'a'});
  Circuit c;
  AjoutElement(c, 1, uint8_t{200}, 1000, 1000);
  const std::string nom = "/home/\xE2\x80\xAE" + std::string(4000, 'x') + ".CIX";
  ecrit(dossier + "/100-0.recup", EcritRecuperation(c, {}, 11820, 7880, {nom, 0}));
  ecrit(ailleurs.path() + "/lien.recup", EcritRecuperation(c, {}, 11820, 7880, {"/a/L.CIX", 0}));
  ASSERT_TRUE(QFile::link(ailleurs.path() + "/lien.recup", dossier + "/101-0.recup"));
  // A lock of an editor that died before its first copy.
  const pid_t enfant = fork();
  ASSERT_GE(enfant, 0);
  if (enfant == 0) {
    QLockFile l(dossier + "/102-0.lock");
    _exit(l.tryLock(0) ? 0 : 1);
  }
  int statut = 0;
  ASSERT_EQ(waitpid(enfant, &statut, 0), enfant);
  ASSERT_TRUE(QFile::exists(dossier + "/102-0.lock"));

  Fenetre f;
  f.d.choix = {0};  // Restaurer
  EXPECT_TRUE(f.fiche.ProposeRecuperation());
  ASSERT_EQ(f.d.messages.size(), 1u);
  EXPECT_EQ(f.d.messages[0].rfind("40 copies de récupération n'ont pas pu être lues", 0), 0u)
      << f.d.messages[0].substr(0, 200);
  EXPECT_NE(f.d.messages[0].find("… et 28 autres."), std::string::npos);
  EXPECT_EQ(f.d.messages[0].find('\x1b'), std::string::npos);
  EXPECT_EQ(QDir(dossier).entryList({QStringLiteral("*.recup")}, QDir::Files | QDir::NoSymLinks),
            QStringList{QFileInfo(f.fiche.recuperation().Fichier()).fileName()});
  QFile deja(dossier + "/0-0.recup.endommagee");
  ASSERT_TRUE(deja.open(QIODevice::ReadOnly));
  EXPECT_EQ(deja.readAll(), QByteArray("deja"));
  EXPECT_TRUE(QFile::exists(dossier + "/0-0.recup.endommagee-2"));
  EXPECT_TRUE(QFile::exists(ailleurs.path() + "/lien.recup"));
  // One question: the link was not offered.
  ASSERT_EQ(f.d.textesChoix.size(), 1u);
  const std::string& question = f.d.textesChoix[0];
  EXPECT_EQ(question.find("\xE2\x80\xAE"), std::string::npos);
  EXPECT_NE(question.find("\\u202e"), std::string::npos);
  EXPECT_LT(question.size(), 600u);
  EXPECT_EQ(f.ed().circuit.NbElements, 1);
  EXPECT_TRUE(f.ed().circuit.NomFichier.empty());
  EXPECT_FALSE(QFile::exists(dossier + "/102-0.lock"));

  // A second start finds nothing more to say.
  Fenetre g;
  EXPECT_FALSE(g.fiche.ProposeRecuperation());
  EXPECT_TRUE(g.d.messages.empty());
  EXPECT_TRUE(g.d.textesChoix.empty());
}

}  // namespace
}  // namespace korv4

namespace korv4 {
namespace {

// A key of the main window, what the editor is doing, and what must follow.
struct CasTouche {
  const char* nom;
  Qt::Key touche;
  Qt::KeyboardModifiers modificateurs;
  void (*prepare)(Fenetre&);
  void (*verifie)(Fenetre&);
};

void UnePastille(Fenetre& f) {
  f.Bouton(C::BoutonPastille);
  f.Bouton(C::Bpast8);
  f.Clique(1000, 1000);
}

// The pointer over the drawing area: the keys of the drawing area reach it from then on.
void SurLaZone(Fenetre& f) {
  const QPointF p = f.Point(1000, 1000);
  QMouseEvent e(QEvent::MouseMove, p, f.fiche.zone()->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                Qt::NoModifier);
  QApplication::sendEvent(f.fiche.zone(), &e);
}

TEST(Fiche, RaccourcisSelonLEtat) {
  Application();
  const std::vector<CasTouche> cas = {
      {"Ctrl+O", Qt::Key_O, Qt::ControlModifier, [](Fenetre&) {},
       [](Fenetre& f) { EXPECT_EQ(f.d.demandes.size(), 1u); }},
      {"Ctrl+S sans fichier : le dialogue", Qt::Key_S, Qt::ControlModifier,
       [](Fenetre& f) {
         UnePastille(f);
         f.d.fichiers = {"/t/A.CIX"};
       },
       [](Fenetre& f) {
         EXPECT_EQ(f.d.demandes.size(), 1u);
         EXPECT_EQ(f.d.disque.count("/t/A.CIX"), 1u);
       }},
      {"Ctrl+S avec son fichier : sur place", Qt::Key_S, Qt::ControlModifier,
       [](Fenetre& f) {
         UnePastille(f);
         f.d.fichiers = {"/t/A.CIX"};
         f.Bouton(C::BoutonEnregistrer);
         f.d.demandes.clear();
         f.d.disque.clear();
         f.Clique(2000, 1000);
       },
       [](Fenetre& f) {
         EXPECT_TRUE(f.d.demandes.empty());
         EXPECT_EQ(f.d.disque.count("/t/A.CIX"), 1u);
         EXPECT_FALSE(f.ed().circuit.CircuitModifie);
       }},
      {"Ctrl+Maj+S : le dialogue", Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier,
       [](Fenetre& f) {
         UnePastille(f);
         f.d.fichiers = {"/t/A.CIX"};
         f.Bouton(C::BoutonEnregistrer);
         f.d.demandes.clear();
       },
       [](Fenetre& f) { EXPECT_EQ(f.d.demandes.size(), 1u); }},
      {"Ctrl+N", Qt::Key_N, Qt::ControlModifier, UnePastille,
       [](Fenetre& f) { EXPECT_FALSE(f.d.questions.empty()); }},
      {"Ctrl+P", Qt::Key_P, Qt::ControlModifier, UnePastille,
       [](Fenetre& f) {
         EXPECT_EQ(f.d.fenetres, std::vector<korv4::Fenetre>{korv4::Fenetre::FicheImpression});
       }},
      {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, UnePastille,
       [](Fenetre& f) {
         EXPECT_EQ(f.d.fenetres, std::vector<korv4::Fenetre>{korv4::Fenetre::PressePapier});
       }},
      {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, UnePastille,
       [](Fenetre& f) { EXPECT_EQ(f.ed().circuit.NbElements, 0); }},
      {"Ctrl+Y", Qt::Key_Y, Qt::ControlModifier,
       [](Fenetre& f) {
         UnePastille(f);
         f.Bouton(C::BoutonDefaire);
       },
       [](Fenetre& f) { EXPECT_EQ(f.ed().circuit.NbElements, 1); }},
      {"Ctrl+Maj+Z", Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier,
       [](Fenetre& f) {
         UnePastille(f);
         f.Bouton(C::BoutonDefaire);
       },
       [](Fenetre& f) { EXPECT_EQ(f.ed().circuit.NbElements, 1); }},
      {"F1", Qt::Key_F1, Qt::NoModifier, [](Fenetre&) {},
       [](Fenetre& f) {
         EXPECT_EQ(f.d.fenetres, std::vector<korv4::Fenetre>{korv4::Fenetre::Aide});
       }},
      {"Ctrl+0", Qt::Key_0, Qt::ControlModifier, UnePastille,
       [](Fenetre& f) { EXPECT_EQ(f.ed().ctx.Zoom, 9); }},
      {"+ du clavier principal", Qt::Key_Plus, Qt::ShiftModifier, SurLaZone,
       [](Fenetre& f) { EXPECT_EQ(f.ed().ctx.Zoom, 3); }},
      {"- du clavier principal", Qt::Key_Minus, Qt::NoModifier, SurLaZone,
       [](Fenetre& f) { EXPECT_EQ(f.ed().ctx.Zoom, 1); }},
  };
  for (const CasTouche& c : cas) {
    SCOPED_TRACE(c.nom);
    Fenetre f;
    c.prepare(f);
    f.d.fenetres.clear();
    f.d.questions.clear();
    f.fiche.zone()->setFocus();
    QTest::keyClick(f.fiche.zone(), c.touche, c.modificateurs);
    c.verifie(f);
  }
}

// Shortcuts never reach the editor from a title being typed or from a dialog.
TEST(Fiche, RaccourcisNiDansUnTitreNiDansUnDialogue) {
  Application();
  Fenetre f;
  UnePastille(f);
  f.Bouton(C::Boutontitre);
  QLineEdit* titre = f.Trouve<QLineEdit>(C::EditTitre1);
  titre->setFocus();
  for (Qt::Key k : {Qt::Key_Z, Qt::Key_S, Qt::Key_O, Qt::Key_C}) {
    QTest::keyClick(titre, k, Qt::ControlModifier);
  }
  EXPECT_EQ(f.ed().circuit.NbElements, 1);
  EXPECT_TRUE(f.d.demandes.empty());
  EXPECT_TRUE(f.d.fenetres.empty());
  QTest::keyClick(titre, Qt::Key_Return);

  QDialog dialogue(&f.fiche);
  auto* champ = new QLineEdit(&dialogue);
  dialogue.setModal(true);
  dialogue.show();
  dialogue.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialogue));
  champ->setFocus();
  QTest::keyClick(champ, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(champ, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(f.ed().circuit.NbElements, 1);
  EXPECT_TRUE(f.d.demandes.empty());
}

// The menus show the shortcuts; each menu has a letter of its own, and Alt with it opens it.
TEST(Fiche, RaccourcisMontresEtLettresDesMenus) {
  Application();
  Fenetre f;
  EXPECT_EQ(f.Trouve<QAction>(C::Ouvrir1)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  EXPECT_EQ(f.Trouve<QAction>(C::Refaire1)->shortcuts(),
            (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                 QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
  QList<QKeySequence> lettres;
  for (QAction* a : f.fiche.menuBar()->actions()) {
    const QKeySequence l = QKeySequence::mnemonic(a->text());
    EXPECT_FALSE(l.isEmpty()) << a->text().toStdString();
    EXPECT_FALSE(lettres.contains(l)) << a->text().toStdString();
    lettres.append(l);
  }
  // No button takes a menu's letter.
  for (QToolButton* b : f.fiche.findChildren<QToolButton*>()) {
    EXPECT_FALSE(!b->shortcut().isEmpty() && lettres.contains(b->shortcut()))
        << b->objectName().toStdString();
  }
  QTest::keyClick(&f.fiche, Qt::Key_F, Qt::AltModifier);
  auto* fichier = f.Trouve<QMenu>(C::Fichier1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return fichier->isVisible(); }, 1000));
  fichier->close();
}

void Molette(QWidget* zone, QPoint p, QPoint angle, QPoint pixels, Qt::KeyboardModifiers m) {
  QWheelEvent e(QPointF(p), QPointF(zone->mapToGlobal(p)), pixels, angle, Qt::NoButton, m,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(zone, &e);
}

// The wheel and the touchpad scroll, Shift across, Ctrl zooms around the pointer; the middle
// button pans without touching the track being drawn.
TEST(Fiche, MoletteEtBoutonDuMilieu) {
  Application();
  Fenetre f;
  QWidget* zone = f.fiche.zone();
  SurLaZone(f);
  QTest::keyClick(zone, Qt::Key_Plus, Qt::KeypadModifier);
  QTest::keyClick(zone, Qt::Key_Plus, Qt::KeypadModifier);
  QTest::keyClick(zone, Qt::Key_Plus, Qt::KeypadModifier);
  ASSERT_TRUE(f.ed().AscVertical.Visible && f.ed().AscHorizontal.Visible);
  AscenseurChange(f.ed(), true, 400);
  AscenseurChange(f.ed(), false, 400);
  f.fiche.Apres();
  const Ascenseur& v = f.ed().AscVertical;
  const Ascenseur& h = f.ed().AscHorizontal;
  const QPoint p(300, 200);
  Molette(zone, p, QPoint(0, -120), {}, Qt::NoModifier);  // towards the user: down
  EXPECT_EQ(v.Position, 400 + v.GrandPas);
  auto* barre = f.fiche.findChild<QScrollBar*>(QStringLiteral("AscVertical"));
  EXPECT_EQ(barre->value(), v.Position);
  Molette(zone, p, QPoint(0, 120), {}, Qt::ShiftModifier);
  EXPECT_EQ(h.Position, 400 - h.GrandPas);
  for (int i = 0; i < 20; ++i) Molette(zone, p, QPoint(0, -24), QPoint(0, -6), Qt::NoModifier);
  EXPECT_GT(v.Position, 400 + v.GrandPas);
  const int zoom = f.ed().ctx.Zoom;
  const int64_t sx = p.x() + f.ed().ctx.OrigineX;
  const int64_t l = f.ed().ctx.LargeurSurface;
  Molette(zone, p, QPoint(0, 120), {}, Qt::ControlModifier);
  EXPECT_EQ(f.ed().ctx.Zoom, zoom + 1);
  auto* echelle = f.fiche.findChild<QComboBox*>(QStringLiteral("ChoixEchelle1"));
  EXPECT_EQ(echelle->currentIndex(), zoom + 1);
  EXPECT_NEAR(static_cast<double>(p.x() + f.ed().ctx.OrigineX),
              static_cast<double>(sx * f.ed().ctx.LargeurSurface / l),
              f.ed().ctx.LargeurSurface / 1000.0 + 2);

  // A track being drawn, then the middle button drags the view.
  f.Bouton(C::BoutonPiste);
  f.Bouton(C::Bpist3);
  const int32_t ux = GrilleX(f.ed().ctx, 200 + f.ed().ctx.OrigineX);
  const int32_t uy = GrilleY(f.ed().ctx, f.ed().ctx.OrigineY - 200);
  f.Clique(ux, uy);
  ASSERT_TRUE(f.ed().ctx.PisteEnCours);
  const int32_t code = f.ed().CodeAction, nb = f.ed().circuit.NbElements;
  const int hAvant = h.Position, vAvant = v.Position;
  QTest::mousePress(zone, Qt::MiddleButton, {}, QPoint(400, 300));
  QMouseEvent bouge(QEvent::MouseMove, QPointF(250, 200), zone->mapToGlobal(QPointF(250, 200)),
                    Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
  QApplication::sendEvent(zone, &bouge);
  QTest::mouseRelease(zone, Qt::MiddleButton, {}, QPoint(250, 200));
  EXPECT_GT(h.Position, hAvant);  // the surface followed the pointer to the left
  EXPECT_GT(v.Position, vAvant);  // and up
  EXPECT_TRUE(f.ed().ctx.PisteEnCours);
  EXPECT_EQ(f.ed().CodeAction, code);
  EXPECT_EQ(f.ed().circuit.NbElements, nb);
  // A mouse's back button neither pans nor touches the track.
  QTest::mousePress(zone, Qt::BackButton, {}, QPoint(100, 100));
  EXPECT_FALSE(f.ed().Glisse.Actif);
  QTest::mouseRelease(zone, Qt::BackButton, {}, QPoint(100, 100));
  EXPECT_TRUE(f.ed().ctx.PisteEnCours);
}

// Tab goes through the tools, the option panel, the drawing area and the title block; the
// space bar presses a button reached that way.
TEST(Fiche, TabAtteintOutilsPanneauZoneEtCartouche) {
  Application();
  Fenetre f;
  f.Bouton(C::BoutonPiste);
  f.fiche.zone()->setFocus();
  QStringList vus;
  for (int i = 0; i < 200; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    vus << QApplication::focusWidget()->objectName();
  }
  for (const char* nom :
       {"BoutonOuvrir", "BoutonPiste", "Bpist3", "ZoneDessin", "Boutontitre", "ChoixEchelle1"}) {
    EXPECT_TRUE(vus.contains(QString::fromLatin1(nom))) << nom;
  }
  auto* bouton = f.Trouve<QToolButton>(C::Bpist3);
  bouton->setFocus();
  QTest::keyClick(bouton, Qt::Key_Space);
  EXPECT_TRUE(EstEnfonce(f.ed(), C::Bpist3));
  EXPECT_EQ(f.Panneau(5), QString::fromUtf8("Piste d'èpaisseur 1 mm"));
}

}  // namespace
}  // namespace korv4

namespace korv4 {
namespace {

// What assistive technology is handed for a widget.
QString NomAccessible(QObject* o) {
  QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
  return i != nullptr ? i->text(QAccessible::Name) : QString();
}

// After a change of tool and a pointer move, the status panels read their texts (their
// description says what they are), the drill buttons read their diameters and the toggles their
// states. (A name set on a widget is announced by Qt itself; the offscreen platform has no
// accessibility bridge to watch it.)
// The drawing area is always exactly the space it is given (a small board that fits, the
// window resized), and the status texts wrap rather than being cut.
TEST(Fiche, ZoneEtTextesDEtatDansLeurPlace) {
  Application();
  Fenetre f;
  QWidget* zone = f.fiche.zone();
  ChoixEchelle1Change(f.ed(), 0);  // a small board that fits
  f.fiche.Apres();
  for (const QSize taille :
       {QSize(1200, 800), QSize(1200, 790), QSize(1000, 810), QSize(900, 700)}) {
    f.fiche.resize(taille);
    QTest::qWait(50);
    const QRect place = zone->parentWidget()->rect();
    EXPECT_TRUE(place.contains(zone->geometry()))
        << taille.width() << "x" << taille.height() << " : " << zone->geometry().height() << " / "
        << place.height();
    EXPECT_FALSE(EstVisible(f.ed(), C::PanelAscHorizontal));
    EXPECT_EQ(zone->geometry().bottom(), place.bottom());
  }
  Panneau(f.ed(), 4, kQuartDeTourRefuse);
  f.fiche.Apres();
  QTest::qWait(50);
  auto* etat = f.fiche.findChild<QLabel*>(QStringLiteral("Panneau4"));
  EXPECT_GE(etat->height(), etat->heightForWidth(etat->width()));
  EXPECT_EQ(NomAccessible(etat), QString::fromUtf8(kQuartDeTourRefuse));
  EXPECT_TRUE(zone->parentWidget()->rect().contains(zone->geometry()));
}

// The drawing area reached from the keyboard: the arrows move the cursor, Enter places there
// (not where the pointer is), and the status bar says where.
TEST(Fiche, DessinAuClavierDansLaFenetre) {
  Application();
  Fenetre f;
  f.Bouton(C::BoutonPastille);
  f.Bouton(C::Bpast8);
  f.fiche.zone()->setFocus();
  QTest::keyClick(f.fiche.zone(), Qt::Key_Right, Qt::ShiftModifier);
  QTest::keyClick(f.fiche.zone(), Qt::Key_Up);
  QTest::keyClick(f.fiche.zone(), Qt::Key_Up);
  EXPECT_EQ(f.Panneau(0), QStringLiteral("X = 5,00 pas"));
  EXPECT_EQ(f.Panneau(1), QStringLiteral("Y = 1,00 pas"));
  QTest::keyClick(f.fiche.zone(), Qt::Key_Return);
  ASSERT_EQ(f.ed().circuit.NbElements, 1);
  EXPECT_EQ(f.ed().circuit[1].X, 500);
  EXPECT_EQ(f.ed().circuit[1].Y, 100);
  // In a list, the arrows stay the list's.
  auto* echelle = f.Trouve<QComboBox>(C::ChoixEchelle1);
  echelle->setFocus();
  QTest::keyClick(echelle, Qt::Key_Right);
  EXPECT_EQ(f.ed().ctx.CurseurX, 500);
}

TEST(Fiche, CeQueLisentLesTechnologiesDAssistance) {
  Application();
  Fenetre f;
  f.Bouton(C::BoutonPiste);
  f.Bouton(C::Bpist3);
  SurLaZone(f);
  auto* action = f.fiche.findChild<QLabel*>(QStringLiteral("Panneau5"));
  auto* x = f.fiche.findChild<QLabel*>(QStringLiteral("Panneau0"));
  EXPECT_EQ(NomAccessible(action), QString::fromUtf8("Piste d'èpaisseur 1 mm"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(action)->text(QAccessible::Description),
            QStringLiteral("Action en cours"));
  EXPECT_EQ(NomAccessible(x), QStringLiteral("X = 10,00 pas"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(x)->text(QAccessible::Description),
            QString::fromUtf8("Coordonnée X"));
  QAccessibleInterface* piste =
      QAccessible::queryAccessibleInterface(f.Trouve<QToolButton>(C::Bpist3));
  EXPECT_TRUE(piste->state().checkable);
  EXPECT_TRUE(piste->state().checked);
  EXPECT_TRUE(piste->text(QAccessible::Description).contains(QStringLiteral("groupe")));
  EXPECT_FALSE(
      QAccessible::queryAccessibleInterface(f.Trouve<QToolButton>(C::Bpist1))->state().checked);
  EXPECT_FALSE(QAccessible::queryAccessibleInterface(f.Trouve<QToolButton>(C::BoutonOuvrir))
                   ->state()
                   .checkable);
  EXPECT_EQ(NomAccessible(f.Trouve<QToolButton>(C::BPerc1)), QStringLiteral("0,8 mm"));
  EXPECT_EQ(NomAccessible(f.Trouve<QToolButton>(C::BPerc7)), QStringLiteral("3,2 mm"));
}

// Every control of every dialog has a name of its own; Enter and Escape work in each.
TEST(Fiche, ChaqueControleDesDialoguesANomPropre) {
  Application();
  Fenetre f;
  for (const char* nom : {"AboutBox", "FicheModifDiametre", "Surfacedetravail", "FicheImpression",
                          "FenetreEditiontexte", "Enregistrepercage", "ExportGerber",
                          "FicheFabrication", "FenetreVerification"}) {
    QWidget* dialogue = f.fiche.findChild<QWidget*>(QString::fromLatin1(nom));
    ASSERT_NE(dialogue, nullptr) << nom;
    // Escape closes it (a dialog), Enter presses its default button.
    EXPECT_NE(qobject_cast<QDialog*>(dialogue), nullptr) << nom;
    bool parDefaut = false;
    for (QPushButton* b : dialogue->findChildren<QPushButton*>()) {
      // A button box makes its accepting button the default one when it is shown.
      auto* boite = qobject_cast<QDialogButtonBox*>(b->parent());
      parDefaut |= b->isDefault() ||
                   (boite != nullptr && boite->buttonRole(b) == QDialogButtonBox::AcceptRole);
    }
    EXPECT_TRUE(parDefaut) << nom;
    QStringList noms;
    for (QWidget* w : dialogue->findChildren<QWidget*>()) {
      const bool controle = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                            qobject_cast<QComboBox*>(w) || qobject_cast<QGroupBox*>(w) ||
                            qobject_cast<QAbstractSpinBox*>(w);
      // The parts of a drop-down list or a spin box are named by it.
      if (!controle || qobject_cast<QComboBox*>(w->parent()) != nullptr ||
          qobject_cast<QAbstractSpinBox*>(w->parent()) != nullptr) {
        continue;
      }
      const QString n = NomAccessible(w);
      EXPECT_FALSE(n.isEmpty()) << nom << " " << w->objectName().toStdString();
      EXPECT_FALSE(noms.contains(n))
          << nom << " " << w->objectName().toStdString() << " : " << n.toStdString();
      noms << n;
    }
  }
}

}  // namespace
}  // namespace korv4

namespace korv4 {
namespace {

// The last eight circuits opened or saved, most recent first, in the "Fichier" menu from one run
// to the next; those no longer on the disk disabled; opening one asks first whether to save the
// circuit being edited, as the open command does.
TEST(Fiche, FichiersRecents) {
  Application();
  QSettings(QStringLiteral("KORV4"), QStringLiteral("korv4"))
      .remove(QStringLiteral("FichiersRecents"));
  QTemporaryDir dossier;
  Circuit c;
  AjoutElement(c, 1, uint8_t{200}, 1000, 1000);
  const std::vector<uint8_t> octets = EcritCircuit(c);
  QStringList noms;
  {
    Fenetre f;
    for (int i = 0; i < 10; ++i) {
      const QString nom = dossier.filePath(QStringLiteral("C%1.CIX").arg(i));
      QFile disque(nom);
      ASSERT_TRUE(disque.open(QIODevice::WriteOnly));
      disque.write(reinterpret_cast<const char*>(octets.data()), octets.size());
      disque.close();
      f.d.disque[nom.toStdString()] = octets;
      ASSERT_TRUE(f.fiche.OuvreFichier(nom));
      noms.prepend(nom);
    }
    f.fiche.OuvreFichier(noms[3]);  // again: it comes first, once
    noms.move(3, 0);
  }
  QFile::remove(noms[1]);
  Fenetre f;
  auto* menu = f.fiche.findChild<QMenu*>(QStringLiteral("Fichiersrecents1"));
  ASSERT_NE(menu, nullptr);
  emit f.Trouve<QMenu>(C::Fichier1)->aboutToShow();
  const QList<QAction*> actions = menu->actions();
  ASSERT_EQ(actions.size(), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_TRUE(actions[i]->text().endsWith(noms[i])) << actions[i]->text().toStdString();
    EXPECT_EQ(actions[i]->isEnabled(), i != 1) << i;
  }
  // A modified circuit: the question first (answered "Non"), then the file.
  UnePastille(f);
  f.d.disque[noms[2].toStdString()] = octets;
  actions[2]->trigger();
  EXPECT_EQ(f.d.questions.size(), 1u);
  EXPECT_EQ(f.ed().circuit.NbElements, 1);
  EXPECT_EQ(f.fiche.windowTitle(), QStringLiteral("KORV4 : ") + noms[2]);
}

}  // namespace
}  // namespace korv4

namespace korv4 {
namespace {

// The main toolbar's commands and the function bars' tools show an icon alone, drawn in the
// theme's text colour; their caption stays their name for assistive technology, their hint
// their tooltip. The works and the title block keep their captions.
TEST(Fiche, IconesDesBarres) {
  Application();
  Fenetre f;
  for (C barre : {C::Outils_principaux, C::ToolboutonTypon, C::ToolBoutonImplantation,
                  C::ToolBoutonPercage}) {
    for (int i = 1; i < kNombreControles; ++i) {
      const DefinitionControle& d = Definition(static_cast<C>(i));
      if (d.Conteneur != barre || d.Type == Genre::Liste || d.Type == Genre::Etiquette) continue;
      QToolButton* b = f.Trouve<QToolButton>(static_cast<C>(i));
      ASSERT_NE(b, nullptr) << d.Nom;
      EXPECT_FALSE(b->icon().isNull()) << d.Nom;
      EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonIconOnly) << d.Nom;
      EXPECT_EQ(b->accessibleName(), QString::fromUtf8(d.Libelle).remove('&')) << d.Nom;
      EXPECT_EQ(b->toolTip(), QString::fromUtf8(d.Bulle)) << d.Nom;
      // Sharp at the scale factors 1 and 2: a picture drawn at each size.
      EXPECT_EQ(b->icon().pixmap(QSize(24, 24), 2.0).size(), QSize(48, 48)) << d.Nom;
    }
  }
  EXPECT_EQ(f.Trouve<QToolButton>(C::BoutonAffichageFace1)->toolButtonStyle(),
            Qt::ToolButtonTextOnly);
  // The outline takes the text colour of the theme: dark on a light theme.
  const QImage image =
      f.Trouve<QToolButton>(C::BoutonDefaire)->icon().pixmap(QSize(24, 24), 1.0).toImage();
  const QColor texte = f.fiche.palette().color(QPalette::ButtonText);
  bool trouve = false;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.alpha() == 255 && c.rgb() == texte.rgb()) trouve = true;
    }
  }
  EXPECT_TRUE(trouve);
  // A dark theme: the outline turns light.
  QPalette sombre = f.fiche.palette();
  sombre.setColor(QPalette::ButtonText, Qt::white);
  f.fiche.setPalette(sombre);
  const QImage clair =
      f.Trouve<QToolButton>(C::BoutonDefaire)->icon().pixmap(QSize(24, 24), 1.0).toImage();
  bool blanc = false;
  for (int y = 0; y < clair.height(); ++y) {
    for (int x = 0; x < clair.width(); ++x) {
      if (clair.pixelColor(x, y) == QColor(Qt::white)) blanc = true;
    }
  }
  EXPECT_TRUE(blanc);
}

}  // namespace
}  // namespace korv4
