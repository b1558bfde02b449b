#pragma once

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <memory>

#include "render/CanevasImage.h"

// The drawing surface over Qt. On a 32-bit QImage (the editor's drawing area) every figure is
// rasterised by CanevasImage straight into the image's pixels. On any other device (printer
// page, SVG picture) the figures go through the given QPainter, exclusive-or through
// QPainter::RasterOp_SourceXorDestination; there, consecutive lines in copy mode with the same
// pen are gathered into one path, stroked when anything else is drawn, the pen changes,
// Acheve() is called or the canvas is destroyed (a page of 100000 elements is a few long paths
// instead of 300000 short ones): call Acheve() or destroy the canvas before the painter ends.

namespace korv4 {

class CanevasQt : public CanevasImage {
 public:
  // image must be Format_RGB32, Format_ARGB32 or Format_ARGB32_Premultiplied and outlive this.
  explicit CanevasQt(QImage& image);
  // Any paint device: the figures go through this painter (not owned).
  explicit CanevasQt(QPainter& peintre);
  ~CanevasQt() override;

  void LineTo(int x, int y) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Polygone(const int* xy, int n) override;
  void Pixel(int x, int y, Couleur c) override;

  // Painter route: strokes the lines gathered so far.
  void Acheve();

 protected:
  // On the image too, through a painter.
  void PolygoneConcave(const int* xy, int n) override;

 private:
  // The image may have been copied (implicitly shared) since the last figure: taking its bits
  // again detaches it, so the copy keeps its pixels.
  void Detache() { Tampon(reinterpret_cast<uint32_t*>(image_->bits())); }

  // Painter route.
  void PreparePeintre();
  QPainter& Peintre();
  QPen PlumeQt() const;
  // Adds the line a-b, drawn with a solid pen of this colour and width (round ends when wider
  // than 1), to the gathered lines.
  void Rassemble(Couleur couleur, int epaisseur, StylePlume style, QPointF a, QPointF b);
  // The gathered lines: their path, pen and last point.
  QPainterPath trace_;
  Couleur tracePlume_ = 0;
  int traceEpaisseur_ = 0;
  StylePlume traceStyle_ = StylePlume::Plein;
  QPointF traceFin_;

  QImage* image_ = nullptr;
  QPainter* peintre_ = nullptr;  // the painter route, or a fallback painter on the image
  std::unique_ptr<QPainter> peintrePropre_;
};

}  // namespace korv4
