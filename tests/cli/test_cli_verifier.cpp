// korv4-cli verifier: the faults of a board opened as the editor opens it, one per line or as
// JSON, and the exit status that scripts read (0 none, 5 faults).

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
using essai::Lit;
using essai::Resultat;

std::vector<uint8_t> FichierCircuit(Circuit c) {
  RemplitEnteteCI(c, "Essai", "1/2/2026", "Moi", 11820, 7880);
  return EcritCircuit(c);
}

// Face 2: a straight track 0.5 mm wide (20 units) and a V of the same width whose point comes
// 8 units (0.2032 mm) above it, at x = 1500 (38.1 mm); the middle of the gap is at y = 1014
// (25.7556 mm).
Circuit CarteEnV() {
  fabrication::Fabrique f;
  f.Piste(2, 162, {{1000, 1000}, {2000, 1000}});
  f.Piste(2, 162, {{1400, 1100}, {1500, 1028}, {1600, 1100}});
  return f.c;
}

// Two pads joined by a track, far from everything.
Circuit CartePropre() {
  fabrication::Fabrique f;
  f.Rec(3, 199, 3, 1000, 1000);
  f.Rec(3, 199, 3, 2000, 1000);
  f.Piste(1, 163, {{1000, 1000}, {2000, 1000}});
  return f.c;
}

class CliVerifier : public essai::DossierCli {};

TEST_F(CliVerifier, DefautsEtStatut) {
  Ecrit(Chemin("v.CIX"), FichierCircuit(CarteEnV()));
  Ecrit(Chemin("propre.CIX"), FichierCircuit(CartePropre()));
  const std::string ligneV =
      "isolement face 2 : écart de 0,20 mm (minimum 0,30 mm) à X = 38,10 mm, Y = 25,76 mm\n";
  struct Cas {
    std::string arguments;
    int code;
    std::string sortie;
  };
  const std::vector<Cas> cas = {
      {"verifier v.CIX", 5, ligneV},
      {"verifier v.CIX --isolement 0.21", 5,
       "isolement face 2 : écart de 0,20 mm (minimum 0,21 mm) à X = 38,10 mm, Y = 25,76 mm\n"},
      // 0.2032 mm is not below 0.2 mm, nor below 0,2032.
      {"verifier v.CIX --isolement 0.2", 0, ""},
      {"verifier v.CIX --isolement 0,2032", 0, ""},
      {"verifier propre.CIX --isolement 0.1", 0, ""},
  };
  for (const Cas& k : cas) {
    const Resultat r = Lance(k.arguments);
    EXPECT_EQ(r.code, k.code) << k.arguments << "\n" << r.erreur;
    EXPECT_EQ(r.sortie, k.sortie) << k.arguments;
    if (k.code == 5) {
      EXPECT_NE(r.erreur.find("1 défaut trouvé"), std::string::npos) << r.erreur;
    }
  }
  // The check changes nothing on the disk.
  EXPECT_EQ(Lit(Chemin("v.CIX")), FichierCircuit(CarteEnV()));
}

TEST_F(CliVerifier, Json) {
  Ecrit(Chemin("v.CIX"), FichierCircuit(CarteEnV()));
  const Resultat r = Lance("verifier v.CIX --json");
  ASSERT_EQ(r.code, 5) << r.erreur;
  QJsonParseError e;
  const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromStdString(r.sortie), &e);
  ASSERT_EQ(e.error, QJsonParseError::NoError) << r.sortie;
  EXPECT_EQ(d["unite"].toString(), "mm");  // every length and position of the object
  EXPECT_DOUBLE_EQ(d["isolement"].toDouble(), 0.3);
  const QJsonArray defauts = d["defauts"].toArray();
  ASSERT_EQ(defauts.size(), 1);
  const QJsonObject o = defauts[0].toObject();
  EXPECT_EQ(o["genre"].toString(), "isolement");
  EXPECT_EQ(o["couche"].toString(), "face 2");
  EXPECT_DOUBLE_EQ(o["x"].toDouble(), 38.1);
  EXPECT_DOUBLE_EQ(o["y"].toDouble(), 25.7556);
  EXPECT_DOUBLE_EQ(o["distance"].toDouble(), 0.2032);

  Ecrit(Chemin("propre.CIX"), FichierCircuit(CartePropre()));
  const Resultat p = Lance("verifier propre.CIX --json --isolement 0.1 --couronne 0,2 --bord 0");
  EXPECT_EQ(p.code, 0) << p.erreur;
  EXPECT_EQ(p.sortie,
            "{\"bord\":0,\"couronne\":0.2,\"defauts\":[],\"isolement\":0.1,\"unite\":\"mm\"}\n");
}

TEST_F(CliVerifier, Erreurs) {
  Ecrit(Chemin("v.CIX"), FichierCircuit(CarteEnV()));
  Ecrit(Chemin("abime.CIX"), {1, 2, 3});
  struct Cas {
    std::string arguments;
    int code;
    const char* message;
  };
  const std::vector<Cas> cas = {
      {"verifier", 1, "1 argument(s) attendu(s), 0 donné(s)"},
      {"verifier v.CIX --isolement 0", 1, "--isolement attend un nombre"},
      {"verifier v.CIX --isolement -0.3", 1, "--isolement attend un nombre"},
      {"verifier v.CIX --isolement 11", 1, "--isolement attend un nombre"},
      {"verifier v.CIX --isolement trois", 1, "pas « trois »"},
      {"verifier v.CIX --isolement nan", 1, "--isolement attend un nombre"},
      {"verifier v.CIX --couronne -0.1", 1, "--couronne attend un nombre de mm de 0 à 10"},
      {"verifier v.CIX --bord 11", 1, "--bord attend un nombre de mm de 0 à 10"},
      {"verifier v.CIX --pastilles carrees", 1, "--pastilles attend octogonales ou circulaires"},
      {"verifier absent.CIX", 2, "absent.CIX"},
      {"verifier abime.CIX", 2, "abime.CIX"},
  };
  for (const Cas& k : cas) {
    const Resultat r = Lance(k.arguments);
    EXPECT_EQ(r.code, k.code) << k.arguments << "\n" << r.erreur;
    EXPECT_NE(r.erreur.find(k.message), std::string::npos) << k.arguments << "\n" << r.erreur;
    EXPECT_EQ(r.sortie, "") << k.arguments;
  }
  // Faults that stdout cannot take: exit 3, not 5.
  const Resultat plein = Lance("verifier v.CIX", "", "/dev/full");
  EXPECT_EQ(plein.code, 3) << plein.erreur;
}

}  // namespace
}  // namespace korv4
