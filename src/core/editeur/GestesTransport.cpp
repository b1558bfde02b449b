#include <algorithm>

#include "editeur/Gestionnaires.h"

// Carrying with the pointer: the whole circuit, a zone, a component or one selected item is
// picked up by a press and put down (moved, or a copy of it) by the release, the lower-left
// corner of its box on the cursor; a zone is selected by the rectangle of a press and a release.

namespace korv4 {

using C = Controle;

namespace {

// The grid point the carried box is held by: the one nearest its corner `bord`, so that a move
// by whole grid steps keeps on the grid what was on it; the one below when the nearest would put
// the box's edge before the surface's (`curseur`: where the point is put down).
int32_t Prise(const Editeur& ed, int32_t bord, int32_t curseur) {
  const int32_t s = kPasGrille[static_cast<size_t>(std::clamp(ed.ctx.Grille, 0, 5))];
  int32_t p = (bord + s / 2) / s * s;
  if (curseur - (p - bord) < 0) p -= s;
  return p;
}

}  // namespace

int32_t DeplacementPorteX(const Editeur& ed, int32_t x) {
  return x - Prise(ed, ed.circuit.Selection.CadreZone.Gauche, x);
}
int32_t DeplacementPorteY(const Editeur& ed, int32_t y) {
  return y - Prise(ed, ed.circuit.Selection.CadreZone.Bas, y);
}

namespace {

int32_t Dx(const Editeur& ed) { return DeplacementPorteX(ed, ed.ctx.CurseurX); }
int32_t Dy(const Editeur& ed) { return DeplacementPorteY(ed, ed.ctx.CurseurY); }

// Nothing is carried without a selection that designates records of the store.
bool Portee(const Editeur& ed) {
  const TSelection& s = ed.circuit.Selection;
  return s.Premier >= 1 && s.Dernier >= s.Premier && s.Dernier <= ed.circuit.NbElements &&
         ZoneDansSurface(ed);
}

// The copy just appended is the zone: its box.
void CadreDeLaCopie(Editeur& ed) {
  TSelection& s = Ci(ed).Selection;
  s.CadreZone = CadreElements(Ci(ed), s.Premier, s.Dernier);
}

}  // namespace

bool ZoneDansSurface(const Editeur& ed) {
  const Cadre& z = ed.circuit.Selection.CadreZone;
  return z.Droite + Dx(ed) <= ed.ctx.SurfaceX && z.Haut + Dy(ed) <= ed.ctx.SurfaceY;
}

// ---- Picking up ----

void PressePrise(Editeur& ed) {
  switch (ed.CodeAction) {
    case actions::DeplacementCI: Changetravail(ed, actions::PlacementCI); break;
    case actions::DuplicationCI: Changetravail(ed, actions::PlacementCIDuplique); break;
    case actions::DeplacementZone: Changetravail(ed, actions::PlacementZone); break;
    case actions::DuplicationZone: Changetravail(ed, actions::PlacementZoneDupliquee); break;
    case actions::DeplacementComposant: Changetravail(ed, actions::PlacementComposant); break;
    default: Changetravail(ed, actions::PlacementComposantDuplique); break;
  }
}

void PresseZone(Editeur& ed) {
  Changetravail(ed, actions::FinSelectionZone);
  Elastique(ed.ctx, true);
}

void PresseGroupe(Editeur& ed) {
  const Plage p = ChercherGroupe(Ci(ed), ed.ctx.CurseurX, ed.ctx.CurseurY);
  if (p.Vide()) {
    DeselectionZone(Ci(ed));
    TermineCurseur(ed);
  } else {
    TSelection& s = Ci(ed).Selection;
    s.Active = 1;
    s.Premier = p.Premier;
    s.Dernier = p.Dernier;
    MontreCadreSelection(ed);
    Enfonce(ed, C::Bpselectiongroupe, false);
    Enfonce(ed, C::BpSelectionComposant, false);
  }
  Selectiontravail(ed);
}

// ---- Putting down ----

void DeposeCircuit(Editeur& ed) {
  if (!Portee(ed)) return;
  ChoixCurseurOutil(ed.ctx, actions::DeplacementCI);
  DeplaceZone(Ci(ed), Dx(ed), Dy(ed));
  MontreCadreSelection(ed);
  Changetravail(ed, actions::DeplacementCI);
  TraceCimp(ed);
}

void DeposeCircuitDuplique(Editeur& ed) {
  if (!Portee(ed)) return;
  DupliqueZone(Ci(ed), Dx(ed), Dy(ed));
  CadreDeLaCopie(ed);
  Changetravail(ed, actions::PanneauModifTotale);
  FixeCadre(ed.ctx, Ci(ed).Selection.CadreZone, true);
  RazBoutonsModiftotale(ed);
  Enfonce(ed, C::BpDeplacerTotale, true);
  Changetravail(ed, actions::DeplacementCI);
  TraceCimp(ed);
}

void DeposeZone(Editeur& ed) {
  if (!Portee(ed)) return;
  ChoixCurseurOutil(ed.ctx, actions::DeplacementZone);
  DeplaceZone(Ci(ed), Dx(ed), Dy(ed));
  MontreCadreSelection(ed);
  Changetravail(ed, actions::DeplacementZone);
  TraceCimp(ed);
}

void DeposeZoneDupliquee(Editeur& ed) {
  if (!Portee(ed)) return;
  DupliqueZone(Ci(ed), Dx(ed), Dy(ed));
  CadreDeLaCopie(ed);
  ChoixCurseurOutil(ed.ctx, actions::SelectionGroupe);
  FixeCadre(ed.ctx, Ci(ed).Selection.CadreZone, true);
  RazBoutonsModifpartielle(ed);
  Enfonce(ed, C::BpDeplacerZone, true);
  Changetravail(ed, actions::DeplacementZone);
  TraceCimp(ed);
}

void DeposeComposantDuplique(Editeur& ed) {
  if (!Portee(ed)) return;
  DupliqueZone(Ci(ed), Dx(ed), Dy(ed));
  CadreDeLaCopie(ed);
  ChoixCurseurOutil(ed.ctx, actions::PanneauInsertion);
  FixeCadre(ed.ctx, Ci(ed).Selection.CadreZone, true);
  Enfonce(ed, C::BpDeplacerComposant, true);
  Changetravail(ed, actions::DeplacementComposant);
  TraceCimp(ed);
}

void DeposeComposant(Editeur& ed) {
  if (!Portee(ed)) return;
  ValideGeste(ed, GesteLong::Insertion);
  ChoixCurseurOutil(ed.ctx, actions::PanneauInsertion);
  DeplaceZone(Ci(ed), Dx(ed), Dy(ed));
  MontreCadreSelection(ed);
  Enfonce(ed, C::BpInsertionComposant, false);
  Enfonce(ed, C::BpDeplacerComposant, true);
  Changetravail(ed, actions::DeplacementComposant);
  TraceCimp(ed);
}

namespace {
// One selected item carried from the popup menu, moved or copied: the tool of its panel again.
void DeposeUnElement(Editeur& ed, bool copie) {
  if (!Portee(ed)) return;
  if (copie) {
    DupliqueZone(Ci(ed), Dx(ed), Dy(ed));
  } else {
    DeplaceZone(Ci(ed), Dx(ed), Dy(ed));
  }
  TermineCurseur(ed);
  Ci(ed).Selection.Active = 0;
  TraceCimp(ed);
  Selectiontravail(ed);
}
}  // namespace

void DeposeElement(Editeur& ed) { DeposeUnElement(ed, false); }
void DeposeElementDuplique(Editeur& ed) { DeposeUnElement(ed, true); }

void FinZone(Editeur& ed) {
  const Plage p = SelectionRectangle(Ci(ed), ZoneCurseur(ed.ctx));
  if (p.Premier > 0) {
    TSelection& s = Ci(ed).Selection;
    s.Active = 1;
    s.Premier = p.Premier;
    s.Dernier = p.Dernier;
    MontreCadreSelection(ed);
    Changetravail(ed, actions::PanneauModifPartielle);
  } else {
    Changetravail(ed, actions::Aucune);
  }
  Enfonce(ed, C::BpSelectionZone, false);
}

// ---- Cancelling ----

void AnnuleDeplacementCircuit(Editeur& ed) {
  Enfonce(ed, C::BpDeplacerTotale, false);
  MontreCadreSelection(ed);
  RazBoutonsModiftotale(ed);
}

void AnnuleDuplicationCircuit(Editeur& ed) {
  Enfonce(ed, C::BpDuplicationTotale, false);
  TSelection& s = Ci(ed).Selection;
  if (s.Active > 0) s.CadreZone = CadreElements(Ci(ed), s.Premier, s.Dernier);
  FixeCadre(ed.ctx, s.CadreZone, true);
  RazBoutonsModiftotale(ed);
}

void AnnuleModifTotale(Editeur& ed) { RazBoutonsModiftotale(ed); }

void AnnuleZone(Editeur& ed) {
  RazBoutonsModifpartielle(ed);
  DeselectionZone(Ci(ed));
  TermineCurseur(ed);
}

void AnnuleComposant(Editeur& ed) {
  RazBoutonsInsertion(ed);
  DeselectionZone(Ci(ed));
  TermineCurseur(ed);
}

void AnnuleInsertion(Editeur& ed) {
  AbandonneGeste(ed, GesteLong::Insertion);
  RazBoutonsInsertion(ed);
  const int32_t premier = Ci(ed).Selection.Premier;
  // The inserted records sit at the end of the store; anything else is left alone.
  if (premier >= 1 && premier <= Ci(ed).NbElements &&
      Ci(ed).Selection.Dernier == Ci(ed).NbElements) {
    SupprimeElements(Ci(ed), {premier, Ci(ed).NbElements});
  }
  DeselectionZone(Ci(ed));
  TermineCurseur(ed);
  ReTraceCimp(ed);
}

}  // namespace korv4
