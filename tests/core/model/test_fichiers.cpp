#include <gtest/gtest.h>

#include <cstring>

#include "MagasinAleatoire.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

using essai::Rec;

struct Enregistreur : Messages {
  std::vector<std::string> recus;
  void Message(const std::string& texte) override { recus.push_back(texte); }
};

void Pose(Circuit& c, std::initializer_list<ElementCI> recs) {
  for (const ElementCI& e : recs) c.Elements[++c.NbElements] = e;
}

int32_t Lit32(const std::vector<uint8_t>& v, size_t p) {
  int32_t r;
  std::memcpy(&r, &v[p], 4);  // little-endian machine
  return r;
}
void Ecrit32(std::vector<uint8_t>& v, size_t p, int32_t x) { std::memcpy(&v[p], &x, 4); }
void Ecrit16(std::vector<uint8_t>& v, size_t p, uint16_t x) { std::memcpy(&v[p], &x, 2); }

// Everything of the circuit a failed read must leave alone.
void AttendInchange(const Circuit& a, const Circuit& b, const std::string& contexte) {
  EXPECT_TRUE(a.Elements == b.Elements) << contexte;
  EXPECT_EQ(a.NbElements, b.NbElements) << contexte;
  EXPECT_TRUE(a.Supprimes == b.Supprimes) << contexte;
  EXPECT_EQ(a.NbSupprimes, b.NbSupprimes) << contexte;
  EXPECT_EQ(a.CircuitModifie, b.CircuitModifie) << contexte;
  EXPECT_EQ(a.Selection.Active, b.Selection.Active) << contexte;
  EXPECT_EQ(a.Selection.Premier, b.Selection.Premier) << contexte;
  EXPECT_EQ(a.Selection.Dernier, b.Selection.Dernier) << contexte;
  EXPECT_EQ(a.Selection.CadreZone, b.Selection.CadreZone) << contexte;
  EXPECT_EQ(a.NomFichier, b.NomFichier) << contexte;
  EXPECT_EQ(a.EnteteCI.Titre, b.EnteteCI.Titre) << contexte;
  EXPECT_EQ(a.EnteteCI.SurfaceX, b.EnteteCI.SurfaceX) << contexte;
  EXPECT_EQ(a.EnteteCI.Nombre, b.EnteteCI.Nombre) << contexte;
  EXPECT_EQ(a.EnteteCI.DiametresPercage, b.EnteteCI.DiametresPercage) << contexte;
}

// A circuit with some of everything, an undo copy, a zone and a non-default header, to stand
// as "the circuit the user has" in the refusal tests.
Circuit CircuitEnCours() {
  Circuit c;
  Pose(c, {Rec(3, 199, 2, 500, 600), Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x40, 300, 100),
           Rec(4, 132, 1, 1000, 1000), Rec(4, 133, 1, 100, 0), Rec(2, 64, 1, 50, 50, 'A'),
           Rec(2, 79, 0, 0, 0)});
  c.Supprimes[1] = Rec(3, 193, 0, 7, 7);
  c.NbSupprimes = 1;
  c.Selection = {1, 6, 7, {50, 150, 150, 50}};
  c.CircuitModifie = true;
  c.NomFichier = "/tmp/avant.CIX";
  c.EnteteCI.Titre = "Avant";
  c.EnteteCI.SurfaceX = 20000;
  c.EnteteCI.DiametresPercage[3] = 99;
  return c;
}

std::vector<uint8_t> FichierCircuit(int nombre) {
  Circuit c;
  for (int k = 0; k < nombre; ++k)
    c.Elements[++c.NbElements] = Rec(3, 198, 1, static_cast<uint16_t>(100 + 200 * k), 300);
  RemplitEnteteCI(c, "Titre", "Le 1/2/2026", "Moi", 11820, 7880);
  return EcritCircuit(c);
}

// An old file with the given entries per group (x, y, a).
using Entrees = std::vector<std::array<uint8_t, 3>>;
std::vector<uint8_t> FichierAncien(const std::array<Entrees, 4>& groupes) {
  std::vector<uint8_t> v(kTailleEnteteAncien, 0);
  const char* titre = "Ancien";
  v[0] = static_cast<uint8_t>(std::strlen(titre));
  std::memcpy(&v[1], titre, v[0]);
  v[82] = 4;
  std::memcpy(&v[83], "1995", 4);
  v[103] = 3;
  std::memcpy(&v[104], "Lui", 3);
  for (int g = 0; g < 4; ++g) {
    Ecrit16(v, 130 + 2 * g, static_cast<uint16_t>(groupes[g].size()));
    const size_t blocs = (groupes[g].size() + 499) / 500;
    std::vector<uint8_t> b(blocs * kTailleBlocAncien, 0xEE);  // unused entries: noise
    for (size_t k = 0; k < groupes[g].size(); ++k) std::memcpy(&b[3 * k], groupes[g][k].data(), 3);
    v.insert(v.end(), b.begin(), b.end());
  }
  return v;
}

std::vector<uint8_t> FichierComposant(const std::vector<ElementCI>& recs) {
  Circuit c;
  for (const ElementCI& e : recs) c.Elements[++c.NbElements] = e;
  c.Selection = {1, 1, c.NbElements, CadreElements(c, 1, c.NbElements)};
  return EcritComposant(c);
}

TEST(FichierCircuit, DispositionEtAllerRetourExact) {
  Circuit c;
  Pose(c, {Rec(3, 199, 2, 500, 600), Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x40, 65535, 1)});
  c.EnteteCI.DiametresPercage[13] = 70;
  const std::string date = "Le 10/12/2026, \xE0 midi";  // 21 bytes, Windows-1252
  RemplitEnteteCI(c, std::string(45, 'T'), date, "Auteur", 12345, 6789);
  const std::vector<uint8_t> v = EcritCircuit(c);
  ASSERT_EQ(v.size(), 216u);
  EXPECT_EQ(Lit32(v, 124), 3);
  EXPECT_EQ(v[0], 40);
  EXPECT_EQ(v[41], 40);
  EXPECT_EQ(std::string(v.begin() + 42, v.begin() + 82), std::string(40, 'T'));
  EXPECT_EQ(v[82], 20);  // the date cut to 20
  EXPECT_EQ(Lit32(v, 128), 12345);
  EXPECT_EQ(Lit32(v, 132), 6789);
  EXPECT_EQ(Lit32(v, 136 + 4 * 13), 70);
  const uint8_t premier[8] = {3, 199, 2, 0, 0xF4, 0x01, 0x58, 0x02};
  EXPECT_EQ(std::memcmp(&v[192], premier, 8), 0);

  Circuit lu;
  std::string erreur;
  ASSERT_TRUE(LitCircuit(lu, v, "a.CIX", erreur)) << erreur;
  EXPECT_EQ(lu.NbElements, 3);
  EXPECT_EQ(lu.Elements[3], c.Elements[3]);
  EXPECT_EQ(lu.EnteteCI.Titre, std::string(40, 'T'));
  EXPECT_EQ(lu.EnteteCI.DateCI, date.substr(0, 20));
  EXPECT_EQ(lu.EnteteCI.SurfaceX, 12345);
  EXPECT_EQ(lu.EnteteCI.DiametresPercage[13], 70);
  EXPECT_EQ(EcritCircuit(lu), v);

  // A damaged length byte cannot make a field longer than its size.
  std::vector<uint8_t> abime = v;
  abime[0] = 200;
  abime[103] = 255;
  ASSERT_TRUE(LitCircuit(lu, abime, "a.CIX", erreur));
  EXPECT_EQ(lu.EnteteCI.Titre, std::string(40, 'T'));
  EXPECT_EQ(lu.EnteteCI.Auteur.size(), 20u);

  // A larger random store, and an empty one, come back byte for byte too.
  for (int n : {0, 5000}) {
    Circuit g;
    essai::MagasinAleatoire m(n);
    essai::Charge(g, m.Magasin(n, true));
    const std::vector<uint8_t> o = EcritCircuit(g);
    Circuit r;
    ASSERT_TRUE(LitCircuit(r, o, "g.CIX", erreur));
    EXPECT_EQ(EcritCircuit(r), o);
  }
}

TEST(FichierCircuit, LectureVideLaPileDAnnulationEtLaZone) {
  Circuit c = CircuitEnCours();
  std::string erreur;
  ASSERT_TRUE(LitCircuit(c, FichierCircuit(2), "b.CIX", erreur));
  EXPECT_EQ(c.NbElements, 2);
  EXPECT_EQ(c.NbSupprimes, 0);
  EXPECT_EQ(c.Selection.Active, 0);
  EXPECT_EQ(c.Selection.Premier, 0);
  EXPECT_EQ(c.EnteteCI.DiametresPercage, kDiametresPercageDefaut);
}

TEST(FichierCircuit, RefusSansToucherAuCircuit) {
  auto modifie = [](int nombre, size_t taille, int32_t annonce) {
    std::vector<uint8_t> v = FichierCircuit(nombre);
    v.resize(taille);
    if (taille >= 128) Ecrit32(v, 124, annonce);
    return v;
  };
  struct Cas {
    const char* nom;
    std::vector<uint8_t> octets;
    const char* raison;
  };
  const std::vector<Cas> cas = {
      {"vide", {}, "moins que les 192 octets"},
      {"en-tête coupé", modifie(1, 191, 0), "moins que les 192 octets"},
      {"nombre négatif", modifie(1, 200, -1), "négatif (-1)"},
      {"nombre au-delà de la limite", modifie(1, 200, 100001), "100001 éléments"},
      {"nombre énorme", modifie(1, 200, 0x7FFFFFFF), "2147483647 éléments"},
      {"plus court qu'annoncé", modifie(3, 215, 3), "216 octets mais n'en fait que 215"},
  };
  for (const Cas& k : cas) {
    Circuit c = CircuitEnCours();
    const Circuit avant = c;
    std::string erreur;
    EXPECT_FALSE(LitCircuit(c, k.octets, "/dossier/Essai.CIX", erreur)) << k.nom;
    EXPECT_NE(erreur.find("« /dossier/Essai.CIX »"), std::string::npos) << erreur;
    EXPECT_NE(erreur.find(k.raison), std::string::npos) << k.nom << ": " << erreur;
    AttendInchange(c, avant, k.nom);
  }
}

TEST(FichierAncien, Conversion) {
  Entrees pastilles(501, {1, 1, 0});
  pastilles[0] = {10, 20, 5};
  pastilles[1] = {10, 20, 7};
  pastilles[500] = {255, 255, 8};
  const std::array<Entrees, 4> groupes = {
      pastilles, Entrees{{1, 1, 4 | 1}, {2, 1, 0}, {3, 1, 8 | 3}}, Entrees{{4, 4, 6}},
      Entrees{{1, 1, 0},
              {2, 2, 2},
              {3, 3, 3},
              {1, 1, 8},
              {2, 2, 9},
              {5, 5, 'A'},
              {6, 6, 128 + 'B'},
              {7, 7, 1},
              {8, 8, 31},
              {9, 9, 4},
              {9, 9, 5}}};
  const std::vector<uint8_t> v = FichierAncien(groupes);
  ASSERT_EQ(v.size(), 150u + 2 * 1500 + 1500 + 1500 + 1500);
  Circuit c = CircuitEnCours();
  std::string erreur;
  ASSERT_TRUE(LitAncienCircuit(c, v, "vieux.CIP", erreur)) << erreur;
  ASSERT_EQ(c.NbElements, 501 + 3 + 1 + 11);
  EXPECT_EQ(c.Elements[1], Rec(3, 200, 2, 500, 1000));
  EXPECT_EQ(c.Elements[2], Rec(3, 205, 0, 500, 1000));
  EXPECT_EQ(c.Elements[3], Rec(3, 192, 0, 50, 50));
  EXPECT_EQ(c.Elements[501], Rec(3, 202, 4, 12750, 12750));
  EXPECT_EQ(c.Elements[502], Rec(1, 162, 0x80, 50, 50));
  EXPECT_EQ(c.Elements[503], Rec(1, 161, 0x60, 100, 50));
  EXPECT_EQ(c.Elements[504], Rec(1, 163, 0x40, 150, 50));
  EXPECT_EQ(c.Elements[505], Rec(2, 164, 0x80, 200, 200));
  const std::vector<ElementCI> implantation = {
      Rec(4, 79, 0, 50, 50),        Rec(4, 128, 1, 100, 100), Rec(4, 129, 1, 150, 150),
      Rec(4, 132, 1, 50, 50),       Rec(4, 133, 1, 100, 100), Rec(4, 64, 1, 250, 250, 'A'),
      Rec(4, 65, 1, 300, 300, 'B'), Rec(0, 0, 0, 350, 350),   Rec(0, 0, 0, 400, 400),
      Rec(4, 130, 1, 450, 450),     Rec(4, 131, 1, 450, 450)};
  for (size_t k = 0; k < implantation.size(); ++k)
    EXPECT_EQ(c.Elements[506 + k], implantation[k]) << k;
  EXPECT_EQ(c.Elements[c.NbElements + 1], ElementCI{});  // the store was reset first
  EXPECT_EQ(c.EnteteCI.Titre, "Ancien");
  EXPECT_EQ(c.EnteteCI.DateCI, "1995");
  EXPECT_EQ(c.EnteteCI.Auteur, "Lui");
  EXPECT_EQ(c.EnteteCI.SurfaceX, 11820);
  EXPECT_EQ(c.EnteteCI.SurfaceY, 7880);
  EXPECT_EQ(c.EnteteCI.DiametresPercage, kDiametresPercageDefaut);
  EXPECT_EQ(c.NbSupprimes, 0);
  EXPECT_EQ(c.Selection.Active, 0);
}

TEST(FichierAncien, RefusSansToucherAuCircuit) {
  std::vector<uint8_t> trop = FichierAncien({});
  for (int g = 0; g < 4; ++g) Ecrit16(trop, 130 + 2 * g, 25001);  // 100004 in all
  std::vector<uint8_t> court = FichierAncien({Entrees{{1, 1, 1}}, {}, {}, Entrees{{1, 1, 0}}});
  court.pop_back();
  struct Cas {
    const char* nom;
    std::vector<uint8_t> octets;
    const char* raison;
  };
  const std::vector<Cas> cas = {
      {"en-tête coupé", std::vector<uint8_t>(149, 0), "moins que les 150 octets"},
      {"comptes au-delà de la limite", trop, "100004 éléments"},
      {"dernier bloc coupé", court, "3150 octets mais n'en fait que 3149"},
      {"pastille de type 12", FichierAncien({Entrees{{1, 1, 3}, {1, 1, 12}}, {}, {}, {}}),
       "pastille n° 2 est d'un type inconnu (12)"},
  };
  for (const Cas& k : cas) {
    Circuit c = CircuitEnCours();
    const Circuit avant = c;
    std::string erreur;
    EXPECT_FALSE(LitAncienCircuit(c, k.octets, "vieux.CIP", erreur)) << k.nom;
    EXPECT_NE(erreur.find("« vieux.CIP »"), std::string::npos) << erreur;
    EXPECT_NE(erreur.find(k.raison), std::string::npos) << k.nom << ": " << erreur;
    AttendInchange(c, avant, k.nom);
  }
}

TEST(Composant, EcritureEnveloppeOuNon) {
  Circuit c;
  for (int k = 0; k < 10; ++k) Pose(c, {Rec(3, 198, 1, static_cast<uint16_t>(1000 + 10 * k), 700)});
  // A zone of 7 records that is not a group: wrapped.
  c.Selection = {1, 4, 10, CadreElements(c, 4, 10)};
  c.CircuitModifie = false;
  const Circuit avant = c;
  std::vector<uint8_t> v = EcritComposant(c);
  ASSERT_EQ(v.size(), 100u);
  EXPECT_EQ(v[0], 20);
  EXPECT_EQ(std::string(v.begin() + 1, v.begin() + 21), "Composant pour KORV4");
  EXPECT_EQ(Lit32(v, 24), 9);
  const uint8_t ouverture[8] = {0, 255, 0, 0, 0xD4, 0x03, 0x8A, 0x02};  // (980, 650)
  const uint8_t fermeture[8] = {0, 254, 0, 0, 0x74, 0x04, 0xEE, 0x02};  // (1140, 750)
  EXPECT_EQ(std::memcmp(&v[28], ouverture, 8), 0);
  EXPECT_EQ(std::memcmp(&v[92], fermeture, 8), 0);
  AttendInchange(c, avant, "l'écriture ne change rien");

  // Inserted back, it is exactly one group: written again unchanged, without a second wrap.
  Circuit d;
  std::string erreur;
  ASSERT_TRUE(InsereComposant(d, v, "p.CPX", erreur)) << erreur;
  EXPECT_EQ(EcritComposant(d), v);

  // Two groups side by side are wrapped in a new outer group.
  Circuit e;
  ASSERT_TRUE(InsereComposant(e, v, "p.CPX", erreur));
  ASSERT_TRUE(InsereComposant(e, v, "p.CPX", erreur));
  e.Selection = {1, 1, e.NbElements, CadreElements(e, 1, e.NbElements)};
  const std::vector<uint8_t> deux = EcritComposant(e);
  EXPECT_EQ(Lit32(deux, 24), 20);
  EXPECT_EQ(deux[28 + 1], 255);
  EXPECT_EQ(deux[28 + 19 * 8 + 1], 254);

  // No zone, or a zone that does not fit the store: nothing to write.
  c.Selection.Active = 0;
  EXPECT_TRUE(EcritComposant(c).empty());
  c.Selection = {1, 4, 11, {}};
  EXPECT_TRUE(EcritComposant(c).empty());
}

TEST(Composant, InsertionDeuxFoisEtCouches) {
  const std::vector<uint8_t> v = FichierComposant(
      {Rec(2, 163, 0x80, 100, 100), Rec(2, 163, 0x40, 300, 100), Rec(3, 199, 2, 300, 100)});
  Circuit c;
  Pose(c, {Rec(1, 198, 1, 5000, 5000)});
  c.CircuitModifie = false;
  std::string erreur;
  for (int fois = 0; fois < 2; ++fois) {
    ASSERT_TRUE(InsereComposant(c, v, "p.CPX", erreur)) << erreur;
    const int32_t premier = 2 + 5 * fois;
    EXPECT_EQ(c.Selection.Active, 1);
    EXPECT_EQ(c.Selection.Premier, premier);
    EXPECT_EQ(c.Selection.Dernier, premier + 4);
    EXPECT_EQ(c.NbElements, premier + 4);
    EXPECT_EQ(c.Elements[premier].Code, 255);
    EXPECT_EQ(c.Elements[premier + 1].Couche, 2);
    EXPECT_EQ(c.Elements[premier + 3].Couche, 3);
    EXPECT_EQ(c.Elements[premier + 4].Code, 254);
    EXPECT_EQ(c.Selection.CadreZone, (Cadre{100, 200, 400, 0}));
    EXPECT_TRUE(c.CircuitModifie);
  }
}

TEST(Composant, Refus) {
  const std::vector<uint8_t> v = FichierComposant({Rec(3, 199, 2, 300, 100)});  // 3 records
  std::vector<uint8_t> zero = v, negatif = v, court = v;
  Ecrit32(zero, 24, 0);
  Ecrit32(negatif, 24, -3);
  court.pop_back();
  struct Cas {
    const char* nom;
    std::vector<uint8_t> octets;
    int32_t nbAvant;
    const char* raison;
    bool limite;
  };
  const std::vector<Cas> cas = {
      {"en-tête coupé", std::vector<uint8_t>(v.begin(), v.begin() + 27), 0,
       "moins que les 28 octets", false},
      {"aucun élément", zero, 0, "aucun élément (il en annonce 0)", false},
      {"nombre négatif", negatif, 0, "(il en annonce -3)", false},
      {"plus court qu'annoncé", court, 0, "52 octets mais n'en fait que 51", false},
      {"dépasserait 100000", v, 99998, kMessageLimite, true},
  };
  for (const Cas& k : cas) {
    Circuit c = CircuitEnCours();
    c.NbElements = std::max(c.NbElements, k.nbAvant);
    Enregistreur messages;
    c.messages = &messages;
    const Circuit avant = c;
    std::string erreur;
    EXPECT_FALSE(InsereComposant(c, k.octets, "/c/Pied.CPX", erreur)) << k.nom;
    EXPECT_NE(erreur.find("« /c/Pied.CPX »"), std::string::npos) << erreur;
    EXPECT_NE(erreur.find(k.raison), std::string::npos) << k.nom << ": " << erreur;
    EXPECT_EQ(messages.recus,
              k.limite ? std::vector<std::string>{kMessageLimite} : std::vector<std::string>{})
        << k.nom;
    AttendInchange(c, avant, k.nom);
  }
  // The store may end exactly at the limit.
  Circuit c;
  c.NbElements = 99997;
  std::string erreur;
  EXPECT_TRUE(InsereComposant(c, v, "p.CPX", erreur)) << erreur;
  EXPECT_EQ(c.NbElements, 100000);
}

// Every prefix of a valid file is refused with the circuit untouched, except the prefixes
// that are valid files themselves (here only the whole file, as no record is optional).
TEST(Fichiers, PrefixesTronques) {
  const std::vector<uint8_t> circuit = FichierCircuit(3);
  const std::vector<uint8_t> ancien = FichierAncien({Entrees{{1, 1, 1}, {2, 2, 3}},
                                                     Entrees{{1, 1, 4}, {2, 1, 8}},
                                                     {},
                                                     Entrees{{3, 3, 'A'}, {0, 0, 0}}});
  const std::vector<uint8_t> composant = FichierComposant({Rec(3, 199, 2, 300, 100)});
  using Lecteur = bool (*)(Circuit&, const std::vector<uint8_t>&, const std::string&, std::string&);
  const struct {
    const char* nom;
    const std::vector<uint8_t>& octets;
    Lecteur lire;
  } fichiers[] = {{"circuit", circuit, LitCircuit},
                  {"ancien", ancien, LitAncienCircuit},
                  {"composant", composant, InsereComposant}};
  Circuit c = CircuitEnCours();
  const Circuit avant = c;
  for (const auto& f : fichiers) {
    for (size_t n = 0; n < f.octets.size(); ++n) {
      const std::vector<uint8_t> prefixe(f.octets.begin(), f.octets.begin() + n);
      std::string erreur;
      ASSERT_FALSE(f.lire(c, prefixe, "t", erreur)) << f.nom << " " << n;
      ASSERT_FALSE(erreur.empty());
      if (n % 97 == 0 || n + 1 == f.octets.size())
        AttendInchange(c, avant, std::string(f.nom) + " " + std::to_string(n));
    }
    std::string erreur;
    Circuit d = CircuitEnCours();
    EXPECT_TRUE(f.lire(d, f.octets, "t", erreur)) << f.nom << ": " << erreur;
  }
  AttendInchange(c, avant, "après tous les préfixes");
}

TEST(Ouverture, ParLaDerniereLettreEtMarqueModifie) {
  std::string erreur;
  // A well-formed circuit opens unmodified, whatever the case of its letter.
  for (const char* nom : {"a.CIX", "a.cix"}) {
    Circuit c = CircuitEnCours();
    ASSERT_TRUE(OuvreCircuit(c, FichierCircuit(3), nom, erreur)) << erreur;
    EXPECT_EQ(c.NbElements, 3);
    EXPECT_FALSE(c.CircuitModifie) << nom;
    EXPECT_EQ(c.NomFichier, nom);
    EXPECT_EQ(c.NbSupprimes, 0);
  }
  const std::vector<uint8_t> ancien = FichierAncien({Entrees{{1, 1, 1}}, {}, {}, {}});
  for (const char* nom : {"v.CIP", "v.cip"}) {
    Circuit c = CircuitEnCours();
    ASSERT_TRUE(OuvreCircuit(c, ancien, nom, erreur)) << erreur;
    EXPECT_EQ(c.NbElements, 1);
    EXPECT_FALSE(c.CircuitModifie);
  }
  // Any other last letter: refused, nothing changes.
  for (const char* nom : {"a.CIY", "a", ""}) {
    Circuit c = CircuitEnCours();
    const Circuit avant = c;
    EXPECT_FALSE(OuvreCircuit(c, FichierCircuit(3), nom, erreur));
    EXPECT_NE(erreur.find("format de fichier inconnu"), std::string::npos);
    AttendInchange(c, avant, nom);
  }
  // Two tracks that meet are joined at load, an open track is removed, a group gets its box:
  // each marks the circuit modified on its own.
  const std::vector<std::vector<ElementCI>> abimes = {
      {Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x40, 200, 100), Rec(1, 163, 0x80, 200, 100),
       Rec(1, 163, 0x40, 200, 300)},
      {Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x60, 200, 100)},
      {Rec(0, 255, 0, 0, 0), Rec(3, 199, 2, 500, 600), Rec(0, 254, 0, 0, 0)},
  };
  for (size_t k = 0; k < abimes.size(); ++k) {
    Circuit f;
    essai::Charge(f, abimes[k]);
    Circuit c;
    ASSERT_TRUE(OuvreCircuit(c, EcritCircuit(f), "d.CIX", erreur));
    EXPECT_TRUE(c.CircuitModifie) << k;
  }
}

// A component file ends in X too: opened, it is refused as a component, not with the count of a
// circuit header read from its bytes; a circuit titled like a component still opens.
TEST(Ouverture, UnComposantEstRefuseCommeComposant) {
  const std::vector<uint8_t> composant =
      FichierComposant({Rec(3, 199, 2, 500, 600), Rec(1, 163, 0x80, 100, 100)});
  ASSERT_TRUE(EstFichierComposant(composant));
  std::string erreur;
  for (const char* nom : {"c.CPX", "c.cpx", "Composant.CIX"}) {
    Circuit c = CircuitEnCours();
    const Circuit avant = c;
    EXPECT_FALSE(OuvreCircuit(c, composant, nom, erreur)) << nom;
    EXPECT_NE(erreur.find(std::string("« ") + nom + " » est un composant"), std::string::npos)
        << erreur;
    EXPECT_NE(erreur.find("Insertion d'un composant"), std::string::npos) << erreur;
    AttendInchange(c, avant, nom);
  }
  // Bytes that are a circuit, whose title is the component label: a circuit under a circuit's
  // name, a component under a component's name.
  Circuit titre;
  titre.Elements[++titre.NbElements] = Rec(3, 199, 2, 500, 600);
  RemplitEnteteCI(titre, kLibelleComposant, "", "", 11820, 7880);
  const std::vector<uint8_t> octets = EcritCircuit(titre);
  ASSERT_TRUE(EstFichierComposant(octets));
  Circuit c;
  EXPECT_TRUE(OuvreCircuit(c, octets, "titre.CIX", erreur)) << erreur;
  EXPECT_EQ(c.NbElements, 1);
  EXPECT_FALSE(OuvreCircuit(c, octets, "titre.CPX", erreur));
  EXPECT_FALSE(EstFichierComposant(FichierCircuit(3)));
}

}  // namespace
}  // namespace korv4
