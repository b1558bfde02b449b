#include "export/Percage.h"

#include <array>
#include <cmath>
#include <string>

namespace korv4 {

namespace {

void Ajoute(std::vector<uint8_t>& v, const std::string& s) {
  v.insert(v.end(), s.begin(), s.end());
}

void Ligne(std::vector<uint8_t>& v, const std::string& s) {
  Ajoute(v, s);
  v.push_back('\r');
  v.push_back('\n');
}

// Digits of a non-negative value, padded on the left with zeros to at least `chiffres` digits.
std::string Chiffres(int64_t v, size_t chiffres) {
  std::string s = std::to_string(v);
  if (s.size() < chiffres) s.insert(0, chiffres - s.size(), '0');
  return s;
}

// A value with a point before its last `decimales` digits and at least one digit before it.
std::string Decimal(int64_t v, size_t decimales) {
  const bool negatif = v < 0;
  std::string s = Chiffres(negatif ? -v : v, decimales + 1);
  s.insert(s.size() - decimales, 1, '.');
  return negatif ? "-" + s : s;
}

// Tool names: T01..T08 as the machines expect, continued T09, T10... past the eighth tool.
std::string NomOutilExcellon(int32_t n) { return "T" + Chiffres(n, 2); }
std::string OutilISO(int32_t n) {
  const std::string k = std::to_string(n);
  return "T" + k + " D" + k;
}
std::string PlumeHPGL(int32_t n) { return "SP" + std::to_string(n); }

// Tool diameter in inches: tenths of a millimetre x 3.94, rounded half to even, three decimals.
std::string DiametreExcellon(int32_t diametre) {
  const auto milliemes = static_cast<int64_t>(std::nearbyint(diametre * 3.94));
  return Decimal(milliemes, 3);
}

// Coordinate: 5 digits with leading zeros (values are 16-bit, so 5 digits always suffice).
std::string CoordonneeExcellon(uint16_t v) { return Chiffres(v, 5); }

// Length in millimetres: hundredths by integer division, a point before the last two digits.
std::string LongueurISO(int32_t v) { return Decimal(static_cast<int64_t>(v) * 254 / 100, 2); }

}  // namespace

ListePercages CollectePercages(const Circuit& c) {
  ListePercages l;
  // Pins in store order, then circuit holes by drill index 1..13, each in store order: a
  // stable counting sort on the drill index gives that order in two passes.
  std::array<int32_t, 14> parIndice{};
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    if (EstMire(e.Code)) {
      ++l.NbPions;
    } else if (EstPastillePercee(e.Code) && e.Attribut >= 1 && e.Attribut <= 13) {
      ++parIndice[e.Attribut];
    }
  }
  std::array<int32_t, 14> suivant{};
  int32_t n = l.NbPions + 1;
  for (int k = 1; k <= 13; ++k) {
    suivant[k] = n;
    n += parIndice[k];
  }
  l.NbPercages = n - 1;
  l.Percages.assign(static_cast<size_t>(n), Percage{});
  int32_t pion = 1;
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    if (EstMire(e.Code)) {
      l.Percages[pion++] = Percage{0, e.X, e.Y};
    } else if (EstPastillePercee(e.Code) && e.Attribut >= 1 && e.Attribut <= 13) {
      const auto d = static_cast<uint16_t>(c.EnteteCI.DiametresPercage[e.Attribut]);
      l.Percages[suivant[e.Attribut]++] = Percage{d, e.X, e.Y};
    }
  }
  // The tool list: diameters of the circuit holes, consecutive repeats collapsed. The first
  // hole always opens it, even with a diameter of 0 (a table entry read from a file), so that
  // tool k of the holes is always tool k of the table.
  int32_t precedent = -1;
  for (int32_t i = l.NbPions + 1; i <= l.NbPercages; ++i) {
    if (l.Percages[i].Diametre != precedent) {
      precedent = l.Percages[i].Diametre;
      l.Diametres.push_back(precedent);
      ++l.NbDiametres;
    }
  }
  return l;
}

bool VerifieDiametresPercage(const Circuit& c, const OptionsPercage& o, std::string& erreur) {
  if (o.Elements != ElementsAPercer::CI) return true;
  std::array<bool, 14> utilise{};
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& e = c.Elements[i];
    if (EstPastillePercee(e.Code) && e.Attribut >= 1 && e.Attribut <= 13)
      utilise[e.Attribut] = true;
  }
  std::string fautifs;
  int nombre = 0;
  for (int k = 1; k <= 13; ++k) {
    const int32_t d = c.EnteteCI.DiametresPercage[k];
    if (!utilise[k] || (d >= kDiametrePercageMin && d <= kDiametrePercageMax)) continue;
    fautifs += (nombre++ ? ", n° " : "n° ") + std::to_string(k) + " = " + std::to_string(d);
  }
  if (nombre == 0) return true;
  erreur = std::string(nombre > 1 ? "des diamètres de perçage invalides : "
                                  : "un diamètre de perçage invalide : ") +
           fautifs + " (en dixièmes de millimètre ; un foret va de " +
           std::to_string(kDiametrePercageMin) + " à " + std::to_string(kDiametrePercageMax) +
           ", soit 0,1 à 800 mm). Le circuit est sans doute endommagé : aucun fichier de perçage "
           "n'est écrit.";
  return false;
}

OptionsPercage OptionsInitiales(const ListePercages& l) {
  OptionsPercage o;
  o.Elements = l.NbPercages > l.NbPions ? ElementsAPercer::CI
               : l.NbPions > 0          ? ElementsAPercer::Pions
                                        : ElementsAPercer::Aucun;
  return o;
}

uint16_t XPercage(const Percage& p, const Cadre& etendue, FacePercage face) {
  if (face == FacePercage::Cuivre)
    return static_cast<uint16_t>(static_cast<uint16_t>(etendue.Droite) - p.X + 100);
  return static_cast<uint16_t>(p.X - static_cast<uint16_t>(etendue.Gauche) + 100);
}

uint16_t YPercage(const Percage& p, const Cadre& etendue) {
  return static_cast<uint16_t>(p.Y - static_cast<uint16_t>(etendue.Bas) + 100);
}

std::vector<Percage> PercagesChoisis(const ListePercages& l, const Cadre& etendue,
                                     const OptionsPercage& o) {
  std::vector<Percage> choisis;
  if (o.Face == FacePercage::Aucune) return choisis;
  int32_t premier = 1, dernier = 0;
  if (o.Elements == ElementsAPercer::Pions) {
    dernier = l.NbPions;
  } else if (o.Elements == ElementsAPercer::CI) {
    premier = l.NbPions + 1;
    dernier = l.NbPercages;
  }
  if (dernier >= premier) choisis.reserve(static_cast<size_t>(dernier - premier + 1));
  for (int32_t i = premier; i <= dernier; ++i) {
    const Percage& p = l.Percages[i];
    const uint16_t d = o.Elements == ElementsAPercer::Pions ? 0 : p.Diametre;
    choisis.push_back(Percage{d, XPercage(p, etendue, o.Face), YPercage(p, etendue)});
  }
  return choisis;
}

std::vector<uint8_t> EcritExcellon(const std::vector<OutilExcellon>& outils,
                                   const FormatExcellon& f) {
  size_t nombre = 0;
  for (const OutilExcellon& t : outils) nombre += t.Trous.size();
  std::vector<uint8_t> v;
  v.reserve(128 + outils.size() * 64 + nombre * (f.Metrique ? 20 : 14));
  Ligne(v, "M48");
  for (const std::string& c : f.Commentaires) Ligne(v, "; " + c);
  if (f.Metrique) {
    Ligne(v, "FMAT,2");
    Ligne(v, "METRIC,LZ");
  } else {
    Ligne(v, "INCH,LZ");
  }
  for (size_t k = 0; k < outils.size(); ++k) {
    if (!outils[k].Fonction.empty()) Ligne(v, "; #@! TA.AperFunction," + outils[k].Fonction);
    Ligne(v, NomOutilExcellon(static_cast<int32_t>(k + 1)) + "C" + outils[k].Taille);
  }
  Ligne(v, "%");
  if (f.Metrique) {
    Ligne(v, "G90");
    Ligne(v, "G05");
  }
  auto Position = [&f](int32_t p) {
    return f.Metrique ? Decimal(static_cast<int64_t>(p) * 254, 4)
                      : CoordonneeExcellon(static_cast<uint16_t>(p));
  };
  for (size_t k = 0; k < outils.size(); ++k) {
    if (outils[k].Trous.empty()) continue;
    Ligne(v, NomOutilExcellon(static_cast<int32_t>(k + 1)));
    for (const auto& [x, y] : outils[k].Trous) Ligne(v, "X" + Position(x) + "Y" + Position(y));
  }
  if (!f.Metrique) Ligne(v, "T00");
  Ligne(v, "M30");
  return v;
}

std::vector<uint8_t> SaveExcellon(const ListePercages& l, const Cadre& etendue,
                                  const OptionsPercage& o) {
  // Every pin with one 0.125 inch tool; circuit holes with a tool per run of one diameter.
  std::vector<OutilExcellon> outils;
  if (o.Elements == ElementsAPercer::Pions) {
    outils.push_back({"0.125", {}, {}});
  } else {
    for (int32_t k = 1; k <= l.NbDiametres; ++k)
      outils.push_back({DiametreExcellon(l.Diametres[k]), {}, {}});
  }
  size_t outil = 0;
  int32_t diametre = -1;
  for (const Percage& p : PercagesChoisis(l, etendue, o)) {
    if (p.Diametre != diametre) {
      if (diametre >= 0) ++outil;
      diametre = p.Diametre;
    }
    if (outil >= outils.size()) outils.push_back({"", {}, {}});  // never: runs follow the list
    outils[outil].Trous.push_back({p.X, p.Y});
  }
  return EcritExcellon(outils, FormatExcellon{});
}

std::vector<uint8_t> SaveISO(const ListePercages& l, const Cadre& etendue,
                             const OptionsPercage& o) {
  const std::vector<Percage> trous = PercagesChoisis(l, etendue, o);
  std::vector<uint8_t> v;
  v.reserve(256 + trous.size() * 24);
  int32_t bloc = 0;
  auto Bloc = [&](const std::string& s) {
    bloc += 5;
    Ligne(v, "N" + std::to_string(bloc) + " " + s);
  };
  // "%5000" and the dimensions on one line.
  Ligne(v, "%5000Dimensions du circuit : X=" + LongueurISO(etendue.Droite - etendue.Gauche) +
               " mm - Y=" + LongueurISO(etendue.Haut - etendue.Bas));
  if (o.Elements == ElementsAPercer::Pions)
    Ligne(v,
          "Per\xE7"
          "age des pions de centrage");
  if (o.Elements == ElementsAPercer::CI)
    Ligne(v,
          "Per\xE7"
          "age du circuit imprim\xE9");
  int32_t outil = 0, diametre = -1;
  for (const Percage& p : trous) {
    const std::string x = LongueurISO(p.X), y = LongueurISO(p.Y);
    if (p.Diametre <= diametre) {
      Bloc("X" + x + " Y" + y);
      continue;
    }
    // Close the tool in use; pins (all of diameter 0) only ever use one.
    if (outil > 0) {
      Bloc("G80 G0 Z10 ");
      Bloc("G52 G0 M5 ");
      Bloc("M0 ");
    }
    diametre = p.Diametre;
    Bloc(OutilISO(++outil));
    Bloc("X0 Y0 Z10");
    Bloc("M3 S3000");
    Bloc("G81 X" + x + " Y" + y + " ER3 Z-4 F300");
  }
  Bloc("G52 G0 X0 Y0 Z0");
  Bloc("M5");
  Bloc("M2");
  v.push_back(0);   // NUL
  v.push_back(19);  // DC3: end of tape
  return v;
}

std::vector<uint8_t> SaveHPGL(const ListePercages& l, const Cadre& etendue,
                              const OptionsPercage& o) {
  const std::vector<Percage> trous = PercagesChoisis(l, etendue, o);
  std::vector<uint8_t> v;
  v.reserve(32 + trous.size() * 24);
  Ajoute(v, "IN;");
  int32_t plume = 0, diametre = -1;
  for (const Percage& p : trous) {
    if (p.Diametre > diametre) {
      diametre = p.Diametre;
      Ajoute(v, PlumeHPGL(++plume) + ";");
    }
    // Plotter units of 0.025 mm.
    const uint32_t x = static_cast<uint32_t>(p.X) * 1016 / 1000;
    const uint32_t y = static_cast<uint32_t>(p.Y) * 1016 / 1000;
    Ajoute(v, "PA" + std::to_string(x) + "," + std::to_string(y) + ";PD;PU;");
  }
  Ajoute(v, "PU;SP0;IN;");
  return v;
}

std::vector<uint8_t> SavePEX(const ListePercages& l, const Cadre& etendue,
                             const OptionsPercage& o) {
  int32_t nombre = 0;
  if (o.Elements == ElementsAPercer::Pions) nombre = l.NbPions;
  if (o.Elements == ElementsAPercer::CI) nombre = l.NbPercagesCI();
  if (nombre > kPercagesMaxPEX) return {};
  const std::vector<Percage> trous = PercagesChoisis(l, etendue, o);
  std::vector<uint8_t> v;
  v.reserve(2 + trous.size() * 6);
  auto Mot = [&v](uint16_t m) {
    v.push_back(static_cast<uint8_t>(m & 0xFF));
    v.push_back(static_cast<uint8_t>(m >> 8));
  };
  // The count comes first, whatever the side: with no side chosen the file holds it alone.
  Mot(static_cast<uint16_t>(nombre));
  for (const Percage& p : trous) {
    Mot(p.Diametre);
    Mot(p.X);
    Mot(p.Y);
  }
  return v;
}

std::vector<uint8_t> EcritFichierPercage(FormatPercage f, const ListePercages& l,
                                         const Cadre& etendue, const OptionsPercage& o) {
  switch (f) {
    case FormatPercage::Excellon: return SaveExcellon(l, etendue, o);
    case FormatPercage::ISO: return SaveISO(l, etendue, o);
    case FormatPercage::HPGL: return SaveHPGL(l, etendue, o);
    case FormatPercage::PEX: return SavePEX(l, etendue, o);
  }
  return {};
}

}  // namespace korv4
