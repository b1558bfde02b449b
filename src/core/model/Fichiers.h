#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/Circuit.h"

// Circuit files (current and old format), component files and the store repair. The functions
// here turn bytes into a circuit and a circuit into bytes; reading from and writing to the disk
// is the caller's job.
//
// Every reader checks the whole buffer before it changes anything: on refusal it returns false,
// the circuit is exactly as it was and `erreur` holds a French message (UTF-8) that names the
// file and the reason.

namespace korv4 {

// Sizes of the file layouts.
constexpr size_t kTailleEnteteCI = 192;
constexpr size_t kTailleEnteteAncien = 150;
constexpr size_t kTailleBlocAncien = 1500;  // 500 entries of 3 bytes
constexpr size_t kEntreesParBlocAncien = 500;
constexpr size_t kTailleEnteteComposant = 28;
constexpr size_t kTailleElement = 8;
constexpr const char* kLibelleComposant = "Composant pour KORV4";

// Header and records 1..NbElements. The header's strings are cut to their field lengths (40,
// 40, 20, 20) and `Nombre` is written as NbElements, the number of records that follow.
std::vector<uint8_t> EcritCircuit(const Circuit& c);
// The same with another header (the circuit's own is left as it is).
std::vector<uint8_t> EcritCircuitAvecEntete(const Circuit& c, const TEnteteCI& entete);

// Reads a current-format circuit: header (with its surface and drill table) and records. The
// undo store is emptied and the zone cleared; records above the new count are left alone.
bool LitCircuit(Circuit& c, const std::vector<uint8_t>& octets, const std::string& nomFichier,
                std::string& erreur);

// Reads an old-format circuit: the store is reset (drill table back to its defaults), the
// entries are converted, the header takes the old title, date and author and the default
// surface.
bool LitAncienCircuit(Circuit& c, const std::vector<uint8_t>& octets, const std::string& nomFichier,
                      std::string& erreur);

// Repairs the store: orphan drawing records, unfinished tracks and unclosed groups go away and
// every group's marker points are set to the box of its contents. Sets CircuitModifie when
// anything changed.
void NettoyageCircuit(Circuit& c);

// True when the bytes begin as a component file does (its label "Composant pour KORV4").
bool EstFichierComposant(const std::vector<uint8_t>& octets);

// The whole open pipeline of the editor and of korv4-cli: read by the last letter of the name
// (X or x current format, P or p old format, any other letter refused as an unknown format),
// clear CircuitModifie, join the tracks, repair. On success NomFichier is the given name and
// CircuitModifie tells whether joining or repair changed the store. On refusal nothing changes.
// A component file (its label, and a name ending in .CPX or bytes that do not read as a
// circuit) is refused with a message that says it is a component. `nombreLu`, when given,
// receives the number of records the file held, before joining and repair.
// A surface outside what the surface dialog accepts (each side above 0 and under 800 mm) is
// repaired to the default one, widened to the circuit's extent: the circuit is then marked
// modified and `avertissement`, when given, says what was repaired (French, UTF-8).
bool OuvreCircuit(Circuit& c, const std::vector<uint8_t>& octets, const std::string& nomFichier,
                  std::string& erreur, int32_t* nombreLu = nullptr,
                  std::string* avertissement = nullptr);

// The surface's limit: a side of 31 501 units (800 mm and a little margin) or more is refused.
constexpr int32_t kSurfaceRefusee = 31501;

// Unit conversions (integer divisions), and the millimetres shown for a size: the number typed
// when the size came from one (MmVersUnites(n) == v), otherwise UnitesVersMm(v).
constexpr int32_t MmVersUnites(int32_t v) { return static_cast<int32_t>(int64_t{v} * 10000 / 254); }
constexpr int32_t UnitesVersMm(int32_t v) { return static_cast<int32_t>(int64_t{v} * 254 / 10000); }
constexpr int32_t MmMontres(int32_t v) {
  return MmVersUnites(UnitesVersMm(v) + 1) == v ? UnitesVersMm(v) + 1 : UnitesVersMm(v);
}

// Fills the header before a save: Titre and TitreBis from the title (40 bytes at most), DateCI
// and Auteur (20 bytes at most), Nombre, and the surface size. Strings are Windows-1252 bytes.
void RemplitEnteteCI(Circuit& c, const std::string& titre, const std::string& date,
                     const std::string& auteur, int32_t surfaceX, int32_t surfaceY);
// The same on a header alone, for a circuit of `nombre` records.
void RemplitEntete(TEnteteCI& h, int32_t nombre, const std::string& titre, const std::string& date,
                   const std::string& auteur, int32_t surfaceX, int32_t surfaceY);

// The zone as a component file, wrapped in one group unless it already is exactly one group.
// The circuit is not changed. Empty when there is no valid zone.
std::vector<uint8_t> EcritComposant(const Circuit& c);

// Appends a component file at the end of the store and makes it the zone (Active = 1, its box
// in CadreZone). A component that would take the store past its capacity shows the limit
// message (MessageLimite) and is refused; erreur then holds the same message with the file.
bool InsereComposant(Circuit& c, const std::vector<uint8_t>& octets, const std::string& nom,
                     std::string& erreur);

}  // namespace korv4
