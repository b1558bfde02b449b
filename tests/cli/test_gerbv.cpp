// A real consumer of the manufacturing files: gerbv reads every Gerber and Excellon file that
// korv4-cli writes for a few boards and renders it to PNG. gerbv always exits 0, so what it
// prints is read: any error or warning fails, except the two messages the format statement
// "%FSAX23Y23*%" (kept for the machines that read it) always draws; an empty picture fails.
//
// KORV4_GERBV_GARDE=folder keeps the pictures there, to look at them.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "CircuitsFabrication.h"
#include "OutilsCli.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;

using essai::Shell;

std::string LitTexte(const fs::path& p) {
  const std::vector<uint8_t> v = essai::Lit(p);
  return std::string(v.begin(), v.end());
}

// The lines gerbv printed that are neither blank nor one of the two accepted messages.
std::vector<std::string> MessagesRefuses(const std::string& sortie) {
  std::vector<std::string> refuses;
  std::istringstream flux(sortie);
  for (std::string ligne; std::getline(flux, ligne);) {
    if (ligne.find_first_not_of(" \t\r") == std::string::npos) continue;
    if (ligne.find("Undefined handling of zeros in format code") != std::string::npos) continue;
    if (ligne.find("Defaulting to omitting leading zeros") != std::string::npos) continue;
    refuses.push_back(ligne);
  }
  return refuses;
}

// A board whose half-turned text strokes go below the margin: negative coordinates.
Circuit CarteCoordonneesNegatives() {
  fabrication::Fabrique f;
  f.Rec(3, 199, 2, 1000, 1000);
  f.Texte(1, 66, 3, 1000, 900, "Ag");
  return f.c;
}

class Gerbv : public essai::DossierCli {
 protected:
  void SetUp() override {
    ASSERT_EQ(Shell("command -v gerbv >/dev/null"), 0) << "gerbv manque (make deps l'installe)";
    DossierCli::SetUp();
    const char* garde = std::getenv("KORV4_GERBV_GARDE");
    if (garde) garde_ = garde;
  }

  void EcritCircuit(const std::string& nom, Circuit c) const {
    RemplitEnteteCI(c, "Essai", "1/2/2026", "Moi", 11820, 7880);
    essai::Ecrit(Chemin(nom), korv4::EcritCircuit(c));
  }

  // Runs korv4-cli in the folder; returns its stdout.
  std::string Cli(const std::string& arguments) const {
    const essai::Resultat r = Lance(arguments);
    EXPECT_EQ(r.code, 0) << arguments << "\n" << r.erreur;
    return r.sortie;
  }

  // Has gerbv render the file; checks its messages and that the picture is not empty.
  void Rend(const std::string& fichier) const {
    const fs::path png = dossier_ / (fichier + ".png"), journal = dossier_ / ".gerbv";
    Shell("cd \"" + dossier_.string() + "\" && gerbv --export=png --dpi=200 " +
          "--background=#000000 --foreground=#FFFFFF --output=\"" + png.string() + "\" \"" +
          fichier + "\" >\"" + journal.string() + "\" 2>&1");
    const std::string sortie = LitTexte(journal);
    const std::vector<std::string> refuses = MessagesRefuses(sortie);
    EXPECT_TRUE(refuses.empty()) << fichier << " :\n" << sortie;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(png.string()))) << fichier << "\n" << sortie;
    int64_t allumes = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) allumes += qGray(image.pixel(x, y)) > 128;
    EXPECT_GT(allumes, 0) << fichier << " : image vide";
    if (!garde_.empty()) {
      fs::create_directories(garde_);
      fs::copy_file(png, garde_ / png.filename(), fs::copy_options::overwrite_existing);
    }
  }

  fs::path garde_;
};

TEST_F(Gerbv, LitEtDessineChaqueFichier) {
  struct Carte {
    std::string nom;
    Circuit circuit;
    std::vector<std::string> percage;  // the percage options to write
  };
  const std::vector<Carte> cartes = {
      {"complete", fabrication::CarteComplete(), {"", "--pions", "--cote cuivre"}},
      {"simple", fabrication::CarteSimpleFace(), {""}},
      {"pions", fabrication::CartePions(), {""}},
      {"negative", CarteCoordonneesNegatives(), {""}},
  };
  for (const Carte& c : cartes) {
    SCOPED_TRACE(c.nom);
    EcritCircuit(c.nom + ".CIX", c.circuit);
    for (const char* style : {"octogonales", "circulaires"}) {
      const std::string base = c.nom + "-" + style;
      std::istringstream fichiers(
          Cli("gerber " + c.nom + ".CIX " + base + " --pastilles " + style));
      int n = 0;
      for (std::string f; std::getline(fichiers, f); ++n) Rend(f);
      EXPECT_GT(n, 0);
    }
    for (size_t k = 0; k < c.percage.size(); ++k) {
      const std::string sortie = c.nom + "-" + std::to_string(k) + ".EXL";
      Cli("percage " + c.nom + ".CIX " + sortie + " " + c.percage[k]);
      Rend(sortie);
    }
  }
}

}  // namespace
}  // namespace korv4
