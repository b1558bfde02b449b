#include "fenetres/ui/ZoneDessin.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

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

bool ZoneDessin::CopieDirecte(QPainter& p, const QRegion& region) {
  // The window's own picture (its backing store), each pixel of the image on one of it at a
  // whole offset: what drawImage would copy there, row by row.
  QPaintEngine* moteur = p.paintEngine();
  if (moteur == nullptr || moteur->type() != QPaintEngine::Raster) return false;
  QPaintDevice* d = moteur->paintDevice();
  if (d == nullptr || d->devType() != QInternal::Image) return false;
  QImage& cible = *static_cast<QImage*>(d);
  const QTransform t = p.deviceTransform();
  // drawImage copies the image's pixels unchanged onto either format, as here.
  const bool format = image_.format() == QImage::Format_RGB32 &&
                      (cible.format() == QImage::Format_RGB32 ||
                       cible.format() == QImage::Format_ARGB32_Premultiplied);
  if (!format || t.type() > QTransform::TxScale || t.m11() != echelle_ || t.m22() != echelle_ ||
      t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
    return false;
  const QPoint decalage(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
  struct Bande {
    const uchar* source;
    uchar* cible;
    int octets, rangs;
  };
  std::vector<Bande> bandes;
  int64_t total = 0;
  for (const QRect& morceau : region) {
    // In the image's pixels, within the image and the window's picture.
    const QRect s = QRect(qFloor(morceau.left() * echelle_), qFloor(morceau.top() * echelle_),
                          qRound(morceau.width() * echelle_), qRound(morceau.height() * echelle_)) &
                    image_.rect() & cible.rect().translated(-decalage);
    if (s.isEmpty()) continue;
    bandes.push_back(Bande{image_.constScanLine(s.top()) + s.left() * 4,
                           cible.scanLine(s.top() + decalage.y()) + (s.left() + decalage.x()) * 4,
                           s.width() * 4, s.height()});
    total += int64_t{s.width()} * s.height();
  }
  const qsizetype pasSource = image_.bytesPerLine(), pasCible = cible.bytesPerLine();
  auto copie = [&](const Bande& b, int premier, int fin) {
    for (int y = premier; y < fin; ++y)
      std::memcpy(b.cible + y * pasCible, b.source + y * pasSource, b.octets);
  };
  // A large copy (a whole area redrawn) in two halves of rows on two threads when a second
  // processor is free.
  constexpr int64_t kPixelsDeux = int64_t{1} << 20;
  if (equipe != nullptr && bandes.size() == 1 && total >= kPixelsDeux &&
      Equipe::ProcesseurLibre()) {
    const Bande& b = bandes.front();
    const int m = std::clamp(static_cast<int>(b.rangs * equipe->PartAppelant()), 1, b.rangs - 1);
    const double travail[2] = {static_cast<double>(m), static_cast<double>(b.rangs - m)};
    equipe->Partage(
        2, [&](int i) { i == 0 ? copie(b, 0, m) : copie(b, m, b.rangs); }, travail);
  } else {
    for (const Bande& b : bandes) copie(b, 0, b.rangs);
  }
  return true;
}

void ZoneDessin::paintEvent(QPaintEvent* e) {
  attente_ -= e->region();
  QPainter p(this);
  // The image is in the screen's pixels: each of its pixels lands on one of the screen's; each
  // rectangle of the region is copied alone (two far places are not one big box).
  if (!CopieDirecte(p, e->region())) {
    for (const QRect& morceau : e->region()) {
      const QRectF r(morceau);
      p.drawImage(r, image_,
                  QRectF(r.left() * echelle_, r.top() * echelle_, r.width() * echelle_,
                         r.height() * echelle_));
    }
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
