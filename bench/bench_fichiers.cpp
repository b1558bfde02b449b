// Circuit files at the limit of 100000 records: opening (read, join, repair, as the editor and
// korv4-cli open a file) and saving (repair, header, bytes), for a finished board and for a
// board of 30000 track fragments that joining chains into one track.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "Enregistrement.h"
#include "model/Fichiers.h"

namespace korv4 {
namespace {

using essai::Rec;

// A finished board: groups of about 20 records (pads, a track that touches no other, a text, a
// drawing) with their markers already right, so that neither joining nor repair changes
// anything.
std::vector<ElementCI> CarteTerminee(int n) {
  std::mt19937 g(11);
  auto tire = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(g); };
  std::vector<ElementCI> v;
  int bloc = 0;
  while (static_cast<int>(v.size()) + 22 <= n) {
    const int x0 = 500 + (bloc % 90) * 600, y0 = 500 + (bloc / 90) * 100;
    ++bloc;
    v.push_back(Rec(0, 255, 0, 0, 0));
    for (int k = 0; k < 6; ++k) v.push_back(Rec(3, 198, 1, x0 + 80 * k, y0));
    const uint8_t couche = static_cast<uint8_t>(tire(1, 2));
    for (int k = 0; k < 8; ++k)  // a zigzag: every middle point turns
      v.push_back(Rec(couche, 163, k == 0 ? kPremierPoint : (k == 7 ? kDernierPoint : kPointMilieu),
                      x0 + 50 * k, y0 + 20 + 20 * (k % 2)));
    for (int k = 0; k < 3; ++k) v.push_back(Rec(4, 64, 1, x0 + 100 * k, y0 + 60, 'A' + k));
    v.push_back(Rec(4, 79, 0, 0, 0));
    v.push_back(Rec(4, 130, 1, x0, y0));
    v.push_back(Rec(4, 131, 1, x0 + 400, y0 + 90));
    v.push_back(Rec(0, 254, 0, 0, 0));
  }
  while (static_cast<int>(v.size()) < n)
    v.push_back(Rec(3, 197, 1, 500 + 100 * static_cast<int>(v.size() % 500), 60000));
  // The markers get the box of their contents once, here.
  Circuit c;
  c.NbElements = static_cast<int32_t>(v.size());
  std::copy(v.begin(), v.end(), c.Elements.begin() + 1);
  NettoyageCircuit(c);
  return std::vector<ElementCI>(c.Elements.begin() + 1, c.Elements.begin() + c.NbElements + 1);
}

// 30000 fragments of three points that together make one zigzag track of 60001 points, each
// fragment drawn in either direction, in random order, then pads up to n records.
std::vector<ElementCI> Fragments(int n) {
  auto point = [](int i) {
    const int ligne = i / 250, col = ligne % 2 ? 249 - i % 250 : i % 250;
    return std::pair<int, int>(200 + col * 200, 200 + ligne * 200 + (i % 2) * 100);
  };
  std::vector<std::vector<ElementCI>> fragments;
  std::mt19937 g(5);
  for (int f = 0; f < 30000; ++f) {
    std::vector<ElementCI> t;
    for (int k = 0; k < 3; ++k) {
      const auto [x, y] = point(2 * f + k);
      t.push_back(
          Rec(1, 163, k == 0 ? kPremierPoint : (k == 2 ? kDernierPoint : kPointMilieu), x, y));
    }
    if (g() % 2) {
      std::reverse(t.begin(), t.end());
      std::swap(t.front().Attribut, t.back().Attribut);
    }
    fragments.push_back(t);
  }
  std::shuffle(fragments.begin(), fragments.end(), g);
  std::vector<ElementCI> v;
  for (const auto& t : fragments) v.insert(v.end(), t.begin(), t.end());
  while (static_cast<int>(v.size()) < n)
    v.push_back(Rec(3, 197, 1, 300 + 100 * static_cast<int>(v.size() % 500), 64000));
  return v;
}

std::vector<uint8_t> Fichier(const std::vector<ElementCI>& v) {
  Circuit c;
  c.NbElements = static_cast<int32_t>(v.size());
  std::copy(v.begin(), v.end(), c.Elements.begin() + 1);
  RemplitEnteteCI(c, "Banc d'essai", "Le 10/12/2026", "KORV4", 60000, 65000);
  return EcritCircuit(c);
}

void Ouverture(benchmark::State& etat, const std::vector<ElementCI>& v, int32_t attendus) {
  const std::vector<uint8_t> octets = Fichier(v);
  Circuit c;
  std::string erreur;
  for (auto _ : etat) {
    if (!OuvreCircuit(c, octets, "banc.CIX", erreur)) etat.SkipWithError(erreur.c_str());
    benchmark::DoNotOptimize(c.NbElements);
  }
  if (c.NbElements != attendus) etat.SkipWithError("nombre d'éléments inattendu");
  etat.counters["elements_lus"] = static_cast<double>(v.size());
  etat.counters["elements_ouverts"] = c.NbElements;
  etat.counters["modifie"] = c.CircuitModifie;
}

void Enregistrement(benchmark::State& etat, const std::vector<ElementCI>& v) {
  Circuit c;
  for (auto _ : etat) {
    etat.PauseTiming();
    c.NbElements = static_cast<int32_t>(v.size());
    std::copy(v.begin(), v.end(), c.Elements.begin() + 1);
    etat.ResumeTiming();
    NettoyageCircuit(c);
    RemplitEnteteCI(c, "Banc d'essai", "Le 10/12/2026", "KORV4", 60000, 65000);
    std::vector<uint8_t> octets = EcritCircuit(c);
    benchmark::DoNotOptimize(octets.data());
  }
}

void BM_OuvertureCarteTerminee(benchmark::State& etat) {
  static const std::vector<ElementCI> v = CarteTerminee(kMaxElements);
  Ouverture(etat, v, kMaxElements);
}
void BM_OuvertureFragments(benchmark::State& etat) {
  static const std::vector<ElementCI> v = Fragments(kMaxElements);
  Ouverture(etat, v, kMaxElements - 90000 + 60001);
}
void BM_EnregistrementCarteTerminee(benchmark::State& etat) {
  static const std::vector<ElementCI> v = CarteTerminee(kMaxElements);
  Enregistrement(etat, v);
}
void BM_EnregistrementFragments(benchmark::State& etat) {
  static const std::vector<ElementCI> v = Fragments(kMaxElements);
  Enregistrement(etat, v);
}

BENCHMARK(BM_OuvertureCarteTerminee)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OuvertureFragments)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnregistrementCarteTerminee)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnregistrementFragments)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace korv4

BENCHMARK_MAIN();
