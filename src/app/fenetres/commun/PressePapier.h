#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>

#include "model/Circuit.h"
#include "render/ContexteTrace.h"

class QMimeData;

// The picture of the circuit that "Copier (Presse papier)" puts on the clipboard: the elements
// of the shown works in their normal colours on white, without grid or cursor, at 12 pixels per
// pas (120 per inch), framed by the elements' box plus half a pas on each side. Given twice, as
// SVG for vector programs and as a PNG image for raster ones, both with their physical size.

namespace korv4 {

struct ImageCircuit {
  QByteArray Svg;                // image/svg+xml, its width and height in millimetres
  QImage Image;                  // 12 pixels per pas; its dots per metre give 120 per inch
  int32_t LargeurCentiemes = 0;  // size in hundredths of a millimetre
  int32_t HauteurCentiemes = 0;
  bool Vide() const { return Svg.isEmpty(); }
};

// The picture of elements 1..NbElements for the works of `etat`; empty when the circuit has no
// element. surfaceX, surfaceY: the work surface of the screen's drawing context, in units.
ImageCircuit ImagePressePapier(const Circuit& c, const EtatTravail& etat, int32_t surfaceX,
                               int32_t surfaceY);

// The clipboard data of a picture (image/svg+xml, image/png and Qt's image), or nullptr when
// the picture is empty. The caller owns it until it hands it to the clipboard.
QMimeData* DonneesPressePapier(const ImageCircuit& image);

// "Copier (Presse papier)": puts the picture on QGuiApplication::clipboard(). Does nothing and
// returns false when the circuit has no element.
bool CopiePressePapier(const Circuit& c, const EtatTravail& etat, int32_t surfaceX,
                       int32_t surfaceY);

}  // namespace korv4
