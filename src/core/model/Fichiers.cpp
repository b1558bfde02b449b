// Circuit files of the current and the old format, component files, and the open pipeline.
//
// Every reader checks the whole buffer first (sizes, counts, entry codes) and only then writes
// into the circuit, so a refused file leaves the circuit as it was.

#include "model/Fichiers.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace korv4 {

namespace {

constexpr size_t kLongueurTitre = 40;
constexpr size_t kLongueurDate = 20;
constexpr size_t kLongueurAuteur = 20;

// Field offsets of the current header.
constexpr size_t kPosTitre = 0, kPosTitreBis = 41, kPosDate = 82, kPosAuteur = 103;
constexpr size_t kPosNombre = 124, kPosSurfaceX = 128, kPosSurfaceY = 132, kPosDiametres = 136;
// Field offsets of the old header.
constexpr size_t kPosAncienComptes = 130;
// Field offset of the component header.
constexpr size_t kPosNombreComposant = 24;

// Old pad entries: kind code and drill index by the entry's third byte 0..11.
constexpr uint8_t kCodeAnciennePastille[12] = {
    pastille::Ancienne, pastille::R12x22,   pastille::R22x12,   pastille::D2,
    pastille::D32,      pastille::D4,       pastille::D62,      pastille::Mire,
    pastille::D8,       pastille::Ancienne, pastille::Ancienne, pastille::Ancienne};
constexpr uint8_t kPercageAnciennePastille[12] = {0, 1, 1, 1, 1, 2, 3, 0, 4, 0, 0, 0};
// Old track entries: width code by the two low bits.
constexpr uint8_t kCodeAnciennePiste[4] = {161, 162, 164, 163};

uint16_t Lit16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

int32_t Lit32(const uint8_t* p) {
  const uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                     (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
  int32_t r;
  std::memcpy(&r, &v, sizeof r);
  return r;
}

void Ecrit32(uint8_t* p, int32_t valeur) {
  uint32_t v;
  std::memcpy(&v, &valeur, sizeof v);
  for (int k = 0; k < 4; ++k) p[k] = static_cast<uint8_t>(v >> (8 * k));
}

// A string field: one length byte, then the characters. A length above the field's size (a
// damaged file) is cut to the size.
std::string LitChaine(const uint8_t* p, size_t taille) {
  const size_t n = std::min<size_t>(p[0], taille);
  return std::string(reinterpret_cast<const char*>(p + 1), n);
}

void EcritChaine(uint8_t* p, const std::string& s, size_t taille) {
  const size_t n = std::min(s.size(), taille);
  p[0] = static_cast<uint8_t>(n);
  std::memcpy(p + 1, s.data(), n);  // the bytes after the used length stay zero
}

ElementCI LitElement(const uint8_t* p) {
  ElementCI e;
  e.Couche = p[0];
  e.Code = p[1];
  e.Attribut = p[2];
  e.Caractere = p[3];
  e.X = Lit16(p + 4);
  e.Y = Lit16(p + 6);
  return e;
}

void AjouteElement(std::vector<uint8_t>& v, const ElementCI& e) {
  v.push_back(e.Couche);
  v.push_back(e.Code);
  v.push_back(e.Attribut);
  v.push_back(e.Caractere);
  v.push_back(static_cast<uint8_t>(e.X));
  v.push_back(static_cast<uint8_t>(e.X >> 8));
  v.push_back(static_cast<uint8_t>(e.Y));
  v.push_back(static_cast<uint8_t>(e.Y >> 8));
}

std::string Fichier(const std::string& nom) { return "Le fichier « " + nom + " » "; }

std::string Tronque(const std::string& nom, uint64_t attendu, size_t present) {
  return Fichier(nom) + "est tronqué : il devrait faire " + std::to_string(attendu) +
         " octets mais n'en fait que " + std::to_string(present) + ".";
}

std::string TropCourtPourEntete(const std::string& nom, size_t present, size_t entete,
                                const char* genre) {
  return Fichier(nom) + "est trop court : " + std::to_string(present) + " octets, moins que les " +
         std::to_string(entete) + " octets de l'en-tête " + genre + ".";
}

// The zone is a valid range of the store.
bool ZoneValide(const Circuit& c) {
  const TSelection& z = c.Selection;
  return z.Active > 0 && z.Premier >= 1 && z.Premier <= z.Dernier && z.Dernier <= c.NbElements;
}

// The old file's entry (x, y, a) of a group, converted.
ElementCI ConvertitAncien(int groupe, uint8_t x, uint8_t y, uint8_t a) {
  ElementCI e;
  e.X = static_cast<uint16_t>(x * 50);
  e.Y = static_cast<uint16_t>(y * 50);
  switch (groupe) {
    case 0:  // pads (a < 12, checked before)
      e.Couche = kCouchePastilles;
      e.Code = kCodeAnciennePastille[a];
      e.Attribut = kPercageAnciennePastille[a];
      break;
    case 1:
    case 2:  // track points of face 1 and face 2
      e.Couche = static_cast<uint8_t>(groupe);
      e.Code = kCodeAnciennePiste[a & 3];
      e.Attribut = (a & 4) ? kPremierPoint : ((a & 8) ? kDernierPoint : kPointMilieu);
      break;
    default:  // placement plan
      if (a == 0) {
        e.Couche = 4;
        e.Code = code::FinTexte;
      } else if (a == 2 || a == 3 || a == 4 || a == 5 || a == 8 || a == 9) {
        static constexpr uint8_t kDessins[10] = {0, 0, 128, 129, 130, 131, 0, 0, 132, 133};
        e.Couche = 4;
        e.Code = kDessins[a];
        e.Attribut = 1;
      } else if (a >= 32 && a <= 127) {
        e.Couche = 4;
        e.Code = code::TexteH;
        e.Attribut = 1;
        e.Caractere = a;
      } else if (a >= 128) {
        e.Couche = 4;
        e.Code = code::TexteV;
        e.Attribut = 1;
        e.Caractere = static_cast<uint8_t>(a - 128);
      }
      // 1, 6, 7 and 10..31: an inert record that has only its point.
      break;
  }
  return e;
}

}  // namespace

std::vector<uint8_t> EcritCircuit(const Circuit& c) {
  return EcritCircuitAvecEntete(c, c.EnteteCI);
}

std::vector<uint8_t> EcritCircuitAvecEntete(const Circuit& c, const TEnteteCI& h) {
  const int32_t n = std::max<int32_t>(0, c.NbElements);
  std::vector<uint8_t> v(kTailleEnteteCI, 0);
  v.reserve(kTailleEnteteCI + kTailleElement * static_cast<size_t>(n));
  EcritChaine(&v[kPosTitre], h.Titre, kLongueurTitre);
  EcritChaine(&v[kPosTitreBis], h.TitreBis, kLongueurTitre);
  EcritChaine(&v[kPosDate], h.DateCI, kLongueurDate);
  EcritChaine(&v[kPosAuteur], h.Auteur, kLongueurAuteur);
  Ecrit32(&v[kPosNombre], n);
  Ecrit32(&v[kPosSurfaceX], h.SurfaceX);
  Ecrit32(&v[kPosSurfaceY], h.SurfaceY);
  for (size_t k = 0; k < h.DiametresPercage.size(); ++k)
    Ecrit32(&v[kPosDiametres + 4 * k], h.DiametresPercage[k]);
  for (int32_t i = 1; i <= n; ++i) AjouteElement(v, c.Elements[i]);
  return v;
}

bool LitCircuit(Circuit& c, const std::vector<uint8_t>& octets, const std::string& nomFichier,
                std::string& erreur) {
  if (octets.size() < kTailleEnteteCI) {
    erreur = TropCourtPourEntete(nomFichier, octets.size(), kTailleEnteteCI, "d'un circuit");
    return false;
  }
  const uint8_t* p = octets.data();
  const int32_t nombre = Lit32(p + kPosNombre);
  if (nombre < 0) {
    erreur = Fichier(nomFichier) + "est invalide : il annonce un nombre d'éléments négatif (" +
             std::to_string(nombre) + ").";
    return false;
  }
  if (nombre > kMaxElements) {
    erreur = Fichier(nomFichier) + "est invalide : il annonce " + std::to_string(nombre) +
             " éléments, plus que les " + std::to_string(kMaxElements) +
             " que peut contenir un circuit.";
    return false;
  }
  const uint64_t attendu = kTailleEnteteCI + kTailleElement * static_cast<uint64_t>(nombre);
  if (octets.size() < attendu) {
    erreur = Tronque(nomFichier, attendu, octets.size());
    return false;
  }

  TEnteteCI& h = c.EnteteCI;
  h.Titre = LitChaine(p + kPosTitre, kLongueurTitre);
  h.TitreBis = LitChaine(p + kPosTitreBis, kLongueurTitre);
  h.DateCI = LitChaine(p + kPosDate, kLongueurDate);
  h.Auteur = LitChaine(p + kPosAuteur, kLongueurAuteur);
  h.Nombre = nombre;
  h.SurfaceX = Lit32(p + kPosSurfaceX);
  h.SurfaceY = Lit32(p + kPosSurfaceY);
  for (size_t k = 0; k < h.DiametresPercage.size(); ++k)
    h.DiametresPercage[k] = Lit32(p + kPosDiametres + 4 * k);
  const uint8_t* r = p + kTailleEnteteCI;
  for (int32_t i = 1; i <= nombre; ++i, r += kTailleElement) c.Elements[i] = LitElement(r);
  c.NbElements = nombre;
  // An undo or a zone of the previous circuit must never act on this one.
  c.NbSupprimes = 0;
  c.Selection = TSelection{};
  return true;
}

bool LitAncienCircuit(Circuit& c, const std::vector<uint8_t>& octets, const std::string& nomFichier,
                      std::string& erreur) {
  if (octets.size() < kTailleEnteteAncien) {
    erreur =
        TropCourtPourEntete(nomFichier, octets.size(), kTailleEnteteAncien, "d'un ancien circuit");
    return false;
  }
  const uint8_t* p = octets.data();
  int32_t comptes[4];
  int32_t total = 0;
  uint64_t attendu = kTailleEnteteAncien;
  for (int g = 0; g < 4; ++g) {
    comptes[g] = Lit16(p + kPosAncienComptes + 2 * g);
    total += comptes[g];
    attendu +=
        kTailleBlocAncien * ((comptes[g] + kEntreesParBlocAncien - 1) / kEntreesParBlocAncien);
  }
  if (total > kMaxElements) {
    erreur = Fichier(nomFichier) + "est invalide : il annonce " + std::to_string(total) +
             " éléments (" + std::to_string(comptes[0]) + " pastilles, " +
             std::to_string(comptes[1]) + " points face 1, " + std::to_string(comptes[2]) +
             " points face 2, " + std::to_string(comptes[3]) +
             " éléments d'implantation), plus que les " + std::to_string(kMaxElements) +
             " que peut contenir un circuit.";
    return false;
  }
  if (octets.size() < attendu) {
    erreur = Tronque(nomFichier, attendu, octets.size());
    return false;
  }
  // Pad kinds are defined for 0..11 only.
  for (int32_t k = 0; k < comptes[0]; ++k) {
    const uint8_t a = p[kTailleEnteteAncien + 3 * static_cast<size_t>(k) + 2];
    if (a >= 12) {
      erreur = Fichier(nomFichier) + "est invalide : la pastille n° " + std::to_string(k + 1) +
               " est d'un type inconnu (" + std::to_string(a) + ").";
      return false;
    }
  }

  RazCircuit(c);
  TEnteteCI& h = c.EnteteCI;
  h.Titre = LitChaine(p + kPosTitre, kLongueurTitre);
  h.TitreBis = h.Titre;
  h.DateCI = LitChaine(p + kPosDate, kLongueurDate);
  h.Auteur = LitChaine(p + kPosAuteur, kLongueurAuteur);
  h.Nombre = total;
  // An old file carries no surface: the circuit gets the default one.
  h.SurfaceX = TEnteteCI{}.SurfaceX;
  h.SurfaceY = TEnteteCI{}.SurfaceY;
  int32_t n = 0;
  const uint8_t* bloc = p + kTailleEnteteAncien;
  for (int g = 0; g < 4; ++g) {
    for (int32_t k = 0; k < comptes[g]; ++k) {
      const uint8_t* e = bloc + 3 * static_cast<size_t>(k);
      c.Elements[++n] = ConvertitAncien(g, e[0], e[1], e[2]);
    }
    bloc += kTailleBlocAncien * ((comptes[g] + kEntreesParBlocAncien - 1) / kEntreesParBlocAncien);
  }
  c.NbElements = n;
  c.Selection = TSelection{};
  return true;
}

bool EstFichierComposant(const std::vector<uint8_t>& octets) {
  const size_t n = std::strlen(kLibelleComposant);
  return octets.size() > n && octets[0] == n &&
         std::memcmp(octets.data() + 1, kLibelleComposant, n) == 0;
}

namespace {

// A surface the surface dialog would refuse becomes the default one, as large as the circuit.
void RepareSurface(Circuit& c, std::string* avertissement) {
  TEnteteCI& h = c.EnteteCI;
  const auto valide = [](int32_t v) { return v > 0 && v < kSurfaceRefusee; };
  if (valide(h.SurfaceX) && valide(h.SurfaceY)) return;
  const int32_t lusX = h.SurfaceX, lusY = h.SurfaceY;
  h.SurfaceX = TEnteteCI{}.SurfaceX;
  h.SurfaceY = TEnteteCI{}.SurfaceY;
  if (c.NbElements > 0) {
    const Cadre b = CadreElements(c, 1, c.NbElements);
    h.SurfaceX = std::min(std::max(h.SurfaceX, b.Droite + 100), kSurfaceRefusee - 1);
    h.SurfaceY = std::min(std::max(h.SurfaceY, b.Haut + 100), kSurfaceRefusee - 1);
  }
  c.CircuitModifie = true;
  if (avertissement != nullptr) {
    *avertissement = "la surface de travail annoncée (" + std::to_string(lusX) + " x " +
                     std::to_string(lusY) +
                     " unités) est hors des limites (plus de 0 et moins de 800 mm de côté) : "
                     "elle est ramenée à " +
                     std::to_string(MmMontres(h.SurfaceX)) + " x " +
                     std::to_string(MmMontres(h.SurfaceY)) + " mm.";
  }
}

}  // namespace

bool OuvreCircuit(Circuit& c, const std::vector<uint8_t>& octets, const std::string& nomFichier,
                  std::string& erreur, int32_t* nombreLu, std::string* avertissement) {
  if (avertissement != nullptr) avertissement->clear();
  const char derniere = nomFichier.empty() ? '\0' : nomFichier.back();
  bool lu;
  if (derniere == 'X' || derniere == 'x') {
    // A component file (.CPX) also ends in X. Named .CPX it is a component; under another name
    // it is one when it does not read as a circuit (a circuit may be titled like a component).
    std::string extension = nomFichier.size() >= 4 ? nomFichier.substr(nomFichier.size() - 4) : "";
    for (char& ch : extension) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    const bool composant = EstFichierComposant(octets);
    if (composant && extension == ".CPX") {
      lu = false;
    } else {
      lu = LitCircuit(c, octets, nomFichier, erreur);
    }
    if (!lu && composant) {
      erreur = Fichier(nomFichier) +
               "est un composant (fichier .CPX « Composant pour KORV4 »), pas un circuit : il "
               "ne s'ouvre pas seul, il s'insère dans un circuit ouvert (Insertion d'un "
               "composant dans l'éditeur).";
    }
  } else if (derniere == 'P' || derniere == 'p') {
    lu = LitAncienCircuit(c, octets, nomFichier, erreur);
  } else {
    erreur = Fichier(nomFichier) +
             "n'est pas ouvert : format de fichier inconnu (le nom doit finir par X pour un "
             "circuit ou par P pour un ancien circuit).";
    return false;
  }
  if (!lu) return false;
  if (nombreLu != nullptr) *nombreLu = c.NbElements;
  c.NomFichier = nomFichier;
  c.CircuitModifie = false;
  JonctionPistes(c);
  NettoyageCircuit(c);
  RepareSurface(c, avertissement);
  return true;
}

void RemplitEnteteCI(Circuit& c, const std::string& titre, const std::string& date,
                     const std::string& auteur, int32_t surfaceX, int32_t surfaceY) {
  RemplitEntete(c.EnteteCI, c.NbElements, titre, date, auteur, surfaceX, surfaceY);
}

void RemplitEntete(TEnteteCI& h, int32_t nombre, const std::string& titre, const std::string& date,
                   const std::string& auteur, int32_t surfaceX, int32_t surfaceY) {
  h.Titre = titre.substr(0, kLongueurTitre);
  h.TitreBis = h.Titre;
  h.DateCI = date.substr(0, kLongueurDate);
  h.Auteur = auteur.substr(0, kLongueurAuteur);
  h.Nombre = nombre;
  h.SurfaceX = surfaceX;
  h.SurfaceY = surfaceY;
}

std::vector<uint8_t> EcritComposant(const Circuit& c) {
  if (!ZoneValide(c)) return {};
  const TSelection& z = c.Selection;
  const bool enveloppe = !EstUnGroupe(c);
  const int32_t n = z.Dernier - z.Premier + 1 + (enveloppe ? 2 : 0);
  std::vector<uint8_t> v(kTailleEnteteComposant, 0);
  v.reserve(kTailleEnteteComposant + kTailleElement * static_cast<size_t>(n));
  v[0] = static_cast<uint8_t>(std::strlen(kLibelleComposant));
  std::memcpy(&v[1], kLibelleComposant, v[0]);
  Ecrit32(&v[kPosNombreComposant], n);
  ElementCI debut, fin;
  debut.Code = code::DebutGroupe;
  debut.X = static_cast<uint16_t>(z.CadreZone.Gauche);
  debut.Y = static_cast<uint16_t>(z.CadreZone.Bas);
  fin.Code = code::FinGroupe;
  fin.X = static_cast<uint16_t>(z.CadreZone.Droite);
  fin.Y = static_cast<uint16_t>(z.CadreZone.Haut);
  if (enveloppe) AjouteElement(v, debut);
  for (int32_t i = z.Premier; i <= z.Dernier; ++i) AjouteElement(v, c.Elements[i]);
  if (enveloppe) AjouteElement(v, fin);
  return v;
}

bool InsereComposant(Circuit& c, const std::vector<uint8_t>& octets, const std::string& nom,
                     std::string& erreur) {
  if (octets.size() < kTailleEnteteComposant) {
    erreur = TropCourtPourEntete(nom, octets.size(), kTailleEnteteComposant, "d'un composant");
    return false;
  }
  const int32_t n = Lit32(octets.data() + kPosNombreComposant);
  if (n <= 0) {
    erreur = Fichier(nom) + "est invalide : le composant n'a aucun élément (il en annonce " +
             std::to_string(n) + ").";
    return false;
  }
  if (static_cast<int64_t>(c.NbElements) + n > kMaxElements) {
    MessageLimite(c);
    erreur = std::string(kMessageLimite) + " : le fichier « " + nom + " » ajouterait " +
             std::to_string(n) + " éléments aux " + std::to_string(c.NbElements) + " du circuit (" +
             std::to_string(kMaxElements) + " au plus).";
    return false;
  }
  const uint64_t attendu = kTailleEnteteComposant + kTailleElement * static_cast<uint64_t>(n);
  if (octets.size() < attendu) {
    erreur = Tronque(nom, attendu, octets.size());
    return false;
  }
  const uint8_t* r = octets.data() + kTailleEnteteComposant;
  TSelection& z = c.Selection;
  z.Premier = c.NbElements + 1;
  z.Dernier = c.NbElements + n;
  for (int32_t i = z.Premier; i <= z.Dernier; ++i, r += kTailleElement)
    c.Elements[i] = LitElement(r);
  c.NbElements = z.Dernier;
  z.Active = 1;
  z.CadreZone = CadreElements(c, z.Premier, z.Dernier);
  c.CircuitModifie = true;
  return true;
}

}  // namespace korv4
