// The check that follows the circuit: after each change it gives what the whole check gives,
// tells the faults that appeared, and leaves alone what the check does not read.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "model/Circuit.h"
#include "render/CircuitExemple.h"
#include "verification/Continue.h"
#include "verification/Isolements.h"

namespace korv4 {
namespace {

bool MemesDefauts(const std::vector<Defaut>& a, const std::vector<Defaut>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), MemeDefaut);
}

long Compte(const std::vector<Defaut>& v, const Defaut& d) {
  return std::count_if(v.begin(), v.end(), [&](const Defaut& e) { return MemeDefaut(d, e); });
}

TEST(VerificationContinue, ApresDesChangementsAuHasardCommeLaVerificationComplete) {
  for (uint32_t graine : {1u, 2u, 3u}) {
    Circuit c;
    CircuitExemple(c, 1500, 6000, 4000, graine);
    OptionsVerification o;
    o.IsolementMm = 0.4;
    VerificationContinue v;
    v.Commence(c, o);
    std::mt19937 hasard(graine);
    auto Au = [&](int32_t n) { return static_cast<int32_t>(hasard() % static_cast<uint32_t>(n)); };
    for (int pas = 0; pas < 40; ++pas) {
      const std::vector<Defaut> avant = v.Resultat().Defauts;
      const uint64_t verifications = v.Verifications();
      const int genre = Au(5);
      const int32_t i = 1 + Au(c.NbElements);
      switch (genre) {
        case 0:  // a record moved a little (a pad, a point of a track, a letter)
          c.Elements[i].X += Au(81) - 40;
          c.Elements[i].Y += Au(81) - 40;
          break;
        case 1:  // a record taken out, those after it moved down
          std::copy(c.Elements.begin() + i + 1, c.Elements.begin() + c.NbElements + 1,
                    c.Elements.begin() + i);
          c.Elements[c.NbElements] = ElementCI{};
          --c.NbElements;
          break;
        case 2:  // a record copied at the end, elsewhere
          c.Elements[c.NbElements + 1] = c.Elements[i];
          c.Elements[c.NbElements + 1].X += Au(400) - 200;
          ++c.NbElements;
          break;
        case 3:  // a drill diameter changed: rings and drills too wide
          c.EnteteCI.DiametresPercage[1 + Au(13)] = 5 + Au(30);
          break;
        case 4:  // the selection alone: nothing to check
          c.Selection.Premier = i;
          c.Selection.Dernier = i;
          break;
      }
      const bool verifie = v.Suit(c);
      SCOPED_TRACE(::testing::Message() << "graine " << graine << ", pas " << pas);
      ASSERT_EQ(verifie, genre != 4);
      EXPECT_EQ(v.Verifications(), verifications + (genre != 4 ? 1 : 0));
      ASSERT_TRUE(MemesDefauts(v.Resultat().Defauts, VerifieCircuit(c, o).Defauts));
      // The new faults: as many of each as the list has more than before.
      for (const Defaut& d : v.Resultat().Defauts) {
        const long plus = Compte(v.Resultat().Defauts, d) - Compte(avant, d);
        EXPECT_EQ(Compte(v.Nouveaux(), d), std::max(plus, 0L));
      }
      for (const Defaut& d : v.Nouveaux()) EXPECT_GT(Compte(v.Resultat().Defauts, d), 0);
      if (genre == 1) {
        EXPECT_EQ(v.DebutChange(), i);
        EXPECT_EQ(v.AnciensChanges(), v.NouveauxChanges() + 1);
      }
    }
  }
}

TEST(VerificationContinue, UnDefautQuiApparaitEstNouveau) {
  Circuit c;
  c.EnteteCI.SurfaceX = c.EnteteCI.SurfaceY = 5000;
  AjouteRecord(c, kCouchePastilles, 193, 0, 1000, 1000, 0);  // 35 x 59 units
  OptionsVerification o;
  VerificationContinue v;
  EXPECT_FALSE(v.Suit(c));  // nothing begun
  EXPECT_TRUE(v.Commence(c, o).Defauts.empty());
  EXPECT_FALSE(v.Suit(c));
  AjouteRecord(c, kCouchePastilles, 193, 0, 1042, 1000, 0);  // 7 units apart: 0.18 mm
  ASSERT_TRUE(v.Suit(c));
  ASSERT_EQ(v.Nouveaux().size(), 2u);  // the pads are on both faces
  EXPECT_EQ(v.Nouveaux()[0].Genre, GenreDefaut::Isolement);
  EXPECT_EQ(v.DebutChange(), 2);
  // Moved away: the faults go, nothing new.
  c.Elements[2].X = 1500;
  ASSERT_TRUE(v.Suit(c));
  EXPECT_TRUE(v.Nouveaux().empty());
  EXPECT_TRUE(v.Resultat().Defauts.empty());
}

}  // namespace
}  // namespace korv4
