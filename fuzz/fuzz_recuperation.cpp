// A recovery copy read from the fuzz bytes: whatever they hold, no crash, a refusal says why and
// leaves the circuit alone, and what was read writes a copy that reads back.

#include <vector>

#include "Verifications.h"
#include "model/FichierRecuperation.h"
#include "model/Fichiers.h"

using namespace korv4;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
  const std::vector<uint8_t> octets(donnees, donnees + taille);
  Circuit& c = fuzz::CircuitVierge();
  CopieRecuperation copie;
  std::string erreur;
  if (!LitRecuperation(c, copie, octets, "fuzz.recup", erreur)) {
    KORV4_VERIFIE(!erreur.empty());
    KORV4_VERIFIE(c.NbElements == 0 && c.NomFichier.empty());
    return 0;
  }
  fuzz::VerifieLimites(c);
  fuzz::VerifieGroupesFermes(c);
  KORV4_VERIFIE(c.CircuitModifie && c.NomFichier == copie.NomFichier);
  const TEnteteCI& h = c.EnteteCI;
  const std::vector<uint8_t> ecrit =
      EcritRecuperation(c, {h.Titre, h.DateCI, h.Auteur}, h.SurfaceX, h.SurfaceY, copie);
  static Circuit* relu = new Circuit;
  CopieRecuperation relue;
  KORV4_VERIFIE(LitRecuperation(*relu, relue, ecrit, "relu.recup", erreur));
  fuzz::VerifieLimites(*relu);
  KORV4_VERIFIE(relu->NbElements <= c.NbElements);
  KORV4_VERIFIE(relu->EnteteCI.DiametresPercage == h.DiametresPercage);
  KORV4_VERIFIE(relue.NomFichier == copie.NomFichier && relue.Date == copie.Date);
  return 0;
}
