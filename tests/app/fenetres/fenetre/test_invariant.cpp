#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "editeur/Gestes.h"
#include "partage/canevas/CanevasQt.h"

// Transient marks (cursor, rubber band, frames, highlight, origin mark) are drawn and erased in
// exclusive-or: whatever the gestures, the drawing area must equal a fresh full redraw with the
// marks shown.

namespace korv4 {
namespace {

struct Ecran {
  QImage image{700, 500, QImage::Format_RGB32};
  CanevasQt toile{image};
  // The editor's canvas on the image, and its pixels for the partial redraws.
  void Branche(Editeur& ed) {
    ed.toile.Cible(&toile);
    ed.Image.Pixels = reinterpret_cast<uint32_t*>(image.bits());
    ed.Image.Largeur = image.width();
    ed.Image.Hauteur = image.height();
    ed.Image.Pas = image.bytesPerLine() / 4;
  }
};

// Only the drawing area shows: what lies under the scroll bars is never seen.
void VerifieInvariant(Session& s, QImage& image, const std::string& contexte) {
  const RectPixel& z = s.ed.ctx.Zone;
  const QRect zone(z.Gauche, z.Haut, z.Droite - z.Gauche, z.Bas - z.Haut);
  const QImage avant = image.copy(zone);
  ReTraceCimp(s.ed);
  ASSERT_TRUE(avant == image.copy(zone)) << contexte;
}

void VerifieMagasin(const Editeur& ed) {
  const Circuit& c = ed.circuit;
  ASSERT_GE(c.NbElements, 0);
  ASSERT_LE(c.NbElements, kMaxElements);
  ASSERT_TRUE(c.Elements[0] == ElementCI{});
  if (c.Selection.Active > 0) {
    ASSERT_LE(c.Selection.Dernier, c.NbElements);
  }
  // A track is open only while one is being drawn.
  if (!ed.ctx.PisteEnCours && c.NbElements > 0) {
    const ElementCI& e = c[c.NbElements];
    ASSERT_FALSE(EstPiste(e.Code) && e.Attribut != kDernierPoint) << "piste ouverte";
  }
}

TEST(Invariant, ScenarioDeDessin) {
  Ecran e;
  Session s(700, 500);
  e.Branche(s.ed);
  TraceCimp(s.ed);
  s.Clic(Controle::BoutonPiste);
  s.Clic(Controle::Bpist4);
  s.Clique(1000, 1000);
  s.Bouge(2000, 1500);  // the rubber band follows
  VerifieInvariant(s, e.image, "élastique");
  s.Clique(2000, 1500);
  s.Touche(Touche::Suppr);
  VerifieInvariant(s, e.image, "segment repris");
  s.Touche(Touche::Echap);
  s.Clic(Controle::BoutonModifPartielleTypon);
  s.Clic(Controle::BpSelectionZone);
  s.Appui(500, 500);
  s.Bouge(2500, 2500);
  VerifieInvariant(s, e.image, "zone tirée");
  s.Relache(2500, 2500);
  VerifieInvariant(s, e.image, "cadre de la zone");
  s.Clic(Controle::BpDeplacerZone);
  s.Appui(100, 100);
  s.Bouge(4000, 3000);
  VerifieInvariant(s, e.image, "zone portée");
  s.Bouge(1000, 1000);
  Originerelative1Click(s.ed);
  s.Bouge(3000, 2000);
  VerifieInvariant(s, e.image, "origine relative");
  ChoixEchelle1Change(s.ed, 7);
  VerifieInvariant(s, e.image, "zoom");
}

// A track drawn across pads covers their holes; ending it redraws its part of the picture
// (pads drawn after tracks): the area is then a fresh redraw, at every zoom and for every way
// of ending the track.
TEST(Invariant, PisteTermineeSurDesPastilles) {
  for (int zoom : {0, 2, 5, 9}) {
    for (int fin = 0; fin < 3; ++fin) {
      Ecran e;
      Session s(700, 500);
      e.Branche(s.ed);
      ChoixEchelle1Change(s.ed, zoom);
      TraceCimp(s.ed);
      s.Clic(Controle::BoutonPastille);
      s.Clic(Controle::Bpast9);
      for (int x : {1000, 1300, 1600}) s.Clique(x, 1000);
      s.Clic(Controle::BoutonPiste);
      s.Clic(Controle::Bpist6);
      s.Clique(700, 1000);
      s.Clique(1900, 1000);
      s.Clique(1900, 1350);
      if (fin == 0) s.Touche(Touche::Echap);
      if (fin == 1) s.Droit(1900, 1350);
      if (fin == 2) s.Clic(Controle::BoutonAffichageImplantation);
      ASSERT_FALSE(s.ed.ctx.PisteEnCours);
      VerifieInvariant(s, e.image, "zoom " + std::to_string(zoom) + ", fin " + std::to_string(fin));
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

// The wheel, the touchpad, zooming around the pointer, fitting and panning while a track or a
// zone is being drawn: the rubber band and the frames are right after each of them.
TEST(Invariant, MoletteZoomEtGlissePendantUnTrace) {
  struct Geste {
    const char* nom;
    void (*joue)(Session&, const PointPixel&);
  };
  const Geste gestes[] = {
      {"molette",
       [](Session& s, const PointPixel& p) {
         DefilePixels(s.ed, 0, PixelsParCran(s.ed, true), p.X, p.Y);
       }},
      {"molette + Maj",
       [](Session& s, const PointPixel& p) {
         DefilePixels(s.ed, -PixelsParCran(s.ed, false), 0, p.X, p.Y);
       }},
      {"pavé tactile",
       [](Session& s, const PointPixel& p) {
         for (int i = 0; i < 30; ++i) DefilePixels(s.ed, 3, -2, p.X, p.Y);
       }},
      {"zoom +",
       [](Session& s, const PointPixel& p) { ZoomAutour(s.ed, s.ed.ctx.Zoom + 1, p.X, p.Y); }},
      {"zoom -",
       [](Session& s, const PointPixel& p) { ZoomAutour(s.ed, s.ed.ctx.Zoom - 1, p.X, p.Y); }},
      {"ajuster", [](Session& s, const PointPixel&) { AjusteFenetre(s.ed); }},
      {"glisser",
       [](Session& s, const PointPixel& p) {
         FormMouseDown(s.ed, BoutonSouris::Milieu, false, p.X, p.Y);
         FormMouseMove(s.ed, p.X - 40, p.Y + 25);
         FormMouseMove(s.ed, p.X + 60, p.Y - 30);
         FormMouseUp(s.ed, BoutonSouris::Milieu);
       }},
  };
  for (const Geste& g : gestes) {
    for (int trace = 0; trace < 3; ++trace) {
      const std::string contexte = std::string(g.nom) + ", tracé " + std::to_string(trace);
      Ecran e;
      Session s(700, 500);
      e.Branche(s.ed);
      ChoixEchelle1Change(s.ed, 5);
      AscenseurChange(s.ed, true, 500);
      AscenseurChange(s.ed, false, 200);
      const RectPixel& z = s.ed.ctx.Zone;
      const int32_t ux = GrilleX(s.ed.ctx, z.Gauche + 200 + s.ed.ctx.OrigineX);
      const int32_t uy = GrilleY(s.ed.ctx, s.ed.ctx.OrigineY - 300);
      if (trace == 0) {  // a track with one segment and its rubber band
        s.Clic(Controle::BoutonPiste);
        s.Clic(Controle::Bpist4);
        s.Clique(ux, uy);
        s.Clique(ux + 400, uy);
        s.Bouge(ux + 400, uy + 300);
        ASSERT_TRUE(s.ed.ctx.PisteEnCours) << contexte;
      } else if (trace == 1) {  // a zone being pulled
        s.Clic(Controle::BoutonModifPartielleTypon);
        s.Clic(Controle::BpSelectionZone);
        s.Appui(ux, uy);
        s.Bouge(ux + 500, uy - 300);
      } else {  // a drawing's second point
        s.Clic(Controle::BoutonAffichageImplantation);
        s.Clic(Controle::BoutonDessinImplantation);
        s.Clic(Controle::BpDessinRectangle);
        s.Clique(ux, uy);
        s.Bouge(ux + 300, uy + 200);
      }
      const int32_t nb = s.Nb(), code = s.Code();
      VerifieInvariant(s, e.image, contexte + ", avant");
      g.joue(s, s.Ecran(ux + 200, uy));
      VerifieInvariant(s, e.image, contexte);
      EXPECT_EQ(s.Nb(), nb) << contexte;
      EXPECT_EQ(s.Code(), code) << contexte;
      if (trace == 0) {
        EXPECT_TRUE(s.ed.ctx.PisteEnCours) << contexte;
      }
      // The gesture goes on where it was.
      s.Bouge(ux + 800, uy + 300);
      VerifieInvariant(s, e.image, contexte + ", suite");
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

TEST(Invariant, GestesAuHasard) {
  for (uint32_t graine : {1u, 2u, 3u, 4u, 5u, 6u}) {
    Ecran e;
    Session s(700, 500);
    PrepareDisque(s.d);
    e.Branche(s.ed);
    TraceCimp(s.ed);
    std::mt19937 hasard(graine);
    for (int pas = 0; pas < 400; ++pas) {
      const uint8_t op = hasard() & 0xFF, a = hasard() & 0xFF, b = hasard() & 0xFF;
      if (op % kNombreGestes == kGesteRedimensionne) continue;  // the image keeps its size here
      JoueGeste(s, op, a, b);
      VerifieMagasin(s.ed);
      if (::testing::Test::HasFatalFailure()) return;
      VerifieInvariant(s, e.image,
                       "graine " + std::to_string(graine) + ", geste " + std::to_string(pas));
      if (::testing::Test::HasFatalFailure()) return;
    }
  }
}

}  // namespace
}  // namespace korv4
