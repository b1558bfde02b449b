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

namespace {

// A flux that only measures: size and CRC-32.
class Mesure final : public FluxOctets {
 public:
  bool Ecrit(const uint8_t* octets, size_t taille) override {
    static const std::array<uint32_t, 256> table = TableCrc();
    for (size_t i = 0; i < taille; ++i) c_ = table[(c_ ^ octets[i]) & 0xFF] ^ (c_ >> 8);
    taille_ += taille;
    return true;
  }
  uint32_t Crc() const { return c_ ^ 0xFFFFFFFFu; }
  uint64_t Taille() const { return taille_; }

 private:
  uint32_t c_ = 0xFFFFFFFFu;
  uint64_t taille_ = 0;
};

// A flux that passes the bytes on and counts them.
class Compte final : public FluxOctets {
 public:
  explicit Compte(FluxOctets& suite) : suite_(suite) {}
  bool Ecrit(const uint8_t* octets, size_t taille) override {
    taille_ += taille;
    return suite_.Ecrit(octets, taille);
  }
  uint64_t Taille() const { return taille_; }

 private:
  FluxOctets& suite_;
  uint64_t taille_ = 0;
};

}  // namespace

bool ZipEnFlux::Ecrit(const std::vector<uint8_t>& v) {
  position_ += v.size();
  if (!erreur_.empty()) return false;
  if (!sortie_.Ecrit(v.data(), v.size())) {
    erreur_ = "l'écriture de l'archive a échoué";
    return false;
  }
  return true;
}

bool ZipEnFlux::Ajoute(const std::string& nom, const std::function<bool(FluxOctets&)>& produit) {
  constexpr uint64_t kMax = 0xFFFFFFFFull;
  if (!erreur_.empty()) return false;
  Mesure m;
  if (!produit(m)) {
    erreur_ = "« " + nom + " » n'a pas pu être fait";
    return false;
  }
  if (nombre_ >= 0xFFFF || nom.size() > 0xFFFF || m.Taille() >= kMax ||
      position_ + 30 + nom.size() + m.Taille() + repertoire_.size() + 46 + nom.size() + 22 >=
          kMax) {
    erreur_ = "le jeu dépasse 4 Gio, trop pour une archive zip";
    return false;
  }
  const uint32_t drapeaux = Ascii(nom) ? 0u : 0x0800u;  // bit 11: the name is UTF-8
  const auto position = static_cast<uint32_t>(position_);
  const auto taille = static_cast<uint32_t>(m.Taille());
  std::vector<uint8_t> v;
  Mot32(v, 0x04034B50);  // local file header
  Mot16(v, 10);          // version needed: 1.0, stored
  Mot16(v, drapeaux);
  Mot16(v, 0);  // stored
  Mot16(v, heure_);
  Mot16(v, date_);
  Mot32(v, m.Crc());
  Mot32(v, taille);
  Mot32(v, taille);
  Mot16(v, static_cast<uint32_t>(nom.size()));
  Mot16(v, 0);  // no extra field
  v.insert(v.end(), nom.begin(), nom.end());
  if (!Ecrit(v)) return false;
  Compte compte(sortie_);
  if (!produit(compte) || compte.Taille() != m.Taille()) {
    erreur_ = "« " + nom + " » n'a pas pu être écrit";
    return false;
  }
  position_ += compte.Taille();
  std::vector<uint8_t>& r = repertoire_;
  Mot32(r, 0x02014B50);  // central directory header
  Mot16(r, 0x0314);      // made by: Unix, 2.0
  Mot16(r, 10);
  Mot16(r, drapeaux);
  Mot16(r, 0);
  Mot16(r, heure_);
  Mot16(r, date_);
  Mot32(r, m.Crc());
  Mot32(r, taille);
  Mot32(r, taille);
  Mot16(r, static_cast<uint32_t>(nom.size()));
  Mot16(r, 0);               // extra field
  Mot16(r, 0);               // comment
  Mot16(r, 0);               // disk
  Mot16(r, 0);               // internal attributes
  Mot32(r, 0100644u << 16);  // external attributes: a regular file, rw-r--r--
  Mot32(r, position);
  r.insert(r.end(), nom.begin(), nom.end());
  ++nombre_;
  return true;
}

bool ZipEnFlux::Termine() {
  if (!erreur_.empty()) return false;
  std::vector<uint8_t> v = repertoire_;
  Mot32(v, 0x06054B50);  // end of central directory
  Mot16(v, 0);
  Mot16(v, 0);
  Mot16(v, nombre_);
  Mot16(v, nombre_);
  Mot32(v, static_cast<uint32_t>(repertoire_.size()));
  Mot32(v, static_cast<uint32_t>(position_));
  Mot16(v, 0);  // no comment
  return Ecrit(v);
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
