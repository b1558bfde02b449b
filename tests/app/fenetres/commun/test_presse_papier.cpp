#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <memory>

#include "../Captures.h"
#include "fenetres/commun/PressePapier.h"
#include "model/Circuit.h"
#include "render/CircuitExemple.h"
#include "render/TraceCircuit.h"

namespace korv4 {
namespace {

constexpr uint8_t kFace1 = 1, kFace2 = 2, kImplantation = 4;

// A face-1 track (1 mm) from (x, y) along 10 pas then up 5 pas, a face-2 track (1 mm) along the
// top edge and a placement line inside: elements spanning w by h units from (x, y).
void Circuit3Travaux(Circuit& c, int32_t x, int32_t y, int32_t w, int32_t h) {
  RazCircuit(c);
  AjouteRecord(c, kFace1, 163, kPremierPoint, x, y);
  AjouteRecord(c, kFace1, 163, kPointMilieu, x + w, y);
  AjouteRecord(c, kFace1, 163, kDernierPoint, x + w, y + h);
  AjouteRecord(c, kFace2, 163, kPremierPoint, x, y + h);
  AjouteRecord(c, kFace2, 163, kDernierPoint, x + w / 2, y + h);
  AjouteRecord(c, kImplantation, code::Trait1, 3, x + w / 5, y + h * 2 / 5);
  AjouteRecord(c, kImplantation, code::Trait2, 3, x + w * 4 / 5, y + h * 2 / 5);
}

// Width and height of the SVG root, in millimetres (0 when not given in mm).
std::pair<double, double> TailleSvgMm(const QByteArray& svg) {
  QXmlStreamReader xml(svg);
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("svg")) {
      auto mm = [&](const char* attribut) {
        const QString v = xml.attributes().value(QLatin1String(attribut)).toString();
        return v.endsWith(QLatin1String("mm")) ? v.chopped(2).toDouble() : 0.0;
      };
      return {mm("width"), mm("height")};
    }
  }
  return {0, 0};
}

uint32_t Rgb(const QImage& im, int x, int y) { return im.pixel(x, y) & 0xFFFFFF; }

TEST(PressePapier, TailleEnMillimetresEtEnPixels) {
  struct Cas {
    int32_t w, h;          // span of the elements, units
    double mmX, mmY;       // ((span + 100) * 254) div 100 hundredths of a millimetre
    int pixelsX, pixelsY;  // 12 pixels per pas
  };
  const Cas cas[] = {
      {1000, 500, 27.94, 15.24, 132, 72},  // 10 x 5 pas: (10 + 1) x 12 by (5 + 1) x 12
      {1050, 525, 29.21, 15.87, 138, 75},  // not whole pas: the hundredths truncate
      {0, 0, 2.54, 2.54, 12, 12},          // one point: the margin alone
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(testing::Message() << k.w << " x " << k.h);
    Circuit c;
    if (k.w == 0) {
      RazCircuit(c);
      AjouteRecord(c, kFace1, code::Trait1, 1, 3000, 2000);
      AjouteRecord(c, kFace1, code::Trait2, 1, 3000, 2000);
    } else {
      Circuit3Travaux(c, 2000, 1000, k.w, k.h);
    }
    const ImageCircuit image = ImagePressePapier(c, EtatTravail{}, 11820, 7880);
    ASSERT_FALSE(image.Vide());
    const auto [x, y] = TailleSvgMm(image.Svg);
    EXPECT_NEAR(x, k.mmX, 1e-6);
    EXPECT_NEAR(y, k.mmY, 1e-6);
    EXPECT_EQ(image.Image.width(), k.pixelsX);
    EXPECT_EQ(image.Image.height(), k.pixelsY);
    // 120 pixels per inch, so that a raster program also pastes it at its real size.
    EXPECT_NEAR(image.Image.dotsPerMeterX(), 120 / 0.0254, 1);
    EXPECT_NEAR(image.Image.dotsPerMeterY(), 120 / 0.0254, 1);
  }
}

TEST(PressePapier, LesTravauxMontresDansLeursCouleursSurBlanc) {
  Circuit c;
  Circuit3Travaux(c, 1000, 1000, 1000, 500);
  // Device pixel of unit (x, y): 12 pixels per pas from (left - 50, top + 50) = (950, 1550).
  auto px = [](int32_t x, int32_t y) {
    return QPoint((x - 950) * 12 / 100, (1550 - y) * 12 / 100);
  };
  const QPoint face1 = px(1500, 1000), face2 = px(1250, 1500), ligne = px(1500, 1200),
               vide = px(1250, 1250), coin = QPoint(0, 0);
  struct Cas {
    EtatTravail etat;
    uint32_t face1, face2, ligne;
  };
  const Cas cas[] = {
      {{1, 0, 0, 0}, kNoir, kBlanc, kBlanc},  // face 1 alone, in the edited work's black
      {{1, 0, 1, 1}, kNoir, kVert, kBleu},    // face 2 and placement shown under it
      {{3, 1, 0, 0}, kRouge, kBlanc, kNoir},  // placement edited, face 1 shown
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(testing::Message() << "travail " << k.etat.Travail);
    const ImageCircuit image = ImagePressePapier(c, k.etat, 11820, 7880);
    const QImage& im = image.Image;
    ASSERT_EQ(im.size(), QSize(132, 72));
    EXPECT_EQ(Rgb(im, face1.x(), face1.y()), k.face1);
    EXPECT_EQ(Rgb(im, face2.x(), face2.y()), k.face2);
    EXPECT_EQ(Rgb(im, ligne.x(), ligne.y()), k.ligne);
    EXPECT_EQ(Rgb(im, vide.x(), vide.y()), kBlanc);
    EXPECT_EQ(Rgb(im, coin.x(), coin.y()), kBlanc);  // white, no grid, no surface frame

    // The SVG is the same picture: rendered at 12 pixels per pas, the same colours at the
    // middle of each stroke.
    QSvgRenderer rendu(image.Svg);
    ASSERT_TRUE(rendu.isValid());
    QImage svg(im.size(), QImage::Format_RGB32);
    svg.fill(Qt::magenta);  // the SVG paints its own white background
    {
      QPainter p(&svg);
      rendu.render(&p);
    }
    EXPECT_EQ(Rgb(svg, face1.x(), face1.y()), k.face1);
    EXPECT_EQ(Rgb(svg, face2.x(), face2.y()), k.face2);
    EXPECT_EQ(Rgb(svg, ligne.x(), ligne.y()), k.ligne);
    EXPECT_EQ(Rgb(svg, vide.x(), vide.y()), kBlanc);
    EXPECT_EQ(Rgb(svg, coin.x(), coin.y()), kBlanc);
    if (k.etat.VisuFace2) {
      Capture(im.scaled(im.size() * 4), QStringLiteral("presse_papier_png_x4.png"));
      Capture(svg.scaled(svg.size() * 4), QStringLiteral("presse_papier_svg_x4.png"));
    }
  }
}

TEST(PressePapier, LePressePapierRecoitSvgEtPng) {
  Circuit c;
  Circuit3Travaux(c, 1000, 1000, 1000, 500);
  ASSERT_TRUE(CopiePressePapier(c, {1, 0, 1, 1}, 11820, 7880));
  const QMimeData* donnees = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(donnees, nullptr);
  ASSERT_TRUE(donnees->hasFormat(QStringLiteral("image/svg+xml")));
  ASSERT_TRUE(donnees->hasFormat(QStringLiteral("image/png")));
  EXPECT_TRUE(donnees->hasImage());
  const auto [x, y] = TailleSvgMm(donnees->data(QStringLiteral("image/svg+xml")));
  EXPECT_NEAR(x, 27.94, 1e-6);
  EXPECT_NEAR(y, 15.24, 1e-6);
  const QImage png = QImage::fromData(donnees->data(QStringLiteral("image/png")), "PNG");
  ASSERT_EQ(png.size(), QSize(132, 72));
  EXPECT_NEAR(png.dotsPerMeterX(), 120 / 0.0254, 1);
  Capture(png, QStringLiteral("presse_papier.png"));
}

TEST(PressePapier, CircuitVideRienNeChange) {
  QGuiApplication::clipboard()->setText(QStringLiteral("avant"));
  Circuit vide;
  RazCircuit(vide);
  Circuit marqueurs;  // a group with nothing in it: no element to draw
  RazCircuit(marqueurs);
  AjouteRecord(marqueurs, 0, code::DebutGroupe, 0, 0, 0);
  AjouteRecord(marqueurs, 0, code::FinGroupe, 0, 0, 0);
  for (const Circuit* c : {&vide, &marqueurs}) {
    EXPECT_TRUE(ImagePressePapier(*c, EtatTravail{}, 11820, 7880).Vide());
    EXPECT_EQ(DonneesPressePapier(ImagePressePapier(*c, EtatTravail{}, 11820, 7880)), nullptr);
    EXPECT_FALSE(CopiePressePapier(*c, EtatTravail{}, 11820, 7880));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "avant");
  }
}

}  // namespace
}  // namespace korv4
