#include "editeur/Gestionnaires.h"

// Creating elements with the pointer: tracks, pads and drawings.

namespace korv4 {

using C = Controle;

// ---- Tracks: a press starts one, each release adds a point, a cancel ends it ----

void PressePiste(Editeur& ed) {
  if (ed.ctx.PisteEnCours) return;
  const int32_t avant = Ci(ed).NbElements;
  AjoutElement(Ci(ed), ed.Etat.Travail, GenreDe(ed.CodeAction), Cx(ed), Cy(ed));
  // A point refused at the store's limit starts no track.
  if (Ci(ed).NbElements == avant) return;
  ed.ctx.PisteEnCours = true;
  OuvreGeste(ed, GesteLong::Piste, LibellesActions[ed.CodeAction]);
  Elastique(ed.ctx, true);
  TraceDernier(ed);
}

void RelachePiste(Editeur& ed) {
  if (!ed.ctx.PisteEnCours) return;  // no track was started (the store was full)
  AjoutElement(Ci(ed), ed.Etat.Travail, GenreDe(ed.CodeAction), Cx(ed), Cy(ed));
  Elastique(ed.ctx, true);
  TraceDernier(ed);
}

void AnnulePiste(Editeur& ed) {
  if (ed.ctx.PisteEnCours) {
    Elastique(ed.ctx, false);
    TerminePiste(ed);
  } else {
    RazBoutonsPiste(ed);
  }
}

// ---- Pads: a press places one, or gives the pad under the cursor the tool's kind ----

void PressePastille(Editeur& ed) {
  const int32_t x = ed.ctx.CurseurX, y = ed.ctx.CurseurY;
  if (!PastilleGenante(Ci(ed), x, y, GenreDe(ed.CodeAction))) {
    const int32_t avant = Ci(ed).NbElements;
    AjoutElement(Ci(ed), ed.Etat.Travail, GenreDe(ed.CodeAction), Cx(ed), Cy(ed));
    if (Ci(ed).NbElements > avant) TraceDernier(ed);
    return;
  }
  const Plage p = ChercherPastilleProche(Ci(ed), x, y);
  if (p.Vide()) return;
  ElementCI& e = Ci(ed)[p.Premier];
  e.Code = GenreDe(ed.CodeAction);
  e.Attribut = static_cast<uint8_t>(PercageDefaut(e.Code));
  Ci(ed).CircuitModifie = true;
  TraceCimp(ed);
}

void AnnulePastille(Editeur& ed) { RazBoutonsPastille(ed); }

// ---- Drawings: a press lays the first point, the release the second ----

// The first point waits in the store for the second on the rubber band: a gesture, which a
// change of tool or the cursor reset (TermineCurseur) commits with the lone first point.
void PresseDessin(Editeur& ed) {
  const int32_t avant = Ci(ed).NbElements;
  AjoutElement(Ci(ed), ed.Etat.Travail, GenreDe(ed.CodeAction), Cx(ed), Cy(ed));
  // A first point refused at the store's limit waits for no second one.
  if (Ci(ed).NbElements == avant) return;
  const std::string libelle = LibellesActions[ed.CodeAction];
  Changetravail(ed, ed.CodeAction + actions::kSecondPoint);
  Elastique(ed.ctx, true);
  OuvreGeste(ed, GesteLong::Dessin, libelle);
}

void RelacheDessin(Editeur& ed) {
  AjoutElement(Ci(ed), ed.Etat.Travail, GenreDe(ed.CodeAction), Cx(ed), Cy(ed));
  Elastique(ed.ctx, false);
  TraceDernier(ed);
  ValideGeste(ed, GesteLong::Dessin);
  Changetravail(ed, ed.CodeAction - actions::kSecondPoint);
}

void AnnuleDessin(Editeur& ed) {
  // Only a lone first point waits in the store (a code of the second point).
  if (ed.ctx.ElastiqueActif && ed.CodeAction >= actions::FinTrait) SupprimeDernier(Ci(ed));
  AbandonneGeste(ed, GesteLong::Dessin);
  RazBoutonsDessin(ed);
}

}  // namespace korv4
