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
#include "export/Ipc356.h"
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

// Aperture definitions of a Gerber file: D-code -> (kind letter, first size in its unit).
std::map<int, std::pair<char, double>> Ouvertures(const std::string& gerber) {
  std::map<int, std::pair<char, double>> o;
  static const std::regex def(R"(%ADD(\d+)([RCP]),([0-9.]+))");
  for (std::sregex_iterator i(gerber.begin(), gerber.end(), def), fin; i != fin; ++i)
    o[std::stoi((*i)[1])] = {(*i)[2].str()[0], std::stod((*i)[3])};
  return o;
}

// Every plotted point of a Gerber file, as written.
std::vector<std::pair<int64_t, int64_t>> Points64(const std::string& gerber) {
  std::vector<std::pair<int64_t, int64_t>> p;
  static const std::regex point(R"(X(-?\d+)Y(-?\d+)D0[123]\*)");
  for (std::sregex_iterator i(gerber.begin(), gerber.end(), point), fin; i != fin; ++i)
    p.push_back({std::stoll((*i)[1]), std::stoll((*i)[2])});
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

// Every plotted point of a Gerber file of the set, in units (the files are in nanometres).
std::vector<std::pair<int, int>> PointsUnites(const std::string& gerber) {
  std::vector<std::pair<int, int>> p;
  for (const auto& [x, y] : Points64(gerber))
    p.push_back({static_cast<int>(x / 25400), static_cast<int>(y / 25400)});
  return p;
}

// Holes of an Excellon file of the set: (x, y) in units, by tool diameter in mm.
std::vector<std::pair<int, int>> TrousExcellon(const std::string& drl) {
  std::vector<std::pair<int, int>> t;
  static const std::regex trou(R"(X(-?[0-9.]+)Y(-?[0-9.]+)\r)");
  for (std::sregex_iterator i(drl.begin(), drl.end(), trou), fin; i != fin; ++i)
    t.push_back({static_cast<int>(std::lround(std::stod((*i)[1]) / 0.0254)),
                 static_cast<int>(std::lround(std::stod((*i)[2]) / 0.0254))});
  return t;
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
       {"b.GTL", "b.GBL", "b.GTO", "b.GTS", "b.GBS", "b.GKO", "b-PTH.DRL", "b-netlist.ipc",
        "b.gbrjob", "LISEZMOI.md"}},
      // Pads alone go to the bottom copper, as in the Gerber export: one copper layer, so its
      // holes are not plated.
      {"pastilles",
       {{3, 199}},
       {"b.GBL", "b.GBS", "b.GKO", "b-NPTH.DRL", "b-netlist.ipc", "b.gbrjob", "LISEZMOI.md"}},
      // A pad without hole: no drill file; a target alone: nothing the board house makes.
      {"sans trou",
       {{3, 193}, {2, 162}},
       {"b.GTL", "b.GTS", "b.GKO", "b-netlist.ipc", "b.gbrjob", "LISEZMOI.md"}},
      {"pion", {{3, 205}}, {}},
      {"double face et trou sans cuivre",
       {{3, 199}, {3, 204}, {1, 162}, {2, 162}},
       {"b.GTL", "b.GBL", "b.GTS", "b.GBS", "b.GKO", "b-PTH.DRL", "b-NPTH.DRL", "b-netlist.ipc",
        "b.gbrjob", "LISEZMOI.md"}},
      {"implantation", {{4, 128}, {4, 129}}, {"b.GTO", "b.GKO", "b.gbrjob", "LISEZMOI.md"}},
      {"plan de percage", {{8, 128}, {8, 129}}, {}},
      {"vide", {}, {}},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    Circuit c;
    int32_t x = 1000;
    for (const auto& [couche, genre] : k.records) {
      const uint8_t attribut = genre == 199 || genre == 204 ? 2
                               : genre == 162               ? kPremierPoint
                               : genre >= 192               ? 0
                                                            : 1;
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

// Each file's X2 function matches its name, on a double-sided and a single-sided board; every
// Gerber file is metric, every aperture has its function, every extended command is alone in
// its block; the job file lists every file with the same function and polarity.
TEST(Fabrication, FonctionsX2SelonLeNom) {
  Circuit simple;
  simple.EnteteCI.SurfaceX = 4000;
  simple.EnteteCI.SurfaceY = 3000;
  AjouteRecord(simple, 3, 199, 2, 1000, 1000);
  AjouteRecord(simple, 3, 199, 2, 2000, 1000);
  AjouteRecord(simple, 1, 163, kPremierPoint, 1000, 1000);
  AjouteRecord(simple, 1, 163, kDernierPoint, 2000, 1000);
  struct Cas {
    const char* nom;
    Circuit c;
    std::map<std::string, std::string> fonctions;  // by the end of the name
  };
  const std::vector<Cas> cas = {
      {"double face",
       Carte(),
       {{".GTL", "Copper,L1,Top"},
        {".GBL", "Copper,L2,Bot"},
        {".GTO", "Legend,Top"},
        {".GTS", "Soldermask,Top"},
        {".GBS", "Soldermask,Bot"},
        {".GKO", "Profile,NP"},
        {"-PTH.DRL", "Plated,1,2,PTH"},
        {"-netlist.ipc", "Other,IPC-D-356A netlist"}}},
      {"simple face",
       simple,
       {{".GBL", "Copper,L1,Bot"},
        {".GBS", "Soldermask,Bot"},
        {".GKO", "Profile,NP"},
        {"-NPTH.DRL", "NonPlated,1,1,NPTH"},
        {"-netlist.ipc", "Other,IPC-D-356A netlist"}}},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    OptionsFabrication o;
    o.Date = "2026-12-11T02:00:00+01:00";
    const JeuFabrication j = FabriqueJeu(k.c, o);
    ASSERT_EQ(j.Fichiers.size(), k.fonctions.size() + 2);
    const std::string travail = Texte(Trouve(j, "carte.gbrjob")->Octets);
    for (const auto& [fin, fonction] : k.fonctions) {
      SCOPED_TRACE(fin);
      const FichierFabrication* f = Trouve(j, "carte" + fin);
      ASSERT_NE(f, nullptr);
      const std::string t = Texte(f->Octets);
      const bool excellon = fin.find(".DRL") != std::string::npos;
      if (fin == "-netlist.ipc") {  // no X2 file: listed in the job file only
        EXPECT_NE(travail.find("\"Path\": \"carte" + fin + "\",\n      \"FileFunction\": \"" +
                               fonction + "\""),
                  std::string::npos)
            << travail;
        continue;
      }
      const std::string debut = excellon ? "; #@! " : "G04 #@! ", finLigne = excellon ? "" : "*";
      const std::string polarite = fin.back() == 'S' ? "Negative" : "Positive";
      for (const std::string& a :
           {"TF.FileFunction," + fonction, std::string("TF.GenerationSoftware,KORV4,korv4,"),
            std::string("TF.CreationDate,2026-12-11T02:00:00+01:00"),
            std::string("TF.SameCoordinates"), std::string("TF.ProjectId,carte,")})
        EXPECT_NE(t.find(debut + a), std::string::npos) << a << "\n" << t;
      EXPECT_NE(travail.find("\"Path\": \"carte" + fin + "\",\n      \"FileFunction\": \"" +
                             fonction + "\",\n      \"FilePolarity\": \"" + polarite + "\""),
                std::string::npos)
          << travail;
      if (excellon) {
        EXPECT_NE(t.find("FMAT,2\r\nMETRIC,LZ\r\n"), std::string::npos) << t;
        continue;
      }
      EXPECT_NE(t.find("G04 #@! TF.FilePolarity," + polarite + "*"), std::string::npos);
      EXPECT_NE(t.find("%FSLAX46Y46*%\r\n%MOMM*%\r\n"), std::string::npos);
      EXPECT_EQ(t.find("%TF"), std::string::npos);
      std::istringstream lignes(t);
      std::string precedente;
      for (std::string l; std::getline(lignes, l); precedente = l) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        if (l.find('%') == std::string::npos) continue;
        EXPECT_TRUE(l.size() > 2 && l.front() == '%' && l.back() == '%') << l;
        EXPECT_EQ(std::count(l.begin(), l.end(), '*'), 1) << l;
        if (l.rfind("%ADD", 0) == 0) {
          EXPECT_EQ(precedente.rfind("G04 #@! TA.AperFunction,", 0), 0u) << l;
        }
      }
      EXPECT_EQ(t.substr(t.size() - 6), "M02*\r\n");
    }
  }
}

// Apertures at the sizes the tools name: a 0.5 mm track is 0.5 mm, a 3.2 mm pad 3.2 mm; pads
// without a hole are SMD pads, pads with one component pads; tracks conductors.
TEST(Fabrication, OuverturesEnMillimetresAvecLeurFonction) {
  const JeuFabrication j = FabriqueJeu(Carte(), {});
  const std::string gtl = Texte(Trouve(j, "carte.GTL")->Octets);
  for (const char* attendu :
       {"G04 #@! TA.AperFunction,SMDPad,CuDef*\r\n%ADD11R,0.900000X1.500000*%",
        "G04 #@! TA.AperFunction,ComponentPad*\r\n%ADD17P,3.200000X8X22.5*%",
        "G04 #@! TA.AperFunction,Conductor*\r\n%ADD32C,0.500000*%",
        "D17*\r\nX25400000Y25400000D03*\r\n"})
    EXPECT_NE(gtl.find(attendu), std::string::npos) << attendu << "\n" << gtl;
  // Copper texts are no conductors.
  Circuit c = Carte();
  AjouteRecord(c, 2, 64, 2, 3000, 2500, 'A');
  AjouteRecord(c, 2, code::FinTexte, 0, 0, 0);
  EXPECT_NE(Texte(Trouve(FabriqueJeu(c, {}), "carte.GTL")->Octets)
                .find("G04 #@! TA.AperFunction,NonConductor*\r\n%ADD61C,0.381000*%"),
            std::string::npos);
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
          EXPECT_NEAR((forme.second - pastilles.at(d).second) * plat, 2 * marge, 2e-6);
        }
        // Flashed at the pads' places.
        EXPECT_EQ(PointsUnites(Texte(Trouve(j, vernis)->Octets)),
                  (std::vector<std::pair<int, int>>{
                      {1500, 2000}, {2500, 2000}, {1000, 1000}, {2000, 1000}}));
      }
    }
  }
}

// The outline: the rectangle drawn on the drilling plan (the largest), else the extent plus
// the margin, or the work surface; the job file's size is the outline's.
TEST(Fabrication, ContourEtTailleDuFichierDeTravail) {
  Circuit dessine = Carte();
  AjouteRecord(dessine, 8, code::Rectangle1, 1, 500, 400);
  AjouteRecord(dessine, 8, code::Rectangle2, 1, 3500, 2800);
  AjouteRecord(dessine, 8, code::Rectangle1, 1, 600, 600);  // a smaller one: not the outline
  AjouteRecord(dessine, 8, code::Rectangle2, 1, 900, 900);
  struct Cas {
    const char* nom;
    Circuit c;
    ContourFabrication contour;
    std::vector<int> cadre;  // left, bottom, right, top in units; empty: the extent
  };
  const std::vector<Cas> cas = {
      {"surface", Carte(), ContourFabrication::Surface, {0, 0, 4000, 3000}},
      {"dessin", dessine, ContourFabrication::Carte, {500, 400, 3500, 2800}},
      {"dessin ignore", dessine, ContourFabrication::Etendue, {}},
      {"sans dessin", Carte(), ContourFabrication::Carte, {}},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    OptionsFabrication o;
    o.Contour = k.contour;
    o.MargeContourMm = 2;  // 78.7 units
    const JeuFabrication j = FabriqueJeu(k.c, o);
    const auto cadre = PointsUnites(Texte(Trouve(j, "carte.GKO")->Octets));
    ASSERT_EQ(cadre.size(), 5u);
    const int g = cadre[0].first, b = cadre[0].second, d = cadre[2].first, h = cadre[2].second;
    EXPECT_EQ(cadre[4], cadre[0]);
    if (!k.cadre.empty()) {
      EXPECT_EQ((std::vector<int>{g, b, d, h}), k.cadre);
    } else {
      // Beyond the outermost point drawn by a layer by the margin (78.7 units) plus at most
      // the half-width of what is drawn there (63 for the round pad, less for strokes).
      int xmin = 1 << 30, ymin = 1 << 30, xmax = -xmin, ymax = -ymin;
      for (const char* nom : {"carte.GTL", "carte.GBL", "carte.GTO"})
        for (const auto& [x, y] : PointsUnites(Texte(Trouve(j, nom)->Octets))) {
          xmin = std::min(xmin, x);
          ymin = std::min(ymin, y);
          xmax = std::max(xmax, x);
          ymax = std::max(ymax, y);
        }
      for (int ecart : {xmin - g, ymin - b, d - xmax, h - ymax}) {
        EXPECT_GE(ecart, 78);
        EXPECT_LE(ecart, 79 + 63);
      }
    }
    // The job file's size is the outline's, in millimetres exactly.
    const std::string travail = Texte(Trouve(j, "carte.gbrjob")->Octets);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(
        travail, m, std::regex(R"("Size": \{\n\s*"X": ([0-9.]+),\n\s*"Y": ([0-9.]+)\n)")))
        << travail;
    EXPECT_NEAR(std::stod(m[1]), (d - g) * 0.0254, 1e-9);
    EXPECT_NEAR(std::stod(m[2]), (h - b) * 0.0254, 1e-9);
    EXPECT_NE(travail.find("\"LayerNumber\": 2\n"), std::string::npos);
    EXPECT_EQ(travail.find("Thickness"), std::string::npos);
  }
}

// Plated and non-plated holes apart, each on the right pad: kind 204 and the diameters the user
// marks go to the non-plated file, every hole of a single-sided board too; no target is
// drilled.
TEST(Fabrication, TrousMetallisesEtNonMetallisesSurLeursPastilles) {
  Circuit c = Carte();
  c.EnteteCI.DiametresPercage[2] = 10;     // 1 mm
  AjouteRecord(c, 3, 204, 5, 3000, 2500);  // 2 mm, no copper
  AjouteRecord(c, 3, 200, 7, 3500, 500);   // 3.2 mm in a 4 mm pad: marked non-plated below
  AjouteRecord(c, 3, 205, 0, 200, 200);
  struct Cas {
    const char* nom;
    std::vector<int32_t> nonMetallises;
    bool simpleFace;
    std::vector<std::pair<int, int>> pth, npth;
    std::string resume;
  };
  const std::vector<Cas> cas = {
      {"double face",
       {},
       false,
       {{2500, 2000}, {1000, 1000}, {2000, 1000}, {3500, 500}},
       {{3000, 2500}},
       "Trous métallisés, carte-PTH.DRL (4) :\n\n- 0,80 mm : 1\n- 1,00 mm : 2\n- 3,20 mm : 1\n\n"
       "Trous non métallisés, carte-NPTH.DRL (1) :\n\n- 2,00 mm : 1\n"},
      {"diametre non metallise",
       {32},
       false,
       {{2500, 2000}, {1000, 1000}, {2000, 1000}},
       {{3000, 2500}, {3500, 500}},
       "Trous non métallisés, carte-NPTH.DRL (2) :\n\n- 2,00 mm : 1\n- 3,20 mm : 1\n"},
      {"simple face",
       {},
       true,
       {},
       {{2500, 2000}, {1000, 1000}, {2000, 1000}, {3000, 2500}, {3500, 500}},
       "Trous non métallisés, carte-NPTH.DRL (5) :"},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    Circuit carte = c;
    if (k.simpleFace)  // the face-2 track goes: copper on face 1 only
      for (int32_t i = 1; i <= carte.NbElements; ++i)
        if (carte.Elements[i].Couche == 2) carte.Elements[i].Couche = 1;
    OptionsFabrication o;
    o.DiametresNonMetallises = k.nonMetallises;
    const JeuFabrication j = FabriqueJeu(carte, o);
    const FichierFabrication* pth = Trouve(j, "carte-PTH.DRL");
    const FichierFabrication* npth = Trouve(j, "carte-NPTH.DRL");
    ASSERT_EQ(pth != nullptr, !k.pth.empty());
    ASSERT_NE(npth, nullptr);
    if (pth) {
      const std::string t = Texte(pth->Octets);
      EXPECT_EQ(TrousExcellon(t), k.pth);
      EXPECT_NE(t.find("; #@! TA.AperFunction,Plated,PTH,ComponentDrill\r\nT01C0.800\r\n"),
                std::string::npos)
          << t;
    }
    const std::string n = Texte(npth->Octets);
    auto trous = TrousExcellon(n);
    std::sort(trous.begin(), trous.end());
    auto attendus = k.npth;
    std::sort(attendus.begin(), attendus.end());
    EXPECT_EQ(trous, attendus);
    EXPECT_NE(
        n.find(k.simpleFace ? "NonPlated,NPTH,ComponentDrill" : "NonPlated,NPTH,MechanicalDrill"),
        std::string::npos)
        << n;
    // A pad around a hole made non-plated on a double-sided board is a washer.
    const std::string gtl = k.simpleFace ? "" : Texte(Trouve(j, "carte.GTL")->Octets);
    EXPECT_EQ(gtl.find("WasherPad") != std::string::npos, !k.nonMetallises.empty());
    const std::string resume = Texte(Trouve(j, "LISEZMOI.md")->Octets);
    EXPECT_NE(resume.find(k.resume), std::string::npos) << resume;
    EXPECT_NE(resume.find("mires de centrage (1"), std::string::npos) << resume;
  }
}

TEST(Fabrication, ResumeEnFrancaisEtEnAnglais) {
  Circuit c = Carte();
  c.EnteteCI.DiametresPercage[2] = 10;  // 1 mm
  OptionsFabrication o;
  o.Contour = ContourFabrication::Surface;
  const JeuFabrication j = FabriqueJeu(c, o);
  const std::string resume = Texte(Trouve(j, "LISEZMOI.md")->Octets);
  for (const char* attendu :
       {"| carte.GTL | cuivre côté composants (face 2) |", "| carte-PTH.DRL |",
        "Dimensions de la carte : 101,60 x 76,20 mm (contour : surface de travail)",
        "Trous métallisés, carte-PTH.DRL (3) :\n\n- 0,80 mm : 1\n- 1,00 mm : 2\n",
        "Piste la plus fine : 0,50 mm.", "Carte double face (2 couches de cuivre)",
        "## Board-house set carte (English)", "| carte.GTL | top copper (face 2) |",
        "Board size: 101.60 x 76.20 mm (outline: the work surface)",
        "Plated holes, carte-PTH.DRL (3):\n\n- 0.80 mm: 1\n- 1.00 mm: 2\n",
        "Thinnest track: 0.50 mm.", "Left out: the centring targets (0"})
    EXPECT_NE(resume.find(attendu), std::string::npos) << attendu << "\n" << resume;
}

// What the board house would make wrong is said, and the set made all the same: copper past
// the outline, faults of the check; a board without either says nothing.
TEST(Fabrication, AvertissementsEtJeuQuandMeme) {
  struct Cas {
    const char* nom;
    int32_t surfaceX;
    bool proches;
    std::vector<std::string> attendus;
  };
  const std::vector<Cas> cas = {
      {"temoin", 4000, false, {}},
      {"hors contour", 2000, false, {"du cuivre dépasse le contour de la carte de"}},
      {"defaut", 4000, true, {"la vérification trouve 2 défauts"}},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    Circuit c = Carte();
    c.EnteteCI.SurfaceX = k.surfaceX;
    if (k.proches) AjouteRecord(c, 3, 199, 2, 1000, 1120);  // 0.1 mm from its neighbour
    OptionsFabrication o;
    o.Contour = ContourFabrication::Surface;
    const JeuFabrication j = FabriqueJeu(c, o);
    EXPECT_FALSE(j.Fichiers.empty());
    ASSERT_EQ(j.Avertissements.size(), k.attendus.size());
    for (size_t n = 0; n < k.attendus.size(); ++n)
      EXPECT_EQ(j.Avertissements[n].rfind(k.attendus[n], 0), 0u) << j.Avertissements[n];
  }
}

TEST(Fabrication, NomsSurs) {
  const std::vector<std::pair<std::string, std::string>> cas = {
      {"carte", "carte"}, {"Alim 12V", "Alim_12V"}, {"..\\..\\..\\evil", "_._.._.._evil"},
      {"../x", "_._x"},   {"c:evil", "c_evil"},     {"\xC3\xA9t\xC3\xA9", "__t__"},
      {"", "carte"},      {"...", "carte"},         {std::string(100, 'a'), std::string(64, 'a')},
  };
  for (const auto& [nom, sur] : cas) EXPECT_EQ(NomSur(nom), sur) << nom;
  OptionsFabrication o;
  o.Base = "..\\..\\evil";
  for (const FichierFabrication& f : FabriqueJeu(Carte(), o).Fichiers)
    EXPECT_EQ(f.Nom.find_first_of("/\\:"), std::string::npos) << f.Nom;
}

// The netlist of the set is the nets' writer's, named after the set.
TEST(Fabrication, ListeDesEquipotentielles) {
  OptionsFabrication o;
  o.Base = "b 1";
  OptionsIpc356 ipc;
  ipc.Nom = "b_1";
  EXPECT_EQ(Trouve(FabriqueJeu(Carte(), o), "b_1-netlist.ipc")->Octets, EcritIpc356(Carte(), ipc));
}

// A hole marked non-plated joins nothing: the netlist of the set splits the net it would have
// joined, and tests that hole from each face, unplated.
TEST(Fabrication, ListeDesEquipotentiellesEtTrouNonMetallise) {
  Circuit c;
  c.EnteteCI.DiametresPercage[2] = 10;                 // 1 mm
  AjouteRecord(c, 3, 199, 2, 1000, 1000);              // A, 1 mm
  AjouteRecord(c, 3, 199, 1, 2000, 1000);              // B, 0.8 mm
  AjouteRecord(c, 3, 199, 1, 1000, 2000);              // C, 0.8 mm
  AjouteRecord(c, 1, 163, kPremierPoint, 1000, 1000);  // A to B on face 1
  AjouteRecord(c, 1, 163, kDernierPoint, 2000, 1000);
  AjouteRecord(c, 2, 163, kPremierPoint, 1000, 1000);  // A to C on face 2
  AjouteRecord(c, 2, 163, kDernierPoint, 1000, 2000);
  for (bool marque : {false, true}) {
    SCOPED_TRACE(marque ? "1 mm non metallise" : "tout metallise");
    OptionsFabrication o;
    if (marque) o.DiametresNonMetallises = {10};
    const std::string ipc = Texte(Trouve(FabriqueJeu(c, o), "carte-netlist.ipc")->Octets);
    std::set<std::string> nets;
    int nonMetallises = 0, lignesA = 0;
    std::istringstream lignes(ipc);
    for (std::string l; std::getline(lignes, l);) {
      if (l.rfind("317", 0) != 0) continue;
      nets.insert(l.substr(3, 14));
      nonMetallises += l[37] == 'U';
      lignesA += l.find("X+025400Y+025400") != std::string::npos;
    }
    EXPECT_EQ(nets.size(), marque ? 2u : 1u) << ipc;
    EXPECT_EQ(nonMetallises, marque ? 2 : 0) << ipc;
    EXPECT_EQ(lignesA, marque ? 2 : 1) << ipc;
  }
}

// The archive written as it is made holds the same bytes as the one made in memory.
TEST(Fabrication, ArchiveEnFluxCommeEnMemoire) {
  const Circuit c = Carte();  // read by the plan while it writes
  const PlanFabrication p = PrepareJeu(c, {});
  std::vector<EntreeZip> entrees;
  for (const FichierFabrication& f : FabriqueJeu(c, {}).Fichiers)
    entrees.push_back({f.Nom, f.Octets});
  struct Vecteur final : FluxOctets {
    std::vector<uint8_t> v;
    bool Ecrit(const uint8_t* o, size_t n) override {
      v.insert(v.end(), o, o + n);
      return true;
    }
  } flux;
  ZipEnFlux zip(flux, 0x5A21, 0x1234);
  for (size_t k = 0; k < p.Fichiers().size(); ++k)
    ASSERT_TRUE(
        zip.Ajoute(p.Fichiers()[k].Nom, [&p, k](FluxOctets& f) { return p.EcritFichier(k, f); }));
  ASSERT_TRUE(zip.Termine());
  EXPECT_EQ(flux.v, EcritZip(entrees, 0x5A21, 0x1234));
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
