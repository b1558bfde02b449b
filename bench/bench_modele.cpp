// The model at the limit of 100000 records: joining, selecting, zone commands and finders.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "Enregistrement.h"
#include "model/Circuit.h"

namespace korv4 {
namespace {

using essai::Rec;

// A board of n records spread over 30000 x 30000 units: finished tracks that touch nothing
// (about half the records, in tracks of 10 points that turn at every point), pads, texts and
// drawings on every work.
std::vector<ElementCI> Carte(int n, uint32_t graine = 7) {
  std::mt19937 g(graine);
  auto tire = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(g); };
  std::vector<ElementCI> v;
  int piste = 0;
  while (static_cast<int>(v.size()) < n) {
    const int genre = tire(0, 9);
    const int x = tire(500, 29000), y = tire(500, 29000);
    if (genre < 5 && static_cast<int>(v.size()) + 10 <= n) {
      // Each track has its own row so that no two tracks share a point.
      const int ligne = 500 + (piste++ % 9000) * 3;
      const int x0 = 500 + ((piste / 9000) * 3000) % 27000;
      for (int k = 0; k < 10; ++k) {
        const uint8_t attr = k == 0 ? kPremierPoint : (k == 9 ? kDernierPoint : kPointMilieu);
        v.push_back(Rec(static_cast<uint8_t>(1 + piste % 2), static_cast<uint8_t>(161 + piste % 6),
                        attr, x0 + 20 * k, ligne + (k % 2)));
      }
    } else if (genre < 7) {
      v.push_back(
          Rec(3, static_cast<uint8_t>(tire(193, 205)), static_cast<uint8_t>(tire(0, 7)), x, y));
    } else if (genre < 8 && static_cast<int>(v.size()) + 5 <= n) {
      const uint8_t couche = static_cast<uint8_t>(1 << tire(0, 3));
      for (int k = 0; k < 4; ++k) v.push_back(Rec(couche, 64, 2, x + 150 * k, y, 'A'));
      v.push_back(Rec(couche, 79, 0, 0, 0));
    } else if (static_cast<int>(v.size()) + 2 <= n) {
      const uint8_t code = static_cast<uint8_t>(128 + 2 * tire(0, 3));
      const uint8_t couche = static_cast<uint8_t>(1 << tire(0, 3));
      v.push_back(Rec(couche, code, 1, x, y));
      v.push_back(Rec(couche, code + 1, 1, code == 132 ? 200 : x + 300, code == 132 ? 0 : y + 200));
    } else {
      v.push_back(Rec(3, 199, 2, x, y));
    }
  }
  return v;
}

void Charge(Circuit& c, const std::vector<ElementCI>& v) {
  std::copy(v.begin(), v.end(), c.Elements.begin() + 1);
  c.NbElements = static_cast<int32_t>(v.size());
}

// Track fragments of 2 to 4 points along one long path that they cover end to end, each drawn
// in either direction; in path order or shuffled.
std::vector<ElementCI> Fragments(int fragments, bool melanges) {
  std::mt19937 g(11);
  std::vector<std::vector<ElementCI>> f;
  int x = 100, y = 100, dx = 10;
  for (int k = 0; k < fragments; ++k) {
    const int n = std::uniform_int_distribution<int>(2, 4)(g);
    std::vector<ElementCI> t;
    for (int p = 0; p < n; ++p) {
      if (p > 0) {
        // A snake over the surface: right, one row up, left, one row up...
        x += dx;
        if (x > 30000 || x < 100) {
          x -= dx;
          dx = -dx;
          y += 10;
        }
        if (g() % 3 == 0) y += 10;  // a diagonal step now and then: the path turns
      }
      t.push_back(Rec(1, 163, kPointMilieu, x, y));
    }
    if (g() % 2) std::reverse(t.begin(), t.end());
    t.front().Attribut = kPremierPoint;
    t.back().Attribut = kDernierPoint;
    f.push_back(t);
  }
  if (melanges) std::shuffle(f.begin(), f.end(), g);
  std::vector<ElementCI> v;
  for (const auto& t : f) v.insert(v.end(), t.begin(), t.end());
  return v;
}

void BM_JonctionRienAJoindre(benchmark::State& s) {
  Circuit c;
  Charge(c, Carte(kMaxElements));
  for (auto _ : s) {
    JonctionPistes(c);
    benchmark::DoNotOptimize(c.NbElements);
  }
  s.counters["pistes"] = 5000;
  s.counters["records"] = c.NbElements;
}
BENCHMARK(BM_JonctionRienAJoindre)->Unit(benchmark::kMillisecond);

void BM_JonctionFragments(benchmark::State& s) {
  std::vector<ElementCI> v = Fragments(30000, s.range(0) != 0);
  const std::vector<ElementCI> reste = Carte(kMaxElements - static_cast<int>(v.size()), 3);
  v.insert(v.begin(), reste.begin(), reste.end());
  Circuit c;
  int32_t apres = 0;
  for (auto _ : s) {
    s.PauseTiming();
    Charge(c, v);
    s.ResumeTiming();
    JonctionPistes(c);
    apres = c.NbElements;
  }
  s.counters["avant"] = static_cast<double>(v.size());
  s.counters["apres"] = apres;
}
BENCHMARK(BM_JonctionFragments)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"melanges"})
    ->Unit(benchmark::kMillisecond);

void BM_SelectionRectangleMoitie(benchmark::State& s) {
  const std::vector<ElementCI> v = Carte(kMaxElements);
  Circuit c;
  Plage p;
  for (auto _ : s) {
    s.PauseTiming();
    Charge(c, v);
    s.ResumeTiming();
    p = SelectionRectangle(c, {0, 32767, 14800, 0});
  }
  s.counters["pris"] = p.Dernier - p.Premier + 1;
}
BENCHMARK(BM_SelectionRectangleMoitie)->Unit(benchmark::kMillisecond);

// A zone of 50000 records at the end of the store (49999 for the copy, which must stay
// under the limit).
void PrepareZone(Circuit& c, const std::vector<ElementCI>& v, int32_t n) {
  Charge(c, v);
  c.Selection.Active = 1;
  c.Selection.Premier = c.NbElements - n + 1;
  c.Selection.Dernier = c.NbElements;
  c.Selection.CadreZone = CadreElements(c, c.Selection.Premier, c.Selection.Dernier);
}

void BM_DupliqueZone(benchmark::State& s) {
  const std::vector<ElementCI> v = Carte(50000);
  Circuit c;
  for (auto _ : s) {
    s.PauseTiming();
    PrepareZone(c, v, 49999);
    s.ResumeTiming();
    DupliqueZone(c, 100, 100);
  }
  s.counters["records"] = c.NbElements;
}
BENCHMARK(BM_DupliqueZone)->Unit(benchmark::kMillisecond);

void BM_SupprimeZone(benchmark::State& s) {
  const std::vector<ElementCI> v = Carte(kMaxElements);
  Circuit c;
  for (auto _ : s) {
    s.PauseTiming();
    PrepareZone(c, v, 50000);
    s.ResumeTiming();
    SupprimeZone(c);
  }
}
BENCHMARK(BM_SupprimeZone)->Unit(benchmark::kMillisecond);

void BM_TourneZone(benchmark::State& s) {
  Circuit c;
  PrepareZone(c, Carte(kMaxElements), 50000);
  for (auto _ : s) TourneZone(c);  // four turns give the zone back: the work is the same
}
BENCHMARK(BM_TourneZone)->Unit(benchmark::kMillisecond);

void BM_Chercheurs(benchmark::State& s) {
  Circuit c;
  Charge(c, Carte(kMaxElements));
  const int32_t x = 31000, y = 31000;  // off the board: nothing is hit
  for (auto _ : s) {
    Plage p;
    switch (s.range(0)) {
      case 0: p = ChercherPastille(c, x, y); break;
      case 1: p = ChercherPastilleProche(c, x, y); break;
      case 2: p = ChercherSegment(c, 1, x, y); break;
      case 3: p = ChercherPiste(c, 1, x, y); break;
      case 4: p = ChercherTexte(c, 1, x, y); break;
      case 5: p = ChercherDessin(c, 3, x, y); break;
      default: p = ChercherGroupe(c, x, y); break;
    }
    benchmark::DoNotOptimize(p);
  }
  static const char* noms[] = {"Pastille", "PastilleProche", "Segment", "Piste",
                               "Texte",    "Dessin",         "Groupe"};
  s.SetLabel(noms[s.range(0)]);
}
BENCHMARK(BM_Chercheurs)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korv4

BENCHMARK_MAIN();
