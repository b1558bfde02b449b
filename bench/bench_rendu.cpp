// Full redraw of a 100000-record circuit on a 1920 x 1080 image, as the editor runs it after
// every scroll and zoom: TraceFond, then TraceCircuit of every record with all overlays.

#include <benchmark/benchmark.h>

#include <QImage>

#include "model/Circuit.h"
#include "partage/canevas/CanevasQt.h"
#include "render/CircuitExemple.h"
#include "render/ContexteTrace.h"
#include "render/TraceCircuit.h"

namespace korv4 {
namespace {

constexpr int kLargeur = 1920, kHauteur = 1080;
constexpr int32_t kSurfaceX = 31000, kSurfaceY = 20000;

const Circuit& Exemple() {
  static const Circuit* c = [] {
    auto* n = new Circuit;
    CircuitExemple(*n, kMaxElements, kSurfaceX, kSurfaceY, 2024);
    return n;
  }();
  return *c;
}

// args: work, zoom index, culling.
void BM_Redessin(benchmark::State& state) {
  const Circuit& c = Exemple();
  QImage image(kLargeur, kHauteur, QImage::Format_RGB32);
  CanevasQt toile(image);
  ContexteTrace ctx;
  ctx.Toile = &toile;
  ctx.Zoom = static_cast<int32_t>(state.range(1));
  ctx.SurfaceX = kSurfaceX;
  ctx.SurfaceY = kSurfaceY;
  ctx.LargeurSurface = PixelX(ctx, kSurfaceX);
  ctx.HauteurSurface = PixelY(ctx, kSurfaceY);
  ctx.Zone = {0, 0, kLargeur, kHauteur};
  // The view on the middle of the surface when it does not fit.
  ctx.OrigineX = std::max(0, (ctx.LargeurSurface - kLargeur) / 2);
  ctx.OrigineY = kHauteur - 1 + std::max(0, (ctx.HauteurSurface - kHauteur) / 2);
  ctx.SansCurseur = true;
  ctx.Elagage = state.range(2) != 0;
  const EtatTravail etat{static_cast<int32_t>(state.range(0)), 1, 1, 1};
  for (auto _ : state) {
    TraceFond(ctx);
    TraceCircuit(c, 1, c.NbElements, CouleursNormales(), ctx, etat);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["elements"] = c.NbElements;
}

BENCHMARK(BM_Redessin)
    ->ArgNames({"travail", "zoom", "elagage"})
    ->ArgsProduct({{1, 4}, {0, 2, 9}, {1}})
    ->Args({1, 2, 0})
    ->Args({4, 9, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korv4

BENCHMARK_MAIN();
