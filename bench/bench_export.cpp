// Manufacturing export of a 100000-record circuit: each Gerber layer (collection and writing)
// and the whole Gerber export, the Excellon drill file (collection, extent and writing), the
// board-house set (prepared, then every file made into a counting flux) and the picture of one
// side of the board as it will come back (2000 pixels across).

#include <benchmark/benchmark.h>

#include "export/Apercu.h"
#include "export/Fabrication.h"
#include "export/Gerber.h"
#include "export/Percage.h"
#include "model/Circuit.h"
#include "render/CircuitExemple.h"

namespace korv4 {
namespace {

constexpr int32_t kSurfaceX = 31000, kSurfaceY = 20000;

// Tracks, pads, texts and drawings on every work.
const Circuit& Mixte() {
  static const Circuit* c = [] {
    auto* n = new Circuit;
    CircuitExemple(*n, kMaxElements, kSurfaceX, kSurfaceY, 2024);
    return n;
  }();
  return *c;
}

// The drill file's worst case: every record a pad with a hole, all drill indices.
const Circuit& Pastilles() {
  static const Circuit* c = [] {
    auto* n = new Circuit;
    Aleatoire a(7);
    while (n->NbElements < kMaxElements) {
      const int32_t x = a.Entre(400, kSurfaceX - 400) / 25 * 25;
      const int32_t y = a.Entre(400, kSurfaceY - 400) / 25 * 25;
      AjouteRecord(*n, kCouchePastilles, static_cast<uint8_t>(a.Entre(193, 205)),
                   static_cast<uint8_t>(a.Entre(1, 13)), x, y);
    }
    return n;
  }();
  return *c;
}

void BM_GerberCouche(benchmark::State& state) {
  const Circuit& c = Mixte();
  const auto masque = static_cast<uint8_t>(state.range(0));
  const Cadre e = CadreElements(c, 1, c.NbElements);
  size_t octets = 0;
  for (auto _ : state) {
    const std::vector<uint8_t> f =
        EcritFichierGerber(CollecteElementsGerber(c, masque), e, StylePastilles::Octogonales);
    octets = f.size();
    benchmark::DoNotOptimize(f.data());
  }
  state.counters["octets"] = static_cast<double>(octets);
}
BENCHMARK(BM_GerberCouche)
    ->Arg(kMasqueFace1)
    ->Arg(kMasqueFace2)
    ->Arg(kMasqueImplantation)
    ->Unit(benchmark::kMillisecond);

void BM_ExporteGerber(benchmark::State& state) {
  const Circuit& c = Mixte();
  for (auto _ : state) {
    const std::vector<FichierGerber> f =
        ExporteGerber(c, CadreElements(c, 1, c.NbElements), StylePastilles::Octogonales, "bench");
    benchmark::DoNotOptimize(f.data());
  }
}
BENCHMARK(BM_ExporteGerber)->Unit(benchmark::kMillisecond);

void BM_Excellon(benchmark::State& state) {
  const Circuit& c = state.range(0) ? Pastilles() : Mixte();
  size_t trous = 0;
  for (auto _ : state) {
    const ListePercages l = CollectePercages(c);
    const std::vector<uint8_t> f =
        SaveExcellon(l, CadreElements(c, 1, c.NbElements), OptionsInitiales(l));
    trous = static_cast<size_t>(l.NbPercagesCI());
    benchmark::DoNotOptimize(f.data());
  }
  state.counters["trous"] = static_cast<double>(trous);
}
BENCHMARK(BM_Excellon)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The whole set, each file made once into a flux that counts its bytes.
void BM_JeuFabrication(benchmark::State& state) {
  const Circuit& c = Mixte();
  struct Compte final : FluxOctets {
    size_t n = 0;
    bool Ecrit(const uint8_t*, size_t taille) override {
      n += taille;
      return true;
    }
  };
  size_t octets = 0;
  for (auto _ : state) {
    const PlanFabrication p = PrepareJeu(c, {});
    Compte compte;
    for (size_t k = 0; k < p.Fichiers().size(); ++k) p.EcritFichier(k, compte);
    octets = compte.n;
    benchmark::DoNotOptimize(octets);
  }
  state.counters["octets"] = static_cast<double>(octets);
}
BENCHMARK(BM_JeuFabrication)->Unit(benchmark::kMillisecond);

// One side (0 top, 1 bottom) 2000 pixels across, the set prepared once.
void BM_Apercu(benchmark::State& state) {
  const Circuit& c = Mixte();
  static const PlanFabrication plan = PrepareJeu(c, {});
  OptionsApercu o;
  o.Largeur = 2000;
  ImageApercu image;
  std::string erreur;
  for (auto _ : state) {
    DessineApercu(c, plan, o, state.range(0) == 1, image, erreur);
    benchmark::DoNotOptimize(image.Pixels.data());
  }
  state.counters["pixels"] = static_cast<double>(image.Pixels.size());
}
BENCHMARK(BM_Apercu)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korv4

BENCHMARK_MAIN();
