#pragma once

#include <QImage>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <memory>

#include "partage/canevas/CanevasQt.h"
#include "render/Equipe.h"

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
  // The pictures allocated so far: one for each new size of the area, never for a drawing.
  int Allocations() const { return allocations_; }
  QImage& Image() { return image_; }
  Canevas* Toile() { return canevas_.get(); }

  std::function<void(QMouseEvent*)> appui, deplacement, relache;
  std::function<void(QWheelEvent*)> molette;
  // A ring drawn over the picture (a fault shown), in the picture's pixels; none when empty.
  std::function<QRect()> marque;
  // A picture of the picture's size laid over it (the lit net: transparent where it is not);
  // none when null or empty.
  std::function<const QImage*()> calque;
  // The editor's second thread, for a large copy to the window when a processor is free.
  Equipe* equipe = nullptr;

  // A part of the area (or all of it) to paint again from the image; the widget's own
  // update() would do, but the parts asked and not yet painted must be known to a scroll.
  void Repeins(const QRect& r);
  void Repeins();
  // The image's pixels of r (in the widget's pixels) moved by (dx, dy): the server moves those
  // on the screen too and only what the move uncovers is copied again. A part still waiting to
  // be painted would move with stale pixels: then the whole area is painted again.
  void Defile(int dx, int dy, const QRect& r);
  // A scroll of r whose pixels the screen cannot move (a move by a part of the widget's pixel,
  // something laid over the picture): r copied again.
  void DefileEnRecopiant(const QRect& r);
  // The scrolls copied again as a whole so far (above, or with a part still waiting).
  int Recopies() const { return recopies_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  // The region copied from the image straight into the window's picture; false when the
  // painter does not draw into a picture of the image's format (then drawImage does).
  bool CopieDirecte(QPainter& p, const QRegion& region);

  QImage image_;
  QRegion attente_;  // asked to be painted again, not yet painted
  double echelle_ = 1;
  int allocations_ = 0;
  int recopies_ = 0;
  std::unique_ptr<CanevasQt> canevas_;
};

}  // namespace korv4
