#include "partage/canevas/CanevasQt.h"

#include <QPainterPath>
#include <QPen>
#include <QPolygon>
#include <algorithm>

namespace korv4 {

namespace {

QColor VersQColor(Couleur c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

}  // namespace

CanevasQt::CanevasQt(QImage& image)
    : CanevasImage(reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
                   image.bytesPerLine() / 4),
      image_(&image) {}

CanevasQt::CanevasQt(QPainter& peintre) : CanevasImage(nullptr, 0, 0, 0), peintre_(&peintre) {
  peintre_->setRenderHint(QPainter::Antialiasing, false);
}

CanevasQt::~CanevasQt() {
  if (peintre_ != nullptr && peintre_->isActive()) Acheve();
}

void CanevasQt::Rassemble(Couleur couleur, int epaisseur, StylePlume style, QPointF a, QPointF b) {
  if (!trace_.isEmpty() &&
      (couleur != tracePlume_ || epaisseur != traceEpaisseur_ || style != traceStyle_)) {
    Acheve();
  }
  if (trace_.isEmpty()) {
    tracePlume_ = couleur;
    traceEpaisseur_ = epaisseur;
    traceStyle_ = style;
  }
  if (trace_.isEmpty() || traceFin_ != a) trace_.moveTo(a);
  trace_.lineTo(b);
  traceFin_ = b;
}

void CanevasQt::Acheve() {
  if (trace_.isEmpty() || peintre_ == nullptr) return;
  const StylePlume style = style_;
  const Couleur plume = plume_;
  const int epaisseur = epaisseur_;
  style_ = traceStyle_;
  plume_ = tracePlume_;
  epaisseur_ = traceEpaisseur_;
  peintre_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  peintre_->strokePath(trace_, PlumeQt());
  style_ = style;
  plume_ = plume;
  epaisseur_ = epaisseur;
  trace_.clear();
}

QPainter& CanevasQt::Peintre() {
  if (peintre_ == nullptr) {
    peintrePropre_ = std::make_unique<QPainter>(image_);
    peintre_ = peintrePropre_.get();
    peintre_->setRenderHint(QPainter::Antialiasing, false);
  }
  PreparePeintre();
  return *peintre_;
}

QPen CanevasQt::PlumeQt() const {
  QPen pen(VersQColor(plume_));
  if (epaisseur_ <= 1) {
    pen.setWidth(0);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);  // a thin line leaves out its last pixel
  } else {
    pen.setWidth(epaisseur_);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  pen.setStyle(style_ == StylePlume::Pointille ? Qt::DotLine : Qt::SolidLine);
  return pen;
}

void CanevasQt::PreparePeintre() {
  Acheve();
  peintre_->setPen(PlumeQt());
  if (styleBrosse_ == StyleBrosse::Plein) {
    peintre_->setBrush(VersQColor(brosse_));
  } else {
    peintre_->setBrush(Qt::NoBrush);
  }
  peintre_->setCompositionMode(mode_ == ModePlume::OuExclusif
                                   ? QPainter::RasterOp_SourceXorDestination
                                   : QPainter::CompositionMode_SourceOver);
}

void CanevasQt::LineTo(int x, int y) {
  if (image_ != nullptr) {
    Detache();
    CanevasImage::LineTo(x, y);
    return;
  }
  const int x0 = posX_, y0 = posY_;
  posX_ = x;
  posY_ = y;
  if (SansEffet(false)) return;
  if (mode_ != ModePlume::Copie) {
    PreparePeintre();
    peintre_->drawLine(x0, y0, x, y);
    return;
  }
  // Copy mode: gathered with the lines of the same pen before it.
  Rassemble(plume_, epaisseur_, style_, QPointF(x0, y0), QPointF(x, y));
}

void CanevasQt::Rectangle(int x1, int y1, int x2, int y2) {
  if (image_ != nullptr) {
    Detache();
    CanevasImage::Rectangle(x1, y1, x2, y2);
    return;
  }
  // The right and bottom edges are excluded; an empty rectangle still shows one pixel.
  const int l = std::min(x1, x2), t = std::min(y1, y2);
  const int r = std::max(l, std::max(x1, x2) - 1), b = std::max(t, std::max(y1, y2) - 1);
  if (SansEffet(true)) return;
  PreparePeintre();
  peintre_->drawRect(QRect(l, t, r - l, b - t));
}

void CanevasQt::Ellipse(int x1, int y1, int x2, int y2) {
  if (image_ != nullptr) {
    Detache();
    CanevasImage::Ellipse(x1, y1, x2, y2);
    return;
  }
  const int l = std::min(x1, x2), t = std::min(y1, y2);
  const int r = std::max(l, std::max(x1, x2) - 1), b = std::max(t, std::max(y1, y2) - 1);
  if (SansEffet(true)) return;
  const int w = r - l;
  if (w >= 2 && w == b - t && mode_ == ModePlume::Copie && style_ == StylePlume::Plein &&
      epaisseur_ <= 1 && styleBrosse_ == StyleBrosse::Plein && brosse_ == plume_) {
    // A disc of one colour (a pad's hole): the same figure as the ellipse filled and outlined
    // with the thinnest pen, drawn as Qt draws a wide point, a round-ended stroke of 1/64
    // pixel: a few bytes on a PDF page instead of four curves, gathered with the others.
    const QPointF c(l + w / 2.0, t + w / 2.0);
    Rassemble(plume_, w + 1, StylePlume::Plein, c, c + QPointF(1.0 / 64, 0));
    return;
  }
  PreparePeintre();
  peintre_->drawEllipse(QRect(l, t, r - l, b - t));
}

void CanevasQt::Polygone(const int* xy, int n) {
  if (image_ != nullptr) {
    Detache();
    CanevasImage::Polygone(xy, n);
    return;
  }
  if (n < 1 || SansEffet(true)) return;
  PolygoneConcave(xy, n);
}

void CanevasQt::PolygoneConcave(const int* xy, int n) {
  QPolygon poly;
  for (int i = 0; i < n; ++i) poly << QPoint(xy[2 * i], xy[2 * i + 1]);
  Peintre().drawPolygon(poly);
}

void CanevasQt::Pixel(int x, int y, Couleur c) {
  if (image_ != nullptr) {
    Detache();
    CanevasImage::Pixel(x, y, c);
    return;
  }
  Acheve();
  peintre_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  peintre_->setPen(VersQColor(c));
  peintre_->drawPoint(x, y);
}

}  // namespace korv4
