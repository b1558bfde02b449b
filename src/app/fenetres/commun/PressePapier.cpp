#include "fenetres/commun/PressePapier.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>

#include "partage/canevas/CanevasQt.h"
#include "render/TraceCircuit.h"

namespace korv4 {

namespace {

constexpr int32_t kResolution = 12;      // pixels per pas
constexpr double kPixelsParPouce = 120;  // 12 pixels per 2.54 mm
// The SVG's size is given in hundredths of a millimetre: 2540 of them per inch.
constexpr int kCentiemesParPouce = 2540;

// The drawing context of the picture: no cursor, 100 % zoom, 12 pixels per pas, unit
// (gauche, haut) of the frame at device pixel (0, 0).
ContexteTrace ContexteImage(Canevas& toile, const Cadre& b, int32_t surfaceX, int32_t surfaceY,
                            int largeur, int hauteur) {
  ContexteTrace ctx;
  ctx.SansCurseur = true;
  ctx.Zoom = 2;
  ctx.SurfaceX = surfaceX;
  ctx.SurfaceY = surfaceY;
  ctx.ResolX = ctx.ResolY = kResolution;
  ctx.EchelleX = ctx.EchelleY = 100;
  ctx.LargeurSurface = PixelX(ctx, surfaceX);
  ctx.HauteurSurface = PixelY(ctx, surfaceY);
  ctx.Zone = {0, 0, largeur, hauteur};
  ctx.OrigineX = PixelX(ctx, b.Gauche - 50);
  ctx.OrigineY = PixelY(ctx, b.Haut + 50);
  ctx.FormeCurseur = Curseur::Croix;
  ctx.Toile = &toile;
  return ctx;
}

}  // namespace

ImageCircuit ImagePressePapier(const Circuit& c, const EtatTravail& etat, int32_t surfaceX,
                               int32_t surfaceY) {
  ImageCircuit r;
  if (c.NbElements < 1) return r;
  const Cadre b = CadreElements(c, 1, c.NbElements);
  if (b.Droite < b.Gauche || b.Haut < b.Bas) return r;  // only markers, nothing drawn
  // The elements' box plus one pas, in hundredths of a millimetre (a unit is 1/100 pas).
  r.LargeurCentiemes = ((b.Droite - b.Gauche + 100) * 254) / 100;
  r.HauteurCentiemes = ((b.Haut - b.Bas + 100) * 254) / 100;
  // The same size in pixels, the last partial pixel included.
  const int largeur =
      static_cast<int>(std::ceil(r.LargeurCentiemes * kPixelsParPouce / kCentiemesParPouce - 1e-9));
  const int hauteur =
      static_cast<int>(std::ceil(r.HauteurCentiemes * kPixelsParPouce / kCentiemesParPouce - 1e-9));
  const QRect cadrePixels(0, 0, largeur, hauteur);

  // Vector picture: the generator's size is in hundredths of a millimetre, so that its width
  // and height in millimetres are exact; the drawing is in pixels through the view box.
  QBuffer tampon(&r.Svg);
  tampon.open(QIODevice::WriteOnly);
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&tampon);
    svg.setResolution(kCentiemesParPouce);
    svg.setSize(QSize(r.LargeurCentiemes, r.HauteurCentiemes));
    svg.setViewBox(QRectF(0, 0, r.LargeurCentiemes * kPixelsParPouce / kCentiemesParPouce,
                          r.HauteurCentiemes * kPixelsParPouce / kCentiemesParPouce));
    svg.setTitle(QStringLiteral("KORV4"));
    svg.setDescription(QStringLiteral("Circuit imprimé"));
    QPainter peintre(&svg);
    peintre.fillRect(svg.viewBoxF(), Qt::white);
    CanevasQt toile(peintre);
    ContexteTrace ctx = ContexteImage(toile, b, surfaceX, surfaceY, largeur, hauteur);
    TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, etat);
  }
  tampon.close();

  // Raster picture, drawn by the same canvas as the editor's drawing area. Too large an image
  // (a damaged file) leaves it null: the SVG alone goes to the clipboard.
  r.Image = QImage(cadrePixels.size(), QImage::Format_RGB32);
  if (!r.Image.isNull()) {
    r.Image.fill(Qt::white);
    const int pointsParMetre = static_cast<int>(std::lround(kPixelsParPouce / 0.0254));
    r.Image.setDotsPerMeterX(pointsParMetre);
    r.Image.setDotsPerMeterY(pointsParMetre);
    CanevasQt toile(r.Image);
    ContexteTrace ctx = ContexteImage(toile, b, surfaceX, surfaceY, largeur, hauteur);
    TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, etat);
  }
  return r;
}

QMimeData* DonneesPressePapier(const ImageCircuit& image) {
  if (image.Vide()) return nullptr;
  auto* donnees = new QMimeData;
  donnees->setData(QStringLiteral("image/svg+xml"), image.Svg);
  if (!image.Image.isNull()) {
    QByteArray png;
    QBuffer tampon(&png);
    tampon.open(QIODevice::WriteOnly);
    if (image.Image.save(&tampon, "PNG")) donnees->setData(QStringLiteral("image/png"), png);
    donnees->setImageData(image.Image);
  }
  return donnees;
}

bool CopiePressePapier(const Circuit& c, const EtatTravail& etat, int32_t surfaceX,
                       int32_t surfaceY) {
  QMimeData* donnees = DonneesPressePapier(ImagePressePapier(c, etat, surfaceX, surfaceY));
  if (donnees == nullptr) return false;
  QGuiApplication::clipboard()->setMimeData(donnees);
  return true;
}

}  // namespace korv4
