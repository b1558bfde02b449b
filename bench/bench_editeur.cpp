// The editor's main window driven offscreen on a 100000-record circuit, its drawing area about
// 1920 x 1080: a pointer move (cursor, coordinates, repaint of the damaged part), a press that
// adds a pad, the end of a track with its joining, a scroll and a zoom (one full redraw each),
// and the zone commands on a 50000-record zone with their redraw; a click of the tool
// Équipotentielle with the picture of the lit net laid over the drawing area. Time is the wall
// time, CPU the processor time of the whole process (every thread of a redraw in bands).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include "CarteFenetre.h"
#include "editeur/Session.h"
#include "fenetres/ui/Fiche_principale.h"
#include "fenetres/ui/ZoneDessin.h"
#include "render/Curseur.h"

namespace korv4 {
namespace {

struct Banc {
  DialoguesScript d;
  Fiche_principale fiche{&d};
  explicit Banc(int32_t nombre) {
    fiche.resize(2000, 1300);
    fiche.show();
    QApplication::processEvents();
    // The drawing area 1920 x 1080.
    fiche.resize(fiche.width() + 1920 - fiche.zone()->width(),
                 fiche.height() + 1080 - fiche.zone()->height());
    QApplication::processEvents();
    Editeur& ed = fiche.editeur();
    CarteFenetre(ed, nombre);
    AfficheCI(ed);
    fiche.Apres();
    QApplication::processEvents();
  }
  Editeur& ed() { return fiche.editeur(); }
  void Souris(QEvent::Type type, int32_t x, int32_t y, Qt::MouseButton b = Qt::NoButton) {
    const PointPixel p = PixelPoint(ed().ctx, x, y);
    QMouseEvent e(type, QPointF(p.X, p.Y), fiche.zone()->mapToGlobal(QPointF(p.X, p.Y)), b,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : b, Qt::NoModifier);
    QApplication::sendEvent(fiche.zone(), &e);
  }
  void Peint() { QApplication::processEvents(); }
};

void BM_DeplacementPointeur(benchmark::State& state) {
  Banc b(kMaxElements);
  Clic(b.ed(), Controle::BoutonPiste);
  int i = 0;
  for (auto _ : state) {
    b.Souris(QEvent::MouseMove, 8000 + (i & 1) * 150, 9000 + (i & 2) * 50);
    b.Peint();
    ++i;
  }
  state.counters["largeur"] = b.fiche.zone()->width();
  state.counters["hauteur"] = b.fiche.zone()->height();
}

// The tool Équipotentielle on copper, two pads of the largest net in turn: the net under the cursor
// lit (the nets computed once for the store as it is, as after the first click), the status text,
// the picture laid over the drawing area drawn again and shown.
void BM_ClicEquipotentielle(benchmark::State& state) {
  Banc b(kMaxElements);
  Editeur& ed = b.ed();
  Clic(ed, Controle::BoutonEquipotentielleTypon);
  // Two pads in view.
  std::vector<int32_t> pads;
  for (int32_t i = 1; i <= ed.circuit.NbElements && pads.size() < 2; ++i) {
    const ElementCI& e = ed.circuit[i];
    const PointPixel p = PixelPoint(ed.ctx, e.X, e.Y);
    if (PastilleConductrice(e.Code) && p.X > 50 && p.Y > 50 && p.X < 1800 && p.Y < 1000)
      pads.push_back(i);
  }
  if (pads.size() < 2) {
    state.SkipWithError("no pad in view");
    return;
  }
  NetsAJour(ed.Allumage, ed.circuit);
  int i = 0;
  for (auto _ : state) {
    const ElementCI& e = ed.circuit[pads[static_cast<size_t>(i & 1)]];
    b.Souris(QEvent::MouseButtonPress, e.X, e.Y, Qt::LeftButton);
    b.Souris(QEvent::MouseButtonRelease, e.X, e.Y, Qt::LeftButton);
    b.Peint();
    ++i;
  }
  state.counters["pastilles"] = static_cast<double>(
      ed.Allumage.nets.Liste[static_cast<size_t>(std::max(ed.Allumage.Net, 0))].Pastilles.size());
}

// The same click lighting the largest net when none is lit (the picture laid over drawn again
// for each click; the click elsewhere that puts it out is not timed).
void BM_ClicEquipotentielleEteinte(benchmark::State& state) {
  Banc b(kMaxElements);
  Editeur& ed = b.ed();
  Clic(ed, Controle::BoutonEquipotentielleTypon);
  const Equipotentielles& nets = NetsAJour(ed.Allumage, ed.circuit);
  size_t grand = 0;
  for (size_t n = 1; n < nets.Liste.size(); ++n)
    if (nets.Liste[n].Pastilles.size() > nets.Liste[grand].Pastilles.size()) grand = n;
  auto enVue = [&](int32_t x, int32_t y) {
    const PointPixel p = PixelPoint(ed.ctx, x, y);
    return p.X > 50 && p.Y > 50 && p.X < 1800 && p.Y < 1000;
  };
  int32_t pad = 0;
  for (int32_t i : nets.Liste[grand].Pastilles)
    if (enVue(ed.circuit[i].X, ed.circuit[i].Y)) {
      pad = i;
      break;
    }
  // A point of the grid in view with no copper under it.
  int32_t videX = -1, videY = -1;
  for (int32_t y = 1000; y < kSurfaceY && videX < 0; y += 250)
    for (int32_t x = 1000; x < kSurfaceX && videX < 0; x += 250)
      if (enVue(x, y) && EquipotentielleSous(ed.circuit, nets, ed.Etat.Travail, x, y) < 0) {
        videX = x;
        videY = y;
      }
  if (pad == 0 || videX < 0) {
    state.SkipWithError("no pad of the largest net or no empty point in view");
    return;
  }
  const ElementCI e = ed.circuit[pad];
  for (auto _ : state) {
    state.PauseTiming();
    b.Souris(QEvent::MouseButtonPress, videX, videY, Qt::LeftButton);
    b.Souris(QEvent::MouseButtonRelease, videX, videY, Qt::LeftButton);
    b.Peint();
    if (ed.Allumage.Active) state.SkipWithError("the click elsewhere left the net lit");
    state.ResumeTiming();
    b.Souris(QEvent::MouseButtonPress, e.X, e.Y, Qt::LeftButton);
    b.Souris(QEvent::MouseButtonRelease, e.X, e.Y, Qt::LeftButton);
    b.Peint();
  }
  state.counters["pastilles"] = static_cast<double>(nets.Liste[grand].Pastilles.size());
  state.counters["elements"] = static_cast<double>(nets.Liste[grand].Elements.size());
}

// The nets computed again after a change of the store (the first click after an edit).
void BM_EquipotentiellesApresChangement(benchmark::State& state) {
  Banc b(kMaxElements);
  Editeur& ed = b.ed();
  for (auto _ : state) {
    ed.Allumage.calculees = false;
    benchmark::DoNotOptimize(NetsAJour(ed.Allumage, ed.circuit).Liste.data());
  }
}

void BM_AppuiPastille(benchmark::State& state) {
  Banc b(kMaxElements - 2);
  Clic(b.ed(), Controle::BoutonPastille);
  Clic(b.ed(), Controle::Bpast8);
  for (auto _ : state) {
    b.Souris(QEvent::MouseButtonPress, 100, 100, Qt::LeftButton);
    b.Peint();
    state.PauseTiming();
    b.Souris(QEvent::MouseButtonRelease, 100, 100, Qt::LeftButton);
    SupprimeDernier(b.ed().circuit);
    state.ResumeTiming();
  }
}

void BM_FinDePiste(benchmark::State& state) {
  Banc b(kMaxElements - 4);
  Clic(b.ed(), Controle::BoutonPiste);
  Clic(b.ed(), Controle::Bpist2);
  for (auto _ : state) {
    state.PauseTiming();
    const int32_t avant = b.ed().circuit.NbElements;
    for (int32_t x : {200, 600, 1000}) {
      b.Souris(QEvent::MouseButtonPress, x, 150, Qt::LeftButton);
      b.Souris(QEvent::MouseButtonRelease, x, 150, Qt::LeftButton);
    }
    b.Peint();
    state.ResumeTiming();
    FormKeyDown(b.ed(), Touche::Echap);  // Escape: the track ends and is joined
    b.fiche.Apres();
    b.Peint();
    state.PauseTiming();
    SupprimeElements(b.ed().circuit, {avant + 1, b.ed().circuit.NbElements});
    state.ResumeTiming();
  }
}

void BM_Defilement(benchmark::State& state) {
  Banc b(kMaxElements);
  ChoixEchelle1Change(b.ed(), static_cast<int32_t>(state.range(0)));
  int i = 0;
  for (auto _ : state) {
    AscenseurChange(b.ed(), true, (i++ & 1) ? 0 : 1000);
    b.fiche.Apres();
    b.Peint();
  }
}

// A scroll by the small step (an arrow of the scroll bar) or by a page (a click beside the
// thumb), down then back up: the picture moves and only the uncovered strip is drawn.
void DefilementPas(benchmark::State& state, bool page) {
  Banc b(kMaxElements);
  ChoixEchelle1Change(b.ed(), static_cast<int32_t>(state.range(0)));
  AscenseurChange(b.ed(), true, 400);
  b.fiche.Apres();
  b.Peint();
  const Ascenseur& a = b.ed().AscVertical;
  const int32_t pas = page ? a.GrandPas : a.PetitPas;
  int i = 0;
  for (auto _ : state) {
    AscenseurChange(b.ed(), true, a.Position + ((i++ & 1) ? -pas : pas));
    b.fiche.Apres();
    b.Peint();
  }
  state.counters["pas"] = pas;
}

void BM_DefilementPetitPas(benchmark::State& state) { DefilementPas(state, false); }
void BM_DefilementPage(benchmark::State& state) { DefilementPas(state, true); }

void BM_Zoom(benchmark::State& state) {
  Banc b(kMaxElements);
  const int32_t z = static_cast<int32_t>(state.range(0));
  int i = 0;
  for (auto _ : state) {
    ChoixEchelle1Change(b.ed(), (i++ & 1) ? z : (z == 0 ? 1 : z - 1));
    b.fiche.Apres();
    b.Peint();
  }
}

// A zone of the last 50000 records (or all of them in a smaller circuit).
void ZoneDeLaMoitie(Banc& b) {
  Clic(b.ed(), Controle::BoutonModifPartielleTypon);
  Circuit& c = b.ed().circuit;
  const int32_t n = c.NbElements;
  const int32_t premier = std::max(n - 49999, 1);
  c.Selection = TSelection{1, premier, n, CadreElements(c, premier, n)};
  FixeCadre(b.ed().ctx, c.Selection.CadreZone, true);  // the zone's frame, as a selection shows it
}

void BM_ZoneRotation(benchmark::State& state) {
  Banc b(kMaxElements);
  ZoneDeLaMoitie(b);
  for (auto _ : state) {
    BpRotationZoneClick(b.ed());
    b.fiche.Apres();
    b.Peint();
  }
}

void BM_ZoneInversion(benchmark::State& state) {
  Banc b(kMaxElements);
  ZoneDeLaMoitie(b);
  for (auto _ : state) {
    BpInversionZoneClick(b.ed());
    b.fiche.Apres();
    b.Peint();
  }
}

// Duplicated and dropped (press and release), then the copy deleted outside the timing.
void BM_ZoneDuplicationDepot(benchmark::State& state) {
  Banc b(50000);
  ZoneDeLaMoitie(b);
  const int32_t avant = b.ed().circuit.NbElements;
  const int32_t zone = avant - b.ed().circuit.Selection.Premier + 1;
  state.counters["zone"] = zone;
  for (auto _ : state) {
    Clic(b.ed(), Controle::BpDuplicationZone);
    b.Souris(QEvent::MouseButtonPress, 100, 100, Qt::LeftButton);
    b.Souris(QEvent::MouseMove, kEtendue + 500, 200);
    b.Souris(QEvent::MouseButtonRelease, kEtendue + 500, 200, Qt::LeftButton);
    b.Peint();
    state.PauseTiming();
    if (b.ed().circuit.NbElements != avant + zone) {
      state.SkipWithError("pas de copie");
      break;
    }
    SupprimeZone(b.ed().circuit);
    state.ResumeTiming();
  }
}

BENCHMARK(BM_DeplacementPointeur)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClicEquipotentielle)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClicEquipotentielleEteinte)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EquipotentiellesApresChangement)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppuiPastille)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FinDePiste)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Defilement)
    ->ArgName("zoom")
    ->DenseRange(0, 9)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DefilementPetitPas)
    ->ArgName("zoom")
    ->DenseRange(0, 9)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DefilementPage)
    ->ArgName("zoom")
    ->DenseRange(0, 9)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zoom)->ArgName("zoom")->DenseRange(0, 9)->MeasureProcessCPUTime()->UseRealTime()->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_ZoneRotation)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoneInversion)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZoneDuplicationDepot)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korv4

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The recovery copies of the benchmark's windows go to a scratch folder.
  QTemporaryDir etat;
  qputenv("XDG_STATE_HOME", etat.path().toLocal8Bit());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
