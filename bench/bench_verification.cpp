// The isolation check of a 100000-record circuit: both copper faces read from the plotting,
// indexed in a grid, every close pair measured, plus drills and outline; and its nets.

#include <benchmark/benchmark.h>

#include "model/Circuit.h"
#include "render/CircuitExemple.h"
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

// The clearance in hundredths of a millimetre.
void BM_VerifieIsolements(benchmark::State& state) {
  const Circuit& c = Mixte();
  OptionsVerification o;
  o.IsolementMm = static_cast<double>(state.range(0)) / 100;
  size_t defauts = 0;
  for (auto _ : state) {
    const ResultatVerification r = VerifieCircuit(c, o);
    defauts = r.Defauts.size();
    benchmark::DoNotOptimize(r.Defauts.data());
  }
  state.counters["defauts"] = static_cast<double>(defauts);
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

}  // namespace
}  // namespace korv4

BENCHMARK_MAIN();
