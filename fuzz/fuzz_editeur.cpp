// The editor driven by a script of gestures: every three bytes are one gesture (a click on any
// control, pointer presses, moves and releases, right clicks with a popup choice, keys, typed
// texts, a resized window). The store keeps its limits, the zone and the highlight designate
// records of the store, no track stays open when none is being drawn, and an open gesture
// belongs to a tool still at it.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "Verifications.h"
#include "editeur/Gestes.h"

using namespace korv4;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* donnees, size_t taille) {
  // A fresh editor for every input, so that a finding replays alone.
  auto s = std::make_unique<Session>(800, 600);
  PrepareDisque(s->d);
  for (size_t i = 0; i + 3 <= taille; i += 3) {
    JoueGeste(*s, donnees[i], donnees[i + 1], donnees[i + 2]);
    const Circuit& c = s->ed.circuit;
    fuzz::VerifieLimites(c);
    if (c.Selection.Active > 0) KORV4_VERIFIE(c.Selection.Dernier <= c.NbElements);
    KORV4_VERIFIE(s->ed.ctx.SelectionFin <= c.NbElements || !s->ed.ctx.SelectionVisible);
    if (!s->ed.ctx.PisteEnCours && c.NbElements > 0) {
      const ElementCI& e = c[c.NbElements];
      KORV4_VERIFIE(!EstPiste(e.Code) || e.Attribut == kDernierPoint);
    }
    KORV4_VERIFIE(s->ed.CodeAction >= 0 && s->ed.CodeAction <= 110);
    // An open gesture belongs to a tool still at it: one left open would stop the history.
    const Editeur& ed = s->ed;
    KORV4_VERIFIE(GesteOuvert(ed, GesteLong::Piste) == ed.ctx.PisteEnCours);
    KORV4_VERIFIE(GesteOuvert(ed, GesteLong::Titre) == TitreEnCours(ed));
    KORV4_VERIFIE(!GesteOuvert(ed, GesteLong::Dessin) || ed.ctx.ElastiqueActif);
    KORV4_VERIFIE(!GesteOuvert(ed, GesteLong::Insertion) ||
                  ed.CodeAction == actions::PlacementComposantInsere);
  }
  return 0;
}
