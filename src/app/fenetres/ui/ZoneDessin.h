#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

#include "partage/canevas/CanevasQt.h"

// The drawing area: one persistent image that every drawing pass paints into; a paint event
// only copies the damaged part of it to the window.

namespace korv4 {

class ZoneDessin : public QWidget {
  Q_OBJECT

 public:
  explicit ZoneDessin(QWidget* parent = nullptr);

  // A new image of that size in the screen's pixels (the whole client area), and its canvas;
  // `echelle`: the screen's pixels for one pixel of the widget (2 at a scale factor of 2).
  void Dimensionne(int largeur, int hauteur, double echelle = 1);
  double Echelle() const { return echelle_; }
  QImage& Image() { return image_; }
  Canevas* Toile() { return canevas_.get(); }

  std::function<void(QMouseEvent*)> appui, deplacement, relache;
  std::function<void(QWheelEvent*)> molette;
  // A ring drawn over the picture (a fault shown), in the picture's pixels; none when empty.
  std::function<QRect()> marque;
  // A picture of the picture's size laid over it (the lit net: transparent where it is not);
  // none when null or empty.
  std::function<const QImage*()> calque;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  QImage image_;
  double echelle_ = 1;
  std::unique_ptr<CanevasQt> canevas_;
};

}  // namespace korv4
