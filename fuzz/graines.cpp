// Writes the seed corpus of every fuzz target into DOSSIER/<target>/ (fuzz/corpus/ in the
// repository): the fixture boards of the manufacturing tests as circuit files, old-format files,
// components, stores with scripts of model operations, recovery copies, and editor scripts of
// hundreds of gestures (every toggle button used in turn, random ones), and the gesture
// dictionary of fuzz_editeur. Run again when a file format or the gesture coding changes:
//   build/korv4-graines fuzz/corpus
// Every file is made the same way on every run (no clock, a fixed random sequence).

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../tests/cli/CircuitsFabrication.h"
#include "editeur/Controles.h"
#include "model/FichierRecuperation.h"
#include "model/Fichiers.h"

using namespace korv4;
namespace fs = std::filesystem;

namespace {

fs::path racine;

void Ecrit(const std::string& cible, const std::string& nom, const std::vector<uint8_t>& v) {
  fs::create_directories(racine / cible);
  std::ofstream f(racine / cible / nom, std::ios::binary);
  f.write(reinterpret_cast<const char*>(v.data()), static_cast<std::streamsize>(v.size()));
}

struct Carte {
  const char* nom;
  Circuit c;
};

std::vector<Carte> Cartes() {
  std::vector<Carte> cartes = {{"complete", fabrication::CarteComplete()},
                               {"simple_face", fabrication::CarteSimpleFace()},
                               {"mesure", fabrication::CarteMesure()},
                               {"pions", fabrication::CartePions()}};
  // A group of two pads and a track, as an inserted component leaves it.
  fabrication::Fabrique g;
  g.Rec(3, 242, 0, 900, 900);
  g.Rec(3, 198, 1, 1000, 1000);
  g.Rec(3, 198, 1, 1300, 1000);
  g.Piste(1, 161, {{1000, 1000}, {1300, 1000}});
  g.Rec(3, 243, 0, 1400, 1100);
  cartes.push_back({"groupe", g.c});
  for (Carte& k : cartes) RemplitEnteteCI(k.c, "Graine", "1/2/2026", "KORV4", 11820, 7880);
  return cartes;
}

// An old-format file: entries (x, y, a) per group (pads, face 1, face 2, placement).
using Entrees = std::vector<std::array<uint8_t, 3>>;
std::vector<uint8_t> Ancien(const std::array<Entrees, 4>& groupes) {
  std::vector<uint8_t> v(kTailleEnteteAncien, 0);
  const std::string titre = "Ancien", date = "1995", auteur = "Lui";
  v[0] = static_cast<uint8_t>(titre.size());
  std::copy(titre.begin(), titre.end(), v.begin() + 1);
  v[82] = static_cast<uint8_t>(date.size());
  std::copy(date.begin(), date.end(), v.begin() + 83);
  v[103] = static_cast<uint8_t>(auteur.size());
  std::copy(auteur.begin(), auteur.end(), v.begin() + 104);
  for (size_t g = 0; g < 4; ++g) {
    const size_t n = groupes[g].size();
    v[130 + 2 * g] = static_cast<uint8_t>(n & 0xFF);
    v[131 + 2 * g] = static_cast<uint8_t>(n >> 8);
    std::vector<uint8_t> b((n + kEntreesParBlocAncien - 1) / kEntreesParBlocAncien *
                           kTailleBlocAncien);
    for (size_t k = 0; k < n; ++k) std::copy(groupes[g][k].begin(), groupes[g][k].end(), &b[3 * k]);
    v.insert(v.end(), b.begin(), b.end());
  }
  return v;
}

// A store for fuzz_modele: its count, its records, then a script of operations (two bytes
// each, and the points the operation reads).
std::vector<uint8_t> Modele(const Circuit& c, uint32_t graine) {
  std::vector<uint8_t> v;
  const int32_t n = std::min<int32_t>(c.NbElements, 1000);
  v.push_back(static_cast<uint8_t>(n & 0xFF));
  v.push_back(static_cast<uint8_t>(n >> 8));
  for (int32_t i = 1; i <= n; ++i) {
    const ElementCI& e = c.Elements[i];
    v.insert(v.end(), {e.Couche, e.Code, e.Attribut, e.Caractere, static_cast<uint8_t>(e.X & 0xFF),
                       static_cast<uint8_t>(e.X >> 8), static_cast<uint8_t>(e.Y & 0xFF),
                       static_cast<uint8_t>(e.Y >> 8)});
  }
  uint32_t x = graine;
  for (int pas = 0; pas < 48; ++pas) {
    v.push_back(static_cast<uint8_t>(pas % 16));  // every operation in turn
    for (int k = 0; k < 5; ++k) {
      x = x * 1103515245u + 12345u;
      v.push_back(static_cast<uint8_t>(x >> 16));
    }
  }
  return v;
}

// Gestures of fuzz_editeur (three bytes each, see tests/core/editeur/Gestes.h).
struct Script {
  std::vector<uint8_t> v;
  void Geste(uint8_t op, uint8_t a, uint8_t b) { v.insert(v.end(), {op, a, b}); }
  void Clic(Controle k) {
    const int i = Index(k) - 1;
    Geste(0, static_cast<uint8_t>(i / 256), static_cast<uint8_t>(i % 256));
  }
  void Appui(uint8_t a, uint8_t b) { Geste(1, a, b); }
  void Relache(uint8_t a, uint8_t b) { Geste(2, a, b); }
  void Bouge(uint8_t a, uint8_t b) { Geste(3, a, b); }
  // A right click near (a, b) with the popup choice `choix` (b chooses it: b % 9).
  void Droit(uint8_t a, uint8_t b, uint8_t choix) {
    Geste(4, a, static_cast<uint8_t>(b - b % 9 + choix % 9));
  }
  void Touche(uint8_t k) { Geste(5, k, 0); }
  void Texte(uint8_t lettre, uint8_t longueur) { Geste(6, lettre, longueur); }
};

constexpr std::array<Controle, 4> kTravaux = {
    Controle::BoutonAffichageFace1, Controle::BoutonAffichageFace2,
    Controle::BoutonAffichageImplantation, Controle::BoutonAffichagePercage};

// Every toggle button of the main window, one part of them per script: in each work, the tool
// is chosen and used (presses, moves, releases, a right click, keys), then undone and redone.
std::vector<uint8_t> ScriptOutils(int partie, int parties) {
  Script s;
  s.Texte(0, 3);
  s.Texte(7, 1);
  int n = 0;
  for (int i = 1; i < kNombreControles; ++i) {
    const Controle k = static_cast<Controle>(i);
    if (Definition(k).Type != Genre::Bascule || i % parties != partie) continue;
    const uint8_t a = static_cast<uint8_t>(30 + (n * 7) % 60),
                  b = static_cast<uint8_t>(30 + (n * 11) % 60);
    s.Clic(kTravaux[static_cast<size_t>(n % 4)]);
    s.Clic(k);
    s.Appui(a, b);
    s.Bouge(static_cast<uint8_t>(a + 4), b);
    s.Relache(static_cast<uint8_t>(a + 4), b);
    s.Appui(static_cast<uint8_t>(a + 4), static_cast<uint8_t>(b + 6));
    s.Relache(static_cast<uint8_t>(a + 4), static_cast<uint8_t>(b + 6));
    s.Appui(a, static_cast<uint8_t>(b + 6));
    s.Relache(a, static_cast<uint8_t>(b + 6));
    s.Touche(5);  // Escape
    s.Droit(static_cast<uint8_t>(a + 2), static_cast<uint8_t>(b + 3), static_cast<uint8_t>(n % 9));
    s.Touche(4);  // space
    s.Texte(static_cast<uint8_t>(n), 2);
    s.Clic(Controle::Defaire1);
    s.Clic(Controle::Refaire1);
    ++n;
  }
  return s.v;
}

// Random gestures from a fixed sequence, mostly on the drawing area.
std::vector<uint8_t> ScriptAuHasard(uint32_t graine, int gestes) {
  Script s;
  uint32_t x = graine;
  auto Suivant = [&x]() {
    x = x * 1664525u + 1013904223u;
    return static_cast<uint8_t>(x >> 24);
  };
  for (int k = 0; k < gestes; ++k) {
    const uint8_t op = Suivant() % 9;
    s.Geste(op, static_cast<uint8_t>(20 + Suivant() % 100),
            static_cast<uint8_t>(20 + Suivant() % 100));
  }
  return s.v;
}

std::string Octets(const std::vector<uint8_t>& v) {
  std::string t;
  char h[8];
  for (uint8_t o : v) {
    std::snprintf(h, sizeof h, "\\x%02X", o);
    t += h;
  }
  return t;
}

// The gestures as a libFuzzer dictionary: a click on each control, each key, each popup choice,
// a typed text, a press and release at a grid point.
void Dictionnaire(const fs::path& chemin) {
  std::ofstream f(chemin);
  f << "# Gestures of fuzz_editeur (three bytes each: operation, a, b), made by korv4-graines.\n";
  for (int i = 1; i < kNombreControles; ++i) {
    Script s;
    s.Clic(static_cast<Controle>(i));
    f << "clic_" << Definition(static_cast<Controle>(i)).Nom << "=\"" << Octets(s.v) << "\"\n";
  }
  for (uint8_t k = 0; k < 10; ++k) {
    Script s;
    s.Touche(k);
    f << "touche_" << int{k} << "=\"" << Octets(s.v) << "\"\n";
  }
  for (uint8_t k = 0; k < 9; ++k) {
    Script s;
    s.Droit(60, 60, k);
    f << "droit_" << int{k} << "=\"" << Octets(s.v) << "\"\n";
  }
  Script t;
  t.Texte(0, 3);
  f << "texte=\"" << Octets(t.v) << "\"\n";
  Script g;
  g.Appui(60, 60);
  g.Relache(64, 60);
  f << "glisse=\"" << Octets(g.v) << "\"\n";
  Script c;
  c.Appui(60, 60);
  c.Relache(60, 60);
  f << "clic_zone=\"" << Octets(c.v) << "\"\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Utilisation : korv4-graines DOSSIER (fuzz/corpus)\n");
    return 1;
  }
  racine = fs::absolute(argv[1]).lexically_normal();
  if (racine.filename().empty()) racine = racine.parent_path();
  const std::vector<Carte> cartes = Cartes();
  uint8_t choix = 0;
  for (const Carte& k : cartes) {
    const std::vector<uint8_t> fichier = EcritCircuit(k.c);
    Ecrit("fuzz_lit_circuit", std::string(k.nom) + ".CIX", fichier);
    // fuzz_exporte: a first byte of choices (even: the bytes are a .CIX file), then the file.
    std::vector<uint8_t> exporte = {static_cast<uint8_t>(choix)};
    choix += 0x36;
    exporte.insert(exporte.end(), fichier.begin(), fichier.end());
    Ecrit("fuzz_exporte", std::string(k.nom) + ".CIX", exporte);
    uint32_t graine = 1;
    for (char ch : std::string(k.nom)) graine = graine * 31 + static_cast<uint8_t>(ch);
    Ecrit("fuzz_modele", k.nom, Modele(k.c, graine));
    Ecrit("fuzz_recuperation", std::string(k.nom) + ".recup",
          EcritRecuperation(k.c, {"Graine", "1/2/2026", "KORV4"}, 11820, 7880,
                            {"/circuits/" + std::string(k.nom) + ".CIX", 1767225600}));
  }
  Ecrit("fuzz_lit_circuit", "vide.CIX", EcritCircuit(Circuit{}));

  // Old files: every pad kind, tracks with their first and last points, drawings and texts.
  Entrees pastilles, face1, face2, implantation;
  for (uint8_t a = 0; a < 12; ++a) pastilles.push_back({static_cast<uint8_t>(10 + 3 * a), 10, a});
  for (uint8_t a = 0; a < 4; ++a) {
    face1.push_back({10, static_cast<uint8_t>(20 + a), static_cast<uint8_t>(a | 4)});
    face1.push_back({30, static_cast<uint8_t>(20 + a), a});
    face1.push_back({40, static_cast<uint8_t>(25 + a), static_cast<uint8_t>(a | 8)});
    face2.push_back({12, static_cast<uint8_t>(30 + a), static_cast<uint8_t>(a | 4)});
    face2.push_back({42, static_cast<uint8_t>(30 + a), static_cast<uint8_t>(a | 8)});
  }
  for (uint8_t a : {2, 3, 4, 5, 8, 9})
    implantation.push_back({static_cast<uint8_t>(50 + a), 50, a});
  for (uint8_t a : {uint8_t{'K'}, uint8_t{'O'}, uint8_t{'R'}, uint8_t{'V'}, uint8_t{0}})
    implantation.push_back({static_cast<uint8_t>(a % 40 + 60), 60, a});
  implantation.push_back({70, 70, 200});
  Ecrit("fuzz_lit_ancien", "complet.CIP", Ancien({pastilles, face1, face2, implantation}));
  Ecrit("fuzz_lit_ancien", "pastilles.CIP", Ancien({pastilles, {}, {}, {}}));
  Ecrit("fuzz_lit_ancien", "vide.CIP", Ancien({}));
  std::vector<uint8_t> ancien = {0x41};  // odd: an old-format file
  const std::vector<uint8_t> complet = Ancien({pastilles, face1, face2, implantation});
  ancien.insert(ancien.end(), complet.begin(), complet.end());
  Ecrit("fuzz_exporte", "ancien.CIP", ancien);

  // Components into stores of several sizes (the first byte chooses how full the store is).
  const std::vector<uint8_t> tailles = {0, 3, 7};
  int n = 0;
  for (const Carte& k : cartes) {
    Circuit c = k.c;
    c.Selection = TSelection{1, 1, c.NbElements, CadreElements(c, 1, c.NbElements)};
    std::vector<uint8_t> v = {tailles[static_cast<size_t>(n++) % tailles.size()]};
    const std::vector<uint8_t> composant = EcritComposant(c);
    v.insert(v.end(), composant.begin(), composant.end());
    Ecrit("fuzz_insere_composant", std::string(k.nom) + ".CPX", v);
  }

  // Editor scripts of hundreds of gestures.
  for (int partie = 0; partie < 4; ++partie)
    Ecrit("fuzz_editeur", "outils_" + std::to_string(partie), ScriptOutils(partie, 4));
  for (uint32_t graine : {1u, 2u, 3u})
    Ecrit("fuzz_editeur", "hasard_" + std::to_string(graine), ScriptAuHasard(graine, 400));
  Dictionnaire(racine.parent_path() / "fuzz_editeur.dict");
  return 0;
}
