#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include "editeur/Session.h"
#include "fenetres/ui/Fiche_principale.h"
#include "fenetres/ui/Recuperation.h"
#include "fenetres/ui/ZoneDessin.h"
#include "historique/Recuperation.h"
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

// A circuit file dropped on the window opens as the open command does, and the next run
// remembers it.
TEST(Fiche, FichierDeposeEtRetenu) {
  Application();
  QTemporaryDir dossier;
  const QString nom = dossier.filePath(QStringLiteral("Carte.CIX"));
  Circuit c;
  AjoutElement(c, 1, 18, 1000, 1000);
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
  AjoutElement(c, 1, 16, 25000, 25000);  // two pads of 2 mm, about 0.2 mm apart
  AjoutElement(c, 1, 16, 25082, 25000);
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
  liste->setCurrentRow(0);
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
  AjoutElement(c, 1, 18, 1000, 1000);
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

}  // namespace
}  // namespace korv4
