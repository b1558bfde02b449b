// The history at the limit of 100000 records: recording a step, undo and redo with the redraw
// of the picture, the memory of many steps, and the recovery copy's bytes.

#include <benchmark/benchmark.h>

#include <vector>

#include "CarteFenetre.h"
#include "editeur/Editeur.h"
#include "editeur/Session.h"
#include "render/CanevasImage.h"

namespace korv4 {
namespace {

// An editor without a window drawing into a 1920 x 1080 picture, as the drawing area does,
// with `nombre` records on a quarter of the largest surface.
struct Banc {
  std::vector<uint32_t> pixels = std::vector<uint32_t>(1920 * 1080);
  CanevasImage image{pixels.data(), 1920, 1080, 1920};
  Session s{1920 + 16, 1080 + 16};
  explicit Banc(int32_t nombre) {
    Editeur& ed = s.ed;
    ed.toile.Cible(&image);
    ed.Image = {pixels.data(), 1920, 1080, 1920};
    CarteFenetre(ed, nombre);
    AfficheCI(ed);
    CommenceHistorique(ed);
  }
  // A zone of the last 50000 records.
  void ZoneDeLaMoitie() {
    s.Clic(Controle::BoutonModifPartielleTypon);
    Circuit& c = s.ed.circuit;
    const int32_t premier = std::max(c.NbElements - 49999, 1);
    c.Selection = TSelection{1, premier, c.NbElements, CadreElements(c, premier, c.NbElements)};
  }
};

// A pad placed at the end of a 100000-record store: the step that records it.
void BM_EtapePastille(benchmark::State& state) {
  Banc b(kMaxElements - 2);
  Circuit& c = b.s.ed.circuit;
  Historique h;
  h.Commence(c, InstantaneDe(b.s.ed));
  const Instantane etat = InstantaneDe(b.s.ed);
  for (auto _ : state) {
    AjoutElement(c, 1, uint8_t{200}, 500, 500);
    h.Enregistre(c, etat, "Pastille");
    state.PauseTiming();
    SupprimeDernier(c);
    h.Enregistre(c, etat, "Suppression");
    state.ResumeTiming();
  }
}

// The step of a zone of 50000 records turned a quarter turn: every record differs differently
// (the turn itself untimed).
void BM_EtapeRotation(benchmark::State& state) {
  Banc b(kMaxElements);
  b.ZoneDeLaMoitie();
  Circuit& c = b.s.ed.circuit;
  Historique h;
  h.Commence(c, InstantaneDe(b.s.ed));
  const Instantane etat = InstantaneDe(b.s.ed);
  for (auto _ : state) {
    state.PauseTiming();
    TourneZone(c);
    state.ResumeTiming();
    h.Enregistre(c, etat, "Rotation de la zone");
  }
}

// A zone of 50000 records turned (the step kept as the records that changed), then undone and
// redone from the menu, each with the redraw of the picture.
void BM_AnnulerRetablirRotation(benchmark::State& state) {
  Banc b(kMaxElements);
  b.ZoneDeLaMoitie();
  b.s.Clic(Controle::BpRotationZone);
  for (auto _ : state) {
    b.s.Clic(state.range(0) == 0 ? Controle::Defaire1 : Controle::Refaire1);
    state.PauseTiming();
    b.s.Clic(state.range(0) == 0 ? Controle::Refaire1 : Controle::Defaire1);
    state.ResumeTiming();
  }
  state.counters["octets_etape"] = static_cast<double>(b.s.ed.historique.Octets());
}

// The same for a deletion at the start of the store (every record after it moves).
void BM_AnnulerRetablirSuppressionAuDebut(benchmark::State& state) {
  Banc b(kMaxElements);
  Circuit& c = b.s.ed.circuit;
  Suppression(c, {1, 1});
  Etape(b.s.ed, "Suppression");
  for (auto _ : state) {
    b.s.Clic(Controle::Defaire1);
    state.PauseTiming();
    b.s.Clic(Controle::Refaire1);
    state.ResumeTiming();
  }
}

// The memory of 1000 steps on a 100000-record store: moves of a 50000-record zone (kept as
// the move), and quarter turns of it (kept as records, the oldest steps dropped past 64 MB).
void BM_MemoireDeMilleEtapes(benchmark::State& state) {
  Banc b(kMaxElements);
  b.ZoneDeLaMoitie();
  Editeur& ed = b.s.ed;
  for (auto _ : state) {
    CommenceHistorique(ed);
    for (int k = 0; k < 1000; ++k) {
      if (state.range(0) == 0) {
        DeplaceZone(ed.circuit, k % 2 == 0 ? 100 : -100, 0);
      } else {
        TourneZone(ed.circuit);
      }
      Etape(ed, "pas");
    }
  }
  state.counters["etapes"] = static_cast<double>(ed.historique.NombreEtapes());
  state.counters["Mo"] = static_cast<double>(ed.historique.Octets()) / (1 << 20);
}

// The bytes of the recovery copy of a 100000-record circuit (what the window makes between two
// events; the disk is written on a thread of its own).
void BM_CopieRecuperation(benchmark::State& state) {
  Banc b(kMaxElements);
  size_t taille = 0;
  for (auto _ : state) {
    const std::vector<uint8_t> v = CopieDeRecuperation(b.s.ed, 0);
    taille = v.size();
    benchmark::DoNotOptimize(v.data());
  }
  state.counters["octets"] = static_cast<double>(taille);
}

BENCHMARK(BM_EtapePastille)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EtapeRotation)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AnnulerRetablirRotation)
    ->ArgName("retablir")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnnulerRetablirSuppressionAuDebut)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoireDeMilleEtapes)
    ->ArgName("rotation")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopieRecuperation)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korv4

BENCHMARK_MAIN();
