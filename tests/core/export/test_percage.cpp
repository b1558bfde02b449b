// Hole collection and the four drill writers, checked byte for byte on small circuits.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Enregistrement.h"
#include "export/Percage.h"

namespace korv4 {
namespace {

using essai::Fait;
using essai::Rec;

std::string Texte(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

Cadre Etendue(const Circuit& c) { return CadreElements(c, 1, c.NbElements); }

const OptionsPercage kCI{ElementsAPercer::CI, FacePercage::Composants};
const OptionsPercage kPions{ElementsAPercer::Pions, FacePercage::Composants};

TEST(CollectePercages, PionsPuisTrousParIndiceDansLOrdreDuMagasin) {
  const Circuit c = Fait({
      Rec(3, 199, 3, 10, 10),   // index 3
      Rec(3, 205, 4, 20, 20),   // pin, whatever its drill index
      Rec(3, 197, 1, 30, 30),   // index 1
      Rec(3, 193, 0, 40, 40),   // no hole by default
      Rec(3, 198, 0, 45, 45),   // drill index 0: no hole
      Rec(8, 203, 1, 50, 50),   // the layer mask is not looked at
      Rec(3, 205, 0, 60, 60),   // second pin
      Rec(3, 204, 2, 70, 70),   // spare diameter: still drilled
      Rec(3, 201, 14, 80, 80),  // above 13: no hole
      Rec(1, 161, 0x80, 90, 90),
  });
  const ListePercages l = CollectePercages(c);
  EXPECT_EQ(l.NbPions, 2);
  EXPECT_EQ(l.NbPercages, 6);
  EXPECT_EQ(l.Percages, (std::vector<Percage>{{0, 0, 0},
                                              {0, 20, 20},
                                              {0, 60, 60},
                                              {8, 30, 30},
                                              {8, 50, 50},
                                              {10, 70, 70},
                                              {12, 10, 10}}));
  EXPECT_EQ(l.Diametres, (std::vector<int32_t>{0, 8, 10, 12}));
  EXPECT_EQ(l.NbDiametres, 3);
}

TEST(CollectePercages, ListeDesDiametresSansRepetitionsConsecutives) {
  // Indices 1 and 3 with the same diameter, 2 with another: three tools.
  Circuit c = Fait(
      {Rec(3, 198, 3, 1, 1), Rec(3, 198, 2, 2, 2), Rec(3, 198, 1, 3, 3), Rec(3, 198, 1, 4, 4)});
  c.EnteteCI.DiametresPercage[3] = 8;
  ListePercages l = CollectePercages(c);
  EXPECT_EQ(l.Diametres, (std::vector<int32_t>{0, 8, 10, 8}));

  // Pins only: no tool.
  l = CollectePercages(Fait({Rec(3, 205, 0, 1, 1)}));
  EXPECT_EQ(l.NbDiametres, 0);
  EXPECT_EQ(l.Diametres, (std::vector<int32_t>{0}));
}

TEST(OptionsInitiales, TrousDuCircuitSinonPions) {
  EXPECT_EQ(OptionsInitiales(CollectePercages(Fait({Rec(3, 205, 0, 1, 1)}))).Elements,
            ElementsAPercer::Pions);
  EXPECT_EQ(OptionsInitiales(CollectePercages(Fait({Rec(3, 205, 0, 1, 1), Rec(3, 199, 2, 5, 5)})))
                .Elements,
            ElementsAPercer::CI);
  EXPECT_EQ(OptionsInitiales(CollectePercages(Fait({Rec(3, 193, 0, 1, 1)}))).Elements,
            ElementsAPercer::Aucun);
}

TEST(Transformation, MemePositionLoinDeLOrigineEtMiroirCoteCuivre) {
  const std::vector<ElementCI> carte = {Rec(3, 198, 1, 100, 100), Rec(3, 198, 1, 600, 300)};
  std::vector<ElementCI> loin = carte;
  for (ElementCI& e : loin) {
    e.X += 20000;
    e.Y += 9000;
  }
  for (FacePercage f : {FacePercage::Composants, FacePercage::Cuivre}) {
    const Circuit a = Fait(carte), b = Fait(loin);
    const OptionsPercage o{ElementsAPercer::CI, f};
    EXPECT_EQ(PercagesChoisis(CollectePercages(a), Etendue(a), o),
              PercagesChoisis(CollectePercages(b), Etendue(b), o));
  }
  // Box 50..650 x 50..350. Component side: x - 50 + 100; copper side: 650 - x + 100, so the
  // hole nearest the right edge gets the smallest X.
  const Circuit a = Fait(carte);
  EXPECT_EQ(PercagesChoisis(CollectePercages(a), Etendue(a), kCI),
            (std::vector<Percage>{{8, 150, 150}, {8, 650, 350}}));
  EXPECT_EQ(
      PercagesChoisis(CollectePercages(a), Etendue(a), {ElementsAPercer::CI, FacePercage::Cuivre}),
      (std::vector<Percage>{{8, 650, 150}, {8, 150, 350}}));
  // No side or no hole set chosen: nothing.
  EXPECT_TRUE(
      PercagesChoisis(CollectePercages(a), Etendue(a), {ElementsAPercer::CI, FacePercage::Aucune})
          .empty());
  EXPECT_TRUE(PercagesChoisis(CollectePercages(a), Etendue(a),
                              {ElementsAPercer::Aucun, FacePercage::Composants})
                  .empty());
}

TEST(Transformation, ArithmetiqueSeizeBits) {
  // A board wider than 16 bits allow: the far pad wraps around, as drilling files always did.
  const Circuit c = Fait({Rec(3, 198, 1, 0, 0), Rec(3, 198, 1, 65500, 0)});
  const Cadre e = Etendue(c);  // left -50, right 65550
  EXPECT_EQ(PercagesChoisis(CollectePercages(c), e, kCI),
            (std::vector<Percage>{{8, 150, 150}, {8, (65500 + 150) % 65536, 150}}));
}

TEST(SaveExcellon, FichierCompletTroisOutils) {
  const Circuit c =
      Fait({Rec(3, 197, 3, 400, 200), Rec(3, 198, 1, 100, 100), Rec(3, 205, 0, 1000, 1000),
            Rec(3, 199, 2, 200, 100), Rec(3, 198, 1, 300, 100)});
  const ListePercages l = CollectePercages(c);
  const Cadre e = Etendue(c);  // 50 .. 1150 x 0 .. 1150
  EXPECT_EQ(Texte(SaveExcellon(l, e, kCI)),
            "M48\r\nINCH,LZ\r\nT01C0.032\r\nT02C0.039\r\nT03C0.047\r\n%\r\n"
            "T01\r\nX00150Y00200\r\nX00350Y00200\r\n"
            "T02\r\nX00250Y00200\r\n"
            "T03\r\nX00450Y00300\r\n"
            "T00\r\nM30\r\n");
  EXPECT_EQ(Texte(SaveExcellon(l, e, kPions)),
            "M48\r\nINCH,LZ\r\nT01C0.125\r\n%\r\nT01\r\nX01050Y01100\r\nT00\r\nM30\r\n");
}

TEST(SaveExcellon, DiametresEnPoucesArrondisAuPair) {
  struct Cas {
    int32_t dixiemes;
    const char* ligne;
  };
  for (const Cas& k : std::vector<Cas>{{8, "T01C0.032"},
                                       {10, "T01C0.039"},
                                       {15, "T01C0.059"},
                                       {25, "T01C0.098"},  // 98.5: half to even
                                       {32, "T01C0.126"},
                                       {65, "T01C0.256"},
                                       {75, "T01C0.296"},  // 295.5
                                       {1, "T01C0.004"},
                                       {3000, "T01C11.820"}}) {
    Circuit c = Fait({Rec(3, 198, 1, 0, 0)});
    c.EnteteCI.DiametresPercage[1] = k.dixiemes;
    const std::string f = Texte(SaveExcellon(CollectePercages(c), Etendue(c), kCI));
    EXPECT_EQ(f.substr(14, f.find("\r\n", 14) - 14), k.ligne) << k.dixiemes;
  }
}

TEST(Writers, DiametreQuiDiminue) {
  // Index 2 set smaller than index 1: Excellon changes tool at the decrease, ISO and HPGL
  // keep the current tool.
  Circuit c = Fait({Rec(3, 198, 1, 100, 100), Rec(3, 198, 2, 200, 100), Rec(3, 198, 3, 300, 100)});
  c.EnteteCI.DiametresPercage[2] = 8;  // 10, 8, 12
  c.EnteteCI.DiametresPercage[1] = 10;
  const ListePercages l = CollectePercages(c);
  const Cadre e = Etendue(c);
  EXPECT_EQ(Texte(SaveExcellon(l, e, kCI)),
            "M48\r\nINCH,LZ\r\nT01C0.039\r\nT02C0.032\r\nT03C0.047\r\n%\r\n"
            "T01\r\nX00150Y00150\r\nT02\r\nX00250Y00150\r\nT03\r\nX00350Y00150\r\n"
            "T00\r\nM30\r\n");
  EXPECT_EQ(Texte(SaveHPGL(l, e, kCI)),
            "IN;SP1;PA152,152;PD;PU;PA254,152;PD;PU;SP2;PA355,152;PD;PU;PU;SP0;IN;");
  EXPECT_EQ(Texte(SaveISO(l, e, kCI)),
            "%5000Dimensions du circuit : X=7.62 mm - Y=2.54\r\n"
            "Per\xE7"
            "age du circuit imprim\xE9\r\n"
            "N5 T1 D1\r\nN10 X0 Y0 Z10\r\nN15 M3 S3000\r\nN20 G81 X3.81 Y3.81 ER3 Z-4 F300\r\n"
            "N25 X6.35 Y3.81\r\n"
            "N30 G80 G0 Z10 \r\nN35 G52 G0 M5 \r\nN40 M0 \r\n"
            "N45 T2 D2\r\nN50 X0 Y0 Z10\r\nN55 M3 S3000\r\nN60 G81 X8.89 Y3.81 ER3 Z-4 F300\r\n"
            "N65 G52 G0 X0 Y0 Z0\r\nN70 M5\r\nN75 M2\r\n" +
                std::string("\0\x13", 2));
}

TEST(Writers, DiametreNulLuDansUnFichier) {
  // A drill table entry of 0 (read from a file) for the first circuit holes: the Excellon tool
  // table still names every tool the holes select, and ISO stops the spindle and the program
  // before the second tool as before any other.
  Circuit c = Fait({Rec(3, 198, 1, 100, 100), Rec(3, 198, 2, 200, 100)});
  c.EnteteCI.DiametresPercage[1] = 0;
  const ListePercages l = CollectePercages(c);
  EXPECT_EQ(l.Diametres, (std::vector<int32_t>{0, 0, 10}));
  const Cadre e = Etendue(c);
  EXPECT_EQ(Texte(SaveExcellon(l, e, kCI)),
            "M48\r\nINCH,LZ\r\nT01C0.000\r\nT02C0.039\r\n%\r\n"
            "T01\r\nX00150Y00150\r\nT02\r\nX00250Y00150\r\nT00\r\nM30\r\n");
  EXPECT_NE(Texte(SaveISO(l, e, kCI))
                .find("N20 G81 X3.81 Y3.81 ER3 Z-4 F300\r\n"
                      "N25 G80 G0 Z10 \r\nN30 G52 G0 M5 \r\nN35 M0 \r\nN40 T2 D2\r\n"),
            std::string::npos);
}

// Diameters no dialog gives, read from a damaged file: the export refuses them for the drill
// indices the circuit holes use, naming each with its value; unused entries and pins change
// nothing.
TEST(VerifieDiametresPercage, RefuseLesDiametresEndommagesDesOutilsUtilises) {
  struct Cas {
    int32_t d2, d9;       // table entries 2 (used) and 9 (unused)
    const char* attendu;  // nullptr: accepted
  };
  for (const Cas& k : std::vector<Cas>{
           {10, 10, nullptr},
           {1, 0, nullptr},  // 0,1 mm; a damaged unused entry changes nothing
           {8000, -7, nullptr},
           {0, 10, "un diamètre de perçage invalide : n° 2 = 0 (en dixièmes de millimètre"},
           {-1, 10, "n° 2 = -1 "},
           {8001, 10, "n° 2 = 8001 "},
           {65546, 10, "n° 2 = 65546 "},  // 16 bits would make it 1 mm
           {2147483647, 10, "n° 2 = 2147483647 "},
       }) {
    Circuit c = Fait({Rec(3, 198, 1, 100, 100), Rec(3, 198, 2, 200, 100), Rec(3, 205, 0, 0, 0),
                      Rec(3, 205, 9, 50, 50), Rec(3, 193, 0, 20, 20)});
    c.EnteteCI.DiametresPercage[2] = k.d2;
    c.EnteteCI.DiametresPercage[9] = k.d9;
    c.EnteteCI.DiametresPercage[0] = -3;  // no pad drills with index 0
    std::string erreur;
    EXPECT_EQ(VerifieDiametresPercage(c, kCI, erreur), k.attendu == nullptr) << k.d2;
    if (k.attendu != nullptr) {
      EXPECT_NE(erreur.find(k.attendu), std::string::npos) << erreur;
      EXPECT_NE(erreur.find("aucun fichier de perçage n'est écrit"), std::string::npos);
    }
    EXPECT_TRUE(VerifieDiametresPercage(c, kPions, erreur)) << "pins take no diameter";
  }
  Circuit c = Fait({Rec(3, 198, 1, 100, 100), Rec(3, 204, 13, 200, 100)});
  c.EnteteCI.DiametresPercage[1] = 0;
  c.EnteteCI.DiametresPercage[13] = -20;
  std::string erreur;
  EXPECT_FALSE(VerifieDiametresPercage(c, kCI, erreur));
  EXPECT_NE(erreur.find("des diamètres de perçage invalides : n° 1 = 0, n° 13 = -20 ("),
            std::string::npos)
      << erreur;
}

TEST(SaveISO, UnTrouEtPionsEtEnTete) {
  // One hole: N5 to N20 for its four blocks, N25 to N35 for the footer, then NUL and DC3.
  const Circuit c = Fait({Rec(3, 198, 2, 1000, 500)});
  const ListePercages l = CollectePercages(c);
  Cadre e{0, 500, 1000, 0};  // a box of 1000 by 500 units
  EXPECT_EQ(Texte(SaveISO(l, e, kCI)),
            "%5000Dimensions du circuit : X=25.40 mm - Y=12.70\r\n"
            "Per\xE7"
            "age du circuit imprim\xE9\r\n"
            "N5 T1 D1\r\nN10 X0 Y0 Z10\r\nN15 M3 S3000\r\nN20 G81 X27.94 Y15.24 ER3 Z-4 F300\r\n"
            "N25 G52 G0 X0 Y0 Z0\r\nN30 M5\r\nN35 M2\r\n" +
                std::string("\0\x13", 2));
  // Short lengths keep a leading zero.
  e = Cadre{0, 2, 0, 0};
  const std::string f = Texte(SaveISO(l, e, kCI));
  EXPECT_EQ(f.substr(0, f.find("\r\n")), "%5000Dimensions du circuit : X=0.00 mm - Y=0.05");

  // Pins: tool 1 only, never a closing block.
  const Circuit p = Fait({Rec(3, 205, 3, 100, 100), Rec(3, 205, 0, 200, 100)});
  const std::string g = Texte(SaveISO(CollectePercages(p), Etendue(p), kPions));
  EXPECT_NE(g.find("Per\xE7"
                   "age des pions de centrage\r\nN5 T1 D1\r\n"),
            std::string::npos);
  EXPECT_NE(g.find("N20 G81 X6.35 Y6.35 ER3 Z-4 F300\r\nN25 X8.89 Y6.35\r\nN30 G52"),
            std::string::npos);
  EXPECT_EQ(g.find("M0 "), std::string::npos);
}

TEST(SaveHPGLEtPEX, UnTrou) {
  // One circuit hole of 1 mm at X = 250, Y = 100.
  const Circuit c = Fait({Rec(3, 198, 2, 250, 100)});
  const ListePercages l = CollectePercages(c);
  const Cadre e{100, 100, 100, 100};
  EXPECT_EQ(Texte(SaveHPGL(l, e, kCI)), "IN;SP1;PA254,101;PD;PU;PU;SP0;IN;");
  EXPECT_EQ(SavePEX(l, e, kCI), (std::vector<uint8_t>{1, 0, 10, 0, 250, 0, 100, 0}));
  // No side: the count alone.
  EXPECT_EQ(SavePEX(l, e, {ElementsAPercer::CI, FacePercage::Aucune}),
            (std::vector<uint8_t>{1, 0}));
}

TEST(SavePEX, PionsEnDiametreZeroEtCompteTropGrand) {
  const Circuit c = Fait({Rec(3, 205, 5, 300, 0x1234), Rec(3, 198, 1, 0, 0)});
  const Cadre e{0, 0, 0, 100};
  EXPECT_EQ(SavePEX(CollectePercages(c), e, kPions),
            (std::vector<uint8_t>{1, 0, 0, 0, 0x90, 0x01, 0x34, 0x12}));

  // More holes than the 16-bit count can say: no file rather than a wrong count.
  Circuit g;
  for (int i = 0; i < 65536; ++i) g.Elements[++g.NbElements] = Rec(3, 198, 1, 0, 0);
  EXPECT_TRUE(SavePEX(CollectePercages(g), Cadre{0, 0, 0, 0}, kCI).empty());
}

TEST(Writers, PlusDeHuitOutils) {
  // Ten increasing diameters: the names go on past the eighth tool.
  Circuit c;
  for (uint8_t k = 1; k <= 10; ++k) {
    c.Elements[++c.NbElements] = Rec(3, 198, k, static_cast<uint16_t>(k * 100), 100);
    c.EnteteCI.DiametresPercage[k] = 5 * k;
  }
  const ListePercages l = CollectePercages(c);
  const Cadre e = Etendue(c);
  const std::string exl = Texte(SaveExcellon(l, e, kCI));
  EXPECT_NE(exl.find("T09C0.177\r\nT10C0.197\r\n%\r\n"), std::string::npos);
  EXPECT_NE(exl.find("T10\r\nX01050Y00150\r\nT00"), std::string::npos);
  EXPECT_NE(Texte(SaveISO(l, e, kCI)).find("N320 T10 D10\r\n"), std::string::npos);
  EXPECT_NE(Texte(SaveHPGL(l, e, kCI)).find("SP9;PA965,152;PD;PU;SP10;"), std::string::npos);
}

}  // namespace
}  // namespace korv4
