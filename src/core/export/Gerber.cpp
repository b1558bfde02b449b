#include "export/Gerber.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace korv4 {

namespace {

void Ajoute(std::vector<uint8_t>& v, const char* s) {
  while (*s) v.push_back(static_cast<uint8_t>(*s++));
}
void Ajoute(std::vector<uint8_t>& v, const std::string& s) {
  v.insert(v.end(), s.begin(), s.end());
}
void Ligne(std::vector<uint8_t>& v, const std::string& s) {
  Ajoute(v, s);
  Ajoute(v, "\r\n");
}

// Digits of |v| with at least `chiffres` digits, a minus sign before a negative value, and a
// comma or point before the last `decimales` digits when decimales > 0.
std::string Nombre(int64_t v, size_t chiffres, size_t decimales = 0, char separateur = ',') {
  const bool negatif = v < 0;
  std::string s = std::to_string(negatif ? -v : v);
  if (s.size() < chiffres) s.insert(0, chiffres - s.size(), '0');
  if (decimales > 0) s.insert(s.size() - decimales, 1, separateur);
  return negatif ? "-" + s : s;
}

// The value rounded up to a multiple of m (truncating division, as the header has always done).
int64_t ArrondiHaut(int64_t v, int64_t m) {
  int64_t r = v / m * m;
  if (r < v) r += m;
  return r;
}

// Board size in inches ("1,240") and in millimetres to the half millimetre ("31,5").
std::string Pouces(int32_t v) { return Nombre(ArrondiHaut(v, 10), 4, 3); }
std::string Millimetres(int32_t v) {
  return Nombre(ArrondiHaut(static_cast<int64_t>(v) * 254 / 1000, 5), 2, 1);
}

}  // namespace

void TraceurGerber::Ouverture(int dcode) { Ligne(sortie_, "D" + std::to_string(dcode) + "*"); }

void TraceurGerber::Point(int32_t x, int32_t y, const char* operation) {
  char tampon[48];
  char* p = tampon;
  auto Coordonnee = [&p](int64_t v) {
    if (v < 0) {
      *p++ = '-';
      v = -v;
    }
    char chiffres[20];
    int n = 0;
    do {
      chiffres[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v > 0);
    for (int k = n; k < 5; ++k) *p++ = '0';
    while (n > 0) *p++ = chiffres[--n];
  };
  *p++ = 'X';
  Coordonnee(static_cast<int64_t>(x) - xmin_ + 100);
  *p++ = 'Y';
  Coordonnee(static_cast<int64_t>(y) - ymin_ + 100);
  while (*operation) *p++ = *operation++;
  *p++ = '\r';
  *p++ = '\n';
  sortie_.insert(sortie_.end(), tampon, p);
}

namespace {

// Everything a layer file writes before its first plotting command.
void EcritEntete(std::vector<uint8_t>& v, const std::vector<ElementCI>& elements,
                 const Cadre& etendue, StylePastilles style) {
  std::array<bool, 256> utilisees{};
  for (const ElementCI& e : elements) utilisees[static_cast<size_t>(DCodeDe(e) & 0xFF)] = true;
  const int32_t w = etendue.Droite - etendue.Gauche, h = etendue.Haut - etendue.Bas;
  Ligne(v, "*G04 KORV4 : Fichier au format GERBER*");
  Ligne(v, "*G04 Dimension du CI en \"  : X=" + Pouces(w) + " \" , Y=" + Pouces(h) + " \" *");
  Ligne(v,
        "*G04 Dimension du CI en mm: X=" + Millimetres(w) + " mm , Y=" + Millimetres(h) + " mm *");
  Ligne(v,
        "*G04 D\xE9"
        "finition des outils*");
  Ligne(v, "%FSAX23Y23*%");
  Ligne(v, "%MOIN*%");
  Ligne(v, "%OFA0B0*%");
  Ligne(v, "%SFA1.0B1.0*%");

  // The aperture block: one definition a line, "%" glued to the first and the last.
  Ajoute(v, "%");
  bool premiere = true;
  // In the order of the D-codes, each defined once.
  for (int dcode = 0; dcode < 256; ++dcode) {
    if (!utilisees[static_cast<size_t>(dcode)]) continue;
    const char* definition = DefinitionOuverture(dcode, style);
    if (definition == nullptr) continue;
    if (!premiere) Ajoute(v, "\r\n");
    premiere = false;
    Ajoute(v, definition);
  }
  Ajoute(v, "%\r\n");
  Ligne(v, "G70*");
  Ligne(v, "G90*");
  Ligne(v, "G01*");
}

constexpr size_t kMorceau = 64 * 1024;

// A Gerber plotter whose buffer goes to a flux between records, once it holds a piece.
class TraceurVersFlux final : public Traceur {
 public:
  TraceurVersFlux(std::vector<uint8_t>& tampon, const Cadre& etendue, FluxOctets& flux)
      : tampon_(tampon), gerber_(tampon, etendue), flux_(flux) {}
  void Ouverture(int dcode) override { gerber_.Ouverture(dcode); }
  void Point(int32_t x, int32_t y, const char* operation) override {
    gerber_.Point(x, y, operation);
  }
  void Element(size_t) override {
    if (tampon_.size() >= kMorceau) Vide();
  }
  // Gives the buffer to the flux (once it has refused a piece, drops it); false after a refusal.
  bool Vide() {
    if (ok_ && !tampon_.empty()) ok_ = flux_.Ecrit(tampon_.data(), tampon_.size());
    tampon_.clear();
    return ok_;
  }

 private:
  std::vector<uint8_t>& tampon_;
  TraceurGerber gerber_;
  FluxOctets& flux_;
  bool ok_ = true;
};

}  // namespace

std::vector<uint8_t> EcritFichierGerber(const std::vector<ElementCI>& elements,
                                        const Cadre& etendue, StylePastilles style) {
  std::vector<uint8_t> v;
  // About 60 bytes a record on real boards (texts and outlines are several lines): one
  // allocation, no copy while the file grows.
  v.reserve(1024 + elements.size() * 64);
  EcritEntete(v, elements, etendue, style);
  TraceurGerber t(v, etendue);
  TraceElements(t, elements);
  Ligne(v, "M02*");
  return v;
}

bool EcritFichierGerber(const std::vector<ElementCI>& elements, const Cadre& etendue,
                        StylePastilles style, FluxOctets& sortie) {
  std::vector<uint8_t> tampon;
  // A piece, and the largest record's plotting (a circle of the largest radius) beyond it.
  tampon.reserve(kMorceau + 256 * 1024);
  EcritEntete(tampon, elements, etendue, style);
  TraceurVersFlux t(tampon, etendue, sortie);
  TraceElements(t, elements);
  Ligne(tampon, "M02*");
  return t.Vide();
}

std::vector<CoucheGerber> CouchesGerber(const Circuit& c) {
  const std::array<uint8_t, 5> couches = CouchesUtilisees(c);
  const bool pastilles = couches[0], face1 = couches[1], face2 = couches[2];
  const bool implantation = couches[3];
  std::vector<CoucheGerber> liste;
  // A board of pads alone goes to the face-1 file.
  if (face1 || (pastilles && !face2)) liste.push_back({kMasqueFace1, "-FC1.GBR"});
  if (face2) liste.push_back({kMasqueFace2, "_FC2.GBR"});
  if (implantation) liste.push_back({kMasqueImplantation, "_SER.GBR"});
  return liste;
}

std::vector<FichierGerber> ExporteGerber(const Circuit& c, const Cadre& etendue,
                                         StylePastilles style, const std::string& base) {
  std::vector<FichierGerber> fichiers;
  for (const CoucheGerber& k : CouchesGerber(c))
    fichiers.push_back({base + k.Suffixe,
                        EcritFichierGerber(CollecteElementsGerber(c, k.Masque), etendue, style)});
  return fichiers;
}

}  // namespace korv4
