#pragma once

#include <cstdint>
#include <string>

#include "model/Circuit.h"
#include "verification/Equipotentielles.h"

// What is under the pointer, in words (UTF-8), for the status bar and the drawing area's
// tooltip: the element the designation tools would take at that point in the current work
// (a pad, a track, a text, a drawing, a group), its kind and sizes, and its net when `nets` is
// given: "Pastille ronde 2 mm, perçage 0,8 mm — équipotentielle N3 (4 pastilles)", "Piste
// 0,5 mm, face 2, 12,70 mm de long", "Texte « A1 »". Lengths in mm, or in pas when `enMm` is
// false. Empty when nothing is there. A linear search of the store at the most per kind.

namespace korv4 {

std::string DecritSousPointeur(const Circuit& c, int travail, int32_t x, int32_t y, bool enMm,
                               const Equipotentielles* nets = nullptr);

// A length in units as the status bar writes it: "12,70 mm" or "5,00 pas".
std::string Longueur(double unites, bool enMm);

// The net of an element in words: "équipotentielle N3 (4 pastilles)"; empty for -1.
std::string DecritEquipotentielle(const Equipotentielles& nets, int32_t net);

}  // namespace korv4
