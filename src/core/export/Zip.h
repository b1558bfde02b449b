#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A zip archive in memory, its entries stored (not compressed): every unzip tool and board
// house reads it, and the core needs no compression library. Names are UTF-8.

namespace korv4 {

struct EntreeZip {
  std::string Nom;
  std::vector<uint8_t> Octets;
};

// CRC-32 (the polynomial of zip, gzip and PNG) of the bytes.
uint32_t Crc32(const uint8_t* octets, size_t taille);

// A date and time as an MS-DOS date and time of an entry (years outside 1980..2107 cannot be
// said: 1980-01-01 at midnight).
void DateHeureDos(int annee, int mois, int jour, int heure, int minute, int seconde,
                  uint16_t& dateDos, uint16_t& heureDos);

// The archive: local headers and data, then the central directory. Every entry is dated with
// the same MS-DOS date and time (date: (year - 1980) << 9 | month << 5 | day; time: hour << 11
// | minute << 5 | second / 2). Entries and the whole archive must stay below 4 GiB and 65535
// entries (no zip64): an empty result otherwise.
std::vector<uint8_t> EcritZip(const std::vector<EntreeZip>& entrees, uint16_t dateDos,
                              uint16_t heureDos);

}  // namespace korv4
