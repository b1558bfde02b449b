#include "export/Zip.h"

#include <array>

namespace korv4 {

namespace {

std::array<uint32_t, 256> TableCrc() {
  std::array<uint32_t, 256> t{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[n] = c;
  }
  return t;
}

void Mot16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(static_cast<uint8_t>(x));
  v.push_back(static_cast<uint8_t>(x >> 8));
}
void Mot32(std::vector<uint8_t>& v, uint32_t x) {
  Mot16(v, x & 0xFFFF);
  Mot16(v, x >> 16);
}

bool Ascii(const std::string& s) {
  for (unsigned char ch : s)
    if (ch >= 0x80) return false;
  return true;
}

}  // namespace

uint32_t Crc32(const uint8_t* octets, size_t taille) {
  static const std::array<uint32_t, 256> table = TableCrc();
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < taille; ++i) c = table[(c ^ octets[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::vector<uint8_t> EcritZip(const std::vector<EntreeZip>& entrees, uint16_t dateDos,
                              uint16_t heureDos) {
  constexpr uint64_t kMax = 0xFFFFFFFFull;
  if (entrees.size() > 0xFFFF) return {};
  uint64_t total = 22;
  for (const EntreeZip& e : entrees) {
    if (e.Nom.size() > 0xFFFF || e.Octets.size() >= kMax) return {};
    total += 30 + 46 + 2 * e.Nom.size() + e.Octets.size();
  }
  if (total >= kMax) return {};
  std::vector<uint8_t> v;
  v.reserve(static_cast<size_t>(total));
  std::vector<uint32_t> crc, position;
  // Bit 11: the name is UTF-8 (only said when it is not plain ASCII).
  auto Drapeaux = [](const EntreeZip& e) { return Ascii(e.Nom) ? 0u : 0x0800u; };
  for (const EntreeZip& e : entrees) {
    crc.push_back(Crc32(e.Octets.data(), e.Octets.size()));
    position.push_back(static_cast<uint32_t>(v.size()));
    Mot32(v, 0x04034B50);  // local file header
    Mot16(v, 10);          // version needed: 1.0, stored
    Mot16(v, Drapeaux(e));
    Mot16(v, 0);  // stored
    Mot16(v, heureDos);
    Mot16(v, dateDos);
    Mot32(v, crc.back());
    Mot32(v, static_cast<uint32_t>(e.Octets.size()));
    Mot32(v, static_cast<uint32_t>(e.Octets.size()));
    Mot16(v, static_cast<uint32_t>(e.Nom.size()));
    Mot16(v, 0);  // no extra field
    v.insert(v.end(), e.Nom.begin(), e.Nom.end());
    v.insert(v.end(), e.Octets.begin(), e.Octets.end());
  }
  const auto debutRepertoire = static_cast<uint32_t>(v.size());
  for (size_t k = 0; k < entrees.size(); ++k) {
    const EntreeZip& e = entrees[k];
    Mot32(v, 0x02014B50);  // central directory header
    Mot16(v, 0x0314);      // made by: Unix, 2.0
    Mot16(v, 10);
    Mot16(v, Drapeaux(e));
    Mot16(v, 0);
    Mot16(v, heureDos);
    Mot16(v, dateDos);
    Mot32(v, crc[k]);
    Mot32(v, static_cast<uint32_t>(e.Octets.size()));
    Mot32(v, static_cast<uint32_t>(e.Octets.size()));
    Mot16(v, static_cast<uint32_t>(e.Nom.size()));
    Mot16(v, 0);               // extra field
    Mot16(v, 0);               // comment
    Mot16(v, 0);               // disk
    Mot16(v, 0);               // internal attributes
    Mot32(v, 0100644u << 16);  // external attributes: a regular file, rw-r--r--
    Mot32(v, position[k]);
    v.insert(v.end(), e.Nom.begin(), e.Nom.end());
  }
  const auto tailleRepertoire = static_cast<uint32_t>(v.size() - debutRepertoire);
  Mot32(v, 0x06054B50);  // end of central directory
  Mot16(v, 0);
  Mot16(v, 0);
  Mot16(v, static_cast<uint32_t>(entrees.size()));
  Mot16(v, static_cast<uint32_t>(entrees.size()));
  Mot32(v, tailleRepertoire);
  Mot32(v, debutRepertoire);
  Mot16(v, 0);  // no comment
  return v;
}

void DateHeureDos(int annee, int mois, int jour, int heure, int minute, int seconde,
                  uint16_t& dateDos, uint16_t& heureDos) {
  if (annee < 1980 || annee > 2107) {
    dateDos = (1 << 5) | 1;
    heureDos = 0;
    return;
  }
  dateDos = static_cast<uint16_t>(((annee - 1980) << 9) | (mois << 5) | jour);
  heureDos = static_cast<uint16_t>((heure << 11) | (minute << 5) | (seconde / 2));
}

}  // namespace korv4
