#pragma once

#include "editeur/Editeur.h"
#include "render/Curseur.h"
#include "render/TraceCircuit.h"

// What the gesture handlers of the action table share. Each handler takes the editor and acts
// at the cursor's grid point; the dispatcher `action` picks it by the current action code.

namespace korv4 {

// Every handler of the table, declared from its rows.
#define A(nom, libelle, forme, genre, espace, presse, relache, annule) \
  void presse(Editeur& ed);                                            \
  void relache(Editeur& ed);                                           \
  void annule(Editeur& ed);
#include "editeur/Actions.def"
#undef A

inline Circuit& Ci(Editeur& ed) { return ed.circuit; }
// The cursor's grid point, as a record stores it.
inline uint16_t Cx(const Editeur& ed) { return static_cast<uint16_t>(ed.ctx.CurseurX); }
inline uint16_t Cy(const Editeur& ed) { return static_cast<uint16_t>(ed.ctx.CurseurY); }

// Draws the record just added at the end of the store.
inline void TraceDernier(Editeur& ed) {
  TraceElement(ed.circuit, ed.circuit.NbElements, CouleursNormales(), ed.ctx);
}

// The zone's box recomputed from its records and shown as the cursor's frame.
inline void MontreCadreSelection(Editeur& ed) {
  TSelection& s = ed.circuit.Selection;
  s.CadreZone = CadreElements(ed.circuit, s.Premier, s.Dernier);
  FixeCadre(ed.ctx, s.CadreZone, true);
}

// The range is the one highlighted now: a second press on the same item.
bool DejaDesigne(const Editeur& ed, Plage p);

}  // namespace korv4
