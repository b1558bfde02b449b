#include "fenetres/ui/ZoneDessin.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace korv4 {

ZoneDessin::ZoneDessin(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ZoneDessin"));
  setAccessibleName(QStringLiteral("Zone de dessin"));
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::BlankCursor);
  Dimensionne(1, 1);
}

void ZoneDessin::Dimensionne(int largeur, int hauteur, double echelle) {
  largeur = std::max(largeur, 1);
  hauteur = std::max(hauteur, 1);
  echelle_ = echelle;
  if (image_.width() == largeur && image_.height() == hauteur) return;
  canevas_.reset();
  image_ = QImage(largeur, hauteur, QImage::Format_RGB32);
  ++allocations_;
  image_.fill(Qt::black);
  canevas_ = std::make_unique<CanevasQt>(image_);
}

void ZoneDessin::Repeins(const QRect& r) {
  const QRect dedans = r & rect();
  if (dedans.isEmpty()) return;
  attente_ += dedans;
  update(dedans);
}

void ZoneDessin::Repeins() {
  attente_ = QRegion(rect());
  update();
}

void ZoneDessin::Defile(int dx, int dy, const QRect& r) {
  if (!attente_.isEmpty() || !isVisible()) {
    ++recopies_;
    Repeins();
    return;
  }
  scroll(dx, dy, r);
}

void ZoneDessin::DefileEnRecopiant(const QRect& r) {
  ++recopies_;
  Repeins(r);
}

void ZoneDessin::paintEvent(QPaintEvent* e) {
  attente_ -= e->region();
  QPainter p(this);
  // The image is in the screen's pixels: each of its pixels lands on one of the screen's; each
  // rectangle of the region is copied alone (two far places are not one big box).
  for (const QRect& morceau : e->region()) {
    const QRectF r(morceau);
    p.drawImage(r, image_,
                QRectF(r.left() * echelle_, r.top() * echelle_, r.width() * echelle_,
                       r.height() * echelle_));
  }
  const QRectF r(e->rect());
  const QRectF source(r.left() * echelle_, r.top() * echelle_, r.width() * echelle_,
                      r.height() * echelle_);
  if (calque) {
    const QImage* c = calque();
    if (c != nullptr && !c->isNull()) p.drawImage(r, *c, source);
  }
  if (marque) {
    // Over the picture, never in it: the picture's exclusive-or marks stay as they are.
    const QRect m = marque();
    if (!m.isEmpty()) {
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(QPen(QColor(255, 40, 40), 3));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(
          QRectF(m.x() / echelle_, m.y() / echelle_, m.width() / echelle_, m.height() / echelle_));
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

void ZoneDessin::wheelEvent(QWheelEvent* e) {
  if (molette) {
    molette(e);
    e->accept();
  } else {
    QWidget::wheelEvent(e);
  }
}

}  // namespace korv4
