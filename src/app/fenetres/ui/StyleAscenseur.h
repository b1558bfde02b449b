#pragma once

#include <QProxyStyle>

// The style of the drawing area's scroll bars: the application's own, drawn in bands of rows.
// Qt's raster engine hands every fill of 96 rows or more to its thread pool, a few rows to each
// thread; for a bar the waking and waiting cost far more than the fill (a 1080-pixel bar took
// 0.6 ms to repaint, 0.16 ms in bands), and the bars are repainted on every zoom. Clipped to
// fewer rows, each fill stays on the window's thread; each band draws the groove and the parts
// of the bar that reach it, clipped (the slider's translucent outline comes out a little darker
// than in one pass). On a screen of twice the density the bar is drawn in one pass: there
// bands cost more than the threads (a 2160-pixel bar 0.55 ms in one pass, 2.4 to 9 in bands).

namespace korv4 {

class StyleAscenseur : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* option, QPainter* p,
                          const QWidget* widget = nullptr) const override;
};

}  // namespace korv4
