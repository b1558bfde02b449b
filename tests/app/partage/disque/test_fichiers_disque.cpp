// The disk layer: a file written as it is produced replaces the old one only once complete, and
// a name holding U+FFFD is refused only when its bytes were not UTF-8.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "partage/disque/FichiersDisque.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Lit(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

class Disque : public ::testing::Test {
 protected:
  void SetUp() override {
    char modele[] = "/tmp/korv4-disque-XXXXXX";
    ASSERT_NE(mkdtemp(modele), nullptr);
    dossier_ = modele;
  }
  void TearDown() override { fs::remove_all(dossier_); }
  QString Chemin(const std::string& nom) const {
    return QFile::decodeName(QByteArray::fromStdString((dossier_ / nom).string()));
  }
  // The names in the folder.
  std::vector<std::string> Noms() const {
    std::vector<std::string> n;
    for (const auto& e : fs::directory_iterator(dossier_)) n.push_back(e.path().filename());
    std::sort(n.begin(), n.end());
    return n;
  }
  fs::path dossier_;
  const std::vector<uint8_t> ancien_ = {'a', 'n', 'c', 'i', 'e', 'n'};
};

TEST_F(Disque, FichierEcritEnPlusieursFois) {
  std::ofstream(dossier_ / "f.GBR", std::ios::binary) << "ancien";
  std::vector<uint8_t> attendu;
  {
    FichierDisqueEnCours f(Chemin("f.GBR"));
    std::string erreur;
    ASSERT_TRUE(f.Ouvre(erreur)) << erreur;
    for (int k = 0; k < 50; ++k) {
      const std::vector<uint8_t> piece(1000 + k, static_cast<uint8_t>('a' + k % 26));
      ASSERT_TRUE(f.Ecrit(piece.data(), piece.size()));
      attendu.insert(attendu.end(), piece.begin(), piece.end());
      // Until the end, the old file is what the name designates.
      if (k == 25) {
        EXPECT_EQ(Lit(dossier_ / "f.GBR"), ancien_);
      }
    }
    EXPECT_TRUE(f.Termine(erreur)) << erreur;
  }
  EXPECT_EQ(Lit(dossier_ / "f.GBR"), attendu);
  EXPECT_EQ(Noms(), std::vector<std::string>{"f.GBR"});
}

TEST_F(Disque, FichierAbandonneOuEchoueLaisseLAncien) {
  std::ofstream(dossier_ / "f.GBR", std::ios::binary) << "ancien";
  const std::vector<uint8_t> piece(4096, 'x');
  {
    // Dropped before the end (a failure of the producer, a lack of memory).
    FichierDisqueEnCours f(Chemin("f.GBR"));
    std::string erreur;
    ASSERT_TRUE(f.Ouvre(erreur));
    ASSERT_TRUE(f.Ecrit(piece.data(), piece.size()));
  }
  EXPECT_EQ(Lit(dossier_ / "f.GBR"), ancien_);
  EXPECT_EQ(Noms(), std::vector<std::string>{"f.GBR"});
  // A write beyond the file size limit: refused, and so is everything after it.
  rlimit ancienne{};
  getrlimit(RLIMIT_FSIZE, &ancienne);
  rlimit r = ancienne;
  r.rlim_cur = 10000;
  IgnoreSignalTailleFichier();
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &r), 0);
  std::string erreur;
  bool tout = true;
  {
    FichierDisqueEnCours f(Chemin("f.GBR"));
    ASSERT_TRUE(f.Ouvre(erreur));
    for (int k = 0; k < 5; ++k) tout = f.Ecrit(piece.data(), piece.size()) && tout;
    EXPECT_FALSE(f.Termine(erreur));
  }
  setrlimit(RLIMIT_FSIZE, &ancienne);
  EXPECT_FALSE(tout);
  EXPECT_NE(erreur.find("taille maximale de fichier dépassée. Le fichier existant, s'il y en a "
                        "un, n'a pas été modifié."),
            std::string::npos)
      << erreur;
  EXPECT_EQ(Lit(dossier_ / "f.GBR"), ancien_);
  EXPECT_EQ(Noms(), std::vector<std::string>{"f.GBR"});
}

// A file dialog lists a Latin-1 name as Qt reads it, with U+FFFD: that name designates another
// file on the disk and is refused. A name that holds U+FFFD in UTF-8 is an ordinary name.
TEST_F(Disque, NomsAvecLeCaractereDeRemplacement) {
  std::ofstream(dossier_ / "caf\xE9.CIX") << "latin";
  std::ofstream(dossier_ /
                "d\xE9"
                "cor")
      << "";
  fs::create_directory(dossier_ / "r\xE9pertoire");
  std::ofstream(dossier_ / "vrai\xEF\xBF\xBD.CIX") << "utf8";
  const QString fffd(QChar::ReplacementCharacter);
  struct Cas {
    QString chemin;
    bool valide;
  };
  for (const Cas& k : std::vector<Cas>{
           {Chemin("caf") + fffd + ".CIX", false},          // listed from the Latin-1 name
           {Chemin("r") + fffd + "pertoire/x.GBR", false},  // in a Latin-1 folder
           {Chemin("vrai") + fffd + ".CIX", true},          // exactly its bytes
           {Chemin("neuf") + fffd + ".GBR", true},          // a new name, typed as such
           {Chemin("caf\u00E9.CIX"), true},                 // é in UTF-8: another name
       }) {
    std::string erreur;
    EXPECT_EQ(NomDisqueValide(k.chemin, erreur), k.valide) << k.chemin.toStdString();
    if (!k.valide) {
      EXPECT_NE(erreur.find("n'est pas un nom UTF-8 valide"), std::string::npos) << erreur;
    }
  }
  std::vector<uint8_t> octets;
  std::string erreur;
  ASSERT_TRUE(LitFichierDisque(Chemin("vrai") + fffd + ".CIX", octets, erreur)) << erreur;
  EXPECT_EQ(std::string(octets.begin(), octets.end()), "utf8");
  EXPECT_FALSE(LitFichierDisque(Chemin("caf") + fffd + ".CIX", octets, erreur));
  EXPECT_FALSE(EcritFichierDisque(Chemin("caf") + fffd + ".CIX", {'x'}, erreur));
  ASSERT_TRUE(EcritFichierDisque(Chemin("neuf") + fffd + ".GBR", {'x'}, erreur)) << erreur;
  EXPECT_TRUE(fs::exists(dossier_ / "neuf\xEF\xBF\xBD.GBR"));
  EXPECT_EQ(Lit(dossier_ / "caf\xE9.CIX"), (std::vector<uint8_t>{'l', 'a', 't', 'i', 'n'}));
}

// Names given as bytes (a command line): only those that are not UTF-8 are remembered and
// refused, with every name made from them.
TEST_F(Disque, NomsDonnesEnOctets) {
  EXPECT_TRUE(EstUtf8("caf\xC3\xA9"));
  EXPECT_TRUE(EstUtf8("\xEF\xBF\xBD"));
  EXPECT_FALSE(EstUtf8("caf\xE9"));
  EXPECT_FALSE(EstUtf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(EstUtf8("\xED\xA0\x80"));  // surrogate
  const std::string dossier = dossier_.string();
  const QString latin = NomDepuisOctets((dossier + "/base\xE9").c_str());
  const QString utf8 = NomDepuisOctets((dossier + "/base\xEF\xBF\xBD").c_str());
  EXPECT_EQ(latin, utf8);  // Qt reads both the same way
  std::string erreur;
  // Both read the same: the name given as bytes that were not UTF-8 wins, and is refused.
  EXPECT_FALSE(NomDisqueValide(latin + "-FC1.GBR", erreur));
  const QString autre = NomDepuisOctets((dossier + "/autre\xEF\xBF\xBD").c_str());
  EXPECT_TRUE(NomDisqueValide(autre + "_SER.GBR", erreur)) << erreur;
}

}  // namespace
}  // namespace korv4
