#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editeur/Session.h"
#include "model/Fichiers.h"

// Menu shortcuts, the wheel, zoom around the pointer, fitting the circuit to the window and
// panning with the middle button, driven on the editor as the window drives it.

namespace korv4 {
namespace {

using C = Controle;

// A pad placed at (x, y) with the 4 mm pad tool.
void Pastille(Session& s, int32_t x, int32_t y) {
  if (!EstEnfonce(s.ed, C::Bpast8) || !EstVisible(s.ed, C::PanelPastilles)) {
    s.Clic(C::BoutonPastille);
    s.Clic(C::Bpast8);
  }
  s.Clique(x, y);
}

// Shortcuts: the state the editor is in, the item whose shortcut is pressed, and what must
// follow (checked on the session).
struct CasRaccourci {
  const char* nom;
  std::function<void(Session&)> prepare;
  C item;
  std::function<void(Session&)> verifie;
};

TEST(Raccourcis, CommandesSelonLEtat) {
  const std::string fichier = "/base/Circuits/A.CIX";
  auto enregistre = [&](Session& s) {
    Pastille(s, 1000, 1000);
    s.d.fichiers = {fichier};
    s.Clic(C::Enregistrerunfichier1);
    s.d.demandes.clear();
    Pastille(s, 2000, 1000);
  };
  const std::vector<CasRaccourci> cas = {
      {"enregistrement sur place", enregistre, C::Enregistrerunfichier1,
       [&](Session& s) {
         EXPECT_TRUE(s.d.demandes.empty());  // no dialog
         EXPECT_FALSE(s.ed.circuit.CircuitModifie);
         Circuit relu;
         std::string erreur;
         ASSERT_TRUE(OuvreCircuit(relu, s.d.disque.at(fichier), fichier, erreur)) << erreur;
         EXPECT_EQ(relu.NbElements, 2);
       }},
      {"jamais enregistré : le dialogue",
       [](Session& s) {
         Pastille(s, 1000, 1000);
         s.d.fichiers = {"/base/Circuits/B.CIX"};
       },
       C::Enregistrerunfichier1,
       [](Session& s) {
         EXPECT_EQ(s.d.demandes.size(), 1u);
         EXPECT_EQ(s.d.disque.count("/base/Circuits/B.CIX"), 1u);
         EXPECT_EQ(s.ed.circuit.NomFichier, "/base/Circuits/B.CIX");
       }},
      {"ancien format : le dialogue, jamais par-dessus le .CIP",
       [](Session& s) {
         Pastille(s, 1000, 1000);
         s.ed.circuit.NomFichier = "/base/Circuits/V.CIP";
       },
       C::Enregistrerunfichier1,
       [](Session& s) {
         EXPECT_EQ(s.d.demandes.size(), 1u);
         EXPECT_EQ(s.d.disque.count("/base/Circuits/V.CIP"), 0u);
       }},
      {"circuit vide : rien", [](Session&) {}, C::Enregistrerunfichier1,
       [](Session& s) {
         EXPECT_TRUE(s.d.demandes.empty());
         EXPECT_TRUE(s.d.disque.empty());
       }},
      {"menu ouvert vide puis dessin : l'état du menu est refait",
       [](Session& s) {
         s.Clic(C::Fichier1);  // the menu opened on an empty circuit disables saving
         Pastille(s, 1000, 1000);
         s.d.fichiers = {"/base/Circuits/C.CIX"};
       },
       C::Enregistrerunfichier1,
       [](Session& s) { EXPECT_EQ(s.d.disque.count("/base/Circuits/C.CIX"), 1u); }},
      {"écriture impossible : message, toujours modifié",
       [&](Session& s) {
         enregistre(s);
         s.d.dossierInterdit = "/base";
       },
       C::Enregistrerunfichier1,
       [](Session& s) {
         EXPECT_EQ(s.d.messages.size(), 1u);
         EXPECT_TRUE(s.ed.circuit.CircuitModifie);
       }},
      {"enregistrer sous : toujours le dialogue", enregistre, C::Enregistrersous1,
       [](Session& s) {
         EXPECT_EQ(s.d.demandes.size(), 1u);
         EXPECT_EQ(s.d.demandes[0].Nom, "/base/Circuits/A");
       }},
      {"ouvrir", [](Session&) {}, C::Ouvrir1,
       [](Session& s) { EXPECT_EQ(s.d.demandes.size(), 1u); }},
      {"copier", [](Session& s) { Pastille(s, 1000, 1000); }, C::Copier1,
       [](Session& s) { EXPECT_EQ(s.d.fenetres, std::vector<Fenetre>{Fenetre::PressePapier}); }},
      {"copier sans élément : rien", [](Session&) {}, C::Copier1,
       [](Session& s) { EXPECT_TRUE(s.d.fenetres.empty()); }},
      {"imprimer", [](Session& s) { Pastille(s, 1000, 1000); }, C::Impression1,
       [](Session& s) { EXPECT_EQ(s.d.fenetres, std::vector<Fenetre>{Fenetre::FicheImpression}); }},
      {"aide", [](Session&) {}, C::Aide1,
       [](Session& s) { EXPECT_EQ(s.d.fenetres, std::vector<Fenetre>{Fenetre::Aide}); }},
      {"annuler", [](Session& s) { Pastille(s, 1000, 1000); }, C::Defaire1,
       [](Session& s) { EXPECT_EQ(s.Nb(), 0); }},
      {"rétablir",
       [](Session& s) {
         Pastille(s, 1000, 1000);
         s.Clic(C::Defaire1);
       },
       C::Refaire1, [](Session& s) { EXPECT_EQ(s.Nb(), 1); }},
      {"nouveau travail",
       [](Session& s) {
         Pastille(s, 1000, 1000);
         s.d.reponses = {Reponse::Non, Reponse::Ok};
       },
       C::Nouveaufichier1, [](Session& s) { EXPECT_EQ(s.Nb(), 0); }},
      {"titre en cours de saisie : rien",
       [](Session& s) {
         Pastille(s, 1000, 1000);
         s.Clic(C::Boutontitre);
       },
       C::Defaire1,
       [](Session& s) {
         EXPECT_EQ(s.Nb(), 1);
         EXPECT_TRUE(EstEnfonce(s.ed, C::Boutontitre));
       }},
      {"ajuster à la fenêtre", [](Session& s) { Pastille(s, 300, 300); }, C::Ajusterfenetre1,
       [](Session& s) { EXPECT_EQ(s.ed.ctx.Zoom, 9); }},
  };
  for (const CasRaccourci& c : cas) {
    SCOPED_TRACE(c.nom);
    Session s;
    c.prepare(s);
    s.d.messages.clear();
    s.d.fenetres.clear();
    Raccourci(s.ed, c.item);
    c.verifie(s);
  }
}

// Every shortcut of the table is on a menu item, and none is given twice.
TEST(Raccourcis, UnParElementDeMenuSansDoublon) {
  std::vector<std::string> vus;
  for (int i = 1; i < kNombreControles; ++i) {
    const DefinitionControle& d = Definition(static_cast<C>(i));
    std::string r = d.Raccourci;
    if (r.empty()) continue;
    EXPECT_TRUE(d.Type == Genre::ElementMenu || d.Type == Genre::ElementMenuCoche) << d.Nom;
    size_t debut = 0;
    while (debut <= r.size()) {
      const size_t fin = std::min(r.find("; ", debut), r.size());
      const std::string touche = r.substr(debut, fin - debut);
      EXPECT_EQ(std::count(vus.begin(), vus.end(), touche), 0) << touche;
      vus.push_back(touche);
      debut = fin + 2;
    }
  }
  EXPECT_GE(vus.size(), 10u);
}

// The surface pixel (from the left and bottom edges) under a drawing-area pixel.
std::pair<int64_t, int64_t> SousLePointeur(const Editeur& ed, int32_t px, int32_t py) {
  return {int64_t{px} + ed.ctx.OrigineX, int64_t{ed.ctx.OrigineY} - py};
}

void VerifieAscenseurs(const Editeur& ed) {
  for (const Ascenseur* a : {&ed.AscHorizontal, &ed.AscVertical}) {
    EXPECT_GE(a->Position, 0);
    EXPECT_LE(a->Position + a->Page, 1000);
  }
}

// Ctrl+wheel: the point under the pointer stays under it, to within one step of the scroll bars
// (a thousandth of the surface), wherever the surface's edges let the view go.
TEST(Molette, ZoomAutourDuPointeur) {
  Session s(900, 600);
  s.ed.ctx.SurfaceX = s.ed.ctx.SurfaceY = 31496;  // 800 x 800 mm
  TraceCimp(s.ed);
  const std::vector<std::pair<int32_t, int32_t>> pointeurs = {
      {450, 300}, {100, 500}, {850, 40}, {10, 10}, {600, 590}};
  for (auto [px, py] : pointeurs) {
    for (int32_t depart : {2, 4, 7}) {
      SCOPED_TRACE(std::to_string(px) + "," + std::to_string(py) + " zoom " +
                   std::to_string(depart));
      ChoixEchelle1Change(s.ed, depart);
      DefilePixels(s.ed, 1500, 1500, px, py);  // somewhere inside the surface
      for (int32_t sens : {+1, -1}) {
        const auto [sx, sy] = SousLePointeur(s.ed, px, py);
        const int64_t l = s.ed.ctx.LargeurSurface, h = s.ed.ctx.HauteurSurface;
        ZoomAutour(s.ed, s.ed.ctx.Zoom + sens, px, py);
        EXPECT_EQ(s.ed.IndexEchelle, s.ed.ctx.Zoom);
        VerifieAscenseurs(s.ed);
        const auto [nx, ny] = SousLePointeur(s.ed, px, py);
        const int64_t l2 = s.ed.ctx.LargeurSurface, h2 = s.ed.ctx.HauteurSurface;
        const auto& ah = s.ed.AscHorizontal;
        const auto& av = s.ed.AscVertical;
        // Where the view is not held by an edge, the point kept its place.
        if (ah.Position > 0 && ah.Position + ah.Page < 1000) {
          EXPECT_NEAR(static_cast<double>(nx), static_cast<double>(sx * l2 / l), l2 / 1000.0 + 2);
        }
        if (av.Position > 0 && av.Position + av.Page < 1000) {
          EXPECT_NEAR(static_cast<double>(ny), static_cast<double>(sy * h2 / h), h2 / 1000.0 + 2);
        }
      }
    }
  }
  // At the ends of the list the zoom stays.
  ZoomAutour(s.ed, 10, 100, 100);
  EXPECT_EQ(s.ed.ctx.Zoom, 9);
  ZoomAutour(s.ed, -1, 100, 100);
  EXPECT_EQ(s.ed.ctx.Zoom, 0);
}

// Wheel notches and touchpad pixels move the view alike; small touchpad steps add up.
TEST(Molette, CransEtPixels) {
  Session s(600, 400);
  ChoixEchelle1Change(s.ed, 6);
  const Ascenseur& v = s.ed.AscVertical;
  const Ascenseur& h = s.ed.AscHorizontal;
  AscenseurChange(s.ed, true, 500);
  AscenseurChange(s.ed, false, 500);
  const int32_t cran = PixelsParCran(s.ed, true);
  DefilePixels(s.ed, 0, -cran, 300, 200);  // one notch up, as Page Up
  EXPECT_EQ(v.Position, 500 - v.GrandPas);
  // The same distance in three-pixel touchpad steps.
  for (int i = 0; i < cran / 3; ++i) DefilePixels(s.ed, 0, 3, 300, 200);
  DefilePixels(s.ed, 0, cran % 3, 300, 200);
  EXPECT_NEAR(v.Position, 500, 1);
  for (int i = 0; i < 40; ++i) DefilePixels(s.ed, 1, 0, 300, 200);
  EXPECT_GT(h.Position, 500);  // single pixels are not lost
  for (int i = 0; i < 100; ++i) DefilePixels(s.ed, -10000, -10000, 300, 200);
  EXPECT_EQ(h.Position, 0);
  EXPECT_EQ(v.Position, 0);
  for (int i = 0; i < 100; ++i) DefilePixels(s.ed, 10000, 10000, 300, 200);
  EXPECT_EQ(h.Position + h.Page, 1000);
  EXPECT_EQ(v.Position + v.Page, 1000);
  // The cursor follows the pointer onto the surface that moved under it.
  const PointPixel p = s.Ecran(s.ed.ctx.CurseurX, s.ed.ctx.CurseurY);
  EXPECT_NEAR(p.X, 300, PixelX(s.ed.ctx, kPasGrille[s.ed.ctx.Grille]) + 1);
}

// The largest zoom of the list at which the elements (or the empty surface) fit, in view.
TEST(Ajuste, PlusGrandZoomQuiMontreTout) {
  struct Cas {
    std::vector<std::pair<int32_t, int32_t>> pastilles;
  };
  const std::vector<Cas> cas = {{{}},
                                {{{1000, 1000}}},
                                {{{500, 500}, {1500, 800}}},
                                {{{200, 200}, {11000, 7000}}},
                                {{{9000, 6000}, {9800, 6500}}}};
  for (size_t n = 0; n < cas.size(); ++n) {
    SCOPED_TRACE(n);
    Session s(900, 600);
    for (auto [x, y] : cas[n].pastilles) Pastille(s, x, y);
    ChoixEchelle1Change(s.ed, 0);
    Raccourci(s.ed, C::Ajusterfenetre1);
    const ContexteTrace& ctx = s.ed.ctx;
    EXPECT_EQ(s.ed.IndexEchelle, ctx.Zoom);
    VerifieAscenseurs(s.ed);
    auto dedans = [&](int32_t x, int32_t y) {
      const PointPixel p = PixelPoint(ctx, x, y);
      return p.X >= ctx.Zone.Gauche && p.X < ctx.Zone.Droite && p.Y >= ctx.Zone.Haut &&
             p.Y <= ctx.Zone.Bas;  // unit 0 lies on the area's lower edge
    };
    std::vector<std::pair<int32_t, int32_t>> points = cas[n].pastilles;
    if (points.empty()) points = {{0, 0}, {ctx.SurfaceX - 1, ctx.SurfaceY - 1}};
    for (auto [x, y] : points) EXPECT_TRUE(dedans(x, y)) << x << "," << y;
    if (ctx.Zoom < 9) {
      // One step more and they no longer fit: the elements at their size (the surface when
      // there are none) with the half track width kept around them.
      Cadre e{0, ctx.SurfaceY, ctx.SurfaceX, 0};
      if (s.Nb() > 0) e = CadreElements(s.ed.circuit, 1, s.Nb());
      const int32_t marge = s.Nb() > 0 ? 100 : 0;
      ContexteTrace plus = ctx;
      plus.Zoom = ctx.Zoom + 1;
      EXPECT_TRUE(PixelX(plus, std::min(e.Droite - e.Gauche + marge, ctx.SurfaceX)) >
                      s.ed.LargeurClient - s.ed.EpaisseurAscenseur ||
                  PixelY(plus, std::min(e.Haut - e.Bas + marge, ctx.SurfaceY)) >
                      s.ed.HauteurClient - s.ed.EpaisseurAscenseur);
    }
  }
}

// The middle button pans: the point under the pointer follows it; the track being drawn, the
// tool and the store stay as they were.
TEST(Glisse, LaVueSuitLePointeurSansToucherAuTrace) {
  Session s(700, 500);
  ChoixEchelle1Change(s.ed, 6);
  AscenseurChange(s.ed, true, 400);
  AscenseurChange(s.ed, false, 400);
  s.Clic(C::BoutonPiste);
  s.Clic(C::Bpist3);
  const int32_t ux = GrilleX(s.ed.ctx, 200 + s.ed.ctx.OrigineX);
  const int32_t uy = GrilleY(s.ed.ctx, s.ed.ctx.OrigineY - 250);
  s.Clique(ux, uy);
  s.Bouge(ux + 300, uy);
  ASSERT_TRUE(s.ed.ctx.PisteEnCours);
  const int32_t code = s.Code(), nb = s.Nb();
  const auto prise = SousLePointeur(s.ed, 350, 250);
  FormMouseDown(s.ed, BoutonSouris::Milieu, false, 350, 250);
  for (auto [px, py] :
       std::vector<std::pair<int32_t, int32_t>>{{300, 200}, {150, 120}, {500, 400}}) {
    FormMouseMove(s.ed, px, py);
    const auto ici = SousLePointeur(s.ed, px, py);
    EXPECT_NEAR(static_cast<double>(ici.first), static_cast<double>(prise.first),
                s.ed.ctx.LargeurSurface / 1000.0 + 1);
    EXPECT_NEAR(static_cast<double>(ici.second), static_cast<double>(prise.second),
                s.ed.ctx.HauteurSurface / 1000.0 + 1);
  }
  FormMouseUp(s.ed, BoutonSouris::Milieu);
  const int32_t h = s.ed.AscHorizontal.Position;
  FormMouseMove(s.ed, 100, 100);  // released: moves no longer pan
  EXPECT_EQ(s.ed.AscHorizontal.Position, h);
  EXPECT_TRUE(s.ed.ctx.PisteEnCours);
  EXPECT_EQ(s.Code(), code);
  EXPECT_EQ(s.Nb(), nb);
}

}  // namespace
}  // namespace korv4

namespace korv4 {
namespace {

// On a screen of twice the density the editor counts the screen's pixels: the same view, the
// same grid point under the same place of the window, twice the pixels.
TEST(Densite, MemeVueDeuxFoisPlusDePixels) {
  Session simple(700, 500);
  Session double_(700, 500);
  DensiteEcran(double_.ed, 20);
  double_.ed.EpaisseurAscenseur = 2 * simple.ed.EpaisseurAscenseur;
  FormResize(double_.ed, 1400, 1000);
  for (int32_t zoom : {0, 2, 5, 9}) {
    SCOPED_TRACE(zoom);
    ChoixEchelle1Change(simple.ed, zoom);
    ChoixEchelle1Change(double_.ed, zoom);
    EXPECT_NEAR(double_.ed.ctx.LargeurSurface, 2 * simple.ed.ctx.LargeurSurface, 2);
    EXPECT_EQ(EstVisible(double_.ed, C::PanelAscVertical),
              EstVisible(simple.ed, C::PanelAscVertical));
    for (auto [px, py] : std::vector<std::pair<int32_t, int32_t>>{{100, 100}, {350, 240}}) {
      FormMouseMove(simple.ed, px, py);
      FormMouseMove(double_.ed, 2 * px, 2 * py);
      EXPECT_EQ(double_.ed.ctx.CurseurX, simple.ed.ctx.CurseurX);
      EXPECT_EQ(double_.ed.ctx.CurseurY, simple.ed.ctx.CurseurY);
    }
  }
  // A new work keeps the screen's density.
  double_.d.reponses = {Reponse::Ok};
  double_.Clic(C::Nouveaufichier1);
  EXPECT_EQ(double_.ed.ctx.ResolX, 20);
}

}  // namespace
}  // namespace korv4
