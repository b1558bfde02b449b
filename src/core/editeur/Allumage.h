#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/Circuit.h"
#include "render/Canevas.h"
#include "render/ContexteTrace.h"
#include "verification/Equipotentielles.h"
#include "verification/Suivi.h"

// The lit net of the "Équipotentielle" tool: the point clicked and the face it was clicked on
// are kept, not a record, so that after any change of the store the net lit is the one under
// that point again (it may have grown, split or gone). The nets are computed when the store
// differs from the copy they were computed from: after a change, from the pieces of copper
// kept since the last computation and followed from the records the change made (only those
// read and measured again); the store itself never changes here.

namespace korv4 {

struct EquipotentielleAllumee {
  bool Active = false;
  int32_t X = 0, Y = 0;  // the point clicked, units
  int Travail = 0;       // the work it was clicked in
  int32_t Net = -1;      // index into nets.Liste, -1 when none is lit

  Equipotentielles nets;
  // The store the nets were computed from (records 1..n and drill table).
  std::vector<ElementCI> copie;
  std::array<int32_t, 14> diametres{};
  bool calculees = false;
  uint64_t Calcul = 0;  // counts the computations of the nets: with Net, what the picture shows
  // The pieces of copper followed from change to change while a net is lit (made at the first
  // change, dropped when the light goes out), and the computations that read the whole board
  // (the work, for tests).
  std::shared_ptr<SuiviVerification> suivi;
  bool encombre = false;  // copper too crowded to follow: read whole at each change
  uint64_t CalculsEntiers = 0;

  // The lit net's records alone, in store order (its tracks and texts whole runs), for its
  // picture: gathered once for a net of a computation, kept with their memory.
  mutable std::shared_ptr<Circuit> seul;
  mutable uint64_t seulCalcul = 0;
  mutable int32_t seulNet = -1;
};

// The nets of the circuit as it is now, computed again only when the store changed.
const Equipotentielles& NetsAJour(EquipotentielleAllumee& a, const Circuit& c);
// The nets when they are up to date with the store, null otherwise (nothing is computed: for
// a pointer move).
const Equipotentielles* NetsSiAJour(const EquipotentielleAllumee& a, const Circuit& c);

// The net under (x, y) in work `travail` (a pad on either face, a track or a copper text of
// that face), -1 for none.
int32_t EquipotentielleSous(const Circuit& c, const Equipotentielles& nets, int travail, int32_t x,
                            int32_t y);

// A click of the tool: lights the net under the point, or puts the light out when there is
// none. True when a net is lit.
bool AllumeEquipotentielle(EquipotentielleAllumee& a, const Circuit& c, int travail, int32_t x,
                           int32_t y);
void EteintEquipotentielle(EquipotentielleAllumee& a);
// After a change: the net under the point clicked, again. True when what is lit changed.
bool SuitEquipotentielle(EquipotentielleAllumee& a, const Circuit& c);

// "Équipotentielle N3 : 4 pastilles", empty when none is lit.
std::string TexteEquipotentielle(const EquipotentielleAllumee& a);

// Draws the lit net alone (both faces, its pads and their holes) in `couleur` on `toile`, with
// the layout of `ctx` (zoom, origin, surface): the picture to lay over the drawing area's.
void TraceEquipotentielleAllumee(const EquipotentielleAllumee& a, const Circuit& c,
                                 const ContexteTrace& ctx, Canevas& toile, Couleur couleur);

// The same into the rows haut..bas (excluded) of a 32-bit image the size of ctx's surface, whose
// row y starts at pixels + y * pas: those rows cleared to transparent, then the lit net's part
// within ctx's zone, as the whole picture has it there. The bands of one picture may be drawn
// by several threads at once (the net's records are gathered before: call
// PrepareEquipotentielleAllumee first).
void PrepareEquipotentielleAllumee(const EquipotentielleAllumee& a, const Circuit& c);
void TraceEquipotentielleBande(const EquipotentielleAllumee& a, const ContexteTrace& ctx,
                               uint32_t* pixels, std::ptrdiff_t pas, int32_t largeur, int32_t haut,
                               int32_t bas, Couleur couleur);
// The number of records the lit net's picture draws (0 when none is lit).
int32_t ElementsEquipotentielleAllumee(const EquipotentielleAllumee& a);

}  // namespace korv4
