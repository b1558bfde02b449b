// korv4-cli under hostile input: an output that is the input itself, named pipes and devices,
// names that are not UTF-8, a surface too large for any picture, a failing or closed stdout,
// Qt's English messages, damaged drill diameters and a component given as a circuit. Each
// refusal gives its exit status and a French message, and writes nothing.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "CircuitsFabrication.h"
#include "OutilsCli.h"
#include "export/Percage.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;
using essai::Ecrit;
using essai::Lit;
using essai::Resultat;

std::vector<uint8_t> FichierCircuit(Circuit c, int32_t sx = 11820, int32_t sy = 7880) {
  RemplitEnteteCI(c, "Essai", "1/2/2026", "Moi", sx, sy);
  return EcritCircuit(c);
}

// Texts Qt writes in English when it is left to speak.
void SansAnglais(const Resultat& r, const std::string& contexte) {
  for (const char* anglais : {"QFSFileEngine", "No file name", "Missing value", "Unexpected value",
                              "Unknown option", "QSaveFile", "QImage", "not ", "error", "file "})
    EXPECT_EQ(r.erreur.find(anglais), std::string::npos) << contexte << "\n" << r.erreur;
}

class CliHostile : public essai::DossierCli {
 protected:
  void SetUp() override {
    DossierCli::SetUp();
    carte_ = FichierCircuit(fabrication::CarteComplete());
    Ecrit(Chemin("carte.CIX"), carte_);
  }
  // The names in the folder, sorted.
  std::vector<std::string> Noms() const {
    std::vector<std::string> noms;
    for (const auto& e : fs::directory_iterator(dossier_))
      noms.push_back(e.path().filename().string());
    std::sort(noms.begin(), noms.end());
    return noms;
  }
  std::vector<uint8_t> carte_;
};

TEST_F(CliHostile, SortieQuiEstLEntreeRefusee) {
  ASSERT_EQ(symlink("carte.CIX", Chemin("lien.png").c_str()), 0);
  ASSERT_EQ(link(Chemin("carte.CIX").c_str(), Chemin("dur.EXL").c_str()), 0);
  ASSERT_EQ(link(Chemin("carte.CIX").c_str(), Chemin("dur.zip").c_str()), 0);
  fs::create_directory(Chemin("d"));
  // A board-house set into a folder where the copper file of face 2 is the circuit.
  fs::create_directory(Chemin("jeu"));
  ASSERT_EQ(symlink("../carte.CIX", Chemin("jeu/carte.GTL").c_str()), 0);
  for (const std::string& commande : {
           std::string("typon carte.CIX carte.CIX"),
           std::string("typon carte.CIX lien.png --forcer"),
           std::string("typon carte.CIX ./d/../dur.EXL"),
           std::string("fabrication carte.CIX dur.zip"),
           std::string("fabrication carte.CIX jeu"),
           std::string("image carte.CIX carte.CIX"),
           std::string("percage carte.CIX carte.CIX"),
           std::string("percage carte.CIX ./d/../carte.CIX --format pex"),
           std::string("image carte.CIX lien.png"),
           std::string("percage carte.CIX dur.EXL"),
           "image carte.CIX '" + Chemin("carte.CIX").string() + "'",
       }) {
    const Resultat r = Lance(commande);
    EXPECT_EQ(r.code, 1) << commande << "\n" << r.erreur;
    EXPECT_NE(r.erreur.find("est le fichier lu « carte.CIX » lui-même"), std::string::npos)
        << commande << "\n"
        << r.erreur;
    EXPECT_NE(r.erreur.find("Rien n'a été écrit"), std::string::npos) << r.erreur;
    EXPECT_EQ(Lit(Chemin("carte.CIX")), carte_) << commande;
    EXPECT_TRUE(fs::is_symlink(Chemin("lien.png")));
  }
  // A Gerber layer file that is the circuit (through a link): refused before any layer.
  ASSERT_EQ(symlink("carte.CIX", Chemin("b_FC2.GBR").c_str()), 0);
  Resultat r = Lance("gerber carte.CIX b");
  EXPECT_EQ(r.code, 1) << r.erreur;
  EXPECT_NE(r.erreur.find("« b_FC2.GBR » est le fichier lu"), std::string::npos) << r.erreur;
  EXPECT_FALSE(fs::exists(Chemin("b-FC1.GBR")));
  EXPECT_EQ(Lit(Chemin("carte.CIX")), carte_);
  // Rewriting a circuit in place stays allowed.
  r = Lance("convertir carte.CIX carte.CIX");
  EXPECT_EQ(r.code, 0) << r.erreur;
  EXPECT_EQ(Lit(Chemin("carte.CIX")), carte_);
  // Not an old-format file, through a link named .CIX: its name would no longer read it.
  const std::vector<uint8_t> ancien(kTailleEnteteAncien, 0);
  Ecrit(Chemin("v.CIP"), ancien);
  ASSERT_EQ(symlink("v.CIP", Chemin("v.CIX").c_str()), 0);
  r = Lance("convertir v.CIP v.CIX");
  EXPECT_EQ(r.code, 1) << r.erreur;
  EXPECT_EQ(Lit(Chemin("v.CIP")), ancien);
  // Nothing of the set went beside the link either.
  EXPECT_EQ(std::distance(fs::directory_iterator(Chemin("jeu")), fs::directory_iterator()), 1);
}

TEST_F(CliHostile, TubeNommeOuPeripheriqueRefusesSansAttendre) {
  ASSERT_EQ(mkfifo(Chemin("tube.CIX").c_str(), 0644), 0);
  // A reading of the pipe would wait forever for a writer: `timeout` turns that into 124.
  const std::string cli = KORV4_CLI;
  for (const char* commande : {"info tube.CIX", "image tube.CIX x.png", "convertir tube.CIX x.CIX",
                               "percage tube.CIX x.EXL", "gerber tube.CIX x"}) {
    const int code = essai::Shell("cd '" + dossier_.string() + "' && timeout 20 '" + cli + "' " +
                                  commande + " >/dev/null 2>'" + Chemin("err").string() + "'");
    EXPECT_EQ(code, 2) << commande;
    const std::vector<uint8_t> e = Lit(Chemin("err"));
    EXPECT_NE(std::string(e.begin(), e.end())
                  .find("Impossible de lire « tube.CIX » : ce n'est pas un fichier ordinaire mais "
                        "un tube nommé."),
              std::string::npos)
        << std::string(e.begin(), e.end());
  }
  fs::remove(Chemin("err"));
  Resultat r = Lance("info /dev/zero");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.erreur.find("« /dev/zero » : ce n'est pas un fichier ordinaire mais un périphérique"),
            std::string::npos)
      << r.erreur;
  // As an output, a pipe is not replaced by a regular file either (nor waited on).
  r = Lance("image carte.CIX tube.CIX");
  EXPECT_EQ(r.code, 3) << r.erreur;
  EXPECT_NE(r.erreur.find("Impossible d'écrire « tube.CIX » : ce n'est pas un fichier ordinaire"),
            std::string::npos)
      << r.erreur;
  struct stat s;
  ASSERT_EQ(stat(Chemin("tube.CIX").c_str(), &s), 0);
  EXPECT_TRUE(S_ISFIFO(s.st_mode));
  EXPECT_EQ(Noms(), (std::vector<std::string>{"carte.CIX", "tube.CIX"}));
}

TEST_F(CliHostile, NomsQuiNeSontPasEnUtf8) {
  // An old Latin-1 name: "café.CIX" with é as the byte E9.
  const std::string latin1 = "caf\xE9.CIX";
  Ecrit(dossier_ / latin1, carte_);
  for (const std::string& commande :
       {"info " + latin1, "convertir " + latin1 + " sortie.CIX", "percage " + latin1 + " s.EXL"}) {
    const Resultat r = Lance(commande);
    EXPECT_EQ(r.code, 2) << commande << "\n" << r.erreur;
    EXPECT_NE(r.erreur.find("Le nom de fichier « caf\uFFFD.CIX » n'est pas un nom UTF-8 valide"),
              std::string::npos)
        << r.erreur;
    EXPECT_EQ(r.erreur.find("introuvable"), std::string::npos) << r.erreur;
  }
  // An output name is never changed into another one.
  for (const std::string& commande :
       {std::string("image carte.CIX vue\xE9.png"), std::string("percage carte.CIX trous\xE9.EXL"),
        std::string("convertir carte.CIX copie\xE9.CIX"),
        std::string("gerber carte.CIX base\xE9")}) {
    const Resultat r = Lance(commande);
    EXPECT_EQ(r.code, 3) << commande << "\n" << r.erreur;
    EXPECT_NE(r.erreur.find("n'est pas un nom UTF-8 valide"), std::string::npos) << r.erreur;
    EXPECT_EQ(r.sortie, "");
  }
  EXPECT_EQ(Noms(), (std::vector<std::string>{"caf\xE9.CIX", "carte.CIX"}));
}

// U+FFFD is a character like another: a name that holds it in UTF-8 (EF BF BD) is read and
// written under exactly its bytes, even beside a Latin-1 name that Qt reads the same way.
TEST_F(CliHostile, NomUtf8QuiContientLeCaractereDeRemplacement) {
  const std::string fffd = "\xEF\xBF\xBD";
  Ecrit(dossier_ / ("x" + fffd + ".CIX"), carte_);
  const std::vector<uint8_t> autre = FichierCircuit(Circuit{});
  Ecrit(dossier_ / "x\xE9.CIX", autre);  // read by Qt as the same name
  struct Cas {
    std::string commande;
    std::vector<std::string> ecrits;
  };
  for (const Cas& k : std::vector<Cas>{
           {"info x" + fffd + ".CIX", {}},
           {"image x" + fffd + ".CIX vue" + fffd + ".png", {"vue" + fffd + ".png"}},
           {"percage x" + fffd + ".CIX t" + fffd + ".EXL", {"t" + fffd + ".EXL"}},
           {"convertir x" + fffd + ".CIX c" + fffd + ".CIX", {"c" + fffd + ".CIX"}},
           {"gerber x" + fffd + ".CIX g" + fffd,
            {"g" + fffd + "-FC1.GBR", "g" + fffd + "_FC2.GBR", "g" + fffd + "_SER.GBR"}},
           {"typon x" + fffd + ".CIX p" + fffd + ".pdf --forcer", {"p" + fffd + ".pdf"}},
       }) {
    const Resultat r = Lance(k.commande);
    EXPECT_EQ(r.code, 0) << k.commande << "\n" << r.erreur;
    EXPECT_EQ(r.erreur.find("UTF-8"), std::string::npos) << r.erreur;
    for (const std::string& nom : k.ecrits)
      EXPECT_TRUE(fs::is_regular_file(dossier_ / nom)) << k.commande << " : " << nom;
  }
  EXPECT_EQ(Lit(dossier_ / "x\xE9.CIX"), autre);
  // The Latin-1 name itself is still refused, and so is an output made from a Latin-1 base.
  Resultat r = Lance("info x\xE9.CIX");
  EXPECT_EQ(r.code, 2) << r.erreur;
  EXPECT_NE(r.erreur.find("n'est pas un nom UTF-8 valide"), std::string::npos) << r.erreur;
  r = Lance("gerber carte.CIX dossier" + fffd + "/b\xE9");
  EXPECT_EQ(r.code, 3) << r.erreur;
  EXPECT_NE(r.erreur.find("n'est pas un nom UTF-8 valide"), std::string::npos) << r.erreur;
}

TEST_F(CliHostile, SurfaceTropGrandeMemeAuPlusPetitZoom) {
  Circuit c;
  c.Elements[++c.NbElements] = ElementCI{kCouchePastilles, 199, 2, 0, 1000, 1000};
  // Surfaces no dialog could have given (12700 mm square, one unit by 2^31 - 1, 545 m wide):
  // repaired to the default one when the circuit opens, and said; the picture is then made.
  for (const auto& [x, y] : {std::pair<int32_t, int32_t>{500000, 500000},
                             {1, 2147483647},
                             {21474847, 4000},
                             {-5, 2147483647}}) {
    Ecrit(Chemin("geante.CIX"), FichierCircuit(c, x, y));
    const Resultat r = Lance("image geante.CIX x.png --zoom 25");
    EXPECT_EQ(r.code, 0) << x << " x " << y << "\n" << r.erreur;
    EXPECT_NE(r.erreur.find("le circuit « geante.CIX » est réparé : la surface de travail "
                            "annoncée (" +
                            std::to_string(x) + " x " + std::to_string(y) +
                            " unités) est hors des limites"),
              std::string::npos)
        << r.erreur;
    EXPECT_NE(r.erreur.find("ramenée à 300 x 200 mm"), std::string::npos) << r.erreur;
    fs::remove(Chemin("x.png"));
  }
  // A surface within the limits that is too large at the zoom asked: a usage error that names
  // the largest zoom that fits.
  Ecrit(Chemin("grande.CIX"), FichierCircuit(c, 31000, 31000));
  const Resultat r = Lance("image grande.CIX x.png --zoom 1000");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.erreur.find("choisissez un zoom de 300 % au plus"), std::string::npos) << r.erreur;
  EXPECT_FALSE(fs::exists(Chemin("x.png")));
}

TEST_F(CliHostile, SortieStandardFermeeOuPleine) {
  struct Cas {
    std::string arguments;
    const char* vers;
    const char* message;
  };
  for (const Cas& k : std::vector<Cas>{
           {"info carte.CIX", essai::DossierCli::kFermee,
            "impossible d'écrire le résumé sur la sortie standard : elle est fermée."},
           {"info carte.CIX --json", "/dev/full",
            "impossible d'écrire le résumé sur la sortie standard : plus de place sur le disque."},
           {"--help", "/dev/full",
            "impossible d'écrire l'aide sur la sortie standard : plus de place sur le disque."},
           {"image --help", essai::DossierCli::kFermee,
            "impossible d'écrire l'aide sur la sortie standard : elle est fermée."},
           {"percage --help", "/dev/full", "impossible d'écrire l'aide"},
           {"gerber carte.CIX b", "/dev/full",
            "« b-FC1.GBR » est écrit, mais son nom n'a pas pu être écrit sur la sortie standard : "
            "plus de place sur le disque ; les couches suivantes ne sont pas écrites."},
       }) {
    const Resultat r = Lance(k.arguments, "", k.vers);
    EXPECT_EQ(r.code, 3) << k.arguments << " > " << k.vers << "\n" << r.erreur;
    EXPECT_NE(r.erreur.find(k.message), std::string::npos) << k.arguments << "\n" << r.erreur;
    EXPECT_EQ(r.erreur.find("erreur système"), std::string::npos) << r.erreur;
  }
  EXPECT_TRUE(fs::exists(Chemin("b-FC1.GBR")));
  EXPECT_FALSE(fs::exists(Chemin("b_FC2.GBR")));
  // Closed stdout and stderr: the file a sub-command writes is its own, byte for byte (no
  // message can land in it through a reused descriptor).
  EXPECT_EQ(essai::Shell("cd '" + dossier_.string() +
                         "' && '" KORV4_CLI "' percage carte.CIX trous.EXL >&- 2>&-"),
            0);
  EXPECT_EQ(
      essai::Shell("cd '" + dossier_.string() + "' && '" KORV4_CLI "' info absent.CIX >&- 2>&-"),
      2);
  Circuit c;
  std::string erreur;
  ASSERT_TRUE(OuvreCircuit(c, carte_, "carte.CIX", erreur));
  const ListePercages l = CollectePercages(c);
  EXPECT_EQ(Lit(Chemin("trous.EXL")), SaveExcellon(l, CadreElements(c, 1, c.NbElements),
                                                   {ElementsAPercer::CI, FacePercage::Composants}));
}

TEST_F(CliHostile, MessagesEnFrancaisSeulement) {
  struct Cas {
    std::string arguments;
    int code;
    const char* message;
  };
  for (const Cas& k : std::vector<Cas>{
           {"info ''", 2, "Aucun nom de fichier n'est donné (le nom est vide)."},
           {"image '' x.png", 2, "Aucun nom de fichier n'est donné"},
           {"image carte.CIX ''", 3, "Aucun nom de fichier n'est donné"},
           {"percage carte.CIX ''", 3, "Aucun nom de fichier n'est donné"},
           {"image carte.CIX x.png --zoom", 1, "une valeur est attendue après « --zoom »"},
           {"info carte.CIX --json=oui", 1, "« --json » ne prend pas de valeur"},
           {"info carte.CIX --inconnue", 1, "option inconnue : inconnue"},
       }) {
    const Resultat r = Lance(k.arguments);
    EXPECT_EQ(r.code, k.code) << k.arguments << "\n" << r.erreur;
    EXPECT_NE(r.erreur.find(k.message), std::string::npos) << k.arguments << "\n" << r.erreur;
    SansAnglais(r, k.arguments);
  }
}

TEST_F(CliHostile, DiametresEndommagesRefusesALExport) {
  fabrication::Fabrique f;  // holes of drill indices 1 and 2, a pin
  f.Rec(3, 198, 1, 1000, 1000);
  f.Rec(3, 199, 2, 2000, 1000);
  f.Rec(3, 205, 0, 500, 500);
  const std::vector<uint8_t> precedent = {'a', 'v', 'a', 'n', 't'};
  struct Cas {
    int indice;
    int32_t diametre;
    int code;
    const char* message;
  };
  for (const Cas& k : std::vector<Cas>{
           {2, 0, 2, "n° 2 = 0 (en dixièmes de millimètre"},
           {1, -1, 2, "n° 1 = -1 ("},
           {2, 2580, 0, nullptr},  // 258 mm: odd, but a diameter a machine can take
           {2, 65546, 2, "n° 2 = 65546 ("},
           {9, 0, 0, nullptr},  // no hole uses entry 9
       }) {
    Circuit c = f.c;
    c.EnteteCI.DiametresPercage[k.indice] = k.diametre;
    Ecrit(Chemin("abime.CIX"), EcritCircuit(c));
    for (const char* format : {"excellon", "iso", "hpgl", "pex"}) {
      Ecrit(Chemin("trous"), precedent);
      const Resultat r = Lance(std::string("percage abime.CIX trous --format ") + format);
      EXPECT_EQ(r.code, k.code) << k.indice << " = " << k.diametre << "\n" << r.erreur;
      if (k.message == nullptr) continue;
      EXPECT_NE(r.erreur.find("le circuit « abime.CIX » a un diamètre de perçage invalide : "),
                std::string::npos)
          << r.erreur;
      EXPECT_NE(r.erreur.find(k.message), std::string::npos) << r.erreur;
      EXPECT_NE(r.erreur.find("aucun fichier de perçage n'est écrit"), std::string::npos);
      EXPECT_EQ(Lit(Chemin("trous")), precedent);
    }
    // The pins take no diameter from the table: their file is written.
    const Resultat r = Lance("percage abime.CIX pions.EXL --pions");
    EXPECT_EQ(r.code, 0) << r.erreur;
  }
}

TEST_F(CliHostile, ComposantDonneCommeCircuit) {
  Circuit c;
  c.Elements[++c.NbElements] = ElementCI{kCouchePastilles, 199, 2, 0, 1000, 1000};
  c.Selection = {1, 1, 1, CadreElements(c, 1, 1)};
  Ecrit(Chemin("boitier.CPX"), EcritComposant(c));
  for (const std::string& commande :
       {std::string("info boitier.CPX"), std::string("image boitier.CPX x.png"),
        std::string("convertir boitier.CPX x.CIX"), std::string("gerber boitier.CPX x"),
        std::string("percage boitier.CPX x.EXL")}) {
    const Resultat r = Lance(commande);
    EXPECT_EQ(r.code, 2) << commande;
    EXPECT_NE(r.erreur.find("Le fichier « boitier.CPX » est un composant (fichier .CPX"),
              std::string::npos)
        << commande << "\n"
        << r.erreur;
    EXPECT_EQ(r.erreur.find("octets"), std::string::npos) << r.erreur;
  }
  EXPECT_EQ(Noms(), (std::vector<std::string>{"boitier.CPX", "carte.CIX"}));
}

}  // namespace
}  // namespace korv4
