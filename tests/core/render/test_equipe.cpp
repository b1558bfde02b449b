#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "render/Equipe.h"

namespace korv4 {
namespace {

// Thousands of tasks in a row, of one to nine parts, some parts slow: every part runs exactly
// once per task and the task is over when Partage returns, whichever thread took each part.
TEST(Equipe, ChaquePartieUneFoisParTache) {
  Equipe equipe;
  std::vector<std::atomic<int>> fois(9);
  for (int tache = 0; tache < 3000; ++tache) {
    const int nombre = 1 + tache % 9;
    for (auto& f : fois) f = 0;
    std::atomic<int> faites{0};
    const double travail[Equipe::kPartiesMax] = {1, 2, 3, 4, 5, 6, 7, 8};
    equipe.Partage(
        nombre,
        [&](int i) {
          if (tache % 97 == 0 && i == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
          ++fois[i];
          ++faites;
        },
        tache % 2 == 0 ? travail : nullptr);
    ASSERT_EQ(faites.load(), nombre) << "tâche " << tache;
    for (int i = 0; i < 9; ++i) ASSERT_EQ(fois[i].load(), i < nombre ? 1 : 0) << tache << " " << i;
    const double part = equipe.PartAppelant();
    ASSERT_TRUE(part > 0.3 && part < 0.9) << part;
  }
}

// A part that throws: the other parts of the task still run, Partage returns only once every
// part is over (the slow part's end is seen after the throw), the exception thrown is the one
// a part threw, and the team keeps working for the next tasks. Parts thrown on the caller's
// thread and on the helper's, one or all of them.
TEST(Equipe, ExceptionDUnePartieRelanceeApresLesAutres) {
  struct Cas {
    int nombre;
    int lente;         // the part that takes its time, -1: none
    uint32_t jettent;  // bit i: part i throws
  };
  const Cas cas[] = {{1, -1, 1}, {2, 1, 1},    {2, 0, 2},    {2, -1, 3},
                     {3, 2, 1},  {5, 0, 0x10}, {8, 7, 0x55}, {9, 8, 0x1FF}};
  Equipe equipe;
  for (int tour = 0; tour < 200; ++tour) {
    for (const Cas& k : cas) {
      std::vector<std::atomic<int>> fois(static_cast<size_t>(k.nombre));
      std::atomic<bool> lenteFinie{false};
      const double travail[Equipe::kPartiesMax] = {1, 1, 1, 1, 1, 1, 1, 1};
      int jetee = -1;
      try {
        equipe.Partage(
            k.nombre,
            [&](int i) {
              ++fois[static_cast<size_t>(i)];
              if (i == k.lente) {
                std::this_thread::sleep_for(std::chrono::microseconds(tour % 10 == 0 ? 2000 : 50));
                lenteFinie = true;
              }
              if (k.jettent & (1u << i)) throw i;
            },
            tour % 2 == 0 ? travail : nullptr);
      } catch (int i) {
        jetee = i;
        EXPECT_TRUE(k.lente < 0 || lenteFinie.load()) << k.nombre << " " << tour;
      }
      ASSERT_GE(jetee, 0) << "rien de relancé, " << k.nombre << " parties";
      EXPECT_TRUE(k.jettent & (1u << jetee)) << jetee;
      for (int i = 0; i < k.nombre; ++i) ASSERT_EQ(fois[static_cast<size_t>(i)].load(), 1) << i;
      // The next task runs whole, and throws nothing left over from this one.
      std::atomic<int> faites{0};
      equipe.Partage(3, [&](int) { ++faites; });
      ASSERT_EQ(faites.load(), 3);
    }
  }
  const double part = equipe.PartAppelant();
  EXPECT_TRUE(part > 0.3 && part < 0.9) << part;
}

// The machine's load is read at most once per interval however often it is asked: a full
// redraw asks at each one.
TEST(Equipe, ChargeLueAuPlusUneFoisParIntervalle) {
  const auto debut = std::chrono::steady_clock::now();
  const uint64_t avant = Equipe::LecturesDeCharge();
  for (int i = 0; i < 20000; ++i) Equipe::ProcesseurLibre();
  const auto duree = std::chrono::steady_clock::now() - debut;
  const uint64_t lues = Equipe::LecturesDeCharge() - avant;
  EXPECT_LE(lues, 1 + static_cast<uint64_t>(duree / Equipe::kIntervalleCharge));
}

}  // namespace
}  // namespace korv4
