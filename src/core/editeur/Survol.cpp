#include "editeur/Survol.h"

#include <cmath>
#include <cstdio>

namespace korv4 {

namespace {

std::string Decimal(double v, int decimales) {
  char t[64];
  std::snprintf(t, sizeof t, "%.*f", decimales, v);
  std::string s = t;
  for (char& ch : s)
    if (ch == '.') ch = ',';
  return s;
}

// Tenths of a millimetre without a useless ",0": 8 -> "0,8", 20 -> "2".
std::string Dixiemes(int32_t d) {
  return d % 10 == 0 ? std::to_string(d / 10) : Decimal(d / 10.0, 1);
}

// A Windows-1252 byte in UTF-8.
void AjouteCaractere(std::string& s, uint8_t b) {
  static const uint16_t k80[32] = {0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021,
                                   0x2C6,  0x2030, 0x160,  0x2039, 0x152,  0x8D,   0x17D,  0x8F,
                                   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};
  const uint32_t u = b >= 0x80 && b < 0xA0 ? k80[b - 0x80] : b;
  if (u < 0x80) {
    s += static_cast<char>(u);
  } else if (u < 0x800) {
    s += static_cast<char>(0xC0 | (u >> 6));
    s += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | (u >> 12));
    s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (u & 0x3F));
  }
}

std::string Face(uint8_t couche) {
  switch (couche) {
    case 1: return "face 1";
    case 2: return "face 2";
    case 4: return "implantation";
    case 8: return "perçage";
    default: return "couche " + std::to_string(couche);
  }
}

std::string Pastille(const Circuit& c, const ElementCI& e) {
  std::string s = NomGenrePastille(e.Code);
  if (EstTrouSansCuivre(e.Code)) {
    s = "Diamètre libre";
  } else if (EstMire(e.Code)) {
    s = "Mire de centrage";
  } else {
    s = "Pastille " + s;
  }
  const int32_t d =
      e.Attribut < c.EnteteCI.DiametresPercage.size() ? c.EnteteCI.DiametresPercage[e.Attribut] : 0;
  return s + (e.Attribut > 0 && d > 0 ? ", perçage " + Dixiemes(d) + " mm" : ", sans perçage");
}

std::string Piste(const Circuit& c, Plage p, bool enMm) {
  const ElementCI& e = c.Elements[p.Premier];
  double longueur = 0;
  for (int32_t i = p.Premier; i < p.Dernier; ++i) {
    const double dx = c.Elements[i + 1].X - c.Elements[i].X;
    const double dy = c.Elements[i + 1].Y - c.Elements[i].Y;
    longueur += std::sqrt(dx * dx + dy * dy);
  }
  static const char* const kLargeurs[] = {"0,3", "0,5", "1", "1,5", "2", "2,5"};
  const std::string largeur = EstPisteCreee(e.Code)
                                  ? std::string(kLargeurs[e.Code - code::PistePremier]) + " mm"
                                  : "sans largeur";
  return "Piste " + largeur + ", " + Face(e.Couche) + ", " + Longueur(longueur, enMm) + " de long";
}

std::string Texte(const Circuit& c, Plage p) {
  std::string t;
  const int32_t fin = FinDuTexte(c, p.Premier, p.Dernier);
  const int32_t dernier = DernierCaractere(c, p.Premier, fin);
  const bool inverse = c.Elements[p.Premier].Code == code::TexteHMiroir ||
                       c.Elements[p.Premier].Code == code::TexteVMiroir;
  for (int32_t k = 0; k <= dernier - p.Premier; ++k)
    AjouteCaractere(t, c.Elements[inverse ? dernier - k : p.Premier + k].Caractere);
  return "Texte « " + t + " », " + Face(c.Elements[p.Premier].Couche);
}

std::string Dessin(const Circuit& c, Plage p) {
  const ElementCI& e = c.Elements[p.Premier];
  static const char* const kEpaisseurs[] = {"", "0,3", "0,5", "0,8", "1"};
  std::string s;
  switch (e.Code) {
    case code::Trait1: s = "Trait"; break;
    case code::Rectangle1: s = "Rectangle"; break;
    case code::Cercle: s = "Cercle"; break;
    case code::Ellipse1: s = "Ellipse"; break;
    default: s = "Dessin"; break;
  }
  if (e.Attribut >= 1 && e.Attribut <= 4) s += std::string(" ") + kEpaisseurs[e.Attribut] + " mm";
  return s + ", " + Face(e.Couche);
}

}  // namespace

std::string Longueur(double unites, bool enMm) {
  return enMm ? Decimal(unites * 0.0254, 2) + " mm" : Decimal(unites / 100, 2) + " pas";
}

std::string DecritEquipotentielle(const Equipotentielles& nets, int32_t net) {
  if (net < 0 || static_cast<size_t>(net) >= nets.Liste.size()) return "";
  const Equipotentielle& q = nets.Liste[static_cast<size_t>(net)];
  const size_t n = q.Pastilles.size();
  return "équipotentielle " + q.Nom + " (" + std::to_string(n) +
         (n > 1 ? " pastilles)" : (n == 1 ? " pastille)" : " pastille)"));
}

std::string DecritSousPointeur(const Circuit& c, int travail, int32_t x, int32_t y, bool enMm,
                               const Equipotentielles* nets) {
  std::string s;
  int32_t net = -1;
  const int face = travail == 1 || travail == 2 ? travail : 0;
  Plage p = ChercherPastille(c, x, y);
  if (!p.Vide()) {
    s = Pastille(c, c.Elements[p.Premier]);
    if (nets) net = face ? nets->De(p.Premier, face) : nets->De(p.Premier);
    if (nets && net < 0) net = nets->De(p.Premier);
  } else if (!(p = ChercherPiste(c, travail, x, y)).Vide()) {
    s = Piste(c, p, enMm);
    if (nets) net = nets->De(p.Premier);
  } else if (!(p = ChercherTexte(c, travail, x, y)).Vide()) {
    s = Texte(c, p);
    if (nets) net = nets->De(p.Premier);
  } else if (!(p = ChercherDessin(c, travail, x, y)).Vide()) {
    s = Dessin(c, p);
  } else if (!(p = ChercherGroupe(c, x, y)).Vide()) {
    s = "Groupe de " + std::to_string(p.Dernier - p.Premier + 1) + " enregistrements";
  }
  if (nets && net >= 0) s += " — " + DecritEquipotentielle(*nets, net);
  return s;
}

}  // namespace korv4
