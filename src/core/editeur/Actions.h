#pragma once

#include <array>
#include <cstdint>

#include "render/ContexteTrace.h"

// The editor's action codes: what the next press, release or cancel in the drawing area does.
// Every fact of a code (its name, label, cursor, the kind it creates, its space-bar gesture and
// its three gesture handlers) is one row of Actions.def.

namespace korv4 {

// What the pointer and the keys send to the current action code's row.
enum class Geste { Aucun, Presse, Relache, Annule };

namespace actions {
enum : int32_t {
#define A(nom, libelle, forme, genre, espace, presse, relache, annule) nom,
#include "editeur/Actions.def"
#undef A
  Nombre
};

// The code of a drawing's second point follows the code of its first point by this much.
constexpr int32_t kSecondPoint = FinTrait - Trait;
static_assert(FinEllipse - Ellipse == kSecondPoint, "one step between the two points");
}  // namespace actions

constexpr int32_t kNombreActions = actions::Nombre;

// Status-bar labels of the action codes.
extern const std::array<const char*, kNombreActions> LibellesActions;

// The gesture the space bar sends for a code when no track is being drawn (a code outside the
// table: press).
Geste GesteEspaceDe(int32_t code);

// The kind of record a code's press or release adds (0: none, and outside the table).
uint8_t GenreDe(int32_t code);

// A tool that draws tracks: a press starts one, each release adds a point.
bool EstOutilPiste(int32_t code);

// The cursor of a code: its shape, and for a track tool the track's width on the rubber band.
void ChoixCurseurOutil(ContexteTrace& ctx, int32_t code);

}  // namespace korv4
