#pragma once

// What the tests of korv4-cli share: a scratch folder per test, files in and out, and running
// the built tool through the shell.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace korv4::essai {

namespace fs = std::filesystem;

inline std::vector<uint8_t> Lit(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

inline void Ecrit(const fs::path& p, const std::vector<uint8_t>& v) {
  std::ofstream f(p, std::ios::binary);
  f.write(reinterpret_cast<const char*>(v.data()), static_cast<std::streamsize>(v.size()));
}

// Exit status of a shell command, -1 when it did not exit normally.
inline int Shell(const std::string& commande) {
  const int s = std::system(commande.c_str());
  return WIFEXITED(s) ? WEXITSTATUS(s) : -1;
}

struct Resultat {
  int code;
  std::string sortie, erreur;
};

class DossierCli : public ::testing::Test {
 protected:
  void SetUp() override {
    char modele[] = "/tmp/korv4-cli-XXXXXX";
    ASSERT_NE(mkdtemp(modele), nullptr);
    dossier_ = modele;
  }
  void TearDown() override { fs::remove_all(dossier_); }

  fs::path Chemin(const std::string& nom) const { return dossier_ / nom; }

  // Runs the tool in the folder through the shell; avant: shell commands run first (e.g. a
  // ulimit); vers: where stdout goes instead of being collected (e.g. /dev/full; kFermee: stdout
  // closed).
  static constexpr const char* kFermee = "&-";
  Resultat Lance(const std::string& arguments, const std::string& avant = "",
                 const fs::path& vers = {}) const {
    const fs::path out = vers.empty() ? dossier_ / ".sortie" : vers, err = dossier_ / ".erreur";
    const std::string redirection = vers == kFermee ? " >&-" : " >'" + out.string() + "'";
    const std::string commande = "cd '" + dossier_.string() + "' && " + avant +
                                 (avant.empty() ? "" : "; ") + "exec '" KORV4_CLI "' " + arguments +
                                 redirection + " 2>'" + err.string() + "'";
    Resultat r{Shell("/bin/sh -c \"" + commande + "\""), {}, {}};
    const std::vector<uint8_t> e = Lit(err);
    r.erreur.assign(e.begin(), e.end());
    fs::remove(err);
    if (vers.empty()) {
      const std::vector<uint8_t> o = Lit(out);
      r.sortie.assign(o.begin(), o.end());
      fs::remove(out);
    }
    return r;
  }

  fs::path dossier_;
};

}  // namespace korv4::essai
