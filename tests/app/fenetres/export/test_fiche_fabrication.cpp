#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "../LimiteMemoire.h"
#include "../ServiceDialoguesScript.h"
#include "export/Apercu.h"
#include "fenetres/export/TFicheFabrication.h"

// The board-house set's dialog: what it lists follows the options, the archive it writes holds
// every file listed, and an empty circuit writes nothing.

namespace korv4 {
namespace {

Circuit Carte() {
  Circuit c;
  AjoutElement(c, 1, uint8_t{200}, 1000, 1000);  // a pad with a hole
  AjoutElement(c, 1, uint8_t{163}, 1000, 1000);  // a track from it on face 1
  AjoutElement(c, 1, uint8_t{163}, 3000, 1000);
  TermineTrace(c);
  AjoutElement(c, 3, uint8_t{128}, 500, 500);  // the placement plan
  AjoutElement(c, 3, uint8_t{129}, 2500, 500);
  c.NomFichier = "/x/Alim.CIX";
  return c;
}

QStringList Liste(const TFicheFabrication& f) {
  QStringList noms;
  auto* arbre = f.findChild<QTreeWidget*>(QStringLiteral("Fichiers"));
  for (int i = 0; i < arbre->topLevelItemCount(); ++i) noms << arbre->topLevelItem(i)->text(0);
  return noms;
}

TEST(FicheFabrication, ListeSelonLesOptionsEtArchive) {
  Circuit c = Carte();
  ServiceDialoguesScript service;
  TFicheFabrication f(c, service);
  f.Actualise();
  const QStringList noms = Liste(f);
  for (const char* n : {"Alim.GBL", "Alim.GTO", "Alim.GBS", "Alim.GKO", "Alim-NPTH.DRL",
                        "Alim.gbrjob", "LISEZMOI.md"}) {
    EXPECT_TRUE(noms.contains(QString::fromLatin1(n))) << n << " " << noms.join(' ').toStdString();
  }
  EXPECT_FALSE(noms.contains(QStringLiteral("Alim.GTL")));  // nothing on face 2
  auto* contour = f.findChild<QComboBox*>(QStringLiteral("Contour"));
  EXPECT_EQ(f.Options().Contour, ContourFabrication::Carte);
  contour->setCurrentIndex(1);  // the extent of the elements
  const auto gko = [&] {
    for (const FichierFabrication& x : FabriqueJeu(c, f.Options()).Fichiers) {
      if (x.Nom == "Alim.GKO") return x.Octets;
    }
    return std::vector<uint8_t>{};
  };
  EXPECT_EQ(f.Options().Contour, ContourFabrication::Etendue);
  const std::vector<uint8_t> etendue = gko();
  contour->setCurrentIndex(2);  // the work surface: another outline file
  EXPECT_EQ(f.Options().Contour, ContourFabrication::Surface);
  EXPECT_NE(gko(), etendue);

  QTemporaryDir dossier;
  const QString nom = dossier.filePath(QStringLiteral("Alim.zip"));
  ASSERT_TRUE(f.EcritArchive(nom));
  QFile zip(nom);
  ASSERT_TRUE(zip.open(QIODevice::ReadOnly));
  const QByteArray octets = zip.readAll();
  EXPECT_TRUE(octets.startsWith("PK\x03\x04"));
  const JeuFabrication jeu = FabriqueJeu(c, f.Options());
  ASSERT_EQ(jeu.Fichiers.size(), f.Plan().Fichiers().size());
  for (const FichierFabrication& x : jeu.Fichiers) {
    EXPECT_TRUE(octets.contains(QByteArray::fromStdString(x.Nom))) << x.Nom;
    const QByteArray contenu(reinterpret_cast<const char*>(x.Octets.data()),
                             static_cast<qsizetype>(x.Octets.size()));
    EXPECT_TRUE(octets.contains(contenu)) << x.Nom;  // stored entries
  }
  EXPECT_TRUE(service.messages.empty());

  // The circuit's own file is never replaced by its archive.
  const QString circuit = dossier.filePath(QStringLiteral("Alim.CIX"));
  QFile fichier(circuit);
  ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
  fichier.write("circuit");
  fichier.close();
  c.NomFichier = QFile::encodeName(circuit).toStdString();
  EXPECT_FALSE(f.EcritArchive(circuit));
  EXPECT_EQ(service.messages.size(), 1u);
  ASSERT_TRUE(fichier.open(QIODevice::ReadOnly));
  EXPECT_EQ(fichier.readAll(), QByteArray("circuit"));
}

// Out of memory while the set is made or written: the reason shown, nothing written, no end of
// the program.
TEST(FicheFabrication, MemoireInsuffisante) {
  Circuit c = Carte();
  // A large placement plan: the set then needs fresh memory.
  for (int k = 0; k < 3000; ++k) {
    const auto x = static_cast<uint16_t>(500 + (k % 60) * 100);
    const auto y = static_cast<uint16_t>(3000 + (k / 60) * 100);
    AjoutElement(c, 3, uint8_t{128}, x, y);
    AjoutElement(c, 3, uint8_t{129}, static_cast<uint16_t>(x + 80), static_cast<uint16_t>(y + 50));
  }
  ServiceDialoguesScript service;
  TFicheFabrication f(c, service);
  {
    LimiteMemoire limite(64 * 1024);
    f.Actualise();
  }
  EXPECT_TRUE(f.Plan().Fichiers().empty());
  EXPECT_TRUE(Liste(f).isEmpty());
  EXPECT_FALSE(f.findChild<QPushButton*>(QStringLiteral("EnregistreArchive"))->isEnabled());
  EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("Resume"))->text(),
            "Mémoire insuffisante pour préparer les fichiers de fabrication de ce circuit.");

  f.Actualise();
  ASSERT_FALSE(f.Plan().Fichiers().empty());
  QTemporaryDir dossier;
  const QString nom = dossier.filePath(QStringLiteral("Alim.zip"));
  QFile ancien(nom);
  ASSERT_TRUE(ancien.open(QIODevice::WriteOnly));
  ancien.write("ancien");
  ancien.close();
  {
    LimiteMemoire limite(64 * 1024);
    EXPECT_FALSE(f.EcritArchive(nom));
  }
  ASSERT_EQ(service.messages.size(), 1u);
  EXPECT_EQ(service.messages[0], "Mémoire insuffisante pour écrire « " + nom +
                                     " ». Le fichier existant, s'il y en a un, n'a pas été "
                                     "modifié.");
  ASSERT_TRUE(ancien.open(QIODevice::ReadOnly));
  EXPECT_EQ(ancien.readAll(), QByteArray("ancien"));
}

// A box per drill diameter the holes use: checked, its holes go to the non-plated file, and
// the choice is remembered for the next dialog. What the board house would make wrong is said.
TEST(FicheFabrication, DiametresNonMetallisesRetenusEtAvertissements) {
  Circuit c;
  AjoutElement(c, 1, uint8_t{200}, 1000, 1000);  // 4 mm pads with a hole of 1.2 mm (drill index 3)
  AjoutElement(c, 1, uint8_t{200}, 1500, 1000);
  AjoutElement(c, 1, uint8_t{163}, 1000, 1000);  // a track on face 1, and one on face 2
  AjoutElement(c, 1, uint8_t{163}, 1500, 1000);
  TermineTrace(c);
  AjoutElement(c, 2, uint8_t{163}, 1000, 1000);
  AjoutElement(c, 2, uint8_t{163}, 1000, 1500);
  TermineTrace(c);
  c.NomFichier = "/x/Alim.CIX";
  ServiceDialoguesScript service;
  {
    TFicheFabrication f(c, service);
    f.Actualise();
    EXPECT_TRUE(Liste(f).contains(QStringLiteral("Alim-PTH.DRL")));
    EXPECT_FALSE(Liste(f).contains(QStringLiteral("Alim-NPTH.DRL")));
    auto* boite = f.findChild<QCheckBox*>(QStringLiteral("NonMetallise12"));
    ASSERT_NE(boite, nullptr);
    EXPECT_EQ(f.findChildren<QCheckBox*>().size(), 1);
    boite->setChecked(true);
    EXPECT_EQ(f.Options().DiametresNonMetallises, std::vector<int32_t>{12});
    EXPECT_FALSE(Liste(f).contains(QStringLiteral("Alim-PTH.DRL")));
    EXPECT_TRUE(Liste(f).contains(QStringLiteral("Alim-NPTH.DRL")));
  }
  TFicheFabrication g(c, service);
  g.Actualise();
  EXPECT_TRUE(g.findChild<QCheckBox*>(QStringLiteral("NonMetallise12"))->isChecked());
  EXPECT_TRUE(Liste(g).contains(QStringLiteral("Alim-NPTH.DRL")));
  g.findChild<QCheckBox*>(QStringLiteral("NonMetallise12"))->setChecked(false);

  // The surface cuts the board: said, and the set can still be written.
  c.EnteteCI.SurfaceX = 1200;
  TFicheFabrication h(c, service);
  h.findChild<QComboBox*>(QStringLiteral("Contour"))->setCurrentIndex(2);
  h.Actualise();
  EXPECT_TRUE(h.findChild<QLabel*>(QStringLiteral("Resume"))
                  ->text()
                  .contains("Attention : du cuivre dépasse le contour de la carte"))
      << h.findChild<QLabel*>(QStringLiteral("Resume"))->text().toStdString();
  EXPECT_TRUE(h.findChild<QPushButton*>(QStringLiteral("EnregistreArchive"))->isEnabled());
}

// Both sides of the board as it will come back, drawn again when the options change.
TEST(FicheFabrication, ApercuDesDeuxFaces) {
  Circuit c = Carte();
  ServiceDialoguesScript service;
  TFicheFabrication f(c, service);
  f.Actualise();
  const QImage dessus = f.ApercuDessus(), dessous = f.ApercuDessous();
  ASSERT_EQ(dessus.width(), 380);
  ASSERT_EQ(dessous.size(), dessus.size());
  // The copper is on face 1: the mask and its openings are on the bottom only.
  auto Compte = [](const QImage& i, uint32_t couleur) {
    int n = 0;
    for (int y = 0; y < i.height(); ++y)
      for (int x = 0; x < i.width(); ++x) n += (i.pixel(x, y) & 0xFFFFFF) == couleur;
    return n;
  };
  const CouleursApercu vert = CouleursDe(CouleurMasque::Vert);
  EXPECT_EQ(Compte(dessus, vert.Masque), 0);
  EXPECT_GT(Compte(dessus, vert.Legende), 0);
  EXPECT_GT(Compte(dessous, vert.Masque), 0);
  EXPECT_GT(Compte(dessous, vert.Finition), 0);
  f.findChild<QComboBox*>(QStringLiteral("CouleurMasque"))->setCurrentIndex(1);  // blue
  EXPECT_EQ(Compte(f.ApercuDessous(), vert.Masque), 0);
  EXPECT_GT(Compte(f.ApercuDessous(), CouleursDe(CouleurMasque::Bleu).Masque), 0);
  // Another outline, other pictures.
  f.findChild<QComboBox*>(QStringLiteral("Contour"))->setCurrentIndex(2);
  EXPECT_NE(f.ApercuDessus().size(), dessus.size());
}

TEST(FicheFabrication, CircuitVide) {
  const Circuit c;
  ServiceDialoguesScript service;
  TFicheFabrication f(c, service);
  f.Actualise();
  EXPECT_TRUE(Liste(f).isEmpty());
  EXPECT_FALSE(f.findChild<QPushButton*>(QStringLiteral("EnregistreArchive"))->isEnabled());
  EXPECT_TRUE(f.findChild<QLabel*>(QStringLiteral("Resume"))->text().contains("vide"));
  EXPECT_TRUE(f.ApercuDessus().isNull());
}

}  // namespace
}  // namespace korv4
