#pragma once

#include <QImage>
#include <QPainter>
#include <memory>

#include "render/CanevasImage.h"

// The drawing surface over Qt. On a 32-bit QImage (the editor's drawing area) every figure is
// rasterised by CanevasImage straight into the image's pixels. On any other device (printer
// page, SVG picture) the figures go through the given QPainter, exclusive-or through
// QPainter::RasterOp_SourceXorDestination.

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

  QImage* image_ = nullptr;
  QPainter* peintre_ = nullptr;  // the painter route, or a fallback painter on the image
  std::unique_ptr<QPainter> peintrePropre_;
};

}  // namespace korv4
