#pragma once

#include <array>
#include <cstdint>

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
constexpr uint8_t PastillePremier = 192, PastilleDernier = 205;
constexpr uint8_t FinGroupe = 254, DebutGroupe = 255;
}  // namespace code

// Layer masks of the works 0..8 (only 0..4 are used): face 1, face 2, placement, drilling.
constexpr std::array<uint8_t, 9> MasqueTravail = {0, 1, 2, 4, 8, 16, 32, 64, 128};
constexpr uint8_t kCouchePastilles = 3;

// Kind code of each tool (action code 0..111): the kind column of the editor's action table.
extern const std::array<uint8_t, 112> CodeOutil;
// The tool that ends the track being drawn.
constexpr int kOutilFinPiste = 7;

// Pad tables, indexed by pad code (192..205); 0 elsewhere.
int32_t PercageDefaut(uint8_t code);
int32_t RayonPastille(uint8_t code);
int32_t EncombrementPastille(uint8_t code);
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
inline bool EstTexte(uint8_t c) {
  return c == code::TexteH || c == code::TexteV || c == code::TexteHMiroir ||
         c == code::TexteVMiroir;
}

}  // namespace korv4
