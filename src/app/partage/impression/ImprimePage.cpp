#include "partage/impression/ImprimePage.h"

#include <QIODevice>
#include <QMarginsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <memory>
#include <new>

#include "partage/canevas/CanevasQt.h"

namespace korv4 {

PageImprimante PageDe(const QPagedPaintDevice& peripherique) {
  PageImprimante p;
  p.PointsParPouceX = peripherique.logicalDpiX();
  p.PointsParPouceY = peripherique.logicalDpiY();
  p.LargeurPoints = peripherique.width();
  p.HauteurPoints = peripherique.height();
  p.Paysage = peripherique.pageLayout().orientation() == QPageLayout::Landscape;
  return p;
}

bool ImprimeSurPage(const Circuit& c, TravailImpression& t, QPagedPaintDevice& peripherique) {
  auto peintre = std::make_unique<QPainter>();
  if (!peintre->begin(&peripherique)) return false;
  try {
    {
      CanevasQt toile(*peintre);
      Imprime(c, t, toile);
      toile.Acheve();
    }
    return peintre->end();
  } catch (const std::bad_alloc&) {
    // Out of memory (the PDF engine compresses the page in memory as it ends it): the painter's
    // destructor would end the page once more and throw from a destructor, which ends the
    // program. The painter is given up instead, and the caller says why.
    static_cast<void>(peintre.release());
    throw;
  }
}

QPageLayout MiseEnPagePdf(QPageSize::PageSizeId papier, QPageLayout::Orientation orientation) {
  return QPageLayout(QPageSize(papier), orientation, QMarginsF(10, 10, 10, 10), QPageLayout::Point);
}

PageImprimante PageDeMiseEnPage(const QPageLayout& miseEnPage, int resolution) {
  const QRect r = miseEnPage.paintRectPixels(resolution);
  PageImprimante p;
  p.PointsParPouceX = resolution;
  p.PointsParPouceY = resolution;
  p.LargeurPoints = r.width();
  p.HauteurPoints = r.height();
  p.Paysage = miseEnPage.orientation() == QPageLayout::Landscape;
  return p;
}

bool ImprimePdf(const Circuit& c, TravailImpression& t, QIODevice& sortie,
                const QPageLayout& miseEnPage, const QString& titre) {
  QPdfWriter pdf(&sortie);
  pdf.setResolution(kResolutionPdf);
  pdf.setPageLayout(miseEnPage);
  pdf.setCreator(QStringLiteral("KORV4"));
  pdf.setTitle(titre);
  return ImprimeSurPage(c, t, pdf);
}

}  // namespace korv4
