#include "render/EcriturePetiteFonte.h"

#include <string>
#include <vector>

namespace korv4 {

const std::array<MatriceOrientation, kNbOrientations> kOrientations = {{
    {1, 0, 0, -1},   // 0  upright, left to right
    {0, -1, -1, 0},  // 1  quarter turn counter-clockwise (reads bottom to top)
    {-1, 0, 0, 1},   // 2  half turn
    {0, 1, 1, 0},    // 3  quarter turn clockwise (reads top to bottom)
    {-1, 0, 0, -1},  // 4  mirrored left to right
    {0, -1, 1, 0},   // 5  quarter turn, mirrored
    {1, 0, 0, 1},    // 6  mirrored top to bottom
    {0, 1, -1, 0},   // 7  quarter turn, mirrored the other way
    {1, 0, 0, 1},    // 8  = 6
    {0, 1, -1, 0},   // 9  = 7
    {-1, 0, 0, -1},  // 10 = 4
    {0, -1, 1, 0},   // 11 = 5
    {-1, 0, 0, 1},   // 12 = 2
    {0, 1, 1, 0},    // 13 = 3
    {1, 0, 0, -1},   // 14 = 0
    {0, -1, -1, 0},  // 15 = 1
}};

namespace {

// The glyph table.
//
// Each row draws one character: the strokes of the base character (0: none), then its own.
// Strokes are written as polylines: a point is two coordinates x y, each one digit with an
// optional minus sign ("2-2" is x 2, y -2); points are separated by spaces, and a comma starts a
// new polyline. "00 04 26" is the two strokes (0,0)-(0,4) and (0,4)-(2,6).
struct LigneGlyphe {
  int code;
  char base;
  const char* traits;
};

// Accents over small letters (x-height 4) and over capitals (height 6).
#define AIGU "16 37"
#define GRAVE "17 36"
#define CIRCONFLEXE "16 27 36"
#define TREMA "16 17, 36 37"
#define TILDE "06 17 36 47"
#define ROND "26 37 28 17 26"
#define CARON "17 26 37"
#define AIGU_MAJ "18 39"
#define GRAVE_MAJ "19 38"
#define CIRCONFLEXE_MAJ "18 29 38"
#define TREMA_MAJ "18 19, 38 39"
#define TILDE_MAJ "08 19 38 49"
#define ROND_MAJ "27 38 29 18 27"
#define CARON_MAJ "19 28 39"
#define CEDILLE "20 3-1 1-2"
// The "A" of the accented capitals: the strokes of "A" without its leg drawn back up, so that
// nothing is drawn twice (a stroke drawn twice in exclusive-or vanishes).
#define A_SIMPLE "00 04 26 44 40, 43 03, "
// Drawn for the code-page slots that have no character: an empty box.
#define BOITE "00 06 46 40 00"

const LigneGlyphe kGlyphes[] = {
    {32, 0, ""},                                                        // space
    {33, 0, "06 03, 01 00"},                                            // !
    {34, 0, ""},                                                        // " (drawn as nothing)
    {35, 0, "16 10, 36 30, 04 44, 02 42"},                              // #
    {36, 0, "45 36 16 05 04 13 33 42 41 30 10 01, 27 2-1"},             // $
    {37, 0, "00 46, 05 16 25 14 05, 21 32 41 30 21"},                   // %
    {38, 0, "40 14 05 16 26 35 02 01 10 20 42"},                        // &
    {39, 0, "06 04"},                                                   // '
    {40, 0, "27 05 01 2-1"},                                            // (
    {41, 0, "07 25 21 0-1"},                                            // )
    {42, 0, "26 22, 05 43, 03 45"},                                     // *
    {43, 0, "21 25, 03 43"},                                            // +
    {44, 0, "10 00 01 11 1-1 0-2"},                                     // ,
    {45, 0, "03 33"},                                                   // -
    {46, 0, "00 01 11 10 00"},                                          // .
    {47, 0, "00 46"},                                                   // /
    {48, 0, "16 36 44 42 30 10 02 04 16, 11 35"},                       // 0
    {49, 0, "10 20 26 15, 20 30"},                                      // 1
    {50, 0, "05 16 36 45 44 00 40"},                                    // 2
    {51, 0, "05 16 36 45 44 33 42 41 30 10 01, 13 33"},                 // 3
    {52, 0, "30 36 02 42"},                                             // 4
    {53, 0, "46 06 04 34 43 41 30 10 01"},                              // 5
    {54, 0, "45 36 16 05 01 10 30 41 42 33 13 02"},                     // 6
    {55, 0, "06 46 45 10"},                                             // 7
    {56, 0, "13 04 05 16 36 45 44 33 13 02 01 10 30 41 42 33"},         // 8
    {57, 0, "01 10 30 41 45 36 16 05 04 13 33 44"},                     // 9
    {58, 0, "00 01 11 10 00, 03 04 14 13 03"},                          // :
    {59, 0, "03 04 14 13 03, 10 00 01 11 1-1 0-2"},                     // ;
    {60, 0, "45 03 41"},                                                // <
    {61, 0, "02 42, 04 44"},                                            // =
    {62, 0, "05 43 01"},                                                // >
    {63, 0, "05 16 36 45 44 33 23 22, 21 20"},                          // ?
    {64, 0, "40 10 01 05 16 46 55 52 42 44 24 22 42"},                  // @
    {65, 0, "00 04 26 44 40 43 03"},                                    // A
    {66, 0, "00 06 36 45 44 33 42 41 30 00, 03 33"},                    // B
    {67, 0, "45 36 16 05 01 10 30 41"},                                 // C
    {68, 0, "00 06 26 44 42 20 00"},                                    // D
    {69, 0, "40 00 06 46, 03 33"},                                      // E
    {70, 0, "00 06 46, 03 33"},                                         // F
    {71, 0, "45 36 16 05 01 10 30 41 43 23"},                           // G
    {72, 0, "00 06, 40 46, 03 43"},                                     // H
    {73, 0, "10 30, 20 26, 16 36"},                                     // I
    {74, 0, "26 46 41 30 10 01"},                                       // J
    {75, 0, "00 06, 46 02, 13 40"},                                     // K
    {76, 0, "06 00 40"},                                                // L
    {77, 0, "00 06 23 46 40"},                                          // M
    {78, 0, "00 06 40 46"},                                             // N
    {79, 0, "36 16 05 01 10 30 41 45 36"},                              // O
    {80, 0, "00 06 36 45 44 33 03"},                                    // P
    {81, 0, "36 16 05 01 10 30 41 45 36, 22 40"},                       // Q
    {82, 0, "00 06 36 45 44 33 03, 23 40"},                             // R
    {83, 0, "45 36 16 05 04 13 33 42 41 30 10 01"},                     // S
    {84, 0, "06 46, 26 20"},                                            // T
    {85, 0, "06 01 10 30 41 46"},                                       // U
    {86, 0, "06 20 46"},                                                // V
    {87, 0, "06 10 23 30 46"},                                          // W
    {88, 0, "00 46, 06 40"},                                            // X
    {89, 0, "06 23 46, 23 20"},                                         // Y
    {90, 0, "06 46 00 40"},                                             // Z
    {91, 0, "27 07 0-1 2-1"},                                           // [
    {92, 0, "06 40"},                                                   // backslash
    {93, 0, "07 27 2-1 0-1"},                                           // ]
    {94, 0, "04 26 44"},                                                // ^
    {95, 0, "0-1 4-1"},                                                 // _
    {96, 0, "16 35"},                                                   // `
    {97, 0, "14 34 43 40, 42 12 01 10 30 41"},                          // a
    {98, 0, "06 00 30 41 43 34 04"},                                    // b
    {99, 0, "43 34 14 03 01 10 30 41"},                                 // c
    {100, 0, "46 40 10 01 03 14 44"},                                   // d
    {101, 0, "30 10 01 03 14 34 43 42 02"},                             // e
    {102, 0, "10 15 26 36 45, 04 34"},                                  // f
    {103, 0, "2-2 3-2 4-1 44 14 03 01 10 40"},                          // g
    {104, 0, "00 06, 03 14 34 43 40"},                                  // h
    {105, 0, "14 24 20, 10 30, 26 27"},                                 // i
    {106, 0, "14 34 3-1 2-2 1-2 0-1, 36 37"},                           // j
    {107, 0, "00 06, 44 02, 23 40"},                                    // k
    {108, 0, "16 26 21 30 40"},                                         // l
    {109, 0, "00 04, 03 14 23 20, 23 34 43 40"},                        // m
    {110, 0, "00 04, 03 14 34 43 40"},                                  // n
    {111, 0, "34 14 03 01 10 30 41 43 34"},                             // o
    {112, 0, "0-2 04 34 43 41 30 00"},                                  // p
    {113, 0, "4-2 44 14 03 01 10 40"},                                  // q
    {114, 0, "00 04, 03 14 34 43"},                                     // r
    {115, 0, "44 14 03 12 32 41 30 00"},                                // s
    {116, 0, "16 11 20 30 41, 04 34"},                                  // t
    {117, 0, "44 40, 41 30 10 01 04"},                                  // u
    {118, 0, "04 20 44"},                                               // v
    {119, 0, "04 10 22 30 44"},                                         // w
    {120, 0, "00 44, 04 40"},                                           // x
    {121, 0, "04 01 10 30 41, 44 4-1 3-2 1-2"},                         // y
    {122, 0, "04 44 00 40"},                                            // z
    {123, 0, "37 27 16 14 03 12 10 2-1 3-1"},                           // {
    {124, 0, "27 2-1"},                                                 // |
    {125, 0, "07 17 26 24 33 22 20 1-1 0-1"},                           // }
    {126, 0, "02 13 32 43"},                                            // ~
    {127, 0, BOITE},                                                    // (delete)
    {128, 0, "45 36 26 15 11 20 30 41, 04 34, 02 32"},                  // €
    {129, 0, BOITE},                                                    // (no character)
    {130, 0, "11 0-1"},                                                 // ‚
    {131, 0, "0-2 1-2 2-1 25 36 46, 14 34"},                            // ƒ
    {132, 0, "11 0-1, 31 2-1"},                                         // „
    {133, 0, "00 01 11 10 00, 30 31 41 40 30, 60 61 71 70 60"},         // …
    {134, 0, "26 2-1, 04 44"},                                          // †
    {135, 0, "26 2-1, 04 44, 01 41"},                                   // ‡
    {136, 0, "15 26 35"},                                               // ˆ
    {137, 0, "00 46, 05 16 25 14 05, 11 22 31 20 11, 41 52 61 50 41"},  // ‰
    {138, 'S', CARON_MAJ},                                              // Š
    {139, 0, "24 02 20"},                                               // ‹
    {140, 0, "66 16 05 01 10 60, 36 30, 33 53"},                        // Œ
    {141, 0, BOITE},                                                    // (no character)
    {142, 'Z', CARON_MAJ},                                              // Ž
    {143, 0, BOITE},                                                    // (no character)
    {144, 0, BOITE},                                                    // (no character)
    {145, 0, "06 14"},                                                  // ‘
    {146, 0, "16 04"},                                                  // ’
    {147, 0, "06 14, 26 34"},                                           // “
    {148, 0, "16 04, 36 24"},                                           // ”
    {149, 0, "12 14 34 32 12, 13 33"},                                  // •
    {150, 0, "03 43"},                                                  // –
    {151, 0, "03 73"},                                                  // —
    {152, 0, "05 16 35 46"},                                            // ˜
    {153, 0, "06 26, 16 13, 33 36 45 56 53"},                           // ™
    {154, 's', CARON},                                                  // š
    {155, 0, "04 22 00"},                                               // ›
    {156, 0, "60 10 01 03 14 54 63 62 32, 34 30"},                      // œ
    {157, 0, BOITE},                                                    // (no character)
    {158, 'z', CARON},                                                  // ž
    {159, 'Y', TREMA_MAJ},                                              // Ÿ
    {160, 0, ""},                                                       // no-break space
    {161, 0, "0-2 01, 03 04"},                                          // ¡
    {162, 'c', "25 2-1"},                                               // ¢
    {163, 0, "45 36 26 15 10, 00 40, 03 33"},                           // £
    {164, 0, "12 14 34 32 12, 01 12, 32 41, 05 14, 34 45"},             // ¤
    {165, 0, "06 24 46, 24 20, 13 33, 11 31"},                          // ¥
    {166, 0, "27 24, 22 2-1"},                                          // ¦
    {167, 0, "45 36 16 05 04 42 41 30, 00 1-1 3-1 40 41 03 04 15"},     // §
    {168, 0, "15 16, 35 36"},                                           // ¨
    {169, 0, "16 56 65 61 50 10 01 05 16, 45 25 21 41"},                // ©
    {170, 0, "16 26 35 33 13 04 15 35, 01 31"},                         // ª
    {171, 0, "24 02 20, 44 22 40"},                                     // «
    {172, 0, "03 43 41"},                                               // ¬
    {173, 0, "03 33"},                                                  // soft hyphen
    {174, 0, "16 56 65 61 50 10 01 05 16, 21 25 45 43 23, 33 41"},      // ®
    {175, 0, "06 46"},                                                  // ¯
    {176, 0, "05 16 25 14 05"},                                         // °
    {177, 0, "22 26, 04 44, 00 40"},                                    // ±
    {178, 0, "05 16 26 35 34 02 32"},                                   // ²
    {179, 0, "05 16 26 35 24 14, 24 33 22 12 03"},                      // ³
    {180, 0, "15 36"},                                                  // ´
    {181, 0, "0-2 04, 44 40, 41 30 10 01"},                             // µ
    {182, 0, "20 26, 40 46 16 05 04 13 23"},                            // ¶
    {183, 0, "02 03 13 12 02"},                                         // ·
    {184, 0, CEDILLE},                                                  // ¸
    {185, 0, "15 26 22, 12 32"},                                        // ¹
    {186, 0, "16 26 35 34 23 13 04 05 16, 01 31"},                      // º
    {187, 0, "04 22 00, 24 42 20"},                                     // »
    {188, 0, "05 16 13, 00 66, 50 53 41 61"},                           // ¼
    {189, 0, "05 16 13, 00 66, 43 53 62 40 60"},                        // ½
    {190, 0, "06 26 15 24 13 03, 00 66, 50 53 41 61"},                  // ¾
    {191, 0, "4-1 3-2 1-2 0-1 00 11 21 22, 23 24"},                     // ¿
    {192, 0, A_SIMPLE GRAVE_MAJ},                                       // À
    {193, 0, A_SIMPLE AIGU_MAJ},                                        // Á
    {194, 0, A_SIMPLE CIRCONFLEXE_MAJ},                                 // Â
    {195, 0, A_SIMPLE TILDE_MAJ},                                       // Ã
    {196, 0, A_SIMPLE TREMA_MAJ},                                       // Ä
    {197, 0, A_SIMPLE ROND_MAJ},                                        // Å
    {198, 0, "00 04 26 66, 36 30 60, 03 53"},                           // Æ
    {199, 'C', CEDILLE},                                                // Ç
    {200, 'E', GRAVE_MAJ},                                              // È
    {201, 'E', AIGU_MAJ},                                               // É
    {202, 'E', CIRCONFLEXE_MAJ},                                        // Ê
    {203, 'E', TREMA_MAJ},                                              // Ë
    {204, 'I', GRAVE_MAJ},                                              // Ì
    {205, 'I', AIGU_MAJ},                                               // Í
    {206, 'I', CIRCONFLEXE_MAJ},                                        // Î
    {207, 'I', TREMA_MAJ},                                              // Ï
    {208, 0, "10 16 36 54 52 30 10, 03 23"},                            // Ð
    {209, 'N', TILDE_MAJ},                                              // Ñ
    {210, 'O', GRAVE_MAJ},                                              // Ò
    {211, 'O', AIGU_MAJ},                                               // Ó
    {212, 'O', CIRCONFLEXE_MAJ},                                        // Ô
    {213, 'O', TILDE_MAJ},                                              // Õ
    {214, 'O', TREMA_MAJ},                                              // Ö
    {215, 0, "11 35, 15 31"},                                           // ×
    {216, 'O', "00 46"},                                                // Ø
    {217, 'U', GRAVE_MAJ},                                              // Ù
    {218, 'U', AIGU_MAJ},                                               // Ú
    {219, 'U', CIRCONFLEXE_MAJ},                                        // Û
    {220, 'U', TREMA_MAJ},                                              // Ü
    {221, 'Y', AIGU_MAJ},                                               // Ý
    {222, 0, "00 06, 05 35 44 43 32 02"},                               // Þ
    {223, 0, "00 05 16 36 45 44 33 42 41 30 20"},                       // ß
    {224, 'a', GRAVE},                                                  // à
    {225, 'a', AIGU},                                                   // á
    {226, 'a', CIRCONFLEXE},                                            // â
    {227, 'a', TILDE},                                                  // ã
    {228, 'a', TREMA},                                                  // ä
    {229, 'a', ROND},                                                   // å
    {230, 0, "04 24 33 30, 32 12 01 10 60, 32 62 63 54 44 33"},         // æ
    {231, 'c', CEDILLE},                                                // ç
    {232, 'e', GRAVE},                                                  // è
    {233, 'e', AIGU},                                                   // é
    {234, 'e', CIRCONFLEXE},                                            // ê
    {235, 'e', TREMA},                                                  // ë
    {236, 0, "14 24 20, 10 30, " GRAVE},                                // ì
    {237, 0, "14 24 20, 10 30, " AIGU},                                 // í
    {238, 0, "14 24 20, 10 30, " CIRCONFLEXE},                          // î
    {239, 0, "14 24 20, 10 30, " TREMA},                                // ï
    {240, 0, "43 34 14 03 01 10 30 41 44 16, 25 45"},                   // ð
    {241, 'n', TILDE},                                                  // ñ
    {242, 'o', GRAVE},                                                  // ò
    {243, 'o', AIGU},                                                   // ó
    {244, 'o', CIRCONFLEXE},                                            // ô
    {245, 'o', TILDE},                                                  // õ
    {246, 'o', TREMA},                                                  // ö
    {247, 0, "03 43, 25 26, 21 20"},                                    // ÷
    {248, 'o', "00 44"},                                                // ø
    {249, 'u', GRAVE},                                                  // ù
    {250, 'u', AIGU},                                                   // ú
    {251, 'u', CIRCONFLEXE},                                            // û
    {252, 'u', TREMA},                                                  // ü
    {253, 'y', AIGU},                                                   // ý
    {254, 0, "06 0-2, 04 34 43 41 30 00"},                              // þ
    {255, 'y', TREMA},                                                  // ÿ
};

#undef AIGU
#undef GRAVE
#undef CIRCONFLEXE
#undef TREMA
#undef TILDE
#undef ROND
#undef CARON
#undef AIGU_MAJ
#undef GRAVE_MAJ
#undef CIRCONFLEXE_MAJ
#undef TREMA_MAJ
#undef TILDE_MAJ
#undef ROND_MAJ
#undef CARON_MAJ
#undef CEDILLE
#undef A_SIMPLE
#undef BOITE

constexpr int kNbCodes = 256 - kPremierCaractereFonte;
static_assert(sizeof(kGlyphes) / sizeof(kGlyphes[0]) == kNbCodes, "one row per code 32..255");

// Reads one row's own strokes; false with a reason on a malformed text.
bool LitTraits(const char* texte, std::vector<TraitFonte>& sortie, std::string& erreur) {
  const char* p = texte;
  bool aPoint = false;
  int px = 0, py = 0;
  auto coordonnee = [&p](int& v) {
    const bool negatif = *p == '-';
    if (negatif) ++p;
    if (*p < '0' || *p > '9') return false;
    v = negatif ? -(*p - '0') : *p - '0';
    ++p;
    return true;
  };
  while (*p != '\0') {
    if (*p == ' ') {
      ++p;
    } else if (*p == ',') {
      aPoint = false;
      ++p;
    } else {
      int x = 0, y = 0;
      if (!coordonnee(x) || !coordonnee(y) || (*p != '\0' && *p != ' ' && *p != ',')) {
        erreur = "point illisible \"" + std::string(texte) + "\"";
        return false;
      }
      if (aPoint) {
        sortie.push_back({static_cast<int8_t>(px), static_cast<int8_t>(py), static_cast<int8_t>(x),
                          static_cast<int8_t>(y)});
      }
      px = x;
      py = y;
      aPoint = true;
    }
  }
  return true;
}

struct Fonte {
  std::vector<TraitFonte> traits;
  int debut[kNbCodes + 1] = {};
  std::string defaut;

  Fonte() {
    for (int i = 0; i < kNbCodes; ++i) {
      const LigneGlyphe& l = kGlyphes[i];
      debut[i] = static_cast<int>(traits.size());
      const std::string nom = "caractere " + std::to_string(kPremierCaractereFonte + i) + ": ";
      if (l.code != kPremierCaractereFonte + i) {
        Defaut(nom + "ligne hors de son rang");
        continue;
      }
      if (l.base != 0) {
        const LigneGlyphe& b = kGlyphes[static_cast<uint8_t>(l.base) - kPremierCaractereFonte];
        if (b.base != 0) Defaut(nom + "sa base a elle-meme une base");
        std::string e;
        if (!LitTraits(b.traits, traits, e)) Defaut(nom + e);
      }
      std::string e;
      if (!LitTraits(l.traits, traits, e)) Defaut(nom + e);
    }
    debut[kNbCodes] = static_cast<int>(traits.size());
  }

  void Defaut(const std::string& s) {
    if (defaut.empty()) defaut = s;
  }
};

const Fonte& LaFonte() {
  static const Fonte fonte;
  return fonte;
}

// Division by four rounding toward minus infinity (an arithmetic shift right by two).
inline int Quart(int v) {
  const int q = v / 4;
  return (v % 4 < 0) ? q - 1 : q;
}

}  // namespace

Glyphe GlypheDe(uint8_t caractere) {
  if (caractere < kPremierCaractereFonte) return {nullptr, 0};
  const Fonte& f = LaFonte();
  const int i = caractere - kPremierCaractereFonte;
  return {f.traits.data() + f.debut[i], f.debut[i + 1] - f.debut[i]};
}

TableFonte TableDeLaFonte() {
  const Fonte& f = LaFonte();
  return {f.traits.data(), static_cast<int>(f.traits.size()), f.debut};
}

const char* DefautTableFonte() { return LaFonte().defaut.c_str(); }

void TraceLettre(Canevas& canevas, int x, int y, int echelle, int orientation, uint8_t caractere) {
  if (orientation < 0 || orientation >= kNbOrientations) return;
  const MatriceOrientation& m = kOrientations[orientation];
  const Glyphe g = GlypheDe(caractere);
  const int s = echelle;
  for (int i = 0; i < g.nombre; ++i) {
    const TraitFonte& t = g.traits[i];
    canevas.MoveTo(x + Quart(m.a * t.x1 * s) + Quart(m.b * t.y1 * s),
                   y + Quart(m.c * t.x1 * s) + Quart(m.d * t.y1 * s));
    canevas.LineTo(x + Quart(m.a * t.x2 * s) + Quart(m.b * t.y2 * s),
                   y + Quart(m.c * t.x2 * s) + Quart(m.d * t.y2 * s));
  }
}

ContourCaractere ContourLettre(int echelle, int orientation, uint8_t caractere) {
  ContourCaractere c;
  if (orientation < 0 || orientation >= kNbOrientations) return c;
  const MatriceOrientation& m = kOrientations[orientation];
  const Glyphe g = GlypheDe(caractere);
  const int n = g.nombre < kTraitsMaxContour ? g.nombre : kTraitsMaxContour;
  for (int i = 0; i < n; ++i) {
    const TraitFonte& t = g.traits[i];
    c.traits[i] = {(m.a * t.x1 + m.b * t.y1) * echelle, -(m.c * t.x1 + m.d * t.y1) * echelle,
                   (m.a * t.x2 + m.b * t.y2) * echelle, -(m.c * t.x2 + m.d * t.y2) * echelle};
  }
  c.nombre = n;
  return c;
}

}  // namespace korv4
