#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Circuit.h"

// The recovery copy of a circuit being edited: written now and then while it has unsaved
// changes, offered back when the editor that wrote it stopped without closing. It holds the
// circuit's file name, when it was written, and the circuit as a circuit file (header made of
// the title block and surface as they are on screen).

namespace korv4 {

struct CopieRecuperation {
  std::string NomFichier;  // the circuit's file, "" when it has none yet
  int64_t Date = 0;        // seconds since 1970, when the copy was written
};

// The bytes of a recovery copy. The circuit is not changed.
std::vector<uint8_t> EcritRecuperation(const Circuit& c, const std::array<std::string, 3>& titres,
                                       int32_t surfaceX, int32_t surfaceY,
                                       const CopieRecuperation& copie);

// Reads a recovery copy as the open command reads a circuit (tracks joined, store repaired):
// on success `c` is the circuit with its file name, `copie` says whose and when. On refusal
// (another kind of file, a damaged copy) nothing changes and `erreur` names the file and the
// reason, in French.
bool LitRecuperation(Circuit& c, CopieRecuperation& copie, const std::vector<uint8_t>& octets,
                     const std::string& nomCopie, std::string& erreur);

// True when the circuit's name stored in a copy is a path the user could have had: absolute,
// plain text (no control or direction character, valid UTF-8), no "." or ".." step, at most
// 4095 bytes, ending in ".CIX" or ".CIP" (either case). Another name is not proposed for saving.
bool CheminDeCircuitPlausible(const std::string& nom);

}  // namespace korv4
