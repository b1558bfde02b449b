#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "../ServiceDialoguesScript.h"
#include "fenetres/export/TFicheFabrication.h"

// The board-house set's dialog: what it lists follows the options, the archive it writes holds
// every file listed, and an empty circuit writes nothing.

namespace korv4 {
namespace {

Circuit Carte() {
  Circuit c;
  AjoutElement(c, 1, 18, 1000, 1000);  // a pad with a hole
  AjoutElement(c, 1, 3, 1000, 1000);   // a track from it on face 1
  AjoutElement(c, 1, 3, 3000, 1000);
  AjoutElement(c, 0, 7, 0, 0);
  AjoutElement(c, 3, 31, 500, 500);  // the placement plan
  AjoutElement(c, 3, 101, 2500, 500);
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
  for (const char* n :
       {"Alim.GBL", "Alim.GTO", "Alim.GBS", "Alim.GKO", "Alim.DRL", "LISEZMOI.md"}) {
    EXPECT_TRUE(noms.contains(QString::fromLatin1(n))) << n << " " << noms.join(' ').toStdString();
  }
  EXPECT_FALSE(noms.contains(QStringLiteral("Alim.GTL")));  // nothing on face 2
  auto* contour = f.findChild<QComboBox*>(QStringLiteral("Contour"));
  contour->setCurrentIndex(1);  // the extent of the elements: another outline file
  const auto gko = [&] {
    for (const FichierFabrication& x : f.Jeu().Fichiers) {
      if (x.Nom == "Alim.GKO") return x.Octets;
    }
    return std::vector<uint8_t>{};
  };
  EXPECT_EQ(f.Options().Contour, ContourFabrication::Etendue);
  const std::vector<uint8_t> etendue = gko();
  contour->setCurrentIndex(0);
  EXPECT_NE(gko(), etendue);

  QTemporaryDir dossier;
  const QString nom = dossier.filePath(QStringLiteral("Alim.zip"));
  ASSERT_TRUE(f.EcritArchive(nom));
  QFile zip(nom);
  ASSERT_TRUE(zip.open(QIODevice::ReadOnly));
  const QByteArray octets = zip.readAll();
  EXPECT_TRUE(octets.startsWith("PK\x03\x04"));
  for (const FichierFabrication& x : f.Jeu().Fichiers) {
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

TEST(FicheFabrication, CircuitVide) {
  const Circuit c;
  ServiceDialoguesScript service;
  TFicheFabrication f(c, service);
  f.Actualise();
  EXPECT_TRUE(Liste(f).isEmpty());
  EXPECT_FALSE(f.findChild<QPushButton*>(QStringLiteral("EnregistreArchive"))->isEnabled());
  EXPECT_TRUE(f.findChild<QLabel*>(QStringLiteral("Resume"))->text().contains("vide"));
}

}  // namespace
}  // namespace korv4
