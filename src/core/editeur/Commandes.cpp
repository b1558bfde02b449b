#include <algorithm>

#include "editeur/Editeur.h"
#include "model/Fichiers.h"
#include "render/Curseur.h"
#include "render/TraceCircuit.h"

// Edit commands: the whole circuit, a zone, a component, a single selected item, and the undo
// of deletion.

namespace korv4 {

namespace {

using C = Controle;

TSelection& Sel(Editeur& ed) { return ed.circuit.Selection; }

void CadreAutourSelection(Editeur& ed) {
  TSelection& s = Sel(ed);
  s.CadreZone = CadreElements(ed.circuit, s.Premier, s.Dernier);
  FixeCadre(ed.ctx, s.CadreZone, true);
}

// A zone that designates records of the store (a damaged or stale range does nothing).
bool ZoneValide(const Editeur& ed) {
  const TSelection& s = ed.circuit.Selection;
  return s.Active > 0 && s.Premier >= 1 && s.Dernier >= s.Premier &&
         s.Dernier <= ed.circuit.NbElements;
}

DemandeFichier DemandeComposant(const Editeur& ed, const char* titre) {
  DemandeFichier d;
  d.Titre = titre;
  d.Filtres = {"Composants pour KORV4  : *.CPX|*.CPX"};
  d.Extension = "CPX";
  d.Dossier = ed.RepertoireComposants;
  // No components folder yet: the circuit's folder rather than anywhere.
  const std::string& nom = ed.circuit.NomFichier;
  d.DossierSecours = nom.empty() ? ed.RepertoireCircuits : DossierDe(nom);
  return d;
}

}  // namespace

bool QuartDeTourPossible(const Editeur& ed) {
  const Cadre& z = ed.circuit.Selection.CadreZone;
  return z.Gauche + (z.Haut - z.Bas) < ed.ctx.SurfaceX &&
         z.Bas + (z.Droite - z.Gauche) < ed.ctx.SurfaceY;
}

namespace {
// A quarter turn refused says why in the status bar (until the next action).
bool QuartDeTourAccepte(Editeur& ed) {
  if (QuartDeTourPossible(ed)) return true;
  Panneau(ed, 4, kQuartDeTourRefuse);
  return false;
}
}  // namespace

// ---- Whole circuit ----

void BoutonModiftotaleClick(Editeur& ed) {
  RAZ01(ed);
  Enfonce(ed, C::BpDeplacerTotale, false);
  Enfonce(ed, C::BpDuplicationTotale, false);
  if (ed.circuit.NbElements == 0) {
    Enfonce(ed, C::BoutonModifTotaleTypon, false);
    Enfonce(ed, C::BoutonModiftotaleImplantation, false);
  } else {
    // Already carrying, turning or copying the circuit: nothing more.
    if (ed.CodeAction >= actions::DeplacementCI &&
        ed.CodeAction <= actions::SuppressionDuplication) {
      return;
    }
    TSelection& s = Sel(ed);
    s.Active = 0;
    s.Premier = 1;
    s.Dernier = ed.circuit.NbElements;
    TermineCurseur(ed);
    CadreAutourSelection(ed);
  }
  AfficheMenu(ed);
  Selectiontravail(ed);
}

void BprotationtotaleClick(Editeur& ed) {
  Enfonce(ed, C::Bprotationtotale, false);
  if (ed.circuit.NbElements > 0 && QuartDeTourAccepte(ed)) {
    TourneZone(ed.circuit);
    CadreAutourSelection(ed);
    TraceCimp(ed);
  }
  Selectiontravail(ed);
}

void BpInversionTotaleClick(Editeur& ed) {
  Enfonce(ed, C::BpInversionTotale, false);
  InverseZone(ed.circuit);
  TraceCimp(ed);
  Selectiontravail(ed);
}

void BpDuplicationTotaleClick(Editeur& ed) { Changetravail(ed, actions::DuplicationCI); }

void BpSuppressionTotaleClick(Editeur& ed) {
  RazBoutonsModiftotale(ed);
  if (Sel(ed).Active > 0) {
    SupprimeZone(ed.circuit);
    CadreAutourSelection(ed);
    TraceCimp(ed);
    EtatAnnulation(ed);
  }
  Selectiontravail(ed);
}

// ---- Zone ----

void BoutonModifpartielleClick(Editeur& ed) {
  TermineCurseur(ed);
  DeselectionZone(ed.circuit);
  Actif(ed, C::Bpanullsupp, false);
  Actif(ed, C::Annuler1, false);
  AnnuleSelection(ed.circuit, ed.ctx);
  Enfonce(ed, C::BpSelectionZone, false);
  Enfonce(ed, C::BpDeplacerZone, false);
  Enfonce(ed, C::BpDuplicationZone, false);
  TermineCurseur(ed);
  if (ed.circuit.NbElements == 0) {
    Enfonce(ed, C::BoutonModifPartielleTypon, false);
    Enfonce(ed, C::BoutonModifPartielleImplantation, false);
  }
  AfficheMenu(ed);
  Selectiontravail(ed);
}

void BpSelectionZoneClick(Editeur& ed) {
  AnnuleSelection(ed.circuit, ed.ctx);
  DeselectionZone(ed.circuit);
  Elastique(ed.ctx, false);
  Changetravail(ed, actions::SelectionZone);
}

void BpselectiongroupeClick(Editeur& ed) {
  AnnuleSelection(ed.circuit, ed.ctx);
  DeselectionZone(ed.circuit);
  Elastique(ed.ctx, false);
  Changetravail(ed, actions::SelectionGroupe);
}

namespace {
void PriseZone(Editeur& ed, C bouton, int32_t code) {
  if (Sel(ed).Active < 1) {
    Enfonce(ed, bouton, false);
    Selectiontravail(ed);
  } else {
    Changetravail(ed, code);
  }
}

void TourneSelection(Editeur& ed) {
  if (ZoneValide(ed) && QuartDeTourAccepte(ed)) {
    TourneZone(ed.circuit);
    CadreAutourSelection(ed);
    TraceCimp(ed);
  }
  Selectiontravail(ed);
}

void InverseSelection(Editeur& ed) {
  if (ZoneValide(ed)) {
    InverseZone(ed.circuit);
    TraceCimp(ed);
  }
  Selectiontravail(ed);
}
}  // namespace

void BpDeplacerZoneClick(Editeur& ed) {
  PriseZone(ed, C::BpDeplacerZone, actions::DeplacementZone);
}
void BpDuplicationZoneClick(Editeur& ed) {
  PriseZone(ed, C::BpDuplicationZone, actions::DuplicationZone);
}

void BpRotationZoneClick(Editeur& ed) {
  Enfonce(ed, C::BpRotationZone, false);
  TourneSelection(ed);
}

void BpInversionZoneClick(Editeur& ed) {
  Enfonce(ed, C::BpInversionZone, false);
  InverseSelection(ed);
}

void BpSuppressionZoneClick(Editeur& ed) {
  RazBoutonsModifpartielle(ed);
  RazBoutonsInsertion(ed);
  if (ZoneValide(ed)) {
    SupprimeZone(ed.circuit);
    TraceCimp(ed);
    EtatAnnulation(ed);
  }
  if (Sel(ed).Active < 1) {
    DeselectionZone(ed.circuit);
    FixeCadre(ed.ctx, Sel(ed).CadreZone, false);
    Changetravail(ed, actions::PanneauModifPartielle);
  } else {
    CadreAutourSelection(ed);
  }
  Selectiontravail(ed);
}

void BpGrouperZoneClick(Editeur& ed) {
  RazBoutonsModifpartielle(ed);
  if (ZoneValide(ed)) GroupeZone(ed.circuit);
  Selectiontravail(ed);
}

void BpDissocierZoneClick(Editeur& ed) {
  RazBoutonsModifpartielle(ed);
  if (ZoneValide(ed)) {
    DissocieZone(ed.circuit);
    AnnuleSelection(ed.circuit, ed.ctx);
  }
  Selectiontravail(ed);
}

void BpSauverZoneClick(Editeur& ed) {
  Enfonce(ed, C::BpSauverZone, false);
  if (ZoneValide(ed) && ed.dialogues != nullptr) {
    DemandeFichier d = DemandeComposant(ed, "Enregitrement d'un composant");
    d.ConfirmeEcrasement = true;
    const std::string nom = ed.dialogues->FichierAEnregistrer(d);
    if (!nom.empty()) {
      ed.RepertoireComposants = DossierDe(nom);
      std::string erreur;
      if (!ed.dialogues->EcritFichier(nom, EcritComposant(ed.circuit), erreur)) {
        ed.dialogues->Message(erreur);
      }
    }
  }
  Selectiontravail(ed);
}

// ---- Component ----

void BpInsertionComposantClick(Editeur& ed) {
  Enfonce(ed, C::BpInsertionComposant, false);
  if (ed.dialogues == nullptr) return;
  const std::string nom =
      ed.dialogues->FichierAOuvrir(DemandeComposant(ed, "Insertion d'un composant"));
  if (nom.empty()) {
    Selectiontravail(ed);
    return;
  }
  ed.RepertoireComposants = DossierDe(nom);
  std::vector<uint8_t> octets;
  std::string erreur;
  if (!ed.dialogues->LitFichier(nom, octets, erreur) ||
      !InsereComposant(ed.circuit, octets, nom, erreur)) {
    ed.dialogues->Message(erreur);
    Selectiontravail(ed);
    return;
  }
  // Whatever was highlighted goes before the inserted records are carried; they are drawn
  // where the file puts them until the release drops them, so the screen shows the store.
  AnnuleSelection(ed.circuit, ed.ctx);
  TermineCurseur(ed);
  CadreAutourSelection(ed);
  Changetravail(ed, actions::PlacementComposantInsere);
  OuvreGeste(ed, GesteLong::Insertion, Definition(C::BpInsertionComposant).Bulle);
  ReTraceCimp(ed);
}

void BpDeplacerComposantClick(Editeur& ed) {
  PriseZone(ed, C::BpDeplacerComposant, actions::DeplacementComposant);
}

void BpDuplicationComposantClick(Editeur& ed) {
  if (Sel(ed).Active < 1) {
    Enfonce(ed, C::BpDuplicationComposant, false);
  } else {
    Changetravail(ed, actions::DuplicationComposant);
  }
}

void BpRotationcomposantClick(Editeur& ed) {
  Enfonce(ed, C::BpRotationcomposant, false);
  TourneSelection(ed);
}

void BpInversionComposantClick(Editeur& ed) {
  Enfonce(ed, C::BpInversionComposant, false);
  InverseSelection(ed);
}

// ---- Popup menu on a selection ----

namespace {
// The code that carries one selected item of the visible panel's kind (drawing, text, track,
// pad), moved or copied; 0 when no such panel is shown.
int32_t CodeElement(const Editeur& ed, bool copie) {
  struct Porte {
    C panneau;
    int32_t deplacement, duplication;
  };
  constexpr Porte kPortes[] = {
      {C::PanelDessin, actions::DeplacementDessin, actions::DuplicationDessin},
      {C::PanelTexte, actions::DeplacementTexte, actions::DuplicationTexte},
      {C::PanelPistes, actions::DeplacementPiste, actions::DuplicationPiste},
      {C::PanelPastilles, actions::DeplacementPastille, actions::DuplicationPastille},
  };
  for (const Porte& p : kPortes) {
    if (EstVisible(ed, p.panneau)) return copie ? p.duplication : p.deplacement;
  }
  return actions::Aucune;
}

void PorteElement(Editeur& ed, bool copie) {
  const int32_t code = CodeElement(ed, copie);
  if (code == 0 || !ZoneValide(ed)) return;
  // The frame of the item is carried.
  AnnuleSelection(ed.circuit, ed.ctx);
  Sel(ed).CadreZone = CadreElements(ed.circuit, Sel(ed).Premier, Sel(ed).Dernier);
  FixeCadre(ed.ctx, Sel(ed).CadreZone, true);
  Changetravail(ed, code);
}
}  // namespace

void Deplacer1Click(Editeur& ed) {
  if (EstVisible(ed, C::PanelModifTotale)) Enfonce(ed, C::BpDeplacerTotale, true);
  if (EstVisible(ed, C::PanelModifPartielle)) Enfonce(ed, C::BpDeplacerZone, true);
  if (EstVisible(ed, C::PanelInsertion)) Enfonce(ed, C::BpDeplacerComposant, true);
  if (EstEnfonce(ed, C::BpDeplacerTotale) || EstEnfonce(ed, C::BpDeplacerZone) ||
      EstEnfonce(ed, C::BpDeplacerComposant)) {
    Selectiontravail(ed);
  } else {
    PorteElement(ed, false);
  }
}

void Rotation1Click(Editeur& ed) {
  if (EstVisible(ed, C::PanelModifTotale)) {
    BprotationtotaleClick(ed);
  } else if (EstVisible(ed, C::PanelModifPartielle)) {
    BpRotationZoneClick(ed);
  } else if (EstVisible(ed, C::PanelInsertion)) {
    BpRotationcomposantClick(ed);
  } else {
    Rotationdelazone(ed);
  }
}

void Inversion1Click(Editeur& ed) {
  if (EstVisible(ed, C::PanelModifTotale)) {
    BpInversionTotaleClick(ed);
  } else if (EstVisible(ed, C::PanelModifPartielle)) {
    BpInversionZoneClick(ed);
  } else if (EstVisible(ed, C::PanelInsertion)) {
    BpInversionComposantClick(ed);
  } else {
    Inversiondelazone(ed);
  }
}

void Duplication1Click(Editeur& ed) {
  if (EstVisible(ed, C::PanelModifTotale)) {
    Enfonce(ed, C::BpDuplicationTotale, true);
    BpDuplicationTotaleClick(ed);
  } else if (EstVisible(ed, C::PanelModifPartielle)) {
    Enfonce(ed, C::BpDuplicationZone, true);
    BpDuplicationZoneClick(ed);
  } else if (EstVisible(ed, C::PanelInsertion)) {
    Enfonce(ed, C::BpDuplicationComposant, true);
    BpDuplicationComposantClick(ed);
  } else {
    PorteElement(ed, true);
  }
}

void Suppression1Click(Editeur& ed) {
  if (EstVisible(ed, C::PanelModifTotale)) {
    BpSuppressionTotaleClick(ed);
  } else if (EstVisible(ed, C::PanelModifPartielle) || EstVisible(ed, C::PanelInsertion)) {
    BpSuppressionZoneClick(ed);
  } else {
    Suppressiondelazone(ed);
  }
}

void Rotationdelazone(Editeur& ed) {
  if (ZoneValide(ed) && QuartDeTourAccepte(ed)) {
    AnnuleSelection(ed.circuit, ed.ctx);
    TourneZone(ed.circuit);
    TraceCimp(ed);
    TermineCurseur(ed);
    Sel(ed).Active = 0;
  }
  Selectiontravail(ed);
}

void Inversiondelazone(Editeur& ed) {
  if (ZoneValide(ed)) {
    AnnuleSelection(ed.circuit, ed.ctx);
    InverseZone(ed.circuit);
    TraceCimp(ed);
    TermineCurseur(ed);
    Sel(ed).Active = 0;
  }
  Selectiontravail(ed);
}

void Suppressiondelazone(Editeur& ed) {
  if (ZoneValide(ed)) {
    AnnuleSelection(ed.circuit, ed.ctx);
    EffaceZone(ed.circuit);
    TraceCimp(ed);
    TermineCurseur(ed);
    Sel(ed).Active = 0;
  }
  Selectiontravail(ed);
  EtatAnnulation(ed);
}

// ---- Undo of deletion ----

void BpanullsuppClick(Editeur& ed) {
  AnnuleSuppression(ed.circuit);
  Actif(ed, C::Bpanullsupp, false);
  Actif(ed, C::Annuler1, false);
  if (Sel(ed).Premier > 0) CadreAutourSelection(ed);
  ReTraceCimp(ed);
}

void Annuler1Click(Editeur& ed) {
  if (ed[C::Bpanullsupp].Actif) BpanullsuppClick(ed);
}

}  // namespace korv4
