#include <algorithm>

#include "editeur/Gestionnaires.h"
#include "verification/Isolements.h"

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
  // Accepted, but said: a hole wider than its pad leaves no copper around it.
  const double exces = ExcesPercage(Ci(ed), Ci(ed)[p.Premier]);
  if (exces > 1e-9) {
    const int32_t dixiemes = std::max<int32_t>(1, static_cast<int32_t>(exces * 10 + 0.5));
    Panneau(ed, 4,
            "Perçage de " + FormatDiametre(Ci(ed).EnteteCI.DiametresPercage[d]) +
                " plus grand que la pastille : il dépasse son cuivre de " +
                FormatDiametre(dixiemes) + ".");
  }
}

void AnnulePercage(Editeur& ed) { RazBoutonsPercage(ed); }

}  // namespace korv4
