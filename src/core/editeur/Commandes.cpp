#include <algorithm>

#include "editeur/Editeur.h"
#include "model/Fichiers.h"
#include "render/Curseur.h"
#include "render/TraceCircuit.h"

// Edit commands: the whole circuit, a zone, a component, a single selected item, texts, and
// the undo of deletion.

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
  return d;
}

}  // namespace

bool QuartDeTourPossible(const Editeur& ed) {
  const Cadre& z = ed.circuit.Selection.CadreZone;
  return z.Gauche + (z.Haut - z.Bas) < ed.ctx.SurfaceX &&
         z.Bas + (z.Droite - z.Gauche) < ed.ctx.SurfaceY;
}

// ---- Whole circuit ----

void BoutonModiftotaleClick(Editeur& ed) {
  RAZ01(ed);
  Enfonce(ed, C::BpDeplacerTotale, false);
  Enfonce(ed, C::BpDuplicationTotale, false);
  if (ed.circuit.NbElements == 0) {
    Enfonce(ed, C::BoutonModifTotaleTypon, false);
    Enfonce(ed, C::BoutonModiftotaleImplantation, false);
  } else {
    if (ed.CodeAction >= 61 && ed.CodeAction <= 69) return;
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
  if (ed.circuit.NbElements > 0 && QuartDeTourPossible(ed)) {
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

void BpDuplicationTotaleClick(Editeur& ed) { Changetravail(ed, 64); }

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
  Changetravail(ed, 71);
}

void BpselectiongroupeClick(Editeur& ed) {
  AnnuleSelection(ed.circuit, ed.ctx);
  DeselectionZone(ed.circuit);
  Elastique(ed.ctx, false);
  Changetravail(ed, 77);
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
  if (ZoneValide(ed) && QuartDeTourPossible(ed)) {
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

void BpDeplacerZoneClick(Editeur& ed) { PriseZone(ed, C::BpDeplacerZone, 73); }
void BpDuplicationZoneClick(Editeur& ed) { PriseZone(ed, C::BpDuplicationZone, 76); }

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
    Changetravail(ed, 70);
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
  Changetravail(ed, 91);
  ReTraceCimp(ed);
}

void BpDeplacerComposantClick(Editeur& ed) { PriseZone(ed, C::BpDeplacerComposant, 82); }

void BpDuplicationComposantClick(Editeur& ed) {
  if (Sel(ed).Active < 1) {
    Enfonce(ed, C::BpDuplicationComposant, false);
  } else {
    Changetravail(ed, 85);
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
// The single-item code of the visible panel (drawing, text, track, pad), or 0.
int32_t CodeElement(const Editeur& ed, int32_t deplacer) {
  if (EstVisible(ed, C::PanelDessin)) return deplacer + 4;
  if (EstVisible(ed, C::PanelTexte)) return deplacer + 6;
  if (EstVisible(ed, C::PanelPistes)) return deplacer;
  if (EstVisible(ed, C::PanelPastilles)) return deplacer + 2;
  return 0;
}

void PorteElement(Editeur& ed, int32_t base) {
  const int32_t code = CodeElement(ed, base);
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
    PorteElement(ed, 92);
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
    PorteElement(ed, 93);
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
  if (ZoneValide(ed) && QuartDeTourPossible(ed)) {
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

// ---- Texts ----

namespace {
// The frame of a text of n characters at the cursor.
Cadre CadreTexte(const Editeur& ed, bool horizontal, int32_t n) {
  const int32_t w = PasTexteDe(ed.circuit.TailleTexte);
  const int32_t x = ed.ctx.CurseurX, y = ed.ctx.CurseurY;
  return horizontal ? Cadre{x, y + w, x + n * w, y} : Cadre{x, y + n * w, x - w, y};
}
}  // namespace

void EditTexte(Editeur& ed) {
  if (EstEnfonce(ed, C::textetaille2mm)) ed.circuit.TailleTexte = 1;
  if (EstEnfonce(ed, C::textetaille3mm)) ed.circuit.TailleTexte = 2;
  if (EstEnfonce(ed, C::textetaille4mm)) ed.circuit.TailleTexte = 3;
  if (ed.dialogues == nullptr) return;
  ed.TexteSaisi.clear();
  if (ed.dialogues->SaisieTexte(ed.TexteSaisi) != 1 || ed.TexteSaisi.empty()) return;
  const bool horizontal = ed.CodeAction == 51;
  const int32_t n = static_cast<int32_t>(ed.TexteSaisi.size());
  FixeCadre(ed.ctx, CadreTexte(ed, horizontal, n), true);
  Changetravail(ed, horizontal ? 53 : 54);
}

void ModifTexte(Editeur& ed, Plage p) {
  Circuit& c = ed.circuit;
  if (p.Premier < 1 || p.Dernier > c.NbElements || p.Dernier <= p.Premier) return;
  c.TailleTexte = c[p.Premier].Attribut;
  std::string texte;
  if (c[p.Premier].Couche == 1) {
    // Face-1 texts are stored mirrored, last character first.
    for (int32_t i = p.Dernier - 1; i >= p.Premier; --i) texte += static_cast<char>(c[i].Caractere);
  } else {
    for (int32_t i = p.Premier; i <= p.Dernier - 1; ++i) texte += static_cast<char>(c[i].Caractere);
  }
  if (ed.dialogues == nullptr) return;
  ed.TexteSaisi = texte;
  if (ed.dialogues->SaisieTexte(ed.TexteSaisi) != 1 || ed.TexteSaisi.empty()) return;
  const uint8_t code = c[p.Premier].Code;
  const bool horizontal = code == code::TexteH || code == code::TexteHMiroir;
  const int32_t n = static_cast<int32_t>(ed.TexteSaisi.size());
  FixeCadre(ed.ctx, CadreTexte(ed, horizontal, n), true);
  c.Selection.Premier = p.Premier;
  c.Selection.Dernier = p.Dernier;
  Changetravail(ed, horizontal ? 56 : 57);
}

}  // namespace korv4
