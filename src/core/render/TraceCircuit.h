#pragma once

#include <array>
#include <cstdint>

#include "model/Circuit.h"
#include "render/ContexteTrace.h"

// Drawing of the circuit: background, surface and grid, every element kind of every work,
// the overlays of the works shown under the edited one, and the selection highlight.

namespace korv4 {

// Entry 0 is the pen mode (kModeCopie or kModeOuExclusif), then the colours of face 1,
// face 2 and the placement plan as overlays, the drilling plan, the edited work and holes.
using CouleursTrace = std::array<Couleur, 7>;
constexpr Couleur kModeCopie = 0;
constexpr Couleur kModeOuExclusif = 1;

constexpr Couleur kRouge = 0xFF0000;
constexpr Couleur kVert = 0x008000;
constexpr Couleur kBleu = 0x0000FF;
constexpr Couleur kBordeaux = 0x800000;
constexpr Couleur kNoir = 0x000000;
constexpr Couleur kBlanc = 0xFFFFFF;
constexpr Couleur kMarine = 0x000080;

// The colours of an ordinary drawing.
CouleursTrace CouleursNormales();
// The exclusive-or table of the highlight, entry 5 the colour of the given work.
CouleursTrace CouleursSurbrillance(int32_t travail);

void TraceFond(ContexteTrace& ctx);
void TraceCircuit(const Circuit& c, int32_t premier, int32_t dernier, const CouleursTrace& couleurs,
                  ContexteTrace& ctx, const EtatTravail& etat);
// Draws the element that ends at record `index` (the one just added), in copy mode.
void TraceElement(const Circuit& c, int32_t index, const CouleursTrace& couleurs,
                  ContexteTrace& ctx);
// Draws in the canvas's current pen mode. Shape index: the pad's row in
// model/Pastilles.def (IndicePastille).
void TracePastille(ContexteTrace& ctx, int32_t x, int32_t y, int32_t forme, int32_t percage,
                   Couleur pastille, Couleur trou);
// Selector 1: face-1 tracks; 2: face-2 tracks; 64 and 128: face-2 tracks mirrored top to
// bottom, respectively left to right, about the box `miroir`.
void TracePistes(const Circuit& c, int32_t premier, int32_t dernier, ModePlume mode,
                 ContexteTrace& ctx, Couleur couleur, int32_t selecteur,
                 const Cadre& miroir = Cadre{});
// Lines, rectangles, circles, ellipses and text characters of layer mask `couche`.
void TraceDessins(const Circuit& c, int32_t premier, int32_t dernier, ModePlume mode,
                  ContexteTrace& ctx, Couleur couleur, uint8_t couche);
void TraceCaractere(ContexteTrace& ctx, int32_t x, int32_t y, ModePlume mode, Couleur couleur,
                    uint8_t caractere, int32_t orientation, uint8_t taille);
void TraceSymbolePercage(ContexteTrace& ctx, int32_t x, int32_t y, ModePlume mode, Couleur couleur,
                         int32_t percage);

// The highlight of a selected range, drawn in exclusive-or over the picture.
void ChoixSelection(const Circuit& c, Plage p, const EtatTravail& etat, ContexteTrace& ctx);
void CacheSelection(const Circuit& c, ContexteTrace& ctx);
void MontreSelection(const Circuit& c, ContexteTrace& ctx);
void AnnuleSelection(const Circuit& c, ContexteTrace& ctx);
void AnnuleSelectionSiVisible(const Circuit& c, ContexteTrace& ctx);

}  // namespace korv4
