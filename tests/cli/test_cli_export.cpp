// korv4-cli gerber and percage: run the built tool on boards made with the core and compare what
// it writes with the core writers applied to the same board opened the same way.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "CircuitsFabrication.h"
#include "OutilsCli.h"
#include "export/Gerber.h"
#include "export/Percage.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;
using essai::Ecrit;
using essai::Lit;
using essai::Resultat;

std::vector<uint8_t> FichierCircuit(Circuit c) {
  RemplitEnteteCI(c, "Essai", "1/2/2026", "Moi", 11820, 7880);
  return EcritCircuit(c);
}

// The board as every sub-command sees it: through the open pipeline.
Circuit Ouvert(const std::vector<uint8_t>& octets) {
  Circuit c;
  std::string erreur;
  EXPECT_TRUE(OuvreCircuit(c, octets, "carte.CIX", erreur)) << erreur;
  return c;
}

class CliExport : public essai::DossierCli {};

TEST_F(CliExport, GerberEcritChaqueCoucheCommeLeCoeur) {
  const std::vector<uint8_t> octets = FichierCircuit(fabrication::CarteComplete());
  Ecrit(Chemin("carte.CIX"), octets);
  const Circuit c = Ouvert(octets);
  const Cadre e = CadreElements(c, 1, c.NbElements);
  for (StylePastilles style : {StylePastilles::Octogonales, StylePastilles::Circulaires}) {
    const bool circ = style == StylePastilles::Circulaires;
    const Resultat r = Lance(std::string("gerber carte.CIX sortie.gbr") +
                             (circ ? " --pastilles circulaires" : ""));
    ASSERT_EQ(r.code, 0) << r.erreur;
    EXPECT_EQ(r.sortie, "sortie.gbr-FC1.GBR\nsortie.gbr_FC2.GBR\nsortie.gbr_SER.GBR\n");
    for (const FichierGerber& f : ExporteGerber(c, e, style, "sortie.gbr"))
      EXPECT_EQ(Lit(Chemin(f.Nom)), f.Octets) << f.Nom;
  }
  // Pads alone: the face-1 file only.
  Ecrit(Chemin("pions.CIX"), FichierCircuit(fabrication::CartePions()));
  const Resultat r = Lance("gerber pions.CIX p");
  EXPECT_EQ(r.code, 0) << r.erreur;
  EXPECT_EQ(r.sortie, "p-FC1.GBR\n");
}

TEST_F(CliExport, GerberErreurs) {
  fs::create_directory(Chemin("dossier"));
  Ecrit(Chemin("carte.CIX"), FichierCircuit(fabrication::CarteComplete()));
  Ecrit(Chemin("vide.CIX"), FichierCircuit(Circuit{}));
  fabrication::Fabrique perc;  // drilling plan only: no layer for Gerber
  perc.Dessin(8, 128, 1, 0, 0, 100, 100);
  Ecrit(Chemin("percage.CIX"), FichierCircuit(perc.c));
  struct Cas {
    std::string arguments;
    int code;
    const char* message;
  };
  for (const Cas& k : std::vector<Cas>{
           {"gerber carte.CIX", 1, "2 argument(s) attendu(s)"},
           {"gerber carte.CIX b --pastilles rondes", 1, "octogonales ou circulaires"},
           {"gerber absent.CIX b", 2, "absent.CIX"},
           {"gerber vide.CIX b", 4, "vide"},
           {"gerber percage.CIX b", 4, "aucun fichier Gerber"},
           {"gerber carte.CIX dossier/absent/b", 3, "dossier/absent/b-FC1.GBR"},
           // A base that names no file, only a folder: the suffixes would be the whole names.
           {"gerber carte.CIX ''", 1, "la base est vide"},
           {"gerber carte.CIX .", 1,
            "la base « . » est un dossier : donnez le début du nom des fichiers après lui (par "
            "exemple « ./carte » donne « ./carte-FC1.GBR »)"},
           {"gerber carte.CIX dossier/", 1,
            "la base « dossier/ » est un dossier : donnez le début du nom des fichiers après lui "
            "(par exemple « dossier/carte » donne « dossier/carte-FC1.GBR »)"},
           {"gerber carte.CIX dossier/..", 1, "la base « dossier/.. » est un dossier"},
           {"gerber carte.CIX /", 1, "la base « / » est un dossier"},
       }) {
    const Resultat r = Lance(k.arguments);
    EXPECT_EQ(r.code, k.code) << k.arguments << "\n" << r.erreur;
    EXPECT_NE(r.erreur.find(k.message), std::string::npos) << k.arguments << "\n" << r.erreur;
    EXPECT_EQ(r.sortie, "") << k.arguments;
  }
  EXPECT_FALSE(fs::exists(Chemin("b-FC1.GBR")));
  EXPECT_FALSE(fs::exists(Chemin("-FC1.GBR")));
  EXPECT_FALSE(fs::exists(Chemin(".-FC1.GBR")));
  EXPECT_TRUE(fs::is_empty(Chemin("dossier")));

  // A file that cannot be written stops the export: that file keeps its previous contents and
  // the later layers are not written.
  Ecrit(Chemin("b-FC1.GBR"), {'a', 'n', 'c', 'i', 'e', 'n'});
  const Resultat r = Lance("gerber carte.CIX b", "ulimit -f 1");
  EXPECT_EQ(r.code, 3) << r.erreur;
  EXPECT_NE(r.erreur.find("b-FC1.GBR"), std::string::npos) << r.erreur;
  EXPECT_EQ(Lit(Chemin("b-FC1.GBR")), (std::vector<uint8_t>{'a', 'n', 'c', 'i', 'e', 'n'}));
  EXPECT_FALSE(fs::exists(Chemin("b_FC2.GBR")));
}

TEST_F(CliExport, PercageFormatsCotesEtPions) {
  const std::vector<uint8_t> octets = FichierCircuit(fabrication::CarteComplete());
  Ecrit(Chemin("carte.CIX"), octets);
  const Circuit c = Ouvert(octets);
  const ListePercages l = CollectePercages(c);
  const Cadre e = CadreElements(c, 1, c.NbElements);
  struct Cas {
    std::string options;
    FormatPercage format;
    OptionsPercage o;
  };
  const OptionsPercage ci{ElementsAPercer::CI, FacePercage::Composants};
  for (const Cas& k : std::vector<Cas>{
           {"", FormatPercage::Excellon, ci},
           {"--format iso", FormatPercage::ISO, ci},
           {"--format hpgl --cote cuivre",
            FormatPercage::HPGL,
            {ElementsAPercer::CI, FacePercage::Cuivre}},
           {"--format pex --pions",
            FormatPercage::PEX,
            {ElementsAPercer::Pions, FacePercage::Composants}},
           {"--pions --cote cuivre",
            FormatPercage::Excellon,
            {ElementsAPercer::Pions, FacePercage::Cuivre}},
       }) {
    const Resultat r = Lance("percage carte.CIX sortie " + k.options);
    ASSERT_EQ(r.code, 0) << k.options << "\n" << r.erreur;
    EXPECT_EQ(Lit(Chemin("sortie")), EcritFichierPercage(k.format, l, e, k.o)) << k.options;
  }
  // A board with pins only: its pins without being asked.
  Ecrit(Chemin("pions.CIX"), FichierCircuit(fabrication::CartePions()));
  ASSERT_EQ(Lance("percage pions.CIX p.EXL").code, 0);
  const std::vector<uint8_t> p = Lit(Chemin("p.EXL"));
  EXPECT_EQ(std::string(p.begin(), p.end()).substr(0, 28), "M48\r\nINCH,LZ\r\nT01C0.125\r\n%\r\n");
}

TEST_F(CliExport, PercageRienAEcrireEtErreurs) {
  Ecrit(Chemin("vide.CIX"), FichierCircuit(Circuit{}));
  fabrication::Fabrique sansTrou;  // a pad without hole and a track
  sansTrou.Rec(3, 193, 0, 100, 100);
  sansTrou.Piste(1, 161, {{100, 100}, {300, 100}});
  Ecrit(Chemin("sanstrou.CIX"), FichierCircuit(sansTrou.c));
  Ecrit(Chemin("simple.CIX"), FichierCircuit(fabrication::CarteSimpleFace()));
  struct Cas {
    std::string arguments;
    int code;
    const char* message;
  };
  for (const Cas& k : std::vector<Cas>{
           {"percage vide.CIX s", 4, "vide"},
           {"percage sanstrou.CIX s", 4, "aucun trou"},
           {"percage simple.CIX s --pions", 4, "aucun pion"},
           {"percage simple.CIX s --format gcode", 1, "excellon, iso, hpgl ou pex"},
           {"percage simple.CIX s --cote dessus", 1, "composants ou cuivre"},
           {"percage simple.CIX", 1, "2 argument(s) attendu(s)"},
           {"percage simple.CIX absent/s", 3, "absent/s"},
       }) {
    const Resultat r = Lance(k.arguments);
    EXPECT_EQ(r.code, k.code) << k.arguments << "\n" << r.erreur;
    EXPECT_NE(r.erreur.find(k.message), std::string::npos) << k.arguments << "\n" << r.erreur;
  }
  EXPECT_FALSE(fs::exists(Chemin("s")));
}

}  // namespace
}  // namespace korv4
