// Editing rules of the store: creation, joining, pointing, deletion and undo, zones and groups.

#include <gtest/gtest.h>

#include "MagasinAleatoire.h"
#include "model/Circuit.h"

namespace korv4 {
namespace {

using essai::Rec;

struct MessagesNotes : Messages {
  std::vector<std::string> notes;
  void Message(const std::string& t) override { notes.push_back(t); }
};

struct Modele : ::testing::Test {
  Circuit c;
  MessagesNotes messages;
  void SetUp() override { c.messages = &messages; }
  void Pose(std::initializer_list<ElementCI> recs) {
    for (const ElementCI& e : recs) c.Elements[++c.NbElements] = e;
  }
  std::vector<ElementCI> Magasin() const {
    return {c.Elements.begin() + 1, c.Elements.begin() + c.NbElements + 1};
  }
  // Draws a track of that kind point by point, then ends it.
  void Trace(int travail, uint8_t genre, std::initializer_list<std::pair<int, int>> pts) {
    for (auto [x, y] : pts)
      AjoutElement(c, travail, genre, static_cast<uint16_t>(x), static_cast<uint16_t>(y));
    TermineTrace(c);
  }
  void Zone(int32_t premier, int32_t dernier) {
    c.Selection.Active = 1;
    c.Selection.Premier = premier;
    c.Selection.Dernier = dernier;
    c.Selection.CadreZone = CadreElements(c, premier, dernier);
  }
};

// ---- creation ----

TEST_F(Modele, ClicsDePisteRepetesEtPisteDUnPoint) {
  AjoutElement(c, 1, uint8_t{163}, 100, 100);
  AjoutElement(c, 1, uint8_t{163}, 100, 100);
  EXPECT_EQ(c.NbElements, 1);
  TermineTrace(c);
  EXPECT_EQ(c.NbElements, 0) << "a track of one point leaves nothing";
  EXPECT_EQ(c.Elements[1], ElementCI{});
}

TEST_F(Modele, DessinsDegeneresDisparaissent) {
  struct Cas {
    uint8_t genre1, genre2;
    int x2, y2;
    bool reste;
  } cas[] = {{128, 129, 500, 500, false}, {130, 131, 500, 900, false}, {134, 135, 900, 500, false},
             {132, 133, 500, 500, false}, {128, 129, 500, 600, true},  {130, 131, 600, 900, true}};
  for (const Cas& k : cas) {
    RazCircuit(c);
    AjoutElement(c, 3, k.genre1, 500, 500);
    AjoutElement(c, 3, k.genre2, static_cast<uint16_t>(k.x2), static_cast<uint16_t>(k.y2));
    EXPECT_EQ(c.NbElements, k.reste ? 2 : 0) << int{k.genre1};
  }
  RazCircuit(c);
  AjoutElement(c, 3, uint8_t{132}, 1000, 1000);
  AjoutElement(c, 3, uint8_t{133}, 1030, 1040);
  EXPECT_EQ(c.Elements[2].X, 40) << "the radius is the larger distance, not the length";
  EXPECT_EQ(c.Elements[2].Y, 0);
}

TEST_F(Modele, PastillesEtLimite) {
  EXPECT_TRUE(PastilleGenante(c, 149, 1000, uint8_t{203})) << "a 10 mm pad crossing the left edge";
  EXPECT_FALSE(PastilleGenante(c, 151, 1000, uint8_t{203}));
  AjoutElement(c, 2, uint8_t{199}, 1000, 1000);
  EXPECT_EQ(c.Elements[1], Rec(3, 199, 2, 1000, 1000));
  EXPECT_TRUE(PastilleGenante(c, 1099, 1000, uint8_t{199}));   // 50 + 50 > 99
  EXPECT_FALSE(PastilleGenante(c, 1100, 1000, uint8_t{199}));  // strict

  c.NbElements = kMaxElements - 1;
  AjoutElement(c, 1, uint8_t{193}, 500, 500);
  EXPECT_EQ(c.NbElements, kMaxElements - 1);
  ASSERT_EQ(messages.notes.size(), 1u);
  EXPECT_EQ(messages.notes[0], kMessageLimite);
}

TEST_F(Modele, UnElementCommenceSAcheveALaLimite) {
  // A track whose last point brings the store to 99999 records is still ended: ending adds
  // nothing. Left open, the next track would have continued it.
  c.NbElements = kMaxElements - 3;
  Trace(1, 163, {{100, 100}, {300, 100}});
  EXPECT_EQ(c.NbElements, kMaxElements - 1);
  EXPECT_EQ(c.Elements[kMaxElements - 1], Rec(1, 163, 0x40, 300, 100));
  // A drawing whose first point was accepted gets its second point.
  AjoutElement(c, 3, uint8_t{128}, 500, 500);
  EXPECT_EQ(c.NbElements, kMaxElements - 1) << "a first point at 99999 records is refused";
  c.NbElements = kMaxElements - 2;
  AjoutElement(c, 3, uint8_t{128}, 500, 500);
  AjoutElement(c, 3, uint8_t{129}, 900, 500);
  EXPECT_EQ(c.NbElements, kMaxElements);
  EXPECT_EQ(c.Elements[kMaxElements], Rec(4, 129, 1, 900, 500));
  EXPECT_EQ(messages.notes.size(), 1u);
  // The first point of a track refused at the limit: ending it leaves the last record alone.
  AjoutElement(c, 1, uint8_t{163}, 700, 700);
  TermineTrace(c);
  EXPECT_EQ(c.NbElements, kMaxElements);
  EXPECT_EQ(c.Elements[kMaxElements], Rec(4, 129, 1, 900, 500));
  EXPECT_EQ(messages.notes.size(), 2u) << "only the refused first point says so";
}

TEST_F(Modele, TextesFace1EtFace2EtLimite) {
  AjoutTexte(c, 1000, 500, 51, "AB", 1, 1);
  AjoutTexte(c, 1000, 500, 51, "AB", 1, 2);
  EXPECT_EQ(Magasin(),
            (std::vector<ElementCI>{Rec(1, 68, 1, 1100, 500, 'B'), Rec(1, 68, 1, 1200, 500, 'A'),
                                    Rec(1, 79, 0, 0, 0), Rec(2, 64, 1, 1000, 500, 'A'),
                                    Rec(2, 64, 1, 1100, 500, 'B'), Rec(2, 79, 0, 0, 0)}));
  // 99998 + 2 characters reaches the limit: refused; 99997 + 2 + end record = 100000: accepted.
  c.NbElements = kMaxElements - 2;
  AjoutTexte(c, 0, 0, 51, "AB", 1, 2);
  EXPECT_EQ(c.NbElements, kMaxElements - 2);
  EXPECT_EQ(messages.notes.size(), 1u);
  c.NbElements = kMaxElements - 3;
  AjoutTexte(c, 0, 0, 52, "AB", 1, 2);
  EXPECT_EQ(c.NbElements, kMaxElements);
}

// ---- joining ----

TEST_F(Modele, JonctionBoutABoutEtPasSinonMemeLargeurEtFace) {
  Pose({Rec(3, 199, 2, 50, 50)});
  Trace(1, 163, {{100, 100}, {300, 100}});
  Trace(1, 164, {{300, 100}, {300, 400}});  // another width: not joined
  Trace(2, 163, {{300, 100}, {300, 500}});  // another face: not joined
  Trace(1, 163, {{300, 100}, {500, 300}});
  // The joined track comes after all other records; the meeting point once, as a middle.
  EXPECT_EQ(Magasin(),
            (std::vector<ElementCI>{Rec(3, 199, 2, 50, 50), Rec(1, 164, 0x80, 300, 100),
                                    Rec(1, 164, 0x40, 300, 400), Rec(2, 163, 0x80, 300, 100),
                                    Rec(2, 163, 0x40, 300, 500), Rec(1, 163, 0x80, 100, 100),
                                    Rec(1, 163, 0x60, 300, 100), Rec(1, 163, 0x40, 500, 300)}));
  EXPECT_TRUE(c.CircuitModifie);
}

TEST_F(Modele, PassesColineaires) {
  Trace(1, 163, {{100, 100}, {200, 100}, {300, 100}, {400, 200}});
  EXPECT_EQ(Magasin(),
            (std::vector<ElementCI>{Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x60, 300, 100),
                                    Rec(1, 163, 0x40, 400, 200)}));
}

TEST_F(Modele, PartenaireDansUnGroupe) {
  // A track of level 0 finds its partner inside a later group; the joined track leaves the
  // group. A track inside a group never looks for partners itself.
  Pose({Rec(1, 163, 0x80, 300, 300), Rec(1, 163, 0x40, 300, 100), Rec(0, 255, 0, 100, 100),
        Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x40, 300, 100), Rec(0, 254, 0, 300, 100),
        Rec(0, 255, 0, 0, 0), Rec(2, 163, 0x80, 0, 0), Rec(2, 163, 0x40, 900, 0),
        Rec(0, 254, 0, 900, 0), Rec(2, 163, 0x80, 900, 0), Rec(2, 163, 0x40, 900, 900)});
  JonctionPistes(c);
  EXPECT_EQ(Magasin(),
            (std::vector<ElementCI>{
                Rec(0, 255, 0, 100, 100), Rec(0, 254, 0, 300, 100), Rec(0, 255, 0, 0, 0),
                Rec(2, 163, 0x80, 0, 0), Rec(2, 163, 0x40, 900, 0), Rec(0, 254, 0, 900, 0),
                Rec(2, 163, 0x80, 900, 0), Rec(2, 163, 0x40, 900, 900), Rec(1, 163, 0x80, 300, 300),
                Rec(1, 163, 0x60, 300, 100), Rec(1, 163, 0x40, 100, 100)}));
}

TEST_F(Modele, JonctionSansChangementLaisseLeDrapeau) {
  Pose({Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x40, 300, 300)});
  JonctionPistes(c);
  EXPECT_FALSE(c.CircuitModifie);
}

// ---- pointing ----

TEST_F(Modele, ChercherPastilleBordsEtOrdre) {
  Pose({Rec(1, 163, 0x80, 0, 0), Rec(1, 163, 0x40, 10, 0), Rec(3, 199, 2, 1000, 1000),
        Rec(3, 199, 2, 1020, 1000)});
  EXPECT_EQ(ChercherPastille(c, 1010, 1000), (Plage{3, 3})) << "the earlier pad";
  EXPECT_EQ(ChercherPastille(c, 950, 1000), (Plage{0, 0})) << "|x - X| = h is outside";
  EXPECT_EQ(ChercherPastille(c, 951, 1049), (Plage{3, 3}));
  EXPECT_EQ(ChercherPastilleProche(c, 1004, 996), (Plage{3, 3}));
  EXPECT_EQ(ChercherPastilleProche(c, 1005, 1000), (Plage{0, 0}));
}

TEST_F(Modele, ChercherSegmentParDirection) {
  // One track of width 1 mm (w = 20, W = 30): right, up-right, up, left.
  Pose({Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x60, 300, 100), Rec(1, 163, 0x60, 500, 300),
        Rec(1, 163, 0x60, 500, 500), Rec(1, 163, 0x40, 200, 500)});
  struct Cas {
    int x, y;
    Plage attendu;
  } cas[] = {{200, 119, {1, 2}}, {200, 120, {0, 0}}, {99, 100, {0, 0}},  {400, 229, {2, 3}},
             {400, 230, {0, 0}}, {519, 400, {3, 4}}, {300, 500, {4, 5}}, {500, 300, {2, 3}}};
  for (const Cas& k : cas)
    EXPECT_EQ(ChercherSegment(c, 1, k.x, k.y), k.attendu) << k.x << "," << k.y;
  EXPECT_EQ(ChercherSegment(c, 2, 200, 100), (Plage{0, 0})) << "another face";
  EXPECT_EQ(ChercherPiste(c, 1, 519, 400), (Plage{1, 5}));
}

TEST_F(Modele, ChercherTexteEtGroupe) {
  AjoutTexte(c, 1000, 500, 51, "AB", 1, 2);  // box 1000..1200 x 500..600
  Pose({Rec(0, 255, 0, 2000, 2000)});
  AjoutTexte(c, 2100, 2100, 51, "C", 1, 2);
  Pose({Rec(0, 254, 0, 2200, 2200)});
  EXPECT_EQ(ChercherTexte(c, 2, 1200, 600), (Plage{1, 3})) << "the border is inside";
  EXPECT_EQ(ChercherTexte(c, 2, 1201, 600), (Plage{0, 0}));
  EXPECT_EQ(ChercherTexte(c, 2, 2150, 2150), (Plage{0, 0})) << "inside a group";
  EXPECT_EQ(ChercherGroupe(c, 2150, 2150), (Plage{4, 7}));
}

TEST_F(Modele, ChercherDessin) {
  Pose({Rec(4, 132, 1, 1000, 1000), Rec(4, 133, 1, 100, 0), Rec(4, 130, 1, 2000, 2000),
        Rec(4, 131, 1, 2400, 2300)});
  EXPECT_EQ(ChercherDessin(c, 3, 1100, 1000), (Plage{1, 2}));
  EXPECT_EQ(ChercherDessin(c, 3, 1000, 1000), (Plage{0, 0})) << "the centre";
  EXPECT_EQ(ChercherDessin(c, 3, 1200, 1000), (Plage{0, 0}));
  EXPECT_EQ(ChercherDessin(c, 3, 2010, 2150), (Plage{3, 4}));
  EXPECT_EQ(ChercherDessin(c, 3, 2200, 2150), (Plage{0, 0})) << "the middle of a rectangle";
  EXPECT_EQ(ChercherDessin(c, 1, 2010, 2150), (Plage{0, 0})) << "another work";
  // Ellipses one unit wide or high drawn towards the origin have a half-axis of 0: they lie
  // along their box and are found near it like a line.
  Pose({Rec(4, 134, 1, 3001, 3000), Rec(4, 135, 1, 3000, 3400), Rec(4, 134, 1, 4000, 4001),
        Rec(4, 135, 1, 4400, 4000)});
  EXPECT_EQ(ChercherDessin(c, 3, 3010, 3200), (Plage{5, 6}));
  EXPECT_EQ(ChercherDessin(c, 3, 3030, 3200), (Plage{0, 0}));
  EXPECT_EQ(ChercherDessin(c, 3, 4200, 3990), (Plage{7, 8}));
}

// ---- deletion and undo ----

TEST_F(Modele, SuppressionDeSegmentsEtAnnulation) {
  const std::initializer_list<ElementCI> quatre = {
      Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x60, 300, 100), Rec(1, 163, 0x60, 300, 300),
      Rec(1, 163, 0x40, 500, 500)};
  Pose(quatre);
  Suppression(c, {2, 3});  // the middle segment: cut in two, nothing removed
  EXPECT_EQ(c.NbElements, 4);
  EXPECT_EQ(c.Elements[2].Attribut, 0x40);
  EXPECT_EQ(c.Elements[3].Attribut, 0x80);
  EXPECT_TRUE(c.CircuitModifie);
  AnnuleSuppression(c);
  EXPECT_EQ(Magasin(),
            (std::vector<ElementCI>{Rec(1, 163, 0x80, 500, 500), Rec(1, 163, 0x60, 300, 300),
                                    Rec(1, 163, 0x60, 300, 100), Rec(1, 163, 0x40, 100, 100)}))
      << "joined back as one track, at the end of the store";

  struct Cas {
    Plage segment;
    std::vector<ElementCI> reste;
  } cas[] = {
      {{1, 2}, {Rec(1, 163, 0x80, 300, 100), Rec(1, 163, 0x40, 300, 300)}},
      {{2, 3}, {Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x40, 300, 100)}},
  };
  for (const Cas& k : cas) {
    RazCircuit(c);
    Pose({Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x60, 300, 100), Rec(1, 163, 0x40, 300, 300)});
    Suppression(c, k.segment);
    EXPECT_EQ(Magasin(), k.reste);
  }
  RazCircuit(c);
  Pose({Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x40, 300, 100)});
  Suppression(c, {1, 2});
  EXPECT_EQ(c.NbElements, 0);
}

TEST_F(Modele, AnnulationSeulementDeLaDerniere) {
  Pose({Rec(3, 199, 2, 1000, 1000), Rec(3, 200, 3, 2000, 1000)});
  Suppression(c, {1, 1});
  Suppression(c, {1, 1});
  AnnuleSuppression(c);
  EXPECT_EQ(Magasin(), (std::vector<ElementCI>{Rec(3, 200, 3, 2000, 1000)}));
  AnnuleSuppression(c);  // nothing left to undo
  EXPECT_EQ(c.NbElements, 1);
}

TEST_F(Modele, AnnulationQuiDepasseraitLaLimiteEstRefusee) {
  Pose({Rec(3, 199, 2, 1000, 1000), Rec(3, 200, 3, 2000, 1000)});
  Suppression(c, {1, 2});
  c.NbElements = kMaxElements - 1;
  AnnuleSuppression(c);
  EXPECT_EQ(c.NbElements, kMaxElements - 1);
  EXPECT_EQ(c.NbSupprimes, 2) << "the undo copy stays";
  EXPECT_EQ(messages.notes.size(), 1u);
}

// ---- zones ----

TEST_F(Modele, SelectionRectangleNePrendQueLesElementsEntiers) {
  Pose({Rec(1, 163, 0x80, 100, 100), Rec(1, 163, 0x40, 300, 100),    // whole track: taken
        Rec(1, 163, 0x80, 200, 200), Rec(1, 163, 0x40, 900, 200),    // first point only
        Rec(3, 199, 2, 440, 200),                                    // outline sticks out
        Rec(2, 64, 1, 100, 300, 'A'), Rec(2, 64, 1, 450, 300, 'B'),  // last cell sticks out
        Rec(2, 79, 0, 0, 0), Rec(0, 255, 0, 100, 100), Rec(3, 199, 2, 200, 200),
        Rec(0, 254, 0, 900, 900), Rec(3, 199, 2, 300, 300)});  // whole pad: taken
  const Plage p = SelectionRectangle(c, {0, 500, 500, 0});
  EXPECT_EQ(p, (Plage{10, 12}));
  EXPECT_EQ(c.Elements[10], Rec(1, 163, 0x80, 100, 100));
  EXPECT_EQ(c.Elements[12], Rec(3, 199, 2, 300, 300));
  EXPECT_EQ(c.Elements[7], Rec(0, 255, 0, 100, 100)) << "the group's content stays with it";
  EXPECT_FALSE(c.CircuitModifie);
  EXPECT_EQ(SelectionRectangle(c, {5000, 5100, 5100, 5000}), (Plage{0, 0}));
}

TEST_F(Modele, DupliquerPuisSupprimerLaCopie) {
  for (int k = 0; k < 100; ++k) Pose({Rec(3, 199, 2, static_cast<uint16_t>(200 + 10 * k), 500)});
  Zone(91, 100);
  DupliqueZone(c, 0, 1000);
  EXPECT_EQ(c.NbElements, 110);
  EXPECT_EQ(c.Selection.Premier, 101);
  EXPECT_EQ(c.Selection.Dernier, 110);
  EXPECT_EQ(c.Selection.Active, 2);
  EXPECT_EQ(c.Elements[101].Y, 1500);
  EXPECT_EQ(c.Elements[91].Y, 500);
  SupprimeZone(c);
  EXPECT_EQ(c.NbElements, 100);
  EXPECT_EQ(c.Selection.Premier, 91);
  EXPECT_EQ(c.Selection.Dernier, 100);
  EXPECT_EQ(c.Selection.Active, 1);
  // Undo right after brings the copy back as the zone.
  AnnuleSuppression(c);
  EXPECT_EQ(c.NbElements, 110);
  EXPECT_EQ(c.Selection.Premier, 101);
  EXPECT_EQ(c.Selection.Active, 2);
}

TEST_F(Modele, SupprimerUneCopieQuiAChangeDeTailleNeLaissePasDeZoneHorsDuMagasin) {
  Pose({Rec(3, 199, 2, 500, 500)});
  Zone(1, 1);
  DupliqueZone(c, 100, 0);
  c.Selection.CadreZone = CadreElements(c, 2, 2);
  GroupeZone(c);  // the copy is now 3 records
  SupprimeZone(c);
  EXPECT_EQ(c.NbElements, 1);
  EXPECT_EQ(c.Selection.Active, 0);
  EXPECT_EQ(c.Selection.Premier, 0);
  EXPECT_EQ(CadreElements(c, -1, 5), CadreElements(c, 1, 1));
}

TEST_F(Modele, DupliquerAuDelaDeLaLimite) {
  Pose({Rec(3, 199, 2, 500, 500), Rec(3, 199, 2, 700, 500)});
  Zone(1, 2);
  c.NbElements = kMaxElements - 2;
  DupliqueZone(c, 0, 100);
  EXPECT_EQ(c.NbElements, kMaxElements - 2);
  EXPECT_EQ(c.Selection.Active, 1);
  EXPECT_EQ(messages.notes.size(), 1u);
}

TEST_F(Modele, TournerEtInverser) {
  Pose({Rec(3, 193, 0, 1000, 1000), Rec(1, 163, 0x80, 1000, 1000), Rec(1, 163, 0x40, 1400, 1200),
        Rec(4, 132, 1, 1200, 1100), Rec(4, 133, 1, 150, 0), Rec(2, 64, 2, 1000, 1300, 'A'),
        Rec(2, 64, 2, 1150, 1300, 'B'), Rec(2, 79, 0, 0, 0), Rec(1, 69, 1, 1300, 1500, 'C'),
        Rec(1, 79, 0, 0, 0)});
  Zone(1, c.NbElements);
  const std::vector<ElementCI> avant = Magasin();
  const Cadre cadre = c.Selection.CadreZone;
  TourneZone(c);
  EXPECT_EQ(c.Elements[1].Code, 194) << "a 0,9 x 1,5 pad becomes 1,5 x 0,9";
  EXPECT_EQ(c.Elements[5], Rec(4, 133, 1, 150, 0)) << "the radius stays";
  EXPECT_EQ(c.Elements[6].Code, 65);
  for (int k = 0; k < 3; ++k) TourneZone(c);
  EXPECT_EQ(Magasin(), avant) << "four quarter turns";
  InverseZone(c);
  EXPECT_EQ(c.Elements[1].Code, 193) << "mirroring keeps the orientation";
  EXPECT_EQ(c.Elements[1].X, cadre.Gauche + cadre.Droite - 1000);
  InverseZone(c);
  EXPECT_EQ(Magasin(), avant);
  DeplaceZone(c, 10, -10);
  EXPECT_EQ(c.Elements[5], Rec(4, 133, 1, 150, 0));
  EXPECT_EQ(c.Elements[4], Rec(4, 132, 1, 1210, 1090));
}

TEST_F(Modele, GroupesEtMiroir) {
  Pose({Rec(3, 199, 2, 1000, 1000), Rec(3, 199, 2, 1600, 1300), Rec(3, 199, 2, 5000, 5000)});
  Zone(1, 2);
  GroupeZone(c);
  EXPECT_EQ(c.NbElements, 5);
  EXPECT_EQ(c.Elements[1], Rec(0, 255, 0, 900, 900));
  EXPECT_EQ(c.Elements[4], Rec(0, 254, 0, 1700, 1400));
  EXPECT_EQ(c.Elements[5], Rec(3, 199, 2, 5000, 5000));
  EXPECT_EQ(c.Selection.Dernier, 4);
  EXPECT_TRUE(EstUnGroupe(c));
  GroupeZone(c);
  EXPECT_EQ(c.NbElements, 5) << "already one group";

  // A mirrored group is still found where its contents are.
  c.Selection.CadreZone = {0, 1400, 4000, 900};
  InverseZone(c);
  EXPECT_EQ(c.Elements[2].X, 3000);
  EXPECT_EQ(ChercherGroupe(c, 2700, 1200), (Plage{1, 4}));
  EXPECT_EQ(c.Elements[1].X, 2300);
  EXPECT_EQ(c.Elements[4].X, 3100);

  DissocieZone(c);
  EXPECT_EQ(c.NbElements, 3);
  EXPECT_EQ(c.Selection.Dernier, 2);
  DissocieZone(c);
  EXPECT_EQ(c.NbElements, 3) << "not a group";

  c.NbElements = kMaxElements - 1;
  Zone(kMaxElements - 2, kMaxElements - 1);
  GroupeZone(c);
  EXPECT_EQ(c.NbElements, kMaxElements - 1);
  EXPECT_EQ(messages.notes.size(), 1u);
}

TEST_F(Modele, EffacerLaZone) {
  Pose({Rec(3, 199, 2, 1000, 1000), Rec(3, 200, 3, 2000, 1000), Rec(3, 201, 4, 3000, 1000)});
  Zone(2, 2);
  EffaceZone(c);
  EXPECT_EQ(Magasin(),
            (std::vector<ElementCI>{Rec(3, 199, 2, 1000, 1000), Rec(3, 201, 4, 3000, 1000)}));
  EXPECT_EQ(c.Selection.Premier, 0);
  EXPECT_EQ(c.NbSupprimes, 1);
}

// A stale zone that ends inside a text: turning and mirroring rewrite the whole text up to its
// end-of-text record, as when the zone holds the whole text; a text rewritten only up
// to the zone's end would be garbled.
TEST_F(Modele, TournerOuInverserUneZoneQuiFinitDansUnTexte) {
  const std::vector<ElementCI> texte = {Rec(3, 199, 2, 900, 900),
                                        Rec(1, 64, 2, 1000, 1300, 'A'),
                                        Rec(1, 64, 2, 1150, 1300, 'B'),
                                        Rec(1, 64, 2, 1300, 1300, 'C'),
                                        Rec(1, 79, 0, 0, 0),
                                        Rec(3, 199, 2, 2000, 2000)};
  for (void (*operation)(Circuit&) : {TourneZone, InverseZone}) {
    // The zone ends on the text's second character, then on its end-of-text record; the box is
    // the same for both, so the text must come out the same.
    std::vector<ElementCI> resultats[2];
    for (int k = 0; k < 2; ++k) {
      RazCircuit(c);
      for (const ElementCI& e : texte) Pose({e});
      Zone(1, 5);
      c.Selection.Dernier = k == 0 ? 3 : 5;
      c.CircuitModifie = false;
      operation(c);
      EXPECT_TRUE(c.CircuitModifie);
      resultats[k] = Magasin();
    }
    EXPECT_EQ(resultats[0], resultats[1]);
    EXPECT_EQ(resultats[0][5], texte[5]) << "the record after the text is not the zone's";
    EXPECT_NE(resultats[0][3], texte[3]) << "the third character moved with the others";
  }
  // Turned: one vertical text, characters one pitch apart (pitch of size 2: 150).
  RazCircuit(c);
  for (const ElementCI& e : texte) Pose({e});
  Zone(1, 5);
  c.Selection.Dernier = 2;
  TourneZone(c);
  for (int m = 2; m <= 4; ++m) {
    EXPECT_EQ(c.Elements[m].Code, 65) << m;
    EXPECT_EQ(c.Elements[m].X, c.Elements[2].X) << m;
    EXPECT_EQ(c.Elements[m].Y, c.Elements[2].Y + (m - 2) * 150) << m;
  }
}

TEST_F(Modele, SupprimeElementHorsDuMagasinMarqueLeCircuitModifie) {
  Pose({Rec(3, 199, 2, 1000, 1000)});
  for (int32_t i : {0, 2, -5, kMaxElements + 1}) {
    c.CircuitModifie = false;
    SupprimeElement(c, i);  // = SupprimeElements(i, i), and sets CircuitModifie
    EXPECT_TRUE(c.CircuitModifie) << i;
    EXPECT_EQ(c.NbElements, 1) << i;
  }
  c.CircuitModifie = false;
  EffaceElement(c, 2);  // outside the store: nothing happens, the flag neither
  EXPECT_FALSE(c.CircuitModifie);
}

// On purpose: a range whose first record is none of a text, drawing,
// pad or track point (a finder led there by a damaged store) is removed, with its undo copy;
// saving only the copy would let its undo duplicate the records.
TEST_F(Modele, SuppressionDUnMarqueurDeGroupeLeRetireAvecSaCopie) {
  Pose({Rec(0, 255, 0, 900, 900), Rec(3, 199, 2, 1000, 1000), Rec(0, 254, 0, 1100, 1100),
        Rec(1, 79, 0, 0, 0)});
  Suppression(c, {1, 3});
  EXPECT_EQ(Magasin(), (std::vector<ElementCI>{Rec(1, 79, 0, 0, 0)}));
  EXPECT_EQ(c.NbSupprimes, 3);
  Suppression(c, {1, 1});  // an end-of-text record alone
  EXPECT_EQ(c.NbElements, 0);
  AnnuleSuppression(c);
  EXPECT_EQ(Magasin(), (std::vector<ElementCI>{Rec(1, 79, 0, 0, 0)})) << "restored once";
}

}  // namespace
}  // namespace korv4
