// The board-house set made in memory: which files, what their apertures and coordinates say
// against the board they come from.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "export/Fabrication.h"
#include "export/Percage.h"
#include "export/Zip.h"
#include "render/CircuitExemple.h"

namespace korv4 {
namespace {

std::string Texte(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

const FichierFabrication* Trouve(const JeuFabrication& j, const std::string& nom) {
  for (const FichierFabrication& f : j.Fichiers)
    if (f.Nom == nom) return &f;
  return nullptr;
}

std::vector<std::string> Noms(const JeuFabrication& j) {
  std::vector<std::string> n;
  for (const FichierFabrication& f : j.Fichiers) n.push_back(f.Nom);
  return n;
}

// Aperture definitions of a Gerber file: D-code -> (kind letter, first size in inches).
std::map<int, std::pair<char, double>> Ouvertures(const std::string& gerber) {
  std::map<int, std::pair<char, double>> o;
  static const std::regex def(R"(%ADD(\d+)([RCP]),([0-9.]+))");
  for (std::sregex_iterator i(gerber.begin(), gerber.end(), def), fin; i != fin; ++i)
    o[std::stoi((*i)[1])] = {(*i)[2].str()[0], std::stod((*i)[3])};
  return o;
}

// Every plotted point of a Gerber file, in units.
std::vector<std::pair<int, int>> Points(const std::string& gerber) {
  std::vector<std::pair<int, int>> p;
  static const std::regex point(R"(X(-?\d+)Y(-?\d+)D0[123]\*)");
  for (std::sregex_iterator i(gerber.begin(), gerber.end(), point), fin; i != fin; ++i)
    p.push_back({std::stoi((*i)[1]), std::stoi((*i)[2])});
  return p;
}

// Pads 199 (3.2 mm round, drill 1 mm), 193 (rectangular, no drill) and 197 (square, drill 0.8
// mm) on a double-sided board, a track on each face, a placement text.
Circuit Carte() {
  Circuit c;
  c.EnteteCI.SurfaceX = 4000;
  c.EnteteCI.SurfaceY = 3000;
  AjouteRecord(c, 3, 199, 2, 1000, 1000);
  AjouteRecord(c, 3, 199, 2, 2000, 1000);
  AjouteRecord(c, 3, 193, 0, 1500, 2000);
  AjouteRecord(c, 3, 197, 1, 2500, 2000);
  AjouteRecord(c, 2, 162, kPremierPoint, 1000, 1000);
  AjouteRecord(c, 2, 162, kDernierPoint, 2000, 1000);
  AjouteRecord(c, 1, 163, kPremierPoint, 1500, 2000);
  AjouteRecord(c, 1, 163, kDernierPoint, 2500, 2000);
  for (int k = 0; k < 3; ++k) AjouteRecord(c, 4, 64, 2, 300 + 150 * k, 2600, "R12"[k]);
  AjouteRecord(c, 4, code::FinTexte, 0, 0, 0);
  return c;
}

TEST(Fabrication, CouchesPresentes) {
  struct Cas {
    const char* nom;
    std::vector<std::pair<uint8_t, uint8_t>> records;  // (layer, kind)
    std::vector<std::string> fichiers;
  };
  const std::vector<Cas> cas = {
      {"double face",
       {{3, 199}, {1, 162}, {2, 162}, {4, 128}, {4, 129}},
       {"b.GTL", "b.GBL", "b.GTO", "b.GTS", "b.GBS", "b.GKO", "b.DRL", "LISEZMOI.md"}},
      // Pads alone go to the bottom copper, as in the Gerber export.
      {"pastilles", {{3, 199}}, {"b.GBL", "b.GBS", "b.GKO", "b.DRL", "LISEZMOI.md"}},
      // A pad without hole: no drill file; a pin alone: copper, no mask, no drill.
      {"sans trou", {{3, 193}, {2, 162}}, {"b.GTL", "b.GTS", "b.GKO", "LISEZMOI.md"}},
      {"pion", {{3, 205}}, {"b.GBL", "b.GKO", "LISEZMOI.md"}},
      {"implantation", {{4, 128}, {4, 129}}, {"b.GTO", "b.GKO", "LISEZMOI.md"}},
      {"plan de percage", {{8, 128}, {8, 129}}, {}},
      {"vide", {}, {}},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    Circuit c;
    int32_t x = 1000;
    for (const auto& [couche, genre] : k.records) {
      const uint8_t attribut = genre == 199 ? 2
                                            : (genre == 162   ? kPremierPoint
                                               : genre >= 192 ? 0
                                                              : 1);
      AjouteRecord(c, couche, genre, attribut, x, 1000);
      if (genre == 162) AjouteRecord(c, couche, genre, kDernierPoint, x + 200, 1000);
      x += 500;
    }
    OptionsFabrication o;
    o.Base = "b";
    const JeuFabrication j = FabriqueJeu(c, o);
    EXPECT_TRUE(j.Erreur.empty()) << j.Erreur;
    EXPECT_EQ(Noms(j), k.fichiers);
  }
}

TEST(Fabrication, AttributsEtUneOuvertureParBloc) {
  const JeuFabrication j = FabriqueJeu(Carte(), {});
  const std::map<std::string, std::string> fonctions = {
      {"carte.GTL", "Copper,L1,Top"},  {"carte.GBL", "Copper,L2,Bot"},  {"carte.GTO", "Legend,Top"},
      {"carte.GTS", "Soldermask,Top"}, {"carte.GBS", "Soldermask,Bot"}, {"carte.GKO", "Profile,NP"},
      {"carte.DRL", "Plated,1,2,PTH"}};
  for (const auto& [nom, fonction] : fonctions) {
    SCOPED_TRACE(nom);
    const FichierFabrication* f = Trouve(j, nom);
    ASSERT_NE(f, nullptr);
    const std::string t = Texte(f->Octets);
    EXPECT_NE(t.find("#@! TF.FileFunction," + fonction), std::string::npos);
    EXPECT_EQ(t.find("%TF"), std::string::npos);
    if (nom == "carte.DRL") continue;
    EXPECT_NE(t.find("G04 #@! TF.FilePolarity," +
                     std::string(nom.back() == 'S' ? "Negative" : "Positive") + "*"),
              std::string::npos);
    // Every extended command alone in its block, on one line.
    std::istringstream lignes(t);
    for (std::string l; std::getline(lignes, l);) {
      if (!l.empty() && l.back() == '\r') l.pop_back();
      if (l.find('%') == std::string::npos) continue;
      EXPECT_TRUE(l.size() > 2 && l.front() == '%' && l.back() == '%') << l;
      EXPECT_EQ(std::count(l.begin(), l.end(), '*'), 1) << l;
    }
    EXPECT_EQ(t.substr(t.size() - 6), "M02*\r\n");
  }
}

TEST(Fabrication, OuverturesDuVernisPlusGrandesQueLesPastilles) {
  for (double marge : {0.0, 0.1, 0.25}) {
    for (StylePastilles style : {StylePastilles::Octogonales, StylePastilles::Circulaires}) {
      OptionsFabrication o;
      o.MargeMasqueMm = marge;
      o.Pastilles = style;
      const JeuFabrication j = FabriqueJeu(Carte(), o);
      for (const auto& [cuivre, vernis] :
           {std::pair{"carte.GTL", "carte.GTS"}, std::pair{"carte.GBL", "carte.GBS"}}) {
        const auto pastilles = Ouvertures(Texte(Trouve(j, cuivre)->Octets));
        const auto ouvertures = Ouvertures(Texte(Trouve(j, vernis)->Octets));
        // The mask holds the pads' apertures only, each wider by twice the margin (an octagon
        // across its flats).
        ASSERT_EQ(ouvertures.size(), 3u);
        for (const auto& [d, forme] : ouvertures) {
          SCOPED_TRACE(std::to_string(d) + " " + std::to_string(marge));
          ASSERT_TRUE(pastilles.count(d));
          EXPECT_EQ(pastilles.at(d).first, forme.first);
          const double plat = forme.first == 'P' ? std::cos(3.14159265358979323846 / 8) : 1;
          EXPECT_NEAR((forme.second - pastilles.at(d).second) * plat, 2 * marge / 25.4, 2e-6);
        }
        // Flashed at the pads' places.
        EXPECT_EQ(Points(Texte(Trouve(j, vernis)->Octets)),
                  (std::vector<std::pair<int, int>>{
                      {1500, 2000}, {2500, 2000}, {1000, 1000}, {2000, 1000}}));
      }
    }
  }
}

TEST(Fabrication, Contour) {
  Circuit c = Carte();
  OptionsFabrication o;
  const auto surface = Points(Texte(Trouve(FabriqueJeu(c, o), "carte.GKO")->Octets));
  EXPECT_EQ(surface,
            (std::vector<std::pair<int, int>>{{0, 0}, {4000, 0}, {4000, 3000}, {0, 3000}, {0, 0}}));
  // The extent: every point drawn by a layer lies inside, by the margin at least (less the
  // half-width of a stroke or pad, at most 0.2 inch here).
  o.Contour = ContourFabrication::Etendue;
  o.MargeContourMm = 2;  // 78.7 units
  const JeuFabrication j = FabriqueJeu(c, o);
  const auto cadre = Points(Texte(Trouve(j, "carte.GKO")->Octets));
  ASSERT_EQ(cadre.size(), 5u);
  const int g = cadre[0].first, b = cadre[0].second, d = cadre[2].first, h = cadre[2].second;
  int xmin = 1 << 30, ymin = 1 << 30, xmax = -xmin, ymax = -ymin;
  for (const char* nom : {"carte.GTL", "carte.GBL", "carte.GTO"})
    for (const auto& [x, y] : Points(Texte(Trouve(j, nom)->Octets))) {
      xmin = std::min(xmin, x);
      ymin = std::min(ymin, y);
      xmax = std::max(xmax, x);
      ymax = std::max(ymax, y);
    }
  // Beyond the outermost point by the margin (78.7 units) plus at most the half-width of what
  // is drawn there (63 for the round pad, less for strokes).
  for (int ecart : {xmin - g, ymin - b, d - xmax, h - ymax}) {
    EXPECT_GE(ecart, 78);
    EXPECT_LE(ecart, 79 + 63);
  }
  EXPECT_LT(g, xmin);
  EXPECT_LT(b, ymin);
  EXPECT_GT(d, xmax);
  EXPECT_GT(h, ymax);
}

TEST(Fabrication, PercageEtResume) {
  Circuit c = Carte();
  c.EnteteCI.DiametresPercage[2] = 10;  // 1 mm
  const JeuFabrication j = FabriqueJeu(c, {});
  const std::string drl = Texte(Trouve(j, "carte.DRL")->Octets);
  // One tool per diameter, in inches; each hole at its pad.
  EXPECT_NE(drl.find("INCH,LZ\r\nT01C0.0315\r\nT02C0.0394\r\n%\r\n"), std::string::npos) << drl;
  EXPECT_NE(drl.find("T01\r\nX2.500Y2.000\r\nT02\r\nX1.000Y1.000\r\nX2.000Y1.000\r\nM30\r\n"),
            std::string::npos)
      << drl;
  const std::string resume = Texte(Trouve(j, "LISEZMOI.md")->Octets);
  for (const char* attendu :
       {"| carte.GTL | cuivre côté composants (face 2) |", "| carte.DRL |",
        "Dimensions de la carte : 101,60 x 76,20 mm (contour : surface de travail)",
        "Trous (3) :\n\n- 0,80 mm : 1\n- 1,00 mm : 2\n", "Piste la plus fine : 0,51 mm."})
    EXPECT_NE(resume.find(attendu), std::string::npos) << attendu << "\n" << resume;
}

TEST(Fabrication, RefusSansRienChanger) {
  Circuit c = Carte();
  c.EnteteCI.DiametresPercage[2] = 0;  // a damaged table
  const Circuit avant = c;
  JeuFabrication j = FabriqueJeu(c, {});
  EXPECT_TRUE(j.Fichiers.empty());
  EXPECT_NE(j.Erreur.find("diamètre de perçage invalide"), std::string::npos) << j.Erreur;
  EXPECT_TRUE(std::equal(c.Elements.begin(), c.Elements.end(), avant.Elements.begin()));
  for (double marge : {-0.1, 5.5, std::nan("")}) {
    OptionsFabrication o;
    o.MargeMasqueMm = marge;
    j = FabriqueJeu(Carte(), o);
    EXPECT_TRUE(j.Fichiers.empty());
    EXPECT_FALSE(j.Erreur.empty());
  }
}

TEST(Zip, Crc32) {
  const std::string s = "123456789";
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(s.data()), s.size()), 0xCBF43926u);
  EXPECT_EQ(Crc32(nullptr, 0), 0u);
}

}  // namespace
}  // namespace korv4
