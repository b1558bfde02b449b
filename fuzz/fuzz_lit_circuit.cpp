// LitCircuit through the whole open pipeline (read, join, repair), then a save and a second
// read: whatever the bytes, no crash, a refusal leaves the circuit alone, and what was opened
// saves and reads back to the same bytes.

#include <vector>

#include "Verifications.h"
#include "model/Fichiers.h"

using namespace korv4;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
  const std::vector<uint8_t> octets(donnees, donnees + taille);
  Circuit& c = fuzz::CircuitVierge();
  c.NbSupprimes = 1;
  std::string erreur;
  if (!OuvreCircuit(c, octets, "fuzz.CIX", erreur)) {
    KORV4_VERIFIE(!erreur.empty());
    KORV4_VERIFIE(c.NbElements == 0 && c.NbSupprimes == 1 && c.NomFichier.empty());
    return 0;
  }
  fuzz::VerifieLimites(c);
  fuzz::VerifieGroupesFermes(c);
  KORV4_VERIFIE(c.NbSupprimes == 0);
  const std::vector<uint8_t> ecrit = EcritCircuit(c);
  static Circuit* relu = new Circuit;
  KORV4_VERIFIE(LitCircuit(*relu, ecrit, "relu.CIX", erreur));
  KORV4_VERIFIE(EcritCircuit(*relu) == ecrit);
  return 0;
}
