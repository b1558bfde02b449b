// LitAncienCircuit through the open pipeline: no crash, refusals leave the circuit alone,
// accepted files give records of the defined kinds only.

#include <vector>

#include "Verifications.h"
#include "model/Fichiers.h"

using namespace korv4;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
  const std::vector<uint8_t> octets(donnees, donnees + taille);
  Circuit& c = fuzz::CircuitVierge();
  c.NbSupprimes = 1;
  std::string erreur;
  if (!LitAncienCircuit(c, octets, "fuzz.CIP", erreur)) {
    KORV4_VERIFIE(!erreur.empty());
    KORV4_VERIFIE(c.NbElements == 0 && c.NbSupprimes == 1);
    return 0;
  }
  fuzz::VerifieLimites(c);
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    KORV4_VERIFIE(e.Code == 0 || e.Code == code::FinTexte || e.Code == code::TexteH ||
                  e.Code == code::TexteV || (e.Code >= 128 && e.Code <= 133) ||
                  (e.Code >= 161 && e.Code <= 164) || EstPastille(e.Code));
    KORV4_VERIFIE(e.X % 50 == 0 && e.Y % 50 == 0);
  }
  c.CircuitModifie = false;
  JonctionPistes(c);
  NettoyageCircuit(c);
  fuzz::VerifieLimites(c);
  fuzz::VerifieGroupesFermes(c);
  return 0;
}
