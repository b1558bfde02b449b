#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "model/Circuit.h"

// A deterministic circuit of mixed elements on every work, for drawing tests and benchmarks:
// tracks of every width, pads of every kind and drill, texts of every orientation and size,
// lines, rectangles, circles and ellipses of every thickness.

namespace korv4 {

class Aleatoire {
 public:
  explicit Aleatoire(uint32_t graine) : etat_(graine) {}
  uint32_t Suivant() {
    etat_ = etat_ * 1664525u + 1013904223u;
    return etat_ >> 8;
  }
  int32_t Entre(int32_t a, int32_t b) { return a + static_cast<int32_t>(Suivant() % (b - a + 1)); }

 private:
  uint32_t etat_;
};

inline void AjouteRecord(Circuit& c, uint8_t couche, uint8_t code, uint8_t attribut, int32_t x,
                         int32_t y, uint8_t caractere = 0) {
  ElementCI& e = c.Elements[++c.NbElements];
  e.Couche = couche;
  e.Code = code;
  e.Attribut = attribut;
  e.Caractere = caractere;
  e.X = static_cast<uint16_t>(x);
  e.Y = static_cast<uint16_t>(y);
}

// Fills `c` (emptied first) with about `nombre` records spread over a surface of sx by sy units.
inline void CircuitExemple(Circuit& c, int32_t nombre, int32_t sx, int32_t sy,
                           uint32_t graine = 1) {
  RazCircuit(c);
  c.EnteteCI.SurfaceX = sx;
  c.EnteteCI.SurfaceY = sy;
  Aleatoire a(graine);
  const int32_t marge = 400;
  while (c.NbElements < nombre - 12) {
    const int32_t x = a.Entre(marge, sx - marge) / 25 * 25;
    const int32_t y = a.Entre(marge, sy - marge) / 25 * 25;
    const int32_t genre = a.Entre(0, 9);
    if (genre <= 2) {  // track of 2..5 points in the grid's eight directions
      const uint8_t couche = static_cast<uint8_t>(a.Entre(1, 2));
      const uint8_t code = static_cast<uint8_t>(a.Entre(161, 166));
      const int32_t n = a.Entre(2, 5);
      int32_t px = x, py = y;
      for (int32_t k = 0; k < n; ++k) {
        const uint8_t role = k == 0 ? kPremierPoint : (k == n - 1 ? kDernierPoint : kPointMilieu);
        AjouteRecord(c, couche, code, role, px, py);
        const int32_t d = a.Entre(0, 7);
        const int32_t l = a.Entre(1, 6) * 50;
        static const int kDx[8] = {1, 1, 0, -1, -1, -1, 0, 1};
        static const int kDy[8] = {0, 1, 1, 1, 0, -1, -1, -1};
        px = std::min(std::max(px + kDx[d] * l, 0), sx - 1);
        py = std::min(std::max(py + kDy[d] * l, 0), sy - 1);
      }
    } else if (genre <= 5) {  // pad
      const uint8_t code = static_cast<uint8_t>(a.Entre(193, 205));
      AjouteRecord(c, kCouchePastilles, code, static_cast<uint8_t>(a.Entre(0, 9)), x, y);
    } else if (genre <= 7) {  // text
      static const uint8_t kCouches[4] = {1, 2, 4, 8};
      const uint8_t couche = kCouches[a.Entre(0, 3)];
      uint8_t code = static_cast<uint8_t>(a.Entre(0, 1) ? code::TexteV : code::TexteH);
      if (couche == 1 && a.Entre(0, 1)) code = static_cast<uint8_t>(code + 4);
      const uint8_t taille = static_cast<uint8_t>(a.Entre(1, 3));
      const int32_t n = a.Entre(3, 8);
      static const char kLettres[] = "KORV4 R12 C3 +5V GND \xC9\xE9 \xE0\xE7 0123456789";
      const int32_t pas = PasTexte[taille];
      for (int32_t k = 0; k < n; ++k) {
        const int32_t dx = (code == code::TexteH) ? k * pas : (code == 68 ? -k * pas : 0);
        const int32_t dy = (code == code::TexteV) ? k * pas : (code == 69 ? -k * pas : 0);
        const uint8_t car = static_cast<uint8_t>(kLettres[a.Entre(0, sizeof(kLettres) - 2)]);
        AjouteRecord(c, couche, code, taille, x + dx, y + dy, car);
      }
      AjouteRecord(c, couche, code::FinTexte, 0, 0, 0);
    } else {  // drawing
      static const uint8_t kCouches[6] = {4, 4, 8, 8, 1, 2};
      const uint8_t couche = kCouches[a.Entre(0, 5)];
      const uint8_t code = static_cast<uint8_t>(128 + 2 * a.Entre(0, 3));
      const uint8_t ep = static_cast<uint8_t>(a.Entre(1, 4));
      AjouteRecord(c, couche, code, ep, x, y);
      if (code == code::Cercle) {
        AjouteRecord(c, couche, code + 1, ep, a.Entre(20, 300), 0);
      } else {
        AjouteRecord(c, couche, code + 1, ep, x + a.Entre(-300, 300), y + a.Entre(-300, 300));
      }
    }
  }
}

}  // namespace korv4
