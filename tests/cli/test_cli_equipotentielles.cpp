// korv4-cli equipotentielles and the count of nets in info: a board of known connectivity
// opened as the editor opens it.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "CircuitsFabrication.h"
#include "OutilsCli.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

using essai::Ecrit;
using essai::Resultat;

// Pads 1 and 2 (round 3.2 mm, drill 1 mm) joined on face 1; pad 3 (rectangle, no hole) alone.
std::vector<uint8_t> Carte() {
  fabrication::Fabrique f;
  f.Rec(3, 199, 2, 1000, 1000);
  f.Rec(3, 199, 2, 2000, 1000);
  f.Rec(3, 193, 0, 1500, 2000);
  f.Piste(1, 163, {{1000, 1000}, {2000, 1000}});
  RemplitEnteteCI(f.c, "Essai", "1/2/2026", "Moi", 11820, 7880);
  return EcritCircuit(f.c);
}

class CliEquipotentielles : public essai::DossierCli {};

TEST_F(CliEquipotentielles, ListeTexteEtJson) {
  Ecrit(Chemin("c.CIX"), Carte());
  const Resultat t = Lance("equipotentielles c.CIX");
  EXPECT_EQ(t.code, 0) << t.erreur;
  EXPECT_EQ(t.sortie,
            "N1 : 2 pastilles, face 1\n"
            "  pastille ronde 3,2 mm à X = 25,40 mm, Y = 25,40 mm, perçage 1,0 mm\n"
            "  pastille ronde 3,2 mm à X = 50,80 mm, Y = 25,40 mm, perçage 1,0 mm\n"
            "N2 : 1 pastille, face 1\n"
            "  pastille rectangulaire 0,9 x 1,5 mm à X = 38,10 mm, Y = 50,80 mm, sans perçage\n");

  const Resultat j = Lance("equipotentielles c.CIX --json");
  ASSERT_EQ(j.code, 0) << j.erreur;
  const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(j.sortie)).object();
  EXPECT_EQ(o["unite"].toString(), "mm");
  const QJsonArray nets = o["equipotentielles"].toArray();
  ASSERT_EQ(nets.size(), 2);
  const QJsonObject p = nets[0].toObject()["pastilles"].toArray()[1].toObject();
  EXPECT_EQ(p["element"].toInt(), 2);
  EXPECT_DOUBLE_EQ(p["x"].toDouble(), 50.8);
  EXPECT_DOUBLE_EQ(p["y"].toDouble(), 25.4);
  EXPECT_EQ(p["code"].toInt(), 199);
  EXPECT_DOUBLE_EQ(p["percage"].toDouble(), 1.0);
  EXPECT_TRUE(p["metallise"].toBool());

  const Resultat i = Lance("info c.CIX --json");
  ASSERT_EQ(i.code, 0) << i.erreur;
  EXPECT_EQ(
      QJsonDocument::fromJson(QByteArray::fromStdString(i.sortie)).object()["equipotentielles"], 2);
}

TEST_F(CliEquipotentielles, MauvaisUsageEtEntreeInvalide) {
  Ecrit(Chemin("vide.CIX"), std::vector<uint8_t>(10, 0));
  struct Cas {
    std::string arguments;
    int code;
    std::string erreur;  // part of stderr
  };
  const Cas cas[] = {
      {"equipotentielles", 1, "1 argument(s) attendu(s), 0 donné(s)"},
      {"equipotentielles --yaml c.CIX", 1, "option inconnue : yaml"},
      {"equipotentielles absent.CIX", 2, "absent.CIX"},
      {"equipotentielles vide.CIX", 2, "vide.CIX"},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.arguments);
    const Resultat r = Lance(k.arguments);
    EXPECT_EQ(r.code, k.code);
    EXPECT_NE(r.erreur.find(k.erreur), std::string::npos) << r.erreur;
    EXPECT_TRUE(r.sortie.empty());
  }
  const Resultat aide = Lance("equipotentielles --help");
  EXPECT_EQ(aide.code, 0);
  EXPECT_EQ(aide.sortie.rfind("Utilisation : korv4-cli equipotentielles FICHIER [--json]", 0), 0u)
      << aide.sortie;
}

}  // namespace
}  // namespace korv4
