// Printing a 100000-record circuit: the four documents with frame, title block and drill
// legend on one A4 page, into a PDF (QPdfWriter, the page korv4-cli typon and the print
// dialog's "Fichier PDF" print), and the same job on a canvas that draws nothing (the core's
// share: walking the store, converting, sizing). Counter "octets": the size of the PDF.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>

#include "model/Circuit.h"
#include "partage/impression/ImprimePage.h"
#include "print/Impression.h"
#include "render/CanevasNul.h"
#include "render/CircuitExemple.h"

namespace korv4 {
namespace {

// Tracks, pads, texts and drawings on every work, over a 95 x 64 mm board; the few records
// the generator pushes below 0 (they wrap to 65535) are put back on the edge.
const Circuit& Carte() {
  static const Circuit* c = [] {
    auto* n = new Circuit;
    CircuitExemple(*n, kMaxElements, 3740, 2520, 2024);
    for (int32_t i = 1; i <= n->NbElements; ++i) {
      ElementCI& e = n->Elements[i];
      if (e.X > 60000) e.X = 0;
      if (e.Y > 60000) e.Y = 0;
    }
    n->EnteteCI.Titre = "Banc d'impression";
    n->EnteteCI.DateCI = "10/12/2026";
    n->EnteteCI.Auteur = "KORV4";
    return n;
  }();
  return *c;
}

TravailImpression Travail(int documents) {
  ChoixDocuments choix;
  choix.Face1 = documents & 1;
  choix.Face2 = documents & 2;
  choix.Face3 = documents & 4;
  choix.Face4 = documents & 8;
  choix.Cadre = true;
  choix.InversionFace2 = true;
  const QPageLayout page = MiseEnPagePdf(QPageSize::A4, QPageLayout::Portrait);
  return PrepareDocuments(Carte(), PageDeMiseEnPage(page, kResolutionPdf), choix, 1, 11820, 7880);
}

// Documents by bit (1 face 1, 2 face 2, 4 placement, 8 drilling), into a PDF in memory.
void BM_ImprimePdf(benchmark::State& state) {
  const Circuit& c = Carte();
  const int documents = static_cast<int>(state.range(0));
  const QPageLayout page = MiseEnPagePdf(QPageSize::A4, QPageLayout::Portrait);
  size_t octets = 0;
  for (auto _ : state) {
    TravailImpression t = Travail(documents);
    QByteArray pdf;
    QBuffer tampon(&pdf);
    tampon.open(QIODevice::WriteOnly);
    if (!ImprimePdf(c, t, tampon, page, QStringLiteral("banc"))) state.SkipWithError("PDF");
    octets = static_cast<size_t>(pdf.size());
    benchmark::DoNotOptimize(pdf.data());
  }
  state.counters["octets"] = static_cast<double>(octets);
  state.counters["elements"] = static_cast<double>(c.NbElements);
}
BENCHMARK(BM_ImprimePdf)->Arg(15)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

void BM_ImprimeSansSortie(benchmark::State& state) {
  const Circuit& c = Carte();
  for (auto _ : state) {
    TravailImpression t = Travail(15);
    CanevasNul toile;
    Imprime(c, t, toile);
    benchmark::DoNotOptimize(&toile);
  }
}
BENCHMARK(BM_ImprimeSansSortie)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korv4

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::benchmark::Initialize(&argc, argv);
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
