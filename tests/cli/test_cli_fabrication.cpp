// korv4-cli fabrication: the set in a zip archive or a folder, the same bytes as the core
// makes, every layer and drill file read by gerbv without a single warning, the archive read by
// python's zipfile; warnings said and the set written all the same; a folder that ends up
// holding exactly the new set; safe entry names; the errors and the exit statuses of the other
// sub-commands.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <sstream>

#include "CircuitsFabrication.h"
#include "OutilsCli.h"
#include "export/Fabrication.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;
using essai::Ecrit;
using essai::Lit;
using essai::Resultat;
using essai::Shell;

std::vector<uint8_t> FichierCircuit(Circuit c) {
  RemplitEnteteCI(c, "Essai", "1/2/2026", "Moi", 11820, 7880);
  return EcritCircuit(c);
}

Circuit Ouvert(const std::vector<uint8_t>& octets) {
  Circuit c;
  std::string erreur;
  EXPECT_TRUE(OuvreCircuit(c, octets, "carte.CIX", erreur)) << erreur;
  return c;
}

// The moment of the set, fixed for the tests (SOURCE_DATE_EPOCH), as the core writes it.
constexpr const char* kEpoque = "export SOURCE_DATE_EPOCH=1796947200";
OptionsFabrication Options() {
  OptionsFabrication o;
  o.Date = "2026-12-11T00:00:00+00:00";
  return o;
}
// What gerbv draws: the Gerber and drill files, not the netlist, the job file nor the summary.
bool EstCouche(const std::string& nom) {
  for (const std::string fin : {".gbrjob", ".ipc", ".md"})
    if (nom.size() > fin.size() && nom.compare(nom.size() - fin.size(), fin.size(), fin) == 0)
      return false;
  return true;
}

std::string LitTexte(const fs::path& p) {
  const std::vector<uint8_t> v = Lit(p);
  return std::string(v.begin(), v.end());
}

class CliFabrication : public essai::DossierCli {
 protected:
  // gerbv draws the file; every line it prints fails the test, and so does an empty picture.
  void RendSansAvertissement(const fs::path& fichier) const {
    const fs::path png = fichier.string() + ".png", journal = dossier_ / ".gerbv";
    Shell("gerbv --export=png --dpi=200 --background=#000000 --foreground=#FFFFFF --output='" +
          png.string() + "' '" + fichier.string() + "' >'" + journal.string() + "' 2>&1");
    const std::string sortie = LitTexte(journal);
    EXPECT_EQ(sortie.find_first_not_of(" \t\r\n"), std::string::npos)
        << fichier.filename() << " :\n"
        << sortie;
    QImage image;
    ASSERT_TRUE(image.load(QString::fromStdString(png.string()))) << fichier << "\n" << sortie;
    int64_t allumes = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) allumes += qGray(image.pixel(x, y)) > 128;
    EXPECT_GT(allumes, 0) << fichier << " : image vide";
  }
};

TEST_F(CliFabrication, ArchiveEtDossierCommeLeCoeurLusParGerbvEtZipfile) {
  ASSERT_EQ(Shell("command -v gerbv >/dev/null && command -v python3 >/dev/null"), 0);
  const std::vector<uint8_t> octets = FichierCircuit(fabrication::CarteComplete());
  Ecrit(Chemin("carte.CIX"), octets);
  OptionsFabrication o = Options();
  o.Contour = ContourFabrication::Surface;
  const JeuFabrication jeu = FabriqueJeu(Ouvert(octets), o);
  ASSERT_EQ(jeu.Fichiers.size(), 11u);

  Resultat r = Lance("fabrication carte.CIX jeu.zip --contour surface", kEpoque);
  ASSERT_EQ(r.code, 0) << r.erreur;
  EXPECT_EQ(r.sortie, "jeu.zip\n");
  // python's zipfile checks every CRC and extracts.
  r = Lance("fabrication carte.CIX dossier --contour surface", kEpoque);
  ASSERT_EQ(r.code, 0) << r.erreur;
  std::string attendu;
  for (const FichierFabrication& f : jeu.Fichiers) attendu += "dossier/" + f.Nom + "\n";
  EXPECT_EQ(r.sortie, attendu);
  ASSERT_EQ(Shell("cd '" + dossier_.string() +
                  "' && python3 -c \"import zipfile, sys\n"
                  "z = zipfile.ZipFile('jeu.zip')\n"
                  "assert z.testzip() is None\n"
                  "print('\\n'.join(z.namelist()))\n"
                  "z.extractall('extrait')\" > noms"),
            0);
  std::string noms;
  for (const FichierFabrication& f : jeu.Fichiers) noms += f.Nom + "\n";
  EXPECT_EQ(LitTexte(Chemin("noms")), noms);
  for (const FichierFabrication& f : jeu.Fichiers) {
    SCOPED_TRACE(f.Nom);
    EXPECT_EQ(Lit(Chemin("extrait") / f.Nom), f.Octets);
    EXPECT_EQ(Lit(Chemin("dossier") / f.Nom), f.Octets);
    if (EstCouche(f.Nom)) RendSansAvertissement(Chemin("extrait") / f.Nom);
  }
}

TEST_F(CliFabrication, OptionsEtContour) {
  ASSERT_EQ(Shell("command -v gerbv >/dev/null"), 0);
  const std::vector<uint8_t> octets = FichierCircuit(fabrication::CarteSimpleFace());
  Ecrit(Chemin("simple.CIX"), octets);
  const Resultat r = Lance(
      "fabrication simple.CIX d --marge-masque 0,2 --contour etendue --marge-contour 3 "
      "--pastilles circulaires --non-metallise 2,5 --non-metallise 0.8",
      kEpoque);
  ASSERT_EQ(r.code, 0) << r.erreur;
  OptionsFabrication o = Options();
  o.DiametresNonMetallises = {25, 8};
  o.Base = "simple";
  o.MargeMasqueMm = 0.2;
  o.Contour = ContourFabrication::Etendue;
  o.MargeContourMm = 3;
  o.Pastilles = StylePastilles::Circulaires;
  for (const FichierFabrication& f : FabriqueJeu(Ouvert(octets), o).Fichiers) {
    SCOPED_TRACE(f.Nom);
    EXPECT_EQ(Lit(Chemin("d") / f.Nom), f.Octets);
    if (EstCouche(f.Nom)) RendSansAvertissement(Chemin("d") / f.Nom);
  }
}

// What the board house would make wrong is said on stderr, and the set written all the same.
TEST_F(CliFabrication, AvertitEtEcritQuandMeme) {
  fabrication::Fabrique f;
  f.Rec(3, 199, 2, 1000, 1000);
  f.Rec(3, 199, 2, 1000, 1120);  // 0.1 mm from its neighbour
  f.Piste(1, 162, {{1000, 1000}, {2000, 1000}});
  f.Dessin(8, 130, 1, 900, 900, 1500, 1500);  // the outline cuts the track
  Ecrit(Chemin("c.CIX"), FichierCircuit(f.c));
  const Resultat r = Lance("fabrication c.CIX j.zip");
  EXPECT_EQ(r.code, 0) << r.erreur;
  EXPECT_EQ(r.sortie, "j.zip\n");
  EXPECT_NE(r.erreur.find("attention, du cuivre dépasse le contour de la carte de"),
            std::string::npos)
      << r.erreur;
  EXPECT_NE(r.erreur.find("attention, la vérification trouve"), std::string::npos) << r.erreur;
  EXPECT_NE(r.erreur.find("Le jeu est écrit quand même."), std::string::npos) << r.erreur;
  EXPECT_TRUE(fs::exists(Chemin("j.zip")));
}

// A folder ends up holding exactly the new set: the files an older set of that name left are
// replaced or removed, the others left and said. Entry names hold safe characters only,
// whatever the circuit's name.
TEST_F(CliFabrication, DossierExactementLeNouveauJeuEtNomsSurs) {
  ASSERT_EQ(Shell("command -v python3 >/dev/null"), 0);
  Ecrit(Chemin("carte.CIX"), FichierCircuit(fabrication::CarteComplete()));
  fs::create_directory(Chemin("d"));
  for (const char* ancien : {"carte.GTL", "carte.DRL", "carte-netlist.ipc", "notes.txt", "x.GTL"})
    Ecrit(Chemin("d") / ancien, {'a', 'n', 'c', 'i', 'e', 'n'});
  const Resultat r = Lance("fabrication carte.CIX d", kEpoque);
  ASSERT_EQ(r.code, 0) << r.erreur;
  std::vector<std::string> noms;
  for (const auto& e : fs::directory_iterator(Chemin("d"))) noms.push_back(e.path().filename());
  std::sort(noms.begin(), noms.end());
  EXPECT_EQ(noms, (std::vector<std::string>{"LISEZMOI.md", "carte-NPTH.DRL", "carte-PTH.DRL",
                                            "carte-netlist.ipc", "carte.GBL", "carte.GBS",
                                            "carte.GKO", "carte.GTL", "carte.GTO", "carte.GTS",
                                            "carte.gbrjob", "notes.txt", "x.GTL"}));
  EXPECT_NE(Lit(Chemin("d") / "carte.GTL"), (std::vector<uint8_t>{'a', 'n', 'c', 'i', 'e', 'n'}));
  EXPECT_NE(r.erreur.find("contient aussi, laissés tels quels : notes.txt, x.GTL."),
            std::string::npos)
      << r.erreur;

  // A name made to climb out of the folder where the archive is extracted.
  Ecrit(Chemin("..\\..\\evil.CIX"), FichierCircuit(fabrication::CarteComplete()));
  ASSERT_EQ(Lance("fabrication '..\\..\\evil.CIX' e.zip").code, 0);
  ASSERT_EQ(Shell("cd '" + dossier_.string() +
                  "' && python3 -c \"import zipfile\n"
                  "print('\\n'.join(zipfile.ZipFile('e.zip').namelist()))\" > noms"),
            0);
  const std::string entrees = LitTexte(Chemin("noms"));
  EXPECT_NE(entrees.find("_._.._evil.GTL\n"), std::string::npos) << entrees;
  EXPECT_EQ(entrees.find_first_of("/\\:"), std::string::npos) << entrees;
}

TEST_F(CliFabrication, Erreurs) {
  Ecrit(Chemin("carte.CIX"), FichierCircuit(fabrication::CarteComplete()));
  Ecrit(Chemin("vide.CIX"), FichierCircuit(Circuit{}));
  fabrication::Fabrique plan;
  plan.Dessin(8, 130, 1, 100, 100, 500, 500);
  Ecrit(Chemin("plan.CIX"), FichierCircuit(plan.c));
  Circuit abime = fabrication::CarteComplete();
  Ecrit(Chemin("abime.CIX"), FichierCircuit(abime));
  {
    // A drill table entry out of range, as only a damaged file holds.
    std::vector<uint8_t> v = FichierCircuit(abime);
    Circuit c = Ouvert(v);
    c.EnteteCI.DiametresPercage[3] = 0;
    Ecrit(Chemin("abime.CIX"), EcritCircuit(c));
  }
  fs::create_symlink("carte.CIX", Chemin("lien.zip"));
  struct Cas {
    std::string arguments;
    int code;
    const char* message;
  };
  const std::vector<Cas> cas = {
      {"fabrication carte.CIX", 1, "2 argument(s) attendu(s), 1 donné(s)"},
      {"fabrication carte.CIX j.zip --marge-masque -1", 1, "--marge-masque attend"},
      {"fabrication carte.CIX j.zip --marge-masque 6", 1, "--marge-masque attend"},
      {"fabrication carte.CIX j.zip --marge-contour x", 1, "--marge-contour attend"},
      {"fabrication carte.CIX j.zip --contour plan", 1,
       "--contour attend carte, etendue ou surface"},
      {"fabrication carte.CIX j.zip --non-metallise 0,05", 1, "--non-metallise attend"},
      {"fabrication carte.CIX j.zip --non-metallise 1,25", 1, "--non-metallise attend"},
      {"fabrication carte.CIX j.zip --pastilles rondes", 1, "--pastilles attend"},
      {"fabrication carte.CIX lien.zip", 1, "carte.CIX"},
      {"fabrication absent.CIX j.zip", 2, "absent.CIX"},
      {"fabrication abime.CIX j.zip", 2, "diamètre de perçage invalide"},
      {"fabrication vide.CIX j.zip", 4, "est vide"},
      {"fabrication plan.CIX j.zip", 4, "n'a rien sur les faces"},
      {"fabrication carte.CIX absent/j.zip", 3, "absent/j.zip"},
      {"fabrication carte.CIX carte.CIX", 3, "carte.CIX"},
      // A folder that cannot be made says why.
      {"fabrication carte.CIX /dev/full", 3,
       "impossible de créer le dossier « /dev/full » : un fichier de ce nom existe et n'est pas "
       "un dossier."},
      {"fabrication carte.CIX carte.CIX/jeu", 3,
       "impossible de créer le dossier « carte.CIX/jeu » : "},
  };
  const std::vector<uint8_t> circuit = Lit(Chemin("carte.CIX"));
  for (const Cas& k : cas) {
    const Resultat r = Lance(k.arguments);
    EXPECT_EQ(r.code, k.code) << k.arguments << "\n" << r.erreur;
    EXPECT_NE(r.erreur.find(k.message), std::string::npos) << k.arguments << "\n" << r.erreur;
    EXPECT_FALSE(fs::exists(Chemin("j.zip"))) << k.arguments;
  }
  EXPECT_EQ(Lit(Chemin("carte.CIX")), circuit);
  // An archive that stdout cannot name is written, and said to be: exit 3.
  EXPECT_EQ(Lance("fabrication carte.CIX j.zip", "", "/dev/full").code, 3);
}

}  // namespace
}  // namespace korv4
