#include "editeur/Gestionnaires.h"

// Designating and deleting with the pointer: a first press on an item highlights it, a second
// press on the same item deletes it (deletion tools) or keeps it as the selection (selection
// tools); the Delete key.

namespace korv4 {

using C = Controle;

namespace {

// The item of the tool's kind under the cursor, on the current work.
Plage Cherche(Editeur& ed) {
  const int t = ed.Etat.Travail;
  const int32_t x = ed.ctx.CurseurX, y = ed.ctx.CurseurY;
  switch (ed.CodeAction) {
    case actions::SuppressionSegment: return ChercherSegment(Ci(ed), t, x, y);
    case actions::SuppressionPiste:
    case actions::SelectionPiste: return ChercherPiste(Ci(ed), t, x, y);
    case actions::SuppressionDessin:
    case actions::SelectionDessin: return ChercherDessin(Ci(ed), t, x, y);
    case actions::SuppressionTexte: return ChercherTexte(Ci(ed), t, x, y);
    default: return ChercherPastille(Ci(ed), x, y);
  }
}

}  // namespace

bool DejaDesigne(const Editeur& ed, Plage p) {
  return ed.ctx.SelectionVisible && ed.ctx.SelectionDebut == p.Premier &&
         ed.ctx.SelectionFin == p.Dernier;
}

void PresseSuppression(Editeur& ed) {
  const Plage p = Cherche(ed);
  if (p.Vide()) {
    AnnuleSelection(Ci(ed), ed.ctx);
  } else if (DejaDesigne(ed, p)) {
    Suppression(Ci(ed), p);
    AnnuleSelection(Ci(ed), ed.ctx);
    ReTraceCimp(ed);
  } else {
    ChoixSelection(Ci(ed), p, ed.Etat, ed.ctx);
  }
}

void PresseSelection(Editeur& ed) {
  const Plage p = Cherche(ed);
  if (p.Vide()) {
    elementdeselect(ed);
  } else {
    elementselect(ed, p);
  }
}

void PresseSupprimePastille(Editeur& ed) {
  const Plage p = ChercherPastille(Ci(ed), ed.ctx.CurseurX, ed.ctx.CurseurY);
  if (p.Vide()) return;
  Suppression(Ci(ed), p);
  TraceCimp(ed);
}

void AnnuleDesignationDessin(Editeur& ed) { RazBoutonsDessin(ed); }

void elementselect(Editeur& ed, Plage p) {
  ChoixSelection(ed.circuit, p, ed.Etat, ed.ctx);
  TSelection& s = ed.circuit.Selection;
  s.Active = 1;
  s.Premier = p.Premier;
  s.Dernier = p.Dernier;
  s.CadreZone = CadreElements(ed.circuit, p.Premier, p.Dernier);
}

void elementdeselect(Editeur& ed) {
  AnnuleSelection(ed.circuit, ed.ctx);
  TermineCurseur(ed);
  DeselectionZone(ed.circuit);
}

// The Delete key: the last segment of the track being drawn, else the delete tool of the
// visible panel (or the zone's deletion).
void actionsuppression(Editeur& ed) {
  Circuit& c = ed.circuit;
  if (EstEnfonce(ed, C::BoutonPiste) && EstOutilPiste(ed.CodeAction) && ed.ctx.PisteEnCours &&
      c.NbElements >= 2 && c[c.NbElements].Attribut == kPointMilieu) {
    SupprimeDernier(c);
    FixeAncre(ed.ctx, c[c.NbElements].X, c[c.NbElements].Y);
    ReTraceCimp(ed);
    return;
  }
  auto presse = [&](C bouton) { Enfonce(ed, bouton, true); };
  if (EstEnfonce(ed, C::BoutonPiste) && !ed.ctx.PisteEnCours) presse(C::BpistSupprime);
  if (EstEnfonce(ed, C::BoutonPastille)) presse(C::BpastSupprime);
  if (EstEnfonce(ed, C::BoutonTexteTypon)) presse(C::TexteSuppression);
  if (EstEnfonce(ed, C::BoutonModifTotaleTypon)) BpSuppressionTotaleClick(ed);
  if (EstEnfonce(ed, C::BoutonModifPartielleTypon) || EstEnfonce(ed, C::BoutonInsertionTypon)) {
    BpSuppressionZoneClick(ed);
  }
  if (EstEnfonce(ed, C::BoutonPercage)) presse(C::BPercSupprime);
  if (EstEnfonce(ed, C::BoutonDessinPercage)) presse(C::BpDessinSupprime);
  if (EstEnfonce(ed, C::BoutonTextePercage)) presse(C::TexteSuppression);
  if (EstEnfonce(ed, C::BoutonDessinImplantation)) presse(C::BpDessinSupprime);
  if (EstEnfonce(ed, C::BoutonTexteImplantation)) presse(C::TexteSuppression);
  if (EstEnfonce(ed, C::BoutonModiftotaleImplantation)) BpSuppressionTotaleClick(ed);
  if (EstEnfonce(ed, C::BoutonModifPartielleImplantation) ||
      EstEnfonce(ed, C::BoutonInsertionImplantation)) {
    BpSuppressionZoneClick(ed);
  }
  Selectiontravail(ed);
}

}  // namespace korv4
