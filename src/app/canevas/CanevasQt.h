#pragma once

#include <QImage>
#include <QPainter>
#include <memory>
#include <vector>

#include "render/Canevas.h"

// The drawing surface over Qt. On a 32-bit QImage (the editor's drawing area, korv4-cli's
// pictures) every figure is rasterised here, span by span, straight into the image: no
// antialiasing, and in exclusive-or mode every pixel of one figure changes exactly once, so a
// filled pad keeps its outline and drawing any figure twice restores the picture. On any other
// device (printer page, SVG picture) the figures go through the given QPainter, exclusive-or
// through QPainter::RasterOp_SourceXorDestination.

namespace korv4 {

class CanevasQt : public Canevas {
 public:
  // image must be Format_RGB32, Format_ARGB32 or Format_ARGB32_Premultiplied and outlive this.
  explicit CanevasQt(QImage& image);
  // Any paint device: the figures go through this painter (not owned).
  explicit CanevasQt(QPainter& peintre);
  ~CanevasQt() override;

  void CouleurPlume(Couleur c) override { plume_ = c; }
  void EpaisseurPlume(int largeur) override { epaisseur_ = largeur; }
  void StyleDePlume(StylePlume s) override { style_ = s; }
  void ModeDePlume(ModePlume m) override { mode_ = m; }
  void CouleurBrosse(Couleur c) override { brosse_ = c; }
  void StyleDeBrosse(StyleBrosse s) override { styleBrosse_ = s; }

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Polygone(const int* xy, int n) override;
  void Pixel(int x, int y, Couleur c) override;

 private:
  // Image rasteriser. The image may have been copied (implicitly shared) since the last
  // figure: taking its bits again detaches it, so the copy keeps its pixels.
  void Detache() { bits_ = image_->bits(); }
  void Ligne(int y, int x1, int x2, Couleur c);  // x1..x2 inclusive, clipped, in the pen mode
  void Point(int x, int y, Couleur c) { Ligne(y, x, x, c); }
  void TraitFin(int x1, int y1, int x2, int y2, bool dernier);
  void TraitLarge(int x1, int y1, int x2, int y2);
  bool Pointille(int x, int y) const {
    return style_ == StylePlume::Pointille && epaisseur_ <= 1 && ((x + y) & 1) != 0;
  }
  // Pixels x1..x2 of row y of a figure's outline (dotted pens skip every other pixel).
  void LigneContour(int y, int x1, int x2);

  // In exclusive-or, colour 0 changes no pixel: such a figure is left out, so that a device
  // without exclusive-or (a printer page) does not draw it opaque. `brosse`: the figure is
  // filled with the brush when it is solid.
  bool SansEffet(bool brosse) const {
    return mode_ == ModePlume::OuExclusif && (plume_ & 0xFFFFFF) == 0 &&
           (!brosse || styleBrosse_ == StyleBrosse::Creux || (brosse_ & 0xFFFFFF) == 0);
  }

  // Painter route.
  void PreparePeintre();
  QPainter& Peintre();

  QImage* image_ = nullptr;
  uchar* bits_ = nullptr;
  qsizetype stride_ = 0;
  int largeur_ = 0, hauteur_ = 0;
  QPainter* peintre_ = nullptr;  // the painter route, or a fallback painter on the image
  std::unique_ptr<QPainter> peintrePropre_;

  Couleur plume_ = 0, brosse_ = 0xFFFFFF;
  int epaisseur_ = 1;
  StylePlume style_ = StylePlume::Plein;
  ModePlume mode_ = ModePlume::Copie;
  StyleBrosse styleBrosse_ = StyleBrosse::Plein;
  int posX_ = 0, posY_ = 0;
  int largeurDemi_ = -1;      // the pen width demi_ was computed for
  std::vector<double> demi_;  // half-width of a round end, by row offset
};

}  // namespace korv4
