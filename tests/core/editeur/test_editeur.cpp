#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "Enregistrement.h"
#include "editeur/Session.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

using C = Controle;

TEST(Editeur, DemarreSurLaFace1SansPanneau) {
  Session s;
  EXPECT_EQ(s.ed.Etat.Travail, 1);
  EXPECT_TRUE(EstVisible(s.ed, C::ToolboutonTypon));
  EXPECT_FALSE(EstVisible(s.ed, C::ToolBoutonImplantation));
  EXPECT_FALSE(EstVisible(s.ed, C::ToolBoutonPercage));
  for (C p : {C::PanelPastilles, C::PanelPistes, C::PanelDessin, C::PanelTexte, C::PanelPercage,
              C::PanelModifTotale, C::PanelModifPartielle, C::PanelInsertion}) {
    EXPECT_FALSE(EstVisible(s.ed, p)) << Definition(p).Nom;
  }
  EXPECT_EQ(s.Code(), 0);
  EXPECT_EQ(s.ed.Panneaux[5], "KORV4");
  EXPECT_EQ(s.ed.Legende, "KORV4");
  EXPECT_EQ(s.ed[C::BPerc1].Libelle, "0,8 mm");
  EXPECT_EQ(s.ed[C::BPerc7].Libelle, "3,2 mm");
  EXPECT_FALSE(s.ed[C::Bpanullsupp].Actif);
  EXPECT_EQ(s.ed.RepertoireCircuits, "/base/Circuits");
}

// Buttons clicked in order, the action code and the status text they give.
struct CasCode {
  std::vector<C> clics;
  int32_t code;
  const char* libelle;
};

TEST(Editeur, LesBoutonsDonnentLeCodeAction) {
  const std::vector<CasCode> cas = {
      {{C::BoutonPiste}, 25, "Tracé d'une piste"},
      {{C::BoutonPiste, C::Bpist3}, 3, "Piste d'èpaisseur 1 mm"},
      {{C::BoutonPiste, C::Bpist3, C::Bpist3}, 25, "Tracé d'une piste"},  // all up again
      {{C::BoutonPiste, C::Bpist3, C::BsegSupprime}, 8, "Suppression d'un segment"},
      {{C::BoutonPastille}, 24, "Implantation d'une pastille"},
      {{C::BoutonPastille, C::Bpast11}, 21, "Pastille de diamètre = 10 mm"},
      {{C::BoutonAffichagePercage, C::BoutonPercage}, 49, "Choix d'un perçage"},
      {{C::BoutonAffichagePercage, C::BoutonPercage, C::BPerc2}, 42, "Diamètre de perçage = 1 mm"},
      {{C::BoutonAffichageImplantation, C::BoutonDessinImplantation, C::BpDessinCercle},
       33,
       "Tracé d'un cercle"},
      {{C::BoutonTexteTypon}, 55, "Tracé d'un texte"},
      {{C::BoutonTexteTypon, C::TexteVertical}, 52, "Tracé d'un texte vertical"},
      {{C::BoutonModifPartielleTypon}, 0, "KORV4"},  // an empty circuit shows no zone panel
      {{C::BoutonModifTotaleTypon}, 0, "KORV4"},
      {{C::BoutonInsertionTypon}, 87, "Insertion d'un élément"},
      {{C::BoutonPiste, C::BoutonAffichageImplantation}, 0, "KORV4"},
  };
  for (const CasCode& c : cas) {
    Session s;
    for (C b : c.clics) s.Clic(b);
    EXPECT_EQ(s.Code(), c.code) << Definition(c.clics.back()).Nom;
    EXPECT_EQ(s.ed.Panneaux[5], c.libelle) << Definition(c.clics.back()).Nom;
  }
}

// A panel open without its size or kind chosen (first use, or its button pressed again): a
// click places nothing and the status bar says what to choose.
TEST(Editeur, OutilSansTailleLeDit) {
  struct Cas {
    std::vector<C> clics;
    const char* dit;
  };
  const Cas cas[] = {
      {{C::BoutonPastille}, "Choisissez d'abord une pastille"},
      {{C::BoutonPastille, C::Bpast8, C::Bpast8}, "Choisissez d'abord une pastille"},
      {{C::BoutonPiste}, "Choisissez d'abord l'épaisseur de la piste"},
      {{C::BoutonAffichageImplantation, C::BoutonDessinImplantation},
       "Choisissez d'abord le dessin"},
      {{C::BoutonTexteTypon}, "Choisissez d'abord un texte"},
      {{C::BoutonPastille, C::Bpast8}, ""},
  };
  for (const Cas& c : cas) {
    Session s;
    for (C b : c.clics) s.Clic(b);
    s.Clique(1000, 1000);
    EXPECT_EQ(s.ed.Panneaux[4].rfind(c.dit, 0), 0u) << s.ed.Panneaux[4];
    EXPECT_EQ(s.Nb() == 0, c.dit[0] != '\0') << Definition(c.clics.back()).Nom;
  }
}

TEST(Editeur, EpaisseurDesDessinsEtTailleDesTextes) {
  Session s;
  s.Clic(C::BoutonAffichageImplantation);
  s.Clic(C::BoutonDessinImplantation);
  s.Clic(C::BpEpaisseur08);
  EXPECT_EQ(s.ed.circuit.EpaisseurDessin, 3);
  EXPECT_FALSE(EstEnfonce(s.ed, C::BpEpaisseur03));
  EXPECT_EQ(s.Code(), 38);
}

TEST(Editeur, FormatDiametreEtCoordonnees) {
  for (auto [d, texte] : std::vector<std::pair<int, const char*>>{
           {8, "0,8 mm"}, {10, "1,0 mm"}, {32, "3,2 mm"}, {65, "6,5 mm"}, {0, "0,0 mm"}}) {
    EXPECT_EQ(FormatDiametre(d), texte);
  }
  Session s;
  struct Cas {
    bool mm;
    int32_t v;
    const char* texte;
  };
  for (const Cas& c : std::vector<Cas>{{false, 100, "1,00 pas"},
                                       {true, 100, "2,54 mm"},
                                       {false, 12700, "127,00 pas"},
                                       {true, 12700, "322,58 mm"},
                                       {false, 50, ",50 pas"},
                                       {false, 5, ",5 pas"},
                                       {false, 0, ",0 pas"},
                                       {true, 1, ",2 mm"},
                                       {false, -100, "-1,00 pas"}}) {
    s.ed.EnMillimetres = c.mm;
    EXPECT_EQ(FormatCoordonnee(s.ed, c.v), c.texte);
  }
}

TEST(Editeur, CurseurSurLaGrilleEtHorsSurface) {
  Session s;
  // 1/2 pas at 100 %: the pointer snaps to the nearest multiple of 50 units.
  const PointPixel p = s.Ecran(1000, 1000);
  FormMouseMove(s.ed, p.X + 3, p.Y - 3);  // 30 units away
  EXPECT_EQ(s.ed.ctx.CurseurX, 1050);
  EXPECT_EQ(s.ed.ctx.CurseurY, 1050);
  EXPECT_EQ(s.ed.Panneaux[0], "X = 10,50 pas");
  FormMouseMove(s.ed, p.X + 2, p.Y - 2);  // 20 units away
  EXPECT_EQ(s.ed.ctx.CurseurX, 1000);
  // Left of and below the surface: 0; beyond its right edge: the cursor stays.
  FormMouseMove(s.ed, -40, s.ed.ctx.OrigineY + 40);
  EXPECT_EQ(s.ed.ctx.CurseurX, 0);
  EXPECT_EQ(s.ed.ctx.CurseurY, 0);
  const PointPixel loin = s.Ecran(s.ed.ctx.SurfaceX + 100, 500);
  FormMouseMove(s.ed, loin.X, loin.Y);
  EXPECT_EQ(s.ed.ctx.CurseurX, 0);
  EXPECT_EQ(s.ed.Panneaux[0], "X = ----");
  EXPECT_EQ(s.ed.Panneaux[2], "");
}

TEST(Editeur, OrigineRelative) {
  Session s;
  s.Bouge(1000, 500);
  Originerelative1Click(s.ed);
  s.Bouge(900, 500);
  EXPECT_EQ(s.ed.Panneaux[0], "X0 = 10,00 pas");
  EXPECT_EQ(s.ed.Panneaux[2], "Xr = -1,00 pas");
  Origineabsolue1Click(s.ed);
  s.Bouge(950, 500);
  EXPECT_EQ(s.ed.Panneaux[0], "X = 9,50 pas");
}

TEST(Editeur, VueEtAscenseurs) {
  {
    // A surface smaller than the area: no scroll bar, the corner at the area's bottom left.
    Session s(1400, 900);
    EXPECT_FALSE(EstVisible(s.ed, C::PanelAscHorizontal));
    EXPECT_FALSE(EstVisible(s.ed, C::PanelAscVertical));
    EXPECT_EQ(s.ed.ctx.OrigineX, 0);
    EXPECT_EQ(s.ed.ctx.OrigineY, s.ed.ctx.Zone.Bas);
    for (int i = 0; i < 20; ++i) ZoomPlus1Click(s.ed);
    EXPECT_EQ(s.ed.ctx.Zoom, 9);
    EXPECT_TRUE(EstVisible(s.ed, C::PanelAscVertical));
    for (int i = 0; i < 20; ++i) Zoommoins1Click(s.ed);
    EXPECT_EQ(s.ed.ctx.Zoom, 0);
    // The space given shrinks and grows, the surface still fitting: the area is exactly that
    // space, and the window is told to lay it out again.
    for (const auto& [l, h] : {std::pair{1400, 890}, {1380, 900}, {1400, 900}}) {
      const uint64_t version = s.ed.Version;
      FormResize(s.ed, l, h);
      EXPECT_GT(s.ed.Version, version);
      EXPECT_EQ(s.ed.ctx.Zone.Droite, l);
      EXPECT_EQ(s.ed.ctx.Zone.Bas, h);
    }
  }
  Session s(600, 400);
  ASSERT_TRUE(EstVisible(s.ed, C::PanelAscVertical));
  const Ascenseur& v = s.ed.AscVertical;
  EXPECT_EQ(v.Position + v.Page, 1000);  // the bottom of the surface shows first
  s.Touche(Touche::PagePrecedente);      // Page Up
  EXPECT_EQ(v.Position, 1000 - v.Page - v.GrandPas);
  for (int i = 0; i < 40; ++i) s.Touche(Touche::PagePrecedente);
  EXPECT_EQ(v.Position, 0);
  for (int i = 0; i < 40; ++i) s.Touche(Touche::PageSuivante);
  EXPECT_EQ(v.Position, 1000 - v.Page);
  AscenseurChange(s.ed, true, 990);  // pulled back so that the page stays on the surface
  EXPECT_EQ(v.Position, 1000 - v.Page);
  // At every zoom the view stays on the surface.
  for (int z = 0; z < 10; ++z) {
    ChoixEchelle1Change(s.ed, z);
    EXPECT_GE(v.Position, 0);
    EXPECT_LE(v.Position + v.Page, 1000);
    EXPECT_LE(s.ed.AscHorizontal.Position + s.ed.AscHorizontal.Page, 1000);
  }
}

// A place shown (a fault of the check chosen): the work that holds its layer comes to view.
TEST(Editeur, EndroitMontreSurSonTravail) {
  struct Cas {
    C depart;  // the work in view
    int couche;
    int32_t travail;  // the work then
  };
  const Cas cas[] = {
      {C::BoutonAffichageFace1, 2, 2},   {C::BoutonAffichagePercage, 2, 2},
      {C::BoutonAffichageFace2, 1, 1},   {C::BoutonAffichageFace2, 3, 2},
      {C::BoutonAffichagePercage, 3, 1}, {C::BoutonAffichageImplantation, 3, 1},
      {C::BoutonAffichageFace1, 4, 3},   {C::BoutonAffichageFace2, 2, 2},
  };
  for (const Cas& c : cas) {
    Session s(600, 400);
    s.Clic(c.depart);
    MontreEndroit(s.ed, c.couche, 9000, 6000);
    EXPECT_EQ(s.ed.Etat.Travail, c.travail) << Definition(c.depart).Nom << " " << c.couche;
    // The point is in the middle of the area, as far as the surface's edges allow.
    const PointPixel p = PixelPoint(s.ed.ctx, 9000, 6000);
    EXPECT_LT(std::abs(p.X - s.ed.ctx.Zone.Droite / 2), 30);
    EXPECT_LT(std::abs(p.Y - s.ed.ctx.Zone.Bas / 2), 30);
  }
}

// A new work or an opened circuit starts with the surface's origin in view, wherever the view
// was scrolled to before.
TEST(Editeur, NouveauCircuitOrigineEnVue) {
  for (const bool ouvre : {false, true}) {
    SCOPED_TRACE(ouvre ? "ouvert" : "nouveau");
    Session s(600, 400);
    s.d.disque["/c/Grand.CIX"] = [] {
      Circuit c;
      AjoutElement(c, 1, uint8_t{200}, 1000, 1000);
      c.EnteteCI.SurfaceX = c.EnteteCI.SurfaceY = 20000;
      return EcritCircuit(c);
    }();
    ZoomPlus1Click(s.ed);
    for (int i = 0; i < 40; ++i) s.Touche(Touche::PagePrecedente);  // up
    for (int i = 0; i < 40; ++i) s.Touche(Touche::Fin);             // right
    const PointPixel avant = s.Ecran(0, 0);
    ASSERT_FALSE(avant.X >= s.ed.ctx.Zone.Gauche && avant.Y < s.ed.ctx.Zone.Bas);
    if (ouvre) {
      s.d.fichiers = {"/c/Grand.CIX"};
      s.Clic(C::BoutonOuvrir);
      ASSERT_EQ(s.Nb(), 1);
    } else {
      s.d.reponses = {Reponse::Ok};
      s.Clic(C::BoutonNouveau);
    }
    ASSERT_TRUE(EstVisible(s.ed, C::PanelAscVertical));
    const PointPixel o = s.Ecran(0, 0);
    EXPECT_EQ(o.X, s.ed.ctx.Zone.Gauche);
    EXPECT_EQ(o.Y, s.ed.ctx.Zone.Bas - 1);
    EXPECT_EQ(s.ed.AscHorizontal.Position, 0);
    EXPECT_EQ(s.ed.AscVertical.Position + s.ed.AscVertical.Page, 1000);
  }
}

TEST(Editeur, PisteTraceeReprisEtTerminee) {
  Session s;
  s.Clic(C::BoutonPiste);
  s.Clic(C::Bpist3);
  s.Clique(1000, 1000);
  EXPECT_TRUE(s.ed.ctx.PisteEnCours);
  s.Clique(2000, 1000);
  s.Clique(3000, 2000);
  EXPECT_EQ(s.Nb(), 3);
  s.Touche(Touche::Suppr);  // Delete takes back the last segment
  EXPECT_EQ(s.Nb(), 2);
  EXPECT_EQ(s.ed.ctx.AncreX, 2000);
  s.Clique(2000, 3000);
  s.Touche(Touche::Echap);  // Escape ends the track
  EXPECT_FALSE(s.ed.ctx.PisteEnCours);
  ASSERT_EQ(s.Nb(), 3);
  EXPECT_EQ(s.E(1).Attribut, kPremierPoint);
  EXPECT_EQ(s.E(3).Attribut, kDernierPoint);
  EXPECT_EQ(s.E(3).X, 2000);
  EXPECT_EQ(s.E(3).Y, 3000);
  EXPECT_EQ(s.Code(), 3);
  s.Touche(Touche::Echap);  // with no track: the width buttons go up
  EXPECT_EQ(s.Code(), 25);
}

TEST(Editeur, ChangerDeTravailTermineLaPiste) {
  Session s;
  s.Clic(C::BoutonPiste);
  s.Clic(C::Bpist1);
  s.Clique(1000, 1000);
  s.Clique(2000, 1000);
  s.Clic(C::BoutonAffichageImplantation);
  EXPECT_FALSE(s.ed.ctx.PisteEnCours);
  EXPECT_EQ(s.E(s.Nb()).Attribut, kDernierPoint);
  EXPECT_EQ(s.Code(), 0);
  // A right click ends a track too.
  s.Clic(C::BoutonAffichageFace2);  // the track tool is still down in the face toolbar
  s.Clic(C::Bpist2);
  ASSERT_EQ(s.Code(), 2);
  s.Clique(1000, 3000);
  s.Clique(1000, 4000);
  s.Droit(1000, 4000);
  EXPECT_FALSE(s.ed.ctx.PisteEnCours);
  EXPECT_TRUE(s.d.menusOuverts.empty());
  // A function button, which forgets the cursor, ends the track first: a lone first point goes,
  // and the next press starts a track of its own.
  s.Appui(5000, 5000);
  const int32_t avant = s.Nb();
  s.Clic(C::BoutonPiste);
  EXPECT_FALSE(s.ed.ctx.PisteEnCours);
  EXPECT_EQ(s.Nb(), avant - 1);
  s.Clic(C::BoutonPiste);
  s.Clique(6000, 6000);
  EXPECT_EQ(s.E(s.Nb()).Attribut, kPremierPoint);
}

TEST(Editeur, PastillesPoseesEtChangees) {
  Session s;
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  ASSERT_EQ(s.Nb(), 1);
  s.ed.circuit.CircuitModifie = false;
  s.Clic(C::Bpast1);
  s.Clique(1000, 1000);  // at the centre: the pad takes the tool's kind and drill
  ASSERT_EQ(s.Nb(), 1);
  EXPECT_EQ(s.E(1).Code, GenreDe(actions::Pastille09x15));
  EXPECT_EQ(s.E(1).Attribut, PercageDefaut(GenreDe(actions::Pastille09x15)));
  EXPECT_TRUE(s.ed.circuit.CircuitModifie);
  const ElementCI avant = s.E(1);
  s.Clique(1020, 1000);  // overlapping, not at the centre: nothing
  EXPECT_EQ(s.Nb(), 1);
  EXPECT_EQ(s.E(1), avant);
  s.Clique(3000, 3000);
  EXPECT_EQ(s.Nb(), 2);
  s.Clic(C::BpastSupprime);
  s.Clique(3000, 3000);  // one press deletes a pad
  EXPECT_EQ(s.Nb(), 1);
  EXPECT_TRUE(s.ed[C::Bpanullsupp].Actif);
}

TEST(Editeur, PercagesDesPastilles) {
  Session s;
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  s.Clic(C::BoutonAffichagePercage);
  s.Clic(C::BoutonPercage);
  ASSERT_EQ(s.Code(), 49);
  s.Clique(1000, 1000);
  EXPECT_EQ(s.E(1).Attribut, 9);
  s.Clic(C::BPercSupprime);
  s.Clique(1000, 1000);
  EXPECT_EQ(s.E(1).Attribut, 0);

  // A drill wider than its pad is taken, and said in the status bar.
  struct Cas {
    C pastille, percage;
    const char* dit;  // the beginning of the status text, "" for none
  };
  const Cas cas[] = {
      {C::Bpast1, C::BPerc7,
       "Perçage de 3,2 mm plus grand que la pastille : il dépasse son "
       "cuivre de 2,3 mm"},
      {C::Bpast6, C::BPerc7, "Perçage de 3,2 mm plus grand que la pastille"},
      {C::Bpast6, C::BPerc3, ""},
      {C::Bpast8, C::BPerc7, ""},
  };
  for (const Cas& c : cas) {
    Session t;
    t.Clic(C::BoutonPastille);
    t.Clic(c.pastille);
    t.Clique(1000, 1000);
    t.Clic(C::BoutonAffichagePercage);
    t.Clic(C::BoutonPercage);
    t.Clic(c.percage);
    t.Clique(1000, 1000);
    EXPECT_EQ(t.E(1).Attribut, c.percage == C::BPerc7 ? 7 : 3);
    EXPECT_EQ(t.ed.Panneaux[4].rfind(c.dit, 0), 0u) << t.ed.Panneaux[4];
    EXPECT_EQ(t.ed.Panneaux[4].empty(), c.dit[0] == '\0') << t.ed.Panneaux[4];
  }
}

TEST(Editeur, SuppressionEnDeuxAppuisEtAnnulation) {
  Session s;
  s.Clic(C::BoutonPiste);
  s.Clic(C::Bpist3);
  for (auto [x, y] : std::vector<std::pair<int, int>>{{1000, 1000}, {3000, 1000}}) s.Clique(x, y);
  s.Touche(Touche::Echap);
  for (auto [x, y] : std::vector<std::pair<int, int>>{{1000, 3000}, {3000, 3000}}) s.Clique(x, y);
  s.Touche(Touche::Echap);
  ASSERT_EQ(s.Nb(), 4);
  s.Clic(C::BpistSupprime);
  s.Clique(2000, 1000);  // designates the first track
  EXPECT_TRUE(s.ed.ctx.SelectionVisible);
  EXPECT_EQ(s.ed.ctx.SelectionDebut, 1);
  s.Clique(2000, 3000);  // another track: the highlight moves
  EXPECT_EQ(s.ed.ctx.SelectionDebut, 3);
  s.Clique(5000, 5000);  // nothing: no highlight
  EXPECT_EQ(s.ed.ctx.SelectionDebut, 0);
  s.Clique(2000, 3000);
  s.Clique(2000, 3000);  // the second press deletes
  EXPECT_EQ(s.Nb(), 2);
  EXPECT_TRUE(s.ed[C::Bpanullsupp].Actif);
  s.Clic(C::Bpanullsupp);
  EXPECT_EQ(s.Nb(), 4);
  EXPECT_FALSE(s.ed[C::Bpanullsupp].Actif);
  // Choosing another function forgets the undo store.
  s.Clique(2000, 3000);
  s.Clique(2000, 3000);
  s.Clic(C::BoutonPastille);
  EXPECT_FALSE(s.ed[C::Bpanullsupp].Actif);
  EXPECT_EQ(s.ed.circuit.NbSupprimes, 0);
}

TEST(Editeur, DessinTireEtAnnule) {
  Session s;
  s.Clic(C::BoutonAffichageImplantation);
  s.Clic(C::BoutonDessinImplantation);
  s.Clic(C::BpDessinRectangle);
  s.Appui(1000, 1000);
  EXPECT_EQ(s.Code(), 102);
  s.Relache(3000, 2000);
  EXPECT_EQ(s.Code(), 32);
  ASSERT_EQ(s.Nb(), 2);
  EXPECT_EQ(s.E(2).X, 3000);
  s.Appui(4000, 4000);
  s.Touche(Touche::Echap);  // cancelled before the release: the lone first point goes
  EXPECT_EQ(s.Nb(), 2);
  EXPECT_EQ(s.Code(), 38);
}

TEST(Editeur, ZoneSelectionneeTourneeDeplaceeEtDupliquee) {
  Session s;
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  s.Clique(2000, 1000);
  s.Clic(C::BoutonModifPartielleTypon);
  EXPECT_EQ(s.Code(), 70);
  s.Clic(C::BpSelectionZone);
  EXPECT_EQ(s.Code(), 71);
  s.Appui(500, 500);
  EXPECT_EQ(s.Code(), 100);
  s.Relache(2500, 1500);
  EXPECT_EQ(s.Code(), 70);
  EXPECT_EQ(s.ed.circuit.Selection.Active, 1);
  EXPECT_FALSE(EstEnfonce(s.ed, C::BpSelectionZone));
  s.Clic(C::BpRotationZone);
  EXPECT_EQ(s.E(1).X, s.E(2).X);  // a quarter turn: the two pads one above the other
  EXPECT_FALSE(EstEnfonce(s.ed, C::BpRotationZone));
  s.Clic(C::BpDeplacerZone);
  EXPECT_EQ(s.Code(), 73);
  s.Appui(100, 100);  // picked up: the frame is carried
  EXPECT_EQ(s.Code(), 78);
  EXPECT_EQ(s.ed.ctx.FormeCurseur, Curseur::CadrePorte);
  s.Relache(5000, 4000);
  EXPECT_EQ(s.Code(), 73);
  EXPECT_EQ(s.ed.circuit.Selection.CadreZone.Gauche, 5000);
  EXPECT_EQ(s.ed.circuit.Selection.CadreZone.Bas, 4000);
  s.Clic(C::BpDuplicationZone);
  s.Appui(100, 100);
  s.Relache(7000, 4000);
  EXPECT_EQ(s.Nb(), 4);
  EXPECT_TRUE(EstEnfonce(s.ed, C::BpDeplacerZone));
  EXPECT_EQ(s.Code(), 73);
  // The carried frame is held on the surface.
  s.Appui(100, 100);
  s.Bouge(s.ed.ctx.SurfaceX - 10, s.ed.ctx.SurfaceY - 10);
  const Cadre& z = s.ed.circuit.Selection.CadreZone;
  EXPECT_LE(s.ed.ctx.CurseurX + z.Droite - z.Gauche, s.ed.ctx.SurfaceX);
  EXPECT_LE(s.ed.ctx.CurseurY + z.Haut - z.Bas, s.ed.ctx.SurfaceY);
}

// A zone put down keeps its elements on the grid: pads at 10, 12 and 14 pas carried on a grid
// of one pas land on whole pas, whatever the grid the zone was drawn with, as near as can be to
// where their box's corner on the cursor would put them.
TEST(Editeur, ZoneDeposeeGardeSesElementsSurLaGrille) {
  struct Cas {
    int grilleSelection, grilleDepot;  // indexes of the grid list
    int32_t x0, y0;                    // the selection rectangle's first corner
  };
  const Cas cas[] = {{0, 0, 800, 800}, {1, 0, 850, 900}, {3, 0, 880, 910},
                     {5, 0, 919, 919}, {5, 1, 919, 919}, {5, 3, 919, 919}};
  for (const Cas& c : cas) {
    SCOPED_TRACE(::testing::Message() << c.grilleSelection << " " << c.grilleDepot << " " << c.x0);
    Session s;
    Choixgrille1Change(s.ed, 0);
    s.Clic(C::BoutonPastille);
    s.Clic(C::Bpast8);
    for (int32_t x : {1000, 1200, 1400}) s.Clique(x, 1000);
    s.Clic(C::BoutonModifPartielleTypon);
    s.Clic(C::BpSelectionZone);
    Choixgrille1Change(s.ed, c.grilleSelection);
    s.Appui(c.x0, c.y0);
    s.Relache(1500, 1100);
    ASSERT_EQ(s.ed.circuit.Selection.Active, 1);
    const Cadre avant = s.ed.circuit.Selection.CadreZone;
    Choixgrille1Change(s.ed, c.grilleDepot);
    s.Clic(C::BpDeplacerZone);
    s.Appui(1000, 1000);
    s.Relache(3000, 3000);
    const int32_t pas = kPasGrille[static_cast<size_t>(c.grilleDepot)];
    for (int i = 1; i <= 3; ++i) {
      EXPECT_EQ(s.E(i).X % pas, 0) << s.E(i).X;
      EXPECT_EQ(s.E(i).Y % pas, 0) << s.E(i).Y;
    }
    EXPECT_EQ(s.E(3).X - s.E(1).X, 400);
    EXPECT_LE(std::abs(s.E(1).X - (3000 + 1000 - avant.Gauche)), pas / 2);
    EXPECT_LE(std::abs(s.E(1).Y - (3000 + 1000 - avant.Bas)), pas / 2);
  }
}

// A zone carried past the right and top edges is held at the last grid point that keeps it on
// the surface: what is put down stays on the grid, whatever the surface's size.
TEST(Editeur, CadrePorteRetenuSurLaGrilleAuBord) {
  struct Cas {
    int32_t surfaceX, surfaceY;  // units
    int grille;                  // index of the grid list
  };
  const Cas cas[] = {{6299, 3937, 0},   {6299, 3937, 1},  {6299, 3937, 2},  {6319, 3957, 0},
                     {6319, 3957, 3},   {11811, 7874, 0}, {11811, 7874, 4}, {6250, 3950, 2},
                     {31496, 31496, 1}, {31496, 31496, 0}};
  for (const Cas& k : cas) {
    SCOPED_TRACE(std::to_string(k.surfaceX) + " x " + std::to_string(k.surfaceY) + ", grille " +
                 std::to_string(k.grille));
    Session s;
    s.ed.ctx.SurfaceX = k.surfaceX;
    s.ed.ctx.SurfaceY = k.surfaceY;
    AfficheCI(s.ed);
    s.Clic(C::BoutonPastille);
    s.Clic(C::Bpast8);
    s.Clique(1000, 1000);
    s.Clique(2200, 1500);
    Choixgrille1Change(s.ed, k.grille);
    const int32_t pas = kPasGrille[k.grille];
    s.Clic(C::BoutonModifPartielleTypon);
    s.Clic(C::BpSelectionZone);
    s.Appui(500, 500);
    s.Relache(2500, 2000);
    s.Clic(C::BpDeplacerZone);
    s.Appui(100, 100);
    s.Bouge(k.surfaceX - 1, k.surfaceY - 1);
    s.Relache(k.surfaceX - 1, k.surfaceY - 1);
    ASSERT_EQ(s.Nb(), 2);
    for (int i = 1; i <= 2; ++i) {
      EXPECT_EQ(s.E(i).X % pas, 0) << s.E(i).X;
      EXPECT_EQ(s.E(i).Y % pas, 0) << s.E(i).Y;
    }
    EXPECT_EQ(s.E(2).X - s.E(1).X, 1200);
    // The frame (the pads with their size) on the surface, and no grid point further.
    const Cadre& z = s.ed.circuit.Selection.CadreZone;
    EXPECT_LE(z.Droite, k.surfaceX);
    EXPECT_GT(z.Droite + pas, k.surfaceX);
    EXPECT_LE(z.Haut, k.surfaceY);
    EXPECT_GT(z.Haut + pas, k.surfaceY);
    EXPECT_EQ(s.ed.ctx.CurseurX % pas, 0);
  }
}

TEST(Editeur, QuartDeTourAuBordDeLaSurface) {
  Session s;
  // A box 20 mm wide and 30 mm high, 25 mm from the right edge, cannot turn; 10 mm further
  // left it can.
  const int32_t mm = 10000 / 254;
  auto& z = s.ed.circuit.Selection.CadreZone;
  for (auto [gauche, attendu] : std::vector<std::pair<int32_t, bool>>{
           {s.ed.ctx.SurfaceX - 25 * mm, false}, {s.ed.ctx.SurfaceX - 35 * mm, true}}) {
    z = Cadre{gauche, 1000 + 30 * mm, gauche + 20 * mm, 1000};
    EXPECT_EQ(QuartDeTourPossible(s.ed), attendu);
  }
}

// A quarter turn refused because the turned zone would leave the surface changes nothing and
// says why in the status bar, until the next action.
TEST(Editeur, QuartDeTourRefuseDitPourquoi) {
  for (const bool totale : {false, true}) {
    SCOPED_TRACE(totale ? "circuit entier" : "zone");
    Session s;
    s.Clic(C::BoutonPastille);
    s.Clic(C::Bpast8);
    // A row of pads 60 pas long, 10 pas under the top edge: turned it would reach past it.
    const int32_t y = s.ed.ctx.SurfaceY - 1000;
    s.Clique(1000, y);
    s.Clique(7000, y);
    const std::vector<ElementCI> avant(&s.E(1), &s.E(1) + s.Nb());
    if (totale) {
      s.Clic(C::BoutonModifTotaleTypon);
      s.Clic(C::Bprotationtotale);
    } else {
      s.Clic(C::BoutonModifPartielleTypon);
      s.Clic(C::BpSelectionZone);
      s.Appui(500, y - 500);
      s.Relache(7500, y + 500);
      ASSERT_EQ(s.ed.circuit.Selection.Active, 1);
      s.Clic(C::BpRotationZone);
    }
    ASSERT_EQ(s.Nb(), 2);
    EXPECT_TRUE(std::equal(avant.begin(), avant.end(), &s.E(1)));
    EXPECT_EQ(s.ed.Panneaux[4], kQuartDeTourRefuse);
    s.Clic(C::BpInversionZone);
    s.Clic(C::BpInversionTotale);
    EXPECT_EQ(s.ed.Panneaux[4], "");
  }
}

TEST(Editeur, TextesSaisisPlacesEtModifies) {
  Session s;
  s.Clic(C::BoutonTexteTypon);
  s.Clic(C::TexteHorizontal);
  s.d.textes = {""};
  s.Clique(1000, 1000);  // an empty line changes nothing
  EXPECT_EQ(s.Code(), 51);
  s.d.textes = {"AB"};
  s.Appui(1000, 1000);
  EXPECT_EQ(s.Code(), 53);
  s.Relache(1000, 1000);
  EXPECT_EQ(s.Code(), 51);
  ASSERT_EQ(s.Nb(), 3);
  // Face-1 texts are stored last character first; the entry shows them in reading order.
  s.Clic(C::BpTexteSelection);
  s.Clique(1050, 1050);
  s.d.textes = {"XYZ"};
  s.Appui(1050, 1050);
  EXPECT_EQ(s.d.textesMontres.back(), "AB");
  EXPECT_EQ(s.Code(), 56);
  s.Relache(2000, 2000);
  EXPECT_EQ(s.Code(), 60);
  EXPECT_EQ(s.Nb(), 4);
  std::string lu;
  for (int i = s.Nb() - 1; i >= 1; --i) lu += static_cast<char>(s.E(i).Caractere);
  EXPECT_EQ(lu.substr(0, 3), "XYZ");
}

TEST(Editeur, ComposantInsereAnnuleOuPose) {
  Session s;
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  s.Clique(2000, 1000);
  // The zone saved as a component.
  s.Clic(C::BoutonModifPartielleTypon);
  s.Clic(C::BpSelectionZone);
  s.Appui(500, 500);
  s.Relache(2500, 1500);
  s.d.fichiers = {"/base/Composants/R.CPX"};
  s.Clic(C::BpSauverZone);
  ASSERT_EQ(s.d.disque.count("/base/Composants/R.CPX"), 1u);
  EXPECT_EQ(s.d.demandes.back().Titre, "Enregitrement d'un composant");
  // The components' folder first; the circuits' folder when it does not exist.
  EXPECT_EQ(s.d.demandes.back().Dossier, "/base/Composants");
  EXPECT_EQ(s.d.demandes.back().DossierSecours, "/base/Circuits");
  // Inserted, then cancelled: exactly the inserted records go.
  s.Clic(C::BoutonInsertionTypon);
  s.d.fichiers = {"/base/Composants/R.CPX"};
  s.Clic(C::BpInsertionComposant);
  EXPECT_EQ(s.Code(), 91);
  EXPECT_EQ(s.Nb(), 6);  // group markers around the two pads
  s.Touche(Touche::Echap);
  EXPECT_EQ(s.Nb(), 2);
  // Inserted and dropped twice.
  for (int fois = 0; fois < 2; ++fois) {
    s.d.fichiers = {"/base/Composants/R.CPX"};
    s.Clic(C::BpInsertionComposant);
    s.Relache(4000 + 3000 * fois, 4000);
    EXPECT_EQ(s.Code(), 82);
  }
  EXPECT_EQ(s.Nb(), 10);
  EXPECT_EQ(s.ed.circuit.Selection.CadreZone.Gauche, 7000);
}

TEST(Editeur, CircuitEntier) {
  Session s;
  s.Clic(C::BoutonModifTotaleTypon);  // empty: the button goes up, no panel
  EXPECT_FALSE(EstEnfonce(s.ed, C::BoutonModifTotaleTypon));
  EXPECT_FALSE(EstVisible(s.ed, C::PanelModifTotale));
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  s.Clic(C::BoutonModifTotaleTypon);
  EXPECT_EQ(s.Code(), 68);
  s.Clic(C::BpDeplacerTotale);
  EXPECT_EQ(s.Code(), 61);
  s.Clic(C::BpDuplicationTotale);
  s.Appui(0, 0);
  EXPECT_EQ(s.Code(), 66);
  s.Relache(3000, 3000);
  EXPECT_EQ(s.Nb(), 2);
  EXPECT_EQ(s.Code(), 61);
  EXPECT_TRUE(EstEnfonce(s.ed, C::BpDeplacerTotale));
  s.Clic(C::BpSuppressionTotale);  // the duplicate goes
  EXPECT_EQ(s.Nb(), 1);
  // The function button pressed again while a whole-circuit command is under way: nothing.
  s.Clic(C::BpDeplacerTotale);
  ASSERT_EQ(s.Code(), 61);
  s.Clic(C::BoutonModifTotaleTypon);
  EXPECT_EQ(s.Code(), 61);
}

TEST(Editeur, MenuSurgissantSelonLaSelection) {
  Session s;
  s.Droit(1000, 1000);
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  s.Clic(C::BpastSelect);
  s.Clique(1000, 1000);
  ASSERT_EQ(s.ed.circuit.Selection.Active, 1);
  s.d.choixMenu = {C::Deplacer1};
  s.Droit(1000, 1000);
  ASSERT_EQ(s.d.menusOuverts.size(), 2u);
  EXPECT_EQ(s.d.menusOuverts[0], C::PopupMenuAffichage1);
  EXPECT_EQ(s.d.menusOuverts[1], C::PopupMenuAffichage2);
  EXPECT_EQ(s.Code(), 94);
  const int32_t gauche = s.ed.circuit.Selection.CadreZone.Gauche;  // the pad's extent
  s.Relache(3000, 3000);  // the pad is carried and dropped, its box's corner on the cursor
  EXPECT_EQ(s.E(1).X, 3000 + 1000 - gauche);
  EXPECT_EQ(s.ed.circuit.Selection.Active, 0);
  EXPECT_EQ(s.Code(), 30);
}

// Drawing with the keyboard alone: the arrows move the cursor by a grid step (Shift: ten),
// the status bar reads it, Enter clicks there, Space presses or releases as the gesture needs,
// Escape cancels, and the view follows the cursor.
TEST(Editeur, DessinAuClavierSeul) {
  Session s(600, 400);
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  FormKeyDown(s.ed, Touche::Droite, true);  // ten steps of 1/2 pas to the right
  s.Touche(Touche::Haut);
  s.Touche(Touche::Haut);
  EXPECT_EQ(s.ed.ctx.CurseurX, 500);
  EXPECT_EQ(s.ed.ctx.CurseurY, 100);
  EXPECT_EQ(s.ed.Panneaux[0], "X = 5,00 pas");
  EXPECT_EQ(s.ed.Panneaux[1], "Y = 1,00 pas");
  s.Touche(Touche::Entree);
  ASSERT_EQ(s.Nb(), 1);
  EXPECT_EQ(s.E(1).X, 500);
  EXPECT_EQ(s.E(1).Y, 100);
  // Never past the surface's edges.
  for (int i = 0; i < 5; ++i) FormKeyDown(s.ed, Touche::Gauche, true);
  s.Touche(Touche::Bas);
  s.Touche(Touche::Bas);
  s.Touche(Touche::Bas);
  EXPECT_EQ(s.ed.ctx.CurseurX, 0);
  EXPECT_EQ(s.ed.ctx.CurseurY, 0);

  // A track: Space starts it, each Space adds the point the arrows reached, Escape ends it.
  s.Clic(C::BoutonPiste);
  s.Clic(C::Bpist3);
  s.Touche(Touche::Espace);
  FormKeyDown(s.ed, Touche::Droite, true);
  s.Touche(Touche::Espace);
  FormKeyDown(s.ed, Touche::Haut, true);
  s.Touche(Touche::Espace);
  s.Touche(Touche::Echap);
  ASSERT_EQ(s.Nb(), 4);
  EXPECT_EQ(s.E(4).X, 500);
  EXPECT_EQ(s.E(4).Y, 500);

  // The view follows the cursor to the far corner of the surface.
  const int32_t bords = s.ed.AscHorizontal.Position;
  for (int i = 0; i < 40; ++i) FormKeyDown(s.ed, Touche::Droite, true);
  for (int i = 0; i < 40; ++i) FormKeyDown(s.ed, Touche::Haut, true);
  EXPECT_GT(s.ed.AscHorizontal.Position, bords);
  const PointPixel p = PixelPoint(s.ed.ctx, s.ed.ctx.CurseurX, s.ed.ctx.CurseurY);
  EXPECT_GE(p.X, s.ed.ctx.Zone.Gauche);
  EXPECT_LT(p.X, s.ed.ctx.Zone.Droite);
  EXPECT_GE(p.Y, s.ed.ctx.Zone.Haut);
  EXPECT_LT(p.Y, s.ed.ctx.Zone.Bas);
  EXPECT_LT(s.ed.ctx.CurseurX, s.ed.ctx.SurfaceX);
  EXPECT_LT(s.ed.ctx.CurseurY, s.ed.ctx.SurfaceY);
}

TEST(Editeur, GesteDeLaBarreDEspace) {
  Session s;
  EXPECT_EQ(GesteEspace(s.ed), Geste::Aucun);
  s.Clic(C::BoutonModifPartielleTypon);
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  EXPECT_EQ(GesteEspace(s.ed), Geste::Presse);
  s.Clic(C::BoutonModifPartielleTypon);
  s.Clic(C::BpSelectionZone);
  s.Bouge(500, 500);
  s.Touche(Touche::Espace);  // the rubber band starts at the cursor
  EXPECT_EQ(s.Code(), 100);
  EXPECT_EQ(GesteEspace(s.ed), Geste::Relache);
  s.Bouge(1500, 1500);
  s.Touche(Touche::Espace);
  EXPECT_EQ(s.Code(), 70);
}

// ---- Files ----

std::vector<uint8_t> CircuitUnePastille() {
  Circuit c;
  AjoutElement(c, 1, uint8_t{200}, 1000, 1000);
  c.EnteteCI.SurfaceX = 20000;
  return EcritCircuit(c);
}

TEST(Editeur, EnregistreEtRouvre) {
  Session s;
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  s.ed.Titres = {"Titre", "Date", "Moi"};
  s.d.fichiers = {"/base/Circuits/Essai.CIX"};
  s.Clic(C::BoutonEnregistrer);
  EXPECT_EQ(s.d.demandes.back().Nom, "Circuit 1");
  EXPECT_FALSE(s.ed.circuit.CircuitModifie);
  EXPECT_EQ(s.ed.Legende, "KORV4 : /base/Circuits/Essai.CIX");
  // The save button then writes in place; "Enregistrer sous" asks, proposing the name.
  s.Clique(2000, 1000);
  s.Clic(C::BoutonEnregistrer);
  EXPECT_EQ(s.d.demandes.size(), 1u);
  EXPECT_FALSE(s.ed.circuit.CircuitModifie);
  EXPECT_EQ(TitreFenetre(s.ed), "KORV4 : /base/Circuits/Essai.CIX");
  s.d.fichiers = {"/base/Circuits/Essai.CIX"};
  s.Clic(C::Enregistrersous1);
  EXPECT_EQ(s.d.demandes.back().Nom, "/base/Circuits/Essai");

  Session t;
  t.d.disque = s.d.disque;
  t.d.fichiers = {"/base/Circuits/Essai.CIX"};
  t.Clic(C::BoutonOuvrir);
  ASSERT_EQ(t.Nb(), 2);
  EXPECT_EQ(t.E(2), s.E(2));
  EXPECT_EQ(t.ed.Titres[2], "Moi");
  EXPECT_TRUE(t.d.questions.empty());
}

TEST(Editeur, FichierRefuseOuEcritureImpossible) {
  Session s;
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  s.d.disque["/x/Essai.TXT"] = CircuitUnePastille();
  s.d.fichiers = {"/x/Essai.TXT"};
  s.Clic(C::BoutonOuvrir);  // neither X nor P: refused, nothing changes
  EXPECT_EQ(s.d.messages.size(), 1u);
  EXPECT_EQ(s.ed.Legende, "KORV4");
  EXPECT_TRUE(s.ed.circuit.NomFichier.empty());
  EXPECT_EQ(s.Nb(), 1);
  s.d.dossierInterdit = "/ro";
  s.d.fichiers = {"/ro/Essai.CIX"};
  s.Clic(C::BoutonEnregistrer);
  EXPECT_EQ(s.d.messages.size(), 2u);
  EXPECT_TRUE(s.ed.circuit.CircuitModifie);
}

// A circuit that joining or repair changes while it opens says so and opens modified, so that
// closing offers to save the repaired circuit; a sound circuit opens without a word, unmodified.
TEST(Editeur, CircuitRepareALOuverture) {
  using essai::Rec;
  struct Cas {
    const char* quoi;
    std::vector<ElementCI> recs;
    bool repare;
  };
  const ElementCI pastille = Rec(1, 18, 0, 1000, 1000);
  const std::vector<Cas> cas = {
      {"sain", {pastille}, false},
      {"dessin sans second point", {pastille, Rec(4, 128, 0, 2000, 2000)}, true},
  };
  for (const Cas& k : cas) {
    for (const bool depose : {false, true}) {
      SCOPED_TRACE(std::string(k.quoi) + (depose ? ", déposé" : ", ouvert"));
      Circuit c = essai::Fait(k.recs);
      c.EnteteCI.SurfaceX = c.EnteteCI.SurfaceY = 10000;
      Session s;
      s.d.disque["/c/Carte.CIX"] = EcritCircuit(c);
      if (depose) {
        OuvreFichierDepose(s.ed, "/c/Carte.CIX");
      } else {
        s.d.fichiers = {"/c/Carte.CIX"};
        s.Clic(C::BoutonOuvrir);
      }
      ASSERT_EQ(s.Nb(), 1);
      EXPECT_EQ(s.ed.circuit.CircuitModifie, k.repare);
      EXPECT_EQ(TitreFenetre(s.ed), std::string(k.repare ? "*" : "") + "KORV4 : /c/Carte.CIX");
      if (k.repare) {
        ASSERT_EQ(s.d.messages.size(), 1u);
        EXPECT_NE(s.d.messages[0].find("/c/Carte.CIX a été réparé à l'ouverture"),
                  std::string::npos);
        EXPECT_NE(s.d.messages[0].find("2 éléments lus, 1 après réparation"), std::string::npos);
        EXPECT_NE(s.d.messages[0].find("marqué modifié"), std::string::npos);
      } else {
        EXPECT_TRUE(s.d.messages.empty());
      }
      // Closing offers to save exactly the repaired circuit.
      s.d.questions.clear();
      s.d.reponses = {Reponse::Annuler};
      EXPECT_EQ(FormClose(s.ed), false);
      EXPECT_EQ(s.d.questions.size(), 1u);
      EXPECT_EQ(
          s.d.questions[0] == "Le circuit imprimé a été modifié. Désirez-vous l'enregistrer ?",
          k.repare);
    }
  }
}

// Questions and answers of the open, new-work and close commands.
TEST(Editeur, QuestionsAvantDePerdreLeTravail) {
  const std::string modifie = "Le circuit imprimé a été modifié. Désirez-vous l'enregistrer ?";
  const std::string effacer = "Désirez-vous effacer votre travail ?";
  const std::string terminer = "Désirez-vous terminer votre travail ?";
  struct Cas {
    bool modifie;
    std::deque<Reponse> reponses;
    std::vector<std::string> questions;
    bool efface;
  };
  for (const Cas& c : std::vector<Cas>{
           {false, {Reponse::Ok}, {effacer}, true},
           {false, {Reponse::Annuler}, {effacer}, false},
           // The save question answered, nothing more is asked.
           {true, {Reponse::Non}, {modifie}, true},
           // Oui, and the save dialog cancelled: nothing more.
           {true, {Reponse::Oui, Reponse::Annuler}, {modifie}, false},
       }) {
    Session s;
    AjoutElement(s.ed.circuit, 1, uint8_t{200}, 1000, 1000);
    s.ed.circuit.CircuitModifie = c.modifie;
    s.d.reponses = c.reponses;
    s.Clic(C::Nouveaufichier1);
    EXPECT_EQ(s.d.questions, c.questions);
    EXPECT_EQ(s.Nb() == 0, c.efface);
  }
  Session s;
  AjoutElement(s.ed.circuit, 1, uint8_t{200}, 1000, 1000);
  s.d.reponses = {Reponse::Oui, Reponse::Ok};  // the save dialog is then cancelled: it stays
  EXPECT_FALSE(FormClose(s.ed));
  EXPECT_EQ(s.d.questions, (std::vector<std::string>{modifie}));
  s.d.reponses.clear();
  s.ed.circuit.CircuitModifie = false;
  s.d.questions.clear();
  EXPECT_FALSE(FormClose(s.ed));
  EXPECT_EQ(s.d.questions, std::vector<std::string>{terminer});

  // Closing a modified circuit with "Oui": one question; a circuit with its .CIX file is saved
  // in place, a new one asks its name.
  struct CasFermeture {
    const char* fichier;  // the circuit's file, "" for a new circuit
    size_t dialogues;     // file dialogs shown
  };
  for (const CasFermeture& c : {CasFermeture{"/c/F.CIX", 0}, CasFermeture{"", 1}}) {
    SCOPED_TRACE(c.fichier);
    Session t;
    if (c.fichier[0] != '\0') {
      t.d.disque[c.fichier] = CircuitUnePastille();
      ASSERT_TRUE(OuvreFichier(t.ed, c.fichier));
    }
    t.Clic(C::BoutonPastille);
    t.Clic(C::Bpast8);
    t.Clique(3000, 1000);
    t.d.reponses = {Reponse::Oui};
    t.d.fichiers = {"/c/Nouveau.CIX"};
    EXPECT_TRUE(FormClose(t.ed));
    EXPECT_EQ(t.d.questions, std::vector<std::string>{modifie});
    EXPECT_EQ(t.d.demandes.size(), c.dialogues);
    Circuit relu;
    std::string erreur;
    ASSERT_TRUE(OuvreCircuit(relu, t.d.disque[c.fichier[0] != '\0' ? c.fichier : "/c/Nouveau.CIX"],
                             "x.CIX", erreur));
    EXPECT_EQ(relu.NbElements, t.Nb());
  }
}

// The question before work may be lost offers Oui / Non / Annuler; Annuler (Escape) leaves
// everything as it was, whatever command asked; Non goes on without saving.
TEST(Editeur, AnnulerNePerdRien) {
  const std::string modifie = "Le circuit imprimé a été modifié. Désirez-vous l'enregistrer ?";
  enum class Commande { Ouvrir, Deposer, Nouveau, Fermer };
  for (const Commande cmd :
       {Commande::Ouvrir, Commande::Deposer, Commande::Nouveau, Commande::Fermer}) {
    for (const Reponse r : {Reponse::Annuler, Reponse::Non}) {
      SCOPED_TRACE(::testing::Message()
                   << static_cast<int>(cmd) << " " << (r == Reponse::Annuler ? "Annuler" : "Non"));
      Session s;
      s.d.disque["/c/Autre.CIX"] = CircuitUnePastille();
      s.Clic(C::BoutonPastille);
      s.Clic(C::Bpast8);
      s.Clique(1000, 1000);
      s.Clique(2000, 1000);
      const std::vector<ElementCI> avant(&s.E(1), &s.E(1) + s.Nb());
      s.d.reponses = {r, Reponse::Ok};
      s.d.fichiers = {"/c/Autre.CIX"};
      bool ferme = false;
      switch (cmd) {
        case Commande::Ouvrir: s.Clic(C::BoutonOuvrir); break;
        case Commande::Deposer: OuvreFichierDepose(s.ed, "/c/Autre.CIX"); break;
        case Commande::Nouveau: s.Clic(C::BoutonNouveau); break;
        case Commande::Fermer: ferme = FormClose(s.ed); break;
      }
      ASSERT_FALSE(s.d.questions.empty());
      EXPECT_EQ(s.d.questions[0], modifie);
      EXPECT_EQ(s.d.boutons[0], Boutons::OuiNonAnnuler);
      if (r == Reponse::Annuler) {
        EXPECT_EQ(s.d.questions.size(), 1u);  // nothing more is asked
        EXPECT_TRUE(s.d.demandes.empty());    // no file dialog
        EXPECT_FALSE(ferme);
        ASSERT_EQ(s.Nb(), 2);
        EXPECT_TRUE(std::equal(avant.begin(), avant.end(), &s.E(1)));
        EXPECT_TRUE(s.ed.circuit.CircuitModifie);
        EXPECT_EQ(s.ed.Legende, "KORV4");
      } else {
        EXPECT_TRUE(s.d.disque.count("/c/Autre.CIX") == 1 && s.d.disque.size() == 1);
        switch (cmd) {
          case Commande::Ouvrir:
          case Commande::Deposer: EXPECT_EQ(s.Nb(), 1); break;
          case Commande::Nouveau: EXPECT_EQ(s.Nb(), 0); break;
          case Commande::Fermer: EXPECT_TRUE(ferme); break;
        }
      }
    }
  }
}

// Two editors on one file: the second is told at opening (read only, anyway, or not at all),
// and a save over a file changed on the disk since it was read asks first.
TEST(Editeur, DeuxEditeursSurUnFichier) {
  const std::string kDejaOuvert =
      "Le fichier /c/F.CIX est déjà ouvert dans un autre éditeur KORV4.";
  const std::string kModifieAilleurs = "Le fichier /c/F.CIX a été modifié par un autre programme";
  std::map<std::string, const void*> verrous;
  auto ouvre = [&](Session& s) {
    s.d.verrous = &verrous;
    s.d.disque["/c/F.CIX"] = CircuitUnePastille();
    return OuvreFichier(s.ed, "/c/F.CIX");
  };
  auto pastille = [](Session& s, int32_t x) {
    if (!EstEnfonce(s.ed, C::Bpast8)) {
      s.Clic(C::BoutonPastille);
      s.Clic(C::Bpast8);
    }
    s.Clique(x, 1000);
  };
  Session a;
  ASSERT_TRUE(ouvre(a));
  EXPECT_TRUE(a.d.textesChoix.empty());

  // Annuler: nothing opens.
  {
    Session b;
    b.d.choix = {2};
    EXPECT_FALSE(ouvre(b));
    ASSERT_EQ(b.d.textesChoix.size(), 1u);
    EXPECT_EQ(b.d.textesChoix[0].rfind(kDejaOuvert, 0), 0u) << b.d.textesChoix[0];
    EXPECT_EQ(b.Nb(), 0);
    EXPECT_EQ(b.ed.Legende, "KORV4");
  }
  // Read only: the caption says so, and saving asks another name.
  {
    Session b;
    b.d.choix = {0};
    ASSERT_TRUE(ouvre(b));
    EXPECT_EQ(b.ed.Legende, "KORV4 : /c/F.CIX (lecture seule)");
    pastille(b, 2000);
    const std::vector<uint8_t> avant = b.d.disque["/c/F.CIX"];
    b.d.fichiers = {"/c/G.CIX"};
    Raccourci(b.ed, C::Enregistrerunfichier1);
    EXPECT_EQ(b.d.demandes.size(), 1u);
    EXPECT_EQ(b.d.disque["/c/F.CIX"], avant);
    EXPECT_EQ(b.ed.Legende, "KORV4 : /c/G.CIX");
    EXPECT_FALSE(b.ed.circuit.CircuitModifie);
  }
  // Anyway: each adds a pad, the first saves, then the second is asked before it overwrites.
  struct Cas {
    int choix;         // Ecraser, Enregistrer sous, Annuler
    bool ecrase;       // the second's circuit replaces the first's in F.CIX
    size_t dialogues;  // file dialogs shown
  };
  for (const Cas& c : {Cas{0, true, 0}, Cas{1, false, 1}, Cas{2, false, 0}}) {
    SCOPED_TRACE(c.choix);
    Session b;
    b.d.choix = {1};
    ASSERT_TRUE(ouvre(b));
    EXPECT_EQ(b.ed.Legende, "KORV4 : /c/F.CIX");
    pastille(a, 2000 + 200 * c.choix);
    pastille(b, 3000);
    Raccourci(a.ed, C::Enregistrerunfichier1);
    ASSERT_TRUE(a.d.demandes.empty());
    b.d.disque = a.d.disque;  // one disk
    const std::vector<uint8_t> premier = b.d.disque["/c/F.CIX"];
    b.d.choix = {c.choix};
    b.d.fichiers = {"/c/H.CIX"};
    b.d.textesChoix.clear();
    Raccourci(b.ed, C::Enregistrerunfichier1);
    ASSERT_EQ(b.d.textesChoix.size(), 1u);
    EXPECT_EQ(b.d.textesChoix[0].rfind(kModifieAilleurs, 0), 0u) << b.d.textesChoix[0];
    EXPECT_EQ(b.d.disque["/c/F.CIX"] != premier, c.ecrase);
    EXPECT_EQ(b.d.demandes.size(), c.dialogues);
    EXPECT_EQ(b.ed.circuit.CircuitModifie, c.choix == 2);
    // Once written, its own save is no change by another program.
    if (c.choix == 0) {
      pastille(b, 4000);
      b.d.textesChoix.clear();
      Raccourci(b.ed, C::Enregistrerunfichier1);
      EXPECT_TRUE(b.d.textesChoix.empty());
      EXPECT_FALSE(b.ed.circuit.CircuitModifie);
    }
  }
  // The first lets go of the file with a new work: the next editor opens it without a word.
  a.d.reponses = {Reponse::Ok};
  a.Clic(C::BoutonNouveau);
  Session b;
  ASSERT_TRUE(ouvre(b));
  EXPECT_TRUE(b.d.textesChoix.empty());
}

// A save the disk refuses changes nothing: the circuit keeps its name, the caption and the
// remembered last circuit and folder stay, and the next save proposes the name it had.
TEST(Editeur, EnregistrementEchoueNeChangeRien) {
  Session s;
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  s.Clique(1000, 1000);
  s.d.fichiers = {"/base/Circuits/Bon.CIX"};
  s.Clic(C::BoutonEnregistrer);
  ASSERT_EQ(s.ed.circuit.NomFichier, "/base/Circuits/Bon.CIX");
  s.Clique(2000, 1000);
  s.d.dossierInterdit = "/ro";
  const uint64_t version = s.ed.Version;
  s.d.fichiers = {"/ro/Perdu.CIX"};
  s.Clic(C::Enregistrersous1);
  ASSERT_EQ(s.d.messages.size(), 1u);
  EXPECT_EQ(s.ed.circuit.NomFichier, "/base/Circuits/Bon.CIX");
  EXPECT_EQ(s.ed.Legende, "KORV4 : /base/Circuits/Bon.CIX");
  EXPECT_EQ(TitreFenetre(s.ed), "*KORV4 : /base/Circuits/Bon.CIX");
  EXPECT_EQ(s.ed.DernierFichier, "/base/Circuits/Bon.CIX");
  EXPECT_EQ(s.ed.RepertoireCircuits, "/base/Circuits");
  EXPECT_TRUE(s.ed.circuit.CircuitModifie);
  EXPECT_GE(s.ed.Version, version);
  s.Clic(C::Enregistrersous1);
  EXPECT_EQ(s.d.demandes.back().Nom, "/base/Circuits/Bon");
  EXPECT_EQ(s.d.demandes.back().Dossier, "/base/Circuits");
  // A first save that fails leaves the circuit without a name.
  Session t;
  t.Clic(C::BoutonPastille);
  t.Clic(C::Bpast8);
  t.Clique(1000, 1000);
  t.d.dossierInterdit = "/ro";
  t.d.fichiers = {"/ro/Perdu.CIX"};
  t.Clic(C::BoutonEnregistrer);
  EXPECT_TRUE(t.ed.circuit.NomFichier.empty());
  EXPECT_EQ(TitreFenetre(t.ed), "*KORV4");
  EXPECT_TRUE(t.ed.DernierFichier.empty());
  t.Clic(C::BoutonEnregistrer);
  EXPECT_EQ(t.d.demandes.back().Nom, "Circuit 1");
}

// The caption's "*" follows the modified flag whatever changes it: an edit, undo back to the
// saved state, redo, a save, a new work; each change of the mark is a new version for the window.
// While the circuit is empty the commands that need records are greyed, undo and redo included.
TEST(Editeur, MarqueDeModificationEtCommandesGrisees) {
  const C kCommandes[] = {C::Enregistrerunfichier1,
                          C::BoutonEnregistrer,
                          C::Impression1,
                          C::BoutonImpression,
                          C::Exporterlefichierdeperage1,
                          C::BoutonExportPercage,
                          C::ExporterlecircuitauformatGerber1,
                          C::BoutonExportGerber};
  Session s;
  struct Pas {
    const char* quoi;
    std::function<void()> geste;
    const char* titre;
    bool actives;
  };
  const std::vector<Pas> pas = {
      {"départ", [] {}, "KORV4", false},
      {"pastille",
       [&] {
         s.Clic(C::BoutonPastille);
         s.Clic(C::Bpast8);
         s.Clique(1000, 1000);
       },
       "*KORV4", true},
      {"annuler", [&] { s.Clic(C::Defaire1); }, "KORV4", false},
      {"rétablir", [&] { s.Clic(C::BoutonRefaire); }, "*KORV4", true},
      {"enregistrer",
       [&] {
         s.d.fichiers = {"/base/Circuits/M.CIX"};
         s.Clic(C::BoutonEnregistrer);
       },
       "KORV4 : /base/Circuits/M.CIX", true},
      {"seconde pastille", [&] { s.Clique(2000, 1000); }, "*KORV4 : /base/Circuits/M.CIX", true},
      {"annuler jusqu'à l'enregistré", [&] { s.Clic(C::BoutonDefaire); },
       "KORV4 : /base/Circuits/M.CIX", true},
      {"annuler encore", [&] { s.Clic(C::BoutonDefaire); }, "KORV4 : /base/Circuits/M.CIX", false},
      {"rétablir", [&] { s.Clic(C::Refaire1); }, "KORV4 : /base/Circuits/M.CIX", true},
      {"rétablir la seconde", [&] { s.Clic(C::Refaire1); }, "*KORV4 : /base/Circuits/M.CIX", true},
      {"nouveau",
       [&] {
         s.d.reponses = {Reponse::Non, Reponse::Ok};
         s.Clic(C::BoutonNouveau);
       },
       "KORV4", false},
  };
  bool marque = false;
  for (const Pas& p : pas) {
    SCOPED_TRACE(p.quoi);
    const uint64_t version = s.ed.Version;
    p.geste();
    EXPECT_EQ(TitreFenetre(s.ed), p.titre);
    const bool m = p.titre[0] == '*';
    if (m != marque) {
      EXPECT_GT(s.ed.Version, version);
    }
    marque = m;
    for (C c : kCommandes) EXPECT_EQ(s.ed[c].Actif, p.actives) << Definition(c).Nom;
  }
  // A greyed command does nothing when clicked.
  s.Clic(C::BoutonImpression);
  s.Clic(C::BoutonExportGerber);
  EXPECT_TRUE(s.d.fenetres.empty());
}

// Every change that undo can take back marks the circuit modified, whatever window made it
// (drill diameters, surface, title block), and undo back to the saved state clears the mark;
// the display choices (units, origin, zoom, grid) are not changes of the circuit.
TEST(Editeur, ToutChangementDuCircuitLeMarqueModifie) {
  struct Cas {
    const char* quoi;
    std::function<void(Session&)> geste;
    bool modifie;
  };
  const std::vector<Cas> cas = {
      {"diamètres",
       [](Session& s) {
         s.d.effetFenetre = [&s](Fenetre) { s.ed.circuit.EnteteCI.DiametresPercage[2] = 13; };
         s.Clic(C::BoutonAffichagePercage);
         s.Clic(C::BoutonPercage);
         s.Clic(C::ModifDiametre);
       },
       true},
      {"surface",
       [](Session& s) {
         s.d.effetFenetre = [&s](Fenetre) { s.ed.ctx.SurfaceX = 5000; };
         s.Clic(C::BoutonTaille);
       },
       true},
      {"titre",
       [](Session& s) {
         s.Clic(C::Boutontitre);
         s.ed.Titres[0] = "Alimentation";
         TitreTouche(s.ed, 1, Touche::Entree);
       },
       true},
      {"diamètres inchangés",
       [](Session& s) {
         s.Clic(C::BoutonAffichagePercage);
         s.Clic(C::BoutonPercage);
         s.Clic(C::ModifDiametre);
       },
       false},
      {"millimètres", [](Session& s) { s.Clic(C::Affichageenmm2); }, false},
      {"origine relative",
       [](Session& s) {
         s.Bouge(1000, 1000);
         s.Clic(C::Originerelative1);
       },
       false},
      {"zoom", [](Session& s) { ChoixEchelle1Change(s.ed, 4); }, false},
      {"grille", [](Session& s) { Choixgrille1Change(s.ed, 3); }, false},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.quoi);
    Session s;
    s.d.disque["/c/F.CIX"] = CircuitUnePastille();
    ASSERT_TRUE(OuvreFichier(s.ed, "/c/F.CIX"));
    c.geste(s);
    EXPECT_EQ(s.ed.circuit.CircuitModifie, c.modifie);
    // The header the check reads follows the surface, through undo and redo too.
    auto surfaceSuivie = [&s] {
      EXPECT_EQ(s.ed.circuit.EnteteCI.SurfaceX, s.ed.ctx.SurfaceX);
      EXPECT_EQ(s.ed.circuit.EnteteCI.SurfaceY, s.ed.ctx.SurfaceY);
    };
    surfaceSuivie();
    EXPECT_EQ(TitreFenetre(s.ed), std::string(c.modifie ? "*" : "") + "KORV4 : /c/F.CIX");
    // Closing asks to save exactly when something changed.
    s.d.questions.clear();
    FormClose(s.ed);
    ASSERT_FALSE(s.d.questions.empty());
    EXPECT_EQ(s.d.questions[0] == "Le circuit imprimé a été modifié. Désirez-vous l'enregistrer ?",
              c.modifie);
    if (!c.modifie) continue;
    s.Clic(C::Defaire1);
    EXPECT_FALSE(s.ed.circuit.CircuitModifie);
    EXPECT_EQ(TitreFenetre(s.ed), "KORV4 : /c/F.CIX");
    surfaceSuivie();
    s.Clic(C::Refaire1);
    EXPECT_TRUE(s.ed.circuit.CircuitModifie);
    surfaceSuivie();
    // Saved in place: the mark goes at once, and the file holds the change.
    Raccourci(s.ed, C::Enregistrerunfichier1);
    EXPECT_FALSE(s.ed.circuit.CircuitModifie);
    EXPECT_EQ(TitreFenetre(s.ed), "KORV4 : /c/F.CIX");
    Circuit relu;
    std::string erreur;
    ASSERT_TRUE(OuvreCircuit(relu, s.d.disque["/c/F.CIX"], "/c/F.CIX", erreur));
    EXPECT_EQ(relu.EnteteCI.DiametresPercage, s.ed.circuit.EnteteCI.DiametresPercage);
    EXPECT_EQ(relu.EnteteCI.SurfaceX, s.ed.ctx.SurfaceX);
  }
}

TEST(Editeur, BlocTitre) {
  Session s;
  s.Clic(C::Boutondate);
  EXPECT_TRUE(s.ed[C::EditTitre2].Actif);
  EXPECT_FALSE(s.ed[C::EditTitre1].Actif);
  EXPECT_EQ(s.ed.Titres[1], "Le 10/12/2026");
  TitreTouche(s.ed, 2, Touche::Autre);
  EXPECT_TRUE(s.ed.circuit.CircuitModifie);
  TitreTouche(s.ed, 2, Touche::Entree);
  EXPECT_FALSE(s.ed[C::EditTitre2].Actif);
  EXPECT_FALSE(EstEnfonce(s.ed, C::Boutondate));
  s.ed.Titres[1] = "hier";
  s.Clic(C::Boutondate);
  EXPECT_EQ(s.ed.Titres[1], "hier");
  // A press on the drawing area ends the title edit and does nothing else.
  s.Clic(C::BoutonPastille);
  s.Clic(C::Boutontitre);
  s.Clique(1000, 1000);
  EXPECT_FALSE(EstEnfonce(s.ed, C::Boutontitre));
  EXPECT_FALSE(s.ed[C::EditTitre1].Actif);
}

TEST(Editeur, MenusActifsALOuverture) {
  Session s;
  s.Clic(C::Fichier1);
  EXPECT_FALSE(s.ed[C::Enregistrerunfichier1].Actif);
  EXPECT_FALSE(s.ed[C::Impression1].Actif);
  AjoutElement(s.ed.circuit, 1, uint8_t{200}, 1000, 1000);
  s.Clic(C::Fichier1);
  s.Clic(C::Edition1);
  EXPECT_TRUE(s.ed[C::ExporterlecircuitauformatGerber1].Actif);
  EXPECT_TRUE(s.ed[C::Copier1].Actif);
  s.Clic(C::ExporterlecircuitauformatGerber1);
  s.Clic(C::Impression1);
  EXPECT_EQ(s.d.fenetres, (std::vector<Fenetre>{Fenetre::ExportGerber, Fenetre::FicheImpression}));
}

}  // namespace
}  // namespace korv4

namespace korv4 {
namespace {

using C = Controle;

// A whole job as a user runs it: draw, select a zone, rotate, mirror, duplicate and drop,
// delete and undo, group, save the zone as a component, insert it twice into a new circuit,
// save, reopen, and the store read back is the one saved.
TEST(EditeurScenario, TravailComplet) {
  Session s;
  s.Clic(C::BoutonPastille);
  s.Clic(C::Bpast8);
  for (int x : {1000, 1500, 2000}) s.Clique(x, 1000);
  s.Clic(C::BoutonPiste);
  s.Clic(C::Bpist2);
  s.Clique(1000, 1000);
  s.Clique(2000, 1000);
  s.Touche(Touche::Echap);
  const int32_t dessin = s.Nb();
  ASSERT_EQ(dessin, 5);

  s.Clic(C::BoutonModifPartielleTypon);
  s.Clic(C::BpSelectionZone);
  s.Appui(500, 500);
  s.Relache(2500, 1500);
  ASSERT_EQ(s.ed.circuit.Selection.Active, 1);
  s.Clic(C::BpRotationZone);
  s.Clic(C::BpInversionZone);
  s.Clic(C::BpDuplicationZone);
  s.Appui(0, 0);
  s.Relache(5000, 3000);
  EXPECT_EQ(s.Nb(), 2 * dessin);
  s.Clic(C::BpSuppressionZone);  // the duplicate goes, and can come back
  EXPECT_EQ(s.Nb(), dessin);
  EXPECT_TRUE(s.ed[C::Bpanullsupp].Actif);
  s.Clic(C::Bpanullsupp);
  EXPECT_EQ(s.Nb(), 2 * dessin);
  s.Clic(C::BpSelectionZone);
  s.Appui(4500, 2500);
  s.Relache(7000, 6000);
  s.Clic(C::BpGrouperZone);
  EXPECT_TRUE(EstUnGroupe(s.ed.circuit));
  s.d.fichiers = {"/base/Composants/Bloc.CPX"};
  s.Clic(C::BpSauverZone);
  ASSERT_EQ(s.d.disque.count("/base/Composants/Bloc.CPX"), 1u);
  EXPECT_EQ(s.ed.RepertoireComposants, "/base/Composants");

  // A new circuit, the component inserted twice.
  s.d.reponses = {Reponse::Non, Reponse::Ok};
  s.Clic(C::Nouveaufichier1);
  ASSERT_EQ(s.Nb(), 0);
  s.Clic(C::BoutonInsertionTypon);
  for (int fois = 0; fois < 2; ++fois) {
    s.d.fichiers = {"/base/Composants/Bloc.CPX"};
    s.Clic(C::BpInsertionComposant);
    s.Relache(1000 + 4000 * fois, 1000);
  }
  const int32_t insere = s.Nb();
  EXPECT_EQ(insere, 2 * (dessin + 2));
  s.d.fichiers = {"/base/Circuits/Deux.CIX"};
  s.Clic(C::BoutonEnregistrer);
  const std::vector<ElementCI> enregistre(s.ed.circuit.Elements.begin() + 1,
                                          s.ed.circuit.Elements.begin() + 1 + s.Nb());

  Session t;
  t.d.disque = s.d.disque;
  t.d.fichiers = {"/base/Circuits/Deux.CIX"};
  t.Clic(C::BoutonOuvrir);
  ASSERT_EQ(t.Nb(), insere);
  EXPECT_TRUE(std::equal(enregistre.begin(), enregistre.end(), t.ed.circuit.Elements.begin() + 1));
  EXPECT_FALSE(t.ed.circuit.CircuitModifie);
}

// An old-format circuit: its title block comes in, the surface and drill buttons stay.
TEST(EditeurScenario, AncienFormat) {
  std::vector<uint8_t> v(kTailleEnteteAncien, 0);
  v[0] = 6;
  std::memcpy(&v[1], "Ancien", 6);
  v[82] = 4;
  std::memcpy(&v[83], "1995", 4);
  v[103] = 3;
  std::memcpy(&v[104], "Lui", 3);
  v[130] = 1;  // one pad entry in the first group
  std::vector<uint8_t> bloc(kTailleBlocAncien, 0);
  bloc[0] = 10;
  bloc[1] = 10;
  bloc[2] = 3;
  v.insert(v.end(), bloc.begin(), bloc.end());
  Session s;
  s.ed.ctx.SurfaceX = 15000;
  s.d.disque["/x/vieux.CIP"] = v;
  s.d.fichiers = {"/x/vieux.CIP"};
  s.Clic(C::BoutonOuvrir);
  ASSERT_TRUE(s.d.messages.empty()) << s.d.messages[0];
  EXPECT_GE(s.Nb(), 1);
  EXPECT_EQ(s.ed.Titres[0], "Ancien");
  EXPECT_EQ(s.ed.Titres[2], "Lui");
  EXPECT_EQ(s.ed.ctx.SurfaceX, 15000);
  EXPECT_EQ(s.ed.Legende, "KORV4 : /x/vieux.CIP");
}

}  // namespace
}  // namespace korv4
