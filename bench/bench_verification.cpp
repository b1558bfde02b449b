// The isolation check of a 100000-record circuit: both copper faces read from the plotting,
// indexed in a grid, every close pair measured, plus drills, outline and the rules of
// manufacture; and its nets. Three kinds of board: elements spread over a large surface, a
// dense board (pads and tracks packed on both faces, a handful of faults), and all the copper
// in one cluster.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "editeur/Allumage.h"
#include "model/Circuit.h"
#include "render/CircuitExemple.h"
#include "verification/CircuitsDenses.h"
#include "verification/Continue.h"
#include "verification/Equipotentielles.h"
#include "verification/Isolements.h"

namespace korv4 {
namespace {

constexpr int32_t kSurfaceX = 31000, kSurfaceY = 20000;

// Tracks, pads, texts and drawings on every work, spread over the largest surface the bench of
// the exports uses (about 790 x 510 mm).
const Circuit& Mixte() {
  static const Circuit* c = [] {
    auto* n = new Circuit;
    CircuitExemple(*n, kMaxElements, kSurfaceX, kSurfaceY, 2024);
    return n;
  }();
  return *c;
}

void Mesure(benchmark::State& state, const Circuit& c, double isolementMm) {
  OptionsVerification o;
  o.IsolementMm = isolementMm;
  size_t defauts = 0;
  for (auto _ : state) {
    const ResultatVerification r = VerifieCircuit(c, o);
    defauts = r.Defauts.size();
    benchmark::DoNotOptimize(r.Defauts.data());
  }
  state.counters["defauts"] = static_cast<double>(defauts);
}

// The clearance in hundredths of a millimetre.
void BM_VerifieIsolements(benchmark::State& state) {
  Mesure(state, Mixte(), static_cast<double>(state.range(0)) / 100);
}
BENCHMARK(BM_VerifieIsolements)->Arg(30)->Arg(100)->Unit(benchmark::kMillisecond);

// The nets of both faces: copper read from the plotting, touching pairs through the index,
// plated holes from face to face, names.
void BM_Equipotentielles(benchmark::State& state) {
  const Circuit& c = Mixte();
  size_t nets = 0;
  for (auto _ : state) {
    const Equipotentielles e = CalculeEquipotentielles(c);
    nets = e.Liste.size();
    benchmark::DoNotOptimize(e.Liste.data());
  }
  state.counters["equipotentielles"] = static_cast<double>(nets);
}
BENCHMARK(BM_Equipotentielles)->Unit(benchmark::kMillisecond);

void BM_VerifieDense(benchmark::State& state) {
  static const Circuit* c = [] {
    auto* n = new Circuit;
    CircuitDense(*n, kMaxElements);
    return n;
  }();
  Mesure(state, *c, 0.3);
}
BENCHMARK(BM_VerifieDense)->Unit(benchmark::kMillisecond);

// All the copper in one place: 0 the same pad stacked, 1 large pads each a unit from the
// last (all overlapping), 2 the mixed board in a 5 x 5 mm square.
void BM_VerifieAmas(benchmark::State& state) {
  static Circuit* amas[3] = {};
  const int64_t genre = state.range(0);
  const int32_t nombre = static_cast<int32_t>(state.range(1));
  Circuit*& c = amas[genre];
  if (!c) c = new Circuit;
  if (genre == 2) {
    CircuitExemple(*c, nombre, 1000, 1000, 7);
  } else {
    RazCircuit(*c);
    c->EnteteCI.SurfaceX = kSurfaceX;
    c->EnteteCI.SurfaceY = kSurfaceY;
    for (int32_t k = 0; k < nombre; ++k)
      AjouteRecord(*c, kCouchePastilles, genre == 0 ? 198 : 203, 2,
                   genre == 0 ? 1000 : 1000 + k % 300, genre == 0 ? 1000 : 1000 + k / 300);
  }
  Mesure(state, *c, 0.3);
}
BENCHMARK(BM_VerifieAmas)
    ->ArgsProduct({{0, 1, 2}, {2500, kMaxElements}})
    ->Unit(benchmark::kMillisecond);

// The continuous check after a step that moves one record by a unit and back: the store
// compared with the last one checked, the board checked again, the new faults told apart.
// 0 the mixed board, 1 the dense board.
void BM_VerificationContinue(benchmark::State& state) {
  static Circuit* cartes[2] = {};
  Circuit*& c = cartes[state.range(0)];
  if (!c) {
    c = new Circuit;
    if (state.range(0) == 0) {
      CircuitExemple(*c, kMaxElements, kSurfaceX, kSurfaceY, 2024);
    } else {
      CircuitDense(*c, kMaxElements);
    }
  }
  OptionsVerification o;
  o.IsolementMm = 0.3;
  VerificationContinue v;
  v.Commence(*c, o);
  const int32_t i = c->NbElements / 2;
  int sens = 1;
  for (auto _ : state) {
    c->Elements[i].X = static_cast<uint16_t>(c->Elements[i].X + sens);
    sens = -sens;
    benchmark::DoNotOptimize(v.Suit(*c));
  }
  state.counters["defauts"] = static_cast<double>(v.Resultat().Defauts.size());
}
BENCHMARK(BM_VerificationContinue)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The continuous check after one step of drawing at 100000 records, as the history leaves the
// store: 0 a track added from a pad to the next (two pieces joined), 1 a pad moved by half a
// millimetre, 2 a zone of 40 records turned a quarter turn about its middle, 3 the undo of that
// turn. The step back that makes the next iteration like the first is not timed. The first
// argument: 0 the mixed board, 1 the dense board.
void BM_ContinuePas(benchmark::State& state) {
  static Circuit* cartes[2] = {};
  Circuit*& carte = cartes[state.range(0)];
  if (!carte) {
    carte = new Circuit;
    if (state.range(0) == 0) {
      CircuitExemple(*carte, kMaxElements - 100, kSurfaceX, kSurfaceY, 2024);
    } else {
      CircuitDense(*carte, kMaxElements - 100);
    }
  }
  Circuit& c = *carte;
  const int64_t genre = state.range(1);
  // A pad near the middle of the store and the next pad after it.
  int32_t pad = c.NbElements / 2, suivant = 0;
  while (pad < c.NbElements && !EstPastilleCuivre(c.Elements[pad].Code)) ++pad;
  for (int32_t i = pad + 1; i <= c.NbElements && !suivant; ++i)
    if (EstPastilleCuivre(c.Elements[i].Code)) suivant = i;
  const int32_t premier = c.NbElements / 2 + 7, n = c.NbElements;
  std::vector<ElementCI> zone(c.Elements.begin() + premier, c.Elements.begin() + premier + 40);
  auto Tourne = [&] {
    int32_t xmin = 65535, xmax = 0, ymin = 65535, ymax = 0;
    for (const ElementCI& e : zone) {
      xmin = std::min<int32_t>(xmin, e.X);
      xmax = std::max<int32_t>(xmax, e.X);
      ymin = std::min<int32_t>(ymin, e.Y);
      ymax = std::max<int32_t>(ymax, e.Y);
    }
    const int32_t cx = (xmin + xmax) / 2, cy = (ymin + ymax) / 2;
    for (size_t k = 0; k < zone.size(); ++k) {
      ElementCI& e = c.Elements[static_cast<size_t>(premier) + k];
      if (e.Code == code::Rayon) continue;  // a circle's radius
      e.X = static_cast<uint16_t>(cx - (zone[k].Y - cy));
      e.Y = static_cast<uint16_t>(cy + (zone[k].X - cx));
    }
  };
  auto Remet = [&] {
    std::copy(zone.begin(), zone.end(), c.Elements.begin() + premier);
    c.NbElements = n;
    c.Elements[static_cast<size_t>(n) + 1] = ElementCI{};
    c.Elements[static_cast<size_t>(n) + 2] = ElementCI{};
  };
  auto Pas = [&] {
    switch (genre) {
      case 0:
        AjouteRecord(c, 1, 161, kPremierPoint, c.Elements[pad].X, c.Elements[pad].Y);
        AjouteRecord(c, 1, 161, kDernierPoint, c.Elements[suivant].X, c.Elements[suivant].Y);
        break;
      case 1: c.Elements[pad].X = static_cast<uint16_t>(c.Elements[pad].X + 20); break;
      default: Tourne(); break;
    }
  };
  const uint16_t xPad = c.Elements[pad].X;
  OptionsVerification o;
  o.IsolementMm = 0.3;
  VerificationContinue v;
  v.Commence(c, o);
  for (auto _ : state) {
    if (genre == 3) {
      state.PauseTiming();
      Tourne();
      v.Suit(c);
      state.ResumeTiming();
      Remet();
      benchmark::DoNotOptimize(v.Suit(c));
      continue;
    }
    Pas();
    benchmark::DoNotOptimize(v.Suit(c));
    state.PauseTiming();
    Remet();
    c.Elements[pad].X = xPad;
    v.Suit(c);
    state.ResumeTiming();
  }
  state.counters["defauts"] = static_cast<double>(v.Resultat().Defauts.size());
  state.counters["completes"] = static_cast<double>(v.Verifications());
}
BENCHMARK(BM_ContinuePas)->ArgsProduct({{0, 1}, {0, 1, 2, 3}})->Unit(benchmark::kMillisecond);

// The net lit by the tool Équipotentielle followed after a step of drawing at 100000 records on
// the mixed board: a pad moved by half a millimetre and the nets brought up to date with the
// net under the point clicked; the step back is not timed.
void BM_AllumageApresPas(benchmark::State& state) {
  static Circuit* carte = nullptr;
  if (!carte) {
    carte = new Circuit;
    CircuitExemple(*carte, kMaxElements - 100, kSurfaceX, kSurfaceY, 2024);
  }
  Circuit& c = *carte;
  int32_t pad = c.NbElements / 2;
  while (pad < c.NbElements && !EstPastilleCuivre(c.Elements[pad].Code)) ++pad;
  const uint16_t x = c.Elements[pad].X;
  EquipotentielleAllumee a;
  AllumeEquipotentielle(a, c, 1, c.Elements[pad].X, c.Elements[pad].Y);
  // The first change reads the board whole.
  c.Elements[pad].X = static_cast<uint16_t>(x + 20);
  SuitEquipotentielle(a, c);
  c.Elements[pad].X = x;
  SuitEquipotentielle(a, c);
  for (auto _ : state) {
    c.Elements[pad].X = static_cast<uint16_t>(x + 20);
    benchmark::DoNotOptimize(SuitEquipotentielle(a, c));
    state.PauseTiming();
    c.Elements[pad].X = x;
    SuitEquipotentielle(a, c);
    state.ResumeTiming();
  }
  state.counters["equipotentielles"] = static_cast<double>(a.nets.Liste.size());
  state.counters["lues_entieres"] = static_cast<double>(a.CalculsEntiers);
}
BENCHMARK(BM_AllumageApresPas)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korv4

BENCHMARK_MAIN();
