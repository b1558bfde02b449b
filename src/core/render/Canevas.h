#pragma once

#include <cstdint>

// The abstract drawing surface every drawing pass paints on: the screen image, a printer page,
// the clipboard picture, or a recording canvas in the tests. Coordinates are device pixels.

namespace korv4 {

// A colour as 0xRRGGBB.
using Couleur = uint32_t;

enum class StylePlume { Plein, Pointille };
enum class ModePlume { Copie, OuExclusif };
enum class StyleBrosse { Plein, Creux };

class Canevas {
 public:
  virtual ~Canevas() = default;

  virtual void CouleurPlume(Couleur c) = 0;
  virtual void EpaisseurPlume(int largeur) = 0;
  virtual void StyleDePlume(StylePlume s) = 0;
  virtual void ModeDePlume(ModePlume m) = 0;
  virtual void CouleurBrosse(Couleur c) = 0;
  virtual void StyleDeBrosse(StyleBrosse s) = 0;

  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  // Outline with the pen, inside with the brush; (x2, y2) is excluded as on the platform.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  // Ellipse inside the rectangle (x1, y1)-(x2, y2).
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  // Filled polygon of n points.
  virtual void Polygone(const int* xy, int n) = 0;
  virtual void Pixel(int x, int y, Couleur c) = 0;
};

}  // namespace korv4
