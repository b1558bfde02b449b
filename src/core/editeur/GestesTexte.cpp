#include "editeur/Gestionnaires.h"

// Texts with the pointer: a press asks for a new text (or, on a highlighted text, for its new
// wording), the release places it at the cursor.

namespace korv4 {

using C = Controle;

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
  const bool horizontal = ed.CodeAction == actions::TexteHorizontal;
  const int32_t n = static_cast<int32_t>(ed.TexteSaisi.size());
  FixeCadre(ed.ctx, CadreTexte(ed, horizontal, n), true);
  Changetravail(ed, horizontal ? actions::PlacementTexteH : actions::PlacementTexteV);
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
  Changetravail(ed, horizontal ? actions::PlacementTexteModifieH : actions::PlacementTexteModifieV);
}

void PresseSelectionTexte(Editeur& ed) {
  const Plage p = ChercherTexte(Ci(ed), ed.Etat.Travail, ed.ctx.CurseurX, ed.ctx.CurseurY);
  if (p.Vide()) return;
  if (DejaDesigne(ed, p)) {
    ModifTexte(ed, p);
  } else {
    elementselect(ed, p);
  }
}

namespace {
// The orientation AjoutTexte takes: the code of the horizontal or the vertical text tool.
int Orientation(bool horizontal) {
  return horizontal ? actions::TexteHorizontal : actions::TexteVertical;
}
}  // namespace

void RelacheNouveauTexte(Editeur& ed) {
  const int32_t f = Ci(ed).NbElements + 1;
  const int orientation = Orientation(ed.CodeAction == actions::PlacementTexteH);
  AjoutTexte(Ci(ed), Cx(ed), Cy(ed), orientation, ed.TexteSaisi, Ci(ed).TailleTexte,
             ed.Etat.Travail);
  TraceCircuit(Ci(ed), f, Ci(ed).NbElements, CouleursNormales(), ed.ctx, ed.Etat);
  Changetravail(ed, orientation);
}

void RelacheTexteModifie(Editeur& ed) {
  const int orientation = Orientation(ed.CodeAction == actions::PlacementTexteModifieH);
  AnnuleSelectionSiVisible(Ci(ed), ed.ctx);
  Changetravail(ed, actions::SelectionTexte);
  const TSelection& s = Ci(ed).Selection;
  Suppression(Ci(ed), {s.Premier, s.Dernier});
  AjoutTexte(Ci(ed), Cx(ed), Cy(ed), orientation, ed.TexteSaisi, Ci(ed).TailleTexte,
             ed.Etat.Travail);
  ReTraceCimp(ed);
}

void AnnuleTexte(Editeur& ed) { RazBoutonsTexte(ed); }
void AnnulePlacementTexte(Editeur& ed) { AnnuleSelectionSiVisible(Ci(ed), ed.ctx); }

}  // namespace korv4
