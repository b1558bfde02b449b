#include "fenetres/ui/StyleAscenseur.h"

#include <QPainter>
#include <QStyleOptionComplex>
#include <algorithm>

namespace korv4 {

void StyleAscenseur::drawComplexControl(ComplexControl cc, const QStyleOptionComplex* option,
                                        QPainter* p, const QWidget* widget) const {
  constexpr int kRangs = 90;  // below the 96 rows from which a fill goes to the threads
  const QRect r = option->rect;
  // Even a clip to the whole of a short horizontal bar keeps its fills off the threads.
  for (int y = r.top(); y <= r.bottom(); y += kRangs) {
    p->save();
    p->setClipRect(QRect(r.left(), y, r.width(), std::min(kRangs, r.bottom() + 1 - y)),
                   Qt::IntersectClip);
    QProxyStyle::drawComplexControl(cc, option, p, widget);
    p->restore();
  }
}

}  // namespace korv4
