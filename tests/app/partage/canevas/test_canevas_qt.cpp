#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <string>
#include <vector>

#include "model/Circuit.h"
#include "partage/canevas/CanevasQt.h"
#include "render/CircuitExemple.h"
#include "render/ContexteTrace.h"
#include "render/Curseur.h"
#include "render/TraceCircuit.h"

namespace korv4 {
namespace {

QImage Image(int w, int h, uint32_t fond = 0xFFFFFFFF) {
  QImage im(w, h, QImage::Format_RGB32);
  im.fill(fond);
  return im;
}

uint32_t Px(const QImage& im, int x, int y) { return im.pixel(x, y) & 0xFFFFFF; }

// The screen context of a w x h drawing area showing the circuit's surface from unit
// (debutX, debutY) at its bottom-left corner.
ContexteTrace Ecran(Canevas& t, const Circuit& c, int zoom, int w, int h, int debutX = 0,
                    int debutY = 0) {
  ContexteTrace ctx;
  ctx.Toile = &t;
  ctx.Zoom = zoom;
  ctx.SurfaceX = c.EnteteCI.SurfaceX;
  ctx.SurfaceY = c.EnteteCI.SurfaceY;
  ctx.LargeurSurface = PixelX(ctx, ctx.SurfaceX);
  ctx.HauteurSurface = PixelY(ctx, ctx.SurfaceY);
  ctx.Zone = {0, 0, w, h};
  ctx.CouleurCurseur = kCouleurCurseur;  // as the main window sets it at start-up
  ctx.OrigineX = PixelX(ctx, debutX);
  ctx.OrigineY = h - 1 + PixelY(ctx, debutY);
  CalculTailles(ctx, c.EnteteCI.DiametresPercage);
  return ctx;
}

void RedessinComplet(const Circuit& c, ContexteTrace& ctx, const EtatTravail& etat) {
  CacheSelection(c, ctx);
  TraceFond(ctx);
  TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, etat);
  MontreSelection(c, ctx);
}

TEST(CanevasQt, TraitsFinsLargesEtPointilles) {
  QImage im = Image(60, 40);
  CanevasQt t(im);
  t.CouleurPlume(0);
  t.MoveTo(2, 2);
  t.LineTo(10, 2);  // the end pixel is left out
  EXPECT_EQ(Px(im, 2, 2), 0u);
  EXPECT_EQ(Px(im, 9, 2), 0u);
  EXPECT_EQ(Px(im, 10, 2), 0xFFFFFFu);

  // A 9-pixel pen: 9 rows, round ends reaching 4 pixels past the points, no square corner.
  t.EpaisseurPlume(9);
  t.MoveTo(20, 20);
  t.LineTo(40, 20);
  int rangees = 0;
  for (int y = 0; y < 40; ++y) rangees += Px(im, 30, y) == 0 ? 1 : 0;
  EXPECT_EQ(rangees, 9);
  EXPECT_EQ(Px(im, 16, 20), 0u);
  EXPECT_EQ(Px(im, 44, 20), 0u);
  EXPECT_EQ(Px(im, 16, 16), 0xFFFFFFu);
  EXPECT_EQ(Px(im, 15, 20), 0xFFFFFFu);

  // A dotted frame: every other pixel along each edge.
  QImage im2 = Image(30, 30);
  CanevasQt t2(im2);
  t2.CouleurPlume(0);
  t2.StyleDePlume(StylePlume::Pointille);
  t2.StyleDeBrosse(StyleBrosse::Creux);
  t2.Rectangle(5, 5, 16, 12);  // pixels 5..15 x 5..11
  int noirs = 0;
  for (int x = 5; x <= 15; ++x) noirs += Px(im2, x, 5) == 0 ? 1 : 0;
  EXPECT_EQ(noirs, 6);
  EXPECT_NE(Px(im2, 5, 5), Px(im2, 6, 5));
  EXPECT_EQ(Px(im2, 10, 8), 0xFFFFFFu);  // hollow
  EXPECT_EQ(Px(im2, 16, 5), 0xFFFFFFu);  // the right edge is excluded
}

// A filled pad (shapes 1..11) changes each of its pixels once in exclusive-or, and the same
// pixels as in copy mode: the outline does not vanish.
TEST(CanevasQt, PastillePleineEnOuExclusif) {
  for (int zoom : {0, 2, 5, 9}) {
    for (int forme = 1; forme <= 11; ++forme) {
      Circuit c;
      QImage copie = Image(400, 400), ouex = Image(400, 400);
      const QImage blanc = copie.copy();
      CanevasQt tc(copie), tx(ouex);
      ContexteTrace cc = Ecran(tc, c, zoom, 400, 400);
      ContexteTrace cx = Ecran(tx, c, zoom, 400, 400);
      for (ContexteTrace* k : {&cc, &cx}) {  // the pad at the image's centre
        k->OrigineX = PixelX(*k, 1000) - 200;
        k->OrigineY = 200 + PixelY(*k, 1000);
      }
      tc.ModeDePlume(ModePlume::Copie);
      tx.ModeDePlume(ModePlume::OuExclusif);
      const Couleur rouge = 0xFF0000;
      // No hole: the hole is a second figure over the pad.
      TracePastille(cc, 1000, 1000, forme, 0, rouge, kBlanc);
      TracePastille(cx, 1000, 1000, forme, 0, rouge, kBlanc);
      int changes = 0;
      for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 400; ++x) {
          const bool c1 = copie.pixel(x, y) != blanc.pixel(x, y);
          ASSERT_EQ(c1, ouex.pixel(x, y) != blanc.pixel(x, y))
              << "zoom " << zoom << " forme " << forme << " (" << x << "," << y << ")";
          if (c1) {
            ++changes;
            ASSERT_EQ(Px(ouex, x, y), 0xFFFFFFu ^ rouge) << forme;
          }
        }
      }
      EXPECT_GT(changes, 0) << forme;
    }
  }
}

TEST(CanevasQt, CurseursElastiquesEtMarqueDeuxFoisEnOuExclusif) {
  Circuit c;
  CircuitExemple(c, 600, 4000, 3000, 7);
  QImage im = Image(420, 320);
  CanevasQt t(im);
  ContexteTrace ctx = Ecran(t, c, 2, 420, 320);
  ctx.SansCurseur = true;
  TraceFond(ctx);
  TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, {1, 1, 1, 1});
  const QImage avant = im.copy();
  ctx.SansCurseur = false;
  // Each shape, the drawings' at their thickness; a track of 0.3 mm, and one of 2.5 mm being
  // drawn.
  struct Forme {
    Curseur forme;
    int piste;
    bool dessin;
  };
  const Forme formes[] = {
      {Curseur::Croix, 0, false},      {Curseur::Piste, 1, false},    {Curseur::Pastille, 0, false},
      {Curseur::Trait, 0, true},       {Curseur::Rectangle, 0, true}, {Curseur::Cercle, 0, true},
      {Curseur::Ellipse, 0, true},     {Curseur::Zone, 0, false},     {Curseur::Cadre, 0, false},
      {Curseur::CadrePorte, 0, false}, {Curseur::Piste, 6, false}};
  for (const auto& [forme, piste, dessin] : formes) {
    const int outil = static_cast<int>(forme) * 10 + piste;  // what a failure names
    ChoixFormeCurseur(ctx, forme, piste, dessin);
    PlaceCurseur(ctx, 1000, 1000);
    FixeCadre(ctx, Cadre{500, 2000, 1500, 1200}, true);
    Elastique(ctx, true);
    ctx.PisteEnCours = piste == 6;
    PlaceCurseur(ctx, 2300, 1700);
    ASSERT_NE(im, avant) << outil;
    TraceCurseur(ctx);  // drawn twice
    EXPECT_EQ(im, avant) << outil;
    TraceCurseur(ctx);
    RazCurseur(ctx);
    EXPECT_EQ(im, avant) << outil;
  }
  TraceMarqueOrigine(ctx, 1500, 1500, ModePlume::OuExclusif, 0x7FFFFF, 0);
  ASSERT_NE(im, avant);
  TraceMarqueOrigine(ctx, 1500, 1500, ModePlume::OuExclusif, 0x7FFFFF, 0);
  EXPECT_EQ(im, avant);
}

// A context whose cursor colour was never set (a printer page) shows and hides its cursor
// with every drawing pass, and the page does not change.
TEST(CanevasQt, CurseurSansCouleurLaissePageIntacte) {
  Circuit c;
  CircuitExemple(c, 300, 4000, 3000, 5);
  QImage images[2];
  for (int sansCurseur = 0; sansCurseur < 2; ++sansCurseur) {
    images[sansCurseur] = Image(420, 320);
    CanevasQt t(images[sansCurseur]);
    ContexteTrace ctx;
    ctx.Toile = &t;
    ctx.Zone = {0, 0, 420, 320};
    ctx.OrigineY = 319;
    ctx.SansCurseur = sansCurseur == 1;
    TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, {1, 1, 1, 1});
  }
  EXPECT_EQ(images[0], images[1]);
}

// A printer page cannot do exclusive-or: a figure in exclusive-or with colour 0 would come out
// opaque black there. Nothing of it reaches the device.
TEST(CanevasQt, OuExclusifDeCouleurNulleNAtteintPasLePeripherique) {
  QPicture vide, page;
  { QPainter p(&vide); }
  {
    QPainter p(&page);
    CanevasQt t(p);
    ContexteTrace ctx;  // a page's context: its cursor colour is never set
    ctx.Toile = &t;
    ctx.OrigineY = 500;
    CalculTailles(ctx, kDiametresPercageDefaut);
    ChoixFormeCurseur(ctx, Curseur::Pastille);
    FixeCadre(ctx, Cadre{0, 2000, 1000, 1000}, true);
    ChoixFormeCurseur(ctx, Curseur::Cercle, 0, true);
    PlaceCurseur(ctx, 1500, 300);
    TraceMarqueOrigine(ctx, 1000, 1000, ModePlume::OuExclusif, 0, 0);
  }
  EXPECT_EQ(page.size(), vide.size());
}

// The painter route (a printer page) gathers the lines of one pen into one path and draws a
// disc of one colour as a round-ended point: the page holds the same figures as one call per
// figure would draw, and nothing is lost when the canvas is finished before the painter ends.
TEST(CanevasQt, TraitsRassemblesEtDisquesSurUnePage) {
  Circuit c;
  CircuitExemple(c, 3000, 4000, 3000, 5);
  // A canvas that strokes every line alone: the canvas is finished after every figure.
  class UnParUn : public Canevas {
   public:
    explicit UnParUn(CanevasQt& t) : t_(t) {}
    void CouleurPlume(Couleur c) override { t_.CouleurPlume(c); }
    void EpaisseurPlume(int l) override { t_.EpaisseurPlume(l); }
    void StyleDePlume(StylePlume s) override { t_.StyleDePlume(s); }
    void ModeDePlume(ModePlume m) override { t_.ModeDePlume(m); }
    void CouleurBrosse(Couleur c) override { t_.CouleurBrosse(c); }
    void StyleDeBrosse(StyleBrosse s) override { t_.StyleDeBrosse(s); }
    void MoveTo(int x, int y) override { t_.MoveTo(x, y); }
    void LineTo(int x, int y) override {
      t_.LineTo(x, y);
      t_.Acheve();
    }
    void Rectangle(int a, int b, int c, int d) override { t_.Rectangle(a, b, c, d); }
    void Ellipse(int a, int b, int c, int d) override { t_.Ellipse(a, b, c, d); }
    void Polygone(const int* xy, int n) override { t_.Polygone(xy, n); }
    void Pixel(int x, int y, Couleur c) override { t_.Pixel(x, y, c); }

   private:
    CanevasQt& t_;
  };
  auto page = [&](bool rassembler) {
    QImage im = Image(420, 320);
    QPainter p(&im);
    CanevasQt t(p);
    UnParUn u(t);
    ContexteTrace ctx = Ecran(t, c, 2, 420, 320);
    if (!rassembler) ctx.Toile = &u;
    ctx.SansCurseur = true;
    TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, {1, 1, 1, 1});
    t.Acheve();
    p.end();
    return im;
  };
  const QImage a = page(true);
  // Stroked one by one, the segments of a track meet with round ends instead of round joins
  // and thin lines keep their last pixel: the ink agrees to a few pixels' rounding.
  const QImage b = page(false);
  int encreA = 0, encreB = 0, differents = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      encreA += Px(a, x, y) != 0xFFFFFF;
      encreB += Px(b, x, y) != 0xFFFFFF;
      differents += Px(a, x, y) != Px(b, x, y);
    }
  }
  EXPECT_GT(encreA, 5000);
  EXPECT_NEAR(encreA, encreB, encreB / 50);
  EXPECT_LT(differents, encreB / 10);

  // A filled disc of one colour on a page: the ellipse Qt would draw, to its rim.
  QImage disque = Image(60, 60), ellipse = Image(60, 60);
  {
    QPainter p(&disque);
    CanevasQt t(p);
    t.CouleurPlume(kNoir);
    t.CouleurBrosse(kNoir);
    t.Ellipse(10, 10, 50, 50);
  }  // the canvas goes before the painter: its destructor strokes what it gathered
  {
    QPainter p(&ellipse);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::black);
    p.drawEllipse(QRect(10, 10, 39, 39));
  }
  int noirsD = 0, noirsE = 0, ecarts = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 60; ++x) {
      noirsD += Px(disque, x, y) == 0;
      noirsE += Px(ellipse, x, y) == 0;
      ecarts += Px(disque, x, y) != Px(ellipse, x, y);
    }
  }
  // A 40-pixel disc: 1257 pixels, its rim about 125; the hairline outline of the ellipse
  // takes a few more.
  EXPECT_NEAR(noirsD, noirsE, 52);
  EXPECT_LT(ecarts, 60);
  EXPECT_EQ(Px(disque, 30, 30), 0u);
  EXPECT_EQ(Px(disque, 30, 11), 0u);
  EXPECT_EQ(Px(disque, 30, 8), 0xFFFFFFu);
}

TEST(CanevasQt, SurbrillanceDeuxFoisEnOuExclusif) {
  Circuit c;
  CircuitExemple(c, 800, 4000, 3000, 3);
  for (int travail = 1; travail <= 4; ++travail) {
    for (int zoom : {0, 2, 6}) {
      QImage im = Image(420, 320);
      CanevasQt t(im);
      ContexteTrace ctx = Ecran(t, c, zoom, 420, 320);
      const EtatTravail etat{travail, 1, 1, 1};
      RedessinComplet(c, ctx, etat);
      const QImage avant = im.copy();
      ChoixSelection(c, Plage{1, c.NbElements}, etat, ctx);
      ASSERT_NE(im, avant);
      CacheSelection(c, ctx);
      EXPECT_EQ(im, avant) << "travail " << travail << " zoom " << zoom;
      ChoixSelection(c, Plage{100, 300}, etat, ctx);
      AnnuleSelection(c, ctx);
      EXPECT_EQ(im, avant) << "travail " << travail << " zoom " << zoom;
    }
  }
}

// Leaving out the elements wholly outside the visible zone gives the same picture, highlight
// included, at every zoom and scroll position.
TEST(CanevasQt, ElagageSansEffetSurLImage) {
  Circuit c;
  CircuitExemple(c, 6000, 12000, 9000, 11);
  struct Vue {
    int zoom, debutX, debutY;
  };
  const Vue vues[] = {{0, 0, 0},       {2, 0, 0},       {2, 4000, 3000},
                      {5, 2500, 1800}, {9, 6000, 4500}, {9, 150, 9000 - 700}};
  for (const Vue& v : vues) {
    for (int travail : {1, 4}) {
      QImage images[2];
      for (int elague = 0; elague < 2; ++elague) {
        images[elague] = Image(300, 200, 0xFF336699);
        CanevasQt t(images[elague]);
        ContexteTrace ctx = Ecran(t, c, v.zoom, 300, 200, v.debutX, v.debutY);
        ctx.Elagage = elague == 1;
        const EtatTravail etat{travail, 1, 1, 1};
        RedessinComplet(c, ctx, etat);
        ChoixSelection(c, Plage{2000, 3500}, etat, ctx);
        ChoixFormeCurseur(ctx, Curseur::Zone);
        PlaceCurseur(ctx, v.debutX + 300, v.debutY + 300);
      }
      EXPECT_EQ(images[0], images[1])
          << "zoom " << v.zoom << " vue " << v.debutX << "," << v.debutY << " travail " << travail;
    }
  }
}

}  // namespace
}  // namespace korv4
