#include "editeur/Editeur.h"
#include "model/Fichiers.h"

// A click on a control: the button's state first (toggles follow their group), then its
// handler.

namespace korv4 {

namespace {

using C = Controle;

void BoutonMenuClick(Editeur& ed) {
  RAZ01(ed);
  AfficheMenu(ed);
  Selectiontravail(ed);
}

void ChoixTravail(Editeur& ed, C bouton) {
  Enfonce(ed, bouton, true);
  AfficheCI(ed);
}

void Visualisation(Editeur& ed, C bouton, C element) {
  Enfonce(ed, element, EstEnfonce(ed, bouton));
  ReAfficheCI(ed);
}

void VisualisationMenu(Editeur& ed, C element, C bouton) {
  Enfonce(ed, bouton, EstEnfonce(ed, element));
  ReAfficheCI(ed);
}

void Impression(Editeur& ed) {
  if (ed.circuit.NbElements == 0) return;
  RemplitEnteteCI(ed.circuit, ed.Titres[0], ed.Titres[1], ed.Titres[2], ed.ctx.SurfaceX,
                  ed.ctx.SurfaceY);
  ed.dialogues->Ouvre(Fenetre::FicheImpression);
}

void ModifDiametreClick(Editeur& ed) {
  if (ed.dialogues->Ouvre(Fenetre::FicheModifDiametre) != 1) return;
  initialiseBpPercage(ed);
  TraceCimp(ed);
}

void Taille1Click(Editeur& ed) {
  if (ed.dialogues->Ouvre(Fenetre::Surfacedetravail) == 1) AfficheCI(ed);
}

void Unites(Editeur& ed, bool mm) {
  ed.EnMillimetres = mm;
  ++ed.Version;
}

}  // namespace

bool Accessible(const Editeur& ed, Controle c) {
  if (!ed[c].Actif) return false;
  // A menu item is reached through its menu; a button through its visible panels and bars.
  const Genre g = Definition(c).Type;
  if (g == Genre::Menu || g == Genre::ElementMenu || g == Genre::ElementMenuCoche) return true;
  for (Controle k = c; k != Controle::Aucun; k = Definition(k).Conteneur) {
    if (!ed[k].Visible) return false;
  }
  return true;
}

void Clic(Editeur& ed, Controle c) {
  const DefinitionControle& d = Definition(c);
  if (!Accessible(ed, c)) return;
  if (d.Type == Genre::Bascule) {
    if (d.Groupe == GTravail) {
      Enfonce(ed, c, true);
    } else {
      Enfonce(ed, c, !EstEnfonce(ed, c));
    }
  } else if (d.Type == Genre::ElementMenuCoche) {
    Enfonce(ed, c, !EstEnfonce(ed, c));
  }

  switch (c) {
    // Works and visualisation.
    case C::BoutonAffichageFace1:
    case C::BoutonAffichageFace2:
    case C::BoutonAffichageImplantation:
    case C::BoutonAffichagePercage: AfficheCI(ed); break;
    case C::AffichageFace1: ChoixTravail(ed, C::BoutonAffichageFace1); break;
    case C::AffichageFace2: ChoixTravail(ed, C::BoutonAffichageFace2); break;
    case C::AffichageImplantation: ChoixTravail(ed, C::BoutonAffichageImplantation); break;
    case C::AffichagePercage: ChoixTravail(ed, C::BoutonAffichagePercage); break;
    case C::BoutonVisualisationFace1:
      Visualisation(ed, c, C::VisualisationFace11);
      break;
    case C::BoutonVisualisationFace2:
      Visualisation(ed, c, C::VisualisationFace21);
      break;
    case C::BoutonVisualisationImplantation:
      Visualisation(ed, c, C::VisualisationImplantation1);
      break;
    case C::VisualisationFace11: VisualisationMenu(ed, c, C::BoutonVisualisationFace1); break;
    case C::VisualisationFace21: VisualisationMenu(ed, c, C::BoutonVisualisationFace2); break;
    case C::VisualisationImplantation1:
      VisualisationMenu(ed, c, C::BoutonVisualisationImplantation);
      break;

    // Function toolbars.
    case C::BoutonPastille:
    case C::BoutonPiste:
    case C::BoutonTexteTypon:
    case C::BoutonTexteImplantation:
    case C::BoutonTextePercage:
    case C::BoutonDessinImplantation:
    case C::BoutonDessinPercage:
    case C::BoutonPercage:
    case C::BoutonInsertionTypon:
    case C::BoutonInsertionImplantation: BoutonMenuClick(ed); break;
    case C::BoutonModifTotaleTypon:
    case C::BoutonModiftotaleImplantation: BoutonModiftotaleClick(ed); break;
    case C::BoutonModifPartielleTypon:
    case C::BoutonModifPartielleImplantation: BoutonModifpartielleClick(ed); break;

    // Option panels with a handler of their own.
    case C::Bprotationtotale: BprotationtotaleClick(ed); break;
    case C::BpInversionTotale: BpInversionTotaleClick(ed); break;
    case C::BpDuplicationTotale: BpDuplicationTotaleClick(ed); break;
    case C::BpSuppressionTotale: BpSuppressionTotaleClick(ed); break;
    case C::BpSelectionZone: BpSelectionZoneClick(ed); break;
    case C::Bpselectiongroupe: BpselectiongroupeClick(ed); break;
    case C::BpDeplacerZone: BpDeplacerZoneClick(ed); break;
    case C::BpDuplicationZone: BpDuplicationZoneClick(ed); break;
    case C::BpRotationZone: BpRotationZoneClick(ed); break;
    case C::BpInversionZone: BpInversionZoneClick(ed); break;
    case C::BpSuppressionZone:
    case C::BpSuppressionComposant: BpSuppressionZoneClick(ed); break;
    case C::BpGrouperZone: BpGrouperZoneClick(ed); break;
    case C::BpDissocierZone: BpDissocierZoneClick(ed); break;
    case C::BpSauverZone: BpSauverZoneClick(ed); break;
    case C::BpInsertionComposant: BpInsertionComposantClick(ed); break;
    case C::BpDeplacerComposant: BpDeplacerComposantClick(ed); break;
    case C::BpDuplicationComposant: BpDuplicationComposantClick(ed); break;
    case C::BpRotationcomposant: BpRotationcomposantClick(ed); break;
    case C::BpInversionComposant: BpInversionComposantClick(ed); break;
    case C::ModifDiametre: ModifDiametreClick(ed); break;

    // Popup menus.
    case C::Deplacer1: Deplacer1Click(ed); break;
    case C::Rotation1: Rotation1Click(ed); break;
    case C::Inversion1: Inversion1Click(ed); break;
    case C::Duplication1: Duplication1Click(ed); break;
    case C::Suppression1: Suppression1Click(ed); break;
    case C::Originerelative1:
    case C::Originerelative2: Originerelative1Click(ed); break;
    case C::Origineabsolue1:
    case C::Origineabsolue2: Origineabsolue1Click(ed); break;
    case C::Affichageenmm1:
    case C::Affichageenmm2:
    case C::Affichageenmm3: Unites(ed, true); break;
    case C::Affichageenpas1:
    case C::Affichageenpas2:
    case C::Affichageenpas3: Unites(ed, false); break;

    // Main toolbar and menus.
    case C::Ouvrir1:
    case C::BoutonOuvrir: Ouvrir1Click(ed); break;
    case C::Enregistrerunfichier1:
    case C::BoutonEnregistrer: Enregistrerunfichier1Click(ed); break;
    case C::Nouveaufichier1:
    case C::BoutonNouveau: Nouveaufichier1Click(ed); break;
    case C::Fermer1:
    case C::BoutonFermer: ed.Fermeture = true; break;
    case C::Impression1:
    case C::BoutonImpression: Impression(ed); break;
    case C::Configurationdelimprimante1:
      ed.dialogues->Ouvre(Fenetre::ConfigurationImprimante);
      break;
    case C::Exporterlefichierdeperage1:
    case C::BoutonExportPercage: ed.dialogues->Ouvre(Fenetre::Enregistrepercage); break;
    case C::ExporterlecircuitauformatGerber1:
    case C::BoutonExportGerber: ed.dialogues->Ouvre(Fenetre::ExportGerber); break;
    case C::Taille1:
    case C::BoutonTaille: Taille1Click(ed); break;
    case C::Bpanullsupp: BpanullsuppClick(ed); break;
    case C::Annuler1: Annuler1Click(ed); break;
    case C::Copier1:
      if (ed.circuit.NbElements > 0) ed.dialogues->Ouvre(Fenetre::PressePapier);
      break;
    case C::ZoomPlus1:
    case C::BoutonZoomPlus: ZoomPlus1Click(ed); break;
    case C::Zoommoins1:
    case C::BoutonZoomMoins: Zoommoins1Click(ed); break;
    case C::Aide1: ed.dialogues->Ouvre(Fenetre::Aide); break;
    case C::Apropos1: ed.dialogues->Ouvre(Fenetre::AboutBox); break;
    case C::Fichier1: Fichier1Click(ed); break;
    case C::Edition1: Edition1Click(ed); break;

    // Title block.
    case C::Boutontitre:
    case C::Boutondate:
    case C::Boutonauteur: TitreClick(ed, c); break;

    default:
      // Every other option-panel button: the code follows the buttons.
      if (d.Type == Genre::Bascule) Selectiontravail(ed);
      break;
  }
}

}  // namespace korv4
