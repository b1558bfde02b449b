#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// PNG coding of a picture drawn in memory, made for speed on the few colours of a circuit
// view: a picture of at most 256 colours is coded as an indexed PNG of 1, 2, 4 or 8 bits per
// pixel (rows unfiltered, as advised for palettes), any other as 8-bit RGB (rows filtered with
// "Up"); the rows are compressed by libdeflate in one pass. No Qt: korv4-cli codes its pictures
// with it, and the editor can code its clipboard picture with it.

namespace korv4 {

// pixels: hauteur rows of largeur 32-bit pixels 0x..RRGGBB (the top byte is ignored), row y at
// pixels + y * pas. Returns the PNG bytes in `png`; false with a French reason in `erreur`
// when the picture cannot be coded (empty or too large for PNG, memory).
bool CodePng(const uint32_t* pixels, int largeur, int hauteur, std::ptrdiff_t pas,
             std::vector<uint8_t>& png, std::string& erreur);

}  // namespace korv4
