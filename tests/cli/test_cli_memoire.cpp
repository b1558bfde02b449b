// korv4-cli under a memory limit (ulimit -v): every sub-command either does its work or says in
// French that memory ran out (exit 3), leaving the previous outputs as they were; gerber writes
// a layer, and fabrication a set, larger than the memory they are given.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CircuitsFabrication.h"
#include "OutilsCli.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

namespace fs = std::filesystem;
using essai::Ecrit;
using essai::Lit;
using essai::Resultat;

class CliMemoire : public essai::DossierCli {};

// 10000 placement circles of radius 600 (some 3.5 kB of Gerber each) and pads with holes.
std::vector<uint8_t> GrandeCarte() {
  fabrication::Fabrique f;
  for (int32_t k = 0; k < 10000; ++k)
    f.Dessin(4, 132, static_cast<uint8_t>(1 + k % 6), 2000 + (k % 200) * 100,
             2000 + (k / 200) * 100, 600, 0);
  for (int32_t k = 0; k < 500; ++k) f.Rec(3, 199, 2, 2000 + k * 40, 1500);
  RemplitEnteteCI(f.c, "Essai", "1/2/2026", "Moi", 31000, 31000);
  return EcritCircuit(f.c);
}

// typon's own program under every limit where korv4-cli itself starts: it prints the page, or
// says in French why it could not (its libraries not loaded, stopped before its main), exit 3.
TEST_F(CliMemoire, TyponSousToutesLesLimitesDitPourquoiEnFrancais) {
  Ecrit(Chemin("p.CIX"), GrandeCarte());
  int depart = 0;
  for (int mo = 30; mo <= 400 && depart == 0; mo += 2)
    if (Lance("info p.CIX", "ulimit -v " + std::to_string(mo * 1024)).code == 0) depart = mo;
  ASSERT_GT(depart, 0);
  bool fait = false;
  for (int ko = depart * 1024; ko <= (depart + 120) * 1024 && !fait; ko += 512) {
    const std::string limite = "ulimit -v " + std::to_string(ko);
    const Resultat r = Lance("typon --help", limite);
    const std::string contexte = limite + "\n" + r.erreur;
    fait = r.code == 0;
    if (fait) break;
    EXPECT_EQ(r.code, 3) << contexte;
    EXPECT_NE(r.erreur.find("korv4-cli: typon : le programme d'impression korv4-typon"),
              std::string::npos)
        << contexte;
    EXPECT_NE(r.erreur.find("mémoire insuffisante"), std::string::npos) << contexte;
    for (const char* anglais : {"error while loading", "terminate", "bad_alloc", "Out of memory"})
      EXPECT_EQ(r.erreur.find(anglais), std::string::npos) << contexte;
  }
  EXPECT_TRUE(fait);
}

TEST_F(CliMemoire, MemoireInsuffisanteDitEnFrancaisSansRienAbimer) {
  Ecrit(Chemin("g.CIX"), GrandeCarte());
  // The smallest limit, by steps of 10 MB, under which the tool starts and reads the board.
  int depart = 0;
  for (int mo = 40; mo <= 400 && depart == 0; mo += 10)
    if (Lance("info g.CIX", "ulimit -v " + std::to_string(mo * 1024)).code == 0) depart = mo;
  ASSERT_GT(depart, 0);
  // typon runs as a program of its own, which loads the libraries of a PDF page: its own start.
  int departTypon = 0;
  for (int mo = depart; mo <= 800 && departTypon == 0; mo += 10)
    if (Lance("typon --help", "ulimit -v " + std::to_string(mo * 1024)).code == 0) departTypon = mo;
  ASSERT_GT(departTypon, 0);

  struct Cas {
    std::string commande;
    int fait;  // the exit status of the work done
    std::vector<std::string> sorties;
  };
  const std::vector<Cas> cas = {
      {"info g.CIX --json", 0, {}},
      {"convertir g.CIX x.CIX", 0, {"x.CIX"}},
      {"image g.CIX i.png --zoom 200", 0, {"i.png"}},
      {"gerber g.CIX b", 0, {"b-FC1.GBR", "b_SER.GBR"}},
      {"percage g.CIX p.EXL", 0, {"p.EXL"}},
      {"typon g.CIX t.pdf --documents 1,2,3,4 --cadre --forcer", 0, {"t.pdf"}},
      {"fabrication g.CIX j.zip", 0, {"j.zip"}},
      {"verifier g.CIX", 5, {}},
  };
  const std::vector<uint8_t> ancien = {'a', 'n', 'c', 'i', 'e', 'n'};
  std::vector<int> manques(cas.size(), 0);
  for (int plus : {0, 10, 30, 80}) {
    for (size_t n = 0; n < cas.size(); ++n) {
      const Cas& k = cas[n];
      for (const std::string& s : k.sorties) Ecrit(Chemin(s), ancien);
      const int mo = (k.commande.rfind("typon", 0) == 0 ? departTypon : depart) + plus;
      const std::string limite = "ulimit -v " + std::to_string(mo * 1024);
      const Resultat r = Lance(k.commande, limite);
      const std::string contexte = limite + " ; " + k.commande + "\n" + r.erreur;
      for (const char* anglais : {"terminate", "bad_alloc", "what()", "Abort"})
        EXPECT_EQ(r.erreur.find(anglais), std::string::npos) << contexte;
      if (r.code == 3) {
        ++manques[n];
        EXPECT_NE(r.erreur.find("mémoire insuffisante"), std::string::npos) << contexte;
        for (const std::string& s : k.sorties) {
          // A Gerber layer written before the one that failed is whole; the others unchanged.
          const std::vector<uint8_t> octets = Lit(Chemin(s));
          if (octets != ancien) {
            EXPECT_EQ(k.commande.rfind("gerber", 0), 0u) << contexte << s;
            EXPECT_EQ(std::string(octets.end() - 6, octets.end()), "M02*\r\n") << contexte << s;
          }
        }
      } else {
        EXPECT_EQ(r.code, k.fait) << contexte;
        for (const std::string& s : k.sorties) EXPECT_NE(Lit(Chemin(s)), ancien) << contexte << s;
      }
      // No temporary file is left behind.
      for (const auto& e : fs::directory_iterator(dossier_))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos)
            << contexte << e.path();
    }
  }
  // What needs memory for its whole output runs short under the smallest limit.
  for (const char* gourmand : {"image", "typon", "verifier"}) {
    for (size_t n = 0; n < cas.size(); ++n) {
      if (cas[n].commande.rfind(gourmand, 0) == 0) {
        EXPECT_GT(manques[n], 0) << gourmand;
      }
    }
  }
  // The Gerber layer, larger than the memory left beside the tool, is written all the same: it
  // goes to the disk as it is plotted.
  EXPECT_GT(fs::file_size(Chemin("b_SER.GBR")), 30u * 1000 * 1000);
  const Resultat r = Lance("gerber g.CIX b", "ulimit -v " + std::to_string((depart + 10) * 1024));
  EXPECT_EQ(r.code, 0) << r.erreur;
  // So is the board-house set: its files go into the archive as they are made.
  const Resultat f =
      Lance("fabrication g.CIX j.zip", "ulimit -v " + std::to_string((depart + 10) * 1024));
  EXPECT_EQ(f.code, 0) << f.erreur;
  EXPECT_GT(fs::file_size(Chemin("j.zip")), 30u * 1000 * 1000);
}

// The set of a board of 98000 drilled pads packed 2.54 mm apart (each a gap of the check's
// reach from its neighbours, on both faces) within 64 MB more than the tool needs to start:
// what its check keeps of the copper is bounded by the board's size, not by the pairs it meets.
TEST_F(CliMemoire, FabricationDUneCarteDensePasseSous64Mo) {
  fabrication::Fabrique petite;
  petite.Rec(3, 198, 2, 1000, 1000);
  RemplitEnteteCI(petite.c, "Essai", "1/2/2026", "Moi", 31000, 31000);
  Ecrit(Chemin("p.CIX"), EcritCircuit(petite.c));
  int depart = 0;
  for (int mo = 20; mo <= 400 && depart == 0; mo += 2)
    if (Lance("info p.CIX", "ulimit -v " + std::to_string(mo * 1024)).code == 0) depart = mo;
  ASSERT_GT(depart, 0);
  for (const uint8_t code : {197, 198}) {
    fabrication::Fabrique f;
    for (int32_t k = 0; k < 98000; ++k)
      f.Rec(3, code, 2, 200 + (k % 313) * 100, 200 + (k / 313) * 100);
    RemplitEnteteCI(f.c, "Dense", "1/2/2026", "Moi", 31600, 31600);
    Ecrit(Chemin("d.CIX"), EcritCircuit(f.c));
    const std::string limite = "ulimit -v " + std::to_string((depart + 64) * 1024);
    const Resultat r = Lance("fabrication d.CIX d.zip", limite);
    EXPECT_EQ(r.code, 0) << limite << " ; pastille " << int{code} << "\n" << r.erreur;
  }
}

}  // namespace
}  // namespace korv4
