// The fast operations of the store against their literal versions, on many seeded random
// stores, damaged ones included: same records, same order, same count, same flags.

#include <gtest/gtest.h>

#include "Litteral.h"
#include "MagasinAleatoire.h"

namespace korv4 {
namespace {

using essai::Charge;
using essai::MagasinAleatoire;

::testing::AssertionResult MemeMagasin(const Circuit& a, const Circuit& b) {
  if (a.NbElements != b.NbElements)
    return ::testing::AssertionFailure() << "counts " << a.NbElements << " != " << b.NbElements;
  for (int32_t i = 1; i <= a.NbElements; ++i)
    if (a.Elements[i] != b.Elements[i])
      return ::testing::AssertionFailure() << "record " << i << " differs";
  if (a.CircuitModifie != b.CircuitModifie)
    return ::testing::AssertionFailure() << "CircuitModifie differs";
  return ::testing::AssertionSuccess();
}

// Joins the same store with both versions and compares.
::testing::AssertionResult MemeJonction(Circuit& rapide, Circuit& litteral,
                                        const std::vector<ElementCI>& v) {
  Charge(rapide, v);
  Charge(litteral, v);
  JonctionPistes(rapide);
  litteral::JonctionPistes(litteral);
  return MemeMagasin(rapide, litteral);
}

TEST(Differentiel, JonctionPistes) {
  Circuit rapide, litteral;
  for (uint32_t graine = 1; graine <= 3000; ++graine) {
    MagasinAleatoire m(graine);
    std::vector<ElementCI> v;
    switch (graine % 4) {
      case 0: v = m.MagasinDense(m.Tire(0, 60)); break;
      case 1: v = m.Magasin(m.Tire(0, 120), false); break;
      default: v = m.Magasin(m.Tire(0, 120), true); break;
    }
    if (graine % 5 == 0) m.Chaine(v, m.Tire(2, 30), 1, 163);
    ASSERT_TRUE(MemeJonction(rapide, litteral, v)) << "seed " << graine;
  }
}

// Small stores where nearly every point is a damaged track's end: these reach the rare
// restarts of the joining walk (a join that gives an earlier track its partner).
TEST(Differentiel, JonctionPistesMagasinsDenses) {
  Circuit rapide, litteral;
  for (uint32_t graine = 1; graine <= 20000; ++graine) {
    MagasinAleatoire m(graine);
    ASSERT_TRUE(MemeJonction(rapide, litteral, m.MagasinDense(m.Tire(2, 25)))) << "seed " << graine;
  }
}

TEST(Differentiel, SelectionRectangle) {
  Circuit rapide, litteral;
  for (uint32_t graine = 1; graine <= 3000; ++graine) {
    MagasinAleatoire m(graine);
    const std::vector<ElementCI> v = graine % 4 == 0 ? m.MagasinDense(m.Tire(0, 60))
                                                     : m.Magasin(m.Tire(0, 120), graine % 2 == 0);
    Charge(rapide, v);
    Charge(litteral, v);
    const int32_t x0 = 50 * m.Tire(0, 14), y0 = 50 * m.Tire(0, 14);
    const Cadre r{x0, y0 + 50 * m.Tire(0, 14), x0 + 50 * m.Tire(0, 14), y0};
    const Plage a = SelectionRectangle(rapide, r);
    const Plage b = litteral::SelectionRectangle(litteral, r);
    ASSERT_EQ(a, b) << "seed " << graine;
    ASSERT_TRUE(MemeMagasin(rapide, litteral)) << "seed " << graine;
  }
}

}  // namespace
}  // namespace korv4
