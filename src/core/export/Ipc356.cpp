#include "export/Ipc356.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "export/Fabrication.h"

namespace korv4 {

namespace {

// A line of 80 columns filled with spaces, written field by field at its 1-based columns.
class Ligne {
 public:
  Ligne() : t_(80, ' ') {}
  void Place(size_t colonne, const std::string& s) {
    for (size_t k = 0; k < s.size() && colonne - 1 + k < t_.size(); ++k) t_[colonne - 1 + k] = s[k];
  }
  void Ajoute(std::vector<uint8_t>& v) const {
    size_t n = t_.size();
    while (n > 0 && t_[n - 1] == ' ') --n;
    v.insert(v.end(), t_.begin(), t_.begin() + static_cast<std::ptrdiff_t>(n));
    v.push_back('\n');
  }

 private:
  std::string t_;
};

void Texte(std::vector<uint8_t>& v, const std::string& s) {
  Ligne l;
  l.Place(1, s);
  l.Ajoute(v);
}

// A whole number on `chiffres` digits with leading zeros, kept within them.
std::string Chiffres(int64_t v, int chiffres) {
  int64_t max = 1;
  for (int k = 0; k < chiffres; ++k) max *= 10;
  v = std::clamp<int64_t>(v, 0, max - 1);
  char t[24];
  std::snprintf(t, sizeof t, "%0*lld", chiffres, static_cast<long long>(v));
  return t;
}

// Units (1/1000 inch) to thousandths of a millimetre.
int64_t Microns(double unites) { return std::llround(unites * 25.4); }

// A coordinate: its sign, then 6 digits.
std::string Coordonnee(int64_t microns) {
  return (microns < 0 ? "-" : "+") + Chiffres(microns < 0 ? -microns : microns, 6);
}

// The job's name: its safe characters alone.
std::string NomDuTravail(const std::string& nom) {
  std::string s;
  for (char ch : nom)
    if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
        ch == '-' || ch == '_' || ch == '.')
      s += ch;
  if (s.empty()) s = "carte";
  return s.substr(0, 60);
}

struct Point {
  std::string net;
  const ElementCI* e;
  bool trou, metallise;
  int acces;  // 0 both sides, 1 component side, 2 solder side
  int32_t percageDixiemes;
};

void EcritPoint(std::vector<uint8_t>& v, const Point& p, StylePastilles style) {
  Ligne l;
  l.Place(1, p.trou ? "317" : "327");
  l.Place(4, p.net.substr(0, 14));
  if (p.trou) {
    l.Place(33, "D" + Chiffres(static_cast<int64_t>(p.percageDixiemes) * 100, 4));
    l.Place(38, p.metallise ? "P" : "U");
  }
  l.Place(39, "A" + Chiffres(p.acces, 2));
  l.Place(42, "X" + Coordonnee(Microns(p.e->X)));
  l.Place(50, "Y" + Coordonnee(Microns(p.e->Y)));
  // The pad at the size its tool names, as the set's Gerber files draw it (a round pad: its
  // outer diameter); a bare hole at its drill.
  OuvertureJeuNm f;
  const bool ouverture =
      !EstTrouSansCuivre(p.e->Code) && OuvertureDuJeu(SortePastilleDe(p.e->Code).DCode, style, f);
  const int64_t largeur = ouverture ? f.Largeur / 1000 : int64_t{p.percageDixiemes} * 100;
  l.Place(58, "X" + Chiffres(largeur, 4));
  if (ouverture && f.Forme == 'R') {
    l.Place(63, "Y" + Chiffres(f.Hauteur / 1000, 4));
    l.Place(68, "R000");
  }
  l.Place(73, "S0");
  l.Ajoute(v);
}

}  // namespace

std::vector<uint8_t> EcritIpc356(const Circuit& c, const Equipotentielles& e,
                                 const OptionsIpc356& o) {
  const bool deuxFaces = e.FaceFaite(1) && e.FaceFaite(2);
  const auto Percage = [&](const ElementCI& p) {
    return p.Attribut >= 1 && p.Attribut < c.EnteteCI.DiametresPercage.size()
               ? std::max(0, c.EnteteCI.DiametresPercage[p.Attribut])
               : 0;
  };
  // The test points of each net, in the order of the nets.
  std::vector<std::vector<Point>> parNet(e.Liste.size());
  for (size_t k = 0; k < e.Liste.size(); ++k) {
    for (int32_t i : e.Liste[k].Pastilles) {
      const ElementCI& p = c.Elements[i];
      const int32_t percage = Percage(p);
      const bool nonMetallise =
          std::find(o.DiametresNonMetallises.begin(), o.DiametresNonMetallises.end(), percage) !=
          o.DiametresNonMetallises.end();
      if (percage > 0 && !(deuxFaces && nonMetallise)) {
        parNet[k].push_back({"", &p, true, deuxFaces, deuxFaces ? 0 : 1, percage});
        continue;
      }
      for (int face : {2, 1}) {
        if (e.De(i, face) != static_cast<int32_t>(k)) continue;
        parNet[k].push_back(
            {"", &p, percage > 0, false, deuxFaces ? (face == 2 ? 1 : 2) : 1, percage});
      }
    }
  }
  std::vector<uint8_t> v;
  const std::string nom = NomDuTravail(o.Nom);
  Texte(v, "C  IPC-D-356A netlist written by KORV4 from the nets of the copper");
  Texte(v, "C  Units: millimetres (CUST 1: 0.001 mm), in the coordinates of the Gerber files");
  Texte(v,
        std::string("C  Copper layers: ") +
            (deuxFaces ? "2 (A01 component side = face 2, A02 solder side = face 1)" : "1 (A01)"));
  Texte(v, "P  JOB   " + nom);
  Texte(v, "P  CODE  00");
  Texte(v, "P  UNITS CUST 1");
  Texte(v, "P  TITLE " + nom);
  Texte(v, "P  VER   IPC-D-356A");
  Texte(v, "P  IMAGE PRIMARY");
  for (size_t k = 0; k < parNet.size(); ++k) {
    for (Point& p : parNet[k]) {
      p.net = parNet[k].size() == 1 ? "N/C" : e.Liste[k].Nom;
      EcritPoint(v, p, o.Pastilles);
    }
  }
  // Bare holes: tooling for the test fixture, of no net.
  for (int32_t i = 1; i <= c.NbElements; ++i) {
    const ElementCI& p = c.Elements[i];
    if (!EstTrouSansCuivre(p.Code) || Percage(p) <= 0) continue;
    EcritPoint(v, {"N/C", &p, true, false, 0, Percage(p)}, o.Pastilles);
  }
  Texte(v, "999");
  return v;
}

std::vector<uint8_t> EcritIpc356(const Circuit& c, const OptionsIpc356& o) {
  return EcritIpc356(c, CalculeEquipotentielles(c, o.Pastilles, o.DiametresNonMetallises), o);
}

}  // namespace korv4
