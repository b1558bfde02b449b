#pragma once

#include <cstdint>

#include "model/Circuit.h"
#include "render/ContexteTrace.h"

// The drawing cursor, its rubber band and frames, and the relative-origin mark. Everything is
// drawn in exclusive-or: drawing a figure a second time erases it.

namespace korv4 {

// The cursor colour of the screen, set on its context at start-up. A context that never sets
// it (a printer page) keeps 0, and its cursor figure in exclusive-or then changes nothing.
constexpr Couleur kCouleurCurseur = 0x7FFFFF;

void TraceCurseur(ContexteTrace& ctx);
void PlaceCurseur(ContexteTrace& ctx, int32_t x, int32_t y);
void CacheCurseur(ContexteTrace& ctx);
void MontreCurseur(ContexteTrace& ctx);
void RazCurseur(ContexteTrace& ctx);
// The rubber band is drawn one pixel wide, unless `piste` gives the thickness index (1..6) of
// the track drawn, whose width it then takes, or `dessin` says it draws a drawing, at the
// thickness chosen for drawings (only lines, circles, rectangles and ellipses have a width).
void ChoixFormeCurseur(ContexteTrace& ctx, Curseur forme, int32_t piste = 0, bool dessin = false);
void Elastique(ContexteTrace& ctx, bool actif);
void FixeAncre(ContexteTrace& ctx, int32_t x, int32_t y);
// The rectangle as x1, y1, x2, y2 in units: the anchor, then the second point.
void FixeCadre(ContexteTrace& ctx, const Cadre& rectangle, bool actif);
// The rectangle spanned by the cursor and the anchor: (smallest x, largest y, largest x,
// smallest y).
Cadre ZoneCurseur(const ContexteTrace& ctx);
void TraceMarqueOrigine(ContexteTrace& ctx, int32_t x, int32_t y, ModePlume mode, Couleur plume,
                        Couleur brosse);

}  // namespace korv4
