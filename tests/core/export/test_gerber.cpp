// The Gerber writer: collection order, header, aperture block, element plotting, outlines and
// the choice of layer files, checked byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "../cli/CircuitsFabrication.h"
#include "Enregistrement.h"
#include "export/Gerber.h"

namespace korv4 {
namespace {

using essai::Fait;
using essai::Rec;

std::string Texte(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

std::vector<std::string> Lignes(const std::string& s) {
  std::vector<std::string> l;
  size_t d = 0;
  for (size_t f; (f = s.find("\r\n", d)) != std::string::npos; d = f + 2)
    l.push_back(s.substr(d, f - d));
  if (d < s.size()) l.push_back(s.substr(d));
  return l;
}

// The plotting lines of a file: everything after "G01*" and before "M02*".
std::vector<std::string> Trace(const std::string& fichier) {
  std::vector<std::string> l = Lignes(fichier);
  const auto debut = std::find(l.begin(), l.end(), "G01*");
  return std::vector<std::string>(debut + 1, l.end() - 1);
}

// The outline alone, with the board's box at the origin shifted by -100 (so that points are
// written as their own coordinates).
std::vector<std::string> Contour(int32_t cx, int32_t cy, int32_t R, int32_t rx, int32_t ry) {
  std::vector<uint8_t> v;
  TraceurGerber t(v, Cadre{100, 0, 0, 100});
  TraceEllipse(t, cx, cy, R, rx, ry);
  return Lignes(Texte(v));
}

std::string Fichier(const Circuit& c, uint8_t masque,
                    StylePastilles style = StylePastilles::Octogonales) {
  return Texte(EcritFichierGerber(CollecteElementsGerber(c, masque),
                                  CadreElements(c, 1, c.NbElements), style));
}

TEST(EcritFichierGerber, FichierCompletFace1) {
  const Circuit c = Fait({Rec(3, 198, 1, 1000, 1000), Rec(1, 161, 0x80, 1000, 1000),
                          Rec(1, 161, 0x40, 1500, 1000), Rec(3, 192, 0, 2000, 1000),
                          Rec(2, 163, 0x80, 0, 0), Rec(4, 128, 1, 5, 5)});
  // Box 0..2000 x 0..1050 (the face-2 track and the drawing count in the extent).
  const std::string entete =
      "*G04 KORV4 : Fichier au format GERBER*\r\n"
      "*G04 Dimension du CI en \"  : X=2,000 \" , Y=1,050 \" *\r\n"
      "*G04 Dimension du CI en mm: X=51,0 mm , Y=27,0 mm *\r\n"
      "*G04 D\xE9"
      "finition des outils*\r\n"
      "%FSAX23Y23*%\r\n%MOIN*%\r\n%OFA0B0*%\r\n%SFA1.0B1.0*%\r\n";
  const std::string trace =
      "G70*\r\nG90*\r\nG01*\r\n"
      "D10*\r\nX02100Y01100D03*\r\n"
      "D16*\r\nX01100Y01100D03*\r\n"
      "D31*\r\nX01100Y01100D02*\r\nX01600Y01100D01*\r\n"
      "M02*\r\n";
  EXPECT_EQ(Fichier(c, kMasqueFace1),
            entete + "%ADD10R,0.035X0.035*\r\nADD16P,0.079X8X22.5*\r\nADD31C,0.012*%\r\n" + trace);
  EXPECT_EQ(Fichier(c, kMasqueFace1, StylePastilles::Circulaires),
            entete + "%ADD10R,0.035X0.035*\r\nADD16C,0.079*\r\nADD31C,0.012*%\r\n" + trace);
}

TEST(EcritFichierGerber, DimensionsDeLEnTete) {
  struct Cas {
    int32_t largeur;
    const char *pouces, *mm;
  };
  for (const Cas& k : std::vector<Cas>{{1000, "1,000", "25,5"},  // 254 rounded up to 255
                                       {1234, "1,240", "31,5"},
                                       {15, "0,020", "0,5"},
                                       {0, "0,000", "0,0"}}) {
    const std::vector<std::string> l = Lignes(Texte(
        EcritFichierGerber({}, Cadre{0, k.largeur, k.largeur, 0}, StylePastilles::Octogonales)));
    EXPECT_EQ(l[1], std::string("*G04 Dimension du CI en \"  : X=") + k.pouces +
                        " \" , Y=" + k.pouces + " \" *");
    EXPECT_EQ(l[2],
              std::string("*G04 Dimension du CI en mm: X=") + k.mm + " mm , Y=" + k.mm + " mm *");
  }
}

TEST(CollecteElementsGerber, OrdreDesPassesEtCouches) {
  const Circuit c = Fait({
      Rec(1, 64, 2, 10, 10, 'A'),  // text size 2
      Rec(1, 79, 0, 0, 0),         // end of text: never collected
      Rec(1, 162, 0x80, 1, 1),     // track 0,5 mm
      Rec(1, 162, 0x40, 2, 1),     //
      Rec(3, 205, 0, 3, 3),        // pin
      Rec(1, 161, 0x80, 4, 4),     // track 0,3 mm
      Rec(1, 161, 0x40, 5, 4),     //
      Rec(3, 193, 0, 6, 6),        // pad
      Rec(2, 164, 0x80, 7, 7),     // face 2 only
      Rec(8, 199, 1, 8, 8),        // drilling plan: never
      Rec(1, 64, 1, 9, 9, 'B'),    // text size 1
      Rec(4, 130, 2, 11, 11),      // placement rectangle, thickness 2
      Rec(4, 131, 2, 12, 12),      //
      Rec(4, 128, 1, 13, 13),      // placement line, thickness 1
      Rec(4, 129, 1, 14, 14),      //
      Rec(4, 65, 1, 15, 15, 'C'),  // placement text
      Rec(3, 204, 7, 16, 16),      // spare diameter: no copper
  });
  auto Xs = [&](uint8_t masque) {
    std::vector<int> x;
    for (const ElementCI& e : CollecteElementsGerber(c, masque)) x.push_back(e.X);
    return x;
  };
  EXPECT_EQ(Xs(kMasqueFace1), (std::vector<int>{6, 3, 4, 5, 1, 2, 9, 10}));
  EXPECT_EQ(Xs(kMasqueFace2), (std::vector<int>{6, 3, 7}));
  EXPECT_EQ(Xs(kMasqueImplantation), (std::vector<int>{13, 14, 11, 12, 15}));
}

TEST(EcritFichierGerber, ChoixDesOuvertures) {
  // Placement: a drawing of thickness 2, then a text of size 2: D51, then D61.
  Circuit c = Fait({Rec(4, 64, 2, 500, 500, '-'), Rec(4, 79, 0, 0, 0), Rec(4, 128, 2, 0, 0),
                    Rec(4, 129, 2, 100, 0)});
  std::vector<std::string> t = Trace(Fichier(c, kMasqueImplantation));
  ASSERT_GE(t.size(), 4u);
  EXPECT_EQ(t[0], "D51*");
  EXPECT_EQ(t[3], "D61*");

  // A layer of spare-diameter pads only: no aperture at all, nothing plotted.
  c = Fait({Rec(3, 204, 7, 100, 100)});
  const std::string f = Fichier(c, kMasqueFace1);
  EXPECT_NE(f.find("%SFA1.0B1.0*%\r\n%%\r\nG70*\r\nG90*\r\nG01*\r\nM02*\r\n"), std::string::npos);

  // Thicknesses 5 and 6 and text sizes 0, 6 and 7 (from files) select defined apertures.
  c = Fait({Rec(4, 128, 5, 0, 0), Rec(4, 129, 5, 9, 9), Rec(4, 128, 6, 0, 0), Rec(4, 129, 6, 9, 9),
            Rec(4, 64, 0, 5, 5, 'A'), Rec(4, 64, 6, 5, 5, 'A'), Rec(4, 64, 7, 5, 5, 'A')});
  EXPECT_NE(Fichier(c, kMasqueImplantation)
                .find("%ADD54C,0.059*\r\nADD55C,0.079*\r\nADD59C,0.010*\r\nADD65C,0.035*\r\n"
                      "ADD66C,0.040*%\r\n"),
            std::string::npos);
}

// The pad table's sizes agree with each other: a copper land's aperture (in both pad styles)
// is what the zone tools hold within a unit, and lies within its extent; the target's strokes
// too. A mistyped row shows here.
TEST(SortesPastille, OuverturesEtContoursConcordent) {
  for (const SortePastille& s : kSortesPastille) {
    SCOPED_TRACE(static_cast<int>(s.Code));
    if (s.Gerber != GerberPastille::Eclair) continue;
    for (StylePastilles style : {StylePastilles::Octogonales, StylePastilles::Circulaires}) {
      const FormeOuverture f = FormeDeLOuverture(s.DCode, style);
      ASSERT_NE(f.type, FormeOuverture::Aucune);
      if (!s.Trouvee) continue;  // the old files' kind has no outline of its own
      EXPECT_LE(std::abs(f.Largeur - 2 * s.Contour[0]), 1);
      EXPECT_LE(std::abs(f.Hauteur - 2 * s.Contour[1]), 1);
      EXPECT_LE(f.Largeur, 2 * s.Encombrement);
      EXPECT_LE(f.Hauteur, 2 * s.Encombrement);
    }
  }
  // A quarter turn swaps a rectangle's sides.
  for (const SortePastille& s : kSortesPastille)
    EXPECT_EQ(SortePastilleDe(s.Jumelle).Contour,
              (std::array<int32_t, 2>{s.Contour[1], s.Contour[0]}))
        << static_cast<int>(s.Code);
}

TEST(EcritFichierGerber, ElementsTraces) {
  // Box 0..1000 x 0..1000 given by the two line ends; every point below is shifted by +100.
  const Circuit c = Fait({
      Rec(4, 128, 1, 0, 0), Rec(4, 129, 1, 1000, 1000),    // line
      Rec(4, 130, 1, 200, 300), Rec(4, 131, 1, 400, 500),  // rectangle
      Rec(4, 132, 1, 500, 500), Rec(4, 133, 1, 20, 0),     // circle of radius 20
      Rec(4, 134, 1, 100, 100), Rec(4, 135, 1, 301, 151),  // ellipse
      Rec(4, 64, 1, 600, 600, '1'),                        // text size 1
  });
  const std::vector<std::string> t = Trace(Fichier(c, kMasqueImplantation));
  const std::vector<std::string> debut = {
      "D50*", "X00100Y00100D02*", "X01100Y01100D01*", "X00300Y00400D02*", "X00500Y00400D01*",
      "X00500Y00600D01*", "X00300Y00600D01*", "X00300Y00400D01*",
      // radius 20: the diamond
      "X00620Y00600D02*", "X00600Y00620D01*", "X00580Y00600D01*", "X00600Y00580D01*",
      "X00620Y00600D01*",
      // ellipse: centre (200, 125), half-axes 100 and 25 ((100 - 301) / 2 = -100), R = 100
      "X00400Y00225D02*"};
  ASSERT_GT(t.size(), debut.size());
  EXPECT_EQ(std::vector<std::string>(t.begin(), t.begin() + debut.size()), debut);
  // The ellipse has 33 points, the 9th at the top of its box.
  EXPECT_EQ(t[debut.size() - 1 + 8], "X00300Y00250D01*");
  EXPECT_EQ(t[debut.size() - 1 + 32], "X00400Y00225D01*");
  // "1" at scale 13, shifted by (10, 10): strokes (13,0,26,0) (26,0,26,78) (26,78,13,65)
  // (26,0,39,0); a move only where a stroke does not start at the previous end.
  const std::vector<std::string> un = {"X00723Y00710D02*", "X00736Y00710D01*", "X00736Y00788D01*",
                                       "X00723Y00775D01*", "X00736Y00710D02*", "X00749Y00710D01*"};
  EXPECT_EQ(std::vector<std::string>(t.end() - 6, t.end()), un);
  EXPECT_EQ(*(t.end() - 7), "D60*");
  EXPECT_EQ(t.size(), debut.size() + 32 + 1 + 6);
}

TEST(EcritFichierGerber, MireEtPistes) {
  const Circuit c = Fait({Rec(3, 205, 0, 150, 150), Rec(1, 166, 0x80, 0, 0),
                          Rec(1, 166, 0x60, 300, 0), Rec(1, 166, 0x40, 300, 300)});
  const std::vector<std::string> t = Trace(Fichier(c, kMasqueFace1));
  // D23, the cross, the outer outline (33 points), the inner diamond (5), D36 and the track.
  ASSERT_EQ(t.size(), 1u + 4 + 33 + 5 + 1 + 3);
  EXPECT_EQ(std::vector<std::string>(t.begin(), t.begin() + 6),
            (std::vector<std::string>{"D23*", "X00100Y00250D02*", "X00400Y00250D01*",
                                      "X00250Y00100D02*", "X00250Y00400D01*", "X00350Y00250D02*"}));
  EXPECT_EQ(t[37], "X00350Y00250D01*");
  EXPECT_EQ(t[38], "X00265Y00250D02*");
  EXPECT_EQ(std::vector<std::string>(t.end() - 4, t.end()),
            (std::vector<std::string>{"D36*", "X00100Y00100D02*", "X00400Y00100D01*",
                                      "X00400Y00400D01*"}));
}

TEST(TraceEllipse, NombreDePointsEtOrdre) {
  // Radius 100: N = 4, 33 points, first and last at (cx + 100, cy), anticlockwise.
  std::vector<std::string> l = Contour(1000, 1000, 100, 100, 100);
  ASSERT_EQ(l.size(), 33u);
  EXPECT_EQ(l[0], "X01100Y01000D02*");
  EXPECT_EQ(l[8], "X01000Y01100D01*");
  EXPECT_EQ(l[16], "X00900Y01000D01*");
  EXPECT_EQ(l[24], "X01000Y00900D01*");
  EXPECT_EQ(l[32], "X01100Y01000D01*");
  for (size_t i = 1; i < l.size(); ++i) EXPECT_EQ(l[i].substr(12), "D01*");

  // Radius 75 (N = 3): sin 30 degrees x 75 is 37.499999999999993 in this evaluation order and
  // rounds to 37 (38 in any other order that reaches exactly 37.5).
  l = Contour(1000, 1000, 75, 75, 75);
  ASSERT_EQ(l.size(), 25u);
  EXPECT_EQ(l[1], "X01072Y01019D01*");
  EXPECT_EQ(l[2], "X01065Y01037D01*");
  EXPECT_EQ(l[4], "X01037Y01065D01*");

  // Below 25: a diamond of 5 points; 1500 segments an eighth or more: nothing.
  EXPECT_EQ(Contour(500, 500, 20, 20, 10),
            (std::vector<std::string>{"X00520Y00500D02*", "X00500Y00510D01*", "X00480Y00500D01*",
                                      "X00500Y00490D01*", "X00520Y00500D01*"}));
  EXPECT_TRUE(Contour(500, 500, 37500, 37500, 37500).empty());
  EXPECT_EQ(Contour(0, 0, 37499, 37499, 37499).size(), 8u * 1499 + 1);
}

TEST(TraceurGerber, CoordonneesHorsDuFormat) {
  std::vector<uint8_t> v;
  TraceurGerber t(v, Cadre{1000, 0, 0, 1000});
  t.Point(1000, 1000, "D03*");
  t.DeplaceVers(850, 1099);   // below the margin: the minus sign stays
  t.TraceVers(100999, 1000);  // beyond five digits: every digit stays
  EXPECT_EQ(Texte(v), "X00100Y00100D03*\r\nX-00050Y00199D02*\r\nX100099Y00100D01*\r\n");
}

TEST(ExporteGerber, FichiersSelonLesCouches) {
  struct Cas {
    const char* nom;
    std::vector<ElementCI> recs;
    std::vector<std::string> fichiers;
  };
  const ElementCI pad = Rec(3, 199, 2, 500, 500);
  const std::vector<Cas> cas = {
      {"pastilles seules", {pad}, {"x.gbr-FC1.GBR"}},
      {"pastilles et face 2",
       {pad, Rec(2, 161, 0x80, 0, 0), Rec(2, 161, 0x40, 100, 0)},
       {"x.gbr_FC2.GBR"}},
      {"face 1 et implantation",
       {Rec(1, 161, 0x80, 0, 0), Rec(1, 161, 0x40, 100, 0), Rec(4, 128, 1, 0, 0),
        Rec(4, 129, 1, 9, 9)},
       {"x.gbr-FC1.GBR", "x.gbr_SER.GBR"}},
      {"plan de perçage seul", {Rec(8, 128, 1, 0, 0), Rec(8, 129, 1, 9, 9)}, {}},
      {"tout",
       {pad, Rec(1, 64, 1, 0, 0, 'a'), Rec(1, 79, 0, 0, 0), Rec(2, 64, 1, 0, 0, 'a'),
        Rec(2, 79, 0, 0, 0), Rec(4, 64, 1, 0, 0, 'a'), Rec(4, 79, 0, 0, 0)},
       {"x.gbr-FC1.GBR", "x.gbr_FC2.GBR", "x.gbr_SER.GBR"}},
  };
  for (const Cas& k : cas) {
    const Circuit c = Fait(k.recs);
    const std::vector<FichierGerber> f =
        ExporteGerber(c, CadreElements(c, 1, c.NbElements), StylePastilles::Octogonales, "x.gbr");
    std::vector<std::string> noms;
    for (const FichierGerber& g : f) noms.push_back(g.Nom);
    EXPECT_EQ(noms, k.fichiers) << k.nom;
  }
  // Pads go to both copper files.
  const Circuit c = Fait(cas[4].recs);
  const std::vector<FichierGerber> f =
      ExporteGerber(c, CadreElements(c, 1, c.NbElements), StylePastilles::Circulaires, "b");
  EXPECT_NE(Texte(f[0].Octets).find("D17*\r\nX00600Y00600D03*"), std::string::npos);
  EXPECT_NE(Texte(f[1].Octets).find("D17*\r\nX00600Y00600D03*"), std::string::npos);
  EXPECT_EQ(Texte(f[2].Octets).find("D17*"), std::string::npos);
  EXPECT_NE(Texte(f[1].Octets).find("ADD17C,0.126*"), std::string::npos);
}

// Keeps the pieces it is given; refuses the piece numbered `refus` (from 1) and any after it.
class FluxEnregistre final : public FluxOctets {
 public:
  explicit FluxEnregistre(size_t refus = SIZE_MAX) : refus_(refus) {}
  bool Ecrit(const uint8_t* octets, size_t taille) override {
    ++pieces;
    plusGrande = std::max(plusGrande, taille);
    if (pieces >= refus_) return false;
    recu.insert(recu.end(), octets, octets + taille);
    return true;
  }
  std::vector<uint8_t> recu;
  size_t pieces = 0, plusGrande = 0;

 private:
  size_t refus_;
};

// A placement plan of many circles of a large radius (each some 29 kB of plotting), and tracks
// on both faces: layers of several pieces.
Circuit CarteDeCercles() {
  fabrication::Fabrique f;
  for (int32_t k = 0; k < 300; ++k) f.Dessin(4, 132, 1 + k % 6, 6000 + k * 50, 6000, 5000, 0);
  for (int32_t k = 0; k < 2000; ++k)
    f.Piste(static_cast<uint8_t>(1 + k % 2), static_cast<uint8_t>(161 + k % 6),
            {{100 + k, 100}, {100 + k, 900}, {900, 900 + k}});
  return f.c;
}

TEST(EcritFichierGerber, EnFluxLesMemesOctetsQuEnMemoire) {
  struct Cas {
    const char* nom;
    Circuit c;
    bool enPieces;
  };
  for (const Cas& k : std::vector<Cas>{{"complète", fabrication::CarteComplete(), false},
                                       {"simple face", fabrication::CarteSimpleFace(), false},
                                       {"mesure", fabrication::CarteMesure(), false},
                                       {"pions", fabrication::CartePions(), false},
                                       {"cercles", CarteDeCercles(), true}}) {
    const Cadre etendue = CadreElements(k.c, 1, k.c.NbElements);
    ASSERT_FALSE(CouchesGerber(k.c).empty()) << k.nom;
    for (StylePastilles style : {StylePastilles::Octogonales, StylePastilles::Circulaires}) {
      const std::vector<FichierGerber> enMemoire = ExporteGerber(k.c, etendue, style, "b");
      const std::vector<CoucheGerber> couches = CouchesGerber(k.c);
      ASSERT_EQ(couches.size(), enMemoire.size()) << k.nom;
      size_t pieces = 0;
      for (size_t n = 0; n < couches.size(); ++n) {
        EXPECT_EQ("b" + std::string(couches[n].Suffixe), enMemoire[n].Nom);
        FluxEnregistre flux;
        EXPECT_TRUE(EcritFichierGerber(CollecteElementsGerber(k.c, couches[n].Masque), etendue,
                                       style, flux));
        EXPECT_EQ(flux.recu, enMemoire[n].Octets) << k.nom << " " << enMemoire[n].Nom;
        // A piece: 64 KiB, and at most one record's plotting beyond it.
        EXPECT_LE(flux.plusGrande, size_t{64 * 1024 + 64 * 1024}) << k.nom;
        pieces = std::max(pieces, flux.pieces);
      }
      if (k.enPieces) {
        EXPECT_GT(pieces, 10u) << k.nom;
      }
    }
  }
}

TEST(EcritFichierGerber, FluxQuiRefuseUnePiece) {
  const Circuit c = CarteDeCercles();
  const std::vector<ElementCI> l = CollecteElementsGerber(c, kMasqueImplantation);
  const Cadre etendue = CadreElements(c, 1, c.NbElements);
  const std::vector<uint8_t> entier = EcritFichierGerber(l, etendue, StylePastilles::Octogonales);
  for (size_t refus : {size_t{1}, size_t{2}, size_t{5}}) {
    FluxEnregistre flux(refus);
    EXPECT_FALSE(EcritFichierGerber(l, etendue, StylePastilles::Octogonales, flux)) << refus;
    // Nothing is given after the refusal; what was taken is the start of the file.
    EXPECT_EQ(flux.pieces, refus);
    ASSERT_LT(flux.recu.size(), entier.size());
    EXPECT_TRUE(std::equal(flux.recu.begin(), flux.recu.end(), entier.begin())) << refus;
  }
}

}  // namespace
}  // namespace korv4
