#include <gtest/gtest.h>

#include <random>

#include "MagasinAleatoire.h"
#include "NettoyageLitteral.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

using essai::Rec;

std::vector<ElementCI> Contenu(const Circuit& c) {
  return std::vector<ElementCI>(c.Elements.begin() + 1, c.Elements.begin() + c.NbElements + 1);
}

std::string Montre(const std::vector<ElementCI>& v) {
  std::string s;
  for (const ElementCI& e : v)
    s += "[" + std::to_string(e.Couche) + " " + std::to_string(e.Code) + " " +
         std::to_string(e.Attribut) + " " + std::to_string(e.X) + "," + std::to_string(e.Y) + "]";
  return s;
}

TEST(Nettoyage, CasTypes) {
  const ElementCI pad = Rec(3, 199, 2, 500, 600);  // extent 100
  struct Cas {
    const char* nom;
    std::vector<ElementCI> avant, apres;
    bool modifie;
  };
  const std::vector<Cas> cas = {
      {"piste ouverte retirée, piste complète gardée",
       {Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x40, 200, 100), Rec(1, 163, 0x80, 0, 0),
        Rec(1, 163, 0x60, 10, 0)},
       {Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x40, 200, 100)},
       true},
      {"premier point sans suite: retiré, le record suivant reste",
       {Rec(1, 161, 0x80, 1, 1), Rec(1, 161, 0x60, 2, 2), pad},
       {pad},
       true},
      {"points milieu orphelins retirés avec leur dernier point",
       {Rec(1, 161, 0x60, 1, 1), Rec(1, 161, 0x60, 2, 2), Rec(1, 161, 0x40, 3, 3), pad},
       {pad},
       true},
      {"dessin coupé en fin de fichier", {pad, Rec(4, 128, 1, 10, 10)}, {pad}, true},
      {"second point de dessin sans premier", {Rec(4, 131, 1, 10, 10), pad}, {pad}, true},
      {"dessins appariés gardés",
       {Rec(4, 130, 1, 10, 10), Rec(4, 131, 1, 20, 30), Rec(4, 132, 1, 50, 50),
        Rec(4, 133, 1, 5, 0)},
       {Rec(4, 130, 1, 10, 10), Rec(4, 131, 1, 20, 30), Rec(4, 132, 1, 50, 50),
        Rec(4, 133, 1, 5, 0)},
       false},
      {"groupe sans fermeture: l'ouverture part, le contenu reste",
       {Rec(0, 255, 0, 400, 500), pad},
       {pad},
       true},
      {"fermeture sans ouverture laissée",
       {Rec(0, 254, 0, 5, 5), pad},
       {Rec(0, 254, 0, 5, 5), pad},
       false},
      {"marqueurs recalculés, groupes imbriqués",
       {Rec(0, 255, 0, 0, 0), pad, Rec(0, 255, 0, 9, 9), Rec(4, 128, 1, 1000, 50),
        Rec(4, 129, 1, 1200, 80), Rec(0, 254, 0, 9, 9), Rec(0, 254, 0, 0, 0)},
       {Rec(0, 255, 0, 400, 50), pad, Rec(0, 255, 0, 1000, 50), Rec(4, 128, 1, 1000, 50),
        Rec(4, 129, 1, 1200, 80), Rec(0, 254, 0, 1200, 80), Rec(0, 254, 0, 1200, 700)},
       true},
      {"marqueurs déjà justes: rien ne change",
       {Rec(0, 255, 0, 400, 500), pad, Rec(0, 254, 0, 600, 700)},
       {Rec(0, 255, 0, 400, 500), pad, Rec(0, 254, 0, 600, 700)},
       false},
      {"groupe vide: marqueurs au cadre de départ",
       {Rec(0, 255, 0, 1, 1), Rec(0, 254, 0, 1, 1)},
       {Rec(0, 255, 0, 32767, 32767), Rec(0, 254, 0, 0, 0)},
       true},
  };
  for (const Cas& k : cas) {
    Circuit c;
    essai::Charge(c, k.avant);
    NettoyageCircuit(c);
    EXPECT_EQ(Montre(Contenu(c)), Montre(k.apres)) << k.nom;
    EXPECT_EQ(c.CircuitModifie, k.modifie) << k.nom;
  }
}

// Stores of raw records from a small alphabet of codes and roles: every kind of damage,
// circles whose radius record is a marker, markers with track roles...
std::vector<ElementCI> MagasinBrut(std::mt19937& g, int n) {
  static const uint8_t codes[] = {0,   64,  79,  128, 129, 130, 131, 132, 133, 134, 135,
                                  161, 163, 192, 199, 254, 255, 255, 254, 132, 200};
  static const uint8_t attrs[] = {0, 1, 2, 0x40, 0x60, 0x80, 0x80, 0x40, 0x60, 9};
  auto tire = [&](int de, int a) { return std::uniform_int_distribution<int>(de, a)(g); };
  std::vector<ElementCI> v;
  for (int k = 0; k < n; ++k)
    v.push_back(Rec(static_cast<uint8_t>(tire(0, 4)), codes[tire(0, 20)], attrs[tire(0, 9)],
                    static_cast<uint16_t>(tire(0, 3) == 0 ? tire(0, 65535) : tire(0, 400)),
                    static_cast<uint16_t>(tire(0, 3) == 0 ? tire(0, 65535) : tire(0, 400))));
  return v;
}

TEST(Nettoyage, CommeLaVersionLitterale) {
  Circuit rapide, litteral;
  for (uint32_t graine = 0; graine < 4000; ++graine) {
    essai::MagasinAleatoire m(graine);
    const std::vector<ElementCI> v = graine % 3 == 2 ? MagasinBrut(m.Generateur(), m.Tire(0, 120))
                                                     : m.Magasin(m.Tire(0, 250), graine % 3 == 1);
    essai::Charge(rapide, v);
    essai::Charge(litteral, v);
    NettoyageCircuit(rapide);
    litteral::NettoyageCircuit(litteral);
    ASSERT_EQ(rapide.NbElements, litteral.NbElements) << "graine " << graine;
    ASSERT_EQ(Montre(Contenu(rapide)), Montre(Contenu(litteral))) << "graine " << graine;
    ASSERT_EQ(rapide.CircuitModifie, litteral.CircuitModifie) << "graine " << graine;
  }
}

}  // namespace
}  // namespace korv4
