#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "export/FluxOctets.h"

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

// The same archive written to a flux as its entries are made, so that an archive of any size
// takes little memory: each entry's bytes are made twice, once to measure them (size, CRC-32)
// and once to write them after their header. The same limits as EcritZip.
class ZipEnFlux {
 public:
  ZipEnFlux(FluxOctets& sortie, uint16_t dateDos, uint16_t heureDos)
      : sortie_(sortie), date_(dateDos), heure_(heureDos) {}
  // `produit` gives the entry's bytes to the flux it is handed (the same bytes both times);
  // false when it or the output failed, or a limit is reached: the archive is then abandoned.
  bool Ajoute(const std::string& nom, const std::function<bool(FluxOctets&)>& produit);
  // The central directory: the archive is complete.
  bool Termine();
  // Why the archive was abandoned (French, UTF-8); empty when it was not.
  const std::string& Erreur() const { return erreur_; }

 private:
  bool Ecrit(const std::vector<uint8_t>& v);
  FluxOctets& sortie_;
  uint16_t date_, heure_;
  uint64_t position_ = 0;
  std::vector<uint8_t> repertoire_;
  uint32_t nombre_ = 0;
  std::string erreur_;
};

}  // namespace korv4
