#include "model/FichierRecuperation.h"

#include <cstring>

#include "model/Fichiers.h"
#include "model/TexteAffichable.h"

namespace korv4 {

namespace {

// "KORV4 recuperation", then the version of the layout.
constexpr char kSignature[] = "KORV4 recuperation";
constexpr size_t kTailleSignature = sizeof(kSignature) - 1;
constexpr uint32_t kVersion = 1;
constexpr size_t kLongueurNomMax = 4096;

void Ajoute32(std::vector<uint8_t>& v, uint32_t x) {
  for (int k = 0; k < 4; ++k) v.push_back(static_cast<uint8_t>(x >> (8 * k)));
}

uint32_t Lit32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

std::vector<uint8_t> EcritRecuperation(const Circuit& c, const std::array<std::string, 3>& titres,
                                       int32_t surfaceX, int32_t surfaceY,
                                       const CopieRecuperation& copie) {
  // The header as a save would fill it, without touching the circuit.
  TEnteteCI entete = c.EnteteCI;
  RemplitEntete(entete, c.NbElements, titres[0], titres[1], titres[2], surfaceX, surfaceY);
  std::vector<uint8_t> v(kSignature, kSignature + kTailleSignature);
  Ajoute32(v, kVersion);
  const uint64_t date = static_cast<uint64_t>(copie.Date);
  Ajoute32(v, static_cast<uint32_t>(date));
  Ajoute32(v, static_cast<uint32_t>(date >> 32));
  const std::string nom = copie.NomFichier.substr(0, kLongueurNomMax);
  Ajoute32(v, static_cast<uint32_t>(nom.size()));
  v.insert(v.end(), nom.begin(), nom.end());
  std::vector<uint8_t> circuit = EcritCircuitAvecEntete(c, entete);
  v.insert(v.end(), circuit.begin(), circuit.end());
  return v;
}

bool LitRecuperation(Circuit& c, CopieRecuperation& copie, const std::vector<uint8_t>& octets,
                     const std::string& nomCopie, std::string& erreur) {
  const std::string fichier = "La copie de récupération « " + nomCopie + " » ";
  const size_t fixe = kTailleSignature + 16;
  if (octets.size() < fixe || std::memcmp(octets.data(), kSignature, kTailleSignature) != 0) {
    erreur = fichier + "n'est pas une copie de récupération de KORV4.";
    return false;
  }
  const uint8_t* p = octets.data() + kTailleSignature;
  if (Lit32(p) != kVersion) {
    erreur =
        fichier + "vient d'une autre version de KORV4 (version " + std::to_string(Lit32(p)) + ").";
    return false;
  }
  const int64_t date = static_cast<int64_t>(static_cast<uint64_t>(Lit32(p + 4)) |
                                            static_cast<uint64_t>(Lit32(p + 8)) << 32);
  const uint32_t longueur = Lit32(p + 12);
  if (longueur > kLongueurNomMax || octets.size() - fixe < longueur) {
    erreur = fichier + "est endommagée : le nom du circuit qu'elle annonce dépasse la copie.";
    return false;
  }
  const std::string nom(reinterpret_cast<const char*>(octets.data() + fixe), longueur);
  const std::vector<uint8_t> circuit(octets.begin() + static_cast<std::ptrdiff_t>(fixe + longueur),
                                     octets.end());
  Circuit lu = c;
  std::string raison;
  if (!LitCircuit(lu, circuit, nomCopie, raison)) {
    erreur = fichier + "est endommagée : " + raison;
    return false;
  }
  JonctionPistes(lu);
  NettoyageCircuit(lu);
  lu.NomFichier = nom;
  lu.CircuitModifie = true;
  c = std::move(lu);
  copie.NomFichier = nom;
  copie.Date = date;
  return true;
}

bool CheminDeCircuitPlausible(const std::string& nom) {
  if (nom.size() < 5 || nom.size() > 4095 || nom[0] != '/' || !EstTexteSimple(nom)) return false;
  for (size_t debut = 1; debut <= nom.size();) {
    size_t fin = nom.find('/', debut);
    if (fin == std::string::npos) fin = nom.size();
    const std::string pas = nom.substr(debut, fin - debut);
    if (pas.empty() || pas == "." || pas == "..") return false;
    debut = fin + 1;
  }
  std::string extension = nom.substr(nom.size() - 4);
  for (char& ch : extension) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return extension == ".CIX" || extension == ".CIP";
}

}  // namespace korv4
