#include "editeur/Gestionnaires.h"

// Drilling with the pointer: a press gives the pad under the cursor the drill of the tool.

namespace korv4 {

void PressePercage(Editeur& ed) {
  // The drill index of the tool: 1 for the first diameter up to 9 for the panel's own code;
  // the deletion tool takes the hole away.
  const int32_t d =
      ed.CodeAction < actions::SuppressionPercage ? ed.CodeAction - actions::Percage1 + 1 : 0;
  const Plage p = ChercherPastille(Ci(ed), ed.ctx.CurseurX, ed.ctx.CurseurY);
  if (p.Vide() || Ci(ed)[p.Premier].Attribut == d) return;
  Ci(ed)[p.Premier].Attribut = static_cast<uint8_t>(d);
  Ci(ed).CircuitModifie = true;
  TraceCimp(ed);
}

void AnnulePercage(Editeur& ed) { RazBoutonsPercage(ed); }

}  // namespace korv4
