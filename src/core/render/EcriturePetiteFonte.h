#pragma once

#include <array>
#include <cstdint>

#include "render/Canevas.h"

// The stroke font every text of the circuit is drawn, printed and exported with: each character
// is a few straight strokes on an integer grid, so that it looks the same on the screen, on
// paper and in the photo-plotter files, and turns and mirrors in steps of a quarter turn.
//
// Grid (font units, y upward): capitals and digits 4 wide (x 0..4) and 6 high (y 0..6); small
// letters have an x-height of 4, ascenders to 6 and descenders to -2; accents sit at 6..7 over
// small letters and at 8..9 over capitals. Every glyph stays within x 0..9, y -2..9 and has at
// most 18 strokes. Characters are Windows-1252 bytes.

namespace korv4 {

// One stroke of a glyph, in font units, y upward.
struct TraitFonte {
  int8_t x1, y1, x2, y2;
};

inline bool operator==(const TraitFonte& a, const TraitFonte& b) {
  return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
}

// The strokes of one glyph, in drawing order (nombre = 0 for a character that draws nothing).
struct Glyphe {
  const TraitFonte* traits;
  int nombre;
};

constexpr int kPremierCaractereFonte = 32;  // space
constexpr int kTraitsMaxGlyphe = 18;
constexpr int kNbOrientations = 16;
constexpr int kTraitsMaxContour = 40;

// A font point (sx, sy) lands at (a sx + b sy, c sx + d sy) from the character's origin on a
// device whose y grows downward.
struct MatriceOrientation {
  int a, b, c, d;
};

// Orientations 0..7 are those of the text records (upright, quarter turn counter-clockwise, half
// turn, quarter turn clockwise, then the same four mirrored); 8..15 repeat them in the order
// mirrored printing of the other face needs.
extern const std::array<MatriceOrientation, kNbOrientations> kOrientations;

// The glyph of a character; codes below 32 have none, space, double quote and no-break space
// are empty.
Glyphe GlypheDe(uint8_t caractere);

// The whole table as one stroke array and, for every code 32..255, the index of its first
// stroke; a code's strokes run to the next code's index (the entry after 255 is the total).
struct TableFonte {
  const TraitFonte* traits;
  int nombreTraits;
  const int* debut;  // 225 entries, codes 32..256
};
TableFonte TableDeLaFonte();

// Empty when the glyph table was read without fault; otherwise what is wrong with which row.
const char* DefautTableFonte();

// Draws a character with its origin at device point (x, y); echelle is the size in device
// pixels of four font units. Every product is divided by four separately, rounding toward minus
// infinity. Only MoveTo and LineTo are used: the pen is the caller's. An orientation outside
// 0..15 draws nothing.
void TraceLettre(Canevas& canevas, int x, int y, int echelle, int orientation, uint8_t caractere);

// One stroke in plotting coordinates (y upward).
struct TraitContour {
  int32_t X1, Y1, X2, Y2;
};

inline bool operator==(const TraitContour& a, const TraitContour& b) {
  return a.X1 == b.X1 && a.Y1 == b.Y1 && a.X2 == b.X2 && a.Y2 == b.Y2;
}

struct ContourCaractere {
  int32_t nombre = 0;  // strokes in traits[0..nombre-1]; the rest are zero
  std::array<TraitContour, kTraitsMaxContour> traits{};
};

// The strokes of a character for the photo-plotter: each font point multiplied by the
// orientation matrix and by echelle, y turned back upward; no division. Count 0 for a character
// without strokes or an orientation outside 0..15.
ContourCaractere ContourLettre(int echelle, int orientation, uint8_t caractere);

}  // namespace korv4
