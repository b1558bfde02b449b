// InsereComposant into a circuit of 0 to 100000 records: no crash, the limit is never passed,
// a refusal leaves the circuit alone, an accepted component is the zone and writes back the
// same records.

#include <cstring>
#include <vector>

#include "Verifications.h"
#include "model/Fichiers.h"

using namespace korv4;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
  if (taille < 1) return 0;
  static constexpr int32_t kDejaLa[8] = {0, 1, 7, 1000, 99990, 99998, 99999, 100000};
  Circuit& c = fuzz::CircuitVierge();
  c.NbElements = kDejaLa[donnees[0] & 7];
  const std::vector<uint8_t> octets(donnees + 1, donnees + taille);
  const int32_t avant = c.NbElements;
  std::string erreur;
  if (!InsereComposant(c, octets, "fuzz.CPX", erreur)) {
    KORV4_VERIFIE(!erreur.empty());
    KORV4_VERIFIE(c.NbElements == avant && c.Selection.Active == 0 && !c.CircuitModifie);
    return 0;
  }
  fuzz::VerifieLimites(c);
  const TSelection& z = c.Selection;
  KORV4_VERIFIE(z.Active == 1 && z.Premier == avant + 1 && z.Dernier == c.NbElements);
  KORV4_VERIFIE(c.NbElements > avant);
  const std::vector<uint8_t> ecrit = EcritComposant(c);
  const size_t n = static_cast<size_t>(z.Dernier - z.Premier + 1);
  // The records come back as they were read, wrapped in a group when they are not one.
  KORV4_VERIFIE(ecrit.size() == kTailleEnteteComposant + kTailleElement * n ||
                ecrit.size() == kTailleEnteteComposant + kTailleElement * (n + 2));
  const size_t decalage = ecrit.size() == kTailleEnteteComposant + kTailleElement * n ? 0 : 8;
  KORV4_VERIFIE(std::memcmp(ecrit.data() + kTailleEnteteComposant + decalage,
                            octets.data() + kTailleEnteteComposant, kTailleElement * n) == 0);
  return 0;
}
