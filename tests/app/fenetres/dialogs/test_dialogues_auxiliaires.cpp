// The work-surface dialog and the drill-diameter dialog, driven offscreen
// through their controls; the messages answered by the scripted dialog service.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "../OutilsDialogues.h"
#include "../ServiceDialoguesScript.h"
#include "Enregistrement.h"
#include "export/Percage.h"
#include "fenetres/dialogs/Editiontexte.h"
#include "fenetres/dialogs/ModifDiam.h"
#include "fenetres/dialogs/SurfaceTravail.h"
#include "fenetres/ui/DialoguesQt.h"

namespace korv4 {
namespace {

using essai::Clique;
using essai::Controle;
using essai::Fait;
using essai::PendantLaFenetreModale;
using essai::Rec;

const QString kTropGrand = QStringLiteral("Taille maximale du circuit = 800 x 800 mm");
const QString kPlusPetit = QStringLiteral("Taille du CI est plus grande que la surface de travail");

// A page of 4800 x 6600 dots at 600 dpi (8 x 11 inches): 80 x 110 pas.
PageImprimante PageLettre() {
  PageImprimante p;
  p.PointsParPouceX = p.PointsParPouceY = 600;
  p.LargeurPoints = 4800;
  p.HauteurPoints = 6600;
  return p;
}

class Surface : public ::testing::Test {
 protected:
  // Types into an edit as the user does (the key filter sees every key).
  void Tape(TSurfacedetravail& d, const char* nom, const QString& texte) {
    QLineEdit* e = Controle<QLineEdit>(d, nom);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, texte);
  }
  QString Texte(TSurfacedetravail& d, const char* nom) {
    return Controle<QLineEdit>(d, nom)->text();
  }
  ServiceDialoguesScript service_;
};

TEST_F(Surface, ControlesEtOuverture) {
  const Circuit c = Fait({Rec(1, 161, 0x80, 1000, 1000), Rec(1, 161, 0x40, 5000, 2000)});
  TSurfacedetravail d(c, service_, PageLettre);
  EXPECT_EQ(d.windowTitle(), "Taille de la surface de travail");
  const std::vector<std::pair<const char*, const char*>> libelles = {
      {"Choixenmm", "Taille en  mm"},
      {"Choixenpas", "Taille en pas"},
      {"RadioButton2", "Format imprimante"},
      {"RadioButton3", "160 x 100mm"},
      {"RadioButton4", "200 x 150 mm"},
      {"RadioButton5", "300 x200 mm"},
      {"RadioButton1", "400 x300 mm"},
      {"RadioButton6", "800 x 800 mm (Max)"},
      {"SpeedButton1", "OK"}};
  for (const auto& [nom, texte] : libelles)
    EXPECT_EQ(Controle<QAbstractButton>(d, nom)->text(), QString::fromUtf8(texte)) << nom;
  EXPECT_EQ(Controle<QLabel>(d, "Label4")->text(), "Surface de travail");
  EXPECT_EQ(Controle<QLabel>(d, "Label2")->text(), "Largeur");
  EXPECT_EQ(Controle<QLabel>(d, "Label3")->text(), "Hauteur");
  ASSERT_NE(d.findChild<QPushButton*>(QStringLiteral("BitBtn4")), nullptr);
  EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);

  // Taille1Click: the screen's surface in, the dialog at (200, 100) showing it in mm with no
  // preset checked; OK stores the pair and redraws; the circuit is not marked modified.
  int32_t sx = 11820, sy = 7880;
  int redessins = 0;
  PendantLaFenetreModale([&] {
    EXPECT_EQ(d.pos(), QPoint(200, 100));
    EXPECT_EQ(Texte(d, "Editlargeur"), "300");  // 11820 x 254 / 10000
    EXPECT_EQ(Texte(d, "EditHauteur"), "200");
    EXPECT_TRUE(Controle<QRadioButton>(d, "Choixenmm")->isChecked());
    for (const char* p : {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4",
                          "RadioButton5", "RadioButton6"})
      EXPECT_FALSE(Controle<QRadioButton>(d, p)->isChecked()) << p;
    Clique(d, "RadioButton3");  // 160 x 100 mm
    Clique(d, "SpeedButton1");
  });
  EXPECT_EQ(d.Ouvre(sx, sy, [&] { ++redessins; }), QDialog::Accepted);
  EXPECT_EQ(sx, 6319);  // the preset's pair, its numbers not changed
  EXPECT_EQ(sy, 3957);
  EXPECT_EQ(redessins, 1);
  EXPECT_FALSE(c.CircuitModifie);

  // Cancel leaves the surface as it was, even after changes; presets are unchecked again.
  PendantLaFenetreModale([&] {
    EXPECT_FALSE(Controle<QRadioButton>(d, "RadioButton3")->isChecked());
    EXPECT_EQ(Texte(d, "Editlargeur"), "160");  // 6319 units
    Clique(d, "RadioButton6");
    Clique(d, "BitBtn4");
  });
  EXPECT_EQ(d.Ouvre(sx, sy, [&] { ++redessins; }), QDialog::Rejected);
  EXPECT_EQ(sx, 6319);
  EXPECT_EQ(redessins, 1);
}

TEST_F(Surface, LimitesEtMessages) {
  // The circuit reaches x = 5000 and y = 2000 units.
  const Circuit c = Fait({Rec(1, 161, 0x80, 1000, 1000), Rec(1, 161, 0x40, 5000, 2000)});
  TSurfacedetravail d(c, service_, PageLettre);
  d.TailleSurface = {11820, 7880};
  d.show();
  struct Cas {
    const char *largeur, *hauteur;
    bool pas;
    const QString* message;  // null: accepted
    int32_t w, h;            // the pair after OK
  };
  const Cas cas[] = {
      {"800", "800", false, nullptr, 31496, 31496},
      {"801", "100", false, &kTropGrand, 31535, 3937},
      {"100", "801", false, &kTropGrand, 3937, 31535},
      {"127", "100", false, &kPlusPetit, 5000, 3937},  // not beyond the largest x
      {"128", "100", false, nullptr, 5039, 3937},
      {"128", "50", false, &kPlusPetit, 5039, 1968},  // 1968 < 2000
      {"", "100", false, &kPlusPetit, 0, 3937},       // an empty edit reads 0
      {"315", "315", true, nullptr, 31500, 31500},
      {"316", "20", true, &kTropGrand, 31600, 2000},
      {"51", "21", true, nullptr, 5100, 2100},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(std::string(k.largeur) + " x " + k.hauteur + (k.pas ? " pas" : " mm"));
    ASSERT_TRUE(d.isVisible());
    Clique(d, k.pas ? "Choixenpas" : "Choixenmm");
    Tape(d, "Editlargeur", QString::fromLatin1(k.largeur));
    Tape(d, "EditHauteur", QString::fromLatin1(k.hauteur));
    service_.messages.clear();
    Clique(d, "SpeedButton1");
    EXPECT_EQ(d.TailleSurface[0], k.w);
    EXPECT_EQ(d.TailleSurface[1], k.h);
    if (k.message) {
      ASSERT_EQ(service_.messages.size(), 1u);
      EXPECT_EQ(service_.messages[0], *k.message);
      EXPECT_TRUE(d.isVisible());  // the dialog stays open, with what was typed
      EXPECT_EQ(Texte(d, "Editlargeur"), QString::fromLatin1(k.largeur));
    } else {
      EXPECT_TRUE(service_.messages.empty());
      EXPECT_FALSE(d.isVisible());
      EXPECT_EQ(d.result(), QDialog::Accepted);
      d.show();
    }
  }
  d.hide();
}

// OK on numbers the user did not change keeps the size to the unit, however often; a number
// typed in millimetres reads back as typed.
TEST_F(Surface, TailleGardeeEtRelueCommeTapee) {
  const Circuit c;
  TSurfacedetravail d(c, service_, PageLettre);
  struct Cas {
    const char* preset;  // null: the pair as it comes
    int32_t x, y;        // the pair given to the dialog
    bool pas;            // the numbers are shown in pas before OK
    int32_t w, h;        // the pair after OK, every time
  };
  const Cas cas[] = {
      {"RadioButton3", 11820, 7880, false, 6319, 3957},    // 160 x 100 mm
      {"RadioButton3", 11820, 7880, true, 6319, 3957},     // the same, looked at in pas
      {"RadioButton6", 11820, 7880, false, 31496, 31496},  // the largest: 800 mm
      {nullptr, 11811, 7874, false, 11811, 7874},          // 300 x 200 mm as typed
      {nullptr, 4321, 1234, false, 4321, 1234},            // a pair from a file
      {nullptr, 4321, 1234, true, 4321, 1234},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.preset ? k.preset : "tel quel");
    int32_t sx = k.x, sy = k.y;
    for (int fois = 0; fois < 3; ++fois) {
      PendantLaFenetreModale([&] {
        if (fois == 0 && k.preset) Clique(d, k.preset);
        Clique(d, k.pas ? "Choixenpas" : "Choixenmm");
        Clique(d, "SpeedButton1");
      });
      ASSERT_EQ(d.Ouvre(sx, sy), QDialog::Accepted);
      EXPECT_EQ(sx, k.w);
      EXPECT_EQ(sy, k.h);
    }
  }
  EXPECT_TRUE(service_.messages.empty());

  // Every width from 1 to 800 mm, typed and confirmed, shows again as typed, and stays.
  d.TailleSurface = {11820, 7880};
  d.show();
  Clique(d, "Choixenmm");
  for (int mm = 1; mm <= 800; ++mm) {
    const QString n = QString::number(mm);
    Tape(d, "Editlargeur", n);
    Clique(d, "SpeedButton1");
    ASSERT_FALSE(d.isVisible()) << mm;
    const int32_t taille = d.TailleSurface[0];
    d.show();
    ASSERT_EQ(Texte(d, "Editlargeur"), n);
    Clique(d, "SpeedButton1");
    ASSERT_EQ(d.TailleSurface[0], taille) << mm;
    d.show();
  }
  d.hide();
  EXPECT_TRUE(service_.messages.empty());
}

TEST_F(Surface, FiltreDesTouchesUnitesEtFormats) {
  const Circuit c;
  TSurfacedetravail d(c, service_, PageLettre);
  d.TailleSurface = {11820, 7880};
  d.show();
  // Only digits and backspace reach the edit, at most 3 characters.
  Tape(d, "Editlargeur", QStringLiteral("1a2-.3 45"));
  EXPECT_EQ(Texte(d, "Editlargeur"), "123");
  QTest::keyClick(Controle<QLineEdit>(d, "Editlargeur"), Qt::Key_Backspace);
  EXPECT_EQ(Texte(d, "Editlargeur"), "12");

  struct Cas {
    const char* bouton;
    const char *mm[2], *pas[2];
    int32_t w, h;
  };
  const Cas cas[] = {
      {"RadioButton3", {"160", "100"}, {"63", "39"}, 6319, 3957},
      {"RadioButton4", {"250", "150"}, {"98", "59"}, 9862, 5925},  // "200 x 150 mm": 250
      {"RadioButton5", {"300", "200"}, {"118", "78"}, 11831, 7894},
      {"RadioButton1", {"400", "300"}, {"157", "118"}, 15768, 11831},
      {"RadioButton6", {"800", "800"}, {"315", "315"}, 31516, 31516},
      // The printer's page in pas: 4800 x 10 / 600 = 80, 6600 x 10 / 600 = 110.
      {"RadioButton2", {"203", "279"}, {"80", "110"}, 8020, 11020},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.bouton);
    Clique(d, "Choixenmm");
    Clique(d, k.bouton);
    EXPECT_EQ(d.TailleSurface[0], k.w);
    EXPECT_EQ(d.TailleSurface[1], k.h);
    EXPECT_EQ(Texte(d, "Editlargeur"), k.mm[0]);
    EXPECT_EQ(Texte(d, "EditHauteur"), k.mm[1]);
    // Switching units converts the numbers shown.
    Clique(d, "Choixenpas");
    EXPECT_EQ(Texte(d, "Editlargeur"), k.pas[0]);
    EXPECT_EQ(Texte(d, "EditHauteur"), k.pas[1]);
  }
  d.hide();
  // Without a printer's page the preset "Format imprimante" is not offered.
  TSurfacedetravail sans(c, service_, {});
  EXPECT_FALSE(Controle<QRadioButton>(sans, "RadioButton2")->isEnabled());
}

// ---- Text entry ----

// A character the circuit's texts cannot hold (outside Windows-1252), typed or pasted, is left
// out as it comes, with a word in the entry window; everything else typed stays, and OK gives
// the whole line.
TEST(SaisieTexte, CaracteresHorsDuJeuRefusesAvecUnMot) {
  QWidget fenetre;
  ServiceDialoguesScript service;
  TFenetreEditiontexte saisie(&fenetre);
  DialoguesQt d(&fenetre, &fenetre, &saisie, service);
  std::string texte = "R";
  QString refus;
  PendantLaFenetreModale([&] {
    QLineEdit* e = Controle<QLineEdit>(saisie, "Edittexte");
    QLabel* mot = Controle<QLabel>(saisie, "Refus");
    EXPECT_TRUE(mot->text().isEmpty());
    e->end(false);
    QTest::keyClicks(e, QStringLiteral("1 "));
    QTest::sendKeyEvent(QTest::Click, e, Qt::Key_unknown, QString::fromUtf8("Ω"), Qt::NoModifier);
    EXPECT_EQ(e->text(), "R1 ");
    EXPECT_TRUE(mot->text().contains(QString::fromUtf8("« Ω »"))) << mot->text().toStdString();
    QTest::keyClicks(e, QStringLiteral("10k"));
    // Pasted: the characters the page holds (µ, €, é) stay, Ω and an emoji go, the cursor after
    // what was pasted.
    QApplication::clipboard()->setText(QString::fromUtf8(" 4µ7 Ω € é😀 fin"));
    e->paste();
    EXPECT_EQ(e->text(), QString::fromUtf8("R1 10k 4µ7  € é fin"));
    EXPECT_EQ(e->cursorPosition(), e->text().size());
    EXPECT_TRUE(mot->text().contains(QString::fromUtf8("« Ω😀 »"))) << mot->text().toStdString();
    refus = mot->text();
    Clique(saisie, "BitBtn1");
  });
  EXPECT_EQ(d.SaisieTexte(texte), 1);
  EXPECT_EQ(texte,
            "R1 10k 4\xB5"
            "7  \x80 \xE9 fin");
  EXPECT_TRUE(refus.startsWith(QString::fromUtf8("Caractères refusés"))) << refus.toStdString();
  // The next entry starts without the word.
  PendantLaFenetreModale([&] {
    EXPECT_TRUE(Controle<QLabel>(saisie, "Refus")->text().isEmpty());
    Clique(saisie, "BitBtn2");
  });
  EXPECT_EQ(d.SaisieTexte(texte), 2);
}

// ---- Drill diameters ----

class Diametres : public ::testing::Test {
 protected:
  Diametres() {
    c_ = Fait({Rec(3, 198, 3, 1000, 1000), Rec(3, 198, 3, 2000, 1000), Rec(3, 199, 7, 3000, 1000)});
  }
  // The drill buttons' captions as the editor's initialiseBpPercage sets them (FormatDiametre).
  void Boutons() {
    for (int k = 1; k <= 7; ++k) {
      std::string d = std::to_string(c_.EnteteCI.DiametresPercage[k]);
      if (d.size() == 1) d = "0" + d;
      d.insert(1, ",");
      boutons_[k] = d + " mm";
    }
  }
  Circuit c_;
  std::array<std::string, 8> boutons_;
};

TEST_F(Diametres, ListesEtOuverture) {
  TFicheModifDiametre d(c_);
  EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Modification des diamètres de perçage"));
  EXPECT_EQ(d.pos(), QPoint(300, 100));
  ASSERT_NE(d.findChild<QLabel*>(QStringLiteral("Image1")), nullptr);
  const char* premiers[8] = {"",       "0,5 mm", "0,8 mm", "1,0 mm",
                             "1,2 mm", "1,5 mm", "2,0 mm", "2,5 mm"};
  const char* derniers[8] = {"",       "1,5 mm", "1,8 mm", "2,0 mm",
                             "2,2 mm", "2,5 mm", "3,0 mm", "3,5 mm"};
  const char* ouverts[8] = {"",       "0,8 mm", "1,0 mm", "1,2 mm",
                            "1,5 mm", "2,0 mm", "2,5 mm", "3,2 mm"};
  PendantLaFenetreModale([&] {
    for (int k = 1; k <= 7; ++k) {
      QComboBox* l = d.findChild<QComboBox*>(QStringLiteral("ComboBox%1").arg(k));
      ASSERT_NE(l, nullptr) << k;
      EXPECT_FALSE(l->isEditable());
      ASSERT_EQ(l->count(), 11);
      EXPECT_EQ(l->itemText(0), premiers[k]);
      EXPECT_EQ(l->itemText(10), derniers[k]);
      EXPECT_EQ(l->currentText(), ouverts[k]) << k;  // the default table
    }
    Clique(d, "BitBtnOk");
  });
  int apres = 0;
  EXPECT_EQ(d.Ouvre([&] { ++apres; }), QDialog::Accepted);
  EXPECT_EQ(c_.EnteteCI.DiametresPercage, kDiametresPercageDefaut);  // OK untouched: unchanged
  EXPECT_EQ(apres, 1);
  EXPECT_FALSE(c_.CircuitModifie);
}

TEST_F(Diametres, ChangementJusquAuxFichiersEtAuxBoutons) {
  TFicheModifDiametre d(c_);
  Boutons();
  EXPECT_EQ(boutons_[3], "1,2 mm");
  // Entry 3 becomes 1,6 mm (item 6 of 10..20); the callback refreshes the buttons.
  PendantLaFenetreModale([&] {
    essai::Choisit(d, "ComboBox3", 6);
    Clique(d, "BitBtnOk");
  });
  EXPECT_EQ(d.Ouvre([&] { Boutons(); }), QDialog::Accepted);
  EXPECT_EQ(c_.EnteteCI.DiametresPercage[3], 16);
  EXPECT_EQ(boutons_[3], "1,6 mm");
  EXPECT_EQ(boutons_[2], "1,0 mm");
  // The drill file drills the pads of index 3 at 1,6 mm.
  const ListePercages l = CollectePercages(c_);
  const std::vector<uint8_t> exl =
      SaveExcellon(l, CadreElements(c_, 1, c_.NbElements), OptionsInitiales(l));
  const std::string texte(exl.begin(), exl.end());
  EXPECT_NE(texte.find("C0.063"), std::string::npos) << texte;  // 16 x 3.94 thousandths of an inch
  EXPECT_EQ(texte.find("C0.047"), std::string::npos) << texte;  // 1,2 mm no more

  // Cancel after changing lists leaves the table as it was.
  PendantLaFenetreModale([&] {
    essai::Choisit(d, "ComboBox1", 10);
    essai::Choisit(d, "ComboBox7", 0);
    Clique(d, "BitBtnCancel");
  });
  EXPECT_EQ(d.Ouvre([&] { Boutons(); }), QDialog::Rejected);
  EXPECT_EQ(c_.EnteteCI.DiametresPercage[1], 8);
  EXPECT_EQ(c_.EnteteCI.DiametresPercage[7], 32);
}

TEST_F(Diametres, ValeurHorsDesListesGardee) {
  // Entry 2 holds 0,7 mm (an older file) and entry 5 4,0 mm: no item; OK keeps them, unless
  // the user picks an item.
  c_.EnteteCI.DiametresPercage[2] = 7;
  c_.EnteteCI.DiametresPercage[5] = 40;
  TFicheModifDiametre d(c_);
  PendantLaFenetreModale([&] {
    EXPECT_EQ(Controle<QComboBox>(d, "ComboBox2")->currentIndex(), -1);
    EXPECT_EQ(Controle<QComboBox>(d, "ComboBox5")->currentIndex(), -1);
    essai::Choisit(d, "ComboBox5", 3);  // 1,8 mm
    Clique(d, "BitBtnOk");
  });
  EXPECT_EQ(d.Ouvre(), QDialog::Accepted);
  EXPECT_EQ(c_.EnteteCI.DiametresPercage[2], 7);
  EXPECT_EQ(c_.EnteteCI.DiametresPercage[5], 18);
  // Entries 0 and 8..13 go back unchanged.
  EXPECT_EQ(c_.EnteteCI.DiametresPercage[0], 0);
  EXPECT_EQ(c_.EnteteCI.DiametresPercage[13], 65);
}

}  // namespace
}  // namespace korv4

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
