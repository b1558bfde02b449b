// The editor's command line: what it opens, what it prints and when it ends before any window.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "fenetres/LigneCommande.h"

namespace {

// Everything written to a scratch stream.
std::string Contenu(std::FILE* f) {
  std::string s;
  std::rewind(f);
  for (int c; (c = std::fgetc(f)) != EOF;) s += static_cast<char>(c);
  return s;
}

struct Cas {
  QStringList arguments;
  bool quitter;
  int statut;
  QString fichier;     // when it goes on
  std::string sortie;  // found in stdout ("" = stdout empty)
  std::string erreur;  // found in stderr ("" = stderr empty)
};

TEST(LigneCommande, TableDesCas) {
  const QString qt = QStringLiteral("-platform");
  const Cas cas[] = {
      {{}, false, 0, "", "", ""},
      {{"Circuits/carte.CIX"}, false, 0, "Circuits/carte.CIX", "", ""},
      {{"ancien circuit.cip"}, false, 0, "ancien circuit.cip", "", ""},
      // A name that starts with a dash, after "--".
      {{"--", "-carte.CIX"}, false, 0, "-carte.CIX", "", ""},
      // Qt's own options are left to the QApplication, with or without "=".
      {{qt, "offscreen", "carte.CIX"}, false, 0, "carte.CIX", "", ""},
      {{"-style=fusion", "--reverse"}, false, 0, "", "", ""},
      {{"--help"}, true, 0, "", "Utilisation : korv4 [OPTIONS] [FICHIER]", ""},
      {{"-h", "carte.CIX"}, true, 0, "", "  -v, --version", ""},
      {{"--version"}, true, 0, "", "korv4 " KORV4_VERSION "\n", ""},
      {{"-v"}, true, 0, "", "korv4 " KORV4_VERSION "\n", ""},
      // Usage errors: a French message on stderr, status 1, nothing on stdout.
      {{"--ouvre", "carte.CIX"}, true, 1, "", "", "korv4: option inconnue : --ouvre\n"},
      {{"-x"}, true, 1, "", "", "option inconnue : -x\n"},
      {{"-geometrie=3"}, true, 1, "", "", "option inconnue : -geometrie\n"},
      {{"a.CIX", "b.CIX"}, true, 1, "", "", "un seul fichier à la fois (2 donnés)"},
      {{qt}, true, 1, "", "", "option mal formée"},
      {{"--help=oui"}, true, 1, "", "", "option mal formée"},
      {{""}, true, 1, "", "", "nom de fichier vide"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
    std::FILE* sortie = std::tmpfile();
    std::FILE* erreurs = std::tmpfile();
    ASSERT_TRUE(sortie && erreurs);
    const korv4::LigneCommande l = korv4::AnalyseArguments(c.arguments, sortie, erreurs);
    const std::string out = Contenu(sortie), err = Contenu(erreurs);
    std::fclose(sortie);
    std::fclose(erreurs);
    EXPECT_EQ(l.quitter, c.quitter);
    EXPECT_EQ(l.statut, c.statut);
    EXPECT_EQ(l.fichier, c.fichier);
    if (c.sortie.empty())
      EXPECT_EQ(out, "");
    else
      EXPECT_NE(out.find(c.sortie), std::string::npos) << out;
    if (c.erreur.empty())
      EXPECT_EQ(err, "");
    else
      EXPECT_NE(err.find(c.erreur), std::string::npos) << err;
  }
}

// A help that stdout cannot take is reported, not ended with success.
TEST(LigneCommande, AideSurUneSortiePleine) {
  std::FILE* pleine = std::fopen("/dev/full", "w");
  if (!pleine) GTEST_SKIP() << "pas de /dev/full";
  std::FILE* erreurs = std::tmpfile();
  for (const char* option : {"--help", "--version"}) {
    const korv4::LigneCommande l = korv4::AnalyseArguments({option}, pleine, erreurs);
    EXPECT_TRUE(l.quitter);
    EXPECT_EQ(l.statut, 1) << option;
  }
  const std::string e = Contenu(erreurs);
  EXPECT_NE(e.find("écriture impossible sur la sortie standard"), std::string::npos);
  EXPECT_NE(e.find("korv4: écriture impossible sur la sortie standard : plus de place sur le "
                   "disque (l'aide n'a pas pu être affichée).\n"),
            std::string::npos)
      << e;
  EXPECT_NE(e.find("plus de place sur le disque (la version n'a pas pu être affichée)"),
            std::string::npos)
      << e;
  EXPECT_EQ(e.find("No space"), std::string::npos) << e;
  std::fclose(erreurs);
  std::fclose(pleine);
}

// The real program: --help and --version to a closed or full stdout say why in French; Qt's
// English warnings ("QStandardPaths: XDG_RUNTIME_DIR not set...") reach stderr only when
// KORV4_DEBOGAGE asks for them.
class Editeur : public ::testing::Test {
 protected:
  void SetUp() override {
    char modele[] = "/tmp/korv4-ligne-XXXXXX";
    ASSERT_NE(mkdtemp(modele), nullptr);
    dossier_ = modele;
  }
  void TearDown() override { std::filesystem::remove_all(dossier_); }
  // Exit status and stderr of the editor run through the shell.
  std::pair<int, std::string> Lance(const std::string& commande) const {
    const std::string err = dossier_ + "/erreur";
    const int s =
        std::system(("cd '" + dossier_ + "' && " + commande + " 2>'" + err + "'").c_str());
    std::ifstream f(err);
    return {WIFEXITED(s) ? WEXITSTATUS(s) : -1, std::string(std::istreambuf_iterator<char>(f), {})};
  }
  std::string dossier_;
};

TEST_F(Editeur, AideEtVersionSurUneSortieFermeeOuPleine) {
  struct Cas {
    const char* commande;
    const char* message;
  };
  for (const Cas& k : {
           Cas{"'" KORV4_EDITEUR "' --help >&-",
               "korv4: écriture impossible sur la sortie standard : elle est fermée (l'aide n'a "
               "pas pu être affichée).\n"},
           Cas{"'" KORV4_EDITEUR "' --version >&-",
               "korv4: écriture impossible sur la sortie standard : elle est fermée (la version "
               "n'a pas pu être affichée).\n"},
           Cas{"'" KORV4_EDITEUR "' -v >/dev/full",
               "korv4: écriture impossible sur la sortie standard : plus de place sur le disque "
               "(la version n'a pas pu être affichée).\n"},
       }) {
    const auto [code, erreur] = Lance(k.commande);
    EXPECT_EQ(code, 1) << k.commande;
    EXPECT_EQ(erreur, k.message) << k.commande;
  }
}

TEST_F(Editeur, AvertissementsDeQtSeulementSurDemande) {
  // The editor runs five seconds on the offscreen platform, without a runtime folder.
  const std::string editeur = "env -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=offscreen ";
  const auto [code, erreur] = Lance(editeur + "timeout 5 '" KORV4_EDITEUR "' >/dev/null");
  EXPECT_EQ(code, 124) << erreur;  // still running when stopped
  EXPECT_EQ(erreur, "");
  const auto [code2, debogage] =
      Lance(editeur + "KORV4_DEBOGAGE=1 timeout 5 '" KORV4_EDITEUR "' >/dev/null");
  EXPECT_EQ(code2, 124) << debogage;
  EXPECT_NE(debogage.find("QStandardPaths: XDG_RUNTIME_DIR not set"), std::string::npos)
      << debogage;
}

}  // namespace
