#include "fenetres/ui/ZoneDessin.h"

#include <QMouseEvent>
#include <QPainter>

namespace korv4 {

ZoneDessin::ZoneDessin(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ZoneDessin"));
  setAccessibleName(QStringLiteral("Zone de dessin"));
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::BlankCursor);
  Dimensionne(1, 1);
}

void ZoneDessin::Dimensionne(int largeur, int hauteur) {
  largeur = std::max(largeur, 1);
  hauteur = std::max(hauteur, 1);
  if (image_.width() == largeur && image_.height() == hauteur) return;
  canevas_.reset();
  image_ = QImage(largeur, hauteur, QImage::Format_RGB32);
  image_.fill(Qt::black);
  canevas_ = std::make_unique<CanevasQt>(image_);
}

void ZoneDessin::paintEvent(QPaintEvent* e) {
  QPainter p(this);
  p.drawImage(e->rect(), image_, e->rect());
  if (marque) {
    // Over the picture, never in it: the picture's exclusive-or marks stay as they are.
    const QRect r = marque();
    if (!r.isEmpty()) {
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(QColor(255, 40, 40), 3));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(r);
    }
  }
}

void ZoneDessin::mousePressEvent(QMouseEvent* e) {
  if (appui) appui(e);
}

void ZoneDessin::mouseMoveEvent(QMouseEvent* e) {
  if (deplacement) deplacement(e);
}

void ZoneDessin::mouseReleaseEvent(QMouseEvent* e) {
  if (relache) relache(e);
}

}  // namespace korv4
