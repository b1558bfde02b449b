#pragma once

#include <array>
#include <cstdint>
#include <iterator>

// The record of the store, its kind codes and the fixed tables that give each kind its sizes.

namespace korv4 {

// One element record: the same 8 bytes in memory and in circuit and component files.
struct ElementCI {
  uint8_t Couche = 0;     // layer mask
  uint8_t Code = 0;       // kind code
  uint8_t Attribut = 0;   // point role, drill index, thickness or size index
  uint8_t Caractere = 0;  // character code of a text character (Windows-1252)
  uint16_t X = 0;         // units of 1/100 pas (circle second record: the radius)
  uint16_t Y = 0;

  bool operator==(const ElementCI& o) const {
    return Couche == o.Couche && Code == o.Code && Attribut == o.Attribut &&
           Caractere == o.Caractere && X == o.X && Y == o.Y;
  }
  bool operator!=(const ElementCI& o) const { return !(*this == o); }
};
static_assert(sizeof(ElementCI) == 8, "an element record is 8 bytes");

// Capacity of the store: live records are 1..NbElements, index 0 is never used.
constexpr int32_t kMaxElements = 100000;
constexpr const char* kMessageLimite = "Le nombre d'éléments du circuit est trop important";

// Track point roles (Attribut of codes 161..166).
constexpr uint8_t kPremierPoint = 0x80;
constexpr uint8_t kPointMilieu = 0x60;
constexpr uint8_t kDernierPoint = 0x40;

// Kind codes.
namespace code {
constexpr uint8_t TexteH = 64, TexteV = 65, TexteHMiroir = 68, TexteVMiroir = 69;
constexpr uint8_t FinTexte = 79;
constexpr uint8_t Trait1 = 128, Trait2 = 129, Rectangle1 = 130, Rectangle2 = 131;
constexpr uint8_t Cercle = 132, Rayon = 133, Ellipse1 = 134, Ellipse2 = 135;
constexpr uint8_t PisteSansLargeur = 160, PistePremier = 161, PisteDernier = 166;
constexpr uint8_t FinGroupe = 254, DebutGroupe = 255;
}  // namespace code

// Pad kinds: one row each in model/Pastilles.def.
namespace pastille {
#define P(nom, code, libelle, forme, a, b, l, h, rayon, encombrement, percage, jumelle, cuivre, \
          metallise, trouvee, gerber, fichier, dcode, ouverture, ronde)                         \
  constexpr uint8_t nom = code;
#include "model/Pastilles.def"
#undef P
}  // namespace pastille

// How the screen draws a pad kind (see Pastilles.def).
enum class FormePastille : uint8_t { Rectangle, Ronde, Mire, Trou };
// What the copper layers' Gerber files do with it.
enum class GerberPastille : uint8_t { Eclair, Mire, Rien };
// What the drill files do with it.
enum class PercagePastille : uint8_t { Trou, Pion };

// The facts of one pad kind: a row of Pastilles.def.
struct SortePastille {
  uint8_t Code;
  const char* Nom;  // French, UTF-8
  FormePastille Forme;
  std::array<int32_t, 2> Ecran;    // half-sizes on the screen, tenths of a unit
  std::array<int32_t, 2> Contour;  // half-width, half-height a zone must hold, units
  int32_t Rayon;                   // hit half-size, units
  int32_t Encombrement;            // half-size in the board's box, units
  uint8_t Percage;                 // drill index of a new pad
  uint8_t Jumelle;                 // the kind a quarter turn makes of it
  bool Cuivre;                     // a copper land
  bool Metallise;                  // a plated hole
  bool Trouvee;                    // seen by the finders and the placement check
  GerberPastille Gerber;
  PercagePastille Fichier;     // its treatment in the drill files
  int DCode;                   // its aperture in the Gerber files
  const char* Ouverture;       // the aperture's definition; null when never plotted
  const char* OuvertureRonde;  // the definition for circular pads; null when the same
};

constexpr SortePastille kSortesPastille[] = {
#define P(nom, code, libelle, forme, a, b, l, h, rayon, encombrement, percage, jumelle, cuivre, \
          metallise, trouvee, gerber, fichier, dcode, ouverture, ronde)                         \
  {code,                                                                                        \
   libelle,                                                                                     \
   FormePastille::forme,                                                                        \
   {a, b},                                                                                      \
   {l, h},                                                                                      \
   rayon,                                                                                       \
   encombrement,                                                                                \
   percage,                                                                                     \
   pastille::jumelle,                                                                           \
   cuivre != 0,                                                                                 \
   metallise != 0,                                                                              \
   trouvee != 0,                                                                                \
   GerberPastille::gerber,                                                                      \
   PercagePastille::fichier,                                                                    \
   dcode,                                                                                       \
   ouverture,                                                                                   \
   ronde},
#include "model/Pastilles.def"
#undef P
};
constexpr int kNbSortesPastille = static_cast<int>(std::size(kSortesPastille));

namespace code {
constexpr uint8_t PastillePremier = kSortesPastille[0].Code;
constexpr uint8_t PastilleDernier = kSortesPastille[kNbSortesPastille - 1].Code;
}  // namespace code

constexpr bool SortesPastilleEnOrdre() {
  for (int k = 0; k < kNbSortesPastille; ++k) {
    const SortePastille& s = kSortesPastille[k];
    if (s.Code != code::PastillePremier + k) return false;
    // A copper land is flashed, and only a copper land; only a copper land is plated.
    if (s.Cuivre != (s.Gerber == GerberPastille::Eclair) || (s.Metallise && !s.Cuivre))
      return false;
    // A quarter turn twice gives the kind back.
    const int j = s.Jumelle - code::PastillePremier;
    if (j < 0 || j >= kNbSortesPastille || kSortesPastille[j].Jumelle != s.Code) return false;
    // What the files plot has an aperture.
    if ((s.Gerber != GerberPastille::Rien) != (s.Ouverture != nullptr)) return false;
  }
  return true;
}
static_assert(SortesPastilleEnOrdre(),
              "Pastilles.def: codes in order, copper flashed, twins paired, apertures given");

// Layer masks of the works 0..8 (only 0..4 are used): face 1, face 2, placement, drilling.
constexpr std::array<uint8_t, 9> MasqueTravail = {0, 1, 2, 4, 8, 16, 32, 64, 128};
constexpr uint8_t kCouchePastilles = 3;

// Track width in units, indexed by track code (161..166); 0 elsewhere.
int32_t LargeurPiste(uint8_t code);

// Character pitch in units by text size index 0..7.
constexpr std::array<int32_t, 8> PasTexte = {50, 100, 150, 200, 250, 300, 350, 400};
// Pitch of a size index as stored (indexes above 7 only come from damaged files).
inline int32_t PasTexteDe(uint8_t taille) { return PasTexte[taille & 7]; }

// Drill diameters in tenths of a millimetre, index 0 = no hole.
constexpr std::array<int32_t, 14> kDiametresPercageDefaut = {0,  8,  10, 12, 15, 20, 25,
                                                             32, 40, 45, 50, 55, 60, 65};

// A record laid out as a track point: the kinds tools create (161..166, each with its width)
// and 160, which no tool creates but a file may hold: it is drawn, carried and exported as a
// track of the thinnest pen.
inline bool EstPiste(uint8_t c) { return c >= code::PisteSansLargeur && c <= code::PisteDernier; }
// A track kind a tool creates, with a width: what the finders point at.
inline bool EstPisteCreee(uint8_t c) { return c >= code::PistePremier && c <= code::PisteDernier; }
// The first and the second point of a line, rectangle, circle or ellipse.
inline bool EstPremierPointDessin(uint8_t c) {
  return c == code::Trait1 || c == code::Rectangle1 || c == code::Cercle || c == code::Ellipse1;
}
inline bool EstSecondPointDessin(uint8_t c) {
  return c == code::Trait2 || c == code::Rectangle2 || c == code::Rayon || c == code::Ellipse2;
}
inline bool EstPastille(uint8_t c) {
  return c >= code::PastillePremier && c <= code::PastilleDernier;
}
// The row of a pad kind (its place in the table, the shape index of the drawing), and its
// facts; only for a pad kind (EstPastille).
inline int IndicePastille(uint8_t c) { return c - code::PastillePremier; }
inline const SortePastille& SortePastilleDe(uint8_t c) {
  return kSortesPastille[IndicePastille(c)];
}
// The facts the readers ask most, false or 0 for any other kind.
inline bool EstPastilleCuivre(uint8_t c) { return EstPastille(c) && SortePastilleDe(c).Cuivre; }
inline bool EstPastilleMetallisee(uint8_t c) {
  return EstPastille(c) && SortePastilleDe(c).Metallise;
}
inline bool EstPastilleTrouvee(uint8_t c) { return EstPastille(c) && SortePastilleDe(c).Trouvee; }
inline bool EstMire(uint8_t c) {
  return EstPastille(c) && SortePastilleDe(c).Fichier == PercagePastille::Pion;
}
// A pad whose hole the drill files take from the drill table (by its index 1..13).
inline bool EstPastillePercee(uint8_t c) {
  return EstPastille(c) && SortePastilleDe(c).Fichier == PercagePastille::Trou;
}
// A hole the drill files take from the table with no copper around it (not plated).
inline bool EstTrouSansCuivre(uint8_t c) {
  return EstPastillePercee(c) && !SortePastilleDe(c).Cuivre;
}
inline int32_t PercageDefaut(uint8_t c) { return EstPastille(c) ? SortePastilleDe(c).Percage : 0; }
inline int32_t RayonPastille(uint8_t c) { return EstPastille(c) ? SortePastilleDe(c).Rayon : 0; }
inline int32_t EncombrementPastille(uint8_t c) {
  return EstPastille(c) ? SortePastilleDe(c).Encombrement : 0;
}
inline bool EstTexte(uint8_t c) {
  return c == code::TexteH || c == code::TexteV || c == code::TexteHMiroir ||
         c == code::TexteVMiroir;
}

}  // namespace korv4
