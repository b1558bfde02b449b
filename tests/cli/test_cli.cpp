// Runs the built korv4-cli on files made with the core and checks its exit status, its output
// and the files it leaves.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "Enregistrement.h"
#include "OutilsCli.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

using essai::Rec;

namespace fs = std::filesystem;
using essai::Ecrit;
using essai::Lit;
using essai::Resultat;

std::vector<uint8_t> FichierCircuit(const std::vector<ElementCI>& recs,
                                    const std::string& titre = "Carte d'\xE9t\xE9") {
  Circuit c;
  for (const ElementCI& e : recs) c.Elements[++c.NbElements] = e;
  c.EnteteCI.DiametresPercage[13] = 70;
  RemplitEnteteCI(c, titre, "Le 1/2/2026", "Moi", 20000, 10000);
  return EcritCircuit(c);
}

// An old file: one pad (a = 5: diameter 4 mm, drill index 2) and a two-point face-1 track.
std::vector<uint8_t> FichierAncien() {
  std::vector<uint8_t> v(kTailleEnteteAncien, 0);
  v[0] = 6;
  std::memcpy(&v[1], "Ancien", 6);
  v[82] = 4;
  std::memcpy(&v[83], "1995", 4);
  v[130] = 1;  // pads
  v[132] = 2;  // face-1 track points
  std::vector<uint8_t> pads(kTailleBlocAncien, 0), piste(kTailleBlocAncien, 0);
  const uint8_t pad[3] = {10, 20, 5}, a[3] = {1, 1, 4}, b[3] = {5, 1, 8};
  std::memcpy(&pads[0], pad, 3);
  std::memcpy(&piste[0], a, 3);
  std::memcpy(&piste[3], b, 3);
  v.insert(v.end(), pads.begin(), pads.end());
  v.insert(v.end(), piste.begin(), piste.end());
  return v;
}

const std::vector<ElementCI> kPropre = {Rec(3, 199, 2, 500, 600), Rec(1, 163, 0x80, 100, 100),
                                        Rec(1, 163, 0x40, 300, 100)};

class Cli : public essai::DossierCli {
 protected:
  QJsonObject InfoJson(const std::string& nom) const {
    const Resultat r = Lance("info " + nom + " --json");
    EXPECT_EQ(r.code, 0) << r.erreur;
    QJsonParseError e;
    const QJsonDocument d = QJsonDocument::fromJson(QByteArray::fromStdString(r.sortie), &e);
    EXPECT_EQ(e.error, QJsonParseError::NoError) << r.sortie;
    return d.object();
  }
};

TEST_F(Cli, AideEtMauvaisUsage) {
  Ecrit(Chemin("a.CIX"), FichierCircuit(kPropre));
  struct Cas {
    std::string arguments;
    int code;
    const char* attendu;  // in stdout for status 0, in stderr otherwise
  };
  const std::vector<Cas> cas = {
      {"--help", 0, "Sous-commandes"},
      {"--version", 0, "korv4-cli " KORV4_VERSION "\n"},
      {"-v", 0, "korv4-cli " KORV4_VERSION "\n"},
      {"info --help", 0, "Utilisation : korv4-cli info FICHIER [--json]"},
      {"convertir -h", 0, "Utilisation : korv4-cli convertir ENTREE SORTIE"},
      {"", 1, "sous-commande attendue"},
      {"dessine a.CIX", 1, "sous-commande inconnue : dessine"},
      {"info", 1, "1 argument(s) attendu(s), 0 donné(s)"},
      {"info a.CIX a.CIX", 1, "1 argument(s) attendu(s), 2 donné(s)"},
      {"info --yaml a.CIX", 1, "option inconnue : yaml"},
      {"convertir a.CIX", 1, "2 argument(s) attendu(s)"},
      {"convertir a.CIX b.txt", 1, "doit finir par X"},
  };
  for (const Cas& k : cas) {
    const Resultat r = Lance(k.arguments);
    EXPECT_EQ(r.code, k.code) << k.arguments << "\n" << r.erreur;
    EXPECT_NE((k.code == 0 ? r.sortie : r.erreur).find(k.attendu), std::string::npos)
        << k.arguments << "\n"
        << r.sortie << r.erreur;
  }
  EXPECT_FALSE(fs::exists(Chemin("b.txt")));
}

TEST_F(Cli, InfoJson) {
  Ecrit(Chemin("a.CIX"), FichierCircuit(kPropre));
  const QJsonObject o = InfoJson("a.CIX");
  QStringList cles = o.keys();
  cles.sort();
  EXPECT_EQ(cles.join(','),
            "auteur,cadre,couches,date,diametres,elements,equipotentielles,modifie,surface,titre");
  EXPECT_EQ(o["titre"].toString(), QString::fromUtf8("Carte d'été"));
  EXPECT_EQ(o["date"].toString(), "Le 1/2/2026");
  EXPECT_EQ(o["auteur"].toString(), "Moi");
  EXPECT_EQ(o["elements"].toInt(), 3);
  EXPECT_EQ(o["surface"].toArray(), (QJsonArray{20000, 10000}));
  const QJsonArray d = o["diametres"].toArray();
  ASSERT_EQ(d.size(), 14);
  EXPECT_EQ(d[8].toInt(), 40);
  EXPECT_EQ(d[13].toInt(), 70);
  EXPECT_EQ(o["couches"].toObject(), (QJsonObject{{"pastilles", true},
                                                  {"face1", true},
                                                  {"face2", false},
                                                  {"implantation", false},
                                                  {"percage", true}}));
  EXPECT_EQ(o["cadre"].toArray(), (QJsonArray{100, 700, 600, 100}));
  EXPECT_EQ(o["equipotentielles"].toInt(), 2);  // the pad, the track far from it
  EXPECT_EQ(o["modifie"].toBool(true), false);
}

TEST_F(Cli, InfoApresJonctionReparationEtAncienFormat) {
  // Two tracks that meet become one; an unfinished track goes away.
  Ecrit(Chemin("j.CIX"), FichierCircuit({Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x40, 200, 100),
                                         Rec(1, 163, 0x80, 200, 100), Rec(1, 163, 0x40, 200, 300),
                                         Rec(2, 161, 0x80, 0, 0), Rec(2, 161, 0x60, 50, 0)}));
  QJsonObject o = InfoJson("j.CIX");
  EXPECT_EQ(o["elements"].toInt(), 3);
  EXPECT_TRUE(o["modifie"].toBool());
  EXPECT_FALSE(o["couches"].toObject()["face2"].toBool(true));

  // Only a group's markers are wrong: modified as well.
  Ecrit(Chemin("g.CIX"),
        FichierCircuit({Rec(0, 255, 0, 1, 1), Rec(3, 199, 2, 500, 600), Rec(0, 254, 0, 1, 1)}));
  EXPECT_TRUE(InfoJson("g.CIX")["modifie"].toBool());

  // Windows-1252 to UTF-8; the bytes with no character in that code page become U+FFFD.
  Ecrit(Chemin("w.CIX"), FichierCircuit(kPropre,
                                        "a\x81"
                                        "b\x80\xE7"));
  EXPECT_EQ(InfoJson("w.CIX")["titre"].toString(), QString::fromUtf8("a\uFFFDb€ç"));

  Ecrit(Chemin("vide.CIX"), FichierCircuit({}));
  o = InfoJson("vide.CIX");
  EXPECT_EQ(o["elements"].toInt(), 0);
  EXPECT_TRUE(o["cadre"].isNull());

  Ecrit(Chemin("vieux.cip"), FichierAncien());
  o = InfoJson("vieux.cip");
  EXPECT_EQ(o["titre"].toString(), "Ancien");
  EXPECT_EQ(o["date"].toString(), "1995");
  EXPECT_EQ(o["elements"].toInt(), 3);
  EXPECT_EQ(o["surface"].toArray(), (QJsonArray{11820, 7880}));
  EXPECT_EQ(o["diametres"].toArray()[13].toInt(), 65);
  EXPECT_EQ(o["modifie"].toBool(true), false);

  Ecrit(Chemin("a.CIX"), FichierCircuit(kPropre));
  const Resultat t = Lance("info a.CIX");
  EXPECT_EQ(t.code, 0);
  EXPECT_NE(t.sortie.find("Titre : Carte d'été"), std::string::npos) << t.sortie;
  EXPECT_NE(t.sortie.find("Éléments : 3"), std::string::npos) << t.sortie;
  EXPECT_NE(t.sortie.find("Modifié à l'ouverture : non"), std::string::npos) << t.sortie;
}

// The summary in the terminal: the title block's control characters escaped (they would
// retitle or clear the terminal and forge lines), the surface in millimetres as the window shows
// it, and a surface out of the window's limits repaired to the default and said.
TEST_F(Cli, InfoSansSequencesDeTerminalEtSurfaceCommeLaFenetre) {
  auto fichier = [](const std::string& titre, int32_t x, int32_t y) {
    Circuit c;
    for (const ElementCI& e : kPropre) c.Elements[++c.NbElements] = e;
    RemplitEnteteCI(c, titre, "", "", x, y);
    return EcritCircuit(c);
  };
  struct Cas {
    std::string titre;
    int32_t x, y;
    const char* ligneTitre;
    const char* surface;
    bool repare;
  };
  const Cas cas[] = {
      {"\x1b]0;pris\x07\x1b[2J\rFichier : x", 20000, 10000,
       "Titre : \\x1b]0;pris\\x07\\x1b[2J\\x0dFichier : x\n",
       "Surface : 20000 x 10000 (508 x 254 mm)", false},
      {"Plat", MmVersUnites(240), MmVersUnites(170), "Titre : Plat\n",
       "Surface : 9448 x 6692 (240 x 170 mm)", false},
      {"Max", MmVersUnites(800), MmVersUnites(800), "Titre : Max\n",
       "Surface : 31496 x 31496 (800 x 800 mm)", false},
      {"Absurde", -5, 2147483647, "Titre : Absurde\n", "Surface : 11820 x 7880 (300 x 200 mm)",
       true},
      {"Trop", 31501, 100, "Titre : Trop\n", "Surface : 11820 x 7880 (300 x 200 mm)", true},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.ligneTitre);
    Ecrit(Chemin("t.CIX"), fichier(c.titre, c.x, c.y));
    const Resultat r = Lance("info t.CIX");
    EXPECT_EQ(r.code, 0) << r.erreur;
    EXPECT_NE(r.sortie.find(c.ligneTitre), std::string::npos) << r.sortie;
    EXPECT_NE(r.sortie.find(c.surface), std::string::npos) << r.sortie;
    for (char interdit : {'\x1b', '\x07', '\r'}) {
      EXPECT_EQ(r.sortie.find(interdit), std::string::npos) << r.sortie;
    }
    EXPECT_EQ(r.erreur.find("est réparé : la surface de travail annoncée") != std::string::npos,
              c.repare)
        << r.erreur;
    EXPECT_EQ(InfoJson("t.CIX")["modifie"].toBool(), c.repare);
  }
}

TEST_F(Cli, EntreeIllisibleOuInvalide) {
  std::vector<uint8_t> tronque = FichierCircuit(kPropre);
  tronque.pop_back();
  Ecrit(Chemin("t.CIX"), tronque);
  Ecrit(Chemin("a.CIY"), FichierCircuit(kPropre));
  fs::create_directory(Chemin("d.CIX"));
  const std::vector<uint8_t> precedent = {1, 2, 3};
  Ecrit(Chemin("sortie.CIX"), precedent);
  struct Cas {
    std::string entree;
    const char* raison;
  };
  const std::vector<Cas> cas = {
      {"absent.CIX", "« absent.CIX » : fichier ou dossier introuvable"},
      {"a.CIY", "« a.CIY » n'est pas ouvert : format de fichier inconnu"},
      {"t.CIX", "« t.CIX » est tronqué"},
      {"d.CIX", "« d.CIX » : c'est un dossier"},
  };
  for (const Cas& k : cas) {
    for (const std::string& commande :
         {"info " + k.entree, "convertir " + k.entree + " sortie.CIX"}) {
      const Resultat r = Lance(commande);
      EXPECT_EQ(r.code, 2) << commande;
      EXPECT_NE(r.erreur.find(k.raison), std::string::npos) << commande << ": " << r.erreur;
      EXPECT_TRUE(r.sortie.empty()) << commande;
    }
  }
  EXPECT_EQ(Lit(Chemin("sortie.CIX")), precedent);
}

TEST_F(Cli, ConvertirEnregistreCommeLEditeur) {
  // A well-formed circuit comes out byte for byte, over a previous file.
  const std::vector<uint8_t> propre = FichierCircuit(kPropre);
  Ecrit(Chemin("a.CIX"), propre);
  Ecrit(Chemin("b.cix"), {9, 9});
  Resultat r = Lance("convertir a.CIX b.cix");
  ASSERT_EQ(r.code, 0) << r.erreur;
  EXPECT_EQ(Lit(Chemin("b.cix")), propre);

  // An old file: converted records, its title, default surface and drill table.
  Ecrit(Chemin("v.CIP"), FichierAncien());
  r = Lance("convertir v.CIP n.CIX");
  ASSERT_EQ(r.code, 0) << r.erreur;
  Circuit c;
  std::string erreur;
  ASSERT_TRUE(LitCircuit(c, Lit(Chemin("n.CIX")), "n.CIX", erreur)) << erreur;
  EXPECT_EQ(c.NbElements, 3);
  EXPECT_EQ(c.Elements[1], Rec(3, 200, 2, 500, 1000));
  EXPECT_EQ(c.Elements[2], Rec(1, 161, 0x80, 50, 50));
  EXPECT_EQ(c.Elements[3], Rec(1, 161, 0x40, 250, 50));
  EXPECT_EQ(c.EnteteCI.Titre, "Ancien");
  EXPECT_EQ(c.EnteteCI.TitreBis, "Ancien");
  EXPECT_EQ(c.EnteteCI.DateCI, "1995");
  EXPECT_EQ(c.EnteteCI.SurfaceX, 11820);
  EXPECT_EQ(c.EnteteCI.SurfaceY, 7880);
  EXPECT_EQ(c.EnteteCI.DiametresPercage, kDiametresPercageDefaut);

  // A circuit that the repair leaves empty is not written.
  Ecrit(Chemin("ouverte.CIX"), FichierCircuit({Rec(1, 163, 0x80, 1, 1), Rec(1, 163, 0x60, 9, 1)}));
  const std::vector<uint8_t> precedent = {7, 7, 7};
  Ecrit(Chemin("vide.CIX"), precedent);
  for (const char* sortie : {"vide.CIX", "nouveau.CIX"}) {
    r = Lance(std::string("convertir ouverte.CIX ") + sortie);
    EXPECT_EQ(r.code, 4) << r.erreur;
    EXPECT_NE(r.erreur.find("vide"), std::string::npos) << r.erreur;
  }
  EXPECT_EQ(Lit(Chemin("vide.CIX")), precedent);
  EXPECT_FALSE(fs::exists(Chemin("nouveau.CIX")));
}

TEST_F(Cli, EcritureImpossibleLaissePrecedentIntact) {
  std::vector<ElementCI> beaucoup;
  for (int k = 0; k < 1000; ++k)
    beaucoup.push_back(Rec(3, 198, 1, static_cast<uint16_t>(100 + 10 * k), 300));
  Ecrit(Chemin("grand.CIX"), FichierCircuit(beaucoup));  // 8192 bytes
  Ecrit(Chemin("fichier"), {1});
  const std::vector<uint8_t> precedent(600, 5);
  Ecrit(Chemin("sortie.CIX"), precedent);
  struct Cas {
    const char* sortie;
    const char* avant;
    const char* raison;
  };
  const std::vector<Cas> cas = {
      {"absent/s.CIX", "", "« absent/s.CIX » : fichier ou dossier introuvable"},
      {"fichier/s.CIX", "", "un élément du chemin n'est pas un dossier"},
      {"sortie.CIX", "ulimit -f 2", "taille maximale de fichier dépassée"},
  };
  for (const Cas& k : cas) {
    const Resultat r = Lance(std::string("convertir grand.CIX ") + k.sortie, k.avant);
    EXPECT_EQ(r.code, 3) << k.sortie << ": " << r.erreur;
    EXPECT_NE(r.erreur.find(k.raison), std::string::npos) << k.sortie << ": " << r.erreur;
    EXPECT_NE(r.erreur.find("n'a pas été modifié"), std::string::npos) << r.erreur;
  }
  EXPECT_EQ(Lit(Chemin("sortie.CIX")), precedent);
  // A summary that cannot be written is a failure too, not a success.
  for (const char* option : {"", " --json"}) {
    const Resultat r = Lance(std::string("info grand.CIX") + option, "", "/dev/full");
    EXPECT_EQ(r.code, 3) << option << ": " << r.erreur;
    EXPECT_NE(r.erreur.find("sortie standard : plus de place"), std::string::npos) << r.erreur;
  }
  // No temporary file is left behind.
  std::vector<std::string> noms;
  for (const auto& e : fs::directory_iterator(dossier_))
    noms.push_back(e.path().filename().string());
  std::sort(noms.begin(), noms.end());
  EXPECT_EQ(noms, (std::vector<std::string>{"fichier", "grand.CIX", "sortie.CIX"}));
}

}  // namespace
}  // namespace korv4
