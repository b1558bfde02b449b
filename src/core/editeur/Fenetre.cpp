#include <algorithm>

#include "editeur/Editeur.h"
#include "render/Curseur.h"
#include "render/TraceCircuit.h"

#ifndef KORV4_VERSION
#error "KORV4_VERSION (the project version) must be defined by the build"
#endif

// Start-up, works, tool palettes and action codes of the main window.

namespace korv4 {

namespace {

using C = Controle;

// Option panels in the order the action code is computed from them.
constexpr C kPanneaux[] = {C::PanelPistes,         C::PanelPastilles, C::PanelDessin,
                           C::PanelPercage,        C::PanelTexte,     C::PanelModifTotale,
                           C::PanelModifPartielle, C::PanelInsertion};

void Relache(Editeur& ed, std::initializer_list<C> liste) {
  for (C c : liste) Enfonce(ed, c, false);
}

// Every control of a container (or of a group) released.
void RelacheGroupe(Editeur& ed, int groupe) {
  for (int i = 1; i < kNombreControles; ++i) {
    if (Definition(static_cast<C>(i)).Groupe == groupe) Enfonce(ed, static_cast<C>(i), false);
  }
}

// The buttons of a panel that select an action code (not the thickness and size buttons).
void RelacheCodes(Editeur& ed, C panneau) {
  for (int i = 1; i < kNombreControles; ++i) {
    const DefinitionControle& d = Definition(static_cast<C>(i));
    if (d.Conteneur == panneau && d.Type == Genre::Bascule && d.Groupe != GEpaisseur &&
        d.Groupe != GTaille) {
      Enfonce(ed, static_cast<C>(i), false);
    }
  }
}

// The tool left: a drawing's lone first point and an inserted component stay where they are,
// their gestures committed (a track is ended by the cursor's reset).
void QuitteOutil(Editeur& ed) {
  ValideGeste(ed, GesteLong::Dessin);
  ValideGeste(ed, GesteLong::Insertion);
}

bool BarreVisible(const Editeur& ed, C barre) { return EstVisible(ed, barre); }

bool Dans(const Editeur& ed, C bouton, C barre) {
  return EstEnfonce(ed, bouton) && BarreVisible(ed, barre);
}

}  // namespace

Editeur::Editeur() {
  for (int i = 1; i < kNombreControles; ++i) {
    const DefinitionControle& d = Definition(static_cast<C>(i));
    controles[i].Libelle = d.Libelle;
    if (d.Type == Genre::Panneau) controles[i].Visible = false;
  }
  controles[Index(C::PanelAscHorizontal)].Visible = false;
  controles[Index(C::PanelAscVertical)].Visible = false;
  AscVertical.Position = 1000;
  Panneaux[5] = LibellesActions[0];
  Enfonce(*this, C::BoutonAffichageFace1, true);
  Enfonce(*this, C::BpEpaisseur03, true);
  Enfonce(*this, C::textetaille2mm, true);
  ctx.Elagage = true;
  ctx.Toile = &toile;
  circuit.messages = &relais;
}

void FormCreate(Editeur& ed, const std::string& repertoire) {
  ed.RepertoireBase = repertoire;
  Initialisation(ed);
}

void FormShow(Editeur& ed) { AfficheCI(ed); }

void EtatAnnulation(Editeur& ed) {
  const bool b = ed.circuit.NbSupprimes > 0;
  Actif(ed, C::Bpanullsupp, b);
  Actif(ed, C::Annuler1, b);
}

void TerminePiste(Editeur& ed) {
  Circuit& c = ed.circuit;
  int32_t premier = c.NbElements;
  while (premier > 1 && EstPiste(c[premier].Code) && c[premier].Attribut != kPremierPoint)
    --premier;
  const Cadre boite = CadreElements(c, premier, c.NbElements);
  TermineTrace(c);
  ed.ctx.PisteEnCours = false;
  ValideGeste(ed, GesteLong::Piste);
  // Its segments were drawn over what the whole picture draws after tracks (pads and their
  // holes): that part of the picture is drawn again.
  if (c.NbElements >= 1) ReTraceBoite(ed, boite, ed.ctx.Tailles.LargeurPiste[6] / 2 + 3);
}

void TermineCurseur(Editeur& ed) {
  // A track being drawn is ended before the cursor forgets it: a track never stays open.
  if (ed.ctx.PisteEnCours) TerminePiste(ed);
  // A drawing's lone first point stays, without the rubber band it waited on.
  ValideGeste(ed, GesteLong::Dessin);
  RazCurseur(ed.ctx);
}

void Changetravail(Editeur& ed, int32_t code) {
  if (code != ed.CodeAction) QuitteOutil(ed);
  ed.CodeAction = code;
  Panneau(ed, 5, LibellesActions[std::clamp(code, 0, kNombreActions - 1)]);
  AnnuleSelection(ed.circuit, ed.ctx);
  if (ed.ctx.PisteEnCours) TermineCurseur(ed);
  ChoixCurseurOutil(ed.ctx, code);
}

void Selectiontravail(Editeur& ed) {
  int32_t code = 0;
  for (C panneau : kPanneaux) {
    if (!EstVisible(ed, panneau)) continue;
    code = Definition(panneau).Code;
    for (int i = 1; i < kNombreControles; ++i) {
      const DefinitionControle& d = Definition(static_cast<C>(i));
      if (d.Conteneur == panneau && d.Code > 0 && ed.controles[i].Enfonce) code = d.Code;
    }
    if (panneau == C::PanelDessin) {
      constexpr C kEpaisseurs[] = {C::BpEpaisseur03, C::BpEpaisseur05, C::BpEpaisseur08,
                                   C::BpEpaisseur10};
      for (int e = 0; e < 4; ++e) {
        if (EstEnfonce(ed, kEpaisseurs[e]))
          ed.circuit.EpaisseurDessin = static_cast<uint8_t>(e + 1);
      }
      ed.ctx.EpaisseurElastique = ed.circuit.EpaisseurDessin;
      ed.ctx.LargeurElastique = ed.ctx.Tailles.EpaisseurDessin[ed.circuit.EpaisseurDessin];
    }
    if (panneau == C::PanelModifTotale) ed.ctx.ElastiqueActif = true;
  }
  // A tool that looks, down in the work's toolbar (it has no option panel).
  for (C b :
       {C::BoutonEquipotentielleTypon, C::BoutonMesureTypon, C::BoutonEquipotentielleImplantation,
        C::BoutonMesureImplantation, C::BoutonEquipotentiellePercage, C::BoutonMesurePercage}) {
    if (EstEnfonce(ed, b) && EstVisible(ed, Definition(b).Conteneur)) code = Definition(b).Code;
  }
  Changetravail(ed, code);
}

void AfficheMenu(Editeur& ed) {
  const int t = ed.Etat.Travail;
  if (t >= 1 && t <= 4) {
    Visible(ed, C::ToolboutonTypon, t == 1 || t == 2);
    Visible(ed, C::ToolBoutonImplantation, t == 3);
    Visible(ed, C::ToolBoutonPercage, t == 4);
  }
  AffichePanneauOutils(ed);
}

void AffichePanneauOutils(Editeur& ed) {
  const C typon = C::ToolboutonTypon, impl = C::ToolBoutonImplantation, perc = C::ToolBoutonPercage;
  Visible(ed, C::PanelTexte,
          Dans(ed, C::BoutonTexteTypon, typon) || Dans(ed, C::BoutonTexteImplantation, impl) ||
              Dans(ed, C::BoutonTextePercage, perc));
  Visible(ed, C::PanelPastilles, Dans(ed, C::BoutonPastille, typon));
  Visible(ed, C::PanelPistes, Dans(ed, C::BoutonPiste, typon));
  Visible(ed, C::PanelDessin,
          Dans(ed, C::BoutonDessinImplantation, impl) || Dans(ed, C::BoutonDessinPercage, perc));
  Visible(ed, C::PanelPercage, Dans(ed, C::BoutonPercage, perc));
  Visible(ed, C::PanelModifTotale,
          (Dans(ed, C::BoutonModifTotaleTypon, typon) ||
           Dans(ed, C::BoutonModiftotaleImplantation, impl)) &&
              ed.circuit.NbElements > 0);
  Visible(ed, C::PanelModifPartielle,
          Dans(ed, C::BoutonModifPartielleTypon, typon) ||
              Dans(ed, C::BoutonModifPartielleImplantation, impl));
  Visible(
      ed, C::PanelInsertion,
      Dans(ed, C::BoutonInsertionTypon, typon) || Dans(ed, C::BoutonInsertionImplantation, impl));
}

void RazBoutonsPastille(Editeur& ed) { RelacheCodes(ed, C::PanelPastilles); }
void RazBoutonsPiste(Editeur& ed) { RelacheCodes(ed, C::PanelPistes); }
void RazBoutonsDessin(Editeur& ed) { RelacheCodes(ed, C::PanelDessin); }
void RazBoutonsTexte(Editeur& ed) { RelacheCodes(ed, C::PanelTexte); }
void RazBoutonsModiftotale(Editeur& ed) { RelacheGroupe(ed, GModifTotale); }
void RazBoutonsModifpartielle(Editeur& ed) { RelacheGroupe(ed, GModifPartielle); }
void RazBoutonsInsertion(Editeur& ed) { RelacheGroupe(ed, GInsertion); }
void RazBoutonsPercage(Editeur& ed) { RelacheGroupe(ed, GPerc); }

void razBoutonsTravail(Editeur& ed) {
  RazBoutonsPastille(ed);
  RazBoutonsPiste(ed);
  RazBoutonsDessin(ed);
  RazBoutonsTexte(ed);
  RazBoutonsModiftotale(ed);
  RazBoutonsModifpartielle(ed);
  RazBoutonsInsertion(ed);
  RazBoutonsPercage(ed);
}

void RazBoutons(Editeur& ed) {
  Visible(ed, C::ToolboutonTypon, false);
  Visible(ed, C::ToolBoutonImplantation, false);
  Visible(ed, C::ToolBoutonPercage, false);
  Relache(ed, {C::BoutonVisualisationFace1, C::BoutonVisualisationFace2,
               C::BoutonVisualisationImplantation, C::VisualisationFace11, C::VisualisationFace21,
               C::VisualisationImplantation1});
  Actif(ed, C::EditTitre1, false);
  Actif(ed, C::EditTitre2, false);
  Actif(ed, C::EditTitre3, false);
  RelacheGroupe(ed, GTypon);
  RelacheGroupe(ed, GImplantation);
  RelacheGroupe(ed, GOutilsPercage);
}

void RAZ01(Editeur& ed) {
  TermineCurseur(ed);
  DeselectionZone(ed.circuit);
  Actif(ed, C::Bpanullsupp, false);
  Actif(ed, C::Annuler1, false);
  ed.circuit.NbSupprimes = 0;
  AnnuleSelection(ed.circuit, ed.ctx);
}

namespace {
int TravailDesBoutons(const Editeur& ed) {
  constexpr C kTravaux[] = {C::BoutonAffichageFace1, C::BoutonAffichageFace2,
                            C::BoutonAffichageImplantation, C::BoutonAffichagePercage};
  for (int i = 0; i < 4; ++i) {
    if (EstEnfonce(ed, kTravaux[i])) return i + 1;
  }
  return 0;
}
}  // namespace

void EtatVisualisation(Editeur& ed) {
  const int t = TravailDesBoutons(ed);
  if (t != ed.Etat.Travail) {
    QuitteOutil(ed);
    ed.CodeAction = actions::Aucune;
  }
  ed.Etat.Travail = t;
  ed.Etat.VisuFace1 = EstEnfonce(ed, C::BoutonVisualisationFace1);
  ed.Etat.VisuFace2 = EstEnfonce(ed, C::BoutonVisualisationFace2);
  ed.Etat.VisuImplantation = EstEnfonce(ed, C::BoutonVisualisationImplantation);
}

bool changementvisualisation(const Editeur& ed) {
  return TravailDesBoutons(ed) != ed.Etat.Travail ||
         EstEnfonce(ed, C::BoutonVisualisationFace1) != (ed.Etat.VisuFace1 != 0) ||
         EstEnfonce(ed, C::BoutonVisualisationFace2) != (ed.Etat.VisuFace2 != 0) ||
         EstEnfonce(ed, C::BoutonVisualisationImplantation) != (ed.Etat.VisuImplantation != 0);
}

void AfficheCI(Editeur& ed) {
  if (changementvisualisation(ed)) AnnuleSelection(ed.circuit, ed.ctx);
  QuitteOutil(ed);
  ed.CodeAction = actions::Aucune;
  EtatVisualisation(ed);
  AfficheMenu(ed);
  ed.CodeAction = actions::Aucune;
  // The cursor is hidden while its rubber band is still the one it was drawn with.
  CacheCurseur(ed.ctx);
  ed.ctx.ElastiqueActif = false;
  Selectiontravail(ed);
  TraceCimp(ed);
}

void ReAfficheCI(Editeur& ed) {
  if (!changementvisualisation(ed)) return;
  EtatVisualisation(ed);
  AfficheMenu(ed);
  TraceCimp(ed);
}

std::string FormatDiametre(int32_t d) {
  std::string s = std::to_string(d);
  if (d < 10) s = "0" + s;
  s.insert(1, ",");
  return s + " mm";
}

void initialiseBpPercage(Editeur& ed) {
  constexpr C kBoutons[] = {C::BPerc1, C::BPerc2, C::BPerc3, C::BPerc4,
                            C::BPerc5, C::BPerc6, C::BPerc7};
  for (int i = 0; i < 7; ++i) {
    Libelle(ed, kBoutons[i], FormatDiametre(ed.circuit.EnteteCI.DiametresPercage[i + 1]));
  }
}

void Initialisation(Editeur& ed) {
  RazCircuit(ed.circuit);
  ed.RepertoireCircuits = ed.RepertoireBase + "/Circuits";
  ed.RepertoireComposants = ed.RepertoireBase + "/Composants";
  ed.circuit.NomFichier.clear();
  ed.Legende = "KORV4";
  ed.LectureSeule = false;
  ed.EtatSurDisque.clear();
  ++ed.Version;
  Actif(ed, C::Enregistrerunfichier1, true);
  Actif(ed, C::BoutonEnregistrer, true);
  Actif(ed, C::BpSauverZone, true);
  Libelle(ed, C::StaticText2, "KORV4 Ver: " KORV4_VERSION);
  Actif(ed, C::Copier1, true);
  ed.Titres = {};
  ed.EnMillimetres = false;
  ed.OrigineRelative = false;
  ed.circuit.EnteteCI.DiametresPercage = kDiametresPercageDefaut;
  initialiseBpPercage(ed);
  RazBoutons(ed);
  Actif(ed, C::Bpanullsupp, false);
  Actif(ed, C::Annuler1, false);
  ed.circuit.CircuitModifie = false;

  ContexteTrace& ctx = ed.ctx;
  CacheCurseur(ctx);
  ctx.Zoom = 2;
  ctx.Grille = 1;
  ctx.OrigineX = ctx.OrigineY = 0;
  ctx.SurfaceX = 11820;
  ctx.SurfaceY = 7880;
  ctx.ResolX = ctx.ResolY = ed.Resolution;
  ctx.EchelleX = ctx.EchelleY = 100;
  ed.IndexEchelle = 2;
  ed.IndexGrille = 1;
  ctx.CurseurVisible = false;
  ctx.CurseurX = ctx.CurseurY = 0;
  ctx.LargeurElastique = 1;
  ctx.CouleurCurseur = kCouleurCurseur;
  ctx.FormeCurseur = Curseur::Croix;
  ctx.ElastiqueActif = false;
  ctx.PisteEnCours = false;
  AnnuleSelection(ed.circuit, ctx);
  VueALOrigine(ed);
  Affichage(ed);
  CommenceHistorique(ed);
}

}  // namespace korv4
