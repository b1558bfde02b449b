// The isolation check of a 100000-record circuit: both copper faces read from the plotting,
// indexed in a grid, every close pair measured, plus drills, outline and the rules of
// manufacture; and its nets. Three kinds of board: elements spread over a large surface, a
// dense board (pads and tracks packed on both faces, a handful of faults), and all the copper
// in one cluster.

#include <benchmark/benchmark.h>

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

}  // namespace
}  // namespace korv4

BENCHMARK_MAIN();
